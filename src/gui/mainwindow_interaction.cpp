// Turning the user's actions on the canvas into chart edits.
#include "mainwindow.h"
#include "textobject.h"
#include "ui_mainwindow.h"

#include <QMouseEvent>

#include <algorithm>
#include <iterator>
#include <limits>

namespace {

// Truncates toward zero, saturating at the ends of int instead of overflowing.
int truncated(double value)
{
    if (!(value == value))
        return 0;
    if (value >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

// Box and connector tolerances of the five hit-test passes, as fractions of the canvas.
constexpr double boxTolerance[5] = {0.0, 0.001, 0.002, 0.003, 0.004};
constexpr double lineTolerance[5] = {0.0, 0.01, 0.02, 0.03, 0.04};

} // namespace

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
    for (int pass = 0; pass < 5; ++pass) {
        for (int i = 0; i < m_data->size(); ++i) {
            if ((*m_data)[i]->isPointOnMe(point, boxTolerance[pass]).first)
                return std::make_tuple(true, i, BOX);
        }
        for (size_t i = 0; i < m_data_line.size(); ++i) {
            if (m_data_line[i].isPointOnMe(point, lineTolerance[pass]).first)
                return std::make_tuple(true, int(i), LINE);
        }
    }
    return std::make_tuple(false, -1, LINE);
}

bool MainWindow::mouseEventCalc(QMouseEvent* event)
{
    const QPoint g = ui->drawWidget->mapTo(this, QPoint(0, 0));
    const QRect canvas = ui->drawWidget->rect();
    const int W = canvas.width();
    const int H = canvas.height();
    const QPointF p = event->localPos();

    lastGlobalPos = g;
    lastLocalPos = QPoint(truncated(p.x()), truncated(p.y()));
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

    lastMousePosition = QPoint(truncated(p.x() - (0.5 * size.x() + g.x())), truncated(p.y() - (0.5 * size.y() + g.y())));

    if (p.x() < g.x() || p.x() > g.x() + W || p.y() < g.y() || p.y() > g.y() + H)
        return false;

    if (lastMousePosition.x() < 0)
        lastMousePosition.setX(0);
    if (lastMousePosition.y() < 0)
        lastMousePosition.setY(0);
    if (p.x() + 0.5 * size.x() > g.x() + W)
        lastMousePosition.setX(W - size.x());
    if (p.y() + 0.5 * size.y() > g.y() + H)
        lastMousePosition.setY(H - size.y());
    return true;
}

QPoint MainWindow::toConnectorFrame(const QPoint& point) const
{
    return QPoint(truncated(point.x() + 0.5 * fourPoints.topLeft.x() + mouseOffsetDrawLines.x()),
        point.y() + fourPoints.topLeft.y() + mouseOffsetDrawLines.y());
}

void MainWindow::renderIfLive()
{
    if (ui->radioButton_3->isChecked())
        drawRightWidget();
}

void MainWindow::forgetCreationRecord(WHAT kind, int index)
{
    const auto found = std::find(removeWhch.begin(), removeWhch.end(), qMakePair(kind, index));
    if (found == removeWhch.end())
        return;
    // Only records above the removed one shift down, so no record can end up naming a missing element.
    for (auto later = found + 1; later != removeWhch.end(); ++later) {
        if (later->first == kind && later->second > index)
            --later->second;
    }
    removeWhch.erase(found);
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
                    m_data_line.erase(m_data_line.begin() + index);
                    forgetCreationRecord(LINE, index);
                    redrawAllLines();
                }
                renderIfLive();
            }
        }
        if (event->button() == Qt::LeftButton || moveAll) {
            lastMousePosition_ex = QPoint(0, 0);
            startMovingObject_ = findClickedBoth(lastMousePosition);
        }
        return;
    }

    if (connect) {
        if (event->button() != Qt::LeftButton)
            return;
        startDrawingLines.first = true;
        lastMousePosition = toConnectorFrame(lastMousePosition);
        const int index = int(m_data_line.size());
        m_data_line.emplace_back(ui->drawWidget, 4, index, ui->drawStraightLines->isChecked());
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
        for (auto record = removeWhch.rbegin(); record != removeWhch.rend(); ++record) {
            if (record->first == LINE && record->second == index) {
                removeWhch.erase(std::next(record).base());
                break;
            }
        }
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
    QPoint difference = lastMousePosition - lastMousePosition_ex;
    bool canxBetweeked = true;
    bool canyBetweeked = true;
    for (TextObject* box : *m_data) {
        const QPair<bool, QPoint> possible = box->isMovingPossible(difference);
        if (!possible.first)
            return;
        if (possible.second.x() >= 0) {
            difference.setX(possible.second.x());
            canxBetweeked = false;
        }
        if (possible.second.y() >= 0) {
            difference.setY(possible.second.y());
            canyBetweeked = false;
        }
    }
    m_movingAll = true;
    for (TextObject* box : *m_data)
        box->updateMovingElementAll(difference);
    m_movingAll = false;

    const QPoint differenceLines = toConnectorFrame(lastMousePosition) - toConnectorFrame(lastMousePosition_ex);
    for (Line& line : m_data_line)
        line.updateMovingElementAll(differenceLines, canxBetweeked, canyBetweeked);
    shiftLayer(QPoint(canxBetweeked ? differenceLines.x() : 0, canyBetweeked ? differenceLines.y() : 0));

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
