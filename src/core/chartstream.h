#ifndef CHARTSTREAM_H
#define CHARTSTREAM_H

#include <QByteArray>
#include <QPair>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QString>

#include <vector>

class QIODevice;

// The chart stream: the byte layout of undo snapshots and backup files, over plain data.
namespace ChartStream {

struct CreationRecord {
    // 0: a box, 1: a connector.
    quint32 kind = 0;
    qint32 index = 0;
};

// The main-window section, fields 1 to 11 in stream order.
struct WindowState {
    QPoint lastMousePosition, sizeToExtendBox, sizeOfInitialTextBox;
    // startDrawingLines (first, second).
    bool drawingLine = false;
    qint32 drawingLineSpare = -1;
    QPoint lastGlobalPos, lastLocalPos, dragPosition;
    std::vector<CreationRecord> creationRecords;
    QString startTag, endTag;
};

struct BoxRecord {
    QPoint openBoxPoint;
    qint32 whoAmI = 0;
    qint32 borderSet = 0;
    QPoint centre;
    QRect currentWantedRect;
    // Top-left corner as fractions of the canvas width and height.
    QPointF proportion;
    QPoint sizeOfInitialTextBox, sizeToExtendBox;
    QString text;
};

struct ConnectorRecord {
    bool isStraight = false;
    bool isStraightDrawingHorizontal = false;
    std::vector<QPoint> points;
    // One (x / width, y / height) per point.
    std::vector<QPair<float, float>> fractions;
};

struct Chart {
    WindowState window;
    std::vector<BoxRecord> boxes;
    std::vector<ConnectorRecord> connectors;
};

// Field by field; floating-point fields compare by their bits, so a NaN equals itself and -0 differs from 0.
bool operator==(const CreationRecord& a, const CreationRecord& b);
bool operator==(const WindowState& a, const WindowState& b);
bool operator==(const BoxRecord& a, const BoxRecord& b);
bool operator==(const ConnectorRecord& a, const ConnectorRecord& b);
bool operator==(const Chart& a, const Chart& b);
inline bool operator!=(const CreationRecord& a, const CreationRecord& b)
{
    return !(a == b);
}
inline bool operator!=(const WindowState& a, const WindowState& b)
{
    return !(a == b);
}
inline bool operator!=(const BoxRecord& a, const BoxRecord& b)
{
    return !(a == b);
}
inline bool operator!=(const ConnectorRecord& a, const ConnectorRecord& b)
{
    return !(a == b);
}
inline bool operator!=(const Chart& a, const Chart& b)
{
    return !(a == b);
}

// The chart in the stream's layout: the window section, then the objects section.
QByteArray toBytes(const Chart& chart);

// Parses a whole chart from the device's position to its end, all or nothing; on failure returns false,
// leaves `chart` untouched and says why in `error`. Text mode is off while reading.
bool read(QIODevice* device, Chart& chart, QString* error = nullptr);
bool fromBytes(const QByteArray& bytes, Chart& chart, QString* error = nullptr);

// Resets the fields that follow the pointer (1, 4, 5, 6 and 7), which hold no edit.
void resetPointerFields(WindowState& w);
// The stream with the fields that follow the pointer (1, 4, 5, 6 and 7 of the window section) reset, so
// that two streams compare equal exactly when they hold the same edits; a stream too short to hold the
// fixed part is returned as it is.
QByteArray contentOf(const QByteArray& stream);

} // namespace ChartStream

#endif // CHARTSTREAM_H
