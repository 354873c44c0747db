#ifndef TEXTOBJECT_H
#define TEXTOBJECT_H

#include "chartstream.h"
#include "drawwidget4points.h"

#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSizeF>
#include <QVector>

#include <functional>
#include <memory>

class QTextDocument;
class QTextEdit;
class QWidget;

// A text box on the canvas: an editor that sizes itself to its text and stays on the canvas.
class TextObject : public QObject, public DrawWidget4Points
{
    Q_OBJECT

public:
    TextObject(QObject* parent, QWidget* w, int whoAmI, QPoint openBoxPoint, const std::shared_ptr<QVector<TextObject*>>& p, QPoint sizeOfInitialTextBox,
        QPoint sizeToExtendBox, int borderSet);
    ~TextObject() override;

    // Runs after every change of the box's text.
    void setCallbackFunction(const std::function<void()>& callback);

    QTextEdit* elem;
    QPoint openBoxPoint;
    int borderSet;
    int whoAmI;
    QPoint centerPointFromInsideCurrentWanted;
    QRect currentWantedRect;
    QPointF x_y_proc_respect_to_zero;

public slots:
    // Puts the top-left corner at newBoxPoint, keeping the size; no bounds check.
    void updateMovingElement(const QPoint& newBoxPoint);
    // Fits the box to its text inside the canvas, trimming text that cannot fit (and saying so in a tool
    // tip); then runs the callback.
    void textAreaChanged();
    // Hides the editor at once and deletes it later, so it is safe inside the editor's own events;
    // the box must not be used afterwards.
    void flush();
    // Moves by difference as part of a whole-chart move, not so near the left or top edge that the border
    // leaves the drawing, then re-measures the text.
    void updateMovingElementAll(const QPoint& difference);
    void setObjColor(bool check);
    bool isHighlighted() const;
    // The box as a stream record.
    ChartStream::BoxRecord serializeData() const;
    // Takes the record's geometry, then its text, which runs the usual sizing and the callback.
    void deserializeData(const ChartStream::BoxRecord& record);

private:
    QSizeF measuredSize(QTextDocument* document);
    void setCurrentWantedRect(const QRect& rect);
    void recomputeCentre();
    void recomputeProportion();
    // Removes the fewest characters before the editor's cursor that let the text fit on the canvas,
    // then, if the text still does not fit, its end; returns how many it removed.
    int trimToFit(QTextEdit* editor, const QSize& canvas);
    // Tells the user, in a tool tip under the box, that typed or pasted characters were dropped.
    static void tellDidNotFit(QTextEdit* editor, int characters);
    // Whether a long text's beginning alone is already too large for the canvas.
    bool beginningOverflows(const QTextDocument* document, const QSize& canvas) const;

    QPoint sizeOfInitialTextBox;
    QPoint sizeToExtendBox;
    const QWidget* ptr_Widget;
    std::function<void()> m_callback;
    bool m_trimming = false;
    // -1 until the first colour is applied, then 0 (normal) or 1 (highlighted).
    int m_highlight = -1;
    const QTextDocument* m_measuredDocument = nullptr;
    int m_measuredRevision = -1;
    QSizeF m_measured;
};

#endif // TEXTOBJECT_H
