// Start-up time of the program, measured from outside the process, against a bare window.
//
// The executable re-launches itself: "--child vandora" starts the main window, "--child bare"
// an empty QMainWindow of the same fixed size. A child exits as soon as its window is exposed
// (and, for the main window, its tick runs); the parent times each child from QProcess start to
// its end. A child leaves with _Exit so that tearing the window down is not part of the figure.

#include "benchcommon.h"
#include "mainwindow.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int repetitions = 15;

// Polls from the event loop until `ready` holds, then reports the in-process time and leaves.
template <typename Ready> void exitWhenReady(const QElapsedTimer& sinceMain, Ready ready)
{
    if (ready()) {
        std::printf("%lld\n", static_cast<long long>(sinceMain.nsecsElapsed()));
        std::fflush(stdout);
        std::_Exit(0);
    }
    QTimer::singleShot(0, [&sinceMain, ready] { exitWhenReady(sinceMain, ready); });
}

bool exposed(const QWidget& window)
{
    return window.windowHandle() && window.windowHandle()->isExposed();
}

int runChild(int argc, char** argv, const char* mode)
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    QApplication app(argc, argv);
    if (std::strcmp(mode, "vandora") == 0) {
        MainWindow window(nullptr, QString());
        window.show();
        const QTimer* tick = window.findChild<QTimer*>(QString(), Qt::FindDirectChildrenOnly);
        if (!tick)
            return 3;
        QTimer::singleShot(0, [&] { exitWhenReady(sinceMain, [&] { return exposed(window) && tick->isActive(); }); });
        app.exec();
        return 4;
    }
    if (std::strcmp(mode, "bare") == 0) {
        QMainWindow window;
        window.setFixedHeight(802);
        window.setFixedWidth(1820);
        window.show();
        QTimer::singleShot(0, [&] { exitWhenReady(sinceMain, [&] { return exposed(window); }); });
        app.exec();
        return 4;
    }
    return 2;
}

struct Samples {
    std::vector<double> wallMs;
    std::vector<double> inMainMs;
};

Samples vandoraSamples;
Samples bareSamples;

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2.0;
}

void launch(benchmark::State& state, const char* mode, Samples& samples)
{
    for (auto _ : state) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const auto start = std::chrono::steady_clock::now();
        child.start(QCoreApplication::applicationFilePath(), QStringList{QStringLiteral("--child"), QString::fromLatin1(mode)});
        const bool finished = child.waitForFinished(60000);
        const auto end = std::chrono::steady_clock::now();
        if (!finished || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
            state.SkipWithError("child did not start and exit cleanly");
            break;
        }
        const double seconds = std::chrono::duration<double>(end - start).count();
        state.SetIterationTime(seconds);
        samples.wallMs.push_back(seconds * 1e3);
        const double inMainNs = child.readAllStandardOutput().trimmed().toDouble();
        samples.inMainMs.push_back(inMainNs / 1e6);
        state.counters["in_main_ms"] = inMainNs / 1e6;
    }
}

// Each launch is one timed repetition; the median over them is reported.
void asLaunches(benchmark::internal::Benchmark* b)
{
    b->UseManualTime()
        ->Iterations(1)
        ->Repetitions(repetitions)
        ->ComputeStatistics("min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMillisecond);
}

void BM_StartupBareWindow(benchmark::State& state)
{
    launch(state, "bare", bareSamples);
}
BENCHMARK(BM_StartupBareWindow)->Apply(asLaunches);

void BM_StartupVandora(benchmark::State& state)
{
    launch(state, "vandora", vandoraSamples);
}
BENCHMARK(BM_StartupVandora)->Apply(asLaunches);

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--child") == 0)
        return runChild(argc, argv, argv[2]);

    QApplication app(argc, argv);
    if (!bench::runRegistered(argc, argv))
        return EXIT_FAILURE;

    const double vandora = median(vandoraSamples.wallMs);
    const double bare = median(bareSamples.wallMs);
    std::printf("start-up median over %zu/%zu runs: vandora %.1f ms, bare window %.1f ms, ratio %.2f"
                " (in main: vandora %.1f ms, bare %.1f ms)\n",
        vandoraSamples.wallMs.size(), bareSamples.wallMs.size(), vandora, bare, bare > 0 ? vandora / bare : 0.0, median(vandoraSamples.inMainMs),
        median(bareSamples.inMainMs));
    return vandoraSamples.wallMs.empty() || bareSamples.wallMs.empty() ? EXIT_FAILURE : EXIT_SUCCESS;
}
