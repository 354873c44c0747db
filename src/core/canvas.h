#ifndef CANVAS_H
#define CANVAS_H

#include <QPair>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>

#include <algorithm>
#include <vector>

// The canvas arithmetic of the editor over plain values: hit testing, pointer mapping, creation records
// and whole-chart moves. Coordinates are canvas pixels unless told otherwise.
namespace Canvas {

enum class Kind { Box, Connector };

// Truncates toward zero, saturating at the ends of int; not-a-number gives 0.
int truncated(double value);

// A box as hit testing sees it.
struct BoxArea {
    QPoint centre;
    QSize size;
};

// Lopsided hit area: from a whole size before the centre to half a size after it, on each axis widened
// by trunc(canvas extent x tolerance).
bool boxContains(const BoxArea& box, const QPoint& point, const QSize& canvas, double tolerance);
// Whether some point lies within trunc(canvas extent x tolerance) of `point` on both axes.
bool connectorContains(const std::vector<QPoint>& points, const QPoint& point, const QSize& canvas, double tolerance);

struct Hit {
    bool found = false;
    int index = -1;
    Kind kind = Kind::Connector;
};

// The element under point: five passes of growing tolerance, each testing every box in order and then
// every connector in order; the first element that answers wins. A miss is (false, -1, Connector).
Hit findHit(const std::vector<BoxArea>& boxes, const std::vector<const std::vector<QPoint>*>& connectors, const QPoint& point, const QSize& canvas);

struct Pointer {
    QPoint position;
    bool onCanvas = false;
};

// The top-left corner of a box of boxSize centred on the pointer p (window coordinates), relative to the
// canvas at origin. Off the canvas (closed bounds) it is left unclamped; on it, it is clamped inside.
Pointer mapPointer(const QPointF& p, const QPoint& origin, const QSize& canvas, const QPoint& boxSize);

// A canvas point in the frame connector points are stored in: x gains half the canvas origin, y all of it.
QPoint toConnectorFrame(const QPoint& point, const QPoint& origin, const QPoint& offset);

// The least x and y of a box's top-left corner whose left and top borders still fall inside the grid of
// cells of that size laid over the canvas: its first character must not land in row or column 0.
QPoint borderInset(const QSize& canvas, const QSize& cell);

// Where a box of that size goes when moved to topLeft: not left of or above borderInset, and pulled back
// from the right and bottom edges (though not past 0) when it would cross them.
QPoint withBorderOnGrid(const QPoint& topLeft, const QSize& box, const QSize& canvas, const QSize& cell);

// Whether moving the box by difference keeps it within the canvas, inset from the left and top by `inset`,
// and per axis the move that takes it exactly to the edge it would cross (-1: none needed; 0 for a box
// already at or inside the inset that moves toward it). False only when both axes would leave.
QPair<bool, QPoint> movingPossible(const QRect& box, const QSize& canvas, const QPoint& difference, const QPoint& inset);

struct MoveAll {
    // False when some box would leave the canvas on both axes: then nothing moves.
    bool possible = true;
    // The move every box makes, corrected box by box.
    QPoint difference;
    // Whether connectors move on that axis: no box needed a correction of 0 or more on it.
    bool canxBetweeked = true;
    bool canyBetweeked = true;
};

// One whole-chart step by difference: each box in order may correct an axis, later boxes checking the
// corrected move. Only corrections of 0 or more are applied.
MoveAll correctMoveAll(const std::vector<QRect>& boxes, const QSize& canvas, const QPoint& difference, const QPoint& inset);

// The length of the beginning of text that holds at most `breaks` line breaks; a CR LF pair counts once, so
// a text never has fewer breaks than counted.
int lengthWithLineBreaks(const QString& text, int breaks);

// Drops the first record of (kind, index) and moves the later records of that kind above index one down;
// nothing changes when no record matches.
template <typename K> void forgetCreationRecord(std::vector<QPair<K, int>>& records, K kind, int index)
{
    const auto found = std::find(records.begin(), records.end(), qMakePair(kind, index));
    if (found == records.end())
        return;
    // Only records above the removed one shift down, so no record can end up naming a missing element.
    for (auto later = found + 1; later != records.end(); ++later) {
        if (later->first == kind && later->second > index)
            --later->second;
    }
    records.erase(found);
}

} // namespace Canvas

#endif // CANVAS_H
