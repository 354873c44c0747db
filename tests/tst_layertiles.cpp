#include "layertiles.h"

#include <QtTest>

using namespace LayerTiles;
using Points = std::vector<QPoint>;
using Paths = std::vector<Points>;
using Rects = std::vector<QRect>;
using Lines = std::vector<QLine>;
Q_DECLARE_METATYPE(Points)
Q_DECLARE_METATYPE(Paths)
Q_DECLARE_METATYPE(Rects)
Q_DECLARE_METATYPE(Lines)

namespace {

// The paths as connectors, the first lit when `firstLit`.
std::vector<Stroke> strokes(const Paths& paths, bool firstLit = false)
{
    std::vector<Stroke> all;
    for (const Points& path : paths)
        all.push_back({&path, all.empty() && firstLit});
    return all;
}

} // namespace

// The connector layer's arithmetic: tiles a pen reaches, connectors changed, whole-chart shifts.
class TestLayerTiles : public QObject
{
    Q_OBJECT

private slots:
    // A pen of width w reaches (3w + 3) / 4 px beyond the segment's end points on each side.
    void segmentReach_widensByPenReach_data()
    {
        QTest::addColumn<QPoint>("a");
        QTest::addColumn<QPoint>("b");
        QTest::addColumn<int>("width");
        QTest::addColumn<QRect>("reach");
        QTest::newRow("width 2: 2 px, ends in any order") << QPoint(10, 20) << QPoint(4, 30) << 2 << QRect(QPoint(2, 18), QPoint(12, 32));
        QTest::newRow("width 1: 1 px around a point") << QPoint(5, 5) << QPoint(5, 5) << 1 << QRect(QPoint(4, 4), QPoint(6, 6));
        QTest::newRow("width 3: 3 px") << QPoint(0, 0) << QPoint(1, 0) << 3 << QRect(QPoint(-3, -3), QPoint(4, 3));
        QTest::newRow("width 4: 3 px") << QPoint(0, 0) << QPoint(1, 0) << 4 << QRect(QPoint(-3, -3), QPoint(4, 3));
    }

    void segmentReach_widensByPenReach()
    {
        QFETCH(QPoint, a);
        QFETCH(QPoint, b);
        QFETCH(int, width);
        QTEST(segmentReach(a, b, width), "reach");
    }

    // Tiles of 4 px over a layer of 10 x 9 px (3 x 3 tiles, the last ones cut short) unless told; rectangles
    // marked, then what is marked and whether the probe touches it.
    void tiles_markWholeTilesOnTheLayer_data()
    {
        QTest::addColumn<QSize>("layer");
        QTest::addColumn<Rects>("marked");
        QTest::addColumn<QRect>("probe");
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("count");
        QTest::addColumn<QRect>("bounds");
        QTest::addColumn<Rects>("runs");
        QTest::addColumn<bool>("touches");
        const QSize layer(10, 9);
        QTest::newRow("a pixel marks its tile") << layer << Rects{{5, 5, 1, 1}} << QRect(7, 7, 1, 1) << 9 << 1 << QRect(4, 4, 4, 4) << Rects{{4, 4, 4, 4}} << true;
        QTest::newRow("across two tiles; probe beside") << layer << Rects{{3, 0, 2, 1}} << QRect(8, 0, 2, 2) << 9 << 2 << QRect(0, 0, 8, 4) << Rects{{0, 0, 8, 4}} << false;
        QTest::newRow("off to the left and top: nothing") << layer << Rects{{-5, -5, 3, 3}} << QRect(0, 0, 1, 1) << 9 << 0 << QRect() << Rects{} << false;
        QTest::newRow("partly off: the row on the layer, last tile whole") << layer << Rects{{-2, 6, 20, 1}} << QRect(-9, 5, 10, 1) << 9 << 3 << QRect(0, 4, 12, 4) << Rects{{0, 4, 12, 4}} << true;
        QTest::newRow("two runs in a row; probe on the gap") << layer << Rects{{0, 8, 1, 1}, {9, 8, 1, 1}} << QRect(4, 0, 4, 9) << 9 << 2 << QRect(0, 8, 12, 4) << Rects{{0, 8, 4, 4}, {8, 8, 4, 4}} << false;
        QTest::newRow("marked twice counts once") << layer << Rects{{0, 0, 1, 1}, {1, 1, 2, 2}} << QRect(20, 20, 1, 1) << 9 << 1 << QRect(0, 0, 4, 4) << Rects{{0, 0, 4, 4}} << false;
        QTest::newRow("rows top down; probe off below") << layer << Rects{{9, 8, 1, 1}, {0, 0, 1, 1}} << QRect(0, 12, 9, 9) << 9 << 2 << QRect(0, 0, 12, 12) << Rects{{0, 0, 4, 4}, {8, 8, 4, 4}} << false;
        QTest::newRow("layer of 4 x 5 px: 1 x 2 tiles") << QSize(4, 5) << Rects{{0, 4, 1, 1}} << QRect(3, 4, 1, 1) << 2 << 1 << QRect(0, 4, 4, 4) << Rects{{0, 4, 4, 4}} << true;
    }

    void tiles_markWholeTilesOnTheLayer()
    {
        QFETCH(QSize, layer);
        QFETCH(Rects, marked);
        QFETCH(QRect, probe);
        Tiles tiles(layer);
        for (const QRect& r : marked)
            tiles.mark(r);
        QTEST(tiles.total(), "total");
        QTEST(tiles.count(), "count");
        QTEST(tiles.bounds(), "bounds");
        QTEST(tiles.runs(), "runs");
        QTEST(tiles.touches(probe), "touches");
    }

    // A layer of 40 x 40 px with the tile from (20, 20) to (23, 23) marked; the segments of a path whose
    // pen of width 2 reaches it, in order.
    void reachedSegments_keepsThoseReachingMarkedTiles_data()
    {
        QTest::addColumn<Points>("path");
        QTest::addColumn<Lines>("reached");
        QTest::newRow("through the tile; far ones left out") << Points{{0, 0}, {1, 1}, {21, 21}, {22, 21}, {39, 39}}
                                                             << Lines{{1, 1, 21, 21}, {21, 21, 22, 21}, {22, 21, 39, 39}};
        QTest::newRow("2 px to the right reaches it, 3 px does not") << Points{{25, 21}, {26, 21}, {27, 21}} << Lines{{25, 21, 26, 21}};
        QTest::newRow("2 px above reaches it, 3 px does not") << Points{{21, 17}, {22, 17}, {22, 18}} << Lines{{22, 17, 22, 18}};
        QTest::newRow("a lone point has no segment") << Points{{21, 21}} << Lines{};
    }

    void reachedSegments_keepsThoseReachingMarkedTiles()
    {
        QFETCH(Points, path);
        Tiles tiles(QSize(40, 40));
        tiles.mark(QRect(21, 21, 1, 1));
        Lines reached;
        tiles.reachedSegments(path, 2, reached);
        QTEST(reached, "reached");
    }

    // Connectors before and now, the first lit now when told: one offset for all, or none.
    void uniformShift_oneOffsetForEveryPoint_data()
    {
        QTest::addColumn<Paths>("before");
        QTest::addColumn<Paths>("now");
        QTest::addColumn<bool>("lit");
        QTest::addColumn<bool>("uniform");
        QTest::addColumn<QPoint>("offset");
        const Paths two{{{1, 1}, {2, 2}}, {{10, 10}}};
        QTest::newRow("every point by (3, -2)") << two << Paths{{{4, -1}, {5, 0}}, {{13, 8}}} << false << true << QPoint(3, -2);
        QTest::newRow("nothing moved: (0, 0)") << two << two << false << true << QPoint(0, 0);
        QTest::newRow("no connectors: (0, 0)") << Paths{} << Paths{} << false << true << QPoint(0, 0);
        QTest::newRow("the first empty: offset from the second") << Paths{{}, {{1, 1}}} << Paths{{}, {{5, 1}}} << false << true << QPoint(4, 0);
        QTest::newRow("a point moved otherwise") << two << Paths{{{4, -1}, {5, 1}}, {{13, 8}}} << false << false << QPoint();
        QTest::newRow("the second connector otherwise") << two << Paths{{{4, -1}, {5, 0}}, {{13, 9}}} << false << false << QPoint();
        QTest::newRow("a point more") << two << Paths{{{1, 1}, {2, 2}, {3, 3}}, {{10, 10}}} << false << false << QPoint();
        QTest::newRow("a connector more") << two << Paths{{{1, 1}, {2, 2}}, {{10, 10}}, {}} << false << false << QPoint();
        QTest::newRow("lit, unmoved") << two << two << true << false << QPoint();
    }

    void uniformShift_oneOffsetForEveryPoint()
    {
        QFETCH(Paths, before);
        QFETCH(Paths, now);
        QFETCH(bool, lit);
        const std::optional<QPoint> shift = uniformShift(strokes(before), strokes(now, lit));
        QTEST(shift.has_value(), "uniform");
        QTEST(shift.value_or(QPoint()), "offset");
    }

    // The paths to repaint between two states, named by state and index; the first connector lit now when told.
    void changedPaths_beforeAndNowOfEachChanged_data()
    {
        QTest::addColumn<Paths>("before");
        QTest::addColumn<Paths>("now");
        QTest::addColumn<bool>("lit");
        QTest::addColumn<QStringList>("paths");
        const Paths two{{{1, 1}, {2, 2}}, {{10, 10}}};
        QTest::newRow("unchanged: none") << two << two << false << QStringList{};
        QTest::newRow("the first moved: before, then now") << two << Paths{{{1, 1}, {2, 3}}, {{10, 10}}} << false << QStringList{"before 0", "now 0"};
        QTest::newRow("the first lit") << two << two << true << QStringList{"before 0", "now 0"};
        QTest::newRow("the second grew") << two << Paths{{{1, 1}, {2, 2}}, {{10, 10}, {11, 10}}} << false << QStringList{"before 1", "now 1"};
        QTest::newRow("one added: now only") << two << Paths{{{1, 1}, {2, 2}}, {{10, 10}}, {{5, 5}}} << false << QStringList{"now 2"};
        QTest::newRow("one removed: before only") << two << Paths{{{1, 1}, {2, 2}}} << false << QStringList{"before 1"};
    }

    void changedPaths_beforeAndNowOfEachChanged()
    {
        QFETCH(Paths, before);
        QFETCH(Paths, now);
        QFETCH(bool, lit);
        QStringList named;
        for (const Points* path : changedPaths(strokes(before), strokes(now, lit))) {
            const bool old = path >= before.data() && path < before.data() + before.size();
            named << QStringLiteral("%1 %2").arg(QLatin1String(old ? "before" : "now")).arg(path - (old ? before.data() : now.data()));
        }
        QTEST(named, "paths");
    }

    // Three connectors; the paths to repaint, each a connector's own (by index) or another list (-1).
    void firstRepainted_fromTheFirstOwnPath_data()
    {
        QTest::addColumn<QList<int>>("paths");
        QTest::addColumn<int>("from");
        QTest::newRow("connectors 2 and 1: from 1") << QList<int>{2, 1} << 1;
        QTest::newRow("connector 0: from 0") << QList<int>{0} << 0;
        QTest::newRow("another list: from 0") << QList<int>{2, -1} << 0;
        QTest::newRow("no paths: from 3") << QList<int>{} << 3;
    }

    void firstRepainted_fromTheFirstOwnPath()
    {
        QFETCH(QList<int>, paths);
        const Paths connectors{{{1, 1}}, {{2, 2}}, {{3, 3}}};
        const Points other{{2, 2}};
        std::vector<const Points*> listed;
        for (int index : paths)
            listed.push_back(index < 0 ? &other : &connectors[size_t(index)]);
        QTEST(int(firstRepainted(strokes(connectors), listed)), "from");
    }

    // A pen of width 2 touches 3 px around each point.
    void paintedBounds_coversEveryPointWithItsPen_data()
    {
        QTest::addColumn<Paths>("connectors");
        QTest::addColumn<QRect>("bounds");
        QTest::newRow("one point") << Paths{{{10, 10}}} << QRect(7, 7, 7, 7);
        QTest::newRow("points of two connectors") << Paths{{{10, 10}}, {}, {{20, 5}}} << QRect(QPoint(7, 2), QPoint(23, 13));
        QTest::newRow("no points: empty") << Paths{{}, {}} << QRect();
    }

    void paintedBounds_coversEveryPointWithItsPen()
    {
        QFETCH(Paths, connectors);
        QTEST(paintedBounds(strokes(connectors), 2), "bounds");
    }
};

QTEST_MAIN(TestLayerTiles)
#include "tst_layertiles.moc"
