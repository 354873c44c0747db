// Connectors that follow a dragged box: found when the box is grabbed, laid again at each step.
#include "mainwindow.h"
#include "textobject.h"
#include "ui_mainwindow.h"

#include <QTextEdit>

void MainWindow::holdConnectors(bool alone)
{
    m_holding = Holding();
    const int index = std::get<1>(startMovingObject_);
    if (alone || !std::get<0>(startMovingObject_) || std::get<2>(startMovingObject_) != BOX || index < 0 || index >= m_data->size())
        return;
    const TextObject* box = (*m_data)[index];
    m_holding.box = box;
    m_holding.from = ConnectorAttach::boxOf(box->currentWantedRect.topLeft(), box->x_y_proc_respect_to_zero, box->elem ? box->elem->toPlainText() : QString());
    std::vector<const ConnectorAttach::Fractions*> fractions;
    fractions.reserve(m_data_line.size());
    for (const Line& line : m_data_line)
        fractions.push_back(&line.points_proc_from_window);
    m_holding.ends = ConnectorAttach::attachedEnds(m_holding.from, fractions, ui->drawWidget->size());
    for (ConnectorAttach::Attachment& held : m_holding.ends) {
        const Line& line = m_data_line[held.index];
        held.start = {line.points, line.points_proc_from_window};
        m_holding.laid.push_back(line.points);
    }
}

void MainWindow::followGrabbedBox()
{
    if (m_holding.ends.empty())
        return;
    const int index = std::get<1>(startMovingObject_);
    // A removal or an undo during the drag changed what was held: the box goes on alone.
    bool unchanged = index >= 0 && index < m_data->size() && (*m_data)[index] == m_holding.box;
    for (size_t i = 0; i < m_holding.ends.size() && unchanged; ++i) {
        const size_t line = m_holding.ends[i].index;
        unchanged = line < m_data_line.size() && m_data_line[line].points == m_holding.laid[i];
    }
    if (!unchanged) {
        m_holding = Holding();
        return;
    }
    const TextObject* box = m_holding.box;
    const ConnectorAttach::Box to{box->currentWantedRect.topLeft(), box->x_y_proc_respect_to_zero, m_holding.from.text};
    // Only what changed is repainted: with straight connectors, the runs laid again.
    std::vector<std::vector<QPoint>> changed;
    changed.reserve(2 * m_holding.ends.size());
    for (size_t i = 0; i < m_holding.ends.size(); ++i) {
        ConnectorAttach::Path laid = ConnectorAttach::follow(m_holding.ends[i], m_holding.from, to, ui->drawWidget->size());
        Line& line = m_data_line[m_holding.ends[i].index];
        if (laid.points == line.points)
            continue;
        auto parts = ConnectorAttach::changedParts(line.points, laid.points);
        changed.push_back(std::move(parts.first));
        changed.push_back(std::move(parts.second));
        line.points = std::move(laid.points);
        line.points_proc_from_window = std::move(laid.fractions);
        m_holding.laid[i] = line.points;
    }
    std::vector<const std::vector<QPoint>*> paths;
    paths.reserve(changed.size());
    for (const std::vector<QPoint>& part : changed)
        paths.push_back(&part);
    if (!paths.empty())
        repaintLayerAround(paths);
}
