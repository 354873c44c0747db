#ifndef CROPCASES_H
#define CROPCASES_H

#include "chartstream.h"

#include <QtTest>

// Charts and their compact drawings, shared by the window's Ctrl+C and the render tool's --crop.
// Boxes are given by a canvas pixel corner, connectors as five cells of one grid row.
struct CropCase {
    struct Run { int row, firstColumn; };
    const char* name;
    QString startTag, endTag;
    std::vector<std::pair<QPoint, QString>> boxes;
    std::vector<Run> runs;
    QString compact;

    ChartStream::Chart chart() const
    {
        ChartStream::Chart chart;
        chart.window.startTag = startTag;
        chart.window.endTag = endTag;
        for (const auto& box : boxes)
            chart.boxes.push_back({box.first, int(chart.boxes.size()), 2, {}, QRect(box.first, QSize(30, 20)),
                                   {box.first.x() / 801.0, box.first.y() / 801.0}, {24, 16}, {10, 6}, box.second});
        // A connector cell is the rounded fraction of the grid less one cell on each axis.
        for (const Run& run : runs) {
            chart.connectors.emplace_back();
            for (int k = 0; k < 5; ++k) {
                chart.connectors.back().points.push_back(QPoint(k, k));
                chart.connectors.back().fractions.push_back({(run.firstColumn + k + 1) / 114.0f, (run.row + 1) / 61.0f});
            }
        }
        return chart;
    }
};

inline void addCropCases()
{
    QTest::addColumn<CropCase>("crop");
    const CropCase cases[] = {
        {"small chart", "", "", {{{77, 158}, "Hi"}}, {{15, 14}}, "|--|\n|Hi|\n|--|\n\n    *****"},
        {"at the left edge", "// ", "", {{{0, 0}, "ab\ncd"}}, {{5, 6}}, "// ab|\n// cd|\n// --|\n//\n//\n//       *****"},
        {"end tag", "/* ", " */", {{{400, 407}, "x"}}, {{34, 50}},
         "/*       |-| */\n/*       |x| */\n/*       |-| */\n/*           */\n/* *****     */"},
        {"empty chart", "# ", "", {{{300, 300}, ""}}, {}, ""},
    };
    for (const CropCase& c : cases)
        QTest::newRow(c.name) << c;
}

Q_DECLARE_METATYPE(CropCase)

#endif // CROPCASES_H
