#ifndef CONNECTORFILL_H
#define CONNECTORFILL_H

#include <QPair>
#include <QPoint>
#include <QSize>

#include <vector>

// Points strictly between from and to, about 1.5 px apart, each coordinate truncated toward zero.
std::vector<QPoint> fillGap(const QPoint& from, const QPoint& to);

// (x / width, y / height) in single precision; an empty axis yields 0.
QPair<float, float> fractionOf(const QPoint& p, const QSize& canvas);

#endif // CONNECTORFILL_H
