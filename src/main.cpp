#include "commandline.h"
#include "mainwindow.h"
#include "programinfo.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Help, version and wrong usage are answered before any window system is needed.
    const CommandLine::Request request = CommandLine::parse(arguments);
    switch (request.action) {
    case CommandLine::Action::Help: std::fputs(CommandLine::usage().toLocal8Bit().constData(), stdout); return 0;
    case CommandLine::Action::Version: std::printf("vandora %s\n", ProgramInfo::version().toLocal8Bit().constData()); return 0;
    case CommandLine::Action::Usage:
        std::fprintf(stderr, "vandora: %s\n\n%s", request.error.toLocal8Bit().constData(), CommandLine::usage().toLocal8Bit().constData());
        return 2;
    case CommandLine::Action::Run: break;
    }
    QApplication a(argc, argv);
    QApplication::setApplicationVersion(ProgramInfo::version());
    MainWindow w(nullptr, request.chartFile);
    w.show();
    return a.exec();
}
