#include "cellfont.h"
#include "chartrender.h"
#include "testwindow.h"
#include "ui_mainwindow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTextCursor>
#include <QTextEdit>

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

    // The box opens at (20, 50) holding `before` and is moved to `at`; then `paste` is pasted at `cursor`. An
    // editor laid out like the box's, cut one character before the cursor at a time until the text fits,
    // tells what the box keeps. Each row fits or is too big in one way.
    void paste_keepsWhatFitsAndSizesBoxOnCanvas_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("paste");
        QTest::newRow("two lines, a tab") << QPoint(200, 300) << QString() << 0 << QStringLiteral("Start\nand\tmore");
        QTest::newRow("at the bottom right") << QPoint(777, 785) << QString() << 0 << QStringLiteral("abcdef\n");
        // With 7 px cells, "ab" makes a box 26 px wide that would end a pixel past the canvas.
        QTest::newRow("a pixel past the right edge") << QPoint(776, 300) << QString() << 0 << QStringLiteral("ab");
        QTest::newRow("moved off the top left") << QPoint(-30, -40) << QString() << 0 << QStringLiteral("ab");
        QTest::newRow("too wide a paste") << QPoint(300, 300) << QString() << 0 << QString(2000, QLatin1Char('w'));
        QTest::newRow("too tall a paste") << QPoint(300, 300) << QString() << 0 << QStringLiteral("row\n").repeated(400);
        QTest::newRow("too tall, CR LF, in the middle") << QPoint(300, 300) << QStringLiteral("a\nb") << 2
                                                        << QStringLiteral("ro\r\nw\r").repeated(40);
    }

    void paste_keepsWhatFitsAndSizesBoxOnCanvas()
    {
        QFETCH(QPoint, at);
        QFETCH(QString, before);
        QFETCH(int, cursor);
        QFETCH(QString, paste);
        TextObject* box = t->addBox(QPoint(20, 50));
        box->updateMovingElement(at);
        QTextEdit plain(t->ui()->drawWidget);
        plain.setFont(box->elem->font());
        plain.setLineWrapMode(QTextEdit::NoWrap);
        plain.document()->setDocumentMargin(box->elem->document()->documentMargin());
        QStringList seen;
        for (QTextEdit* editor : {box->elem, &plain}) {
            editor->setPlainText(before);
            QTextCursor moved = editor->textCursor();
            moved.setPosition(cursor);
            editor->setTextCursor(moved);
            box->setCallbackFunction([&] { seen << box->elem->toPlainText(); });
            if (editor == box->elem) {
                QGuiApplication::clipboard()->setText(paste);
                editor->paste();
            } else {
                editor->insertPlainText(paste);
            }
        }
        const auto laidOut = [&] {
            CellFont::fixLineHeight(plain.document(), ChartRender::cellHeight);
            plain.document()->adjustSize();
            return QSize(int(10 + plain.document()->size().width()), int(6 + plain.document()->size().height()));
        };
        for (QTextCursor end = plain.textCursor(); !QRect(0, 0, 801, 801).contains(QRect(QPoint(), laidOut())) && end.position() > 0;)
            end.deletePreviousChar();
        const QString kept = plain.toPlainText(), whole = before.left(cursor) + paste + before.mid(cursor);
        QCOMPARE(box->elem->toPlainText(), kept);
        // Sized to its text (its laid-out size plus 10 x 6) and kept where it was put unless that would leave the canvas.
        const QSize size = laidOut();
        const QRect wanted(QPoint(qBound(0, at.x(), 801 - size.width()), qBound(0, at.y(), 801 - size.height())), size);
        QCOMPARE(box->currentWantedRect, wanted);
        QCOMPARE(box->elem->geometry(), wanted);
        QCOMPARE(box->x_y_proc_respect_to_zero, QPointF(wanted.x() / 801.0, wanted.y() / 801.0));
        // Cut at once rather than once per character; the first character cut, typed again, is cut again.
        QVERIFY(!seen.isEmpty() && seen.size() <= 3);
        QCOMPARE(seen.last(), kept);
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
