#ifndef CROPCASES_H
#define CROPCASES_H

#include "chartstream.h"

#include <QtTest>

// Charts and their compact drawings, shared by the window's Ctrl+C and the render tool's --crop: tags, one
// box by its canvas pixel corner, and maybe a connector of five cells along a grid row from `run`, each cell
// being the rounded fraction of the grid less one cell on each axis.
struct CropCase {
    QString startTag, endTag, text;
    QPoint at, run;
    QString compact;

    ChartStream::Chart chart() const
    {
        ChartStream::Chart chart{{}, {{at, 0, 2, {}, QRect(at, QSize(30, 20)), {at.x() / 801.0, at.y() / 801.0}, {24, 16},
                                       {10, 6}, text}}, std::vector<ChartStream::ConnectorRecord>(run.isNull() ? 0 : 1)};
        chart.window.startTag = startTag;
        chart.window.endTag = endTag;
        for (int k = 0; k < 5 && !run.isNull(); ++k) {
            chart.connectors[0].points.push_back(QPoint(k, k));
            chart.connectors[0].fractions.push_back({(run.x() + k + 1) / 114.0f, (run.y() + 1) / 61.0f});
        }
        return chart;
    }
};
Q_DECLARE_METATYPE(CropCase)

inline const std::vector<std::pair<const char*, CropCase>> cropCases{
    {"small chart", {"", "", "Hi", {77, 158}, {14, 15}, "|--|\n|Hi|\n|--|\n\n    *****"}},
    {"at the left edge", {"// ", "", "ab\ncd", {0, 0}, {6, 5}, "// ab|\n// cd|\n// --|\n//\n//\n//       *****"}},
    {"end tag", {"/* ", " */", "x", {400, 407}, {50, 34},
                 "/*       |-| */\n/*       |x| */\n/*       |-| */\n/*           */\n/* *****     */"}},
    {"empty chart", {"# ", "", "", {300, 300}, {}, ""}},
};

#endif // CROPCASES_H
