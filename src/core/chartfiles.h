#ifndef CHARTFILES_H
#define CHARTFILES_H

#include "chartstream.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

// Names of the files that Save writes and Open reads.
namespace ChartFiles {

// The export name with its file part's last suffix replaced by "fcb", or ".fcb" appended when the
// file part has no "."; a "." in a folder name never counts.
QString backupNameFor(const QString& exportName);

// The name up to and including its last "/"; a name without "/" is its own folder.
QString folderOf(const QString& fileName);

constexpr char settingsFileName[] = "flowChart.settings";

// Marks the folder a program is built in; an installed program's folder has none.
constexpr char buildFolderMark[] = "CMakeCache.txt";

// The settings file: beside the program only while it runs from its build folder and may write there,
// else in the user's configuration folder, so that an installed program, even run as root, writes
// nothing into system folders.
QString settingsFilePath(const QString& programFolder, bool buildFolder, bool writable, const QString& configFolder);

// The chart among dropped files: the one local file named *.fcb; empty for anything else.
QString droppedChart(const QList<QUrl>& urls);

// Writes bytes to fileName through a temporary file, so a failed or short write (a full disk) leaves
// any earlier file intact; on failure, *reason (when given) says why.
bool writeWhole(const QString& fileName, const QByteArray& bytes, QString* reason = nullptr);

// Writes two files so that either both get their new bytes or both keep what they held: both are written
// in full and flushed before either replaces its earlier version. On failure, *failedName and *reason
// (when given) name the file that could not be written and why.
bool writeBoth(const QString& firstName, const QByteArray& first, const QString& secondName, const QByteArray& second, QString* failedName = nullptr,
    QString* reason = nullptr);

// writeWhole over an existing file, which then keeps its permissions even where the temporary file
// could not take them (a read-only file rewritten by root).
bool rewrite(const QString& fileName, const QByteArray& bytes, QString* reason);

// Reads the backup fileName into chart; on failure, chart is untouched and *reason says why.
bool readChart(const QString& fileName, ChartStream::Chart& chart, QString* reason);

} // namespace ChartFiles

#endif // CHARTFILES_H
