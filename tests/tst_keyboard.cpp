#include "fakeprompts.h"
#include "mainwindow.h"
#include "textobject.h"
#include "ui_mainwindow.h"

#include <QClipboard>
#include <QTextEdit>
#include <QtTest>

class TestKeyboard : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void modifiers_switchModesAndEditors_data();
    void modifiers_switchModesAndEditors();
    void commandShortcuts_needCtrlAloneAndShortKeys_data();
    void commandShortcuts_needCtrlAloneAndShortKeys();
    void losingActivation_releasesHeldModifiers();
    void ctrlC_copiesDrawingOrEditorSelection();

private:
    void key(QChar event);
    // "m" "c" "a" for the modes that are on, then "e" when the editors take input.
    QString state() const;

    FakePrompts::Log log;
    MainWindow* window = nullptr;
};

void TestKeyboard::init()
{
    log = FakePrompts::Log();
    window = new MainWindow(nullptr, QString());
    window->setPrompts(std::make_unique<FakePrompts>(&log));
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window));
    window->timer->stop();
    window->lastMousePosition = QPoint(100, 100);
    window->addNewText();
}

void TestKeyboard::cleanup()
{
    // Leaves no modifier held for the next window.
    QTest::keyRelease(window, Qt::Key_Control);
    QTest::keyRelease(window, Qt::Key_Alt);
    delete window;
    window = nullptr;
}

// C / A: Ctrl or Alt down; c / a: up.
void TestKeyboard::key(QChar event)
{
    const Qt::Key key = event.toLower() == QLatin1Char('c') ? Qt::Key_Control : Qt::Key_Alt;
    if (event.isUpper())
        QTest::keyPress(window, key);
    else
        QTest::keyRelease(window, key);
}

QString TestKeyboard::state() const
{
    QString on;
    if (window->ui->radioButton->isChecked())
        on += QLatin1Char('m');
    if (window->ui->radioButton_2->isChecked())
        on += QLatin1Char('c');
    if (window->ui->radioBMoveAll->isChecked())
        on += QLatin1Char('a');
    if (window->m_data->first()->elem->isEnabled())
        on += QLatin1Char('e');
    return on;
}

void TestKeyboard::modifiers_switchModesAndEditors_data()
{
    QTest::addColumn<bool>("shortKeys");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("states"); // after each key
    QTest::newRow("ctrl") << true << "Cc" << QStringList{"m", "e"};
    QTest::newRow("alt") << true << "Aa" << QStringList{"c", "e"};
    QTest::newRow("ctrl, alt, alt up, ctrl up") << true << "CAac" << QStringList{"m", "a", "e", "e"};
    QTest::newRow("alt, ctrl, ctrl up, alt up") << true << "ACca" << QStringList{"c", "a", "e", "e"};
    QTest::newRow("ctrl repeated after alt up") << true << "CAaC" << QStringList{"m", "a", "e", "m"};
    QTest::newRow("short keys off") << false << "CA" << QStringList{"e", "e"};
}

void TestKeyboard::modifiers_switchModesAndEditors()
{
    QFETCH(bool, shortKeys);
    QFETCH(QString, keys);
    QFETCH(QStringList, states);
    window->ui->shortKeysRadioButton->setChecked(shortKeys);
    for (int i = 0; i < keys.size(); ++i) {
        key(keys[i]);
        QCOMPARE(state(), states[i]);
    }
    QCOMPARE(window->ctrlPressd, shortKeys && keys.count(QLatin1Char('C')) > keys.count(QLatin1Char('c')));
    QCOMPARE(window->altPressd, shortKeys && keys.count(QLatin1Char('A')) > keys.count(QLatin1Char('a')));
}

void TestKeyboard::commandShortcuts_needCtrlAloneAndShortKeys_data()
{
    QTest::addColumn<bool>("shortKeys");
    QTest::addColumn<bool>("alt");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<int>("dialogs");
    QTest::newRow("ctrl+z undoes") << true << false << int(Qt::Key_Z) << 0 << 0;
    QTest::newRow("ctrl+z with alt does nothing") << true << true << int(Qt::Key_Z) << 1 << 0;
    QTest::newRow("ctrl+z without short keys does nothing") << false << false << int(Qt::Key_Z) << 1 << 0;
    QTest::newRow("ctrl+y at the end does nothing") << true << false << int(Qt::Key_Y) << 1 << 0;
    QTest::newRow("ctrl+s saves") << true << false << int(Qt::Key_S) << 1 << 1;
    QTest::newRow("ctrl+o opens") << true << false << int(Qt::Key_O) << 1 << 1;
    QTest::newRow("ctrl+o without short keys") << false << false << int(Qt::Key_O) << 1 << 0;
}

void TestKeyboard::commandShortcuts_needCtrlAloneAndShortKeys()
{
    QFETCH(bool, shortKeys);
    QFETCH(bool, alt);
    QFETCH(int, key);
    window->pushBackStreamToBuffer();
    window->pushBackStreamToBuffer();
    window->ui->shortKeysRadioButton->setChecked(shortKeys);
    QTest::keyPress(window, Qt::Key_Control);
    if (alt)
        QTest::keyPress(window, Qt::Key_Alt);
    QTest::keyClick(window, Qt::Key(key), Qt::ControlModifier);
    QTEST(window->lastByteArrayCount, "cursor");
    QTEST(log.folders.size(), "dialogs");
}

void TestKeyboard::losingActivation_releasesHeldModifiers()
{
    QTest::keyPress(window, Qt::Key_Control);
    QTest::keyPress(window, Qt::Key_Alt);
    QCOMPARE(state(), QStringLiteral("a"));
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QTRY_VERIFY(!window->isActiveWindow());
    QCOMPARE(state(), QStringLiteral("e"));
    QVERIFY(!window->ctrlPressd && !window->altPressd);
    QApplication::setActiveWindow(window);
    QTRY_VERIFY(window->isActiveWindow());
    // Ctrl alone switches "Move / Remove" on again, not "Move all".
    QTest::keyPress(window, Qt::Key_Control);
    QCOMPARE(state(), QStringLiteral("m"));
}

void TestKeyboard::ctrlC_copiesDrawingOrEditorSelection()
{
    QTextEdit* editor = window->m_data->first()->elem;
    QTest::keyClicks(editor, QStringLiteral("abc"));
    window->ui->lineEdit->setText(QStringLiteral("# "));
    QApplication::clipboard()->clear();

    // Typing in the box: the box's own selection is copied, and the box gets the keys back.
    editor->setFocus();
    editor->selectAll();
    QTest::keyPress(editor, Qt::Key_Control);
    QVERIFY(!editor->isEnabled());
    QTest::keyClick(window, Qt::Key_C, Qt::ControlModifier);
    QTest::keyRelease(window, Qt::Key_Control);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("abc"));
    QVERIFY(editor->hasFocus());

    // Nothing being typed: the drawing is copied, rendered whether or not "Draw " is on.
    editor->clearFocus();
    QVERIFY(!window->ui->radioButton_3->isChecked());
    QTest::keyPress(window, Qt::Key_Control);
    QTest::keyClick(window, Qt::Key_C, Qt::ControlModifier);
    const QString copied = QApplication::clipboard()->text();
    window->drawRightWidget();
    QCOMPARE(copied, window->ui->drawOutput->toPlainText());
    QVERIFY(copied.contains(QStringLiteral("|abc")) && copied.startsWith(QStringLiteral("# ")));
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
