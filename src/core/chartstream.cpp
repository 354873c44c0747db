#include "chartstream.h"

#include <QBuffer>
#include <QDataStream>
#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <limits>

static_assert(std::numeric_limits<float>::is_iec559 && std::numeric_limits<double>::is_iec559, "the stream stores IEEE 754 values");

namespace ChartStream {

namespace {

// Least bytes each element can take in a stream.
constexpr qint64 codeUnitBytes = 2;
constexpr qint64 creationRecordBytes = 8;
constexpr qint64 pointBytes = 8;
constexpr qint64 fractionBytes = 16;
constexpr qint64 boxRecordBytes = 76;
constexpr qint64 connectorRecordBytes = 16;

// Arrays move through the stream in blocks of this many bytes.
constexpr int blockBytes = 4096;

template <typename Real> bool sameBits(Real a, Real b)
{
    // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison): bit equality is meant, so -0 and NaN payloads count
    return std::memcmp(&a, &b, sizeof(Real)) == 0;
}

bool samePointF(const QPointF& a, const QPointF& b)
{
    return sameBits(a.x(), b.x()) && sameBits(a.y(), b.y());
}

bool sameFractions(const std::vector<QPair<float, float>>& a, const std::vector<QPair<float, float>>& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](const QPair<float, float>& p, const QPair<float, float>& q) {
        return sameBits(p.first, q.first) && sameBits(p.second, q.second);
    });
}

double toDouble(quint64 bits)
{
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

quint64 bitsOf(double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Encodes the elements into raw blocks, as the stream's operators would write them with its defaults.
template <typename Encode> void writeArray(QDataStream& out, size_t count, int elementBytes, Encode encode)
{
    char block[blockBytes];
    const size_t perBlock = size_t(blockBytes / elementBytes);
    for (size_t first = 0; first < count; first += perBlock) {
        const size_t past = std::min(count, first + perBlock);
        char* at = block;
        for (size_t i = first; i < past; ++i, at += elementBytes)
            encode(i, at);
        out.writeRawData(block, int(at - block));
    }
}

void writePoint(QDataStream& out, const QPoint& p)
{
    out << qint32(p.x()) << qint32(p.y());
}

void writeText(QDataStream& out, const QString& text)
{
    const QChar* units = text.constData();
    out << qint32(text.size());
    writeArray(out, size_t(text.size()), 2, [units](size_t i, char* at) { qToBigEndian<quint16>(units[i].unicode(), at); });
}

class Parser
{
public:
    explicit Parser(QIODevice* device)
        : m_device(device)
        , m_in(device)
    { }

    bool chart(Chart& chart) { return windowState(chart.window) && objects(chart) && atEnd() && creationRecordsValid(chart); }

    QString error() const { return m_error; }

private:
    bool fail(const char* reason)
    {
        m_error = QString::fromLatin1(reason);
        return false;
    }

    // A failed read short of the device's end is the device's fault, not the stream's.
    bool intact() { return m_in.status() == QDataStream::Ok || fail(m_device->atEnd() ? "ends early" : "read failed"); }

    // A count that the remaining bytes can hold at `elementBytes` each.
    bool count(qint32& n, qint64 elementBytes)
    {
        m_in >> n;
        if (!intact())
            return false;
        const qint64 remaining = m_device->size() - m_device->pos();
        return (n >= 0 && qint64(n) * elementBytes <= remaining) || fail("count out of range");
    }

    // Reads `count` elements of `elementBytes` each in raw blocks, handing each to `decode`.
    template <typename Decode> bool array(qint32 count, int elementBytes, Decode decode)
    {
        char block[blockBytes];
        const int perBlock = blockBytes / elementBytes;
        for (qint32 first = 0; first < count; first += perBlock) {
            const int n = std::min(perBlock, count - first);
            if (m_in.readRawData(block, n * elementBytes) != n * elementBytes) {
                m_in.setStatus(QDataStream::ReadPastEnd);
                return intact();
            }
            for (int i = 0; i < n; ++i)
                decode(first + i, block + std::ptrdiff_t(i) * elementBytes);
        }
        return true;
    }

    QPoint point()
    {
        qint32 x = 0;
        qint32 y = 0;
        m_in >> x >> y;
        return QPoint(x, y);
    }

    bool text(QString& text)
    {
        qint32 n = 0;
        if (!count(n, codeUnitBytes))
            return false;
        QString read(n, Qt::Uninitialized);
        QChar* units = read.data();
        if (!array(n, 2, [units](qint32 i, const char* at) { units[i] = QChar(qFromBigEndian<quint16>(at)); }))
            return false;
        text = std::move(read);
        return true;
    }

    bool windowState(WindowState& w)
    {
        w.lastMousePosition = point();
        w.sizeToExtendBox = point();
        w.sizeOfInitialTextBox = point();
        m_in >> w.drawingLine >> w.drawingLineSpare;
        w.lastGlobalPos = point();
        w.lastLocalPos = point();
        w.dragPosition = point();
        qint32 n = 0;
        if (!intact() || !count(n, creationRecordBytes))
            return false;
        w.creationRecords.resize(size_t(n));
        for (CreationRecord& record : w.creationRecords) {
            m_in >> record.kind >> record.index;
            if (!intact())
                return false;
            if (record.kind > 1)
                return fail("unknown element kind");
        }
        return text(w.startTag) && text(w.endTag);
    }

    bool box(BoxRecord& b)
    {
        b.openBoxPoint = point();
        m_in >> b.whoAmI >> b.borderSet;
        b.centre = point();
        qint32 left = 0, top = 0, right = 0, bottom = 0;
        m_in >> left >> top >> right >> bottom;
        b.currentWantedRect.setCoords(left, top, right, bottom);
        double x = 0;
        double y = 0;
        m_in >> x >> y;
        b.proportion = QPointF(x, y);
        b.sizeOfInitialTextBox = point();
        b.sizeToExtendBox = point();
        return intact() && text(b.text);
    }

    bool connector(ConnectorRecord& c)
    {
        qint32 straight = 0;
        qint32 horizontal = 0;
        m_in >> straight >> horizontal;
        c.isStraight = straight != 0;
        c.isStraightDrawingHorizontal = horizontal != 0;
        qint32 n = 0;
        if (!intact() || !count(n, pointBytes))
            return false;
        c.points.resize(size_t(n));
        QPoint* points = c.points.data();
        if (!array(n, int(pointBytes), [points](qint32 i, const char* at) { points[i] = QPoint(qFromBigEndian<qint32>(at), qFromBigEndian<qint32>(at + 4)); }))
            return false;
        if (!count(n, fractionBytes))
            return false;
        c.fractions.resize(size_t(n));
        QPair<float, float>* fractions = c.fractions.data();
        return array(n, int(fractionBytes), [fractions](qint32 i, const char* at) {
            // Narrowed as IEEE 754 does: values beyond float's range become infinite.
            fractions[i] = qMakePair(float(toDouble(qFromBigEndian<quint64>(at))), float(toDouble(qFromBigEndian<quint64>(at + 8))));
        });
    }

    bool objects(Chart& chart)
    {
        qint32 n = 0;
        if (!count(n, boxRecordBytes))
            return false;
        chart.boxes.resize(size_t(n));
        for (BoxRecord& b : chart.boxes) {
            if (!box(b))
                return false;
        }
        if (!count(n, connectorRecordBytes))
            return false;
        chart.connectors.resize(size_t(n));
        for (ConnectorRecord& c : chart.connectors) {
            if (!connector(c))
                return false;
        }
        return true;
    }

    bool atEnd() { return m_device->atEnd() || fail("unexpected data after the chart"); }

    bool creationRecordsValid(const Chart& chart)
    {
        for (const CreationRecord& record : chart.window.creationRecords) {
            const size_t objects = record.kind == 0 ? chart.boxes.size() : chart.connectors.size();
            if (record.index < 0 || size_t(record.index) >= objects)
                return fail("creation record names a missing element");
        }
        return true;
    }

    QIODevice* m_device;
    QDataStream m_in;
    QString m_error;
};

bool parse(QIODevice* device, Chart& chart, QString* error)
{
    Parser parser(device);
    Chart parsed;
    if (!parser.chart(parsed)) {
        if (error)
            *error = parser.error();
        return false;
    }
    chart = std::move(parsed);
    return true;
}

} // namespace

bool operator==(const CreationRecord& a, const CreationRecord& b)
{
    return a.kind == b.kind && a.index == b.index;
}

bool operator==(const WindowState& a, const WindowState& b)
{
    return a.lastMousePosition == b.lastMousePosition && a.sizeToExtendBox == b.sizeToExtendBox && a.sizeOfInitialTextBox == b.sizeOfInitialTextBox
        && a.drawingLine == b.drawingLine && a.drawingLineSpare == b.drawingLineSpare && a.lastGlobalPos == b.lastGlobalPos && a.lastLocalPos == b.lastLocalPos
        && a.dragPosition == b.dragPosition && a.creationRecords == b.creationRecords && a.startTag == b.startTag && a.endTag == b.endTag;
}

bool operator==(const BoxRecord& a, const BoxRecord& b)
{
    return a.openBoxPoint == b.openBoxPoint && a.whoAmI == b.whoAmI && a.borderSet == b.borderSet && a.centre == b.centre
        && a.currentWantedRect == b.currentWantedRect && samePointF(a.proportion, b.proportion) && a.sizeOfInitialTextBox == b.sizeOfInitialTextBox
        && a.sizeToExtendBox == b.sizeToExtendBox && a.text == b.text;
}

bool operator==(const ConnectorRecord& a, const ConnectorRecord& b)
{
    return a.isStraight == b.isStraight && a.isStraightDrawingHorizontal == b.isStraightDrawingHorizontal && a.points == b.points
        && sameFractions(a.fractions, b.fractions);
}

bool operator==(const Chart& a, const Chart& b)
{
    return a.window == b.window && a.boxes == b.boxes && a.connectors == b.connectors;
}

namespace {

void writeWindowState(QDataStream& out, const WindowState& w)
{
    writePoint(out, w.lastMousePosition);
    writePoint(out, w.sizeToExtendBox);
    writePoint(out, w.sizeOfInitialTextBox);
    out << w.drawingLine << w.drawingLineSpare;
    writePoint(out, w.lastGlobalPos);
    writePoint(out, w.lastLocalPos);
    writePoint(out, w.dragPosition);
    out << qint32(w.creationRecords.size());
    for (const CreationRecord& record : w.creationRecords)
        out << record.kind << record.index;
    writeText(out, w.startTag);
    writeText(out, w.endTag);
}

void writeBox(QDataStream& out, const BoxRecord& b)
{
    writePoint(out, b.openBoxPoint);
    out << b.whoAmI << b.borderSet;
    writePoint(out, b.centre);
    const QRect& r = b.currentWantedRect;
    out << qint32(r.left()) << qint32(r.top()) << qint32(r.right()) << qint32(r.bottom());
    out << double(b.proportion.x()) << double(b.proportion.y());
    writePoint(out, b.sizeOfInitialTextBox);
    writePoint(out, b.sizeToExtendBox);
    writeText(out, b.text);
}

void writeConnector(QDataStream& out, const ConnectorRecord& c)
{
    out << qint32(c.isStraight ? 1 : 0) << qint32(c.isStraightDrawingHorizontal ? 1 : 0);
    const QPoint* points = c.points.data();
    out << qint32(c.points.size());
    writeArray(out, c.points.size(), int(pointBytes), [points](size_t i, char* at) {
        qToBigEndian<qint32>(points[i].x(), at);
        qToBigEndian<qint32>(points[i].y(), at + 4);
    });
    const QPair<float, float>* fractions = c.fractions.data();
    out << qint32(c.fractions.size());
    writeArray(out, c.fractions.size(), int(fractionBytes), [fractions](size_t i, char* at) {
        qToBigEndian<quint64>(bitsOf(double(fractions[i].first)), at);
        qToBigEndian<quint64>(bitsOf(double(fractions[i].second)), at + 8);
    });
}

void writeObjects(QDataStream& out, const std::vector<BoxRecord>& boxes, const std::vector<ConnectorRecord>& connectors)
{
    out << qint32(boxes.size());
    for (const BoxRecord& b : boxes)
        writeBox(out, b);
    out << qint32(connectors.size());
    for (const ConnectorRecord& c : connectors)
        writeConnector(out, c);
}

} // namespace

QByteArray toBytes(const Chart& chart)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QDataStream out(&buffer);
    writeWindowState(out, chart.window);
    writeObjects(out, chart.boxes, chart.connectors);
    return bytes;
}

void resetPointerFields(WindowState& w)
{
    w.lastMousePosition = w.lastGlobalPos = w.lastLocalPos = w.dragPosition = QPoint();
    w.drawingLine = false;
    w.drawingLineSpare = -1;
}

QByteArray contentOf(const QByteArray& stream)
{
    // Fields 1 to 7: five points, a bool and a qint32.
    constexpr int fixedPart = 5 * 8 + 1 + 4 + 8;
    if (stream.size() < fixedPart)
        return stream;
    QDataStream in(stream);
    QPoint pointer, growth, newBox;
    in >> pointer >> growth >> newBox;
    QByteArray content = stream;
    QBuffer buffer(&content);
    buffer.open(QIODevice::ReadWrite);
    QDataStream out(&buffer);
    out << QPoint() << growth << newBox << false << qint32(-1) << QPoint() << QPoint() << QPoint();
    return content;
}

bool read(QIODevice* device, Chart& chart, QString* error)
{
    if (!device || !device->isReadable()) {
        if (error)
            *error = QStringLiteral("not open for reading");
        return false;
    }
    const bool textMode = device->isTextModeEnabled();
    device->setTextModeEnabled(false);
    bool parsed = false;
    // Without a known size the remaining bytes are counted in memory.
    if (device->isSequential() || device->size() <= 0)
        parsed = fromBytes(device->readAll(), chart, error);
    else
        parsed = parse(device, chart, error);
    device->setTextModeEnabled(textMode);
    return parsed;
}

bool fromBytes(const QByteArray& bytes, Chart& chart, QString* error)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return parse(&buffer, chart, error);
}

} // namespace ChartStream
