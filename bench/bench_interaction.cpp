// The canvas's hot paths, each against the plain way of doing the same work, in the same run:
// an idle hover tick, one sample of a connector being drawn, one step of a whole-chart drag.

#include "benchwindow.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCursor>
#include <QMetaObject>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTextDocument>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

MainWindow* window = nullptr;
QWidget* canvas = nullptr;

void invoke(const char* slot)
{
    if (!QMetaObject::invokeMethod(window, slot, Qt::DirectConnection))
        bench::fail(slot);
}

QRadioButton* mode(const char* name)
{
    auto* button = window->findChild<QRadioButton*>(QLatin1String(name));
    if (!button)
        bench::fail(name);
    return button;
}

void setMode(const char* name)
{
    for (const char* each : {"radioButton", "radioButton_2", "radioBMoveAll"})
        mode(each)->setChecked(false);
    if (name)
        mode(name)->setChecked(true);
}

QPoint onCanvas(const QPoint& canvasPoint)
{
    return canvas->mapTo(window, QPoint(0, 0)) + canvasPoint;
}

void send(QEvent::Type type, const QPoint& pos, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, pos, window->mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(window, &event);
}

// Times the loop body per iteration and keeps the figure for the summary.

void setChart(int boxes, int connectors, double margin)
{
    invoke("on_pushButton_4_clicked");
    bench::Lcg rng(20261206);
    bench::addBoxGrid(*window, boxes);
    for (int i = 0; i < connectors; ++i)
        window->m_data_line.push_back(bench::wanderingLine(canvas, i, 1000, rng, margin));
    invoke("redrawAllLines");
}

// The pointer rests on the first box in "Move / Remove".
void BM_HoverTick(benchmark::State& state)
{
    setChart(100, 50, 2.0);
    setMode("radioButton");
    QCursor::setPos(window->mapToGlobal(onCanvas(QPoint(52, 48))));
    window->checkMouseMove();
    if (!window->m_data->first()->isHighlighted())
        bench::fail("the resting pointer does not highlight the box");
    const bool plain = state.range(0) == 1;
    const QString style = window->m_data->first()->elem->styleSheet();
    bench::timed(state, plain ? "hover tick, every style and the layer" : "hover tick", [&] {
        window->checkMouseMove();
        if (plain) {
            // Every box restyled and the whole layer repainted, as each tick did before.
            for (TextObject* box : *window->m_data)
                box->elem->setStyleSheet(style);
            invoke("redrawAllLines");
        }
    });
    setMode(nullptr);
}
BENCHMARK(BM_HoverTick)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ConnectorSample(benchmark::State& state)
{
    setChart(0, 100, 2.0);
    setMode("radioButton_2");
    const QPoint start = onCanvas(QPoint(100, 400));
    send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    const bool plain = state.range(0) == 1;
    int step = 0;
    bench::timed(state, plain ? "connector sample, full repaint" : "connector sample", [&] {
        // Back and forth along a row, 6 px a sample, as a quick hand gives.
        const int phase = step++ % 200;
        const int x = phase < 100 ? phase * 6 : (200 - phase) * 6;
        send(QEvent::MouseMove, start + QPoint(x, (step / 200) % 300), Qt::NoButton, Qt::LeftButton);
        if (plain)
            invoke("redrawAllLines");
    });
    send(QEvent::MouseButtonRelease, start, Qt::LeftButton, Qt::NoButton);
    state.counters["points drawn"] = double(window->m_data_line.back().points.size());
    if (window->m_data_line.size() != 101 || window->m_data_line.back().points.size() < size_t(state.iterations()))
        bench::fail("the samples did not extend the connector");
    setMode(nullptr);
}
BENCHMARK(BM_ConnectorSample)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_MoveAllStep(benchmark::State& state)
{
    // Connectors kept clear of the edges, as a drawn chart is, so the layer can move as pixels.
    setChart(100, 100, 60.0);
    setMode("radioBMoveAll");
    const QPoint grab = onCanvas(QPoint(52, 48));
    send(QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, grab, Qt::NoButton, Qt::LeftButton);
    const bool plain = state.range(0) == 1;
    int step = 0;
    bench::timed(state, plain ? "move-all step, re-measured and repainted" : "move-all step", [&] {
        const int phase = step++ % 8;
        const QPoint offset(phase < 4 ? phase * 4 : (8 - phase) * 4, phase < 4 ? phase * 3 : (8 - phase) * 3);
        send(QEvent::MouseMove, grab + offset, Qt::NoButton, Qt::LeftButton);
        if (plain) {
            // Every box's text laid out again and the whole layer repainted, as each step did before.
            for (TextObject* box : *window->m_data) {
                box->elem->document()->markContentsDirty(0, box->elem->document()->characterCount());
                box->elem->document()->adjustSize();
            }
            invoke("redrawAllLines");
        }
    });
    send(QEvent::MouseButtonRelease, grab, Qt::LeftButton, Qt::NoButton);
    setMode(nullptr);
}
BENCHMARK(BM_MoveAllStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    MainWindow mainWindow(nullptr, QString());
    window = &mainWindow;
    bench::showAndSettle(mainWindow);
    canvas = bench::canvasOf(mainWindow);
    if (!bench::runRegistered(argc, argv))
        return EXIT_FAILURE;
    bench::printRatio("hover tick", "hover tick, every style and the layer");
    bench::printRatio("connector sample", "connector sample, full repaint");
    bench::printRatio("move-all step", "move-all step, re-measured and repainted");
    window = nullptr;
    return EXIT_SUCCESS;
}
