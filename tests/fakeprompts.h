#ifndef FAKEPROMPTS_H
#define FAKEPROMPTS_H

#include "prompts.h"

#include <QStringList>

// Answers the window's dialogs from a script and records its messages, so no test blocks.
class FakePrompts : public Prompts
{
public:
    struct Log {
        QStringList answers;  // file names handed out, first first; empty means cancelled
        QStringList folders;  // the folder each dialog was opened in
        QStringList messages; // "title|text" of every message box
    };
    explicit FakePrompts(Log* log) : m_log(log) {}

    QString saveFileName(QWidget*, const QString&, const QString& folder, const QString&) override { return next(folder); }
    QString openFileName(QWidget*, const QString&, const QString& folder, const QString&) override { return next(folder); }
    void information(QWidget*, const QString& title, const QString& text) override { m_log->messages << title + QLatin1Char('|') + text; }
    void warning(QWidget*, const QString& title, const QString& text) override { m_log->messages << title + QLatin1Char('|') + text; }

private:
    QString next(const QString& folder)
    {
        m_log->folders << folder;
        return m_log->answers.isEmpty() ? QString() : m_log->answers.takeFirst();
    }

    Log* m_log;
};

#endif // FAKEPROMPTS_H
