#include "mainwindow.h"
#include "textobject.h"
#include "ui_mainwindow.h"

#include <QTextEdit>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

const QStringList framedStart{"|-----|", "|Start|", "|-----|"};
// Off the diagonal, so that a swapped axis shows.
const QPoint boxAt(80, 200);

// A blank rows x cols drawing, joined into the view's text, with `picture` laid so that its second row and
// column fall on the cell of the box's first character, found from the box's proportion; off-grid cells dropped.
QString drawing(const TextObject* box, const QStringList& picture, int rows = 61, int cols = 114)
{
    QStringList grid;
    for (int r = 0; r < rows; ++r)
        grid << QString(cols, QLatin1Char(' '));
    const int top = int(std::round(box->x_y_proc_respect_to_zero.y() * rows)) - 1;
    const int left = int(std::round(box->x_y_proc_respect_to_zero.x() * cols)) - 1;
    for (int i = 0; i < picture.size(); ++i) {
        for (int j = 0; j < picture[i].size(); ++j) {
            if (top + i >= 0 && top + i < rows && left + j >= 0 && left + j < cols)
                grid[top + i][left + j] = picture[i][j];
        }
    }
    return grid.join(QLatin1Char('\n'));
}

} // namespace

// The character drawing of the real window's chart in its output view; the 801 x 801 canvas makes 61 x 114 cells.
class TestRenderer : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindow> window;

    // A box created where the user clicked, with text put into it.
    TextObject* addBox(const QPoint& at, const QString& text)
    {
        window->lastMousePosition = at;
        if (!window->addNewText())
            return nullptr;
        window->m_data->last()->elem->insertPlainText(text);
        return window->m_data->last();
    }

    QString view() const { return window->ui->drawOutput->toPlainText(); }

private slots:
    void init()
    {
        window = std::make_unique<MainWindow>(nullptr, QString());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanup() { window.reset(); }

    void connector_showsOneCellUpAndLeft_onlyWithMoreThanFourPoints()
    {
        // An empty box, never drawn, marks the cell of the connector's own points.
        TextObject* box = addBox(QPoint(400, 600), QString());
        window->m_data_line.push_back(Line(window->ui->drawWidget, 4, 0, false));
        for (int i = 0; i < 4; ++i)
            window->m_data_line.back().addPoints(QPoint(400 + i, 600));
        window->drawRightWidget();
        QCOMPARE(view(), drawing(box, {}));
        window->m_data_line.back().addPoints(QPoint(404, 600));
        window->drawRightWidget();
        QCOMPARE(view(), drawing(box, {"*"}));
    }

    void grid_followsCanvasSizeAtTimeOfCall()
    {
        TextObject* box = addBox(boxAt, QStringLiteral("Start\nEnd"));
        window->ui->drawWidget->setFixedSize(700, 390);
        QTRY_COMPARE(window->ui->drawWidget->size(), QSize(700, 390));
        window->drawRightWidget();
        QCOMPARE(view(), drawing(box, {"|-----|", "|Start|", "|End  |", "|-----|"}, 30, 100));
    }

    // Off at start; switching on renders at once, then the tick renders typed text; nothing renders while off.
    void drawSwitch_rendersLiveOnlyWhileOn()
    {
        QVERIFY(!window->ui->radioButton_3->isChecked());
        TextObject* box = addBox(boxAt, QStringLiteral("Start"));
        QTest::qWait(300);
        QVERIFY(!window->change_has_happen);
        QCOMPARE(view(), QString());

        window->ui->radioButton_3->click();
        QCOMPARE(view(), drawing(box, framedStart));
        QTest::keyClicks(box->elem, QStringLiteral("ed"));
        QVERIFY(window->change_has_happen);
        QTRY_COMPARE_WITH_TIMEOUT(view(), drawing(box, {"|-------|", "|Started|", "|-------|"}), 1000);

        QTest::keyClicks(box->elem, QStringLiteral("!"));
        window->ui->radioButton_3->click();
        QTest::qWait(300);
        QCOMPARE(view(), drawing(box, {"|-------|", "|Started|", "|-------|"}));
    }

    void drawBoxSwitch_togglesBordersAtOnce_onlyWhileOn()
    {
        TextObject* box = addBox(boxAt, QStringLiteral("Start"));
        window->ui->radioButton_4->click();
        QCOMPARE(view(), QString());
        window->ui->radioButton_3->click();
        QCOMPARE(view(), drawing(box, {"", " Start"}));
        window->ui->radioButton_4->click();
        QCOMPARE(view(), drawing(box, framedStart));
    }

    void tagField_appliesOnReturnWhileOn_andGivesUpFocus_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("on");
        QTest::newRow("starting tag, on") << QStringLiteral("lineEdit") << true;
        QTest::newRow("ending tag, on") << QStringLiteral("lineEdit_2") << true;
        QTest::newRow("ending tag, off") << QStringLiteral("lineEdit_2") << false;
    }

    void tagField_appliesOnReturnWhileOn_andGivesUpFocus()
    {
        QFETCH(QString, field);
        QFETCH(bool, on);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        TextObject* box = addBox(boxAt, QStringLiteral("Start"));
        window->ui->radioButton_3->setChecked(on);
        window->drawRightWidget();
        auto* edit = window->findChild<QLineEdit*>(field);
        QTest::mouseClick(edit, Qt::LeftButton);
        QTRY_VERIFY(edit->hasFocus());
        // Shown verbatim, never as markup.
        const QString tag = QStringLiteral("<i>&amp; ");
        QTest::keyClicks(edit, tag);
        QCOMPARE(view(), drawing(box, framedStart));

        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(!edit->hasFocus());
        QStringList tagged = drawing(box, framedStart).split(QLatin1Char('\n'));
        for (QString& row : tagged)
            row = field == QLatin1String("lineEdit") ? tag + row : row + tag;
        QCOMPARE(view(), on ? tagged.join(QLatin1Char('\n')) : drawing(box, framedStart));
    }
};

QTEST_MAIN(TestRenderer)
#include "tst_renderer.moc"
