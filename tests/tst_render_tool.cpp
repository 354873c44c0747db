#include "chartfiles.h"
#include "chartstream.h"

#include <QtTest>

namespace {

// The 61 rows of 114 cells, framed by the tags, with the listed rows replaced; joined by line feeds, in UTF-8.
// With `crop`, only rows 5 to 30 and columns 10 to 24, where the chart below lies.
QByteArray drawing(const QMap<int, QString>& shown, const QString& start = "# ", const QString& end = "\u00e9", bool crop = false)
{
    QStringList rows;
    for (int r = crop ? 5 : 0; r <= (crop ? 30 : 60); ++r)
        rows << start + shown.value(r).mid(crop ? 10 : 0).leftJustified(crop ? 15 : 114, QLatin1Char(' ')) + end;
    return rows.join(QLatin1Char('\n')).toUtf8();
}

const QString pad(10, QLatin1Char(' '));
const QMap<int, QString> boxed{{5, pad + "|---|"}, {6, pad + "|Hi |"}, {7, pad + "|   |"}, {8, pad + "|you|"},
                               {9, pad + "|   |"}, {10, pad + "|---|"}, {30, pad + pad + "*****"}};

} // namespace

// Runs the built tool in a temporary folder holding chart.fcb and bad.fcb (a byte more).
class TestRenderTool : public QObject
{
    Q_OBJECT

private slots:
    // Tags "# " and "\u00e9"; a box "Hi\r\nyou\n" ("\r\n" is two line breaks) at a tenth of the canvas, a connector of
    // five points along grid row 30 from column 20; hidden: a box without text and a connector of only four points.
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        ChartStream::Chart chart{{}, {{{}, 0, 0, {}, {}, {0.1, 0.1}, {}, {}, "Hi\r\nyou\n"}, {}}, {{}, {}}};
        chart.window.startTag = "# ";
        chart.window.endTag = "\u00e9";
        for (int k = 0; k < 9; ++k) {
            chart.connectors[k / 5].points.push_back(QPoint(k, k));
            chart.connectors[k / 5].fractions.push_back({float((k < 5 ? 21 : 60) + k) / 114.0f, 0.5f});
        }
        const auto write = [this](const QString& name, const QByteArray& bytes) { return ChartFiles::writeWhole(m_dir.filePath(name + ".fcb"), bytes); };
        QVERIFY(write("chart", ChartStream::toBytes(chart)) && write("bad", ChartStream::toBytes(chart) + '\0'));
        QVERIFY(ChartFiles::writeWhole(m_dir.filePath("drawing.txt"), drawing(boxed)));
    }

    // `complaint` is a pattern for the one line on standard error after "vandora-render: ".
    void run_givesDrawingOrReason_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QString>("complaint");
        const QString ok;
        QTest::newRow("chart") << QStringList{"chart.fcb"} << 0 << drawing(boxed) << ok;
        QTest::newRow("tags") << QStringList{"--start", "/* ", "--end", " */", "chart.fcb"} << 0 << drawing(boxed, "/* ", " */") << ok;
        QTest::newRow("end tag alone") << QStringList{"--end", " */", "chart.fcb"} << 0 << drawing(boxed, "# ", " */") << ok;
        QTest::newRow("crop") << QStringList{"--crop", "chart.fcb"} << 0 << drawing(boxed, "# ", "\u00e9", true) << ok;
        QTest::newRow("no box, unicode, both heads") << QStringList{"--no-box", "--style", "unicode", "--arrows", "both", "chart.fcb"}
            << 0 << drawing({{6, pad + " Hi"}, {8, pad + " you"}, {30, pad + pad + "◀───▶"}}) << ok;
        QTest::newRow("to a file") << QStringList{"-o", "out.txt", "chart.fcb"} << 0 << QByteArray() << ok;
        QTest::newRow("to a missing folder") << QStringList{"-o", "no/out.txt", "chart.fcb"} << 1 << QByteArray() << "no/out\\.txt: .+";
        QTest::newRow("version") << QStringList{"--version"} << 0 << QByteArray("vandora-render " VANDORA_VERSION "\n") << ok;
        QTest::newRow("corrupt") << QStringList{"bad.fcb"} << 1 << QByteArray() << "bad\\.fcb: unexpected data after the chart";
        QTest::newRow("missing") << QStringList{"none.fcb"} << 1 << QByteArray() << "none\\.fcb: .+";
        QTest::newRow("import") << QStringList{"--import", "-o", "in.fcb", "drawing.txt"} << 0 << QByteArray()
                                << "drawing\\.txt: 1 box and 1 connector, drawn again with --style classic --arrows end; 0 characters could not be placed\\.";
        QTest::newRow("import of a backup") << QStringList{"--import", "-o", "in.fcb", "chart.fcb"} << 1 << QByteArray() << "chart\\.fcb: not UTF-8 text";
        for (const QStringList& args : QList<QStringList>{{"--bogus", "chart.fcb"}, {"--no-box"}, {"a.fcb", "b.fcb"}, {"--import", "drawing.txt"},
                 {"--style", "bold", "chart.fcb"}, {"--arrows", "up", "chart.fcb"}})
            QTest::newRow(qPrintable(args.join(' '))) << args << 2 << QByteArray() << ".+ Try 'vandora-render --help'\\.";
    }

    void run_givesDrawingOrReason()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, complaint);
        QProcess tool;
        tool.setWorkingDirectory(m_dir.path());
        tool.start(QStringLiteral(VANDORA_RENDER_PATH), arguments);
        QVERIFY(tool.waitForFinished(30000));
        const QString errors = QString::fromLocal8Bit(tool.readAllStandardError());
        QTEST(tool.exitCode(), "exitCode");
        QTEST(tool.readAllStandardOutput(), "output");
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(
                     complaint.isEmpty() ? complaint : "vandora-render: " + complaint + "\n")).match(errors).hasMatch(),
                 qPrintable(errors));
        QFile file(m_dir.filePath("out.txt"));
        QVERIFY(!arguments.contains("-o") || tool.exitCode() != 0 || arguments.contains("--import")
            || (file.open(QIODevice::ReadOnly) && file.readAll() == drawing(boxed)));
        // An imported drawing draws the same again.
        if (arguments.contains("--import") && tool.exitCode() == 0) {
            tool.start(QStringLiteral(VANDORA_RENDER_PATH), {"in.fcb"});
            QVERIFY(tool.waitForFinished(30000));
            QCOMPARE(tool.readAllStandardOutput(), drawing(boxed));
        }
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestRenderTool)
#include "tst_render_tool.moc"
