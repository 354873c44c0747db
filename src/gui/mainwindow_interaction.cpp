// The user's actions on the canvas as chart edits: placing, moving, connecting and removing elements.
#include "canvas.h"
#include "chartrender.h"
#include "mainwindow.h"
#include "textobject.h"
#include "ui_mainwindow.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QTextEdit>

#include <algorithm>

namespace {

const QSize cell(ChartRender::cellWidth, ChartRender::cellHeight);

} // namespace

bool MainWindow::addNewText()
{
    for (const TextObject* box : *m_data) {
        if (box->openBoxPoint == lastMousePosition)
            return false;
    }
    const int index = m_data->size();
    m_data->append(
        new TextObject(nullptr, ui->drawWidget, index, lastMousePosition, m_data, sizeOfInitialTextBox, sizeToExtendBox, borderOfWIdgetsAndDrawings));
    m_data->last()->setCallbackFunction([this] { boxTextChanged(); });
    removeWhch.push_back(qMakePair(BOX, index));
    return true;
}

std::tuple<bool, int, MainWindow::WHAT> MainWindow::findClickedBoth(QPoint& point)
{
    std::vector<Canvas::BoxArea> boxes;
    boxes.reserve(size_t(m_data->size()));
    for (const TextObject* box : *m_data)
        boxes.push_back({box->centerPointFromInsideCurrentWanted, box->currentWantedRect.size()});
    std::vector<const std::vector<QPoint>*> connectors;
    connectors.reserve(m_data_line.size());
    for (const Line& line : m_data_line)
        connectors.push_back(&line.points);
    const Canvas::Hit hit = Canvas::findHit(boxes, connectors, point, ui->drawWidget->size());
    return std::make_tuple(hit.found, hit.index, hit.kind == Canvas::Kind::Box ? BOX : LINE);
}

bool MainWindow::mouseEventCalc(QMouseEvent* event)
{
    // Points are taken relative to the canvas as laid out in the whole window, so that connectors keep
    // their frame however far the content is scrolled.
    const QPoint g = canvasOrigin();
    const QRect canvas = ui->drawWidget->rect();
    const int W = canvas.width();
    const int H = canvas.height();
    const QPointF p = event->localPos() + QPointF(g - ui->drawWidget->mapTo(this, QPoint(0, 0)));

    lastGlobalPos = g;
    lastLocalPos = QPoint(Canvas::truncated(p.x()), Canvas::truncated(p.y()));
    fourPoints.topLeft = g;
    fourPoints.bottomLeft = QPoint(g.x(), g.y() + H);
    fourPoints.topRight = QPoint(g.x() + W, g.y());
    fourPoints.bottomRight = QPoint(g.x() + W, g.y() + H);

    QPoint size = sizeOfInitialTextBox;
    if (std::get<0>(startMovingObject_) && std::get<2>(startMovingObject_) == BOX) {
        const int index = std::get<1>(startMovingObject_);
        if (index < 0 || index >= m_data->size())
            return false;
        const QRect& grabbed = (*m_data)[index]->currentWantedRect;
        size = QPoint(grabbed.width(), grabbed.height());
    }

    const Canvas::Pointer mapped = Canvas::mapPointer(p, g, canvas.size(), size);
    lastMousePosition = mapped.position;
    return mapped.onCanvas;
}

QPoint MainWindow::toConnectorFrame(const QPoint& point) const
{
    return Canvas::toConnectorFrame(point, fourPoints.topLeft, mouseOffsetDrawLines);
}

void MainWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton) {
        ui->shortKeysRadioButton->setChecked(!ui->shortKeysRadioButton->isChecked());
        return;
    }
    // A menu or dialog may have taken a modifier's release; and a tag being typed is confirmed.
    syncModifiers();
    if (auto* field = qobject_cast<QLineEdit*>(focusWidget()))
        field->clearFocus();
    const bool noMode = mode() == Mode::None;
    // A box that did not take its own click (its editor was off) gets the keys; no box goes on top of it.
    // Its editor takes the release, so this press holds nothing.
    for (TextObject* box : *m_data) {
        if (noMode && event->button() == Qt::LeftButton && box->elem && box->elem->isVisible()
            && box->elem->geometry().contains(ui->drawWidget->mapFrom(this, event->pos()))) {
            box->elem->setEnabled(true);
            box->elem->setFocus();
            box->elem->setTextCursor(box->elem->cursorForPosition(box->elem->viewport()->mapFrom(this, event->pos())));
            return;
        }
    }
    m_buttonHeld = true;
    const bool ok = mouseEventCalc(event);
    const bool moveAll = mode() == Mode::MoveAll;
    const bool moveRemove = mode() == Mode::MoveRemove;
    const bool connect = mode() == Mode::Connect;

    if (event->button() == Qt::LeftButton && noMode && !ok) {
        dragPosition = event->globalPos() - frameGeometry().topLeft();
        event->accept();
        return;
    }
    if (!ok)
        return;

    if (moveRemove || moveAll) {
        if (event->button() == Qt::RightButton && !moveAll) {
            const auto hit = findClickedBoth(lastMousePosition);
            if (std::get<0>(hit)) {
                removeElement(std::get<2>(hit), std::get<1>(hit));
                Canvas::forgetCreationRecord(removeWhch, std::get<2>(hit), std::get<1>(hit));
                // Qt hands the release to the hidden editor that took the press, so it never comes here.
                if (std::get<2>(hit) == BOX)
                    m_buttonHeld = event->buttons() != event->button();
                renderIfLive();
                // The removal is whole at the press, and its release may never come.
                recordEdit();
            }
        }
        if (event->button() == Qt::LeftButton || moveAll) {
            lastMousePosition_ex = QPoint(0, 0);
            startMovingObject_ = findClickedBoth(lastMousePosition);
            // Move all takes the whole chart wherever the left button goes down on the canvas.
            if (moveAll && event->button() == Qt::LeftButton && !std::get<0>(startMovingObject_))
                startMovingObject_ = std::make_tuple(true, -1, LINE);
            holdConnectors(moveAll || event->modifiers().testFlag(Qt::ShiftModifier));
        }
        return;
    }

    if (connect) {
        if (event->button() != Qt::LeftButton)
            return;
        startDrawingLines.first = true;
        lastMousePosition = toConnectorFrame(lastMousePosition);
        const int index = int(m_data_line.size());
        m_data_line.emplace_back(ui->drawWidget, ChartRender::fewestConnectorPoints, index, ui->drawStraightLines->isChecked());
        m_data_line.back().addPoints(lastMousePosition);
        removeWhch.push_back(qMakePair(LINE, index));
        return;
    }

    // A new box keeps its border in the drawing too.
    lastMousePosition = Canvas::withBorderOnGrid(lastMousePosition, QSize(sizeOfInitialTextBox.x(), sizeOfInitialTextBox.y()), ui->drawWidget->size(), cell);
    if (event->button() == Qt::LeftButton && addNewText()) {
        // The new box takes the keys, so typing goes into it at once.
        m_data->last()->elem->setFocus();
        renderIfLive();
    }
}

void MainWindow::mouseMoveEvent(QMouseEvent* e)
{
    const bool ok = mouseEventCalc(e);
    const bool moveAll = mode() == Mode::MoveAll;
    const bool moveRemove = mode() == Mode::MoveRemove;
    const bool connect = mode() == Mode::Connect;

    if ((e->buttons() & Qt::LeftButton) && mode() == Mode::None && !(ctrlPressd && altPressd) && !ok) {
        move(e->globalPos() - dragPosition);
        e->accept();
        return;
    }
    if (ok)
        setColorOfObjectsOnHoover();

    if (moveRemove || moveAll) {
        if (!std::get<0>(startMovingObject_))
            return;
        if (ok) {
            const int index = std::get<1>(startMovingObject_);
            if (moveAll) {
                moveAllStep();
            } else if (std::get<2>(startMovingObject_) == BOX) {
                TextObject* box = (*m_data)[index];
                box->updateMovingElement(Canvas::withBorderOnGrid(lastMousePosition, box->currentWantedRect.size(), ui->drawWidget->size(), cell));
                followGrabbedBox();
            } else if (lastMousePosition_ex == QPoint(0, 0)) {
                lastMousePosition_ex = lastMousePosition;
                return;
            } else if (index >= 0 && size_t(index) < m_data_line.size()) {
                const QPoint differenceLines = toConnectorFrame(lastMousePosition) - toConnectorFrame(lastMousePosition_ex);
                m_data_line[size_t(index)].updateMovingElementAll(differenceLines, true, true);
                redrawAllLines();
                lastMousePosition_ex = lastMousePosition;
            }
        }
        renderIfLive();
        return;
    }

    if (connect && ok && startDrawingLines.first && !m_data_line.empty()) {
        lastMousePosition = toConnectorFrame(lastMousePosition);
        Line& line = m_data_line.back();
        const size_t before = line.points.size();
        line.addPoints(lastMousePosition);
        // The new connector lies on top, so painting its new segments equals a full repaint.
        paintNewSegments(line, before);
    }
}

void MainWindow::moveAllStep()
{
    if (lastMousePosition_ex == QPoint(0, 0)) {
        lastMousePosition_ex = lastMousePosition;
        return;
    }
    std::vector<QRect> boxes;
    boxes.reserve(size_t(m_data->size()));
    for (const TextObject* box : *m_data)
        boxes.push_back(box->currentWantedRect);
    const QSize canvas = ui->drawWidget->size();
    const Canvas::MoveAll step = Canvas::correctMoveAll(boxes, canvas, lastMousePosition - lastMousePosition_ex, Canvas::borderInset(canvas, cell));
    if (!step.possible)
        return;
    m_movingAll = true;
    for (TextObject* box : *m_data)
        box->updateMovingElementAll(step.difference);
    m_movingAll = false;

    const QPoint differenceLines = toConnectorFrame(lastMousePosition) - toConnectorFrame(lastMousePosition_ex);
    for (Line& line : m_data_line)
        line.updateMovingElementAll(differenceLines, step.canxBetweeked, step.canyBetweeked);
    shiftLayer(QPoint(step.canxBetweeked ? differenceLines.x() : 0, step.canyBetweeked ? differenceLines.y() : 0));

    lastMousePosition_ex = lastMousePosition;
    renderIfLive();
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event)
{
    const bool last = event->buttons() == Qt::NoButton;
    // A drag ends with its button, also one that Move all grabbed with the right button.
    if (event->button() == Qt::LeftButton || (last && event->button() == Qt::RightButton)) {
        lastMousePosition_ex = QPoint(0, 0);
        std::get<0>(startMovingObject_) = false;
        m_holding = Holding();
        startDrawingLines.first = false;
        renderIfLive();
    }
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        recordEdit();
    if (last) {
        m_buttonHeld = false;
        if (m_editorsWaitForRelease) {
            setEditorsEnabled(true);
            returnKeysToEditor();
        }
    }
}

void MainWindow::clearMainData()
{
    ui->drawOutput->clear();
    m_data_line.clear();
    initLableForDrawing();
    while (!m_data->isEmpty())
        deleteBox(0);
    removeWhch.clear();
}

void MainWindow::deleteBox(int index)
{
    TextObject* box = m_data->takeAt(index);
    box->flush();
    delete box;
}

void MainWindow::removeElement(WHAT kind, int index)
{
    if (kind == BOX) {
        deleteBox(index);
        return;
    }
    const Line removed = std::move(m_data_line[size_t(index)]);
    m_data_line.erase(m_data_line.begin() + index);
    repaintLayerAround({&removed.points});
}

void MainWindow::on_pushButton_4_clicked()
{
    // The chart as it was stays in the history, so Undo brings it back.
    clearMainData();
    recordEdit();
}

void MainWindow::on_pushButton_clicked()
{
    if (removeWhch.empty())
        return;
    // The newest element of the record's kind goes, with the record.
    const WHAT kind = removeWhch.back().first;
    const int count = kind == BOX ? m_data->size() : int(m_data_line.size());
    if (count > 0) {
        removeElement(kind, count - 1);
        removeWhch.pop_back();
    }
    renderIfLive();
    recordEdit();
}
