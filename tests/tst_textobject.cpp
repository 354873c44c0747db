#include "mainwindow.h"
#include "textobject.h"
#include "ui_mainwindow.h"

#include <QPointer>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextEdit>
#include <QtTest>

#include <memory>

class TestTextObject : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newBox_hasStartSizeBorderAndCentre();
    void addNewText_samePointOnceOnly_recordsCreation();
    void callback_requestsRenderingOnlyWhileLive();
    void typing_sizesBoxFromLaidOutText_data();
    void typing_sizesBoxFromLaidOutText();
    void boxNearRightEdge_endsExactlyAtEdge();
    void overlongPaste_keepsLongestFittingText_data();
    void overlongPaste_keepsLongestFittingText();
    void pasteInMiddle_removesOnlyCharactersBeforeCursor();
    void trimming_runsCallbackWithFinalText();
    void boxOffCanvasOnLeft_typing_keepsText();
    void getTextForEachLine_splitsAtLineBreaks_data();
    void getTextForEachLine_splitsAtLineBreaks();
    void isPointOnMe_lopsidedBounds_data();
    void isPointOnMe_lopsidedBounds();
    void updateMovingElement_keepsSize();
    void isMovingPossible_reportsCorrections_data();
    void isMovingPossible_reportsCorrections();
    void wholeChartMove_clampsAtZeroAndRemeasures();
    void wholeChartMove_pastRightEdge_isPulledBack();
    void setObjColor_switchesBorderColour();
    void flush_releasesEditor();

private:
    TextObject* newBox(const QPoint& at);
    // Types text into a box with real key events, a line break as Return.
    static void type(TextObject* box, const QString& text);
    // Box size that a text needs, measured like the box measures its own document.
    QSize neededSize(TextObject* box, const QString& text) const;

    MainWindow* window = nullptr;
    QWidget* canvas = nullptr;
};

void TestTextObject::init()
{
    window = new MainWindow(nullptr, QString());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    canvas = window->ui->drawWidget;
    QCOMPARE(canvas->size(), QSize(801, 801));
}

void TestTextObject::cleanup()
{
    delete window;
    window = nullptr;
}

TextObject* TestTextObject::newBox(const QPoint& at)
{
    window->lastMousePosition = at;
    if (!window->addNewText())
        return nullptr;
    return window->m_data->last();
}

void TestTextObject::type(TextObject* box, const QString& text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(box->elem, Qt::Key_Return);
        QTest::keyClicks(box->elem, lines.at(i));
    }
}

QSize TestTextObject::neededSize(TextObject* box, const QString& text) const
{
    std::unique_ptr<QTextDocument> document(box->elem->document()->clone());
    document->setPlainText(text);
    document->adjustSize();
    return QSize(int(10 + document->size().width()), int(6 + document->size().height()));
}

void TestTextObject::newBox_hasStartSizeBorderAndCentre()
{
    TextObject* box = newBox(QPoint(100, 40));
    QVERIFY(box);
    QCOMPARE(box->currentWantedRect, QRect(100, 40, 24, 16));
    QCOMPARE(box->elem->geometry(), QRect(100, 40, 24, 16));
    QCOMPARE(box->centerPointFromInsideCurrentWanted, QPoint(112, 48));
    QCOMPARE(box->x_y_proc_respect_to_zero, QPointF(100 / 801.0, 40 / 801.0));
    QCOMPARE(box->openBoxPoint, QPoint(100, 40));
    QCOMPARE(box->elem->parentWidget(), canvas);
    QVERIFY(box->elem->isVisible());
    QVERIFY(box->elem->toPlainText().isEmpty());
    QVERIFY(!box->isValid());
    QVERIFY(!box->elem->acceptRichText());
    QCOMPARE(box->elem->lineWrapMode(), QTextEdit::NoWrap);
    QCOMPARE(box->elem->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(box->elem->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(box->elem->font().family(), QStringLiteral("unexistent"));
    QCOMPARE(box->elem->font().styleHint(), QFont::Monospace);
    QCOMPARE(box->elem->styleSheet(),
        QStringLiteral("border:2px double rgb(0, 0, 0); background-color:white; border-color: rgb(0, 0, 0);"));
}

void TestTextObject::addNewText_samePointOnceOnly_recordsCreation()
{
    TextObject* first = newBox(QPoint(50, 50));
    QVERIFY(first);
    first->updateMovingElement(QPoint(400, 400));
    QVERIFY2(!newBox(QPoint(50, 50)), "a creation point is used once, even after the box moved");
    QVERIFY(newBox(QPoint(51, 50)));
    QVERIFY(newBox(QPoint(50, 51)));
    QCOMPARE(window->m_data->size(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(window->m_data->at(i)->whoAmI, i);
    const std::vector<QPair<MainWindow::WHAT, int>> records{
        {MainWindow::BOX, 0}, {MainWindow::BOX, 1}, {MainWindow::BOX, 2}};
    QCOMPARE(window->removeWhch, records);
}

void TestTextObject::callback_requestsRenderingOnlyWhileLive()
{
    TextObject* box = newBox(QPoint(10, 10));
    QTest::keyClicks(box->elem, QStringLiteral("a"));
    QVERIFY(!window->change_has_happen);

    window->ui->radioButton_3->setChecked(true);
    QTest::keyClicks(box->elem, QStringLiteral("b"));
    QVERIFY(window->change_has_happen);
}

void TestTextObject::typing_sizesBoxFromLaidOutText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("backspaces");
    QTest::newRow("one character") << QStringLiteral("a") << 0;
    QTest::newRow("a word") << QStringLiteral("Start") << 0;
    QTest::newRow("two lines") << QStringLiteral("Start\nand more") << 0;
    QTest::newRow("all deleted again") << QStringLiteral("abc") << 3;
}

void TestTextObject::typing_sizesBoxFromLaidOutText()
{
    QFETCH(QString, typed);
    QFETCH(int, backspaces);

    TextObject* box = newBox(QPoint(200, 300));
    type(box, typed);
    for (int i = 0; i < backspaces; ++i)
        QTest::keyClick(box->elem, Qt::Key_Backspace);

    const QString text = box->elem->toPlainText();
    const QSize expected = neededSize(box, text);
    QCOMPARE(box->currentWantedRect, QRect(QPoint(200, 300), expected));
    QCOMPARE(box->elem->size(), expected);
    QVERIFY2(expected != QSize(24, 16) || !text.isEmpty(), "an emptied box is not the start size");
    QCOMPARE(box->x_y_proc_respect_to_zero, QPointF(200 / 801.0, 300 / 801.0));
    QCOMPARE(box->centerPointFromInsideCurrentWanted,
        QPoint(int(expected.width() / 2.0 + 200), int(expected.height() / 2.0 + 300)));
}

void TestTextObject::boxNearRightEdge_endsExactlyAtEdge()
{
    TextObject* box = newBox(QPoint(777, 785));
    type(box, QStringLiteral("abcdef\nline"));
    const QRect rect = box->currentWantedRect;
    QCOMPARE(rect.x() + rect.width(), 801);
    QCOMPARE(rect.y() + rect.height(), 801);
    QCOMPARE(box->elem->geometry(), rect);
    QCOMPARE(box->elem->toPlainText(), QStringLiteral("abcdef\nline"));
}

void TestTextObject::overlongPaste_keepsLongestFittingText_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QPoint>("at");
    QTest::newRow("too wide") << QString(2000, QLatin1Char('w')) << QPoint(300, 300);
    QTest::newRow("too tall") << QStringLiteral("row\n").repeated(400) << QPoint(300, 300);
    QTest::newRow("both") << (QString(300, QLatin1Char('x')) + QLatin1Char('\n')).repeated(300) << QPoint(0, 0);
    QTest::newRow("100000 characters") << QString(100000, QLatin1Char('m')) << QPoint(5, 5);
}

void TestTextObject::overlongPaste_keepsLongestFittingText()
{
    QFETCH(QString, pasted);
    QFETCH(QPoint, at);

    TextObject* box = newBox(at);
    box->elem->insertPlainText(pasted);

    const QString kept = box->elem->toPlainText();
    QVERIFY(kept.size() < pasted.size());
    QCOMPARE(kept, pasted.left(kept.size()));
    const QSize keptSize = neededSize(box, kept);
    QVERIFY(keptSize.width() <= 801 && keptSize.height() <= 801);
    const QSize oneMore = neededSize(box, pasted.left(kept.size() + 1));
    QVERIFY2(oneMore.width() > 801 || oneMore.height() > 801, "no character was removed needlessly");

    QCOMPARE(box->currentWantedRect.size(), keptSize);
    QVERIFY(QRect(0, 0, 801, 801).contains(box->currentWantedRect));
    QCOMPARE(box->elem->geometry(), box->currentWantedRect);
}

void TestTextObject::pasteInMiddle_removesOnlyCharactersBeforeCursor()
{
    TextObject* box = newBox(QPoint(0, 0));
    QTest::keyClicks(box->elem, QStringLiteral("headtail"));
    QTextCursor cursor = box->elem->textCursor();
    cursor.setPosition(4);
    box->elem->setTextCursor(cursor);

    box->elem->insertPlainText(QString(3000, QLatin1Char('z')));

    const QString kept = box->elem->toPlainText();
    QVERIFY(kept.startsWith(QStringLiteral("headzz")));
    QVERIFY(kept.endsWith(QStringLiteral("ztail")));
    QCOMPARE(box->elem->textCursor().position(), kept.size() - 4);
    QVERIFY(neededSize(box, kept).width() <= 801);
}

void TestTextObject::trimming_runsCallbackWithFinalText()
{
    TextObject* box = newBox(QPoint(0, 0));
    QStringList seen;
    box->setCallbackFunction([&] { seen << box->elem->toPlainText(); });

    box->elem->insertPlainText(QString(5000, QLatin1Char('q')));

    QVERIFY(!seen.isEmpty());
    QVERIFY2(seen.size() <= 3, "trimming calls back a few times, not once per character");
    QCOMPARE(seen.last(), box->elem->toPlainText());
}

void TestTextObject::boxOffCanvasOnLeft_typing_keepsText()
{
    TextObject* box = newBox(QPoint(20, 50));
    box->updateMovingElement(QPoint(-30, 50));
    QTest::keyClicks(box->elem, QStringLiteral("ab"));
    QCOMPARE(box->elem->toPlainText(), QStringLiteral("ab"));
    QCOMPARE(box->currentWantedRect.topLeft(), QPoint(0, 50));
}

void TestTextObject::getTextForEachLine_splitsAtLineBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("two lines") << QStringLiteral("a\nb") << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("trailing break") << QStringLiteral("a\n") << QStringList{QStringLiteral("a"), QString()};
    QTest::newRow("empty") << QString() << QStringList{QString()};
    QTest::newRow("only a break") << QStringLiteral("\n") << QStringList{QString(), QString()};
    QTest::newRow("tab kept") << QStringLiteral("a\tb") << QStringList{QStringLiteral("a\tb")};
}

void TestTextObject::getTextForEachLine_splitsAtLineBreaks()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    TextObject* box = newBox(QPoint(10, 10));
    box->elem->setPlainText(text);
    QCOMPARE(box->getTextForEachLine(), lines);
}

void TestTextObject::isPointOnMe_lopsidedBounds_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<double>("offset");
    QTest::addColumn<bool>("hit");

    // A fresh box at (100, 100) is 24 x 16 with its centre at (112, 108).
    QTest::newRow("centre") << QPoint(112, 108) << 0.0 << true;
    QTest::newRow("left bound x - w/2") << QPoint(88, 108) << 0.0 << true;
    QTest::newRow("left of it") << QPoint(87, 108) << 0.0 << false;
    QTest::newRow("right bound x + w") << QPoint(124, 108) << 0.0 << true;
    QTest::newRow("right of it") << QPoint(125, 108) << 0.0 << false;
    QTest::newRow("top bound y - h/2") << QPoint(112, 92) << 0.0 << true;
    QTest::newRow("above it") << QPoint(112, 91) << 0.0 << false;
    QTest::newRow("bottom bound y + h") << QPoint(112, 116) << 0.0 << true;
    QTest::newRow("below it") << QPoint(112, 117) << 0.0 << false;
    QTest::newRow("3 px slack left") << QPoint(85, 108) << 0.004 << true;
    QTest::newRow("4 px left with 3 px slack") << QPoint(84, 108) << 0.004 << false;
    QTest::newRow("3 px slack below") << QPoint(112, 119) << 0.004 << true;
    QTest::newRow("slack rounds down to 0 px") << QPoint(125, 108) << 0.001 << false;
}

void TestTextObject::isPointOnMe_lopsidedBounds()
{
    QFETCH(QPoint, point);
    QFETCH(double, offset);
    QFETCH(bool, hit);

    newBox(QPoint(5, 5));
    TextObject* box = newBox(QPoint(100, 100));
    QCOMPARE(box->isPointOnMe(point, offset), qMakePair(hit, 1));
}

void TestTextObject::updateMovingElement_keepsSize()
{
    TextObject* box = newBox(QPoint(100, 100));
    box->updateMovingElement(QPoint(300, 40));
    QCOMPARE(box->currentWantedRect, QRect(300, 40, 24, 16));
    QCOMPARE(box->centerPointFromInsideCurrentWanted, QPoint(312, 48));
    QCOMPARE(box->x_y_proc_respect_to_zero, QPointF(300 / 801.0, 40 / 801.0));
    QCOMPARE(box->elem->geometry(), QRect(300, 40, 24, 16));
    QCOMPARE(box->openBoxPoint, QPoint(100, 100));
}

void TestTextObject::isMovingPossible_reportsCorrections_data()
{
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QPoint>("difference");
    QTest::addColumn<bool>("possible");
    QTest::addColumn<QPoint>("correction");

    QTest::newRow("free move") << QRect(100, 100, 50, 20) << QPoint(10, -10) << true << QPoint(-1, -1);
    QTest::newRow("left edge only") << QRect(5, 5, 50, 20) << QPoint(-10, 0) << true << QPoint(-5, -1);
    QTest::newRow("left and top edges") << QRect(5, 5, 50, 20) << QPoint(-10, -10) << false << QPoint(-5, -5);
    QTest::newRow("right edge") << QRect(700, 100, 100, 20) << QPoint(5, 0) << true << QPoint(1, -1);
    QTest::newRow("bottom edge") << QRect(100, 770, 50, 20) << QPoint(0, 20) << true << QPoint(-1, 11);
    QTest::newRow("right and bottom") << QRect(700, 770, 100, 20) << QPoint(5, 20) << false << QPoint(1, 11);
    QTest::newRow("exactly to the edge") << QRect(700, 100, 100, 20) << QPoint(1, 0) << true << QPoint(-1, -1);
    QTest::newRow("wider than canvas: right wins")
        << QRect(10, 100, 900, 20) << QPoint(-20, 0) << true << QPoint(99 - 10, -1);
}

void TestTextObject::isMovingPossible_reportsCorrections()
{
    QFETCH(QRect, rect);
    QFETCH(QPoint, difference);
    QFETCH(bool, possible);
    QFETCH(QPoint, correction);

    TextObject* box = newBox(QPoint(0, 0));
    box->currentWantedRect = rect;
    QCOMPARE(box->isMovingPossible(difference), qMakePair(possible, correction));
}

void TestTextObject::wholeChartMove_clampsAtZeroAndRemeasures()
{
    TextObject* box = newBox(QPoint(10, 200));
    QTest::keyClicks(box->elem, QStringLiteral("abc"));
    int calls = 0;
    box->setCallbackFunction([&] { ++calls; });

    box->updateMovingElementAll(QPoint(-20, 15));

    QCOMPARE(calls, 1);
    QCOMPARE(box->currentWantedRect, QRect(QPoint(0, 215), neededSize(box, QStringLiteral("abc"))));
    QCOMPARE(box->elem->geometry(), box->currentWantedRect);
    QCOMPARE(box->x_y_proc_respect_to_zero, QPointF(0.0, 215 / 801.0));
    QCOMPARE(box->elem->toPlainText(), QStringLiteral("abc"));
}

void TestTextObject::wholeChartMove_pastRightEdge_isPulledBack()
{
    TextObject* box = newBox(QPoint(700, 700));
    QTest::keyClicks(box->elem, QStringLiteral("abc"));
    const QSize size = box->currentWantedRect.size();

    box->updateMovingElementAll(QPoint(200, 200));

    QCOMPARE(box->currentWantedRect, QRect(QPoint(801 - size.width(), 801 - size.height()), size));
    QCOMPARE(box->elem->geometry(), box->currentWantedRect);
}

void TestTextObject::setObjColor_switchesBorderColour()
{
    TextObject* box = newBox(QPoint(10, 10));
    box->setObjColor(true);
    QCOMPARE(box->elem->styleSheet(),
        QStringLiteral("border:2px double rgb(0, 0, 0); background-color:white; border-color: rgb(65,105,225);"));
    box->setObjColor(false);
    QCOMPARE(box->elem->styleSheet(),
        QStringLiteral("border:2px double rgb(0, 0, 0); background-color:white; border-color: rgb(0, 0, 0);"));
}

void TestTextObject::flush_releasesEditor()
{
    TextObject* box = newBox(QPoint(10, 10));
    QTest::keyClicks(box->elem, QStringLiteral("x"));
    QPointer<QTextEdit> editor = box->elem;
    box->flush();
    QVERIFY(editor.isNull());
    QVERIFY(!box->isValid());
    QCOMPARE(box->getTextForEachLine(), QStringList{QString()});
}

QTEST_MAIN(TestTextObject)
#include "tst_textobject.moc"
