#include "benchcommon.h"
#include "chargrid.h"
#include "chargrid_before.h"
#include "chartrender.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int gridRows = 61;
constexpr int gridCols = 114;

struct Chart {
    std::vector<CharGrid::Box> boxes;
    std::vector<CharGrid::Fractions> connectors;
};

Chart makeChart()
{
    bench::Lcg rng(20240611);
    Chart chart;
    for (int i = 0; i < 200; ++i) {
        const QString n = QString::number(i);
        QStringList lines{"Step " + n, QString(int(rng.next() * 12), QLatin1Char('x')) + "\t" + n, "ok"};
        chart.boxes.push_back({QPointF(rng.next() * 1.1 - 0.05, rng.next() * 1.1 - 0.05), lines});
    }
    // Dense random walks, about 1.5 canvas pixels per step, wandering slightly past the edges.
    const float step = 1.5f / 801.0f;
    for (int c = 0; c < 100; ++c) {
        CharGrid::Fractions points;
        float x = float(rng.next());
        float y = float(rng.next());
        for (int p = 0; p < 2000; ++p) {
            points.push_back({x, y});
            const double angle = rng.next() * 6.283185307179586;
            x = std::fmin(1.05f, std::fmax(-0.05f, x + step * float(std::cos(angle)) * 4.0f));
            y = std::fmin(1.05f, std::fmax(-0.05f, y + step * float(std::sin(angle)) * 4.0f));
        }
        chart.connectors.push_back(std::move(points));
    }
    return chart;
}

// The same chart with every tenth character of the boxes' text a wide one.
Chart makeWideChart()
{
    Chart chart = makeChart();
    for (CharGrid::Box& box : chart.boxes)
        for (QString& line : box.lines)
            for (int i = 0; i < line.size(); i += 10)
                line[i] = QChar(0x6F22);
    return chart;
}

CharGrid::Input makeInput(const Chart& chart)
{
    CharGrid::Input input;
    input.rows = gridRows;
    input.cols = gridCols;
    input.boxes = chart.boxes;
    for (const CharGrid::Fractions& points : chart.connectors)
        input.connectors.push_back(&points);
    input.connectorShift = ChartRender::connectorShift;
    input.startTag = QStringLiteral("// ");
    input.endTag = QStringLiteral(" <");
    return input;
}

// The straightforward renderer: one map entry per cell, found by its "row,column" text key.
std::vector<QString> renderWithMap(const CharGrid::Input& input)
{
    using CharGrid::POSITION;
    std::map<std::string, POSITION> charMap;
    const auto key = [](long long row, long long col) { return std::to_string(row) + "," + std::to_string(col); };

    for (int r = 0; r < input.rows; ++r)
        for (int c = 0; c < input.cols; ++c)
            charMap[key(r, c)] = POSITION(size_t(r), size_t(c), QLatin1Char(' '), false);

    for (const CharGrid::Box& box : input.boxes) {
        const long long row = static_cast<long long>(std::round(box.proportion.y() * double(input.rows)));
        const long long col = static_cast<long long>(std::round(box.proportion.x() * double(input.cols)));
        QStringList data;
        long long biggest = 0;
        for (const QString& line : box.lines) {
            data.append(CharGrid::expandTabs(line));
            biggest = std::max<long long>(biggest, data.last().size());
        }
        const long long n = data.size();
        if (input.drawBorders) {
            for (long long j = 0; j < biggest; ++j)
                charMap[key(row - 1, col + j)] = POSITION(size_t(row - 1), size_t(col + j), QLatin1Char('-'), true);
            for (long long j = 0; j < biggest; ++j)
                charMap[key(row + n, col + j)] = POSITION(size_t(row + n), size_t(col + j), QLatin1Char('-'), true);
            for (long long r = row - 1; r <= row + n; ++r)
                charMap[key(r, col - 1)] = POSITION(size_t(r), size_t(col - 1), QLatin1Char('|'), true);
            for (long long r = row - 1; r <= row + n; ++r)
                charMap[key(r, col + biggest)] = POSITION(size_t(r), size_t(col + biggest), QLatin1Char('|'), true);
        }
        for (long long i = 0; i < n; ++i) {
            const QString& line = data.at(int(i));
            for (long long j = 0; j < line.size(); ++j)
                charMap[key(row + i, col + j)] = POSITION(size_t(row + i), size_t(col + j), line.at(int(j)), true);
            for (long long j = line.size(); j < biggest; ++j)
                charMap[key(row + i, col + j)] = POSITION(size_t(row + i), size_t(col + j), QLatin1Char(' '), true);
        }
    }

    for (const CharGrid::Fractions* points : input.connectors) {
        for (const QPair<float, float>& p : *points) {
            const long long row = static_cast<long long>(std::round(p.second * float(input.rows))) - 1;
            const long long col = static_cast<long long>(std::round(p.first * float(input.cols))) - 1;
            POSITION& existing = charMap[key(row, col)];
            if (existing.oneChar == QLatin1Char(' ') && !existing.box)
                existing = POSITION(size_t(row), size_t(col), QLatin1Char('*'), false);
        }
    }

    std::vector<QString> rows;
    for (int r = 0; r < input.rows; ++r) {
        QString text = input.startTag;
        for (int c = 0; c < input.cols; ++c)
            text.append(charMap[key(r, c)].oneChar);
        text.append(input.endTag);
        rows.push_back(text);
    }
    return rows;
}

const Chart& chart()
{
    static const Chart instance = makeChart();
    return instance;
}

void BM_GridFlat(benchmark::State& state)
{
    const CharGrid::Input input = makeInput(chart());
    for (auto _ : state) {
        std::vector<QString> rows = CharGrid::render(input);
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_GridFlat)->Unit(benchmark::kMicrosecond);

// Each drawing style against classic on the same chart; the ratios are printed at the end.
void BM_GridStyle(benchmark::State& state)
{
    const CharGrid::Style style = CharGrid::Style(state.range(0));
    CharGrid::Input input = makeInput(chart());
    input.style = style;
    input.arrows = CharGrid::Arrows::Both;
    bench::timed(state, CharGrid::nameOf(style).toStdString(), [&input] {
        std::vector<QString> rows = CharGrid::render(input);
        benchmark::DoNotOptimize(rows);
    });
}
BENCHMARK(BM_GridStyle)
    ->Arg(int(CharGrid::Style::Classic))
    ->Arg(int(CharGrid::Style::Lines))
    ->Arg(int(CharGrid::Style::Unicode))
    ->Arg(int(CharGrid::Style::Rounded))
    ->Arg(int(CharGrid::Style::Heavy))
    ->Arg(int(CharGrid::Style::Double))
    ->Unit(benchmark::kMicrosecond);

// The renderer before it counted columns, on the same ASCII chart: the baseline of the figures at the end.
void BM_GridBefore(benchmark::State& state)
{
    const CharGrid::Style style = CharGrid::Style(state.range(0));
    CharGrid::Input input = makeInput(chart());
    input.style = style;
    input.arrows = CharGrid::Arrows::Both;
    bench::timed(state, "before " + CharGrid::nameOf(style).toStdString(), [&input] {
        std::vector<QString> rows = CharGridBefore::render(input);
        benchmark::DoNotOptimize(rows);
    });
}
BENCHMARK(BM_GridBefore)->Arg(int(CharGrid::Style::Classic))->Arg(int(CharGrid::Style::Unicode))->Unit(benchmark::kMicrosecond);

// Today's renderer on the chart with a tenth of its text wide.
void BM_GridWide(benchmark::State& state)
{
    static const Chart wide = makeWideChart();
    const CharGrid::Style style = CharGrid::Style(state.range(0));
    CharGrid::Input input = makeInput(wide);
    input.style = style;
    input.arrows = CharGrid::Arrows::Both;
    bench::timed(state, "wide " + CharGrid::nameOf(style).toStdString(), [&input] {
        std::vector<QString> rows = CharGrid::render(input);
        benchmark::DoNotOptimize(rows);
    });
}
BENCHMARK(BM_GridWide)->Arg(int(CharGrid::Style::Classic))->Arg(int(CharGrid::Style::Unicode))->Unit(benchmark::kMicrosecond);

void BM_GridMapBaseline(benchmark::State& state)
{
    const CharGrid::Input input = makeInput(chart());
    for (auto _ : state) {
        std::vector<QString> rows = renderWithMap(input);
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_GridMapBaseline)->Unit(benchmark::kMicrosecond);

// Both renderers must draw the same chart identically, with and without borders.
bool renderersAgree()
{
    CharGrid::Input input = makeInput(chart());
    for (const bool borders : {true, false}) {
        input.drawBorders = borders;
        if (CharGrid::render(input) != renderWithMap(input))
            return false;
        // ASCII drawings come out byte for byte as before columns were counted.
        for (const CharGrid::Style style : {CharGrid::Style::Classic, CharGrid::Style::Lines}) {
            CharGrid::Input styled = input;
            styled.style = style;
            if (CharGrid::render(styled) != CharGridBefore::render(styled))
                return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (!renderersAgree()) {
        std::fprintf(stderr, "flat grid, map baseline and the renderer before columns disagree\n");
        return EXIT_FAILURE;
    }
    if (!bench::runRegistered(argc, argv))
        return EXIT_FAILURE;
    const std::map<std::string, double>& ms = bench::perCallMs();
    const auto classic = ms.find("classic");
    for (const char* style : {"lines", "unicode", "rounded", "heavy", "double"}) {
        const auto each = ms.find(style);
        if (classic != ms.end() && each != ms.end())
            std::printf("%s: %.3f ms per render, %.2fx classic (%.3f ms)\n", style, each->second, each->second / classic->second, classic->second);
    }
    for (const char* style : {"classic", "unicode"}) {
        const auto before = ms.find("before " + std::string(style));
        const auto ascii = ms.find(style);
        const auto wide = ms.find("wide " + std::string(style));
        if (before != ms.end() && ascii != ms.end() && wide != ms.end())
            std::printf("%s: ASCII chart %.2fx, a tenth wide %.2fx the renderer before columns (%.3f ms)\n", style, ascii->second / before->second,
                wide->second / before->second, before->second);
    }
    return EXIT_SUCCESS;
}
