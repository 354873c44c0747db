#include "chartrender.h"
#include "connectorfill.h"
#include "drawingreader.h"
#include "gridcrop.h"

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

// A chart Vandora could draw whose boxes and connectors keep a blank cell between each other: boxes at
// pixel positions, connectors of straight runs and slants sampled and filled as the mouse draws them.
class RandomChart
{
public:
    explicit RandomChart(QRandomGenerator& random)
        : m_random(random), m_used(size_t(rows * cols), false)
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
        QStringList lines;
        for (int n = 1 + int(m_random.bounded(3)); n > 0; --n) {
            QString line;
            for (int k = int(m_random.bounded(9)); k > 0; --k)
                line += QLatin1Char("ab cdXYZ12.:"[m_random.bounded(12)]);
            lines << line;
        }
        ChartStream::BoxRecord box;
        box.text = lines.join(QLatin1Char('\n'));
        box.proportion = QPointF(m_random.bounded(canvas) / double(canvas), m_random.bounded(canvas) / double(canvas));
        const int top = qRound(box.proportion.y() * rows), left = qRound(box.proportion.x() * cols);
        int width = 0;
        for (const QString& line : lines)
            width = std::max(width, line.size());
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
        // Only cells next to each other along the path may touch.
        for (size_t i = 0; i < cells.size(); ++i)
            for (size_t j = i + 3; j < cells.size(); ++j)
                if (std::abs(cells[i].x() - cells[j].x()) <= 1 && std::abs(cells[i].y() - cells[j].y()) <= 1)
                    return;
        if (claim(cells))
            chart.connectors.push_back(line);
    }

    QRandomGenerator& m_random;
    std::vector<bool> m_used;
};

} // namespace

class TestDrawingReader : public QObject
{
    Q_OBJECT

private slots:
    void randomCharts_readBackDrawTheSameRows()
    {
        const quint32 seed = qEnvironmentVariableIsSet("VANDORA_SEED") ? quint32(qEnvironmentVariableIntValue("VANDORA_SEED")) : QRandomGenerator::global()->generate();
        qInfo("seed %u", seed);
        QRandomGenerator random(seed);
        const QStringList tags[][2] = {{{}, {}}, {{QStringLiteral("// ")}, {}}, {{QStringLiteral("<!-- ")}, {QStringLiteral(" -->")}}};
        for (int i = 0; i < 1000; ++i) {
            RandomChart made(random);
            for (const Style style : CharGrid::allStyles) {
                const Arrows arrows = Arrows(random.bounded(3));
                const bool borders = random.bounded(4) != 0, compact = random.bounded(2);
                const QStringList* tag = tags[random.bounded(3)];
                made.chart.window.startTag = tag[0].value(0);
                made.chart.window.endTag = tag[1].value(0);
                Rows drawn = render(made.chart, style, arrows, borders);
                if (compact)
                    drawn = GridCrop::compact(drawn, made.chart.window.startTag, made.chart.window.endTag);
                const DrawingReader::Result read = DrawingReader::read(QStringList(drawn.begin(), drawn.end()));
                Rows again = renderRead(read);
                if (compact)
                    again = GridCrop::compact(again, read.chart.window.startTag, read.chart.window.endTag);
                if (again != drawn)
                    qInfo().noquote() << "chart" << i << CharGrid::nameOf(style) << CharGrid::nameOf(arrows) << borders << compact
                                      << "\n" << QStringList(drawn.begin(), drawn.end()).join(QLatin1Char('\n'))
                                      << "\nread back as\n" << QStringList(again.begin(), again.end()).join(QLatin1Char('\n'));
                QCOMPARE(again, drawn);
                QCOMPARE(read.unplaced, 0);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestDrawingReader)
#include "tst_drawingreader.moc"
