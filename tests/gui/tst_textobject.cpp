#include "testwindow.h"

#include <QClipboard>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolTip>

using Points = QVector<QPoint>;

// The two kinds of element on the real window's 801 x 801 canvas: text boxes, 24 x 16 when new, and
// connectors, valid from more than 4 points.
class TestTextObject : public WindowTest
{
    Q_OBJECT

private slots:
    // The box opens at (20, 50) holding `before` and is moved to `at`; then `paste` is pasted where `before`
    // shows "|" and the box keeps `kept`. With 7 x 13 px cells and 12 x 8 px round its text, 112 columns and 61
    // rows fit on the canvas; what does not fit is cut before the cursor.
    void paste_keepsWhatFitsAndSizesBoxOnCanvas_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("paste");
        QTest::addColumn<QString>("kept");
        const QString tab = QStringLiteral("Start\na\tb\n\tc\nd\t\te\nfghijklmnop\t\tq"), two = QStringLiteral("ab"), line = QStringLiteral("abcdef\n");
        QTest::newRow("tabs") << QPoint(200, 300) << "" << tab << tab;
        QTest::newRow("at the bottom right") << QPoint(777, 785) << "" << line << line;
        // "ab" makes a box 26 px wide that would end a pixel past the canvas.
        QTest::newRow("a pixel past the right edge") << QPoint(776, 300) << "" << two << two;
        QTest::newRow("a pixel off the top left") << QPoint(-1, -1) << "" << two << two;
        QTest::newRow("too wide a paste") << QPoint(300, 300) << "" << QString(2000, 'w') << QString(112, 'w');
        QTest::newRow("too wide a paste of wide characters") << QPoint(300, 300) << "" << QString(2000, QChar(0x6F22)) << QString(56, QChar(0x6F22));
        QTest::newRow("too tall a paste") << QPoint(300, 300) << "" << QString("row\n").repeated(400) << QString("row\n").repeated(60) + "row";
        // A CR LF is one line break, a lone CR another.
        QTest::newRow("too tall, CR LF, in the middle")
            << QPoint(300, 300) << "a\n|b" << QString("ro\r\nw\r").repeated(40) << "a\n" + QString("ro\nw\n").repeated(29) + "ro\nwb";
    }

    void paste_keepsWhatFitsAndSizesBoxOnCanvas()
    {
        QFETCH(QPoint, at);
        QFETCH(QString, before);
        QFETCH(QString, paste);
        QFETCH(QString, kept);
        TextObject* box = t->addBox(QPoint(20, 50));
        box->updateMovingElement(at);
        box->elem->setPlainText(before.section('|', 1)); // what follows the cursor, then what goes before it
        box->elem->insertPlainText(before.section('|', 0, 0));
        QStringList seen;
        box->setCallbackFunction([&] { seen << box->elem->toPlainText(); });
        QApplication::clipboard()->setText(paste);
        QToolTip::hideText();
        box->elem->paste();
        QCOMPARE(box->elem->toPlainText(), kept);
        // A tab ends on the canvas where it ends in the drawing: what follows starts at its cell of 7 px.
        for (QTextBlock line = box->elem->document()->begin(); line.isValid(); line = line.next()) {
            const int end = line.text().lastIndexOf('\t') + 1;
            const qreal off =
                line.layout()->lineAt(0).cursorToX(end) - line.layout()->lineAt(0).cursorToX(0) - 7 * CharGrid::expandTabs(line.text().left(end)).size();
            QVERIFY2(qAbs(off) < 0.5, qPrintable(line.text() + ": " + QString::number(off)));
        }
        // What was cut is told in a tool tip, not a modal box.
        const QString whole = before.section('|', 0, 0) + paste + before.section('|', 1);
        const auto told = [](int n) { return n ? QString::number(n) + (n > 1 ? " characters" : " character") + " did not fit on the canvas" : QString(); };
        QCOMPARE(QToolTip::text(), told(QString(whole).replace("\r\n", "\n").size() - kept.size()));
        // Sized to its text (its laid-out size plus 10 x 6) and kept where it was put unless that would leave the
        // canvas.
        const QSizeF text = box->elem->document()->size();
        const QSize size(int(10 + text.width()), int(6 + text.height()));
        const QRect wanted(QPoint(qBound(0, at.x(), 801 - size.width()), qBound(0, at.y(), 801 - size.height())), size);
        QCOMPARE(box->currentWantedRect, wanted);
        QCOMPARE(box->elem->geometry(), wanted);
        QCOMPARE(box->x_y_proc_respect_to_zero, QPointF(wanted.x() / 801.0, wanted.y() / 801.0));
        // Cut at once rather than once per character; the first character cut, typed again, is cut again.
        QVERIFY(seen.size() <= 3);
        QCOMPARE(seen.value(seen.size() - 1), kept);
        box->elem->insertPlainText(whole.mid(box->elem->textCursor().position(), kept == whole ? 0 : 1));
        QCOMPARE(box->elem->toPlainText(), kept);
        QCOMPARE(QToolTip::text(), told(int(kept != whole)));
    }

    // A straight connector keeps to its press until the pointer is a cell away, then to the axis it picked.
    // Then a whole-chart move shifts only the axes it may, in points and fractions alike.
    void addPoints_storesSamplesFilledGapsAndFractions_data()
    {
        QTest::addColumn<bool>("straight");
        QTest::addColumn<Points>("samples");
        QTest::addColumn<Points>("expected");
        QTest::newRow("freehand fills gaps, four points") << false << Points{{10, 10}, {14, 10}} << Points{{10, 10}, {11, 10}, {12, 10}, {14, 10}};
        QTest::newRow("filled origin skipped, sampled origin kept")
            << false << Points{{-3, -3}, {3, 3}, {0, 0}} << Points{{-3, -3}, {-2, -2}, {-1, -1}, {1, 1}, {2, 2}, {3, 3}, {2, 2}, {1, 1}, {0, 0}};
        QTest::newRow("straight: no hook from a sample within a cell of the press")
            << true << Points{{10, 10}, {13, 11}, {17, 12}} << Points{{10, 10}, {11, 10}, {12, 10}, {14, 10}, {15, 10}, {17, 10}};
    }

    void addPoints_storesSamplesFilledGapsAndFractions()
    {
        QFETCH(bool, straight);
        QFETCH(Points, samples);
        QFETCH(Points, expected);
        Line line(t->ui()->drawWidget, 4, 0, straight);
        for (const QPoint& sample : samples)
            line.addPoints(sample);
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
        // The history tells a changed connector by every byte of its points, the last one's too.
        ChartStream::ConnectorRecord moved = line.serializeData();
        QVERIFY(line.holds(moved));
        if (!moved.points.empty())
            moved.points.back().ry() += 1;
        QCOMPARE(line.holds(moved), moved.points.empty());
    }
};

QTEST_MAIN(TestTextObject)
#include "tst_textobject.moc"
