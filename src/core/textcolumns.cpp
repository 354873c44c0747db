#include "textcolumns.h"

#include <utf8proc.h>

#include <algorithm>

namespace TextColumns {

namespace {

// The code point at `i` and the number of code units it takes.
char32_t codePointAt(const QChar* units, int size, int i, int& length)
{
    const char16_t unit = units[i].unicode();
    if (QChar::isHighSurrogate(unit) && i + 1 < size && QChar::isLowSurrogate(units[i + 1].unicode())) {
        length = 2;
        return QChar::surrogateToUcs4(unit, units[i + 1].unicode());
    }
    length = 1;
    return unit;
}

} // namespace

int ofCodePoint(char32_t codePoint)
{
    if (codePoint >= 0xD800 && codePoint < 0xE000)
        return 1;
    const int width = utf8proc_charwidth(static_cast<utf8proc_int32_t>(codePoint));
    return width < 0 ? 0 : width > 2 ? 2 : width;
}

std::vector<Cell> cellsOf(const QString& text)
{
    std::vector<Cell> cells;
    cells.reserve(size_t(text.size()));
    const QChar* units = text.constData();
    const int size = text.size();
    for (int i = 0; i < size;) {
        int length = 1;
        const int width = ofCodePoint(codePointAt(units, size, i, length));
        if (width == 0 && !cells.empty())
            cells.back().length += length;
        else
            cells.push_back({i, length, width == 0 ? 1 : width});
        i += length;
    }
    return cells;
}

int columnsOf(const QString& text)
{
    if (oneColumnEach(text))
        return text.size();
    int columns = 0;
    for (const Cell& cell : cellsOf(text))
        columns += cell.columns;
    return columns;
}

bool isOneColumn(QChar unit)
{
    const char16_t u = unit.unicode();
    return (u >= 0x20 && u < 0x7F) || (u >= 0xA0 && u < 0x300);
}

bool oneColumnEach(const QString& text)
{
    return std::all_of(text.begin(), text.end(), isOneColumn);
}

QString shownText(const QString& text, const Cell& cell)
{
    int length = 1;
    const bool joins = ofCodePoint(codePointAt(text.constData(), text.size(), cell.start, length)) == 0;
    return joins ? QLatin1Char(' ') + text.mid(cell.start, cell.length) : text.mid(cell.start, cell.length);
}

} // namespace TextColumns
