#include "chartrender.h"
#include "programinfo.h"
#include "testwindow.h"
#include "textcolumns.h"

#include <QClipboard>
#include <QMessageBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

namespace {

// Off the diagonal, so that a swapped axis shows.
const QPoint boxAt(80, 200);

// The rows of a blank 61 x 114 drawing with `picture` laid from row 14, column 10: one cell up and left of
// the first character of a box at `boxAt`, whose place in the drawing is row 15, column 11.
QStringList drawing(const QStringList& picture)
{
    QStringList grid = QStringList::fromVector(QVector<QString>(61, QString(114, QLatin1Char(' '))));
    for (int i = 0; i < picture.size(); ++i)
        grid[14 + i].replace(10, picture[i].size(), picture[i]);
    return grid;
}

} // namespace

// The window as the user first meets it, its About box, and the character drawing of its chart: the
// 801 x 801 canvas makes 61 x 114 cells.
class TestMainWindow : public WindowTest
{
    Q_OBJECT

    // The rows of the output view; an empty view is one empty row.
    QStringList view() const { return t->ui()->drawOutput->toPlainText().split(QLatin1Char('\n')); }

private slots:
    // "Remove last" hidden, icons loaded, and F1 showing the About box, with
    // the version vandora-render gives and the licence, that OK closes.
    void startUp_fixedTitledWindow_historyOff_iconsLoaded_f1ShowsAbout()
    {
        QVERIFY(!t->ui()->pushButton->isVisible());
        for (const QIcon& icon : {t->w->windowIcon(), t->ui()->open->icon(), t->ui()->pushButton_2->icon()})
            QVERIFY(!icon.pixmap(16, 16).isNull());
        t->key(Qt::Key_F1, true);
        QVERIFY(t->w->w.isVisible());
        QTextDocument about;
        about.setHtml(t->w->w.findChild<QLabel*>(QStringLiteral("label"))->text());
        const QStringList lines = about.toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.first(), "Vandora " + ProgramInfo::version());
        QVERIFY(lines.contains("Released under the MIT licence."));
        QVERIFY(lines.last().startsWith("Source code: https://"));
        QTest::mouseClick(t->w->w.findChild<QPushButton*>(QStringLiteral("pushButton")), Qt::LeftButton);
        QVERIFY(!t->w->w.isVisible());
    }

    // Off at start, when neither the tick nor Return in a tag field renders; switching on renders at once,
    // tags verbatim, never as markup, and so do "Draw box" and Return in a tag field while on; then the tick
    // renders typed text, at most every 10 ticks.
    void output_rendersOnlyWhileOn_tagsVerbatim()
    {
        // The 20 ms tick, which the fixture stops so that each one is sent here.
        const auto tick = [this](int times) {
            while (times-- > 0)
                t->w->checkMouseMove();
        };
        const TextObject* box = t->addBox(boxAt, QStringLiteral("Start"));
        // A start tag of 150 characters: the view shows every row with only a horizontal scroll bar.
        const QString start = QStringLiteral("<!-- <i>&amp; ") + QString(136, 'x'), end = QStringLiteral(" -->");
        const auto tagged = [&](const QStringList& picture, const QString& endTag) {
            return drawing(picture).replaceInStrings(QRegularExpression(QStringLiteral("^(.*)$")), start + "\\1" + endTag);
        };
        t->act("tag:" + start);
        tick(20);
        t->clickOn(t->ui()->radioButton_4);
        QCOMPARE(view(), QStringList{""});
        t->clickOn(t->ui()->radioButton_3);
        QCOMPARE(view(), tagged({"", " Start"}, ""));
        t->clickOn(t->ui()->radioButton_4);
        QCOMPARE(view(), tagged({"|-----|", "|Start|", "|-----|"}, ""));
        t->clickOn(t->ui()->lineEdit_2);
        t->type(end);
        t->key(Qt::Key_Return, true);
        QVERIFY(!t->ui()->lineEdit_2->hasFocus());
        QCOMPARE(view(), tagged({"|-----|", "|Start|", "|-----|"}, end));

        t->type(QStringLiteral("ed"), box->elem);
        tick(1);
        QCOMPARE(view(), tagged({"|-------|", "|Started|", "|-------|"}, end));
        t->type(QStringLiteral("!"), box->elem);
        tick(9);
        QCOMPARE(view(), tagged({"|-------|", "|Started|", "|-------|"}, end));
        tick(1);
        QCOMPARE(view(), tagged({"|--------|", "|Started!|", "|--------|"}, end));
        // One character is one 7 x 13 px cell, and rows are not wrapped.
        const QTextDocument* shown = t->ui()->drawOutput->document();
        QCOMPARE(shown->size().height(), 13.0 * 61 + 2 * shown->documentMargin());
        QCOMPARE(shown->firstBlock().layout()->lineAt(0).naturalTextWidth(), 7.0 * view()[0].size());
        QVERIFY(t->ui()->drawOutput->horizontalScrollBar()->maximum() > 0);
        QCOMPARE(t->ui()->drawOutput->verticalScrollBar()->maximum(), 0);
    }

    // Pasted wide text takes two cells a character in its box and in the view, and every glyph of every style
    // one, whatever font draws it: the box is as wide as one of as many one-cell characters.
    void pastedWideText_twoCellsInBoxAndView_styleGlyphsOne()
    {
        QString glyphs;
        const QFontMetricsF metrics(t->ui()->drawOutput->font());
        for (const CharGrid::Style style : CharGrid::allStyles) {
            const CharGrid::Glyphs& g = CharGrid::glyphsOf(style);
            for (const char16_t unit : {g.horizontal, g.vertical, g.downRight, g.downLeft, g.crossing, g.corners[0], g.corners[1], g.corners[2], g.corners[3],
                     g.heads[0], g.heads[1], g.heads[2], g.heads[3]}) {
                glyphs += QChar(unit);
                QVERIFY(metrics.inFont(QChar(unit)));
                QVERIFY(qAbs(metrics.horizontalAdvance(glyphs.right(1)) - ChartRender::cellWidth) < 0.01);
            }
        }
        QApplication::clipboard()->setText("漢字a" + glyphs + "😀e\u0301▶◀");
        const TextObject* wide = t->addBox(boxAt);
        wide->elem->paste();
        const TextObject* narrow = t->addBox(boxAt + QPoint(0, 300), QString(TextColumns::columnsOf(wide->elem->toPlainText()), 'x'));
        QCOMPARE(wide->currentWantedRect.width(), narrow->currentWantedRect.width());
        t->clickOn(t->ui()->radioButton_3);
        for (const QTextDocument* document : {wide->elem->document(), t->ui()->drawOutput->document()}) {
            for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
                const QTextLine line = block.layout()->lineAt(0);
                int columns = 0;
                for (const TextColumns::Cell& cell : TextColumns::cellsOf(block.text())) {
                    columns += cell.columns;
                    const qreal x = line.cursorToX(cell.start + cell.length) - line.cursorToX(0);
                    QVERIFY2(qAbs(x - columns * ChartRender::cellWidth) <= 1, qPrintable(block.text().left(cell.start + 1)));
                }
            }
        }
    }

    // The real close prompt, answered through its window by a click on Discard.
    void closePrompt_answersAsClicked()
    {
        QTimer::singleShot(0, [] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            const QWidget* discard = box->button(QMessageBox::Discard);
            QTest::mouseClick(box->windowHandle(), Qt::LeftButton, {}, discard->mapTo(box, discard->rect().center()));
        });
        QCOMPARE(Prompts().saveBeforeClosing(t->w), Prompts::CloseAnswer::Discard);
    }

    // Fitted to a 1366 x 768 screen, the window scrolls its content, and a chart drawn with the content
    // scrolled is the chart drawn in the whole window. Called
    // directly: the offscreen platform of the tests has an 800 x 600 screen.
    void smallScreen_contentScrolls_chartDrawnAsInWholeWindow()
    {
        const auto draw = [this] {
            t->addBox(QPoint(320, 200), QStringLiteral("x")), t->drawLine(t->origin() + QPoint(340, 260), t->origin() + QPoint(520, 400));
            return t->w->contentBytes();
        };
        const QByteArray whole = draw();
        t->act("clear");
        t->w->fitToScreen(QRect(0, 24, 1366, 744), QMargins(4, 30, 4, 4));
        auto* scroll = qobject_cast<QScrollArea*>(t->w->centralWidget());
        QVERIFY(scroll);
        QCOMPARE(scroll->widget(), t->ui()->centralWidget);
        QTRY_VERIFY(t->w->width() <= 1358);
        QVERIFY(t->w->height() <= 710);
        scroll->horizontalScrollBar()->setValue(120), scroll->verticalScrollBar()->setValue(40);
        QCOMPARE(QPoint(scroll->horizontalScrollBar()->value(), scroll->verticalScrollBar()->value()), QPoint(120, 40));
        QCOMPARE(draw(), whole);
        scroll->ensureWidgetVisible(t->ui()->pushButton_4);
        QCOMPARE(t->ui()->pushButton_4->visibleRegion().boundingRect().size(), t->ui()->pushButton_4->size());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
