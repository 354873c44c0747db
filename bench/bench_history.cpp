// Undo history on a big chart: recording and rebuilding one snapshot against copying its bytes;
// typing a character and a click that changes nothing, each with its step, against recording every
// change unconditionally; the unsaved-changes check that the title makes after each step, against
// recording; Undo and Redo keeping unchanged boxes against rebuilding everything; and the history's
// memory after typing into a box, against storing every snapshot whole.

#include "benchwindow.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTextCursor>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <string>

class BenchAccess
{
public:
    static const SnapshotStore& history(const MainWindow& w) { return w.byteArrayOfPastStuf; }
    static void boxTextChanged(MainWindow& w) { w.boxTextChanged(); }
};

namespace {

MainWindow* window = nullptr;
// Snapshot indexes: the chart, one character typed into a box, then the whole chart moved.
constexpr int typedStep = 1;
constexpr int movedStep = 2;

void timedLoad(benchmark::State& state, const std::string& key, int from, int to, bool full)
{
    double total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        window->deserialzeDataStream(from);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        if (full)
            window->clearMainData();
        window->deserialzeDataStream(to);
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
    bench::perCallMs()[key + (full ? " (full rebuild)" : "")] = total / double(state.iterations());
}

void BM_UndoTyped(benchmark::State& state)
{
    timedLoad(state, "undo typed", typedStep, typedStep - 1, state.range(0));
}
BENCHMARK(BM_UndoTyped)->ArgName("full")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
void BM_RedoTyped(benchmark::State& state)
{
    timedLoad(state, "redo typed", typedStep - 1, typedStep, state.range(0));
}
BENCHMARK(BM_RedoTyped)->ArgName("full")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
void BM_UndoMoveAll(benchmark::State& state)
{
    timedLoad(state, "undo move all", movedStep, movedStep - 1, state.range(0));
}
BENCHMARK(BM_UndoMoveAll)->ArgName("full")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_RecordSnapshot(benchmark::State& state)
{
    // A budget of one byte keeps only the newest snapshot, so every iteration does the same work.
    window->setHistoryBudget(1);
    bench::timed(state, "record", [] { window->pushBackStreamToBuffer(); });
    state.counters["bytes"] = double(window->historyBytes());
    window->setHistoryBudget(MainWindow::historyBudgetBytes);
}
BENCHMARK(BM_RecordSnapshot)->Unit(benchmark::kMillisecond);

// What the title asks after every step: whether the chart differs from the one saved.
void BM_UnsavedCheck(benchmark::State& state)
{
    bench::timed(state, "unsaved check", [] { benchmark::DoNotOptimize(window->hasUnsavedChanges()); });
}
BENCHMARK(BM_UnsavedCheck)->Unit(benchmark::kMillisecond);

void BM_RebuildSnapshot(benchmark::State& state)
{
    window->pushBackStreamToBuffer();
    bench::timed(state, "rebuild", [] {
        window->clearMainData();
        window->deserialzeDataStream(0);
    });
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

// One character typed into the first box and taken back again, each a step: through the one recording
// operation, or (unconditional) through a callback that records a snapshot whatever changed.
void BM_TypeCharacter(benchmark::State& state)
{
    const bool unconditional = state.range(0);
    TextObject* box = window->m_data->first();
    if (unconditional)
        box->setCallbackFunction([] { window->pushBackStreamToBuffer(); });
    window->setHistoryBudget(1);
    QTextCursor cursor(box->elem->document());
    cursor.movePosition(QTextCursor::End);
    bench::timed(state, unconditional ? "type (unconditional)" : "type", [&] {
        cursor.insertText(QStringLiteral("y"));
        cursor.deletePreviousChar();
    });
    bench::perCallMs()[unconditional ? "type (unconditional)" : "type"] /= 2;
    window->setHistoryBudget(MainWindow::historyBudgetBytes);
    if (unconditional)
        window->m_data->first()->setCallbackFunction([] { BenchAccess::boxTextChanged(*window); });
}
BENCHMARK(BM_TypeCharacter)->ArgName("unconditional")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A right click on empty canvas, which changes nothing: its release asks for a step, which the one
// recording operation declines; unconditional recording, as before, adds one.
void BM_ClickChangingNothing(benchmark::State& state)
{
    const bool unconditional = state.range(0);
    const QPoint at = bench::canvasOf(*window)->mapTo(window, QPoint(790, 790));
    window->setHistoryBudget(1);
    const int before = BenchAccess::history(*window).size();
    bench::timed(state, unconditional ? "click (unconditional)" : "click", [&] {
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(
                type, at, window->mapToGlobal(at), Qt::RightButton, type == QEvent::MouseButtonPress ? Qt::RightButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(window, &event);
        }
        if (unconditional)
            window->pushBackStreamToBuffer();
    });
    if (!unconditional && BenchAccess::history(*window).size() != before)
        bench::fail("a click that changes nothing recorded a step");
    window->setHistoryBudget(MainWindow::historyBudgetBytes);
}
BENCHMARK(BM_ClickChangingNothing)->ArgName("unconditional")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

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
        QMouseEvent event(
            type, click, window->mapToGlobal(click), Qt::LeftButton, type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(window, &event);
    }
    TextObject* box = window->m_data->last();
    QTextCursor cursor(box->elem->document());
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 1000; ++i)
        cursor.insertText(QString(QChar('a' + i % 26)));
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const qint64 bytes = window->historyBytes();
    const SnapshotStore& history = BenchAccess::history(*window);
    // Stored whole, as before: the newest snapshots that fit the budget.
    qint64 whole = 0;
    int wholeSteps = 0;
    for (int i = history.size() - 1; i >= 0; --i) {
        const qint64 size = history.at(i).size();
        if (whole + size > budget && wholeSteps > 0)
            break;
        whole += size;
        ++wholeSteps;
    }
    std::printf("typing 1,000 characters, budget %lld MiB: %d snapshots kept, %.1f MiB held, %.3f ms per character "
                "(recording included); stored whole: %d snapshots, %.1f MiB\n",
        budget >> 20, history.size(), double(bytes) / (1 << 20), ms / 1000, wholeSteps, double(whole) / (1 << 20));
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
        mainWindow.m_data_line.push_back(bench::wanderingLine(canvas, i, 1000, rng, 12.0));
    // The big chart is the history's first snapshot.
    mainWindow.setHistoryBudget(1);
    mainWindow.pushBackStreamToBuffer();
    mainWindow.setHistoryBudget(MainWindow::historyBudgetBytes);
    mainWindow.m_data->first()->elem->textCursor().insertText(QStringLiteral("x"));
    mainWindow.pushBackStreamToBuffer();
    for (TextObject* box : *mainWindow.m_data)
        box->updateMovingElementAll(QPoint(5, 3));
    for (Line& line : mainWindow.m_data_line)
        line.updateMovingElementAll(QPoint(5, 3), true, true);
    mainWindow.pushBackStreamToBuffer();
    if (BenchAccess::history(mainWindow).size() != 3)
        bench::fail("three snapshots expected");

    if (!bench::runRegistered(argc, argv))
        return EXIT_FAILURE;
    auto& ms = bench::perCallMs();
    for (const char* step : {"undo typed", "redo typed", "undo move all"})
        std::printf("%s: %.3f ms keeping unchanged boxes, %.3f ms rebuilding all (ratio %.1f)\n", step, ms[step], ms[std::string(step) + " (full rebuild)"],
            ms[std::string(step) + " (full rebuild)"] / ms[step]);
    std::printf("typing one character, step included: %.3f ms; recording unconditionally: %.3f ms (ratio %.2f)\n", ms["type"], ms["type (unconditional)"],
        ms["type"] / ms["type (unconditional)"]);
    std::printf("a click that changes nothing: %.3f ms, no step; recording unconditionally: %.3f ms (ratio %.2f)\n", ms["click"], ms["click (unconditional)"],
        ms["click"] / ms["click (unconditional)"]);
    std::printf("record one snapshot: %.3f ms, rebuild it: %.3f ms; copying its bytes: %.3f ms (ratios %.0f and %.0f)\n", ms["record"], ms["rebuild"],
        ms["copy"], ms["record"] / ms["copy"], ms["rebuild"] / ms["copy"]);
    std::printf("the unsaved-changes check for the title: %.3f ms, %.0f%% of recording a snapshot (which includes it)\n", ms["unsaved check"],
        100.0 * ms["unsaved check"] / ms["record"]);

    const qint64 bounded = historyAfterTyping(MainWindow::historyBudgetBytes);
    const qint64 unbounded = historyAfterTyping(std::numeric_limits<qint64>::max() / 2);
    std::printf("budget keeps the history at %.1f%% of the unbounded size\n", 100.0 * double(bounded) / double(unbounded));
    window = nullptr;
    return EXIT_SUCCESS;
}
