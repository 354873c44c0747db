#include "cellfont.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QPaintDevice>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

namespace CellFont {

namespace {

// The factor by which the document's layout scales a fixed line height: its device's resolution over
// the application's default one.
qreal lineHeightScale(const QTextDocument* document)
{
    const QPaintDevice* device = document->documentLayout()->paintDevice();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!device || !screen)
        return 1;
    const int standard = QCoreApplication::testAttribute(Qt::AA_Use96Dpi) ? 96 : qRound(screen->logicalDotsPerInchY());
    return device->logicalDpiY() == standard ? 1 : device->logicalDpiY() / qreal(standard);
}

qreal advanceOf(const QFont& font)
{
    return QFontMetricsF(font).horizontalAdvance(QLatin1Char('M'));
}

} // namespace

QFont fitted(const QFont& requested, int advance)
{
    // Fitting asks the font system for many sizes; every box asks for the same font.
    static QHash<QString, QFont> known;
    const QString key = requested.key() + QLatin1Char('/') + QString::number(advance);
    const auto found = known.constFind(key);
    if (found != known.constEnd())
        return *found;

    QFont font = requested;
    font.setPixelSize(1);
    qreal best = advanceOf(font);
    // The advance grows with the size; the search stops at the first size that is too wide.
    for (int size = 2; size <= 8 * advance; ++size) {
        QFont larger = requested;
        larger.setPixelSize(size);
        const qreal width = advanceOf(larger);
        if (width > advance)
            break;
        font = larger;
        best = width;
    }
    if (best < advance)
        font.setLetterSpacing(QFont::AbsoluteSpacing, advance - best);
    known.insert(key, font);
    return font;
}

QTextBlockFormat lineFormat(const QTextDocument* document, int height)
{
    QTextBlockFormat format;
    format.setLineHeight(height / lineHeightScale(document), QTextBlockFormat::FixedHeight);
    return format;
}

bool fixLineHeight(QTextDocument* document, int height)
{
    const QTextBlockFormat format = lineFormat(document, height);
    const qreal wanted = format.lineHeight();
    bool fixed = true;
    for (QTextBlock block = document->begin(); fixed && block.isValid(); block = block.next()) {
        const QTextBlockFormat current = block.blockFormat();
        fixed = current.lineHeightType() == QTextBlockFormat::FixedHeight && current.lineHeight() == wanted;
    }
    if (fixed)
        return false;
    QTextCursor cursor(document);
    cursor.select(QTextCursor::Document);
    cursor.mergeBlockFormat(format);
    return true;
}

qreal tabStopDistance(const QTextDocument* document, int pixels)
{
    // A document's layout scales tab stops by a factor of its device: measured on a tab in a document
    // laid out on the same device.
    QTextDocument scratch;
    scratch.documentLayout()->setPaintDevice(document->documentLayout()->paintDevice());
    scratch.setDefaultFont(document->defaultFont());
    QTextOption option = document->defaultTextOption();
    option.setTabStopDistance(pixels);
    scratch.setDefaultTextOption(option);
    scratch.setPlainText(QStringLiteral("\t"));
    scratch.adjustSize();
    const QTextLayout* layout = scratch.firstBlock().layout();
    const qreal scaled = layout->lineCount() > 0 ? layout->lineAt(0).cursorToX(1) : 0;
    return scaled > 0 ? qreal(pixels) * pixels / scaled : qreal(pixels);
}

} // namespace CellFont
