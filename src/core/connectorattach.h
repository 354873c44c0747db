#ifndef CONNECTORATTACH_H
#define CONNECTORATTACH_H

#include <QPair>
#include <QPoint>
#include <QPointF>
#include <QSize>
#include <QString>

#include <cstddef>
#include <utility>
#include <vector>

// Connector ends that a dragged box takes along. Which ends a box holds is read from the drawing at the
// start of each drag, so nothing about it is stored in the chart; every step of the drag recomputes the
// connectors from where they were when it began, so a box brought back puts them back exactly.
namespace ConnectorAttach {

using Fractions = std::vector<QPair<float, float>>;

// A connector's points in canvas pixels with their canvas fractions, one each.
struct Path {
    std::vector<QPoint> points;
    Fractions fractions;
};

// Appends a point, after the points that fill the gap to it as drawing fills it.
void appendFilled(Path& path, const QPoint& point, const QSize& canvas);

// A box where it stands: its top-left in canvas pixels and as canvas fractions, and its text's size in cells.
struct Box {
    QPoint topLeft;
    QPointF proportion;
    QSize text;
};

// The box with this corner and text, sized in cells as the drawing lays its text out.
Box boxOf(const QPoint& topLeft, const QPointF& proportion, const QString& text);

// A connector the box holds by its first end, its last end or both, with its path when the drag began.
struct Attachment {
    size_t index = 0;
    bool first = false;
    bool last = false;
    Path start;
};

// The cell (column, row) the drawing marks for a connector point with these fractions; false when the
// fractions are no number or far off any grid.
bool cellOf(const QPair<float, float>& fraction, const QSize& canvas, QPoint& cell);

// The cell (column, row) of the first character of the box's text; false when its place is no number or far off.
bool textCell(const Box& box, const QSize& canvas, QPoint& cell);

// Whether a cell lies on the box's drawn border, within it, or at most one cell outside it.
bool holds(const Box& box, const QPoint& cell, const QSize& canvas);

// The connectors, by index, whose first or last end the box holds; their start paths are left empty.
std::vector<Attachment> attachedEnds(const Box& box, const std::vector<const Fractions*>& connectors, const QSize& canvas);

// The connector once its box has gone from `from` to `to`. A held end keeps its cell beside the box and
// follows its pixels as closely as that allows; an end the box does not hold stays. A connector of
// horizontal and vertical steps keeps them: the run into a moved end is laid again from the corner before
// it as at most two runs, ending in the run's own direction. Any other connector bends, each point moving
// by the ends' movements shared out by its place along the path. Moved points stay on the canvas, and gaps
// are filled as drawing fills them; points that do not move keep their fractions.
Path follow(const Attachment& attached, const Box& from, const Box& to, const QSize& canvas);

// The parts of two point lists past their common beginning and before their common end, each with one
// common point on either side: every segment of one list that the other lacks lies in them.
std::pair<std::vector<QPoint>, std::vector<QPoint>> changedParts(const std::vector<QPoint>& before, const std::vector<QPoint>& after);

// Whether every step of the points is horizontal, vertical or none.
bool isRectilinear(const std::vector<QPoint>& points);

} // namespace ConnectorAttach

#endif // CONNECTORATTACH_H
