#include "commandline.h"

QString chartFileFromArguments(int argc, const char* const argv[])
{
    if (argc != 2 || argv == nullptr || argv[1] == nullptr)
        return QString();
    return QString::fromUtf8(argv[1]);
}
