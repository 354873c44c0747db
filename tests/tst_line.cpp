#include "connectorfill.h"
#include "line.h"

#include <QVector>
#include <QWidget>
#include <QtTest>

#include <climits>
#include <vector>

using Points = QVector<QPoint>;

namespace {

Points toVector(const std::vector<QPoint>& points)
{
    return Points(points.begin(), points.end());
}

} // namespace

class TestLine : public QObject
{
    Q_OBJECT

private:
    QWidget canvas;

    Line lineFromSamples(bool straight, const Points& samples, int whoAmI = 0)
    {
        Line line(&canvas, 4, whoAmI, straight);
        for (const QPoint& sample : samples)
            line.addPoints(sample);
        return line;
    }

private slots:
    void initTestCase()
    {
        canvas.setFixedSize(801, 801);
        QCOMPARE(canvas.rect().size(), QSize(801, 801));
    }

    void newLine_isEmptyAndUnmarked()
    {
        const Line line(&canvas, 4, 3, true);
        QVERIFY(line.points.empty());
        QVERIFY(line.points_proc_from_window.empty());
        QVERIFY(!line.isChecked);
        QVERIFY(!line.isStraightDrawingHorizontal);
        QVERIFY(!line.isValid());
    }

    void fillGap_pointsBetweenEndpoints_data()
    {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<Points>("expected");

        QTest::newRow("same point") << QPoint(5, 5) << QPoint(5, 5) << Points{};
        QTest::newRow("diagonal neighbour is under 1.5 px") << QPoint(5, 5) << QPoint(6, 6) << Points{};
        QTest::newRow("2 px gets its midpoint") << QPoint(0, 0) << QPoint(2, 0) << Points{{1, 0}};
        QTest::newRow("3 px gets two points") << QPoint(10, 10) << QPoint(13, 10)
                                              << Points{{11, 10}, {12, 10}};
        QTest::newRow("interval 1.2 truncated") << QPoint(10, 10) << QPoint(16, 10)
                                                << Points{{11, 10}, {12, 10}, {13, 10}, {14, 10}};
        QTest::newRow("diagonal 3-4-5") << QPoint(0, 0) << QPoint(4, 3)
                                        << Points{{1, 0}, {2, 1}, {3, 2}};
        QTest::newRow("negative direction") << QPoint(16, 10) << QPoint(10, 10)
                                            << Points{{14, 10}, {13, 10}, {12, 10}, {11, 10}};
        QTest::newRow("negative coordinates truncate toward zero")
            << QPoint(-10, -10) << QPoint(-16, -10)
            << Points{{-11, -10}, {-12, -10}, {-13, -10}, {-14, -10}};
        QTest::newRow("crossing the origin truncates toward zero")
            << QPoint(7, -5) << QPoint(-7, 5)
            << Points{{5, -4}, {4, -3}, {3, -2}, {2, -1}, {1, 0}, {0, 0},
                      {-1, 0}, {-2, 1}, {-3, 2}, {-4, 3}, {-5, 4}};
        QTest::newRow("near int maximum") << QPoint(INT_MAX - 3, INT_MAX) << QPoint(INT_MAX, INT_MAX)
                                          << Points{{INT_MAX - 2, INT_MAX}, {INT_MAX - 1, INT_MAX}};
        QTest::newRow("near int minimum") << QPoint(INT_MIN, INT_MIN) << QPoint(INT_MIN + 3, INT_MIN)
                                          << Points{{INT_MIN + 1, INT_MIN}, {INT_MIN + 2, INT_MIN}};
    }

    void fillGap_pointsBetweenEndpoints()
    {
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(Points, expected);
        QCOMPARE(toVector(fillGap(from, to)), expected);
    }

    void fillGap_gapWhoseSquaresExceed32Bits_isFilledEvenly()
    {
        const std::vector<QPoint> filled = fillGap(QPoint(0, 0), QPoint(60000, 80000));
        QCOMPARE(filled.size(), size_t(66666));
        QCOMPARE(filled.front(), QPoint(0, 1));
        QCOMPARE(filled.back(), QPoint(59999, 79998));
    }

    void fractionOf_dividesEachAxisBySize()
    {
        QCOMPARE(fractionOf(QPoint(200, 50), QSize(400, 200)), qMakePair(0.5f, 0.25f));
        QCOMPARE(fractionOf(QPoint(7, 9), QSize(0, 0)), qMakePair(0.0f, 0.0f));
    }

    void addPoints_storesSamplesAndFilledGaps_data()
    {
        QTest::addColumn<bool>("straight");
        QTest::addColumn<Points>("samples");
        QTest::addColumn<Points>("expected");
        QTest::addColumn<bool>("horizontalLock");

        QTest::newRow("freehand") << false << Points{{10, 10}, {16, 10}}
                                  << Points{{10, 10}, {11, 10}, {12, 10}, {13, 10}, {14, 10}, {16, 10}}
                                  << false;
        QTest::newRow("straight, runs horizontally")
            << true << Points{{100, 100}, {103, 101}, {120, 106}}
            << Points{{100, 100}, {100, 101},
                      {101, 101}, {102, 101}, {104, 101}, {105, 101}, {107, 101}, {108, 101},
                      {110, 101}, {111, 101}, {112, 101}, {114, 101}, {115, 101}, {117, 101},
                      {118, 101},
                      {120, 101}}
            << false;
        QTest::newRow("straight, runs vertically, repeat kept")
            << true << Points{{100, 100}, {101, 105}, {130, 104}, {90, 104}}
            << Points{{100, 100}, {101, 100}, {101, 101}, {101, 102}, {101, 104}, {101, 104}}
            << true;
        QTest::newRow("filled origin skipped, sample origin kept")
            << false << Points{{-3, -3}, {3, 3}, {0, 0}}
            << Points{{-3, -3}, {-2, -2}, {-1, -1}, {1, 1}, {2, 2}, {3, 3}, {2, 2}, {1, 1}, {0, 0}}
            << false;
        QTest::newRow("every filled point on origin") << false << Points{{-2, 0}, {2, 0}}
                                                      << Points{{-2, 0}, {2, 0}} << false;
    }

    void addPoints_storesSamplesAndFilledGaps()
    {
        QFETCH(bool, straight);
        QFETCH(Points, samples);
        QFETCH(Points, expected);
        QFETCH(bool, horizontalLock);

        Line line(&canvas, 4, 0, straight);
        for (const QPoint& sample : samples)
            QVERIFY(line.addPoints(sample));
        QCOMPARE(toVector(line.points), expected);
        QCOMPARE(line.isStraightDrawingHorizontal, horizontalLock);

        QCOMPARE(line.points_proc_from_window.size(), line.points.size());
        for (size_t i = 0; i < line.points.size(); ++i) {
            const QPoint p = line.points[i];
            const QPair<float, float> fraction = line.points_proc_from_window[i];
            QVERIFY2(fraction.first == float(p.x()) / 801.f && fraction.second == float(p.y()) / 801.f,
                     qPrintable(QStringLiteral("fraction %1 of point (%2, %3)").arg(i).arg(p.x()).arg(p.y())));
        }
    }

    void straightSecondSampleEqualComponents_isRejected_data()
    {
        QTest::addColumn<QPoint>("second");
        QTest::newRow("diagonal") << QPoint(101, 101);
        QTest::newRow("no movement") << QPoint(100, 100);
        QTest::newRow("opposite signs") << QPoint(97, 103);
    }

    void straightSecondSampleEqualComponents_isRejected()
    {
        QFETCH(QPoint, second);
        Line line(&canvas, 4, 0, true);
        QVERIFY(line.addPoints(QPoint(100, 100)));
        QVERIFY(!line.addPoints(second));
        QCOMPARE(toVector(line.points), Points{QPoint(100, 100)});
        QCOMPARE(line.points_proc_from_window.size(), size_t(1));
        QVERIFY(!line.isStraightDrawingHorizontal);
    }

    void fractions_useCanvasWidthForXAndHeightForY()
    {
        QWidget wide;
        wide.setFixedSize(400, 200);
        Line line(&wide, 4, 0, false);
        line.addPoints(QPoint(100, 100));
        QCOMPARE(line.points_proc_from_window.front(), qMakePair(0.25f, 0.5f));
    }

    void isValid_needsMoreThanMinimumPoints_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("valid");
        QTest::newRow("4 points") << 4 << false;
        QTest::newRow("5 points") << 5 << true;
    }

    void isValid_needsMoreThanMinimumPoints()
    {
        QFETCH(int, count);
        QFETCH(bool, valid);
        Line line(&canvas, 4, 0, false);
        for (int i = 0; i < count; ++i)
            line.addPoints(QPoint(10 + i, 10));
        QCOMPARE(line.points.size(), size_t(count));
        QCOMPARE(line.isValid(), valid);
    }

    void isPointOnMe_marginIsTruncatedFractionOfCanvas_data()
    {
        QTest::addColumn<double>("sizeOffset");
        QTest::addColumn<QPoint>("probe");
        QTest::addColumn<bool>("hit");

        QTest::newRow("0: exact point") << 0.0 << QPoint(400, 400) << true;
        QTest::newRow("0: second stored point") << 0.0 << QPoint(300, 200) << true;
        QTest::newRow("0: one px right") << 0.0 << QPoint(401, 400) << false;
        QTest::newRow("0: one px up") << 0.0 << QPoint(400, 399) << false;
        QTest::newRow("0.01: +8 x") << 0.01 << QPoint(408, 400) << true;
        QTest::newRow("0.01: -8 x") << 0.01 << QPoint(392, 400) << true;
        QTest::newRow("0.01: +9 x") << 0.01 << QPoint(409, 400) << false;
        QTest::newRow("0.01: -9 x") << 0.01 << QPoint(391, 400) << false;
        QTest::newRow("0.01: +8 y") << 0.01 << QPoint(400, 408) << true;
        QTest::newRow("0.01: -8 y") << 0.01 << QPoint(400, 392) << true;
        QTest::newRow("0.01: +9 y") << 0.01 << QPoint(400, 409) << false;
        QTest::newRow("0.01: -9 y") << 0.01 << QPoint(400, 391) << false;
        QTest::newRow("0.01: corner") << 0.01 << QPoint(408, 392) << true;
        QTest::newRow("0.01: corner, y one past") << 0.01 << QPoint(408, 409) << false;
        QTest::newRow("0.04: +32 x") << 0.04 << QPoint(432, 400) << true;
        QTest::newRow("0.04: +33 x") << 0.04 << QPoint(433, 400) << false;
    }

    void isPointOnMe_marginIsTruncatedFractionOfCanvas()
    {
        QFETCH(double, sizeOffset);
        QFETCH(QPoint, probe);
        QFETCH(bool, hit);
        Line line(&canvas, 4, 7, false);
        line.points = {QPoint(400, 400), QPoint(300, 200)};
        QCOMPARE(line.isPointOnMe(probe, sizeOffset), qMakePair(hit, 7));
    }

    void isPointOnMe_marginsFollowTheirOwnAxis()
    {
        QWidget wide;
        wide.setFixedSize(400, 200);
        Line line(&wide, 4, 2, false);
        line.points = {QPoint(100, 100)};
        QCOMPARE(line.isPointOnMe(QPoint(120, 100), 0.05), qMakePair(true, 2));
        QCOMPARE(line.isPointOnMe(QPoint(100, 110), 0.05), qMakePair(true, 2));
        QCOMPARE(line.isPointOnMe(QPoint(100, 111), 0.05), qMakePair(false, 2));
    }

    void updateMovingElementAll_shiftsOnlyEnabledAxes_data()
    {
        QTest::addColumn<bool>("moveX");
        QTest::addColumn<bool>("moveY");
        QTest::newRow("y only") << false << true;
        QTest::newRow("x only") << true << false;
        QTest::newRow("both") << true << true;
    }

    void updateMovingElementAll_shiftsOnlyEnabledAxes()
    {
        QFETCH(bool, moveX);
        QFETCH(bool, moveY);
        const QPoint difference(13, -20);
        const Line before = lineFromSamples(false, {{10, 40}, {20, 50}, {25, 45}});
        Line line = before;

        line.updateMovingElementAll(difference, moveX, moveY);

        QCOMPARE(line.points.size(), before.points.size());
        QCOMPARE(line.points_proc_from_window.size(), before.points_proc_from_window.size());
        const float shiftX = moveX ? float(difference.x()) / 801.f : 0.f;
        const float shiftY = moveY ? float(difference.y()) / 801.f : 0.f;
        for (size_t i = 0; i < line.points.size(); ++i) {
            const QPoint old = before.points[i];
            QCOMPARE(line.points[i], QPoint(old.x() + (moveX ? 13 : 0), old.y() + (moveY ? -20 : 0)));
            const QPair<float, float> oldFraction = before.points_proc_from_window[i];
            QVERIFY(line.points_proc_from_window[i].first == oldFraction.first + shiftX);
            QVERIFY(line.points_proc_from_window[i].second == oldFraction.second + shiftY);
        }
    }

    void setObjColor_setsCheckedFlag()
    {
        Line line(&canvas, 4, 0, false);
        line.setObjColor(true);
        QVERIFY(line.isChecked);
        line.setObjColor(false);
        QVERIFY(!line.isChecked);
    }
};

QTEST_MAIN(TestLine)
#include "tst_line.moc"
