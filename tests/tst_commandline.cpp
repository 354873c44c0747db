#include "commandline.h"
#include "programinfo.h"

#include <QtTest>

// The arguments the window is started with, read alone and by the built program.
class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void parse_findsActionAndChart_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("action"); // CommandLine::Action
        QTest::addColumn<QString>("chart");
        const int run = int(CommandLine::Action::Run), usage = int(CommandLine::Action::Usage);
        QTest::newRow("nothing") << QStringList{} << run << "";
        QTest::newRow("one chart") << QStringList{"a b/\u00fcbersicht.fcb"} << run << "a b/\u00fcbersicht.fcb";
        QTest::newRow("two charts open none") << QStringList{"a.fcb", "b.fcb"} << run << "";
        QTest::newRow("the toolkit's options are passed over") << QStringList{"-style", "fusion", "--platform=xcb", "-reverse", "a.fcb"} << run << "a.fcb";
        QTest::newRow("a chart named like an option") << QStringList{"--", "--help"} << run << "--help";
        QTest::newRow("help") << QStringList{"a.fcb", "--help"} << int(CommandLine::Action::Help) << "";
        QTest::newRow("short help") << QStringList{"-h"} << int(CommandLine::Action::Help) << "";
        QTest::newRow("version") << QStringList{"--version"} << int(CommandLine::Action::Version) << "";
        QTest::newRow("unknown option") << QStringList{"--bogus", "a.fcb"} << usage << "";
        QTest::newRow("toolkit option without its value") << QStringList{"-style"} << usage << "";
    }
    void parse_findsActionAndChart()
    {
        QFETCH(QStringList, arguments);
        const CommandLine::Request request = CommandLine::parse(QStringList{"vandora"} + arguments);
        QTEST(int(request.action), "action");
        QTEST(request.chartFile, "chart");
        QCOMPARE(request.error.isEmpty(), request.action != CommandLine::Action::Usage);
    }

    // Without any display: these answer before a window system is needed.
    void program_answersWithoutWindow_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QByteArray>("errors");
        const QByteArray usage = CommandLine::usage().toUtf8();
        QTest::newRow("help") << QStringList{"--help"} << 0 << usage << QByteArray();
        QTest::newRow("version") << QStringList{"--version"} << 0 << ("vandora " + ProgramInfo::version().toUtf8() + "\n") << QByteArray();
        QTest::newRow("unknown option") << QStringList{"--bogus"} << 2 << QByteArray() << "vandora: Unknown option 'bogus'.\n\n" + usage;
    }
    void program_answersWithoutWindow()
    {
        QFETCH(QStringList, arguments);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(VANDORA_PATH), arguments);
        QVERIFY(program.waitForFinished(30000));
        QTEST(program.exitCode(), "exitCode");
        QTEST(program.readAllStandardOutput(), "output");
        QTEST(program.readAllStandardError(), "errors");
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
