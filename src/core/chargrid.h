#ifndef CHARGRID_H
#define CHARGRID_H

#include <QChar>
#include <QPair>
#include <QPoint>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <vector>

// The chart laid onto a grid of character cells, independent of any widget.
namespace CharGrid {

// One grid cell.
struct POSITION {
    size_t raw = 0;
    size_t column = 0;
    QChar oneChar;
    // Part of a box (border, text or filler); a connector never overwrites it.
    bool box = false;

    POSITION();
    POSITION(size_t raw, size_t column, QChar oneChar, bool box);
    ~POSITION() {}
};

struct Box {
    // Top-left corner as fractions of the canvas width and height.
    QPointF proportion;
    // The box's text lines before tab expansion.
    QStringList lines;
};

// One connector's points as (x / width, y / height).
using Fractions = std::vector<QPair<float, float>>;

// How borders and connectors are written: `Classic` marks each connector point with "*"; `Lines`
// (ASCII) and `Unicode` (box drawing) join a connector's cells into a thin path.
enum class Style { Classic, Lines, Unicode };
// Every style, in the order menus and the drawing reader try them.
constexpr Style allStyles[] = {Style::Classic, Style::Lines, Style::Unicode};
// Where a `Lines` or `Unicode` path shows an arrow head.
enum class Arrows { None, End, Both };

struct Input {
    int rows = 0;
    int cols = 0;
    std::vector<Box> boxes;
    std::vector<const Fractions*> connectors;
    bool drawBorders = true;
    // Added to each connector point's rounded cell: x to the column, y to the row.
    QPoint connectorShift;
    QString startTag;
    QString endTag;
    Style style = Style::Classic;
    Arrows arrows = Arrows::End;
};

// The command-line and settings names: "classic", "lines", "unicode"; "none", "end", "both".
QString nameOf(Style style);
QString nameOf(Arrows arrows);
// False, leaving the value unchanged, when `name` is none of the names above.
bool styleNamed(const QString& name, Style& style);
bool arrowsNamed(const QString& name, Arrows& arrows);

// The characters of one style: box corners and kept turns share `corners`.
struct Glyphs {
    char16_t horizontal;
    char16_t vertical;
    char16_t downRight;
    char16_t downLeft;
    char16_t crossing;
    char16_t corners[4]; // right and down, left and down, right and up, left and up
    char16_t heads[4];   // right, left, up, down
};
const Glyphs& glyphsOf(Style style);

// Replaces each tab by spaces up to the next multiple of 11 characters of the expanded line.
QString expandTabs(const QString& line);

// One text row per grid row, each holding `cols` cells framed by the two tags.
std::vector<QString> render(const Input& input);

} // namespace CharGrid

#endif // CHARGRID_H
