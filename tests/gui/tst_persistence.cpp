#include "chartfiles.h"
#include "chartstream.h"
#include "labels.h"
#include "testwindow.h"

#include <QClipboard>
#include <QMenu>
#include <QTemporaryDir>

#include <algorithm>
#include <map>

class TestPersistence : public WindowTest
{
    Q_OBJECT

    static QString yesNo(bool value) { return value ? "yes" : "no"; }
    // Once an action is done, the chart on screen is the snapshot under the cursor.
    void checkOnScreenIsUnderCursor()
    {
        QCOMPARE(t->w->contentBytes(), ChartStream::contentOf(t->w->byteArrayOfPastStuf.at(t->w->lastByteArrayCount)));
    }

private slots:
    void actions_leaveHistoryKeysAndFilesAsStated_data()
    {
        // The actions as TestWindow::act reads them, on files in a folder holding kept.txt, a folder kept.fcb
        // where its backup would go, and bad.fcb, a truncated backup; then the boxes, the history cursor and
        // snapshots, the boxes' texts, the start tag, Undo and Redo enabled, who has the keys, the title, the
        // messages shown and a word of the last, whether the close prompt asked, the window closed, a file written.
        QTest::addColumn<QString>("row");
        QTest::newRow("undo at the first step")
            << "actions=box,box,undo,undo,undo boxes=0 cursor=0 snapshots=3 undo=no redo=yes";
        QTest::newRow("a click that changes nothing is no step")
            << "actions=box,box,box,box,box,undo,undo,none boxes=3 cursor=3 snapshots=6 undo=yes redo=yes";
        QTest::newRow("each typed character is a step")
            << "actions=box,type:x,type:x boxes=1 cursor=3 snapshots=4 redo=no";
        QTest::newRow("a whole-chart drag is one step")
            << "actions=box,box,type:x,drag,undo boxes=2 cursor=3 snapshots=5 undo=yes redo=yes";
        QTest::newRow("redo at the last step") << "actions=box,box,undo,redo,redo boxes=2 cursor=2 undo=yes redo=no";
        QTest::newRow("clear all after undo, redo")
            << "actions=box,box,box,undo,clear,redo boxes=0 cursor=3 snapshots=4";
        QTest::newRow("clear all on an empty chart is no step") << "actions=clear snapshots=1 undo=no redo=no";
        QTest::newRow("over the history budget, the oldest steps go")
            << "actions=box,budget,box,box,undo boxes=3 cursor=0 snapshots=1 undo=no redo=no";
        QTest::newRow("typing after undo, redo") << "actions=box,type:abc,^z,type:cd,^z,^y texts=abcd redo=no keys=box";
        QTest::newRow("the undo button keeps the keys") << "actions=box,type:abc,undobutton,type:d texts=abd keys=box";
        QTest::newRow("undo and redo put the cursor where the text changed")
            << "actions=box,type:abc,left,type:X,^z,^y,type:Y texts=abXYc keys=box";
        QTest::newRow("typing into an opened box")
            << "actions=box,type:B,save:saved.txt,open:saved.fcb,edit,type:ig,^z texts=Bi undo=yes redo=yes keys=box";
        QTest::newRow("a tag is a step, redo") << "actions=box,type:a,tag:#,^z,^y texts=a tag=# redo=no keys=window";
        QTest::newRow("the first box undone") << "actions=box,^z texts= tag= undo=no redo=yes keys=window";
        QTest::newRow("the box gone, the window keeps the keys") << "actions=box,type:a,^z,^z,^y texts= keys=window";
        QTest::newRow("a release lost to a menu") << "actions=box,type:a,menu,alt,edit,type:b texts=ab keys=box";
        // A cancelled dialog first, which changes nothing and says nothing.
        QTest::newRow("open a truncated backup")
            << "actions=box,type:k,answer:discard,open:,answer:discard,open:bad.fcb "
               "texts=k snapshots=3 cursor=2 title=Vandora* messages=1 said=early";
        QTest::newRow("open a missing file")
            << "actions=box,answer:discard,open:none.fcb boxes=1 snapshots=2 title=Vandora* messages=1 said=none.fcb:";
        QTest::newRow("save when the backup cannot be written")
            << "actions=box,type:k,save:,save:kept.txt texts=k snapshots=3 title=Vandora* messages=1 said=kept.fcb";
        QTest::newRow("save into a missing folder")
            << "actions=box,save:missing/plan.txt snapshots=2 title=Vandora* messages=1 said=missing/plan.txt";
        // The close prompt's answer is Cancel unless the row gives one.
        QTest::newRow("close when only the pointer moved") << "actions=none,close asked=no closed=yes";
        QTest::newRow("close changed: cancel") << "actions=box,close asked=yes closed=no";
        QTest::newRow("close changed: discard") << "actions=box,answer:discard,close asked=yes closed=yes";
        QTest::newRow("close changed: save")
            << "actions=box,answer:save,name:closing.txt,close asked=yes closed=yes wrote=closing.fcb";
        QTest::newRow("close changed: save fails")
            << "actions=box,answer:save,name:missing/closing.txt,close asked=yes closed=no";
        QTest::newRow("close saved") << "actions=box,save:saved.txt,close asked=no closed=yes";
        QTest::newRow("close after a failed save") << "actions=box,save:missing/plan.txt,close asked=yes closed=no";
        QTest::newRow("close changed after saving") << "actions=box,save:saved.txt,box,close asked=yes closed=no";
        QTest::newRow("close undone to the saved chart")
            << "actions=box,save:saved.txt,box,undo,close asked=no closed=yes";
        QTest::newRow("close opened") << "actions=box,save:saved.txt,open:saved.fcb,close asked=no closed=yes";
        QTest::newRow("open changed: cancel") << "actions=box,save:saved.txt,box,open:saved.fcb asked=yes boxes=2";
        QTest::newRow("open changed: save fails")
            << "actions=box,save:saved.txt,box,answer:save,name:missing/other.txt,open:saved.fcb asked=yes boxes=2";
    }
    void actions_leaveHistoryKeysAndFilesAsStated()
    {
        QFETCH(QString, row);
        const Labels want(row);
        QVERIFY(QDir().mkpath(path("kept.fcb")));
        QVERIFY(ChartFiles::writeWhole(path("kept.txt"), "earlier"));
        QVERIFY(ChartFiles::writeWhole(path("bad.fcb"), ChartStream::toBytes(ChartStream::Chart()).left(60)));
        for (const QString& action : want["actions"].section('=', 1).split(',')) {
            t->act(action, dir.path());
            checkOnScreenIsUnderCursor();
        }
        QWidget* keys = QApplication::focusWidget();
        const bool box =
            std::any_of(t->w->m_data->begin(), t->w->m_data->end(), [keys](TextObject* b) { return b->elem == keys; });
        const std::map<QString, QString> got{{"boxes", QString::number(t->w->m_data->size())},
            {"cursor", QString::number(t->w->lastByteArrayCount)},
            {"snapshots", QString::number(t->w->byteArrayOfPastStuf.size())}, {"texts", t->texts()},
            {"tag", t->ui()->lineEdit->text()}, {"undo", yesNo(t->ui()->goBack->isEnabled())},
            {"redo", yesNo(t->ui()->goForward->isEnabled())},
            {"keys",
                box                ? "box"
                    : keys == t->w ? "window"
                                   : "other"},
            {"title", t->title()}, {"messages", QString::number(t->log.messages.size())},
            {"asked", yesNo(t->log.questions.contains(QStringLiteral("close")))},
            {"closed", yesNo(!t->w->isVisible())}};
        for (const auto& [label, value] : got)
            if (want.has(label))
                QCOMPARE(labelled(label, value), want[label]);
        QVERIFY(t->modesOn().isEmpty());
        const QString said = want.has("said") ? want["said"].section('=', 1) : QString();
        QVERIFY2(
            t->log.messages.value(t->log.messages.size() - 1).contains(said), qPrintable(t->log.messages.join(';')));
        if (want.has("wrote"))
            QVERIFY(QFile::exists(dir.filePath(want["wrote"].section('=', 1))));
        // A closed window leaves nothing to recover, and no failed save replaced an earlier export.
        QVERIFY(t->w->isVisible() || !QFile::exists(MainWindow::recoveryFilePath()));
        QFile earlier(path("kept.txt"));
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        QCOMPARE(earlier.readAll(), QByteArray("earlier"));
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
        QVERIFY2(shown.contains("+----+"), qPrintable(shown));
        QVERIFY2(shown.contains('<'), qPrintable(shown));
        QVERIFY2(!shown.contains('*'), qPrintable(shown));
        const QString folder = path("my.charts/"),
                      backup = folder + QStringLiteral("plan.fcb"); // a dot in the folder, none in the name
        QVERIFY(QDir().mkpath(folder));
        t->log.answers << folder + QStringLiteral("plan") << backup;
        t->w->on_pushButton_2_clicked();
        QCOMPARE(t->log.messages, QStringList{QStringLiteral("Saved|Chart saved!")});
        QFile exported(folder + QStringLiteral("plan"));
        QVERIFY(exported.open(QIODevice::ReadOnly));
        QCOMPARE(exported.readAll(), shown.toUtf8());

        t->addBox(QPoint(300, 100), QStringLiteral("later"));
        t->log.closing << Prompts::CloseAnswer::Discard;
        t->w->on_open_clicked();
        // The next dialog opens in the folder of the last file; Open replaces the chart and its history.
        QCOMPARE(t->log.folders, (QStringList{QDir::currentPath(), folder}));
        QCOMPARE(t->texts(), QStringLiteral("from"));
        QCOMPARE(t->title(), QStringLiteral("plan.fcb - Vandora"));
        QCOMPARE(t->w->byteArrayOfPastStuf.size(), 1);

        // A new window, as after a restart, opens the file it is started with, once, in the remembered style.
        t.emplace(backup);
        QTRY_COMPARE(t->texts(), QStringLiteral("from"));
        QVERIFY(t->w->m_filePath.isEmpty());
        QVERIFY(!t->w->hasUnsavedChanges());
        // "Draw " stays on from the last run.
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
        QCOMPARE(t->texts(), QStringLiteral("Start"));
        QCOMPARE(t->w->m_data_line.size(), size_t(1));
        QCOMPARE(t->title(), QStringLiteral("plan.h - Vandora"));
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
        QCOMPARE(t->texts(), QStringLiteral("Start,ab"));
        QCOMPARE(t->w->byteArrayOfPastStuf.size(), steps + 1);
        checkOnScreenIsUnderCursor();
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
        QTest::mouseClick(t->window(), Qt::RightButton, Qt::NoModifier, view->mapTo(t->w, view->rect().center()));
        return checked;
    }
    QString path(const char* name) const { return dir.path() + QLatin1Char('/') + QLatin1String(name); }

    QTemporaryDir dir;
};

QTEST_MAIN(TestPersistence)
#include "tst_persistence.moc"
