#include "chartstream.h"
#include "fakeprompts.h"
#include "mainwindow.h"
#include "textobject.h"
#include "ui_mainwindow.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

class TestPersistence : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void undoRedo_followsActions_data();
    void undoRedo_followsActions();
    void moveAllDrag_isOneStepOfHistory();
    void history_staysWithinItsMemoryBudget();
    void save_writesExportBackupAndFolder();
    void save_failedWrite_warnsAndKeepsEarlierFiles();
    void open_replacesChartAndHistory();
    void open_invalidFile_keepsChartAndHistory_data();
    void open_invalidFile_keepsChartAndHistory();
    void open_cancelledOrMissing_changesNothing();
    void startWithFile_opensItOnce();

private:
    QPoint canvasOrigin() const { return window->ui->drawWidget->mapTo(window, QPoint(0, 0)); }
    void click(const QPoint& pos, Qt::MouseButton button = Qt::LeftButton);
    void createBox(const QString& text = QString());
    int boxes() const { return window->m_data->size(); }
    QString texts() const;

    QTemporaryDir dir;
    FakePrompts::Log log;
    MainWindow* window = nullptr;
    int created = 0;
};

void TestPersistence::initTestCase()
{
    QVERIFY(dir.isValid());
    // The settings file lives beside the test program; start every run without one.
    QFile::remove(QCoreApplication::applicationDirPath() + QStringLiteral("/flowChart.settings"));
}

void TestPersistence::init()
{
    log = FakePrompts::Log();
    created = 0;
    window = new MainWindow(nullptr, QString());
    window->setPrompts(std::make_unique<FakePrompts>(&log));
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTRY_VERIFY(!window->m_draw_lines.isNull());
    window->timer->stop();
}

void TestPersistence::cleanup()
{
    delete window;
    window = nullptr;
}

void TestPersistence::click(const QPoint& pos, Qt::MouseButton button)
{
    QTest::mousePress(window, button, Qt::NoModifier, pos);
    QTest::mouseRelease(window, button, Qt::NoModifier, pos);
}

void TestPersistence::createBox(const QString& text)
{
    click(canvasOrigin() + QPoint(60 + 90 * (created % 8), 60 + 60 * (created / 8)));
    ++created;
    if (!text.isEmpty())
        QTest::keyClicks(window->m_data->last()->elem, text);
}

QString TestPersistence::texts() const
{
    QStringList all;
    for (TextObject* box : *window->m_data)
        all << box->elem->toPlainText();
    return all.join(QLatin1Char(','));
}

void TestPersistence::undoRedo_followsActions_data()
{
    // b: click a new box; t: type a character into the last box; n: a right click that changes
    // nothing; u: Undo; r: Redo; c: Clear all.
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
    QTest::newRow("clear all, then redo") << "bbbucr" << 0 << -1 << 0 << false << false;
    QTest::newRow("clear all, redo, new box") << "bbcrb" << 1 << 0 << 1 << false << false;
}

void TestPersistence::undoRedo_followsActions()
{
    QFETCH(QString, actions);
    for (QChar action : actions) {
        switch (action.toLatin1()) {
        case 'b': createBox(); break;
        case 't': QTest::keyClicks(window->m_data->last()->elem, QStringLiteral("x")); break;
        case 'n': click(canvasOrigin() + QPoint(700, 700), Qt::RightButton); break;
        // The slots, not the buttons: the shortcuts call them whether or not the buttons are enabled.
        case 'u': window->on_goBack_clicked(); break;
        case 'r': window->on_goForward_clicked(); break;
        case 'c': QTest::mouseClick(window->ui->pushButton_4, Qt::LeftButton); break;
        }
    }
    QTEST(boxes(), "boxes");
    QTEST(window->lastByteArrayCount, "cursor");
    QTEST(int(window->byteArrayOfPastStuf.size()), "snapshots");
    QTEST(window->ui->goBack->isEnabled(), "undo");
    QTEST(window->ui->goForward->isEnabled(), "redo");
}

void TestPersistence::moveAllDrag_isOneStepOfHistory()
{
    for (const char* text : {"one", "two", "three"})
        createBox(QString::fromLatin1(text));
    const size_t before = window->byteArrayOfPastStuf.size();
    const QPoint at = window->m_data->first()->currentWantedRect.topLeft();
    QTest::mouseClick(window->ui->radioBMoveAll, Qt::LeftButton);
    const QPoint grab = canvasOrigin() + QPoint(60, 60);
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, grab);
    for (int i = 0; i <= 10; ++i) {
        QMouseEvent move(QEvent::MouseMove, grab + QPoint(4 * i, 3 * i), window->mapToGlobal(grab + QPoint(4 * i, 3 * i)),
            Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window, &move);
    }
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, grab + QPoint(40, 30));
    QCOMPARE(window->byteArrayOfPastStuf.size(), before + 1);
    QCOMPARE(window->m_data->first()->currentWantedRect.topLeft(), at + QPoint(40, 30));
    window->on_goBack_clicked();
    QCOMPARE(window->m_data->first()->currentWantedRect.topLeft(), at);
    QCOMPARE(texts(), QStringLiteral("one,two,three"));
}

void TestPersistence::history_staysWithinItsMemoryBudget()
{
    // One connector of 40,000 points makes every snapshot about 1 MB.
    window->m_data_line.emplace_back(window->ui->drawWidget, 4, 0, false);
    window->m_data_line.back().points.assign(40000, QPoint(5, 5));
    window->m_data_line.back().points_proc_from_window.assign(40000, qMakePair(0.5f, 0.5f));
    window->pushBackStreamToBuffer();
    const qint64 each = window->byteArrayOfPastStuf.front()->size();
    const int fits = int(MainWindow::historyBudgetBytes / each);
    for (int i = 0; i < fits + 20; ++i)
        window->pushBackStreamToBuffer();
    qint64 total = 0;
    for (const QByteArray* snapshot : window->byteArrayOfPastStuf)
        total += snapshot->size();
    QVERIFY(total <= MainWindow::historyBudgetBytes);
    QCOMPARE(int(window->byteArrayOfPastStuf.size()), fits);
    QCOMPARE(window->lastByteArrayCount, fits - 1);
    window->on_goBack_clicked();
    QCOMPARE(window->lastByteArrayCount, fits - 2);
    QCOMPARE(window->m_data_line.size(), size_t(1));
}

void TestPersistence::save_writesExportBackupAndFolder()
{
    createBox(QStringLiteral("abc"));
    window->ui->lineEdit->setText(QStringLiteral("// "));
    const QString folder = dir.path() + QStringLiteral("/my.charts/");
    QVERIFY(QDir().mkpath(folder));
    log.answers << folder + QStringLiteral("plan");
    window->on_pushButton_2_clicked();
    QCOMPARE(log.folders, QStringList{QDir::currentPath()});
    QCOMPARE(log.messages, QStringList{QStringLiteral("Saved|Chart saved!")});
    QCOMPARE(window->windowTitle(), QStringLiteral("Vandora"));

    QFile exported(folder + QStringLiteral("plan"));
    QVERIFY(exported.open(QIODevice::ReadOnly));
    const QByteArray text = exported.readAll();
    QCOMPARE(text, window->ui->drawOutput->toPlainText().toUtf8());
    QVERIFY(text.startsWith("// ") && text.contains("|abc") && !text.endsWith('\n'));

    QFile backup(folder + QStringLiteral("plan.fcb"));
    QVERIFY(backup.open(QIODevice::ReadOnly));
    ChartStream::Chart chart;
    QVERIFY(ChartStream::read(&backup, chart));
    QCOMPARE(chart.boxes.size(), size_t(1));
    QCOMPARE(chart.boxes[0].text, QStringLiteral("abc"));
    QCOMPARE(chart.window.startTag, QStringLiteral("// "));

    QProcess render;
    render.start(QStringLiteral(VANDORA_RENDER_PATH), {folder + QStringLiteral("plan.fcb")});
    QVERIFY(render.waitForFinished(30000));
    QCOMPARE(render.exitCode(), 0);
    QCOMPARE(render.readAllStandardOutput(), text);

    // The next dialog opens in the folder of the last file.
    window->on_pushButton_2_clicked();
    QCOMPARE(log.folders.last(), folder);
}

void TestPersistence::save_failedWrite_warnsAndKeepsEarlierFiles()
{
    createBox(QStringLiteral("new"));
    const QString name = dir.path() + QStringLiteral("/kept.txt");
    // A folder where the backup should go makes that write fail.
    QVERIFY(QDir().mkpath(dir.path() + QStringLiteral("/kept.fcb")));
    log.answers << name << dir.path() + QStringLiteral("/missing/folder/plan.txt");
    window->on_pushButton_2_clicked();
    window->on_pushButton_2_clicked();
    QCOMPARE(log.messages.size(), 2);
    QVERIFY(log.messages[0].contains(QStringLiteral("kept.fcb")));
    QVERIFY(log.messages[1].contains(QStringLiteral("missing/folder/plan.txt")));
    QVERIFY(!log.messages.join(QString()).contains(QStringLiteral("Chart saved!")));
    QVERIFY(QFileInfo(dir.path() + QStringLiteral("/kept.fcb")).isDir());
}

void TestPersistence::open_replacesChartAndHistory()
{
    createBox(QStringLiteral("saved"));
    log.answers << dir.path() + QStringLiteral("/chart.txt");
    window->on_pushButton_2_clicked();
    createBox(QStringLiteral("later"));
    QCOMPARE(boxes(), 2);

    log.answers << dir.path() + QStringLiteral("/chart.fcb");
    window->on_open_clicked();
    QCOMPARE(texts(), QStringLiteral("saved"));
    QCOMPARE(int(window->byteArrayOfPastStuf.size()), 1);
    QVERIFY(!window->ui->goBack->isEnabled());
    QCOMPARE(window->windowTitle(), QStringLiteral("Vandora"));
}

void TestPersistence::open_invalidFile_keepsChartAndHistory_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    const QByteArray empty = ChartStream::toBytes(ChartStream::Chart());
    QTest::newRow("empty file") << QByteArray() << "ends early";
    QTest::newRow("truncated") << empty.left(60) << "ends early";
    QByteArray huge = empty;
    huge.replace(53, 4, QByteArray::fromHex("7fffffff"));
    QTest::newRow("huge record count") << huge << "count";
    ChartStream::Chart chart;
    chart.window.creationRecords.push_back({7, 0});
    chart.boxes.emplace_back();
    QTest::newRow("unknown kind") << ChartStream::toBytes(chart) << "kind";
    chart.window.creationRecords[0] = {1, 0};
    QTest::newRow("record names a missing connector") << ChartStream::toBytes(chart) << "missing";
}

void TestPersistence::open_invalidFile_keepsChartAndHistory()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    createBox(QStringLiteral("keep"));
    createBox(QStringLiteral("me"));
    const int cursor = window->lastByteArrayCount;
    const size_t snapshots = window->byteArrayOfPastStuf.size();
    const QString name = dir.path() + QStringLiteral("/bad.fcb");
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();
    log.answers << name;
    window->on_open_clicked();
    QCOMPARE(texts(), QStringLiteral("keep,me"));
    QCOMPARE(window->lastByteArrayCount, cursor);
    QCOMPARE(window->byteArrayOfPastStuf.size(), snapshots);
    QCOMPARE(log.messages.size(), 1);
    QVERIFY(log.messages[0].startsWith(name + QLatin1Char('|')));
    QVERIFY2(log.messages[0].contains(reason), qPrintable(log.messages[0]));
    QCOMPARE(window->windowTitle(), QStringLiteral("Vandora"));
}

void TestPersistence::open_cancelledOrMissing_changesNothing()
{
    createBox(QStringLiteral("here"));
    window->on_open_clicked();
    log.answers << dir.path() + QStringLiteral("/nothing.fcb");
    window->on_open_clicked();
    QCOMPARE(log.messages, QStringList{dir.path() + QStringLiteral("/nothing.fcb| File did not open")});
    QCOMPARE(texts(), QStringLiteral("here"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Vandora"));
}

void TestPersistence::startWithFile_opensItOnce()
{
    createBox(QStringLiteral("from the command line"));
    log.answers << dir.path() + QStringLiteral("/start.txt");
    window->on_pushButton_2_clicked();
    delete window;
    window = new MainWindow(nullptr, dir.path() + QStringLiteral("/start.fcb"));
    window->setPrompts(std::make_unique<FakePrompts>(&log));
    window->show();
    QTRY_COMPARE(texts(), QStringLiteral("from the command line"));
    QVERIFY(window->m_filePath.isEmpty());
    QCOMPARE(window->lastByteArrayCount, 0);
}

QTEST_MAIN(TestPersistence)
#include "tst_persistence.moc"
