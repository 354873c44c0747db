#include "chartfiles.h"

#include <QSaveFile>

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

QString settingsFilePath(const QString& programFolder, bool buildFolder, bool writable, const QString& configFolder)
{
    const QString folder = buildFolder && writable ? programFolder : configFolder;
    return folder + QLatin1Char('/') + QLatin1String(settingsFileName);
}

QString droppedChart(const QList<QUrl>& urls)
{
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return QString();
    const QString path = urls.first().toLocalFile();
    return path.endsWith(QLatin1String(".fcb"), Qt::CaseInsensitive) ? path : QString();
}

bool writeWhole(const QString& fileName, const QByteArray& bytes, QString* reason)
{
    QSaveFile file(fileName);
    // commit() can succeed after a short write; flush() is what reports it.
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() && file.commit())
        return true;
    if (reason)
        *reason = file.errorString();
    return false;
}

} // namespace ChartFiles
