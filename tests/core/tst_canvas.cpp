#include "canvas.h"
#include "labels.h"
#include "straightrun.h"

#include <QtTest>

using Areas = std::vector<Canvas::BoxArea>;
using Paths = std::vector<std::vector<QPoint>>;
using Records = std::vector<QPair<Canvas::Kind, int>>;
Q_DECLARE_METATYPE(Areas)
Q_DECLARE_METATYPE(Paths)
Q_DECLARE_METATYPE(Records)
Q_DECLARE_METATYPE(Canvas::Kind)

namespace {

const QSize square(801, 801), low(801, 601);

// "b0 l1": box 0, connector 1.
Records records(const QString& text)
{
    Records parsed;
    for (const QString& each : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        parsed.push_back(
            {each[0] == QLatin1Char('b') ? Canvas::Kind::Box : Canvas::Kind::Connector, each.mid(1).toInt()});
    return parsed;
}

QString xy(const QPoint& p)
{
    return QStringLiteral("%1,%2").arg(p.x()).arg(p.y());
}

} // namespace

// The editor's canvas arithmetic over plain values, on the program's 801 x 801 canvas unless told.
class TestCanvas : public QObject
{
    Q_OBJECT

private slots:
    // Boxes by centre and size, hit from a whole size before the centre to half a size after it (a: x 88 to
    // 124, y 92 to 116); connectors by stored points. Margins per pass: 0, 0, 1, 2,
    // 3 px for boxes and 0, 8, 16, 24, 32 px for connectors, from the canvas width in x and its height in y.
    void findHit_passesAndTieBreaks_data()
    {
        QTest::addColumn<Areas>("boxes");
        QTest::addColumn<Paths>("connectors");
        QTest::addColumn<QPoint>("probe");
        QTest::addColumn<QSize>("canvas");
        QTest::addColumn<QString>("hit");
        const Areas a{{{112, 108}, {24, 16}}}, none;
        QTest::newRow("overlapping boxes: lower index") << Areas{a[0], {{107, 103}, {24, 16}}} << Paths{}
                                                        << QPoint(105, 105) << square << "found=yes index=0 kind=box";
        QTest::newRow("box 3 px beyond, right and below")
            << a << Paths{} << QPoint(127, 119) << square << "found=yes index=0 kind=box";
        QTest::newRow("box 3 px beyond, left and above")
            << a << Paths{} << QPoint(85, 89) << square << "found=yes index=0 kind=box";
        QTest::newRow("on the left edge, before a connector 8 px off")
            << a << Paths{{{80, 108}}} << QPoint(88, 108) << square << "found=yes index=0 kind=box";
        QTest::newRow("on the bottom edge, before a connector 8 px off")
            << a << Paths{{{100, 124}}} << QPoint(100, 116) << square << "found=yes index=0 kind=box";
        QTest::newRow("box 4 px beyond") << a << Paths{} << QPoint(128, 108) << square << "found=no index=-1";
        QTest::newRow("lower canvas, box y margin 2 px")
            << a << Paths{} << QPoint(127, 119) << low << "found=no index=-1";
        QTest::newRow("connector 24 px away beats box 3 px away")
            << a << Paths{{{151, 108}}} << QPoint(127, 108) << square << "found=yes index=0 kind=connector";
        QTest::newRow("connector 8 px away beats box 1 px away")
            << a << Paths{{{133, 108}}} << QPoint(125, 108) << square << "found=yes index=0 kind=connector";
        QTest::newRow("on a point inside a box: box")
            << a << Paths{{{110, 108}}} << QPoint(110, 108) << square << "found=yes index=0 kind=box";
        QTest::newRow("connectors of one pass: lower index")
            << none << Paths{{{300, 300}}, {{305, 300}}} << QPoint(303, 300) << square
            << "found=yes index=0 kind=connector";
        QTest::newRow("connector of an earlier pass wins")
            << none << Paths{{{300, 300}}, {{310, 300}}} << QPoint(318, 300) << square
            << "found=yes index=1 kind=connector";
        QTest::newRow("connector 33 px away in y")
            << none << Paths{{{300, 300}}} << QPoint(300, 333) << square << "found=no index=-1";
        QTest::newRow("lower canvas, smaller y margin")
            << none << Paths{{{300, 300}}} << QPoint(300, 325) << low << "found=no index=-1";
        QTest::newRow("lower canvas, x margin kept")
            << none << Paths{{{300, 300}}} << QPoint(332, 300) << low << "found=yes index=0 kind=connector";
    }

    void findHit_passesAndTieBreaks()
    {
        QFETCH(Areas, boxes);
        QFETCH(Paths, connectors);
        std::vector<const std::vector<QPoint>*> pointers;
        for (const std::vector<QPoint>& each : connectors)
            pointers.push_back(&each);
        QFETCH(QPoint, probe);
        QFETCH(QSize, canvas);
        const Canvas::Hit got = Canvas::findHit(boxes, pointers, probe, canvas);
        QFETCH(QString, hit);
        const Labels want(hit);
        QCOMPARE(labelled("found", got.found), want["found"]);
        QCOMPARE(labelled("index", got.index), want["index"]);
        if (got.found)
            QCOMPARE(labelled("kind", got.kind == Canvas::Kind::Box ? "box" : "connector"), want["kind"]);
    }

    // The pointer from the origin (10, 30) of a canvas; the top-left of a box of the given size centred on it,
    // and whether it is on the canvas; then where the box goes to keep its border in the drawing of 7 x 13 px
    // cells: never so near the left or top edge that its first character lands in column or row 0.
    void mapPointer_centresBoxAndClampsOnCanvas_data()
    {
        QTest::addColumn<QPointF>("offset");
        QTest::addColumn<QPoint>("box");
        QTest::addColumn<QSize>("canvas");
        QTest::addColumn<QString>("mapped");
        const QPoint small(24, 16);
        const QSize usual(801, 701);
        QTest::newRow("inside, truncated") << QPointF(100.7, 200.9) << small << usual << "at=88,192 on=yes kept=88,192";
        QTest::newRow("near top-left") << QPointF(3, 5) << small << usual << "at=0,0 on=yes kept=4,7";
        QTest::newRow("on the closed right and bottom edges")
            << QPointF(801, 701) << small << usual << "at=777,685 on=yes kept=777,685";
        QTest::newRow("past the right edge") << QPointF(802, 300) << small << usual << "at=790,292 on=no kept=777,292";
        QTest::newRow("above, a px past the right edge")
            << QPointF(790, -1) << small << usual << "at=778,-9 on=no kept=777,7";
        QTest::newRow("left, truncated toward zero")
            << QPointF(-0.5, 300) << small << usual << "at=-12,292 on=no kept=4,292";
        QTest::newRow("far off, saturated")
            << QPointF(-1e10, 300) << small << usual << "at=-2147483648,292 on=no kept=4,292";
        QTest::newRow("grabbed box's size")
            << QPointF(790, 10) << QPoint(50, 20) << usual << "at=751,0 on=yes kept=751,7";
        QTest::newRow("2 x 2 cells of 10 x 15 px, the box too wide")
            << QPointF(5, 5) << small << QSize(20, 30) << "at=0,0 on=yes kept=0,8";
        QTest::newRow("no grid, no inset") << QPointF(3, 3) << small << QSize(6, 12) << "at=-18,0 on=yes kept=0,0";
    }

    void mapPointer_centresBoxAndClampsOnCanvas()
    {
        QFETCH(QPointF, offset);
        QFETCH(QPoint, box);
        QFETCH(QSize, canvas);
        const Canvas::Pointer got = Canvas::mapPointer(QPointF(10, 30) + offset, QPoint(10, 30), canvas, box);
        const QPoint kept = Canvas::withBorderOnGrid(got.position, QSize(box.x(), box.y()), canvas, {7, 13});
        QFETCH(QString, mapped);
        const Labels want(mapped);
        QCOMPARE(labelled("at", xy(got.position)), want["at"]);
        QCOMPARE(labelled("on", got.onCanvas), want["on"]);
        QCOMPARE(labelled("kept", xy(kept)), want["kept"]);
    }

    void forgetCreationRecord_dropsFirstAndRenumbersLater_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<Canvas::Kind>("kind");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("after");
        const Canvas::Kind box = Canvas::Kind::Box, connector = Canvas::Kind::Connector;
        QTest::newRow("first box: other kinds, lower ones keep numbers") << "b2 l1 b0 b1" << box << 0 << "b2 l1 b0";
        QTest::newRow("first connector") << "b0 l0 b1 l1" << connector << 0 << "b0 b1 l0";
        QTest::newRow("no match") << "b0 l0" << box << 3 << "b0 l0";
        QTest::newRow("first of equal records; only later, higher ones shift")
            << "b1 b0 b1 b2" << box << 1 << "b0 b1 b1";
    }

    void forgetCreationRecord_dropsFirstAndRenumbersLater()
    {
        QFETCH(QString, before);
        QFETCH(Canvas::Kind, kind);
        QFETCH(int, index);
        QFETCH(QString, after);
        Records list = records(before);
        Canvas::forgetCreationRecord(list, kind, index);
        QCOMPARE(list, records(after));
    }

    // On an 801 x 781 canvas, inset (4, 7). Only a correction of 0 or more blocks an axis: a box short of
    // the inset does not correct the move, a box at it (or inside it, from an older chart) holds every box
    // on that axis, and connectors with them. The answer: possible, then the boxes' move and whether
    // connectors follow it in x and in y.
    void correctMoveAll_blocksAxesBoxByBox_data()
    {
        QTest::addColumn<QVector<QRect>>("boxes");
        QTest::addColumn<QPoint>("step");
        QTest::addColumn<QString>("move");
        using R = QVector<QRect>;
        const QRect left(4, 300, 24, 20);
        QTest::newRow("short of the left inset")
            << R{{9, 300, 24, 20}} << QPoint(-20, 12) << "possible=yes move=-20,12 x=yes y=yes";
        QTest::newRow("at the left inset") << R{left} << QPoint(-20, 12) << "possible=yes move=0,12 x=no y=yes";
        QTest::newRow("inside the left inset, toward it")
            << R{{0, 300, 24, 20}} << QPoint(-1, 12) << "possible=yes move=0,12 x=no y=yes";
        QTest::newRow("inside the left inset, away from it")
            << R{{0, 300, 24, 20}} << QPoint(2, 0) << "possible=yes move=2,0 x=yes y=yes";
        QTest::newRow("at the top inset")
            << R{{300, 7, 24, 20}} << QPoint(16, -20) << "possible=yes move=16,0 x=yes y=no";
        QTest::newRow("at the right edge")
            << R{{777, 300, 24, 20}} << QPoint(20, 12) << "possible=yes move=0,12 x=no y=yes";
        QTest::newRow("near the bottom edge")
            << R{{300, 751, 24, 20}} << QPoint(5, 20) << "possible=yes move=5,10 x=yes y=no";
        QTest::newRow("later boxes check the corrected move")
            << R{left, {10, 10, 24, 20}} << QPoint(-20, -20) << "possible=yes move=0,-20 x=no y=yes";
        QTest::newRow("wider than the canvas: right edge wins")
            << R{{5, 300, 900, 20}} << QPoint(-10, 0) << "possible=yes move=94,0 x=no y=yes";
        QTest::newRow("an earlier box blocked on both stops it")
            << R{{10, 10, 24, 20}, left} << QPoint(-20, -20) << "possible=no";
        QTest::newRow("in the corner") << R{{4, 7, 24, 20}} << QPoint(-3, -3) << "possible=no";
    }

    void correctMoveAll_blocksAxesBoxByBox()
    {
        QFETCH(QVector<QRect>, boxes);
        QFETCH(QPoint, step);
        const Canvas::MoveAll got =
            Canvas::correctMoveAll({boxes.begin(), boxes.end()}, QSize(801, 781), step, QPoint(4, 7));
        QFETCH(QString, move);
        const Labels want(move);
        QCOMPARE(labelled("possible", got.possible), want["possible"]);
        if (!got.possible)
            return;
        QCOMPARE(labelled("move", xy(got.difference)), want["move"]);
        QCOMPARE(labelled("x", got.canxBetweeked), want["x"]);
        QCOMPARE(labelled("y", got.canyBetweeked), want["y"]);
    }

    // A straight connector's sample, cells of 7 x 13 px: held back within a cell of the press, else moved
    // onto the run's axis, which the press picks by the larger move in cells (across on a tie).
    void lockToAxis_holdsBackThenKeepsTheRunsAxis_data()
    {
        QTest::addColumn<QPoint>("last");
        QTest::addColumn<bool>("pressOnly");
        QTest::addColumn<bool>("keepsX");
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<QString>("sample");
        const QPoint press(100, 100);
        QTest::newRow("press, within a cell: held back") << press << true << false << QPoint(106, 112) << "taken=no";
        QTest::newRow("press, a cell across: runs across")
            << press << true << true << QPoint(107, 105) << "taken=yes at=107,100 keepsx=no";
        QTest::newRow("press, a cell up: runs down the press's x")
            << press << true << false << QPoint(103, 87) << "taken=yes at=100,87 keepsx=yes";
        QTest::newRow("press, 2 cells each way: across")
            << press << true << true << QPoint(114, 126) << "taken=yes at=114,100 keepsx=no";
        QTest::newRow("press, 2 cells across, a px more down: down")
            << press << true << false << QPoint(114, 127) << "taken=yes at=100,127 keepsx=yes";
        QTest::newRow("run across keeps y, within a cell too")
            << QPoint(120, 100) << false << false << QPoint(121, 140) << "taken=yes at=121,100 keepsx=no";
        QTest::newRow("run down keeps x")
            << QPoint(100, 120) << false << true << QPoint(130, 121) << "taken=yes at=100,121 keepsx=yes";
    }

    void lockToAxis_holdsBackThenKeepsTheRunsAxis()
    {
        QFETCH(QPoint, last);
        QFETCH(bool, pressOnly);
        QFETCH(bool, keepsX);
        QFETCH(QPoint, pointer);
        QFETCH(QString, sample);
        const StraightRun::Sample got = StraightRun::lockToAxis(last, pressOnly, keepsX, pointer, QSize(7, 13));
        const Labels want(sample);
        QCOMPARE(labelled("taken", got.taken), want["taken"]);
        if (got.taken) {
            QCOMPARE(labelled("at", xy(got.point)), want["at"]);
            QCOMPARE(labelled("keepsx", got.keepsX), want["keepsx"]);
        }
    }
};

QTEST_APPLESS_MAIN(TestCanvas)
#include "tst_canvas.moc"
