// The undo history: the chart as snapshots of the chart stream, each edit one step, Undo and Redo.
#include "chartrender.h"
#include "mainwindow.h"
#include "textchange.h"
#include "textobject.h"
#include "ui_mainwindow.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScopedValueRollback>
#include <QTextEdit>

#include <algorithm>

ChartStream::Chart MainWindow::chartSnapshot() const
{
    ChartStream::Chart chart;
    chart.window = windowSnapshot();
    chart.boxes.reserve(size_t(m_data->size()));
    for (const TextObject* box : *m_data)
        chart.boxes.push_back(box->serializeData());
    chart.connectors.reserve(m_data_line.size());
    for (const Line& line : m_data_line)
        chart.connectors.push_back(line.serializeData());
    return chart;
}

ChartStream::WindowState MainWindow::windowSnapshot() const
{
    ChartStream::WindowState state;
    state.lastMousePosition = lastMousePosition;
    state.sizeToExtendBox = sizeToExtendBox;
    state.sizeOfInitialTextBox = sizeOfInitialTextBox;
    state.drawingLine = startDrawingLines.first;
    state.drawingLineSpare = startDrawingLines.second;
    state.lastGlobalPos = lastGlobalPos;
    state.lastLocalPos = lastLocalPos;
    state.dragPosition = dragPosition;
    for (const QPair<WHAT, int>& record : removeWhch)
        state.creationRecords.push_back({quint32(record.first), record.second});
    state.startTag = ui->lineEdit->text();
    state.endTag = ui->lineEdit_2->text();
    return state;
}

bool MainWindow::showsContent(const ChartStream::Chart& content) const
{
    ChartStream::WindowState state = windowSnapshot();
    ChartStream::resetPointerFields(state);
    if (state != content.window || size_t(m_data->size()) != content.boxes.size() || m_data_line.size() != content.connectors.size())
        return false;
    for (int i = 0; i < m_data->size(); ++i)
        if ((*m_data)[i]->serializeData() != content.boxes[size_t(i)])
            return false;
    for (size_t i = 0; i < m_data_line.size(); ++i)
        if (!m_data_line[i].holds(content.connectors[i]))
            return false;
    return true;
}

void MainWindow::deserializeDataInMainWindow(const ChartStream::WindowState& state)
{
    lastMousePosition = state.lastMousePosition;
    sizeToExtendBox = state.sizeToExtendBox;
    sizeOfInitialTextBox = state.sizeOfInitialTextBox;
    startDrawingLines = qMakePair(state.drawingLine, int(state.drawingLineSpare));
    lastGlobalPos = state.lastGlobalPos;
    lastLocalPos = state.lastLocalPos;
    dragPosition = state.dragPosition;
    removeWhch.clear();
    for (const ChartStream::CreationRecord& record : state.creationRecords)
        removeWhch.push_back(qMakePair(record.kind == 0 ? BOX : LINE, int(record.index)));
    ui->lineEdit->clear();
    ui->lineEdit->setText(state.startTag);
    ui->lineEdit_2->clear();
    ui->lineEdit_2->setText(state.endTag);
}

void MainWindow::loadChart(const ChartStream::Chart& chart)
{
    const QScopedValueRollback<bool> rebuilding(m_rebuilding, true);
    clearMainData();
    deserializeDataInMainWindow(chart.window);
    for (const ChartStream::BoxRecord& record : chart.boxes) {
        TextObject* box = newBox(m_data->size());
        m_data->append(box);
        box->deserializeData(record);
    }
    // Boxes rebuilt while a mode is on (an Undo with Ctrl held) must not take the clicks meant for the mode.
    if (mode() != Mode::None)
        setEditorsEnabled(false);
    for (const ChartStream::ConnectorRecord& record : chart.connectors) {
        m_data_line.emplace_back(ui->drawWidget, ChartRender::fewestConnectorPoints, int(m_data_line.size()), false);
        m_data_line.back().deserializeData(record);
    }
    redrawAllLines();
    renderIfLive();
}

TextObject* MainWindow::newBox(int index)
{
    auto* box = new TextObject(
        nullptr, ui->drawWidget, index, QPoint(0, 0), std::shared_ptr<QVector<TextObject*>>(), QPoint(20, 20), QPoint(10, 10), borderOfWIdgetsAndDrawings);
    box->setCallbackFunction([this] { boxTextChanged(); });
    return box;
}

void MainWindow::loadChartKeepingUnchanged(const ChartStream::Chart& chart)
{
    const QScopedValueRollback<bool> rebuilding(m_rebuilding, true);
    ui->drawOutput->clear();
    deserializeDataInMainWindow(chart.window);
    const bool modeOn = mode() != Mode::None;
    const int count = int(chart.boxes.size());
    while (m_data->size() > count)
        deleteBox(m_data->size() - 1);
    std::vector<bool> fresh(size_t(count), false);
    for (int i = 0; i < count; ++i) {
        const ChartStream::BoxRecord& record = chart.boxes[size_t(i)];
        TextObject* box = i < m_data->size() ? (*m_data)[i] : nullptr;
        if (box && box->elem) {
            const ChartStream::BoxRecord current = box->serializeData();
            const bool same = current == record && box->elem->geometry() == box->currentWantedRect;
            // The same box (made at the same point as the same element) is kept, with what a rebuilt box
            // would have; its text cursor stays, or goes where its text changed.
            if (same || (current.openBoxPoint == record.openBoxPoint && current.whoAmI == record.whoAmI)) {
                box->setObjColor(false);
                box->elem->setToolTip(QString());
                if (!same) {
                    box->deserializeData(record);
                    if (current.text != record.text) {
                        QTextCursor cursor = box->elem->textCursor();
                        cursor.setPosition(TextChange::cursorAfter(current.text, box->elem->toPlainText()));
                        box->elem->setTextCursor(cursor);
                    }
                }
                box->elem->setEnabled(!modeOn);
                continue;
            }
        }
        if (box)
            deleteBox(i);
        box = newBox(i);
        m_data->insert(i, box);
        box->deserializeData(record);
        if (modeOn)
            box->elem->setEnabled(false);
        fresh[size_t(i)] = true;
    }
    // New editors go on top; each is put back directly under the box that follows it in the list.
    for (int i = count - 2; i >= 0; --i)
        if (fresh[size_t(i)] && (*m_data)[i]->elem && (*m_data)[i + 1]->elem)
            (*m_data)[i]->elem->stackUnder((*m_data)[i + 1]->elem);

    std::vector<Line> before = std::move(m_data_line);
    m_data_line.clear();
    for (const ChartStream::ConnectorRecord& record : chart.connectors) {
        m_data_line.emplace_back(ui->drawWidget, ChartRender::fewestConnectorPoints, int(m_data_line.size()), false);
        m_data_line.back().deserializeData(record);
    }
    repaintChangedConnectors(before);
    renderIfLive();
}

void MainWindow::pushBackStreamToBuffer()
{
    ChartStream::Chart chart = chartSnapshot();
    const QByteArray snapshot = ChartStream::toBytes(chart);
    appendSnapshot(snapshot, std::move(chart));
    scheduleRecovery();
}

void MainWindow::recordEdit()
{
    if (lastByteArrayCount >= 0 && showsContent(m_cursorChart))
        return;
    pushBackStreamToBuffer();
}

void MainWindow::appendSnapshot(const QByteArray& snapshot, ChartStream::Chart chart)
{
    // Recording after an Undo drops only the redo tail; the state under the cursor stays.
    byteArrayOfPastStuf.truncate(std::max(lastByteArrayCount + 1, 0));
    byteArrayOfPastStuf.append(snapshot);
    byteArrayOfPastStuf.trimTo(m_historyBudget);
    lastByteArrayCount = byteArrayOfPastStuf.size() - 1;
    m_cursorChart = std::move(chart);
    ChartStream::resetPointerFields(m_cursorChart.window);
    showHistoryPosition();
}

void MainWindow::startHistory()
{
    byteArrayOfPastStuf.clear();
    // No snapshot is left to point at, so the new one is the first.
    lastByteArrayCount = -1;
    ChartStream::Chart chart = chartSnapshot();
    const QByteArray snapshot = ChartStream::toBytes(chart);
    appendSnapshot(snapshot, std::move(chart));
}

void MainWindow::boxTextChanged()
{
    if (rendersLive())
        change_has_happen = true;
    // A rebuild is no edit; a drag under a held button is recorded at its release.
    const bool held = m_buttonHeld && QGuiApplication::mouseButtons() != Qt::NoButton;
    if (!m_rebuilding && !m_movingAll && !held)
        recordEdit();
}

qint64 MainWindow::historyBytes() const
{
    return byteArrayOfPastStuf.bytesHeld();
}

void MainWindow::deserialzeDataStream(int stream_count)
{
    if (stream_count < 0 || stream_count >= byteArrayOfPastStuf.size())
        return;
    ChartStream::Chart chart;
    if (!ChartStream::fromBytes(byteArrayOfPastStuf.at(stream_count), chart))
        return;
    loadChartKeepingUnchanged(chart);
    if (stream_count == lastByteArrayCount) {
        m_cursorChart = std::move(chart);
        ChartStream::resetPointerFields(m_cursorChart.window);
    }
}

void MainWindow::on_goBack_clicked()
{
    stepHistory(-1);
}

void MainWindow::on_goForward_clicked()
{
    stepHistory(1);
}

void MainWindow::stepHistory(int by)
{
    // A change not yet recorded (a tag still being typed) becomes the step this one takes back.
    recordEdit();
    // The editor that had the keys: one that a held modifier took them from, or the focused box.
    QPointer<QTextEdit> typing = m_typingIn;
    if (!typing) {
        for (TextObject* box : *m_data)
            if (box->elem && box->elem == focusWidget())
                typing = box->elem;
    }
    const bool hadTyping = !typing.isNull();
    const int to = lastByteArrayCount + by;
    if (lastByteArrayCount >= 0 && to >= 0 && to < byteArrayOfPastStuf.size()) {
        lastByteArrayCount = to;
        deserialzeDataStream(to);
    }
    showHistoryPosition();
    scheduleRecovery();
    if (typing && std::none_of(m_data->begin(), m_data->end(), [&](const TextObject* box) { return box->elem == typing; }))
        typing = m_typingIn = nullptr;
    // A box that is gone leaves the keys with the window, where the shortcuts still work; one that is
    // kept gets them back now, or at the release of the modifier that took them.
    if (!typing) {
        if (hadTyping || !focusWidget())
            setFocus();
    } else if (!m_typingIn && typing->isEnabled()) {
        typing->setFocus();
    }
}

// Undo and Redo are enabled exactly when there is a snapshot before, or after, the current one.
void MainWindow::showHistoryPosition()
{
    ui->goBack->setEnabled(lastByteArrayCount > 0);
    ui->goForward->setEnabled(lastByteArrayCount < byteArrayOfPastStuf.size() - 1);
    showTitle();
}
