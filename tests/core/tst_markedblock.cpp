#include "labels.h"
#include "markedblock.h"
#include "unifieddiff.h"

#include <QtTest>

namespace {

// Markers are written "VANDORA" here, so that checking this repository's own files finds no block in this one.
QByteArray marked(QByteArray text)
{
    return text.replace("VANDORA", "vandora:");
}

std::vector<QByteArray> lines(const QByteArray& words)
{
    const QList<QByteArray> list = words.split(' ');
    return words.isEmpty() ? std::vector<QByteArray>() : std::vector<QByteArray>(list.begin(), list.end());
}

} // namespace

class TestMarkedBlock : public QObject
{
    Q_OBJECT

private slots:
    // Per block: the lines blockAt() gives it, whether a closing marker ends it, the opening marker's line
    // end and whether its words hold an open quote; then all blocks' words and drawing rows in order.
    void parse_findsBlocksBetweenMarkers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("blocks");
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QStringList>("drawing");
        using L = QStringList;
        QTest::newRow("C comment") << "int a;\n// VANDORA go.fcb --crop --start '// '\n// |--|\n// |Go|\n// VANDORA end\n"
                                   << L{"lines=2-5 closed=yes end=lf quote=no"} << L{"go.fcb", "--crop", "--start", "// "} << L{"// |--|", "// |Go|"};
        QTest::newRow("quotes, comment close") << "/* VANDORA \"my charts/a.fcb\" --end \" \\\"*/\" */\nVANDORA end"
                                               << L{"lines=1-2 closed=yes end=lf quote=no"} << L{"my charts/a.fcb", "--end", " \"*/"} << L{};
        QTest::newRow("CRLF, no final newline") << "# VANDORA a.fcb\r\nx \r\n\r\n# VANDORA end" << L{"lines=1-4 closed=yes end=crlf quote=no"} << L{"a.fcb"}
                                                << L{"x ", ""};
        QTest::newRow("two blocks, stray end") << "VANDORA end\nVANDORA a.fcb\nVANDORA end\n<!-- VANDORA b.fcb -->\nrow\n\n'VANDORA end' -->\n"
                                               << L{"lines=2-3 closed=yes end=lf quote=no", "lines=4-7 closed=yes end=lf quote=no"} << L{"a.fcb", "b.fcb"}
                                               << L{"row", ""};
        QTest::newRow("no markers") << "myvandora: a.fcb\nvandora:a.fcb\nsee `vandora:`\nvandora: \t\n" << L{} << L{} << L{};
        QTest::newRow("unclosed, to the end") << "VANDORA end.fcb\nx\nVANDORA b.fcb" << L{"lines=1-3 closed=no end=lf quote=no"} << L{"end.fcb"}
                                              << L{"x", "VANDORA b.fcb"};
        QTest::newRow("open quote") << "VANDORA 'a.fcb\nVANDORA end\n" << L{"lines=1-2 closed=yes end=lf quote=yes"} << L{} << L{};
    }

    void parse_findsBlocksBetweenMarkers()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, blocks);
        const std::vector<MarkedBlock::Block> found = MarkedBlock::parse(marked(text.toUtf8()));
        QCOMPARE(int(found.size()), blocks.size());
        QStringList words, drawing;
        for (int i = 0; i < blocks.size(); ++i) {
            const MarkedBlock::Block& b = found[size_t(i)];
            int first = b.line, last = b.line;
            while (first > -9 && MarkedBlock::blockAt(found, first - 1) == i)
                --first;
            while (last < 99 && MarkedBlock::blockAt(found, last + 1) == i)
                ++last;
            const Labels want(blocks[i]);
            QCOMPARE(labelled("lines", QStringLiteral("%1-%2").arg(first).arg(last)), want["lines"]);
            QCOMPARE(labelled("closed", b.closed()), want["closed"]);
            QCOMPARE(labelled("end", b.lineEnd == "\r\n" ? "crlf" : "lf"), want["end"]);
            QCOMPARE(labelled("quote", b.syntaxError == QStringLiteral("Quote ' is not closed.")), want["quote"]);
            words << b.arguments;
            for (const QByteArray& row : b.drawing)
                drawing << QString::fromUtf8(row).replace(QStringLiteral("vandora:"), QStringLiteral("VANDORA"));
        }
        QTEST(words, "words");
        QTEST(drawing, "drawing");
    }

    void hunks_giveUnifiedDiff_data()
    {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<int>("context");
        QTest::addColumn<QByteArray>("hunks");
        QTest::newRow("one changed") << QByteArray("1 2 3 4 5 6 7 8 9") << QByteArray("1 2 3 4 X 6 7 8 9") << 3
                                     << QByteArray("@@ -11,7 +11,7 @@\n 2\n 3\n 4\n-5\n+X\n 6\n 7\n 8\n");
        QTest::newRow("two hunks") << QByteArray("1 2 3 4 5") << QByteArray("X 2 3 4 Y") << 1
                                   << QByteArray("@@ -10,2 +10,2 @@\n-1\n+X\n 2\n@@ -13,2 +13,2 @@\n 4\n-5\n+Y\n");
        QTest::newRow("merged at twice the context") << QByteArray("1 2 3 4") << QByteArray("X 2 3 Y") << 1
                                                     << QByteArray("@@ -10,4 +10,4 @@\n-1\n+X\n 2\n 3\n-4\n+Y\n");
        QTest::newRow("into nothing") << QByteArray() << QByteArray("a b") << 3 << QByteArray("@@ -9,0 +10,2 @@\n+a\n+b\n");
        QTest::newRow("all gone") << QByteArray("a") << QByteArray() << 3 << QByteArray("@@ -10 +9,0 @@\n-a\n");
    }

    // Both sides start at line 10.
    void hunks_giveUnifiedDiff()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(int, context);
        QTEST(UnifiedDiff::hunks(lines(from), lines(to), 10, 10, context), "hunks");
    }
};

QTEST_GUILESS_MAIN(TestMarkedBlock)
#include "tst_markedblock.moc"
