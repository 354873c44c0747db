#ifndef MARKEDBLOCK_H
#define MARKEDBLOCK_H

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// Drawings kept in text files between marker lines. A line holding "vandora:" (not glued to a word
// before it), a blank and a chart path, then optionally render options, opens a block; the next line
// holding "vandora:" then the word "end" closes it. The lines between are the drawing.
namespace MarkedBlock {

struct Block {
    // 1-based lines of the opening and closing markers; endLine is 0 when no closing marker follows.
    int line = 0;
    int endLine = 0;
    // The words after "vandora:" (quotes removed): the chart's path and its render options. A last
    // word "*/" or "-->" closes a comment and is left out.
    QStringList arguments;
    // Why the words could not be split (a quote left open), else empty.
    QString syntaxError;
    // The lines between the markers, without their line ends.
    std::vector<QByteArray> drawing;
    // The drawing's bytes in the file: from drawingStart up to, not including, drawingEnd.
    int drawingStart = 0;
    int drawingEnd = 0;
    // The opening marker's line end, "\r\n" or "\n", used for the drawing's lines when it is rewritten.
    QByteArray lineEnd;

    bool closed() const { return endLine > 0; }
};

// The blocks of a file's bytes in order. An unclosed block runs to the end of the file.
std::vector<Block> parse(const QByteArray& text);

// True when the line (without its line end) is a closing marker.
bool closesBlock(const QByteArray& line);

// The index of the block whose lines, markers included, hold the 1-based line; -1 when none does.
int blockAt(const std::vector<Block>& blocks, int line);

struct Drawing {
    const Block* block;
    std::vector<QByteArray> rows;
};

// text with each given block's drawing replaced by its rows, each ended by the block's line end;
// every other byte is kept. The drawings must be given in the order of their blocks in text.
QByteArray replaced(const QByteArray& text, const std::vector<Drawing>& drawings);

// Splits a marker's words at blanks; '...' and "..." keep blanks, and inside "..." a backslash keeps
// the next character. False, with the reason, when a quote is left open.
bool splitWords(const QString& words, QStringList& result, QString* error);

} // namespace MarkedBlock

#endif // MARKEDBLOCK_H
