// The transparent layer over the canvas on which connectors are painted.
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

// The layer cut into square tiles; a partial repaint renews whole tiles.
class Tiles
{
public:
    static constexpr int side = 4;

    explicit Tiles(const QSize& layer)
        : m_columns((layer.width() + side - 1) / side), m_rows((layer.height() + side - 1) / side),
          m_on(size_t(m_columns) * size_t(m_rows), 0)
    {
    }

    int count() const { return m_count; }
    // The pixels of all marked tiles together, as one rectangle.
    const QRect& bounds() const { return m_bounds; }
    int total() const { return m_columns * m_rows; }

    void mark(const QRect& r)
    {
        int x0, y0, x1, y1;
        if (!span(r, x0, y0, x1, y1))
            return;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                char& on = m_on[size_t(y) * size_t(m_columns) + size_t(x)];
                m_count += !on;
                on = 1;
            }
        m_bounds |= QRect(x0 * side, y0 * side, (x1 - x0 + 1) * side, (y1 - y0 + 1) * side);
    }

    // Counts of marked tiles left of each tile in its row, so that touches() takes two looks a row.
    void sum()
    {
        const size_t stride = size_t(m_columns) + 1;
        m_sums.resize(stride * size_t(m_rows));
        for (size_t y = 0; y < size_t(m_rows); ++y) {
            m_sums[y * stride] = 0;
            for (size_t x = 0; x < size_t(m_columns); ++x)
                m_sums[y * stride + x + 1] = quint16(m_sums[y * stride + x] + m_on[y * size_t(m_columns) + x]);
        }
    }

    // Whether a rectangle overlaps a marked tile; sum() must have run since the last mark().
    bool touches(const QRect& r) const
    {
        int x0, y0, x1, y1;
        if (!span(r, x0, y0, x1, y1))
            return false;
        const size_t stride = size_t(m_columns) + 1;
        for (size_t y = size_t(y0); y <= size_t(y1); ++y)
            if (m_sums[y * stride + size_t(x1) + 1] != m_sums[y * stride + size_t(x0)])
                return true;
        return false;
    }

    // The marked tiles, each row's runs as one rectangle.
    QRegion region() const
    {
        QVector<QRect> rects;
        for (int y = 0; y < m_rows; ++y)
            for (int x = 0; x < m_columns;) {
                if (!m_on[size_t(y) * size_t(m_columns) + size_t(x)]) {
                    ++x;
                    continue;
                }
                const int start = x;
                while (x < m_columns && m_on[size_t(y) * size_t(m_columns) + size_t(x)])
                    ++x;
                rects.append(QRect(start * side, y * side, (x - start) * side, side));
            }
        QRegion result;
        result.setRects(rects.constData(), rects.size());
        return result;
    }

private:
    // The tile range a rectangle overlaps; false when it misses the layer.
    bool span(const QRect& r, int& x0, int& y0, int& x1, int& y1) const
    {
        x0 = std::max(0, r.left() / side);
        y0 = std::max(0, r.top() / side);
        x1 = std::min(m_columns - 1, r.right() / side);
        y1 = std::min(m_rows - 1, r.bottom() / side);
        return r.right() >= 0 && r.bottom() >= 0 && x0 <= x1 && y0 <= y1;
    }

    int m_columns;
    int m_rows;
    std::vector<char> m_on;
    std::vector<quint16> m_sums;
    int m_count = 0;
    QRect m_bounds;
};

// Pixels a segment's pen may touch: its end points' box widened by half the square cap's diagonal
// plus half a pixel of sampling, which three quarters of the width rounded up covers.
int penReach(int width)
{
    return (3 * width + 3) / 4;
}

QRect segmentReach(const QPoint& a, const QPoint& b, int width)
{
    const int reach = penReach(width);
    return QRect(QPoint(std::min(a.x(), b.x()) - reach, std::min(a.y(), b.y()) - reach),
        QPoint(std::max(a.x(), b.x()) + reach, std::max(a.y(), b.y()) + reach));
}

} // namespace

void MainWindow::repaintLayerAround(const std::vector<const std::vector<QPoint>*>& paths)
{
    if (m_draw_lines.isNull() || m_draw_lines.size() != ui->drawWidget->size()) {
        redrawAllLines();
        return;
    }
    Tiles tiles(m_draw_lines.size());
    for (const std::vector<QPoint>* path : paths)
        for (size_t i = 1; i < path->size(); ++i)
            tiles.mark(segmentReach((*path)[i - 1], (*path)[i], borderOfWIdgetsAndDrawings));
    if (tiles.count() == 0)
        return;
    tiles.sum();
    // Past half the layer a whole repaint costs no more.
    if (2 * tiles.count() > tiles.total()) {
        redrawAllLines();
        return;
    }
    // Pens are opaque and aliased, so a pixel shows the last connector over it. When every path is
    // a listed connector's own (one just drawn or recoloured, its pixels unmoved), the connectors
    // before the first of them keep their pixels: painting starts there, over the layer as it is.
    size_t from = m_data_line.size();
    for (const std::vector<QPoint>* path : paths) {
        size_t own = 0;
        while (own < m_data_line.size() && &m_data_line[own].points != path)
            ++own;
        from = std::min(from, own);
        if (own == m_data_line.size()) {
            from = 0;
            break;
        }
    }
    const bool over = from > 0;
    // Every segment reaching a marked tile is painted in list order on the sheet, unclipped as
    // in a whole repaint; then only the marked tiles are copied onto the layer.
    if (m_layerSheet.size() != m_draw_lines.size())
        m_layerSheet = QPixmap(m_draw_lines.size());
    QPixmap& sheet = m_layerSheet;
    {
        QPainter painter(&sheet);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        if (over)
            painter.drawPixmap(tiles.bounds(), m_draw_lines, tiles.bounds());
        else
            painter.fillRect(tiles.bounds(), Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        std::vector<QLine> segments;
        // Segments wholly away from the marked tiles' bounds are passed over without a tile lookup.
        const int reach = penReach(borderOfWIdgetsAndDrawings);
        const QRect near = tiles.bounds().adjusted(-reach, -reach, reach, reach);
        for (size_t index = over ? from : 0; index < m_data_line.size(); ++index) {
            const Line& line = m_data_line[index];
            segments.clear();
            for (size_t i = 1; i < line.points.size(); ++i) {
                const QPoint& a = line.points[i - 1];
                const QPoint& b = line.points[i];
                if ((a.x() < near.left() && b.x() < near.left()) || (a.x() > near.right() && b.x() > near.right())
                    || (a.y() < near.top() && b.y() < near.top()) || (a.y() > near.bottom() && b.y() > near.bottom()))
                    continue;
                if (tiles.touches(segmentReach(a, b, borderOfWIdgetsAndDrawings)))
                    segments.emplace_back(a, b);
            }
            if (segments.empty())
                continue;
            painter.setPen(connectorPen(line.isChecked, borderOfWIdgetsAndDrawings));
            painter.drawLines(segments.data(), static_cast<int>(segments.size()));
        }
    }
    ui->label_2->setPixmap(QPixmap());
    {
        QPainter painter(&m_draw_lines);
        painter.setClipRegion(tiles.region());
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawPixmap(0, 0, sheet);
    }
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

void MainWindow::repaintChangedConnectors(const std::vector<Line>& before)
{
    const std::vector<Line>& now = m_data_line;
    // A whole-chart move shifts every connector by one offset: the painted pixels move along.
    if (before.size() == now.size()) {
        bool shifted = true;
        bool anchored = false;
        QPoint offset;
        for (size_t i = 0; i < now.size() && shifted; ++i) {
            const std::vector<QPoint>& a = before[i].points;
            const std::vector<QPoint>& b = now[i].points;
            shifted = a.size() == b.size() && before[i].isChecked == now[i].isChecked;
            if (shifted && !a.empty() && !anchored) {
                offset = b.front() - a.front();
                anchored = true;
            }
            for (size_t p = 0; p < a.size() && shifted; ++p)
                shifted = b[p] - a[p] == offset;
        }
        if (shifted) {
            if (!offset.isNull())
                shiftLayer(offset);
            return;
        }
    }
    std::vector<const std::vector<QPoint>*> paths;
    for (size_t i = 0; i < std::max(before.size(), now.size()); ++i) {
        const bool old = i < before.size();
        const bool current = i < now.size();
        if (old && current && before[i].isChecked == now[i].isChecked && before[i].points == now[i].points)
            continue;
        if (old)
            paths.push_back(&before[i].points);
        if (current)
            paths.push_back(&now[i].points);
    }
    repaintLayerAround(paths);
}
