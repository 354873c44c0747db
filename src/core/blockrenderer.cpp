#include "blockrenderer.h"

#include "chartfiles.h"
#include "renderoptions.h"

#include <QDir>
#include <QFileInfo>

BlockRenderer::Result BlockRenderer::render(const QString& fileName, const MarkedBlock::Block& block)
{
    Result result;
    if (!block.closed()) {
        result.problem = QStringLiteral("block not closed: no line with 'vandora: end' follows");
        return result;
    }
    if (!block.syntaxError.isEmpty()) {
        result.problem = block.syntaxError;
        return result;
    }
    QString path;
    RenderOptions::Options options;
    if (!RenderOptions::parseChartArguments(block.arguments, path, options, &result.problem))
        return result;
    result.chart = QDir::cleanPath(QFileInfo(fileName).dir().filePath(path));
    auto loaded = m_charts.find(result.chart);
    if (loaded == m_charts.end()) {
        Loaded chart;
        ChartFiles::readChart(result.chart, chart.chart, &chart.error);
        loaded = m_charts.emplace(result.chart, chart).first;
    }
    if (!loaded->second.error.isEmpty()) {
        result.problem = result.chart + QLatin1String(": ") + loaded->second.error;
        return result;
    }
    for (const QString& row : RenderOptions::render(loaded->second.chart, options)) {
        result.rows.push_back(row.toUtf8());
        // Written into the file, such a row would end the block early and tear the file apart on the next run.
        if (MarkedBlock::closesBlock(result.rows.back())) {
            result.problem = QStringLiteral("the drawing of %1 holds a line with 'vandora: end'").arg(result.chart);
            result.rows.clear();
            return result;
        }
    }
    return result;
}
