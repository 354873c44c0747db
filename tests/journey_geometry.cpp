// journey_geometry NAME...: lays out the main window without showing it and prints, for each named
// child widget, "NAME X Y WIDTH HEIGHT" in the window's coordinates. For a radio button the rectangle
// is that of its round indicator, the part that is clicked and that shows the state. The journey
// under Xvfb uses it to find where to click, on the same display and with the same fonts as the
// program it drives.
#include "mainwindow.h"

#include <QApplication>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    MainWindow window(nullptr, QString());
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
    QApplication::processEvents();

    QTextStream out(stdout);
    int status = 0;
    for (const QString& name : QApplication::arguments().mid(1)) {
        auto* widget = window.findChild<QWidget*>(name);
        if (!widget) {
            QTextStream(stderr) << "journey_geometry: no widget named " << name << '\n';
            status = 1;
            continue;
        }
        QRect rect = widget->rect();
        if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
            QStyleOptionButton option;
            option.initFrom(radio);
            rect = radio->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, radio);
        }
        rect.moveTopLeft(widget->mapTo(&window, rect.topLeft()));
        out << name << ' ' << rect.x() << ' ' << rect.y() << ' ' << rect.width() << ' ' << rect.height() << '\n';
    }
    return status;
}
