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

#if defined(__SANITIZE_ADDRESS__) && __has_include(<sanitizer/common_interface_defs.h>)
#include <sanitizer/common_interface_defs.h>
#define VANDORA_SOAK_DEATH_CALLBACK
#endif

namespace {

// The seed and the last actions, printed when the run dies of a signal or a sanitizer report.
std::string lastWords;
void sayLastWords() { std::fputs(lastWords.c_str(), stderr); }
void sayLastWordsAndDie(int signal)
{
    sayLastWords();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

// Random user actions through real input, with the chart's invariants checked after each one.
// VANDORA_SOAK_SEED and VANDORA_SOAK_ACTIONS replay or lengthen a run.
class TestSoak : public QObject
{
    Q_OBJECT

    int pick(int below) { return std::uniform_int_distribution<int>(0, below - 1)(rng); }
    QPoint anywhere() { return t->origin() + QPoint(pick(801), pick(801)); }
    QPoint inWindow(const QPoint& p) const { return QPoint(qBound(0, p.x(), 1819), qBound(0, p.y(), 801)); }
    // A point on a random box's text or connector's point; anywhere when there is none.
    QPoint onElement()
    {
        const int boxes = t->w->m_data->size(), lines = int(t->w->m_data_line.size());
        const int i = pick(std::max(1, boxes + lines));
        if (i >= boxes + lines)
            return anywhere();
        if (i < boxes)
            return t->onText(i);
        const std::vector<QPoint>& points = t->w->m_data_line[size_t(i - boxes)].points;
        return points.empty() ? anywhere() : inWindow(t->origin() + points[size_t(pick(int(points.size())))] - QPoint(10, 7));
    }
    void drag(QPoint at)
    {
        t->press(at);
        for (int n = 2 + pick(5); n > 0; --n)
            t->moveHeld(at = inWindow(at + QPoint(pick(81) - 40, pick(81) - 40)));
        t->release(at);
    }
    // A mode clicked on for one action and off again.
    template <typename F> void inMode(char mode, F action)
    {
        t->clickOn(t->mode(mode));
        action();
        if (t->mode(mode)->isChecked())
            t->clickOn(t->mode(mode));
    }
    // Random keys: letters, borders, spaces, tabs and line breaks. Tags take effect on Return only, so
    // keys meant for a box are typed only when a box editor has the focus.
    QString typeSome(bool intoBox = true)
    {
        if (intoBox && !qobject_cast<QTextEdit*>(QApplication::focusWidget()))
            return QStringLiteral("nothing, no box has the keys");
        static const QString letters = QStringLiteral("ab c\n\tXYZ|-*");
        QString text;
        for (int n = 1 + pick(6); n > 0; --n) {
            const QChar c = letters[pick(letters.size())];
            c == QLatin1Char('\n') ? QTest::keyClick(t->window(), Qt::Key_Return)
                : c == QLatin1Char('\t') ? QTest::keyClick(t->window(), Qt::Key_Tab)
                                         : QTest::keyClick(t->window(), c.toLatin1());
            text += c;
        }
        return text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    }
    QString act(int kind)
    {
        Ui::MainWindow* ui = t->ui();
        const int box = pick(std::max(1, t->w->m_data->size()));
        const bool someBox = box < t->w->m_data->size();
        switch (kind) {
        case 0: case 1: {
            const QPoint at = anywhere();
            t->click(at);
            return QStringLiteral("click at %1,%2, type %3").arg(at.x()).arg(at.y()).arg(typeSome());
        }
        case 2: case 3:
            if (someBox)
                t->click(t->onText(box));
            return QStringLiteral("click box %1, type %2").arg(box).arg(typeSome());
        case 4:
            QApplication::clipboard()->setText(QStringLiteral("a b\n\tcd|*\n"));
            if (!someBox)
                return QStringLiteral("paste skipped");
            t->click(t->onText(box));
            QTest::keyClick(t->window(), Qt::Key_V, Qt::ControlModifier);
            return QStringLiteral("paste into box %1").arg(box);
        case 5: {
            if (pick(2))
                t->clickOn(ui->drawStraightLines);
            inMode('c', [&] { drag(anywhere()); });
            return ui->drawStraightLines->isChecked() ? QStringLiteral("straight connector") : QStringLiteral("freehand connector");
        }
        case 6: inMode('m', [&] { drag(onElement()); }); return QStringLiteral("drag one element");
        case 7: inMode('a', [&] { drag(anywhere()); }); return QStringLiteral("move all");
        case 8: case 9: {
            const QPoint at = onElement();
            t->key(Qt::Key_Control, true);
            t->click(at, Qt::RightButton);
            t->key(Qt::Key_Control, false);
            return QStringLiteral("ctrl + right click at %1,%2").arg(at.x()).arg(at.y());
        }
        case 10: inMode('m', [&] { t->click(onElement(), Qt::RightButton); }); return QStringLiteral("remove in mode");
        case 11: case 12: t->clickOn(ui->goBack); return QStringLiteral("undo");
        case 13: t->clickOn(ui->goForward); return QStringLiteral("redo");
        case 14: t->clickOn(ui->pushButton_4); return QStringLiteral("clear all");
        case 15: t->clickOn(ui->radioButton_3); return QStringLiteral("toggle Draw");
        case 16: t->clickOn(ui->radioButton_4); return QStringLiteral("toggle Draw box");
        case 17: {
            QLineEdit* tag = pick(2) ? ui->lineEdit : ui->lineEdit_2;
            t->clickOn(tag);
            QTest::keyClick(t->window(), Qt::Key_A, Qt::ControlModifier);
            const QString typed = typeSome(false);
            QTest::keyClick(t->window(), Qt::Key_Return);
            return QStringLiteral("tag ") + typed;
        }
        case 18:
            t->log.answers << dir.filePath(QStringLiteral("soak.txt"));
            t->clickOn(ui->pushButton_2);
            saved = saved || t->log.messages.value(t->log.messages.size() - 1) == QStringLiteral("Saved|Chart saved!");
            return saved ? QStringLiteral("save") : QStringLiteral("FAILED save");
        default:
            t->log.answers << (saved ? dir.filePath(QStringLiteral("soak.fcb")) : QString());
            t->clickOn(ui->open);
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
            if (record.second < 0 || record.second >= (record.first == MainWindow::BOX ? w->m_data->size() : int(w->m_data_line.size())))
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
        if (!withRenderTool || cleared)
            return QString();
        QFile backup(dir.filePath(QStringLiteral("now.fcb")));
        if (!backup.open(QIODevice::WriteOnly) || backup.write(bytes) != bytes.size())
            return QStringLiteral("the backup could not be written");
        backup.close();
        QProcess tool;
        tool.start(QStringLiteral(VANDORA_RENDER_PATH), borders ? QStringList{backup.fileName()}
                                                                : QStringList{QStringLiteral("--no-box"), backup.fileName()});
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
        t->clickOn(t->ui()->radioButton_3);
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
            const SnapshotStore& history = t->w->byteArrayOfPastStuf;
            onTheWay.resize(size_t(history.size()));
            for (int k = std::max(0, std::min(cursor, t->w->lastByteArrayCount)); k < history.size(); ++k)
                onTheWay[size_t(k)] = history.at(k);
            cursor = t->w->lastByteArrayCount;
            if (i % 10000 == 9999)
                qInfo("%d actions in %lld ms", i + 1, clock.elapsed());
            if (!fault.isEmpty())
                QFAIL(qPrintable(QStringLiteral("seed %1, action %2: %3\nlast actions:\n%4")
                                     .arg(seed).arg(i).arg(fault, trail.join(QLatin1Char('\n')))));
        }
        qInfo("%d actions in %lld ms; the chart ends with %d boxes, %d connectors, %d snapshots", actions,
            clock.elapsed(), t->w->m_data->size(), int(t->w->m_data_line.size()), int(t->w->byteArrayOfPastStuf.size()));
        // The whole history, walked back to its start and forward to its end, rebuilds what was recorded.
        for (QAbstractButton* step : {t->ui()->goBack, t->ui()->goForward}) {
            while (step->isEnabled()) {
                t->clickOn(step);
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
