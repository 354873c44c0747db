#include "line.h"

#include <QWidget>
#include <QtTest>

using Points = QVector<QPoint>;

// Connectors on a 400 x 200 canvas, valid from more than 4 points.
class TestLine : public QObject
{
    Q_OBJECT

    QWidget canvas;

    Line lineThrough(bool straight, const Points& samples)
    {
        Line line(&canvas, 4, 7, straight);
        for (const QPoint& sample : samples)
            line.addPoints(sample);
        return line;
    }

    static Points pointsOf(const Line& line) { return Points(line.points.begin(), line.points.end()); }

private slots:
    void initTestCase() { canvas.setFixedSize(400, 200); }

    // A straight connector's second sample picks the axis it keeps: it is refused when it cannot pick one.
    void addPoints_storesSamplesFilledGapsAndFractions_data()
    {
        QTest::addColumn<bool>("straight");
        QTest::addColumn<Points>("samples");
        QTest::addColumn<Points>("expected");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("freehand fills gaps")
            << false << Points{{10, 10}, {16, 10}} << Points{{10, 10}, {11, 10}, {12, 10}, {13, 10}, {14, 10}, {16, 10}}
            << true;
        QTest::newRow("straight, wider second step keeps its y")
            << true << Points{{100, 100}, {103, 101}, {106, 105}}
            << Points{{100, 100}, {100, 101}, {101, 101}, {102, 101}, {103, 101}, {104, 101}, {106, 101}} << true;
        QTest::newRow("straight, taller second step keeps its x; repeat kept")
            << true << Points{{100, 100}, {101, 105}, {130, 104}, {90, 104}}
            << Points{{100, 100}, {101, 100}, {101, 101}, {101, 102}, {101, 104}, {101, 104}} << true;
        QTest::newRow("straight, diagonal") << true << Points{{100, 100}, {101, 101}} << Points{{100, 100}} << false;
        QTest::newRow("straight, opposite signs")
            << true << Points{{100, 100}, {97, 103}} << Points{{100, 100}} << false;
        QTest::newRow("filled origin skipped, sampled origin kept")
            << false << Points{{-3, -3}, {3, 3}, {0, 0}}
            << Points{{-3, -3}, {-2, -2}, {-1, -1}, {1, 1}, {2, 2}, {3, 3}, {2, 2}, {1, 1}, {0, 0}} << true;
    }

    void addPoints_storesSamplesFilledGapsAndFractions()
    {
        QFETCH(bool, straight);
        QFETCH(Points, samples);
        QFETCH(Points, expected);
        QFETCH(bool, accepted);
        Line line(&canvas, 4, 0, straight);
        bool allAccepted = true;
        for (const QPoint& sample : samples)
            allAccepted = line.addPoints(sample) && allAccepted;
        QCOMPARE(allAccepted, accepted);
        QCOMPARE(pointsOf(line), expected);
        QCOMPARE(line.points_proc_from_window.size(), line.points.size());
        for (size_t i = 0; i < line.points.size(); ++i) {
            const QPoint p = line.points[i];
            QCOMPARE(line.points_proc_from_window[i], qMakePair(p.x() / 400.f, p.y() / 200.f));
        }
    }

    void isValid_needsMoreThanMinimumPoints()
    {
        Line line = lineThrough(false, {{10, 10}, {11, 10}, {12, 10}, {13, 10}});
        QCOMPARE(line.points.size(), size_t(4));
        QVERIFY(!line.isValid());
        line.addPoints(QPoint(14, 10));
        QVERIFY(line.isValid());
    }

    void isPointOnMe_marginIsTruncatedShareOfEachAxis_data()
    {
        QTest::addColumn<double>("sizeOffset");
        QTest::addColumn<QPoint>("probe");
        QTest::addColumn<bool>("hit");
        QTest::newRow("0: first point") << 0.0 << QPoint(100, 100) << true;
        QTest::newRow("0: one px right") << 0.0 << QPoint(101, 100) << false;
        QTest::newRow("0.05: 20 px left") << 0.05 << QPoint(80, 100) << true;
        QTest::newRow("0.05: 21 px right") << 0.05 << QPoint(121, 100) << false;
        QTest::newRow("0.05: 11 px down") << 0.05 << QPoint(100, 111) << false;
        QTest::newRow("0.0125: 5 and 2 px off") << 0.0125 << QPoint(105, 102) << true;
        QTest::newRow("0.0125: 3 px down") << 0.0125 << QPoint(100, 103) << false;
        QTest::newRow("absurd tolerance reaches anywhere") << 1e300 << QPoint(-100000, 100000) << true;
    }

    void isPointOnMe_marginIsTruncatedShareOfEachAxis()
    {
        QFETCH(double, sizeOffset);
        QFETCH(QPoint, probe);
        QFETCH(bool, hit);
        Line line(&canvas, 4, 7, false);
        line.points = {QPoint(100, 100), QPoint(300, 50)};
        QCOMPARE(line.isPointOnMe(probe, sizeOffset), qMakePair(hit, 7));
    }

    void updateMovingElementAll_shiftsOnlyEnabledAxis_data()
    {
        QTest::addColumn<bool>("moveX");
        QTest::newRow("x only") << true;
        QTest::newRow("y only") << false;
    }

    void updateMovingElementAll_shiftsOnlyEnabledAxis()
    {
        QFETCH(bool, moveX);
        const Line before = lineThrough(false, {{10, 40}, {20, 50}});
        Line line = before;
        line.updateMovingElementAll(QPoint(40, -20), moveX, !moveX);
        const QPoint shift = moveX ? QPoint(40, 0) : QPoint(0, -20);
        for (size_t i = 0; i < before.points.size(); ++i) {
            QCOMPARE(line.points[i], before.points[i] + shift);
            const QPair<float, float> old = before.points_proc_from_window[i];
            QCOMPARE(line.points_proc_from_window[i],
                qMakePair(old.first + shift.x() / 400.f, old.second + shift.y() / 200.f));
        }
    }
};

QTEST_MAIN(TestLine)
#include "tst_line.moc"
