#include "testwindow.h"
#include "ui_mainwindow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTextCursor>
#include <QTextEdit>

using Points = QVector<QPoint>;

// The two kinds of element on the real window's 801 x 801 canvas: text boxes, 24 x 16 when new, and
// connectors, valid from more than 4 points.
class TestTextObject : public WindowTest
{
    Q_OBJECT

private slots:
    // The box opens at (20, 50) holding `before` and is moved to `at`; then `paste` is pasted at `cursor`
    // and the box keeps `kept`. With 7 x 13 px cells and 12 x 8 px round its text, 112 columns and 61 rows
    // fit on the canvas; what does not fit is cut before the cursor.
    void paste_keepsWhatFitsAndSizesBoxOnCanvas_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("paste");
        QTest::addColumn<QString>("kept");
        const QString tab = QStringLiteral("Start\nand\tmore"), two = QStringLiteral("ab");
        QTest::newRow("two lines, a tab") << QPoint(200, 300) << QString() << 0 << tab << tab;
        QTest::newRow("at the bottom right") << QPoint(777, 785) << QString() << 0 << "abcdef\n" << "abcdef\n";
        // "ab" makes a box 26 px wide that would end a pixel past the canvas.
        QTest::newRow("a pixel past the right edge") << QPoint(776, 300) << QString() << 0 << two << two;
        QTest::newRow("moved off the top left") << QPoint(-30, -40) << QString() << 0 << two << two;
        QTest::newRow("too wide a paste") << QPoint(300, 300) << QString() << 0 << QString(2000, 'w') << QString(112, 'w');
        QTest::newRow("too wide a paste of wide characters") << QPoint(300, 300) << QString() << 0 << QString(2000, QChar(0x6F22))
                                                             << QString(56, QChar(0x6F22));
        QTest::newRow("too tall a paste") << QPoint(300, 300) << QString() << 0 << QString("row\n").repeated(400)
                                          << QString("row\n").repeated(60) + "row";
        // A CR LF is one line break, a lone CR another.
        QTest::newRow("too tall, CR LF, in the middle") << QPoint(300, 300) << "a\nb" << 2 << QString("ro\r\nw\r").repeated(40)
                                                        << "a\n" + QString("ro\nw\n").repeated(29) + "ro\nwb";
    }

    void paste_keepsWhatFitsAndSizesBoxOnCanvas()
    {
        QFETCH(QPoint, at);
        QFETCH(QString, before);
        QFETCH(int, cursor);
        QFETCH(QString, paste);
        QFETCH(QString, kept);
        TextObject* box = t->addBox(QPoint(20, 50));
        box->updateMovingElement(at);
        box->elem->setPlainText(before);
        QTextCursor moved = box->elem->textCursor();
        moved.setPosition(cursor);
        box->elem->setTextCursor(moved);
        QStringList seen;
        box->setCallbackFunction([&] { seen << box->elem->toPlainText(); });
        QGuiApplication::clipboard()->setText(paste);
        box->elem->paste();
        QCOMPARE(box->elem->toPlainText(), kept);
        // Sized to its text (its laid-out size plus 10 x 6) and kept where it was put unless that would leave the canvas.
        const QSizeF text = box->elem->document()->size();
        const QSize size(int(10 + text.width()), int(6 + text.height()));
        const QRect wanted(QPoint(qBound(0, at.x(), 801 - size.width()), qBound(0, at.y(), 801 - size.height())), size);
        QCOMPARE(box->currentWantedRect, wanted);
        QCOMPARE(box->elem->geometry(), wanted);
        QCOMPARE(box->x_y_proc_respect_to_zero, QPointF(wanted.x() / 801.0, wanted.y() / 801.0));
        // Cut at once rather than once per character; the first character cut, typed again, is cut again.
        QVERIFY(!seen.isEmpty() && seen.size() <= 3);
        QCOMPARE(seen.last(), kept);
        const QString whole = before.left(cursor) + paste + before.mid(cursor);
        box->elem->insertPlainText(whole.mid(box->elem->textCursor().position(), kept == whole ? 0 : 1));
        QCOMPARE(box->elem->toPlainText(), kept);
    }

    // A straight connector's second sample picks the axis it keeps. Then a whole-chart move shifts only the
    // axes it may, in points and fractions alike.
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
        // A first straight step as wide as high is refused.
        Line tie(t->ui()->drawWidget, 4, 0, true);
        QVERIFY(tie.addPoints({5, 5}) && !tie.addPoints({9, 1}));
    }
};

QTEST_MAIN(TestTextObject)
#include "tst_textobject.moc"
