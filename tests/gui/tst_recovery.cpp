#include "chartfiles.h"
#include "chartstream.h"
#include "testwindow.h"

#include <QTemporaryDir>

using Answer = Prompts::CloseAnswer;
Q_DECLARE_METATYPE(Answer)

class TestRecovery : public WindowTest
{
    Q_OBJECT

    QByteArray recovered() const
    {
        QFile file(MainWindow::recoveryFilePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QByteArray latestSnapshot() const { return t->w->byteArrayOfPastStuf.at(t->w->lastByteArrayCount); }

private slots:
    void close_asksOnlyWhenChanged_data()
    {
        // One letter per action, as TestWindow::act reads them.
        QTest::addColumn<QString>("actions");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("saveAs"); // the name the close prompt's Save gets; empty: cancelled
        QTest::addColumn<QString>("outcome");
        // Closing, or with "open" in the name Open (of saved.fcb, whose chart has one box).
        QTest::newRow("only the pointer moved") << "n" << Answer::Cancel << ""
                                                << "closes";
        QTest::newRow("changed: cancel") << "b" << Answer::Cancel << ""
                                         << "asked, stays";
        QTest::newRow("changed: discard") << "b" << Answer::Discard << ""
                                          << "asked, closes";
        QTest::newRow("changed: save") << "b" << Answer::Save << "closing.txt"
                                       << "asked, closes";
        QTest::newRow("changed: save fails") << "b" << Answer::Save << "missing/closing.txt"
                                             << "asked, stays";
        QTest::newRow("saved") << "bs" << Answer::Cancel << ""
                               << "closes";
        QTest::newRow("failed save") << "bf" << Answer::Cancel << ""
                                     << "asked, stays";
        QTest::newRow("changed after saving") << "bsb" << Answer::Cancel << ""
                                              << "asked, stays";
        QTest::newRow("undone to the saved chart") << "bsbu" << Answer::Cancel << ""
                                                   << "closes";
        QTest::newRow("opened") << "bso" << Answer::Cancel << ""
                                << "closes";
        QTest::newRow("open, changed: cancel") << "bsb" << Answer::Cancel << ""
                                               << "asked, stays";
        QTest::newRow("open, changed: save fails") << "bsb" << Answer::Save << "missing/other.txt"
                                                   << "asked, stays";
    }
    void close_asksOnlyWhenChanged()
    {
        QFETCH(QString, actions);
        QFETCH(QString, saveAs);
        QFETCH(Answer, answer);
        t->act(actions, dir.path());
        t->log.closing << answer;
        const bool open = QString(QTest::currentDataTag()).startsWith(QLatin1String("open,"));
        if (!open || !saveAs.isEmpty())
            t->log.answers << (saveAs.isEmpty() ? saveAs : dir.filePath(saveAs));
        if (open)
            t->log.answers << dir.filePath("saved.fcb");
        // An opened chart is the only step of its history.
        const bool done = open ? (t->clickOn(t->ui()->open), t->w->byteArrayOfPastStuf.size() == 1) : t->w->close();
        QTEST(QString(t->log.questions.contains(QStringLiteral("close")) ? "asked, " : "")
                + (done ? (open ? "opens" : "closes") : "stays"),
            "outcome");
        QVERIFY(!done
            || ((open || !QFile::exists(MainWindow::recoveryFilePath()))
                && (answer != Answer::Save || QFile::exists(dir.filePath(saveAs)))));
    }

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
        t->log.answers << dir.filePath(QStringLiteral("r.txt"));
        t->w->on_pushButton_2_clicked();
        QVERIFY(!QFile::exists(MainWindow::recoveryFilePath()));
        QTest::keyClicks(t->box(1)->elem, QStringLiteral("!"));
        t->click(t->origin() + QPoint(700, 700), Qt::RightButton);
        QTRY_COMPARE_WITH_TIMEOUT(recovered(), latestSnapshot(), MainWindow::recoveryIntervalMs + 1000);
        // Undone back to the saved chart, nothing is left to recover.
        while (t->w->hasUnsavedChanges())
            t->w->on_goBack_clicked();
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(MainWindow::recoveryFilePath()), MainWindow::recoveryIntervalMs + 1000);
    }

    void start_offersRecoveryFile_data()
    {
        QTest::addColumn<int>("chop"); // bytes cut off the file's end
        QTest::addColumn<bool>("accept");
        QTest::newRow("restored") << 0 << true;
        QTest::newRow("declined") << 0 << false;
        QTest::newRow("damaged") << 3 << true;
    }
    void start_offersRecoveryFile()
    {
        QFETCH(int, chop);
        QFETCH(bool, accept);
        t->addBox(QPoint(40, 40), QStringLiteral("kept"));
        t->addBox(QPoint(100, 40), QStringLiteral("too"));
        const QByteArray bytes = ChartStream::toBytes(t->w->chartSnapshot()).chopped(chop);
        const QString path = MainWindow::recoveryFilePath();
        t.reset();
        QVERIFY(QDir().mkpath(QFileInfo(path).path()) && ChartFiles::writeWhole(path, bytes));
        t.emplace(QString(), QList<bool>{accept});
        QTRY_VERIFY(!t->log.questions.isEmpty() || !t->log.messages.isEmpty());
        // A damaged file is dropped with a warning, never offered.
        const QString said = (t->log.questions + t->log.messages).join(QLatin1Char(';'));
        QVERIFY2(said.startsWith(chop ? path + "|" + path + ": The recovered chart is damaged" : "restore " + path)
                && !said.contains(';'),
            qPrintable(said));
        QCOMPARE(t->texts(), QString(accept && !chop ? "kept,too" : ""));
        // A restored chart is where the history starts, still unsaved, so its file stays until a save or a clean close.
        QCOMPARE(QFile::exists(path) + t->w->hasUnsavedChanges(), 2 * (accept && !chop));
        QCOMPARE(t->w->byteArrayOfPastStuf.size(), 1);
    }

private:
    QTemporaryDir dir;
};

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
