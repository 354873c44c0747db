#include "programinfo.h"

namespace ProgramInfo {

QString version()
{
    return QStringLiteral(VANDORA_VERSION);
}

QString summary()
{
    return QStringLiteral("Draws flowcharts of text boxes and connectors and turns them into text drawings, "
                          "ready to be pasted into source code as comments.");
}

QString licence()
{
    return QStringLiteral("MIT");
}

QString homepage()
{
    return QStringLiteral(VANDORA_HOMEPAGE);
}

} // namespace ProgramInfo
