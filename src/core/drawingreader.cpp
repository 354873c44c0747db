#include "drawingreader.h"

#include "chartrender.h"
#include "textcolumns.h"

#include <QSize>
#include <QTextCodec>

#include <algorithm>
#include <cmath>

namespace DrawingReader {

namespace {

// The cell that the second column of a character two columns wide holds.
constexpr char32_t wideTail = 0xFFFFFFFFu;
// Characters of more than one code point (a letter and its combining marks) are numbered from here, so
// that every cell stays one char32_t.
constexpr char32_t clusterBase = 0x110000;

// The characters of more than one code point met so far, by number.
struct Clusters {
    std::vector<QString> texts;

    char32_t codeOf(const QString& text)
    {
        const size_t known = size_t(std::find(texts.begin(), texts.end(), text) - texts.begin());
        if (known == texts.size())
            texts.push_back(text);
        return clusterBase + char32_t(known);
    }
};

// One row's characters, one per column as TextColumns counts them; a wide one's second column holds wideTail.
std::vector<char32_t> cellsOfRow(const QString& row, Clusters& clusters)
{
    std::vector<char32_t> cells;
    cells.reserve(size_t(row.size()));
    if (TextColumns::oneColumnEach(row)) {
        for (const QChar unit : row)
            cells.push_back(unit.unicode());
        return cells;
    }
    for (const TextColumns::Cell& cell : TextColumns::cellsOf(row)) {
        const QChar first = row.at(cell.start);
        const bool pair = cell.length == 2 && first.isHighSurrogate() && row.at(cell.start + 1).isLowSurrogate();
        if (cell.length == 1 && TextColumns::ofCodePoint(first.unicode()) > 0)
            cells.push_back(first.unicode());
        else if (pair)
            cells.push_back(QChar::surrogateToUcs4(first, row.at(cell.start + 1)));
        else
            cells.push_back(clusters.codeOf(TextColumns::shownText(row, cell)));
        if (cell.columns == 2)
            cells.push_back(wideTail);
    }
    return cells;
}

// The text of `count` cells, the tails of wide characters left out.
QString textOfCells(const char32_t* cells, size_t count, const Clusters& clusters)
{
    QString text;
    text.reserve(int(count));
    for (size_t i = 0; i < count; ++i) {
        if (cells[i] == wideTail)
            continue;
        if (cells[i] >= clusterBase && cells[i] - clusterBase < clusters.texts.size())
            text += clusters.texts[cells[i] - clusterBase];
        else if (cells[i] > 0xFFFF)
            text.append(QString::fromUcs4(&cells[i], 1));
        else
            text.append(QChar(char16_t(cells[i])));
    }
    return text;
}

} // namespace

QStringList rowsOf(const QString& text)
{
    QStringList rows = text.split(QLatin1Char('\n'));
    if (rows.size() > 1 && rows.last().isEmpty())
        rows.removeLast();
    for (QString& row : rows) {
        if (row.endsWith(QLatin1Char('\r')))
            row.chop(1);
    }
    if (rows.size() == 1 && rows.first().isEmpty())
        rows.clear();
    return rows;
}

namespace {

using CharGrid::Glyphs;
using CharGrid::Style;

constexpr int gridRows = ChartRender::canvasSize / ChartRender::cellHeight;
constexpr int gridCols = ChartRender::canvasSize / ChartRender::cellWidth;
// How a box grows around its text on the canvas, and so the most columns a box there can hold.
constexpr QPoint boxExtension(10, 6);
constexpr int widestBox = (ChartRender::canvasSize - boxExtension.x() - 2 * ChartRender::textInset) / ChartRender::cellWidth;

bool isBlank(QChar ch)
{
    return ch == QLatin1Char(' ') || ch == QLatin1Char('\t');
}

// ---- Tags -------------------------------------------------------------------------------------------------

struct Tags {
    QString start;
    QString end;
};

// Characters that a drawing may hold down a whole column: a border, or a connector running the whole height.
bool holdsWholeColumn(QChar ch)
{
    for (const Style style : CharGrid::allStyles) {
        if (ch == QChar(CharGrid::glyphsOf(style).vertical))
            return true;
    }
    return false;
}

// The rows' common start, less what belongs to the drawing.
QString commonStart(const QStringList& rows)
{
    QString start = rows.first();
    for (const QString& row : rows) {
        int n = 0;
        while (n < start.size() && n < row.size() && start.at(n) == row.at(n))
            ++n;
        start.truncate(n);
    }
    // The tag ends with the blanks after its first word (indentation aside); a word of nothing but
    // characters that fill a whole column is the drawing's own.
    const auto ownColumn = [](QChar ch) { return holdsWholeColumn(ch) || ch == QChar(CharGrid::glyphsOf(Style::Classic).crossing); };
    int word = 0;
    while (word < start.size() && isBlank(start.at(word)))
        ++word;
    int end = word;
    while (end < start.size() && !isBlank(start.at(end)))
        ++end;
    if (std::all_of(start.begin() + word, start.begin() + end, ownColumn)) {
        start.truncate(word);
    } else if (end < start.size()) {
        while (end < start.size() && isBlank(start.at(end)))
            ++end;
        start.truncate(end);
    } else {
        // A tag that runs into the drawing is punctuation, like "//" or "#".
        end = word;
        while (end < start.size() && !start.at(end).isLetterOrNumber())
            ++end;
        start.truncate(end);
        while (!start.isEmpty() && holdsWholeColumn(start.back()))
            start.chop(1);
    }
    return start;
}

// A lone row's start tag: a word of punctuation and the blanks after it, unless the word could be a
// connector running across and may not.
QString commentMark(const QString& row, bool mayLookAcross)
{
    int word = 0;
    while (word < row.size() && isBlank(row.at(word)))
        ++word;
    int end = word;
    bool across = true;
    while (end < row.size() && !isBlank(row.at(end)) && !row.at(end).isLetterOrNumber()) {
        bool stroke = false;
        for (const Style style : CharGrid::allStyles) {
            const Glyphs& g = CharGrid::glyphsOf(style);
            stroke |= row.at(end) == QChar(g.horizontal) || row.at(end) == QChar(g.heads[0]) || row.at(end) == QChar(g.heads[1]);
        }
        across &= stroke;
        ++end;
    }
    if (end == word || end == row.size() || !isBlank(row.at(end)) || (across && !mayLookAcross))
        return QString();
    while (end < row.size() && isBlank(row.at(end)))
        ++end;
    return row.left(end);
}

QString reversed(const QString& text)
{
    QString out(text);
    std::reverse(out.begin(), out.end());
    return out;
}

QStringList reversedRows(const QStringList& rows)
{
    QStringList out;
    for (const QString& row : rows)
        out << reversed(row);
    return out;
}

int trailingBlanks(const QString& text)
{
    int n = 0;
    while (n < text.size() && isBlank(text.at(text.size() - 1 - n)))
        ++n;
    return n;
}

// The row between the tags; a row that is only the start of the start tag (trailing blanks cut) is empty.
QString between(const QString& row, const Tags& tags)
{
    QString content = row;
    if (content.startsWith(tags.start))
        content.remove(0, tags.start.size());
    else if (tags.start.startsWith(content))
        return QString();
    if (!tags.end.isEmpty() && content.endsWith(tags.end))
        content.chop(tags.end.size());
    return content;
}

// Tags found as the common start and end of the non-empty rows. A drawing of the whole grid gives its
// tags the room beyond the grid's width; any other drawing is cut to its chart, so the blank columns
// that all its rows share belong to the tags.
Tags findTags(const QStringList& rows)
{
    QStringList filled;
    for (const QString& row : rows) {
        if (!row.isEmpty())
            filled << row;
    }
    if (filled.isEmpty())
        return {};
    if (filled.size() == 1) {
        // An end mark after a start mark closes a comment even when it looks like an arrow ("-->").
        const QString start = commentMark(filled.first(), false);
        return {start, reversed(commentMark(reversed(filled.first().mid(start.size())), !start.isEmpty()))};
    }
    // Rows of different widths had their trailing blanks cut, which only an empty end tag allows.
    const auto columns = [](const QString& row) { return TextColumns::columnsOf(row); };
    const bool ragged = std::any_of(filled.begin(), filled.end(), [&](const QString& r) { return columns(r) != columns(filled.first()); });
    Tags tags{commonStart(filled), ragged ? QString() : reversed(commonStart(reversedRows(filled)))};
    int shortest = filled.first().size();
    for (const QString& row : filled)
        shortest = std::min(shortest, row.size());
    if (tags.start.size() + tags.end.size() > shortest)
        tags.end = tags.end.right(std::max(0, shortest - tags.start.size()));

    const int startRoom = trailingBlanks(tags.start);
    const int endRoom = trailingBlanks(reversed(tags.end));
    const QString startCore = tags.start.left(tags.start.size() - startRoom);
    const QString endCore = tags.end.right(tags.end.size() - endRoom);
    const bool sameWidth = std::all_of(rows.begin(), rows.end(), [&](const QString& r) { return columns(r) == columns(rows.first()); });
    const int room = columns(rows.first()) - gridCols;
    if (rows.size() == gridRows && sameWidth && room >= startCore.size() + endCore.size() && room <= tags.start.size() + tags.end.size()) {
        // A blank kept after a start tag and before an end tag, as comments are written; the rest in front.
        int extra = room - startCore.size() - endCore.size();
        const int afterStart = std::min({extra, startRoom, startCore.isEmpty() ? 0 : 1});
        extra -= afterStart;
        const int beforeEnd = std::min({extra, endRoom, endCore.isEmpty() ? 0 : 1});
        extra -= beforeEnd;
        const int moreStart = std::min(extra, startRoom - afterStart);
        extra -= moreStart;
        tags.start = startCore + QString(afterStart + moreStart, QLatin1Char(' '));
        tags.end = QString(beforeEnd + extra, QLatin1Char(' ')) + endCore;
        return tags;
    }

    // Blank columns before and after the chart in every row that holds some of it go to the tags.
    int lead = -1;
    int trail = -1;
    for (const QString& row : rows) {
        const QString content = between(row, tags);
        int n = 0;
        while (n < content.size() && isBlank(content.at(n)))
            ++n;
        if (n == content.size())
            continue;
        lead = lead < 0 ? n : std::min(lead, n);
        const int t = trailingBlanks(content);
        trail = trail < 0 ? t : std::min(trail, t);
    }
    if (lead > 0)
        tags.start += QString(lead, QLatin1Char(' '));
    if (trail > 0 && !tags.end.isEmpty())
        tags.end.prepend(QString(trail, QLatin1Char(' ')));
    return tags;
}

// ---- The sheet of cells -----------------------------------------------------------------------------------

// The index of (row, col) in a row-major array `cols` wide.
size_t slot(int row, int cols, int col)
{
    return size_t(row) * size_t(cols) + size_t(col);
}

struct Sheet {
    int rows = 0;
    int cols = 0;
    std::vector<char32_t> cells;
    Clusters clusters;
    // 0: free, 1: a box's, 2: a connector's.
    std::vector<unsigned char> owner;

    bool inside(int r, int c) const { return r >= 0 && c >= 0 && r < rows && c < cols; }
    char32_t at(int r, int c) const { return inside(r, c) ? cells[slot(r, cols, c)] : char32_t(' '); }
    unsigned char& ownerAt(int r, int c) { return owner[slot(r, cols, c)]; }
};

// ---- Boxes ------------------------------------------------------------------------------------------------

// A box by its text area: the first text cell and the text's width and height in cells.
struct Area {
    int top;
    int left;
    int width;
    int height;
};

bool isHorizontalRun(const Sheet& s, int row, int from, int to, char32_t horizontal)
{
    for (int c = from; c < to; ++c) {
        if (s.at(row, c) != horizontal)
            return false;
    }
    return true;
}

// The box whose top-left border corner is (r, c), if its four borders are whole.
bool boxAt(const Sheet& s, const Glyphs& g, int r, int c, Area& area)
{
    if (s.at(r, c) != g.corners[0])
        return false;
    int right = c + 1;
    while (right < s.cols && s.at(r, right) == g.horizontal)
        ++right;
    if (s.at(r, right) != g.corners[1])
        return false;
    // Classic sides and corners are alike: a box of no width is its longest stack of "||".
    if (right == c + 1 && g.corners[0] == g.vertical) {
        int bottom = r;
        while (s.at(bottom + 1, c) == g.vertical && s.at(bottom + 1, right) == g.vertical)
            ++bottom;
        if (bottom - r < 2)
            return false;
        area = {r + 1, c + 1, 0, bottom - r - 1};
        return true;
    }
    for (int b = r + 1; b < s.rows; ++b) {
        if (b >= r + 2 && s.at(b, c) == g.corners[2] && s.at(b, right) == g.corners[3] && isHorizontalRun(s, b, c + 1, right, g.horizontal)) {
            area = {r + 1, c + 1, right - c - 1, b - r - 1};
            return true;
        }
        if (s.at(b, c) != g.vertical || s.at(b, right) != g.vertical)
            return false;
    }
    return false;
}

// Claims every box of the style, outer ones first; with `claim` false only counts them.
std::vector<Area> findBoxes(Sheet& s, const Glyphs& g, bool claim)
{
    std::vector<Area> boxes;
    std::vector<unsigned char> taken(s.owner.size(), 0);
    for (int r = 0; r < s.rows; ++r) {
        for (int c = 0; c < s.cols; ++c) {
            Area a{};
            if (taken[slot(r, s.cols, c)] || !boxAt(s, g, r, c, a))
                continue;
            bool free = true;
            for (int rr = a.top - 1; rr <= a.top + a.height && free; ++rr)
                free = !taken[slot(rr, s.cols, a.left - 1)] && !taken[slot(rr, s.cols, a.left + a.width)];
            if (!free)
                continue;
            for (int rr = a.top - 1; rr <= a.top + a.height; ++rr) {
                for (int cc = a.left - 1; cc <= a.left + a.width; ++cc) {
                    taken[slot(rr, s.cols, cc)] = 1;
                    if (claim)
                        s.ownerAt(rr, cc) = 1;
                }
            }
            boxes.push_back(a);
        }
    }
    return boxes;
}

// ---- Styles -----------------------------------------------------------------------------------------------

std::vector<char32_t> glyphSet(Style style)
{
    const Glyphs& g = CharGrid::glyphsOf(style);
    std::vector<char32_t> set{g.horizontal, g.vertical, g.downRight, g.downLeft, g.crossing};
    set.insert(set.end(), std::begin(g.corners), std::end(g.corners));
    set.insert(set.end(), std::begin(g.heads), std::end(g.heads));
    return set;
}

bool contains(const std::vector<char32_t>& set, char32_t ch)
{
    return std::find(set.begin(), set.end(), ch) != set.end();
}

// Characters a connector of the style may show: "*" in classic, the path characters otherwise.
std::vector<char32_t> connectorGlyphs(Style style)
{
    if (style == Style::Classic)
        return {CharGrid::glyphsOf(style).crossing};
    return glyphSet(style);
}

// Boxes count most; then the characters no other style draws.
Style recogniseStyle(Sheet& s)
{
    Style best = Style::Classic;
    long bestScore = -1;
    for (const Style style : CharGrid::allStyles) {
        std::vector<char32_t> own;
        for (const char32_t ch : glyphSet(style)) {
            bool shared = false;
            for (const Style other : CharGrid::allStyles)
                shared |= other != style && contains(glyphSet(other), ch);
            if (!shared)
                own.push_back(ch);
        }
        long score = 4 * long(findBoxes(s, CharGrid::glyphsOf(style), false).size());
        for (const char32_t ch : s.cells)
            score += ch != U' ' && contains(own, ch);
        if (score > bestScore) {
            bestScore = score;
            best = style;
        }
    }
    return best;
}

// ---- Connectors -------------------------------------------------------------------------------------------

struct Cell {
    int row;
    int col;
    bool operator==(const Cell& o) const { return row == o.row && col == o.col; }
};

// A step's way, (row sign + 1) * 3 + (column sign + 1), as the renderer numbers them; 4 stays.
int wayOf(const Cell& from, const Cell& to)
{
    const int dr = (to.row > from.row) - (to.row < from.row);
    const int dc = (to.col > from.col) - (to.col < from.col);
    return (dr + 1) * 3 + dc + 1;
}
Cell step(const Cell& c, int way)
{
    return {c.row + way / 3 - 1, c.col + way % 3 - 1};
}
bool isAcross(int way)
{
    return way == 3 || way == 5;
}
bool isUpDown(int way)
{
    return way == 1 || way == 7;
}
bool isStraight(int way)
{
    return isAcross(way) || isUpDown(way);
}
bool isTurn(int in, int out)
{
    return (isAcross(in) && isUpDown(out)) || (isUpDown(in) && isAcross(out));
}

// The ways by which a path enters a cell that shows `ch`, and for a corner the way it leaves by.
class PathGlyphs
{
public:
    explicit PathGlyphs(Style style)
        : m_g(CharGrid::glyphsOf(style))
        , m_classic(style == Style::Classic)
    { }

    bool isHead(char32_t ch) const { return !m_classic && std::find(std::begin(m_g.heads), std::end(m_g.heads), ch) != std::end(m_g.heads); }
    bool isCrossing(char32_t ch) const { return !m_classic && ch == m_g.crossing; }
    // A corner that says which two sides it joins (in lines, corners look like crossings).
    int cornerIndex(char32_t ch) const
    {
        if (m_classic || ch == m_g.crossing)
            return -1;
        for (int k = 0; k < 4; ++k) {
            if (ch == m_g.corners[k])
                return k;
        }
        return -1;
    }
    bool isClassic() const { return m_classic; }
    // In lines, a turn shows the crossing's "+".
    bool crossingMayTurn() const { return m_g.corners[0] == m_g.crossing; }

    bool entersBy(char32_t ch, int way) const
    {
        if (m_classic || isHead(ch))
            return way != 4;
        if (ch == m_g.horizontal)
            return isAcross(way);
        if (ch == m_g.vertical)
            return isUpDown(way);
        if (ch == m_g.downRight)
            return way == 0 || way == 8;
        if (ch == m_g.downLeft)
            return way == 2 || way == 6;
        if (ch == m_g.crossing)
            return isStraight(way);
        const int k = cornerIndex(ch);
        return k >= 0 && (way == sideWay(k, true, true) || way == sideWay(k, false, true));
    }

    // The way that enters (`entering`) or leaves a corner by its across side (`across`) or its up-down side.
    static int sideWay(int corner, bool across, bool entering)
    {
        const int sign = entering ? -1 : 1;
        if (across)
            return 4 + sign * (corner % 2 == 0 ? 1 : -1);
        return 4 + sign * 3 * (corner < 2 ? 1 : -1);
    }

private:
    const Glyphs& m_g;
    bool m_classic;
};

class PathFinder
{
public:
    PathFinder(Sheet& sheet, Style style)
        : m_s(sheet)
        , m_glyphs(style)
        , m_visits(sheet.cells.size(), 0)
        , m_seen(sheet.cells.size(), 0)
    { }

    // The connector cells in paths, each from one end to the other.
    std::vector<std::vector<Cell>> paths()
    {
        std::vector<std::vector<Cell>> all;
        for (int r = 0; r < m_s.rows; ++r) {
            for (int c = 0; c < m_s.cols; ++c) {
                if (m_s.ownerAt(r, c) != 2 || m_visits[index({r, c})])
                    continue;
                for (const std::vector<Cell>& component : component({r, c}))
                    all.push_back(component);
            }
        }
        return all;
    }

private:
    size_t index(const Cell& c) const { return slot(c.row, m_s.cols, c.col); }
    bool isConnector(const Cell& c) { return m_s.inside(c.row, c.col) && m_s.ownerAt(c.row, c.col) == 2; }
    char32_t glyph(const Cell& c) const { return m_s.at(c.row, c.col); }
    int allowedVisits(const Cell& c) const { return m_glyphs.isCrossing(glyph(c)) ? 2 : 1; }

    // The paths through the connector cells joined to `seed`.
    std::vector<std::vector<Cell>> component(const Cell& seed)
    {
        // Components never share a cell, so what one marks seen stays seen.
        std::vector<Cell> cells{seed};
        m_seen[index(seed)] = 1;
        for (size_t i = 0; i < cells.size(); ++i) {
            for (int way = 0; way < 9; ++way) {
                const Cell n = step(cells[i], way);
                if (way != 4 && isConnector(n) && !m_seen[index(n)]) {
                    m_seen[index(n)] = 1;
                    cells.push_back(n);
                }
            }
        }
        std::vector<std::vector<Cell>> out;
        while (true) {
            const Cell* start = nullptr;
            int fewest = 9;
            for (const Cell& c : cells) {
                if (m_visits[index(c)])
                    continue;
                const int n = m_glyphs.isHead(glyph(c)) ? -1 : freeNeighbours(c);
                if (n < fewest) {
                    fewest = n;
                    start = &c;
                }
            }
            if (!start)
                break;
            // A head mostly ends its path, so from one the walk backwards wins ties; the longer walk wins.
            std::vector<Cell> path = walk(*start, true);
            forget(path);
            std::vector<Cell> forward = walk(*start, false);
            if (forward.size() > path.size() || (forward.size() == path.size() && !m_glyphs.isHead(glyph(*start)))) {
                path = std::move(forward);
            } else {
                forget(forward);
                for (const Cell& c : path)
                    ++m_visits[index(c)];
                std::reverse(path.begin(), path.end());
            }
            if (m_glyphs.isClassic())
                takeInStrays(path, cells);
            out.push_back(std::move(path));
        }
        return out;
    }

    void forget(const std::vector<Cell>& path)
    {
        for (const Cell& c : path)
            --m_visits[index(c)];
    }

    static bool touches(const Cell& a, const Cell& b) { return std::abs(a.row - b.row) <= 1 && std::abs(a.col - b.col) <= 1; }

    // A classic trail marks every cell its points pass, so a walk leaves cells beside a corner behind; each
    // goes on an end it touches or between two cells of the path that it touches both.
    void takeInStrays(std::vector<Cell>& path, const std::vector<Cell>& cells)
    {
        for (bool grew = true; grew;) {
            grew = false;
            for (const Cell& c : cells) {
                if (m_visits[index(c)])
                    continue;
                size_t at = touches(c, path.back()) ? path.size() : touches(c, path.front()) ? 0 : path.size() + 1;
                for (size_t i = 0; i + 1 < path.size() && at > path.size(); ++i) {
                    if (touches(c, path[i]) && touches(c, path[i + 1]))
                        at = i + 1;
                }
                if (at > path.size())
                    continue;
                path.insert(path.begin() + std::ptrdiff_t(at), c);
                ++m_visits[index(c)];
                grew = true;
            }
        }
    }

    int freeNeighbours(const Cell& c)
    {
        int n = 0;
        for (int way = 0; way < 9; ++way) {
            const Cell next = step(c, way);
            n += way != 4 && isConnector(next) && !m_visits[index(next)];
        }
        return n;
    }

    // Whether the path may go on from `at`, entered by `in` (4 at the start), by `way`.
    bool mayLeave(const Cell& at, int in, int way) const
    {
        const char32_t ch = glyph(at);
        const int k = m_glyphs.cornerIndex(ch);
        if (k >= 0) {
            if (in == 4)
                return way == PathGlyphs::sideWay(k, true, false) || way == PathGlyphs::sideWay(k, false, false);
            const bool enteredAcross = in == PathGlyphs::sideWay(k, true, true);
            return way == PathGlyphs::sideWay(k, !enteredAcross, false);
        }
        if (in == 4)
            return true;
        if (m_glyphs.isCrossing(ch))
            return way == in || (m_glyphs.crossingMayTurn() && isTurn(in, way) && m_visits[index(at)] == 1);
        return m_glyphs.isClassic() || !isTurn(in, way);
    }

    // Whether a step by `way` from `at` to `to` fits the characters shown. A straight stroke shows the way
    // into its cell, so walking backwards, the cell left must fit the step; a corner fits a step across
    // either of its sides.
    bool fits(const Cell& at, const Cell& to, int way, bool backward, bool first) const
    {
        const char32_t from = glyph(at);
        const char32_t next = glyph(to);
        const bool nextTurns = m_glyphs.cornerIndex(next) >= 0 || m_glyphs.isCrossing(next);
        if ((nextTurns || !backward) && !m_glyphs.entersBy(next, way))
            return false;
        const bool fromStraight = m_glyphs.cornerIndex(from) < 0 && !m_glyphs.isCrossing(from);
        return !fromStraight || !(backward || first) || m_glyphs.entersBy(from, way);
    }

    std::vector<Cell> walk(Cell at, bool backward)
    {
        std::vector<Cell> path{at};
        ++m_visits[index(at)];
        int in = 4;
        while (!(path.size() > 1 && m_glyphs.isHead(glyph(at)))) {
            int bestWay = -1;
            int bestRank = 64;
            for (int way = 0; way < 9; ++way) {
                const Cell n = step(at, way);
                if (way == 4 || way == 8 - in || !isConnector(n) || m_visits[index(n)] >= allowedVisits(n))
                    continue;
                if (!fits(at, n, way, backward, path.size() == 1) || !mayLeave(at, in, way))
                    continue;
                // A second pass through a crossing goes straight on.
                if (m_visits[index(n)] == 1 && !isStraight(way))
                    continue;
                // Straight on first, then across or up and down, then slants; among equals, the cell with
                // fewer ways on, so that no end is left behind.
                const int rank = (!isStraight(way) ? 2 : way == in ? 0 : 1) * 16 + freeNeighbours(n);
                if (rank < bestRank) {
                    bestRank = rank;
                    bestWay = way;
                }
            }
            if (bestWay < 0)
                break;
            at = step(at, bestWay);
            in = bestWay;
            path.push_back(at);
            ++m_visits[index(at)];
        }
        return path;
    }

    Sheet& m_s;
    PathGlyphs m_glyphs;
    std::vector<unsigned char> m_visits;
    std::vector<unsigned char> m_seen;
};

// Orders a path as the renderer drew it: a single head ends it; else the two cells before each turn run in
// line with it, as they do wherever the renderer keeps a corner.
void orient(std::vector<Cell>& path, const PathGlyphs& glyphs, const Sheet& s)
{
    if (path.size() < 2 || glyphs.isClassic())
        return;
    const bool headFirst = glyphs.isHead(s.at(path.front().row, path.front().col));
    const bool headLast = glyphs.isHead(s.at(path.back().row, path.back().col));
    if (headFirst != headLast) {
        if (headFirst)
            std::reverse(path.begin(), path.end());
        return;
    }
    const auto runsIntoTurns = [](const std::vector<Cell>& p) {
        for (size_t k = 1; k + 1 < p.size(); ++k) {
            const int in = wayOf(p[k - 1], p[k]);
            if (isTurn(in, wayOf(p[k], p[k + 1])) && (k < 2 || wayOf(p[k - 2], p[k - 1]) != in))
                return false;
        }
        return true;
    };
    if (runsIntoTurns(path))
        return;
    std::vector<Cell> back(path.rbegin(), path.rend());
    if (runsIntoTurns(back))
        path = std::move(back);
}

// The cells for the renderer to step through. After a kept corner the run it turns into is two steps long,
// so where the drawing goes on by a slant, the corner the renderer left out there comes back.
std::vector<Cell> withLeftOutCorners(const std::vector<Cell>& path)
{
    std::vector<Cell> out;
    out.reserve(path.size() + path.size() / 2);
    for (size_t k = 0; k < path.size(); ++k) {
        out.push_back(path[k]);
        if (k < 2 || k + 1 >= path.size())
            continue;
        const int turnOut = wayOf(path[k - 1], path[k]);
        if (!isTurn(wayOf(path[k - 2], path[k - 1]), turnOut) || wayOf(path[k], path[k + 1]) == turnOut)
            continue;
        const Cell leftOut = step(path[k], turnOut);
        const int rest = wayOf(leftOut, path[k + 1]);
        if (isStraight(rest) && step(leftOut, rest) == path[k + 1])
            out.push_back(leftOut);
    }
    return out;
}

// ---- Free text --------------------------------------------------------------------------------------------

bool isFreeText(Sheet& s, int r, int c)
{
    return s.inside(r, c) && s.ownerAt(r, c) == 0 && s.at(r, c) != U' ';
}
bool isFreeBlank(Sheet& s, int r, int c)
{
    return s.inside(r, c) && s.ownerAt(r, c) == 0 && s.at(r, c) == U' ';
}

// Text that no border frames: words a single blank apart make a line, and lines that start in the same
// column one under the other make one box, as long as the spaces that pad its shorter lines are free.
std::vector<Area> freeText(Sheet& s)
{
    std::vector<Area> boxes;
    for (int r = 0; r < s.rows; ++r) {
        for (int c = 0; c < s.cols; ++c) {
            if (!isFreeText(s, r, c))
                continue;
            std::vector<int> widths;
            int width = 0;
            for (int row = r; row < s.rows && isFreeText(s, row, c) && (row == r || !isFreeText(s, row, c - 1)); ++row) {
                int end = c + 1;
                while (end - c < widestBox && (isFreeText(s, row, end) || (isFreeBlank(s, row, end) && isFreeText(s, row, end + 1))))
                    ++end;
                // A line cut at the widest box goes on in a box of its own, never within a wide character.
                if (end < s.cols && s.at(row, end) == wideTail)
                    --end;
                const int wider = std::max(width, end - c);
                bool padFree = true;
                for (size_t i = 0; i < widths.size() && padFree; ++i) {
                    for (int cc = c + widths[i]; cc < c + wider && padFree; ++cc)
                        padFree = isFreeBlank(s, r + int(i), cc);
                }
                for (int cc = end; cc < c + wider && padFree; ++cc)
                    padFree = isFreeBlank(s, row, cc);
                if (!padFree)
                    break;
                widths.push_back(end - c);
                width = wider;
            }
            boxes.push_back({r, c, width, int(widths.size())});
            for (int i = 0; i < int(widths.size()); ++i) {
                for (int cc = c; cc < c + width; ++cc)
                    s.ownerAt(r + i, cc) = 1;
            }
        }
    }
    return boxes;
}

// ---- The chart --------------------------------------------------------------------------------------------

// The box's lines, cut after their last character; the first line keeps the box's width when none reaches it.
QString textOf(const Sheet& s, const Area& a)
{
    QStringList lines;
    int widest = 0;
    for (int r = a.top; r < a.top + a.height; ++r) {
        QString line = textOfCells(&s.cells[slot(r, s.cols, a.left)], size_t(a.width), s.clusters);
        line.truncate(line.size() - trailingBlanks(line));
        widest = std::max(widest, TextColumns::columnsOf(line));
        lines << line;
    }
    if (widest < a.width && !lines.isEmpty())
        lines.first() += QString(a.width - TextColumns::columnsOf(lines.first()), QLatin1Char(' '));
    return lines.join(QLatin1Char('\n'));
}

void addBox(ChartStream::Chart& chart, const Area& a, const QString& text)
{
    using namespace ChartRender;
    ChartStream::BoxRecord b;
    b.proportion = QPointF(double(a.left) / gridCols, double(a.top) / gridRows);
    b.openBoxPoint = QPoint(qRound(b.proportion.x() * canvasSize), qRound(b.proportion.y() * canvasSize));
    b.whoAmI = qint32(chart.boxes.size());
    b.borderSet = 2;
    b.sizeOfInitialTextBox = QPoint(24, 16);
    b.sizeToExtendBox = boxExtension;
    // The size the window measures for the text.
    const QSize size(cellWidth * a.width + 2 * textInset + boxExtension.x(), cellHeight * a.height + 2 * textInset + boxExtension.y());
    b.currentWantedRect = QRect(b.openBoxPoint, size);
    b.centre = b.openBoxPoint + QPoint(b.currentWantedRect.width() / 2, b.currentWantedRect.height() / 2);
    b.text = text;
    chart.window.creationRecords.push_back({0, b.whoAmI});
    chart.boxes.push_back(std::move(b));
}

void addConnector(ChartStream::Chart& chart, const std::vector<Cell>& cells)
{
    ChartStream::ConnectorRecord record;
    for (const Cell& c : cells) {
        // The renderer rounds each fraction to a cell and shifts it one up and one left.
        const QPair<float, float> f(float(double(c.col + 1) / gridCols), float(double(c.row + 1) / gridRows));
        record.fractions.push_back(f);
        record.points.emplace_back(qRound(double(f.first) * ChartRender::canvasSize), qRound(double(f.second) * ChartRender::canvasSize));
    }
    // A connector is drawn from five points on; repeating the last cell draws nothing more.
    while (!record.points.empty() && record.points.size() <= ChartRender::fewestConnectorPoints) {
        record.points.push_back(record.points.back());
        record.fractions.push_back(record.fractions.back());
    }
    chart.window.creationRecords.push_back({1, qint32(chart.connectors.size())});
    chart.connectors.push_back(std::move(record));
}

// Cells of the sheet that the chart, drawn again, shows otherwise.
int differences(const Result& result, Sheet& s)
{
    CharGrid::Input input = ChartRender::gridInputFor(result.chart, result.drawBorders);
    input.startTag.clear();
    input.endTag.clear();
    input.style = result.style;
    input.arrows = result.arrows;
    const std::vector<QString> rows = CharGrid::render(input);
    int differ = 0;
    for (int r = 0; r < s.rows && r < int(rows.size()); ++r) {
        const std::vector<char32_t> cells = cellsOfRow(rows[size_t(r)], s.clusters);
        for (int c = 0; c < s.cols; ++c)
            differ += (c < int(cells.size()) ? cells[size_t(c)] : U' ') != s.at(r, c);
    }
    return differ;
}

} // namespace

Result read(const QStringList& rows, const Options& options)
{
    Result result;
    const Tags tags = options.tagsGiven ? Tags{options.startTag, options.endTag} : findTags(rows);
    result.chart.window.startTag = tags.start;
    result.chart.window.endTag = tags.end;
    result.chart.window.sizeToExtendBox = boxExtension;
    result.chart.window.sizeOfInitialTextBox = QPoint(24, 16);

    Sheet s;
    s.rows = gridRows;
    s.cols = gridCols;
    s.cells.assign(slot(gridRows, gridCols, 0), U' ');
    s.owner.assign(s.cells.size(), 0);
    int beyond = 0;
    for (int r = 0; r < rows.size(); ++r) {
        const std::vector<char32_t> cells = cellsOfRow(between(rows.at(r), tags), s.clusters);
        for (size_t c = 0; c < cells.size(); ++c) {
            // A tab or a lone CR in a row stands for a blank; a line break in a box's text would split it.
            const char32_t ch = cells[c] == U'\t' || cells[c] == U'\r' ? U' ' : cells[c];
            if (r < gridRows && c < size_t(gridCols))
                s.cells[slot(r, gridCols, int(c))] = ch;
            else
                beyond += ch != U' ';
        }
    }

    result.style = recogniseStyle(s);
    const std::vector<Area> bordered = findBoxes(s, CharGrid::glyphsOf(result.style), true);
    result.drawBorders = !bordered.empty();
    for (const Area& a : bordered) {
        const QString text = textOf(s, a);
        if (!text.isEmpty())
            addBox(result.chart, a, text);
    }

    const std::vector<char32_t> strokes = connectorGlyphs(result.style);
    for (size_t i = 0; i < s.cells.size(); ++i) {
        if (s.cells[i] != U' ' && s.owner[i] == 0 && contains(strokes, s.cells[i]))
            s.owner[i] = 2;
    }
    const PathGlyphs glyphs(result.style);
    std::vector<std::vector<Cell>> paths = PathFinder(s, result.style).paths();
    bool heads = false;
    bool bothHeads = false;
    for (std::vector<Cell>& path : paths) {
        orient(path, glyphs, s);
        const bool last = path.size() > 1 && glyphs.isHead(s.at(path.back().row, path.back().col));
        heads |= last;
        bothHeads |= last && glyphs.isHead(s.at(path.front().row, path.front().col));
    }
    if (!glyphs.isClassic())
        result.arrows = bothHeads ? CharGrid::Arrows::Both : heads ? CharGrid::Arrows::End : CharGrid::Arrows::None;

    for (const Area& a : freeText(s))
        addBox(result.chart, a, textOf(s, a));
    for (const std::vector<Cell>& path : paths)
        addConnector(result.chart, glyphs.isClassic() ? path : withLeftOutCorners(path));

    result.unplaced = beyond + differences(result, s);
    return result;
}

bool readText(const QByteArray& bytes, Result& result, QString* error, const Options& options)
{
    const auto fail = [error](const char* reason) {
        if (error)
            *error = QString::fromLatin1(reason);
        return false;
    };
    QTextCodec::ConverterState state;
    const QString text = QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
    if (state.invalidChars > 0 || bytes.contains('\0'))
        return fail("not UTF-8 text");
    Result read = DrawingReader::read(rowsOf(text), options);
    if (read.chart.boxes.empty() && read.chart.connectors.empty())
        return fail("no drawing in it");
    result = std::move(read);
    return true;
}

void addTo(ChartStream::Chart& chart, const ChartStream::Chart& added)
{
    const qint32 boxes = qint32(chart.boxes.size());
    const qint32 connectors = qint32(chart.connectors.size());
    for (ChartStream::BoxRecord box : added.boxes) {
        box.whoAmI += boxes;
        chart.boxes.push_back(std::move(box));
    }
    chart.connectors.insert(chart.connectors.end(), added.connectors.begin(), added.connectors.end());
    for (ChartStream::CreationRecord record : added.window.creationRecords) {
        record.index += record.kind == 0 ? boxes : connectors;
        chart.window.creationRecords.push_back(record);
    }
}

QString unplacedText(int count)
{
    return count == 1 ? QStringLiteral("1 character of the drawing could not be placed.")
                      : QStringLiteral("%1 characters of the drawing could not be placed.").arg(count);
}

} // namespace DrawingReader
