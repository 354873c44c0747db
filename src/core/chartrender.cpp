#include "chartrender.h"

#include <QRegularExpression>

namespace ChartRender {

QStringList textLines(const QString& text)
{
    // Compiled once: every rendering asks every box for its lines.
    static const QRegularExpression lineBreak(QStringLiteral("[\r\n]"));
    return text.split(lineBreak);
}

CharGrid::Input emptyInput(const QSize& canvas, bool drawBorders, const QString& startTag, const QString& endTag)
{
    CharGrid::Input input;
    input.rows = canvas.height() / cellHeight;
    input.cols = canvas.width() / cellWidth;
    input.drawBorders = drawBorders;
    input.connectorShift = connectorShift;
    input.startTag = startTag;
    input.endTag = endTag;
    return input;
}

void addBox(CharGrid::Input& input, const QPointF& proportion, const QString& text)
{
    if (!text.isEmpty())
        input.boxes.push_back({proportion, textLines(text)});
}

void addConnector(CharGrid::Input& input, size_t pointCount, const CharGrid::Fractions& fractions)
{
    if (pointCount > fewestConnectorPoints)
        input.connectors.push_back(&fractions);
}

CharGrid::Input gridInputFor(const ChartStream::Chart& chart, bool drawBorders)
{
    CharGrid::Input input = emptyInput(QSize(canvasSize, canvasSize), drawBorders, chart.window.startTag, chart.window.endTag);
    for (const ChartStream::BoxRecord& box : chart.boxes)
        addBox(input, box.proportion, box.text);
    for (const ChartStream::ConnectorRecord& connector : chart.connectors)
        addConnector(input, connector.points.size(), connector.fractions);
    return input;
}

QString joinRows(const std::vector<QString>& rows)
{
    QString text;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i > 0)
            text.append(QLatin1Char('\n'));
        text.append(rows[i]);
    }
    return text;
}

QByteArray exportBytes(const std::vector<QString>& rows)
{
    return joinRows(rows).toUtf8();
}

} // namespace ChartRender
