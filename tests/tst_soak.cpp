#include "chartrender.h"
#include "chartstream.h"
#include "testwindow.h"

#include <QClipboard>
#include <QTemporaryDir>

#include <optional>
#include <random>

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
        if (i < boxes)
            return t->onText(i);
        const std::vector<QPoint> points = i < boxes + lines ? t->w->m_data_line[size_t(i - boxes)].points : std::vector<QPoint>();
        return points.empty() ? anywhere() : inWindow(t->origin() + points[size_t(pick(int(points.size())))] - QPoint(10, 7));
    }
    void drag(QPoint at)
    {
        t->press(at);
        for (int n = 2 + pick(5); n > 0; --n)
            t->moveHeld(at = inWindow(at + QPoint(pick(81) - 40, pick(81) - 40)));
        t->release(at);
    }
    // Random keys: letters, borders, spaces, tabs and line breaks. Tags take effect on Return only, so
    // keys meant for a box are typed only when a box editor has the focus.
    void typeSome(bool intoBox = true)
    {
        for (int n = intoBox && !qobject_cast<QTextEdit*>(QApplication::focusWidget()) ? 0 : 1 + pick(6); n > 0; --n) {
            const QChar c = QStringLiteral("ab c\n\tXYZ|-*").at(pick(12));
            c == '\n' ? QTest::keyClick(t->window(), Qt::Key_Return)
                      : c == '\t' ? QTest::keyClick(t->window(), Qt::Key_Tab) : QTest::keyClick(t->window(), c.toLatin1());
        }
    }
    // Action `kind` at `at`; a mode it needs is clicked on for it and off again.
    void act(int kind, const QPoint& at)
    {
        Ui::MainWindow* ui = t->ui();
        const char mode = kind <= 10 ? "     cma  m"[kind] : ' ';
        if (mode != ' ')
            t->clickOn(t->mode(mode));
        switch (kind) {
        case 0: case 1: case 2: case 3: t->click(at); typeSome(); break;
        case 4:
            QApplication::clipboard()->setText(QStringLiteral("a b\n\tcd|*\n"));
            t->click(at);
            QTest::keyClick(t->window(), Qt::Key_V, Qt::ControlModifier);
            break;
        case 5: case 6: case 7: drag(at); break;
        case 8: case 9: t->key(Qt::Key_Control, true); t->click(at, Qt::RightButton); t->key(Qt::Key_Control, false); break;
        case 10: t->click(at, Qt::RightButton); break;
        case 19:
            t->clickOn(pick(2) ? ui->lineEdit : ui->lineEdit_2);
            QTest::keyClick(t->window(), Qt::Key_A, Qt::ControlModifier);
            typeSome(false);
            QTest::keyClick(t->window(), Qt::Key_Return);
            break;
        default: // Undo (twice as often), Redo, Clear all, Draw, Draw box, Save, Open (the saved backup, if any)
            t->log.answers << dir.filePath(kind == 17 ? "soak.txt" : "soak.fcb");
            t->clickOn(QVector<QAbstractButton*>{ui->goBack, ui->goBack, ui->goForward, ui->pushButton_4,
                ui->radioButton_3, ui->radioButton_4, ui->pushButton_2, ui->open}[kind - 11]);
            t->log.answers.clear();
        }
        if (mode != ' ' && t->mode(mode)->isChecked())
            t->clickOn(t->mode(mode));
    }

    // Empty when every invariant holds, else what broke.
    QString broken()
    {
        MainWindow* w = t->w;
        if (!t->log.messages.filter(QStringLiteral("Not saved")).isEmpty())
            return QStringLiteral("a save failed");
        const ChartStream::Chart chart = w->chartSnapshot();
        const QByteArray bytes = ChartStream::toBytes(chart);
        ChartStream::Chart back;
        if (!ChartStream::fromBytes(bytes, back) || back != chart || ChartStream::toBytes(back) != bytes)
            return QStringLiteral("the chart stream does not read back equal");
        for (TextObject* box : *w->m_data)
            if (!QRect(0, 0, 801, 801).contains(box->elem->geometry()))
                return QStringLiteral("a box leaves the canvas");
        for (const auto& record : w->removeWhch)
            if (record.second < 0 || record.second >= (record.first == MainWindow::BOX ? w->m_data->size() : int(w->m_data_line.size())))
                return QStringLiteral("a creation record names a missing element");
        if (!t->ui()->radioButton_3->isChecked())
            return QString();
        // Typing renders on a later tick; these are those ticks.
        for (int tick = 0; tick < 11 && w->change_has_happen; ++tick)
            w->checkMouseMove();
        const bool borders = t->ui()->radioButton_4->isChecked();
        const QString shown = t->ui()->drawOutput->toPlainText();
        // Clear all leaves the view empty until the next edit renders.
        if (shown.isEmpty() && chart.boxes.empty() && chart.connectors.empty())
            return QString();
        const std::vector<QString> rows = CharGrid::render(ChartRender::gridInputFor(chart, borders));
        if (shown != QStringList(rows.begin(), rows.end()).join(QLatin1Char('\n')))
            return QStringLiteral("the output view differs from the chart's rendering");
        return QString();
    }

private slots:
    void randomActions_keepChartSound()
    {
        QVERIFY(dir.isValid());
        const quint32 seed = qEnvironmentVariableIsSet("VANDORA_SOAK_SEED")
            ? quint32(qEnvironmentVariableIntValue("VANDORA_SOAK_SEED")) : std::random_device()();
        const int actions = qEnvironmentVariableIsSet("VANDORA_SOAK_ACTIONS") ? qEnvironmentVariableIntValue("VANDORA_SOAK_ACTIONS") : 2000;
        qInfo("soak seed %u, %d actions (replay: VANDORA_SOAK_SEED=%u)", seed, actions, seed);
        rng.seed(seed);
        t.emplace();
        t->clickOn(t->ui()->radioButton_3);
        QStringList trail;
        std::vector<QByteArray> onTheWay; // each snapshot as it was when recorded
        int cursor = -1;
        for (int i = 0; i < actions; ++i) {
            const int kind = pick(20), box = pick(std::max(1, t->w->m_data->size()));
            // Clicks and pastes aim at a box's text, removals and single drags at any element.
            const QPoint at = kind == 6 || (kind >= 8 && kind <= 10) ? onElement()
                : kind >= 2 && kind <= 4 && box < t->w->m_data->size() ? t->onText(box) : anywhere();
            if (kind == 5 && pick(2))
                t->clickOn(t->ui()->drawStraightLines);
            trail << QStringLiteral("%1: kind %2 at %3,%4").arg(i).arg(kind).arg(at.x()).arg(at.y());
            act(kind, at);
            if (trail.size() > 20)
                trail.removeFirst();
            const QString fault = broken();
            // Snapshots change only from the cursor on, where the action began or ended.
            const SnapshotStore& history = t->w->byteArrayOfPastStuf;
            onTheWay.resize(size_t(history.size()));
            for (int k = std::max(0, std::min(cursor, t->w->lastByteArrayCount)); k < history.size(); ++k)
                onTheWay[size_t(k)] = history.at(k);
            cursor = t->w->lastByteArrayCount;
            if (!fault.isEmpty())
                QFAIL(qPrintable(QStringLiteral("seed %1, action %2: %3\nlast actions:\n%4").arg(seed).arg(i).arg(fault, trail.join('\n'))));
        }
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
    std::optional<TestWindow> t;
};

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
