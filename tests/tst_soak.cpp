#include "chartrender.h"
#include "chartstream.h"
#include "testwindow.h"

#include <QClipboard>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <optional>
#include <random>

namespace {

// The seed and the last actions, printed if the run dies of a signal or a sanitizer report.
std::string lastWords;
void sayLastWords() { std::fputs(lastWords.c_str(), stderr); }
void sayLastWordsAndDie(int signal)
{
    sayLastWords();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

#if defined(__SANITIZE_ADDRESS__) && __has_include(<sanitizer/common_interface_defs.h>)
#include <sanitizer/common_interface_defs.h>
#define VANDORA_SOAK_DEATH_CALLBACK
#endif

// Random user actions through real input, with the chart's invariants checked after each one.
// VANDORA_SOAK_SEED and VANDORA_SOAK_ACTIONS replay or lengthen a run.
class TestSoak : public QObject
{
    Q_OBJECT

    int pick(int below) { return std::uniform_int_distribution<int>(0, below - 1)(rng); }
    QPoint anywhere() { return t->origin() + QPoint(pick(801), pick(801)); }
    QWindow* win() const { return t->w->windowHandle(); }
    QWidget* keys() const { return QApplication::focusWidget() ? QApplication::focusWidget() : t->w; }
    QString someText()
    {
        static const QString letters = QStringLiteral("ab c\n\tXYZ|-*");
        QString text;
        for (int n = 1 + pick(6); n > 0; --n)
            text += letters[pick(letters.size())];
        return text;
    }
    // A point on a random element: a box's text or a connector's point; anywhere when there is none.
    QPoint onElement()
    {
        const int boxes = t->w->m_data->size(), lines = int(t->w->m_data_line.size());
        if (boxes + lines == 0)
            return anywhere();
        const int i = pick(boxes + lines);
        if (i < boxes)
            return t->box(i)->elem->mapTo(t->w, t->box(i)->elem->rect().center());
        const std::vector<QPoint>& points = t->w->m_data_line[size_t(i - boxes)].points;
        return points.empty() ? anywhere() : t->origin() + points[size_t(pick(int(points.size())))] - QPoint(10, 7);
    }
    void drag(QPoint from, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::mousePress(win(), Qt::LeftButton, mods, from);
        const QRect inside(t->origin() - QPoint(20, 20), QSize(841, 841));
        for (int i = 0, n = 2 + pick(5); i < n; ++i) {
            from += QPoint(pick(81) - 40, pick(81) - 40);
            from = QPoint(qBound(inside.left(), from.x(), inside.right()), qBound(inside.top(), from.y(), inside.bottom()));
            QTest::mouseMove(win(), from);
        }
        QTest::mouseRelease(win(), Qt::LeftButton, mods, from);
    }
    // Holds a mode's button checked for one action, as a user who clicks it on and off again.
    template <typename F> void inMode(QAbstractButton* mode, F action)
    {
        QTest::mouseClick(mode, Qt::LeftButton);
        action();
        if (mode->isChecked())
            QTest::mouseClick(mode, Qt::LeftButton);
    }
    void typeInto(int box, const QString& text)
    {
        if (box < 0 || box >= t->w->m_data->size() || !t->box(box)->elem->isEnabled())
            return;
        QTextEdit* editor = t->box(box)->elem;
        for (QChar c : text) {
            if (c == QLatin1Char('\n') || c == QLatin1Char('\t'))
                QTest::keyClick(editor, c == QLatin1Char('\n') ? Qt::Key_Return : Qt::Key_Tab);
            else
                QTest::keyClick(editor, c.toLatin1());
        }
    }

    QString act(int kind)
    {
        Ui::MainWindow* ui = t->ui();
        switch (kind) {
        case 0: case 1: case 2: {
            const QPoint at = anywhere();
            const int before = t->w->m_data->size();
            QTest::mouseClick(win(), Qt::LeftButton, Qt::NoModifier, at);
            const QString text = someText();
            if (t->w->m_data->size() > before)
                typeInto(before, text);
            return QStringLiteral("box at %1,%2 typed %3").arg(at.x()).arg(at.y()).arg(text.toHtmlEscaped());
        }
        case 3: {
            const int box = pick(std::max(1, t->w->m_data->size()));
            typeInto(box, someText());
            return QStringLiteral("type into box %1").arg(box);
        }
        case 4: {
            const int box = pick(std::max(1, t->w->m_data->size()));
            QApplication::clipboard()->setText(someText() + QLatin1Char('\n') + someText());
            if (box < t->w->m_data->size() && t->box(box)->elem->isEnabled())
                QTest::keyClick(t->box(box)->elem, Qt::Key_V, Qt::ControlModifier);
            return QStringLiteral("paste into box %1").arg(box);
        }
        case 5: case 6: {
            const bool straight = pick(2);
            if (ui->drawStraightLines->isChecked() != straight)
                QTest::mouseClick(ui->drawStraightLines, Qt::LeftButton);
            inMode(t->mode('c'), [&] { drag(anywhere()); });
            return straight ? QStringLiteral("straight connector") : QStringLiteral("freehand connector");
        }
        case 7: inMode(t->mode('m'), [&] { drag(onElement()); }); return QStringLiteral("drag one element");
        case 8: inMode(t->mode('a'), [&] { drag(anywhere()); }); return QStringLiteral("move all");
        case 9: {
            // Ctrl held as a user holds it: the key switches "Move / Remove" on for the right click.
            const QPoint at = onElement();
            QTest::keyPress(keys(), Qt::Key_Control);
            QTest::mouseClick(win(), Qt::RightButton, Qt::ControlModifier, at);
            QTest::keyRelease(keys(), Qt::Key_Control);
            return QStringLiteral("ctrl + right click at %1,%2").arg(at.x()).arg(at.y());
        }
        case 10: inMode(t->mode('m'), [&] { QTest::mouseClick(win(), Qt::RightButton, {}, onElement()); }); return QStringLiteral("remove in mode");
        case 11: case 12: QTest::mouseClick(ui->goBack, Qt::LeftButton); return QStringLiteral("undo");
        case 13: QTest::mouseClick(ui->goForward, Qt::LeftButton); return QStringLiteral("redo");
        case 14: QTest::mouseClick(ui->pushButton_4, Qt::LeftButton); return QStringLiteral("clear all");
        case 15: QTest::mouseClick(ui->radioButton_3, Qt::LeftButton); return QStringLiteral("toggle Draw");
        case 16: QTest::mouseClick(ui->radioButton_4, Qt::LeftButton); return QStringLiteral("toggle Draw box");
        case 17: {
            QLineEdit* tag = pick(2) ? ui->lineEdit : ui->lineEdit_2;
            QTest::mouseClick(tag, Qt::LeftButton);
            QTest::keyClick(tag, Qt::Key_A, Qt::ControlModifier);
            const QString text = someText().remove(QLatin1Char('\n')).left(3);
            QTest::keyClicks(tag, text);
            QTest::keyClick(tag, Qt::Key_Return);
            return QStringLiteral("tag ") + text;
        }
        case 18: {
            t->log.answers << dir.filePath(QStringLiteral("soak.txt"));
            QTest::mouseClick(ui->pushButton_2, Qt::LeftButton);
            const QString said = t->log.messages.value(t->log.messages.size() - 1);
            if (said != QStringLiteral("Saved|Chart saved!"))
                return QStringLiteral("FAILED save: ") + said;
            saved = true;
            return QStringLiteral("save");
        }
        default:
            if (!saved)
                return QStringLiteral("open skipped");
            t->log.answers << dir.filePath(QStringLiteral("soak.fcb"));
            QTest::mouseClick(t->ui()->open, Qt::LeftButton);
            return QStringLiteral("open");
        }
    }

    // Empty when every invariant holds, else what broke.
    QString broken(bool withRenderTool)
    {
        MainWindow* w = t->w;
        const ChartStream::Chart chart = w->chartSnapshot();
        const QByteArray bytes = ChartStream::toBytes(chart);
        ChartStream::Chart back;
        if (!ChartStream::fromBytes(bytes, back) || back != chart || ChartStream::toBytes(back) != bytes)
            return QStringLiteral("the chart stream does not read back equal");
        for (TextObject* box : *w->m_data) {
            if (!QRect(0, 0, 801, 801).contains(box->elem->geometry()))
                return QStringLiteral("a box leaves the canvas");
        }
        for (const auto& record : w->removeWhch) {
            const int count = record.first == MainWindow::BOX ? w->m_data->size() : int(w->m_data_line.size());
            if (record.second < 0 || record.second >= count)
                return QStringLiteral("a creation record names a missing element");
        }
        if (!t->ui()->radioButton_3->isChecked())
            return QString();
        // Typing renders on a later tick; these are those ticks.
        for (int tick = 0; tick < 11 && w->change_has_happen; ++tick)
            w->checkMouseMove();
        const bool borders = t->ui()->radioButton_4->isChecked();
        QStringList expected;
        for (const QString& row : CharGrid::render(ChartRender::gridInputFor(chart, borders)))
            expected << row;
        const QString shown = t->ui()->drawOutput->toPlainText();
        // Clear all leaves the view empty until the next edit renders.
        const bool cleared = shown.isEmpty() && chart.boxes.empty() && chart.connectors.empty();
        if (!cleared && shown != expected.join(QLatin1Char('\n')))
            return QStringLiteral("the output view differs from the chart's rendering");
        if (!withRenderTool)
            return QString();
        QFile backup(dir.filePath(QStringLiteral("now.fcb")));
        if (!backup.open(QIODevice::WriteOnly) || backup.write(bytes) != bytes.size())
            return QStringLiteral("the backup could not be written");
        backup.close();
        QProcess tool;
        tool.start(QStringLiteral(VANDORA_RENDER_PATH),
            borders ? QStringList{backup.fileName()} : QStringList{QStringLiteral("--no-box"), backup.fileName()});
        if (!tool.waitForFinished(30000) || QString::fromUtf8(tool.readAllStandardOutput()) != shown)
            return QStringLiteral("the output view differs from what vandora-render prints");
        return QString();
    }

private slots:
    void randomActions_keepChartSound()
    {
        QVERIFY(dir.isValid());
        const quint32 seed = qEnvironmentVariableIsSet("VANDORA_SOAK_SEED")
            ? quint32(qEnvironmentVariableIntValue("VANDORA_SOAK_SEED")) : std::random_device()();
        const int actions = qEnvironmentVariableIsSet("VANDORA_SOAK_ACTIONS")
            ? qEnvironmentVariableIntValue("VANDORA_SOAK_ACTIONS") : 2000;
        qInfo("soak seed %u, %d actions (replay: VANDORA_SOAK_SEED=%u)", seed, actions, seed);
        rng.seed(seed);
        for (int signal : {SIGSEGV, SIGABRT, SIGFPE, SIGBUS})
            std::signal(signal, sayLastWordsAndDie);
#ifdef VANDORA_SOAK_DEATH_CALLBACK
        __sanitizer_set_death_callback(sayLastWords);
#endif
        t.emplace();
        QTest::mouseClick(t->ui()->radioButton_3, Qt::LeftButton);
        QStringList trail;
        std::vector<QByteArray> onTheWay; // each snapshot as it was when recorded
        int cursor = -1;
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < actions; ++i) {
            const int kind = pick(20);
            lastWords = QStringLiteral("soak seed %1 died in action %2 (kind %3); the actions before it:\n%4\n")
                            .arg(seed).arg(i).arg(kind).arg(trail.join(QLatin1Char('\n'))).toStdString();
            trail << QString::number(i) + QStringLiteral(": ") + act(kind);
            if (trail.size() > 20)
                trail.removeFirst();
            QString fault = broken(i % 200 == 199);
            if (fault.isEmpty() && trail.last().contains(QStringLiteral("FAILED")))
                fault = trail.last();
            // Snapshots change only from the cursor on, where the action began or ended.
            const std::vector<QByteArray*>& history = t->w->byteArrayOfPastStuf;
            onTheWay.resize(history.size());
            for (size_t k = size_t(std::max(0, std::min(cursor, t->w->lastByteArrayCount))); k < history.size(); ++k)
                onTheWay[k] = *history[k];
            cursor = t->w->lastByteArrayCount;
            if (!fault.isEmpty())
                QFAIL(qPrintable(QStringLiteral("seed %1, action %2: %3\nlast actions:\n%4")
                                     .arg(seed).arg(i).arg(fault, trail.join(QLatin1Char('\n')))));
        }
        qInfo("%d actions in %lld ms", actions, clock.elapsed());
        // The whole history, walked back to its start and forward to its end, rebuilds what was recorded.
        for (QAbstractButton* step : {t->ui()->goBack, t->ui()->goForward}) {
            while (step->isEnabled()) {
                QTest::mouseClick(step, Qt::LeftButton);
                QVERIFY2(ChartStream::toBytes(t->w->chartSnapshot()) == onTheWay.at(size_t(t->w->lastByteArrayCount)),
                    qPrintable(QStringLiteral("seed %1: history entry %2 rebuilds differently").arg(seed).arg(t->w->lastByteArrayCount)));
            }
        }
    }

private:
    std::mt19937 rng;
    QTemporaryDir dir;
    bool saved = false;
    std::optional<TestWindow> t;
};

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
