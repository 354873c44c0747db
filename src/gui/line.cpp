#include "line.h"

#include "canvas.h"
#include "chartrender.h"
#include "connectorfill.h"
#include "straightrun.h"

#include <QRect>
#include <QSize>
#include <QWidget>

#include <cmath>
#include <cstring>

Line::Line(QWidget* w, size_t minPointsValidLine, int whoAmI, bool isStraight)
    : isChecked(false)
    , isStraightDrawingHorizontal(false)
    , ptr_Widget(w)
    , minPointsValidLine(minPointsValidLine)
    , isStraight(isStraight)
    , whoAmI(whoAmI)
{ }

void Line::addPoints(const QPoint& firstPoint)
{
    QPoint changedPoint = firstPoint;

    if (isStraight && !points.empty()) {
        // The press stays alone until the pointer is a cell away; the run then starts straight from it.
        const StraightRun::Sample sample = StraightRun::lockToAxis(
            points.back(), points.size() == 1, isStraightDrawingHorizontal, firstPoint, QSize(ChartRender::cellWidth, ChartRender::cellHeight));
        if (!sample.taken)
            return;
        changedPoint = sample.point;
        isStraightDrawingHorizontal = sample.keepsX;
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
}

bool Line::isValid() const
{
    return points.size() > minPointsValidLine;
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
    return isStraight == record.isStraight && isStraightDrawingHorizontal == record.isStraightDrawingHorizontal && sameBytes(points, record.points)
        && sameBytes(points_proc_from_window, record.fractions);
}
