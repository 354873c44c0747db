#include "connectorattach.h"

#include "chargrid.h"
#include "chartrender.h"
#include "connectorfill.h"

#include <algorithm>
#include <cmath>

namespace ConnectorAttach {

namespace {

// Farther than this from zero a value names no cell of any grid, and cell arithmetic cannot overflow.
constexpr double farAway = 1e9;

int rowsOf(const QSize& canvas)
{
    return canvas.height() / ChartRender::cellHeight;
}

int columnsOf(const QSize& canvas)
{
    return canvas.width() / ChartRender::cellWidth;
}

// Rounds half away from zero as the drawing does; false for no number or a value far off.
template <typename Real> bool roundedCell(Real value, int& cell)
{
    if (!(std::fabs(value) <= Real(farAway)))
        return false;
    cell = static_cast<int>(std::round(value));
    return true;
}

QPoint clampedTo(const QPoint& p, const QSize& canvas)
{
    return QPoint(std::clamp(p.x(), 0, std::max(canvas.width() - 1, 0)), std::clamp(p.y(), 0, std::max(canvas.height() - 1, 0)));
}

// The pixel nearest `near` whose cell is `target`, axis by axis, within two cells, kept on the canvas.
QPoint pixelInCell(QPoint near, const QPoint& target, const QSize& canvas)
{
    // Two cells of the wider kind: further than that the fractions and the pixels disagree anyway.
    const int limit = 2 * std::max(ChartRender::cellWidth, ChartRender::cellHeight) + 2;
    QPoint cell;
    for (int step = 0; step < limit && cellOf(fractionOf(near, canvas), canvas, cell) && cell.x() != target.x(); ++step)
        near.rx() += cell.x() < target.x() ? 1 : -1;
    for (int step = 0; step < limit && cellOf(fractionOf(near, canvas), canvas, cell) && cell.y() != target.y(); ++step)
        near.ry() += cell.y() < target.y() ? 1 : -1;
    return clampedTo(near, canvas);
}

// Where a held end goes: its cell moves with the box's cell, its pixels with the box's pixels.
QPoint endTarget(const Path& start, size_t i, const QPoint& cells, const QPoint& pixels, const QSize& canvas)
{
    const QPoint moved = start.points[i] + pixels;
    QPoint cell;
    if (i >= start.fractions.size() || !cellOf(start.fractions[i], canvas, cell))
        return clampedTo(moved, canvas);
    return pixelInCell(moved, cell + cells, canvas);
}

void append(Path& path, const QPoint& p, const QSize& canvas)
{
    path.points.push_back(p);
    path.fractions.push_back(fractionOf(p, canvas));
}

void reverse(Path& path)
{
    std::reverse(path.points.begin(), path.points.end());
    std::reverse(path.fractions.begin(), path.fractions.end());
}

int sign(int v)
{
    return (v > 0) - (v < 0);
}

// Appends a straight run from the last point to `to`. Where the run turns straight back along the last
// points, it takes them away instead of going over them again.
void appendRun(Path& path, const QPoint& to, const QSize& canvas)
{
    while (path.points.size() >= 2) {
        const QPoint a = path.points[path.points.size() - 2];
        const QPoint b = path.points.back();
        if (b == to)
            return;
        const bool vertical = a.x() == b.x() && b.x() == to.x();
        const bool horizontal = a.y() == b.y() && b.y() == to.y();
        const bool back = vertical ? sign(b.y() - a.y()) * sign(to.y() - b.y()) < 0 : horizontal && sign(b.x() - a.x()) * sign(to.x() - b.x()) < 0;
        if (!(a == b || back) || !(vertical || horizontal))
            break;
        path.points.pop_back();
        path.fractions.pop_back();
    }
    if (path.points.back() != to)
        appendFilled(path, to, canvas);
}

// Lays the run into the last point again, from the corner before it to `target`: first across, then in
// the run's own direction, so the end meets its box from the same side as before.
void relayLastRun(Path& path, const QPoint& target, const QSize& canvas)
{
    if (path.points.back() == target)
        return;
    size_t corner = path.points.size() - 1;
    int axis = 0; // 1 along x, 2 along y
    for (; corner > 0; --corner) {
        const QPoint step = path.points[corner] - path.points[corner - 1];
        if (step.isNull())
            continue;
        const int stepAxis = step.y() == 0 ? 1 : 2;
        if (axis == 0)
            axis = stepAxis;
        else if (stepAxis != axis)
            break;
    }
    if (axis == 0) {
        const QPoint away = target - path.points.back();
        axis = std::abs(away.x()) >= std::abs(away.y()) ? 1 : 2;
    }
    path.points.resize(corner + 1);
    path.fractions.resize(corner + 1);
    const QPoint from = path.points.back();
    appendRun(path, axis == 1 ? QPoint(from.x(), target.y()) : QPoint(target.x(), from.y()), canvas);
    appendRun(path, target, canvas);
}

Path followRectilinear(const Attachment& attached, const QPoint& first, const QPoint& last, const QSize& canvas)
{
    Path path = attached.start;
    if (attached.first && attached.last) {
        // The whole connector goes with the box; only rounding may leave its last end to be laid again.
        const QPoint by = first - path.points.front();
        if (!by.isNull()) {
            for (size_t i = 0; i < path.points.size(); ++i) {
                path.points[i] = clampedTo(path.points[i] + by, canvas);
                path.fractions[i] = fractionOf(path.points[i], canvas);
            }
        }
        relayLastRun(path, last, canvas);
    } else if (attached.last) {
        relayLastRun(path, last, canvas);
    } else {
        reverse(path);
        relayLastRun(path, first, canvas);
        reverse(path);
    }
    return path;
}

Path followBending(const Attachment& attached, const QPoint& first, const QPoint& last, const QSize& canvas)
{
    const Path& start = attached.start;
    const size_t n = start.points.size();
    const QPointF byFirst = attached.first ? QPointF(first - start.points.front()) : QPointF();
    const QPointF byLast = attached.last ? QPointF(last - start.points.back()) : QPointF();
    std::vector<double> along(n, 0.0);
    for (size_t i = 1; i < n; ++i) {
        const QPoint step = start.points[i] - start.points[i - 1];
        along[i] = along[i - 1] + std::hypot(double(step.x()), double(step.y()));
    }
    const double length = along.back();
    Path path;
    path.points.reserve(n);
    path.fractions.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        // A path of no length shares by the points' places in the list.
        const double share = length > 0 ? along[i] / length : n > 1 ? double(i) / double(n - 1) : 0.0;
        const QPointF by = byFirst * (1.0 - share) + byLast * share;
        const QPoint was = start.points[i];
        const QPoint shift(int(std::lround(by.x())), int(std::lround(by.y())));
        const QPoint now = shift.isNull() ? was : clampedTo(was + shift, canvas);
        // Gaps between points that stay are left as they were.
        if (now == was && i > 0 && path.points.back() == start.points[i - 1])
            append(path, now, canvas);
        else
            appendFilled(path, now, canvas);
        if (now == was && i < start.fractions.size())
            path.fractions.back() = start.fractions[i];
    }
    return path;
}

} // namespace

void appendFilled(Path& path, const QPoint& point, const QSize& canvas)
{
    if (!path.points.empty())
        for (const QPoint& p : fillGap(path.points.back(), point))
            append(path, p, canvas);
    append(path, point, canvas);
}

bool textCell(const Box& box, const QSize& canvas, QPoint& cell)
{
    int column = 0;
    int row = 0;
    if (!roundedCell(box.proportion.x() * double(columnsOf(canvas)), column) || !roundedCell(box.proportion.y() * double(rowsOf(canvas)), row))
        return false;
    cell = QPoint(column, row);
    return true;
}

Box boxOf(const QPoint& topLeft, const QPointF& proportion, const QString& text)
{
    const QStringList lines = ChartRender::textLines(text);
    int width = 0;
    for (const QString& line : lines)
        width = std::max(width, int(CharGrid::expandTabs(line).size()));
    return {topLeft, proportion, QSize(width, int(lines.size()))};
}

bool cellOf(const QPair<float, float>& fraction, const QSize& canvas, QPoint& cell)
{
    int column = 0;
    int row = 0;
    if (!roundedCell(fraction.first * float(columnsOf(canvas)), column) || !roundedCell(fraction.second * float(rowsOf(canvas)), row))
        return false;
    cell = QPoint(column, row) + ChartRender::connectorShift;
    return true;
}

bool holds(const Box& box, const QPoint& cell, const QSize& canvas)
{
    QPoint corner;
    if (!textCell(box, canvas, corner))
        return false;
    // The border runs one cell around the text; the reach one cell around the border.
    return cell.x() >= corner.x() - 2 && cell.x() <= corner.x() + box.text.width() + 1 && cell.y() >= corner.y() - 2
        && cell.y() <= corner.y() + box.text.height() + 1;
}

std::vector<Attachment> attachedEnds(const Box& box, const std::vector<const Fractions*>& connectors, const QSize& canvas)
{
    std::vector<Attachment> found;
    for (size_t i = 0; i < connectors.size(); ++i) {
        const Fractions* fractions = connectors[i];
        if (!fractions || fractions->empty())
            continue;
        QPoint cell;
        Attachment attached;
        attached.index = i;
        attached.first = cellOf(fractions->front(), canvas, cell) && holds(box, cell, canvas);
        attached.last = cellOf(fractions->back(), canvas, cell) && holds(box, cell, canvas);
        if (attached.first || attached.last)
            found.push_back(std::move(attached));
    }
    return found;
}

std::pair<std::vector<QPoint>, std::vector<QPoint>> changedParts(const std::vector<QPoint>& before, const std::vector<QPoint>& after)
{
    const size_t shorter = std::min(before.size(), after.size());
    size_t front = 0;
    while (front < shorter && before[front] == after[front])
        ++front;
    size_t back = 0;
    while (back < shorter - front && before[before.size() - 1 - back] == after[after.size() - 1 - back])
        ++back;
    const size_t from = front > 0 ? front - 1 : 0;
    const auto part = [&](const std::vector<QPoint>& points) {
        return std::vector<QPoint>(points.begin() + std::ptrdiff_t(from), points.begin() + std::ptrdiff_t(std::min(points.size(), points.size() - back + 1)));
    };
    return {part(before), part(after)};
}

bool isRectilinear(const std::vector<QPoint>& points)
{
    for (size_t i = 1; i < points.size(); ++i) {
        if (points[i].x() != points[i - 1].x() && points[i].y() != points[i - 1].y())
            return false;
    }
    return true;
}

Path follow(const Attachment& attached, const Box& from, const Box& to, const QSize& canvas)
{
    const Path& start = attached.start;
    QPoint fromCell;
    QPoint toCell;
    const QPoint pixels = to.topLeft - from.topLeft;
    if (start.points.empty() || (!attached.first && !attached.last) || !textCell(from, canvas, fromCell) || !textCell(to, canvas, toCell)
        || (pixels.isNull() && fromCell == toCell))
        return start;
    const QPoint cells = toCell - fromCell;
    const QPoint first = attached.first ? endTarget(start, 0, cells, pixels, canvas) : start.points.front();
    const QPoint last = attached.last ? endTarget(start, start.points.size() - 1, cells, pixels, canvas) : start.points.back();
    // A lone point has no steps to keep straight.
    if (start.points.size() >= 2 && start.fractions.size() == start.points.size() && isRectilinear(start.points))
        return followRectilinear(attached, first, last, canvas);
    return followBending(attached, first, last, canvas);
}

} // namespace ConnectorAttach
