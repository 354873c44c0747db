#ifndef BENCHPROCESS_H
#define BENCHPROCESS_H

#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace bench {

// The median wall time in milliseconds of `runs` runs of the program, started in `folder` (the current
// one when empty), its output thrown away; exits the benchmark when a run fails.
inline double medianRunMs(const QString& program, const QStringList& arguments, int runs, const QString& folder = QString())
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QProcess process;
        if (!folder.isEmpty())
            process.setWorkingDirectory(folder);
        process.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer clock;
        clock.start();
        process.start(program, arguments);
        if (!process.waitForFinished(120000) || process.exitCode() != 0) {
            std::fprintf(stderr, "%s failed: %s\n", qPrintable(program), process.readAllStandardError().constData());
            std::exit(EXIT_FAILURE);
        }
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace bench

#endif // BENCHPROCESS_H
