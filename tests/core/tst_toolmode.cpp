#include "labels.h"
#include "toolmode.h"

#include <QtTest>

using ToolMode::Mode;

// How the held modifiers switch the tool modes, one key at a time.
class TestToolMode : public QObject
{
    Q_OBJECT

private slots:
    // The mode ("move" is "Move / Remove") and the modifiers held; the key and whether it goes down; then the
    // mode now and the modifiers held after it (ctrl', alt').
    void afterKey_switchesModes_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::newRow("ctrl down ends clicked move all") << "mode=all ctrl=no alt=no key=ctrl down=yes now=move ctrl'=yes alt'=no";
        QTest::newRow("ctrl down, alt held") << "mode=connect ctrl=no alt=yes key=ctrl down=yes now=all ctrl'=yes alt'=yes";
        QTest::newRow("alt down") << "mode=none ctrl=no alt=no key=alt down=yes now=connect ctrl'=no alt'=yes";
        QTest::newRow("alt down keeps clicked move all") << "mode=all ctrl=no alt=no key=alt down=yes now=all ctrl'=no alt'=yes";
        QTest::newRow("ctrl up, alt held") << "mode=all ctrl=yes alt=yes key=ctrl down=no now=none ctrl'=no alt'=yes";
        QTest::newRow("other up, both held") << "mode=move ctrl=yes alt=yes key=other down=no now=all ctrl'=yes alt'=yes";
        QTest::newRow("other down, both held") << "mode=move ctrl=yes alt=yes key=other down=yes now=move ctrl'=yes alt'=yes";
        QTest::newRow("other up, ctrl held") << "mode=none ctrl=yes alt=no key=other down=no now=none ctrl'=yes alt'=no";
    }

    void afterKey_switchesModes()
    {
        QFETCH(QString, keys);
        const Labels row(keys);
        const QStringList modes{"mode=none", "mode=move", "mode=connect", "mode=all"};
        const auto yes = [&row](const char* label) { return row[QLatin1String(label)].endsWith(QLatin1String("yes")); };
        const ToolMode::Key key = ToolMode::Key(QStringList{"key=ctrl", "key=alt", "key=other"}.indexOf(row["key"]));
        const ToolMode::State got = ToolMode::afterKey({Mode(modes.indexOf(row["mode"])), yes("ctrl"), yes("alt")}, key, yes("down"));
        QCOMPARE(labelled("now", modes[int(got.mode)].mid(5)), row["now"]);
        QCOMPARE(labelled("ctrl'", got.ctrl), row["ctrl'"]);
        QCOMPARE(labelled("alt'", got.alt), row["alt'"]);
    }
};

QTEST_MAIN(TestToolMode)
#include "tst_toolmode.moc"
