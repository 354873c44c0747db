// The character drawing of the chart and the options that govern it.
#include "mainwindow.h"
#include "cellfont.h"
#include "textobject.h"
#include "ui_mainwindow.h"

#include <QTextCursor>
#include <QTextDocument>


QString MainWindow::fixLineIfTabs(const QString& line) const
{
    return CharGrid::expandTabs(line);
}

CharGrid::Input MainWindow::gridInput() const
{
    CharGrid::Input input;
    input.rows = ui->drawWidget->height() / pixel_reduction_to_number.y();
    input.cols = ui->drawWidget->width() / pixel_reduction_to_number.x();
    for (TextObject* box : *m_data) {
        if (box->isValid())
            input.boxes.push_back({box->x_y_proc_respect_to_zero, box->getTextForEachLine()});
    }
    for (const Line& line : m_data_line) {
        if (line.isValid())
            input.connectors.push_back(&line.points_proc_from_window);
    }
    input.drawBorders = ui->radioButton_4->isChecked();
    input.connectorShift = drawOutputWidgetOffsetLines;
    input.startTag = ui->lineEdit->text();
    input.endTag = ui->lineEdit_2->text();
    return input;
}

void MainWindow::drawRightWidget()
{
    printThis = CharGrid::render(gridInput());
    QString text;
    for (size_t i = 0; i < printThis.size(); ++i) {
        if (i > 0)
            text.append(QLatin1Char('\n'));
        text.append(printThis[i]);
    }
    ui->drawOutput->clear();
    // Plain text, so tags that look like markup are shown as typed; every row is laid out once, one cell high.
    QTextDocument* document = ui->drawOutput->document();
    QTextCursor cursor(document);
    cursor.setBlockFormat(CellFont::lineFormat(document, pixel_reduction_to_number.y()));
    cursor.insertText(text);
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
