#include "testwindow.h"

#include <QClipboard>

#include <optional>

class TestKeyboard : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        t.emplace();
        QVERIFY(QTest::qWaitForWindowActive(t->w));
        t->w->lastMousePosition = QPoint(100, 100);
        t->w->addNewText();
    }
    void cleanup()
    {
        // Leaves no modifier held for the next window.
        QTest::keyRelease(t->w, Qt::Key_Control);
        QTest::keyRelease(t->w, Qt::Key_Alt);
        t.reset();
    }

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

    std::optional<TestWindow> t;
};

// C / A: Ctrl or Alt down; c / a: up.
void TestKeyboard::key(QChar event)
{
    const Qt::Key key = event.toLower() == QLatin1Char('c') ? Qt::Key_Control : Qt::Key_Alt;
    if (event.isUpper())
        QTest::keyPress(t->w, key);
    else
        QTest::keyRelease(t->w, key);
}

QString TestKeyboard::state() const
{
    QString on;
    if (t->ui()->radioButton->isChecked())
        on += QLatin1Char('m');
    if (t->ui()->radioButton_2->isChecked())
        on += QLatin1Char('c');
    if (t->ui()->radioBMoveAll->isChecked())
        on += QLatin1Char('a');
    if (t->w->m_data->first()->elem->isEnabled())
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
    t->ui()->shortKeysRadioButton->setChecked(shortKeys);
    for (int i = 0; i < keys.size(); ++i) {
        key(keys[i]);
        QCOMPARE(state(), states[i]);
    }
    QCOMPARE(t->w->ctrlPressd, shortKeys && keys.count(QLatin1Char('C')) > keys.count(QLatin1Char('c')));
    QCOMPARE(t->w->altPressd, shortKeys && keys.count(QLatin1Char('A')) > keys.count(QLatin1Char('a')));
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
    t->w->pushBackStreamToBuffer();
    t->w->pushBackStreamToBuffer();
    t->ui()->shortKeysRadioButton->setChecked(shortKeys);
    QTest::keyPress(t->w, Qt::Key_Control);
    if (alt)
        QTest::keyPress(t->w, Qt::Key_Alt);
    QTest::keyClick(t->w, Qt::Key(key), Qt::ControlModifier);
    QTEST(t->w->lastByteArrayCount, "cursor");
    QTEST(t->log.folders.size(), "dialogs");
}

void TestKeyboard::losingActivation_releasesHeldModifiers()
{
    QTest::keyPress(t->w, Qt::Key_Control);
    QTest::keyPress(t->w, Qt::Key_Alt);
    QCOMPARE(state(), QStringLiteral("a"));
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QTRY_VERIFY(!t->w->isActiveWindow());
    QCOMPARE(state(), QStringLiteral("e"));
    QVERIFY(!t->w->ctrlPressd && !t->w->altPressd);
    QApplication::setActiveWindow(t->w);
    QTRY_VERIFY(t->w->isActiveWindow());
    // Ctrl alone switches "Move / Remove" on again, not "Move all".
    QTest::keyPress(t->w, Qt::Key_Control);
    QCOMPARE(state(), QStringLiteral("m"));
}

void TestKeyboard::ctrlC_copiesDrawingOrEditorSelection()
{
    QTextEdit* editor = t->w->m_data->first()->elem;
    QTest::keyClicks(editor, QStringLiteral("abc"));
    t->ui()->lineEdit->setText(QStringLiteral("# "));
    QApplication::clipboard()->clear();

    // Typing in the box: the box's own selection is copied, and the box gets the keys back.
    editor->setFocus();
    editor->selectAll();
    QTest::keyPress(editor, Qt::Key_Control);
    QVERIFY(!editor->isEnabled());
    QTest::keyClick(t->w, Qt::Key_C, Qt::ControlModifier);
    QTest::keyRelease(t->w, Qt::Key_Control);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("abc"));
    QVERIFY(editor->hasFocus());

    // Nothing being typed: the drawing is copied, rendered whether or not "Draw " is on.
    editor->clearFocus();
    QVERIFY(!t->ui()->radioButton_3->isChecked());
    QTest::keyPress(t->w, Qt::Key_Control);
    QTest::keyClick(t->w, Qt::Key_C, Qt::ControlModifier);
    const QString copied = QApplication::clipboard()->text();
    t->w->drawRightWidget();
    QCOMPARE(copied, t->ui()->drawOutput->toPlainText());
    QVERIFY(copied.contains(QStringLiteral("|abc")) && copied.startsWith(QStringLiteral("# ")));
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
