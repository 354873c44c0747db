#include "testwindow.h"
#include "ui_mainwindow.h"

#include <QPointer>

#include <optional>

using Points = QVector<QPoint>;

// The two kinds of element on the real window's 801 x 801 canvas: text boxes, 24 x 16 when new, and
// connectors, valid from more than 4 points.
class TestTextObject : public QObject
{
    Q_OBJECT

    std::optional<TestWindow> t;

private slots:
    void init() { t.emplace(); }
    void cleanup() { t.reset(); }

    // The box opens at (20, 50) and is moved to `at`; then the text is pasted, the last two too big to fit.
    void editing_fitsBoxToTextOnCanvas_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QString>("text");
        QTest::newRow("two lines") << QPoint(200, 300) << QStringLiteral("Start\nand more");
        QTest::newRow("at the bottom right") << QPoint(777, 785) << QStringLiteral("abcdef\n");
        QTest::newRow("moved off the top left") << QPoint(-30, -40) << QStringLiteral("ab");
        QTest::newRow("too wide a paste") << QPoint(300, 300) << QString(2000, QLatin1Char('w'));
        QTest::newRow("too tall a paste") << QPoint(300, 300) << QStringLiteral("row\n").repeated(400);
    }

    void editing_fitsBoxToTextOnCanvas()
    {
        QFETCH(QPoint, at);
        QFETCH(QString, text);
        TextObject* box = t->addBox(QPoint(20, 50));
        box->updateMovingElement(at);
        QStringList seen;
        box->setCallbackFunction([&] { seen << box->elem->toPlainText(); });
        box->elem->insertPlainText(text);

        // Sized to its text (its laid-out size in the box's font plus 10 x 6), which fits on the canvas, and
        // kept where it was put unless that would leave the canvas.
        const QString kept = box->elem->toPlainText();
        std::unique_ptr<QTextDocument> document(box->elem->document()->clone());
        document->adjustSize();
        const QSize size(int(10 + document->size().width()), int(6 + document->size().height()));
        QVERIFY(size.width() <= 801 && size.height() <= 801);
        const QRect wanted(QPoint(qBound(0, at.x(), 801 - size.width()), qBound(0, at.y(), 801 - size.height())), size);
        QCOMPARE(box->currentWantedRect, wanted);
        QCOMPARE(box->elem->geometry(), wanted);
        QCOMPARE(box->x_y_proc_respect_to_zero, QPointF(wanted.x() / 801.0, wanted.y() / 801.0));
        // Only what does not fit is cut, from the end, at once rather than once per character: the first
        // character cut, typed again, is cut again.
        QCOMPARE(kept, text.left(kept.size()));
        QVERIFY(!seen.isEmpty() && seen.size() <= 3);
        QCOMPARE(seen.last(), kept);
        box->elem->insertPlainText(text.mid(kept.size(), 1));
        QCOMPARE(box->elem->toPlainText(), kept);
    }

    // On an 801 x 601 canvas. The box at (100, 100), centred on (112, 108), is hit from a whole size before
    // its centre to half a size after it, widened by a truncated share of the canvas: of its width in x, of
    // its height in y. A connector stays hittable, by any point, at an absurd share. Then a whole-chart move,
    // unplugged from the re-measuring that would put the box back, stops at the canvas origin, and flushing
    // deletes the editor.
    void box_lopsidedHitArea_wholeChartMoveStopsAtOrigin_flushReleasesEditor()
    {
        t->ui()->drawWidget->setFixedSize(801, 601);
        TextObject* box = t->addBox(QPoint(100, 100));
        QRegion hits;
        for (int x = 50; x < 200; ++x) {
            for (int y = 50; y < 200; ++y) {
                if (box->isPointOnMe(QPoint(x, y), 0).first)
                    hits += QRect(x, y, 1, 1);
            }
        }
        QCOMPARE(hits, QRegion(QRect(QPoint(88, 92), QPoint(124, 116))));
        const auto hitAtSlack = [box](int x, int y) { return box->isPointOnMe(QPoint(x, y), 0.004).first; };
        QVERIFY(hitAtSlack(127, 118) && !hitAtSlack(128, 118) && !hitAtSlack(127, 119));
        QVERIFY(hitAtSlack(85, 90) && !hitAtSlack(84, 90) && !hitAtSlack(85, 89));
        QVERIFY(t->addLine({QPoint(100, 100)}).isPointOnMe(QPoint(700, 0), 1e300).first);

        box->elem->document()->disconnect(box);
        box->updateMovingElementAll(QPoint(-120, -130));
        QCOMPARE(box->elem->pos(), QPoint(0, 0));
        QCOMPARE(box->x_y_proc_respect_to_zero, QPointF(0, 0));
        QPointer<QTextEdit> editor = box->elem;
        box->flush();
        QVERIFY(!editor->isVisible() && !box->isValid());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(editor.isNull());
    }

    // On an 801 x 601 canvas: whether the box can move, and per axis the move to the edge (-1: none needed).
    void isMovingPossible_reportsCorrectionPerAxis_data()
    {
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<QPoint>("difference");
        QTest::addColumn<QPair<bool, QPoint>>("answer");
        QTest::newRow("left edge only") << QRect(5, 5, 50, 20) << QPoint(-10, 0) << qMakePair(true, QPoint(-5, -1));
        QTest::newRow("left and top edges") << QRect(5, 5, 50, 20) << QPoint(-10, -10) << qMakePair(false, QPoint(-5, -5));
        QTest::newRow("right edge") << QRect(700, 100, 100, 20) << QPoint(5, 0) << qMakePair(true, QPoint(1, -1));
        QTest::newRow("exactly to the edges") << QRect(700, 100, 100, 20) << QPoint(1, 481) << qMakePair(true, QPoint(-1, -1));
        QTest::newRow("bottom edge") << QRect(100, 570, 50, 20) << QPoint(0, 20) << qMakePair(true, QPoint(-1, 11));
    }

    void isMovingPossible_reportsCorrectionPerAxis()
    {
        t->ui()->drawWidget->setFixedSize(801, 601);
        TextObject* box = t->addBox(QPoint(0, 0));
        QFETCH(QRect, rect);
        box->currentWantedRect = rect;
        QFETCH(QPoint, difference);
        QTEST(box->isMovingPossible(difference), "answer");
    }

    // A straight connector's second sample picks the axis it keeps (the wider step and the refusal are
    // drawn through the window elsewhere). Then a whole-chart move shifts only the axes it may, in points
    // and fractions alike.
    void addPoints_storesSamplesFilledGapsAndFractions_data()
    {
        QTest::addColumn<bool>("straight");
        QTest::addColumn<Points>("samples");
        QTest::addColumn<Points>("expected");
        QTest::newRow("freehand fills gaps, four points") << false << Points{{10, 10}, {14, 10}}
                                                          << Points{{10, 10}, {11, 10}, {12, 10}, {14, 10}};
        QTest::newRow("straight, taller step keeps its x; repeat kept") << true << Points{{100, 100}, {101, 105}, {130, 104}, {90, 104}}
            << Points{{100, 100}, {101, 100}, {101, 101}, {101, 102}, {101, 104}, {101, 104}};
        QTest::newRow("filled origin skipped, sampled origin kept") << false << Points{{-3, -3}, {3, 3}, {0, 0}}
            << Points{{-3, -3}, {-2, -2}, {-1, -1}, {1, 1}, {2, 2}, {3, 3}, {2, 2}, {1, 1}, {0, 0}};
    }

    void addPoints_storesSamplesFilledGapsAndFractions()
    {
        QFETCH(bool, straight);
        QFETCH(Points, samples);
        QFETCH(Points, expected);
        Line line(t->ui()->drawWidget, 4, 0, straight);
        for (const QPoint& sample : samples)
            QVERIFY(line.addPoints(sample));
        QCOMPARE(Points(line.points.begin(), line.points.end()), expected);
        QCOMPARE(line.isValid(), expected.size() > 4);
        for (int move = 0; move < 3; ++move) { // none, then y alone, then x alone
            QCOMPARE(line.points_proc_from_window.size(), line.points.size());
            for (size_t i = 0; i < line.points.size(); ++i) {
                QCOMPARE(line.points[i], expected[int(i)] + QPoint(move > 1 ? 8 : 0, move > 0 ? -30 : 0));
                QCOMPARE(line.points_proc_from_window[i].first, line.points[i].x() / 801.f);
                QCOMPARE(line.points_proc_from_window[i].second, line.points[i].y() / 801.f);
            }
            line.updateMovingElementAll(QPoint(8, -30), move == 1, move == 0);
        }
    }
};

QTEST_MAIN(TestTextObject)
#include "tst_textobject.moc"
