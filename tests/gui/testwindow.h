#ifndef TESTWINDOW_H
#define TESTWINDOW_H

#include "labels.h"
#include "mainwindow.h"
#include "prompts.h"
#include "textobject.h"
#include "ui_mainwindow.h"

#include <QCursor>
#include <QImage>
#include <QMimeData>
#include <QTextEdit>
#include <QtTest>

#include <functional>
#include <map>
#include <optional>

// Answers the window's dialogs from a script and records its messages, so no test blocks.
class FakePrompts : public Prompts
{
public:
    struct Log {
        QStringList answers; // file names handed out, first first; empty means cancelled
        QStringList folders; // the folder each dialog was opened in
        QStringList messages; // "title|text" of every message box
        QList<Prompts::CloseAnswer> closing; // answers to the close prompt; none left means Cancel
        QList<bool> restoring; // answers to the restore offer; none left means No
        QStringList questions; // "close" or "restore FILE" per question asked
    };
    explicit FakePrompts(Log* log)
        : m_log(log)
    { }

    QString saveFileName(QWidget*, const QString&, const QString& in, const QString&) override { return file(in); }
    QString openFileName(QWidget*, const QString&, const QString& in, const QString&) override { return file(in); }
    void information(QWidget*, const QString& title, const QString& text) override { warning(nullptr, title, text); }
    void warning(QWidget*, const QString& title, const QString& what) override { m_log->messages << title + '|' + what; }
    CloseAnswer saveBeforeClosing(QWidget*) override { return ask(m_log->questions, QStringLiteral("close"), m_log->closing, CloseAnswer::Cancel); }
    bool restoreRecovered(QWidget*, const QString& fileName) override { return ask(m_log->questions, "restore " + fileName, m_log->restoring, false); }

private:
    // Notes what was asked in `asked` and gives the next scripted answer, or `none` when they have run out.
    template <typename T> static T ask(QStringList& asked, const QString& question, QList<T>& answers, T none)
    {
        asked << question;
        return answers.isEmpty() ? none : answers.takeFirst();
    }
    QString file(const QString& folder) { return ask(m_log->folders, folder, m_log->answers, QString()); }

    Log* m_log;
};

// A shown, active main window whose dialogs answer from `log`, driven as a window system does: mouse
// events go to its QWindow, so Qt routes each one to the deepest widget under the pointer and keeps
// held buttons across calls; keys go to the focus widget; every event carries the modifiers held. The tick is stopped,
// so that tests send its motion at the moments they choose.
class TestWindow
{
public:
    // With `restoring`, the answers to the restore offer at start.
    explicit TestWindow(const QString& file = QString(), const QList<bool>& restoring = {})
        : w((QStandardPaths::setTestModeEnabled(true), new MainWindow(nullptr, file)))
    {
        log.restoring = restoring;
        w->setPrompts(std::make_unique<FakePrompts>(&log));
        w->timer->stop();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QTRY_VERIFY(!w->m_draw_lines.isNull());
        QTestPrivate::qtestMouseButtons = Qt::NoButton;
    }
    // The window goes as in a crash; the recovery file it may have left goes with it.
    ~TestWindow()
    {
        delete w;
        QFile::remove(MainWindow::recoveryFilePath());
    }

    MainWindow* operator->() const { return w; }
    Ui::MainWindow* ui() const { return w->ui; }
    QWindow* window() const { return w->windowHandle(); }
    // The title as the window system shows it, the unsaved-changes mark resolved.
    QString title() const { return window()->title(); }
    QPoint origin() const { return w->ui->drawWidget->mapTo(w, QPoint(0, 0)); }
    // The window position whose click opens a new box at the canvas point.
    QPoint boxClickAt(const QPoint& canvasPoint) const { return origin() + canvasPoint + QPoint(12, 8); }
    TextObject* box(int i) const { return w->m_data->at(i); }

    void press(const QPoint& pos, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = {}) const
    {
        QTest::mousePress(window(), button, held | keys, pos);
    }
    // A move of the pointer; buttons pressed and not yet released stay held.
    void moveHeld(const QPoint& pos) const { QTest::mouseEvent(QTest::MouseMove, window(), Qt::NoButton, held, pos); }
    void release(const QPoint& pos, Qt::MouseButton button = Qt::LeftButton) const { QTest::mouseRelease(window(), button, held, pos); }
    // The event loop runs between press and release, as it does under a window system.
    void click(const QPoint& pos, Qt::MouseButton button = Qt::LeftButton) const
    {
        press(pos, button), QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete), release(pos, button);
    }
    // A left click on a widget of the window, a half height in from its left, where a radio button's indicator lies.
    void clickOn(const QWidget* on) const { click(on->mapTo(w, QPoint(on->height() / 2, on->height() / 2))); }
    // With `keys` held at the press.
    void drag(const QPoint& from, const QPoint& to, int steps = 8, Qt::KeyboardModifiers keys = {}) const
    {
        press(from, Qt::LeftButton, keys);
        for (int i = 1; i <= steps; ++i)
            moveHeld(from + (to - from) * i / steps);
        release(to);
    }
    // A key pressed (down) or released through the window, which hands it to the focus widget; with the
    // modifiers held after it, as the keyboard reports them.
    void key(Qt::Key key, bool down, Qt::KeyboardModifiers with = {})
    {
        const Qt::KeyboardModifiers modifier = key == Qt::Key_Control ? Qt::ControlModifier : key == Qt::Key_Alt ? Qt::AltModifier : Qt::NoModifier;
        held = down ? held | modifier : held & ~modifier;
        QTest::simulateEvent(window(), down, key, held | with, QString(), false);
    }
    // Text typed through the window; with `into`, into that widget, which takes the focus first.
    void type(const QString& text, QWidget* into = nullptr) const
    {
        if (into)
            into->setFocus();
        for (QChar c : text)
            QTest::keyClick(window(), c.toLatin1());
    }
    // A box opened by a click at the canvas point, which takes the keys: the text is typed into it.
    TextObject* addBox(const QPoint& canvasPoint, const QString& text = QString()) const
    {
        click(boxClickAt(canvasPoint));
        type(text);
        return w->m_data->last();
    }
    // A connector drawn in "Connect" from one window position to another.
    void drawLine(const QPoint& a, const QPoint& b) const { clickOn(mode('c')), drag(a, b), clickOn(mode('c')); }
    // Comma-separated actions: box (a new empty box at the next free spot, which takes the keys), type:TEXT
    // (typed through the window), edit (a click into the newest box's text, then End), left (the arrow key),
    // none (a right click that changes nothing), line (a connector drawn), drag (of the whole chart), undo and redo (the slots, which the
    // shortcuts call whether or not the buttons are enabled), ^z and ^y (with Ctrl held), undobutton, tag:TEXT
    // (into the start tag, then Return), borders (a click on "Draw box"), ^V (Ctrl+Shift+V), drop:NAME and refuse:NAME
    // (a file in `folder` dropped, taken or refused), clear (Clear all), save:NAME and open:NAME (of a file in
    // `folder`; no name cancels the dialog), name:NAME (the next file dialog's answer), answer:save, answer:discard or
    // answer:cancel (the next close prompt's), close (the window), budget (a history budget of one byte, which only the
    // budget's own seam can set), menu (Ctrl down, the output view's menu opened, Ctrl up while it is open, Escape),
    // alt (Alt pressed and released).
    void act(const QString& actions, const QString& folder = QString())
    {
        for (const QString& action : actions.split(QLatin1Char(','))) {
            const QString text = action.section(QLatin1Char(':'), 1);
            const int n = w->m_data->size();
            const auto ctrl = [this](Qt::Key k, Qt::KeyboardModifiers with = {}) {
                key(Qt::Key_Control, true), key(k, true, with), key(k, false, with), key(Qt::Key_Control, false);
            };
            const QStringList answers{"save", "discard", "cancel"}; // in the order of Prompts::CloseAnswer
            const auto name = [&] { log.answers << (text.isEmpty() ? text : folder + '/' + text); };
            const std::map<QString, std::function<void()>> acts{{"box", [&] { addBox(QPoint(48 + 90 * (n % 8), 52 + 60 * (n / 8))); }},
                {"type", [&] { type(text); }}, {"edit", [&] { click(origin() + box(n - 1)->currentWantedRect.center()), key(Qt::Key_End, true); }},
                {"left", [&] { QTest::keyClick(window(), Qt::Key_Left); }}, {"none", [&] { click(origin() + QPoint(700, 700), Qt::RightButton); }},
                {"line", [&] { drawLine(origin() + QPoint(300, 400), origin() + QPoint(500, 420)); }},
                {"drag",
                    [&] {
                        clickOn(w->ui->radioBMoveAll);
                        drag(boxClickAt(QPoint(48, 52)), boxClickAt(QPoint(88, 82)), 10);
                        clickOn(w->ui->radioBMoveAll);
                    }},
                {"undo", [&] { w->on_goBack_clicked(); }}, {"redo", [&] { w->on_goForward_clicked(); }}, {"^z", [&] { ctrl(Qt::Key_Z); }},
                {"^y", [&] { ctrl(Qt::Key_Y); }}, {"^V", [&] { ctrl(Qt::Key_V, Qt::ShiftModifier); }}, {"drop", [&] { drop(folder + '/' + text, true); }},
                {"refuse", [&] { drop(folder + '/' + text, false); }}, {"undobutton", [&] { clickOn(w->ui->goBack); }},
                {"tag", [&] { clickOn(w->ui->lineEdit), type(text), QTest::keyClick(window(), Qt::Key_Return); }},
                {"clear", [&] { clickOn(w->ui->pushButton_4); }}, {"name", name}, {"borders", [&] { clickOn(w->ui->radioButton_4); }},
                {"save", [&] { name(), w->on_pushButton_2_clicked(); }}, {"open", [&] { name(), w->on_open_clicked(); }},
                {"answer", [&] { log.closing << Prompts::CloseAnswer(answers.indexOf(text)); }}, {"close", [&] { w->close(); }},
                {"budget", [&] { w->setHistoryBudget(1); }}, {"menu", [&] { lostReleaseInOutputMenu(); }},
                {"alt", [&] { key(Qt::Key_Alt, true), key(Qt::Key_Alt, false); }}};
            const auto found = acts.find(action.section(QLatin1Char(':'), 0, 0));
            QVERIFY2(found != acts.end(), qPrintable(action));
            found->second();
        }
    }
    // A file dragged into the window over the output view, which the window takes and opens, or refuses, as
    // `accepted` says.
    void drop(const QString& file, bool accepted)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file)});
        const QPoint at = w->ui->drawOutput->mapTo(w, w->ui->drawOutput->rect().center());
        QDragMoveEvent enter(at, Qt::CopyAction, &data, Qt::NoButton, {}, QEvent::DragEnter);
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::NoButton, {});
        QCoreApplication::sendEvent(window(), &enter);
        QCOMPARE(enter.isAccepted(), accepted);
        if (accepted)
            QCoreApplication::sendEvent(window(), &dropped), QCoreApplication::processEvents();
    }
    // Ctrl held while the output view's menu opens; the menu takes Ctrl's release, then closes.
    void lostReleaseInOutputMenu()
    {
        key(Qt::Key_Control, true);
        QTimer::singleShot(0, [this] {
            QWidget* menu = QApplication::activePopupWidget();
            QVERIFY(menu);
            key(Qt::Key_Control, false);
            QTest::keyClick(menu, Qt::Key_Escape);
        });
        QWidget* view = w->ui->drawOutput->viewport();
        click(view->mapTo(w, view->rect().center()), Qt::RightButton);
    }
    // The mode button named m (Move / Remove), c (Connect) or a (Move all).
    QRadioButton* mode(char m) const { return m == 'm' ? w->ui->radioButton : m == 'c' ? w->ui->radioButton_2 : w->ui->radioBMoveAll; }
    // "m", "c" and "a" for the modes that are on, in that order.
    QString modesOn() const { return QString(mode('m')->isChecked() ? "m" : "") + (mode('c')->isChecked() ? "c" : "") + (mode('a')->isChecked() ? "a" : ""); }
    // The pointer resting at a window position, as the tick sees it.
    void restAt(const QPoint& pos) const { QCursor::setPos(w->mapToGlobal(pos)), w->checkMouseMove(); }
    // A connector with exactly these points, appended without a creation record and painted.
    void addLine(const std::vector<QPoint>& points) const
    {
        w->m_data_line.emplace_back(w->ui->drawWidget, 4, int(w->m_data_line.size()), false);
        w->m_data_line.back().points = points;
        w->redrawAllLines();
        w->recordEdit();
    }
    // The rows of the drawing that hold something, as "row:text" with trailing spaces dropped.
    QStringList drawn() const
    {
        const std::vector<QString> all = CharGrid::render(w->gridInput());
        QStringList rows;
        for (size_t i = 0; i < all.size(); ++i)
            if (!all[i].trimmed().isEmpty())
                rows << QString::number(i) + ':' + QString(all[i]).remove(QRegularExpression(QStringLiteral(" +$")));
        return rows;
    }
    QString texts() const
    {
        QStringList all;
        for (TextObject* each : *w->m_data)
            all << each->elem->toPlainText();
        return all.join(QLatin1Char(','));
    }
    // Whether the connector layer as it stands equals one painted afresh from the connectors.
    bool layerIsFullRepaint() const
    {
        const QImage before = w->m_draw_lines.toImage();
        w->redrawAllLines();
        return before == w->m_draw_lines.toImage();
    }

    FakePrompts::Log log;
    MainWindow* w;
    Qt::KeyboardModifiers held;
};

// A test class whose every case gets a fresh window `t`, closed after it; LeakSanitizer fails the run if
// a closed window leaves anything behind.
class WindowTest : public QObject
{
    Q_OBJECT

protected:
    std::optional<TestWindow> t;

private slots:
    // Test mode keeps the user's own configuration out of reach; every case starts without the preferences
    // and the settings file an earlier case may have left.
    void init()
    {
        QStandardPaths::setTestModeEnabled(true);
        QFile::remove(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/vandora.conf");
        QFile::remove(MainWindow::settingsFilePath());
        t.emplace();
    }
    void cleanup() { t.reset(); }
};

#endif // TESTWINDOW_H
