#ifndef CHARGRID_BEFORE_H
#define CHARGRID_BEFORE_H

#include "chargrid.h"

// The renderer as it was when every code unit took one cell, for comparison in the same run.
namespace CharGridBefore {

std::vector<QString> render(const CharGrid::Input& input);

} // namespace CharGridBefore

#endif // CHARGRID_BEFORE_H
