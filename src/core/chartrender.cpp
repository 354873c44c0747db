#include "chartrender.h"

#include <QRegularExpression>

namespace ChartRender {

namespace {

// A connector needs more points than this to be drawn.
constexpr size_t fewestConnectorPoints = 4;

} // namespace

CharGrid::Input gridInputFor(const ChartStream::Chart& chart, bool drawBorders)
{
    static const QRegularExpression lineBreak(QStringLiteral("[\r\n]"));
    CharGrid::Input input;
    input.rows = canvasSize / cellHeight;
    input.cols = canvasSize / cellWidth;
    for (const ChartStream::BoxRecord& box : chart.boxes) {
        if (!box.text.isEmpty())
            input.boxes.push_back({box.proportion, box.text.split(lineBreak)});
    }
    for (const ChartStream::ConnectorRecord& connector : chart.connectors) {
        if (connector.points.size() > fewestConnectorPoints)
            input.connectors.push_back(&connector.fractions);
    }
    input.drawBorders = drawBorders;
    input.connectorShift = QPoint(-1, -1);
    input.startTag = chart.window.startTag;
    input.endTag = chart.window.endTag;
    return input;
}

QByteArray exportBytes(const std::vector<QString>& rows)
{
    QByteArray bytes;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i > 0)
            bytes.append('\n');
        bytes.append(rows[i].toUtf8());
    }
    return bytes;
}

} // namespace ChartRender
