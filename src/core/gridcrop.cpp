#include "gridcrop.h"
#include "textcolumns.h"

#include <algorithm>
#include <utility>

namespace GridCrop {

namespace {

// The grid part of a framed row as cells of columns; a row of one-column characters keeps its code units.
struct GridRow {
    QString text;
    bool simple = true;
    std::vector<TextColumns::Cell> cells;

    explicit GridRow(QString grid)
        : text(std::move(grid))
        , simple(TextColumns::oneColumnEach(text))
    {
        if (!simple)
            cells = TextColumns::cellsOf(text);
    }

    // The first and the last column holding a chart character (anything but a space); -1 and -1 for none.
    std::pair<int, int> shownColumns() const
    {
        int first = -1;
        int last = -1;
        if (simple) {
            const int count = text.size();
            first = 0;
            while (first < count && text.at(first) == QLatin1Char(' '))
                ++first;
            if (first == count)
                return {-1, -1};
            last = count - 1;
            while (text.at(last) == QLatin1Char(' '))
                --last;
            return {first, last};
        }
        int column = 0;
        for (const TextColumns::Cell& cell : cells) {
            if (cell.length != 1 || text.at(cell.start) != QLatin1Char(' ')) {
                first = first < 0 ? column : first;
                last = column + cell.columns - 1;
            }
            column += cell.columns;
        }
        return {first, last};
    }

    // Columns left..right; a wide character cut by either end leaves spaces in its columns inside.
    QString columns(int left, int right) const
    {
        if (simple)
            return text.mid(left, right - left + 1);
        QString cut;
        int column = 0;
        for (const TextColumns::Cell& cell : cells) {
            const int end = column + cell.columns - 1;
            if (column >= left && end <= right)
                cut += text.midRef(cell.start, cell.length);
            else if (end >= left && column <= right)
                cut += QString(std::min(end, right) - std::max(column, left) + 1, QLatin1Char(' '));
            column = end + 1;
        }
        return cut;
    }
};

} // namespace

std::vector<QString> compact(const std::vector<QString>& framedRows, const QString& startTag, const QString& endTag)
{
    const int frame = startTag.size() + endTag.size();
    std::vector<GridRow> grid;
    grid.reserve(framedRows.size());
    size_t firstRow = framedRows.size();
    size_t lastRow = 0;
    int left = -1;
    int right = -1;
    for (size_t r = 0; r < framedRows.size(); ++r) {
        grid.emplace_back(framedRows[r].mid(startTag.size(), std::max(framedRows[r].size() - frame, 0)));
        const std::pair<int, int> shown = grid.back().shownColumns();
        if (shown.first < 0)
            continue;
        firstRow = std::min(firstRow, r);
        lastRow = r;
        left = left < 0 ? shown.first : std::min(left, shown.first);
        right = std::max(right, shown.second);
    }
    std::vector<QString> rows;
    if (left < 0)
        return rows;
    rows.reserve(lastRow - firstRow + 1);
    for (size_t r = firstRow; r <= lastRow; ++r) {
        QString row = startTag + grid[r].columns(left, right) + endTag;
        if (endTag.isEmpty()) {
            int end = row.size();
            while (end > 0 && row.at(end - 1) == QLatin1Char(' '))
                --end;
            row.truncate(end);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace GridCrop
