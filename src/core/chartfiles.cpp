#include "chartfiles.h"

#include <QFile>
#include <QSaveFile>

#include <utility>

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

bool writeBoth(const QString& firstName, const QByteArray& first, const QString& secondName, const QByteArray& second, QString* failedName, QString* reason)
{
    const auto fail = [&](const QString& name, const QString& why) {
        if (failedName)
            *failedName = name;
        if (reason)
            *reason = why;
        return false;
    };
    QSaveFile firstFile(firstName);
    QSaveFile secondFile(secondName);
    for (const auto& [file, bytes] : {std::make_pair(&firstFile, &first), std::make_pair(&secondFile, &second)}) {
        if (!file->open(QIODevice::WriteOnly) || file->write(*bytes) != bytes->size() || !file->flush())
            return fail(file->fileName(), file->errorString());
    }
    // The first file's earlier bytes, to put back should the second one fail to replace its own.
    QFile earlier(firstName);
    const bool existed = earlier.open(QIODevice::ReadOnly);
    const QByteArray earlierBytes = existed ? earlier.readAll() : QByteArray();
    earlier.close();
    if (!firstFile.commit())
        return fail(firstName, firstFile.errorString());
    if (!secondFile.commit()) {
        const QString why = secondFile.errorString();
        if (existed)
            writeWhole(firstName, earlierBytes);
        else
            QFile::remove(firstName);
        return fail(secondName, why);
    }
    return true;
}

bool rewrite(const QString& fileName, const QByteArray& bytes, QString* reason)
{
    // The "User" flags say what this process may do, and would set the owner's bits when written back.
    const QFile::Permissions userFlags = QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;
    const QFile::Permissions permissions = QFile::permissions(fileName) & ~userFlags;
    if (!writeWhole(fileName, bytes, reason))
        return false;
    if ((QFile::permissions(fileName) & ~userFlags) != permissions && !QFile::setPermissions(fileName, permissions)) {
        *reason = QStringLiteral("cannot restore the file's permissions");
        return false;
    }
    return true;
}

bool readChart(const QString& fileName, ChartStream::Chart& chart, QString* reason)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        *reason = file.errorString();
        return false;
    }
    return ChartStream::read(&file, chart, reason);
}

} // namespace ChartFiles
