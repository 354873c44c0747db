// vandora-render: prints a chart backup as the text drawing the program shows for it.
#include "blockrenderer.h"
#include "chartfiles.h"
#include "chartrender.h"
#include "chartstream.h"
#include "drawingreader.h"
#include "markedblock.h"
#include "programinfo.h"
#include "renderoptions.h"
#include "unifieddiff.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int usageError = 2;

const char helpText[] = "NAME\n"
                        "    vandora-render - print a Vandora chart backup as its text drawing\n"
                        "\n"
                        "SYNOPSIS\n"
                        "    vandora-render [--no-box] [--crop] [--start TAG] [--end TAG] [-o FILE] CHART\n"
                        "                   [--style classic|lines|unicode|rounded|heavy|double]\n"
                        "                   [--arrows none|end|both]\n"
                        "    vandora-render --import [--start TAG] [--end TAG] -o CHART.fcb DRAWING|FILE:LINE\n"
                        "    vandora-render --check FILE...\n"
                        "    vandora-render --update FILE...\n"
                        "    vandora-render --help | --version\n"
                        "\n"
                        "DESCRIPTION\n"
                        "    Reads CHART, a backup (*.fcb) written by Vandora's Save, and prints the drawing that\n"
                        "    Vandora renders for it on its 801 x 801 canvas: 61 rows of 114 columns, each row\n"
                        "    framed by the start and end tags stored in the backup. The rows are written in UTF-8,\n"
                        "    separated by a line feed, with none after the last row, exactly as Save writes its\n"
                        "    text file. No display is needed. East Asian wide and fullwidth characters and emoji\n"
                        "    take two columns, as terminals show them; combining marks join the character before.\n"
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
                        "                 unicode: the same in box-drawing characters; rounded: with rounded\n"
                        "                 corners; heavy: in heavy lines; double: in double lines.\n"
                        "    --arrows HEADS\n"
                        "                 Arrow heads of the paths of every style but classic: none, end (the\n"
                        "                 default) or both.\n"
                        "    --check      Check the drawings marked in each FILE against their charts (see MARKED BLOCKS):\n"
                        "                 every block that differs is named, with its rows as a unified diff.\n"
                        "    --update     Rewrite the marked drawings that differ from their charts, in place; a file\n"
                        "                 whose drawings all match is not written.\n"
                        "    --import     Read DRAWING, a text drawing in any style (a file Save wrote, or a drawing copied\n"
                        "                 out of a comment), and write it as the chart backup given by -o. The tags are\n"
                        "                 found as the rows' common start and end unless --start or --end give them.\n"
                        "                 A line on standard error tells the options that draw the chart the same again\n"
                        "                 and how many characters could not be placed. FILE:LINE reads the drawing\n"
                        "                 marked in FILE (see MARKED BLOCKS) whose lines hold LINE, with the block's tags.\n"
                        "    --help       Print this help and exit.\n"
                        "    --version    Print the version and exit.\n"
                        "\n"
                        "MARKED BLOCKS\n"
                        "    In any text file, a line holding 'vandora:', a blank, a chart path (from the file's folder)\n"
                        "    and optionally --no-box, --crop, --start, --end, --style or --arrows opens a block; the next\n"
                        "    line holding 'vandora: end' closes it. The lines between are the drawing, exactly as\n"
                        "    vandora-render prints it for that chart with those options. Words with blanks are quoted\n"
                        "    with ' or \"; a last word */ or --> is left out. Marker lines are never changed. Files\n"
                        "    holding a NUL byte are taken for binary and skipped.\n"
                        "        // vandora:"
                        " flow.fcb --style lines --crop --start '// '\n"
                        "        // +-----+\n"
                        "        // |Start|\n"
                        "        // +-----+\n"
                        "        // vandora: end\n"
                        "\n"
                        "EXIT STATUS\n"
                        "    0  The drawing was written; with --check, every drawing matches; with --update, every\n"
                        "       drawing that differed was rewritten.\n"
                        "    1  CHART could not be read or is not a valid chart, or the output could not be written;\n"
                        "       with --check, a drawing differs; with --check or --update, a FILE or a block's chart\n"
                        "       cannot be read, a block is not closed or has a bad option (FILE:LINE: reason).\n"
                        "    2  Wrong usage.\n"
                        "\n"
                        "EXAMPLES\n"
                        "    vandora-render --start '// ' plan.fcb > plan.txt\n"
                        "    git ls-files -z | xargs -0 vandora-render --check\n";

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

// Writes at once, so reports on standard output and standard error keep their order.
void print(FILE* stream, const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

// The drawing of the marked block holding line `line` of `text`, with the tags its --start and --end
// give (when it gives neither, the reader finds them); false, with the reason, when no block holds it.
bool markedDrawing(const QByteArray& text, int line, QByteArray& drawing, DrawingReader::Options& tags, QString* error)
{
    const std::vector<MarkedBlock::Block> blocks = MarkedBlock::parse(text);
    const int index = MarkedBlock::blockAt(blocks, line);
    if (index < 0) {
        *error = QStringLiteral("no marked drawing holds line %1").arg(line);
        return false;
    }
    const MarkedBlock::Block& block = blocks[size_t(index)];
    drawing.clear();
    for (const QByteArray& row : block.drawing)
        drawing += row + '\n';
    QString chart;
    RenderOptions::Options options;
    QString ignored;
    RenderOptions::parseChartArguments(block.arguments, chart, options, &ignored);
    tags = {options.replaceStartTag || options.replaceEndTag, options.startTag, options.endTag};
    return true;
}

// Reads a text drawing, or with "FILE:LINE" the marked drawing holding that line of FILE, into a chart
// backup; the tags are given when either option is set.
int importDrawing(const QString& name, const QString& target, bool tagsGiven, const QString& start, const QString& end)
{
    if (target.isEmpty())
        return usage(QStringLiteral("--import needs -o CHART.fcb."));
    const QRegularExpressionMatch fileLine = QRegularExpression(QStringLiteral("^(.+):([1-9][0-9]{0,8})$")).match(name);
    const bool marked = !QFileInfo::exists(name) && fileLine.hasMatch();
    const QString fileName = marked ? fileLine.captured(1) : name;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return complain(fileName + QLatin1String(": ") + file.errorString(), EXIT_FAILURE);
    QByteArray bytes = file.readAll();
    DrawingReader::Options tags{tagsGiven, start, end};
    QString error;
    if (marked && !markedDrawing(QByteArray(bytes), fileLine.captured(2).toInt(), bytes, tags, &error))
        return complain(fileName + QLatin1String(": ") + error, EXIT_FAILURE);
    if (tagsGiven)
        tags = {true, start, end};
    DrawingReader::Result read;
    if (!DrawingReader::readText(bytes, read, &error, tags))
        return complain(name + QLatin1String(": ") + error, EXIT_FAILURE);
    if (!ChartFiles::writeWhole(target, ChartStream::toBytes(read.chart), &error))
        return complain(target + QLatin1String(": ") + error, EXIT_FAILURE);
    const auto counted = [](size_t n, const char* one, const char* many) { return QString::number(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many); };
    complain(QStringLiteral("%1: %2 and %3, drawn again with --style %4 --arrows %5%6; %7 could not be placed.")
                 .arg(name, counted(read.chart.boxes.size(), "box", "boxes"), counted(read.chart.connectors.size(), "connector", "connectors"),
                     CharGrid::nameOf(read.style), CharGrid::nameOf(read.arrows), read.drawBorders ? QString() : QStringLiteral(" --no-box"),
                     counted(size_t(read.unplaced), "character", "characters")),
        EXIT_SUCCESS);
    return EXIT_SUCCESS;
}

bool writeStandardOutput(const QByteArray& bytes)
{
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size()) && std::fflush(stdout) == 0;
}

// Prints the drawing of the one chart named on the command line.
int renderChart(const QCommandLineParser& parser, const QCommandLineOption& output)
{
    RenderOptions::Options options;
    QString error;
    if (!RenderOptions::readFrom(parser, options, &error))
        return usage(error);
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        return usage(QStringLiteral("No chart file given."));
    if (files.size() > 1)
        return usage(QStringLiteral("One chart file expected, %1 given.").arg(files.size()));

    const QString& name = files.first();
    ChartStream::Chart chart;
    if (!ChartFiles::readChart(name, chart, &error))
        return complain(name + QLatin1String(": ") + error, EXIT_FAILURE);
    const QByteArray drawing = ChartRender::exportBytes(RenderOptions::render(chart, options));
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

// Checks, or with `update` rewrites, the marked drawings of one text file; false on any difference
// left or any problem, each reported as "FILE:LINE: reason".
bool syncFile(const QString& name, bool update, BlockRenderer& renderer)
{
    const QByteArray local = name.toLocal8Bit();
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        print(stderr, local + ": " + file.errorString().toLocal8Bit() + '\n');
        return false;
    }
    const QByteArray text = file.readAll();
    file.close();
    if (!text.contains("vandora:") || text.contains('\0'))
        return true;
    const std::vector<MarkedBlock::Block> blocks = MarkedBlock::parse(text);
    std::vector<MarkedBlock::Drawing> changes;
    QByteArray changed;
    bool ok = true;
    for (const MarkedBlock::Block& block : blocks) {
        BlockRenderer::Result result = renderer.render(name, block);
        const QByteArray where = local + ':' + QByteArray::number(block.line) + ": ";
        if (!result.problem.isEmpty()) {
            print(stderr, where + result.problem.toLocal8Bit() + '\n');
            ok = false;
        } else if (result.rows != block.drawing && update) {
            changed += where + "drawing updated from " + result.chart.toLocal8Bit() + '\n';
            changes.push_back({&block, std::move(result.rows)});
        } else if (result.rows != block.drawing) {
            print(stdout,
                where + "drawing differs from " + result.chart.toLocal8Bit() + "\n--- " + local + "\n+++ " + local + '\n'
                    + UnifiedDiff::hunks(block.drawing, result.rows, block.line + 1, block.line + 1));
            ok = false;
        }
    }
    if (changes.empty())
        return ok;
    QString error;
    if (!ok) {
        print(stderr, local + ": not written, as a block above cannot be updated\n");
    } else if (!ChartFiles::rewrite(name, MarkedBlock::replaced(text, changes), &error)) {
        print(stderr, local + ": " + error.toLocal8Bit() + '\n');
        ok = false;
    } else {
        print(stdout, changed);
    }
    return ok;
}

// --check or --update over the files named on the command line.
int syncFiles(const QCommandLineParser& parser, bool update)
{
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        return usage(QStringLiteral("No file given to %1.").arg(update ? QStringLiteral("--update") : QStringLiteral("--check")));
    BlockRenderer renderer;
    bool ok = true;
    for (const QString& name : files)
        ok = syncFile(name, update, renderer) && ok;
    return ok ? EXIT_SUCCESS : EXIT_FAILURE;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    RenderOptions::addTo(parser);
    const QCommandLineOption output(QStringLiteral("o"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption check(QStringLiteral("check"));
    const QCommandLineOption update(QStringLiteral("update"));
    const QCommandLineOption help(QStringLiteral("help"));
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption import(QStringLiteral("import"));
    parser.addOptions({output, check, update, help, version, import});
    if (!parser.parse(app.arguments()))
        return usage(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(helpText, stdout);
        return EXIT_SUCCESS;
    }
    if (parser.isSet(version)) {
        std::printf("vandora-render %s\n", ProgramInfo::version().toUtf8().constData());
        return EXIT_SUCCESS;
    }
    if (parser.isSet(import)) {
        const QStringList files = parser.positionalArguments();
        if (parser.isSet(check) || parser.isSet(update))
            return usage(QStringLiteral("--import excludes --check and --update."));
        if (files.size() != 1)
            return usage(QStringLiteral("--import reads one drawing, %1 given.").arg(files.size()));
        const QString start = QStringLiteral("start"), end = QStringLiteral("end");
        return importDrawing(files.first(), parser.value(output), parser.isSet(start) || parser.isSet(end), parser.value(start), parser.value(end));
    }
    if (!parser.isSet(check) && !parser.isSet(update))
        return renderChart(parser, output);
    if (parser.isSet(check) && parser.isSet(update))
        return usage(QStringLiteral("--check and --update exclude each other."));
    if (parser.isSet(output) || RenderOptions::anyGiven(parser))
        return usage(QStringLiteral("--check and --update take the render options from each block, not from the command line."));
    return syncFiles(parser, parser.isSet(update));
}
