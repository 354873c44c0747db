#include "chartrender.h"
#include "connectorattach.h"
#include "connectorfill.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace ConnectorAttach;
using Points = std::vector<QPoint>;
Q_DECLARE_METATYPE(Points)

namespace {

const QSize canvas(ChartRender::canvasSize, ChartRender::canvasSize);

// The pixel where a box's text starts in cell c, or the middle pixel of a connector's cell c.
QPoint at(const QPoint& c, bool connector = false)
{
    return QPoint(int(std::lround((c.x() + connector) * 801 / 114.0)), int(std::lround((c.y() + connector) * 801 / 61.0)));
}
Box boxAt(const QPoint& p, const QString& text)
{
    return boxOf(p, QPointF(p.x() / double(canvas.width()), p.y() / double(canvas.height())), text);
}
QPoint textCell(const Box& box)
{
    return QPoint(int(std::lround(box.proportion.x() * 114)), int(std::lround(box.proportion.y() * 61)));
}

// Pixel samples as drawing stores them: each gap filled.
Path sampled(const Points& samples)
{
    Path path;
    for (const QPoint& s : samples) {
        for (const QPoint& p : path.points.empty() ? std::vector<QPoint>() : fillGap(path.points.back(), s))
            path.points.push_back(p), path.fractions.push_back(fractionOf(p, canvas));
        path.points.push_back(s), path.fractions.push_back(fractionOf(s, canvas));
    }
    return path;
}

} // namespace

// Connector ends that a dragged box takes along, checked in the drawing they make.
class TestConnectorAttach : public QObject
{
    Q_OBJECT

private slots:
    // Boxes A and B by the cells their text starts in; one connector through the middles of cells, in
    // straight runs or not; box `moved` goes to cell `to`. The drawing's top-left in the Lines style.
    void draggedBox_takesHeldEndsAlong_data()
    {
        QTest::addColumn<QPoint>("a");
        QTest::addColumn<QPoint>("b");
        QTest::addColumn<Points>("cells");
        QTest::addColumn<int>("moved");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QString>("expected");
        const QPoint a(2, 2), b(14, 2);
        const Points straight({{4, 2}, {12, 2}});
        QTest::newRow("straight, B right") << a << b << straight << 1 << QPoint(22, 2)
            << "\n +-+                 +-+\n |A|---------------->|B|\n +-+                 +-+";
        QTest::newRow("straight, B down") << a << b << straight << 1 << QPoint(14, 5)
            << "\n +-+\n |A||\n +-+|\n    |        +-+\n    +------->|B|\n             +-+";
        QTest::newRow("straight, A past B") << a << b << straight << 0 << QPoint(22, 4)
            << "\n             +-+\n            ^|B|\n            |+-+     +-+\n            +--------|A|-\n                     +-+";
        QTest::newRow("L, B right") << a << QPoint(8, 8) << Points({{4, 2}, {8, 2}, {8, 6}}) << 1 << QPoint(14, 8)
            << "\n +-+\n |A|----------+\n +-+          |\n              |\n              |\n              v\n             +-+\n             |B|\n             +-+";
        QTest::newRow("freehand, B down") << a << b << Points({{4, 2}, {8, 3}, {12, 2}}) << 1 << QPoint(14, 6)
            << "\n +-+\n |A|\\\n +-+ \\\n      \\\n       \\--   +-+\n          \\->|B|\n             +-+";
        QTest::newRow("both ends on A") << QPoint(4, 4) << b << Points({{4, 2}, {8, 2}, {8, 4}, {6, 4}}) << 0 << QPoint(10, 6)
            << "\n             +-+\n             |B|\n             +-+\n          ----+\n         +-+  |\n         |A|<-+\n         +-+";
        QTest::newRow("two cells off: stays") << a << b << Points({{4, 2}, {11, 2}}) << 1 << QPoint(14, 6)
            << "\n +-+\n |A|------->\n +-+\n\n             +-+\n             |B|\n             +-+";
    }

    void draggedBox_takesHeldEndsAlong()
    {
        QFETCH(QPoint, a);
        QFETCH(QPoint, b);
        QFETCH(Points, cells);
        QFETCH(int, moved);
        QFETCH(QPoint, to);
        Box boxes[2] = {boxAt(at(a), QStringLiteral("A")), boxAt(at(b), QStringLiteral("B"))};
        const Box from = boxes[moved];
        boxes[moved] = boxAt(at(to), QString(QLatin1Char('A' + moved)));
        Points samples;
        for (const QPoint& c : cells)
            samples.push_back(at(c, true));
        Path path = sampled(samples);
        for (Attachment& held : attachedEnds(from, {&path.fractions}, canvas))
            held.start = path, path = follow(held, from, boxes[moved], canvas);
        CharGrid::Input input = ChartRender::emptyInput(canvas, true, QString(), QString());
        input.style = CharGrid::Style::Lines;
        ChartRender::addBox(input, boxes[0].proportion, QStringLiteral("A"));
        ChartRender::addBox(input, boxes[1].proportion, QStringLiteral("B"));
        ChartRender::addConnector(input, path.points.size(), path.fractions);
        QStringList rows;
        for (const QString& row : CharGrid::render(input))
            rows << row.left(36).remove(QRegularExpression(QStringLiteral(" +$")));
        QTEST(rows.join(QLatin1Char('\n')).remove(QRegularExpression(QStringLiteral("\n+$"))), "expected");
    }

    // Random boxes; straight and freehand connectors from a side, on the border or a cell out, to a far end
    // near by or anywhere; random drags (SEED=n repeats a run). The held end keeps its cell beside the box,
    // the other stays, no step skips a cell, nothing leaves the canvas, and the box back puts all back.
    void randomDrags_keepEndsAndContinuity()
    {
        const quint32 seed = qEnvironmentVariableIsSet("SEED") ? quint32(qEnvironmentVariableIntValue("SEED")) : QRandomGenerator::global()->generate();
        qInfo("seed %u", seed);
        QRandomGenerator rng(seed);
        const auto any = [&rng](int low, int high) { return low + int(rng.bounded(high - low + 1)); };
        for (int chart = 0; chart < 200; ++chart) {
            const QString text = QString(any(1, 9), QLatin1Char('x')) + QString(QStringLiteral("\ny")).repeated(any(0, 3));
            const Box from = boxAt(QPoint(any(8, 600), any(14, 600)), text);
            const int w = from.text.width(), h = from.text.height(), side = any(0, 3), out = any(1, 2);
            const QPoint endCell = textCell(from) + (side == 0 ? QPoint(-out, any(0, h - 1)) : side == 1 ? QPoint(w + out - 1, any(0, h - 1))
                : side == 2 ? QPoint(any(0, w - 1), -out) : QPoint(any(0, w - 1), h + out - 1));
            const QPoint near = at(endCell, true) + QPoint(any(-3, 3), any(-6, 6));
            const QPoint far = rng.bounded(3) ? QPoint(any(0, 800), any(0, 800)) : QPoint(qBound(0, near.x() + any(-20, 20), 800), qBound(0, near.y() + any(-20, 20), 800));
            const bool straight = rng.bounded(2), forward = rng.bounded(2);
            Points samples{near, straight ? (side < 2 ? QPoint(far.x(), near.y()) : QPoint(near.x(), far.y())) : QPoint(any(0, 800), any(0, 800)), far};
            if (!forward)
                std::reverse(samples.begin(), samples.end());
            const Path start = sampled(samples);
            std::vector<Attachment> held = attachedEnds(from, {&start.fractions}, canvas);
            QVERIFY(!held.empty() && (forward ? held[0].first : held[0].last));
            held[0].start = start;
            for (int step = 0; step < 4; ++step) {
                const Box to = boxAt(QPoint(any(8, 780 - 7 * w), any(14, 770 - 13 * h)), text);
                const Path now = follow(held[0], from, to, canvas);
                std::vector<QPoint> cells(now.points.size());
                for (size_t i = 0; i < cells.size(); ++i) {
                    QVERIFY(QRect(QPoint(), canvas).contains(now.points[i]) && cellOf(now.fractions.at(i), canvas, cells[i]));
                    const QPoint by = i > 0 ? cells[i] - cells[i - 1] : QPoint();
                    QVERIFY2(std::abs(by.x()) <= 1 && std::abs(by.y()) <= 1, qPrintable(QStringLiteral("seed %1 point %2").arg(seed).arg(i)));
                }
                QCOMPARE((forward ? cells.front() : cells.back()) - textCell(to), endCell - textCell(from));
                QVERIFY((held[0].first || now.points.front() == start.points.front()) && (held[0].last || now.points.back() == start.points.back()));
                QVERIFY(!straight || isRectilinear(now.points));
            }
            QCOMPARE(follow(held[0], from, from, canvas).points, start.points);
        }
    }
};

QTEST_APPLESS_MAIN(TestConnectorAttach)
#include "tst_connectorattach.moc"
