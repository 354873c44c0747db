#include "testwindow.h"

#include <QCursor>

#include <optional>

using Records = std::vector<QPair<MainWindow::WHAT, int>>;
Q_DECLARE_METATYPE(Records)

class TestInteraction : public QObject
{
    Q_OBJECT

private slots:
    void init() { t.emplace(); }
    void cleanup() { t.reset(); }

    void modeClicks_switchButtonsEditorsAndTips_data()
    {
        // Clicks on m (Move / Remove), c (Connect), a (Move all); the modes left on; editors enabled;
        // boxes showing the mode tool tip.
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<QString>("on");
        QTest::addColumn<bool>("editorsEnabled");
        QTest::addColumn<bool>("modeTip");
        QTest::newRow("move / remove") << "m" << "m" << false << true;
        QTest::newRow("move / remove twice") << "mm" << "" << true << false;
        QTest::newRow("move / remove, connect") << "mc" << "c" << false << true;
        QTest::newRow("connect twice") << "cc" << "" << true << false;
        QTest::newRow("move all") << "a" << "a" << false << false;
        QTest::newRow("move all off keeps an earlier tip") << "maa" << "" << true << true;
        QTest::newRow("connect, move all") << "ca" << "a" << false << true;
    }

    void modeClicks_switchButtonsEditorsAndTips()
    {
        QFETCH(QString, clicks);
        QFETCH(QString, on);
        QFETCH(bool, modeTip);
        t->addBox(QPoint(100, 100), QStringLiteral("a"));
        t->addBox(QPoint(300, 100), QStringLiteral("b"));
        for (QChar c : clicks)
            QTest::mouseClick(t->mode(c.toLatin1()), Qt::LeftButton);
        for (char c : {'m', 'c', 'a'})
            QCOMPARE(t->mode(c)->isChecked(), on.contains(QLatin1Char(c)));
        for (int i = 0; i < 2; ++i) {
            QTEST(t->box(i)->elem->isEnabled(), "editorsEnabled");
            QCOMPARE(t->box(i)->elem->toolTip(), modeTip ? QStringLiteral("*Move element -> left mouse button click\n"
                                                                         "*Remove element -> right mouse button click")
                                                         : QString());
        }
    }

    // In "Move / Remove" a right click removes what lies under it and renumbers the later creation records
    // of its kind; on empty canvas it removes nothing.
    void rightClick_removesAndRenumbersCreationRecords()
    {
        const auto B = MainWindow::BOX;
        const auto L = MainWindow::LINE;
        t->addBox(QPoint(60, 60), QStringLiteral("x"));
        t->addBox(QPoint(210, 60), QStringLiteral("y"));
        for (int y : {400, 500})
            t->drawLine(t->origin() + QPoint(100, y), t->origin() + QPoint(300, y));
        const QPoint onFirstLine = t->boxClickAt(t->w->m_data_line.front().points[50]);
        QTest::mouseClick(t->ui()->radioButton, Qt::LeftButton);
        t->click(t->origin() + QPoint(700, 700), Qt::RightButton);
        QCOMPARE(t->w->removeWhch, (Records{{B, 0}, {B, 1}, {L, 0}, {L, 1}}));
        t->click(t->boxClickAt(t->box(0)->currentWantedRect.bottomRight()), Qt::RightButton);
        QCOMPARE(t->texts(), QStringLiteral("y"));
        t->click(onFirstLine, Qt::RightButton);
        QCOMPARE(t->w->m_data_line.size(), size_t(1));
        QCOMPARE(t->w->removeWhch, (Records{{B, 0}, {L, 0}}));
    }

    void leftDrag_movesOneBoxOrConnector()
    {
        const QSize size = t->addBox(QPoint(100, 100), QStringLiteral("move me"))->currentWantedRect.size();
        QTest::mouseClick(t->ui()->radioButton, Qt::LeftButton);
        const QPoint grab = t->origin() + QPoint(100, 100) + QPoint(size.width(), size.height()) / 2;
        t->drag(grab, grab + QPoint(200, 50));
        QCOMPARE(t->box(0)->currentWantedRect, QRect(QPoint(300, 150), size));
        QVERIFY(!std::get<0>(t->w->startMovingObject_));

        t->addLine({QPoint(600, 600), QPoint(601, 600)});
        t->drag(t->boxClickAt(QPoint(600, 600)), t->boxClickAt(QPoint(560, 630)));
        // The first step only anchors the drag; the connector follows the rest.
        QCOMPARE(t->w->m_data_line.back().points.front(), QPoint(600, 600) + QPoint(-40, 30) - QPoint(-40, 30) / 8);
    }

    void connectors_drawnLayerEqualsFullRepaint_straightOneRefused()
    {
        t->addLine({QPoint(50, 300), QPoint(700, 300)});
        t->ui()->radioButton_3->setChecked(true);
        QTest::mouseClick(t->ui()->radioButton_2, Qt::LeftButton);
        const QPoint from = t->origin() + QPoint(200, 200);
        t->press(from);
        for (int i = 1; i <= 20; ++i)
            t->moveHeld(from + QPoint(i * 7, i * (i % 3 ? 4 : 9)));
        t->release(from + QPoint(140, 120));
        QCOMPARE(t->w->m_data_line.size(), size_t(2));
        // Connector points are stored shifted from the box frame: x by half the canvas origin plus 10, y by all of it plus 7.
        const QPoint g = t->origin();
        QCOMPARE(t->w->m_data_line.back().points.front(), QPoint(int(188 + 0.5 * g.x() + 10), 192 + g.y() + 7));
        QCOMPARE(t->w->removeWhch, (Records{{MainWindow::LINE, 1}}));
        QVERIFY(t->layerIsFullRepaint());
        QVERIFY(t->ui()->drawOutput->toPlainText().contains(QLatin1Char('*')));

        // A straight connector whose first step is as wide as high is dropped at once.
        t->ui()->drawStraightLines->setChecked(true);
        t->press(from);
        t->moveHeld(from + QPoint(5, -5));
        QCOMPARE(t->w->m_data_line.size(), size_t(2));
        QCOMPARE(t->w->removeWhch.size(), size_t(1));
        QVERIFY(!t->w->startDrawingLines.first);
        t->release(from);
        // A mostly horizontal first step fixes the row after it; later samples keep that row.
        t->press(from);
        t->moveHeld(from + QPoint(30, 5));
        t->moveHeld(from + QPoint(60, 40));
        const std::vector<QPoint>& points = t->w->m_data_line.back().points;
        QCOMPARE(points.back() - points.front(), QPoint(60, 5));
    }

    void moveAll_correctsBlockedAxes_data()
    {
        QTest::addColumn<QPoint>("boxAt");
        QTest::addColumn<QPoint>("step");
        QTest::addColumn<QPoint>("boxMoved");
        QTest::addColumn<QPoint>("lineMoved"); // and the grabbed box, which no edge stops
        // Only a correction of 0 or more blocks an axis: a box short of the left or top edge just stops
        // there, while a box already at an edge holds every box on that axis, and connectors with them.
        QTest::newRow("short of the left edge") << QPoint(5, 300) << QPoint(-20, 12) << QPoint(-5, 12) << QPoint(-20, 12);
        QTest::newRow("at the top edge") << QPoint(300, 0) << QPoint(16, -20) << QPoint(16, 0) << QPoint(16, 0);
    }

    void moveAll_correctsBlockedAxes()
    {
        QFETCH(QPoint, boxAt);
        QFETCH(QPoint, step);
        t->addBox(QPoint(400, 500), QStringLiteral("grab"));
        const QPoint boxBefore = t->addBox(boxAt, QStringLiteral("edge"))->currentWantedRect.topLeft();
        t->addLine({QPoint(200, 600), QPoint(201, 600)});
        QTest::mouseClick(t->ui()->radioBMoveAll, Qt::LeftButton);
        const QPoint grab = t->boxClickAt(QPoint(400, 500));
        t->press(grab);
        t->moveHeld(grab); // anchors the drag
        t->moveHeld(grab + step);
        t->release(grab + step);
        QTEST(t->box(1)->currentWantedRect.topLeft() - boxBefore, "boxMoved");
        QTEST(t->w->m_data_line.back().points.front() - QPoint(200, 600), "lineMoved");
        QTEST(t->box(0)->currentWantedRect.topLeft() - QPoint(400, 500), "lineMoved");
        QVERIFY(t->layerIsFullRepaint());
    }

    void moveAllDrag_layerEqualsFullRepaint()
    {
        t->addBox(QPoint(380, 380), QStringLiteral("centre"));
        // The first connector touches the left edge, where its pen is clipped.
        for (int i = 0; i < 6; ++i) {
            Line& line = t->addLine({});
            for (int x = 0; x < 300; x += 3)
                line.addPoints(QPoint(i ? 40 + 10 * i + x : x, 100 + 60 * i + (x % 7)));
        }
        t->w->redrawAllLines();
        QTest::mouseClick(t->ui()->radioBMoveAll, Qt::LeftButton);
        const QPoint grab = t->boxClickAt(QPoint(380, 380));
        // Right and down, then far left so that connectors leave the canvas, then back.
        t->press(grab);
        for (const QPoint& to : {QPoint(0, 0), QPoint(30, 20), QPoint(60, 50), QPoint(-200, 40), QPoint(-300, 40), QPoint(0, 0)}) {
            t->moveHeld(grab + to);
            QVERIFY(t->layerIsFullRepaint());
        }
    }

    void hover_followsRestingPointerPerMode_data()
    {
        QTest::addColumn<QString>("mode");    // m, a or c
        QTest::addColumn<QPoint>("restOn");   // canvas point the pointer rests on after the first box
        QTest::addColumn<QString>("lit");     // box 0, box 1, connector 0
        const QPoint box(100, 100), line(300, 600), empty(700, 300), off(900, 300);
        QTest::newRow("move / remove over box") << "m" << box << "100";
        QTest::newRow("move / remove over connector") << "m" << line << "001";
        QTest::newRow("move / remove on empty canvas") << "m" << empty << "000";
        QTest::newRow("move / remove off the canvas keeps it") << "m" << off << "100";
        QTest::newRow("move all over a box lights all") << "a" << box << "111";
        QTest::newRow("move all on empty canvas") << "a" << empty << "000";
        QTest::newRow("connect sends no motion") << "c" << box << "000";
    }

    void hover_followsRestingPointerPerMode()
    {
        QFETCH(QString, mode);
        QFETCH(QPoint, restOn);
        t->addBox(QPoint(100, 100), QStringLiteral("first"));
        t->addBox(QPoint(400, 100), QStringLiteral("second"));
        t->addLine({QPoint(300, 600), QPoint(301, 600)});
        QTest::mouseClick(t->mode(mode.at(0).toLatin1()), Qt::LeftButton);
        for (const QPoint& at : {QPoint(100, 100), restOn}) {
            QCursor::setPos(t->w->mapToGlobal(t->boxClickAt(at)));
            t->w->checkMouseMove();
        }
        const QString lit = QString::number(t->box(0)->isHighlighted()) + QString::number(t->box(1)->isHighlighted())
            + QString::number(t->w->m_data_line[0].isChecked);
        QTEST(lit, "lit");
        QCOMPARE(t->box(0)->elem->styleSheet().contains(QStringLiteral("rgb(65,105,225)")), lit[0] == QLatin1Char('1'));
        QVERIFY(t->layerIsFullRepaint());
    }

    void backgroundDragMovesWindow_middleButtonTogglesShortKeys_clickTwiceOneBox()
    {
        const QPoint before = t->w->pos();
        const QPoint off = t->origin() + QPoint(900, 300);
        t->press(off);
        t->moveHeld(off + QPoint(15, 10));
        QCOMPARE(t->w->pos(), before + QPoint(15, 10));
        t->release(off);

        for (bool checked : {false, true}) {
            t->press(t->boxClickAt(QPoint(200, 200)), Qt::MiddleButton);
            QCOMPARE(t->ui()->shortKeysRadioButton->isChecked(), checked);
        }
        QCOMPARE(t->w->m_data->size(), 0);
        // A second click on the same opening point creates nothing.
        for (int twice = 0; twice < 2; ++twice)
            t->click(t->boxClickAt(QPoint(200, 200)));
        QCOMPARE(t->w->removeWhch, (Records{{MainWindow::BOX, 0}}));
    }

    void removeLastAndClearAll_emptyChartAndHistory()
    {
        t->addBox(QPoint(100, 100), QStringLiteral("a"));
        t->drawLine(t->origin() + QPoint(100, 300), t->origin() + QPoint(300, 300));
        t->addBox(QPoint(400, 100), QStringLiteral("b"));

        QMetaObject::invokeMethod(t->w, "on_pushButton_clicked");
        QCOMPARE(t->texts(), QStringLiteral("a"));
        QMetaObject::invokeMethod(t->w, "on_pushButton_clicked");
        QCOMPARE(t->w->m_data_line.size(), size_t(0));
        QCOMPARE(t->w->removeWhch, (Records{{MainWindow::BOX, 0}}));
        QVERIFY(t->layerIsFullRepaint());

        // Clear all (its history side is in the undo tests): nothing left, and drawing starts afresh.
        QTest::mouseClick(t->ui()->pushButton_4, Qt::LeftButton);
        QVERIFY(t->w->m_data->isEmpty() && t->w->removeWhch.empty() && t->ui()->drawOutput->toPlainText().isEmpty());
        QCOMPARE(t->addBox(QPoint(100, 100), QStringLiteral("again"))->whoAmI, 0);
    }

private:
    std::optional<TestWindow> t;
};

QTEST_MAIN(TestInteraction)
#include "tst_interaction.moc"
