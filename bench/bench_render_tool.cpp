// Whole-process time of vandora-render on a big chart, against cat of the same file, in one run.

#include "benchcommon.h"
#include "benchprocess.h"
#include "chartstream.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// 200 boxes of two lines and 100 wandering connectors of 2,000 points each.
ChartStream::Chart makeChart()
{
    bench::Lcg rng(20261206);
    ChartStream::Chart chart;
    chart.window.startTag = QStringLiteral("// ");
    for (int i = 0; i < 200; ++i) {
        ChartStream::BoxRecord box;
        box.openBoxPoint = QPoint(int(rng.next() * 740), int(rng.next() * 770));
        box.whoAmI = i;
        box.currentWantedRect = QRect(box.openBoxPoint, QSize(60, 30));
        box.proportion = QPointF(box.openBoxPoint.x() / 801.0, box.openBoxPoint.y() / 801.0);
        box.text = QStringLiteral("Step %1\nthen go on").arg(i);
        chart.boxes.push_back(box);
        chart.window.creationRecords.push_back({0, i});
    }
    for (int c = 0; c < 100; ++c) {
        ChartStream::ConnectorRecord connector;
        double x = rng.next() * 800, y = rng.next() * 800;
        for (int p = 0; p < 2000; ++p) {
            x = std::clamp(x + (rng.next() - 0.5) * 3, 0.0, 800.0);
            y = std::clamp(y + (rng.next() - 0.5) * 3, 0.0, 800.0);
            connector.points.emplace_back(int(x), int(y));
            connector.fractions.push_back({float(x / 801), float(y / 801)});
        }
        chart.connectors.push_back(std::move(connector));
        chart.window.creationRecords.push_back({1, c});
    }
    return chart;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString chart = dir.filePath(QStringLiteral("big.fcb"));
    QFile file(chart);
    if (!dir.isValid() || !file.open(QIODevice::WriteOnly) || file.write(ChartStream::toBytes(makeChart())) < 0)
        return EXIT_FAILURE;
    file.close();
    const int runs = 20;
    const double render = bench::medianRunMs(QStringLiteral(VANDORA_RENDER_PATH), {chart}, runs);
    const double cat = bench::medianRunMs(QStringLiteral("cat"), {chart}, runs);
    std::printf("chart of %lld bytes, median of %d runs: vandora-render %.2f ms, cat %.2f ms, ratio %.1f\n", file.size(), runs, render, cat, render / cat);
    return EXIT_SUCCESS;
}
