// The window among the desktop's others: its title, its fit to the screen, files dropped on it.
#include "chartfiles.h"
#include "mainwindow.h"
#include "ui_mainwindow.h"
#include "windowfit.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QMimeData>
#include <QMoveEvent>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>

#include <utility>

void MainWindow::showTitle()
{
    setWindowFilePath(m_chartFile);
    setWindowTitle(m_chartFile.isEmpty() ? QStringLiteral("Vandora[*]") : QFileInfo(m_chartFile).fileName() + QStringLiteral("[*] - Vandora"));
    setWindowModified(hasUnsavedChanges());
}

QPoint MainWindow::canvasOrigin() const
{
    // The central widget (or the scroll area holding it) starts where the content would start unscrolled.
    return ui->drawWidget->mapTo(ui->centralWidget, QPoint(0, 0)) + centralWidget()->pos();
}

void MainWindow::fitToScreen(const QRect& available, const QMargins& frame)
{
    // Fixed until first fitted; after that its maximum is the whole window.
    const QSize whole = m_fittedFrame ? maximumSize() : size();
    const WindowFit::Placement placement = WindowFit::place(whole, available, frame);
    if (!placement.scroll)
        return;
    if (!m_fittedFrame) {
        // The content keeps the size it has in the whole window; only the window around it shrinks.
        QWidget* content = takeCentralWidget();
        content->setFixedSize(whole.width(), ui->horizontalLayoutWidget->geometry().bottom() + 1);
        auto* scroll = new QScrollArea(this);
        scroll->setObjectName(QStringLiteral("centralScrollArea"));
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidget(content);
        setCentralWidget(scroll);
        setMinimumSize(QSize(320, 240));
        setMaximumSize(content->size() + QSize(0, menuBar()->sizeHint().height()));
    }
    m_fittedFrame = frame;
    resize(placement.size);
    move(placement.framePosition);
}

void MainWindow::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    if (!m_fittedFrame || !isVisible() || !screen())
        return;
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(), outer.bottom() - inner.bottom());
    if (frame != *m_fittedFrame)
        fitToScreen(screen()->availableGeometry(), frame);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!ChartFiles::droppedChart(event->mimeData()->urls()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    m_droppedChart = ChartFiles::droppedChart(event->mimeData()->urls());
    if (m_droppedChart.isEmpty())
        return;
    event->acceptProposedAction();
    // The drop is finished first, so that the program the file came from does not wait on the question.
    QTimer::singleShot(0, this, SLOT(openDroppedChart()));
}

void MainWindow::openDroppedChart()
{
    const QString fileName = std::exchange(m_droppedChart, QString());
    if (!fileName.isEmpty() && confirmDiscardChanges())
        openChartFile(fileName);
}
