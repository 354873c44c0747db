#ifndef BOXEDITOR_H
#define BOXEDITOR_H

#include <QTextEdit>

#include <functional>

class QMimeData;

// The editor of a text box: a paste or drop is cut to the lines the box could ever hold before it goes
// in, so a huge paste is never laid out only to be trimmed away.
class BoxEditor : public QTextEdit
{
    Q_OBJECT

public:
    explicit BoxEditor(QWidget* parent);

    // The most line breaks a pasted text keeps; none is cut while it gives 0 or less.
    void setLineBreakLimit(const std::function<int()>& limit);
    // How many characters the last paste lost to the line limit, once; 0 afterwards.
    int takeCutCharacters();

protected:
    void insertFromMimeData(const QMimeData* source) override;

private:
    std::function<int()> m_lineBreakLimit;
    int m_cut = 0;
};

#endif // BOXEDITOR_H
