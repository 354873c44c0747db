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

    // The box size a text needs: its laid-out size in the box's font plus 10 x 6.
    static QSize neededSize(const TextObject* box, const QString& text)
    {
        std::unique_ptr<QTextDocument> document(box->elem->document()->clone());
        document->setPlainText(text);
        document->adjustSize();
        return QSize(int(10 + document->size().width()), int(6 + document->size().height()));
    }

private slots:
    void init() { t.emplace(); }
    void cleanup() { t.reset(); }

    // The box opens at (20, 50) and is moved to `at`; then the text is pasted, some of it too big to fit.
    void editing_fitsBoxToTextOnCanvas_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("tooBig");
        QTest::newRow("two lines") << QPoint(200, 300) << QStringLiteral("Start\nand more") << false;
        QTest::newRow("at the bottom right") << QPoint(777, 785) << QStringLiteral("abcdef\n") << false;
        QTest::newRow("moved off the top left") << QPoint(-30, -40) << QStringLiteral("ab") << false;
        QTest::newRow("too wide a paste") << QPoint(300, 300) << QString(2000, QLatin1Char('w')) << true;
        QTest::newRow("too tall a paste") << QPoint(300, 300) << QStringLiteral("row\n").repeated(400) << true;
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

        // Sized to its text, and kept where it was put unless that would leave the canvas.
        const QString kept = box->elem->toPlainText();
        const QSize size = neededSize(box, kept);
        const QRect wanted(QPoint(qBound(0, at.x(), 801 - size.width()), qBound(0, at.y(), 801 - size.height())), size);
        QCOMPARE(box->currentWantedRect, wanted);
        QCOMPARE(box->elem->geometry(), wanted);
        QCOMPARE(box->x_y_proc_respect_to_zero, QPointF(wanted.x() / 801.0, wanted.y() / 801.0));
        // Only what does not fit is cut, from the end, at once rather than once per character.
        QFETCH(bool, tooBig);
        QCOMPARE(kept == text, !tooBig);
        QCOMPARE(kept, text.left(kept.size()));
        const QSize oneMore = neededSize(box, text.left(kept.size() + 1));
        QVERIFY2(kept == text || oneMore.width() > 801 || oneMore.height() > 801, "no character was cut needlessly");
        QVERIFY(!seen.isEmpty() && seen.size() <= 3);
        QCOMPARE(seen.last(), kept);
    }

    // On an 801 x 601 canvas. The box at (100, 100), centred on (112, 108), is hit from a whole size before
    // its centre to half a size after it; a connector around each of its points. Both widen by a truncated
    // share of the canvas: of its width in x, of its height in y.
    void isPointOnMe_hitAreaGrowsWithSlack_data()
    {
        QTest::addColumn<bool>("box");
        QTest::addColumn<double>("slack");
        QTest::addColumn<QRect>("area");
        QTest::newRow("box") << true << 0.0 << QRect(QPoint(88, 92), QPoint(124, 116));
        QTest::newRow("box, 3 px slack in x, 2 in y") << true << 0.004 << QRect(QPoint(85, 90), QPoint(127, 118));
        QTest::newRow("connector") << false << 0.0 << QRect(QPoint(100, 100), QPoint(101, 100));
        QTest::newRow("connector, 10 px slack in x, 7 in y") << false << 0.0125 << QRect(QPoint(90, 93), QPoint(111, 107));
        QTest::newRow("connector, absurd slack") << false << 1e300 << QRect(50, 50, 150, 150);
    }

    void isPointOnMe_hitAreaGrowsWithSlack()
    {
        QFETCH(bool, box);
        QFETCH(double, slack);
        t->ui()->drawWidget->setFixedSize(801, 601);
        const TextObject* text = t->addBox(QPoint(100, 100));
        const Line& line = t->addLine({QPoint(100, 100), QPoint(101, 100)});
        QRegion hits;
        for (int x = 50; x < 200; ++x) {
            for (int y = 50; y < 200; ++y) {
                if ((box ? text->isPointOnMe(QPoint(x, y), slack) : line.isPointOnMe(QPoint(x, y), slack)).first)
                    hits += QRect(x, y, 1, 1);
            }
        }
        QTEST(hits.boundingRect(), "area");
        QCOMPARE(hits.rectCount(), 1);
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
        QFETCH(QRect, rect);
        QFETCH(QPoint, difference);
        t->ui()->drawWidget->setFixedSize(801, 601);
        TextObject* box = t->addBox(QPoint(0, 0));
        box->currentWantedRect = rect;
        QTEST(box->isMovingPossible(difference), "answer");
    }

    // Unplugged from its re-measuring, which would put a box that left the canvas back on it.
    void wholeChartMove_stopsAtCanvasOrigin()
    {
        TextObject* box = t->addBox(QPoint(10, 20), QStringLiteral("abc"));
        box->elem->document()->disconnect(box);
        box->updateMovingElementAll(QPoint(-20, -30));
        QCOMPARE(box->elem->pos(), QPoint(0, 0));
        QCOMPARE(box->x_y_proc_respect_to_zero, QPointF(0, 0));
    }

    void flush_releasesEditor()
    {
        TextObject* box = t->addBox(QPoint(10, 10), QStringLiteral("x"));
        QPointer<QTextEdit> editor = box->elem;
        box->flush();
        QVERIFY(editor.isNull() && !box->isValid());
    }

    // A straight connector's second sample picks the axis it keeps; when it cannot pick one the sample is
    // refused, which leaves the connector at its first point.
    void addPoints_storesSamplesFilledGapsAndFractions_data()
    {
        QTest::addColumn<bool>("straight");
        QTest::addColumn<Points>("samples");
        QTest::addColumn<Points>("expected");
        QTest::addColumn<bool>("valid");
        QTest::newRow("freehand fills gaps, four points") << false << Points{{10, 10}, {14, 10}}
                                                          << Points{{10, 10}, {11, 10}, {12, 10}, {14, 10}} << false;
        QTest::newRow("straight, wider step keeps its y") << true << Points{{100, 100}, {103, 101}, {106, 105}}
            << Points{{100, 100}, {100, 101}, {101, 101}, {102, 101}, {103, 101}, {104, 101}, {106, 101}} << true;
        QTest::newRow("straight, taller step keeps its x; repeat kept") << true << Points{{100, 100}, {101, 105}, {130, 104}, {90, 104}}
            << Points{{100, 100}, {101, 100}, {101, 101}, {101, 102}, {101, 104}, {101, 104}} << true;
        QTest::newRow("straight, as wide as high: refused") << true << Points{{100, 100}, {97, 103}} << Points{{100, 100}} << false;
        QTest::newRow("filled origin skipped, sampled origin kept") << false << Points{{-3, -3}, {3, 3}, {0, 0}}
            << Points{{-3, -3}, {-2, -2}, {-1, -1}, {1, 1}, {2, 2}, {3, 3}, {2, 2}, {1, 1}, {0, 0}} << true;
    }

    void addPoints_storesSamplesFilledGapsAndFractions()
    {
        QFETCH(bool, straight);
        QFETCH(Points, samples);
        QFETCH(Points, expected);
        Line line(t->ui()->drawWidget, 4, 0, straight);
        bool accepted = true;
        for (const QPoint& sample : samples)
            accepted = line.addPoints(sample) && accepted;
        QCOMPARE(accepted, expected.size() > 1);
        QCOMPARE(Points(line.points.begin(), line.points.end()), expected);
        QTEST(line.isValid(), "valid");
        QCOMPARE(line.points_proc_from_window.size(), line.points.size());
        for (size_t i = 0; i < line.points.size(); ++i)
            QCOMPARE(line.points_proc_from_window[i], qMakePair(line.points[i].x() / 801.f, line.points[i].y() / 801.f));
    }

    void connectorMove_shiftsOnlyEnabledAxes()
    {
        Line line(t->ui()->drawWidget, 4, 0, false);
        line.addPoints(QPoint(10, 40));
        line.addPoints(QPoint(20, 50));
        const Line before = line;
        line.updateMovingElementAll(QPoint(40, -20), true, false);
        line.updateMovingElementAll(QPoint(8, -30), false, true);
        for (size_t i = 0; i < before.points.size(); ++i) {
            QCOMPARE(line.points[i], before.points[i] + QPoint(40, -30));
            const QPair<float, float> old = before.points_proc_from_window[i];
            QCOMPARE(line.points_proc_from_window[i], qMakePair(old.first + 40 / 801.f, old.second - 30 / 801.f));
        }
    }
};

QTEST_MAIN(TestTextObject)
#include "tst_textobject.moc"
