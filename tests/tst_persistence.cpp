#include "chartstream.h"
#include "testwindow.h"

#include <QDir>
#include <QFile>
#include <QClipboard>
#include <QMenu>
#include <QRandomGenerator>
#include <QTextCursor>
#include <QTextEdit>
#include <QTemporaryDir>

#include <optional>
#include <tuple>

class TestPersistence : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        // The settings file lives beside the test program; every run starts without one.
        QFile::remove(QCoreApplication::applicationDirPath() + QStringLiteral("/flowChart.settings"));
    }

    void init()
    {
        // Test mode keeps the user's own configuration out of reach; every case starts without preferences.
        QStandardPaths::setTestModeEnabled(true);
        QFile::remove(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/vandora.conf");
        t.emplace();
        created = 0;
    }
    void cleanup() { t.reset(); }

    void undoRedo_followsActions_data()
    {
        // b: click a new box; t: type a character into the last box; n: a right click that changes
        // nothing; d: drag the whole chart; u: Undo; r: Redo; c: Clear all.
        QTest::addColumn<QString>("actions");
        QTest::addColumn<int>("boxes");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<int>("snapshots");
        QTest::addColumn<bool>("undo");
        QTest::addColumn<bool>("redo");
        QTest::newRow("two boxes") << "bb" << 2 << 1 << 2 << true << false;
        QTest::newRow("undo") << "bbu" << 1 << 0 << 2 << false << true;
        QTest::newRow("undo, redo") << "bbur" << 2 << 1 << 2 << true << false;
        QTest::newRow("undo past the first does nothing") << "bbuu" << 1 << 0 << 2 << false << true;
        QTest::newRow("new step after undo keeps the state before it") << "bbbbbuun" << 3 << 3 << 4 << true << false;
        QTest::newRow("new step at the first snapshot") << "bbun" << 1 << 1 << 2 << true << false;
        QTest::newRow("each typed character is a step") << "btt" << 1 << 2 << 3 << true << false;
        QTest::newRow("typing into a restored box records nothing") << "bbut" << 1 << 0 << 2 << false << true;
        QTest::newRow("redo at the end does nothing") << "bbr" << 2 << 1 << 2 << true << false;
        QTest::newRow("a whole-chart drag is one step") << "bbtd" << 2 << 3 << 4 << true << false;
        QTest::newRow("undo a whole-chart drag") << "bbtdu" << 2 << 2 << 4 << true << true;
        QTest::newRow("clear all after undo, redo") << "bbbucr" << 0 << 2 << 3 << true << false;
        QTest::newRow("clear all, undo") << "bbcu" << 2 << 1 << 3 << true << true;
        QTest::newRow("clear all, undo, redo, new box") << "bbcurb" << 1 << 3 << 4 << true << false;
    }

    void undoRedo_followsActions()
    {
        QFETCH(QString, actions);
        for (QChar action : actions) {
            switch (action.toLatin1()) {
            case 'b': createBox(); break;
            case 't': t->click(t->onText(t->w->m_data->size() - 1)); t->type(QStringLiteral("x")); break;
            case 'n': t->click(t->origin() + QPoint(700, 700), Qt::RightButton); break;
            // The slots, not the buttons: the shortcuts call them whether or not the buttons are enabled.
            case 'u': t->w->on_goBack_clicked(); break;
            case 'r': t->w->on_goForward_clicked(); break;
            case 'c': t->clickOn(t->ui()->pushButton_4); break;
            case 'd': {
                const QPoint before = t->box(0)->currentWantedRect.topLeft();
                t->clickOn(t->ui()->radioBMoveAll);
                t->drag(t->boxClickAt(QPoint(48, 52)), t->boxClickAt(QPoint(88, 82)), 10);
                t->clickOn(t->ui()->radioBMoveAll);
                QVERIFY(t->box(0)->currentWantedRect.topLeft() != before);
                break;
            }
            }
        }
        QTEST(t->w->m_data->size(), "boxes");
        QTEST(t->w->lastByteArrayCount, "cursor");
        QTEST(int(t->w->byteArrayOfPastStuf.size()), "snapshots");
        QTEST(t->ui()->goBack->isEnabled(), "undo");
        QTEST(t->ui()->goForward->isEnabled(), "redo");
    }

    void history_staysWithinItsMemoryBudget()
    {
        // One connector of 40,000 points whose every point moves between snapshots: each is stored whole.
        Line& line = t->addLine(std::vector<QPoint>(40000, QPoint(5, 5)));
        line.points_proc_from_window.assign(40000, qMakePair(0.5f, 0.5f));
        t->w->pushBackStreamToBuffer();
        const qint64 each = t->w->historyBytes();
        const int fits = int(MainWindow::historyBudgetBytes / each);
        for (int i = 0; i < fits + 20; ++i) {
            line.points.assign(40000, QPoint(i % 2, 7));
            line.points_proc_from_window.assign(40000, qMakePair(float(i % 2), 0.5f));
            t->w->pushBackStreamToBuffer();
        }
        QVERIFY(t->w->historyBytes() <= MainWindow::historyBudgetBytes);
        QCOMPARE(t->w->byteArrayOfPastStuf.size(), fits);
        QCOMPARE(t->w->lastByteArrayCount, fits - 1);
        t->w->on_goBack_clicked();
        QCOMPARE(t->w->lastByteArrayCount, fits - 2);
        QCOMPARE(t->w->m_data_line.front().points.front(), QPoint((fits + 18) % 2, 7));
    }

    // Charts reached by random edits; loading B over A keeps what it can and must equal loading B afresh.
    void undoRedo_keepingUnchangedBoxes_equalsFullRebuild()
    {
        QRandomGenerator rng(14);
        const auto randomLine = [&] { // some start on the canvas edge, so clipping at the border is compared too
            Line line(t->ui()->drawWidget, 4, 0, false);
            for (QPoint p(rng.bounded(2) * rng.bounded(801), rng.bounded(801)); line.points.size() < 300;)
                line.addPoints(p = QPoint(qBound(0, p.x() + rng.bounded(-60, 61), 800), qBound(0, p.y() + rng.bounded(-60, 61), 800)));
            return line;
        };
        for (int i = 0; i < 6; ++i)
            createBox(QStringLiteral("box %1").arg(i));
        std::vector<ChartStream::Chart> charts;
        for (int step = 0; step < 40; ++step) {
            const int b = rng.bounded(t->w->m_data->size());
            switch (rng.bounded(6)) {
            case 0: t->box(b)->elem->setPlainText(QStringLiteral("edit %1\nline").arg(step)); break;
            case 1: t->box(b)->updateMovingElement(QPoint(rng.bounded(700), rng.bounded(700))); break;
            case 2: if (t->w->m_data->size() > 2) { TextObject* gone = t->w->m_data->takeAt(b); gone->flush(); delete gone; } break;
            case 3: createBox(QStringLiteral("new %1").arg(step)); break;
            case 4: t->w->m_data_line.push_back(randomLine()); break;
            default:
                if (!t->w->m_data_line.empty())
                    t->w->m_data_line.erase(t->w->m_data_line.begin() + rng.bounded(int(t->w->m_data_line.size())));
            }
            charts.push_back(t->w->chartSnapshot());
        }
        for (int pair = 0; pair < 60; ++pair) {
            const ChartStream::Chart& a = charts[size_t(rng.bounded(int(charts.size())))];
            const ChartStream::Chart& b = charts[size_t(rng.bounded(int(charts.size())))];
            t->w->loadChart(a);
            if (!t->w->m_data_line.empty() && rng.bounded(2))
                t->w->m_data_line.front().setObjColor(true);
            t->w->loadChartKeepingUnchanged(b);
            const auto state = [this] { return std::make_tuple(ChartStream::toBytes(t->w->chartSnapshot()), t->w->m_draw_lines.toImage(), editors()); };
            const auto kept = state();
            t->w->loadChart(b);
            QVERIFY(kept == state());
        }
    }

    void undo_keepsTheCursorOfAnUnchangedBox()
    {
        createBox(QStringLiteral("first"));
        createBox(QStringLiteral("second"));
        QTest::keyClicks(t->box(1)->elem, QStringLiteral("!"));
        TextObject* first = t->box(0);
        QTextCursor cursor = first->elem->textCursor();
        cursor.setPosition(2);
        first->elem->setTextCursor(cursor);
        t->w->on_goBack_clicked();
        QCOMPARE(t->texts() + QString::number(first->elem->textCursor().position()), QStringLiteral("first,second2"));
        t->w->on_goForward_clicked();
        QCOMPARE(t->texts(), QStringLiteral("first,second!"));
        QCOMPARE(t->box(0), first);
    }

    void save_writesExportBackupAndFolder()
    {
        createBox(QStringLiteral("abc"));
        t->ui()->lineEdit->setText(QStringLiteral("// "));
        const QString folder = path("my.charts/");
        QVERIFY(QDir().mkpath(folder));
        t->log.answers << folder + QStringLiteral("plan");
        t->w->on_pushButton_2_clicked();
        QCOMPARE(t->log.folders, QStringList{QDir::currentPath()});
        QCOMPARE(t->log.messages, QStringList{QStringLiteral("Saved|Chart saved!")});
        QCOMPARE(t->w->windowTitle(), QStringLiteral("Vandora"));

        QFile exported(folder + QStringLiteral("plan"));
        QVERIFY(exported.open(QIODevice::ReadOnly));
        const QByteArray text = exported.readAll();
        QCOMPARE(text, t->ui()->drawOutput->toPlainText().toUtf8());
        QVERIFY(text.startsWith("// ") && text.contains("|abc") && !text.endsWith('\n'));

        // The next dialog opens in the folder of the last file.
        t->w->on_pushButton_2_clicked();
        QCOMPARE(t->log.folders.last(), folder);
    }

    void save_failedWrite_warnsAndSaysNotSaved()
    {
        createBox(QStringLiteral("new"));
        // A folder where the backup should go makes that write fail.
        QVERIFY(QDir().mkpath(path("kept.fcb")));
        t->log.answers << path("kept.txt") << path("missing/folder/plan.txt");
        t->w->on_pushButton_2_clicked();
        t->w->on_pushButton_2_clicked();
        QCOMPARE(t->log.messages.size(), 2);
        QVERIFY(t->log.messages[0].contains(QStringLiteral("kept.fcb")));
        QVERIFY(t->log.messages[1].contains(QStringLiteral("missing/folder/plan.txt")));
        QVERIFY(!t->log.messages.join(QString()).contains(QStringLiteral("Chart saved!")));
    }

    void undoRedo_rebuildsBoxesAsRecorded()
    {
        t->addBox(QPoint(100, 100));
        t->addBox(QPoint(300, 300), QStringLiteral("two"));
        const QByteArray recorded = ChartStream::toBytes(t->w->chartSnapshot());
        t->w->on_goBack_clicked();
        t->w->on_goForward_clicked();
        QCOMPARE(ChartStream::toBytes(t->w->chartSnapshot()), recorded);
    }

    void open_replacesChartAndHistory()
    {
        createBox(QStringLiteral("saved"));
        t->log.answers << path("chart.txt");
        t->w->on_pushButton_2_clicked();
        createBox(QStringLiteral("later"));
        QCOMPARE(t->w->m_data->size(), 2);

        t->log.answers << path("chart.fcb");
        t->w->on_open_clicked();
        QCOMPARE(t->texts(), QStringLiteral("saved"));
        QCOMPARE(int(t->w->byteArrayOfPastStuf.size()), 1);
        QVERIFY(!t->ui()->goBack->isEnabled());
    }

    void open_invalidFile_keepsChartAndHistory_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        // The reader's every reason has its own tests; here, that any rejection leaves the chart alone.
        QTest::newRow("truncated") << ChartStream::toBytes(ChartStream::Chart()).left(60) << "ends early";
        ChartStream::Chart chart;
        chart.window.creationRecords.push_back({1, 0});
        QTest::newRow("record names a missing connector") << ChartStream::toBytes(chart) << "missing";
        QTest::newRow("no such file") << QByteArray() << " File did not open";
    }

    void open_invalidFile_keepsChartAndHistory()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        createBox(QStringLiteral("keep"));
        createBox(QStringLiteral("me"));
        const int cursor = t->w->lastByteArrayCount;
        const size_t snapshots = t->w->byteArrayOfPastStuf.size();
        const QString name = path(bytes.isNull() ? "none.fcb" : "bad.fcb");
        QFile file(name);
        if (!bytes.isNull())
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
        file.close();
        // A cancelled dialog first, which changes nothing and says nothing.
        t->w->on_open_clicked();
        t->log.answers << name;
        t->w->on_open_clicked();
        QCOMPARE(t->texts(), QStringLiteral("keep,me"));
        QCOMPARE(t->w->lastByteArrayCount, cursor);
        QCOMPARE(t->w->byteArrayOfPastStuf.size(), snapshots);
        QCOMPARE(t->log.messages.size(), 1);
        QVERIFY(t->log.messages[0].startsWith(name + QLatin1Char('|')));
        QVERIFY2(t->log.messages[0].contains(reason), qPrintable(t->log.messages[0]));
        QCOMPARE(t->w->windowTitle(), QStringLiteral("Vandora"));
    }

    void startWithFile_opensItOnce()
    {
        createBox(QStringLiteral("from the command line"));
        t->log.answers << path("start.txt");
        t->w->on_pushButton_2_clicked();
        t.emplace(path("start.fcb"));
        QTRY_COMPARE(t->texts(), QStringLiteral("from the command line"));
        QVERIFY(t->w->m_filePath.isEmpty());
        QCOMPARE(t->w->lastByteArrayCount, 0);
    }

    void outputMenuStyle_rendersSavesCopiesAndIsRemembered()
    {
        createBox("from");
        t->drawLine(t->origin() + QPoint(200, 200), t->origin() + QPoint(420, 300));
        t->ui()->radioButton_3->click();
        QCOMPARE(chooseInOutputMenu("Style", "Lines"), QStringList({"Classic", "At the end"}));
        QCOMPARE(chooseInOutputMenu("Arrow heads", "At both ends"), QStringList({"Lines", "At the end"}));
        const QString shown = t->ui()->drawOutput->toPlainText();
        QVERIFY2(!shown.contains('*') && shown.contains("+----+") && shown.contains('<') && shown.contains('>'),
            qPrintable(shown));

        t->log.answers << path("styled.txt");
        t->key(Qt::Key_Control, true);
        t->key(Qt::Key_S, true, Qt::ControlModifier);
        t->key(Qt::Key_C, true, Qt::ControlModifier | Qt::ShiftModifier);
        t->key(Qt::Key_Control, false);
        QCOMPARE(QApplication::clipboard()->text(), shown);
        QFile exported(path("styled.txt"));
        QVERIFY(exported.open(QIODevice::ReadOnly) && exported.readAll() == shown.toUtf8());

        // A new window, as after a restart, draws in the remembered style.
        t.emplace(path("styled.fcb"));
        QTRY_COMPARE(t->texts(), QStringLiteral("from"));
        QCOMPARE(chooseInOutputMenu("Style", "Unicode"), QStringList({"Lines", "At both ends"}));
        t->ui()->radioButton_3->click();
        QVERIFY(t->ui()->drawOutput->toPlainText().contains("┌────┐"));
    }

private:
    // Right-clicks the output view and triggers `entry` of `submenu` in the menu that opens; returns the
    // entries that were checked. The menu runs its own event loop, so the choice is made from a timer.
    QStringList chooseInOutputMenu(const QString& submenu, const QString& entry)
    {
        QStringList checked;
        QTimer::singleShot(0, [&] {
            QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QAction* chosen = nullptr;
            for (QAction* each : menu ? menu->findChildren<QAction*>() : QList<QAction*>()) {
                checked << (each->isChecked() ? each->text() : QString());
                chosen = each->text() == entry && each->parent()->property("title") == submenu ? each : chosen;
            }
            QVERIFY(chosen);
            chosen->trigger();
            menu->close();
            QCOMPARE(menu->actions().value(0)->text(), QStringLiteral("Style"));
        });
        QWidget* view = t->ui()->drawOutput->viewport();
        QTest::mouseClick(t->w->windowHandle(), Qt::RightButton, Qt::NoModifier, view->mapTo(t->w, view->rect().center()));
        checked.removeAll(QString());
        return checked;
    }

    // A new box at the next free spot, typed into.
    void createBox(const QString& text = QString())
    {
        t->addBox(QPoint(48 + 90 * (created % 8), 52 + 60 * (created / 8)), text);
        ++created;
    }
    // The canvas's editors bottom to top: geometry, text, enabled state and tool tip.
    QStringList editors() const
    {
        QStringList all;
        for (const QObject* child : t->ui()->drawWidget->children())
            if (const auto* editor = qobject_cast<const QTextEdit*>(child); editor && !editor->isHidden())
                all << QStringLiteral("%1,%2 %3x%4 %5 %6 %7").arg(editor->x()).arg(editor->y()).arg(editor->width())
                        .arg(editor->height()).arg(editor->toPlainText()).arg(editor->isEnabled()).arg(editor->toolTip());
        return all;
    }
    QString path(const char* name) const { return dir.path() + QLatin1Char('/') + QLatin1String(name); }

    QTemporaryDir dir;
    std::optional<TestWindow> t;
    int created = 0;
};

QTEST_MAIN(TestPersistence)
#include "tst_persistence.moc"
