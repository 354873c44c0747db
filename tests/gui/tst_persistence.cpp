#include "chartfiles.h"
#include "chartstream.h"
#include "testwindow.h"

#include <QClipboard>
#include <QMenu>
#include <QTemporaryDir>

#include <algorithm>
#include <tuple>

class TestPersistence : public WindowTest
{
    Q_OBJECT

private slots:
    void undoRedo_followsActions_data()
    {
        // One letter per action, as TestWindow::act reads them.
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("state"); // boxes, history cursor, snapshots, Undo and Redo enabled
        QTest::newRow("undo back to the empty start") << "bbuuu"
                                                      << "0 0 3 01";
        QTest::newRow("a click that changes nothing is no step") << "bbbbbuun"
                                                                 << "3 3 6 11";
        QTest::newRow("each typed character is a step") << "btt"
                                                        << "1 3 4 10";
        QTest::newRow("undo a whole-chart drag, which is one step") << "bbtdu"
                                                                    << "2 3 5 11";
        QTest::newRow("clear all after undo, redo") << "bbbucr"
                                                    << "0 3 4 10";
        QTest::newRow("clear all on an empty chart is no step") << "c"
                                                                << "0 0 1 00";
        QTest::newRow("over the budget, the oldest steps go") << "bhbbu"
                                                              << "3 0 1 00";
    }
    void undoRedo_followsActions()
    {
        QFETCH(QString, actions);
        QFETCH(QString, state);
        t->act(actions);
        MainWindow* w = t->w;
        QCOMPARE(QStringLiteral("%1 %2 %3 %4%5")
                     .arg(w->m_data->size())
                     .arg(w->lastByteArrayCount)
                     .arg(w->byteArrayOfPastStuf.size())
                     .arg(t->ui()->goBack->isEnabled())
                     .arg(t->ui()->goForward->isEnabled()),
            state);
        QCOMPARE(w->contentBytes(), ChartStream::contentOf(w->byteArrayOfPastStuf.at(w->lastByteArrayCount)));
    }

    void edits_areStepsAndKeysStay_data()
    {
        // Space-separated input: box (a new box, which takes the keys), type:TEXT, ^z and ^y (Ctrl held),
        // undo and redo (the buttons), left (the arrow key), click0 (into box 0's text, then End), tag:TEXT (the start
        // tag, then Return), save, open (the saved backup), menu (Ctrl down, the output view's menu opened, Ctrl up
        // while it is open, Escape), alt (Alt pressed and released).
        // The state: the boxes' texts | start tag | Undo, Redo enabled | who has the keys (b a box, w the window).
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("state");
        QTest::newRow("typing after undo, redo") << "box type:abc ^z type:cd ^z ^y"
                                                 << "abcd||10|b";
        QTest::newRow("the undo button keeps the keys") << "box type:abc undo type:d"
                                                        << "abd||10|b";
        QTest::newRow("undo and redo put the cursor where the text changed") << "box type:abc left type:X ^z ^y type:Y"
                                                                             << "abXYc||10|b";
        QTest::newRow("typing into an opened box") << "box type:B save open click0 type:ig ^z"
                                                   << "Bi||11|b";
        QTest::newRow("a tag is a step, redo") << "box type:a tag:# ^z ^y"
                                               << "a|#|10|w";
        QTest::newRow("the first box can be undone") << "box ^z"
                                                     << "||01|w";
        QTest::newRow("the box gone, the window keeps the keys") << "box type:a ^z ^z ^y"
                                                                 << "||11|w";
        QTest::newRow("a release lost to a menu") << "box type:a menu alt click0 type:b"
                                                  << "ab||10|b";
    }
    void edits_areStepsAndKeysStay()
    {
        QFETCH(QString, input);
        QTemporaryDir files;
        for (const QString& action : input.split(QLatin1Char(' '))) {
            const QString text = action.section(QLatin1Char(':'), 1);
            const Qt::Key letter = Qt::Key(action.right(1).toUpper()[0].unicode());
            if (action == "box")
                t->addBox(QPoint(100 + 80 * t->w->m_data->size(), 100));
            else if (action.startsWith("type:"))
                t->type(text);
            else if (action.startsWith(QLatin1Char('^')))
                t->key(Qt::Key_Control, true), t->key(letter, true), t->key(letter, false),
                    t->key(Qt::Key_Control, false);
            else if (action == "left")
                QTest::keyClick(t->window(), Qt::Key_Left);
            else if (action == "undo" || action == "redo")
                t->clickOn(action == "undo" ? t->ui()->goBack : t->ui()->goForward);
            else if (action == "click0")
                t->click(t->origin() + t->box(0)->currentWantedRect.center()),
                    QTest::keyClick(t->window(), Qt::Key_End);
            else if (action.startsWith("tag:"))
                t->clickOn(t->ui()->lineEdit), t->type(text), QTest::keyClick(t->window(), Qt::Key_Return);
            else if (action == "save" || action == "open")
                t->log.answers << files.filePath(action == "save" ? "saved.txt" : "saved.fcb"),
                    t->clickOn(action == "save" ? t->ui()->pushButton_2 : t->ui()->open);
            else if (action == "menu")
                lostReleaseInOutputMenu();
            else if (action == "alt")
                t->key(Qt::Key_Alt, true), t->key(Qt::Key_Alt, false);
            // Once an action is done, the chart on screen is the snapshot under the cursor.
            QCOMPARE(
                t->w->contentBytes(), ChartStream::contentOf(t->w->byteArrayOfPastStuf.at(t->w->lastByteArrayCount)));
        }
        QWidget* keys = QApplication::focusWidget();
        const bool box =
            std::any_of(t->w->m_data->begin(), t->w->m_data->end(), [keys](TextObject* b) { return b->elem == keys; });
        QTEST(QStringLiteral("%1|%2|%3%4|%5")
                  .arg(t->texts(), t->ui()->lineEdit->text())
                  .arg(t->ui()->goBack->isEnabled())
                  .arg(t->ui()->goForward->isEnabled())
                  .arg(box               ? "b"
                          : keys == t->w ? "w"
                                         : "-"),
            "state");
        QVERIFY(t->modesOn().isEmpty());
    }

    void failedSaveOrOpen_keepsChartAndHistory_data()
    {
        QTest::addColumn<bool>("open");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // written to `name` first unless null
        QTest::addColumn<QString>("reason");
        // The reader's every reason has its own tests; here, that any rejection leaves the chart alone.
        QTest::newRow("truncated") << true << "bad.fcb" << ChartStream::toBytes(ChartStream::Chart()).left(60)
                                   << "ends early";
        QTest::newRow("no such file") << true << "none.fcb" << QByteArray() << "none.fcb: File did not open";
        // A folder where the backup should go makes that write fail.
        QTest::newRow("backup cannot be written") << false << "kept.txt" << QByteArray() << "kept.fcb";
        QTest::newRow("no such folder") << false << "missing/folder/plan.txt" << QByteArray()
                                        << "missing/folder/plan.txt";
    }
    void failedSaveOrOpen_keepsChartAndHistory()
    {
        QFETCH(bool, open);
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        t->addBox(QPoint(100, 100), QStringLiteral("keep"));
        t->addBox(QPoint(300, 100), QStringLiteral("me"));
        const auto history = [this] {
            return std::make_tuple(t->w->byteArrayOfPastStuf.at(t->w->lastByteArrayCount),
                t->w->byteArrayOfPastStuf.size(), t->w->lastByteArrayCount);
        };
        const auto before = history();
        QVERIFY(QDir().mkpath(path("kept.fcb")));
        QVERIFY(bytes.isNull() || ChartFiles::writeWhole(path("") + name, bytes));
        // An earlier export beside the backup that cannot be written stays as it was.
        QVERIFY(ChartFiles::writeWhole(path("kept.txt"), "earlier"));
        // A cancelled dialog first, which changes nothing and says nothing; Open may drop the chart.
        t->log.closing << Prompts::CloseAnswer::Discard << Prompts::CloseAnswer::Discard;
        for (const QString& answer : {QString(), path("") + name}) {
            t->log.answers << answer;
            open ? t->w->on_open_clicked() : t->w->on_pushButton_2_clicked();
        }
        QCOMPARE(t->texts() + t->title(), QStringLiteral("keep,meVandora*"));
        QVERIFY(history() == before);
        QCOMPARE(t->log.messages.size(), 1);
        QVERIFY2(t->log.messages[0].contains(reason), qPrintable(t->log.messages[0]));
        QFile earlier(path("kept.txt"));
        QVERIFY(earlier.open(QIODevice::ReadOnly) && earlier.readAll() == "earlier"); // no save replaced it
    }

    void saveOpenAndRestart_keepChartStyleAndFolder()
    {
        t->addBox(QPoint(48, 52), QStringLiteral("from"));
        t->drawLine(t->origin() + QPoint(200, 200), t->origin() + QPoint(420, 300));
        t->ui()->lineEdit->setText(QStringLiteral("// "));
        t->ui()->radioButton_3->click();
        QCOMPARE(chooseInOutputMenu("Style", "Lines"), QStringList({"Classic", "At the end"}));
        QCOMPARE(chooseInOutputMenu("Arrow heads", "At both ends"), QStringList({"Lines", "At the end"}));
        const QString shown = t->ui()->drawOutput->toPlainText();
        QVERIFY2(!shown.contains('*') && shown.contains("+----+") && shown.contains('<') && shown.contains('>'),
            qPrintable(shown));
        const QString folder = path("my.charts/"),
                      backup = folder + QStringLiteral("plan.fcb"); // a dot in the folder, none in the name
        QVERIFY(QDir().mkpath(folder));
        t->log.answers << folder + QStringLiteral("plan") << backup;
        t->w->on_pushButton_2_clicked();
        QCOMPARE(t->log.messages, QStringList{QStringLiteral("Saved|Chart saved!")});
        QFile exported(folder + QStringLiteral("plan"));
        QVERIFY(exported.open(QIODevice::ReadOnly));
        const QByteArray text = exported.readAll();
        QVERIFY(text == shown.toUtf8() && text.startsWith("// ") && text.contains("|from") && !text.endsWith('\n'));

        t->addBox(QPoint(300, 100), QStringLiteral("later"));
        t->log.closing << Prompts::CloseAnswer::Discard;
        t->w->on_open_clicked();
        // The next dialog opens in the folder of the last file; Open replaces the chart and its history.
        QCOMPARE(t->log.folders, (QStringList{QDir::currentPath(), folder}));
        QCOMPARE(t->texts() + t->title() + QString::number(t->w->byteArrayOfPastStuf.size()),
            QStringLiteral("fromplan.fcb - Vandora1"));
        QVERIFY(!t->ui()->goBack->isEnabled() && !t->w->hasUnsavedChanges());

        // A new window, as after a restart, opens the file it is started with, once, in the remembered style.
        t.emplace(backup);
        QTRY_COMPARE(
            t->texts() + t->w->m_filePath + QString::number(t->w->lastByteArrayCount), QStringLiteral("from0"));
        QVERIFY(!t->w->hasUnsavedChanges());
        // "Draw " stays on from the last run.
        QVERIFY(t->ui()->radioButton_3->isChecked());
        QCOMPARE(t->ui()->drawOutput->toPlainText(), shown);
        QCOMPARE(chooseInOutputMenu("Style", "Rounded"), QStringList({"Lines", "At both ends"}));
        QVERIFY(t->ui()->drawOutput->toPlainText().contains("╭────╮"));
    }

    void openTextDrawing_thenPasteOne_givesBoxesToMove()
    {
        // A drawing copied out of a comment opens as its box and connector, drawn in its own style.
        const QString drawing = QStringLiteral("// +-----+\n// |Start|  ------>\n// +-----+");
        QVERIFY(ChartFiles::writeWhole(path("plan.h"), drawing.toUtf8()));
        t->log.answers << path("plan.h");
        t->w->on_open_clicked();
        QCOMPARE(t->texts() + QString::number(t->w->m_data_line.size()) + t->title(),
            QStringLiteral("Start1plan.h - Vandora"));
        t->ui()->radioButton_3->click();
        QVERIFY(t->ui()->drawOutput->toPlainText().contains(QStringLiteral("// |Start|  ------>")));
        const QPoint before = t->box(0)->currentWantedRect.topLeft();
        t->key(Qt::Key_Control, true);
        t->drag(t->origin() + t->box(0)->currentWantedRect.center(),
            t->origin() + t->box(0)->currentWantedRect.center() + QPoint(70, 130));
        // The box follows the pointer, give or take the pixel its centre rounds off.
        QVERIFY((t->box(0)->currentWantedRect.topLeft() - before - QPoint(70, 130)).manhattanLength() <= 2);

        // Ctrl+Shift+V adds the clipboard's drawing to the chart as one step of history.
        QApplication::clipboard()->setText(QStringLiteral("|--|\n|ab|\n|--|"));
        const int steps = t->w->byteArrayOfPastStuf.size();
        t->key(Qt::Key_V, true, Qt::ControlModifier | Qt::ShiftModifier);
        t->key(Qt::Key_Control, false);
        QCOMPARE(t->texts() + QString::number(t->w->byteArrayOfPastStuf.size() - steps), QStringLiteral("Start,ab1"));
        QCOMPARE(ChartStream::toBytes(t->w->chartSnapshot()), t->w->byteArrayOfPastStuf.at(t->w->lastByteArrayCount));
    }

private:
    // Ctrl held while the output view's menu opens; the menu takes Ctrl's release, then closes.
    void lostReleaseInOutputMenu()
    {
        t->key(Qt::Key_Control, true);
        QTimer::singleShot(0, [this] {
            QWidget* menu = QApplication::activePopupWidget();
            QVERIFY(menu);
            t->key(Qt::Key_Control, false);
            QTest::keyClick(menu, Qt::Key_Escape);
        });
        QWidget* view = t->ui()->drawOutput->viewport();
        t->click(view->mapTo(t->w, view->rect().center()), Qt::RightButton);
    }
    // Right-clicks the output view and triggers `entry` of `submenu` in the menu that opens; returns the
    // entries that were checked. The menu runs its own event loop, so the choice is made from a timer.
    QStringList chooseInOutputMenu(const QString& submenu, const QString& entry)
    {
        QStringList checked;
        QTimer::singleShot(0, [&] {
            QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QAction* chosen = nullptr;
            for (QAction* each : menu ? menu->findChildren<QAction*>() : QList<QAction*>()) {
                if (each->isChecked())
                    checked << each->text();
                chosen = each->text() == entry && each->parent()->property("title") == submenu ? each : chosen;
            }
            QVERIFY(chosen);
            chosen->trigger();
            menu->close();
        });
        QWidget* view = t->ui()->drawOutput->viewport();
        QTest::mouseClick(
            t->w->windowHandle(), Qt::RightButton, Qt::NoModifier, view->mapTo(t->w, view->rect().center()));
        return checked;
    }
    QString path(const char* name) const { return dir.path() + QLatin1Char('/') + QLatin1String(name); }

    QTemporaryDir dir;
};

QTEST_MAIN(TestPersistence)
#include "tst_persistence.moc"
