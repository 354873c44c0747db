#include "mainwindow.h"
#include "textobject.h"
#include "ui_mainwindow.h"

#include <QPointer>
#include <QTextEdit>
#include <QtTest>

#include <memory>

// Records every position a widget is moved to.
struct MoveRecorder : QObject {
    QVector<QPoint> positions;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Move)
            positions << static_cast<QMoveEvent*>(event)->pos();
        return false;
    }
};

// Text boxes on the real window's 801 x 801 canvas; a new box is 24 x 16.
class TestTextObject : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindow> window;

    TextObject* newBox(const QPoint& at)
    {
        window->lastMousePosition = at;
        return window->addNewText() ? window->m_data->last() : nullptr;
    }

    // The box size a text needs: its laid-out size in the box's font plus 10 x 6.
    static QSize neededSize(TextObject* box, const QString& text)
    {
        std::unique_ptr<QTextDocument> document(box->elem->document()->clone());
        document->setPlainText(text);
        document->adjustSize();
        return QSize(int(10 + document->size().width()), int(6 + document->size().height()));
    }

private slots:
    void init()
    {
        window = std::make_unique<MainWindow>(nullptr, QString());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCOMPARE(window->ui->drawWidget->size(), QSize(801, 801));
    }

    void cleanup() { window.reset(); }

    void draggedBox_keepsSize_andItsCreationPointStaysUsed()
    {
        TextObject* first = newBox(QPoint(50, 50));
        first->updateMovingElement(QPoint(400, 300));
        QCOMPARE(first->elem->geometry(), QRect(400, 300, 24, 16));
        QCOMPARE(first->currentWantedRect, first->elem->geometry());
        QCOMPARE(first->x_y_proc_respect_to_zero, QPointF(400 / 801.0, 300 / 801.0));
        QVERIFY(!newBox(QPoint(50, 50)));
    }

    void typing_sizesBoxToLaidOutText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("backspaces");
        QTest::newRow("a word") << QStringLiteral("Start") << 0;
        QTest::newRow("two lines") << QStringLiteral("Start\nand more") << 0;
        QTest::newRow("all deleted again") << QStringLiteral("abc") << 3;
    }

    void typing_sizesBoxToLaidOutText()
    {
        QFETCH(QString, typed);
        QFETCH(int, backspaces);
        TextObject* box = newBox(QPoint(200, 300));
        box->elem->insertPlainText(typed);
        for (int i = 0; i < backspaces; ++i)
            QTest::keyClick(box->elem, Qt::Key_Backspace);
        const QSize expected = neededSize(box, box->elem->toPlainText());
        QCOMPARE(box->elem->toPlainText(), typed.left(typed.size() - backspaces));
        QCOMPARE(box->currentWantedRect, QRect(QPoint(200, 300), expected));
        QCOMPARE(box->elem->size(), expected);
    }

    void typingAtCanvasEdges_keepsBoxOnCanvas()
    {
        TextObject* low = newBox(QPoint(777, 785));
        low->elem->insertPlainText(QStringLiteral("abcdef\n"));
        QCOMPARE(low->currentWantedRect.bottomRight(), QPoint(800, 800));
        QCOMPARE(low->elem->geometry(), low->currentWantedRect);
        QCOMPARE(low->elem->toPlainText(), QStringLiteral("abcdef\n"));

        TextObject* high = newBox(QPoint(20, 50));
        high->updateMovingElement(QPoint(-30, -40));
        QTest::keyClicks(high->elem, QStringLiteral("ab"));
        QCOMPARE(high->currentWantedRect, QRect(QPoint(0, 0), neededSize(high, QStringLiteral("ab"))));
        QCOMPARE(high->elem->geometry(), high->currentWantedRect);
    }

    void overlongPaste_keepsLongestFittingText_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::newRow("too wide") << QString(2000, QLatin1Char('w'));
        QTest::newRow("too tall") << QStringLiteral("row\n").repeated(400);
    }

    void overlongPaste_keepsLongestFittingText()
    {
        QFETCH(QString, pasted);
        TextObject* box = newBox(QPoint(300, 300));
        QStringList seen;
        box->setCallbackFunction([&] { seen << box->elem->toPlainText(); });
        box->elem->insertPlainText(pasted);

        const QString kept = box->elem->toPlainText();
        QCOMPARE(kept, pasted.left(kept.size()));
        const QSize oneMore = neededSize(box, pasted.left(kept.size() + 1));
        QVERIFY2(oneMore.width() > 801 || oneMore.height() > 801, "no character was removed needlessly");
        QCOMPARE(box->currentWantedRect.size(), neededSize(box, kept));
        QVERIFY(QRect(0, 0, 801, 801).contains(box->currentWantedRect));
        QVERIFY2(!seen.isEmpty() && seen.size() <= 3, "trimming calls back a few times, not once per character");
        QCOMPARE(seen.last(), kept);
    }

    // On an 801 x 601 canvas the fresh box at (100, 100) has its centre at (112, 108); slack is a share of each side.
    void isPointOnMe_wholeSizeBeforeCentreHalfAfter_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<double>("offset");
        QTest::addColumn<bool>("hit");
        QTest::newRow("top left corner (x - w, y - h)") << QPoint(88, 92) << 0.0 << true;
        QTest::newRow("bottom right corner (x + w/2, y + h/2)") << QPoint(124, 116) << 0.0 << true;
        QTest::newRow("left of it") << QPoint(87, 108) << 0.0 << false;
        QTest::newRow("right of it") << QPoint(125, 108) << 0.0 << false;
        QTest::newRow("above it") << QPoint(112, 91) << 0.0 << false;
        QTest::newRow("below it") << QPoint(112, 117) << 0.0 << false;
        QTest::newRow("3 px slack left, 2 below") << QPoint(85, 118) << 0.004 << true;
        QTest::newRow("3 px below with 2 px slack") << QPoint(112, 119) << 0.004 << false;
        QTest::newRow("4 px left with 3 px slack") << QPoint(84, 108) << 0.004 << false;
    }

    void isPointOnMe_wholeSizeBeforeCentreHalfAfter()
    {
        QFETCH(QPoint, point);
        QFETCH(double, offset);
        QFETCH(bool, hit);
        window->ui->drawWidget->setFixedSize(801, 601);
        newBox(QPoint(5, 5));
        QCOMPARE(newBox(QPoint(100, 100))->isPointOnMe(point, offset), qMakePair(hit, 1));
    }

    // On an 801 x 601 canvas; -1 means no correction on that axis.
    void isMovingPossible_reportsCorrectionPerAxis_data()
    {
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<QPoint>("difference");
        QTest::addColumn<bool>("possible");
        QTest::addColumn<QPoint>("correction");
        QTest::newRow("free move") << QRect(100, 100, 50, 20) << QPoint(10, -10) << true << QPoint(-1, -1);
        QTest::newRow("left edge only") << QRect(5, 5, 50, 20) << QPoint(-10, 0) << true << QPoint(-5, -1);
        QTest::newRow("left and top edges") << QRect(5, 5, 50, 20) << QPoint(-10, -10) << false << QPoint(-5, -5);
        QTest::newRow("right edge") << QRect(700, 100, 100, 20) << QPoint(5, 0) << true << QPoint(1, -1);
        QTest::newRow("exactly to the edge") << QRect(700, 100, 100, 20) << QPoint(1, 0) << true << QPoint(-1, -1);
        QTest::newRow("bottom edge") << QRect(100, 570, 50, 20) << QPoint(0, 20) << true << QPoint(-1, 11);
    }

    void isMovingPossible_reportsCorrectionPerAxis()
    {
        QFETCH(QRect, rect);
        QFETCH(QPoint, difference);
        QFETCH(bool, possible);
        QFETCH(QPoint, correction);
        window->ui->drawWidget->setFixedSize(801, 601);
        TextObject* box = newBox(QPoint(0, 0));
        box->currentWantedRect = rect;
        QCOMPARE(box->isMovingPossible(difference), qMakePair(possible, correction));
    }

    void wholeChartMove_neverLeavesCanvas_andRemeasures()
    {
        TextObject* box = newBox(QPoint(10, 20));
        QTest::keyClicks(box->elem, QStringLiteral("abc"));
        MoveRecorder moves;
        box->elem->installEventFilter(&moves);
        box->updateMovingElementAll(QPoint(-20, -30));
        QCOMPARE(moves.positions, QVector<QPoint>{QPoint(0, 0)});
        QCOMPARE(box->currentWantedRect, QRect(QPoint(0, 0), neededSize(box, QStringLiteral("abc"))));
        QCOMPARE(box->x_y_proc_respect_to_zero, QPointF(0, 0));
    }

    void flush_releasesEditor()
    {
        TextObject* box = newBox(QPoint(10, 10));
        QTest::keyClicks(box->elem, QStringLiteral("x"));
        QPointer<QTextEdit> editor = box->elem;
        box->flush();
        QVERIFY(editor.isNull());
        QVERIFY(!box->isValid());
    }
};

QTEST_MAIN(TestTextObject)
#include "tst_textobject.moc"
