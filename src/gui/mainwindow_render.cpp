// The character drawing of the chart and the options that govern it.
#include "chartrender.h"
#include "mainwindow.h"
#include "textobject.h"
#include "ui_mainwindow.h"


QString MainWindow::fixLineIfTabs(const QString& line) const
{
    return CharGrid::expandTabs(line);
}

CharGrid::Input MainWindow::gridInput() const
{
    CharGrid::Input input = ChartRender::emptyInput(
        ui->drawWidget->size(), ui->radioButton_4->isChecked(), ui->lineEdit->text(), ui->lineEdit_2->text());
    for (TextObject* box : *m_data)
        ChartRender::addBox(input, box->x_y_proc_respect_to_zero, box->elem ? box->elem->toPlainText() : QString());
    for (const Line& line : m_data_line)
        ChartRender::addConnector(input, line.points.size(), line.points_proc_from_window);
    return input;
}

void MainWindow::drawRightWidget()
{
    printThis = CharGrid::render(gridInput());
    ui->drawOutput->clear();
    // Plain text, so tags that look like markup are shown as typed.
    ui->drawOutput->setPlainText(ChartRender::joinRows(printThis));
}

void MainWindow::on_radioButton_3_clicked(bool checked)
{
    if (checked && ui->radioButton_3->isChecked())
        drawRightWidget();
}

void MainWindow::on_radioButton_4_clicked()
{
    if (ui->radioButton_3->isChecked())
        drawRightWidget();
}

void MainWindow::on_lineEdit_editingFinished()
{
    tagEditingFinished(ui->lineEdit);
}

void MainWindow::on_lineEdit_2_editingFinished()
{
    tagEditingFinished(ui->lineEdit_2);
}

void MainWindow::tagEditingFinished(QLineEdit* field)
{
    if (field->isActiveWindow())
        field->clearFocus();
    if (ui->radioButton_3->isChecked())
        drawRightWidget();
}
