#include "textobject.h"

#include <QFont>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QWidget>

#include <cmath>
#include <memory>

namespace {

QString borderStyle(int width, const QString& colour)
{
    return QStringLiteral("border:") + QString::number(width)
        + QStringLiteral("px double rgb(0, 0, 0); background-color:white; border-color: ") + colour
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

// Keeps a removed editor until the last mouse button is released: the press made it the receiver
// of that release, which Qt drops when the receiver is gone, so the window would never see it.
class ReleaseWatcher : public QObject
{
public:
    explicit ReleaseWatcher(QTextEdit* editor)
        : QObject(editor)
    {
        editor->installEventFilter(this);
        editor->viewport()->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton)
            static_cast<QTextEdit*>(parent())->deleteLater();
        return false;
    }
};

} // namespace

TextObject::TextObject(QObject* parent, QWidget* w, int whoAmI, QPoint openBoxPoint,
    const std::shared_ptr<QVector<TextObject*>>& /*p*/, QPoint sizeOfInitialTextBox,
    QPoint sizeToExtendBox, int borderSet)
    : QObject(parent)
    , elem(nullptr)
    , openBoxPoint(openBoxPoint)
    , borderSet(borderSet)
    , whoAmI(whoAmI)
    , sizeOfInitialTextBox(sizeOfInitialTextBox)
    , sizeToExtendBox(sizeToExtendBox)
    , ptr_Widget(w)
{
    elem = new QTextEdit(QString(), w);
    elem->setAcceptRichText(false);

    QFont font(QStringLiteral("unexistent"), -1, -1, false);
    font.setStyleHint(QFont::Monospace, QFont::PreferDefault);
    font.setWeight(100);
    elem->setFont(font);

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

QStringList TextObject::getTextForEachLine()
{
    // Compiled once: the renderer asks every box for its lines on every rendering.
    static const QRegularExpression lineBreak(QStringLiteral("[\r\n]"));
    const QString text = elem ? elem->toPlainText() : QString();
    return text.split(lineBreak);
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
        const QSize canvas = ptr_Widget->rect().size();
        QSize wanted = boxSize(measuredSize(document), sizeToExtendBox);
        if (!fitsOn(wanted, canvas)) {
            trimToFit(editor, canvas);
            wanted = boxSize(measuredSize(document), sizeToExtendBox);
        }
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

void TextObject::trimToFit(QTextEdit* editor, const QSize& canvas)
{
    QTextDocument* document = editor->document();
    const std::unique_ptr<QTextDocument> scratch(document->clone());
    const auto fitsAfterRemoving = [&](const QString& text, int cursor, int count) {
        scratch->setPlainText(text.left(cursor - count) + text.mid(cursor));
        return fitsOn(boxSize(layOut(scratch.get()), sizeToExtendBox), canvas);
    };

    m_trimming = true;
    QTextCursor cursor = editor->textCursor();
    if (cursor.hasSelection()) {
        cursor.removeSelectedText();
        editor->setTextCursor(cursor);
    }
    // Each pass removes at least one character, so the loop ends; one pass is the rule.
    while (!fitsOn(boxSize(measuredSize(document), sizeToExtendBox), canvas)) {
        cursor = editor->textCursor();
        const int before = cursor.position();
        if (before <= 0)
            break;
        const QString text = document->toPlainText();
        int low = 1;
        int high = before;
        if (fitsAfterRemoving(text, before, high)) {
            while (low < high) {
                const int middle = low + (high - low) / 2;
                if (fitsAfterRemoving(text, before, middle))
                    high = middle;
                else
                    low = middle + 1;
            }
        }
        cursor.setPosition(before - high);
        cursor.setPosition(before, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        editor->setTextCursor(cursor);
    }
    m_trimming = false;
}

QPair<bool, int> TextObject::isPointOnMe(const QPoint& point, double sizeOffset) const
{
    const QRect canvas = ptr_Widget->rect();
    const int xOffset = static_cast<int>(canvas.width() * sizeOffset);
    const int yOffset = static_cast<int>(canvas.height() * sizeOffset);
    const int cx = centerPointFromInsideCurrentWanted.x();
    const int cy = centerPointFromInsideCurrentWanted.y();
    const int w = currentWantedRect.width();
    const int h = currentWantedRect.height();
    const bool hit = point.x() >= cx - xOffset - w && point.x() <= cx + xOffset + 0.5 * w
        && point.y() >= cy - yOffset - h && point.y() <= cy + yOffset + 0.5 * h;
    return qMakePair(hit, whoAmI);
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

bool TextObject::isValid()
{
    return elem && !elem->toPlainText().isEmpty();
}

void TextObject::updateMovingElementAll(const QPoint& difference)
{
    QRect moved = currentWantedRect;
    moved.setLeft(moved.left() + difference.x());
    moved.setTop(moved.top() + difference.y());
    currentWantedRect = moved;
    recomputeCentre();
    if (moved.left() < 0)
        moved.setLeft(0);
    if (moved.top() < 0)
        moved.setTop(0);
    currentWantedRect = moved;
    recomputeProportion();
    elem->setGeometry(moved);
    elem->show();
    emit elem->document()->contentsChanged();
}

QPair<bool, QPoint> TextObject::isMovingPossible(const QPoint& difference)
{
    const QRect canvas = ptr_Widget->rect();
    const int x = currentWantedRect.x();
    const int y = currentWantedRect.y();
    const int w = currentWantedRect.width();
    const int h = currentWantedRect.height();

    QPoint differenceReturn(-1, -1);
    bool isMovingPossibleX = true;
    bool isMovingPossibleY = true;
    if (x + difference.x() < 0) {
        isMovingPossibleX = false;
        differenceReturn.setX(static_cast<int>(-std::abs(double(x))));
    }
    if (x + difference.x() + w > canvas.width()) {
        differenceReturn.setX(static_cast<int>(std::abs(double(canvas.width() - w)) - std::abs(double(x))));
        isMovingPossibleX = false;
    }
    if (y + difference.y() < 0) {
        differenceReturn.setY(static_cast<int>(-std::abs(double(y))));
        isMovingPossibleY = false;
    }
    if (y + difference.y() + h > canvas.height()) {
        differenceReturn.setY(static_cast<int>(std::abs(double(canvas.height() - h)) - std::abs(double(y))));
        isMovingPossibleY = false;
    }
    return qMakePair(isMovingPossibleX || isMovingPossibleY, differenceReturn);
}

void TextObject::setObjColor(bool check)
{
    // Restyling is costly and the hover asks on every tick, so only a change is applied.
    if (m_highlight == int(check))
        return;
    m_highlight = int(check);
    elem->setStyleSheet(borderStyle(borderSet, check ? QStringLiteral("rgb(65,105,225)") : QStringLiteral("rgb(0, 0, 0)")));
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
    centerPointFromInsideCurrentWanted = QPoint(static_cast<int>(r.width() / 2.0 + r.x()),
        static_cast<int>(r.height() / 2.0 + r.y()));
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
