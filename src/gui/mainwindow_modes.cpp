// The tool modes: the three mode buttons, the box editors they switch off, and the highlight they show.
#include "mainwindow.h"
#include "textobject.h"
#include "ui_mainwindow.h"

#include <QTextEdit>

MainWindow::Mode MainWindow::mode() const
{
    // The mouse handlers take "Move all" before "Move / Remove" before "Connect".
    if (ui->radioBMoveAll->isChecked())
        return Mode::MoveAll;
    if (ui->radioButton->isChecked())
        return Mode::MoveRemove;
    return ui->radioButton_2->isChecked() ? Mode::Connect : Mode::None;
}

void MainWindow::setMode(Mode mode, EditorTip tip)
{
    ui->radioButton->setChecked(mode == Mode::MoveRemove);
    ui->radioButton_2->setChecked(mode == Mode::Connect);
    ui->radioBMoveAll->setChecked(mode == Mode::MoveAll);
    setEditorsEnabled(mode == Mode::None, tip);
}

void MainWindow::setEditorsEnabled(bool enabled, EditorTip tip)
{
    const QString modeTip = QStringLiteral("*Move element -> left mouse button click\n*Remove element -> right mouse button click");
    // An editor enabled under a held button would take the release from the window, leaving the drag open.
    m_editorsWaitForRelease = enabled && m_buttonHeld;
    enabled = enabled && !m_buttonHeld;
    for (TextObject* box : *m_data) {
        if (!box->elem)
            continue;
        if (tip != EditorTip::Keep)
            box->elem->setToolTip(tip == EditorTip::Mode ? modeTip : QString());
        box->elem->setEnabled(enabled);
    }
}

// Each mode button leaves the highlight as the modes now on show it, so nothing stays lit once a mode is off.
void MainWindow::on_radioButton_clicked(bool checked)
{
    setMode(checked ? Mode::MoveRemove : Mode::None, checked ? EditorTip::Mode : EditorTip::Clear);
    setColorOfObjectsOnHoover();
}

void MainWindow::on_radioButton_2_clicked(bool checked)
{
    setMode(checked ? Mode::Connect : Mode::None, checked ? EditorTip::Mode : EditorTip::Clear);
    setColorOfObjectsOnHoover();
}

// "Move all" leaves the box tool tips as they are.
void MainWindow::on_radioBMoveAll_clicked(bool checked)
{
    setMode(checked ? Mode::MoveAll : Mode::None);
    setColorOfObjectsOnHoover();
}

void MainWindow::setColorOfObjectsOnHoover()
{
    const bool moveAll = mode() == Mode::MoveAll;
    const bool moveRemove = mode() == Mode::MoveRemove;
    std::tuple<bool, int, WHAT> hit(false, -1, LINE);
    if (moveRemove)
        hit = findClickedBoth(lastMousePosition);
    const bool found = std::get<0>(hit);
    const int index = std::get<1>(hit);

    // Which element should be highlighted: every one (a Move all drag anywhere moves them all), the one
    // found, or none.
    const auto boxLit = [&](int i) { return moveAll || (moveRemove && found && std::get<2>(hit) == BOX && i == index); };
    const auto lineLit = [&](size_t i) { return moveAll || (moveRemove && found && std::get<2>(hit) == LINE && int(i) == index); };
    for (int i = 0; i < m_data->size(); ++i)
        (*m_data)[i]->setObjColor(boxLit(i));
    // Only where a connector's colour actually changes is the layer repainted.
    std::vector<const std::vector<QPoint>*> changed;
    for (size_t i = 0; i < m_data_line.size(); ++i) {
        const bool lit = lineLit(i);
        if (m_data_line[i].isChecked != lit)
            changed.push_back(&m_data_line[i].points);
        m_data_line[i].setObjColor(lit);
    }
    if (!changed.empty())
        repaintLayerAround(changed);
}
