#include "layersheet.h"

#include <QPainter>
#include <QPixmap>
#include <QRegion>

#include <algorithm>
#include <cstdlib>

bool LayerSheet::stampable(const QPen& pen)
{
    return pen.style() == Qt::SolidLine && pen.brush().style() == Qt::SolidPattern && pen.color().alpha() == 255 && !pen.isCosmetic() && pen.widthF() > 0
        && pen.widthF() <= 4;
}

void LayerSheet::begin(const QPixmap& layer, const QRect& area, bool over)
{
    if (m_image.size() != layer.size())
        m_image = QImage(layer.size(), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&m_image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (over)
        painter.drawPixmap(area, layer, area);
    else
        painter.fillRect(area, Qt::transparent);
}

const LayerSheet::Stamp& LayerSheet::stamp(const QPoint& step)
{
    Stamp& kept = m_stamps[size_t(step.y() + reach) * steps + size_t(step.x() + reach)];
    if (kept.made)
        return kept;
    // The segment from the middle of a sheet wide enough for any kept step and pen, far from its edges.
    const int middle = 4 * reach;
    QImage sheet(2 * middle + 1, 2 * middle + 1, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::transparent);
    {
        QPainter painter(&sheet);
        painter.setPen(m_shape);
        const QLine segment(QPoint(middle, middle), QPoint(middle, middle) + step);
        painter.drawLines(&segment, 1);
    }
    for (int y = 0; y < sheet.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(sheet.constScanLine(y));
        for (int x = 0; x < sheet.width();) {
            if (!row[x]) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < sheet.width() && row[x])
                ++x;
            kept.spans.push_back({y - middle, start - middle, x - start});
            kept.bounds |= QRect(start - middle, y - middle, x - start, 1);
        }
    }
    kept.made = true;
    return kept;
}

void LayerSheet::paint(const std::vector<QLine>& segments, const QPen& pen)
{
    std::vector<QLine> painted;
    if (!stampable(pen)) {
        painted = segments;
    } else {
        if (m_stamps.empty() || pen.widthF() != m_shape.widthF() || pen.capStyle() != m_shape.capStyle() || pen.joinStyle() != m_shape.joinStyle()) {
            m_stamps.assign(size_t(steps) * steps, Stamp());
            m_shape = QPen(QBrush(Qt::black, Qt::SolidPattern), pen.widthF(), Qt::SolidLine, pen.capStyle(), pen.joinStyle());
        }
        const QRgb colour = qPremultiply(pen.color().rgba());
        // Within a few pixels of the edges the painter's clipping may move a pixel: segments there are its own.
        const QRect inner = m_image.rect().adjusted(reach, reach, -reach, -reach);
        uchar* const bits = m_image.bits();
        const qsizetype stride = m_image.bytesPerLine();
        for (const QLine& segment : segments) {
            const QPoint step = segment.p2() - segment.p1();
            if (std::abs(step.x()) > reach || std::abs(step.y()) > reach) {
                painted.push_back(segment);
                continue;
            }
            const Stamp& covered = stamp(step);
            if (!inner.contains(covered.bounds.translated(segment.p1()))) {
                painted.push_back(segment);
                continue;
            }
            for (const Span& span : covered.spans) {
                auto* row = reinterpret_cast<QRgb*>(bits + (segment.y1() + span.dy) * stride) + segment.x1() + span.x0;
                std::fill(row, row + span.length, colour);
            }
        }
    }
    if (painted.empty())
        return;
    QPainter painter(&m_image);
    painter.setPen(pen);
    painter.drawLines(painted.data(), int(painted.size()));
}

void LayerSheet::copyOnto(QPixmap& layer, const QRegion& region) const
{
    QPainter painter(&layer);
    painter.setClipRegion(region);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, m_image);
}
