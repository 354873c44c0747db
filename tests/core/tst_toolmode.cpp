#include "toolmode.h"

#include <QtTest>

using ToolMode::Key;
using ToolMode::Mode;
Q_DECLARE_METATYPE(Mode)
Q_DECLARE_METATYPE(Key)

// How the held modifiers switch the tool modes, one key at a time.
class TestToolMode : public QObject
{
    Q_OBJECT

private slots:
    void afterKey_switchesModes_data()
    {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<bool>("ctrl");
        QTest::addColumn<bool>("alt");
        QTest::addColumn<Key>("key");
        QTest::addColumn<bool>("pressed");
        QTest::addColumn<Mode>("after");
        QTest::addColumn<bool>("ctrlAfter");
        QTest::addColumn<bool>("altAfter");
        const Mode none = Mode::None, move = Mode::MoveRemove, connect = Mode::Connect, all = Mode::MoveAll;
        QTest::newRow("ctrl down: move/remove") << none << false << false << Key::Ctrl << true << move << true << false;
        QTest::newRow("ctrl down ends clicked move all")
            << all << false << false << Key::Ctrl << true << move << true << false;
        QTest::newRow("ctrl down, alt held: move all")
            << connect << false << true << Key::Ctrl << true << all << true << true;
        QTest::newRow("alt down: connect") << none << false << false << Key::Alt << true << connect << false << true;
        QTest::newRow("alt down keeps clicked move all")
            << all << false << false << Key::Alt << true << all << false << true;
        QTest::newRow("alt down, ctrl held: move all")
            << move << true << false << Key::Alt << true << all << true << true;
        QTest::newRow("alt up, ctrl held: none") << all << true << true << Key::Alt << false << none << true << false;
        QTest::newRow("ctrl up, alt held: none") << all << true << true << Key::Ctrl << false << none << false << true;
        QTest::newRow("other up, both held: move all again")
            << move << true << true << Key::Other << false << all << true << true;
        QTest::newRow("other down, both held: unchanged")
            << move << true << true << Key::Other << true << move << true << true;
        QTest::newRow("other up, ctrl held: unchanged")
            << none << true << false << Key::Other << false << none << true << false;
    }

    void afterKey_switchesModes()
    {
        QFETCH(Mode, mode);
        QFETCH(bool, ctrl);
        QFETCH(bool, alt);
        QFETCH(Key, key);
        QFETCH(bool, pressed);
        const ToolMode::State after = ToolMode::afterKey({mode, ctrl, alt}, key, pressed);
        QTEST(after.mode, "after");
        QTEST(after.ctrl, "ctrlAfter");
        QTEST(after.alt, "altAfter");
    }
};

QTEST_MAIN(TestToolMode)
#include "tst_toolmode.moc"
