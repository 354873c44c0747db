#ifndef LAYERTILES_H
#define LAYERTILES_H

#include <QLine>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <cstddef>
#include <optional>
#include <vector>

// The arithmetic of the layer connectors are painted on, over plain values: which square tiles of the
// layer a connector's pen reaches, which connectors changed between two states of the chart, and whether
// a change moved them all by one offset. Painting is the window's.
namespace LayerTiles {

// Pixels a segment's pen of this width may touch beyond its end points: half the square cap's diagonal
// plus half a pixel of sampling, which three quarters of the width rounded up covers.
int penReach(int width);

// The pixels a segment's pen of this width may touch.
QRect segmentReach(const QPoint& a, const QPoint& b, int width);

// The layer cut into square tiles of `side` pixels, the last row and column reaching past its edges; a
// partial repaint renews whole tiles.
class Tiles
{
public:
    static constexpr int side = 4;

    explicit Tiles(const QSize& layer);

    // Marks every tile a rectangle of layer pixels overlaps; what lies off the layer is ignored.
    void mark(const QRect& r);
    // Marks the tiles each segment of a path reaches with a pen of this width.
    void markPath(const std::vector<QPoint>& path, int width);
    int count() const { return m_count; }
    int total() const { return m_columns * m_rows; }
    // The pixels of all marked tiles together, as one rectangle.
    const QRect& bounds() const { return m_bounds; }
    // Whether a rectangle overlaps a marked tile.
    bool touches(const QRect& r) const;
    // Appends the segments of a path whose pen of this width reaches a marked tile, in order.
    void reachedSegments(const std::vector<QPoint>& path, int width, std::vector<QLine>& segments) const;
    // The marked tiles, each row's runs of neighbours as one rectangle, rows top down.
    std::vector<QRect> runs() const;

private:
    // The tile range a rectangle overlaps; false when it misses the layer.
    bool span(const QRect& r, int& x0, int& y0, int& x1, int& y1) const;
    // Counts of marked tiles left of each tile in its row, so that touches() takes two looks a row.
    void sum() const;

    int m_columns;
    int m_rows;
    std::vector<char> m_on;
    mutable std::vector<int> m_sums;
    mutable bool m_summed = false;
    int m_count = 0;
    QRect m_bounds;
};

// A connector as the layer paints it: its points and whether it is lit.
struct Stroke {
    const std::vector<QPoint>* points = nullptr;
    bool lit = false;
};

// The one offset by which every connector moved from `before` to `now`, taken from the first one that has
// points; (0, 0) when none has any. None when the counts, the points' counts or the lights differ, or some
// point moved otherwise.
std::optional<QPoint> uniformShift(const std::vector<Stroke>& before, const std::vector<Stroke>& now);

// The points before and now of each connector, by index, whose points or light differ between the
// states; a connector only in one state gives its points there.
std::vector<const std::vector<QPoint>*> changedPaths(const std::vector<Stroke>& before, const std::vector<Stroke>& now);

// Pens are opaque, so a pixel shows the last connector over it. When every path to repaint is a
// connector's own (by address), those before the first of them keep their pixels: the index painting
// may start from over the layer as it is: 0 when some path is no connector's, the connectors' count when
// there are no paths.
size_t firstRepainted(const std::vector<Stroke>& connectors, const std::vector<const std::vector<QPoint>*>& paths);

// The pixels a pen of this width may touch around the connectors' points, with a pixel to spare; empty
// when there are no points.
QRect paintedBounds(const std::vector<Stroke>& connectors, int width);

} // namespace LayerTiles

#endif // LAYERTILES_H
