// Nothing unsaved is lost: the close prompt and the recovery file.
#include "chartfiles.h"
#include "mainwindow.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QTimer>

QString MainWindow::recoveryFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/recovery.fcb");
}

QByteArray MainWindow::contentBytes() const
{
    ChartStream::Chart chart = chartSnapshot();
    ChartStream::resetPointerFields(chart.window);
    return ChartStream::toBytes(chart);
}

bool MainWindow::hasUnsavedChanges() const
{
    return contentBytes() != m_savedContent;
}

void MainWindow::markSaved()
{
    m_savedContent = contentBytes();
    removeRecovery();
    showTitle();
}

void MainWindow::scheduleRecovery()
{
    if (!m_recoveryTimer) {
        m_recoveryTimer = new QTimer(this);
        m_recoveryTimer->setSingleShot(true);
        connect(m_recoveryTimer, &QTimer::timeout, this, &MainWindow::updateRecovery);
    }
    if (m_recoveryTimer->isActive())
        return;
    const qint64 since = m_sinceRecoveryWrite.isValid() ? m_sinceRecoveryWrite.elapsed() : recoveryIntervalMs;
    m_recoveryTimer->start(int(std::max<qint64>(0, recoveryIntervalMs - since)));
}

void MainWindow::updateRecovery()
{
    // A drag in progress is not a chart worth keeping; look again shortly after.
    if (QGuiApplication::mouseButtons() != Qt::NoButton || std::get<0>(startMovingObject_)) {
        m_recoveryTimer->start(100);
        return;
    }
    if (!hasUnsavedChanges()) {
        removeRecovery();
        return;
    }
    const QByteArray bytes = lastByteArrayCount >= 0 && lastByteArrayCount < byteArrayOfPastStuf.size() ? byteArrayOfPastStuf.at(lastByteArrayCount)
                                                                                                        : ChartStream::toBytes(chartSnapshot());
    if (bytes == m_recoveryWritten)
        return;
    const QString path = recoveryFilePath();
    QDir().mkpath(QFileInfo(path).path());
    if (ChartFiles::writeWhole(path, bytes))
        m_recoveryWritten = bytes;
    m_sinceRecoveryWrite.start();
}

void MainWindow::removeRecovery()
{
    if (m_recoveryTimer)
        m_recoveryTimer->stop();
    QFile::remove(recoveryFilePath());
    m_recoveryWritten.clear();
}

bool MainWindow::offerRecovery()
{
    const QString path = recoveryFilePath();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    ChartStream::Chart chart;
    QString error;
    if (!ChartStream::read(&file, chart, &error)) {
        file.close();
        warnFileFailed(path, QStringLiteral(" The recovered chart is damaged and was dropped"), error);
        removeRecovery();
        return false;
    }
    file.close();
    if (!m_prompts->restoreRecovered(this, path)) {
        removeRecovery();
        return false;
    }
    loadChart(chart);
    startHistory();
    return true;
}

bool MainWindow::confirmDiscardChanges()
{
    if (!hasUnsavedChanges())
        return true;
    const Prompts::CloseAnswer answer = m_prompts->saveBeforeClosing(this);
    return answer == Prompts::CloseAnswer::Discard || (answer == Prompts::CloseAnswer::Save && saveChart());
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!confirmDiscardChanges()) {
        event->ignore();
        return;
    }
    removeRecovery();
    QMainWindow::closeEvent(event);
}
