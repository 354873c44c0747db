#ifndef DRAWINGREADER_H
#define DRAWINGREADER_H

#include "chargrid.h"
#include "chartstream.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <vector>

// Reads a text drawing back into a chart: boxes by their borders and the text inside them, connectors by the
// characters of the drawing's style, and any other text as boxes of its own.
namespace DrawingReader {

// The text split into rows at line feeds, a CR before one dropped; a final line feed adds no row.
QStringList rowsOf(const QString& text);

struct Options {
    // When set, the tags that frame each row; otherwise they are found as the rows' common start and end.
    bool tagsGiven = false;
    QString startTag;
    QString endTag;
};

struct Result {
    // On the program's canvas, its top-left cell at the drawing's; the tags are in the window section.
    ChartStream::Chart chart;
    CharGrid::Style style = CharGrid::Style::Classic;
    CharGrid::Arrows arrows = CharGrid::Arrows::End;
    // False when no box has a border.
    bool drawBorders = true;
    // Characters that the chart does not draw back in their cells, those beyond the grid included.
    int unplaced = 0;
};

// Never fails: whatever the rows hold, the chart is valid and as close to them as it can be.
Result read(const QStringList& rows, const Options& options = Options());

// Reads a file's bytes as a drawing: false, saying why, when they are not UTF-8 text or show nothing.
bool readText(const QByteArray& bytes, Result& result, QString* error = nullptr, const Options& options = Options());

// Adds the boxes and connectors of `added` after those of `chart`, with their creation records.
void addTo(ChartStream::Chart& chart, const ChartStream::Chart& added);

// The message that counts the characters of a drawing that could not be placed.
QString unplacedText(int count);

} // namespace DrawingReader

#endif // DRAWINGREADER_H
