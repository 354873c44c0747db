#ifndef TEXTCOLUMNS_H
#define TEXTCOLUMNS_H

#include <QString>

#include <vector>

// How many columns of a character grid, or of a terminal, a text takes. East Asian wide and fullwidth
// characters and emoji take two columns; combining marks and other zero-width characters join the
// character before them; everything else, ambiguous widths included, takes one. A surrogate pair is one
// character. The drawing, its copies and whatever reads a drawing back count by these rules alone.
namespace TextColumns {

// The columns a terminal gives the code point: 0, 1 or 2. A lone surrogate takes one.
int ofCodePoint(char32_t codePoint);

// One character of a text with the zero-width characters that follow it, in UTF-16 code units.
struct Cell {
    int start = 0;
    int length = 0;
    // 1 or 2. Zero-width characters at the very start of a text, with nothing to join, make a cell of
    // their own that is shown on a space: one column.
    int columns = 1;
};

// The cells of `text`, in order; together they cover every code unit of it.
std::vector<Cell> cellsOf(const QString& text);

// The sum of the columns of `text`'s cells.
int columnsOf(const QString& text);

// True for a code unit that is a character of one column that nothing joins: printable Latin-1 and the
// letters up to U+02FF.
bool isOneColumn(QChar unit);
// True when every code unit of `text` is one of those, so that columns and code units count alike.
bool oneColumnEach(const QString& text);

// What a cell shows: its code units, after a space when it begins with a zero-width character.
QString shownText(const QString& text, const Cell& cell);

} // namespace TextColumns

#endif // TEXTCOLUMNS_H
