#include "testwindow.h"

#include <QClipboard>

class TestKeyboard : public WindowTest
{
    Q_OBJECT

private slots:
    void init() { t.emplace().addBox(QPoint(100, 100), QStringLiteral("x")); }
    // Leaves no modifier held for the next window.
    void cleanup() { t->key(Qt::Key_Control, false), t->key(Qt::Key_Alt, false), t.reset(); }

    void keys_switchModesAndRunCommands_data()
    {
        // C / A: Ctrl or Alt down, c / a: up; z y s o: that letter pressed. The tool after each key, then the
        // undo cursor (from 2 of 3 snapshots: start, box, typed) and the file dialogs and close prompts shown.
        QTest::addColumn<bool>("shortKeys");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("states");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("prompts");
        QTest::newRow("ctrl, alt, alt up, ctrl up") << true << "CAac" << QStringList{"m", "a", "typing", "typing"} << 2 << 0 << 0;
        QTest::newRow("ctrl+z undoes") << true << "Cz" << QStringList{"m", "m"} << 1 << 0 << 0;
        QTest::newRow("ctrl+alt+z does nothing") << true << "CAz" << QStringList{"m", "a", "a"} << 2 << 0 << 0;
        QTest::newRow("ctrl+y at the end does nothing") << true << "Cy" << QStringList{"m", "m"} << 2 << 0 << 0;
        QTest::newRow("ctrl+s saves") << true << "Cs" << QStringList{"m", "m"} << 2 << 1 << 0;
        QTest::newRow("ctrl+o asks first") << true << "Co" << QStringList{"m", "m"} << 2 << 0 << 1;
        QTest::newRow("short keys off: ctrl+z in the box does nothing") << false << "Cz" << QStringList{"typing", "typing"} << 2 << 0 << 0;
        QTest::newRow("short keys off") << false << "CAzo" << QStringList{"typing", "typing", "typing", "typing"} << 2 << 0 << 0;
    }

    void keys_switchModesAndRunCommands()
    {
        QFETCH(bool, shortKeys);
        QFETCH(QString, keys);
        QFETCH(QStringList, states);
        if (!shortKeys) // the middle button toggles them
            t->click(t->boxClickAt(QPoint(500, 500)), Qt::MiddleButton);
        for (int i = 0; i < keys.size(); ++i) {
            const QChar c = keys[i].toLower();
            const bool modifier = c == QLatin1Char('c') || c == QLatin1Char('a');
            const Qt::Key key = modifier ? c == QLatin1Char('c') ? Qt::Key_Control : Qt::Key_Alt : Qt::Key(c.toUpper().unicode());
            t->key(key, !(keys[i].isLower() && modifier), modifier ? Qt::NoModifier : Qt::ControlModifier);
            QCOMPARE(state(), states[i]);
        }
        QCOMPARE(t->w->ctrlPressd, shortKeys && keys.count(QLatin1Char('C')) > keys.count(QLatin1Char('c')));
        QCOMPARE(t->w->altPressd, shortKeys && keys.count(QLatin1Char('A')) > keys.count(QLatin1Char('a')));
        QTEST(t->w->lastByteArrayCount, "cursor");
        // Ctrl+O asks first, as the box is not saved.
        QTEST(t->log.folders.size(), "files");
        QTEST(t->log.questions.size(), "prompts");
    }

    // While typing in a box: a held modifier takes the keys, Ctrl+C copies the box's own selection, and the
    // box gets the keys back at the release, or when the window is active again after another took them
    // (with a button's release).
    void heldModifiers_copyTypedSelection_releasedWhenAnotherWindowTakesKeys()
    {
        QTextEdit* editor = t->box(0)->elem;
        t->type(QStringLiteral("abc"));
        QApplication::clipboard()->clear();
        editor->selectAll();
        t->key(Qt::Key_Control, true);
        t->key(Qt::Key_C, true, Qt::ControlModifier);
        t->key(Qt::Key_Control, false);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("xabc"));
        QVERIFY(editor->hasFocus());
        t->key(Qt::Key_Control, true);
        t->key(Qt::Key_Alt, true);
        QCOMPARE(state(), QStringLiteral("a"));
        t->press(t->origin() + QPoint(700, 700)); // a drag whose release the other window takes
        QWidget other;
        other.show(), other.activateWindow();
        QTRY_VERIFY(!t->w->isActiveWindow());
        QCOMPARE(state(), QStringLiteral("typing"));
        QVERIFY(!t->w->ctrlPressd);
        QVERIFY(!t->w->altPressd);
        t->w->activateWindow();
        QTRY_VERIFY(t->w->isActiveWindow());
        QVERIFY(editor->hasFocus());
        // Ctrl alone switches "Move / Remove" on again, not "Move all".
        t->key(Qt::Key_Control, true);
        QCOMPARE(state(), QStringLiteral("m"));
    }

private:
    // The mode buttons on, m (Move / Remove), c (Connect), a (Move all), then "typing" when the box takes input.
    QString state() const { return t->modesOn() + QLatin1String(t->box(0)->elem->isEnabled() ? "typing" : ""); }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
