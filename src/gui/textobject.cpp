#include "textobject.h"

#include "boxeditor.h"
#include "canvas.h"
#include "cellfont.h"
#include "cellhighlighter.h"
#include "chartrender.h"
#include "highlight.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolTip>
#include <QWidget>

#include <cmath>
#include <memory>

namespace {

QString borderStyle(int width, const QString& colour)
{
    return QStringLiteral("border:") + QString::number(width) + QStringLiteral("px double rgb(0, 0, 0); background-color:white; border-color: ") + colour
        + QStringLiteral(";");
}

// Laid-out size of a document, as the box measures it.
QSizeF layOut(QTextDocument* document)
{
    document->adjustSize();
    return document->size();
}

// Box size for a laid-out text size: the extension is added and the sum truncated.
QSize boxSize(const QSizeF& text, const QPoint& extend)
{
    return QSize(static_cast<int>(extend.x() + text.width()), static_cast<int>(extend.y() + text.height()));
}

bool fitsOn(const QSize& box, const QSize& canvas)
{
    return box.width() <= canvas.width() && box.height() <= canvas.height();
}

// Keeps a removed editor until the last mouse button is released: a press on it made it the receiver
// of that release, which Qt drops when the receiver is gone, so the window would never see it.
class ReleaseWatcher : public QObject
{
public:
    explicit ReleaseWatcher(QTextEdit* editor)
        : QObject(editor)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton)
            static_cast<QTextEdit*>(parent())->deleteLater();
        return false;
    }
};

} // namespace

TextObject::TextObject(QObject* parent, QWidget* w, int whoAmI, QPoint openBoxPoint, const std::shared_ptr<QVector<TextObject*>>& /*p*/,
    QPoint sizeOfInitialTextBox, QPoint sizeToExtendBox, int borderSet)
    : QObject(parent)
    , elem(nullptr)
    , openBoxPoint(openBoxPoint)
    , borderSet(borderSet)
    , whoAmI(whoAmI)
    , sizeOfInitialTextBox(sizeOfInitialTextBox)
    , sizeToExtendBox(sizeToExtendBox)
    , ptr_Widget(w)
{
    auto* editor = new BoxEditor(w);
    // A box is never taller than the canvas, and every line is one cell high.
    editor->setLineBreakLimit([w] { return w->height() / ChartRender::cellHeight + 1; });
    elem = editor;
    elem->setAcceptRichText(false);

    QFont font(QStringLiteral("unexistent"), -1, -1, false);
    font.setStyleHint(QFont::Monospace, QFont::PreferDefault);
    font.setWeight(100);
    // One character is one grid cell wide and each line one cell high, as in the drawing.
    elem->setFont(CellFont::fitted(font, ChartRender::cellWidth));
    new CellHighlighter(elem->document(), ChartRender::cellWidth);
    elem->document()->setDocumentMargin(ChartRender::textInset);
    CellFont::fixLineHeight(elem->document(), ChartRender::cellHeight);
    // A tab ends on the canvas where it ends in the drawing.
    elem->setTabStopDistance(CellFont::tabStopDistance(elem->document(), CharGrid::tabStop * ChartRender::cellWidth));
    // Undo and Redo are the window's history alone: an undo of the editor's own would bring back text
    // that was trimmed to fit, past the canvas, whenever Ctrl+Z or the box's menu reached it.
    elem->setUndoRedoEnabled(false);

    setObjColor(false);

    const QRect start(openBoxPoint, QSize(sizeOfInitialTextBox.x(), sizeOfInitialTextBox.y()));
    elem->setGeometry(start);
    elem->show();
    setCurrentWantedRect(start);

    connect(elem->document(), &QTextDocument::contentsChanged, this, &TextObject::textAreaChanged);

    elem->setLineWrapMode(QTextEdit::NoWrap);
    elem->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    elem->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

TextObject::~TextObject() = default;

void TextObject::setCallbackFunction(const std::function<void()>& callback)
{
    m_callback = callback;
}

void TextObject::updateMovingElement(const QPoint& newBoxPoint)
{
    const QRect moved(newBoxPoint, currentWantedRect.size());
    setCurrentWantedRect(moved);
    elem->setGeometry(moved);
    elem->show();
}

void TextObject::textAreaChanged()
{
    // A trimming edit of our own: the run that made it finishes the sizing.
    if (m_trimming)
        return;

    auto* document = qobject_cast<QTextDocument*>(sender());
    QTextEdit* editor = nullptr;
    if (document && document->parent())
        editor = qobject_cast<QTextEdit*>(document->parent()->parent());

    if (editor) {
        // Blocks that typing, pasting or loading made take the cell's line height before measuring.
        m_trimming = true;
        CellFont::fixLineHeight(document, ChartRender::cellHeight);
        m_trimming = false;
        const QSize canvas = ptr_Widget->rect().size();
        // A long paste is judged by its beginning before the whole of it is laid out.
        int dropped = 0;
        if (auto* boxEditor = qobject_cast<BoxEditor*>(editor))
            dropped += boxEditor->takeCutCharacters();
        if (beginningOverflows(document, canvas) || !fitsOn(boxSize(measuredSize(document), sizeToExtendBox), canvas))
            dropped += trimToFit(editor, canvas);
        if (dropped > 0)
            tellDidNotFit(editor, dropped);
        const QSize wanted = boxSize(measuredSize(document), sizeToExtendBox);
        const int newwidth = wanted.width();
        const int newheight = wanted.height();

        bool toBig = false;
        int editetX = editor->x();
        if (editetX + newwidth > canvas.width()) {
            toBig = true;
            editetX = canvas.width() - newwidth;
        }
        if (editetX < 0) {
            toBig = true;
            editetX = 0;
        }
        int editetY = editor->y();
        if (editetY + newheight > canvas.height()) {
            toBig = true;
            editetY = canvas.height() - newheight;
        }
        if (editetY < 0) {
            toBig = true;
            editetY = 0;
        }

        setCurrentWantedRect(QRect(editetX, editetY, newwidth, newheight));
        if (newwidth != editor->width())
            editor->setFixedWidth(newwidth);
        if (newheight != editor->height())
            editor->setFixedHeight(newheight);
        if (toBig) {
            editor->setGeometry(editetX, editetY, newwidth, newheight);
            editor->show();
        }
    }

    if (m_callback)
        m_callback();
}

namespace {

// Texts this long are first tried by their beginnings, which cost less to lay out.
constexpr int longText = 2048;

// An empty document that lays out plain text as the given one does.
std::unique_ptr<QTextDocument> measuringCopy(const QTextDocument* document)
{
    auto copy = std::make_unique<QTextDocument>();
    copy->documentLayout()->setPaintDevice(document->documentLayout()->paintDevice());
    copy->setDefaultFont(document->defaultFont());
    copy->setDefaultTextOption(document->defaultTextOption());
    copy->setDocumentMargin(document->documentMargin());
    copy->setUseDesignMetrics(document->useDesignMetrics());
    copy->setIndentWidth(document->indentWidth());
    copy->setPageSize(document->pageSize());
    new CellHighlighter(copy.get(), ChartRender::cellWidth);
    return copy;
}

// Puts text into a measuring copy with the lines one cell high, as the box's editor lays them out.
void setMeasuredText(QTextDocument* scratch, const QString& text)
{
    scratch->setPlainText(text);
    CellFont::fixLineHeight(scratch, ChartRender::cellHeight);
}

} // namespace

bool TextObject::beginningOverflows(const QTextDocument* document, const QSize& canvas) const
{
    if (document->characterCount() <= 2 * longText)
        return false;
    const QString text = document->toPlainText();
    const std::unique_ptr<QTextDocument> scratch = measuringCopy(document);
    // A text's box is never smaller than the box of its beginning.
    for (int length = longText; length < text.size(); length *= 2) {
        setMeasuredText(scratch.get(), text.left(length));
        if (!fitsOn(boxSize(layOut(scratch.get()), sizeToExtendBox), canvas))
            return true;
    }
    return false;
}

void TextObject::tellDidNotFit(QTextEdit* editor, int characters)
{
    const QString text =
        characters == 1 ? QStringLiteral("1 character did not fit on the canvas") : QStringLiteral("%1 characters did not fit on the canvas").arg(characters);
    QToolTip::showText(editor->mapToGlobal(QPoint(0, editor->height())), text, editor);
}

int TextObject::trimToFit(QTextEdit* editor, const QSize& canvas)
{
    QTextDocument* document = editor->document();
    const std::unique_ptr<QTextDocument> scratch = measuringCopy(document);
    const auto fits = [&](const QString& text) {
        setMeasuredText(scratch.get(), text);
        return fitsOn(boxSize(layOut(scratch.get()), sizeToExtendBox), canvas);
    };
    // A text's box is never smaller than the box of its beginning, so a long text that cannot fit
    // is told by a beginning of it, laid out for less.
    const auto fitsByBeginnings = [&](const QString& text) {
        for (int length = longText; length < text.size(); length *= 2)
            if (!fits(text.left(length)))
                return false;
        return fits(text);
    };

    m_trimming = true;
    const int length = document->characterCount();
    QTextCursor cursor = editor->textCursor();
    if (cursor.hasSelection()) {
        cursor.removeSelectedText();
        editor->setTextCursor(cursor);
    }
    // The longest beginning of `text` shorter than `limit` that fits, found by doubling then halving.
    const auto longestFitting = [&](const QString& text, int limit) {
        int kept = 0;
        int over = 1;
        while (over < limit && fits(text.left(over))) {
            kept = over;
            over *= 2;
        }
        int high = std::min(over, limit) - 1;
        while (kept < high) {
            const int middle = kept + (high - kept + 1) / 2;
            if (fits(text.left(middle)))
                kept = middle;
            else
                high = middle - 1;
        }
        return kept;
    };
    // The first pass runs on the caller's verdict; later ones only while the editor's own layout
    // still finds the text too large.
    for (bool first = true; first || !fitsOn(boxSize(measuredSize(document), sizeToExtendBox), canvas); first = false) {
        const QString text = document->toPlainText();
        int from = editor->textCursor().position();
        int to = from;
        if (from > 0) {
            // The fewest characters before the cursor whose removal lets the text fit.
            const QString after = text.mid(to);
            from = longestFitting(text, to);
            while (from > 0 && !fitsByBeginnings(text.left(from) + after))
                --from;
        } else {
            // Nothing before the cursor to take, as in a text set whole: its end goes instead.
            from = longestFitting(text, int(text.size()));
            to = int(text.size());
        }
        if (from == to)
            break;
        // On the document itself: while a text is being set whole, the editor's cursor is not yet valid.
        QTextCursor cut(document);
        cut.setPosition(from);
        cut.setPosition(to, QTextCursor::KeepAnchor);
        cut.removeSelectedText();
        editor->setTextCursor(cut);
    }
    m_trimming = false;
    return length - document->characterCount();
}

void TextObject::flush()
{
    if (!elem)
        return;
    // Qt may still be delivering the event that removes the box to its editor: the editor vanishes
    // now and is deleted once control is back in the event loop.
    disconnect(elem->document(), nullptr, this, nullptr);
    elem->hide();
    if (QGuiApplication::mouseButtons() == Qt::NoButton)
        elem->deleteLater();
    else
        new ReleaseWatcher(elem);
    elem = nullptr;
}

void TextObject::updateMovingElementAll(const QPoint& difference)
{
    QRect moved = currentWantedRect;
    moved.setLeft(moved.left() + difference.x());
    moved.setTop(moved.top() + difference.y());
    currentWantedRect = moved;
    recomputeCentre();
    // Far enough from the left and top edges that the box's border stays in the drawing.
    const QPoint inset = Canvas::borderInset(ptr_Widget->size(), QSize(ChartRender::cellWidth, ChartRender::cellHeight));
    if (moved.left() < inset.x())
        moved.setLeft(inset.x());
    if (moved.top() < inset.y())
        moved.setTop(inset.y());
    currentWantedRect = moved;
    recomputeProportion();
    elem->setGeometry(moved);
    elem->show();
    emit elem->document()->contentsChanged();
}

void TextObject::setObjColor(bool check)
{
    // Restyling is costly and the hover asks on every tick, so only a change is applied.
    if (m_highlight == int(check))
        return;
    m_highlight = int(check);
    elem->setStyleSheet(borderStyle(borderSet,
        check ? QStringLiteral("rgb(%1,%2,%3)").arg(qRed(highlightColour)).arg(qGreen(highlightColour)).arg(qBlue(highlightColour))
              : QStringLiteral("rgb(0, 0, 0)")));
}

bool TextObject::isHighlighted() const
{
    return m_highlight == 1;
}

QSizeF TextObject::measuredSize(QTextDocument* document)
{
    // Layout is the costly part of sizing; a document whose content is unchanged keeps its size.
    if (document != m_measuredDocument || document->revision() != m_measuredRevision) {
        m_measured = layOut(document);
        m_measuredDocument = document;
        m_measuredRevision = document->revision();
    }
    return m_measured;
}

void TextObject::setCurrentWantedRect(const QRect& rect)
{
    currentWantedRect = rect;
    recomputeCentre();
    recomputeProportion();
}

void TextObject::recomputeCentre()
{
    const QRect& r = currentWantedRect;
    centerPointFromInsideCurrentWanted = QPoint(static_cast<int>(r.width() / 2.0 + r.x()), static_cast<int>(r.height() / 2.0 + r.y()));
}

void TextObject::recomputeProportion()
{
    const QRect canvas = ptr_Widget->rect();
    const double x = canvas.width() > 0 ? currentWantedRect.x() / double(canvas.width()) : 0.0;
    const double y = canvas.height() > 0 ? currentWantedRect.y() / double(canvas.height()) : 0.0;
    x_y_proc_respect_to_zero = QPointF(x, y);
}

ChartStream::BoxRecord TextObject::serializeData() const
{
    ChartStream::BoxRecord record;
    record.openBoxPoint = openBoxPoint;
    record.whoAmI = whoAmI;
    record.borderSet = borderSet;
    record.centre = centerPointFromInsideCurrentWanted;
    record.currentWantedRect = currentWantedRect;
    record.proportion = x_y_proc_respect_to_zero;
    record.sizeOfInitialTextBox = sizeOfInitialTextBox;
    record.sizeToExtendBox = sizeToExtendBox;
    record.text = elem ? elem->toPlainText() : QString();
    return record;
}

void TextObject::deserializeData(const ChartStream::BoxRecord& record)
{
    openBoxPoint = record.openBoxPoint;
    whoAmI = record.whoAmI;
    borderSet = record.borderSet;
    centerPointFromInsideCurrentWanted = record.centre;
    currentWantedRect = record.currentWantedRect;
    x_y_proc_respect_to_zero = record.proportion;
    sizeOfInitialTextBox = record.sizeOfInitialTextBox;
    sizeToExtendBox = record.sizeToExtendBox;
    if (!elem)
        return;
    elem->setPlainText(record.text);
    // Setting the text sizes the box anew (an empty one too); the stored geometry is what it was.
    centerPointFromInsideCurrentWanted = record.centre;
    currentWantedRect = record.currentWantedRect;
    x_y_proc_respect_to_zero = record.proportion;
    elem->setFixedSize(currentWantedRect.size());
    elem->setGeometry(currentWantedRect);
    elem->show();
}
