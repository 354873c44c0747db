#ifndef RENDEROPTIONS_H
#define RENDEROPTIONS_H

#include "chargrid.h"
#include "chartstream.h"

#include <QString>
#include <QStringList>

#include <vector>

class QCommandLineParser;

// The options that shape vandora-render's drawing, given on its command line or in a marked block.
namespace RenderOptions {

struct Options {
    bool drawBorders = true;
    bool crop = false;
    // Tags that replace the chart's stored ones, when set.
    bool replaceStartTag = false;
    QString startTag;
    bool replaceEndTag = false;
    QString endTag;
    CharGrid::Style style = CharGrid::Style::Classic;
    CharGrid::Arrows arrows = CharGrid::Arrows::End;
};

// Adds --no-box, --crop, --start TAG, --end TAG, --style STYLE and --arrows HEADS to parser.
void addTo(QCommandLineParser& parser);
// True when parser's last parse saw any of them.
bool anyGiven(const QCommandLineParser& parser);
// The options from parser's last parse; false, with the reason, on an unknown style or arrow heads.
bool readFrom(const QCommandLineParser& parser, Options& options, QString* error);

// Splits `arguments` (no program name) into the chart file and its options; false, with the
// reason, on anything but render options and exactly one chart.
bool parseChartArguments(const QStringList& arguments, QString& chart, Options& options, QString* error);

// The drawing rows that vandora-render prints for chart with those options.
std::vector<QString> render(ChartStream::Chart chart, const Options& options);

} // namespace RenderOptions

#endif // RENDEROPTIONS_H
