#include "layertiles.h"

#include <algorithm>

namespace LayerTiles {

int penReach(int width)
{
    return (3 * width + 3) / 4;
}

QRect segmentReach(const QPoint& a, const QPoint& b, int width)
{
    const int reach = penReach(width);
    return QRect(
        QPoint(std::min(a.x(), b.x()) - reach, std::min(a.y(), b.y()) - reach), QPoint(std::max(a.x(), b.x()) + reach, std::max(a.y(), b.y()) + reach));
}

Tiles::Tiles(const QSize& layer)
    : m_columns(std::max(0, (layer.width() + side - 1) / side))
    , m_rows(std::max(0, (layer.height() + side - 1) / side))
    , m_on(size_t(m_columns) * size_t(m_rows), 0)
{ }

bool Tiles::span(const QRect& r, int& x0, int& y0, int& x1, int& y1) const
{
    x0 = std::max(0, r.left() / side);
    y0 = std::max(0, r.top() / side);
    x1 = std::min(m_columns - 1, r.right() / side);
    y1 = std::min(m_rows - 1, r.bottom() / side);
    return r.right() >= 0 && r.bottom() >= 0 && x0 <= x1 && y0 <= y1;
}

void Tiles::mark(const QRect& r)
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
    m_summed = false;
}

void Tiles::markPath(const std::vector<QPoint>& path, int width)
{
    for (size_t i = 1; i < path.size(); ++i)
        mark(segmentReach(path[i - 1], path[i], width));
}

void Tiles::sum() const
{
    const size_t stride = size_t(m_columns) + 1;
    m_sums.resize(stride * size_t(m_rows));
    for (size_t y = 0; y < size_t(m_rows); ++y) {
        m_sums[y * stride] = 0;
        for (size_t x = 0; x < size_t(m_columns); ++x)
            m_sums[y * stride + x + 1] = m_sums[y * stride + x] + m_on[y * size_t(m_columns) + x];
    }
    m_summed = true;
}

bool Tiles::touches(const QRect& r) const
{
    int x0, y0, x1, y1;
    if (!span(r, x0, y0, x1, y1))
        return false;
    if (!m_summed)
        sum();
    const size_t stride = size_t(m_columns) + 1;
    for (size_t y = size_t(y0); y <= size_t(y1); ++y)
        if (m_sums[y * stride + size_t(x1) + 1] != m_sums[y * stride + size_t(x0)])
            return true;
    return false;
}

void Tiles::reachedSegments(const std::vector<QPoint>& path, int width, std::vector<QLine>& segments) const
{
    // Segments wholly away from the marked tiles' bounds are passed over without a tile lookup.
    const int reach = penReach(width);
    const QRect near = m_bounds.adjusted(-reach, -reach, reach, reach);
    for (size_t i = 1; i < path.size(); ++i) {
        const QPoint& a = path[i - 1];
        const QPoint& b = path[i];
        if ((a.x() < near.left() && b.x() < near.left()) || (a.x() > near.right() && b.x() > near.right()) || (a.y() < near.top() && b.y() < near.top())
            || (a.y() > near.bottom() && b.y() > near.bottom()))
            continue;
        if (touches(segmentReach(a, b, width)))
            segments.emplace_back(a, b);
    }
}

std::vector<QRect> Tiles::runs() const
{
    std::vector<QRect> rects;
    for (int y = 0; y < m_rows; ++y)
        for (int x = 0; x < m_columns;) {
            if (!m_on[size_t(y) * size_t(m_columns) + size_t(x)]) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < m_columns && m_on[size_t(y) * size_t(m_columns) + size_t(x)])
                ++x;
            rects.emplace_back(start * side, y * side, (x - start) * side, side);
        }
    return rects;
}

std::optional<QPoint> uniformShift(const std::vector<Stroke>& before, const std::vector<Stroke>& now)
{
    if (before.size() != now.size())
        return std::nullopt;
    bool anchored = false;
    QPoint offset;
    for (size_t i = 0; i < now.size(); ++i) {
        const std::vector<QPoint>& a = *before[i].points;
        const std::vector<QPoint>& b = *now[i].points;
        if (a.size() != b.size() || before[i].lit != now[i].lit)
            return std::nullopt;
        if (!a.empty() && !anchored) {
            offset = b.front() - a.front();
            anchored = true;
        }
        for (size_t p = 0; p < a.size(); ++p)
            if (b[p] - a[p] != offset)
                return std::nullopt;
    }
    return offset;
}

std::vector<const std::vector<QPoint>*> changedPaths(const std::vector<Stroke>& before, const std::vector<Stroke>& now)
{
    std::vector<const std::vector<QPoint>*> paths;
    for (size_t i = 0; i < std::max(before.size(), now.size()); ++i) {
        const bool old = i < before.size();
        const bool current = i < now.size();
        if (old && current && before[i].lit == now[i].lit && *before[i].points == *now[i].points)
            continue;
        if (old)
            paths.push_back(before[i].points);
        if (current)
            paths.push_back(now[i].points);
    }
    return paths;
}

size_t firstRepainted(const std::vector<Stroke>& connectors, const std::vector<const std::vector<QPoint>*>& paths)
{
    size_t from = connectors.size();
    for (const std::vector<QPoint>* path : paths) {
        size_t own = 0;
        while (own < connectors.size() && connectors[own].points != path)
            ++own;
        if (own == connectors.size())
            return 0;
        from = std::min(from, own);
    }
    return from;
}

QRect paintedBounds(const std::vector<Stroke>& connectors, int width)
{
    const int reach = width + 1;
    QRect painted;
    for (const Stroke& connector : connectors)
        for (const QPoint& p : *connector.points)
            painted |= QRect(p.x() - reach, p.y() - reach, 2 * reach + 1, 2 * reach + 1);
    return painted;
}

} // namespace LayerTiles
