#include "chargrid.h"
#include "chartfiles.h"
#include "commandline.h"
#include "connectorfill.h"
#include "snapshotstore.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cfloat>
#include <optional>

using Points = QVector<QPoint>;

namespace {

struct Chart {
    int rows = 0, cols = 0;
    std::vector<CharGrid::Box> boxes{};
    std::vector<CharGrid::Fractions> connectors{};
    bool drawBorders = true;
    QPoint shift{-1, -1};
    QString startTag{}, endTag{};
};

const auto box = [](double x, double y, const QStringList& lines) { return CharGrid::Box{QPointF(x, y), lines}; };

// Cells of an 8 x 14 grid, walked from (row, col) by R, L, U, D, with "." repeating the cell.
CharGrid::Fractions walk(int row, int col, const char* moves)
{
    CharGrid::Fractions points{{col / 14.0f, row / 8.0f}};
    for (; *moves; ++moves)
        points.push_back({(col += (*moves == 'R') - (*moves == 'L')) / 14.0f, (row += (*moves == 'D') - (*moves == 'U')) / 8.0f});
    return points;
}

// The drawing's rows: `top` and then blank ones, each padded to the grid's width and framed by the tags.
QStringList padded(const Chart& chart, const QStringList& top)
{
    QStringList rows;
    for (int r = 0; r < chart.rows; ++r)
        rows << chart.startTag + top.value(r).leftJustified(chart.cols, QLatin1Char(' ')) + chart.endTag;
    return rows;
}

const auto styled = [](std::vector<CharGrid::Box> b, std::vector<CharGrid::Fractions> w) { return Chart{8, 14, b, w, true, {0, 0}}; };

// The chart rendered by the input's defaults, or in the style and with the heads given.
std::vector<QString> renderIn(const Chart& chart, std::optional<CharGrid::Style> style = {}, CharGrid::Arrows arrows = {})
{
    CharGrid::Input input{chart.rows, chart.cols, chart.boxes, {}, chart.drawBorders, chart.shift, chart.startTag, chart.endTag};
    input.style = style.value_or(input.style);
    input.arrows = style ? arrows : input.arrows;
    for (const CharGrid::Fractions& points : chart.connectors)
        input.connectors.push_back(&points);
    return CharGrid::render(input);
}

} // namespace

Q_DECLARE_METATYPE(Chart)
Q_DECLARE_METATYPE(CharGrid::Arrows)

// The QtCore-only chart library: character grid, gap filling, command line, file names.
class TestChart : public QObject
{
    Q_OBJECT

private slots:
    // `top` lists the drawing's first rows; the rest are blank, and every row is padded and framed by the tags.
    void render_drawsChartIntoFramedRows_data()
    {
        QTest::addColumn<Chart>("chart");
        QTest::addColumn<QStringList>("top");
        QTest::newRow("box framed at its proportion, 2.5 rounded to 3; tags kept verbatim")
            << Chart{8, 10, {box(0.25, 0.25, {"abc", "a"})}, {}, true, {-1, -1}, "<b>", "</b>"}
            << QStringList{"", "  |---|", "  |abc|", "  |a  |", "  |---|"};
        QTest::newRow("clipped at right and bottom, never wrapped") << Chart{8, 10, {box(0.8, 0.875, {"abcd", "ef"})}}
            << QStringList{"", "", "", "", "", "", "       |--", "       |ab"};
        QTest::newRow("tabs stop at multiples of 11 of the expanded line, before measuring")
            << Chart{5, 25, {box(0.04, 0.2, {"ab\tcd\te", "0123456789A\tb", "0123456789\tb"})}}
            << QStringList{"|-----------------------|", "|ab         cd         e|", "|0123456789A           b|",
                           "|0123456789 b           |", "|-----------------------|"};
        QTest::newRow("box at -2.5 goes to -3, clipped at left") << Chart{8, 10, {box(-0.25, 0.25, {"abcd"})}}
                                                                 << QStringList{"", "-|", "d|", "-|"};
        QTest::newRow("connector at 2.5 goes to 3, then x shifted to the column, y to the row")
            << Chart{8, 10, {}, {{{0.25f, 0.3125f}}}, true, QPoint(2, -1)} << QStringList{"", "", "     *"};
        // Points on the box's text, its filler and two of its border places.
        QTest::newRow("no borders: connector on border places, not on text or filler") << Chart{8, 10,
            {box(0.4, 0.5, {"abc", "a"})}, {{{0.5f, 0.625f}, {0.7f, 0.75f}, {0.4f, 0.625f}, {0.5f, 0.5f}}}, false}
            << QStringList{"", "", "", "    *", "   *abc", "    a"};
        QTest::newRow("off-grid connector cells never wrap")
            << Chart{8, 10, {}, {{{0.0f, 0.5f}, {1.1f, 0.5f}, {0.5f, 1.125f}, {0.5f, 0.0f}}}} << QStringList{};
        QTest::newRow("non-finite and far positions ignored")
            << Chart{8, 10, {box(0.5, qQNaN(), {"a"}), box(-1e30, 1e30, {"b"}), box(0.2, 0.25, {"ok"})},
                   {{{float(qQNaN()), 0.5f}, {0.5f, float(-qInf())}, {FLT_MAX, 0.5f}, {0.8f, 0.5f}}}}
            << QStringList{"", " |--|", " |ok|", " |--|  *"};
        QTest::newRow("negative rows give nothing") << Chart{-3, 10, {box(0.2, 0.2, {"ab"})}} << QStringList{};
        QTest::newRow("negative columns give bare tags")
            << Chart{2, -5, {box(0.2, 0.2, {"ab"})}, {{{0.5f, 0.5f}}}, true, {-1, -1}, "[", "]"} << QStringList{};
    }

    void render_drawsChartIntoFramedRows()
    {
        QFETCH(Chart, chart);
        QFETCH(QStringList, top);
        const std::vector<QString> rendered = renderIn(chart);
        QCOMPARE(QStringList(rendered.begin(), rendered.end()), padded(chart, top));
    }

    void render_stylesJoinConnectorCells_data()
    {
        using A = CharGrid::Arrows;
        const auto at = [](int row, int col, const QStringList& lines) { return box(col / 14.0, row / 8.0, lines); };
        QTest::addColumn<Chart>("chart");
        QTest::addColumn<A>("arrows");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("unicode");
        QTest::newRow("horizontal, head before a border") << styled({at(2, 1, {"a"}), at(2, 11, {"b"})}, {walk(2, 2, "RRRR.RRRR")}) << A::End
            << QStringList{"", "+-+       +-+", "|a|------>|b|", "+-+       +-+"}
            << QStringList{"", "┌─┐       ┌─┐", "│a│──────▶│b│", "└─┘       └─┘"};
        QTest::newRow("vertical, both heads") << styled({at(1, 2, {"a"}), at(6, 2, {"b"})}, {walk(2, 2, "DDD")}) << A::Both
            << QStringList{" +-+", " |a|", " +-+", "  ^", "  v", " +-+", " |b|", " +-+"}
            << QStringList{" ┌─┐", " │a│", " └─┘", "  ▲", "  ▼", " ┌─┐", " │b│", " └─┘"};
        QTest::newRow("staircase to diagonal") << styled({at(1, 1, {"a"}), at(6, 9, {"b"})}, {walk(3, 3, "RDRDRDR")}) << A::End
            << QStringList{"+-+", "|a|", "+-+", "   \\", "    \\", "     \\  +-+", "      \\>|b|", "        +-+"}
            << QStringList{"┌─┐", "│a│", "└─┘", "   ╲", "    ╲", "     ╲  ┌─┐", "      ╲▶│b│", "        └─┘"};
        QTest::newRow("turns of long runs") << styled({}, {walk(1, 1, "RRRDDDLLLUU"), walk(6, 8, "UURRR")}) << A::End
            << QStringList{"", " ---+", " ^  |", " |  |", " +--+   +-->", "        |", "        |"}
            << QStringList{"", " ───┐", " ▲  │", " │  │", " └──┘   ┌──▶", "        │", "        │"};
        QTest::newRow("crossings both ways, heads away") << styled({}, {walk(3, 1, "RRRRRRRR"), walk(1, 5, "DDDDD"), walk(5, 7, "LLLL")})
            << A::Both << QStringList{"", "     ^", "     |", " <---+--->", "     |", "   <-+->", "     v"}
            << QStringList{"", "     ▲", "     │", " ◀───┼───▶", "     │", "   ◀─┼─▶", "     ▼"};
        QTest::newRow("wiggle: jogs slant") << styled({}, {walk(2, 1, "RRR.DRRRURRR")}) << A::End
            << QStringList{"", "", " ---   /-->", "    \\--"}
            << QStringList{"", "", " ───   ╱──▶", "    ╲──"};
        QTest::newRow("under a box, no heads") << styled({at(3, 5, {"ab"})}, {walk(3, 0, "RRRRRRRRRRRR")}) << A::None
            << QStringList{"", "", "    +--+", "----|ab|-----", "    +--+"}
            << QStringList{"", "", "    ┌──┐", "────│ab│─────", "    └──┘"};
    }

    void render_stylesJoinConnectorCells()
    {
        QFETCH(Chart, chart);
        QFETCH(CharGrid::Arrows, arrows);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, unicode);
        for (const auto& [style, top] : {std::pair(CharGrid::Style::Lines, lines), {CharGrid::Style::Unicode, unicode}}) {
            const std::vector<QString> rendered = renderIn(chart, style, arrows);
            QCOMPARE(QStringList(rendered.begin(), rendered.end()), padded(chart, top));
        }
    }

    // Over random charts: classic draws as the default input does, whatever the heads; lines writes only
    // where classic puts a "*", or turns a "|" box corner into a "+".
    void render_stylesAgreeWithClassicOnRandomCharts()
    {
        QRandomGenerator rng(20261207);
        for (int round = 0; round < 300; ++round) {
            Chart chart{1 + rng.bounded(40), 1 + rng.bounded(60), {}, {}, rng.bounded(4) != 0, {-1, -1}, "// "};
            for (int b = rng.bounded(6); b > 0; --b)
                chart.boxes.push_back(box(rng.generateDouble() * 1.2 - 0.1, rng.generateDouble() * 1.2 - 0.1,
                    {QString(rng.bounded(6), 'a' + rng.bounded(26)) + "\t.", "", QString(rng.bounded(6), 'w')}));
            for (int c = rng.bounded(5); c > 0; --c) {
                QPointF p(rng.generateDouble(), rng.generateDouble());
                chart.connectors.emplace_back();
                for (int n = rng.bounded(300); n > 0; --n, p += QPointF(rng.generateDouble() - 0.45, rng.generateDouble() - 0.5) * 0.03)
                    chart.connectors.back().push_back({float(p.x()), float(p.y())});
            }
            const std::vector<QString> classic = renderIn(chart);
            for (const CharGrid::Arrows arrows : {CharGrid::Arrows::None, CharGrid::Arrows::End, CharGrid::Arrows::Both}) {
                QCOMPARE(renderIn(chart, CharGrid::Style::Classic, arrows), classic);
                const std::vector<QString> lines = renderIn(chart, CharGrid::Style::Lines, arrows);
                for (size_t r = 0; r < classic.size(); ++r) {
                    for (int c = 0; c < classic[r].size(); ++c) {
                        const QChar was = classic[r][c], now = lines[r][c];
                        QVERIFY2(was == now || (was == '*' && QString("-|\\/+<>^v ").contains(now)) || (was == '|' && now == '+'),
                            qPrintable(classic[r] + "\n" + lines[r]));
                    }
                }
            }
        }
    }

    // Gap points about one and a half apart, truncated toward zero; fractions per axis, an empty axis giving zero.
    void connectorFill_gapPointsAndFractions()
    {
        const auto gap = [](QPoint from, QPoint to, const Points& expected) {
            const std::vector<QPoint> filled = fillGap(from, to);
            QCOMPARE(Points(filled.begin(), filled.end()), expected);
        };
        gap({5, 5}, {5, 5}, {});
        gap({0, 0}, {2, 0}, {{1, 0}});
        gap({0, 0}, {4, 3}, {{1, 0}, {2, 1}, {3, 2}});
        gap({-10, -10}, {-16, -10}, {{-11, -10}, {-12, -10}, {-13, -10}, {-14, -10}});
        QCOMPARE(fractionOf(QPoint(200, 50), QSize(400, 200)), qMakePair(0.5f, 0.25f));
        QCOMPARE(fractionOf(QPoint(7, 9), QSize(0, 10)), qMakePair(0.0f, 0.9f));
    }

    void chartFile_onlyWhenExactlyOneArgument()
    {
        const char* argv[] = {"vandora", "a b/\u00fcbersicht.fcb", "b.fcb", nullptr};
        QCOMPARE(chartFileFromArguments(1, argv), QString());
        QCOMPARE(chartFileFromArguments(2, argv), QStringLiteral("a b/\u00fcbersicht.fcb"));
        QCOMPARE(chartFileFromArguments(3, argv), QString());
    }

    void names_backupAndFolder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("backup");
        QTest::addColumn<QString>("folder");
        QTest::newRow("last suffix replaced; no folder") << "plan.old.txt" << "plan.old.fcb" << "plan.old.txt";
        QTest::newRow("folder dot") << "/tmp/my.charts/plan" << "/tmp/my.charts/plan.fcb" << "/tmp/my.charts/";
        QTest::newRow("trailing dot") << "/a/plan." << "/a/plan.fcb" << "/a/";
    }

    void names_backupAndFolder()
    {
        QFETCH(QString, name);
        QTEST(ChartFiles::backupNameFor(name), "backup");
        QTEST(ChartFiles::folderOf(name), "folder");
    }

    void settingsFile_movesToConfigFolderWhenProgramFolderIsReadOnly()
    {
        const QString program = "/usr/lib/vandora", config = "/home/u/.config/V", file = "/flowChart.settings";
        QCOMPARE(ChartFiles::settingsFilePath(program, true, config), program + file);
        QCOMPARE(ChartFiles::settingsFilePath(program, false, config), config + file);
    }

    // Random edits, undo-style truncations and budget drops: every entry reads back as appended.
    void snapshotStore_readsBackEveryEntry_data()
    {
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("edit");
        for (int interval : {1, 4, 32})
            for (int edit : {1, 40, 5000})
                QTest::addRow("every %d, edits of %d", interval, edit) << interval << edit;
    }
    void snapshotStore_readsBackEveryEntry()
    {
        QFETCH(int, interval);
        QFETCH(int, edit);
        QRandomGenerator rng(uint(interval * 7919 + edit));
        SnapshotStore store(interval);
        std::vector<QByteArray> kept;
        QByteArray current(3000, 'x');
        qint64 appended = 0;
        for (int step = 0; step < 300; ++step) {
            const int at = rng.bounded(current.size() + 1);
            const int cut = std::min(rng.bounded(edit + 1), current.size() - at);
            current.replace(at, cut, QByteArray(rng.bounded(edit + 1), char('a' + rng.bounded(26))));
            const int action = kept.empty() ? 2 : rng.bounded(10);
            const int keep = action == 0 ? rng.bounded(int(kept.size()) + 1) : int(kept.size()) - (action == 1);
            action == 1 ? store.dropFront() : store.truncate(keep);
            kept.erase(action == 1 ? kept.begin() : kept.begin() + keep, action == 1 ? kept.begin() + 1 : kept.end());
            store.append(current);
            kept.push_back(current);
            appended += current.size();
            QCOMPARE(store.size(), int(kept.size()));
            const int probe = rng.bounded(store.size());
            QCOMPARE(store.at(probe), kept[size_t(probe)]);
        }
        for (int i = store.size() - 1; i >= 0; --i)
            QCOMPARE(store.at(i), kept[size_t(i)]);
        // Small edits share the unchanged bytes; whole snapshots every entry share nothing.
        if (interval > 1 && edit < 100)
            QVERIFY(store.bytesHeld() * 5 < appended);
    }
};

QTEST_APPLESS_MAIN(TestChart)
#include "tst_chart.moc"
