#include "chartfiles.h"
#include "chartstream.h"
#include "testwindow.h"

#include <QClipboard>
#include <QMenu>

class TestPersistence : public WindowTest
{
    Q_OBJECT

    static QString yesNo(bool value) { return value ? "yes" : "no"; }

private slots:
    void actions_leaveHistoryKeysAndFilesAsStated_data()
    {
        // The actions as TestWindow::act reads them, on files in a folder holding kept.txt, a folder kept.fcb
        // where its backup would go, bad.fcb, a truncated backup, and plan.h, a drawing; then the boxes, the history
        // cursor and its snapshots (steps), the boxes' texts, the start tag, Undo and Redo enabled, who has the keys,
        // the title and file, the drawing's style and borders, the messages shown and a word of the last, whether the
        // close prompt asked, the window closed, a file written. Spaces in values are written as _.
        QTest::addColumn<QString>("row");
        QTest::newRow("undo at the first step") << "do=box,undo,undo boxes=0 cursor=0 steps=2 undo=no redo=yes";
        QTest::newRow("a click that changes nothing") << "do=box,box,box,undo,none boxes=2 cursor=2 steps=4 redo=yes";
        QTest::newRow("each typed character is a step") << "do=box,type:x,type:x boxes=1 cursor=3 steps=4 redo=no";
        QTest::newRow("a whole-chart drag") << "do=box,box,type:x,line,drag,undo boxes=2 connectors=1 cursor=4 steps=6 redo=yes";
        QTest::newRow("redo at the last step") << "do=box,box,undo,redo,redo boxes=2 cursor=2 undo=yes redo=no";
        QTest::newRow("clear all after undo, redo") << "do=box,box,box,undo,clear,redo boxes=0 cursor=3 steps=4";
        QTest::newRow("clear all on an empty chart") << "do=clear steps=1 undo=no redo=no";
        QTest::newRow("over the history budget") << "do=box,budget,box,box,undo boxes=3 cursor=0 steps=1 undo=no";
        QTest::newRow("typing after undo, redo") << "do=box,type:abc,^z,type:cd,^z,^y texts=abcd redo=no keys=drawWidget";
        QTest::newRow("the undo button keeps the keys") << "do=box,type:abc,undobutton,type:d texts=abd keys=drawWidget";
        QTest::newRow("undo, redo: cursor at the change") << "do=box,type:abc,left,type:X,^z,^y,type:Y texts=abXYc";
        QTest::newRow("typing into an opened box") << "do=box,type:B,save:c.txt,open:c.fcb,edit,type:ig,^z texts=Bi undo=yes redo=yes keys=drawWidget";
        QTest::newRow("a tag is a step, redo") << "do=box,type:a,tag:#,^z,^y texts=a tag=# redo=no keys=window";
        QTest::newRow("the box gone, the window keeps the keys") << "do=box,type:a,^z,^z,^y texts= keys=window";
        QTest::newRow("a release lost to a menu") << "do=box,type:a,menu,alt,edit,type:b texts=ab keys=drawWidget";
        // A cancelled dialog first, which changes nothing and says nothing.
        QTest::newRow("open a truncated backup") << "do=box,answer:discard,open:,answer:discard,open:bad.fcb steps=2 title=Vandora* messages=1 said=early";
        QTest::newRow("save when the backup cannot be written") << "do=box,type:k,save:,save:kept.txt texts=k steps=3 title=Vandora* messages=1 said=kept.fcb";
        QTest::newRow("save into a missing folder") << "do=box,save:no/c.txt steps=2 title=Vandora* said=no/c.txt";
        // The close prompt's answer is Cancel unless the row gives one.
        QTest::newRow("close when only the pointer moved") << "do=none,close asked=no closed=yes title=Vandora";
        QTest::newRow("close changed: save") << "do=box,answer:save,name:d.txt,close asked=yes closed=yes wrote=d.fcb";
        QTest::newRow("close changed: save fails") << "do=box,answer:save,name:no/d.txt,close asked=yes closed=no";
        QTest::newRow("close saved") << "do=box,save:c.txt,close asked=no closed=yes title=c.fcb_-_Vandora file=c.fcb";
        QTest::newRow("close changed after saving") << "do=box,save:c.txt,box,close asked=yes title=c.fcb*_-_Vandora";
        QTest::newRow("close undone to saved") << "do=box,save:c.txt,box,undo,close closed=yes title=c.fcb_-_Vandora";
        QTest::newRow("open over changes") << "do=box,type:x,save:c.txt,box,answer:discard,open:c.fcb texts=x steps=1 "
                                              "title=c.fcb_-_Vandora file=c.fcb";
        QTest::newRow("open a box too wide for the canvas") << "do=open:wide.fcb texts=" + QString(112, 'w') + " steps=1";
        QTest::newRow("open a text drawing") << "do=borders,open:plan.h texts=Start connectors=1 steps=1 tag=//_ "
                                                "borders=yes style=lines title=plan.h_-_Vandora";
        QTest::newRow("paste a drawing into an opened one") << "do=open:plan.h,^V texts=Start,ab steps=2";
        QTest::newRow("drop a text export: refused") << "do=box,save:c.txt,box,refuse:c.txt asked=no boxes=2";
        QTest::newRow("drop a backup: cancel") << "do=box,save:c.txt,box,drop:c.fcb asked=yes boxes=2";
        QTest::newRow("drop a backup: discard") << "do=box,type:x,save:c.txt,box,answer:discard,drop:c.fcb texts=x title=c.fcb_-_Vandora";
        QTest::newRow("open changed: cancel") << "do=box,save:c.txt,box,open:c.fcb asked=yes boxes=2";
    }
    void actions_leaveHistoryKeysAndFilesAsStated()
    {
        QFETCH(QString, row);
        const Labels want(row);
        QVERIFY(QDir().mkpath(dir.filePath("kept.fcb")));
        QVERIFY(ChartFiles::writeWhole(dir.filePath("kept.txt"), "earlier"));
        QVERIFY(ChartFiles::writeWhole(dir.filePath("bad.fcb"), ChartStream::toBytes(ChartStream::Chart()).left(60)));
        QVERIFY(ChartFiles::writeWhole(
            dir.filePath("wide.fcb"), ChartStream::toBytes({{}, {{{}, 0, 0, {}, {80, 80, 20, 20}, {0.1, 0.1}, {24, 16}, {10, 6}, QString(300, 'w')}}, {}})));
        // A drawing copied out of a comment, and one to paste.
        QVERIFY(ChartFiles::writeWhole(dir.filePath("plan.h"), "// +-----+\n// |Start|  ------>\n// +-----+"));
        QApplication::clipboard()->setText(QStringLiteral("|--|\n|ab|\n|--|"));
        for (const QString& action : want.value("do").split(',')) {
            t->act(action, dir.path());
            // Once an action is done, the chart on screen is the snapshot under the cursor.
            QCOMPARE(t->w->contentBytes(), ChartStream::contentOf(t->w->byteArrayOfPastStuf.at(t->w->lastByteArrayCount)));
            QVERIFY(t->layerIsFullRepaint());
        }
        // The keys are with the window or a widget in it; boxes' editors are the widgets on the drawWidget.
        const QWidget* keys = QApplication::focusWidget();
        const std::map<QString, QString> got{{"boxes", QString::number(t->w->m_data->size())}, {"connectors", QString::number(t->w->m_data_line.size())},
            {"cursor", QString::number(t->w->lastByteArrayCount)}, {"steps", QString::number(t->w->byteArrayOfPastStuf.size())}, {"texts", t->texts()},
            {"tag", t->ui()->lineEdit->text()}, {"undo", yesNo(t->ui()->goBack->isEnabled())}, {"redo", yesNo(t->ui()->goForward->isEnabled())},
            {"keys",
                keys == t->w ? "window"
                    : keys   ? keys->parentWidget()->objectName()
                             : "none"},
            {"title", t->title()}, {"file", QDir(dir.path()).relativeFilePath(t->w->windowFilePath())}, {"style", CharGrid::nameOf(t->w->m_drawStyle)},
            {"borders", yesNo(t->ui()->radioButton_4->isChecked())}, {"messages", QString::number(t->log.messages.size())},
            {"asked", yesNo(t->log.questions.contains(QStringLiteral("close")))}, {"closed", yesNo(!t->w->isVisible())}};
        for (const auto& [label, value] : got)
            if (want.has(label))
                QCOMPARE(labelled(label, QString(value).replace(' ', '_')), want[label]);
        QVERIFY(t->modesOn().isEmpty());
        const QString said = t->log.messages.join(';');
        QVERIFY2(!want.has("said") || said.contains(want.value("said")), qPrintable(said));
        if (want.has("wrote"))
            QVERIFY(QFile::exists(dir.filePath(want.value("wrote"))));
        // A closed window leaves nothing to recover, and no failed save replaced an earlier export.
        QVERIFY(t->w->isVisible() || !QFile::exists(MainWindow::recoveryFilePath()));
        QCOMPARE(contents(dir.filePath("kept.txt")), QByteArray("earlier"));
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
        // A dot in the folder, none in the name.
        QVERIFY(QDir().mkpath(dir.filePath("my.charts")));
        t->act("save:my.charts/plan", dir.path());
        QCOMPARE(t->log.messages, QStringList{QStringLiteral("Saved|Chart saved!")});
        QCOMPARE(contents(dir.filePath("my.charts/plan")), shown.toUtf8());
        // The next dialog opens in the folder of the last file.
        t->act("box,answer:discard,open:my.charts/plan.fcb", dir.path());
        QCOMPARE(t->log.folders, (QStringList{QDir::currentPath(), dir.filePath("my.charts/")}));

        // A new window, as after a restart, opens the file it is started with, once, in the remembered style.
        t.emplace(dir.filePath("my.charts/plan.fcb"));
        QTRY_COMPARE(t->texts(), QStringLiteral("from"));
        QVERIFY(t->w->m_filePath.isEmpty());
        QVERIFY(!t->w->hasUnsavedChanges());
        // "Draw " stays on from the last run.
        QCOMPARE(t->ui()->drawOutput->toPlainText(), shown);
        QCOMPARE(chooseInOutputMenu("Style", "Rounded"), QStringList({"Lines", "At both ends"}));
        QVERIFY(t->ui()->drawOutput->toPlainText().contains("╭────╮"));
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

    QTemporaryDir dir;
};

QTEST_MAIN(TestPersistence)
#include "tst_persistence.moc"
