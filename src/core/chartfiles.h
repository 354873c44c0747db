#ifndef CHARTFILES_H
#define CHARTFILES_H

#include <QString>

// Names of the files that Save writes and Open reads.
namespace ChartFiles {

// The export name with its file part's last suffix replaced by "fcb", or ".fcb" appended when the
// file part has no "."; a "." in a folder name never counts.
QString backupNameFor(const QString& exportName);

// The name up to and including its last "/"; a name without "/" is its own folder.
QString folderOf(const QString& fileName);

} // namespace ChartFiles

#endif // CHARTFILES_H
