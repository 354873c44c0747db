#ifndef CELLHIGHLIGHTER_H
#define CELLHIGHLIGHTER_H

#include <QHash>
#include <QString>
#include <QSyntaxHighlighter>

class QTextDocument;

// Lays every character of a document out in whole grid cells, as the drawing counts them: a wide
// character in two cells, any other in one, whatever font ends up drawing it. The spacing it adds lives
// in the layout only, so the document's text, formats and undo history stay as they are.
class CellHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT

public:
    CellHighlighter(QTextDocument* document, int cellWidth);

protected:
    void highlightBlock(const QString& text) override;

private:
    // The letter spacing that makes `cell` as wide as its columns of cells in the document's font.
    qreal spacingFor(const QString& cell, int columns);

    int m_cellWidth;
    QString m_fontKey;
    QHash<QString, qreal> m_spacing;
};

#endif // CELLHIGHLIGHTER_H
