#include "benchcommon.h"
#include "chartrender.h"
#include "connectorfill.h"
#include "drawingreader.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int canvas = ChartRender::canvasSize;

// A full grid: 40 slots of 8 rows of 5, boxes and connectors taking turns, each connector a run, a slant
// and a turn drawn as the mouse draws them.
ChartStream::Chart makeChart()
{
    ChartStream::Chart chart;
    const int slotWidth = canvas / 5;
    const int slotHeight = canvas / 8;
    for (int slot = 0; slot < 40; ++slot) {
        const QPoint corner(slot % 5 * slotWidth + 14, slot / 5 * slotHeight + 26);
        if (slot % 2 == 0) {
            ChartStream::BoxRecord box;
            box.proportion = QPointF(double(corner.x()) / canvas, double(corner.y()) / canvas);
            box.text = QStringLiteral("Step %1\nthen %2").arg(slot).arg(slot * 7);
            chart.boxes.push_back(box);
            continue;
        }
        ChartStream::ConnectorRecord line;
        QPoint at = corner;
        line.points.push_back(at);
        for (const QPoint& to : {QPoint(70, 0), QPoint(30, 30), QPoint(0, 20), QPoint(-50, 0)}) {
            for (const QPoint& p : fillGap(at, at + to))
                line.points.push_back(p);
            line.points.push_back(at += to);
        }
        for (const QPoint& p : line.points)
            line.fractions.push_back(fractionOf(p, QSize(canvas, canvas)));
        chart.connectors.push_back(line);
    }
    return chart;
}

CharGrid::Input inputIn(const ChartStream::Chart& chart, CharGrid::Style style)
{
    CharGrid::Input input = ChartRender::gridInputFor(chart, true);
    input.style = style;
    input.startTag = QStringLiteral("// ");
    return input;
}

const ChartStream::Chart& chart()
{
    static const ChartStream::Chart made = makeChart();
    return made;
}

void BM_Render(benchmark::State& state)
{
    const CharGrid::Style style = CharGrid::Style(state.range(0));
    const CharGrid::Input input = inputIn(chart(), style);
    bench::timed(state, "render " + CharGrid::nameOf(style).toStdString(), [&input] {
        std::vector<QString> rows = CharGrid::render(input);
        benchmark::DoNotOptimize(rows);
    });
}

void BM_Read(benchmark::State& state)
{
    const CharGrid::Style style = CharGrid::Style(state.range(0));
    const std::vector<QString> rows = CharGrid::render(inputIn(chart(), style));
    const QStringList drawing(rows.begin(), rows.end());
    bench::timed(state, "read " + CharGrid::nameOf(style).toStdString(), [&drawing] {
        DrawingReader::Result read = DrawingReader::read(drawing);
        benchmark::DoNotOptimize(read);
    });
}

BENCHMARK(BM_Render)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Read)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// The measured drawing must hold what it claims and read back whole.
bool drawingReadsBack()
{
    for (const CharGrid::Style style : CharGrid::allStyles) {
        const std::vector<QString> rows = CharGrid::render(inputIn(chart(), style));
        const DrawingReader::Result read = DrawingReader::read(QStringList(rows.begin(), rows.end()));
        if (read.unplaced != 0 || read.chart.boxes.size() != 20 || read.chart.connectors.size() != 20) {
            std::fprintf(stderr, "%s: %d characters left out, %zu boxes, %zu connectors\n", qPrintable(CharGrid::nameOf(style)), read.unplaced,
                read.chart.boxes.size(), read.chart.connectors.size());
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (!drawingReadsBack())
        return EXIT_FAILURE;
    if (!bench::runRegistered(argc, argv))
        return EXIT_FAILURE;
    const std::map<std::string, double>& ms = bench::perCallMs();
    for (const CharGrid::Style style : CharGrid::allStyles) {
        const std::string name = CharGrid::nameOf(style).toStdString();
        const auto read = ms.find("read " + name);
        const auto render = ms.find("render " + name);
        if (read != ms.end() && render != ms.end())
            std::printf("%s: reading back %.3f ms, %.1fx rendering (%.3f ms)\n", name.c_str(), read->second, read->second / render->second, render->second);
    }
    return EXIT_SUCCESS;
}
