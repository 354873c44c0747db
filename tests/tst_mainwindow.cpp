#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QFontMetrics>
#include <QLayout>
#include <QSpacerItem>
#include <QtTest>

// Names a layout item the way the form describes it.
static QString describe(QLayoutItem* item)
{
    if (QWidget* widget = item->widget())
        return widget->objectName();
    if (QLayout* layout = item->layout())
        return layout->objectName();
    QSpacerItem* spacer = item->spacerItem();
    const QSizePolicy policy = spacer->sizePolicy();
    return QStringLiteral("spacer %1x%2 %3 %4")
        .arg(spacer->sizeHint().width())
        .arg(spacer->sizeHint().height())
        .arg(policy.horizontalPolicy())
        .arg(policy.verticalPolicy());
}

static QStringList itemsOf(QLayout* layout)
{
    QStringList names;
    for (int i = 0; i < layout->count(); ++i)
        names << describe(layout->itemAt(i));
    return names;
}

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void form_widgetsHaveTheirClassAndParent_data();
    void form_widgetsHaveTheirClassAndParent();
    void form_layoutsHoldTheirItemsInOrder_data();
    void form_layoutsHoldTheirItemsInOrder();
    void form_sizesAndFrames();
    void form_onlyShortKeysAndDrawBoxStartChecked();
    void radioButtons_doNotUncheckEachOther();
    void texts_data();
    void texts();
    void toolTips_data();
    void toolTips();
    void styleSheets_data();
    void styleSheets();
    void icons_loadedFromImagesBesideExecutable();
    void window_isTitledAndFixedInSize();
    void window_hasNoMenusAndNoContextMenuActions();
    void outputView_usesMonospacedFont();
    void historyButtonsDisabled_removeHidden();
    void tick_runsEvery20msAndCounts();
    void filePath_isKept();
    void f1_showsAboutDialog();
    void closingWindow_withBoxes_releasesEverything();

private:
    MainWindow* window = nullptr;
};

void TestMainWindow::init()
{
    window = new MainWindow(nullptr, QString());
}

void TestMainWindow::cleanup()
{
    delete window;
    window = nullptr;
}

void TestMainWindow::form_widgetsHaveTheirClassAndParent_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("parentName");

    const QString column = QStringLiteral("horizontalLayoutWidget");
    const auto row = [](const char* name, const char* cls, const QString& parent) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(cls) << parent;
    };
    row("centralWidget", "QWidget", QStringLiteral("MainWindow"));
    row("horizontalLayoutWidget", "QWidget", QStringLiteral("centralWidget"));
    row("drawWidget", "QWidget", column);
    row("label_2", "QLabel", QStringLiteral("drawWidget"));
    for (const char* name : {"line_8", "line_2", "line_3", "line_7", "line_6", "line_5", "line_9", "line_10", "line"})
        row(name, "QFrame", column);
    for (const char* name : {"shortKeysRadioButton", "radioBMoveAll", "radioButton", "radioButton_2",
             "drawStraightLines", "radioButton_4", "radioButton_3"})
        row(name, "QRadioButton", column);
    row("lineEdit", "QLineEdit", column);
    row("lineEdit_2", "QLineEdit", column);
    for (const char* name : {"pushButton", "goBack", "goForward", "open", "pushButton_2", "pushButton_4"})
        row(name, "QPushButton", column);
    row("drawOutput", "QTextBrowser", column);
    row("menuBar", "QMenuBar", QStringLiteral("MainWindow"));
}

void TestMainWindow::form_widgetsHaveTheirClassAndParent()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, parentName);

    auto* widget = window->findChild<QWidget*>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);
    QCOMPARE(widget->parentWidget()->objectName(), parentName);
}

void TestMainWindow::form_layoutsHoldTheirItemsInOrder_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QStringList>("items");

    const QString maxSpacer = QStringLiteral("spacer 20x40 %1 %2").arg(QSizePolicy::Minimum).arg(QSizePolicy::Maximum);
    QTest::newRow("horizontalLayout") << QStringLiteral("horizontalLayout")
                                      << QStringList{QStringLiteral("drawWidget"), QStringLiteral("verticalLayout_2"),
                                             QStringLiteral("drawOutput")};
    QTest::newRow("verticalLayout_2")
        << QStringLiteral("verticalLayout_2")
        << QStringList{QStringLiteral("line_8"), QStringLiteral("shortKeysRadioButton"), QStringLiteral("line_2"),
               QStringLiteral("horizontalLayout_4"), QStringLiteral("line_3"), QStringLiteral("drawStraightLines"),
               QStringLiteral("line_7"), QStringLiteral("horizontalLayout_5"), maxSpacer, QStringLiteral("line_6"),
               QStringLiteral("lineEdit"), QStringLiteral("lineEdit_2"), QStringLiteral("line_5"), maxSpacer,
               QStringLiteral("pushButton"),
               QStringLiteral("spacer 20x30 %1 %2").arg(QSizePolicy::Minimum).arg(QSizePolicy::Maximum),
               QStringLiteral("line_9"), QStringLiteral("horizontalLayout_2"),
               QStringLiteral("spacer 20x20 %1 %2").arg(QSizePolicy::Minimum).arg(QSizePolicy::Maximum),
               QStringLiteral("horizontalLayout_6"),
               QStringLiteral("spacer 10x30 %1 %2").arg(QSizePolicy::Minimum).arg(QSizePolicy::Minimum),
               QStringLiteral("pushButton_4"), QStringLiteral("line_10"),
               QStringLiteral("spacer 20x10 %1 %2").arg(QSizePolicy::Minimum).arg(QSizePolicy::Minimum),
               QStringLiteral("spacer 20x40 %1 %2").arg(QSizePolicy::Minimum).arg(QSizePolicy::Expanding),
               QStringLiteral("line")};
    QTest::newRow("horizontalLayout_4") << QStringLiteral("horizontalLayout_4") << QStringList{QStringLiteral("verticalLayout")};
    QTest::newRow("verticalLayout") << QStringLiteral("verticalLayout")
                                    << QStringList{QStringLiteral("radioBMoveAll"), QStringLiteral("radioButton"),
                                           QStringLiteral("radioButton_2")};
    QTest::newRow("horizontalLayout_5") << QStringLiteral("horizontalLayout_5") << QStringList{QStringLiteral("verticalLayout_3")};
    QTest::newRow("verticalLayout_3") << QStringLiteral("verticalLayout_3")
                                      << QStringList{QStringLiteral("radioButton_4"), QStringLiteral("radioButton_3")};
    QTest::newRow("horizontalLayout_2") << QStringLiteral("horizontalLayout_2")
                                        << QStringList{QStringLiteral("goBack"), QStringLiteral("goForward")};
    QTest::newRow("horizontalLayout_6") << QStringLiteral("horizontalLayout_6")
                                        << QStringList{QStringLiteral("open"), QStringLiteral("pushButton_2")};
}

void TestMainWindow::form_layoutsHoldTheirItemsInOrder()
{
    QFETCH(QString, layout);
    QFETCH(QStringList, items);

    auto* found = window->findChild<QLayout*>(layout);
    QVERIFY2(found, qPrintable(layout));
    QCOMPARE(itemsOf(found), items);
    QCOMPARE(found->spacing(), 6);
}

void TestMainWindow::form_sizesAndFrames()
{
    Ui::MainWindow* ui = window->ui;
    QCOMPARE(ui->centralWidget->minimumSize(), QSize(1820, 830));
    QCOMPARE(ui->centralWidget->maximumSize(), QSize(1820, 830));
    QCOMPARE(ui->centralWidget->toolTipDuration(), 5);
    QVERIFY(ui->centralWidget->autoFillBackground());
    QCOMPARE(ui->horizontalLayoutWidget->geometry(), QRect(0, 0, 1821, 803));
    QCOMPARE(ui->horizontalLayout->contentsMargins(), QMargins(0, 0, 0, 0));
    QCOMPARE(ui->horizontalLayout->sizeConstraint(), QLayout::SetMinimumSize);
    QCOMPARE(ui->drawWidget->minimumSize(), QSize(801, 801));
    QCOMPARE(ui->drawWidget->maximumSize(), QSize(801, 801));
    QCOMPARE(ui->label_2->minimumSize(), QSize(801, 801));
    QCOMPARE(ui->label_2->maximumSize(), QSize(801, 801));
    QCOMPARE(ui->label_2->text(), QString());
    QCOMPARE(ui->drawOutput->minimumSize(), QSize(830, 801));
    QCOMPARE(ui->drawOutput->maximumSize(), QSize(830, 1000));
    QCOMPARE(ui->drawOutput->frameShape(), QFrame::Box);
    QCOMPARE(ui->drawOutput->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(ui->drawOutput->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(ui->drawOutput->sizeAdjustPolicy(), QAbstractScrollArea::AdjustIgnored);
    QVERIFY(window->isAnimated());
    QCOMPARE(window->dockOptions(), QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);
    for (QFrame* rule : {ui->line_8, ui->line_2, ui->line_3, ui->line_7, ui->line_6, ui->line_5, ui->line_9, ui->line_10}) {
        QCOMPARE(rule->frameShape(), QFrame::HLine);
        QCOMPARE(rule->frameShadow(), QFrame::Sunken);
    }
    QCOMPARE(ui->line->frameShape(), QFrame::VLine);
    QCOMPARE(ui->line->lineWidth(), 0);
}

void TestMainWindow::form_onlyShortKeysAndDrawBoxStartChecked()
{
    QStringList checked;
    for (QRadioButton* button : window->findChildren<QRadioButton*>()) {
        QVERIFY2(!button->autoExclusive(), qPrintable(button->objectName()));
        if (button->isChecked())
            checked << button->objectName();
    }
    checked.sort();
    QCOMPARE(checked, (QStringList{QStringLiteral("radioButton_4"), QStringLiteral("shortKeysRadioButton")}));
}

void TestMainWindow::radioButtons_doNotUncheckEachOther()
{
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTest::mouseClick(window->ui->drawStraightLines, Qt::LeftButton);
    QVERIFY(window->ui->drawStraightLines->isChecked());
    QVERIFY(window->ui->shortKeysRadioButton->isChecked());
    QVERIFY(window->ui->radioButton_4->isChecked());
}

void TestMainWindow::texts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    const auto row = [](const char* name, const char* text) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(text);
    };
    row("shortKeysRadioButton", "Short Keys");
    row("radioBMoveAll", "Move all");
    row("radioButton", "Move / Remove");
    row("radioButton_2", "Connect");
    row("drawStraightLines", "Straight lines");
    row("radioButton_4", "Draw box");
    row("radioButton_3", "Draw ");
    row("pushButton", "Remove");
    row("goBack", "Undo");
    row("goForward", "Redo");
    row("open", "Open");
    row("pushButton_2", "Save");
    row("pushButton_4", "Clear all");
}

void TestMainWindow::texts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    auto* button = window->findChild<QAbstractButton*>(name);
    QVERIFY(button);
    QCOMPARE(button->text(), text);
}

void TestMainWindow::toolTips_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("tip");
    const auto row = [](const char* name, const char* tip) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(tip);
    };
    row("radioButton", "Move [Ctrl + Left mouse button]\nRemove[Ctrl + Right mouse button]");
    row("radioButton_2", "[Alt + Left mouse button]");
    row("pushButton", "Remove last");
    row("pushButton_2", "Save [Ctrl+S]");
    row("open", "Open [Ctrl+O]");
    row("lineEdit", "Starting tag");
    row("lineEdit_2", "Ending tag");
    row("shortKeysRadioButton", "Enable/Disable short keys outside the box\n[Mid mouse button]");
    row("radioBMoveAll", "Move all object [ctrl + alt]");
    row("drawStraightLines", "Connect with straight lines");
    row("goBack", "Undo last action [Ctrl+Z]");
    row("goForward", "Redo last action [Ctrl+Y]");
    row("radioButton_3", "Draw right widget");
}

void TestMainWindow::toolTips()
{
    QFETCH(QString, name);
    QFETCH(QString, tip);
    auto* widget = window->findChild<QWidget*>(name);
    QVERIFY(widget);
    QCOMPARE(widget->toolTip(), tip);
}

void TestMainWindow::styleSheets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("sheet");
    const auto row = [](const char* name, const char* sheet) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(sheet);
    };
    row("pushButton_2", "background-color: #1dcf9b");
    row("open", "background-color: #1dcf9b");
    row("pushButton", "background-color: #56843c");
    row("goBack", "background-color: #87cefa");
    row("goForward", "background-color: #87cefa");
    row("pushButton_4", "background-color: #fa8072");
    row("lineEdit", "background-color:white");
    row("lineEdit_2", "background-color:white");
    row("drawWidget", "border:2px double rgb(0, 0, 0); background-color:white;");
    row("drawOutput", "border:2px double rgb(0, 0, 0); background-color:white;");
}

void TestMainWindow::styleSheets()
{
    QFETCH(QString, name);
    QFETCH(QString, sheet);
    auto* widget = window->findChild<QWidget*>(name);
    QVERIFY(widget);
    QCOMPARE(widget->styleSheet(), sheet);
}

void TestMainWindow::icons_loadedFromImagesBesideExecutable()
{
    QVERIFY2(QFile::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/images/save.png")),
        "the build copies the pictures beside this test");
    QVERIFY(!window->ui->pushButton_2->icon().pixmap(16, 16).isNull());
    QVERIFY(!window->ui->open->icon().pixmap(16, 16).isNull());
    QVERIFY(!window->ui->pushButton->icon().pixmap(16, 16).isNull());
    QVERIFY(window->ui->goBack->icon().isNull());
    QVERIFY(!window->windowIcon().pixmap(16, 16).isNull());
}

void TestMainWindow::window_isTitledAndFixedInSize()
{
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(window->windowTitle(), QStringLiteral("Vandora"));
    QCOMPARE(window->size(), QSize(1820, 802));
    window->resize(1000, 500);
    QCOMPARE(window->size(), QSize(1820, 802));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QVERIFY(window->testAttribute(Qt::WA_TranslucentBackground));
}

void TestMainWindow::window_hasNoMenusAndNoContextMenuActions()
{
    QCOMPARE(window->contextMenuPolicy(), Qt::ActionsContextMenu);
    QVERIFY(window->actions().isEmpty());
    QVERIFY(window->ui->menuBar->actions().isEmpty());
}

void TestMainWindow::outputView_usesMonospacedFont()
{
    const QFont font = window->ui->drawOutput->font();
    QCOMPARE(font.family(), QStringLiteral("unexistent"));
    QCOMPARE(font.styleHint(), QFont::Monospace);
    // The rows of the drawing line up only when every character is equally wide.
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(QLatin1Char('i'));
    for (const QChar c : QStringLiteral("W-|* M.")) {
        QCOMPARE(metrics.horizontalAdvance(c), width);
    }
}

void TestMainWindow::historyButtonsDisabled_removeHidden()
{
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QVERIFY(!window->ui->goBack->isEnabled());
    QVERIFY(!window->ui->goForward->isEnabled());
    QVERIFY(!window->ui->pushButton->isEnabled());
    QVERIFY(!window->ui->pushButton->isVisible());
}

void TestMainWindow::tick_runsEvery20msAndCounts()
{
    QCOMPARE(window->timer->parent(), window);
    QVERIFY(window->timer->isActive());
    QCOMPARE(window->timer->interval(), 20);
    QTRY_VERIFY_WITH_TIMEOUT(window->change_has_happen_timer_counter >= 3, 2000);
}

void TestMainWindow::filePath_isKept()
{
    MainWindow withFile(nullptr, QStringLiteral("/tmp/plan.fcb"));
    QCOMPARE(withFile.m_filePath, QStringLiteral("/tmp/plan.fcb"));
    QVERIFY(window->m_filePath.isEmpty());
}

void TestMainWindow::f1_showsAboutDialog()
{
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QVERIFY(!window->w.isVisible());

    QTest::keyClick(window, Qt::Key_F1);
    QVERIFY(window->w.isVisible());
    QCOMPARE(window->w.windowTitle(), QStringLiteral("About"));
    QVERIFY(!window->w.isModal());

    QTest::mouseClick(window->w.findChild<QPushButton*>(QStringLiteral("pushButton")), Qt::LeftButton);
    QVERIFY(!window->w.isVisible());
    QVERIFY(window->isVisible());
}

void TestMainWindow::closingWindow_withBoxes_releasesEverything()
{
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    window->lastMousePosition = QPoint(40, 40);
    QVERIFY(window->addNewText());
    window->byteArrayOfPastStuf.push_back(new QByteArray("snapshot"));
    // Leaks or double deletions here fail the sanitized build.
    delete window;
    window = nullptr;
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
