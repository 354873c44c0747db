#ifndef CELLFONT_H
#define CELLFONT_H

#include <QFont>
#include <QTextBlockFormat>

class QTextDocument;

// Fonts and line heights that make every character of a text one grid cell on screen.
namespace CellFont {

// `requested` at the largest pixel size whose character advance is at most `advance` pixels,
// its letters spaced so that the advance is exactly `advance`.
QFont fitted(const QFont& requested, int advance);

// The block format whose fixed line height `document`'s layout makes `height` pixels on its device.
QTextBlockFormat lineFormat(const QTextDocument* document, int height);

// Gives every block of `document` a fixed line height that its layout makes `height` pixels on its
// device; false when every block had it already.
bool fixLineHeight(QTextDocument* document, int height);

// The tab stop distance that `document`'s layout makes `pixels` pixels on its device.
qreal tabStopDistance(const QTextDocument* document, int pixels);

} // namespace CellFont

#endif // CELLFONT_H
