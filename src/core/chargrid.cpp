#include "chargrid.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace CharGrid {

POSITION::POSITION()
    : oneChar(0)
{
}

POSITION::POSITION(size_t raw, size_t column, QChar oneChar, bool box)
    : raw(raw), column(column), oneChar(oneChar), box(box)
{
}

QString expandTabs(const QString& line)
{
    constexpr int tabStop = 11;
    QString expanded;
    expanded.reserve(line.size());
    for (const QChar ch : line) {
        if (ch == QLatin1Char('\t'))
            expanded.append(QString(tabStop - expanded.size() % tabStop, QLatin1Char(' ')));
        else
            expanded.append(ch);
    }
    return expanded;
}

namespace {

// Beyond this distance from zero no cell of any element can reach the grid,
// and every offset added to such a coordinate still fits in 64 bits.
constexpr double farAway = 1e15;

// Rounds half away from zero exactly as std::round does, without its library call (the
// connector loop runs once per point); false when the value is not finite or far off the grid.
template <typename Real>
bool roundToCell(Real value, std::int64_t& cell)
{
    if (!(std::fabs(value) <= Real(farAway)))
        return false;
    const std::int64_t whole = static_cast<std::int64_t>(value);
    // Exact: the fraction's bits are a subset of the value's own. Branch-free on purpose.
    const Real fraction = value - static_cast<Real>(whole);
    cell = whole + std::int64_t(fraction >= Real(0.5)) - std::int64_t(fraction <= Real(-0.5));
    return true;
}

class Grid
{
public:
    Grid(int rows, int cols)
        : m_rows(rows), m_cols(cols)
    {
        m_cells.reserve(static_cast<size_t>(rows) * static_cast<size_t>(cols));
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                m_cells.emplace_back(size_t(r), size_t(c), QLatin1Char(' '), false);
    }

    // The cell at (row, col), or nullptr when it lies outside the grid.
    POSITION* at(std::int64_t row, std::int64_t col)
    {
        // One unsigned comparison per axis also rejects negative positions.
        if (std::uint64_t(row) >= std::uint64_t(m_rows) || std::uint64_t(col) >= std::uint64_t(m_cols))
            return nullptr;
        return &m_cells[size_t(row) * size_t(m_cols) + size_t(col)];
    }

    void putBoxCell(std::int64_t row, std::int64_t col, QChar ch)
    {
        if (POSITION* cell = at(row, col))
            *cell = POSITION(size_t(row), size_t(col), ch, true);
    }

    // Box cells in columns first..last (inclusive) of one row.
    void putRow(std::int64_t row, std::int64_t first, std::int64_t last, QChar ch)
    {
        if (row < 0 || row >= m_rows)
            return;
        for (std::int64_t c = std::max<std::int64_t>(first, 0); c <= last && c < m_cols; ++c)
            putBoxCell(row, c, ch);
    }

    // Box cells in rows first..last (inclusive) of one column.
    void putColumn(std::int64_t col, std::int64_t first, std::int64_t last, QChar ch)
    {
        if (col < 0 || col >= m_cols)
            return;
        for (std::int64_t r = std::max<std::int64_t>(first, 0); r <= last && r < m_rows; ++r)
            putBoxCell(r, col, ch);
    }

    void placeBox(const Box& box, bool drawBorders)
    {
        std::int64_t top = 0;
        std::int64_t left = 0;
        if (!roundToCell(box.proportion.y() * double(m_rows), top)
            || !roundToCell(box.proportion.x() * double(m_cols), left))
            return;

        QStringList lines;
        lines.reserve(box.lines.size());
        std::int64_t width = 0;
        for (const QString& line : box.lines) {
            lines.append(expandTabs(line));
            width = std::max<std::int64_t>(width, lines.last().size());
        }
        const std::int64_t height = lines.size();

        if (drawBorders) {
            putRow(top - 1, left, left + width - 1, QLatin1Char('-'));
            putRow(top + height, left, left + width - 1, QLatin1Char('-'));
            putColumn(left - 1, top - 1, top + height, QLatin1Char('|'));
            putColumn(left + width, top - 1, top + height, QLatin1Char('|'));
        }

        for (std::int64_t i = 0; i < height; ++i) {
            const std::int64_t row = top + i;
            if (row < 0 || row >= m_rows)
                continue;
            const QString& line = lines.at(int(i));
            const std::int64_t firstShown = std::max<std::int64_t>(0, -left);
            const std::int64_t pastShown = std::min<std::int64_t>(width, m_cols - left);
            for (std::int64_t j = firstShown; j < pastShown; ++j)
                putBoxCell(row, left + j, j < line.size() ? line.at(int(j)) : QLatin1Char(' '));
        }
    }

    void placeConnector(const Fractions& points, const QPoint& shift)
    {
        const float rows = float(m_rows);
        const float cols = float(m_cols);
        for (const QPair<float, float>& p : points) {
            std::int64_t row = 0;
            std::int64_t col = 0;
            if (!roundToCell(p.second * rows, row) || !roundToCell(p.first * cols, col))
                continue;
            POSITION* cell = at(row + shift.y(), col + shift.x());
            if (!cell)
                continue;
            // Written unconditionally so the loop has no data-dependent branch.
            const bool isFree = (cell->oneChar.unicode() == u' ') & !cell->box;
            cell->oneChar = QChar(isFree ? u'*' : cell->oneChar.unicode());
        }
    }

    std::vector<QString> rowsFramedBy(const QString& startTag, const QString& endTag) const
    {
        std::vector<QString> out;
        out.reserve(size_t(m_rows));
        for (int r = 0; r < m_rows; ++r) {
            QString text;
            text.reserve(startTag.size() + m_cols + endTag.size());
            text.append(startTag);
            const POSITION* cell = m_cells.data() + size_t(r) * size_t(m_cols);
            for (int c = 0; c < m_cols; ++c)
                text.append(cell[c].oneChar);
            text.append(endTag);
            out.push_back(std::move(text));
        }
        return out;
    }

private:
    int m_rows;
    int m_cols;
    std::vector<POSITION> m_cells;
};

} // namespace

std::vector<QString> render(const Input& input)
{
    Grid grid(std::max(input.rows, 0), std::max(input.cols, 0));
    for (const Box& box : input.boxes)
        grid.placeBox(box, input.drawBorders);
    for (const Fractions* points : input.connectors) {
        if (points)
            grid.placeConnector(*points, input.connectorShift);
    }
    return grid.rowsFramedBy(input.startTag, input.endTag);
}

} // namespace CharGrid
