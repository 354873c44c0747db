#include "snapshotstore.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int block = 4096;

// Length of the common start of a and b, compared a block at a time.
int commonPrefix(const char* a, const char* b, int length)
{
    int at = 0;
    while (at + block <= length && std::memcmp(a + at, b + at, block) == 0)
        at += block;
    while (at < length && a[at] == b[at])
        ++at;
    return at;
}

// Length of the common end of a and b (of lengths la and lb), not reaching into the first `limit` bytes.
int commonSuffix(const char* a, int la, const char* b, int lb, int limit)
{
    const int length = std::min(la, lb) - limit;
    int at = 0;
    while (at + block <= length && std::memcmp(a + la - at - block, b + lb - at - block, block) == 0)
        at += block;
    while (at < length && a[la - at - 1] == b[lb - at - 1])
        ++at;
    return at;
}

QByteArray splice(const QByteArray& from, int prefix, const QByteArray& middle, int suffix)
{
    QByteArray result;
    result.reserve(prefix + middle.size() + suffix);
    result.append(from.constData(), prefix);
    result.append(middle);
    result.append(from.constData() + from.size() - suffix, suffix);
    return result;
}

} // namespace

SnapshotStore::SnapshotStore(int keyframeInterval)
    : m_keyframeInterval(std::max(1, keyframeInterval))
{ }

void SnapshotStore::append(const QByteArray& bytes)
{
    Entry entry;
    entry.bytes = bytes;
    const int index = size();
    if (index > 0 && index - wholeAtOrBefore(index - 1) < m_keyframeInterval) {
        moveCache(index - 1);
        const QByteArray& last = m_cached;
        const int prefix = commonPrefix(last.constData(), bytes.constData(), std::min(last.size(), bytes.size()));
        const int suffix = commonSuffix(last.constData(), last.size(), bytes.constData(), bytes.size(), prefix);
        const qint64 stretches = qint64(last.size() - prefix - suffix) + (bytes.size() - prefix - suffix);
        // A change as large as the snapshot itself is kept whole.
        if (stretches < bytes.size()) {
            entry.whole = false;
            entry.prefix = prefix;
            entry.suffix = suffix;
            entry.before = last.mid(prefix, last.size() - prefix - suffix);
            entry.bytes = bytes.mid(prefix, bytes.size() - prefix - suffix);
        }
    }
    m_held += held(entry);
    m_entries.push_back(std::move(entry));
    m_cachedIndex = index;
    m_cached = bytes;
}

void SnapshotStore::truncate(int count)
{
    count = std::max(0, count);
    while (size() > count) {
        m_held -= held(m_entries.back());
        m_entries.pop_back();
    }
    if (m_cachedIndex >= count) {
        m_cachedIndex = -1;
        m_cached.clear();
    }
}

void SnapshotStore::dropFront()
{
    if (isEmpty())
        return;
    if (size() > 1 && !m_entries[1].whole) {
        const QByteArray second = at(1);
        m_held -= held(m_entries[1]);
        m_entries[1] = Entry();
        m_entries[1].bytes = second;
        m_held += held(m_entries[1]);
    }
    m_held -= held(m_entries.front());
    m_entries.erase(m_entries.begin());
    if (m_cachedIndex > 0) {
        --m_cachedIndex;
    } else {
        m_cachedIndex = -1;
        m_cached.clear();
    }
}

void SnapshotStore::trimTo(qint64 budget)
{
    while (size() > 1 && bytesHeld() > budget)
        dropFront();
}

void SnapshotStore::clear()
{
    m_entries.clear();
    m_held = 0;
    m_cachedIndex = -1;
    m_cached.clear();
}

QByteArray SnapshotStore::at(int index) const
{
    if (index < 0 || index >= size())
        return QByteArray();
    moveCache(index);
    return m_cached;
}

qint64 SnapshotStore::bytesHeld() const
{
    const bool shared = m_cachedIndex >= 0 && m_entries[size_t(m_cachedIndex)].whole;
    return m_held + (shared ? 0 : m_cached.size());
}

int SnapshotStore::wholeAtOrBefore(int index) const
{
    while (index > 0 && !m_entries[size_t(index)].whole)
        --index;
    return index;
}

void SnapshotStore::moveCache(int index) const
{
    if (index == m_cachedIndex)
        return;
    const int whole = wholeAtOrBefore(index);
    // Walking back from the cache is possible only while no whole entry lies between.
    const bool back = m_cachedIndex > index && wholeAtOrBefore(m_cachedIndex) <= index && m_cachedIndex - index < index - whole;
    if (back) {
        for (int at = m_cachedIndex; at > index; --at) {
            const Entry& e = m_entries[size_t(at)];
            m_cached = splice(m_cached, e.prefix, e.before, e.suffix);
        }
    } else {
        int at = whole;
        if (m_cachedIndex >= whole && m_cachedIndex < index)
            at = m_cachedIndex;
        else
            m_cached = m_entries[size_t(whole)].bytes;
        for (++at; at <= index; ++at) {
            const Entry& e = m_entries[size_t(at)];
            m_cached = splice(m_cached, e.prefix, e.bytes, e.suffix);
        }
    }
    m_cachedIndex = index;
}
