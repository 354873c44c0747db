// One drag step of a box in "Move / Remove" that takes ten connectors of 1,000 points along (freehand or
// in straight runs), against the same step with Shift held (the box alone, as every step was before
// connectors followed); on the big chart, the step of a box that holds no connector against the
// same box moved alone; and the ten freehand connectors painted by the layer's sheet against the painter
// drawing each segment, as partial repaints did before.

#include "benchwindow.h"
#include "layersheet.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>

#include <cmath>
#include <cstdio>
#include <cstdlib>

class BenchAccess
{
public:
    static size_t held(const MainWindow& w) { return w.m_holding.ends.size(); }
};

namespace {

MainWindow* window = nullptr;
QWidget* canvas = nullptr;

void invoke(const char* slot)
{
    if (!QMetaObject::invokeMethod(window, slot, Qt::DirectConnection))
        bench::fail(slot);
}

void moveRemoveOnly()
{
    for (const char* name : {"radioButton", "radioButton_2", "radioBMoveAll"}) {
        auto* button = window->findChild<QRadioButton*>(QLatin1String(name));
        if (!button)
            bench::fail(name);
        button->setChecked(QLatin1String(name) == QLatin1String("radioButton"));
    }
}

QPoint onCanvas(const QPoint& canvasPoint)
{
    return canvas->mapTo(window, QPoint(0, 0)) + canvasPoint;
}

void send(QEvent::Type type, const QPoint& pos, Qt::MouseButton button, Qt::MouseButtons held, Qt::KeyboardModifiers keys = {})
{
    QMouseEvent event(type, pos, window->mapToGlobal(pos), button, held, keys);
    QApplication::sendEvent(window, &event);
}

// A freehand connector of exactly `count` points from `start`, wandering over the middle of the canvas.
Line wanderingFrom(const QPoint& start, int index, size_t count, bench::Lcg& rng)
{
    Line line(canvas, 4, index, false);
    double x = start.x();
    double y = start.y();
    double heading = rng.next() * 6.283185307179586;
    line.addPoints(start);
    while (line.points.size() < count) {
        heading += (rng.next() - 0.5) * 1.2;
        x = std::fmin(740.0, std::fmax(60.0, x + 6.0 * std::cos(heading)));
        y = std::fmin(740.0, std::fmax(60.0, y + 6.0 * std::sin(heading)));
        line.addPoints(QPoint(int(x), int(y)));
    }
    line.points.resize(count);
    line.points_proc_from_window.resize(count);
    return line;
}

// A connector of exactly `count` points in horizontal and vertical runs from `start`, zigzagging away
// from the box to the side `away` points to.
Line zigzagFrom(const QPoint& start, const QPoint& away, int index, size_t count)
{
    ConnectorAttach::Path path;
    ConnectorAttach::appendFilled(path, start, canvas->size());
    for (int run = 0; path.points.size() < count; ++run) {
        const QPoint last = path.points.back();
        const QPoint turn = run % 2 ? QPoint(away.y(), away.x()) * (run % 4 == 1 ? 60 : -60) : away * 40;
        ConnectorAttach::appendFilled(path, last + turn, canvas->size());
    }
    Line line(canvas, 4, index, true);
    line.points.assign(path.points.begin(), path.points.begin() + std::ptrdiff_t(count));
    line.points_proc_from_window.assign(path.fractions.begin(), path.fractions.begin() + std::ptrdiff_t(count));
    return line;
}

// Presses on the box at `grab`, with Shift when `alone`, and fails unless it holds `expected` connectors.
void grabHolding(const QPoint& grab, bool alone, size_t expected)
{
    send(QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton, alone ? Qt::ShiftModifier : Qt::NoModifier);
    if (BenchAccess::held(*window) != (alone ? 0 : expected))
        bench::fail("the grabbed box does not hold the connectors expected");
}

// Drag steps back and forth by up to 16 px right and 12 px down.
void dragSteps(benchmark::State& state, const char* key, const QPoint& grab)
{
    int step = 0;
    bench::timed(state, key, [&] {
        const int phase = step++ % 8;
        const QPoint offset(phase < 4 ? phase * 4 : (8 - phase) * 4, phase < 4 ? phase * 3 : (8 - phase) * 3);
        send(QEvent::MouseMove, grab + offset, Qt::NoButton, Qt::LeftButton);
    });
    send(QEvent::MouseButtonRelease, grab, Qt::LeftButton, Qt::NoButton);
}

// A box in the middle with ten connectors starting around it, a cell off its four sides: freehand, or
// in straight runs (argument 2).
void BM_HeldDragStep(benchmark::State& state)
{
    const bool straight = state.range(0) == 2;
    invoke("on_pushButton_4_clicked");
    const QRect box = bench::addBox(*window, QPoint(380, 380), QStringLiteral("hub"))->currentWantedRect;
    bench::Lcg rng(20261209);
    for (int i = 0; i < 10; ++i) {
        const int along = (i / 4) * 4;
        const QPoint starts[4] = {QPoint(box.right() + 6, box.top() + along), QPoint(box.left() - 10, box.top() + along),
            QPoint(box.left() + 6 + along, box.top() - 12), QPoint(box.left() + 6 + along, box.bottom() + 6)};
        const QPoint away[4] = {QPoint(1, 0), QPoint(-1, 0), QPoint(0, -1), QPoint(0, 1)};
        window->m_data_line.push_back(straight ? zigzagFrom(starts[i % 4], away[i % 4], i, 1000) : wanderingFrom(starts[i % 4], i, 1000, rng));
    }
    invoke("redrawAllLines");
    moveRemoveOnly();
    const bool alone = state.range(0) == 1;
    const QPoint grab = onCanvas(box.center());
    grabHolding(grab, alone, 10);
    dragSteps(state, alone ? "box alone, Shift" : straight ? "box with 10 straight ones" : "box with 10 held connectors", grab);
}
BENCHMARK(BM_HeldDragStep)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// 100 boxes and 100 connectors of 1,000 points.
void BM_BigChartStep(benchmark::State& state)
{
    invoke("on_pushButton_4_clicked");
    bench::Lcg rng(20261206);
    bench::addBoxGrid(*window, 100);
    for (int i = 0; i < 100; ++i)
        window->m_data_line.push_back(wanderingFrom(QPoint(300 + i, 300 + i), i, 1000, rng));
    invoke("redrawAllLines");
    moveRemoveOnly();
    // The first box that no connector end touches.
    QPoint grab;
    for (const TextObject* box : *window->m_data) {
        grab = onCanvas(box->currentWantedRect.center());
        send(QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton);
        const size_t held = BenchAccess::held(*window);
        send(QEvent::MouseButtonRelease, grab, Qt::LeftButton, Qt::NoButton);
        if (held == 0)
            break;
    }
    const bool alone = state.range(0) == 1;
    grabHolding(grab, alone, 0);
    dragSteps(state, alone ? "big chart, box alone" : "big chart, box holding none", grab);
}
BENCHMARK(BM_BigChartStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The ten freehand connectors' segments on a sheet of the layer's size, by the sheet (argument 0) or by the
// painter; the run fails unless both paint the same pixels.
void BM_SegmentPaint(benchmark::State& state)
{
    bench::Lcg rng(20261209);
    std::vector<QLine> segments;
    for (int i = 0; i < 10; ++i) {
        const Line line = wanderingFrom(QPoint(300 + 10 * i, 380), i, 1000, rng);
        for (size_t p = 1; p < line.points.size(); ++p)
            segments.emplace_back(line.points[p - 1], line.points[p]);
    }
    const QPen pen(QBrush(Qt::black, Qt::SolidPattern), 2.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    QPixmap layer(canvas->size());
    layer.fill(Qt::transparent);
    LayerSheet sheet;
    QImage image(canvas->size(), QImage::Format_ARGB32_Premultiplied);
    const auto bySheet = [&] {
        sheet.begin(layer, layer.rect(), false);
        sheet.paint(segments, pen);
    };
    const auto byPainter = [&] {
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setPen(pen);
        painter.drawLines(segments.data(), int(segments.size()));
    };
    bySheet();
    byPainter();
    sheet.copyOnto(layer, QRegion(layer.rect()));
    if (layer.toImage() != image)
        bench::fail("the sheet and the painter paint different pixels");
    if (state.range(0) == 0)
        bench::timed(state, "ten connectors by the sheet", bySheet);
    else
        bench::timed(state, "ten connectors by the painter", byPainter);
}
BENCHMARK(BM_SegmentPaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

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
    bench::printRatio("box with 10 held connectors", "box alone, Shift");
    bench::printRatio("box with 10 straight ones", "box alone, Shift");
    bench::printRatio("big chart, box holding none", "big chart, box alone");
    bench::printRatio("ten connectors by the sheet", "ten connectors by the painter");
    window = nullptr;
    return EXIT_SUCCESS;
}
