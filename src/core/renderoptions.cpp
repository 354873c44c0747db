#include "renderoptions.h"

#include "chartrender.h"
#include "gridcrop.h"

#include <QCommandLineParser>

namespace RenderOptions {

namespace {

const QString noBoxName = QStringLiteral("no-box");
const QString cropName = QStringLiteral("crop");
const QString startName = QStringLiteral("start");
const QString endName = QStringLiteral("end");
const QString styleName = QStringLiteral("style");
const QString arrowsName = QStringLiteral("arrows");

} // namespace

void addTo(QCommandLineParser& parser)
{
    parser.addOptions({QCommandLineOption(noBoxName), QCommandLineOption(cropName), QCommandLineOption(startName, QString(), QStringLiteral("TAG")),
        QCommandLineOption(endName, QString(), QStringLiteral("TAG")), QCommandLineOption(styleName, QString(), QStringLiteral("STYLE")),
        QCommandLineOption(arrowsName, QString(), QStringLiteral("HEADS"))});
}

bool anyGiven(const QCommandLineParser& parser)
{
    for (const QString& name : {noBoxName, cropName, startName, endName, styleName, arrowsName}) {
        if (parser.isSet(name))
            return true;
    }
    return false;
}

bool readFrom(const QCommandLineParser& parser, Options& options, QString* error)
{
    if (parser.isSet(styleName) && !CharGrid::styleNamed(parser.value(styleName), options.style)) {
        *error = QStringLiteral("Unknown style '%1': classic, lines, unicode, rounded, heavy or double.").arg(parser.value(styleName));
        return false;
    }
    if (parser.isSet(arrowsName) && !CharGrid::arrowsNamed(parser.value(arrowsName), options.arrows)) {
        *error = QStringLiteral("Unknown arrow heads '%1': none, end or both.").arg(parser.value(arrowsName));
        return false;
    }
    options.drawBorders = !parser.isSet(noBoxName);
    options.crop = parser.isSet(cropName);
    options.replaceStartTag = parser.isSet(startName);
    options.startTag = parser.value(startName);
    options.replaceEndTag = parser.isSet(endName);
    options.endTag = parser.value(endName);
    return true;
}

bool parseChartArguments(const QStringList& arguments, QString& chart, Options& options, QString* error)
{
    QCommandLineParser parser;
    addTo(parser);
    if (!parser.parse(QStringList(QStringLiteral("vandora-render")) + arguments)) {
        *error = parser.errorText();
        return false;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1) {
        *error = files.isEmpty() ? QStringLiteral("No chart file given.") : QStringLiteral("One chart file expected, %1 given.").arg(files.size());
        return false;
    }
    chart = files.first();
    return readFrom(parser, options, error);
}

std::vector<QString> render(ChartStream::Chart chart, const Options& options)
{
    if (options.replaceStartTag)
        chart.window.startTag = options.startTag;
    if (options.replaceEndTag)
        chart.window.endTag = options.endTag;
    CharGrid::Input input = ChartRender::gridInputFor(chart, options.drawBorders);
    input.style = options.style;
    input.arrows = options.arrows;
    std::vector<QString> rows = CharGrid::render(input);
    if (options.crop)
        rows = GridCrop::compact(rows, input.startTag, input.endTag);
    return rows;
}

} // namespace RenderOptions
