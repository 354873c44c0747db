#include "windowfit.h"

namespace WindowFit {

Placement place(const QSize& wanted, const QRect& available, const QMargins& frame)
{
    const QSize room = available.marginsRemoved(frame).size();
    Placement placement;
    placement.size = wanted;
    if (wanted.width() <= room.width() && wanted.height() <= room.height())
        return placement;
    placement.scroll = true;
    placement.framePosition = available.topLeft();
    placement.size = wanted.boundedTo(room).expandedTo(QSize(1, 1));
    return placement;
}

} // namespace WindowFit
