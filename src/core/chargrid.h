#ifndef CHARGRID_H
#define CHARGRID_H

#include <QChar>
#include <QPair>
#include <QPoint>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
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
    // `Whole` for a one-column cell; the two columns of a wide character are its `Lead`, which shows it,
    // and its `Trail`, which shows nothing.
    enum Part : std::uint8_t { Whole, Lead, Trail };
    Part part = Whole;
    // The grid's text shown in this cell when it holds more than `oneChar` (a surrogate pair, combining
    // marks), else -1.
    std::int32_t text = -1;

    POSITION();
    POSITION(size_t raw, size_t column, QChar oneChar, bool box);
    ~POSITION() { }
};

struct Box {
    // Top-left corner as fractions of the canvas width and height.
    QPointF proportion;
    // The box's text lines before tab expansion.
    QStringList lines;
};

// One connector's points as (x / width, y / height).
using Fractions = std::vector<QPair<float, float>>;

// How borders and connectors are written: `Classic` marks each connector point with "*"; the others join
// a connector's cells into a thin path, `Lines` in ASCII and the rest in box-drawing characters.
enum class Style { Classic, Lines, Unicode, Rounded, Heavy, Double };
// Every style, in the order the Style menu lists them.
constexpr Style allStyles[] = {Style::Classic, Style::Lines, Style::Unicode, Style::Rounded, Style::Heavy, Style::Double};
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

// The characters one style draws with, each one column wide. Box corners and kept turns of a path
// share `corners`; a path's diagonal steps use `downRight` (\) and `downLeft` (/).
struct Glyphs {
    char16_t horizontal;
    char16_t vertical;
    char16_t downRight;
    char16_t downLeft;
    char16_t crossing;
    char16_t corners[4]; // right and down, left and down, right and up, left and up
    char16_t heads[4]; // right, left, up, down
};
// The one table of every style's characters. Classic's corners are its sides' "|" and its connector
// characters are never used: it marks connector points with "*".
const Glyphs& glyphsOf(Style style);

// The command-line and settings names: "classic", "lines", "unicode", "rounded", "heavy", "double";
// "none", "end", "both".
QString nameOf(Style style);
QString nameOf(Arrows arrows);
// False, leaving the value unchanged, when `name` is none of the names above.
bool styleNamed(const QString& name, Style& style);
bool arrowsNamed(const QString& name, Arrows& arrows);

// A tab reaches the next multiple of this many columns, in the drawing and on the canvas.
constexpr int tabStop = 11;
// Replaces each tab by spaces up to the next multiple of tabStop columns of the expanded line.
QString expandTabs(const QString& line);

// One text row per grid row, each `cols` columns wide (as TextColumns counts) framed by the two tags.
std::vector<QString> render(const Input& input);

} // namespace CharGrid

#endif // CHARGRID_H
