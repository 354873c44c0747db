// Turning the user's actions on the canvas into chart edits.
#include "mainwindow.h"
#include "textobject.h"
#include "ui_mainwindow.h"

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
        if (ui->radioButton_3->isChecked())
            change_has_happen = true;
    });
    removeWhch.push_back(qMakePair(BOX, index));
    return true;
}
