#include "canvas.h"
#include "labels.h"
#include "straightrun.h"

#include <QtTest>

using Records = std::vector<QPair<Canvas::Kind, int>>;

namespace {

QString xy(const QPoint& p)
{
    return QStringLiteral("%1,%2").arg(p.x()).arg(p.y());
}

// "at=107,100" or "107,100" as a pair of numbers.
QPointF pair(const QString& text)
{
    const QStringList xy = text.mid(text.indexOf(QLatin1Char('=')) + 1).split(QLatin1Char(','));
    return QPointF(xy.value(0).toDouble(), xy.value(1).toDouble());
}

} // namespace

// The editor's canvas arithmetic over plain values, on the program's 801 x 801 canvas unless told.
class TestCanvas : public QObject
{
    Q_OBJECT

private slots:
    // Boxes of 24 x 16 by centre, (112, 108) unless told, hit from a whole size before the centre to half a size
    // after it (x 88 to 124, y 92 to 116); connectors of one point each. Margins per pass: 0, 0, 1, 2, 3 px for
    // boxes and 0, 8, 16, 24, 32 px for connectors, from the canvas width in x and its height in y; the canvas
    // 801 x 801, or 801 x 601 when low.
    void findHit_passesAndTieBreaks_data()
    {
        QTest::addColumn<QString>("hit");
        QTest::newRow("overlapping boxes: lower index") << "boxes=112,108/107,103 probe=105,105 found=yes index=0 kind=box";
        QTest::newRow("box 3 px beyond, right and below") << "probe=127,119 found=yes index=0 kind=box";
        QTest::newRow("box 3 px beyond, left and above") << "probe=85,89 found=yes index=0 kind=box";
        QTest::newRow("box 4 px beyond") << "probe=128,108 found=no index=-1";
        QTest::newRow("low canvas, box y margin 2 px") << "canvas=low probe=127,119 found=no index=-1";
        QTest::newRow("connector 24 px away beats box 3 px away") << "connectors=151,108 probe=127,108 found=yes index=0 kind=connector";
        QTest::newRow("on a point inside a box: box") << "connectors=110,108 probe=110,108 found=yes index=0 kind=box";
        QTest::newRow("connectors of one pass: lower index") << "boxes=none connectors=300,300/305,300 probe=303,300 found=yes index=0 kind=connector";
        QTest::newRow("connector of an earlier pass wins") << "boxes=none connectors=300,300/310,300 probe=318,300 found=yes index=1 kind=connector";
        QTest::newRow("connector 33 px away in y") << "boxes=none connectors=300,300 probe=300,333 found=no index=-1";
        QTest::newRow("low canvas, smaller y margin") << "canvas=low boxes=none connectors=300,300 probe=300,325 found=no index=-1";
        QTest::newRow("low canvas, x margin kept") << "canvas=low boxes=none connectors=300,300 probe=332,300 found=yes index=0 kind=connector";
    }

    void findHit_passesAndTieBreaks()
    {
        QFETCH(QString, hit);
        const Labels row(hit);
        std::vector<Canvas::BoxArea> boxes;
        for (const QString& centre : (row.has("boxes") ? row["boxes"] : QStringLiteral("boxes=112,108")).split(QLatin1Char('/')))
            if (!centre.endsWith(QLatin1String("none")))
                boxes.push_back({pair(centre).toPoint(), {24, 16}});
        std::vector<std::vector<QPoint>> points;
        for (const QString& point : row.has("connectors") ? row["connectors"].split(QLatin1Char('/')) : QStringList())
            points.push_back({pair(point).toPoint()});
        std::vector<const std::vector<QPoint>*> connectors;
        for (const std::vector<QPoint>& each : points)
            connectors.push_back(&each);
        const QSize canvas(801, row.has("canvas") ? 601 : 801);
        const Canvas::Hit got = Canvas::findHit(boxes, connectors, pair(row["probe"]).toPoint(), canvas);
        QCOMPARE(labelled("found", got.found), row["found"]);
        QCOMPARE(labelled("index", got.index), row["index"]);
        if (got.found)
            QCOMPARE(labelled("kind", got.kind == Canvas::Kind::Box ? "box" : "connector"), row["kind"]);
    }

    // The pointer from the origin (10, 30) of a canvas of 801 x 701 unless told; the top-left of a box of 24 x 16
    // unless told centred on it, and whether it is on the canvas; then where the box is kept to keep its border
    // in the drawing of 7 x 13 px cells: never so near the left or top edge that its first character lands in
    // column or row 0.
    void mapPointer_centresBoxAndClampsOnCanvas_data()
    {
        QTest::addColumn<QString>("pointer");
        QTest::newRow("inside, truncated") << "pointer=100.7,200.9 at=88,192 on=yes kept=88,192";
        QTest::newRow("near top-left") << "pointer=3,5 at=0,0 on=yes kept=4,7";
        QTest::newRow("on the closed right and bottom edges") << "pointer=801,701 at=777,685 on=yes kept=777,685";
        QTest::newRow("past the right edge") << "pointer=802,300 at=790,292 on=no kept=777,292";
        QTest::newRow("above, a px past the right edge") << "pointer=790,-1 at=778,-9 on=no kept=777,7";
        QTest::newRow("left, truncated toward zero") << "pointer=-0.5,300 at=-12,292 on=no kept=4,292";
        QTest::newRow("far off, saturated") << "pointer=-1e10,300 at=-2147483648,292 on=no kept=4,292";
        QTest::newRow("grabbed box's size") << "pointer=790,10 box=50,20 at=751,0 on=yes kept=751,7";
        QTest::newRow("2 x 2 cells of 10 x 15 px, the box too wide") << "pointer=5,5 canvas=20,30 at=0,0 on=yes kept=0,8";
        QTest::newRow("no grid, no inset") << "pointer=3,3 canvas=6,12 at=-18,0 on=yes kept=0,0";
    }

    void mapPointer_centresBoxAndClampsOnCanvas()
    {
        QFETCH(QString, pointer);
        const Labels row(pointer);
        const QPoint box = row.has("box") ? pair(row["box"]).toPoint() : QPoint(24, 16);
        const QPoint extent = row.has("canvas") ? pair(row["canvas"]).toPoint() : QPoint(801, 701);
        const QSize canvas(extent.x(), extent.y());
        const Canvas::Pointer got = Canvas::mapPointer(QPointF(10, 30) + pair(row["pointer"]), {10, 30}, canvas, box);
        QCOMPARE(labelled("at", xy(got.position)), row["at"]);
        QCOMPARE(labelled("on", got.onCanvas), row["on"]);
        const QPoint kept = Canvas::withBorderOnGrid(got.position, QSize(box.x(), box.y()), canvas, {7, 13});
        QCOMPARE(labelled("kept", xy(kept)), row["kept"]);
    }

    // Connector points are stored with half the canvas origin added in x, truncated, and all of it in y.
    void toConnectorFrame_addsHalfTheOriginInX() { QCOMPARE(Canvas::toConnectorFrame({10, 20}, {31, 40}, {1, 2}), QPoint(26, 62)); }

    void forgetCreationRecord_dropsFirstAndRenumbersLater()
    {
        const Canvas::Kind box = Canvas::Kind::Box, connector = Canvas::Kind::Connector;
        Records list{{box, 1}, {connector, 1}, {box, 0}, {box, 1}, {box, 2}};
        Canvas::forgetCreationRecord(list, box, 1);
        const Records kept{{connector, 1}, {box, 0}, {box, 1}, {box, 1}};
        QCOMPARE(list, kept);
        Canvas::forgetCreationRecord(list, connector, 0); // no such record
        QCOMPARE(list, kept);
    }

    // On an 801 x 781 canvas, inset (4, 7). Only a correction of 0 or more blocks an axis: a box short of
    // the inset does not correct the move, a box at it (or inside it, from an older chart) holds every box
    // on that axis, and connectors with them. Boxes by top-left, 24 x 20 unless a width follows, in order; the
    // answer: possible, then the boxes' move and whether connectors follow it in x and in y.
    void correctMoveAll_blocksAxesBoxByBox_data()
    {
        QTest::addColumn<QString>("move");
        QTest::newRow("short of the left inset") << "boxes=9,300 step=-20,12 possible=yes move=-20,12 x=yes y=yes";
        QTest::newRow("at the left inset") << "boxes=4,300 step=-20,12 possible=yes move=0,12 x=no y=yes";
        QTest::newRow("inside the left inset, toward it") << "boxes=0,300 step=-1,12 possible=yes move=0,12 x=no y=yes";
        QTest::newRow("inside the left inset, away from it") << "boxes=0,300 step=2,0 possible=yes move=2,0 x=yes y=yes";
        QTest::newRow("at the top inset") << "boxes=300,7 step=16,-20 possible=yes move=16,0 x=yes y=no";
        QTest::newRow("up to the right edge") << "boxes=757,300 step=20,0 possible=yes move=20,0 x=yes y=yes";
        QTest::newRow("at the right edge") << "boxes=777,300 step=20,12 possible=yes move=0,12 x=no y=yes";
        QTest::newRow("near the bottom edge") << "boxes=300,751 step=5,20 possible=yes move=5,10 x=yes y=no";
        QTest::newRow("later boxes check the corrected move") << "boxes=4,300/10,10 step=-20,-20 possible=yes move=0,-20 x=no y=yes";
        QTest::newRow("wider than the canvas: right edge wins") << "boxes=5,300,900 step=-10,0 possible=yes move=94,0 x=no y=yes";
        QTest::newRow("an earlier box blocked on both stops it") << "boxes=10,10/4,300 step=-8,-5 possible=no";
    }

    void correctMoveAll_blocksAxesBoxByBox()
    {
        QFETCH(QString, move);
        const Labels row(move);
        std::vector<QRect> boxes;
        for (const QString& box : row["boxes"].mid(6).split(QLatin1Char('/'))) {
            const QStringList at = box.split(QLatin1Char(','));
            boxes.emplace_back(at[0].toInt(), at[1].toInt(), at.value(2, QStringLiteral("24")).toInt(), 20);
        }
        const Canvas::MoveAll got = Canvas::correctMoveAll(boxes, QSize(801, 781), pair(row["step"]).toPoint(), {4, 7});
        QCOMPARE(labelled("possible", got.possible), row["possible"]);
        if (!got.possible)
            return;
        QCOMPARE(labelled("move", xy(got.difference)), row["move"]);
        QCOMPARE(labelled("x", got.canxBetweeked), row["x"]);
        QCOMPARE(labelled("y", got.canyBetweeked), row["y"]);
    }

    // A straight connector's sample, cells of 7 x 13 px: held back within a cell of the press, else moved
    // onto the run's axis, which the press picks by the larger move in cells (across on a tie). `from` is the
    // press or the last point of a run across or down; `run` the run after the sample.
    void lockToAxis_holdsBackThenKeepsTheRunsAxis_data()
    {
        QTest::addColumn<QString>("sample");
        QTest::newRow("press, within a cell: held back") << "from=press last=100,100 pointer=106,112 taken=no";
        QTest::newRow("press, a cell across") << "from=press last=100,100 pointer=107,105 taken=yes at=107,100 run=across";
        QTest::newRow("press, a cell up") << "from=press last=100,100 pointer=103,87 taken=yes at=100,87 run=down";
        QTest::newRow("press, 2 cells each way") << "from=press last=100,100 pointer=114,126 taken=yes at=114,100 run=across";
        QTest::newRow("press, 2 cells across, a px more down") << "from=press last=100,100 pointer=114,127 taken=yes at=100,127 run=down";
        QTest::newRow("run across keeps y, within a cell too") << "from=across last=120,100 pointer=121,140 taken=yes at=121,100 run=across";
        QTest::newRow("run down keeps x") << "from=down last=100,120 pointer=130,121 taken=yes at=100,121 run=down";
    }

    void lockToAxis_holdsBackThenKeepsTheRunsAxis()
    {
        QFETCH(QString, sample);
        const Labels row(sample);
        const StraightRun::Sample got = StraightRun::lockToAxis(pair(row["last"]).toPoint(), row["from"] == QLatin1String("from=press"),
            row["from"] == QLatin1String("from=down"), pair(row["pointer"]).toPoint(), QSize(7, 13));
        QCOMPARE(labelled("taken", got.taken), row["taken"]);
        if (got.taken) {
            QCOMPARE(labelled("at", xy(got.point)), row["at"]);
            QCOMPARE(labelled("run", got.keepsX ? "down" : "across"), row["run"]);
        }
    }
};

QTEST_APPLESS_MAIN(TestCanvas)
#include "tst_canvas.moc"
