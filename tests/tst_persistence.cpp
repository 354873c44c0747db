#include "chartfiles.h"
#include "chartstream.h"
#include "testwindow.h"

#include <QClipboard>
#include <QMenu>
#include <QTemporaryDir>

#include <tuple>

class TestPersistence : public WindowTest
{
    Q_OBJECT

private slots:
    void init()
    {
        // Test mode keeps the user's own configuration out of reach; every case starts without preferences
        // and without the settings file beside the test program.
        QStandardPaths::setTestModeEnabled(true);
        QFile::remove(QCoreApplication::applicationDirPath() + QStringLiteral("/flowChart.settings"));
        QFile::remove(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/vandora.conf");
        t.emplace();
    }

    void undoRedo_followsActions_data()
    {
        // One letter per action, as TestWindow::act reads them.
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("state"); // boxes, history cursor, snapshots, Undo and Redo enabled
        QTest::newRow("undo, redo") << "bbur" << "2 1 2 10";
        QTest::newRow("undo past the first does nothing") << "bbuu" << "1 0 2 01";
        QTest::newRow("new step after undo keeps the state before it") << "bbbbbuun" << "3 3 4 10";
        QTest::newRow("new step at the first snapshot") << "bbun" << "1 1 2 10";
        QTest::newRow("each typed character is a step") << "btt" << "1 2 3 10";
        QTest::newRow("typing into a restored box records nothing") << "bbut" << "1 0 2 01";
        QTest::newRow("undo a whole-chart drag, which is one step") << "bbtdu" << "2 2 4 11";
        QTest::newRow("clear all after undo, redo") << "bbbucr" << "0 2 3 10";
        QTest::newRow("clear all, undo") << "bbcu" << "2 1 3 11";
        QTest::newRow("clear all, undo, redo, new box") << "bbcurb" << "1 3 4 10";
        QTest::newRow("over the budget, the oldest steps go") << "bhbbu" << "3 0 1 00";
    }
    void undoRedo_followsActions()
    {
        QFETCH(QString, actions);
        QFETCH(QString, state);
        t->act(actions);
        MainWindow* w = t->w;
        QCOMPARE(QStringLiteral("%1 %2 %3 %4%5").arg(w->m_data->size()).arg(w->lastByteArrayCount)
            .arg(w->byteArrayOfPastStuf.size()).arg(t->ui()->goBack->isEnabled()).arg(t->ui()->goForward->isEnabled()), state);
        // The snapshot under the cursor is the chart shown, but for typing into a restored box.
        if (!actions.contains(QStringLiteral("ut")))
            QCOMPARE(ChartStream::toBytes(w->chartSnapshot()), w->byteArrayOfPastStuf.at(w->lastByteArrayCount));
    }

    void undo_keepsTheCursorOfAnUnchangedBox()
    {
        TextObject* first = t->addBox(QPoint(100, 100), QStringLiteral("first"));
        t->addBox(QPoint(300, 100), QStringLiteral("second!"));
        first->elem->moveCursor(QTextCursor::Left);
        t->w->on_goBack_clicked();
        QCOMPARE(t->texts() + QString::number(first->elem->textCursor().position()), QStringLiteral("first,second4"));
        t->w->on_goForward_clicked();
        QCOMPARE(t->texts() + QString::number(t->box(0) == first), QStringLiteral("first,second!1"));
    }

    void failedSaveOrOpen_keepsChartAndHistory_data()
    {
        QTest::addColumn<bool>("open");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // written to `name` first unless null
        QTest::addColumn<QString>("reason");
        // The reader's every reason has its own tests; here, that any rejection leaves the chart alone.
        QTest::newRow("truncated") << true << "bad.fcb" << ChartStream::toBytes(ChartStream::Chart()).left(60) << "ends early";
        QTest::newRow("no such file") << true << "none.fcb" << QByteArray() << "none.fcb| File did not open";
        // A folder where the backup should go makes that write fail.
        QTest::newRow("backup cannot be written") << false << "kept.txt" << QByteArray() << "kept.fcb";
        QTest::newRow("no such folder") << false << "missing/folder/plan.txt" << QByteArray() << "missing/folder/plan.txt";
    }
    void failedSaveOrOpen_keepsChartAndHistory()
    {
        QFETCH(bool, open);
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        t->addBox(QPoint(100, 100), QStringLiteral("keep"));
        t->addBox(QPoint(300, 100), QStringLiteral("me"));
        const auto history = [this] { return std::make_tuple(t->w->byteArrayOfPastStuf.at(t->w->lastByteArrayCount), t->w->byteArrayOfPastStuf.size(), t->w->lastByteArrayCount); };
        const auto before = history();
        QVERIFY(QDir().mkpath(path("kept.fcb")));
        QVERIFY(bytes.isNull() || ChartFiles::writeWhole(path("") + name, bytes));
        // A cancelled dialog first, which changes nothing and says nothing.
        for (const QString& answer : {QString(), path("") + name}) {
            t->log.answers << answer;
            open ? t->w->on_open_clicked() : t->w->on_pushButton_2_clicked();
        }
        QCOMPARE(t->texts() + t->w->windowTitle(), QStringLiteral("keep,meVandora"));
        QVERIFY(history() == before);
        QCOMPARE(t->log.messages.size(), 1);
        QVERIFY2(t->log.messages[0].contains(reason), qPrintable(t->log.messages[0]));
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
        QVERIFY2(!shown.contains('*') && shown.contains("+----+") && shown.contains('<') && shown.contains('>'), qPrintable(shown));
        const QString folder = path("my.charts/"), backup = folder + QStringLiteral("plan.fcb"); // a dot in the folder, none in the name
        QVERIFY(QDir().mkpath(folder));
        t->log.answers << folder + QStringLiteral("plan") << backup;
        t->w->on_pushButton_2_clicked();
        QCOMPARE(t->log.messages, QStringList{QStringLiteral("Saved|Chart saved!")});
        QFile exported(folder + QStringLiteral("plan"));
        QVERIFY(exported.open(QIODevice::ReadOnly));
        const QByteArray text = exported.readAll();
        QVERIFY(text == shown.toUtf8() && text.startsWith("// ") && text.contains("|from") && !text.endsWith('\n'));

        t->addBox(QPoint(300, 100), QStringLiteral("later"));
        t->w->on_open_clicked();
        // The next dialog opens in the folder of the last file; Open replaces the chart and its history.
        QCOMPARE(t->log.folders, (QStringList{QDir::currentPath(), folder}));
        QCOMPARE(t->texts() + t->w->windowTitle() + QString::number(t->w->byteArrayOfPastStuf.size()), QStringLiteral("fromVandora1"));
        QVERIFY(!t->ui()->goBack->isEnabled() && !t->w->hasUnsavedChanges());

        // A new window, as after a restart, opens the file it is started with, once, in the remembered style.
        t.emplace(backup);
        QTRY_COMPARE(t->texts() + t->w->m_filePath + QString::number(t->w->lastByteArrayCount), QStringLiteral("from0"));
        QVERIFY(!t->w->hasUnsavedChanges());
        t->ui()->radioButton_3->click();
        QCOMPARE(t->ui()->drawOutput->toPlainText(), shown);
        QCOMPARE(chooseInOutputMenu("Style", "Unicode"), QStringList({"Lines", "At both ends"}));
        QVERIFY(t->ui()->drawOutput->toPlainText().contains("┌────┐"));
    }

    void openTextDrawing_thenPasteOne_givesBoxesToMove()
    {
        // A drawing copied out of a comment opens as its box and connector, drawn in its own style.
        const QString drawing = QStringLiteral("// +-----+\n// |Start|  ------>\n// +-----+");
        QVERIFY(ChartFiles::writeWhole(path("plan.h"), drawing.toUtf8()));
        t->log.answers << path("plan.h");
        t->w->on_open_clicked();
        QCOMPARE(t->texts() + QString::number(t->w->m_data_line.size()) + t->w->windowTitle(), QStringLiteral("Start1Vandora"));
        t->ui()->radioButton_3->click();
        QVERIFY(t->ui()->drawOutput->toPlainText().contains(QStringLiteral("// |Start|  ------>")));
        const QPoint before = t->box(0)->currentWantedRect.topLeft();
        t->key(Qt::Key_Control, true);
        t->drag(t->origin() + t->box(0)->currentWantedRect.center(), t->origin() + t->box(0)->currentWantedRect.center() + QPoint(70, 130));
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
        QTest::mouseClick(t->w->windowHandle(), Qt::RightButton, Qt::NoModifier, view->mapTo(t->w, view->rect().center()));
        return checked;
    }
    QString path(const char* name) const { return dir.path() + QLatin1Char('/') + QLatin1String(name); }

    QTemporaryDir dir;
};

QTEST_MAIN(TestPersistence)
#include "tst_persistence.moc"
