// Save and Open: the text drawing and the backup beside it, and the folder last used.
#include "chartfiles.h"
#include "chartrender.h"
#include "drawingreader.h"
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>

void MainWindow::setPrompts(std::unique_ptr<Prompts> prompts)
{
    m_prompts = std::move(prompts);
}

QString MainWindow::settingsFilePath()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QFileInfo beside(ChartFiles::settingsFilePath(programFolder, true, true, QString()));
    const bool buildFolder = QFileInfo::exists(programFolder + QLatin1Char('/') + QLatin1String(ChartFiles::buildFolderMark));
    const bool writable = beside.exists() ? beside.isWritable() : QFileInfo(programFolder).isWritable();
    const QString configFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    if (!buildFolder || !writable)
        QDir().mkpath(configFolder);
    return ChartFiles::settingsFilePath(programFolder, buildFolder, writable, configFolder);
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
    const QString fileName = m_prompts->saveFileName(this, QStringLiteral("Save file"), folder, QStringLiteral("Text file (*.txt) ;;"));
    if (fileName.isEmpty()) {
        showTitle();
        return false;
    }
    writeSettingsFolder(ChartFiles::folderOf(fileName));

    drawRightWidget();
    QString failedName;
    QString reason;
    // Both files or neither: a failure leaves the earlier export and backup as they were.
    const bool written = ChartFiles::writeBoth(
        fileName, ChartRender::exportBytes(printThis), ChartFiles::backupNameFor(fileName), ChartStream::toBytes(chartSnapshot()), &failedName, &reason);

    if (!written) {
        showTitle();
        m_prompts->warning(this, QStringLiteral("Not saved"),
            QStringLiteral("The chart could not be saved; no file was changed.\n") + failedName + QStringLiteral(": ") + reason);
        return false;
    }
    m_chartFile = QFileInfo(ChartFiles::backupNameFor(fileName)).absoluteFilePath();
    markSaved();
    m_prompts->information(this, QStringLiteral("Saved"), QStringLiteral("Chart saved!"));
    return true;
}

void MainWindow::warnFileFailed(const QString& fileName, const QString& what, const QString& reason)
{
    m_prompts->warning(this, fileName, fileName + QLatin1Char(':') + what + QStringLiteral(": ") + reason);
}

void MainWindow::on_open_clicked()
{
    openChart();
}

void MainWindow::openChart()
{
    if (!confirmDiscardChanges())
        return;
    setWindowTitle(QStringLiteral("Vandora ... opening file ..."));
    QString fileName = m_filePath;
    if (fileName.isEmpty()) {
        const QString folder = readSettingsFolder();
        fileName = m_prompts->openFileName(this, QStringLiteral("Open file"), folder, QStringLiteral("FlowChartBackup (*.fcb);;Text drawing (*)"));
    }
    m_filePath.clear();
    if (fileName.isEmpty()) {
        showTitle();
        return;
    }
    openChartFile(fileName);
}

void MainWindow::openChartFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        showTitle();
        warnFileFailed(fileName, QStringLiteral(" File did not open"), file.errorString());
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
            showTitle();
            warnFileFailed(fileName, QStringLiteral(" File is not a chart"), backup || why.isEmpty() ? error : why);
            return;
        }
        chart = drawing.chart;
        ui->radioButton_4->setChecked(drawing.drawBorders);
        setDrawingStyle(drawing.style, drawing.arrows);
    }
    loadChart(chart);
    startHistory();
    m_chartFile = QFileInfo(fileName).absoluteFilePath();
    markSaved();
    ui->drawWidget->show();
    ui->label_2->show();
    if (isDrawing && drawing.unplaced > 0)
        m_prompts->information(this, fileName, DrawingReader::unplacedText(drawing.unplaced));
}
