#include "commandline.h"
#include "mainwindow.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    const QString newFile = chartFileFromArguments(argc, argv);
    QApplication a(argc, argv);
    MainWindow w(nullptr, newFile);
    w.show();
    return a.exec();
}
