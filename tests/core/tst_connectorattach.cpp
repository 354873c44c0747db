#include "chartrender.h"
#include "connectorattach.h"

#include <QtTest>

using namespace ConnectorAttach;
using Points = QVector<QPoint>;

namespace {

const QSize canvas(ChartRender::canvasSize, ChartRender::canvasSize);

// The pixel where a box's text starts in cell c, or with `connector` the middle pixel of a connector's cell c.
QPoint at(const QPoint& c, bool connector = false)
{
    return QPoint(int(std::lround((c.x() + connector) * 801 / 114.0)), int(std::lround((c.y() + connector) * 801 / 61.0)));
}
Box boxAt(const QPoint& p, const QString& text)
{
    return boxOf(p, QPointF(p) / 801.0, text);
}
// A connector through the middles of these cells, stored as drawing stores it.
Path sampled(const Points& cells)
{
    Path path;
    for (const QPoint& c : cells)
        appendFilled(path, at(c, true), canvas);
    return path;
}

} // namespace

// Connector ends that a dragged box takes along, checked in the drawing they make.
class TestConnectorAttach : public QObject
{
    Q_OBJECT

private slots:
    // Boxes A and B by the cells their text starts in; one connector through the middles of cells, in
    // straight runs or not; B goes to cell `to`. The drawing's top-left in the Lines style.
    void draggedBox_takesHeldEndsAlong_data()
    {
        QTest::addColumn<Points>("boxes");
        QTest::addColumn<Points>("cells");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QString>("expected");
        const Points ab{{2, 2}, {14, 2}}, straight{{4, 2}, {12, 2}};
        QTest::newRow("straight, B down") << ab << straight << QPoint(14, 5) << "\n +-+\n |A||\n +-+|\n    |        +-+\n    +------->|B|\n             +-+";
        QTest::newRow("straight, B past A by its first end")
            << Points{{14, 2}, {2, 2}} << straight << QPoint(22, 4)
            << "\n             +-+\n            ^|A|\n            |+-+     +-+\n            +--------|B|-\n            "
               "         +-+";
        QTest::newRow("freehand, B down") << ab << Points{{4, 2}, {8, 3}, {12, 2}} << QPoint(14, 6)
                                          << "\n +-+\n |A|\\\n +-+ \\\n      \\\n       \\--   +-+\n          \\->|B|\n             +-+";
        QTest::newRow("both ends on B") << Points{{14, 2}, {4, 4}} << Points{{4, 2}, {8, 2}, {8, 4}, {6, 4}} << QPoint(10, 6)
                                        << "\n             +-+\n             |A|\n             +-+\n          ----+\n  "
                                           "       +-+  |\n         |B|<-+\n         +-+";
        QTest::newRow("a row below B") << ab << Points{{4, 2}, {9, 2}, {9, 4}, {14, 4}} << QPoint(20, 2)
                                       << "\n +-+               +-+\n |A|-----+         |B|\n +-+     |         +-+\n         +---------->";
        QTest::newRow("two cells off: stays") << ab << Points{{4, 2}, {11, 2}} << QPoint(14, 6)
                                              << "\n +-+\n |A|------->\n +-+\n\n             +-+\n             |B|\n             +-+";
    }

    void draggedBox_takesHeldEndsAlong()
    {
        QFETCH(Points, boxes);
        QFETCH(Points, cells);
        QFETCH(QPoint, to);
        const Box from = boxAt(at(boxes[1]), QStringLiteral("B"));
        Path path = sampled(cells);
        for (Attachment& held : attachedEnds(from, {&path.fractions}, canvas))
            held.start = path, path = follow(held, from, boxAt(at(to), QStringLiteral("B")), canvas);
        CharGrid::Input input = ChartRender::emptyInput(canvas, true, QString(), QString());
        input.style = CharGrid::Style::Lines;
        ChartRender::addBox(input, QPointF(at(boxes[0])) / 801.0, QStringLiteral("A"));
        ChartRender::addBox(input, QPointF(at(to)) / 801.0, QStringLiteral("B"));
        ChartRender::addConnector(input, path.points.size(), path.fractions);
        QTEST(ChartRender::joinRows(CharGrid::render(input))
                  .remove(QRegularExpression(QStringLiteral("(?m) +$")))
                  .remove(QRegularExpression(QStringLiteral("\n+$"))),
            "expected");
    }
};

QTEST_APPLESS_MAIN(TestConnectorAttach)
#include "tst_connectorattach.moc"
