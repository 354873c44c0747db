#include "prompts.h"

#include <QFileDialog>
#include <QMessageBox>

QString Prompts::saveFileName(QWidget* parent, const QString& caption, const QString& folder, const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, caption, folder, filter);
}

QString Prompts::openFileName(QWidget* parent, const QString& caption, const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

void Prompts::information(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox::information(parent, title, text, QMessageBox::Ok);
}

void Prompts::warning(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox::warning(parent, title, text, QMessageBox::Ok);
}

Prompts::CloseAnswer Prompts::saveBeforeClosing(QWidget* parent)
{
    const QMessageBox::StandardButton answer =
        QMessageBox::question(parent, QStringLiteral("Vandora"), QStringLiteral("The chart has changes that are not saved. Save them first?"),
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    return answer == QMessageBox::Save ? CloseAnswer::Save : answer == QMessageBox::Discard ? CloseAnswer::Discard : CloseAnswer::Cancel;
}

bool Prompts::restoreRecovered(QWidget* parent, const QString& fileName)
{
    return QMessageBox::question(parent, QStringLiteral("Restore chart"),
               QStringLiteral("Vandora ended without saving a chart. Restore it from %1?").arg(fileName), QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
        == QMessageBox::Yes;
}
