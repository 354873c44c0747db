#ifndef COMMANDLINE_H
#define COMMANDLINE_H

#include <QString>

// The chart to open at start: the only argument when there is exactly one, else empty.
QString chartFileFromArguments(int argc, const char* const argv[]);

#endif // COMMANDLINE_H
