#include "chartstream.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>
#include <cstring>
#include <limits>

using ChartStream::BoxRecord;
using ChartStream::Chart;
using ChartStream::ConnectorRecord;

namespace {

QByteArray hex(const char* digits)
{
    return QByteArray::fromHex(digits);
}

// Fields 1 to 7 of a default window section: zero points, no drawing, spare -1.
const QByteArray fixedPart = hex("00000000 00000000 00000000 00000000 00000000 00000000 00 ffffffff"
                                 "00000000 00000000 00000000 00000000 00000000 00000000");
// No creation records and two empty tags.
const QByteArray plainWindow = fixedPart + hex("00000000 00000000 00000000");
const QByteArray emptyChart = plainWindow + hex("00000000 00000000");

// Box at (10, 20), number 3, border 2, centre (30, 40), rect 100,50 20x10, proportion (0.5, 0.25).
const QByteArray boxWithoutText = hex("0000000a 00000014 00000003 00000002 0000001e 00000028"
                                      "00000064 00000032 00000077 0000003b"
                                      "3fe0000000000000 3fd0000000000000 00000014 00000014 0000000a 0000000a");

BoxRecord box(const QString& text)
{
    return BoxRecord{{10, 20}, 3, 2, {30, 40}, QRect(100, 50, 20, 10), {0.5, 0.25}, {20, 20}, {10, 10}, text};
}

// Straight, three points, three fractions: 0.1f is stored as the double it widens to.
const QByteArray threePointConnector = hex("00000001 00000000 00000003"
                                           "00000001 00000002 00000003 00000004 ffffffff fffffffe 00000003"
                                           "3fe0000000000000 3fd0000000000000 3fb99999a0000000 3fe8000000000000"
                                           "3ff0000000000000 8000000000000000");

ConnectorRecord threePoints()
{
    return ConnectorRecord{true, false, {{1, 2}, {3, 4}, {-1, -2}}, {{0.5f, 0.25f}, {0.1f, 0.75f}, {1.0f, -0.0f}}};
}

Chart chartOf(std::vector<BoxRecord> boxes, std::vector<ConnectorRecord> connectors = {})
{
    Chart chart;
    chart.boxes = std::move(boxes);
    chart.connectors = std::move(connectors);
    return chart;
}

// Any values: NaNs, infinities and lone surrogates included; now and then longer than a codec block.
Chart randomChart(QRandomGenerator& rng)
{
    const auto value = [&rng] { return qint32(rng.generate()); };
    const auto point = [&] { return QPoint(value(), value()); };
    const auto real = [&rng] { quint64 bits = rng.generate64(); double d; std::memcpy(&d, &bits, 8); return d; };
    const float special[] = {float(qQNaN()), float(qInf()), -0.0f, 1e-40f, std::numeric_limits<float>::max()};
    const auto fraction = [&] { return rng.bounded(8) ? float(rng.generateDouble()) : special[rng.bounded(5)]; };
    const auto many = [&rng] { return rng.bounded(6) ? rng.bounded(12) : rng.bounded(3000); };
    const auto text = [&] {
        QString t(int(many()), Qt::Uninitialized);
        for (QChar& unit : t)
            unit = QChar(ushort(rng.bounded(0x10000)));
        return t;
    };
    Chart chart;
    chart.window = {point(), point(), point(), rng.bounded(2) == 1, value(), point(), point(), point(), {},
                    text(), text()};
    for (quint32 n = rng.bounded(5); n > 0; --n)
        chart.boxes.push_back({point(), value(), value(), point(), QRect(point(), point()), QPointF(real(), real()),
                               point(), point(), text()});
    for (quint32 n = rng.bounded(5); n > 0; --n) {
        chart.connectors.push_back({rng.bounded(2) == 1, rng.bounded(2) == 1, {}, {}});
        for (quint32 p = many(); p > 0; --p)
            chart.connectors.back().points.push_back(point());
        for (quint32 f = many(); f > 0; --f)
            chart.connectors.back().fractions.push_back({fraction(), fraction()});
    }
    for (quint32 n = rng.bounded(4); n > 0 && !chart.boxes.empty(); --n)
        chart.window.creationRecords.push_back({0, qint32(rng.bounded(quint32(chart.boxes.size())))});
    for (quint32 n = rng.bounded(4); n > 0 && !chart.connectors.empty(); --n)
        chart.window.creationRecords.push_back({1, qint32(rng.bounded(quint32(chart.connectors.size())))});
    return chart;
}

// Serves its bytes a few at a time, either without telling its size or failing every read.
class TestDevice : public QIODevice
{
public:
    TestDevice(const QByteArray& bytes, bool failing, OpenMode mode) : m_bytes(bytes), m_failing(failing)
    {
        if (mode != NotOpen)
            open(mode);
    }
    bool isSequential() const override { return !m_failing; }
    qint64 size() const override { return m_failing ? m_bytes.size() : 0; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 n = std::min({maxSize, qint64(7), m_bytes.size() - m_at});
        std::memcpy(data, m_bytes.constData() + m_at, size_t(n));
        m_at += n;
        return m_failing ? -1 : n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    bool m_failing;
    qint64 m_at = 0;
};

} // namespace

Q_DECLARE_METATYPE(Chart)

class TestChartStream : public QObject
{
    Q_OBJECT

private slots:
    void handWrittenBytes_writtenAndReadBack_data();
    void handWrittenBytes_writtenAndReadBack();
    void write_littleEndianStream_followsStreamOrder();
    void randomCharts_roundTrip();
    void read_corruptStream_isRejectedAndChartUntouched_data();
    void read_corruptStream_isRejectedAndChartUntouched();
    void read_fromDevice_takesWholeStreamOrSaysWhy_data();
    void read_fromDevice_takesWholeStreamOrSaysWhy();
};

void TestChartStream::handWrittenBytes_writtenAndReadBack_data()
{
    QTest::addColumn<Chart>("chart");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty chart is 73 bytes") << Chart() << emptyChart;

    Chart window;
    window.window = {{1, 2}, {3, 4}, {5, 6}, true, 7, {-8, 9}, {10, 11}, {12, 65536}, {{0, 0}, {1, 0}},
                     QStringLiteral("//"), QStringLiteral("\u00e9")};
    window.boxes = {box(QString())};
    window.connectors = {ConnectorRecord()};
    QTest::newRow("window fields in order")
        << window
        << hex("00000001 00000002 00000003 00000004 00000005 00000006 01 00000007"
               "fffffff8 00000009 0000000a 0000000b 0000000c 00010000"
               "00000002 00000000 00000000 00000001 00000000 00000002 002f002f 00000001 00e9 00000001")
               + boxWithoutText + hex("00000000 00000001 00000000 00000000 00000000 00000000");
    QTest::newRow("box abc: 82-byte record ending in its text") << chartOf({box(QStringLiteral("abc"))})
                                       << plainWindow + hex("00000001") + boxWithoutText
                                              + hex("00000003 0061 0062 0063 00000000");
    QTest::newRow("line break as 000a") << chartOf({box(QStringLiteral("a\nb"))})
                                        << plainWindow + hex("00000001") + boxWithoutText
                                               + hex("00000003 0061 000a 0062 00000000");
    QTest::newRow("connector with three points") << chartOf({}, {threePoints()})
                                                 << plainWindow + hex("00000000 00000001") + threePointConnector;
}

void TestChartStream::handWrittenBytes_writtenAndReadBack()
{
    QFETCH(Chart, chart);
    QFETCH(QByteArray, bytes);

    QCOMPARE(ChartStream::toBytes(chart).toHex(' '), bytes.toHex(' '));
    Chart read;
    QString error;
    QVERIFY2(ChartStream::fromBytes(bytes, read, &error), qPrintable(error));
    QCOMPARE(read, chart);
}

void TestChartStream::write_littleEndianStream_followsStreamOrder()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QDataStream out(&buffer);
    out.setByteOrder(QDataStream::LittleEndian);
    ChartStream::writeConnector(out, ConnectorRecord{false, true, {{1, -2}}, {{0.5f, 0.25f}}});

    QCOMPARE(bytes.toHex(' '), hex("00000000 01000000 01000000 01000000 feffffff 01000000"
                                   "000000000000e03f 000000000000d03f").toHex(' '));
}

void TestChartStream::randomCharts_roundTrip()
{
    QRandomGenerator rng(20240611);
    for (int i = 0; i < 60; ++i) {
        const Chart chart = randomChart(rng);
        const QByteArray bytes = ChartStream::toBytes(chart);
        Chart read;
        QString error;
        QVERIFY2(ChartStream::fromBytes(bytes, read, &error), qPrintable(error));
        QCOMPARE(read, chart);
    }
}

void TestChartStream::read_corruptStream_isRejectedAndChartUntouched_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");

    const QString early = QStringLiteral("ends early");
    const QString range = QStringLiteral("count out of range");
    const QString kind = QStringLiteral("unknown element kind");
    const QString missing = QStringLiteral("creation record names a missing element");
    const QByteArray oneConnector = plainWindow + hex("00000000 00000001");

    QTest::newRow("nothing") << QByteArray() << early;
    QTest::newRow("cut in the fixed part") << emptyChart.left(40) << early;
    QTest::newRow("cut before the connector count") << emptyChart.chopped(4) << early;
    QTest::newRow("cut before the fraction count")
        << oneConnector + hex("00000000 00000000 00000001 00000005 00000006") << early;
    QTest::newRow("negative record count") << fixedPart + hex("ffffffff") + emptyChart.right(16) << range;
    QTest::newRow("records beyond the data") << fixedPart + hex("00000003 00000000 00000000") + emptyChart.right(8)
                                             << range;
    QTest::newRow("huge tag") << fixedPart + hex("00000000 7fffffff") << range;
    QTest::newRow("negative box count") << plainWindow + hex("80000000 00000000") << range;
    QTest::newRow("box beyond the data") << plainWindow + hex("00000001") + boxWithoutText.chopped(1) + hex("00000000")
                                         << range;
    QTest::newRow("huge connector count") << plainWindow + hex("00000000 7fffffff") + threePointConnector << range;
    QTest::newRow("points beyond the data")
        << oneConnector + hex("00000000 00000000 00000002 00000001 00000002 00000000") << range;
    QTest::newRow("negative fraction count") << oneConnector + hex("00000000 00000000 00000000 ffffffff") << range;
    QTest::newRow("box text beyond the data")
        << plainWindow + hex("00000001") + boxWithoutText + hex("00000010 0061 00000000") << range;
    QTest::newRow("kind 2") << fixedPart + hex("00000001 00000002 00000000") + emptyChart.right(16) << kind;
    QTest::newRow("missing box") << fixedPart + hex("00000001 00000000 00000000") + emptyChart.right(16) << missing;
    QTest::newRow("negative box index") << fixedPart + hex("00000001 00000000 ffffffff 00000000 00000000 00000001")
                                               + boxWithoutText + hex("00000000 00000000")
                                        << missing;
    QTest::newRow("connector index past the end")
        << fixedPart + hex("00000001 00000001 00000001 00000000 00000000 00000000 00000001") + threePointConnector
        << missing;
    QTest::newRow("a byte after the chart") << emptyChart + hex("00")
                                            << QStringLiteral("unexpected data after the chart");
}

void TestChartStream::read_corruptStream_isRejectedAndChartUntouched()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);

    const Chart before = chartOf({box(QStringLiteral("kept"))}, {threePoints()});
    Chart chart = before;
    QString reason;
    QVERIFY(!ChartStream::fromBytes(bytes, chart, &reason));
    QCOMPARE(reason, error);
    QCOMPARE(chart, before);
}

void TestChartStream::read_fromDevice_takesWholeStreamOrSaysWhy_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("failing");
    QTest::addColumn<int>("mode");
    QTest::addColumn<Chart>("expected");
    QTest::addColumn<QString>("error");

    const int read = QIODevice::ReadOnly;
    const QByteArray connectorChart = plainWindow + hex("00000000 00000001") + threePointConnector;
    QTest::newRow("sequential") << connectorChart << false << read << chartOf({}, {threePoints()}) << QString();
    QTest::newRow("text mode keeps carriage returns")
        << plainWindow + hex("00000001") + boxWithoutText + hex("00000002 000d 000a 00000000") << false
        << (read | QIODevice::Text) << chartOf({box(QStringLiteral("\r\n"))}) << QString();
    QTest::newRow("sequential with a trailing byte") << emptyChart + hex("01") << false << read << Chart()
                                                     << QStringLiteral("unexpected data after the chart");
    QTest::newRow("sequential cut short") << emptyChart.chopped(1) << false << read << Chart()
                                          << QStringLiteral("ends early");
    QTest::newRow("failing reads") << connectorChart << true << read << Chart() << QStringLiteral("read failed");
    QTest::newRow("not open") << connectorChart << false << int(QIODevice::NotOpen) << Chart()
                              << QStringLiteral("not open for reading");
}

void TestChartStream::read_fromDevice_takesWholeStreamOrSaysWhy()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, failing);
    QFETCH(int, mode);
    QFETCH(Chart, expected);
    QFETCH(QString, error);

    TestDevice device(bytes, failing, QIODevice::OpenMode(mode));
    Chart chart;
    QString reason;
    QCOMPARE(ChartStream::read(&device, chart, &reason), error.isEmpty());
    QCOMPARE(reason, error);
    QCOMPARE(chart, expected);
    QCOMPARE(device.isTextModeEnabled(), (mode & QIODevice::Text) != 0);
}

QTEST_APPLESS_MAIN(TestChartStream)
#include "tst_chartstream.moc"
