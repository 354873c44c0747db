// vandora-render: prints a chart backup as the text drawing the program shows for it.
#include "chargrid.h"
#include "chartfiles.h"
#include "chartrender.h"
#include "chartstream.h"
#include "drawingreader.h"
#include "gridcrop.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int usageError = 2;

const char helpText[] =
    "NAME\n"
    "    vandora-render - print a Vandora chart backup as its text drawing\n"
    "\n"
    "SYNOPSIS\n"
    "    vandora-render [--no-box] [--crop] [--start TAG] [--end TAG] [-o FILE] CHART\n"
    "                   [--style classic|lines|unicode] [--arrows none|end|both]\n"
    "    vandora-render --import [--start TAG] [--end TAG] -o CHART.fcb DRAWING\n"
    "    vandora-render --help | --version\n"
    "\n"
    "DESCRIPTION\n"
    "    Reads CHART, a backup (*.fcb) written by Vandora's Save, and prints the drawing that\n"
    "    Vandora renders for it on its 801 x 801 canvas: 61 rows of 114 characters, each row\n"
    "    framed by the start and end tags stored in the backup. The rows are written in UTF-8,\n"
    "    separated by a line feed, with none after the last row, exactly as Save writes its\n"
    "    text file. No display is needed.\n"
    "\n"
    "OPTIONS\n"
    "    --no-box     Leave out the boxes' borders.\n"
    "    --crop       Print only the rows from the first to the last that hold part of the chart, and\n"
    "                 only the columns from its leftmost to its rightmost character, each row still\n"
    "                 framed by the tags; with an empty end tag, trailing spaces are dropped. This is\n"
    "                 what Vandora's Ctrl+C copies. A chart with nothing to show prints nothing.\n"
    "    --start TAG  Put TAG in front of every row instead of the stored start tag.\n"
    "    --end TAG    Put TAG after every row instead of the stored end tag.\n"
    "    -o FILE      Write the drawing to FILE, replacing it at once, instead of standard output.\n"
    "    --style STYLE\n"
    "                 classic (the default): borders of - and |, connectors as trails of *;\n"
    "                 lines: + corners, connectors joined into paths of - | \\ / +;\n"
    "                 unicode: the same in box-drawing characters.\n"
    "    --arrows HEADS\n"
    "                 Arrow heads of lines and unicode paths: none, end (the default) or both.\n"
    "    --import     Read DRAWING, a text drawing in any style (a file Save wrote, or a drawing copied\n"
    "                 out of a comment), and write it as the chart backup given by -o. The tags are\n"
    "                 found as the rows' common start and end unless --start or --end give them.\n"
    "                 A line on standard error tells the options that draw the chart the same again\n"
    "                 and how many characters could not be placed.\n"
    "    --help       Print this help and exit.\n"
    "    --version    Print the version and exit.\n"
    "\n"
    "EXIT STATUS\n"
    "    0  The drawing was written.\n"
    "    1  CHART could not be read or is not a valid chart, or the output could not be written.\n"
    "    2  Wrong usage.\n"
    "\n"
    "EXAMPLE\n"
    "    vandora-render --start '// ' plan.fcb > plan.txt\n";

// One line on standard error, prefixed with the program's name; returns `status`.
int complain(const QString& message, int status)
{
    std::fprintf(stderr, "vandora-render: %s\n", message.toLocal8Bit().constData());
    return status;
}

int usage(const QString& message)
{
    return complain(message + QLatin1String(" Try 'vandora-render --help'."), usageError);
}

// Reads a text drawing into a chart backup; the tags are given when either option is set.
int importDrawing(const QString& name, const QString& target, bool tagsGiven, const QString& start, const QString& end)
{
    if (target.isEmpty())
        return usage(QStringLiteral("--import needs -o CHART.fcb."));
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return complain(name + QLatin1String(": ") + file.errorString(), EXIT_FAILURE);
    DrawingReader::Result read;
    QString error;
    if (!DrawingReader::readText(file.readAll(), read, &error, {tagsGiven, start, end}))
        return complain(name + QLatin1String(": ") + error, EXIT_FAILURE);
    if (!ChartFiles::writeWhole(target, ChartStream::toBytes(read.chart), &error))
        return complain(target + QLatin1String(": ") + error, EXIT_FAILURE);
    const auto counted = [](size_t n, const char* one, const char* many) {
        return QString::number(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many);
    };
    complain(QStringLiteral("%1: %2 and %3, drawn again with --style %4 --arrows %5%6; %7 could not be placed.")
                 .arg(name, counted(read.chart.boxes.size(), "box", "boxes"),
                     counted(read.chart.connectors.size(), "connector", "connectors"), CharGrid::nameOf(read.style),
                     CharGrid::nameOf(read.arrows), read.drawBorders ? QString() : QStringLiteral(" --no-box"),
                     counted(size_t(read.unplaced), "character", "characters")),
        EXIT_SUCCESS);
    return EXIT_SUCCESS;
}

bool writeStandardOutput(const QByteArray& bytes)
{
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size())
        && std::fflush(stdout) == 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption noBox(QStringLiteral("no-box"));
    const QCommandLineOption crop(QStringLiteral("crop"));
    const QCommandLineOption start(QStringLiteral("start"), QString(), QStringLiteral("TAG"));
    const QCommandLineOption end(QStringLiteral("end"), QString(), QStringLiteral("TAG"));
    const QCommandLineOption output(QStringLiteral("o"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption help(QStringLiteral("help"));
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOptions({noBox, crop, start, end, output, help, version});
    const QCommandLineOption style(QStringLiteral("style"), QString(), QStringLiteral("STYLE"));
    const QCommandLineOption arrows(QStringLiteral("arrows"), QString(), QStringLiteral("HEADS"));
    const QCommandLineOption import(QStringLiteral("import"));
    parser.addOptions({style, arrows, import});
    if (!parser.parse(app.arguments()))
        return usage(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(helpText, stdout);
        return EXIT_SUCCESS;
    }
    if (parser.isSet(version)) {
        std::puts("vandora-render " VANDORA_VERSION);
        return EXIT_SUCCESS;
    }
    CharGrid::Style drawStyle = CharGrid::Style::Classic;
    CharGrid::Arrows heads = CharGrid::Arrows::End;
    if (parser.isSet(style) && !CharGrid::styleNamed(parser.value(style), drawStyle))
        return usage(QStringLiteral("Unknown style '%1': classic, lines or unicode.").arg(parser.value(style)));
    if (parser.isSet(arrows) && !CharGrid::arrowsNamed(parser.value(arrows), heads))
        return usage(QStringLiteral("Unknown arrow heads '%1': none, end or both.").arg(parser.value(arrows)));
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        return usage(QStringLiteral("No chart file given."));
    if (files.size() > 1)
        return usage(QStringLiteral("One chart file expected, %1 given.").arg(files.size()));

    const QString& name = files.first();
    if (parser.isSet(import))
        return importDrawing(name, parser.value(output), parser.isSet(start) || parser.isSet(end), parser.value(start),
            parser.value(end));
    QFile file(name);
    ChartStream::Chart chart;
    QString error;
    if (!file.open(QIODevice::ReadOnly))
        return complain(name + QLatin1String(": ") + file.errorString(), EXIT_FAILURE);
    if (!ChartStream::read(&file, chart, &error))
        return complain(name + QLatin1String(": ") + error, EXIT_FAILURE);
    if (parser.isSet(start))
        chart.window.startTag = parser.value(start);
    if (parser.isSet(end))
        chart.window.endTag = parser.value(end);

    CharGrid::Input input = ChartRender::gridInputFor(chart, !parser.isSet(noBox));
    input.style = drawStyle;
    input.arrows = heads;
    std::vector<QString> rows = CharGrid::render(input);
    if (parser.isSet(crop))
        rows = GridCrop::compact(rows, input.startTag, input.endTag);
    const QByteArray drawing = ChartRender::exportBytes(rows);
    if (!parser.isSet(output)) {
        if (!writeStandardOutput(drawing))
            return complain(QStringLiteral("cannot write to standard output"), EXIT_FAILURE);
        return EXIT_SUCCESS;
    }
    const QString target = parser.value(output);
    if (!ChartFiles::writeWhole(target, drawing, &error))
        return complain(target + QLatin1String(": ") + error, EXIT_FAILURE);
    return EXIT_SUCCESS;
}
