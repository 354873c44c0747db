#include "testwindow.h"
#include "ui_mainwindow.h"

#include <optional>

namespace {

// Off the diagonal, so that a swapped axis shows.
const QPoint boxAt(80, 200);

// The rows of a blank rows x cols drawing with `picture` laid from one cell up and left of the box's first
// character, found from the box's proportion.
QStringList drawing(const TextObject* box, const QStringList& picture, int rows = 61, int cols = 114)
{
    QStringList grid = QStringList::fromVector(QVector<QString>(rows, QString(cols, QLatin1Char(' '))));
    const int top = qRound(box->x_y_proc_respect_to_zero.y() * rows) - 1;
    const int left = qRound(box->x_y_proc_respect_to_zero.x() * cols) - 1;
    for (int i = 0; i < picture.size(); ++i)
        grid[top + i].replace(left, picture[i].size(), picture[i]);
    return grid;
}

} // namespace

// The window as the user first meets it, its About box, the layer its connectors are painted on, and the
// character drawing of its chart: the 801 x 801 canvas makes 61 x 114 cells.
class TestMainWindow : public QObject
{
    Q_OBJECT

    std::optional<TestWindow> t;

    // The rows of the output view; an empty view is one empty row.
    QStringList view() const { return t->ui()->drawOutput->toPlainText().split(QLatin1Char('\n')); }

private slots:
    void init() { t.emplace(); }
    // Every test closes its window here; LeakSanitizer fails the run if it leaves anything behind.
    void cleanup() { t.reset(); }

    // Fixed size and title, no history yet, "Remove last" hidden, icons loaded, an output view whose rows
    // line up because every character is equally wide, and F1 showing the About box that OK closes.
    void startUp_fixedTitledWindow_historyOff_iconsLoaded_monospacedOutput_f1ShowsAbout()
    {
        QCOMPARE(t->w->windowTitle(), QStringLiteral("Vandora"));
        t->w->resize(1000, 500);
        QCOMPARE(t->w->size(), QSize(1820, 802));
        QVERIFY(!t->ui()->goBack->isEnabled() && !t->ui()->goForward->isEnabled() && !t->ui()->pushButton->isVisible());
        for (const QIcon& icon : {t->w->windowIcon(), t->ui()->open->icon(), t->ui()->pushButton_2->icon()})
            QVERIFY(!icon.pixmap(16, 16).isNull());
        const QFontMetrics metrics(t->ui()->drawOutput->font());
        for (const QChar c : QStringLiteral("W-|* M."))
            QCOMPARE(metrics.horizontalAdvance(c), metrics.horizontalAdvance(QLatin1Char('i')));
        t->key(Qt::Key_F1, true);
        QVERIFY(t->w->w.isVisible());
        QCOMPARE(t->w->w.findChild<QLabel*>(QStringLiteral("label"))->text(), QStringLiteral("Vandora"));
        QTest::mouseClick(t->w->w.findChild<QPushButton*>(QStringLiteral("pushButton")), Qt::LeftButton);
        QVERIFY(!t->w->w.isVisible());
    }

    // Over the whole canvas; black, or blue when highlighted; clear once no connector is left.
    void connectorLayer_blackOrBlueWhenHighlighted_clearWithoutConnectors()
    {
        const auto layer = [this] { return t->ui()->label_2->pixmap(Qt::ReturnByValue).toImage(); };
        QCOMPARE(t->ui()->label_2->geometry(), t->ui()->drawWidget->rect());
        t->addLine({QPoint(100, 100), QPoint(200, 100)});
        t->addLine({QPoint(100, 300), QPoint(200, 300)}).setObjColor(true);
        t->w->redrawAllLines();
        QCOMPARE(layer().pixel(150, 100), qRgb(0, 0, 0));
        QCOMPARE(layer().pixel(150, 300), qRgb(65, 105, 225));
        t->w->m_data_line.clear();
        t->w->redrawAllLines();
        QImage clear(t->ui()->drawWidget->size(), layer().format());
        clear.fill(Qt::transparent);
        QCOMPARE(layer(), clear);
    }

    // The grid is measured from the canvas when drawn; a connector shows from its fifth point, one cell up
    // and left of its points' cell.
    void grid_followsCanvasSize_connectorOneCellUpAndLeftFromFivePoints()
    {
        const TextObject* box = t->addBox(boxAt);
        box->elem->insertPlainText(QStringLiteral("Start\nEnd"));
        Line& line = t->addLine({});
        for (int i = 0; i < 5; ++i) {
            line.addPoints(QPoint(140, 196 + i));
            t->w->drawRightWidget();
            QCOMPARE(view(), drawing(box, {i < 4 ? "|-----|" : "|-----|  *", "|Start|", "|End  |", "|-----|"}));
        }
        t->ui()->drawWidget->setFixedSize(700, 390);
        t->w->drawRightWidget();
        QCOMPARE(view(), drawing(box, {"|-----|*", "|Start|", "|End  |", "|-----|"}, 30, 100));
    }

    // Off at start; switching on renders at once, and so does "Draw box" while on; then the tick renders
    // typed text, at most every 10 ticks. Nothing renders while off.
    void drawSwitches_renderLiveOnlyWhileOn()
    {
        // The 20 ms tick, which the fixture stops so that each one is sent here.
        const auto tick = [this](int times) { while (times-- > 0) t->w->checkMouseMove(); };
        QVERIFY(!t->ui()->radioButton_3->isChecked());
        const TextObject* box = t->addBox(boxAt, QStringLiteral("Start"));
        tick(20);
        t->clickOn(t->ui()->radioButton_4);
        QCOMPARE(view(), QStringList{""});
        t->clickOn(t->ui()->radioButton_3);
        QCOMPARE(view(), drawing(box, {"", " Start"}));
        t->clickOn(t->ui()->radioButton_4);
        QCOMPARE(view(), drawing(box, {"|-----|", "|Start|", "|-----|"}));

        t->type(QStringLiteral("ed"), box->elem);
        tick(1);
        QCOMPARE(view(), drawing(box, {"|-------|", "|Started|", "|-------|"}));
        t->type(QStringLiteral("!"), box->elem);
        tick(9);
        QCOMPARE(view(), drawing(box, {"|-------|", "|Started|", "|-------|"}));
        tick(1);
        QCOMPARE(view(), drawing(box, {"|--------|", "|Started!|", "|--------|"}));

        t->clickOn(t->ui()->radioButton_3);
        t->type(QStringLiteral("?"), box->elem);
        tick(20);
        QCOMPARE(view(), drawing(box, {"|--------|", "|Started!|", "|--------|"}));
    }

    // Shown verbatim, never as markup, once Return is pressed in their field while drawing is on.
    void tagFields_applyOnReturnWhileOn_andGiveUpFocus()
    {
        QStringList tagged = drawing(t->addBox(boxAt, QStringLiteral("Start")), {"|-----|", "|Start|", "|-----|"});
        const QString start = QStringLiteral("<i>&amp; "), end = QStringLiteral(" <b>");
        t->clickOn(t->ui()->lineEdit);
        t->type(start);
        t->key(Qt::Key_Return, true);
        QCOMPARE(view(), QStringList{""});
        t->clickOn(t->ui()->radioButton_3);
        t->clickOn(t->ui()->lineEdit_2);
        t->type(end);
        tagged.replaceInStrings(QRegularExpression(QStringLiteral("^")), start);
        QCOMPARE(view(), tagged);
        t->key(Qt::Key_Return, true);
        QVERIFY(!t->ui()->lineEdit_2->hasFocus());
        tagged.replaceInStrings(QRegularExpression(QStringLiteral("$")), end);
        QCOMPARE(view(), tagged);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
