#include "dialog.h"
#include "programinfo.h"
#include "ui_dialog.h"

Dialog::Dialog(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::Dialog)
{
    ui->setupUi(this);
    setWindowTitle(QStringLiteral("About"));
    const QString homepage = ProgramInfo::homepage().toHtmlEscaped();
    ui->label->setTextFormat(Qt::RichText);
    ui->label->setWordWrap(true);
    ui->label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ui->label->setOpenExternalLinks(true);
    ui->label->setText(QStringLiteral("<p><b>Vandora</b> %1</p><p>%2</p><p>Released under the %3 licence.</p>"
                                      "<p>Source code: <a href=\"%4\">%4</a></p>")
                           .arg(ProgramInfo::version().toHtmlEscaped(), ProgramInfo::summary().toHtmlEscaped(), ProgramInfo::licence(), homepage));
    setWindowFlags(Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
}

Dialog::~Dialog()
{
    delete ui;
}

void Dialog::on_pushButton_clicked()
{
    close();
}
