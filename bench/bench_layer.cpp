// Repainting the connector layer with a busy chart, against laying an empty layer alone; and a
// connector's highlight change and removal repainting only its tiles, against repainting it all.

#include "benchwindow.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMetaObject>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <string>

class BenchAccess
{
public:
    static void repaintAround(MainWindow& w, const std::vector<QPoint>& points) { w.repaintLayerAround({&points}); }
    static QImage layer(const MainWindow& w) { return w.m_draw_lines.toImage(); }
};

namespace {

constexpr int connectorCount = 100;
constexpr size_t pointsPerConnector = 1000;

MainWindow* window = nullptr;
// Nanoseconds per call of the last (longest) run of each benchmark.
std::map<std::string, double> perCall;

void invoke(const char* slot)
{
    if (!QMetaObject::invokeMethod(window, slot, Qt::DirectConnection))
        bench::fail(slot);
}

void timeSlot(benchmark::State& state, const std::string& key, const char* slot, bool withConnectors, bool repaint)
{
    const std::vector<Line> saved = window->m_data_line;
    if (!withConnectors)
        window->m_data_line.clear();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        invoke(slot);
        if (repaint)
            QApplication::processEvents();
    }
    const auto end = std::chrono::steady_clock::now();
    perCall[key] = std::chrono::duration<double, std::nano>(end - start).count() / double(state.iterations());
    state.counters["connectors"] = double(window->m_data_line.size());
    state.counters["points"] = double(bench::totalPoints(*window));
    window->m_data_line = saved;
}

void BM_InitLayerEmpty(benchmark::State& state)
{
    timeSlot(state, "initLableForDrawing/empty", "initLableForDrawing", false, false);
}
BENCHMARK(BM_InitLayerEmpty)->Name("initLableForDrawing/empty")->Unit(benchmark::kMillisecond);

void BM_RedrawAllLines(benchmark::State& state)
{
    timeSlot(state, "redrawAllLines/100x1000", "redrawAllLines", true, false);
}
BENCHMARK(BM_RedrawAllLines)->Name("redrawAllLines/100x1000")->Unit(benchmark::kMillisecond);

void BM_RedrawAllLinesShown(benchmark::State& state)
{
    timeSlot(state, "redrawAllLines+repaint/100x1000", "redrawAllLines", true, true);
}
BENCHMARK(BM_RedrawAllLinesShown)->Name("redrawAllLines+repaint/100x1000")->Unit(benchmark::kMillisecond);

// This thread's processor time, which a loaded machine does not inflate.
double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// One connector's colour flips, or it is removed (and put back, untimed); the layer is then
// repainted where it lies, or whole.
void changeOne(benchmark::State& state, bool remove)
{
    const bool whole = state.range(0) != 0;
    const size_t index = connectorCount / 2;
    double total = 0;
    for (auto _ : state) {
        const double start = threadCpuMs();
        if (remove) {
            const Line removed = window->m_data_line[index];
            window->m_data_line.erase(window->m_data_line.begin() + std::ptrdiff_t(index));
            if (whole)
                invoke("redrawAllLines");
            else
                BenchAccess::repaintAround(*window, removed.points);
            total += threadCpuMs() - start;
            window->m_data_line.insert(window->m_data_line.begin() + std::ptrdiff_t(index), removed);
            BenchAccess::repaintAround(*window, removed.points);
        } else {
            Line& line = window->m_data_line[index];
            line.setObjColor(!line.isChecked);
            if (whole)
                invoke("redrawAllLines");
            else
                BenchAccess::repaintAround(*window, line.points);
            total += threadCpuMs() - start;
        }
    }
    bench::perCallMs()[std::string(remove ? "removal" : "highlight") + (whole ? " whole" : " tiles")] = total / double(state.iterations());
}
void BM_Highlight(benchmark::State& state)
{
    changeOne(state, false);
}
BENCHMARK(BM_Highlight)->ArgName("whole")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
void BM_Removal(benchmark::State& state)
{
    changeOne(state, true);
}
BENCHMARK(BM_Removal)->ArgName("whole")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    MainWindow mainWindow(nullptr, QString());
    window = &mainWindow;
    bench::showAndSettle(mainWindow);

    bench::Lcg rng(20240612);
    QWidget* canvas = bench::canvasOf(mainWindow);
    for (int i = 0; i < connectorCount; ++i)
        mainWindow.m_data_line.push_back(bench::wanderingLine(canvas, i, pointsPerConnector, rng));
    std::printf("chart: %zu connectors, %zu points in all\n", mainWindow.m_data_line.size(), bench::totalPoints(mainWindow));

    // The repaint must really cover the layer with the connectors.
    invoke("redrawAllLines");
    const QImage layer = mainWindow.findChild<QLabel*>(QStringLiteral("label_2"))->pixmap(Qt::ReturnByValue).toImage();
    long long painted = 0;
    for (int y = 0; y < layer.height(); ++y)
        for (int x = 0; x < layer.width(); ++x)
            painted += qAlpha(layer.pixel(x, y)) != 0;
    if (layer.width() != 801 || layer.height() != 801 || painted == 0)
        bench::fail("the layer was not painted");
    std::printf("layer %d x %d, %lld of its pixels painted\n", layer.width(), layer.height(), painted);

    if (!bench::runRegistered(argc, argv))
        return EXIT_FAILURE;

    const auto base = perCall.find("initLableForDrawing/empty");
    const auto full = perCall.find("redrawAllLines/100x1000");
    const auto shown = perCall.find("redrawAllLines+repaint/100x1000");
    if (base != perCall.end() && full != perCall.end()) {
        std::printf(
            "per call: initLableForDrawing %.3f ms, redrawAllLines %.3f ms, ratio %.1f\n", base->second / 1e6, full->second / 1e6, full->second / base->second);
        if (shown != perCall.end())
            std::printf("per call with the label repainted: %.3f ms, ratio %.1f\n", shown->second / 1e6, shown->second / base->second);
    }
    // The partial repaints must leave what a whole repaint paints.
    const QImage partial = BenchAccess::layer(mainWindow);
    invoke("redrawAllLines");
    if (partial != BenchAccess::layer(mainWindow))
        bench::fail("a partial repaint differs from a whole one");
    auto& ms = bench::perCallMs();
    for (const char* change : {"highlight", "removal"})
        std::printf("%s of one connector: %.3f ms of processor time repainting its tiles, %.3f ms repainting all "
                    "(ratio %.1f)\n",
            change, ms[std::string(change) + " tiles"], ms[std::string(change) + " whole"],
            ms[std::string(change) + " whole"] / ms[std::string(change) + " tiles"]);
    window = nullptr;
    return EXIT_SUCCESS;
}
