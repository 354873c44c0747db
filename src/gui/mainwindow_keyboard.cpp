// Modifier keys as temporary tool modes, and the command shortcuts (copying and pasting drawings among them).
#include "chartrender.h"
#include "drawingreader.h"
#include "gridcrop.h"
#include "mainwindow.h"
#include "textobject.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTextEdit>

#include <tuple>

namespace {

ToolMode::Key toolKey(int key)
{
    if (key == Qt::Key_Control)
        return ToolMode::Key::Ctrl;
    return key == Qt::Key_Alt ? ToolMode::Key::Alt : ToolMode::Key::Other;
}

} // namespace

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    if (!ui->shortKeysRadioButton->isChecked())
        return;
    if (toolKey(event->key()) != ToolMode::Key::Other) {
        // Disabling the editors takes the keys from a box being typed in; remember it to give them back.
        if (auto* editor = qobject_cast<QTextEdit*>(focusWidget()))
            m_typingIn = editor;
        applyKey(toolKey(event->key()), true);
        return;
    }
    if (!ctrlPressd || altPressd)
        return;
    switch (event->key()) {
    case Qt::Key_Z: stepHistory(-1); break;
    case Qt::Key_Y: stepHistory(1); break;
    // Their dialogs take the keys while they are open.
    case Qt::Key_O:
        openChart();
        syncModifiers();
        break;
    case Qt::Key_S:
        saveChart();
        syncModifiers();
        break;
    case Qt::Key_V:
        if (event->modifiers().testFlag(Qt::ShiftModifier) && !qobject_cast<QLineEdit*>(focusWidget()))
            pasteDrawing();
        break;
    case Qt::Key_C:
        // Ctrl+Shift+C always copies the whole grid. Ctrl+C in a box that was being typed in copies its
        // own selection; otherwise the compact drawing is copied.
        if (event->modifiers().testFlag(Qt::ShiftModifier))
            copyDrawing(false);
        else if (m_typingIn && m_typingIn->textCursor().hasSelection())
            m_typingIn->copy();
        else if (!qobject_cast<QLineEdit*>(focusWidget()))
            copyDrawing(true);
        break;
    default: break;
    }
}

void MainWindow::copyDrawing(bool compact)
{
    const CharGrid::Input input = gridInput();
    std::vector<QString> rows = CharGrid::render(input);
    if (compact)
        rows = GridCrop::compact(rows, input.startTag, input.endTag);
    // A chart with nothing to show leaves the clipboard as it was.
    if (!rows.empty())
        QApplication::clipboard()->setText(QString::fromUtf8(ChartRender::exportBytes(rows)));
}

void MainWindow::pasteDrawing()
{
    const DrawingReader::Result read = DrawingReader::read(DrawingReader::rowsOf(QApplication::clipboard()->text()));
    if (read.chart.boxes.empty() && read.chart.connectors.empty())
        return;
    ChartStream::Chart chart = chartSnapshot();
    DrawingReader::addTo(chart, read.chart);
    loadChartKeepingUnchanged(chart);
    recordEdit();
    if (read.unplaced > 0)
        m_prompts->information(this, QStringLiteral("Paste drawing"), DrawingReader::unplacedText(read.unplaced));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The output view takes Ctrl+C for its own selection; with nothing selected, and for Ctrl+Shift+C
    // always, the drawing is copied.
    if (watched == ui->drawOutput && event->type() == QEvent::KeyPress && ctrlPressd && !altPressd && ui->shortKeysRadioButton->isChecked()
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_C) {
        const bool whole = static_cast<QKeyEvent*>(event)->modifiers().testFlag(Qt::ShiftModifier);
        if (whole || !ui->drawOutput->textCursor().hasSelection()) {
            copyDrawing(!whole);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::keyReleaseEvent(QKeyEvent* event)
{
    if (!ui->shortKeysRadioButton->isChecked())
        return;
    if (event->key() == Qt::Key_Alt)
        startDrawingLines.first = false;
    applyKey(toolKey(event->key()), false);
}

void MainWindow::applyKey(ToolMode::Key key, bool pressed)
{
    const ToolMode::State next = ToolMode::afterKey({mode(), ctrlPressd, altPressd}, key, pressed);
    ctrlPressd = next.ctrl;
    altPressd = next.alt;
    if (key == ToolMode::Key::Other) {
        if (next.mode != mode())
            setMode(next.mode);
        return;
    }
    // A modifier's release clears the tool tips a mode button set.
    setMode(next.mode, pressed ? EditorTip::Keep : EditorTip::Clear);
    setColorOfObjectsOnHoover();
    if (!pressed)
        returnKeysToEditor();
}

void MainWindow::returnKeysToEditor()
{
    if (!m_typingIn || ctrlPressd || altPressd || m_editorsWaitForRelease)
        return;
    if (m_typingIn->isVisible())
        m_typingIn->setFocus();
    m_typingIn = nullptr;
}

void MainWindow::releaseModifiers()
{
    if (!ctrlPressd && !altPressd)
        return;
    ctrlPressd = false;
    altPressd = false;
    // A release that another window takes never reaches us either.
    m_buttonHeld = false;
    startDrawingLines.first = false;
    setMode(Mode::None, EditorTip::Clear);
    setColorOfObjectsOnHoover();
    // The box being typed in gets the keys back when the window is active again.
    returnKeysToEditor();
}

void MainWindow::syncModifiers()
{
    if (!ui->shortKeysRadioButton->isChecked())
        return;
    const Qt::KeyboardModifiers held = QGuiApplication::queryKeyboardModifiers();
    for (const auto& [flag, modifier, key] :
        {std::make_tuple(&ctrlPressd, Qt::ControlModifier, Qt::Key_Control), std::make_tuple(&altPressd, Qt::AltModifier, Qt::Key_Alt)}) {
        if (*flag && !held.testFlag(modifier)) {
            QKeyEvent release(QEvent::KeyRelease, key, held);
            keyReleaseEvent(&release);
        }
    }
}

void MainWindow::changeEvent(QEvent* event)
{
    // A modifier released while another window has the keys never reaches us: treat it as released now,
    // and look again when the window has the keys back.
    if (event->type() == QEvent::ActivationChange)
        isActiveWindow() ? syncModifiers() : releaseModifiers();
    QMainWindow::changeEvent(event);
}
