#include "textchange.h"

#include <algorithm>

namespace TextChange {

int cursorAfter(const QString& before, const QString& after)
{
    const int shorter = std::min(before.size(), after.size());
    int prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    if (prefix == before.size() && prefix == after.size())
        return after.size();
    // The common ending may not reach into the common beginning.
    int suffix = 0;
    while (suffix < shorter - prefix && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    return after.size() - suffix;
}

} // namespace TextChange
