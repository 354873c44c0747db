#include "chargrid.h"
#include "chartfiles.h"
#include "chartrender.h"
#include "commandline.h"
#include "gridcrop.h"
#include "labels.h"
#include "programinfo.h"
#include "snapshotstore.h"
#include "textchange.h"
#include "textcolumns.h"
#include "windowfit.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <cfloat>
#include <csignal>
#include <optional>

#include <sys/resource.h>

using Arrows = CharGrid::Arrows;

namespace {

struct Chart {
    int rows = 8, cols = 14;
    std::vector<CharGrid::Box> boxes{};
    std::vector<CharGrid::Fractions> connectors{};
    bool drawBorders = true;
    QPoint shift{-1, -1};
    QString startTag{}, endTag{};
};

const auto box = [](double x, double y, const QStringList& lines) { return CharGrid::Box{QPointF(x, y), lines}; };

// Cells of an 8 x 14 grid, less the shift, walked from (row, col) by R, L, U, D, with "." repeating the cell.
CharGrid::Fractions walk(int row, int col, const char* moves)
{
    CharGrid::Fractions points{{(col + 1) / 14.0f, (row + 1) / 8.0f}};
    for (; *moves; ++moves)
        points.push_back({(1 + (col += (*moves == 'R') - (*moves == 'L'))) / 14.0f, (1 + (row += (*moves == 'D') - (*moves == 'U'))) / 8.0f});
    return points;
}

// The drawing's rows: `top` and then blank ones, each padded to the grid's width and framed by the tags.
QStringList padded(const Chart& chart, const QStringList& top)
{
    QStringList rows;
    for (int r = 0; r < chart.rows; ++r)
        rows << chart.startTag + top.value(r) + QString(chart.cols - TextColumns::columnsOf(top.value(r)), ' ') + chart.endTag;
    return rows;
}

// The chart rendered by the input's defaults, or in the style and with the heads given.
QStringList renderIn(const Chart& chart, std::optional<CharGrid::Style> style = {}, Arrows arrows = {})
{
    CharGrid::Input input{chart.rows, chart.cols, chart.boxes, {}, chart.drawBorders, chart.shift, chart.startTag, chart.endTag};
    input.style = style.value_or(input.style);
    input.arrows = style ? arrows : input.arrows;
    for (const CharGrid::Fractions& points : chart.connectors)
        input.connectors.push_back(&points);
    const std::vector<QString> rows = CharGrid::render(input);
    return QStringList(rows.begin(), rows.end());
}

} // namespace

Q_DECLARE_METATYPE(Chart)
Q_DECLARE_METATYPE(CharGrid::Arrows)

// The QtCore-only chart library: character grid, command line, file writes, snapshots.
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
            << Chart{8, 10, {box(0.25, 0.25, {"abc", "a"})}, {}, true, {-1, -1}, "<b>", "</b>"} << QStringList{"", "  |---|", "  |abc|", "  |a  |", "  |---|"};
        QTest::newRow("clipped at right and bottom, never wrapped")
            << Chart{8, 10, {box(0.8, 0.875, {"abcd", "ef"})}} << QStringList{"", "", "", "", "", "", "       |--", "       |ab"};
        QTest::newRow("tabs stop at multiples of 11 of the expanded line, before measuring")
            << Chart{5, 25, {box(0.04, 0.2, {"ab\tcd\te", "0123456789A\tb", "0123456789\tb"})}}
            << QStringList{"|-----------------------|", "|ab         cd         e|", "|0123456789A           b|", "|0123456789 b           |",
                   "|-----------------------|"};
        QTest::newRow("box at -2.5 goes to -3, clipped at left") << Chart{8, 10, {box(-0.25, 0.25, {"abcd"})}} << QStringList{"", "-|", "d|", "-|"};
        QTest::newRow("connector at 2.5 goes to 3, then x shifted to the column, y to the row")
            << Chart{8, 10, {}, {{{0.25f, 0.3125f}}}, true, QPoint(2, -1)} << QStringList{"", "", "     *"};
        // Points on the box's text, its filler and two of its border places.
        QTest::newRow("no borders: connector on border places, not on text or filler") << Chart{8, 10, {box(0.4, 0.5, {"abc", "a"})},
            {{{0.5f, 0.625f}, {0.7f, 0.75f}, {0.4f, 0.625f}, {0.5f, 0.5f}}}, false} << QStringList{"", "", "", "    *", "   *abc", "    a"};
        QTest::newRow("non-finite, far and off-grid positions ignored, never wrapped")
            << Chart{8, 10, {box(0.5, qQNaN(), {"a"}), box(-1e30, 1e30, {"b"}), box(0.2, 0.25, {"ok"})},
                   {{{float(qQNaN()), 0.5f}, {0.5f, float(-qInf())}, {FLT_MAX, 0.5f}, {0.8f, 0.5f}, {0.0f, 0.5f}, {1.1f, 0.5f}, {0.5f, 1.125f}, {0.5f, 0.0f}}}}
            << QStringList{"", " |--|", " |ok|", " |--|  *"};
        QTest::newRow("mixed widths, an emoji, a combining accent joins its letter")
            << Chart{8, 12, {box(0.1, 0.25, {"a漢b", "😀é", "e\u0301x"})}} << QStringList{"", "|----|", "|a漢b|", "|😀é |", "|e\u0301x  |", "|----|"};
        QTest::newRow("wide characters cut by the edges leave spaces") << Chart{8, 10, {box(0.6, 0.25, {"a漢字"}), box(-0.1, 0.75, {"漢b"})}}
                                                                       << QStringList{"", "     |----", "     |a漢 ", "     |----", "", "--|", " b|", "--|"};
        QTest::newRow("a later box covers half a wide character, the other half a space")
            << Chart{8, 10, {box(0.1, 0.25, {"漢字"}), box(0.3, 0.25, {"x"})}} << QStringList{"", "|-|-||", "| |x||", "|-|-||"};
        QTest::newRow("negative rows give nothing") << Chart{-3, 10, {box(0.2, 0.2, {"ab"})}} << QStringList{};
        QTest::newRow("negative columns give bare tags") << Chart{2, -5, {box(0.2, 0.2, {"ab"})}, {{{0.5f, 0.5f}}}, true, {-1, -1}, "[", "]"} << QStringList{};
    }

    void render_drawsChartIntoFramedRows()
    {
        QFETCH(Chart, chart);
        QFETCH(QStringList, top);
        QCOMPARE(renderIn(chart), padded(chart, top));
    }

    void render_stylesJoinConnectorCells_data()
    {
        const auto at = [](int row, int col, const QStringList& lines) { return box(col / 14.0, row / 8.0, lines); };
        QTest::addColumn<Chart>("chart");
        QTest::addColumn<Arrows>("arrows");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("horizontal, head before a border") << Chart{8, 14, {at(2, 1, {"a"}), at(2, 11, {"b"})}, {walk(2, 2, "RRRR.RRRR")}} << Arrows::End
                                                          << QStringList{"", "+-+       +-+", "|a|------>|b|", "+-+       +-+"};
        QTest::newRow("vertical, both heads") << Chart{8, 14, {at(1, 2, {"a"}), at(6, 2, {"b"})}, {walk(2, 2, "DDD")}} << Arrows::Both
                                              << QStringList{" +-+", " |a|", " +-+", "  ^", "  v", " +-+", " |b|", " +-+"};
        QTest::newRow("staircase to diagonal") << Chart{8, 14, {at(1, 1, {"a"}), at(6, 9, {"b"})}, {walk(3, 3, "RDRDRDR")}} << Arrows::End
                                               << QStringList{"+-+", "|a|", "+-+", "   \\", "    \\", "     \\  +-+", "      \\>|b|", "        +-+"};
        QTest::newRow("turns of long runs") << Chart{8, 14, {}, {walk(1, 1, "RRRDDDLLLUU"), walk(6, 8, "UURRR")}} << Arrows::End
                                            << QStringList{"", " ---+", " ^  |", " |  |", " +--+   +-->", "        |", "        |"};
        QTest::newRow("crossings both ways, heads away") << Chart{8, 14, {}, {walk(3, 1, "RRRRRRRR"), walk(1, 5, "DDDDD"), walk(5, 7, "LLLL")}} << Arrows::Both
                                                         << QStringList{"", "     ^", "     |", " <---+--->", "     |", "   <-+->", "     v"};
        QTest::newRow("wiggle: jogs slant") << Chart{8, 14, {}, {walk(2, 1, "RRR.DRRRURRR")}} << Arrows::End << QStringList{"", "", " ---   /-->", "    \\--"};
        QTest::newRow("heads along the last three steps, as steep as wide pointing down") << Chart{8, 14, {},
            {walk(1, 1, "DRDRDR"), walk(6, 6, "RRRRU")}} << Arrows::Both << QStringList{"", " ^", "  \\", "   \\", "    v", "          >", "      <---"};
        QTest::newRow("two cells, a head on the second") << Chart{8, 14, {}, {walk(1, 1, "R")}} << Arrows::End << QStringList{"", " ->"};
        QTest::newRow("under a wide character, no heads")
            << Chart{8, 14, {at(2, 3, {"漢"})}, {walk(2, 0, "RRRRRRRR")}} << Arrows::None << QStringList{"", "  +--+", "--|漢|---", "  +--+"};
        QTest::newRow("under a box, no heads") << Chart{8, 14, {at(3, 5, {"ab"})}, {walk(3, 0, "RRRRRRRRRRRR")}} << Arrows::None
                                               << QStringList{"", "", "    +--+", "----|ab|-----", "    +--+"};
    }

    void render_stylesJoinConnectorCells()
    {
        QFETCH(Chart, chart);
        QFETCH(Arrows, arrows);
        QFETCH(QStringList, lines);
        QCOMPARE(renderIn(chart, CharGrid::Style::Lines, arrows), padded(chart, lines));
    }

    // Whatever wide, joined, tabbed or cut characters a random chart holds, every row in every style is as many
    // columns as the grid plus its tags.
    void render_randomWideCharts_rowsAsWideAsTheGrid()
    {
        const quint32 seed = QRandomGenerator::global()->generate();
        qInfo("seed %u", seed);
        QRandomGenerator rng(seed);
        const QStringList pieces{"a", "漢", "😀", "e\u0301", "\u0301", "\t", "─", "Ａ"};
        for (int round = 0; round < 300; ++round) {
            Chart chart{rng.bounded(12), rng.bounded(24), {}, {}, rng.bounded(2) == 0, {-1, -1}, "漢 ", "|"};
            for (int b = rng.bounded(6); b > 0; --b) {
                QStringList lines{""};
                for (int n = rng.bounded(12); n > 0; --n)
                    lines << (rng.bounded(5) > 0 ? lines.takeLast() : lines.last()) + pieces[rng.bounded(pieces.size())];
                chart.boxes.push_back(box(rng.generateDouble() * 1.2 - 0.1, rng.generateDouble() * 1.2 - 0.1, lines));
            }
            chart.connectors.push_back(walk(rng.bounded(8), rng.bounded(14), "RRDDR.RUULLLDDDRRRRUUR"));
            for (const QString& row : renderIn(chart, CharGrid::allStyles[rng.bounded(6)], Arrows::Both))
                QCOMPARE(TextColumns::columnsOf(row), 3 + chart.cols + 1);
        }
        QCOMPARE(CharGrid::expandTabs("漢\tb"), "漢" + QString(9, ' ') + "b");
    }

    // Cells as terminals count them: one or two columns each, zero-width characters joining the one before.
    void textColumns_countLikeTerminals_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("cells"); // each cell's code units and columns, in order
        QTest::newRow("CJK, fullwidth, halfwidth") << QStringLiteral("漢Ａｱ") << "units=1,1,1 columns=2,2,1";
        QTest::newRow("an emoji is a surrogate pair") << QStringLiteral("😀a") << "units=2,1 columns=2,1";
        QTest::newRow("an accent and a joiner join the letter") << QStringLiteral("e\u0301\u200Dx") << "units=3,1 columns=1,1";
        QTest::newRow("a mark first stands alone") << QStringLiteral("\u0301a") << "units=1,1 columns=1,1";
        QTest::newRow("ambiguous, box drawing: one") << QStringLiteral("±─►") << "units=1,1,1 columns=1,1,1";
        QTest::newRow("a lone surrogate takes one") << "a" + QString(QChar(0xD800)) << "units=1,1 columns=1,1";
    }

    void textColumns_countLikeTerminals()
    {
        QFETCH(QString, text);
        QStringList units, columns;
        for (const TextColumns::Cell& cell : TextColumns::cellsOf(text)) {
            units << QString::number(cell.length);
            columns << QString::number(cell.columns);
        }
        QFETCH(QString, cells);
        const Labels want(cells);
        QCOMPARE(labelled("units", units.join(',')), want["units"]);
        QCOMPARE(labelled("columns", columns.join(',')), want["columns"]);
    }

    // A box, long turns, crossings, both slants and both heads in each box-drawing style's own characters.
    void render_boxDrawingStylesUseTheirGlyphs_data()
    {
        QTest::addColumn<QStringList>("top"); // the row's name is the style's
        QTest::newRow("unicode") << QStringList{"       ▲", " ◄──┐   ╲", " ▲  │    ╲", "◄┼──┼───► ▼", " └──┘▲", "    ╱    ┌─┐", "   ╱     │b│", "  ▼      └─┘"};
        QTest::newRow("rounded") << QStringList{"       ▲", " ◄──╮   ╲", " ▲  │    ╲", "◄┼──┼───► ▼", " ╰──╯▲", "    ╱    ╭─╮", "   ╱     │b│", "  ▼      ╰─╯"};
        QTest::newRow("heavy") << QStringList{"       ▲", " ◄━━┓   ╲", " ▲  ┃    ╲", "◄╋━━╋━━━► ▼", " ┗━━┛▲", "    ╱    ┏━┓", "   ╱     ┃b┃", "  ▼      ┗━┛"};
        QTest::newRow("double") << QStringList{"       ▲", " ◄══╗   ╲", " ▲  ║    ╲", "◄╬══╬═══► ▼", " ╚══╝▲", "    ╱    ╔═╗", "   ╱     ║b║", "  ▼      ╚═╝"};
    }

    void render_boxDrawingStylesUseTheirGlyphs()
    {
        CharGrid::Style style{};
        QVERIFY(CharGrid::styleNamed(QTest::currentDataTag(), style));
        const Chart chart{
            8, 14, {box(10 / 14.0, 6 / 8.0, {"b"})}, {walk(1, 1, "RRRDDDLLLUU"), walk(3, 0, "RRRRRRRR"), walk(7, 2, "RURURU"), walk(0, 7, "RDRDRD")}};
        QFETCH(QStringList, top);
        QCOMPARE(renderIn(chart, style, Arrows::Both), padded(chart, top));
    }

    // Rows from the canvas's height, columns from its width.
    void emptyInput_takesCellsFromCanvasSize()
    {
        const CharGrid::Input input = ChartRender::emptyInput(QSize(70, 260), true, {}, {});
        QCOMPARE(input.rows, 20);
        QCOMPARE(input.cols, 10);
    }

    // Framed rows cut to the rows and columns that hold the chart; a blank row inside stays, and without an
    // end tag no row ends in spaces.
    void compact_cutsToTheChartsRowsAndColumns_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("tags"); // start and end
        QTest::addColumn<QStringList>("compact");
        const QStringList none{"", ""};
        QTest::newRow("no tags") << QStringList{"      ", "  ab  ", "      ", "   *  ", "      "} << none << QStringList{"ab", "", " *"};
        QTest::newRow("start tag") << QStringList{"// ab  ", "//     ", "//   c "} << QStringList{"// ", ""} << QStringList{"// ab", "//", "//   c"};
        QTest::newRow("both tags keep the columns") << QStringList{"/*  x   */", "/*   *  */"} << QStringList{"/* ", " */"}
                                                    << QStringList{"/* x  */", "/*  * */"};
        QTest::newRow("wide characters count two columns") << QStringList{"  漢字  |", "    b   |"} << QStringList{"", "|"} << QStringList{"漢字|", "  b |"};
        QTest::newRow("nothing to show") << QStringList{"#    ", "#  "} << QStringList{"# ", ""} << QStringList{};
    }

    void compact_cutsToTheChartsRowsAndColumns()
    {
        QFETCH(QStringList, rows);
        QFETCH(QStringList, tags);
        const std::vector<QString> compact = GridCrop::compact({rows.begin(), rows.end()}, tags[0], tags[1]);
        QTEST(QStringList(compact.begin(), compact.end()), "compact");
    }

    // Beside the program only in its writable build folder: never where it is installed, even for root.
    void settingsFilePath_besideProgramOnlyInItsBuildFolder()
    {
        const QString config = "/home/u/.config/vandora";
        QCOMPARE(ChartFiles::settingsFilePath("/src/build", true, true, config), "/src/build/flowChart.settings");
        QCOMPARE(ChartFiles::settingsFilePath("/src/build", true, false, config), config + "/flowChart.settings");
        QCOMPARE(ChartFiles::settingsFilePath("/src/build", false, true, config), config + "/flowChart.settings");
    }

    // The full-size window needs 1820 x 802 inside a frame of 4 px with a 30 px title bar; it is placed
    // (frame position and frameless size) only where it does not fit.
    void place_scrollsOnlyWhereTheWindowDoesNotFit()
    {
        for (const auto& [available, placed] : {std::pair(QRect(10, 0, 1828, 836), QRect()), {QRect(0, 24, 1366, 744), QRect(0, 24, 1358, 710)},
                 {QRect(0, 0, 1536, 864), QRect(0, 0, 1528, 802)}, {QRect(100, 0, 1827, 900), QRect(100, 0, 1819, 802)}}) {
            const WindowFit::Placement placement = WindowFit::place(QSize(1820, 802), available, QMargins(4, 30, 4, 4));
            QCOMPARE(placement.scroll, placed.isValid());
            QCOMPARE(placement.scroll ? QRect(placement.framePosition, placement.size) : QRect(), placed);
        }
    }

    // The window's arguments: what to do and the chart to open; the toolkit's options are passed over.
    void parse_findsActionAndChart_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("chart");
        QTest::newRow("one chart") << QStringList{"a b/\u00fcbersicht.fcb"} << QStringLiteral("run") << "a b/\u00fcbersicht.fcb";
        QTest::newRow("two charts open none") << QStringList{"a.fcb", "b.fcb"} << QStringLiteral("run") << QString();
        QTest::newRow("toolkit options") << QStringList{"-style", "fusion", "--platform=xcb", "-reverse", "--", "-a.fcb"} << QStringLiteral("run") << "-a.fcb";
        QTest::newRow("help") << QStringList{"a.fcb", "-h"} << QStringLiteral("help") << QString();
    }

    void parse_findsActionAndChart()
    {
        QFETCH(QStringList, arguments);
        const CommandLine::Request request = CommandLine::parse(QStringList{"vandora"} + arguments);
        QTEST(QString(QStringList{"run", "help", "version", "usage"}.at(int(request.action))), "action");
        QTEST(request.chartFile, "chart");
    }

    // The built program answers these with no display at all, before a window system is needed.
    void program_answersWithoutWindow()
    {
        const QString usage = CommandLine::usage();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY"), environment.remove("WAYLAND_DISPLAY"), environment.insert("QT_QPA_PLATFORM", "xcb");
        for (const auto& [argument, exitCode, answer] : {std::tuple("--help", 0, usage), {"--version", 0, "vandora " + ProgramInfo::version() + "\n"},
                 {"--bogus", 2, "vandora: Unknown option 'bogus'.\n\n" + usage}}) {
            QProcess program;
            program.setProcessEnvironment(environment);
            program.start(QStringLiteral(VANDORA_PATH), {argument});
            QVERIFY(program.waitForFinished(30000));
            QCOMPARE(program.exitCode(), exitCode);
            QCOMPARE(program.readAllStandardOutput() + program.readAllStandardError(), answer.toUtf8());
        }
    }

    // A write that falls short, as on a full disk (here a file size limit), fails and keeps the earlier file.
    void writeWhole_shortWriteFails_keepsEarlierFile()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("plan.fcb"));
        QString reason;
        QVERIFY(ChartFiles::writeWhole(name, "earlier", &reason));
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{64, limit.rlim_max};
        setrlimit(RLIMIT_FSIZE, &small);
        const bool written = ChartFiles::writeWhole(name, QByteArray(200, 'x'), &reason);
        setrlimit(RLIMIT_FSIZE, &limit);
        QVERIFY(!written);
        QVERIFY(!reason.isEmpty());
        QCOMPARE(contents(name), QByteArray("earlier"));
    }

    // When the second file cannot be replaced (here an append-only one), the first gets its earlier bytes back.
    void writeBoth_secondFails_putsFirstBack()
    {
        QTemporaryDir dir;
        const QString first = dir.filePath("plan.txt"), second = dir.filePath("plan.fcb");
        QVERIFY(ChartFiles::writeWhole(first, "earlier"));
        QVERIFY(ChartFiles::writeWhole(second, "backup"));
        if (QProcess::execute("chattr", {"+a", second}) != 0)
            QSKIP("no append-only files here");
        QString failed;
        const bool written = ChartFiles::writeBoth(first, "new", second, "new backup", &failed);
        QProcess::execute("chattr", {"-a", second});
        QVERIFY(!written);
        QCOMPARE(failed, second);
        QCOMPARE(contents(first), QByteArray("earlier"));
    }

    // The cursor goes before the common ending, which never reaches into the common beginning.
    void cursorAfter_endsBeforeTheCommonEnding()
    {
        QCOMPARE(TextChange::cursorAfter("abXcd", "abYZcd"), 4);
        QCOMPARE(TextChange::cursorAfter("aa", "aaa"), 3);
    }

    // Random edits, undo-style truncations and budget trims: every entry reads back as appended.
    void snapshotStore_readsBackEveryEntry_data()
    {
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("edit");
        for (const auto& [interval, edit] : {std::pair(1, 40), {1, 5000}, {4, 1}, {4, 5000}, {32, 40}})
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
            current.replace(at, std::min(rng.bounded(edit + 1), current.size() - at), QByteArray(rng.bounded(edit + 1), char('a' + rng.bounded(26))));
            const int action = kept.empty() ? 2 : rng.bounded(10);
            const qint64 budget = store.bytesHeld() - rng.bounded(int(store.bytesHeld() / 4) + 1);
            action == 1 ? store.trimTo(budget) : store.truncate(action == 0 ? rng.bounded(store.size() + 1) : store.size());
            QVERIFY(action != 1 || store.bytesHeld() <= budget || store.size() == 1);
            kept.erase(action == 1 ? kept.begin() : kept.begin() + store.size(), action == 1 ? kept.end() - store.size() : kept.end());
            store.append(current);
            kept.push_back(current);
            appended += current.size();
            const int probe = rng.bounded(store.size());
            QCOMPARE(store.at(probe), kept[size_t(probe)]);
        }
        for (int i = store.size() - 1; i >= 0; --i)
            QCOMPARE(store.at(i), kept[size_t(i)]);
        QCOMPARE(store.size(), int(kept.size()));
        // Small edits share the unchanged bytes; whole snapshots every entry share nothing.
        QVERIFY(interval == 1 || edit > 100 || store.bytesHeld() * 5 < appended);
    }

    // Snapshots of 10, 20 and 30 bytes, each kept whole: the oldest go while more than the budget is held, never the
    // newest.
    void snapshotStore_trimTo_dropsOldestWhileOverBudget()
    {
        for (const auto& [budget, kept] : {std::pair(60, 3), {59, 2}, {50, 2}, {49, 1}, {0, 1}}) {
            SnapshotStore store(1);
            for (int n : {1, 2, 3})
                store.append(QByteArray(10 * n - 1, 'a') + char('a' + n));
            store.trimTo(budget);
            QCOMPARE(store.size(), kept);
            QCOMPARE(store.at(kept - 1), QByteArray(29, 'a') + 'd');
        }
    }
};

QTEST_APPLESS_MAIN(TestChart)
#include "tst_chart.moc"
