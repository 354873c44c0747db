// The window's shell: the form set up, the tick, the About box and the chart to start with.
#include "mainwindow.h"
#include "cellfont.h"
#include "cellhighlighter.h"
#include "textobject.h"
#include "ui_mainwindow.h"

#include <QAction>
#include <QColor>
#include <QCoreApplication>
#include <QCursor>
#include <QFont>
#include <QGuiApplication>
#include <QIcon>
#include <QKeySequence>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBrowser>
#include <QTimer>
#include <QtMath>

#include <algorithm>

namespace {

QString imagePath(const QString& fileName)
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/images/") + fileName;
}

QString backgroundStyle(const QColor& colour)
{
    return QStringLiteral("background-color: %1").arg(colour.name());
}

} // namespace

MainWindow::MainWindow(QWidget* parent, QString filePath)
    : QMainWindow(parent)
    , m_data(std::make_shared<QVector<TextObject*>>())
    , ui(new Ui::MainWindow)
    , w(nullptr)
    , m_filePath(std::move(filePath))
    , actionAbout(new QAction(this))
    , m_prompts(std::make_unique<Prompts>())
{
    // Found by name when the form connects its slots; F1 triggers it below. It is not
    // added to the window, so the window's context menu stays empty.
    actionAbout->setObjectName(QStringLiteral("actionAbout"));
    ui->setupUi(this);

    setAttribute(Qt::WA_TranslucentBackground, true);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    setFixedHeight(802);
    setFixedWidth(1820);
    setAcceptDrops(true);
    // The read-only view would refuse a dropped file for the whole window.
    ui->drawOutput->setAcceptDrops(false);

    setUpOutputView();
    setUpButtons();
    fitOutputViewHeight();

    timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &MainWindow::checkMouseMove);
    timer->start(tickMs);
    // Both run once the event loop starts, when the canvas has its final size.
    QTimer::singleShot(0, this, SLOT(initLableForDrawing()));
    QTimer::singleShot(0, this, SLOT(openStartingChart()));

    auto* aboutKey = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(aboutKey, &QShortcut::activated, actionAbout, &QAction::trigger);
    // The history starts with the empty chart, so Undo can take back the first box.
    startHistory();
    m_savedContent = contentBytes();
    showTitle();
    renderIfLive();
    fitToUsersScreen();
}

void MainWindow::fitToUsersScreen()
{
    // Only a real window system's screen counts: the offscreen one of the tests is smaller than any desktop.
    const QString platform = QGuiApplication::platformName();
    if ((platform != QLatin1String("xcb") && !platform.startsWith(QLatin1String("wayland"))) || !screen())
        return;
    // A frame as window managers commonly draw it; corrected once the window manager has framed the window.
    fitToScreen(screen()->availableGeometry(), QMargins(8, 40, 8, 8));
}

void MainWindow::setUpOutputView()
{
    QFont outputFont(QStringLiteral("unexistent"), -1, -1, false);
    outputFont.setStyleHint(QFont::Monospace, QFont::PreferDefault);
    // One cell of the drawing is a 7 x 13 pixel cell, as on the canvas, so all 61 rows and 114 columns
    // fit the view; rows never wrap, and only tags too long for it need a scroll bar.
    ui->drawOutput->setFont(CellFont::fitted(outputFont, pixel_reduction_to_number.x()));
    new CellHighlighter(ui->drawOutput->document(), pixel_reduction_to_number.x());
    ui->drawOutput->document()->setDocumentMargin(1);
    ui->drawOutput->document()->setUndoRedoEnabled(false);
    ui->drawOutput->setLineWrapMode(QTextEdit::NoWrap);
    ui->drawOutput->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ui->drawOutput->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ui->drawOutput->installEventFilter(this);
    ui->drawOutput->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->drawOutput, &QWidget::customContextMenuRequested, this, &MainWindow::showOutputMenu);
    readDrawingStyle();
}

void MainWindow::setUpButtons()
{
    ui->radioButton->setToolTip(QStringLiteral("Move [Ctrl + Left mouse button]\nMove a box without its connectors [Shift + Ctrl + Left mouse button]\n"
                                               "Remove[Ctrl + Right mouse button]"));
    ui->radioButton_2->setToolTip(QStringLiteral("[Alt + Left mouse button]"));
    ui->pushButton->setToolTip(QStringLiteral("Remove last"));
    ui->pushButton_2->setToolTip(QStringLiteral("Save [Ctrl+S]"));
    ui->open->setToolTip(QStringLiteral("Open [Ctrl+O]"));
    ui->lineEdit->setToolTip(QStringLiteral("Starting tag"));
    ui->lineEdit_2->setToolTip(QStringLiteral("Ending tag"));
    ui->shortKeysRadioButton->setToolTip(QStringLiteral("Enable/Disable short keys outside the box\n[Mid mouse button]"));
    ui->radioBMoveAll->setToolTip(QStringLiteral("Move all object [ctrl + alt]"));
    ui->drawStraightLines->setToolTip(QStringLiteral("Connect with straight lines"));
    ui->goBack->setToolTip(QStringLiteral("Undo last action [Ctrl+Z]"));
    ui->goForward->setToolTip(QStringLiteral("Redo last action [Ctrl+Y]"));
    ui->radioButton_3->setToolTip(QStringLiteral("Draw right widget"));

    const QColor fileColour(29, 207, 155);
    const QColor removeColour(86, 132, 60);
    const QColor historyColour(135, 206, 250);
    const QColor clearColour(250, 128, 114);
    ui->pushButton_2->setStyleSheet(backgroundStyle(fileColour));
    ui->pushButton_2->setIcon(QIcon(imagePath(QStringLiteral("save.png"))));
    ui->open->setStyleSheet(backgroundStyle(fileColour));
    ui->open->setIcon(QIcon(imagePath(QStringLiteral("openFile.png"))));
    ui->pushButton->setStyleSheet(backgroundStyle(removeColour));
    ui->pushButton->setIcon(QIcon(imagePath(QStringLiteral("removeLast.png"))));
    ui->goBack->setStyleSheet(backgroundStyle(historyColour));
    ui->goForward->setStyleSheet(backgroundStyle(historyColour));
    ui->pushButton_4->setStyleSheet(backgroundStyle(clearColour));
    setWindowIcon(QIcon(imagePath(QStringLiteral("icon.png"))));

    ui->lineEdit->setStyleSheet(QStringLiteral("background-color:white"));
    ui->lineEdit_2->setStyleSheet(QStringLiteral("background-color:white"));
    const QString framedWhite =
        QStringLiteral("border:") + QString::number(borderOfWIdgetsAndDrawings) + QStringLiteral("px double rgb(0, 0, 0); background-color:white;");
    ui->drawWidget->setStyleSheet(framedWhite);
    // Only the view itself: its context menu and scroll bars keep the desktop's look.
    ui->drawOutput->setStyleSheet(QStringLiteral("QTextBrowser { ") + framedWhite + QStringLiteral(" }"));

    ui->goForward->setEnabled(false);
    ui->goBack->setEnabled(false);
    // Clicking Undo or Redo leaves the keys with the box being typed in.
    ui->goBack->setFocusPolicy(Qt::NoFocus);
    ui->goForward->setFocusPolicy(Qt::NoFocus);
    ui->pushButton->setEnabled(false);
    ui->pushButton->hide();
}

void MainWindow::fitOutputViewHeight()
{
    QTextBrowser* view = ui->drawOutput;
    view->ensurePolished();
    view->horizontalScrollBar()->ensurePolished();
    const int rows = ui->drawWidget->minimumHeight() / pixel_reduction_to_number.y();
    const int needed = rows * pixel_reduction_to_number.y() + 2 * qCeil(view->document()->documentMargin()) + 2 * borderOfWIdgetsAndDrawings
        + view->horizontalScrollBar()->sizeHint().height();
    if (needed <= view->minimumHeight())
        return;
    const int grown = needed - view->minimumHeight();
    view->setFixedHeight(needed);
    // The canvas keeps the top, beside the view's first row.
    ui->horizontalLayout->setAlignment(ui->drawWidget, Qt::AlignTop);
    ui->horizontalLayoutWidget->resize(ui->horizontalLayoutWidget->width(), ui->horizontalLayoutWidget->height() + grown);
    ui->centralWidget->setFixedHeight(std::max(ui->centralWidget->minimumHeight(), ui->horizontalLayoutWidget->height()));
    setFixedHeight(height() + grown);
}

MainWindow::~MainWindow()
{
    qDeleteAll(*m_data);
    delete ui;
}

// The tick: renders a pending text change at most once every ticksPerRender ticks, and lets the
// highlight follow a resting pointer in the modes that show it.
void MainWindow::checkMouseMove()
{
    if (rendersLive() && change_has_happen && change_has_happen_timer_counter >= ticksPerRender) {
        change_has_happen = false;
        change_has_happen_timer_counter = 0;
        drawRightWidget();
    }
    ++change_has_happen_timer_counter;
    if (mode() != Mode::MoveRemove && mode() != Mode::MoveAll)
        return;
    const QPointF local = mapFromGlobal(QCursor::pos());
    QMouseEvent motion(QEvent::MouseMove, local, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    mouseMoveEvent(&motion);
}

void MainWindow::on_actionAbout_triggered()
{
    w.show();
}

// A chart restored after a crash takes the place of the file named on the command line.
void MainWindow::openStartingChart()
{
    if (offerRecovery())
        m_filePath.clear();
    else if (!m_filePath.isEmpty())
        openChart();
}
