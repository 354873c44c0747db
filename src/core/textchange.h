#ifndef TEXTCHANGE_H
#define TEXTCHANGE_H

#include <QString>

// Where a text edit happened, so an editor whose text is replaced can keep its cursor there.
namespace TextChange {

// The cursor position in `after` just past the stretch that differs from `before`: after an insertion
// its end, after a deletion where the deleted text was; the end of `after` when both are equal.
int cursorAfter(const QString& before, const QString& after);

} // namespace TextChange

#endif // TEXTCHANGE_H
