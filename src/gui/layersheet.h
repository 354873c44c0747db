#ifndef LAYERSHEET_H
#define LAYERSHEET_H

#include <QImage>
#include <QLine>
#include <QPen>
#include <QRect>

#include <vector>

class QPixmap;
class QRegion;

// The scratch sheet a partial repaint of the connector layer is painted on. A connector is a long run of
// short segments, and the painter's cost is per segment: so the pixels a pen covers for each short step
// are taken once from the painter itself and then set directly, which paints exactly what the painter
// would, since an opaque aliased pen covers the same pixels wherever a segment lies away from the edges.
class LayerSheet
{
public:
    // Starts a repaint of `area`: the sheet takes the layer's size and, within `area`, the layer's pixels
    // when `over`, or none.
    void begin(const QPixmap& layer, const QRect& area, bool over);
    // Paints the segments with the pen, as QPainter::drawLines would.
    void paint(const std::vector<QLine>& segments, const QPen& pen);
    // Puts the sheet's pixels within `region` onto the layer.
    void copyOnto(QPixmap& layer, const QRegion& region) const;

private:
    // The steps kept: up to `reach` pixels on each axis.
    static constexpr int reach = 8;
    static constexpr int steps = 2 * reach + 1;

    struct Span {
        int dy;
        int x0;
        int length;
    };
    // The pixels a segment covers, relative to its first end, by rows of spans.
    struct Stamp {
        bool made = false;
        QRect bounds;
        std::vector<Span> spans;
    };

    const Stamp& stamp(const QPoint& step);
    // Whether the pen's stamps can stand for its painting: opaque, solid, not cosmetic, at most 4 px wide.
    static bool stampable(const QPen& pen);

    QImage m_image;
    // The stamps of one pen shape, by step; renewed when another shape comes.
    std::vector<Stamp> m_stamps;
    QPen m_shape;
};

#endif // LAYERSHEET_H
