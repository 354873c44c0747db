#ifndef UNIFIEDDIFF_H
#define UNIFIEDDIFF_H

#include <QByteArray>

#include <vector>

namespace UnifiedDiff {

// The hunks of a unified diff that turn the lines `from` into `to`: "@@ -a,b +c,d @@" headers and
// lines starting with " ", "-" or "+", each ended by "\n", with `context` unchanged lines around
// every change. from[0] and to[0] are numbered fromFirst and toFirst. Empty when the lines are equal.
QByteArray hunks(const std::vector<QByteArray>& from, const std::vector<QByteArray>& to, int fromFirst, int toFirst, int context = 3);

} // namespace UnifiedDiff

#endif // UNIFIEDDIFF_H
