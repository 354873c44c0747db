#include "chargrid.h"

#include <QMap>
#include <QtTest>

#include <cmath>
#include <limits>

namespace {

struct Chart {
    int rows = 0;
    int cols = 0;
    std::vector<CharGrid::Box> boxes;
    std::vector<CharGrid::Fractions> connectors;
    bool drawBorders = true;
    QString startTag;
    QString endTag;
};

// An empty chart on a grid of the given size.
Chart grid(int rows, int cols)
{
    Chart chart;
    chart.rows = rows;
    chart.cols = cols;
    return chart;
}

CharGrid::Box box(double x, double y, const QStringList& lines)
{
    return CharGrid::Box{QPointF(x, y), lines};
}

// A blank rows x cols drawing with the listed rows replaced; every row padded with spaces to cols.
QStringList drawing(int rows, int cols, const QMap<int, QString>& shown,
                    const QString& startTag = QString(), const QString& endTag = QString())
{
    QStringList out;
    for (int r = 0; r < rows; ++r)
        out << startTag + shown.value(r).leftJustified(cols, QLatin1Char(' ')) + endTag;
    return out;
}

QStringList draw(const Chart& chart)
{
    CharGrid::Input input;
    input.rows = chart.rows;
    input.cols = chart.cols;
    input.boxes = chart.boxes;
    for (const CharGrid::Fractions& points : chart.connectors)
        input.connectors.push_back(&points);
    input.drawBorders = chart.drawBorders;
    input.startTag = chart.startTag;
    input.endTag = chart.endTag;
    const std::vector<QString> rows = CharGrid::render(input);
    return QStringList(rows.begin(), rows.end());
}

// A horizontal connector through grid row `cellRow` across every column of a 10-column grid with 8 rows.
CharGrid::Fractions acrossRow(int cellRow)
{
    CharGrid::Fractions points;
    for (int k = 1; k <= 10; ++k)
        points.push_back({k / 10.0f, (cellRow + 1) / 8.0f});
    return points;
}

const float notANumber = std::numeric_limits<float>::quiet_NaN();
const float infinity = std::numeric_limits<float>::infinity();

} // namespace

Q_DECLARE_METATYPE(Chart)

class TestCharGrid : public QObject
{
    Q_OBJECT

private:
    static void addColumns()
    {
        QTest::addColumn<Chart>("chart");
        QTest::addColumn<QStringList>("expected");
    }

    static void compareDrawing()
    {
        QFETCH(Chart, chart);
        QFETCH(QStringList, expected);
        QCOMPARE(draw(chart), expected);
    }

private slots:
    void expandTabs_movesToNextMultipleOfEleven_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("expected");
        const QString sp(1, QLatin1Char(' '));
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("no tab") << "abc" << "abc";
        QTest::newRow("tab after one char") << "a\tb" << "a" + sp.repeated(10) + "b";
        QTest::newRow("tab alone") << "\t" << sp.repeated(11);
        QTest::newRow("leading tab") << "\tx" << sp.repeated(11) + "x";
        QTest::newRow("tab after ten chars") << "0123456789\tb" << "0123456789 b";
        QTest::newRow("tab on a stop") << "0123456789A\tb" << "0123456789A" + sp.repeated(11) + "b";
        QTest::newRow("two tabs") << "a\t\tb" << "a" + sp.repeated(21) + "b";
        QTest::newRow("stops counted on expanded text") << "ab\tcd\te"
                                                        << "ab" + sp.repeated(9) + "cd" + sp.repeated(9) + "e";
        QTest::newRow("surrogate pair counts two")
            << QString::fromUtf8("\xF0\x9F\x98\x80\tx") << QString::fromUtf8("\xF0\x9F\x98\x80") + sp.repeated(9) + "x";
    }

    void expandTabs_movesToNextMultipleOfEleven()
    {
        QFETCH(QString, line);
        QFETCH(QString, expected);
        QCOMPARE(CharGrid::expandTabs(line), expected);
    }

    void render_placesBoxes_data()
    {
        addColumns();
        QTest::newRow("empty chart is blank") << grid(8, 10) << drawing(8, 10, {});

        Chart worked = grid(61, 114);
        worked.boxes = {box(0.1, 0.1, {"Start"})};
        worked.connectors = {{{0.5f, 0.5f}}};
        const QString indent(10, QLatin1Char(' '));
        QTest::newRow("worked example")
            << worked << drawing(61, 114, {{5, indent + "|-----|"}, {6, indent + "|Start|"}, {7, indent + "|-----|"},
                                           {30, QString(56, QLatin1Char(' ')) + "*"}});

        Chart other = grid(30, 100);
        other.boxes = {box(0.1, 0.1, {"Start"})};
        other.connectors = {{{0.5f, 0.5f}}};
        const QString nine(9, QLatin1Char(' '));
        QTest::newRow("100 x 30 grid keeps proportions")
            << other << drawing(30, 100, {{2, nine + "|-----|"}, {3, nine + "|Start|"}, {4, nine + "|-----|"},
                                          {14, QString(49, QLatin1Char(' ')) + "*"}});

        Chart lineBreak = grid(8, 10);
        lineBreak.boxes = {box(0.2, 0.25, {"", ""})};
        QTest::newRow("line break: side borders only, four high")
            << lineBreak << drawing(8, 10, {{1, " ||"}, {2, " ||"}, {3, " ||"}, {4, " ||"}});

        Chart ragged = grid(8, 10);
        ragged.boxes = {box(0.2, 0.25, {"abc", "a"})};
        QTest::newRow("short lines left-aligned and padded")
            << ragged << drawing(8, 10, {{1, " |---|"}, {2, " |abc|"}, {3, " |a  |"}, {4, " |---|"}});

        Chart origin = grid(8, 10);
        origin.boxes = {box(0, 0, {"ab"})};
        QTest::newRow("origin: top and left borders off grid")
            << origin << drawing(8, 10, {{0, "ab|"}, {1, "--|"}});

        Chart right = grid(8, 10);
        right.boxes = {box(0.8, 0.5, {"abcd", "ef"})};
        QTest::newRow("beyond right edge is clipped, not wrapped")
            << right << drawing(8, 10, {{3, "       |--"}, {4, "       |ab"}, {5, "       |ef"}, {6, "       |--"}});

        Chart bottom = grid(8, 10);
        bottom.boxes = {box(0.8, 0.875, {"abcd", "ef"})};
        QTest::newRow("beyond bottom edge is clipped")
            << bottom << drawing(8, 10, {{6, "       |--"}, {7, "       |ab"}});

        Chart left = grid(8, 10);
        left.boxes = {box(-0.2, 0.25, {"abc"})};
        QTest::newRow("beyond left edge never wraps into previous row")
            << left << drawing(8, 10, {{1, "-|"}, {2, "c|"}, {3, "-|"}});

        Chart overlap = grid(8, 10);
        overlap.boxes = {box(0.1, 0.25, {"aaaa", "bbbb"}), box(0.3, 0.375, {"xyz", ""})};
        QTest::newRow("later box covers earlier, filler included")
            << overlap << drawing(8, 10, {{1, "|----|"}, {2, "|a|---|"}, {3, "|b|xyz|"}, {4, "|-|   |"}, {5, "  |---|"}});

        Chart tab = grid(8, 16);
        tab.boxes = {box(0.0625, 0.25, {"a\tb"})};
        QTest::newRow("tab expanded before measuring width")
            << tab << drawing(8, 16, {{1, "|------------|"}, {2, "|a          b|"}, {3, "|------------|"}});

        Chart onlyTab = grid(8, 16);
        onlyTab.boxes = {box(0.0625, 0.25, {"\t", "ab"})};
        QTest::newRow("line of only a tab makes box 11 wide")
            << onlyTab << drawing(8, 16, {{1, "|-----------|"}, {2, "|           |"}, {3, "|ab         |"},
                                         {4, "|-----------|"}});
    }

    void render_placesBoxes() { compareDrawing(); }

    void render_marksConnectorsOnlyOnFreeCells_data()
    {
        addColumns();
        Chart crossing = grid(8, 10);
        crossing.boxes = {box(0.4, 0.5, {"ab"})};
        crossing.connectors = {acrossRow(4)};
        QTest::newRow("hidden under box, visible beyond")
            << crossing << drawing(8, 10, {{3, "   |--|"}, {4, "***|ab|***"}, {5, "   |--|"}});

        Chart bare = grid(8, 10);
        bare.drawBorders = false;
        bare.boxes = {box(0.4, 0.5, {"abc", "a"})};
        bare.connectors = {acrossRow(3), acrossRow(4), acrossRow(5), acrossRow(6)};
        QTest::newRow("no borders: marks border places, never text or filler")
            << bare << drawing(8, 10, {{3, "**********"}, {4, "****abc***"}, {5, "****a  ***"}, {6, "**********"}});

        Chart rowZero = grid(8, 10);
        rowZero.connectors = {{{0.5f, 0.01f}, {0.01f, 0.5f}, {0.5f, 0.5f}}};
        QTest::newRow("rounded row or column 0 not shown") << rowZero << drawing(8, 10, {{3, "    *"}});

        Chart edges = grid(8, 10);
        edges.connectors = {{{0.0f, 0.5f}, {1.1f, 0.5f}, {0.5f, 1.125f}, {0.5f, 0.0f}}};
        QTest::newRow("off-grid columns never wrap into neighbouring rows") << edges << drawing(8, 10, {});
    }

    void render_marksConnectorsOnlyOnFreeCells() { compareDrawing(); }

    void render_roundsHalvesAwayFromZero_data()
    {
        addColumns();
        Chart half = grid(8, 10);
        half.boxes = {box(0.25, 0.25, {"ab"})};
        QTest::newRow("box at 2.5 goes to 3") << half << drawing(8, 10, {{1, "  |--|"}, {2, "  |ab|"}, {3, "  |--|"}});

        Chart negative = grid(8, 10);
        negative.boxes = {box(-0.25, 0.25, {"abcd"})};
        QTest::newRow("box at -2.5 goes to -3") << negative << drawing(8, 10, {{1, "-|"}, {2, "d|"}, {3, "-|"}});

        Chart belowHalf = grid(8, 8);
        belowHalf.boxes = {box(std::nextafter(0.0625, 0.0), 0.25, {"a"})};
        QTest::newRow("box just below a half goes down")
            << belowHalf << drawing(8, 8, {{1, "-|"}, {2, "a|"}, {3, "-|"}});

        // 0.0409836061 x 61 is just below 2.5 in double precision but exactly 2.5 in single.
        Chart boxDouble = grid(61, 10);
        boxDouble.boxes = {box(0.5, 0.0409836061, {"a"})};
        QTest::newRow("box rounded in double precision")
            << boxDouble << drawing(61, 10, {{1, "    |-|"}, {2, "    |a|"}, {3, "    |-|"}});

        Chart connectorHalf = grid(8, 10);
        connectorHalf.connectors = {{{0.25f, 0.3125f}}};
        QTest::newRow("connector at 2.5 goes to 3") << connectorHalf << drawing(8, 10, {{2, "  *"}});

        Chart connectorBelowHalf = grid(8, 8);
        connectorBelowHalf.connectors = {{{std::nextafter(0.0625f, 0.0f), 0.5f}, {0.5f, 0.5f}}};
        QTest::newRow("connector at 0.49999997 goes to 0")
            << connectorBelowHalf << drawing(8, 8, {{3, "   *"}});

        // 0.092105262f x 114 is exactly 10.5 in single precision but just below it in double.
        Chart connectorSingle = grid(4, 114);
        connectorSingle.connectors = {{{0.092105262f, 0.5f}}};
        QTest::newRow("connector rounded in single precision")
            << connectorSingle << drawing(4, 114, {{1, QString(10, QLatin1Char(' ')) + "*"}});
    }

    void render_roundsHalvesAwayFromZero() { compareDrawing(); }

    void render_ignoresNonFinitePositions_data()
    {
        addColumns();
        Chart boxes = grid(8, 10);
        boxes.boxes = {box(double(notANumber), 0.5, {"a"}), box(0.5, double(infinity), {"b"}), box(-double(infinity), 0.5, {"c"}),
                       box(1e30, 0.5, {"d"}), box(0.5, -1e30, {"e"}), box(-1e30, 1e30, {"f"}),
                       box(0.2, 0.25, {"ok"})};
        QTest::newRow("boxes") << boxes << drawing(8, 10, {{1, " |--|"}, {2, " |ok|"}, {3, " |--|"}});

        Chart connectors = grid(8, 10);
        connectors.connectors = {{{notANumber, 0.5f}, {0.5f, notANumber}, {infinity, 0.5f}, {0.5f, -infinity}, {1e30f, 0.5f},
                                  {0.5f, -1e30f}, {std::numeric_limits<float>::max(), 0.5f}, {0.5f, 0.5f}}};
        QTest::newRow("connectors") << connectors << drawing(8, 10, {{3, "    *"}});
    }

    void render_ignoresNonFinitePositions() { compareDrawing(); }

    void render_framesEveryRowWithTags_data()
    {
        addColumns();
        Chart slashes = grid(2, 3);
        slashes.startTag = "// ";
        QTest::newRow("comment start, no end") << slashes << QStringList{"//    ", "//    "};

        Chart bold = grid(2, 3);
        bold.startTag = "<b>";
        bold.endTag = "</b>";
        bold.boxes = {box(0.0, 0.0, {"x"})};
        QTest::newRow("html-looking tags kept verbatim") << bold << QStringList{"<b>x| </b>", "<b>-| </b>"};

        Chart comment = grid(3, 4);
        comment.startTag = "<!-- ";
        comment.endTag = " -->";
        QTest::newRow("comment tags") << comment << drawing(3, 4, {}, "<!-- ", " -->");
    }

    void render_framesEveryRowWithTags() { compareDrawing(); }

    void render_degenerateGridSizes_data()
    {
        addColumns();
        Chart busy;
        busy.boxes = {box(0.2, 0.2, {"ab", "c"}), box(0.0, 0.0, {"\t"})};
        busy.connectors = {{{0.5f, 0.5f}, {0.0f, 0.0f}, {1.0f, 1.0f}}};
        busy.startTag = "[";
        busy.endTag = "]";

        Chart noRows = busy;
        noRows.cols = 10;
        QTest::newRow("no rows gives nothing") << noRows << QStringList();

        Chart negativeRows = busy;
        negativeRows.rows = -3;
        negativeRows.cols = 10;
        QTest::newRow("negative rows give nothing") << negativeRows << QStringList();

        Chart noCols = busy;
        noCols.rows = 3;
        QTest::newRow("no columns give bare tags") << noCols << QStringList{"[]", "[]", "[]"};

        Chart negativeCols = busy;
        negativeCols.rows = 2;
        negativeCols.cols = -5;
        QTest::newRow("negative columns give bare tags") << negativeCols << QStringList{"[]", "[]"};

        Chart single = busy;
        single.rows = 1;
        single.cols = 1;
        QTest::newRow("one cell") << single << QStringList{"[ ]"};
    }

    void render_degenerateGridSizes() { compareDrawing(); }

    void render_keepsNoStateBetweenCalls()
    {
        Chart small = grid(8, 16);
        small.boxes = {box(0.0625, 0.25, {"a\tb"})};
        small.connectors = {acrossRow(0)};
        Chart large = grid(20, 30);
        large.boxes = {box(0.5, 0.5, {"zzzzzzzzzz", "z"})};
        large.connectors = {acrossRow(1)};
        const QStringList first = draw(small);
        draw(large);
        QCOMPARE(draw(small), first);
    }
};

QTEST_APPLESS_MAIN(TestCharGrid)

#include "tst_chargrid.moc"
