#ifndef SNAPSHOTSTORE_H
#define SNAPSHOTSTORE_H

#include <QByteArray>
#include <QtGlobal>

#include <vector>

// A list of byte snapshots that stores each one as the stretch that differs from the one before it,
// with a whole snapshot every so many entries; any entry reads back exactly as it was appended.
class SnapshotStore
{
public:
    explicit SnapshotStore(int keyframeInterval = 64);

    int size() const { return int(m_entries.size()); }
    bool isEmpty() const { return m_entries.empty(); }
    void append(const QByteArray& bytes);
    // Keeps the first count entries.
    void truncate(int count);
    // Forgets the oldest entries while more than `budget` bytes are held; the newest always stays.
    void trimTo(qint64 budget);
    void clear();
    // The bytes of entry index (0 <= index < size()).
    QByteArray at(int index) const;
    // Bytes really held: whole entries, the differing stretches, and the last entry read back.
    qint64 bytesHeld() const;

private:
    struct Entry {
        bool whole = true;
        QByteArray bytes; // the snapshot when whole, else the stretch of this entry
        QByteArray before; // the stretch of the previous entry
        int prefix = 0;
        int suffix = 0;
    };
    static qint64 held(const Entry& entry) { return entry.bytes.size() + entry.before.size(); }
    // Forgets the oldest entry; the next one becomes whole.
    void dropFront();
    int wholeAtOrBefore(int index) const;
    void moveCache(int index) const;

    std::vector<Entry> m_entries;
    int m_keyframeInterval;
    qint64 m_held = 0;
    mutable int m_cachedIndex = -1;
    mutable QByteArray m_cached;
};

#endif // SNAPSHOTSTORE_H
