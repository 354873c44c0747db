#ifndef STRAIGHTRUN_H
#define STRAIGHTRUN_H

#include <QPoint>
#include <QSize>

// The axis lock of a connector drawn in "Straight lines", over plain values.
namespace StraightRun {

// The axis a straight connector runs along, decided once the pointer is a whole cell away from the press
// on some axis: the axis of the larger move counted in cells, horizontal on a tie.
enum class Run { Undecided, Horizontal, Vertical };
Run straightRun(const QPoint& press, const QPoint& pointer, const QSize& cell);

// What a straight connector makes of a pointer sample.
struct Sample {
    // False while the pointer is within a cell of the press: the sample is held back.
    bool taken = false;
    // The sample moved onto the run's axis.
    QPoint point;
    // Whether the run keeps its x (a vertical run), as the connector stores it.
    bool keepsX = false;
};

// The sample at `pointer` of a straight connector whose last point is `last`, the press itself when
// `pressOnly`. The press picks the axis by straightRun(); every later sample keeps the coordinate across
// the axis picked (`keepsX`).
Sample lockToAxis(const QPoint& last, bool pressOnly, bool keepsX, const QPoint& pointer, const QSize& cell);

} // namespace StraightRun

#endif // STRAIGHTRUN_H
