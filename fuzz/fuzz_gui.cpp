// Random user actions on the window through real input (mouse events through its QWindow, keys to the
// focus widget), with the chart's rules checked after each one. It explores; it restates no code.
//
//   fuzz_gui [--seed N] [--actions N] [--render PATH]
//
// Prints its seed first; on a broken rule it prints the seed, the action and the last actions, and exits 1.
#include "chartfiles.h"
#include "chartrender.h"
#include "chartstream.h"
#include "testwindow.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <optional>
#include <random>
#include <tuple>

class GuiFuzzer
{
public:
    GuiFuzzer(quint32 seed, QString renderTool)
        : m_seed(seed)
        , m_renderTool(std::move(renderTool))
    {
        m_rng.seed(seed);
    }

    int run(int actions);

private:
    int pick(int below) { return std::uniform_int_distribution<int>(0, below - 1)(m_rng); }
    MainWindow* w() const { return m_t->w; }
    Ui::MainWindow* ui() const { return m_t->ui(); }
    QPoint anywhere() { return m_t->origin() + QPoint(pick(801), pick(801)); }
    static QPoint inWindow(const QPoint& p) { return QPoint(qBound(0, p.x(), 1819), qBound(0, p.y(), 801)); }
    // A point on a random box's text, or anywhere when there is none.
    QPoint onBox()
    {
        const int boxes = w()->m_data->size();
        return boxes ? m_t->origin() + m_t->box(pick(boxes))->currentWantedRect.center() : anywhere();
    }
    // A point on a random box or connector, or anywhere when there is none.
    QPoint onElement()
    {
        const int boxes = w()->m_data->size(), lines = int(w()->m_data_line.size());
        const int i = pick(std::max(1, boxes + lines));
        if (i < boxes || lines == 0)
            return onBox();
        const std::vector<QPoint>& points = w()->m_data_line[size_t(i - boxes)].points;
        return points.empty() ? anywhere() : inWindow(m_t->origin() + points[size_t(pick(int(points.size())))] - QPoint(10, 7));
    }
    void drag(QPoint at)
    {
        m_t->press(at);
        for (int n = 2 + pick(5); n > 0; --n)
            m_t->moveHeld(at = inWindow(at + QPoint(pick(81) - 40, pick(81) - 40)));
        m_t->release(at);
    }
    // Random keys into whatever has them: letters, borders, spaces, tabs, line breaks, deletions.
    void typeSome()
    {
        for (int n = 1 + pick(6); n > 0; --n) {
            const int c = pick(15);
            if (c < 12)
                QTest::keyClick(m_t->window(), "ab cXYZ|-*xy"[c]);
            else
                QTest::keyClick(m_t->window(), c == 12 ? Qt::Key_Return : c == 13 ? Qt::Key_Tab : Qt::Key_Backspace);
        }
    }
    void ctrlKey(Qt::Key key) { m_t->key(Qt::Key_Control, true), m_t->key(key, true), m_t->key(key, false), m_t->key(Qt::Key_Control, false); }
    QString act(int kind, const QPoint& at);
    QString broken();
    QString renderToolDiffers(const QString& backup);
    QString difference(const QByteArray& snapshot) const;
    QString recoveryLags();

    quint32 m_seed;
    QString m_renderTool;
    std::mt19937 m_rng;
    QTemporaryDir m_dir;
    std::optional<TestWindow> m_t;
    bool m_failingSave = false;
    std::tuple<int, int, QByteArray> m_checkedStep;
};

// Does action `kind` at `at`; returns its description for the trail.
QString GuiFuzzer::act(int kind, const QPoint& at)
{
    FakePrompts::Log& log = m_t->log;
    const char mode = kind <= 10 ? "     cma  m"[kind] : ' ';
    if (mode != ' ')
        m_t->clickOn(m_t->mode(mode));
    const QString saved = m_dir.filePath(QStringLiteral("fuzz.fcb"));
    const auto answerQuestion = [&] {
        log.closing << QList<Prompts::CloseAnswer>{Prompts::CloseAnswer::Save, Prompts::CloseAnswer::Discard, Prompts::CloseAnswer::Cancel}[pick(3)];
    };
    QString what;
    switch (kind) {
    case 0:
    case 1:
    case 2:
    case 3:
        m_t->click(at);
        typeSome();
        what = "click, type";
        break;
    case 4:
        QApplication::clipboard()->setText(pick(2) ? QStringLiteral("a b\n\tcd|*\n") : QString(300, QLatin1Char('w')));
        m_t->click(at);
        QTest::keyClick(m_t->window(), Qt::Key_Insert, Qt::ShiftModifier);
        what = "paste";
        break;
    case 5:
    case 6:
    case 7:
        drag(at);
        what = QStringLiteral("drag in mode %1").arg(mode);
        break;
    case 8:
    case 9:
        m_t->key(Qt::Key_Control, true);
        m_t->click(at, Qt::RightButton);
        m_t->key(Qt::Key_Control, false);
        what = "ctrl right click";
        break;
    case 10:
        m_t->click(at, Qt::RightButton);
        what = "right click in move / remove";
        break;
    case 11:
        m_t->clickOn(ui()->goBack);
        what = "undo button";
        break;
    case 12:
        ctrlKey(Qt::Key_Z);
        what = "ctrl+z";
        break;
    case 13:
        m_t->clickOn(ui()->goForward);
        what = "redo button";
        break;
    case 14:
        ctrlKey(Qt::Key_Y);
        what = "ctrl+y";
        break;
    case 15:
        m_t->clickOn(ui()->pushButton_4);
        what = "clear all";
        break;
    case 16:
        m_t->clickOn(ui()->radioButton_3);
        what = "draw";
        break;
    case 17:
        m_t->clickOn(ui()->radioButton_4);
        what = "draw box";
        break;
    case 18:
        log.answers << m_dir.filePath(QStringLiteral("fuzz.txt"));
        pick(2) ? m_t->clickOn(ui()->pushButton_2) : ctrlKey(Qt::Key_S);
        what = "save";
        break;
    case 19:
    case 20: // Open the saved backup, answering the question if asked, then type into a box
        answerQuestion();
        // A Save answer saves first; a failed one leaves the chart, and the dialog's answer, unused.
        if (w()->hasUnsavedChanges() && log.closing.first() == Prompts::CloseAnswer::Save)
            log.answers << m_dir.filePath(QStringLiteral("fuzz.txt"));
        log.answers << saved;
        pick(2) ? m_t->clickOn(ui()->open) : ctrlKey(Qt::Key_O);
        if (kind == 20) {
            m_t->click(onBox());
            typeSome();
        }
        what = "open" + QString(kind == 20 ? ", type" : "") + QStringLiteral(" (answer %1)").arg(log.closing.isEmpty() ? -1 : int(log.closing.first()));
        break;
    case 21:
    case 22: { // a tag, confirmed by Return or by a click elsewhere
        m_t->clickOn(pick(2) ? ui()->lineEdit : ui()->lineEdit_2);
        QTest::keyClick(m_t->window(), Qt::Key_End);
        for (int n = pick(4); n > 0; --n)
            QTest::keyClick(m_t->window(), pick(3) ? "#/ *-"[pick(5)] : '\b');
        kind == 21 ? QTest::keyClick(m_t->window(), Qt::Key_Return) : m_t->click(anywhere());
        what = "tag";
        break;
    }
    case 23: // Undo and Redo while typing
        m_t->click(onBox());
        typeSome();
        ctrlKey(pick(2) ? Qt::Key_Z : Qt::Key_Y);
        typeSome();
        what = "type, undo or redo, type";
        break;
    case 24: { // the output view's menu takes a modifier's release; then modifiers, then a click on a box
        const Qt::Key modifier = pick(2) ? Qt::Key_Control : Qt::Key_Alt;
        m_t->key(modifier, true);
        QTimer::singleShot(0, [this, modifier] {
            if (QWidget* menu = QApplication::activePopupWidget()) {
                m_t->key(modifier, false);
                QTest::keyClick(menu, Qt::Key_Escape);
            }
        });
        QWidget* view = ui()->drawOutput->viewport();
        m_t->click(view->mapTo(w(), view->rect().center()), Qt::RightButton);
        m_t->key(modifier, false);
        m_t->key(Qt::Key_Alt, true), m_t->key(Qt::Key_Alt, false);
        m_t->click(onBox());
        typeSome();
        what = "menu took a release";
        break;
    }
    default: { // a Save that fails: a folder where the backup should go
        QDir().mkpath(m_dir.filePath(QStringLiteral("blocked.fcb")));
        m_failingSave = true;
        log.answers << m_dir.filePath(QStringLiteral("blocked.txt"));
        m_t->clickOn(ui()->pushButton_2);
        what = QFile::exists(m_dir.filePath(QStringLiteral("blocked.txt"))) ? "FAILED SAVE WROTE THE EXPORT" : "failed save";
        break;
    }
    }
    if (mode != ' ' && m_t->mode(mode)->isChecked())
        m_t->clickOn(m_t->mode(mode));
    log.answers.clear();
    log.closing.clear();
    return what;
}

// Empty when every rule holds, else what broke.
QString GuiFuzzer::broken()
{
    FakePrompts::Log& log = m_t->log;
    // Only the Save into a blocked name may fail.
    if (!m_failingSave && !log.messages.filter(QStringLiteral("Not saved|")).isEmpty())
        return "a save failed: " + log.messages.filter(QStringLiteral("Not saved|")).first();
    m_failingSave = false;
    log.messages.clear();
    const SnapshotStore& history = w()->byteArrayOfPastStuf;
    const int cursor = w()->lastByteArrayCount;
    if (cursor < 0 || cursor >= history.size())
        return QStringLiteral("the cursor %1 is outside the history of %2").arg(cursor).arg(history.size());
    const QByteArray content = w()->contentBytes();
    if (content != ChartStream::contentOf(history.at(cursor)))
        return "the chart on screen differs from the snapshot under the cursor: " + difference(history.at(cursor));
    if (!m_t->layerIsFullRepaint())
        return QStringLiteral("the connector layer differs from a whole repaint");
    // Undo then Redo, once per state of the history.
    const auto step = std::make_tuple(cursor, history.size(), content);
    if (ui()->goBack->isEnabled() && step != m_checkedStep) {
        m_checkedStep = step;
        w()->on_goBack_clicked();
        w()->on_goForward_clicked();
        if (w()->lastByteArrayCount != cursor || w()->contentBytes() != content)
            return QStringLiteral("Undo then Redo does not give the chart back");
    }
    for (TextObject* box : *w()->m_data)
        if (!QRect(0, 0, 801, 801).contains(box->elem->geometry()))
            return QStringLiteral("a box leaves the canvas");
    for (const auto& record : w()->removeWhch)
        if (record.second < 0 || record.second >= (record.first == MainWindow::BOX ? w()->m_data->size() : int(w()->m_data_line.size())))
            return QStringLiteral("a creation record names a missing element");
    if (!ui()->radioButton_3->isChecked())
        return QString();
    // Typing renders on a later tick; these are those ticks.
    for (int tick = 0; tick < 11 && w()->change_has_happen; ++tick)
        w()->checkMouseMove();
    const QString shown = ui()->drawOutput->toPlainText();
    // Clear all leaves the view empty until the next edit renders.
    if (shown.isEmpty() && w()->m_data->isEmpty() && w()->m_data_line.empty())
        return QString();
    // The backup Save would write, read back and rendered as vandora-render renders it.
    ChartStream::Chart backup;
    if (!ChartStream::fromBytes(ChartStream::toBytes(w()->chartSnapshot()), backup))
        return QStringLiteral("the backup does not read back");
    if (shown != ChartRender::joinRows(CharGrid::render(ChartRender::gridInputFor(backup, ui()->radioButton_4->isChecked()))))
        return QStringLiteral("the output view differs from the backup's rendering");
    return QString();
}

// Where the chart on screen differs from the snapshot: the window section, or the first box or connector.
QString GuiFuzzer::difference(const QByteArray& snapshot) const
{
    ChartStream::Chart shown = w()->chartSnapshot(), stored;
    if (!ChartStream::fromBytes(snapshot, stored))
        return QStringLiteral("the snapshot does not read back");
    ChartStream::resetPointerFields(shown.window);
    ChartStream::resetPointerFields(stored.window);
    if (shown.window != stored.window)
        return QStringLiteral("window section (tags '%1' '%2' vs '%3' '%4', %5 vs %6 creation records)")
            .arg(shown.window.startTag, shown.window.endTag, stored.window.startTag, stored.window.endTag)
            .arg(shown.window.creationRecords.size())
            .arg(stored.window.creationRecords.size());
    for (size_t i = 0; i < std::min(shown.boxes.size(), stored.boxes.size()); ++i) {
        const ChartStream::BoxRecord& a = shown.boxes[i];
        const ChartStream::BoxRecord& b = stored.boxes[i];
        if (a != b)
            return QStringLiteral("box %1: '%2' at %3,%4 %5x%6 vs '%7' at %8,%9 %10x%11")
                .arg(i)
                .arg(a.text)
                .arg(a.currentWantedRect.x())
                .arg(a.currentWantedRect.y())
                .arg(a.currentWantedRect.width())
                .arg(a.currentWantedRect.height())
                .arg(b.text)
                .arg(b.currentWantedRect.x())
                .arg(b.currentWantedRect.y())
                .arg(b.currentWantedRect.width())
                .arg(b.currentWantedRect.height());
    }
    if (shown.boxes.size() != stored.boxes.size())
        return QStringLiteral("%1 boxes vs %2").arg(shown.boxes.size()).arg(stored.boxes.size());
    if (shown.connectors.size() != stored.connectors.size())
        return QStringLiteral("%1 connectors vs %2").arg(shown.connectors.size()).arg(stored.connectors.size());
    return QStringLiteral("a connector");
}

// Empty when vandora-render prints for a backup of the chart exactly what the output view shows.
QString GuiFuzzer::renderToolDiffers(const QString& backup)
{
    if (m_renderTool.isEmpty() || !ui()->radioButton_3->isChecked() || ui()->drawOutput->toPlainText().isEmpty())
        return QString();
    if (!ChartFiles::writeWhole(backup, ChartStream::toBytes(w()->chartSnapshot())))
        return QStringLiteral("the backup could not be written");
    QProcess tool;
    QStringList arguments;
    if (!ui()->radioButton_4->isChecked())
        arguments << QStringLiteral("--no-box");
    tool.start(m_renderTool, arguments << backup);
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
        return QStringLiteral("vandora-render failed: ") + QString::fromUtf8(tool.readAllStandardError());
    return tool.readAllStandardOutput() == ui()->drawOutput->toPlainText().toUtf8() ? QString() : QStringLiteral("vandora-render prints another drawing");
}

// Empty when, with unsaved changes, the recovery file holds the chart once its interval has passed.
QString GuiFuzzer::recoveryLags()
{
    QTest::qWait(MainWindow::recoveryIntervalMs + 300);
    QFile file(MainWindow::recoveryFilePath());
    const bool unsaved = w()->hasUnsavedChanges();
    if (!unsaved)
        return file.exists() ? QStringLiteral("a recovery file is left with nothing unsaved") : QString();
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("no recovery file with unsaved changes");
    return ChartStream::contentOf(file.readAll()) == w()->contentBytes() ? QString() : QStringLiteral("the recovery file lags behind the chart");
}

int GuiFuzzer::run(int actions)
{
    std::printf("fuzz_gui: seed %u, %d actions (replay: fuzz_gui --seed %u --actions %d)\n", m_seed, actions, m_seed, actions);
    std::fflush(stdout);
    if (!m_dir.isValid())
        return 2;
    QFile::remove(MainWindow::recoveryFilePath());
    m_t.emplace();
    m_t->clickOn(ui()->radioButton_3);
    QStringList trail;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < actions; ++i) {
        const int kind = pick(26);
        // Clicks, pastes and removals aim at elements more often than not.
        const QPoint at = kind >= 6 && kind <= 10 ? onElement() : kind <= 4 && pick(3) ? onBox() : anywhere();
        if (kind == 5 && pick(2))
            m_t->clickOn(ui()->drawStraightLines);
        trail << QStringLiteral("%1: %2 (%3) at %4,%5").arg(i).arg(act(kind, at)).arg(kind).arg(at.x()).arg(at.y());
        if (trail.size() > 20)
            trail.removeFirst();
        QString fault = broken();
        if (fault.isEmpty() && (kind == 18 || i % 100 == 99))
            fault = renderToolDiffers(m_dir.filePath(QStringLiteral("now.fcb")));
        // Waits out the recovery interval: once in a run of 2,000.
        if (fault.isEmpty() && i % 1500 == 1499)
            fault = recoveryLags();
        if (fault.isEmpty() && trail.last().contains(QLatin1String("WROTE")))
            fault = QStringLiteral("a failed save replaced the export");
        if (!fault.isEmpty()) {
            std::printf("fuzz_gui: seed %u, action %d: %s\nlast actions:\n%s\n", m_seed, i, qPrintable(fault), qPrintable(trail.join('\n')));
            return 1;
        }
        if (i % 500 == 499) {
            std::printf("fuzz_gui: %d actions, %.1f per second\n", i + 1, (i + 1) * 1000.0 / double(clock.elapsed()));
            std::fflush(stdout);
        }
    }
    std::printf("fuzz_gui: %d actions passed, %.1f per second\n", actions, actions * 1000.0 / double(clock.elapsed()));
    m_t.reset();
    return 0;
}

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings and the recovery file in a home of its own (the window's standard paths lie under
    // ~/.qttest in test mode): runs beside each other or beside the tests never delete each other's files.
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    for (const char* variable : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
        qputenv(variable, QDir(home.path()).filePath(QString::fromLatin1(variable)).toLocal8Bit());
    QApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    const auto option = [&](const QString& name, const QString& otherwise) {
        const int at = arguments.indexOf(name);
        return at > 0 && at + 1 < arguments.size() ? arguments[at + 1] : otherwise;
    };
    const quint32 seed = option(QStringLiteral("--seed"), QString::number(std::random_device()())).toUInt();
    const int actions = option(QStringLiteral("--actions"), QStringLiteral("2000")).toInt();
    GuiFuzzer fuzzer(seed, option(QStringLiteral("--render"), QStringLiteral(VANDORA_RENDER_PATH)));
    return fuzzer.run(actions);
}
