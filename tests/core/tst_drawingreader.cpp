#include "chartrender.h"
#include "connectorfill.h"
#include "drawingreader.h"
#include "gridcrop.h"
#include "textcolumns.h"

#include <QRandomGenerator>
#include <QtTest>

using CharGrid::Arrows;
using CharGrid::Style;
using Rows = std::vector<QString>;

namespace {

constexpr int rows = 61, cols = 114, canvas = ChartRender::canvasSize;

Rows render(const ChartStream::Chart& chart, Style style, Arrows arrows, bool borders)
{
    CharGrid::Input input = ChartRender::gridInputFor(chart, borders);
    input.style = style;
    input.arrows = arrows;
    return CharGrid::render(input);
}

Rows renderRead(const DrawingReader::Result& read)
{
    return render(read.chart, read.style, read.arrows, read.drawBorders);
}

// The rendered rows, cut to the chart's when `compact`.
QStringList drawnRows(Rows rows, const ChartStream::Chart& chart, bool compact)
{
    if (compact)
        rows = GridCrop::compact(rows, chart.window.startTag, chart.window.endTag);
    return QStringList(rows.begin(), rows.end());
}

// A chart the window could make, whose boxes and connectors keep a blank cell between each other: boxes at
// pixel positions, connectors of straight runs and slants sampled and filled as the mouse draws them.
class RandomChart
{
public:
    explicit RandomChart(QRandomGenerator& random)
        : m_random(random)
        , m_used(size_t(rows * cols), false)
    {
        for (int i = int(random.bounded(7)); i > 0; --i)
            addBox();
        for (int i = int(random.bounded(7)); i > 0; --i)
            addConnector();
    }

    ChartStream::Chart chart;

private:
    bool claim(const std::vector<QPoint>& cells)
    {
        for (const QPoint& c : cells) {
            for (int r = c.y() - 1; r <= c.y() + 1; ++r)
                for (int k = c.x() - 1; k <= c.x() + 1; ++k)
                    if (r < 0 || k < 0 || r >= rows || k >= cols || m_used[size_t(r * cols + k)])
                        return false;
        }
        for (const QPoint& c : cells)
            m_used[size_t(c.y() * cols + c.x())] = true;
        return true;
    }

    void addBox()
    {
        // Wide characters and a letter with a combining mark among them.
        static const QStringList characters = QString("a|b| |c|d|X|Y|Z|1|2|.|:|中|😀|e\u0301").split('|');
        QStringList lines;
        int width = 0;
        for (int n = 1 + int(m_random.bounded(3)); n > 0; --n) {
            lines << QString();
            for (int k = int(m_random.bounded(9)); k > 0; --k)
                lines.last() += characters[int(m_random.bounded(characters.size()))];
            width = std::max(width, TextColumns::columnsOf(lines.last()));
        }
        ChartStream::BoxRecord box;
        box.text = lines.join('\n');
        const QPoint at(int(m_random.bounded(canvas)), int(m_random.bounded(canvas)));
        // The window keeps a box, its text inset by a pixel and extended by 10 x 6, on the canvas.
        if (at.x() + 7 * width + 12 > canvas || at.y() + 13 * int(lines.size()) + 8 > canvas)
            return;
        box.proportion = QPointF(at.x() / double(canvas), at.y() / double(canvas));
        const int top = qRound(box.proportion.y() * rows), left = qRound(box.proportion.x() * cols);
        std::vector<QPoint> cells;
        for (int r = top - 1; r <= top + lines.size(); ++r)
            for (int c = left - 1; c <= left + width; ++c)
                cells.emplace_back(c, r);
        if (!box.text.isEmpty() && claim(cells))
            chart.boxes.push_back(box);
    }

    void addConnector()
    {
        QPoint at(int(m_random.bounded(canvas)), int(m_random.bounded(canvas)));
        std::vector<QPoint> points{at};
        for (int n = 1 + int(m_random.bounded(4)); n > 0; --n) {
            static const QPoint ways[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {1, -1}, {-1, 1}, {-1, -1}};
            const QPoint to = at + ways[m_random.bounded(8)] * (8 + int(m_random.bounded(120)));
            const std::vector<QPoint> gap = fillGap(at, to);
            points.insert(points.end(), gap.begin(), gap.end());
            points.push_back(at = to);
        }
        ChartStream::ConnectorRecord line;
        std::vector<QPoint> cells;
        for (const QPoint& p : points) {
            line.points.push_back(p);
            line.fractions.push_back(fractionOf(p, QSize(canvas, canvas)));
            const QPoint cell(qRound(line.fractions.back().first * float(cols)) - 1, qRound(line.fractions.back().second * float(rows)) - 1);
            if (cells.empty() || cells.back() != cell)
                cells.push_back(cell);
        }
        // A connector passes each cell once, and only cells near each other along it touch: two cells apart
        // along it, at most corner to corner (a sharper turn folds the path onto itself, which no reader can
        // tell from a fork).
        for (size_t i = 0; i < cells.size(); ++i)
            for (size_t j = i + 2; j < cells.size(); ++j) {
                const int dx = std::abs(cells[i].x() - cells[j].x()), dy = std::abs(cells[i].y() - cells[j].y());
                if (j == i + 2 ? dx + dy <= 1 : dx <= 1 && dy <= 1)
                    return;
            }
        if (claim(cells))
            chart.connectors.push_back(line);
    }

    QRandomGenerator& m_random;
    std::vector<bool> m_used;
};

} // namespace

Q_DECLARE_METATYPE(CharGrid::Style)

class TestDrawingReader : public QObject
{
    Q_OBJECT

private slots:
    void read_findsBoxesAndConnectorsThatDrawTheSameRows_data()
    {
        QTest::addColumn<QStringList>("drawing");
        QTest::addColumn<Style>("style");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("connectors");
        QTest::addColumn<int>("unplaced");
        const auto rows = [](const char* text) { return QString::fromUtf8(text).split(QLatin1Char('\n')); };
        QTest::newRow("classic, two-line box, comment")
            << rows("// |-----|\n// |Start|\n// |here |\n// |-----|  **\n//            ****") << Style::Classic << QStringList{"Start\nhere"} << 1 << 0;
        QTest::newRow("lines, two turns, html comment")
            << rows("<!-- +---+          -->\n<!-- |Go | -----+   -->\n<!-- +---+      |   -->\n<!--            |   "
                    "-->\n<!--            +-> -->")
            << Style::Lines << QStringList{"Go "} << 1 << 0;
        QTest::newRow("unicode, wide character, slant")
            << rows("┌───┐\n│中a│\n└───┘\n      ╲\n       ╲──\n          ►") << Style::Unicode << QStringList{"中a"} << 1 << 0;
        QTest::newRow("heads at both ends") << rows("◄───┐\n    │\n    ▼") << Style::Unicode << QStringList{} << 1 << 0;
        QTest::newRow("crossing in lines") << rows("   |\n---+--->\n   |\n   v") << Style::Lines << QStringList{} << 2 << 0;
        QTest::newRow("no borders, free text") << rows("# Start  ****\n# here     *\n#      Stop") << Style::Classic << QStringList{"Start\nhere", "Stop"} << 1
                                               << 0;
        // Text beside bordered boxes gains a border when drawn again: its fourteen border cells are counted.
        QTest::newRow("free text beside a box") << rows("|--|\n|ab|\n|--|\n\n\n  note") << Style::Classic << QStringList{"ab", "note"} << 0 << 14;
    }

    void read_findsBoxesAndConnectorsThatDrawTheSameRows()
    {
        QFETCH(QStringList, drawing);
        QFETCH(Style, style);
        QFETCH(QStringList, texts);
        const DrawingReader::Result read = DrawingReader::read(drawing);
        QStringList found;
        for (const ChartStream::BoxRecord& box : read.chart.boxes)
            found << box.text;
        QCOMPARE(read.style, style);
        QCOMPARE(found, texts);
        QTEST(int(read.chart.connectors.size()), "connectors");
        QTEST(read.unplaced, "unplaced");
        if (read.unplaced == 0)
            QCOMPARE(drawnRows(renderRead(read), read.chart, true), drawing);
    }

    // Each character beyond the grid's 114 columns is left out; other bad input (rows cut short, ragged tags,
    // stray characters) goes through fuzz_drawingreader.
    void read_countsWhatIsLeftOut() { QCOMPARE(DrawingReader::read(DrawingReader::rowsOf(QString(114, ' ') + QString(16, 'x') + "\ny")).unplaced, 16); }

    // A line of text wider than a box on the canvas can be goes on in a second box: none is wider than the canvas.
    void read_splitsTextWiderThanTheCanvas()
    {
        const DrawingReader::Result read = DrawingReader::read({QString(113, QLatin1Char('w')) + QStringLiteral("x")});
        QString texts;
        for (const ChartStream::BoxRecord& box : read.chart.boxes) {
            QVERIFY(box.currentWantedRect.width() <= 801);
            texts += box.text;
        }
        QCOMPARE(texts, QString(113, QLatin1Char('w')) + QStringLiteral("x"));
    }

    void randomCharts_readBackDrawTheSameRows()
    {
        const quint32 seed = qEnvironmentVariableIsSet("VANDORA_SEED") ? qEnvironmentVariable("VANDORA_SEED").toUInt() : QRandomGenerator::global()->generate();
        qInfo("seed %u", seed);
        QRandomGenerator random(seed);
        const QString tags[][2] = {{}, {"// "}, {"<!-- ", " -->"}};
        for (int i = 0; i < 200; ++i) {
            RandomChart made(random);
            for (const Style style : CharGrid::allStyles) {
                const Arrows arrows = Arrows(random.bounded(3));
                const bool borders = random.bounded(4) != 0, compact = random.bounded(2);
                const QString* tag = tags[random.bounded(3)];
                made.chart.window.startTag = tag[0];
                made.chart.window.endTag = tag[1];
                const QStringList drawn = drawnRows(render(made.chart, style, arrows, borders), made.chart, compact);
                const DrawingReader::Result read = DrawingReader::read(drawn);
                QCOMPARE(drawnRows(renderRead(read), read.chart, compact), drawn);
                QCOMPARE(read.unplaced, 0);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestDrawingReader)
#include "tst_drawingreader.moc"
