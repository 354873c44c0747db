#include "cellhighlighter.h"

#include "textcolumns.h"

#include <QFontMetricsF>
#include <QTextCharFormat>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

CellHighlighter::CellHighlighter(QTextDocument* document, int cellWidth)
    : QSyntaxHighlighter(document)
    , m_cellWidth(cellWidth)
{ }

qreal CellHighlighter::spacingFor(const QString& cell, int columns)
{
    const auto known = m_spacing.constFind(cell);
    if (known != m_spacing.constEnd())
        return *known;
    QFont font = document()->defaultFont();
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0);
    // The advance of the font that draws it, a fallback font included.
    const qreal spacing = columns * m_cellWidth - QFontMetricsF(font).horizontalAdvance(cell);
    // A deep copy: the caller's text may be borrowed from the block.
    m_spacing.insert(QString(cell.constData(), cell.size()), spacing);
    return spacing;
}

void CellHighlighter::highlightBlock(const QString& text)
{
    const bool ascii = std::all_of(text.begin(), text.end(), [](QChar ch) { return ch.unicode() < 0x80; });
    if (ascii)
        return;
    const QFont font = document()->defaultFont();
    if (font.key() != m_fontKey) {
        m_fontKey = font.key();
        m_spacing.clear();
    }
    const qreal fontSpacing = font.letterSpacingType() == QFont::AbsoluteSpacing ? font.letterSpacing() : 0;
    // Runs of cells that need the same spacing share one format, so the layout splits the line seldom.
    int runStart = 0;
    int runLength = 0;
    qreal runSpacing = fontSpacing;
    const auto flush = [&] {
        if (runLength > 0 && std::fabs(runSpacing - fontSpacing) > 0.01) {
            QTextCharFormat format;
            format.setFontLetterSpacingType(QFont::AbsoluteSpacing);
            format.setFontLetterSpacing(runSpacing);
            setFormat(runStart, runLength, format);
        }
    };
    for (const TextColumns::Cell& cell : TextColumns::cellsOf(text)) {
        const bool plain = cell.length == 1 && text.at(cell.start).unicode() < 0x80;
        const qreal spacing = plain ? fontSpacing : spacingFor(QString::fromRawData(text.constData() + cell.start, cell.length), cell.columns);
        if (spacing != runSpacing || runLength == 0) {
            flush();
            runStart = cell.start;
            runLength = 0;
            runSpacing = spacing;
        }
        runLength += cell.length;
    }
    flush();
}
