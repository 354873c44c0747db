#ifndef BENCHWINDOW_H
#define BENCHWINDOW_H

// Shared set-up of the benchmarks that drive a real main window.

#include "benchcommon.h"
#include "line.h"
#include "mainwindow.h"
#include "textobject.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPixmap>
#include <QString>
#include <QTextEdit>
#include <QWidget>
#include <QWindow>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace bench {

[[noreturn]] inline void fail(const char* what)
{
    std::fprintf(stderr, "benchmark set-up failed: %s\n", what);
    std::exit(EXIT_FAILURE);
}

inline QWidget* canvasOf(MainWindow& window)
{
    auto* canvas = window.findChild<QWidget*>(QStringLiteral("drawWidget"));
    if (!canvas)
        fail("no drawWidget");
    return canvas;
}

// Shows the window and runs the event loop until it is exposed and its connector layer is laid.
inline void showAndSettle(MainWindow& window)
{
    window.show();
    const auto* layer = window.findChild<QLabel*>(QStringLiteral("label_2"));
    QElapsedTimer guard;
    guard.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed() && layer && !layer->pixmap(Qt::ReturnByValue).isNull())) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        if (guard.elapsed() > 10000)
            fail("window never became ready");
    }
    QApplication::processEvents();
    const QWidget* canvas = canvasOf(window);
    if (canvas->width() != 801 || canvas->height() != 801)
        fail("canvas is not 801 x 801");
}

// A box created the way the window creates one, appended to its list.
inline TextObject* addBox(MainWindow& window, const QPoint& at, const QString& text)
{
    auto* box = new TextObject(nullptr, canvasOf(window), window.m_data->size(), at, window.m_data, QPoint(24, 16), QPoint(10, 6), 2);
    window.m_data->append(box);
    box->elem->setPlainText(text);
    return box;
}

// `count` boxes in rows of ten, 72 px apart, each labelled with its number.
inline void addBoxGrid(MainWindow& window, int count)
{
    for (int i = 0; i < count; ++i)
        addBox(window, QPoint(40 + (i % 10) * 72, 40 + (i / 10) * 72), QStringLiteral("box %1").arg(i));
}

// A freehand connector wandering over the canvas, `margin` pixels from its edges, cut to exactly
// `count` points.
inline Line wanderingLine(QWidget* canvas, int index, size_t count, Lcg& rng, double margin = 2.0)
{
    Line line(canvas, 4, index, false);
    const double low = margin;
    const double high = 800.0 - margin;
    double x = low + rng.next() * (high - low);
    double y = low + rng.next() * (high - low);
    double heading = rng.next() * 6.283185307179586;
    line.addPoints(QPoint(int(x), int(y)));
    while (line.points.size() < count) {
        // Samples about 6 px apart, as a quick mouse gives; the gaps are filled in by the line.
        heading += (rng.next() - 0.5) * 1.2;
        x += 6.0 * std::cos(heading);
        y += 6.0 * std::sin(heading);
        if (x < low || x > high) {
            heading = 3.141592653589793 - heading;
            x = std::fmin(high, std::fmax(low, x));
        }
        if (y < low || y > high) {
            heading = -heading;
            y = std::fmin(high, std::fmax(low, y));
        }
        line.addPoints(QPoint(int(x), int(y)));
    }
    line.points.resize(count);
    line.points_proc_from_window.resize(count);
    return line;
}

inline size_t totalPoints(const MainWindow& window)
{
    size_t total = 0;
    for (const Line& line : window.m_data_line)
        total += line.points.size();
    return total;
}

} // namespace bench

#endif // BENCHWINDOW_H
