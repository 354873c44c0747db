#include "connectorfill.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// Euclidean length of (dx, dy): exact integer sum of squares when it fits in 64 bits.
double gapLength(std::int64_t dx, std::int64_t dy)
{
    const std::uint64_t ax = static_cast<std::uint64_t>(dx < 0 ? -dx : dx);
    const std::uint64_t ay = static_cast<std::uint64_t>(dy < 0 ? -dy : dy);
    const std::uint64_t sx = ax * ax;
    const std::uint64_t sy = ay * ay;
    if (sx <= std::numeric_limits<std::uint64_t>::max() - sy)
        return std::sqrt(static_cast<double>(sx + sy));
    return std::hypot(static_cast<double>(dx), static_cast<double>(dy));
}

float axisFraction(int value, int extent)
{
    if (extent == 0)
        return 0.0f;
    return static_cast<float>(value) / static_cast<float>(extent);
}

} // namespace

std::vector<QPoint> fillGap(const QPoint& from, const QPoint& to)
{
    const std::int64_t diffX = std::int64_t(to.x()) - from.x();
    const std::int64_t diffY = std::int64_t(to.y()) - from.y();

    const double distance = gapLength(diffX, diffY) / 1.5;
    const std::int64_t pointNum = static_cast<std::int64_t>(std::trunc(distance));

    std::vector<QPoint> filled;
    if (pointNum <= 0)
        return filled;

    const double intervalX = static_cast<double>(diffX) / static_cast<double>(pointNum + 1);
    const double intervalY = static_cast<double>(diffY) / static_cast<double>(pointNum + 1);

    filled.reserve(static_cast<std::size_t>(pointNum));
    for (std::int64_t i = 1; i <= pointNum; ++i) {
        const double step = static_cast<double>(i);
        // Every value lies between the two endpoints, so it fits in int.
        const int x = static_cast<int>(std::trunc(from.x() + step * intervalX));
        const int y = static_cast<int>(std::trunc(from.y() + step * intervalY));
        filled.emplace_back(x, y);
    }
    return filled;
}

QPair<float, float> fractionOf(const QPoint& p, const QSize& canvas)
{
    return qMakePair(axisFraction(p.x(), canvas.width()), axisFraction(p.y(), canvas.height()));
}
