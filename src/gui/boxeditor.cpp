#include "boxeditor.h"

#include "canvas.h"

#include <QMimeData>

#include <utility>

BoxEditor::BoxEditor(QWidget* parent)
    : QTextEdit(QString(), parent)
{ }

void BoxEditor::setLineBreakLimit(const std::function<int()>& limit)
{
    m_lineBreakLimit = limit;
}

void BoxEditor::insertFromMimeData(const QMimeData* source)
{
    const int limit = m_lineBreakLimit ? m_lineBreakLimit() : 0;
    if (limit <= 0 || acceptRichText() || !source->hasText()) {
        QTextEdit::insertFromMimeData(source);
        return;
    }
    const QString text = source->text();
    const int length = Canvas::lengthWithLineBreaks(text, limit);
    if (length == text.size()) {
        QTextEdit::insertFromMimeData(source);
        return;
    }
    QMimeData beginning;
    beginning.setText(text.left(length));
    // Told by the box when the insertion changes its text, where a CR LF pair is one character.
    const auto inBox = [](QString part) { return part.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).size(); };
    m_cut = inBox(text) - inBox(text.left(length));
    QTextEdit::insertFromMimeData(&beginning);
    m_cut = 0;
}

int BoxEditor::takeCutCharacters()
{
    return std::exchange(m_cut, 0);
}
