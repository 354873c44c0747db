#include "straightrun.h"

#include <cstdint>
#include <cstdlib>

namespace StraightRun {

Run straightRun(const QPoint& press, const QPoint& pointer, const QSize& cell)
{
    const std::int64_t dx = std::abs(std::int64_t(pointer.x()) - press.x());
    const std::int64_t dy = std::abs(std::int64_t(pointer.y()) - press.y());
    if (dx < cell.width() && dy < cell.height())
        return Run::Undecided;
    // dx / width against dy / height, without division.
    return dx * cell.height() >= dy * cell.width() ? Run::Horizontal : Run::Vertical;
}

Sample lockToAxis(const QPoint& last, bool pressOnly, bool keepsX, const QPoint& pointer, const QSize& cell)
{
    Sample sample;
    sample.point = pointer;
    sample.keepsX = keepsX;
    if (pressOnly) {
        const Run run = straightRun(last, pointer, cell);
        if (run == Run::Undecided)
            return sample;
        sample.keepsX = run == Run::Vertical;
    }
    if (sample.keepsX)
        sample.point.setX(last.x());
    else
        sample.point.setY(last.y());
    sample.taken = true;
    return sample;
}

} // namespace StraightRun
