#include "line.h"

#include "canvas.h"
#include "connectorfill.h"

#include <QRect>
#include <QSize>
#include <QWidget>

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

std::int64_t magnitude(std::int64_t v)
{
    return v < 0 ? -v : v;
}

} // namespace

Line::Line(QWidget* w, size_t minPointsValidLine, int whoAmI, bool isStraight)
    : isChecked(false),
      isStraightDrawingHorizontal(false),
      ptr_Widget(w),
      minPointsValidLine(minPointsValidLine),
      isStraight(isStraight),
      whoAmI(whoAmI)
{
}

bool Line::addPoints(const QPoint& firstPoint)
{
    QPoint changedPoint = firstPoint;

    if (isStraight && !points.empty()) {
        const QPoint last = points.back();
        if (points.size() == 1) {
            const std::int64_t dx = magnitude(std::int64_t(firstPoint.x()) - last.x());
            const std::int64_t dy = magnitude(std::int64_t(firstPoint.y()) - last.y());
            if (dx > dy) {
                // Step along y only; later points keep this y.
                changedPoint = QPoint(last.x(), firstPoint.y());
                isStraightDrawingHorizontal = false;
            } else if (dy > dx) {
                // Step along x only; later points keep this x.
                changedPoint = QPoint(firstPoint.x(), last.y());
                isStraightDrawingHorizontal = true;
            } else {
                return false;
            }
        } else if (isStraightDrawingHorizontal) {
            changedPoint.setX(last.x());
        } else {
            changedPoint.setY(last.y());
        }
    }

    if (!points.empty()) {
        const std::vector<QPoint> filled = fillGap(points.back(), changedPoint);
        for (const QPoint& p : filled) {
            if (p.isNull())
                continue;
            appendPoint(p);
        }
    }
    appendPoint(changedPoint);
    return true;
}

bool Line::isValid() const
{
    return points.size() > minPointsValidLine;
}

QPair<bool, int> Line::isPointOnMe(const QPoint& point, double sizeOffset) const
{
    const QSize canvas = ptr_Widget ? ptr_Widget->size() : QSize(0, 0);
    return qMakePair(Canvas::connectorContains(points, point, canvas, sizeOffset), whoAmI);
}

void Line::updateMovingElementAll(const QPoint& difference, bool canxBetweeked, bool canyBetweeked)
{
    for (QPoint& p : points) {
        if (canxBetweeked)
            p.rx() += difference.x();
        if (canyBetweeked)
            p.ry() += difference.y();
    }

    const QSize canvas = ptr_Widget ? ptr_Widget->size() : QSize(0, 0);
    const QPair<float, float> differenceInPoint = fractionOf(difference, canvas);
    for (QPair<float, float>& fraction : points_proc_from_window) {
        if (canxBetweeked)
            fraction.first += differenceInPoint.first;
        if (canyBetweeked)
            fraction.second += differenceInPoint.second;
    }
}

void Line::setObjColor(bool check)
{
    isChecked = check;
}

void Line::appendPoint(const QPoint& point)
{
    const QSize canvas = ptr_Widget ? ptr_Widget->size() : QSize(0, 0);
    points.push_back(point);
    points_proc_from_window.push_back(fractionOf(point, canvas));
}

ChartStream::ConnectorRecord Line::serializeData() const
{
    ChartStream::ConnectorRecord record;
    record.isStraight = isStraight;
    record.isStraightDrawingHorizontal = isStraightDrawingHorizontal;
    record.points = points;
    record.fractions = points_proc_from_window;
    return record;
}

void Line::deserializeData(const ChartStream::ConnectorRecord& record)
{
    isStraight = record.isStraight;
    isStraightDrawingHorizontal = record.isStraightDrawingHorizontal;
    points = record.points;
    points_proc_from_window = record.fractions;
}

bool Line::holds(const ChartStream::ConnectorRecord& record) const
{
    // Byte for byte, as the stream holds them.
    const auto sameBytes = [](const auto& a, const auto& b) {
        return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(a[0])) == 0);
    };
    return isStraight == record.isStraight && isStraightDrawingHorizontal == record.isStraightDrawingHorizontal
        && sameBytes(points, record.points) && sameBytes(points_proc_from_window, record.fractions);
}
