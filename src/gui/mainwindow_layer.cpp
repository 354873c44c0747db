// The transparent layer over the canvas on which connectors are painted.
#include "highlight.h"
#include "layertiles.h"
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QPainter>
#include <QPen>
#include <QRegion>

#include <algorithm>
#include <vector>

namespace {

QPen connectorPen(bool highlighted, int width)
{
    const QColor colour = highlighted ? QColor(highlightColour) : QColor(Qt::black);
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

// The connectors as the layer's arithmetic takes them.
std::vector<LayerTiles::Stroke> strokesOf(const std::vector<Line>& lines)
{
    std::vector<LayerTiles::Stroke> strokes;
    strokes.reserve(lines.size());
    for (const Line& line : lines)
        strokes.push_back({&line.points, line.isChecked});
    return strokes;
}

} // namespace

void MainWindow::repaintLayerAround(const std::vector<const std::vector<QPoint>*>& paths)
{
    if (m_draw_lines.isNull() || m_draw_lines.size() != ui->drawWidget->size()) {
        redrawAllLines();
        return;
    }
    LayerTiles::Tiles tiles(m_draw_lines.size());
    for (const std::vector<QPoint>* path : paths)
        tiles.markPath(*path, borderOfWIdgetsAndDrawings);
    if (tiles.count() == 0)
        return;
    // Past half the layer a whole repaint costs no more.
    if (2 * tiles.count() > tiles.total()) {
        redrawAllLines();
        return;
    }
    // Connectors before `from` keep their pixels: painting starts there, over the layer as it is.
    const size_t from = LayerTiles::firstRepainted(strokesOf(m_data_line), paths);
    // Every segment reaching a marked tile is painted in list order on the sheet, unclipped as in a
    // whole repaint; then only the marked tiles are copied onto the layer.
    m_layerSheet.begin(m_draw_lines, tiles.bounds(), from > 0);
    std::vector<QLine> segments;
    for (size_t index = from; index < m_data_line.size(); ++index) {
        const Line& line = m_data_line[index];
        segments.clear();
        tiles.reachedSegments(line.points, borderOfWIdgetsAndDrawings, segments);
        if (!segments.empty())
            m_layerSheet.paint(segments, connectorPen(line.isChecked, borderOfWIdgetsAndDrawings));
    }
    const std::vector<QRect> runs = tiles.runs();
    QRegion region;
    region.setRects(runs.data(), int(runs.size()));
    ui->label_2->setPixmap(QPixmap());
    m_layerSheet.copyOnto(m_draw_lines, region);
    ui->label_2->setPixmap(m_draw_lines);
}

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
    const QRect painted = LayerTiles::paintedBounds(strokesOf(m_data_line), borderOfWIdgetsAndDrawings);
    if (painted.isNull() && !m_draw_lines.isNull())
        return;
    const QRect layer(QPoint(0, 0), m_draw_lines.size());
    // Only a drawing that lies wholly on the layer before and after is moved as pixels;
    // anything else is repainted, so clipped parts come back when they return.
    const bool exact =
        !m_draw_lines.isNull() && m_draw_lines.size() == ui->drawWidget->size() && layer.contains(painted) && layer.contains(painted.translated(-offset));
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

void MainWindow::repaintChangedConnectors(const std::vector<Line>& before)
{
    const std::vector<LayerTiles::Stroke> was = strokesOf(before);
    const std::vector<LayerTiles::Stroke> now = strokesOf(m_data_line);
    // A whole-chart move shifts every connector by one offset: the painted pixels move along.
    if (const std::optional<QPoint> offset = LayerTiles::uniformShift(was, now)) {
        if (!offset->isNull())
            shiftLayer(*offset);
        return;
    }
    repaintLayerAround(LayerTiles::changedPaths(was, now));
}
