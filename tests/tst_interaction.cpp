#include "testwindow.h"

using Records = std::vector<QPair<MainWindow::WHAT, int>>;
Q_DECLARE_METATYPE(Records)

class TestInteraction : public WindowTest
{
    Q_OBJECT

private slots:
    // A click past the canvas opens no box; one near the corner opens it clamped on the canvas, and a second
    // click there adds none. The new box takes the keys, so a space typed goes into it, not to the button
    // that had them (which would drop it from the text).
    void click_createsOneClampedBoxThatTakesTheKeys()
    {
        t->click(t->origin() + QPoint(802, 300));
        for (int twice = 0; twice < 2; ++twice)
            t->click(t->origin() + QPoint(799, 800));
        t->type(QStringLiteral("a b"));
        QCOMPARE(t->texts(), QStringLiteral("a b"));
        QCOMPARE(t->w->removeWhch, (Records{{MainWindow::BOX, 0}}));
        QCOMPARE(t->box(0)->openBoxPoint, QPoint(801 - 24, 801 - 16));
    }

    void rightClick_removesAndRenumbersCreationRecords_data()
    {
        // Created in the order box, box, connector, box, connector; the element right-clicked on its text or
        // line, with "Move / Remove" clicked on (m) or Ctrl held (C); u: then Ctrl+Z, and the same click again.
        QTest::addColumn<QString>("removed");
        QTest::addColumn<QString>("how");
        QTest::addColumn<Records>("records");
        const auto B = MainWindow::BOX;
        const auto L = MainWindow::LINE;
        QTest::newRow("middle box") << "b1" << "m" << Records{{B, 0}, {L, 0}, {B, 1}, {L, 1}};
        QTest::newRow("ctrl, first connector") << "l0" << "C" << Records{{B, 0}, {B, 1}, {B, 2}, {L, 0}};
        QTest::newRow("box, undo, box again") << "b0" << "Cu" << Records{{B, 0}, {L, 0}, {B, 1}, {L, 1}};
        QTest::newRow("connector, undo, connector again") << "l0" << "Cu" << Records{{B, 0}, {B, 1}, {B, 2}, {L, 0}};
    }

    void rightClick_removesAndRenumbersCreationRecords()
    {
        QFETCH(QString, removed);
        QFETCH(QString, how);
        // Box n opens at (60 + 150 n, 60); connector n runs along y = 400 + 100 n.
        const auto line = [this](int y) { t->drawLine(t->origin() + QPoint(100, y), t->origin() + QPoint(300, y)); };
        for (int x : {60, 210})
            t->addBox(QPoint(x, 60), QStringLiteral("x"));
        line(400);
        t->addBox(QPoint(360, 60), QStringLiteral("x"));
        line(500);
        const int n = removed.mid(1).toInt();
        const QPoint target = t->boxClickAt(removed[0] == QLatin1Char('b') ? QPoint(60 + 150 * n, 60) : t->w->m_data_line[size_t(n)].points[50]);
        const int cursor = t->w->lastByteArrayCount;
        how.startsWith(QLatin1Char('m')) ? t->clickOn(t->ui()->radioButton) : t->key(Qt::Key_Control, true);
        t->click(target, Qt::RightButton);
        if (how.contains(QLatin1Char('u'))) {
            t->key(Qt::Key_Z, true, Qt::ControlModifier);
            QCOMPARE(t->w->m_data->size() + int(t->w->m_data_line.size()), 5);
            QCOMPARE(t->w->lastByteArrayCount, cursor);
            t->click(target, Qt::RightButton);
        }
        t->key(Qt::Key_Control, false);
        QCOMPARE(t->w->m_data->size(), 3 - int(removed.startsWith(QLatin1Char('b'))));
        QCOMPARE(t->w->m_data_line.size(), 2 - size_t(removed.startsWith(QLatin1Char('l'))));
        QTEST(t->w->removeWhch, "records");
    }

    void drag_endsWithItsButtonInAnyReleaseOrder_data()
    {
        // Keys held (C Ctrl, A Alt) and the button (L left, R right) pressed on box 0's text, so that one
        // box, everything or, by the left button, a new connector is dragged; then the releases in order.
        QTest::addColumn<QString>("presses");
        QTest::addColumn<QString>("releases");
        QTest::newRow("box: button, ctrl") << "CL" << "LC";
        QTest::newRow("all: alt, button, ctrl") << "CAL" << "ALC";
        QTest::newRow("all by the right button, keys first") << "CAR" << "ACR";
        QTest::newRow("connector: alt, button") << "AL" << "AL";
        QTest::newRow("connect by the right button draws nothing") << "AR" << "RA";
    }

    void drag_endsWithItsButtonInAnyReleaseOrder()
    {
        QFETCH(QString, presses);
        QFETCH(QString, releases);
        t->addBox(QPoint(300, 300), QStringLiteral("Hello"));
        const QRect before = t->box(0)->currentWantedRect;
        const QPoint from = t->origin() + before.topLeft() + QPoint(before.width(), before.height()) / 2;
        const int cursor = t->w->lastByteArrayCount;
        const auto button = [](QChar c) { return c == QLatin1Char('L') ? Qt::LeftButton : Qt::RightButton; };
        // Keys (A, C) sort before buttons (L, R).
        for (QChar c : presses)
            c.unicode() < 'L' ? t->key(c == QLatin1Char('C') ? Qt::Key_Control : Qt::Key_Alt, true) : t->press(from, button(c));
        for (int i = 1; i <= 4; ++i)
            t->moveHeld(from + QPoint(15, 10) * i);
        for (QChar c : releases)
            c.unicode() < 'L' ? t->key(c == QLatin1Char('C') ? Qt::Key_Control : Qt::Key_Alt, false) : t->release(from + QPoint(60, 40), button(c));
        QVERIFY(!std::get<0>(t->w->startMovingObject_) && !t->w->startDrawingLines.first);
        QCOMPARE(t->w->lastByteArrayCount, cursor + 1);
        QCOMPARE(t->w->m_data_line.size(), size_t(presses == QLatin1String("AL")));
        // One box follows the pointer; the whole chart follows after an anchoring first step.
        const QPoint moved = presses.startsWith(QLatin1Char('A')) ? QPoint() : presses.contains(QLatin1Char('A')) ? QPoint(45, 30) : QPoint(60, 40);
        QCOMPARE(t->box(0)->currentWantedRect, before.translated(moved));
        QVERIFY(t->box(0)->elem->isEnabled());
    }

    // A straight and a freehand connector from A to B; B dragged by random steps (SEED=n repeats a run),
    // every other time with Shift held. Its ends go along within a cell of the box's move, or stay with
    // Shift; A's ends stay; the layer is a fresh repaint; each drag is one step, which Undo takes back to
    // the very bytes.
    void dragBox_takesConnectorEndsAlongUnlessShift()
    {
        const quint32 seed = qEnvironmentVariableIsSet("SEED") ? quint32(qEnvironmentVariableIntValue("SEED")) : QRandomGenerator::global()->generate();
        qInfo("seed %u", seed);
        QRandomGenerator rng(seed);
        const QRect a = t->addBox(QPoint(100, 300), QStringLiteral("A"))->currentWantedRect;
        const QRect& b = t->addBox(QPoint(400, 300), QStringLiteral("B"))->currentWantedRect;
        t->clickOn(t->ui()->drawStraightLines);
        t->drawLine(t->origin() + QPoint(a.right() + 4, a.center().y()), t->origin() + QPoint(b.left() - 4, b.center().y()));
        t->clickOn(t->ui()->drawStraightLines);
        t->drawLine(t->origin() + QPoint(a.center().x(), a.top() - 4), t->origin() + QPoint(b.center().x(), b.top() - 4));
        t->clickOn(t->ui()->radioButton);
        for (int drag = 0; drag < 6; ++drag) {
            const std::vector<Line> lines = t->w->m_data_line;
            const QByteArray before = t->w->contentBytes();
            const QPoint boxWas = b.topLeft(), from = t->origin() + b.center();
            const QPoint to = t->origin() + QPoint(int(rng.bounded(250, 700)), int(rng.bounded(100, 700)));
            t->drag(from, to, 4, drag % 2 ? Qt::ShiftModifier : Qt::NoModifier);
            for (size_t i = 0; i < lines.size(); ++i) {
                const QPoint off = t->w->m_data_line[i].points.back() - lines[i].points.back() - (drag % 2 ? QPoint() : b.topLeft() - boxWas);
                QVERIFY(b.topLeft() != boxWas && std::abs(off.x()) <= 7 && std::abs(off.y()) <= 13 && t->w->m_data_line[i].points.front() == lines[i].points.front());
            }
            QVERIFY(t->layerIsFullRepaint());
            t->w->on_goBack_clicked();
            QCOMPARE(t->w->contentBytes(), before);
            // A box moved alone has left its connectors: the next drag starts from before it.
            if (drag % 2 == 0)
                t->w->on_goForward_clicked();
        }
        // An undo in the middle of a drag (Ctrl+Z while Ctrl drags) lets go of the connectors as it left them.
        t->press(t->origin() + b.center());
        t->w->on_goBack_clicked();
        const std::vector<Line> undone = t->w->m_data_line;
        t->moveHeld(t->origin() + b.center() + QPoint(40, 30));
        QVERIFY(t->w->m_data_line[0].points == undone[0].points && t->w->m_data_line[1].points == undone[1].points);
    }

    void moveAll_correctsBlockedAxes_layerFollows_data()
    {
        QTest::addColumn<QPoint>("boxAt");
        QTest::addColumn<QPoint>("step");
        QTest::addColumn<QPoint>("boxMoved");
        QTest::addColumn<QPoint>("lineMoved"); // and the grabbed box, which no edge stops
        QTest::addColumn<int>("lineX");       // where a second connector starts: at 1 the left edge clips its pen
        // A box already at an edge holds every box on that axis, and connectors with them (the canvas
        // tests hold the other corrections); connectors may leave the canvas and come back.
        QTest::newRow("at the left edge") << QPoint(0, 300) << QPoint(-20, 12) << QPoint(0, 12) << QPoint(0, 12) << 10;
        QTest::newRow("in the corner holds all") << QPoint(0, 0) << QPoint(-20, -20) << QPoint(0, 0) << QPoint(0, 0) << 1;
        QTest::newRow("connectors off the canvas") << QPoint(350, 300) << QPoint(-300, 40) << QPoint(-300, 40) << QPoint(-300, 40) << 1;
    }

    // The connector layer equals a whole repaint after each step, also when a connector whose pen the
    // left edge clips, or one that left the canvas, comes back.
    void moveAll_correctsBlockedAxes_layerFollows()
    {
        QFETCH(QPoint, boxAt);
        QFETCH(QPoint, step);
        t->addBox(QPoint(400, 500), QStringLiteral("grab"));
        const QPoint boxBefore = t->addBox(boxAt, QStringLiteral("edge"))->currentWantedRect.topLeft();
        t->addLine({QPoint(200, 600), QPoint(201, 600)});
        QFETCH(int, lineX);
        t->addLine({QPoint(lineX, 700), QPoint(150, 705)});
        t->clickOn(t->ui()->radioBMoveAll);
        const QPoint grab = t->boxClickAt(QPoint(400, 500));
        t->press(grab - QPoint(1, 0));
        t->moveHeld(grab); // anchors the drag
        t->moveHeld(grab + step);
        QTEST(t->box(1)->currentWantedRect.topLeft() - boxBefore, "boxMoved");
        QTEST(t->w->m_data_line[0].points.front() - QPoint(200, 600), "lineMoved");
        QTEST(t->box(0)->currentWantedRect.topLeft() - QPoint(400, 500), "lineMoved");
        QVERIFY(t->layerIsFullRepaint());
        t->moveHeld(grab);
        t->release(grab);
        QVERIFY(t->layerIsFullRepaint());
    }

    void modeClicks_setButtonsEditorsTipsAndHover_data()
    {
        // Clicks on m (Move / Remove), c (Connect), a (Move all), then the pointer resting on box 0 and
        // then on a canvas point; the modes left on, "e" if the editors are enabled and "t" if they show
        // the mode tip; then which of box 0, box 1 and the connector are lit (-: not checked).
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<QPoint>("restOn");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("lit");
        const QPoint box(100, 100), line(300, 600), empty(700, 300), off(900, 300);
        QTest::newRow("move / remove over box") << "m" << box << "mt" << "100";
        QTest::newRow("move / remove over connector") << "m" << line << "mt" << "001";
        QTest::newRow("move / remove on empty canvas") << "m" << empty << "mt" << "000";
        QTest::newRow("move / remove off the canvas keeps it") << "m" << off << "mt" << "100";
        QTest::newRow("move / remove twice") << "mm" << box << "e" << "000";
        QTest::newRow("move / remove, connect") << "mc" << box << "ct" << "-";
        QTest::newRow("move all, move / remove") << "am" << box << "mt" << "100";
        QTest::newRow("connect sends no motion") << "c" << box << "ct" << "000";
        QTest::newRow("move all over a box lights all") << "a" << box << "a" << "111";
        QTest::newRow("move all on empty canvas") << "a" << empty << "a" << "000";
        QTest::newRow("move all off keeps an earlier tip") << "maa" << box << "et" << "000";
    }

    void modeClicks_setButtonsEditorsTipsAndHover()
    {
        QFETCH(QString, clicks);
        QFETCH(QPoint, restOn);
        QFETCH(QString, lit);
        t->addBox(QPoint(100, 100), QStringLiteral("first"));
        t->addBox(QPoint(400, 100), QStringLiteral("second"));
        t->addLine({QPoint(300, 600), QPoint(805, 600)}); // past the last column of repaint tiles
        for (QChar c : clicks)
            t->clickOn(t->mode(c.toLatin1()));
        t->restAt(t->boxClickAt(QPoint(100, 100)));
        t->restAt(t->boxClickAt(restOn));
        const QString tip = QStringLiteral("*Move element -> left mouse button click\n*Remove element -> right mouse button click");
        const QString on = t->modesOn();
        QString shownLit;
        for (int i = 0; i < 2; ++i) {
            const QString shown = t->box(i)->elem->toolTip();
            QTEST(on + (t->box(i)->elem->isEnabled() ? "e" : "") + (shown == tip ? "t" : shown.isEmpty() ? "" : "?"), "state");
            shownLit += QString::number(t->box(i)->isHighlighted());
        }
        if (lit != QLatin1String("-"))
            QCOMPARE(shownLit + QString::number(t->w->m_data_line[0].isChecked), lit);
        QCOMPARE(t->box(0)->elem->styleSheet().contains(QStringLiteral("rgb(65,105,225)")), shownLit[0] == QLatin1Char('1'));
        QVERIFY(t->layerIsFullRepaint());
    }
};

QTEST_MAIN(TestInteraction)
#include "tst_interaction.moc"
