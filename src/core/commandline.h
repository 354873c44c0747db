#ifndef COMMANDLINE_H
#define COMMANDLINE_H

#include <QString>
#include <QStringList>

// The arguments the window is started with.
namespace CommandLine {

enum class Action { Run, Help, Version, Usage };

struct Request {
    Action action = Action::Run;
    // The chart to open at start: the only file named, else empty.
    QString chartFile;
    // What was wrong, for Usage.
    QString error;
};

// Reads the arguments, the program's name first. The toolkit's own options (-style, -platform, ...)
// are passed over, since the application object takes them; two or more files open none.
Request parse(const QStringList& arguments);

// What --help prints.
QString usage();

} // namespace CommandLine

#endif // COMMANDLINE_H
