#include "markedblock.h"

namespace MarkedBlock {

namespace {

const QByteArray keyword("vandora:");

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isWordChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// What follows the first "vandora:" of the line that starts no word and is followed by a blank and
// more text, trimmed; empty when the line is no marker.
QByteArray markerWords(const QByteArray& line)
{
    for (int at = line.indexOf(keyword); at >= 0; at = line.indexOf(keyword, at + 1)) {
        const int after = at + keyword.size();
        if ((at > 0 && isWordChar(line[at - 1])) || after >= line.size() || !isBlank(line[after]))
            continue;
        QByteArray words = line.mid(after).trimmed();
        if (!words.isEmpty())
            return words;
    }
    return QByteArray();
}

// "end" not followed by more of a path: "end" or "end -->" closes a block, "end.fcb" names a chart.
bool isEndMarker(const QByteArray& words)
{
    return words.startsWith("end") && (words.size() == 3 || (!isWordChar(words[3]) && words[3] != '.' && words[3] != '/'));
}

struct Line {
    QByteArray text;
    // Offsets of the line's first byte and of the byte after its line end.
    int start = 0;
    int next = 0;
};

// The line starting at byte `start`, without its "\n" or "\r\n".
Line lineAt(const QByteArray& text, int start)
{
    int feed = text.indexOf('\n', start);
    Line line;
    line.start = start;
    line.next = feed < 0 ? text.size() : feed + 1;
    int end = feed < 0 ? text.size() : feed;
    if (feed >= 0 && end > start && text[end - 1] == '\r')
        --end;
    line.text = text.mid(start, end - start);
    return line;
}

} // namespace

bool splitWords(const QString& words, QStringList& result, QString* error)
{
    result.clear();
    QString word;
    bool inWord = false;
    for (int i = 0; i < words.size(); ++i) {
        const QChar c = words[i];
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            if (inWord)
                result << word;
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c != QLatin1Char('\'') && c != QLatin1Char('"')) {
            word += c;
            continue;
        }
        int j = i + 1;
        for (; j < words.size() && words[j] != c; ++j) {
            if (c == QLatin1Char('"') && words[j] == QLatin1Char('\\') && j + 1 < words.size())
                ++j;
            word += words[j];
        }
        if (j == words.size()) {
            *error = QStringLiteral("Quote %1 is not closed.").arg(c);
            return false;
        }
        i = j;
    }
    if (inWord)
        result << word;
    return true;
}

std::vector<Block> parse(const QByteArray& text)
{
    std::vector<Block> blocks;
    Block* open = nullptr;
    int number = 0;
    for (int start = 0; start < text.size();) {
        const Line line = lineAt(text, start);
        start = line.next;
        ++number;
        const QByteArray words = markerWords(line.text);
        if (open != nullptr) {
            if (words.isEmpty() || !isEndMarker(words)) {
                open->drawing.push_back(line.text);
                continue;
            }
            open->endLine = number;
            open->drawingEnd = line.start;
            open = nullptr;
            continue;
        }
        if (words.isEmpty() || isEndMarker(words))
            continue;
        blocks.emplace_back();
        open = &blocks.back();
        open->line = number;
        open->drawingStart = line.next;
        open->drawingEnd = text.size();
        const int feed = line.start + line.text.size();
        open->lineEnd = text.mid(feed, 1) == "\r" ? QByteArray("\r\n") : QByteArray("\n");
        if (splitWords(QString::fromUtf8(words), open->arguments, &open->syntaxError) && !open->arguments.isEmpty()
            && (open->arguments.last() == QLatin1String("*/") || open->arguments.last() == QLatin1String("-->")))
            open->arguments.removeLast();
    }
    return blocks;
}

bool closesBlock(const QByteArray& line)
{
    const QByteArray words = markerWords(line);
    return !words.isEmpty() && isEndMarker(words);
}

int blockAt(const std::vector<Block>& blocks, int line)
{
    for (size_t i = 0; i < blocks.size(); ++i) {
        const Block& block = blocks[i];
        const int last = block.closed() ? block.endLine : block.line + int(block.drawing.size());
        if (line >= block.line && line <= last)
            return int(i);
    }
    return -1;
}

QByteArray replaced(const QByteArray& text, const std::vector<Drawing>& drawings)
{
    QByteArray result;
    result.reserve(text.size());
    int copied = 0;
    for (const Drawing& drawing : drawings) {
        result.append(text.constData() + copied, drawing.block->drawingStart - copied);
        for (const QByteArray& row : drawing.rows)
            result.append(row).append(drawing.block->lineEnd);
        copied = drawing.block->drawingEnd;
    }
    result.append(text.constData() + copied, text.size() - copied);
    return result;
}

} // namespace MarkedBlock
