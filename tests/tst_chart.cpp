#include "chargrid.h"
#include "commandline.h"
#include "connectorfill.h"

#include <QtTest>

#include <cfloat>

using Points = QVector<QPoint>;

namespace {

struct Chart {
    int rows = 0;
    int cols = 0;
    std::vector<CharGrid::Box> boxes{};
    std::vector<CharGrid::Fractions> connectors{};
    bool drawBorders = true;
    QPoint shift{-1, -1};
    QString startTag{};
    QString endTag{};
};

CharGrid::Box box(double x, double y, const QStringList& lines)
{
    return CharGrid::Box{QPointF(x, y), lines};
}

// A connector through every column of a 10-column, 8-row grid, one row below `row` before the shift.
CharGrid::Fractions acrossRow(int row)
{
    CharGrid::Fractions points;
    for (int k = 1; k <= 10; ++k)
        points.push_back({k / 10.0f, (row + 1) / 8.0f});
    return points;
}

} // namespace

Q_DECLARE_METATYPE(Chart)

// The QtCore-only chart library: character grid, gap filling, command line.
class TestChart : public QObject
{
    Q_OBJECT

private slots:
    void expandTabs_movesToNextMultipleOfEleven_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("expected");
        QTest::newRow("after ten chars") << "0123456789\tb" << "0123456789 b";
        QTest::newRow("on a stop") << "0123456789A\tb" << "0123456789A           b";
        QTest::newRow("counted on expanded text") << "ab\tcd\te" << "ab         cd         e";
    }

    void expandTabs_movesToNextMultipleOfEleven()
    {
        QFETCH(QString, line);
        QFETCH(QString, expected);
        QCOMPARE(CharGrid::expandTabs(line), expected);
    }

    // `top` lists the drawing's first rows; the rest are blank, and every row is padded and framed by the tags.
    void render_drawsChartIntoFramedRows_data()
    {
        QTest::addColumn<Chart>("chart");
        QTest::addColumn<QStringList>("top");
        QTest::newRow("box framed at its proportion, 2.5 rounded to 3")
            << Chart{8, 10, {box(0.25, 0.25, {"abc", "a"})}}
            << QStringList{"", "  |---|", "  |abc|", "  |a  |", "  |---|"};
        QTest::newRow("clipped at right and bottom, never wrapped")
            << Chart{8, 10, {box(0.8, 0.875, {"abcd", "ef"})}}
            << QStringList{"", "", "", "", "", "", "       |--", "       |ab"};
        QTest::newRow("tab expanded before measuring")
            << Chart{8, 16, {box(0.0625, 0.25, {"a\tb"})}}
            << QStringList{"", "|------------|", "|a          b|", "|------------|"};
        QTest::newRow("box at -2.5 goes to -3, clipped at left")
            << Chart{8, 10, {box(-0.25, 0.25, {"abcd"})}} << QStringList{"", "-|", "d|", "-|"};
        QTest::newRow("connector at 2.5 goes to 3, then shifted")
            << Chart{8, 10, {}, {{{0.25f, 0.3125f}}}} << QStringList{"", "", "  *"};
        QTest::newRow("shift: x to column, y to row")
            << Chart{8, 10, {}, {{{0.5f, 0.25f}}}, true, QPoint(2, -1)} << QStringList{"", "       *"};
        QTest::newRow("no borders: connector on border places, not on text or filler")
            << Chart{8, 10, {box(0.4, 0.5, {"abc", "a"})},
                   {acrossRow(3), acrossRow(4), acrossRow(5), acrossRow(6)}, false}
            << QStringList{"", "", "", "**********", "****abc***", "****a  ***", "**********"};
        QTest::newRow("off-grid connector cells never wrap")
            << Chart{8, 10, {}, {{{0.0f, 0.5f}, {1.1f, 0.5f}, {0.5f, 1.125f}, {0.5f, 0.0f}}}} << QStringList{};
        QTest::newRow("non-finite and far positions ignored")
            << Chart{8, 10, {box(0.5, qQNaN(), {"a"}), box(-1e30, 1e30, {"b"}), box(0.2, 0.25, {"ok"})},
                   {{{float(qQNaN()), 0.5f}, {0.5f, float(-qInf())}, {FLT_MAX, 0.5f}, {0.8f, 0.5f}}}}
            << QStringList{"", " |--|", " |ok|", " |--|  *"};
        QTest::newRow("tags kept verbatim") << Chart{2, 3, {box(0, 0, {"x"})}, {}, true, {-1, -1}, "<b>", "</b>"}
                                            << QStringList{"x|", "-|"};
        QTest::newRow("negative rows give nothing") << Chart{-3, 10, {box(0.2, 0.2, {"ab"})}} << QStringList{};
        QTest::newRow("negative columns give bare tags")
            << Chart{2, -5, {box(0.2, 0.2, {"ab"})}, {{{0.5f, 0.5f}}}, true, {-1, -1}, "[", "]"} << QStringList{};
    }

    void render_drawsChartIntoFramedRows()
    {
        QFETCH(Chart, chart);
        QFETCH(QStringList, top);
        CharGrid::Input input{chart.rows, chart.cols, chart.boxes, {}, chart.drawBorders, chart.shift,
            chart.startTag, chart.endTag};
        for (const CharGrid::Fractions& points : chart.connectors)
            input.connectors.push_back(&points);
        const std::vector<QString> rendered = CharGrid::render(input);

        QStringList expected = top;
        while (expected.size() < chart.rows)
            expected << QString();
        for (QString& row : expected)
            row = chart.startTag + row.leftJustified(chart.cols, QLatin1Char(' ')) + chart.endTag;
        QCOMPARE(QStringList(rendered.begin(), rendered.end()), expected);
    }

    void fillGap_pointsAboutOneAndAHalfApart_data()
    {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<Points>("expected");
        QTest::newRow("same point") << QPoint(5, 5) << QPoint(5, 5) << Points{};
        QTest::newRow("2 px gets its midpoint") << QPoint(0, 0) << QPoint(2, 0) << Points{{1, 0}};
        QTest::newRow("diagonal 3-4-5") << QPoint(0, 0) << QPoint(4, 3) << Points{{1, 0}, {2, 1}, {3, 2}};
        QTest::newRow("negative coordinates truncate toward zero")
            << QPoint(-10, -10) << QPoint(-16, -10) << Points{{-11, -10}, {-12, -10}, {-13, -10}, {-14, -10}};
    }

    void fillGap_pointsAboutOneAndAHalfApart()
    {
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(Points, expected);
        const std::vector<QPoint> filled = fillGap(from, to);
        QCOMPARE(Points(filled.begin(), filled.end()), expected);
    }

    void fractionOf_dividesEachAxisByItsExtent_emptyAxisGivesZero()
    {
        QCOMPARE(fractionOf(QPoint(200, 50), QSize(400, 200)), qMakePair(0.5f, 0.25f));
        QCOMPARE(fractionOf(QPoint(7, 9), QSize(0, 10)), qMakePair(0.0f, 0.9f));
    }

    void chartFile_onlyWhenExactlyOneArgument()
    {
        const char* none[] = {"vandora", nullptr};
        const char* one[] = {"vandora", "a b/\u00fcbersicht.fcb", nullptr};
        const char* two[] = {"vandora", "a.fcb", "b.fcb", nullptr};
        QCOMPARE(chartFileFromArguments(1, none), QString());
        QCOMPARE(chartFileFromArguments(2, one), QStringLiteral("a b/\u00fcbersicht.fcb"));
        QCOMPARE(chartFileFromArguments(3, two), QString());
    }
};

QTEST_APPLESS_MAIN(TestChart)
#include "tst_chart.moc"
