#include "commandline.h"

#include <QCommandLineParser>

namespace CommandLine {

namespace {

// Options that Qt's application objects and platform plugins take, with a value and without.
const char* const toolkitValueOptions[] = {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowicon", "qwindowtitle",
    "qmljsdebugger", "session", "style", "stylesheet", "display", "geometry", "name", "title", "visual", "ncols", "im", "inputstyle"};
const char* const toolkitFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync", "cmap", "testability"};

} // namespace

Request parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    // Qt's options are written with one dash (-style fusion); so may ours be (-help).
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOptions({help, version});
    for (const char* name : toolkitValueOptions)
        parser.addOption(QCommandLineOption(QLatin1String(name), QString(), QStringLiteral("value")));
    for (const char* name : toolkitFlags)
        parser.addOption(QCommandLineOption(QLatin1String(name)));

    Request request;
    if (!parser.parse(arguments)) {
        request.action = Action::Usage;
        request.error = parser.errorText();
    } else if (parser.isSet(help)) {
        request.action = Action::Help;
    } else if (parser.isSet(version)) {
        request.action = Action::Version;
    } else if (parser.positionalArguments().size() == 1) {
        request.chartFile = parser.positionalArguments().first();
    }
    return request;
}

QString usage()
{
    return QStringLiteral("Usage: vandora [CHART.fcb]\n"
                          "       vandora --help | --version\n"
                          "\n"
                          "Draws flowcharts and turns them into text drawings. CHART.fcb, a backup written by Save,\n"
                          "is opened at start; with two or more charts named, none is. A chart whose name begins\n"
                          "with a dash follows \"--\".\n"
                          "\n"
                          "Options:\n"
                          "  -h, --help     Print this help and exit.\n"
                          "  --version      Print the version and exit.\n"
                          "\n"
                          "The Qt toolkit's own options, such as -style NAME or -platform NAME, are understood too.\n");
}

} // namespace CommandLine
