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

private:
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
};

#endif // MAINWINDOW_H
