#ifndef DIALOG_H
#define DIALOG_H

#include <QDialog>

namespace Ui {
class Dialog;
}

// The About box: the program's name, version, purpose, licence and source, and an "OK" button that closes it.
class Dialog : public QDialog
{
    Q_OBJECT

public:
    explicit Dialog(QWidget* parent = nullptr);
    ~Dialog() override;

private slots:
    void on_pushButton_clicked();

private:
    Ui::Dialog* ui;
};

#endif // DIALOG_H
