#include "chartfiles.h"

namespace ChartFiles {

QString backupNameFor(const QString& exportName)
{
    const int fileStart = exportName.lastIndexOf(QLatin1Char('/')) + 1;
    const int dot = exportName.lastIndexOf(QLatin1Char('.'));
    if (dot < fileStart)
        return exportName + QLatin1String(".fcb");
    return exportName.left(dot + 1) + QLatin1String("fcb");
}

QString folderOf(const QString& fileName)
{
    const int slash = fileName.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? fileName : fileName.left(slash + 1);
}

QString settingsFilePath(const QString& programFolder, bool programFolderWritable, const QString& configFolder)
{
    const QString folder = programFolderWritable ? programFolder : configFolder;
    return folder + QLatin1Char('/') + QLatin1String(settingsFileName);
}

} // namespace ChartFiles
