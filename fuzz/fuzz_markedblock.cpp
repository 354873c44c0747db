#include "markedblock.h"
#include "unifieddiff.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// The text with every closed block's drawing cut out: what an update must leave byte for byte.
QByteArray outsideDrawings(const QByteArray& text, const std::vector<MarkedBlock::Block>& blocks)
{
    QByteArray kept;
    int copied = 0;
    for (const MarkedBlock::Block& block : blocks) {
        if (!block.closed())
            break;
        kept += text.mid(copied, block.drawingStart - copied) + '|';
        copied = block.drawingEnd;
    }
    return kept + text.mid(copied);
}

} // namespace

// Any text: rewriting every closed block's drawing changes no byte outside the drawings, and the
// rewritten text holds the same blocks with the new drawings.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray text = QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
    const std::vector<MarkedBlock::Block> blocks = MarkedBlock::parse(text);
    const std::vector<QByteArray> rows{"row", QByteArray(), "| x |"};
    std::vector<MarkedBlock::Drawing> drawings;
    for (const MarkedBlock::Block& block : blocks) {
        if (block.closed())
            drawings.push_back({&block, rows});
        if (MarkedBlock::blockAt(blocks, block.line) != int(&block - blocks.data()))
            std::abort();
        UnifiedDiff::hunks(block.drawing, rows, block.line + 1, block.line + 1);
    }
    const QByteArray updated = MarkedBlock::replaced(text, drawings);
    const std::vector<MarkedBlock::Block> again = MarkedBlock::parse(updated);
    if (again.size() != blocks.size() || outsideDrawings(updated, again) != outsideDrawings(text, blocks))
        std::abort();
    for (size_t i = 0; i < again.size(); ++i) {
        if (again[i].arguments != blocks[i].arguments || (again[i].closed() && again[i].drawing != rows))
            std::abort();
    }
    return 0;
}
