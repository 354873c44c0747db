#include "chartrender.h"
#include "connectorattach.h"
#include "connectorfill.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace ConnectorAttach;

namespace {

const QSize canvas(ChartRender::canvasSize, ChartRender::canvasSize);
const QPointF cell(double(canvas.width()) / 114, double(canvas.height()) / 61);

// A box at a canvas pixel, or with its text starting at the cell "column,row".
Box boxAt(const QPoint& p, const QString& text)
{
    return boxOf(p, QPointF(p.x() / double(canvas.width()), p.y() / double(canvas.height())), text);
}
Box boxAt(const QString& at, const QString& text)
{
    const QStringList c = at.split(QLatin1Char(','));
    return boxAt(QPoint(int(std::lround(c[0].toInt() * cell.x())), int(std::lround(c[1].toInt() * cell.y()))), text);
}

// The cell of the box's first character.
QPoint textCell(const Box& box)
{
    return QPoint(int(std::lround(box.proportion.x() * 114)), int(std::lround(box.proportion.y() * 61)));
}

// The pixel in the middle of a connector's cell.
QPoint centreOf(const QPoint& c)
{
    return QPoint(int(std::lround((c.x() + 1) * cell.x())), int(std::lround((c.y() + 1) * cell.y())));
}

// Pixel samples as drawing stores them: each gap filled.
Path sampled(const std::vector<QPoint>& samples)
{
    Path path;
    for (const QPoint& s : samples) {
        if (!path.points.empty())
            for (const QPoint& p : fillGap(path.points.back(), s))
                path.points.push_back(p), path.fractions.push_back(fractionOf(p, canvas));
        path.points.push_back(s), path.fractions.push_back(fractionOf(s, canvas));
    }
    return path;
}

// The connector through the centres of cells "column,row ...", as drawn there.
Path throughCells(const QString& cells)
{
    std::vector<QPoint> samples;
    for (const QString& c : cells.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        samples.push_back(centreOf(QPoint(c.section(QLatin1Char(','), 0, 0).toInt(), c.section(QLatin1Char(','), 1, 1).toInt())));
    return sampled(samples);
}

// The top-left of the drawing in the Lines style, right ends trimmed, without empty rows at the end.
QString drawing(const std::vector<std::pair<Box, QString>>& boxes, const std::vector<Path>& connectors)
{
    CharGrid::Input input = ChartRender::emptyInput(canvas, true, QString(), QString());
    input.style = CharGrid::Style::Lines;
    for (const auto& box : boxes)
        ChartRender::addBox(input, box.first.proportion, box.second);
    for (const Path& path : connectors)
        ChartRender::addConnector(input, path.points.size(), path.fractions);
    QStringList rows;
    for (const QString& row : CharGrid::render(input))
        rows << row.left(36).remove(QRegularExpression(QStringLiteral(" +$")));
    while (!rows.isEmpty() && rows.last().isEmpty())
        rows.removeLast();
    return rows.mid(0, 12).join(QLatin1Char('\n'));
}

// The cells of the path's points, in order.
std::vector<QPoint> cellsOf(const Path& path)
{
    std::vector<QPoint> cells(path.fractions.size());
    for (size_t i = 0; i < cells.size(); ++i)
        cellOf(path.fractions[i], canvas, cells[i]);
    return cells;
}

} // namespace

// Connector ends that a dragged box takes along, checked in the drawing they make.
class TestConnectorAttach : public QObject
{
    Q_OBJECT

private slots:
    // Box A's text starts at a cell, B's likewise; one connector through cell centres, drawn straight
    // ("s") or freehand ("f"); box `moved` goes to cell `to`; the drawing after the move.
    void draggedBox_takesHeldEndsAlong_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("connector");
        QTest::addColumn<int>("moved");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("expected");
        QTest::newRow("straight, B right") << "2,2" << "14,2" << "s 4,2 12,2" << 1 << "22,2"
            << "\n +-+                 +-+\n |A|---------------->|B|\n +-+                 +-+";
        QTest::newRow("straight, B down") << "2,2" << "14,2" << "s 4,2 12,2" << 1 << "14,5"
            << "\n +-+\n |A||\n +-+|\n    |        +-+\n    +------->|B|\n             +-+";
        QTest::newRow("straight, A past B") << "2,2" << "14,2" << "s 4,2 12,2" << 0 << "22,4"
            << "\n             +-+\n            ^|B|\n            |+-+     +-+\n            +--------|A|-\n                     +-+";
        QTest::newRow("L, B right") << "2,2" << "8,8" << "s 4,2 8,2 8,6" << 1 << "14,8"
            << "\n +-+\n |A|----------+\n +-+          |\n              |\n              |\n              v\n             +-+\n             |B|\n             +-+";
        QTest::newRow("freehand, B down") << "2,2" << "14,2" << "f 4,2 8,3 12,2" << 1 << "14,6"
            << "\n +-+\n |A|\\\n +-+ \\\n      \\\n       \\--   +-+\n          \\->|B|\n             +-+";
        QTest::newRow("both ends on A") << "4,4" << "20,9" << "s 4,2 8,2 8,4 6,4" << 0 << "10,6"
            << "\n\n\n\n          ----+\n         +-+  |\n         |A|<-+\n         +-+\n                   +-+\n                   |B|\n                   +-+";
        QTest::newRow("two cells off: stays") << "2,2" << "14,2" << "s 4,2 11,2" << 1 << "14,6"
            << "\n +-+\n |A|------->\n +-+\n\n             +-+\n             |B|\n             +-+";
    }

    void draggedBox_takesHeldEndsAlong()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(QString, connector);
        QFETCH(int, moved);
        QFETCH(QString, to);
        QFETCH(QString, expected);
        std::vector<std::pair<Box, QString>> boxes{{boxAt(a, QStringLiteral("A")), QStringLiteral("A")}, {boxAt(b, QStringLiteral("B")), QStringLiteral("B")}};
        Path path = throughCells(connector.mid(2));
        QCOMPARE(isRectilinear(path.points), connector.startsWith(QLatin1Char('s')));
        std::vector<Attachment> held = attachedEnds(boxes[size_t(moved)].first, {&path.fractions}, canvas);
        const Box from = boxes[size_t(moved)].first;
        boxes[size_t(moved)].first = boxAt(to, boxes[size_t(moved)].second);
        for (Attachment& each : held) {
            each.start = path;
            path = follow(each, from, boxes[size_t(moved)].first, canvas);
            QCOMPARE(follow(each, from, from, canvas).points, each.start.points);
        }
        QCOMPARE(drawing(boxes, {path}), expected);
    }

    // Random boxes, straight and freehand connectors from their sides, random drags (SEED=n repeats a run): held ends stay at their
    // box, other ends stay put, no step skips a cell, nothing leaves the canvas, and going back restores all.
    void randomDrags_keepEndsAndContinuity()
    {
        const quint32 seed = qEnvironmentVariableIsSet("SEED") ? quint32(qEnvironmentVariableIntValue("SEED")) : QRandomGenerator::global()->generate();
        qInfo("seed %u", seed);
        QRandomGenerator rng(seed);
        const auto any = [&rng](int low, int high) { return low + int(rng.bounded(high - low + 1)); };
        for (int chart = 0; chart < 200; ++chart) {
            const QString text = QString(any(1, 9), QLatin1Char('x')) + QString(QStringLiteral("\ny")).repeated(any(0, 3));
            const Box from = boxAt(QPoint(any(8, 600), any(14, 600)), text);
            // An end on the border or one cell out, anywhere in its cell; a far end near it or anywhere.
            const int w = from.text.width(), h = from.text.height(), side = any(0, 3), out = any(1, 2);
            const QPoint nearCell = textCell(from) + (side == 0 ? QPoint(-out, any(0, h - 1)) : side == 1 ? QPoint(w + out - 1, any(0, h - 1))
                : side == 2 ? QPoint(any(0, w - 1), -out) : QPoint(any(0, w - 1), h + out - 1));
            const QPoint near = centreOf(nearCell) + QPoint(any(-3, 3), any(-6, 6));
            const QPoint far = rng.bounded(3) ? QPoint(any(0, 800), any(0, 800)) : QPoint(qBound(0, near.x() + any(-20, 20), 800), qBound(0, near.y() + any(-20, 20), 800));
            const bool straight = rng.bounded(2), forward = rng.bounded(2);
            std::vector<QPoint> samples{near, side < 2 ? QPoint(far.x(), near.y()) : QPoint(near.x(), far.y()), far};
            if (!straight)
                samples[1] = QPoint(any(0, 800), any(0, 800));
            if (!forward)
                std::reverse(samples.begin(), samples.end());
            const Path start = sampled(samples);
            std::vector<Attachment> held = attachedEnds(from, {&start.fractions}, canvas);
            QVERIFY(!held.empty() && (forward ? held[0].first : held[0].last));
            held[0].start = start;
            QPoint endCell;
            cellOf(forward ? start.fractions.front() : start.fractions.back(), canvas, endCell);
            for (int step = 0; step < 4; ++step) {
                const Box to = boxAt(QPoint(any(8, 780 - 7 * w), any(14, 770 - 13 * h)), text);
                const Path now = follow(held[0], from, to, canvas);
                const std::vector<QPoint> cellsNow = cellsOf(now);
                // The held end keeps its cell beside the box; an end the box does not hold stays.
                QCOMPARE((forward ? cellsNow.front() : cellsNow.back()) - textCell(to), endCell - textCell(from));
                QVERIFY(held[0].first || now.points.front() == start.points.front());
                QVERIFY(held[0].last || now.points.back() == start.points.back());
                QCOMPARE(now.fractions.size(), now.points.size());
                QVERIFY(!straight || isRectilinear(now.points));
                for (size_t i = 0; i < now.points.size(); ++i) {
                    QVERIFY(QRect(QPoint(), canvas).contains(now.points[i]));
                    const QPoint step = i > 0 ? cellsNow[i] - cellsNow[i - 1] : QPoint();
                    QVERIFY2(std::abs(step.x()) <= 1 && std::abs(step.y()) <= 1, qPrintable(QStringLiteral("seed %1 point %2").arg(seed).arg(i)));
                }
            }
            QCOMPARE(follow(held[0], from, from, canvas).points, start.points);
        }
    }
};

QTEST_APPLESS_MAIN(TestConnectorAttach)
#include "tst_connectorattach.moc"
