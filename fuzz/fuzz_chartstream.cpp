#include "chartstream.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Any input: the reader must not crash; an accepted chart is written back to the same size and re-read equal.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
    ChartStream::Chart chart;
    QString error;
    if (!ChartStream::fromBytes(bytes, chart, &error)) {
        if (error.isEmpty() || chart != ChartStream::Chart())
            std::abort();
        return 0;
    }
    const QByteArray written = ChartStream::toBytes(chart);
    ChartStream::Chart again;
    if (written.size() != bytes.size() || !ChartStream::fromBytes(written, again) || again != chart)
        std::abort();
    return 0;
}
