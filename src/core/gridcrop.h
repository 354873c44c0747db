#ifndef GRIDCROP_H
#define GRIDCROP_H

#include <QString>

#include <vector>

namespace GridCrop {

// The framed rows cut down to the rows and columns that hold a chart character (anything but a
// space), counted in columns as TextColumns does, each row framed again by the tags; with an empty end
// tag, trailing spaces are dropped.
// No rows when the grid holds no chart character.
std::vector<QString> compact(const std::vector<QString>& framedRows, const QString& startTag, const QString& endTag);

} // namespace GridCrop

#endif // GRIDCROP_H
