#ifndef CHARTFILES_H
#define CHARTFILES_H

#include "chartstream.h"

#include <QByteArray>
#include <QString>

// Names of the files that Save writes and Open reads.
namespace ChartFiles {

// The export name with its file part's last suffix replaced by "fcb", or ".fcb" appended when the
// file part has no "."; a "." in a folder name never counts.
QString backupNameFor(const QString& exportName);

// The name up to and including its last "/"; a name without "/" is its own folder.
QString folderOf(const QString& fileName);

constexpr char settingsFileName[] = "flowChart.settings";

// The settings file: beside the program when its folder can be written, else in the user's
// configuration folder (an installed program's folder is read-only).
QString settingsFilePath(const QString& programFolder, bool programFolderWritable, const QString& configFolder);

// Writes bytes to fileName through a temporary file, so a failed or short write (a full disk) leaves
// any earlier file intact; on failure, *reason (when given) says why.
bool writeWhole(const QString& fileName, const QByteArray& bytes, QString* reason = nullptr);

// Writes two files so that either both get their new bytes or both keep what they held: both are written
// in full and flushed before either replaces its earlier version. On failure, *failedName and *reason
// (when given) name the file that could not be written and why.
bool writeBoth(const QString& firstName, const QByteArray& first, const QString& secondName,
    const QByteArray& second, QString* failedName = nullptr, QString* reason = nullptr);

// writeWhole over an existing file, which then keeps its permissions even where the temporary file
// could not take them (a read-only file rewritten by root).
bool rewrite(const QString& fileName, const QByteArray& bytes, QString* reason);

// Reads the backup fileName into chart; on failure, chart is untouched and *reason says why.
bool readChart(const QString& fileName, ChartStream::Chart& chart, QString* reason);

} // namespace ChartFiles

#endif // CHARTFILES_H
