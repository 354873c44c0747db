#include "markedblock.h"
#include "unifieddiff.h"

#include <QRandomGenerator>
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

// Applies unified hunks to `from`, checking that every kept and removed line is where the hunk says.
std::vector<QByteArray> patched(std::vector<QByteArray> from, const QByteArray& hunks, int first)
{
    long at = 0, shift = 0;
    for (const QByteArray& row : hunks.split('\n')) {
        if (row.startsWith("@@ -")) {
            const QByteArray range = row.mid(4, row.indexOf(' ', 4) - 4);
            at = range.split(',')[0].toInt() - first + shift + (range.endsWith(",0") ? 1 : 0);
        } else if (row.startsWith('+')) {
            from.insert(from.begin() + at++, row.mid(1));
            ++shift;
        } else if (!row.isEmpty()) {
            if (at >= long(from.size()) || from[size_t(at)] != row.mid(1))
                return {"mismatch at " + row};
            row[0] == '-' ? (from.erase(from.begin() + at), --shift) : ++at;
        }
    }
    return from;
}

} // namespace

class TestMarkedBlock : public QObject
{
    Q_OBJECT

private slots:
    // Each block as "line-endLine [arguments] drawing rows / joined", with its line end and any syntax error.
    void parse_findsBlocksBetweenMarkers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("blocks");
        QTest::newRow("C comment")
            << "int a;\n// VANDORA go.fcb --crop --start '// '\n// |--|\n// |Go|\n// VANDORA end\n"
            << "2-5 [go.fcb|--crop|--start|// ] // |--|/// |Go|";
        QTest::newRow("quotes, comment close") << "/* VANDORA \"my charts/a.fcb\" --end \" \\\"*/\" */\nVANDORA end"
                                               << "1-2 [my charts/a.fcb|--end| \"*/] ";
        QTest::newRow("CRLF, no final newline") << "# VANDORA a.fcb\r\nx \r\n\r\n# VANDORA end"
                                                << "1-4 [a.fcb] x /, CRLF";
        QTest::newRow("two blocks, stray end")
            << "VANDORA end\nVANDORA a.fcb\nVANDORA end\n<!-- VANDORA b.fcb -->\nrow\n\n'VANDORA end' -->\n"
            << "2-3 [a.fcb] ; 4-7 [b.fcb] row/";
        QTest::newRow("no markers") << "myvandora: a.fcb\nvandora:a.fcb\nsee `vandora:`\nvandora: \t\n"
                                    << "";
        QTest::newRow("unclosed") << "VANDORA end.fcb\nx\nVANDORA b.fcb"
                                  << "1-0 [end.fcb] x/VANDORA b.fcb";
        QTest::newRow("open quote") << "VANDORA 'a.fcb\nVANDORA end\n"
                                    << "1-2 [] , Quote ' is not closed.";
    }

    void parse_findsBlocksBetweenMarkers()
    {
        QFETCH(QString, text);
        QStringList found;
        for (const MarkedBlock::Block& b : MarkedBlock::parse(marked(text.toUtf8()))) {
            QByteArrayList drawing(b.drawing.begin(), b.drawing.end());
            found << QString("%1-%2 [%3] %4")
                         .arg(b.line)
                         .arg(b.endLine)
                         .arg(b.arguments.join('|'), QString(drawing.join('/')))
                    + (b.lineEnd == "\r\n" ? ", CRLF" : "") + (b.syntaxError.isEmpty() ? "" : ", " + b.syntaxError);
        }
        QTEST(found.join("; ").replace("vandora:", "VANDORA"), "blocks");
    }

    void blockAt_findsBlockHoldingLine()
    {
        const auto blocks = MarkedBlock::parse(
            marked("x\nVANDORA a.fcb\nVANDORA end\n<!-- VANDORA b.fcb -->\nrow\n\nVANDORA end -->\ny\n"));
        QList<int> found;
        for (int line = 0; line <= 9; ++line)
            found << MarkedBlock::blockAt(blocks, line);
        QCOMPARE(found, (QList<int>{-1, -1, 0, 0, 1, 1, 1, 1, -1, -1}));
        QCOMPARE(MarkedBlock::blockAt(MarkedBlock::parse(marked("VANDORA a.fcb\nx\n")), 2), 0);
    }

    void hunks_giveUnifiedDiff_data()
    {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<int>("context");
        QTest::addColumn<QByteArray>("hunks");
        QTest::newRow("equal") << QByteArray("a b") << QByteArray("a b") << 3 << QByteArray();
        QTest::newRow("one changed") << QByteArray("1 2 3 4 5 6 7 8 9") << QByteArray("1 2 3 4 X 6 7 8 9") << 3
                                     << QByteArray("@@ -11,7 +11,7 @@\n 2\n 3\n 4\n-5\n+X\n 6\n 7\n 8\n");
        QTest::newRow("two hunks") << QByteArray("1 2 3 4 5") << QByteArray("X 2 3 4 Y") << 1
                                   << QByteArray("@@ -10,2 +10,2 @@\n-1\n+X\n 2\n@@ -13,2 +13,2 @@\n 4\n-5\n+Y\n");
        QTest::newRow("merged at twice the context") << QByteArray("1 2 3 4") << QByteArray("X 2 3 Y") << 1
                                                     << QByteArray("@@ -10,4 +10,4 @@\n-1\n+X\n 2\n 3\n-4\n+Y\n");
        QTest::newRow("into nothing") << QByteArray() << QByteArray("a b") << 3
                                      << QByteArray("@@ -9,0 +10,2 @@\n+a\n+b\n");
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

    void hunks_applied_giveTarget()
    {
        const quint32 seed = QRandomGenerator::global()->generate();
        qInfo("seed %u", seed);
        QRandomGenerator random(seed);
        for (int round = 0; round < 300; ++round) {
            std::vector<QByteArray> from(size_t(random.bounded(12))), to(size_t(random.bounded(12)));
            for (auto* side : {&from, &to})
                for (QByteArray& line : *side)
                    line = QByteArray(1, char('a' + random.bounded(3)));
            const QByteArray hunks = UnifiedDiff::hunks(from, to, 7, 7, random.bounded(3));
            QVERIFY2(patched(from, hunks, 7) == to, hunks.constData());
        }
    }
};

QTEST_GUILESS_MAIN(TestMarkedBlock)
#include "tst_markedblock.moc"
