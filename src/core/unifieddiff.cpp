#include "unifieddiff.h"

#include <algorithm>

namespace UnifiedDiff {

namespace {

// One line of the edit: kept (' '), removed ('-') or added ('+'), with its index in from and to.
struct Step {
    char kind;
    int from;
    int to;
};

// The shortest edit by longest common subsequence, removals before additions at each change.
std::vector<Step> editScript(const std::vector<QByteArray>& from, const std::vector<QByteArray>& to)
{
    const size_t n = from.size();
    const size_t m = to.size();
    // common[i][j]: length of the longest common subsequence of from[i..] and to[j..].
    std::vector<int> common((n + 1) * (m + 1), 0);
    const auto at = [m](size_t i, size_t j) { return i * (m + 1) + j; };
    for (size_t i = n; i-- > 0;) {
        for (size_t j = m; j-- > 0;) {
            common[at(i, j)] = from[i] == to[j] ? common[at(i + 1, j + 1)] + 1 : std::max(common[at(i + 1, j)], common[at(i, j + 1)]);
        }
    }
    std::vector<Step> steps;
    size_t i = 0;
    size_t j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && from[i] == to[j]) {
            steps.push_back({' ', int(i++), int(j++)});
        } else if (i < n && (j == m || common[at(i + 1, j)] >= common[at(i, j + 1)])) {
            steps.push_back({'-', int(i++), int(j)});
        } else {
            steps.push_back({'+', int(i), int(j++)});
        }
    }
    return steps;
}

// "start,count" as diff writes a range: the count left out when it is 1, and an empty range
// numbered by the line before it.
QByteArray range(int start, int count)
{
    if (count == 1)
        return QByteArray::number(start);
    return QByteArray::number(count == 0 ? start - 1 : start) + ',' + QByteArray::number(count);
}

} // namespace

QByteArray hunks(const std::vector<QByteArray>& from, const std::vector<QByteArray>& to, int fromFirst, int toFirst, int context)
{
    const std::vector<Step> steps = editScript(from, to);
    const int total = int(steps.size());
    QByteArray out;
    int k = 0;
    while (k < total) {
        while (k < total && steps[size_t(k)].kind == ' ')
            ++k;
        if (k == total)
            break;
        // A hunk runs from `context` steps before this change to `context` steps after the last
        // change that lies no more than 2 * context kept lines after the one before it.
        const int begin = std::max(0, k - context);
        int last = k;
        for (int probe = k + 1; probe < total && probe <= last + 2 * context + 1; ++probe) {
            if (steps[size_t(probe)].kind != ' ')
                last = probe;
        }
        const int end = std::min(total, last + context + 1);
        int fromCount = 0;
        int toCount = 0;
        QByteArray body;
        for (int s = begin; s < end; ++s) {
            const Step& step = steps[size_t(s)];
            fromCount += step.kind != '+';
            toCount += step.kind != '-';
            body.append(step.kind).append(step.kind == '+' ? to[size_t(step.to)] : from[size_t(step.from)]).append('\n');
        }
        const Step& first = steps[size_t(begin)];
        out.append("@@ -" + range(fromFirst + first.from, fromCount) + " +" + range(toFirst + first.to, toCount) + " @@\n");
        out.append(body);
        k = end;
    }
    return out;
}

} // namespace UnifiedDiff
