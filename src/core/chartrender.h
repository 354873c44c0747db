#ifndef CHARTRENDER_H
#define CHARTRENDER_H

#include "chargrid.h"
#include "chartstream.h"

#include <QByteArray>
#include <QPoint>
#include <QPointF>
#include <QSize>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <vector>

// The rules that turn a chart into the character grid's input, shared by the window and vandora-render.
namespace ChartRender {

// The program's canvas: 801 x 801 pixels, a character cell 7 pixels wide and 13 high.
constexpr int canvasSize = 801;
constexpr int cellWidth = 7;
constexpr int cellHeight = 13;
// A box's text lies this many pixels inside its frame on each side: few enough that its first character
// stays within a cell of its place in the drawing.
constexpr int textInset = 1;
// A connector is drawn once it holds more points than this.
constexpr size_t fewestConnectorPoints = 4;
// Added to each connector cell: one column to the left, one row up.
constexpr QPoint connectorShift(-1, -1);

// A box's text as lines, split at every CR and every LF, empty pieces kept.
QStringList textLines(const QString& text);

// A grid over a canvas of that many pixels, with nothing on it yet.
CharGrid::Input emptyInput(const QSize& canvas, bool drawBorders, const QString& startTag, const QString& endTag);
// Adds a box at its canvas fractions, unless its text is empty.
void addBox(CharGrid::Input& input, const QPointF& proportion, const QString& text);
// Adds a connector of pointCount points by its fractions, which must outlive input; short ones are left out.
void addConnector(CharGrid::Input& input, size_t pointCount, const CharGrid::Fractions& fractions);

// The grid input as the program renders its canvas: boxes with text, connectors of more than 4 points,
// the stored tags. It points into `chart`'s fractions, so `chart` must outlive it.
CharGrid::Input gridInputFor(const ChartStream::Chart& chart, bool drawBorders);
CharGrid::Input gridInputFor(ChartStream::Chart&& chart, bool drawBorders) = delete;

// The rows joined by line feeds, none after the last.
QString joinRows(const std::vector<QString>& rows);
// The joined rows as UTF-8: the export file's bytes.
QByteArray exportBytes(const std::vector<QString>& rows);

} // namespace ChartRender

#endif // CHARTRENDER_H
