#include "chartfiles.h"
#include "chartstream.h"

#include <QtTest>

#include <unistd.h>

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
const QMap<int, QString> boxed{
    {5, pad + "|---|"}, {6, pad + "|Hi |"}, {7, pad + "|   |"}, {8, pad + "|you|"}, {9, pad + "|   |"}, {10, pad + "|---|"}, {30, pad + pad + "*****"}};

// Markers are written "VANDORA" here, so that checking this repository's own files finds no block in this one.
QByteArray marked(QByteArray text)
{
    return text.replace("VANDORA", "vandora:");
}

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
        QVERIFY(write("chart", ChartStream::toBytes(chart)));
        QVERIFY(write("bad", ChartStream::toBytes(chart) + '\0'));
        QVERIFY(write("go", ChartStream::toBytes({{}, {{{}, 0, 0, {}, {}, {0.1, 0.1}, {}, {}, "Go"}}, {}})));
        QVERIFY(write("end", ChartStream::toBytes({{}, {{{}, 0, 0, {}, {}, {0.1, 0.1}, {}, {}, marked("VANDORA end")}}, {}})));
        QVERIFY(QDir(m_dir.path()).mkpath("docs"));
        QVERIFY(ChartFiles::writeWhole(m_dir.filePath("drawing.txt"), drawing(boxed)));
        QVERIFY(ChartFiles::writeWhole(
            m_dir.filePath("marked.c"), marked("int x;\n// VANDORA chart.fcb --start '# ' --end \u00e9\n" + drawing(boxed) + "\n// VANDORA end\n")));
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
        QTest::newRow("end tag alone") << QStringList{"--end", " */", "chart.fcb"} << 0 << drawing(boxed, "# ", " */") << ok;
        QTest::newRow("crop") << QStringList{"--crop", "chart.fcb"} << 0 << drawing(boxed, "# ", "\u00e9", true) << ok;
        QTest::newRow("no box, double, both heads") << QStringList{"--no-box", "--style", "double", "--arrows", "both", "chart.fcb"} << 0
                                                    << drawing({{6, pad + " Hi"}, {8, pad + " you"}, {30, pad + pad + "◄═══►"}}) << ok;
        QTest::newRow("to a file") << QStringList{"-o", "out.txt", "chart.fcb"} << 0 << QByteArray() << ok;
        QTest::newRow("to a missing folder") << QStringList{"-o", "no/out.txt", "chart.fcb"} << 1 << QByteArray() << "no/out\\.txt: .+";
        QTest::newRow("version") << QStringList{"--version"} << 0 << QByteArray("vandora-render " VANDORA_VERSION "\n") << ok;
        QTest::newRow("corrupt") << QStringList{"bad.fcb"} << 1 << QByteArray() << "bad\\.fcb: unexpected data after the chart";
        QTest::newRow("missing") << QStringList{"none.fcb"} << 1 << QByteArray() << "none\\.fcb: .+";
        QTest::newRow("import") << QStringList{"--import", "-o", "in.fcb", "drawing.txt"} << 0 << QByteArray()
                                << "drawing\\.txt: 1 box and 1 connector, drawn again with --style classic --arrows "
                                   "end; 0 characters could not be placed\\.";
        QTest::newRow("import a marked block") << QStringList{"--import", "-o", "in.fcb", "marked.c:9"} << 0 << QByteArray()
                                               << "marked\\.c:9: 1 box and 1 connector, drawn again with --style classic --arrows end; 0 characters could "
                                                  "not be placed\\.";
        QTest::newRow("import outside any block") << QStringList{"--import", "-o", "in.fcb", "marked.c:1"} << 1 << QByteArray()
                                                  << "marked\\.c: no marked drawing holds line 1";
        QTest::newRow("import of a backup") << QStringList{"--import", "-o", "in.fcb", "chart.fcb"} << 1 << QByteArray() << "chart\\.fcb: not UTF-8 text";
        for (const QStringList& args : QList<QStringList>{{"--bogus", "chart.fcb"}, {"--no-box"}, {"a.fcb", "b.fcb"}, {"--import", "drawing.txt"},
                 {"--style", "bold", "chart.fcb"}, {"--arrows", "up", "chart.fcb"}, {"--check"}, {"--check", "--update", "a"}, {"--update", "--crop", "a"},
                 {"--check", "--arrows", "end", "a"}, {"--import", "--check", "-o", "in.fcb", "drawing.txt"}})
            QTest::newRow(qPrintable(args.join(' '))) << args << 2 << QByteArray() << ".+ Try 'vandora-render --help'\\.";
    }

    void run_givesDrawingOrReason()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, complaint);
        const Run tool = run(arguments);
        const QString errors = QString::fromLocal8Bit(tool.errors);
        QTEST(tool.exitCode, "exitCode");
        QTEST(tool.output, "output");
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(complaint.isEmpty() ? complaint : "vandora-render: " + complaint + "\n"))
                     .match(errors)
                     .hasMatch(),
            qPrintable(errors));
        QFile file(m_dir.filePath("out.txt"));
        if (arguments.contains("out.txt"))
            QCOMPARE(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(), drawing(boxed));
        // An imported drawing draws the same again.
        if (arguments.contains("--import") && tool.exitCode == 0)
            QCOMPARE(run({"in.fcb"}).output, drawing(boxed));
    }

    // Standard output on a full device: the drawing is not taken for printed.
    void run_fullStandardOutput_fails()
    {
        const Run tool = run({"chart.fcb"}, "/dev/full");
        QCOMPARE(tool.exitCode, 1);
        QCOMPARE(tool.errors, QByteArray("vandora-render: cannot write to standard output\n"));
    }

    // Files in docs/ written as strings; go.fcb's compact drawing is "|--|", "|Go|", "|--|". `updated` is the
    // file after --update (empty when it stays as it was), `report` --check's standard output, `problems` the
    // standard error of both runs.
    void checkAndUpdate_keepDrawingsInStep_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("updated");
        QTest::addColumn<QByteArray>("report");
        QTest::addColumn<QByteArray>("problems");
        const QByteArray none, diff = "\n--- docs/f\n+++ docs/f\n", script = "#!/bin/sh\r\n# VANDORA ../go.fcb --crop --no-box --start \"# \"\r\n";
        const QByteArray other = "/* VANDORA ../go.fcb --crop --no-box */\nGo\nVANDORA end\n<!-- VANDORA /no/../" + m_dir.path().toUtf8()
            + "/sub/../go.fcb --crop --no-box --end ! -->\n";
        QTest::newRow("C comment in step") << QByteArray(
            "int a;\n// VANDORA ../go.fcb --crop --start '// '\n// |--|\n// |Go|\n// |--|\n// VANDORA end\nint b;\n")
                                           << none << none << none;
        QTest::newRow("Markdown fence") << QByteArray("Text\n```\nVANDORA ../go.fcb --crop\nold\nVANDORA end\n```\n")
                                        << QByteArray("Text\n```\nVANDORA ../go.fcb --crop\n|--|\n|Go|\n|--|\nVANDORA end\n```\n")
                                        << "docs/f:3: drawing differs from go.fcb" + diff + "@@ -4 +4,3 @@\n-old\n+|--|\n+|Go|\n+|--|\n"
                                        << none;
        QTest::newRow("# script, CRLF, no final newline") << script + "# VANDORA end" << script + "# Go\r\n# VANDORA end"
                                                          << "docs/f:2: drawing differs from go.fcb" + diff + "@@ -2,0 +3 @@\n+# Go\n"
                                                          << none;
        QTest::newRow("two blocks") << other + "\xe9\nVANDORA end\r\n\n"
                                    << other + "Go!\nVANDORA end\r\n\n"
                                    << "docs/f:4: drawing differs from " + m_dir.filePath("go.fcb").toUtf8() + diff + "@@ -5 +5 @@\n-\xe9\n+Go!\n"
                                    << none;
        QTest::newRow("missing chart") << QByteArray("// VANDORA none.fcb\n// VANDORA end\n") << none << none
                                       << QByteArray("docs/f:1: docs/none.fcb: No such file or directory\n");
        QTest::newRow("a drawing that would close its block") << QByteArray("VANDORA ../end.fcb --crop --no-box\nVANDORA end\n") << none << none
                                                              << QByteArray("docs/f:1: the drawing of end.fcb holds a line with 'vandora: end'\n");
        QTest::newRow("binary file") << QByteArray("VANDORA ../go.fcb\nold\nVANDORA end\n\0", 35) << none << none << none;
        QTest::newRow("unclosed") << QByteArray("x\n// VANDORA ../go.fcb\n") << none << none
                                  << QByteArray("docs/f:2: block not closed: no line with 'vandora: end' follows\n");
        QTest::newRow("stale beside bad option") << QByteArray("VANDORA ../go.fcb --no-box --crop\nold\nVANDORA end\nVANDORA ../go.fcb -o x\nVANDORA end\n")
                                                 << none << "docs/f:1: drawing differs from go.fcb" + diff + "@@ -2 +2 @@\n-old\n+Go\n"
                                                 << QByteArray("docs/f:4: Unknown option 'o'.\n");
    }

    // --update rewrites what --check reports, keeps the file's permissions and leaves a file it need not change alone.
    void checkAndUpdate_keepDrawingsInStep()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, updated);
        QFETCH(QByteArray, report);
        QFETCH(QByteArray, problems);
        text = marked(text);
        updated = updated.isEmpty() ? text : marked(updated);
        QFile file(m_dir.filePath("docs/f"));
        const QDateTime old(QDate(2001, 2, 3), QTime(4, 5, 6));
        const bool root = geteuid() == 0;
        QVERIFY(ChartFiles::writeWhole(file.fileName(), text));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
        file.close();
        // Read-only for root, whose right to write would otherwise reach the owner's bits with the new file.
        const QFile::Permissions permissions = QFile::ReadOwner | QFile::ExeOwner | (root ? QFile::Permissions() : QFile::WriteOwner);
        QVERIFY(file.setPermissions(permissions));
        const Run check = run({"--check", "docs/f"});
        QCOMPARE(check.exitCode, report.isEmpty() && problems.isEmpty() ? 0 : 1);
        QCOMPARE(check.output, report);
        QCOMPARE(check.errors, problems);

        QByteArray updates;
        for (const QByteArray& line : report.split('\n'))
            updates += problems.isEmpty() && line.contains(": drawing differs from ") ? QByteArray(line).replace("differs", "updated") + '\n' : "";
        const Run update = run({"--update", "docs/f"});
        QCOMPARE(update.exitCode, problems.isEmpty() ? 0 : 1);
        QCOMPARE(update.output, updates);
        QCOMPARE(update.errors, problems + (problems.isEmpty() || report.isEmpty() ? "" : "docs/f: not written, as a block above cannot be updated\n"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), updated);
        QCOMPARE(QFileInfo(file).lastModified() == old, updated == text);
        QCOMPARE(file.permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser), permissions);
        QCOMPARE(run({"--check", "docs/f"}).exitCode, problems.isEmpty() ? 0 : 1);
    }

private:
    struct Run {
        int exitCode;
        QByteArray output, errors;
    };

    Run run(const QStringList& arguments, const QString& output = {})
    {
        QProcess tool;
        tool.setWorkingDirectory(m_dir.path());
        if (!output.isEmpty())
            tool.setStandardOutputFile(output);
        tool.start(QStringLiteral(VANDORA_RENDER_PATH), arguments);
        return {tool.waitForFinished(30000) ? tool.exitCode() : -1, tool.readAllStandardOutput(), tool.readAllStandardError()};
    }

    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestRenderTool)
#include "tst_render_tool.moc"
