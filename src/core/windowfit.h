#ifndef WINDOWFIT_H
#define WINDOWFIT_H

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

// How a window of a fixed content size goes on a screen that may be too small for it.
namespace WindowFit {

struct Placement {
    // The content does not fit: the window takes `size` and its content scrolls.
    bool scroll = false;
    // Where the outer corner of the window frame goes, when it scrolls.
    QPoint framePosition;
    // The window's size without its frame.
    QSize size;
};

// The window whole when it fits the screen's available area with the frame the window manager adds;
// else as large as fits, its frame at the area's top-left, so the title bar is on screen.
Placement place(const QSize& wanted, const QRect& available, const QMargins& frame);

} // namespace WindowFit

#endif // WINDOWFIT_H
