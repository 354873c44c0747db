#include "gridcrop.h"

#include <algorithm>

namespace GridCrop {

std::vector<QString> compact(const std::vector<QString>& framedRows, const QString& startTag, const QString& endTag)
{
    const int frame = startTag.size() + endTag.size();
    size_t firstRow = framedRows.size();
    size_t lastRow = 0;
    int left = -1;
    int right = -1;
    for (size_t r = 0; r < framedRows.size(); ++r) {
        const QChar* cells = framedRows[r].constData() + startTag.size();
        const int count = std::max(framedRows[r].size() - frame, 0);
        int first = 0;
        while (first < count && cells[first] == QLatin1Char(' '))
            ++first;
        if (first == count)
            continue;
        int last = count - 1;
        while (cells[last] == QLatin1Char(' '))
            --last;
        firstRow = std::min(firstRow, r);
        lastRow = r;
        left = left < 0 ? first : std::min(left, first);
        right = std::max(right, last);
    }
    std::vector<QString> rows;
    if (left < 0)
        return rows;
    rows.reserve(lastRow - firstRow + 1);
    for (size_t r = firstRow; r <= lastRow; ++r) {
        QString row = startTag + framedRows[r].midRef(startTag.size() + left, right - left + 1) + endTag;
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
