// Whole-process time of vandora-render --check over 1,000 source files of about 100 lines, each with
// one marked block of its own 5-box chart, against cat of the same files, in one run.

#include "benchcommon.h"
#include "benchprocess.h"
#include "chartfiles.h"
#include "chartstream.h"
#include "renderoptions.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int fileCount = 1000;

// Five boxes in a column joined by four straight connectors.
ChartStream::Chart makeChart(bench::Lcg& rng, int n)
{
    ChartStream::Chart chart;
    chart.window.startTag = QStringLiteral("// ");
    for (int i = 0; i < 5; ++i) {
        ChartStream::BoxRecord box;
        box.openBoxPoint = QPoint(int(100 + rng.next() * 400), 40 + i * 150);
        box.whoAmI = i;
        box.currentWantedRect = QRect(box.openBoxPoint, QSize(60, 30));
        box.proportion = QPointF(box.openBoxPoint.x() / 801.0, box.openBoxPoint.y() / 801.0);
        box.text = QStringLiteral("Step %1.%2\nthen go on").arg(n).arg(i);
        chart.boxes.push_back(box);
        chart.window.creationRecords.push_back({0, i});
    }
    for (int c = 0; c < 4; ++c) {
        ChartStream::ConnectorRecord connector;
        const int x = 150 + c * 100;
        for (int y = 100 + c * 150; y < 170 + c * 150; ++y) {
            connector.points.emplace_back(x, y);
            connector.fractions.push_back({float(x / 801.0), float(y / 801.0)});
        }
        chart.connectors.push_back(std::move(connector));
        chart.window.creationRecords.push_back({1, c});
    }
    return chart;
}

// A C file of about 100 lines whose block, after line 40, holds the chart's compact drawing.
QByteArray makeSource(const ChartStream::Chart& chart, int n)
{
    QByteArray text;
    for (int i = 0; i < 40; ++i)
        text += "int value" + QByteArray::number(n) + '_' + QByteArray::number(i) + " = " + QByteArray::number(i) + ";\n";
    text += "// vandora:"
            " chart"
        + QByteArray::number(n) + ".fcb --crop\n";
    RenderOptions::Options options;
    options.crop = true;
    for (const QString& row : RenderOptions::render(chart, options))
        text += row.toUtf8() + '\n';
    text += "// vandora: end\n";
    while (text.count('\n') < 100)
        text += "static int unused" + QByteArray::number(text.count('\n')) + ";\n";
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return EXIT_FAILURE;
    bench::Lcg rng(20261209);
    QStringList files;
    for (int n = 0; n < fileCount; ++n) {
        const ChartStream::Chart chart = makeChart(rng, n);
        const QString source = QStringLiteral("file%1.c").arg(n);
        if (!ChartFiles::writeWhole(dir.filePath(QStringLiteral("chart%1.fcb").arg(n)), ChartStream::toBytes(chart))
            || !ChartFiles::writeWhole(dir.filePath(source), makeSource(chart, n)))
            return EXIT_FAILURE;
        files << source;
    }
    const int runs = 7;
    const double check = bench::medianRunMs(QStringLiteral(VANDORA_RENDER_PATH), QStringList(QStringLiteral("--check")) + files, runs, dir.path());
    const double cat = bench::medianRunMs(QStringLiteral("cat"), files, runs, dir.path());
    std::printf("%d files of 100 lines, one block each, median of %d runs: vandora-render --check %.1f ms "
                "(%.3f ms per file), cat %.1f ms, ratio %.1f\n",
        fileCount, runs, check, check / fileCount, cat, check / cat);
    return EXIT_SUCCESS;
}
