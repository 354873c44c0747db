// The transparent layer over the canvas on which connectors are painted.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QPainter>
#include <QPen>

#include <vector>

void MainWindow::initLableForDrawing()
{
    const QRect canvas = ui->drawWidget->rect();
    m_draw_lines = QPixmap(canvas.width(), canvas.height());
    m_draw_lines.fill(QColor(QStringLiteral("transparent")));
    ui->label_2->setGeometry(canvas);
    ui->label_2->setPixmap(m_draw_lines);
    ui->drawOutput->resize(ui->drawWidget->size());
}

void MainWindow::redrawAllLines()
{
    initLableForDrawing();
    QPainter painter(&m_draw_lines);
    const QColor highlight(65, 105, 225, 255);
    std::vector<QLine> segments;
    for (const Line& line : m_data_line) {
        painter.setPen(QPen(QBrush(line.isChecked ? highlight : QColor(Qt::black), Qt::SolidPattern),
            qreal(borderOfWIdgetsAndDrawings), Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
        // Each segment on its own, capped at both ends, not joined into one path.
        segments.clear();
        for (size_t i = 1; i < line.points.size(); ++i)
            segments.emplace_back(line.points[i - 1], line.points[i]);
        if (!segments.empty())
            painter.drawLines(segments.data(), static_cast<int>(segments.size()));
    }
    ui->label_2->setPixmap(m_draw_lines);
    painter.end();
}
