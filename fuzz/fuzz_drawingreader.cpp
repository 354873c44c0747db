#include "chartrender.h"
#include "chartstream.h"
#include "drawingreader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Any text: the reader must not crash, its chart must pass the stream reader's checks, and the chart's own
// drawing must read back into a chart that passes them too.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), int(size));
    const DrawingReader::Result read = DrawingReader::read(DrawingReader::rowsOf(text));
    const ChartStream::Chart& chart = read.chart;
    ChartStream::Chart again;
    if (!ChartStream::fromBytes(ChartStream::toBytes(chart), again) || again != chart || read.unplaced < 0
        || chart.window.creationRecords.size() != chart.boxes.size() + chart.connectors.size())
        std::abort();
    CharGrid::Input input = ChartRender::gridInputFor(chart, read.drawBorders);
    input.style = read.style;
    input.arrows = read.arrows;
    const std::vector<QString> rows = CharGrid::render(input);
    const DrawingReader::Result reread = DrawingReader::read(QStringList(rows.begin(), rows.end()));
    if (!ChartStream::fromBytes(ChartStream::toBytes(reread.chart), again) || reread.unplaced < 0)
        std::abort();
    return 0;
}
