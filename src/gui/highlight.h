#ifndef HIGHLIGHT_H
#define HIGHLIGHT_H

#include <QRgb>

// The royal blue of a highlighted element: a box's border and a connector's line.
constexpr QRgb highlightColour = qRgb(65, 105, 225);

#endif
