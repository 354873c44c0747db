#ifndef BLOCKRENDERER_H
#define BLOCKRENDERER_H

#include "chartstream.h"
#include "markedblock.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <vector>

// Renders the charts that marked blocks name, reading each chart file once however many blocks name it.
class BlockRenderer
{
public:
    struct Result {
        // The chart's path from the folder the program runs in.
        QString chart;
        // Why the block cannot be rendered, else empty.
        QString problem;
        // The drawing's rows in UTF-8, as vandora-render prints them.
        std::vector<QByteArray> rows;
    };

    // The drawing for a block of the text file fileName, whose folder the chart's path starts from.
    Result render(const QString& fileName, const MarkedBlock::Block& block);

private:
    struct Loaded {
        ChartStream::Chart chart;
        QString error;
    };
    std::map<QString, Loaded> m_charts;
};

#endif // BLOCKRENDERER_H
