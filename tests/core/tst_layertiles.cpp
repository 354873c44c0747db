#include "labels.h"
#include "layertiles.h"

#include <QtTest>

using namespace LayerTiles;
using Points = std::vector<QPoint>;
using Paths = std::vector<Points>;
using Rects = QVector<QRect>;
using Lines = QVector<QLine>;
Q_DECLARE_METATYPE(Points)
Q_DECLARE_METATYPE(Paths)

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
    // Tiles of 4 px over a layer of 10 x 9 px, the last row and column cut short; rectangles marked, then
    // what is marked and whether the probe touches it.
    void tiles_markWholeTilesOnTheLayer_data()
    {
        QTest::addColumn<Rects>("marked");
        QTest::addColumn<QRect>("probe");
        QTest::addColumn<int>("count");
        QTest::addColumn<QRect>("bounds");
        QTest::addColumn<Rects>("runs");
        QTest::addColumn<bool>("touches");
        QTest::newRow("a pixel marks its tile; probe up to it")
            << Rects{{5, 5, 1, 1}} << QRect(0, 7, 4, 2) << 1 << QRect(4, 4, 4, 4) << Rects{{4, 4, 4, 4}} << false;
        QTest::newRow("off to the left and top: nothing") << Rects{{-5, -5, 3, 3}} << QRect(0, 0, 1, 1) << 0 << QRect() << Rects{} << false;
        QTest::newRow("partly off: the row on the layer; probe from x -9")
            << Rects{{-2, 6, 20, 1}} << QRect(-9, 5, 10, 1) << 3 << QRect(0, 4, 12, 4) << Rects{{0, 4, 12, 4}} << true;
        QTest::newRow("rows top down, runs apart; probe on the gap") << Rects{{9, 8, 1, 1}, {0, 8, 1, 1}, {0, 0, 2, 2}, {1, 1, 1, 1}} << QRect(4, 0, 4, 9) << 3
                                                                     << QRect(0, 0, 12, 12) << Rects{{0, 0, 4, 4}, {0, 8, 4, 4}, {8, 8, 4, 4}} << false;
    }

    void tiles_markWholeTilesOnTheLayer()
    {
        QFETCH(Rects, marked);
        QFETCH(QRect, probe);
        Tiles tiles(QSize(10, 9));
        for (const QRect& r : marked)
            tiles.mark(r);
        QTEST(tiles.count(), "count");
        QTEST(tiles.bounds(), "bounds");
        const std::vector<QRect> runs = tiles.runs();
        QTEST(Rects(runs.begin(), runs.end()), "runs");
        QTEST(tiles.touches(probe), "touches");
    }

    // The tile from (20, 20) to (23, 23) marked by a path staying on (21, 21); the segments of a path whose pen of
    // width 2 (2 px beyond the points) reaches it, in order.
    void reachedSegments_keepsThoseReachingMarkedTiles_data()
    {
        QTest::addColumn<Points>("path");
        QTest::addColumn<Lines>("reached");
        QTest::newRow("through it") << Points{{0, 0}, {1, 1}, {21, 21}, {39, 39}} << Lines{{1, 1, 21, 21}, {21, 21, 39, 39}};
        QTest::newRow("2 px to the right, not 3") << Points{{25, 21}, {26, 21}, {27, 21}} << Lines{{25, 21, 26, 21}};
        QTest::newRow("2 px above, not 3") << Points{{21, 17}, {22, 17}, {22, 18}} << Lines{{22, 17, 22, 18}};
    }

    void reachedSegments_keepsThoseReachingMarkedTiles()
    {
        QFETCH(Points, path);
        Tiles tiles(QSize(40, 40));
        tiles.markPath({{21, 21}, {21, 21}}, 0);
        std::vector<QLine> reached;
        tiles.reachedSegments(path, 2, reached);
        QTEST(Lines(reached.begin(), reached.end()), "reached");
    }

    // Repainting starts at the first connector whose own path is to be repainted, at 0 when some path is no
    // connector's; a pen of width 2 paints within 3 px of the points.
    void repaint_startsAtTheFirstOwnPathWithinBounds()
    {
        const Paths paths{{{10, 10}}, {{20, 30}}, {{5, 40}}}, gone{{}};
        QCOMPARE(firstRepainted(strokes(paths), {&paths[2], &paths[1]}), size_t(1));
        QCOMPARE(firstRepainted(strokes(paths), {&paths[2], &gone[0]}), size_t(0));
        QCOMPARE(paintedBounds(strokes(paths), 2), QRect(QPoint(2, 7), QPoint(23, 43)));
    }

    // Connectors before and now, the first lit now when told: the one offset all moved by, if any, and the
    // paths to repaint, by state and index.
    void changes_oneOffsetOrTheChangedPaths_data()
    {
        QTest::addColumn<Paths>("before");
        QTest::addColumn<Paths>("now");
        QTest::addColumn<QString>("changes");
        const Paths two{{{1, 1}, {2, 2}}, {{10, 10}}};
        QTest::newRow("all by (3, -2)") << two << Paths{{{4, -1}, {5, 0}}, {{13, 8}}} << "shift=3,-2 repaint=before0,now0,before1,now1";
        QTest::newRow("the first empty: offset from the second") << Paths{{}, {{1, 1}}} << Paths{{}, {{5, 1}}} << "shift=4,0 repaint=before1,now1";
        QTest::newRow("one point otherwise") << two << Paths{{{4, -1}, {5, 1}}, {{13, 8}}} << "shift=none repaint=before0,now0,before1,now1";
        QTest::newRow("the first lit") << two << two << "lit=yes shift=none repaint=before0,now0";
        QTest::newRow("the second grew") << two << Paths{{{1, 1}, {2, 2}}, {{10, 10}, {11, 10}}} << "shift=none repaint=before1,now1";
        QTest::newRow("one added") << two << Paths{{{1, 1}, {2, 2}}, {{10, 10}}, {}} << "shift=none repaint=now2";
        QTest::newRow("one removed") << two << Paths{{{1, 1}, {2, 2}}} << "shift=none repaint=before1";
    }

    void changes_oneOffsetOrTheChangedPaths()
    {
        QFETCH(Paths, before);
        QFETCH(Paths, now);
        QFETCH(QString, changes);
        const Labels want(changes);
        const std::vector<Stroke> was = strokes(before), is = strokes(now, want.has("lit"));
        const std::optional<QPoint> shift = uniformShift(was, is);
        QCOMPARE(labelled("shift", shift ? QStringLiteral("%1,%2").arg(shift->x()).arg(shift->y()) : "none"), want["shift"]);
        QStringList named;
        for (const Points* path : changedPaths(was, is)) {
            const bool old = path >= before.data() && path < before.data() + before.size();
            named << QLatin1String(old ? "before" : "now") + QString::number(path - (old ? before.data() : now.data()));
        }
        QCOMPARE(labelled("repaint", named.join(QLatin1Char(','))), want["repaint"]);
    }
};

QTEST_MAIN(TestLayerTiles)
#include "tst_layertiles.moc"
