#include "chartfiles.h"
#include "chartstream.h"
#include "testwindow.h"

class TestRecovery : public WindowTest
{
    Q_OBJECT

    static QByteArray recovered() { return contents(MainWindow::recoveryFilePath()); }
    QByteArray latestSnapshot() const { return t->w->byteArrayOfPastStuf.at(t->w->lastByteArrayCount); }

private slots:
    void recoveryFile_holdsLatestUnsavedSnapshot()
    {
        t->addBox(QPoint(40, 40), QStringLiteral("first"));
        QTRY_COMPARE(recovered(), latestSnapshot());
        // A later change waits for the interval, and a held button postpones the write past it.
        t->addBox(QPoint(100, 40), QStringLiteral("second"));
        const QByteArray second = latestSnapshot();
        t->clickOn(t->mode('c'));
        t->press(t->origin() + QPoint(300, 300));
        QTest::qWait(MainWindow::recoveryIntervalMs + 300);
        QVERIFY(recovered() != second);
        t->release(t->origin() + QPoint(300, 300));
        QTRY_COMPARE_WITH_TIMEOUT(recovered(), latestSnapshot(), 1000);
        t->clickOn(t->mode('c'));
        // Saving removes it, and the next change brings it back.
        t->act("save:r.txt", dir.path());
        QVERIFY(!QFile::exists(MainWindow::recoveryFilePath()));
        t->act("edit,type:!,none");
        QTRY_COMPARE_WITH_TIMEOUT(recovered(), latestSnapshot(), MainWindow::recoveryIntervalMs + 1000);
        // Undone back to the saved chart, nothing is left to recover.
        while (t->w->hasUnsavedChanges())
            t->w->on_goBack_clicked();
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(MainWindow::recoveryFilePath()), MainWindow::recoveryIntervalMs + 1000);
    }

    void start_offersRecoveryFile_data()
    {
        // Bytes cut off the recovery file's end and the answer to the offer, for a window started with a missing
        // file named, which it opens, with a warning, unless it restores; then what it shows, whether it was
        // offered, the warnings, whether the recovery file stays, unsaved changes.
        QTest::addColumn<QString>("row");
        QTest::newRow("restored, not the file named") << "chop=0 accept=yes texts=kept,too offered=yes warnings=0 kept=yes unsaved=yes";
        QTest::newRow("declined") << "chop=0 accept=no texts= offered=yes warnings=1 kept=no unsaved=no";
        QTest::newRow("damaged: warned, dropped") << "chop=3 accept=yes texts= offered=no warnings=2 kept=no unsaved=no";
    }
    void start_offersRecoveryFile()
    {
        QFETCH(QString, row);
        const Labels want(row);
        t->addBox(QPoint(40, 40), QStringLiteral("kept"));
        t->addBox(QPoint(100, 40), QStringLiteral("too"));
        const QByteArray bytes = ChartStream::toBytes(t->w->chartSnapshot()).chopped(want["chop"].right(1).toInt());
        const QString path = MainWindow::recoveryFilePath();
        t.reset();
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QVERIFY(ChartFiles::writeWhole(path, bytes));
        t.emplace(dir.filePath("named.fcb"), QList<bool>{want["accept"] == "accept=yes"});
        QTRY_VERIFY(!t->log.questions.isEmpty() || !t->log.messages.isEmpty());
        QCOMPARE(labelled("texts", t->texts()), want["texts"]);
        QCOMPARE(labelled("offered", t->log.questions == QStringList{"restore " + path}), want["offered"]);
        QCOMPARE(labelled("warnings", t->log.messages.size()), want["warnings"]);
        if (want["offered"] == "offered=no")
            QVERIFY(t->log.messages.value(0).startsWith(path + "|" + path + ": The recovered chart is damaged"));
        QCOMPARE(labelled("kept", QFile::exists(path)), want["kept"]);
        QCOMPARE(labelled("unsaved", t->w->hasUnsavedChanges()), want["unsaved"]);
        // The chart shown is where the history starts, and Open asks for a file, whatever was named at start.
        QCOMPARE(t->w->contentBytes(), ChartStream::contentOf(t->w->byteArrayOfPastStuf.at(0)));
        t->act("answer:discard,open:");
        QCOMPARE(t->log.folders.size(), 1);
    }

private:
    QTemporaryDir dir;
};

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
