// The character drawing of the chart and the options that govern it.
#include "cellfont.h"
#include "chartrender.h"
#include "mainwindow.h"
#include "textobject.h"
#include "ui_mainwindow.h"

#include <QActionGroup>
#include <QMenu>
#include <QSettings>
#include <QStandardPaths>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>

namespace {

const QString styleKey = QStringLiteral("output/style");
const QString arrowsKey = QStringLiteral("output/arrows");
const QString drawKey = QStringLiteral("output/draw");
const QString drawBoxKey = QStringLiteral("output/drawBox");

// The user's preferences of the program, in its configuration folder.
std::unique_ptr<QSettings> userSettings()
{
    return std::make_unique<QSettings>(
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/vandora.conf"), QSettings::IniFormat);
}

// A submenu of checkable entries in `group`, one checked, each handing its value to `choose`.
template <typename Value, typename Choose>
QMenu* choiceMenu(const QString& title, const std::vector<std::pair<QString, Value>>& entries, Value current, QMenu* parent, QActionGroup* group, Choose choose)
{
    auto* menu = new QMenu(title, parent);
    for (const auto& entry : entries) {
        QAction* action = menu->addAction(entry.first);
        action->setCheckable(true);
        action->setChecked(entry.second == current);
        group->addAction(action);
        const Value value = entry.second;
        QObject::connect(action, &QAction::triggered, parent, [choose, value] { choose(value); });
    }
    return menu;
}

} // namespace

CharGrid::Input MainWindow::gridInput() const
{
    CharGrid::Input input = ChartRender::emptyInput(ui->drawWidget->size(), ui->radioButton_4->isChecked(), ui->lineEdit->text(), ui->lineEdit_2->text());
    for (TextObject* box : *m_data)
        ChartRender::addBox(input, box->x_y_proc_respect_to_zero, box->elem ? box->elem->toPlainText() : QString());
    for (const Line& line : m_data_line)
        ChartRender::addConnector(input, line.points.size(), line.points_proc_from_window);
    input.style = m_drawStyle;
    input.arrows = m_arrowHeads;
    return input;
}

void MainWindow::showOutputMenu(const QPoint& pos)
{
    using CharGrid::Arrows;
    using CharGrid::Style;
    const std::unique_ptr<QMenu> menu(ui->drawOutput->createStandardContextMenu(pos));
    QAction* standard = menu->actions().value(0);
    QActionGroup styleGroup(nullptr);
    QActionGroup headGroup(nullptr);
    QMenu* styles = choiceMenu<Style>(QStringLiteral("Style"),
        {{QStringLiteral("Classic"), Style::Classic}, {QStringLiteral("Lines"), Style::Lines}, {QStringLiteral("Unicode"), Style::Unicode},
            {QStringLiteral("Rounded"), Style::Rounded}, {QStringLiteral("Heavy"), Style::Heavy}, {QStringLiteral("Double"), Style::Double}},
        m_drawStyle, menu.get(), &styleGroup, [this](Style style) { setDrawingStyle(style, m_arrowHeads); });
    QMenu* heads = choiceMenu<Arrows>(QStringLiteral("Arrow heads"),
        {{QStringLiteral("None"), Arrows::None}, {QStringLiteral("At the end"), Arrows::End}, {QStringLiteral("At both ends"), Arrows::Both}}, m_arrowHeads,
        menu.get(), &headGroup, [this](Arrows arrows) { setDrawingStyle(m_drawStyle, arrows); });
    menu->insertMenu(standard, styles);
    menu->insertMenu(standard, heads);
    menu->insertSeparator(standard);
    menu->exec(ui->drawOutput->viewport()->mapToGlobal(pos));
    // The menu had the keys while it was open.
    syncModifiers();
}

void MainWindow::setDrawingStyle(CharGrid::Style style, CharGrid::Arrows arrows)
{
    m_drawStyle = style;
    m_arrowHeads = arrows;
    const std::unique_ptr<QSettings> settings = userSettings();
    settings->setValue(styleKey, CharGrid::nameOf(style));
    settings->setValue(arrowsKey, CharGrid::nameOf(arrows));
    renderIfLive();
}

void MainWindow::readDrawingStyle()
{
    const std::unique_ptr<QSettings> settings = userSettings();
    // Unknown names, say from a later version, leave the defaults.
    CharGrid::styleNamed(settings->value(styleKey).toString(), m_drawStyle);
    CharGrid::arrowsNamed(settings->value(arrowsKey).toString(), m_arrowHeads);
    // Until the user first switches them, the form's states hold.
    ui->radioButton_3->setChecked(settings->value(drawKey, ui->radioButton_3->isChecked()).toBool());
    ui->radioButton_4->setChecked(settings->value(drawBoxKey, ui->radioButton_4->isChecked()).toBool());
}

void MainWindow::rememberOutputSwitches()
{
    const std::unique_ptr<QSettings> settings = userSettings();
    settings->setValue(drawKey, ui->radioButton_3->isChecked());
    settings->setValue(drawBoxKey, ui->radioButton_4->isChecked());
}

bool MainWindow::rendersLive() const
{
    return ui->radioButton_3->isChecked();
}

void MainWindow::renderIfLive()
{
    if (rendersLive())
        drawRightWidget();
}

void MainWindow::drawRightWidget()
{
    printThis = CharGrid::render(gridInput());
    ui->drawOutput->clear();
    // Plain text, so tags that look like markup are shown as typed; every row is laid out once, one cell high.
    QTextDocument* document = ui->drawOutput->document();
    QTextCursor cursor(document);
    cursor.setBlockFormat(CellFont::lineFormat(document, pixel_reduction_to_number.y()));
    cursor.insertText(ChartRender::joinRows(printThis));
}

void MainWindow::on_radioButton_3_clicked(bool checked)
{
    rememberOutputSwitches();
    if (checked)
        renderIfLive();
}

void MainWindow::on_radioButton_4_clicked()
{
    rememberOutputSwitches();
    renderIfLive();
}

void MainWindow::on_lineEdit_editingFinished()
{
    tagEditingFinished(ui->lineEdit);
}

void MainWindow::on_lineEdit_2_editingFinished()
{
    tagEditingFinished(ui->lineEdit_2);
}

void MainWindow::tagEditingFinished(QLineEdit* field)
{
    if (field->isActiveWindow())
        field->clearFocus();
    recordEdit();
    renderIfLive();
}
