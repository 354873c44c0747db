#ifndef LINE_H
#define LINE_H

#include "chartstream.h"

#include <QPair>
#include <QPoint>

#include <cstddef>
#include <vector>

class QWidget;

// A connector: a dense polyline of canvas points with their canvas fractions.
class Line
{
public:
    Line(QWidget* w, size_t minPointsValidLine, int whoAmI, bool isStraight);

    // Appends a mouse sample; a straight connector holds back samples within a cell of its press.
    void addPoints(const QPoint& firstPoint);
    bool isValid() const;
    void updateMovingElementAll(const QPoint& difference, bool canxBetweeked, bool canyBetweeked);
    void setObjColor(bool check);
    // The connector as a stream record, and back; the hover flag is not stored.
    ChartStream::ConnectorRecord serializeData() const;
    void deserializeData(const ChartStream::ConnectorRecord& record);
    // Whether serializeData() would give exactly this record, told without copying the points.
    bool holds(const ChartStream::ConnectorRecord& record) const;

    std::vector<QPoint> points;
    bool isChecked;
    bool isStraightDrawingHorizontal;
    std::vector<QPair<float, float>> points_proc_from_window;

private:
    void appendPoint(const QPoint& point);

    const QWidget* ptr_Widget;
    size_t minPointsValidLine;
    bool isStraight;
    int whoAmI;
};

#endif // LINE_H
