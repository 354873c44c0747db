#include "chartstream.h"

#include <QtTest>

namespace {

// Tags "# " and "\u00e9"; a box "Hi\r\nyou\n" ("\r\n" is two line breaks) at a tenth of the canvas, a connector of five
// points along grid row 30 from column 20; hidden: a box without text and a connector of only four points.
ChartStream::Chart sample()
{
    ChartStream::Chart chart;
    chart.window.startTag = QStringLiteral("# ");
    chart.window.endTag = QStringLiteral("\u00e9");
    chart.boxes.resize(2);
    chart.boxes[0].proportion = QPointF(0.1, 0.1);
    chart.boxes[0].text = QStringLiteral("Hi\r\nyou\n");
    chart.connectors.resize(2);
    for (int k = 0; k < 9; ++k) {
        chart.connectors[k / 5].points.push_back(QPoint(k, k));
        chart.connectors[k / 5].fractions.push_back({float((k < 5 ? 21 : 60) + k) / 114.0f, 0.5f});
    }
    return chart;
}

// The 61 rows of 114 cells, framed by the tags, with the listed rows replaced; joined by line feeds, in UTF-8.
QByteArray drawing(const QMap<int, QString>& shown, const QString& start = QStringLiteral("# "),
                   const QString& end = QStringLiteral("\u00e9"))
{
    QStringList rows;
    for (int r = 0; r < 61; ++r)
        rows << start + shown.value(r).leftJustified(114, QLatin1Char(' ')) + end;
    return rows.join(QLatin1Char('\n')).toUtf8();
}

const QString pad(10, QLatin1Char(' '));
const QString line = QString(20, QLatin1Char(' ')) + "*****";
const QMap<int, QString> boxed{{5, pad + "|---|"}, {6, pad + "|Hi |"}, {7, pad + "|   |"}, {8, pad + "|you|"},
                               {9, pad + "|   |"}, {10, pad + "|---|"}, {30, line}};

} // namespace

// Runs the built tool in a temporary folder holding chart.fcb, short.fcb (cut in the window section) and bad.fcb
// (a byte more).
class TestRenderTool : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QByteArray bytes = ChartStream::toBytes(sample());
        const QMap<QString, QByteArray> files{{"chart", bytes}, {"short", bytes.left(40)}, {"bad", bytes + '\0'}};
        for (auto it = files.begin(); it != files.end(); ++it) {
            QFile file(m_dir.filePath(it.key() + ".fcb"));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(it.value()) == it.value().size());
        }
    }

    // `complaint` is a pattern for the one line on standard error after "vandora-render: ".
    void run_givesDrawingOrReason_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QString>("complaint");
        const QString usage = QStringLiteral(".+ Try 'vandora-render --help'\\.");
        QTest::newRow("chart") << QStringList{"chart.fcb"} << 0 << drawing(boxed) << QString();
        QTest::newRow("no box") << QStringList{"--no-box", "chart.fcb"} << 0
                                << drawing({{6, pad + " Hi"}, {8, pad + " you"}, {30, line}}) << QString();
        QTest::newRow("tags") << QStringList{"--start", "/* ", "--end", " */", "chart.fcb"} << 0
                              << drawing(boxed, QStringLiteral("/* "), QStringLiteral(" */")) << QString();
        QTest::newRow("to a file") << QStringList{"-o", "out.txt", "chart.fcb"} << 0 << QByteArray() << QString();
        QTest::newRow("version") << QStringList{"--version"} << 0 << QByteArray("vandora-render " VANDORA_VERSION "\n")
                                 << QString();
        QTest::newRow("truncated") << QStringList{"short.fcb"} << 1 << QByteArray() << "short\\.fcb: ends early";
        QTest::newRow("corrupt") << QStringList{"bad.fcb"} << 1 << QByteArray()
                                 << "bad\\.fcb: unexpected data after the chart";
        QTest::newRow("missing") << QStringList{"none.fcb"} << 1 << QByteArray() << "none\\.fcb: .+";
        QTest::newRow("unknown option") << QStringList{"--bogus", "chart.fcb"} << 2 << QByteArray() << usage;
        QTest::newRow("no file") << QStringList{"--no-box"} << 2 << QByteArray() << usage;
        QTest::newRow("two files") << QStringList{"chart.fcb", "chart.fcb"} << 2 << QByteArray() << usage;
    }

    void run_givesDrawingOrReason()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, output);
        QFETCH(QString, complaint);
        QProcess tool;
        tool.setWorkingDirectory(m_dir.path());
        tool.start(QStringLiteral(VANDORA_RENDER_PATH), arguments);
        QVERIFY(tool.waitForFinished(30000));
        const QString errors = QString::fromLocal8Bit(tool.readAllStandardError());
        QCOMPARE(tool.exitCode(), exitCode);
        QCOMPARE(tool.readAllStandardOutput(), output);
        const QString pattern = complaint.isEmpty() ? QString() : "vandora-render: " + complaint + "\n";
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(errors).hasMatch(),
                 qPrintable(errors));
        QFile written(m_dir.filePath("out.txt"));
        if (arguments.contains("-o"))
            QVERIFY(written.open(QIODevice::ReadOnly) && written.readAll() == drawing(boxed));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestRenderTool)
#include "tst_render_tool.moc"
