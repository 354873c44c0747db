#include "mainwindow.h"
#include "textobject.h"
#include "ui_mainwindow.h"

#include <QImage>
#include <QLabel>
#include <QtTest>

#include <set>

class TestConnectorLayer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startUp_laysTransparentLayerOverCanvas();
    void redraw_paintsEachConnectorInItsColour_data();
    void redraw_paintsEachConnectorInItsColour();
    void redraw_afterLastConnectorRemoved_leavesNoTrace();
    void singlePointConnector_paintsNothing();
    void connectorPartlyOffCanvas_isClippedNotDropped();
    void boxes_lieAboveTheLayer();

private:
    Line& addConnector(const std::vector<QPoint>& samples);
    QImage layer() const;
    // Every distinct colour on the layer, transparent pixels included as 0.
    std::set<QRgb> coloursOnLayer() const;

    MainWindow* window = nullptr;
};

void TestConnectorLayer::init()
{
    window = new MainWindow(nullptr, QString());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTRY_VERIFY(!window->m_draw_lines.isNull());
}

void TestConnectorLayer::cleanup()
{
    delete window;
    window = nullptr;
}

Line& TestConnectorLayer::addConnector(const std::vector<QPoint>& samples)
{
    window->m_data_line.emplace_back(window->ui->drawWidget, 4, int(window->m_data_line.size()), false);
    Line& line = window->m_data_line.back();
    for (const QPoint& sample : samples)
        line.addPoints(sample);
    return line;
}

QImage TestConnectorLayer::layer() const
{
    return window->ui->label_2->pixmap(Qt::ReturnByValue).toImage().convertToFormat(QImage::Format_ARGB32);
}

std::set<QRgb> TestConnectorLayer::coloursOnLayer() const
{
    const QImage image = layer();
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            colours.insert(qAlpha(row[x]) == 0 ? 0u : row[x]);
    }
    return colours;
}

void TestConnectorLayer::startUp_laysTransparentLayerOverCanvas()
{
    QCOMPARE(window->m_draw_lines.size(), QSize(801, 801));
    QCOMPARE(window->ui->label_2->geometry(), window->ui->drawWidget->rect());
    QCOMPARE(layer().size(), QSize(801, 801));
    QCOMPARE(coloursOnLayer(), std::set<QRgb>{0u});
}

void TestConnectorLayer::redraw_paintsEachConnectorInItsColour_data()
{
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QRgb>("colour");
    QTest::newRow("plain connector is black") << false << qRgb(0, 0, 0);
    QTest::newRow("hovered connector is royal blue") << true << qRgb(65, 105, 225);
}

void TestConnectorLayer::redraw_paintsEachConnectorInItsColour()
{
    QFETCH(bool, checked);
    QFETCH(QRgb, colour);

    addConnector({QPoint(100, 100), QPoint(200, 100), QPoint(200, 160)}).setObjColor(checked);
    window->redrawAllLines();

    const QImage image = layer();
    QCOMPARE(image.pixel(150, 100), colour);
    QCOMPARE(image.pixel(200, 130), colour);
    QCOMPARE(qAlpha(image.pixel(150, 130)), 0);
    QCOMPARE(qAlpha(image.pixel(150, 104)), 0);
    // Without antialiasing every pixel is either untouched or the pen's colour.
    QCOMPARE(coloursOnLayer(), (std::set<QRgb>{0u, colour}));

    // Two pixels wide across a horizontal run.
    int painted = 0;
    for (int y = 95; y <= 105; ++y)
        painted += qAlpha(image.pixel(150, y)) != 0;
    QCOMPARE(painted, 2);
}

void TestConnectorLayer::redraw_afterLastConnectorRemoved_leavesNoTrace()
{
    addConnector({QPoint(10, 10), QPoint(300, 300)});
    window->redrawAllLines();
    QVERIFY(coloursOnLayer().size() > 1);

    window->m_data_line.clear();
    window->redrawAllLines();
    QCOMPARE(coloursOnLayer(), std::set<QRgb>{0u});
}

void TestConnectorLayer::singlePointConnector_paintsNothing()
{
    addConnector({QPoint(400, 400)});
    window->redrawAllLines();
    QCOMPARE(coloursOnLayer(), std::set<QRgb>{0u});
}

void TestConnectorLayer::connectorPartlyOffCanvas_isClippedNotDropped()
{
    Line& line = addConnector({QPoint(100, 50), QPoint(300, 50)});
    line.updateMovingElementAll(QPoint(-200, 0), true, true);
    window->redrawAllLines();

    QCOMPARE(window->m_data_line.size(), size_t(1));
    const QImage image = layer();
    QCOMPARE(image.pixel(50, 50), qRgb(0, 0, 0));
    QCOMPARE(qAlpha(image.pixel(150, 50)), 0);
}

void TestConnectorLayer::boxes_lieAboveTheLayer()
{
    addConnector({QPoint(0, 120), QPoint(800, 120)});
    window->redrawAllLines();
    window->lastMousePosition = QPoint(300, 110);
    QVERIFY(window->addNewText());
    TextObject* box = window->m_data->last();

    QWidget* top = window->ui->drawWidget->childAt(box->currentWantedRect.center());
    QVERIFY(top);
    QVERIFY2(top == box->elem || box->elem->isAncestorOf(top), "the box covers the connector layer");
    QCOMPARE(window->ui->drawWidget->childAt(QPoint(700, 400)), window->ui->label_2);
}

QTEST_MAIN(TestConnectorLayer)
#include "tst_connectorlayer.moc"
