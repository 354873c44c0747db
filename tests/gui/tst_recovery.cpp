#include "chartfiles.h"
#include "chartstream.h"
#include "testwindow.h"

#include <QTemporaryDir>

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
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QVERIFY(ChartFiles::writeWhole(path, bytes));
        t.emplace(QString(), QList<bool>{accept});
        QTRY_VERIFY(!t->log.questions.isEmpty() || !t->log.messages.isEmpty());
        // A damaged file is dropped with a warning, never offered.
        QCOMPARE(t->log.questions, chop ? QStringList() : QStringList{"restore " + path});
        QCOMPARE(t->log.messages.size(), chop ? 1 : 0);
        QVERIFY(!chop || t->log.messages[0].startsWith(path + "|" + path + ": The recovered chart is damaged"));
        QCOMPARE(t->texts(), QString(accept && !chop ? "kept,too" : ""));
        // A restored chart is where the history starts, still unsaved, so its file stays until a save or a clean close.
        QCOMPARE(QFile::exists(path), accept && !chop);
        QCOMPARE(t->w->hasUnsavedChanges(), accept && !chop);
        QCOMPARE(t->w->byteArrayOfPastStuf.size(), 1);
    }

private:
    QTemporaryDir dir;
};

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
