// Undo history on a big chart: recording and rebuilding one snapshot against copying its bytes,
// and the history's memory after typing into a box, with and without its budget.

#include "benchwindow.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTextCursor>

#include <chrono>
#include <limits>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

MainWindow* window = nullptr;


void BM_RecordSnapshot(benchmark::State& state)
{
    // A budget of one byte keeps only the newest snapshot, so every iteration does the same work.
    window->setHistoryBudget(1);
    bench::timed(state, "record", [] { window->pushBackStreamToBuffer(); });
    state.counters["bytes"] = double(window->historyBytes());
    window->setHistoryBudget(MainWindow::historyBudgetBytes);
}
BENCHMARK(BM_RecordSnapshot)->Unit(benchmark::kMillisecond);

void BM_RebuildSnapshot(benchmark::State& state)
{
    window->pushBackStreamToBuffer();
    bench::timed(state, "rebuild", [] { window->deserialzeDataStream(0); });
}
BENCHMARK(BM_RebuildSnapshot)->Unit(benchmark::kMillisecond);

void BM_CopyBytes(benchmark::State& state)
{
    ChartStream::Chart chart;
    for (int i = 0; i < 100; ++i)
        chart.connectors.push_back(window->m_data_line[size_t(i)].serializeData());
    const QByteArray bytes = ChartStream::toBytes(chart);
    bench::timed(state, "copy", [&] {
        QByteArray copy(bytes.constData(), bytes.size());
        benchmark::DoNotOptimize(copy.data());
    });
}
BENCHMARK(BM_CopyBytes)->Unit(benchmark::kMillisecond);

// Types 1,000 characters into a box created by a click, one snapshot per character.
qint64 historyAfterTyping(qint64 budget)
{
    // Starts from a history of one snapshot.
    window->setHistoryBudget(1);
    window->pushBackStreamToBuffer();
    window->setHistoryBudget(budget);
    QWidget* canvas = bench::canvasOf(*window);
    const QPoint click = canvas->mapTo(window, QPoint(700, 760));
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, click, window->mapToGlobal(click), Qt::LeftButton,
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(window, &event);
    }
    TextObject* box = window->m_data->last();
    QTextCursor cursor(box->elem->document());
    for (int i = 0; i < 1000; ++i)
        cursor.insertText(QString(QChar('a' + i % 26)));
    const qint64 bytes = window->historyBytes();
    std::printf("history after typing 1,000 characters, budget %lld MiB: %.1f MiB\n", budget >> 20,
        double(bytes) / (1 << 20));
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    MainWindow mainWindow(nullptr, QString());
    window = &mainWindow;
    bench::showAndSettle(mainWindow);

    bench::Lcg rng(20261206);
    QWidget* canvas = bench::canvasOf(mainWindow);
    bench::addBoxGrid(mainWindow, 100);
    for (int i = 0; i < 100; ++i)
        mainWindow.m_data_line.push_back(bench::wanderingLine(canvas, i, 1000, rng));
    mainWindow.pushBackStreamToBuffer();

    if (!bench::runRegistered(argc, argv))
        return EXIT_FAILURE;
    auto& ms = bench::perCallMs();
    std::printf("record one snapshot: %.3f ms, rebuild it: %.3f ms; copying its bytes: %.3f ms (ratios %.0f and %.0f)\n",
        ms["record"], ms["rebuild"], ms["copy"], ms["record"] / ms["copy"], ms["rebuild"] / ms["copy"]);

    const qint64 bounded = historyAfterTyping(MainWindow::historyBudgetBytes);
    const qint64 unbounded = historyAfterTyping(std::numeric_limits<qint64>::max() / 2);
    std::printf("budget keeps the history at %.1f%% of the unbounded size\n", 100.0 * double(bounded) / double(unbounded));
    window = nullptr;
    return EXIT_SUCCESS;
}
