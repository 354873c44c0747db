#include "testwindow.h"

using Records = std::vector<QPair<MainWindow::WHAT, int>>;
Q_DECLARE_METATYPE(Records)

class TestInteraction : public WindowTest
{
    Q_OBJECT

private slots:
    // A click past the canvas opens no box; one near the corner opens it clamped on the canvas, and a second
    // click there, beside the box, adds none. The new box takes the keys, so a space typed goes into it, not to the
    // button that had them (which would drop it from the text). A click on its frame 1 px inside, outside the text
    // (left, right, top near the left, bottom near the right), gives it the keys at the nearest place.
    void click_createsOneClampedBoxThatTakesTheKeys()
    {
        t->click(t->origin() + QPoint(802, 300));
        t->click(t->origin() + QPoint(1, 800)), t->click(t->origin() + QPoint(1, 800));
        QCOMPARE(t->box(0)->openBoxPoint, QPoint(4, 801 - 16)); // 4 px in: its border lands in column 1
        t->type(QStringLiteral("a b"));
        const QRect box = t->box(0)->currentWantedRect;
        for (const QPoint& at : {QPoint(box.left() + 1, box.top() + 8), QPoint(box.right() - 1, box.top() + 8), QPoint(box.left() + 4, box.top() + 1),
                 QPoint(box.right() - 4, box.bottom() - 1)})
            t->click(t->origin() + at), t->type(QStringLiteral("Q"));
        QCOMPARE(t->texts(), QStringLiteral("QQa bQQ"));
        QCOMPARE(t->w->removeWhch, (Records{{MainWindow::BOX, 0}}));
    }

    void rightClick_removesAndRenumbersCreationRecords_data()
    {
        // Created in the order box, box, connector, box, connector; the element right-clicked on its text or
        // line, with "Move / Remove" clicked on or Ctrl held, or removed by "Remove last"; the creation records left.
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("ctrl");
        QTest::addColumn<Records>("records");
        const auto B = MainWindow::BOX;
        const auto L = MainWindow::LINE;
        QTest::newRow("middle box") << "box" << 1 << false << Records{{B, 0}, {L, 0}, {B, 1}, {L, 1}};
        QTest::newRow("ctrl, first connector") << "connector" << 0 << true << Records{{B, 0}, {B, 1}, {B, 2}, {L, 0}};
        QTest::newRow("remove last: the newest connector") << "last" << 1 << false << Records{{B, 0}, {B, 1}, {L, 0}, {B, 2}};
    }

    void rightClick_removesAndRenumbersCreationRecords()
    {
        QFETCH(QString, kind);
        QFETCH(int, index);
        QFETCH(bool, ctrl);
        // Box n opens at (60 + 150 n, 60); connector n runs along y = 400 + 100 n.
        const auto line = [this](int y) { t->drawLine(t->origin() + QPoint(100, y), t->origin() + QPoint(300, y)); };
        for (int x : {60, 210})
            t->addBox(QPoint(x, 60), QStringLiteral("x"));
        line(400);
        t->addBox(QPoint(360, 60), QStringLiteral("x"));
        line(500);
        const bool box = kind == QLatin1String("box");
        const QPoint target = t->boxClickAt(box ? QPoint(60 + 150 * index, 60) : t->w->m_data_line[size_t(index)].points[50]);
        const QByteArray before = t->w->contentBytes();
        const std::vector<QPoint> other = t->w->m_data_line[size_t(1 - index)].points;
        ctrl ? t->key(Qt::Key_Control, true) : t->clickOn(t->ui()->radioButton);
        // "Remove last" has no visible button: only its slot reaches it.
        kind == QLatin1String("last") ? t->w->on_pushButton_clicked() : t->click(target, Qt::RightButton);
        t->key(Qt::Key_Control, false);
        QCOMPARE(t->w->m_data->size(), 3 - int(box));
        QCOMPARE(t->w->m_data_line.size(), 2 - size_t(!box));
        QTEST(t->w->removeWhch, "records");
        QVERIFY(box || t->w->m_data_line[0].points == other); // the other connector stays
        // The removal is a step, also when Qt hands its release to the removed box's hidden editor.
        QCOMPARE(t->w->contentBytes(), ChartStream::contentOf(t->w->byteArrayOfPastStuf.at(t->w->lastByteArrayCount)));
        t->clickOn(t->ui()->goBack);
        QCOMPARE(t->w->contentBytes(), before);
    }

    // A straight and a freehand connector from A to B; B dragged, then dragged with Shift held. Its ends go
    // along within a cell of the box's move, or stay with Shift; A's ends stay; the layer is a fresh
    // repaint; each drag is one step, which Undo takes back to the very bytes.
    void dragBox_takesConnectorEndsAlongUnlessShift()
    {
        const QRect a = t->addBox(QPoint(100, 300), QStringLiteral("A"))->currentWantedRect;
        const QRect& b = t->addBox(QPoint(400, 300), QStringLiteral("B"))->currentWantedRect;
        t->clickOn(t->ui()->drawStraightLines);
        t->drawLine(t->origin() + QPoint(a.right() + 4, a.center().y()), t->origin() + QPoint(b.left() - 4, b.center().y()));
        t->clickOn(t->ui()->drawStraightLines);
        t->drawLine(t->origin() + QPoint(a.center().x(), a.top() - 4), t->origin() + QPoint(b.center().x(), b.top() - 4));
        t->clickOn(t->ui()->radioButton);
        for (const Qt::KeyboardModifiers keys : {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ShiftModifier)}) {
            const std::vector<Line> lines = t->w->m_data_line;
            const QByteArray before = t->w->contentBytes();
            const QPoint boxWas = b.topLeft();
            t->drag(t->origin() + b.center(), t->origin() + (keys ? QPoint(250, 520) : QPoint(530, 610)), 4, keys);
            QVERIFY(b.topLeft() != boxWas);
            for (size_t i = 0; i < lines.size(); ++i) {
                const QPoint off = t->w->m_data_line[i].points.back() - lines[i].points.back() - (keys ? QPoint() : b.topLeft() - boxWas);
                QVERIFY(std::abs(off.x()) <= 7);
                QVERIFY(std::abs(off.y()) <= 13);
                QCOMPARE(t->w->m_data_line[i].points.front(), lines[i].points.front());
            }
            QVERIFY(t->layerIsFullRepaint());
            t->clickOn(t->ui()->goBack);
            QCOMPARE(t->w->contentBytes(), before);
            // The Shift drag starts from the moved box, the undo below from the box the first drag left.
            if (!keys)
                t->clickOn(t->ui()->goForward);
        }
        // An undo in the middle of a drag (Ctrl+Z while Ctrl drags) lets go of the connectors as it left them.
        t->press(t->origin() + b.center());
        t->w->on_goBack_clicked();
        const std::vector<Line> undone = t->w->m_data_line;
        t->moveHeld(t->origin() + b.center() + QPoint(40, 30));
        for (size_t i = 0; i < undone.size(); ++i)
            QVERIFY(t->w->m_data_line[i].points == undone[i].points);
    }

    void modeClicks_setButtonsEditorsTipsAndHover_data()
    {
        // The canvas point the pointer rests on after the clicks on m (Move / Remove), c (Connect), a (Move all),
        // with the pointer resting on box 0 after the first; the mode buttons left on, whether the editors are
        // enabled and show the mode tip, and which of box 0, box 1 and the connector are lit.
        QTest::addColumn<QPoint>("restOn");
        QTest::addColumn<QString>("state");
        const QPoint box(100, 100), line(300, 600), empty(700, 300), off(900, 300);
        QTest::newRow("move / remove over box") << box << "clicks=m on=m editors=no tip=yes lit=box0";
        QTest::newRow("move / remove over connector") << line << "clicks=m on=m editors=no tip=yes lit=line";
        QTest::newRow("move / remove on empty canvas") << empty << "clicks=m on=m editors=no tip=yes lit=none";
        QTest::newRow("move / remove off the canvas keeps it") << off << "clicks=m on=m editors=no tip=yes lit=box0";
        QTest::newRow("move / remove twice") << box << "clicks=mm on= editors=yes tip=no lit=none";
        QTest::newRow("move / remove, connect") << box << "clicks=mc on=c editors=no tip=yes lit=none";
        QTest::newRow("move all, move / remove") << box << "clicks=am on=m editors=no tip=yes lit=box0";
        QTest::newRow("connect sends no motion") << box << "clicks=c on=c editors=no tip=yes lit=none";
        QTest::newRow("move all lights all, on empty canvas too") << empty << "clicks=a on=a editors=no tip=no lit=box0,box1,line";
        QTest::newRow("move all off keeps an earlier tip") << box << "clicks=maa on= editors=yes tip=yes lit=none";
    }

    void modeClicks_setButtonsEditorsTipsAndHover()
    {
        QFETCH(QPoint, restOn);
        QFETCH(QString, state);
        const Labels want(state);
        t->addBox(QPoint(100, 100), QStringLiteral("first"));
        t->addBox(QPoint(400, 100), QStringLiteral("second"));
        t->addLine({QPoint(300, 600), QPoint(805, 600)}); // past the last column of repaint tiles
        // The pointer rests on box 0 after the first click, so a later click that turns a mode off must clear it.
        for (int i = 0; i < want.value("clicks").size(); ++i)
            t->clickOn(t->mode(want.value("clicks")[i].toLatin1())), i ? void() : t->restAt(t->boxClickAt(QPoint(100, 100)));
        t->restAt(t->boxClickAt(restOn));
        QCOMPARE(labelled("on", t->modesOn()), want["on"]);
        QStringList lit;
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(labelled("editors", t->box(i)->elem->isEnabled()), want["editors"]);
            QCOMPARE(labelled("tip", !t->box(i)->elem->toolTip().isEmpty()), want["tip"]);
            if (t->box(i)->isHighlighted())
                lit << "box" + QString::number(i);
            // The highlight is the blue border.
            QCOMPARE(t->box(i)->elem->styleSheet().contains(QStringLiteral("rgb(65,105,225)")), t->box(i)->isHighlighted());
        }
        if (t->w->m_data_line[0].isChecked)
            lit << QStringLiteral("line");
        QCOMPARE(labelled("lit", lit.isEmpty() ? QStringLiteral("none") : lit.join(QLatin1Char(','))), want["lit"]);
        QVERIFY(t->layerIsFullRepaint());
    }

    void drag_endsWithItsButtonInAnyReleaseOrder_data()
    {
        // Boxes "Edge" at (300, 300) and "B" at (400, 340). Keys held (C Ctrl, A Alt), "Move all" clicked (m)
        // and the button (L left, R right) pressed at `from`, so that one box, everything or, by the left
        // button, a new connector is dragged to `to` (canvas points); then the releases in order, the steps
        // of history and the connectors made, and the rows drawn from column `left` on (blank before it). A dragged
        // box, or the whole chart dragged from anywhere, stops where every border is still drawn.
        QTest::addColumn<QString>("input");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QStringList>("rows");
        const QPoint edge(312, 308), moved(372, 348);
        const QStringList all{"25:|----|", "26:|Edge|", "27:|----|", "28:              |-|", "29:              |B|", "30:              |-|"};
        QTest::newRow("box: button, ctrl") << "press=CL release=LC steps=1 lines=1 left=49" << edge << moved
                                           << QStringList{"25:|----| |-|", "26:|Edge| |B|", "27:|----| |-|"};
        QTest::newRow("all: alt, button, ctrl") << "press=CAL release=ALC steps=1 lines=1 left=50" << edge << moved << all;
        QTest::newRow("all by the right button, keys first") << "press=CAR release=ACR steps=1 lines=1 left=50" << edge << moved << all;
        QTest::newRow("connector: alt, button") << "press=AL release=AL steps=1 lines=2 left=42" << edge << moved
                                                << QStringList{"22:|----|", "23:|Edge|", "24:|----|**", "25:       ****   |-|", "26:              |B|",
                                                       "27:              |-|"};
        QTest::newRow("connect by the right button draws nothing")
            << "press=AR release=RA steps=0 lines=1 left=42" << edge << moved
            << QStringList{"22:|----|", "23:|Edge|", "24:|----|", "25:              |-|", "26:              |B|", "27:              |-|"};
        QTest::newRow("box to the top left corner") << "press=CL release=LC steps=1 lines=1 left=0" << edge << QPoint(1, 1)
                                                    << QStringList{"0:|----|", "1:|Edge|", "2:|----|", "25:" + QString(56, ' ') + "|-|",
                                                           "26:" + QString(56, ' ') + "|B|", "27:" + QString(56, ' ') + "|-|"};
        QTest::newRow("box to the bottom right corner") << "press=CL release=LC steps=1 lines=1 left=56" << edge << QPoint(800, 800)
                                                        << QStringList{"25:|-|", "26:|B|", "27:|-|", "58:" + QString(51, ' ') + "|----|",
                                                               "59:" + QString(51, ' ') + "|Edge|", "60:" + QString(51, ' ') + "|----|"};
        QTest::newRow("all from empty canvas into the top left")
            << "press=mL release=L steps=1 lines=1 left=1" << QPoint(600, 600) << QPoint(100, 100)
            << QStringList{"0:|----|", "1:|Edge|", "2:|----|", "3:              |-|", "4:              |B|", "5:              |-|"};
        QTest::newRow("all by the keys to the right edge")
            << "press=CAL release=LAC steps=1 lines=1 left=96" << QPoint(100, 700) << QPoint(700, 790)
            << QStringList{"29:|----|", "30:|Edge|", "31:|----|", "32:              |-|", "33:              |B|", "34:              |-|"};
    }

    // The drag is one step of history, ends with its button, and the connector layer (with a connector whose
    // pen the left edge clips, which may leave the canvas) equals a whole repaint after every step.
    void drag_endsWithItsButtonInAnyReleaseOrder()
    {
        QFETCH(QString, input);
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        const Labels want(input);
        const QString presses = want.value("press");
        t->addBox(QPoint(300, 300), QStringLiteral("Edge"));
        t->addBox(QPoint(400, 340), QStringLiteral("B"));
        t->addLine({QPoint(0, 700), QPoint(150, 705)});
        const int cursor = t->w->lastByteArrayCount;
        const auto use = [&](QChar c, bool down, const QPoint& at) { // keys (A, C) sort before buttons (L, R)
            const Qt::MouseButton button = c == QLatin1Char('L') ? Qt::LeftButton : Qt::RightButton;
            c == QLatin1Char('m')   ? t->clickOn(t->ui()->radioBMoveAll)
                : c.unicode() < 'L' ? t->key(c == QLatin1Char('C') ? Qt::Key_Control : Qt::Key_Alt, down)
                : down              ? t->press(t->origin() + at, button)
                                    : t->release(t->origin() + at, button);
        };
        for (QChar c : presses)
            use(c, true, from);
        for (int i = 1; i <= 40; ++i) {
            t->moveHeld(t->origin() + from + (to - from) * i / 40);
            QVERIFY(t->layerIsFullRepaint());
        }
        for (QChar c : want.value("release") + (presses.startsWith('m') ? "m" : ""))
            use(c, false, to);
        // Nothing grabbed or drawn any more, editors on.
        QVERIFY(!std::get<0>(t->w->startMovingObject_));
        QVERIFY(!t->w->startDrawingLines.first);
        QVERIFY(t->box(0)->elem->isEnabled());
        QCOMPARE(labelled("steps", t->w->lastByteArrayCount - cursor), want["steps"]);
        QCOMPARE(labelled("lines", int(t->w->m_data_line.size())), want["lines"]);
        // Drawn from column `left` on; a row with anything before it stays whole, so that it differs.
        const QRegularExpression before(QStringLiteral("^(\\d+:) {%1}").arg(want.value("left")));
        QTEST(t->drawn().replaceInStrings(before, QStringLiteral("\\1")), "rows");
        QVERIFY(t->layerIsFullRepaint());
    }
};

QTEST_MAIN(TestInteraction)
#include "tst_interaction.moc"
