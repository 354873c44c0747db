#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "chargrid.h"
#include "dialog.h"
#include "drawwidget4points.h"
#include "line.h"

#include <QByteArray>
#include <QMainWindow>
#include <QPair>
#include <QPixmap>
#include <QPoint>
#include <QString>
#include <QVector>

#include <memory>
#include <tuple>
#include <vector>

class QAction;
class QLineEdit;
class QMouseEvent;
class QTimer;
class TextObject;

namespace Ui {
class MainWindow;
}

// The one window of the program: it owns the chart, the form and the tick.
class MainWindow : public QMainWindow, public DrawWidget4Points
{
    Q_OBJECT

public:
    enum WHAT : unsigned int { BOX = 0, LINE = 1 };
    using POSITION = CharGrid::POSITION;

    MainWindow(QWidget* parent, QString filePath);
    ~MainWindow() override;

    // Creates a box at lastMousePosition; false when a box was already created at that very point.
    bool addNewText();
    // The line with each tab widened to the next stop of 11 characters.
    QString fixLineIfTabs(const QString& line) const;
    // Maps the event onto the canvas (lastMousePosition and friends); false when off the canvas.
    bool mouseEventCalc(QMouseEvent* event);
    // Empties the chart: output view, connectors and their layer, boxes, creation records.
    void clearMainData();

    std::shared_ptr<QVector<TextObject*>> m_data;
    std::vector<Line> m_data_line;

public slots:
    // Renders the whole chart into printThis and the output view.
    void drawRightWidget();
    void checkMouseMove();

private slots:
    // Lays a fresh, empty connector layer over the canvas.
    void initLableForDrawing();
    // Repaints the connector layer from m_data_line.
    void redrawAllLines();
    void on_radioButton_3_clicked(bool checked);
    void on_radioButton_4_clicked();
    void on_lineEdit_editingFinished();
    void on_lineEdit_2_editingFinished();
    void on_actionAbout_triggered();
    void on_radioButton_clicked(bool checked);
    // Removes the newest element still recorded in removeWhch.
    void on_pushButton_clicked();
    void on_radioButton_2_clicked(bool checked);
    void on_pushButton_4_clicked();
    void on_radioBMoveAll_clicked(bool checked);
    // Highlights what lies under lastMousePosition in the current mode, and un-highlights the rest.
    void setColorOfObjectsOnHoover();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    // The element under point: five passes of growing tolerance, boxes before connectors in each.
    std::tuple<bool, int, WHAT> findClickedBoth(QPoint& point);
    // Drops the creation record of (kind, index) and renumbers the later ones of that kind.
    void forgetCreationRecord(WHAT kind, int index);
    // Shifts every box and connector with the pointer, keeping boxes on the canvas.
    void moveAllStep();
    // Converts a canvas point into the frame connector points are stored in.
    QPoint toConnectorFrame(const QPoint& point) const;
    void renderIfLive();
    // Enables or disables every box editor; a non-null tip replaces each editor's tool tip first.
    void setEditorsEnabled(bool enabled, const QString* toolTip = nullptr);
    // Paints the segments of line from point index `from` on, over the current layer.
    void paintNewSegments(const Line& line, size_t from);
    // Moves the painted connectors by offset; repaints them all when a shift would not be exact.
    void shiftLayer(const QPoint& offset);
    // Hands the focus back and re-renders when live, once a tag field is edited.
    void tagEditingFinished(QLineEdit* field);
    // The chart as plain data for the character grid.
    CharGrid::Input gridInput() const;

    std::vector<QByteArray*> byteArrayOfPastStuf;
    int lastByteArrayCount = -1;
    QTimer* timer = nullptr;
    const QPoint mouseOffsetDrawLines{10, 7};
    const QPoint drawOutputWidgetOffsetLines{-1, -1};
    const QPoint pixel_reduction_to_number{7, 13};
    int borderOfWIdgetsAndDrawings = 2;
    Ui::MainWindow* ui;
    DrawWidget4Points fourPoints;
    QPoint lastMousePosition;
    QPoint lastMousePosition_ex;
    QPoint sizeToExtendBox;
    QPoint sizeOfInitialTextBox;
    std::tuple<bool, int, WHAT> startMovingObject_{false, 0, BOX};
    QPair<bool, int> startDrawingLines{false, -1};
    QPoint lastGlobalPos;
    QPoint lastLocalPos;
    QPoint dragPosition;
    std::vector<QPair<WHAT, int>> removeWhch;
    QPixmap m_draw_lines;
    std::vector<QString> printThis;
    bool altPressd = false;
    bool ctrlPressd = false;
    Dialog w;
    bool change_has_happen = false;
    int change_has_happen_timer_counter = 0;
    QString m_filePath;
    QAction* actionAbout;

    friend class TestMainWindow;
    friend class TestTextObject;
    friend class TestConnectorLayer;
    friend class TestRenderer;
    friend class TestInteraction;
};

#endif // MAINWINDOW_H
