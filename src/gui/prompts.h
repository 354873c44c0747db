#ifndef PROMPTS_H
#define PROMPTS_H

#include <QString>

class QWidget;

// Every file dialog and message box the window shows; tests replace it so nothing blocks.
class Prompts
{
public:
    virtual ~Prompts() = default;

    // The chosen name, or empty when cancelled.
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& folder, const QString& filter);
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& folder, const QString& filter);
    virtual void information(QWidget* parent, const QString& title, const QString& text);
    virtual void warning(QWidget* parent, const QString& title, const QString& text);

    enum class CloseAnswer { Save, Discard, Cancel };
    // Whether to save the changed chart before it is closed or replaced.
    virtual CloseAnswer saveBeforeClosing(QWidget* parent);
    // Whether to bring back the chart left unsaved in the recovery file.
    virtual bool restoreRecovered(QWidget* parent, const QString& fileName);
};

#endif // PROMPTS_H
