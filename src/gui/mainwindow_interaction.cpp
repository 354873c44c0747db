// Turning the user's actions on the canvas into chart edits.
#include "canvas.h"
#include "chartrender.h"
#include "mainwindow.h"
#include "textobject.h"
#include "ui_mainwindow.h"

#include <QMouseEvent>

#include <algorithm>

bool MainWindow::addNewText()
{
    for (const TextObject* box : *m_data) {
        if (box->openBoxPoint == lastMousePosition)
            return false;
    }
    const int index = m_data->size();
    m_data->append(new TextObject(nullptr, ui->drawWidget, index, lastMousePosition, m_data,
        sizeOfInitialTextBox, sizeToExtendBox, borderOfWIdgetsAndDrawings));
    m_data->last()->setCallbackFunction([this] {
        // A whole-chart drag is one step of history, recorded at its release.
        if (!m_movingAll)
            pushBackStreamToBuffer();
        if (ui->radioButton_3->isChecked())
            change_has_happen = true;
    });
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
    const QPoint g = ui->drawWidget->mapTo(this, QPoint(0, 0));
    const QRect canvas = ui->drawWidget->rect();
    const int W = canvas.width();
    const int H = canvas.height();
    const QPointF p = event->localPos();

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

void MainWindow::renderIfLive()
{
    if (ui->radioButton_3->isChecked())
        drawRightWidget();
}

void MainWindow::forgetCreationRecord(WHAT kind, int index)
{
    Canvas::forgetCreationRecord(removeWhch, kind, index);
}

void MainWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton) {
        ui->shortKeysRadioButton->setChecked(!ui->shortKeysRadioButton->isChecked());
        return;
    }
    m_buttonHeld = true;
    const bool ok = mouseEventCalc(event);
    const bool moveRemove = ui->radioButton->isChecked();
    const bool connect = ui->radioButton_2->isChecked();
    const bool moveAll = ui->radioBMoveAll->isChecked();

    if (event->button() == Qt::LeftButton && !moveRemove && !connect && !moveAll && !ok) {
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
                const int index = std::get<1>(hit);
                if (std::get<2>(hit) == BOX) {
                    TextObject* box = m_data->takeAt(index);
                    box->flush();
                    delete box;
                    forgetCreationRecord(BOX, index);
                } else {
                    const Line removed = std::move(m_data_line[size_t(index)]);
                    m_data_line.erase(m_data_line.begin() + index);
                    forgetCreationRecord(LINE, index);
                    repaintLayerAround({&removed.points});
                }
                renderIfLive();
            }
        }
        if (event->button() == Qt::LeftButton || moveAll) {
            lastMousePosition_ex = QPoint(0, 0);
            startMovingObject_ = findClickedBoth(lastMousePosition);
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

    if (event->button() == Qt::LeftButton && addNewText()) {
        // The new box takes the keys, so typing goes into it at once.
        m_data->last()->elem->setFocus();
        renderIfLive();
    }
}

void MainWindow::mouseMoveEvent(QMouseEvent* e)
{
    const bool ok = mouseEventCalc(e);
    const bool moveRemove = ui->radioButton->isChecked();
    const bool connect = ui->radioButton_2->isChecked();
    const bool moveAll = ui->radioBMoveAll->isChecked();

    if ((e->buttons() & Qt::LeftButton) && !moveRemove && !connect && !moveAll && !(ctrlPressd && altPressd)
        && !ok) {
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
                (*m_data)[index]->updateMovingElement(lastMousePosition);
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
        if (line.addPoints(lastMousePosition)) {
            // The new connector lies on top, so painting its new segments equals a full repaint.
            paintNewSegments(line, before);
            return;
        }
        const int index = int(m_data_line.size()) - 1;
        m_data_line.pop_back();
        forgetCreationRecord(LINE, index);
        lastMousePosition_ex = QPoint(0, 0);
        std::get<0>(startMovingObject_) = false;
        startDrawingLines.first = false;
        renderIfLive();
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
    const Canvas::MoveAll step =
        Canvas::correctMoveAll(boxes, ui->drawWidget->size(), lastMousePosition - lastMousePosition_ex);
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
        pushBackStreamToBuffer();
    if (last) {
        m_buttonHeld = false;
        if (m_editorsWaitForRelease) {
            setEditorsEnabled(true);
            returnKeysToEditor();
        }
    }
}
