#ifndef CHARTRENDER_H
#define CHARTRENDER_H

#include "chargrid.h"
#include "chartstream.h"

namespace ChartRender {

// The program's canvas: 801 x 801 pixels, a character cell 7 pixels wide and 13 high.
constexpr int canvasSize = 801;
constexpr int cellWidth = 7;
constexpr int cellHeight = 13;

// The grid input as the program renders its canvas: boxes with text, connectors of more than 4 points,
// the stored tags. It points into `chart`'s fractions, so `chart` must outlive it.
CharGrid::Input gridInputFor(const ChartStream::Chart& chart, bool drawBorders);
CharGrid::Input gridInputFor(ChartStream::Chart&& chart, bool drawBorders) = delete;

// The rows joined by line feeds, none after the last, as UTF-8: the export file's bytes.
QByteArray exportBytes(const std::vector<QString>& rows);

} // namespace ChartRender

#endif // CHARTRENDER_H
