#include "chartstream.h"

#include <QtTest>

#include <cstring>

using namespace ChartStream;

namespace {

const auto fromHex = &QByteArray::fromHex;

// Fields 1 to 7 of a default window section: zero points, no drawing, spare -1.
const QByteArray fixedPart = fromHex("00000000 00000000 00000000 00000000 00000000 00000000 00 ffffffff"
                                     "00000000 00000000 00000000 00000000 00000000 00000000");
// No creation records and two empty tags.
const QByteArray plainWindow = fixedPart + fromHex("00000000 00000000 00000000");
const QByteArray emptyChart = plainWindow + fromHex("00000000 00000000");

// Box at (10, 20), number 3, border 2, centre (30, 40), rect 100,50 20x10, proportion (0.5, 0.25).
const QByteArray boxWithoutText = fromHex("0000000a 00000014 00000003 00000002 0000001e 00000028"
                                          "00000064 00000032 00000077 0000003b"
                                          "3fe0000000000000 3fd0000000000000 00000014 00000014 0000000a 0000000a");
const auto box = [](const QString& text) { return BoxRecord{{10, 20}, 3, 2, {30, 40}, QRect(100, 50, 20, 10), {0.5, 0.25}, {20, 20}, {10, 10}, text}; };

// Straight, three points, three fractions: 0.1f is stored as the double it widens to.
const QByteArray threePointConnector = fromHex("00000001 00000000 00000003"
                                               "00000001 00000002 00000003 00000004 ffffffff fffffffe 00000003"
                                               "3fe0000000000000 3fd0000000000000 3fb99999a0000000 3fe8000000000000"
                                               "3ff0000000000000 8000000000000000");
const ConnectorRecord threePoints{true, false, {{1, 2}, {3, 4}, {-1, -2}}, {{0.5f, 0.25f}, {0.1f, 0.75f}, {1.0f, -0.0f}}};

// Serves its bytes; a "sequential" kind hides the size, a "failing" one fails every read.
struct TestDevice : QIODevice {
    TestDevice(const QByteArray& bytes, const QString& kind)
        : bytes(bytes)
        , kind(kind)
    { }
    bool isSequential() const override { return kind == "sequential"; }
    qint64 size() const override { return isSequential() ? 0 : bytes.size(); }
    qint64 readData(char* data, qint64 maxSize) override
    {
        const QByteArray served = bytes.mid(int(at), int(maxSize));
        std::memcpy(data, served.constData(), size_t(served.size()));
        at += served.size();
        return kind == "failing" ? -1 : served.size();
    }
    qint64 writeData(const char*, qint64) override { return -1; }
    const QByteArray bytes;
    const QString kind;
    qint64 at = 0;
};

} // namespace

Q_DECLARE_METATYPE(Chart)

class TestChartStream : public QObject
{
    Q_OBJECT

private slots:
    // Read rows give the chart and are written back byte for byte; rejected rows keep the chart and say why.
    void read_takesWholeStreamOrKeepsChartAndSaysWhy_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("device");
        QTest::addColumn<Chart>("chart");
        QTest::addColumn<QString>("error");
        QTest::newRow("empty chart is 73 bytes") << emptyChart << "text" << Chart() << QString();
        const Chart full{{{1, 2}, {3, 4}, {5, 6}, true, 7, {-8, 9}, {10, 11}, {12, 65536}, {{0, 0}, {1, 0}}, QStringLiteral("//"), QStringLiteral("\u00e9")},
            {box(QStringLiteral("abc"))}, {threePoints}};
        QTest::newRow("window fields in order, 82-byte box abc ending in its text, 88-byte connector")
            << fromHex("00000001 00000002 00000003 00000004 00000005 00000006 01 00000007"
                       "fffffff8 00000009 0000000a 0000000b 0000000c 00010000"
                       "00000002 00000000 00000000 00000001 00000000 00000002 002f002f 00000001 00e9 00000001")
                + boxWithoutText + fromHex("00000003 0061 0062 0063 00000001") + threePointConnector
            << "text" << full << QString();
        const QByteArray connectorChart = plainWindow + fromHex("00000001") + boxWithoutText + fromHex("00000002 000d 000a 00000001") + threePointConnector;
        QTest::newRow("sequential; line break as 000a, carriage return kept")
            << connectorChart << "sequential" << Chart{{}, {box(QStringLiteral("\r\n"))}, {threePoints}} << QString();
        const auto reject = [](const char* row, const QByteArray& bytes, const QString& why, const char* on = "text") {
            QTest::newRow(row) << bytes << on << Chart() << why;
        };
        reject("cut in the last count", emptyChart.chopped(1), "ends early");
        reject("negative box count", plainWindow + fromHex("80000000 00000000"), "count out of range");
        reject("box a byte short", plainWindow + fromHex("00000001") + boxWithoutText.chopped(1) + fromHex("00000000"), "count out of range");
        const QByteArray tail = emptyChart.right(16);
        reject("kind 2", fixedPart + fromHex("00000001 00000002 00000000") + tail, "unknown element kind");
        reject("no connector 0", fixedPart + fromHex("00000001 00000001 00000000") + tail, "creation record names a missing element");
        reject("a byte after the chart", emptyChart + fromHex("00"), "unexpected data after the chart");
        reject("failing reads", connectorChart, "read failed", "failing");
        reject("not open", connectorChart, "not open for reading", "closed");
    }

    void read_takesWholeStreamOrKeepsChartAndSaysWhy()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, device);
        QFETCH(Chart, chart);
        QFETCH(QString, error);
        TestDevice from(bytes, device);
        if (device != "closed")
            from.open(QIODevice::ReadOnly | QIODevice::Text);
        const Chart before{{}, {box(QStringLiteral("kept"))}, {threePoints}};
        Chart read = before;
        QString reason;
        QCOMPARE(ChartStream::read(&from, read, &reason), error.isEmpty());
        QCOMPARE(reason, error);
        QCOMPARE(read, error.isEmpty() ? chart : before);
        if (error.isEmpty())
            QCOMPARE(ChartStream::toBytes(chart).toHex(' '), bytes.toHex(' '));
        QCOMPARE(from.isTextModeEnabled(), device != "closed");
    }

    // A stream's content is its bytes with the pointer's fields reset.
    void contentOf_resetsPointerFields()
    {
        Chart chart{{{1, 2}, {3, 4}, {5, 6}, true, 7, {-8, 9}, {10, 11}, {12, 13}, {}, "a", "b"}, {box("x")}, {}};
        const QByteArray content = ChartStream::contentOf(ChartStream::toBytes(chart));
        resetPointerFields(chart.window);
        QCOMPARE(content.toHex(' '), ChartStream::toBytes(chart).toHex(' '));
    }
};

QTEST_APPLESS_MAIN(TestChartStream)
#include "tst_chartstream.moc"
