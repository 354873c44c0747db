#include "benchcommon.h"
#include "chartstream.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

// 100 boxes with short texts and 100 connectors of 1,000 points each.
ChartStream::Chart makeChart()
{
    bench::Lcg rng(20240611);
    const auto pixel = [&rng] { return int(rng.next() * 801); };
    ChartStream::Chart chart;
    chart.window.startTag = QStringLiteral("// ");
    for (int i = 0; i < 100; ++i) {
        ChartStream::BoxRecord box;
        box.openBoxPoint = QPoint(pixel(), pixel());
        box.whoAmI = i;
        box.currentWantedRect = QRect(box.openBoxPoint, QSize(60, 20));
        box.proportion = QPointF(box.openBoxPoint.x() / 801.0, box.openBoxPoint.y() / 801.0);
        box.text = QStringLiteral("Step %1\nok").arg(i);
        chart.boxes.push_back(box);
        chart.window.creationRecords.push_back({0, i});
    }
    for (int c = 0; c < 100; ++c) {
        ChartStream::ConnectorRecord connector;
        for (int p = 0; p < 1000; ++p) {
            const QPoint point(pixel(), pixel());
            connector.points.push_back(point);
            connector.fractions.push_back({point.x() / 801.0f, point.y() / 801.0f});
        }
        chart.connectors.push_back(std::move(connector));
        chart.window.creationRecords.push_back({1, c});
    }
    return chart;
}

const ChartStream::Chart& chart()
{
    static const ChartStream::Chart instance = makeChart();
    return instance;
}

const QByteArray& snapshot()
{
    static const QByteArray bytes = ChartStream::toBytes(chart());
    return bytes;
}

void BM_CopyBaseline(benchmark::State& state)
{
    const QByteArray& bytes = snapshot();
    for (auto _ : state) {
        QByteArray copy(bytes.constData(), bytes.size());
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_CopyBaseline)->Unit(benchmark::kMicrosecond);

void BM_ToBytes(benchmark::State& state)
{
    qint64 size = 0;
    for (auto _ : state) {
        const QByteArray bytes = ChartStream::toBytes(chart());
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.constData());
    }
    state.counters["bytes"] = double(size);
    state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_ToBytes)->Unit(benchmark::kMicrosecond);

void BM_FromBytes(benchmark::State& state)
{
    const QByteArray& bytes = snapshot();
    for (auto _ : state) {
        ChartStream::Chart read;
        if (!ChartStream::fromBytes(bytes, read))
            state.SkipWithError("snapshot rejected");
        benchmark::DoNotOptimize(read.connectors.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_FromBytes)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    ChartStream::Chart read;
    if (!ChartStream::fromBytes(snapshot(), read) || read != chart()) {
        std::fprintf(stderr, "the snapshot does not read back to the chart\n");
        return EXIT_FAILURE;
    }
    if (!bench::runRegistered(argc, argv))
        return EXIT_FAILURE;
    return EXIT_SUCCESS;
}
