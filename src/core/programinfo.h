#ifndef PROGRAMINFO_H
#define PROGRAMINFO_H

#include <QString>

// What the program says about itself: in --version, --help and the About box.
namespace ProgramInfo {

// The release, as the build names it (one number for the window, the tool and the package).
QString version();
// One sentence saying what the program does.
QString summary();
// The licence's short name.
QString licence();
// Where the source code lives.
QString homepage();

} // namespace ProgramInfo

#endif // PROGRAMINFO_H
