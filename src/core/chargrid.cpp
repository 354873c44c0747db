#include "chargrid.h"
#include "textcolumns.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace CharGrid {

POSITION::POSITION()
    : oneChar(0)
{ }

POSITION::POSITION(size_t raw, size_t column, QChar oneChar, bool box)
    : raw(raw)
    , column(column)
    , oneChar(oneChar)
    , box(box)
{ }

QString expandTabs(const QString& line)
{
    if (!line.contains(QLatin1Char('\t')))
        return line;
    // Where every character is one column, the expanded text's length is its column count.
    const bool simple = std::all_of(line.begin(), line.end(), [](QChar ch) { return ch == QLatin1Char('\t') || TextColumns::isOneColumn(ch); });
    QString expanded;
    expanded.reserve(line.size());
    for (const QChar ch : line) {
        if (ch == QLatin1Char('\t')) {
            const int column = simple ? expanded.size() : TextColumns::columnsOf(expanded);
            expanded.append(QString(tabStop - column % tabStop, QLatin1Char(' ')));
        } else {
            expanded.append(ch);
        }
    }
    return expanded;
}

QString nameOf(Style style)
{
    switch (style) {
    case Style::Lines: return QStringLiteral("lines");
    case Style::Unicode: return QStringLiteral("unicode");
    case Style::Rounded: return QStringLiteral("rounded");
    case Style::Heavy: return QStringLiteral("heavy");
    case Style::Double: return QStringLiteral("double");
    case Style::Classic: break;
    }
    return QStringLiteral("classic");
}

QString nameOf(Arrows arrows)
{
    switch (arrows) {
    case Arrows::None: return QStringLiteral("none");
    case Arrows::Both: return QStringLiteral("both");
    case Arrows::End: break;
    }
    return QStringLiteral("end");
}

bool styleNamed(const QString& name, Style& style)
{
    for (const Style candidate : allStyles) {
        if (name == nameOf(candidate)) {
            style = candidate;
            return true;
        }
    }
    return false;
}

bool arrowsNamed(const QString& name, Arrows& arrows)
{
    for (const Arrows candidate : {Arrows::None, Arrows::End, Arrows::Both}) {
        if (name == nameOf(candidate)) {
            arrows = candidate;
            return true;
        }
    }
    return false;
}

namespace {

constexpr Glyphs classicGlyphs{u'-', u'|', u'*', u'*', u'*', {u'|', u'|', u'|', u'|'}, {u'*', u'*', u'*', u'*'}};
constexpr Glyphs lineGlyphs{u'-', u'|', u'\\', u'/', u'+', {u'+', u'+', u'+', u'+'}, {u'>', u'<', u'^', u'v'}};
// The box-drawing styles point with the solid pointers that common monospaced fonts draw in one cell.
constexpr Glyphs unicodeGlyphs{
    u'\u2500', u'\u2502', u'\u2572', u'\u2571', u'\u253C', {u'\u250C', u'\u2510', u'\u2514', u'\u2518'}, {u'\u25BA', u'\u25C4', u'\u25B2', u'\u25BC'}};
constexpr Glyphs roundedGlyphs{
    u'\u2500', u'\u2502', u'\u2572', u'\u2571', u'\u253C', {u'\u256D', u'\u256E', u'\u2570', u'\u256F'}, {u'\u25BA', u'\u25C4', u'\u25B2', u'\u25BC'}};
constexpr Glyphs heavyGlyphs{
    u'\u2501', u'\u2503', u'\u2572', u'\u2571', u'\u254B', {u'\u250F', u'\u2513', u'\u2517', u'\u251B'}, {u'\u25BA', u'\u25C4', u'\u25B2', u'\u25BC'}};
constexpr Glyphs doubleGlyphs{
    u'\u2550', u'\u2551', u'\u2572', u'\u2571', u'\u256C', {u'\u2554', u'\u2557', u'\u255A', u'\u255D'}, {u'\u25BA', u'\u25C4', u'\u25B2', u'\u25BC'}};

} // namespace

const Glyphs& glyphsOf(Style style)
{
    switch (style) {
    case Style::Lines: return lineGlyphs;
    case Style::Unicode: return unicodeGlyphs;
    case Style::Rounded: return roundedGlyphs;
    case Style::Heavy: return heavyGlyphs;
    case Style::Double: return doubleGlyphs;
    case Style::Classic: break;
    }
    return classicGlyphs;
}

namespace {

// A cell of a connector's path, or the step between two such cells.
struct Cell {
    std::int64_t row;
    std::int64_t col;
    Cell operator-(const Cell& o) const { return {row - o.row, col - o.col}; }
};

// -1, 0 or 1 as `to` is less than, equal to or greater than `from`.
int order(std::int64_t from, std::int64_t to)
{
    return int(to > from) - int(to < from);
}

// A step's way, (row sign + 1) * 3 + (column sign + 1): 3 and 5 run across, 1 and 7 up and down, 4 stays.
int wayOf(const Cell& from, const Cell& to)
{
    return order(from.row, to.row) * 3 + order(from.col, to.col) + 4;
}
Cell stepOf(int way)
{
    return {way / 3 - 1, way % 3 - 1};
}
constexpr unsigned acrossWays = (1u << 3) | (1u << 5);
constexpr unsigned upDownWays = (1u << 1) | (1u << 7);

// A corner: one of the two ways runs across and the other up or down.
bool isTurn(int in, int out)
{
    return (((acrossWays >> in) & (upDownWays >> out)) | ((upDownWays >> in) & (acrossWays >> out))) & 1u;
}

// The corner joining the side a turn is entered from with the side it leaves by; any glyph when no turn.
char16_t turnGlyph(const Glyphs& g, int in, int out)
{
    const Cell from = stepOf(in);
    const Cell to = stepOf(out);
    const bool right = (from.row == 0 ? -from.col : to.col) > 0;
    const bool down = (from.col == 0 ? -from.row : to.row) > 0;
    return g.corners[(right ? 0 : 1) + (down ? 0 : 2)];
}

// The head pointing along `way`; a way as steep as it is wide points up or down, cells being taller than wide.
char16_t headGlyph(const Glyphs& g, const Cell& way)
{
    const std::int64_t across = way.col < 0 ? -way.col : way.col;
    const std::int64_t upDown = way.row < 0 ? -way.row : way.row;
    if (across > upDown)
        return g.heads[way.col > 0 ? 0 : 1];
    return g.heads[way.row < 0 ? 2 : 3];
}

// A path glyph and the connector glyph it turns into a crossing where it meets it: a horizontal's vertical,
// a vertical's horizontal, none (0, which no drawn cell holds) for the others.
struct Stroke {
    char16_t glyph;
    char16_t crosses;
};

Stroke strokeFor(char16_t glyph, const Glyphs& g)
{
    return {glyph, glyph == g.horizontal ? g.vertical : glyph == g.vertical ? g.horizontal : char16_t(0)};
}

// Beyond this distance from zero no cell of any element can reach the grid,
// and every offset added to such a coordinate still fits in 64 bits.
constexpr double farAway = 1e15;

// Rounds half away from zero exactly as std::round does, without its library call (the
// connector loop runs once per point); false when the value is not finite or far off the grid.
template <typename Real> bool roundToCell(Real value, std::int64_t& cell)
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
        : m_rows(rows)
        , m_cols(cols)
        , m_rowExtended(size_t(rows), 0)
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
        if (POSITION* cell = at(row, col)) {
            if (cell->part != POSITION::Whole)
                splitWide(row, col, cell->part);
            *cell = POSITION(size_t(row), size_t(col), ch, true);
        }
    }

    // Box cells showing one text cell of `line`, its first column at `col`. A wide character that the
    // grid's edge cuts leaves a space in its half inside the grid.
    void putTextCell(std::int64_t row, std::int64_t col, const QString& line, const TextColumns::Cell& piece)
    {
        const bool whole = piece.columns == 1 || (col >= 0 && col + 1 < m_cols);
        const bool plain = piece.length == 1 && TextColumns::ofCodePoint(line.at(piece.start).unicode()) != 0;
        putBoxCell(row, col, whole ? line.at(piece.start) : QLatin1Char(' '));
        if (piece.columns == 2)
            putBoxCell(row, col + 1, QLatin1Char(' '));
        if (!whole || (plain && piece.columns == 1))
            return;
        m_rowExtended[size_t(row)] = 1;
        POSITION* cell = at(row, col);
        if (!plain) {
            cell->text = std::int32_t(m_texts.size());
            m_texts.push_back(TextColumns::shownText(line, piece));
        }
        if (piece.columns == 2) {
            cell->part = POSITION::Lead;
            at(row, col + 1)->part = POSITION::Trail;
        }
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

    void placeBox(const Box& box, bool drawBorders, const Glyphs& g)
    {
        std::int64_t top = 0;
        std::int64_t left = 0;
        if (!roundToCell(box.proportion.y() * double(m_rows), top) || !roundToCell(box.proportion.x() * double(m_cols), left))
            return;

        QStringList lines;
        lines.reserve(box.lines.size());
        std::int64_t width = 0;
        for (const QString& line : box.lines) {
            lines.append(expandTabs(line));
            width = std::max<std::int64_t>(width, TextColumns::columnsOf(lines.last()));
        }
        const std::int64_t height = lines.size();

        if (drawBorders) {
            putRow(top - 1, left, left + width - 1, QChar(g.horizontal));
            putRow(top + height, left, left + width - 1, QChar(g.horizontal));
            putColumn(left - 1, top - 1, top + height, QChar(g.vertical));
            putColumn(left + width, top - 1, top + height, QChar(g.vertical));
            putBoxCell(top - 1, left - 1, QChar(g.corners[0]));
            putBoxCell(top - 1, left + width, QChar(g.corners[1]));
            putBoxCell(top + height, left - 1, QChar(g.corners[2]));
            putBoxCell(top + height, left + width, QChar(g.corners[3]));
        }

        for (std::int64_t i = 0; i < height; ++i) {
            const std::int64_t row = top + i;
            if (row < 0 || row >= m_rows)
                continue;
            const QString& line = lines.at(int(i));
            const std::int64_t firstShown = std::max<std::int64_t>(0, -left);
            const std::int64_t pastShown = std::min<std::int64_t>(width, m_cols - left);
            std::int64_t j = firstShown;
            if (TextColumns::oneColumnEach(line)) {
                for (; j < pastShown && j < line.size(); ++j)
                    putBoxCell(row, left + j, line.at(int(j)));
            } else {
                j = 0;
                for (const TextColumns::Cell& piece : TextColumns::cellsOf(line)) {
                    if (j + piece.columns > firstShown && j < pastShown)
                        putTextCell(row, left + j, line, piece);
                    j += piece.columns;
                }
                j = std::max(j, firstShown);
            }
            for (; j < pastShown; ++j)
                putBoxCell(row, left + j, QLatin1Char(' '));
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

    // The connector as a thin path of line characters through the cells its points mark, in order: a corner
    // with a single step on either side is left out, so a staircase becomes a diagonal, while a turn between
    // runs of two or more steps keeps its corner.
    void placePath(const Fractions& points, const QPoint& shift, const Glyphs& g, Arrows arrows)
    {
        const size_t cells = collectCells(points, shift);
        if (cells == 0)
            return;
        const char16_t byWay[9] = {g.downRight, g.vertical, g.downLeft, g.horizontal, g.horizontal, g.horizontal, g.downLeft, g.vertical, g.downRight};
        // The stroke of a cell by the ways into and out of it: a corner where it turns, else the way in.
        Stroke strokeOf[81];
        for (int w = 0; w < 81; ++w)
            strokeOf[w] = strokeFor(isTurn(w / 9, w % 9) ? turnGlyph(g, w / 9, w % 9) : byWay[w / 9], g);
        const Cell* path = m_path.data();
        const unsigned char* ways = m_ways.data();
        Cell* keptCells = m_kept.data();
        keptCells[0] = path[0];
        size_t kept = 1;
        // A cell after a left-out corner is entered by a diagonal, so it is no corner and is kept. A corner
        // entered from a kept cell is kept when the runs on both sides are longer than a step: the step before
        // it, itself entered from a kept cell, goes its way in, and the step after it its way out. Only these
        // two flags carry from one cell to the next, so no chain of ways holds the loop back.
        bool keptBefore = true;
        bool keptTwoBefore = false;
        // The ways into cells i - 1, i, i + 1 and i + 2, passed on from one cell to the next.
        int before = ways[0];
        int way = ways[1];
        int out = ways[2];
        for (size_t i = 1; i < cells; ++i) {
            const int after = ways[i + 2];
            const bool longRuns = (before == way) & (after == out);
            // Bitwise on purpose: the ways of freehand connectors are random enough to defeat prediction.
            const bool keep = !keptBefore | !isTurn(way, out) | (keptTwoBefore & longRuns);
            // The way from the last kept cell; past a left-out cell, the diagonal of both its steps.
            const int in = keptBefore ? way : before + way - 4;
            keptCells[kept] = path[i];
            // The first cell's glyph waits for the way out of it, known once the second cell is kept.
            if (kept == 1 && keep)
                putLine(cellOrSink(path[0]), strokeOf[in * 9 + 4], g.crossing);
            POSITION* const target = cellOrSink(path[i]);
            putLine(keep ? target : &m_sink, strokeOf[in * 9 + out], g.crossing);
            kept += keep;
            keptTwoBefore = keptBefore;
            keptBefore = keep;
            before = way;
            way = out;
            out = after;
        }
        if (kept == 1)
            putLine(cellOrSink(path[0]), strokeFor(g.horizontal, g), g.crossing);
        const size_t n = kept;
        if (arrows == Arrows::None || n < 2)
            return;
        size_t last = n;
        while (last > 0 && !shown(m_kept[last - 1]))
            --last;
        if (last == 0)
            return;
        --last;
        // The last steps into the head, up to three of them; a head at the first cell takes its step out.
        const Cell endWay = last > 0 ? m_kept[last] - m_kept[last >= 3 ? last - 3 : 0] : m_kept[1] - m_kept[0];
        if (arrows == Arrows::Both) {
            size_t first = 0;
            while (first < last && !shown(m_kept[first]))
                ++first;
            if (first < last) {
                const Cell away = m_kept[first] - m_kept[std::min(first + 3, n - 1)];
                at(m_kept[first].row, m_kept[first].col)->oneChar = QChar(headGlyph(g, away));
            }
        }
        at(m_kept[last].row, m_kept[last].col)->oneChar = QChar(headGlyph(g, endWay));
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
            if (m_rowExtended[size_t(r)] == 0) {
                for (int c = 0; c < m_cols; ++c)
                    text.append(cell[c].oneChar);
            } else {
                for (int c = 0; c < m_cols; ++c) {
                    if (cell[c].text >= 0)
                        text.append(m_texts[size_t(cell[c].text)]);
                    else if (cell[c].part != POSITION::Trail)
                        text.append(cell[c].oneChar);
                }
            }
            text.append(endTag);
            out.push_back(std::move(text));
        }
        return out;
    }

private:
    // Where a box cell covers one half of a wide character, the other half becomes a space of the box
    // that holds it.
    void splitWide(std::int64_t row, std::int64_t col, POSITION::Part covered)
    {
        const std::int64_t other = covered == POSITION::Lead ? col + 1 : col - 1;
        POSITION* half = at(row, other);
        *half = POSITION(size_t(row), size_t(other), QLatin1Char(' '), true);
    }

    // A cell inside the grid that no box holds.
    bool shown(const Cell& c)
    {
        const POSITION* cell = at(c.row, c.col);
        return cell && !cell->box;
    }

    // The grid cell at `c`, or the sink, a box cell that keeps its character, when `c` lies outside the grid.
    POSITION* cellOrSink(const Cell& c)
    {
        POSITION* cell = at(c.row, c.col);
        return cell ? cell : &m_sink;
    }

    // A free cell takes the stroke's glyph; the glyph it crosses becomes a crossing.
    static void putLine(POSITION* cell, const Stroke& stroke, char16_t crossing)
    {
        const unsigned old = cell->oneChar.unicode();
        const unsigned drawn = !cell->box;
        const unsigned takes = (old == u' ') & drawn;
        const unsigned crosses = (old == stroke.crosses) & drawn;
        // Chosen by masks, at most one of them set, rather than branches: whether a cell of a dense chart
        // is free is too random to predict.
        const unsigned now = old ^ ((old ^ stroke.glyph) & (0u - takes)) ^ ((old ^ crossing) & (0u - crosses));
        cell->oneChar = QChar(char16_t(now));
    }

    // m_path gets the cells of the points in order, consecutive repeats dropped, and m_ways the way into
    // each; returns their number. The vectors only grow, past the cells, with junk beyond the returned count.
    size_t collectCells(const Fractions& points, const QPoint& shift)
    {
        const float rows = float(m_rows);
        const float cols = float(m_cols);
        // Room for every point and, past the last cell, the two stays placePath looks ahead to.
        if (m_path.size() < points.size() + 1) {
            m_path.resize(points.size() + 1);
            m_ways.resize(points.size() + 3);
            m_kept.resize(points.size() + 1);
        }
        Cell* path = m_path.data();
        unsigned char* ways = m_ways.data();
        const std::int64_t shiftRow = shift.y();
        const std::int64_t shiftCol = shift.x();
        size_t n = 0;
        // Far above any cell a point can mark, so that the first cell is new; placePath ignores its way.
        Cell previous{-(std::int64_t(1) << 62), 0};
        for (const QPair<float, float>& p : points) {
            std::int64_t row = 0;
            std::int64_t col = 0;
            if (!roundToCell(p.second * rows, row) || !roundToCell(p.first * cols, col))
                continue;
            const Cell cell{row + shiftRow, col + shiftCol};
            const int way = wayOf(previous, cell);
            // Each cell is written in the next slot, which only a new cell, one not reached by staying, keeps.
            path[n] = cell;
            ways[n] = static_cast<unsigned char>(way);
            n += way != 4;
            previous = cell;
        }
        ways[n] = 4;
        ways[n + 1] = 4;
        return n;
    }

    int m_rows;
    int m_cols;
    std::vector<POSITION> m_cells;
    // Scratch space of placePath, kept between connectors.
    std::vector<Cell> m_path;
    std::vector<unsigned char> m_ways;
    std::vector<Cell> m_kept;
    POSITION m_sink{0, 0, QLatin1Char(' '), true};
    // Per row, whether any cell of it is wide or shows a text of its own.
    std::vector<unsigned char> m_rowExtended;
    // The texts that cells show in place of their `oneChar`.
    std::vector<QString> m_texts;
};

} // namespace

std::vector<QString> render(const Input& input)
{
    Grid grid(std::max(input.rows, 0), std::max(input.cols, 0));
    const Glyphs& glyphs = glyphsOf(input.style);
    for (const Box& box : input.boxes)
        grid.placeBox(box, input.drawBorders, glyphs);
    for (const Fractions* points : input.connectors) {
        if (!points)
            continue;
        if (input.style == Style::Classic)
            grid.placeConnector(*points, input.connectorShift);
        else
            grid.placePath(*points, input.connectorShift, glyphs, input.arrows);
    }
    return grid.rowsFramedBy(input.startTag, input.endTag);
}

} // namespace CharGrid
