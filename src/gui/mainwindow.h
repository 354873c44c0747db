#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "chargrid.h"
#include "chartrender.h"
#include "connectorattach.h"
#include "dialog.h"
#include "drawwidget4points.h"
#include "layersheet.h"
#include "line.h"
#include "prompts.h"
#include "snapshotstore.h"
#include "toolmode.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QMargins>
#include <QPair>
#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QVector>

#include <memory>
#include <optional>
#include <tuple>
#include <vector>

class QAction;
class QCloseEvent;
class QDragEnterEvent;
class QDropEvent;
class QMoveEvent;
class QKeyEvent;
class QLineEdit;
class QTextEdit;
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
    using Mode = ToolMode::Mode;

    MainWindow(QWidget* parent, QString filePath);
    ~MainWindow() override;

    // Creates a box at lastMousePosition; false when a box was already created at that very point.
    bool addNewText();
    // Maps the event onto the canvas (lastMousePosition and friends); false when off the canvas.
    bool mouseEventCalc(QMouseEvent* event);
    // Empties the chart: output view, connectors and their layer, boxes, creation records.
    void clearMainData();
    // recordEdit's recording half, which records whether or not the chart changed; the benchmarks take it
    // as the baseline of recordEdit.
    void pushBackStreamToBuffer();
    // The one way an edit becomes a step: records the chart only when its content differs from the
    // snapshot under the cursor.
    void recordEdit();
    // Rebuilds the chart from snapshot stream_count; nothing happens for an index out of range.
    void deserialzeDataStream(int stream_count);
    // Enables Undo and Redo by where the cursor stands in the history, and updates the title.
    void showHistoryPosition();
    // When the window does not fit the screen's available area with the given frame, it takes the
    // largest size that fits and its content scrolls; else it stays whole.
    void fitToScreen(const QRect& available, const QMargins& frame);
    // Warns, titled with the file, that `what` failed and why.
    void warnFileFailed(const QString& fileName, const QString& what, const QString& reason);
    // Replaces the dialogs and message boxes, so tests never block on one.
    void setPrompts(std::unique_ptr<Prompts> prompts);

    // The oldest snapshots are dropped once together they hold more than this.
    static constexpr qint64 historyBudgetBytes = 256LL * 1024 * 1024;
    void setHistoryBudget(qint64 bytes) { m_historyBudget = bytes; }
    // Bytes really held by the undo snapshots together.
    qint64 historyBytes() const;

    // Whether the chart differs from the one last saved or opened, or from the empty start.
    bool hasUnsavedChanges() const;
    // With unsaved changes, asks Save / Discard / Cancel; true when the caller may drop the chart (saved,
    // discarded, or nothing to lose).
    bool confirmDiscardChanges();
    // Where the latest snapshot of an unsaved chart is kept, for a start after a crash.
    static QString recoveryFilePath();
    // The settings file: beside the program in its build folder, else in the user's configuration folder.
    static QString settingsFilePath();
    // The recovery file is written at most this often, and never while a mouse button is held.
    static constexpr int recoveryIntervalMs = 2000;

    std::shared_ptr<QVector<TextObject*>> m_data;
    std::vector<Line> m_data_line;

    // Renders the whole chart into printThis and the output view.
    void drawRightWidget();

public slots:
    void checkMouseMove();

private slots:
    // Lays a fresh, empty connector layer over the canvas.
    void initLableForDrawing();
    void openStartingChart();
    // Opens the backup dropped last, after the unsaved-changes question.
    void openDroppedChart();
    // Repaints the connector layer from m_data_line.
    void redrawAllLines();
    void on_radioButton_3_clicked(bool checked);
    void on_radioButton_4_clicked();
    void on_lineEdit_editingFinished();
    void on_lineEdit_2_editingFinished();
    void on_actionAbout_triggered();
    // Save: writes the drawing to a text file and the chart to a backup beside it.
    void on_pushButton_2_clicked();
    // Open: replaces the chart and its history with a backup file.
    void on_open_clicked();
    void on_goBack_clicked();
    void on_goForward_clicked();
    void on_radioButton_clicked(bool checked);
    // Removes the newest element still recorded in removeWhch.
    void on_pushButton_clicked();
    void on_radioButton_2_clicked(bool checked);
    void on_pushButton_4_clicked();
    void on_radioBMoveAll_clicked(bool checked);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Asks before closing a chart with unsaved changes; a clean close removes the recovery file.
    void closeEvent(QCloseEvent* event) override;
    // A dropped backup is opened as Open opens it, after the same question.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // Once the window manager has framed the window, a window fitted to the screen is fitted again.
    void moveEvent(QMoveEvent* event) override;

private:
    // The element under point: five passes of growing tolerance, boxes before connectors in each.
    std::tuple<bool, int, WHAT> findClickedBoth(QPoint& point);
    // Shifts every box and connector with the pointer, keeping boxes on the canvas.
    void moveAllStep();
    // Finds the connector ends the grabbed box holds, which then follow it; none when `alone`.
    void holdConnectors(bool alone);
    // Lays the held connectors to where the grabbed box now stands and repaints what they left and reach.
    void followGrabbedBox();
    // Converts a canvas point into the frame connector points are stored in.
    QPoint toConnectorFrame(const QPoint& point) const;
    // Whether "Draw " renders the drawing live.
    bool rendersLive() const;
    void renderIfLive();
    // The tool mode, as the three mode buttons show it.
    Mode mode() const;
    // What switching the mode does to the box editors' tool tips.
    enum class EditorTip { Keep, Clear, Mode };
    // Checks the button of `mode` alone; the box editors take input exactly when no mode is on.
    void setMode(Mode mode, EditorTip tip = EditorTip::Keep);
    void setEditorsEnabled(bool enabled, EditorTip tip = EditorTip::Keep);
    // Applies a key going down or up to the mode and the held modifiers.
    void applyKey(ToolMode::Key key, bool pressed);
    // Highlights what lies under lastMousePosition in the current mode, and un-highlights the rest.
    void setColorOfObjectsOnHoover();
    // Takes the box at index out of the chart and deletes it; its editor vanishes at once and is deleted
    // once it is no longer handling an event.
    void deleteBox(int index);
    // Removes the box or connector at index, repainting what a connector covered; creation records stay.
    void removeElement(WHAT kind, int index);
    // A rebuilt box at index, its change callback installed; it takes its place and text from a record.
    TextObject* newBox(int index);
    // The whole chart with the window's state, as stream records.
    ChartStream::Chart chartSnapshot() const;
    ChartStream::WindowState windowSnapshot() const;
    void deserializeDataInMainWindow(const ChartStream::WindowState& state);
    // Makes the chart on screen the only snapshot, the start that Undo goes back to.
    void startHistory();
    // Puts a snapshot after the cursor, dropping the redo tail, and moves the cursor onto it.
    void appendSnapshot(const QByteArray& snapshot, ChartStream::Chart chart);
    // Whether the chart on screen holds exactly the records of `content` (pointer fields reset), compared
    // in place, without writing the chart out.
    bool showsContent(const ChartStream::Chart& content) const;
    // Undo (by -1) or Redo (by 1); the box that had the keys keeps them when it still exists.
    void stepHistory(int by);
    // Every box's change callback: asks for a render and records the edit unless one is under way.
    void boxTextChanged();
    // Reads the held modifiers back from the keyboard and releases the modes of those no longer held.
    void syncModifiers();
    // Empties the chart and rebuilds it from records, then repaints the layer and renders if live.
    void loadChart(const ChartStream::Chart& chart);
    // Brings the chart to the records, keeping every box whose record is unchanged and in place.
    void loadChartKeepingUnchanged(const ChartStream::Chart& chart);
    // The last folder used, from the settings file; a missing file is created with the working folder.
    QString readSettingsFolder();
    void writeSettingsFolder(const QString& folder);
    // Puts the rendered rows on the clipboard, joined by line feeds: all of them, or only the part that
    // holds the chart when `compact`.
    void copyDrawing(bool compact);
    // Adds the drawing on the clipboard to the chart as one step of history.
    void pasteDrawing();
    // Treats held Ctrl and Alt as released: flags cleared, modes off, editors enabled.
    void releaseModifiers();
    // Gives the keys back to the box that was being typed in, once no modifier is held.
    void returnKeysToEditor();
    // Paints the segments of line from point index `from` on, over the current layer.
    void paintNewSegments(const Line& line, size_t from);
    // Repaints only the layer's tiles that the given paths (old or current connectors) reach.
    void repaintLayerAround(const std::vector<const std::vector<QPoint>*>& paths);
    // Repaints what differs between the connectors painted before and the current ones.
    void repaintChangedConnectors(const std::vector<Line>& before);
    // Moves the painted connectors by offset; repaints them all when a shift would not be exact.
    void shiftLayer(const QPoint& offset);
    // Hands the focus back and re-renders when live, once a tag field is edited.
    void tagEditingFinished(QLineEdit* field);
    // The chart as plain data for the character grid.
    CharGrid::Input gridInput() const;
    // The output view's context menu: the drawing style and arrow heads above the standard entries.
    void showOutputMenu(const QPoint& pos);
    // Takes a drawing style, remembers it in the user's settings and renders it when live.
    void setDrawingStyle(CharGrid::Style style, CharGrid::Arrows arrows);
    // The remembered drawing style (or classic with heads at the end) and output switches.
    void readDrawingStyle();
    // Keeps the states of "Draw " and "Draw box" for the next start.
    void rememberOutputSwitches();
    // Set-up steps of the constructor.
    void setUpOutputView();
    void setUpButtons();
    // Makes the output view tall enough for every row and its horizontal scroll bar (which long tags
    // bring), and the window with it.
    void fitOutputViewHeight();
    // Under a real window system, fits the window to its screen.
    void fitToUsersScreen();
    // Save's work; true when the export and the backup were both written.
    bool saveChart();
    // Open's work: after the unsaved-changes question, the file named at start or one the user picks.
    void openChart();
    // Open's work once the file is chosen: replaces the chart and its history, or says why not.
    void openChartFile(const QString& fileName);
    // The title: the chart's file, or the program's name, marked while changes are unsaved.
    void showTitle();
    // The canvas's place in the window as laid out whole, wherever its content is scrolled to.
    QPoint canvasOrigin() const;
    // The chart stream without the fields that follow the pointer, so that only edits make it differ.
    QByteArray contentBytes() const;
    // Marks the chart on screen as the one on disk and drops the recovery file.
    void markSaved();
    // Starts the recovery timer unless it runs, keeping writes recoveryIntervalMs apart.
    void scheduleRecovery();
    // Writes the latest snapshot while changes are unsaved, removes the file otherwise.
    void updateRecovery();
    void removeRecovery();
    // At start: offers a recovery file left by a crash; true when its chart was restored.
    bool offerRecovery();

    SnapshotStore byteArrayOfPastStuf;
    int lastByteArrayCount = -1;
    // The snapshot under the cursor, its pointer fields reset.
    ChartStream::Chart m_cursorChart;
    // Set while the chart is rebuilt from records, whose text changes are no edits.
    bool m_rebuilding = false;
    QTimer* timer = nullptr;
    // The tick's interval, and how many ticks apart it renders pending text changes.
    static constexpr int tickMs = 20;
    static constexpr int ticksPerRender = 10;
    const QPoint mouseOffsetDrawLines{10, 7};
    // The character cell in canvas pixels.
    const QPoint pixel_reduction_to_number{ChartRender::cellWidth, ChartRender::cellHeight};
    int borderOfWIdgetsAndDrawings = 2;
    Ui::MainWindow* ui;
    DrawWidget4Points fourPoints;
    QPoint lastMousePosition;
    QPoint lastMousePosition_ex;
    QPoint sizeToExtendBox{10, 6};
    QPoint sizeOfInitialTextBox{24, 16};
    std::tuple<bool, int, WHAT> startMovingObject_{false, 0, BOX};
    QPair<bool, int> startDrawingLines{false, -1};
    QPoint lastGlobalPos;
    QPoint lastLocalPos;
    QPoint dragPosition;
    std::vector<QPair<WHAT, int>> removeWhch;
    QPixmap m_draw_lines;
    // Scratch for partial repaints of the layer, kept with the pixels of its pens across repaints.
    LayerSheet m_layerSheet;
    std::vector<QString> printThis;
    // How gridInput() asks the grid to write borders and connectors.
    CharGrid::Style m_drawStyle = CharGrid::Style::Classic;
    CharGrid::Arrows m_arrowHeads = CharGrid::Arrows::End;
    bool altPressd = false;
    bool ctrlPressd = false;
    Dialog w;
    bool change_has_happen = false;
    int change_has_happen_timer_counter = 0;
    QString m_filePath;
    QAction* actionAbout;
    std::unique_ptr<Prompts> m_prompts;
    // The connectors that follow the grabbed box in this drag: the box, where it stood when grabbed, the
    // held ends, and each held connector's points as last laid.
    struct Holding {
        const TextObject* box = nullptr;
        ConnectorAttach::Box from;
        std::vector<ConnectorAttach::Attachment> ends;
        std::vector<std::vector<QPoint>> laid;
    } m_holding;
    // Set while a whole-chart drag moves boxes, whose change callbacks then record nothing.
    bool m_movingAll = false;
    qint64 m_historyBudget = historyBudgetBytes;
    // The box editor that had the keys when a modifier was pressed; it gets them back on release.
    QPointer<QTextEdit> m_typingIn;
    // Content bytes of the chart last saved or opened (of the empty chart at start).
    QByteArray m_savedContent;
    QTimer* m_recoveryTimer = nullptr;
    QElapsedTimer m_sinceRecoveryWrite;
    // What the recovery file holds, empty when there is none.
    QByteArray m_recoveryWritten;
    // The file of the chart last saved or opened; empty for none.
    QString m_chartFile;
    // A backup dropped on the window, opened once the drop is over.
    QString m_droppedChart;
    // The frame the window was last fitted to the screen with, once its content scrolls.
    std::optional<QMargins> m_fittedFrame;
    // A mouse button pressed on the window is still down.
    bool m_buttonHeld = false;
    // The editors were enabled while a button was down; they take input once it is released.
    bool m_editorsWaitForRelease = false;

    friend class TestMainWindow;
    friend class TestTextObject;
    friend class TestInteraction;
    friend class TestPersistence;
    friend class TestKeyboard;
    friend class TestWindow;
    friend class BenchAccess;
    friend class TestRecovery;
    friend class GuiFuzzer;
};

#endif // MAINWINDOW_H
