#include "mainwindow.h"
#include "textobject.h"
#include "ui_mainwindow.h"

#include <QStyle>
#include <QStyleOptionButton>
#include <QTextEdit>
#include <QtTest>

#include <cmath>

namespace {

const QStringList framedStart{QStringLiteral("|-----|"), QStringLiteral("|Start|"), QStringLiteral("|-----|")};

// A blank rows x cols drawing with picture written so that its second row and column fall on the
// cell of the box's first text character, computed from the box's current proportion.
// Cells off the grid are dropped. An empty picture leaves the drawing blank.
QStringList drawing(const TextObject* box, const QStringList& picture, int rows = 61, int cols = 114)
{
    QStringList grid;
    for (int r = 0; r < rows; ++r)
        grid << QString(cols, QLatin1Char(' '));
    const int top = int(std::round(box->x_y_proc_respect_to_zero.y() * rows)) - 1;
    const int left = int(std::round(box->x_y_proc_respect_to_zero.x() * cols)) - 1;
    for (int i = 0; i < picture.size(); ++i) {
        for (int j = 0; j < picture[i].size(); ++j) {
            const int r = top + i;
            const int c = left + j;
            if (r >= 0 && r < rows && c >= 0 && c < cols)
                grid[r][c] = picture[i][j];
        }
    }
    return grid;
}

QString joined(const QStringList& rows)
{
    return rows.join(QLatin1Char('\n'));
}

} // namespace

class TestRenderer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void box_isDrawnAtItsProportionalCell_data();
    void box_isDrawnAtItsProportionalCell();
    void connector_showsOnlyWithMoreThanFourPoints_data();
    void connector_showsOnlyWithMoreThanFourPoints();
    void grid_followsCanvasSizeAtTimeOfCall_data();
    void grid_followsCanvasSizeAtTimeOfCall();
    void tagThatLooksLikeHtml_isShownVerbatim_data();
    void tagThatLooksLikeHtml_isShownVerbatim();
    void drawSwitch_offAtStart_rendersOnlyWhenClickedOn();
    void drawSwitchClickedOff_keepsLastRendering();
    void drawBoxClickedWhileLive_togglesBordersAtOnce();
    void drawBoxClickedWhileNotLive_changesNothingVisible();
    void tagField_appliesOnReturnOnly_andGivesUpFocus_data();
    void tagField_appliesOnReturnOnly_andGivesUpFocus();
    void tickWhileLive_rendersPendingBoxText();
    void pendingBoxText_waitsWhileDrawIsOff();
    void typingWhileNotLive_leavesNoPendingChange();

private:
    // A box created where the user clicked, with text typed into it (a line feed is typed as Return).
    TextObject* addBox(const QPoint& at, const QString& text);
    // A free-hand connector through count canvas points one pixel apart going right from `from`.
    void addConnector(const QPoint& from, int count);
    // Clicks the switch where it reacts (the wide widget's centre may lie beyond its text); true when it flipped.
    bool toggle(QAbstractButton* button);
    QStringList rendered() const;
    QString view() const;

    MainWindow* window = nullptr;
};

void TestRenderer::init()
{
    window = new MainWindow(nullptr, QString());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void TestRenderer::cleanup()
{
    delete window;
    window = nullptr;
}

TextObject* TestRenderer::addBox(const QPoint& at, const QString& text)
{
    window->lastMousePosition = at;
    if (!window->addNewText())
        return nullptr;
    TextObject* box = window->m_data->last();
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(box->elem, Qt::Key_Return);
        QTest::keyClicks(box->elem, lines[i]);
    }
    return box->elem->toPlainText() == text ? box : nullptr;
}

void TestRenderer::addConnector(const QPoint& from, int count)
{
    const int index = int(window->m_data_line.size());
    window->m_data_line.push_back(Line(window->ui->drawWidget, 4, index, false));
    for (int i = 0; i < count; ++i)
        window->m_data_line.back().addPoints(from + QPoint(i, 0));
}

bool TestRenderer::toggle(QAbstractButton* button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QRect reacting = button->style()->subElementRect(QStyle::SE_RadioButtonClickRect, &option, button);
    const bool before = button->isChecked();
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, reacting.center());
    return button->isChecked() != before;
}

QStringList TestRenderer::rendered() const
{
    return QStringList(window->printThis.begin(), window->printThis.end());
}

QString TestRenderer::view() const
{
    return window->ui->drawOutput->toPlainText();
}

void TestRenderer::box_isDrawnAtItsProportionalCell_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("picture");

    QTest::newRow("one word") << QPoint(80, 80) << QStringLiteral("Start") << framedStart;
    QTest::newRow("shorter line padded") << QPoint(300, 500) << QStringLiteral("Start\nEnd")
                                         << QStringList{QStringLiteral("|-----|"), QStringLiteral("|Start|"),
                                                QStringLiteral("|End  |"), QStringLiteral("|-----|")};
    // The box is pushed back onto the canvas, so its cell follows its proportion, not the click.
    QTest::newRow("pushed left from right edge") << QPoint(795, 200) << QStringLiteral("Start") << framedStart;
    QTest::newRow("empty box not drawn") << QPoint(400, 400) << QString() << QStringList();
}

void TestRenderer::box_isDrawnAtItsProportionalCell()
{
    QFETCH(QPoint, at);
    QFETCH(QString, text);
    QFETCH(QStringList, picture);

    TextObject* box = addBox(at, text);
    QVERIFY(box);

    window->drawRightWidget();

    const QStringList expected = drawing(box, picture);
    QCOMPARE(rendered(), expected);
    QCOMPARE(view(), joined(expected));
}

void TestRenderer::connector_showsOnlyWithMoreThanFourPoints_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("rowText");

    QTest::newRow("four points") << QPoint(400, 600) << 4 << -1 << QString();
    QTest::newRow("five points in one cell") << QPoint(400, 600) << 5 << 45 << QString(56, QLatin1Char(' ')) + QLatin1Char('*');
    QTest::newRow("run across fifteen cells")
        << QPoint(100, 400) << 101 << 29 << QString(13, QLatin1Char(' ')) + QString(15, QLatin1Char('*'));
}

void TestRenderer::connector_showsOnlyWithMoreThanFourPoints()
{
    QFETCH(QPoint, from);
    QFETCH(int, count);
    QFETCH(int, row);
    QFETCH(QString, rowText);

    addConnector(from, count);
    QCOMPARE(window->m_data_line.back().points.size(), size_t(count));

    window->drawRightWidget();

    QStringList expected;
    for (int r = 0; r < 61; ++r)
        expected << (r == row ? rowText : QString()).leftJustified(114, QLatin1Char(' '));
    QCOMPARE(rendered(), expected);
    QCOMPARE(view(), joined(expected));
}

void TestRenderer::grid_followsCanvasSizeAtTimeOfCall_data()
{
    QTest::addColumn<QSize>("canvas");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("cols");

    QTest::newRow("form size") << QSize(801, 801) << 61 << 114;
    QTest::newRow("wide and low") << QSize(700, 390) << 30 << 100;
    QTest::newRow("lower than one row") << QSize(97, 12) << 0 << 13;
}

void TestRenderer::grid_followsCanvasSizeAtTimeOfCall()
{
    QFETCH(QSize, canvas);
    QFETCH(int, rows);
    QFETCH(int, cols);

    TextObject* box = addBox(QPoint(80, 80), QStringLiteral("Start"));
    QVERIFY(box);
    window->drawRightWidget();
    QCOMPARE(rendered(), drawing(box, framedStart));

    window->ui->drawWidget->setFixedSize(canvas);
    QTRY_COMPARE(window->ui->drawWidget->size(), canvas);
    window->drawRightWidget();

    const QStringList expected = drawing(box, framedStart, rows, cols);
    QCOMPARE(rendered(), expected);
    QCOMPARE(view(), joined(expected));
}

void TestRenderer::tagThatLooksLikeHtml_isShownVerbatim_data()
{
    QTest::addColumn<QString>("startTag");
    QTest::addColumn<QString>("endTag");

    QTest::newRow("bold element") << QStringLiteral("<b>") << QStringLiteral("</b>");
    QTest::newRow("comment opener") << QStringLiteral("<!-- ") << QStringLiteral(" -->");
    QTest::newRow("entities") << QStringLiteral("&amp;") << QStringLiteral("&lt;&nbsp;");
    QTest::newRow("html document") << QStringLiteral("<html><body><p style=\"color:red\">") << QString();
    QTest::newRow("runs of spaces") << QStringLiteral("    ") << QStringLiteral("   |");
    QTest::newRow("comment prefix") << QStringLiteral("// ") << QString();
}

void TestRenderer::tagThatLooksLikeHtml_isShownVerbatim()
{
    QFETCH(QString, startTag);
    QFETCH(QString, endTag);

    TextObject* box = addBox(QPoint(80, 80), QStringLiteral("Start"));
    QVERIFY(box);
    window->ui->lineEdit->setText(startTag);
    window->ui->lineEdit_2->setText(endTag);

    window->drawRightWidget();

    QStringList expected = drawing(box, framedStart);
    for (QString& row : expected)
        row = startTag + row + endTag;
    QCOMPARE(rendered(), expected);
    QCOMPARE(view(), joined(expected));
}

void TestRenderer::drawSwitch_offAtStart_rendersOnlyWhenClickedOn()
{
    QVERIFY(!window->ui->radioButton_3->isChecked());
    TextObject* box = addBox(QPoint(80, 80), QStringLiteral("Start"));
    QVERIFY(box);
    QTest::qWait(300);
    QVERIFY(!window->change_has_happen);
    QVERIFY(window->printThis.empty());
    QCOMPARE(view(), QString());

    QVERIFY(toggle(window->ui->radioButton_3));
    QCOMPARE(view(), joined(drawing(box, framedStart)));
}

void TestRenderer::drawSwitchClickedOff_keepsLastRendering()
{
    TextObject* box = addBox(QPoint(80, 80), QStringLiteral("Start"));
    QVERIFY(box);
    QVERIFY(toggle(window->ui->radioButton_3));
    const QString before = view();
    QCOMPARE(before, joined(drawing(box, framedStart)));
    // A change that nothing has rendered yet must not show when the switch goes off.
    addConnector(QPoint(100, 400), 101);

    QVERIFY(toggle(window->ui->radioButton_3));
    QCOMPARE(view(), before);

    QTest::keyClicks(box->elem, QStringLiteral("ed"));
    QVERIFY(addBox(QPoint(300, 500), QStringLiteral("End")));
    QTest::qWait(300);
    QCOMPARE(view(), before);
}

void TestRenderer::drawBoxClickedWhileLive_togglesBordersAtOnce()
{
    TextObject* box = addBox(QPoint(80, 80), QStringLiteral("Start"));
    QVERIFY(box);
    QVERIFY(toggle(window->ui->radioButton_3));

    QVERIFY(toggle(window->ui->radioButton_4));
    QCOMPARE(view(), joined(drawing(box, {QString(), QStringLiteral(" Start")})));

    QVERIFY(toggle(window->ui->radioButton_4));
    QCOMPARE(view(), joined(drawing(box, framedStart)));
}

void TestRenderer::drawBoxClickedWhileNotLive_changesNothingVisible()
{
    TextObject* box = addBox(QPoint(80, 80), QStringLiteral("Start"));
    QVERIFY(box);
    QVERIFY(toggle(window->ui->radioButton_3));
    QVERIFY(toggle(window->ui->radioButton_3));

    QVERIFY(toggle(window->ui->radioButton_4));
    QCOMPARE(view(), joined(drawing(box, framedStart)));
}

void TestRenderer::tagField_appliesOnReturnOnly_andGivesUpFocus_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("live");

    QTest::newRow("starting tag, live") << QStringLiteral("lineEdit") << true;
    QTest::newRow("ending tag, live") << QStringLiteral("lineEdit_2") << true;
    QTest::newRow("starting tag, not live") << QStringLiteral("lineEdit") << false;
    QTest::newRow("ending tag, not live") << QStringLiteral("lineEdit_2") << false;
}

void TestRenderer::tagField_appliesOnReturnOnly_andGivesUpFocus()
{
    QFETCH(QString, field);
    QFETCH(bool, live);

    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    TextObject* box = addBox(QPoint(80, 80), QStringLiteral("Start"));
    QVERIFY(box);
    QVERIFY(toggle(window->ui->radioButton_3));
    if (!live)
        QVERIFY(toggle(window->ui->radioButton_3));
    const QString before = view();
    auto* edit = window->findChild<QLineEdit*>(field);
    QVERIFY(edit);

    QTest::mouseClick(edit, Qt::LeftButton);
    QTRY_VERIFY(edit->hasFocus());
    QTest::keyClicks(edit, QStringLiteral("<i>"));
    QCOMPARE(view(), before);

    QTest::keyClick(edit, Qt::Key_Return);
    QVERIFY(!edit->hasFocus());
    QStringList expected = drawing(box, framedStart);
    for (QString& row : expected)
        row = field == QLatin1String("lineEdit") ? QStringLiteral("<i>") + row : row + QStringLiteral("<i>");
    QCOMPARE(view(), live ? joined(expected) : before);
}

void TestRenderer::tickWhileLive_rendersPendingBoxText()
{
    QVERIFY(toggle(window->ui->radioButton_3));
    QCOMPARE(int(window->printThis.size()), 61);

    TextObject* box = addBox(QPoint(80, 80), QStringLiteral("Go"));
    QVERIFY(box);
    QVERIFY(window->change_has_happen);

    const QStringList expected = drawing(box, {QStringLiteral("|--|"), QStringLiteral("|Go|"), QStringLiteral("|--|")});
    QTRY_COMPARE_WITH_TIMEOUT(view(), joined(expected), 1000);
    QVERIFY(!window->change_has_happen);
}

void TestRenderer::pendingBoxText_waitsWhileDrawIsOff()
{
    QVERIFY(toggle(window->ui->radioButton_3));
    const QString before = view();
    QVERIFY(addBox(QPoint(80, 80), QStringLiteral("Go")));
    QVERIFY(toggle(window->ui->radioButton_3));

    QTest::qWait(300);
    QVERIFY(window->change_has_happen);
    QCOMPARE(view(), before);
}

void TestRenderer::typingWhileNotLive_leavesNoPendingChange()
{
    TextObject* box = addBox(QPoint(80, 80), QStringLiteral("Start"));
    QVERIFY(box);
    QVERIFY(toggle(window->ui->radioButton_3));
    QVERIFY(toggle(window->ui->radioButton_3));

    QVERIFY(addBox(QPoint(300, 500), QStringLiteral("Go")));
    QTest::keyClicks(box->elem, QStringLiteral("ed"));
    QVERIFY(!window->change_has_happen);

    QTest::qWait(300);
    QVERIFY(!window->change_has_happen);
    QCOMPARE(view(), joined(drawing(box, framedStart)));
}

QTEST_MAIN(TestRenderer)
#include "tst_renderer.moc"
