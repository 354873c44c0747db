// The transparent layer over the canvas on which connectors are painted.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <vector>

namespace {

QPen connectorPen(bool highlighted, int width)
{
    const QColor colour = highlighted ? QColor(65, 105, 225, 255) : QColor(Qt::black);
    return QPen(QBrush(colour, Qt::SolidPattern), qreal(width), Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

// Each segment on its own, capped at both ends, not joined into one path.
void paintSegments(QPainter& painter, const Line& line, size_t from, std::vector<QLine>& segments)
{
    segments.clear();
    for (size_t i = std::max<size_t>(from, 1); i < line.points.size(); ++i)
        segments.emplace_back(line.points[i - 1], line.points[i]);
    if (!segments.empty())
        painter.drawLines(segments.data(), static_cast<int>(segments.size()));
}

} // namespace

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
    std::vector<QLine> segments;
    for (const Line& line : m_data_line) {
        painter.setPen(connectorPen(line.isChecked, borderOfWIdgetsAndDrawings));
        paintSegments(painter, line, 1, segments);
    }
    ui->label_2->setPixmap(m_draw_lines);
    painter.end();
}

void MainWindow::paintNewSegments(const Line& line, size_t from)
{
    if (m_draw_lines.isNull()) {
        redrawAllLines();
        return;
    }
    if (from >= line.points.size())
        return;
    // The label lets go of its copy first, so painting does not copy the whole layer.
    ui->label_2->setPixmap(QPixmap());
    {
        QPainter painter(&m_draw_lines);
        painter.setPen(connectorPen(line.isChecked, borderOfWIdgetsAndDrawings));
        std::vector<QLine> segments;
        paintSegments(painter, line, from, segments);
    }
    ui->label_2->setPixmap(m_draw_lines);
}

void MainWindow::shiftLayer(const QPoint& offset)
{
    if (offset.isNull() && !m_draw_lines.isNull())
        return;
    // Pixels a pen of this width may touch around a point, with a pixel to spare.
    const int reach = borderOfWIdgetsAndDrawings + 1;
    QRect painted;
    for (const Line& line : m_data_line) {
        for (const QPoint& p : line.points)
            painted |= QRect(p.x() - reach, p.y() - reach, 2 * reach + 1, 2 * reach + 1);
    }
    if (painted.isNull() && !m_draw_lines.isNull())
        return;
    const QRect layer(QPoint(0, 0), m_draw_lines.size());
    // Only a drawing that lies wholly on the layer before and after is moved as pixels;
    // anything else is repainted, so clipped parts come back when they return.
    const bool exact = !m_draw_lines.isNull() && m_draw_lines.size() == ui->drawWidget->size()
        && layer.contains(painted) && layer.contains(painted.translated(-offset));
    if (!exact) {
        redrawAllLines();
        return;
    }
    QPixmap shifted(m_draw_lines.size());
    shifted.fill(Qt::transparent);
    {
        QPainter painter(&shifted);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawPixmap(offset, m_draw_lines);
    }
    m_draw_lines = shifted;
    ui->label_2->setPixmap(m_draw_lines);
}
