#include "canvas.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace Canvas {

namespace {

// Box and connector tolerances of the five hit-test passes, as fractions of the canvas.
constexpr double boxTolerance[5] = {0.0, 0.001, 0.002, 0.003, 0.004};
constexpr double connectorTolerance[5] = {0.0, 0.01, 0.02, 0.03, 0.04};

// Hit margin in pixels; clamped so that absurd tolerances stay representable.
std::int64_t marginOf(int extent, double tolerance)
{
    const double margin = std::trunc(extent * tolerance);
    if (!(margin > -4294967296.0))
        return -4294967296LL;
    if (margin > 4294967296.0)
        return 4294967296LL;
    return static_cast<std::int64_t>(margin);
}

bool withinMargin(int value, int centre, std::int64_t margin)
{
    return std::int64_t(centre) - margin <= value && value <= std::int64_t(centre) + margin;
}

} // namespace

int truncated(double value)
{
    if (!(value == value))
        return 0;
    if (value >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

bool boxContains(const BoxArea& box, const QPoint& point, const QSize& canvas, double tolerance)
{
    const std::int64_t mx = marginOf(canvas.width(), tolerance);
    const std::int64_t my = marginOf(canvas.height(), tolerance);
    const std::int64_t cx = box.centre.x();
    const std::int64_t cy = box.centre.y();
    const int w = box.size.width();
    const int h = box.size.height();
    return point.x() >= cx - mx - w && point.x() <= double(cx + mx) + 0.5 * w && point.y() >= cy - my - h && point.y() <= double(cy + my) + 0.5 * h;
}

bool connectorContains(const std::vector<QPoint>& points, const QPoint& point, const QSize& canvas, double tolerance)
{
    const std::int64_t mx = marginOf(canvas.width(), tolerance);
    const std::int64_t my = marginOf(canvas.height(), tolerance);
    return std::any_of(points.begin(), points.end(), [&](const QPoint& q) { return withinMargin(point.x(), q.x(), mx) && withinMargin(point.y(), q.y(), my); });
}

Hit findHit(const std::vector<BoxArea>& boxes, const std::vector<const std::vector<QPoint>*>& connectors, const QPoint& point, const QSize& canvas)
{
    for (int pass = 0; pass < 5; ++pass) {
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (boxContains(boxes[i], point, canvas, boxTolerance[pass]))
                return {true, int(i), Kind::Box};
        }
        for (size_t i = 0; i < connectors.size(); ++i) {
            if (connectorContains(*connectors[i], point, canvas, connectorTolerance[pass]))
                return {true, int(i), Kind::Connector};
        }
    }
    return {};
}

Pointer mapPointer(const QPointF& p, const QPoint& origin, const QSize& canvas, const QPoint& boxSize)
{
    const int W = canvas.width();
    const int H = canvas.height();
    Pointer mapped;
    mapped.position = QPoint(truncated(p.x() - (0.5 * boxSize.x() + origin.x())), truncated(p.y() - (0.5 * boxSize.y() + origin.y())));
    if (p.x() < origin.x() || p.x() > origin.x() + W || p.y() < origin.y() || p.y() > origin.y() + H)
        return mapped;
    mapped.onCanvas = true;
    QPoint& at = mapped.position;
    if (at.x() < 0)
        at.setX(0);
    if (at.y() < 0)
        at.setY(0);
    if (p.x() + 0.5 * boxSize.x() > origin.x() + W)
        at.setX(W - boxSize.x());
    if (p.y() + 0.5 * boxSize.y() > origin.y() + H)
        at.setY(H - boxSize.y());
    return mapped;
}

QPoint toConnectorFrame(const QPoint& point, const QPoint& origin, const QPoint& offset)
{
    return QPoint(truncated(point.x() + 0.5 * origin.x() + offset.x()), point.y() + origin.y() + offset.y());
}

QPoint borderInset(const QSize& canvas, const QSize& cell)
{
    // The renderer's place of a box: its canvas fraction times the cell count, rounded half away from zero.
    const auto least = [](int extent, int cellExtent) {
        const int cells = cellExtent > 0 ? extent / cellExtent : 0;
        int at = 0;
        while (cells > 0 && at < extent && std::round(at / double(extent) * cells) < 1)
            ++at;
        return at;
    };
    return QPoint(least(canvas.width(), cell.width()), least(canvas.height(), cell.height()));
}

QPoint withBorderOnGrid(const QPoint& topLeft, const QSize& box, const QSize& canvas, const QSize& cell)
{
    const QPoint inset = borderInset(canvas, cell);
    const auto keep = [](int at, int low, int size, int extent) {
        at = std::max(at, low);
        if (at + size > extent)
            at = std::max(extent - size, 0);
        return at;
    };
    return QPoint(keep(topLeft.x(), inset.x(), box.width(), canvas.width()), keep(topLeft.y(), inset.y(), box.height(), canvas.height()));
}

QPair<bool, QPoint> movingPossible(const QRect& box, const QSize& canvas, const QPoint& difference, const QPoint& inset)
{
    const int x = box.x();
    const int y = box.y();
    const int w = box.width();
    const int h = box.height();
    QPoint differenceReturn(-1, -1);
    bool isMovingPossibleX = true;
    bool isMovingPossibleY = true;
    // A box that an older chart left inside the inset may move away from the edge, never toward it.
    if (difference.x() < 0 && x + difference.x() < inset.x()) {
        isMovingPossibleX = false;
        differenceReturn.setX(std::min(inset.x() - x, 0));
    }
    if (x + difference.x() + w > canvas.width()) {
        differenceReturn.setX(static_cast<int>(std::abs(double(canvas.width() - w)) - std::abs(double(x))));
        isMovingPossibleX = false;
    }
    if (difference.y() < 0 && y + difference.y() < inset.y()) {
        differenceReturn.setY(std::min(inset.y() - y, 0));
        isMovingPossibleY = false;
    }
    if (y + difference.y() + h > canvas.height()) {
        differenceReturn.setY(static_cast<int>(std::abs(double(canvas.height() - h)) - std::abs(double(y))));
        isMovingPossibleY = false;
    }
    return qMakePair(isMovingPossibleX || isMovingPossibleY, differenceReturn);
}

MoveAll correctMoveAll(const std::vector<QRect>& boxes, const QSize& canvas, const QPoint& difference, const QPoint& inset)
{
    MoveAll step;
    step.difference = difference;
    for (const QRect& box : boxes) {
        const QPair<bool, QPoint> possible = movingPossible(box, canvas, step.difference, inset);
        if (!possible.first) {
            step.possible = false;
            return step;
        }
        if (possible.second.x() >= 0) {
            step.difference.setX(possible.second.x());
            step.canxBetweeked = false;
        }
        if (possible.second.y() >= 0) {
            step.difference.setY(possible.second.y());
            step.canyBetweeked = false;
        }
    }
    return step;
}

int lengthWithLineBreaks(const QString& text, int breaks)
{
    int seen = 0;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool lineBreak = c == QLatin1Char('\n') || c == QChar::ParagraphSeparator
            || (c == QLatin1Char('\r') && (i + 1 == text.size() || text.at(i + 1) != QLatin1Char('\n')));
        if (lineBreak && ++seen > breaks)
            return i;
    }
    return text.size();
}

} // namespace Canvas
