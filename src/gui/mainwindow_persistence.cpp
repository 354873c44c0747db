// The chart as a stream: undo and redo snapshots, Save and Open.
#include "chartfiles.h"
#include "chartrender.h"
#include "drawingreader.h"
#include "mainwindow.h"
#include "textobject.h"
#include "ui_mainwindow.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>
#include <QTextEdit>

void MainWindow::setPrompts(std::unique_ptr<Prompts> prompts)
{
    m_prompts = std::move(prompts);
}

void MainWindow::serializeDataInMainWindow(QDataStream& out)
{
    ChartStream::writeWindowState(out, chartSnapshot().window);
}

void MainWindow::serializeDataOther(QDataStream& out)
{
    const ChartStream::Chart chart = chartSnapshot();
    ChartStream::writeObjects(out, chart.boxes, chart.connectors);
}

ChartStream::Chart MainWindow::chartSnapshot() const
{
    ChartStream::Chart chart;
    ChartStream::WindowState& state = chart.window;
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
    chart.boxes.reserve(size_t(m_data->size()));
    for (const TextObject* box : *m_data)
        chart.boxes.push_back(box->serializeData());
    chart.connectors.reserve(m_data_line.size());
    for (const Line& line : m_data_line)
        chart.connectors.push_back(line.serializeData());
    return chart;
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

void MainWindow::deserializeDataOther(
    const std::vector<ChartStream::BoxRecord>& boxes, const std::vector<ChartStream::ConnectorRecord>& connectors)
{
    for (const ChartStream::BoxRecord& record : boxes) {
        auto* box = new TextObject(nullptr, ui->drawWidget, m_data->size(), QPoint(0, 0),
            std::shared_ptr<QVector<TextObject*>>(), QPoint(20, 20), QPoint(10, 10), 2);
        m_data->append(box);
        // Boxes from a stream only ask for a redraw; their edits are recorded at the next release.
        box->setCallbackFunction([this] {
            if (ui->radioButton_3->isChecked())
                change_has_happen = true;
        });
        box->deserializeData(record);
    }
    // Boxes rebuilt while a mode is on (an Undo with Ctrl held) must not take the clicks meant for the mode.
    if (ui->radioButton->isChecked() || ui->radioButton_2->isChecked() || ui->radioBMoveAll->isChecked())
        setEditorsEnabled(false);
    for (const ChartStream::ConnectorRecord& record : connectors) {
        m_data_line.emplace_back(ui->drawWidget, ChartRender::fewestConnectorPoints, int(m_data_line.size()), false);
        m_data_line.back().deserializeData(record);
    }
    redrawAllLines();
    renderIfLive();
}

void MainWindow::loadChart(const ChartStream::Chart& chart)
{
    clearMainData();
    deserializeDataInMainWindow(chart.window);
    deserializeDataOther(chart.boxes, chart.connectors);
}

void MainWindow::loadChartKeepingUnchanged(const ChartStream::Chart& chart)
{
    ui->drawOutput->clear();
    deserializeDataInMainWindow(chart.window);
    const auto streamCallback = [this] {
        if (ui->radioButton_3->isChecked())
            change_has_happen = true;
    };
    const bool modeOn = ui->radioButton->isChecked() || ui->radioButton_2->isChecked() || ui->radioBMoveAll->isChecked();
    const int count = int(chart.boxes.size());
    while (m_data->size() > count) {
        TextObject* box = m_data->takeLast();
        box->flush();
        delete box;
    }
    std::vector<bool> fresh(size_t(count), false);
    for (int i = 0; i < count; ++i) {
        const ChartStream::BoxRecord& record = chart.boxes[size_t(i)];
        TextObject* box = i < m_data->size() ? (*m_data)[i] : nullptr;
        if (box && box->elem) {
            const ChartStream::BoxRecord current = box->serializeData();
            const bool same = current == record && box->elem->geometry() == box->currentWantedRect;
            if (same || current.text == record.text) {
                // Kept, with what a rebuilt box would have; an unchanged one keeps its text cursor too.
                box->setCallbackFunction(streamCallback);
                box->setObjColor(false);
                box->elem->setToolTip(QString());
                if (!same)
                    box->deserializeData(record);
                box->elem->setEnabled(!modeOn);
                continue;
            }
        }
        if (box) {
            box->flush();
            delete box;
        }
        box = new TextObject(nullptr, ui->drawWidget, i, QPoint(0, 0), std::shared_ptr<QVector<TextObject*>>(),
            QPoint(20, 20), QPoint(10, 10), 2);
        if (i < m_data->size())
            (*m_data)[i] = box;
        else
            m_data->append(box);
        box->setCallbackFunction(streamCallback);
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
        m_data_line.emplace_back(ui->drawWidget, 4, int(m_data_line.size()), false);
        m_data_line.back().deserializeData(record);
    }
    repaintChangedConnectors(before);
    renderIfLive();
}

void MainWindow::pushBackStreamToBuffer()
{
    const QByteArray snapshot = ChartStream::toBytes(chartSnapshot());
    // Recording after an Undo drops only the redo tail; the state under the cursor stays.
    byteArrayOfPastStuf.truncate(std::max(lastByteArrayCount + 1, 0));
    byteArrayOfPastStuf.append(snapshot);
    byteArrayOfPastStuf.trimTo(m_historyBudget);
    lastByteArrayCount = byteArrayOfPastStuf.size() - 1;
    showHistoryPosition();
    scheduleRecovery();
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
}

void MainWindow::on_goBack_clicked()
{
    if (lastByteArrayCount > 0 && lastByteArrayCount < byteArrayOfPastStuf.size())
        deserialzeDataStream(--lastByteArrayCount);
    showHistoryPosition();
    scheduleRecovery();
}

void MainWindow::on_goForward_clicked()
{
    if (lastByteArrayCount >= 0 && lastByteArrayCount < byteArrayOfPastStuf.size() - 1)
        deserialzeDataStream(++lastByteArrayCount);
    showHistoryPosition();
    scheduleRecovery();
}

// Undo and Redo are enabled exactly when there is a snapshot before, or after, the current one.
void MainWindow::showHistoryPosition()
{
    ui->goBack->setEnabled(lastByteArrayCount > 0);
    ui->goForward->setEnabled(lastByteArrayCount < byteArrayOfPastStuf.size() - 1);
}

QString MainWindow::settingsFilePath() const
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QFileInfo beside(ChartFiles::settingsFilePath(programFolder, true, QString()));
    const bool writable = beside.exists() ? beside.isWritable() : QFileInfo(programFolder).isWritable();
    const QString configFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    if (!writable)
        QDir().mkpath(configFolder);
    return ChartFiles::settingsFilePath(programFolder, writable, configFolder);
}

QString MainWindow::readSettingsFolder()
{
    QString path = QDir::currentPath();
    QFile settings(settingsFilePath());
    if (settings.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&settings);
        in.setCodec("UTF-8");
        while (!in.atEnd())
            path = in.readLine();
    } else {
        writeSettingsFolder(path);
    }
    return path;
}

void MainWindow::writeSettingsFolder(const QString& folder)
{
    ChartFiles::writeWhole(settingsFilePath(), folder.toUtf8());
}

void MainWindow::on_pushButton_2_clicked()
{
    saveChart();
}

bool MainWindow::saveChart()
{
    setWindowTitle(QStringLiteral("Vandora ... saving file ..."));
    const QString folder = readSettingsFolder();
    const QString fileName =
        m_prompts->saveFileName(this, QStringLiteral("Save file"), folder, QStringLiteral("Text file (*.txt) ;;"));
    if (fileName.isEmpty()) {
        setWindowTitle(QStringLiteral("Vandora"));
        return false;
    }
    writeSettingsFolder(ChartFiles::folderOf(fileName));

    drawRightWidget();
    QStringList failures;
    QString reason;
    if (!ChartFiles::writeWhole(fileName, ChartRender::exportBytes(printThis), &reason))
        failures << fileName + QStringLiteral(": ") + reason;
    const QString backupName = ChartFiles::backupNameFor(fileName);
    if (!ChartFiles::writeWhole(backupName, ChartStream::toBytes(chartSnapshot()), &reason))
        failures << backupName + QStringLiteral(": ") + reason;

    setWindowTitle(QStringLiteral("Vandora"));
    if (!failures.isEmpty()) {
        m_prompts->warning(this, QStringLiteral("Not saved"),
            QStringLiteral("The chart could not be saved.\n") + failures.join(QLatin1Char('\n')));
        return false;
    }
    markSaved();
    m_prompts->information(this, QStringLiteral("Saved"), QStringLiteral("Chart saved!"));
    return true;
}

void MainWindow::warnFileFailed(const QString& fileName, const QString& what, const QString& reason)
{
    m_prompts->warning(this, fileName, what + QStringLiteral(": ") + reason);
}

void MainWindow::on_open_clicked()
{
    setWindowTitle(QStringLiteral("Vandora ... opening file ..."));
    QString fileName = m_filePath;
    if (fileName.isEmpty()) {
        const QString folder = readSettingsFolder();
        fileName = m_prompts->openFileName(
            this, QStringLiteral("Open file"), folder, QStringLiteral("FlowChartBackup (*.fcb);;Text drawing (*)"));
    }
    if (fileName.isEmpty()) {
        setWindowTitle(QStringLiteral("Vandora"));
        return;
    }
    m_filePath.clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        warnFileFailed(fileName, QStringLiteral(" File did not open"), file.errorString());
        setWindowTitle(QStringLiteral("Vandora"));
        return;
    }
    writeSettingsFolder(ChartFiles::folderOf(fileName));

    // The whole file is checked before the current chart is touched.
    ChartStream::Chart chart;
    QString error;
    DrawingReader::Result drawing;
    bool isDrawing = false;
    if (!ChartStream::read(&file, chart, &error)) {
        // Any file but a backup may hold a text drawing.
        const bool backup = fileName.endsWith(QLatin1String(".fcb"));
        QString why;
        isDrawing = !backup && file.seek(0) && DrawingReader::readText(file.readAll(), drawing, &why);
        if (!isDrawing) {
            warnFileFailed(fileName, QStringLiteral(" File is not a chart"), backup || why.isEmpty() ? error : why);
            setWindowTitle(QStringLiteral("Vandora"));
            return;
        }
        chart = drawing.chart;
        ui->radioButton_4->setChecked(drawing.drawBorders);
        setDrawingStyle(drawing.style, drawing.arrows);
    }
    clearMainData();
    clearHistory();
    deserializeDataInMainWindow(chart.window);
    deserializeDataOther(chart.boxes, chart.connectors);
    pushBackStreamToBuffer();
    markSaved();

    setWindowTitle(QStringLiteral("Vandora"));
    ui->drawWidget->show();
    ui->label_2->show();
    if (isDrawing && drawing.unplaced > 0)
        m_prompts->information(this, fileName, unplacedText(drawing.unplaced));
}
