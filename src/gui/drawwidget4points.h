#ifndef DRAWWIDGET4POINTS_H
#define DRAWWIDGET4POINTS_H

#include <QPoint>

// The four corners of a rectangle on screen.
struct DrawWidget4Points {
    QPoint topLeft;
    QPoint topRight;
    QPoint bottomLeft;
    QPoint bottomRight;
};

#endif // DRAWWIDGET4POINTS_H
