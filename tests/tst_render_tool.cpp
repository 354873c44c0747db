#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Default window, start tag "# ", one box "Hi" at (0.5, 0.25) of the canvas, no connectors.
const QByteArray chartBytes = QByteArray::fromHex(
    "00000000 00000000 00000000 00000000 00000000 00000000 00 ffffffff 00000000 00000000 00000000 00000000"
    "00000000 00000000 00000000 00000002 0023 0020 00000000 00000001"
    "00000000 00000000 00000000 00000002 00000000 00000000 00000000 00000000 00000000 00000000"
    "3fe0000000000000 3fd0000000000000 00000014 00000014 0000000a 0000000a 00000002 0048 0069 00000000");

// The 61 rows of 114 cells, framed by the tags, with the listed rows replaced; no line feed at the end.
QByteArray drawing(const QMap<int, QString>& shown, const QString& start = QStringLiteral("# "),
                   const QString& end = QString())
{
    QStringList rows;
    for (int r = 0; r < 61; ++r)
        rows << start + shown.value(r).leftJustified(114, QLatin1Char(' ')) + end;
    return rows.join(QLatin1Char('\n')).toUtf8();
}

const QString left56(56, QLatin1Char(' '));
const QMap<int, QString> boxed{{14, left56 + "|--|"}, {15, left56 + "|Hi|"}, {16, left56 + "|--|"}};

} // namespace

class TestRenderTool : public QObject
{
    Q_OBJECT

private slots:
    void run_givesDrawingOrReason_data();
    void run_givesDrawingOrReason();
    void help_printsManualSections();

private:
    QTemporaryDir m_dir;
};

void TestRenderTool::run_givesDrawingOrReason_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QString>("complaint");

    const QString usage = QStringLiteral("Try 'vandora-render --help'.");
    QTest::newRow("chart") << QStringList{"CHART"} << 0 << drawing(boxed) << QString();
    QTest::newRow("no box") << QStringList{"--no-box", "CHART"} << 0 << drawing({{15, left56 + " Hi"}}) << QString();
    QTest::newRow("tags") << QStringList{"--start", "/* ", "--end", " */", "CHART"} << 0
                          << drawing(boxed, QStringLiteral("/* "), QStringLiteral(" */")) << QString();
    QTest::newRow("to a file") << QStringList{"-o", "OUT", "CHART"} << 0 << QByteArray() << QString();
    QTest::newRow("version") << QStringList{"--version"} << 0 << QByteArray("vandora-render " VANDORA_VERSION "\n")
                             << QString();
    QTest::newRow("truncated") << QStringList{"SHORT"} << 1 << QByteArray() << "SHORT: ends early";
    QTest::newRow("corrupt") << QStringList{"BAD"} << 1 << QByteArray() << "BAD: unexpected data after the chart";
    QTest::newRow("missing") << QStringList{"NONE"} << 1 << QByteArray() << "NONE: ";
    QTest::newRow("unknown option") << QStringList{"--bogus", "CHART"} << 2 << QByteArray() << usage;
    QTest::newRow("no file") << QStringList{"--no-box"} << 2 << QByteArray() << usage;
    QTest::newRow("two files") << QStringList{"CHART", "CHART"} << 2 << QByteArray() << usage;
    QTest::newRow("missing tag") << QStringList{"CHART", "--start"} << 2 << QByteArray() << usage;
}

void TestRenderTool::run_givesDrawingOrReason()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, output);
    QFETCH(QString, complaint);

    QVERIFY(m_dir.isValid());
    const QMap<QString, QByteArray> files{
        {"CHART", chartBytes}, {"SHORT", chartBytes.chopped(1)}, {"BAD", chartBytes + '\0'}};
    for (auto it = files.begin(); it != files.end(); ++it) {
        QFile file(m_dir.filePath(it.key() + ".fcb"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(it.value()) == it.value().size());
    }
    // Placeholders stand for files in the temporary folder.
    const QStringList placeholders{"CHART", "SHORT", "BAD", "NONE", "OUT"};
    QStringList placed;
    for (const QString& argument : arguments)
        placed << (placeholders.contains(argument) ? m_dir.filePath(argument + ".fcb") : argument);
    QString expectedComplaint = complaint;
    for (const QString& name : placeholders)
        expectedComplaint.replace(name, m_dir.filePath(name + ".fcb"));

    QProcess tool;
    tool.start(QStringLiteral(VANDORA_RENDER_PATH), placed);
    QVERIFY(tool.waitForFinished(30000));
    const QString errors = QString::fromLocal8Bit(tool.readAllStandardError());
    QCOMPARE(tool.exitCode(), exitCode);
    QCOMPARE(tool.readAllStandardOutput(), output);
    QCOMPARE(errors.count(QLatin1Char('\n')), complaint.isEmpty() ? 0 : 1);
    QVERIFY2(errors.startsWith("vandora-render: ") || complaint.isEmpty(), qPrintable(errors));
    QVERIFY2(errors.contains(expectedComplaint), qPrintable(errors));
    if (arguments.contains("OUT")) {
        QFile written(m_dir.filePath("OUT.fcb"));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), drawing(boxed));
    }
}

void TestRenderTool::help_printsManualSections()
{
    QProcess tool;
    tool.start(QStringLiteral(VANDORA_RENDER_PATH), {"--help"});
    QVERIFY(tool.waitForFinished(30000));
    const QByteArray help = tool.readAllStandardOutput();
    QCOMPARE(tool.exitCode(), 0);
    for (const char* section :
         {"NAME\n", "\nSYNOPSIS\n", "\nDESCRIPTION\n", "\nOPTIONS\n", "\nEXIT STATUS\n", "\nEXAMPLE\n"})
        QVERIFY2(help.contains(section), section);
    QVERIFY(help.contains("--no-box") && help.contains("--start TAG") && help.contains("-o FILE"));
}

QTEST_GUILESS_MAIN(TestRenderTool)
#include "tst_render_tool.moc"
