#include "mainwindow.h"
#include "textobject.h"
#include "ui_mainwindow.h"

#include <QCursor>
#include <QImage>
#include <QTextEdit>
#include <QtTest>

#include <map>

using Records = std::vector<QPair<MainWindow::WHAT, int>>;
Q_DECLARE_METATYPE(Records)

class TestInteraction : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void click_createsBoxAtClampedOpeningPoint_data();
    void click_createsBoxAtClampedOpeningPoint();
    void clickTwiceOnOnePoint_createsOneBox();
    void findClickedBoth_passesAndTieBreaks_data();
    void findClickedBoth_passesAndTieBreaks();
    void modeClicks_switchButtonsEditorsAndTips_data();
    void modeClicks_switchButtonsEditorsAndTips();
    void rightClick_removesAndRenumbersCreationRecords_data();
    void rightClick_removesAndRenumbersCreationRecords();
    void leftDrag_movesOneBoxOrConnector();
    void connect_drawsConnectorWhoseLayerEqualsFullRepaint();
    void straightConnector_equalFirstStep_isDropped();
    void moveAll_correctsBlockedAxes_data();
    void moveAll_correctsBlockedAxes();
    void moveAllDrag_layerEqualsFullRepaint();
    void hover_followsRestingPointerPerMode_data();
    void hover_followsRestingPointerPerMode();
    void backgroundDrag_movesWindow_middleButtonTogglesShortKeys();
    void clearAllAndRemoveLast_emptyChartAndHistoryButtons();

private:
    QPoint canvasOrigin() const { return window->ui->drawWidget->mapTo(window, QPoint(0, 0)); }
    // Window position whose click opens a default-sized box at the canvas point.
    QPoint boxClickAt(const QPoint& canvasPoint) const { return canvasOrigin() + canvasPoint + QPoint(12, 8); }
    void press(const QPoint& pos, Qt::MouseButton button = Qt::LeftButton);
    void moveHeld(const QPoint& pos, Qt::MouseButtons buttons = Qt::LeftButton);
    void release(const QPoint& pos, Qt::MouseButton button = Qt::LeftButton);
    void drag(const QPoint& from, const QPoint& to, int steps = 8);
    TextObject* box(int i) const { return window->m_data->at(i); }
    void addBox(const QPoint& canvasPoint, const QString& text);
    QImage layer() const { return window->m_draw_lines.toImage(); }
    QImage fullRepaint()
    {
        window->redrawAllLines();
        return layer();
    }

    MainWindow* window = nullptr;
};

void TestInteraction::init()
{
    window = new MainWindow(nullptr, QString());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTRY_VERIFY(!window->m_draw_lines.isNull());
    // The tests send the tick's motion themselves, at the moments they choose.
    window->timer->stop();
}

void TestInteraction::cleanup()
{
    delete window;
    window = nullptr;
}

void TestInteraction::press(const QPoint& pos, Qt::MouseButton button)
{
    QMouseEvent event(QEvent::MouseButtonPress, pos, window->mapToGlobal(pos), button, button, Qt::NoModifier);
    QApplication::sendEvent(window, &event);
}

void TestInteraction::moveHeld(const QPoint& pos, Qt::MouseButtons buttons)
{
    QMouseEvent event(QEvent::MouseMove, pos, window->mapToGlobal(pos), Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(window, &event);
}

void TestInteraction::release(const QPoint& pos, Qt::MouseButton button)
{
    QMouseEvent event(QEvent::MouseButtonRelease, pos, window->mapToGlobal(pos), button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window, &event);
}

void TestInteraction::drag(const QPoint& from, const QPoint& to, int steps)
{
    press(from);
    for (int i = 1; i <= steps; ++i)
        moveHeld(from + (to - from) * i / steps);
    release(to);
}

void TestInteraction::addBox(const QPoint& canvasPoint, const QString& text)
{
    press(boxClickAt(canvasPoint));
    release(boxClickAt(canvasPoint));
    QTest::keyClicks(window->m_data->last()->elem, text);
}

void TestInteraction::click_createsBoxAtClampedOpeningPoint_data()
{
    QTest::addColumn<QPointF>("offset"); // pointer position relative to the canvas origin
    QTest::addColumn<bool>("created");
    QTest::addColumn<QPoint>("opening");
    const double W = 801, H = 801;
    QTest::newRow("inside") << QPointF(100.7, 200.9) << true << QPoint(88, 192);
    QTest::newRow("near top-left clamps to 0") << QPointF(3, 5) << true << QPoint(0, 0);
    QTest::newRow("near bottom-right clamps") << QPointF(W - 2, H - 1) << true << QPoint(int(W) - 24, int(H) - 16);
    QTest::newRow("on the closed right edge") << QPointF(W, 300) << true << QPoint(int(W) - 24, 292);
    QTest::newRow("just past the right edge") << QPointF(W + 1, 300) << false << QPoint();
    QTest::newRow("left of the canvas") << QPointF(-1, 300) << false << QPoint();
}

void TestInteraction::click_createsBoxAtClampedOpeningPoint()
{
    QFETCH(QPointF, offset);
    QFETCH(bool, created);
    QFETCH(QPoint, opening);
    QCOMPARE(window->ui->drawWidget->size(), QSize(801, 801));
    const QPointF pos = QPointF(canvasOrigin()) + offset;
    QMouseEvent event(QEvent::MouseButtonPress, pos, QPointF(window->mapToGlobal(QPoint())) + pos, Qt::LeftButton,
        Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &event);
    QCOMPARE(window->m_data->size(), created ? 1 : 0);
    if (created) {
        QCOMPARE(box(0)->openBoxPoint, opening);
        QCOMPARE(window->removeWhch, (Records{{MainWindow::BOX, 0}}));
    }
}

void TestInteraction::clickTwiceOnOnePoint_createsOneBox()
{
    window->ui->radioButton_3->setChecked(true);
    press(boxClickAt(QPoint(50, 50)));
    press(boxClickAt(QPoint(50, 50)));
    QCOMPARE(window->m_data->size(), 1);
    press(boxClickAt(QPoint(51, 50)));
    QCOMPARE(window->m_data->size(), 2);
}

void TestInteraction::findClickedBoth_passesAndTieBreaks_data()
{
    // Boxes as opening points (each 24 x 16, hit area from 24 left of its centre to 12 right of it),
    // one connector as stored points; the probe point; the expected (found, index, kind).
    QTest::addColumn<QVector<QPoint>>("boxes");
    QTest::addColumn<QVector<QPoint>>("connector");
    QTest::addColumn<QPoint>("probe");
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("kind");
    using V = QVector<QPoint>;
    QTest::newRow("empty chart misses") << V{} << V{} << QPoint(10, 10) << false << -1 << int(MainWindow::LINE);
    QTest::newRow("overlapping boxes: lower index") << V{{100, 100}, {95, 95}} << V{} << QPoint(105, 105) << true << 0 << int(MainWindow::BOX);
    QTest::newRow("box right edge, no slack") << V{{100, 100}} << V{} << QPoint(124, 108) << true << 0 << int(MainWindow::BOX);
    QTest::newRow("box 3 px beyond: pass 5") << V{{100, 100}} << V{} << QPoint(127, 108) << true << 0 << int(MainWindow::BOX);
    QTest::newRow("box 4 px beyond misses") << V{{100, 100}} << V{} << QPoint(128, 108) << false << -1 << int(MainWindow::LINE);
    QTest::newRow("connector 8 px away beats box 1 px away") << V{{100, 100}} << V{{133, 108}} << QPoint(125, 108) << true << 0 << int(MainWindow::LINE);
    QTest::newRow("on a point inside a box: box first") << V{{100, 100}} << V{{110, 108}} << QPoint(110, 108) << true << 0 << int(MainWindow::BOX);
    QTest::newRow("connector 32 px away on y only") << V{} << V{{300, 300}} << QPoint(300, 332) << true << 0 << int(MainWindow::LINE);
    QTest::newRow("connector 33 px away misses") << V{} << V{{300, 300}} << QPoint(300, 333) << false << -1 << int(MainWindow::LINE);
}

void TestInteraction::findClickedBoth_passesAndTieBreaks()
{
    QFETCH(QVector<QPoint>, boxes);
    QFETCH(QVector<QPoint>, connector);
    QFETCH(QPoint, probe);
    for (const QPoint& at : boxes) {
        window->lastMousePosition = at;
        QVERIFY(window->addNewText());
    }
    if (!connector.isEmpty()) {
        window->m_data_line.emplace_back(window->ui->drawWidget, 4, 0, false);
        window->m_data_line.back().points = std::vector<QPoint>(connector.begin(), connector.end());
    }
    const auto hit = window->findClickedBoth(probe);
    QTEST(std::get<0>(hit), "found");
    QTEST(std::get<1>(hit), "index");
    QTEST(int(std::get<2>(hit)), "kind");
}

void TestInteraction::modeClicks_switchButtonsEditorsAndTips_data()
{
    // Clicks on mode buttons (m = Move / Remove, c = Connect, a = Move all); the modes left on,
    // whether the editors take input, and the box tool tip.
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<QString>("on");
    QTest::addColumn<bool>("editorsEnabled");
    QTest::addColumn<bool>("modeTip");
    QTest::newRow("move / remove") << "m" << "m" << false << true;
    QTest::newRow("move / remove twice") << "mm" << "" << true << false;
    QTest::newRow("move / remove then connect") << "mc" << "c" << false << true;
    QTest::newRow("connect then off") << "cc" << "" << true << false;
    QTest::newRow("move all") << "a" << "a" << false << false;
    QTest::newRow("move / remove then move all off keeps the tip") << "maa" << "" << true << true;
    QTest::newRow("connect then move all") << "ca" << "a" << false << true;
}

void TestInteraction::modeClicks_switchButtonsEditorsAndTips()
{
    QFETCH(QString, clicks);
    QFETCH(QString, on);
    addBox(QPoint(100, 100), QStringLiteral("a"));
    addBox(QPoint(300, 100), QStringLiteral("b"));
    const std::map<QChar, QRadioButton*> modes{{QLatin1Char('m'), window->ui->radioButton},
        {QLatin1Char('c'), window->ui->radioButton_2}, {QLatin1Char('a'), window->ui->radioBMoveAll}};
    for (QChar c : clicks)
        QTest::mouseClick(modes.at(c), Qt::LeftButton);
    for (const auto& mode : modes)
        QCOMPARE(mode.second->isChecked(), on.contains(mode.first));
    const QString tip = QStringLiteral("*Move element -> left mouse button click\n*Remove element -> right mouse button click");
    for (int i = 0; i < 2; ++i) {
        QTEST(box(i)->elem->isEnabled(), "editorsEnabled");
        QFETCH(bool, modeTip);
        QCOMPARE(box(i)->elem->toolTip(), modeTip ? tip : QString());
    }
}

void TestInteraction::rightClick_removesAndRenumbersCreationRecords_data()
{
    // Creation order (b = box, l = connector), then the removals (by element, in list terms).
    QTest::addColumn<QString>("created");
    QTest::addColumn<QString>("removed");
    QTest::addColumn<Records>("records");
    const auto B = MainWindow::BOX;
    const auto L = MainWindow::LINE;
    QTest::newRow("middle box") << "bbb" << "b1" << Records{{B, 0}, {B, 1}};
    QTest::newRow("first box") << "bbl" << "b0" << Records{{B, 0}, {L, 0}};
    QTest::newRow("connector among boxes") << "blbl" << "l0" << Records{{B, 0}, {B, 1}, {L, 0}};
    QTest::newRow("empty canvas removes nothing") << "bl" << "-" << Records{{B, 0}, {L, 0}};
}

void TestInteraction::rightClick_removesAndRenumbersCreationRecords()
{
    QFETCH(QString, created);
    QFETCH(QString, removed);
    int boxes = 0;
    int lines = 0;
    std::vector<QPoint> boxAt;
    std::vector<QPoint> lineAt;
    for (QChar kind : created) {
        if (kind == QLatin1Char('b')) {
            boxAt.push_back(QPoint(60 + 150 * boxes++, 60));
            addBox(boxAt.back(), QStringLiteral("x"));
        } else {
            QTest::mouseClick(window->ui->radioButton_2, Qt::LeftButton);
            const QPoint from = canvasOrigin() + QPoint(100, 400 + 100 * lines++);
            drag(from, from + QPoint(200, 0));
            QTest::mouseClick(window->ui->radioButton_2, Qt::LeftButton);
            lineAt.push_back(window->m_data_line.back().points[50]);
        }
    }
    QTest::mouseClick(window->ui->radioButton, Qt::LeftButton);
    QPoint target = canvasOrigin() + QPoint(700, 700);
    if (removed.startsWith(QLatin1Char('b')))
        target = boxClickAt(boxAt[size_t(removed.mid(1).toInt())]);
    else if (removed.startsWith(QLatin1Char('l')))
        target = lineAt[size_t(removed.mid(1).toInt())] + canvasOrigin() + QPoint(12, 8);
    const int boxesBefore = window->m_data->size();
    const size_t linesBefore = window->m_data_line.size();
    press(target, Qt::RightButton);
    release(target, Qt::RightButton);
    QCOMPARE(window->m_data->size(), boxesBefore - (removed.startsWith(QLatin1Char('b')) ? 1 : 0));
    QCOMPARE(window->m_data_line.size(), linesBefore - (removed.startsWith(QLatin1Char('l')) ? 1 : 0));
    QTEST(window->removeWhch, "records");
}

void TestInteraction::leftDrag_movesOneBoxOrConnector()
{
    addBox(QPoint(100, 100), QStringLiteral("move me"));
    const QSize size = box(0)->currentWantedRect.size();
    QTest::mouseClick(window->ui->radioButton, Qt::LeftButton);
    const QPoint grab = canvasOrigin() + QPoint(100, 100) + QPoint(size.width(), size.height()) / 2;
    drag(grab, grab + QPoint(200, 50));
    QCOMPARE(box(0)->currentWantedRect, QRect(QPoint(300, 150), size));
    QVERIFY(!std::get<0>(window->startMovingObject_));

    window->m_data_line.emplace_back(window->ui->drawWidget, 4, 0, false);
    window->m_data_line.back().points = {QPoint(600, 600), QPoint(601, 600)};
    const QPoint onLine = QPoint(600, 600) + canvasOrigin() + QPoint(12, 8);
    drag(onLine, onLine + QPoint(-40, 30));
    // The first step only anchors the drag; the connector follows the rest in the connector frame.
    const QPoint moved = QPoint(-40, 30) - (QPoint(-40, 30) / 8);
    QCOMPARE(window->m_data_line.back().points.front(), QPoint(600, 600) + moved);
}

void TestInteraction::connect_drawsConnectorWhoseLayerEqualsFullRepaint()
{
    window->m_data_line.emplace_back(window->ui->drawWidget, 4, 0, false);
    window->m_data_line.back().points = {QPoint(50, 300), QPoint(700, 300)};
    window->redrawAllLines();
    window->ui->radioButton_3->setChecked(true);
    QTest::mouseClick(window->ui->radioButton_2, Qt::LeftButton);
    const QPoint from = canvasOrigin() + QPoint(200, 200);
    press(from);
    for (int i = 1; i <= 20; ++i)
        moveHeld(from + QPoint(i * 7, i * (i % 3 == 0 ? 9 : 4)));
    release(from + QPoint(140, 120));
    QCOMPARE(window->m_data_line.size(), size_t(2));
    QVERIFY(window->m_data_line.back().points.size() > 40);
    QCOMPARE(window->removeWhch, (Records{{MainWindow::LINE, 1}}));
    const QImage drawn = layer();
    QCOMPARE(drawn, fullRepaint());
    QVERIFY(window->ui->drawOutput->toPlainText().contains(QLatin1Char('*')));
}

void TestInteraction::straightConnector_equalFirstStep_isDropped()
{
    window->ui->drawStraightLines->setChecked(true);
    QTest::mouseClick(window->ui->radioButton_2, Qt::LeftButton);
    const QPoint from = canvasOrigin() + QPoint(200, 200);
    press(from);
    QCOMPARE(window->m_data_line.size(), size_t(1));
    moveHeld(from + QPoint(5, -5));
    QCOMPARE(window->m_data_line.size(), size_t(0));
    QVERIFY(window->removeWhch.empty());
    QVERIFY(!window->startDrawingLines.first);
    moveHeld(from + QPoint(30, 5));
    QCOMPARE(window->m_data_line.size(), size_t(0));
    release(from);

    press(from);
    moveHeld(from + QPoint(30, 5));
    moveHeld(from + QPoint(60, 40));
    QCOMPARE(window->m_data_line.size(), size_t(1));
    // A mostly horizontal first step fixes the row after it; later samples keep that row.
    const std::vector<QPoint>& points = window->m_data_line[0].points;
    QCOMPARE(points.back() - points.front(), QPoint(60, 5));
}

void TestInteraction::moveAll_correctsBlockedAxes_data()
{
    QTest::addColumn<QPoint>("boxAt");
    QTest::addColumn<QPoint>("step");
    QTest::addColumn<QPoint>("boxMoved");
    QTest::addColumn<QPoint>("lineMoved");
    // Only a correction of 0 or more blocks an axis: a box short of the left or top edge just stops
    // there, while a box already at an edge holds every box on that axis, and connectors with them.
    QTest::newRow("free") << QPoint(300, 300) << QPoint(-20, 12) << QPoint(-20, 12) << QPoint(-20, 12);
    QTest::newRow("short of the left edge stops at 0") << QPoint(5, 300) << QPoint(-20, 12) << QPoint(-5, 12) << QPoint(-20, 12);
    QTest::newRow("at the left edge blocks x") << QPoint(0, 300) << QPoint(-20, 12) << QPoint(0, 12) << QPoint(0, 12);
    QTest::newRow("at the top edge blocks y") << QPoint(300, 0) << QPoint(16, -20) << QPoint(16, 0) << QPoint(16, 0);
    QTest::newRow("at the right edge blocks x") << QPoint(777, 300) << QPoint(20, 12) << QPoint(0, 12) << QPoint(0, 12);
    QTest::newRow("blocked on both: nothing moves") << QPoint(0, 0) << QPoint(-20, -20) << QPoint(0, 0) << QPoint(0, 0);
}

void TestInteraction::moveAll_correctsBlockedAxes()
{
    QFETCH(QPoint, boxAt);
    QFETCH(QPoint, step);
    addBox(QPoint(400, 500), QStringLiteral("grab"));
    addBox(boxAt, QStringLiteral("edge"));
    window->m_data_line.emplace_back(window->ui->drawWidget, 4, 0, false);
    window->m_data_line.back().points = {QPoint(200, 600), QPoint(201, 600)};
    const QPoint lineBefore = window->m_data_line.back().points.front();
    const QPoint boxBefore = box(1)->currentWantedRect.topLeft();
    QTest::mouseClick(window->ui->radioBMoveAll, Qt::LeftButton);
    const QPoint grab = boxClickAt(QPoint(400, 500));
    press(grab);
    moveHeld(grab); // anchors the drag
    moveHeld(grab + step);
    release(grab + step);
    QTEST(box(1)->currentWantedRect.topLeft() - boxBefore, "boxMoved");
    QTEST(window->m_data_line.back().points.front() - lineBefore, "lineMoved");
}

void TestInteraction::moveAllDrag_layerEqualsFullRepaint()
{
    addBox(QPoint(380, 380), QStringLiteral("centre"));
    for (int i = 0; i < 6; ++i) {
        window->m_data_line.emplace_back(window->ui->drawWidget, 4, i, false);
        for (int x = 0; x < 300; x += 3)
            window->m_data_line.back().addPoints(QPoint(40 + 10 * i + x, 100 + 60 * i + (x % 7)));
    }
    window->redrawAllLines();
    QTest::mouseClick(window->ui->radioBMoveAll, Qt::LeftButton);
    const QPoint grab = boxClickAt(QPoint(380, 380));
    // Right and down, then far left so connectors leave the canvas, then back.
    press(grab);
    for (const QPoint& to : {QPoint(0, 0), QPoint(30, 20), QPoint(60, 50), QPoint(-200, 40), QPoint(-300, 40), QPoint(0, 0)}) {
        moveHeld(grab + to);
        QCOMPARE(layer(), fullRepaint());
    }
    release(grab);
}

void TestInteraction::hover_followsRestingPointerPerMode_data()
{
    QTest::addColumn<QString>("mode"); // button clicked: m, a, c or none
    QTest::addColumn<QString>("pointer"); // over the first box, the connector, empty canvas, off the canvas
    QTest::addColumn<QString>("lit"); // highlighted: b0 b1 l0 in that order
    QTest::newRow("move / remove over box") << "m" << "box" << "100";
    QTest::newRow("move / remove over connector") << "m" << "line" << "001";
    QTest::newRow("move / remove on empty canvas") << "m" << "empty" << "000";
    QTest::newRow("move / remove off canvas keeps the last") << "m" << "off" << "100";
    QTest::newRow("move all over box lights everything") << "a" << "box" << "111";
    QTest::newRow("move all on empty canvas") << "a" << "empty" << "000";
    QTest::newRow("connect sends no motion") << "c" << "box" << "000";
}

void TestInteraction::hover_followsRestingPointerPerMode()
{
    QFETCH(QString, mode);
    QFETCH(QString, pointer);
    addBox(QPoint(100, 100), QStringLiteral("first"));
    addBox(QPoint(400, 100), QStringLiteral("second"));
    window->m_data_line.emplace_back(window->ui->drawWidget, 4, 0, false);
    window->m_data_line.back().points = {QPoint(300, 600), QPoint(301, 600)};
    QTest::mouseClick(mode == QLatin1String("m") ? window->ui->radioButton
            : mode == QLatin1String("a")         ? window->ui->radioBMoveAll
                                                 : window->ui->radioButton_2,
        Qt::LeftButton);
    const auto restAt = [&](const QPoint& windowPos) {
        QCursor::setPos(window->mapToGlobal(windowPos));
        window->checkMouseMove();
    };
    restAt(boxClickAt(QPoint(100, 100)));
    if (pointer == QLatin1String("line"))
        restAt(QPoint(300, 600) + canvasOrigin() + QPoint(12, 8));
    else if (pointer == QLatin1String("empty"))
        restAt(canvasOrigin() + QPoint(700, 300));
    else if (pointer == QLatin1String("off"))
        restAt(QPoint(canvasOrigin().x() + 900, 300));
    const QString lit = QString::number(box(0)->isHighlighted()) + QString::number(box(1)->isHighlighted())
        + QString::number(window->m_data_line[0].isChecked);
    QTEST(lit, "lit");
    QCOMPARE(box(0)->elem->styleSheet().contains(QStringLiteral("rgb(65,105,225)")), lit[0] == QLatin1Char('1'));
    QCOMPARE(layer(), fullRepaint());
}

void TestInteraction::backgroundDrag_movesWindow_middleButtonTogglesShortKeys()
{
    const QPoint before = window->pos();
    const QPoint off = canvasOrigin() + QPoint(900, 300);
    press(off);
    QMouseEvent moved(QEvent::MouseMove, off + QPoint(15, 10), window->mapToGlobal(off) + QPoint(15, 10), Qt::NoButton,
        Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &moved);
    QCOMPARE(window->pos(), before + QPoint(15, 10));
    release(off);

    QVERIFY(window->ui->shortKeysRadioButton->isChecked());
    press(boxClickAt(QPoint(200, 200)), Qt::MiddleButton);
    QVERIFY(!window->ui->shortKeysRadioButton->isChecked());
    QCOMPARE(window->m_data->size(), 0);
    press(boxClickAt(QPoint(200, 200)), Qt::MiddleButton);
    QVERIFY(window->ui->shortKeysRadioButton->isChecked());
}

void TestInteraction::clearAllAndRemoveLast_emptyChartAndHistoryButtons()
{
    addBox(QPoint(100, 100), QStringLiteral("a"));
    QTest::mouseClick(window->ui->radioButton_2, Qt::LeftButton);
    drag(canvasOrigin() + QPoint(100, 300), canvasOrigin() + QPoint(300, 300));
    QTest::mouseClick(window->ui->radioButton_2, Qt::LeftButton);
    addBox(QPoint(400, 100), QStringLiteral("b"));

    QMetaObject::invokeMethod(window, "on_pushButton_clicked");
    QCOMPARE(window->m_data->size(), 1);
    QMetaObject::invokeMethod(window, "on_pushButton_clicked");
    QCOMPARE(window->m_data_line.size(), size_t(0));
    QCOMPARE(window->removeWhch, (Records{{MainWindow::BOX, 0}}));
    QCOMPARE(layer(), fullRepaint());

    window->ui->goBack->setEnabled(true);
    QTest::mouseClick(window->ui->pushButton_4, Qt::LeftButton);
    QCOMPARE(window->m_data->size(), 0);
    QVERIFY(window->removeWhch.empty());
    QVERIFY(!window->ui->goBack->isEnabled() && !window->ui->goForward->isEnabled());
    QVERIFY(window->ui->drawOutput->toPlainText().isEmpty());
    addBox(QPoint(100, 100), QStringLiteral("again"));
    QCOMPARE(window->m_data->size(), 1);
}

QTEST_MAIN(TestInteraction)
#include "tst_interaction.moc"
