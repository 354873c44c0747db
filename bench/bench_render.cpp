// The whole text rendering of a busy chart, against the character-grid step alone.

#include "benchwindow.h"
#include "chartrender.h"
#include "gridcrop.h"

#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStringList>
#include <QTextEdit>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int boxCount = 200;
constexpr int connectorCount = 100;
constexpr size_t pointsPerConnector = 2000;

MainWindow* window = nullptr;
// Nanoseconds per call of the last (longest) run of each benchmark.
const std::map<std::string, double>& perCall = bench::perCallMs();

template <typename T> T* widget(const char* name)
{
    auto* found = window->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        bench::fail(name);
    return found;
}

// The chart as the renderer sees it, gathered the way the window gathers it.
CharGrid::Input gatherInput()
{
    const QWidget* canvas = bench::canvasOf(*window);
    CharGrid::Input input = ChartRender::emptyInput(
        canvas->size(), widget<QAbstractButton>("radioButton_4")->isChecked(), widget<QLineEdit>("lineEdit")->text(), widget<QLineEdit>("lineEdit_2")->text());
    for (TextObject* box : *window->m_data)
        ChartRender::addBox(input, box->x_y_proc_respect_to_zero, box->elem ? box->elem->toPlainText() : QString());
    for (const Line& line : window->m_data_line)
        ChartRender::addConnector(input, line.points.size(), line.points_proc_from_window);
    return input;
}

QString joined(const std::vector<QString>& rows)
{
    QStringList list;
    for (const QString& row : rows)
        list.append(row);
    return list.join(QLatin1Char('\n'));
}

void BM_DrawRightWidget(benchmark::State& state)
{
    bench::timed(state, "drawRightWidget", [] { window->drawRightWidget(); });
}
BENCHMARK(BM_DrawRightWidget)->Name("drawRightWidget")->Unit(benchmark::kMillisecond);

void BM_DrawRightWidgetShown(benchmark::State& state)
{
    bench::timed(state, "drawRightWidget+repaint", [] {
        window->drawRightWidget();
        QApplication::processEvents();
    });
}
BENCHMARK(BM_DrawRightWidgetShown)->Name("drawRightWidget+repaint")->Unit(benchmark::kMillisecond);

void BM_GatherInput(benchmark::State& state)
{
    bench::timed(state, "gather input", [] {
        CharGrid::Input input = gatherInput();
        benchmark::DoNotOptimize(input);
    });
}
BENCHMARK(BM_GatherInput)->Name("gather input")->Unit(benchmark::kMillisecond);

// Where gathering spends its time: the boxes' line lists, as gathering makes them.
void BM_BoxLines(benchmark::State& state)
{
    bench::timed(state, "textLines x all", [] {
        for (TextObject* box : *window->m_data) {
            QStringList lines = ChartRender::textLines(box->elem->toPlainText());
            benchmark::DoNotOptimize(lines);
        }
    });
}
BENCHMARK(BM_BoxLines)->Name("textLines x all boxes")->Unit(benchmark::kMillisecond);

void BM_GridRender(benchmark::State& state)
{
    const CharGrid::Input input = gatherInput();
    bench::timed(state, "CharGrid::render", [&input] {
        std::vector<QString> rows = CharGrid::render(input);
        benchmark::DoNotOptimize(rows);
    });
}
BENCHMARK(BM_GridRender)->Name("CharGrid::render")->Unit(benchmark::kMillisecond);

void BM_GridRenderCrop(benchmark::State& state)
{
    const CharGrid::Input input = gatherInput();
    bench::timed(state, "render+crop", [&input] {
        std::vector<QString> rows = GridCrop::compact(CharGrid::render(input), input.startTag, input.endTag);
        benchmark::DoNotOptimize(rows);
    });
}
BENCHMARK(BM_GridRenderCrop)->Name("CharGrid::render + GridCrop::compact")->Unit(benchmark::kMillisecond);

// Ctrl+C as the window receives it, Ctrl held: gathering, rendering, cropping and the clipboard.
void BM_CtrlC(benchmark::State& state)
{
    QKeyEvent ctrl(QEvent::KeyPress, Qt::Key_Control, Qt::NoModifier);
    QApplication::sendEvent(window, &ctrl);
    bench::timed(state, "Ctrl+C", [] {
        QKeyEvent c(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
        QApplication::sendEvent(window, &c);
    });
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
    QApplication::sendEvent(window, &up);
    const CharGrid::Input input = gatherInput();
    if (QApplication::clipboard()->text() != joined(GridCrop::compact(CharGrid::render(input), input.startTag, input.endTag)))
        bench::fail("Ctrl+C copied something else than the compact drawing");
}
BENCHMARK(BM_CtrlC)->Name("Ctrl+C (compact copy)")->Unit(benchmark::kMillisecond);

// drawRightWidget renders whatever the state of "Draw ", and shows what the grid renders.
void checkRendering()
{
    auto* live = widget<QAbstractButton>("radioButton_3");
    auto* output = widget<QTextEdit>("drawOutput");
    const QString expected = joined(CharGrid::render(gatherInput()));
    for (const bool checked : {false, true}) {
        live->setChecked(checked);
        output->clear();
        window->drawRightWidget();
        if (output->toPlainText() != expected)
            bench::fail(checked ? "output differs from the grid with \"Draw \" checked" : "output differs from the grid with \"Draw \" unchecked");
    }
    live->setChecked(false);
    const int rows = expected.count(QLatin1Char('\n')) + 1;
    std::printf("rendering checked: %d rows, identical with \"Draw \" on and off, %d border bars\n", rows, int(expected.count(QLatin1Char('|'))));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    MainWindow mainWindow(nullptr, QString());
    window = &mainWindow;
    bench::showAndSettle(mainWindow);

    bench::Lcg rng(20240613);
    QWidget* canvas = bench::canvasOf(mainWindow);
    for (int i = 0; i < boxCount; ++i) {
        const QPoint at(int(rng.next() * 740), int(rng.next() * 760));
        bench::addBox(mainWindow, at, QStringLiteral("Step %1\nline two\nthird").arg(i));
    }
    for (int i = 0; i < connectorCount; ++i)
        mainWindow.m_data_line.push_back(bench::wanderingLine(canvas, i, pointsPerConnector, rng));
    QApplication::processEvents();
    const CharGrid::Input input = gatherInput();
    std::printf("chart: %zu boxes (%zu drawn), %zu connectors (%zu drawn), %zu points in all, grid %d x %d\n", size_t(mainWindow.m_data->size()),
        input.boxes.size(), mainWindow.m_data_line.size(), input.connectors.size(), bench::totalPoints(mainWindow), input.cols, input.rows);
    checkRendering();
    for (TextObject* box : *mainWindow.m_data) {
        if (ChartRender::textLines(box->elem->toPlainText()) != box->elem->toPlainText().split(QRegularExpression(QStringLiteral("[\\r\\n]"))))
            bench::fail("line lists differ");
    }

    if (!bench::runRegistered(argc, argv))
        return EXIT_FAILURE;

    const auto whole = perCall.find("drawRightWidget");
    const auto shown = perCall.find("drawRightWidget+repaint");
    const auto grid = perCall.find("CharGrid::render");
    const auto gather = perCall.find("gather input");
    if (whole != perCall.end() && grid != perCall.end()) {
        std::printf("per call: drawRightWidget %.3f ms, CharGrid::render %.3f ms, grid share %.0f%%\n", whole->second, grid->second,
            100.0 * grid->second / whole->second);
        if (gather != perCall.end())
            std::printf("gathering the input: %.3f ms (%.0f%%)\n", gather->second, 100.0 * gather->second / whole->second);
        const auto lines = perCall.find("getTextForEachLine x all");
        if (lines != perCall.end())
            std::printf("of which the boxes' line lists: %.3f ms (%.0f%%)\n", lines->second, 100.0 * lines->second / whole->second);
        const auto crop = perCall.find("render+crop");
        const auto copy = perCall.find("Ctrl+C");
        if (crop != perCall.end() && copy != perCall.end())
            std::printf("compact copy: render+crop %.3f ms (%.3fx render alone), Ctrl+C %.3f ms (%.3fx render alone)\n", crop->second,
                crop->second / grid->second, copy->second, copy->second / grid->second);
        if (shown != perCall.end())
            std::printf(
                "with the view repainted: %.3f ms per call, grid share %.0f%% (frame budget 16 ms)\n", shown->second, 100.0 * grid->second / shown->second);
    }
    window = nullptr;
    return EXIT_SUCCESS;
}
