// Trimming a pasted over-long line in a box, against deleting one character at a time; and big
// pastes (many lines, one long line) in a box, against the halving search the box used before.
//
// The box at (0, 0) on the canvas takes a pasted line of n characters; it keeps the longest
// prefix that fits. The baseline runs the same fitting rule on a plain editor configured like
// the box, deleting one character before the cursor and re-measuring until the text fits.

#include "benchwindow.h"
#include "cellfont.h"
#include "chartrender.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QClipboard>
#include <QFont>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int canvasSide = 801;
constexpr double naiveBudgetSeconds = 60.0;

MainWindow* window = nullptr;
TextObject* box = nullptr;
QTextEdit* plain = nullptr;

struct Result {
    double secondsPerCall = 0;
    int kept = -1;
};
std::map<int, Result> bisection;
std::map<int, Result> naive;

// Whether the measured text size fits the canvas under the box's rule (extension added, truncated).
bool fits(const QSizeF& text)
{
    return static_cast<int>(10 + text.width()) <= canvasSide && static_cast<int>(6 + text.height()) <= canvasSide;
}

QTextEdit* makePlainEditor(QWidget* canvas)
{
    auto* editor = new QTextEdit(QString(), canvas);
    editor->setAcceptRichText(false);
    // Laid out as the box's editor is: its cell-sized font, its margin, lines one cell high.
    editor->setFont(box->elem->font());
    editor->document()->setDocumentMargin(box->elem->document()->documentMargin());
    editor->setStyleSheet(QStringLiteral("border:2px double rgb(0, 0, 0); background-color:white; border-color: rgb(0, 0, 0);"));
    editor->setGeometry(0, 0, 24, 16);
    editor->setLineWrapMode(QTextEdit::NoWrap);
    editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editor->show();
    return editor;
}

// Pastes n characters into the box; returns the seconds spent and the characters kept.
Result trimInBox(int n)
{
    box->elem->setPlainText(QString());
    box->elem->moveCursor(QTextCursor::End);
    const QString text(n, QLatin1Char('x'));
    const auto start = std::chrono::steady_clock::now();
    box->elem->insertPlainText(text);
    const auto end = std::chrono::steady_clock::now();
    Result r;
    r.secondsPerCall = std::chrono::duration<double>(end - start).count();
    r.kept = box->elem->toPlainText().size();
    if (r.kept >= n || box->currentWantedRect.width() > canvasSide || box->currentWantedRect.x() < 0) {
        std::fprintf(
            stderr, "box not trimmed to fit: n %d, kept %d, rect x %d width %d\n", n, r.kept, box->currentWantedRect.x(), box->currentWantedRect.width());
        std::exit(EXIT_FAILURE);
    }
    return r;
}

// Pastes n characters into the plain editor and deletes one character at a time until it fits.
Result trimNaively(int n)
{
    plain->setPlainText(QString());
    plain->moveCursor(QTextCursor::End);
    const QString text(n, QLatin1Char('x'));
    const auto start = std::chrono::steady_clock::now();
    plain->insertPlainText(text);
    QTextDocument* document = plain->document();
    QTextCursor cursor = plain->textCursor();
    for (;;) {
        CellFont::fixLineHeight(document, ChartRender::cellHeight);
        document->adjustSize();
        if (fits(document->size()))
            break;
        cursor.deletePreviousChar();
    }
    const auto end = std::chrono::steady_clock::now();
    Result r;
    r.secondsPerCall = std::chrono::duration<double>(end - start).count();
    r.kept = plain->toPlainText().size();
    return r;
}

void record(std::map<int, Result>& results, int n, double seconds, int kept, int iterations)
{
    Result& r = results[n];
    r.secondsPerCall = seconds / iterations;
    r.kept = kept;
}

void BM_Bisection(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    double total = 0;
    int kept = -1;
    int runs = 0;
    for (auto _ : state) {
        const Result r = trimInBox(n);
        if (kept >= 0 && r.kept != kept) {
            state.SkipWithError("box kept a different length on a repeated paste");
            break;
        }
        kept = r.kept;
        total += r.secondsPerCall;
        ++runs;
        state.SetIterationTime(r.secondsPerCall);
    }
    if (runs > 0)
        record(bisection, n, total, kept, runs);
    state.counters["kept"] = kept;
}
BENCHMARK(BM_Bisection)->Name("box paste")->Arg(1000)->Arg(2000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

double exponent(const std::map<int, Result>& results, int small, int large);

// Growth exponent of the baseline from 1000 to 2000 characters; 2 until both are measured.
double naiveGrowth()
{
    return naive.count(1000) && naive.count(2000) ? exponent(naive, 1000, 2000) : 2.0;
}

double naiveEstimate(int n)
{
    return naive.count(2000) ? naive.at(2000).secondsPerCall * std::pow(n / 2000.0, naiveGrowth()) : 0.0;
}

void BM_Naive(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    if (n > 2000) {
        // Only worth a run when the growth measured so far promises it ends within the budget.
        const double estimate = naiveEstimate(n);
        std::printf("one-at-a-time estimate for %d: %.1f s (exponent %.2f from 1000 -> 2000)\n", n, estimate, naiveGrowth());
        if (!naive.count(2000) || estimate > naiveBudgetSeconds) {
            state.SkipWithError("not run: estimated beyond the time budget");
            for (auto _ : state) { }
            return;
        }
    }
    double total = 0;
    int kept = -1;
    int runs = 0;
    for (auto _ : state) {
        const Result r = trimNaively(n);
        kept = r.kept;
        total += r.secondsPerCall;
        ++runs;
        state.SetIterationTime(r.secondsPerCall);
    }
    if (runs > 0)
        record(naive, n, total, kept, runs);
    state.counters["kept"] = kept;
}
BENCHMARK(BM_Naive)->Name("plain editor, one char at a time")->Arg(1000)->Arg(2000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Naive)->Name("plain editor, one char at a time")->Arg(10000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// The paste of a big test: `lines` lines of equal length, 480,000 characters or 100,000 on one line.
QString bigPaste(int lines)
{
    const int total = lines > 1 ? 480000 : 100000;
    QString line(total / lines - (lines > 1 ? 1 : 0), QLatin1Char('x'));
    QString text;
    text.reserve(total);
    for (int i = 0; i < lines; ++i)
        text += lines > 1 ? line + QLatin1Char('\n') : line;
    return text;
}

bool fitsDocument(QTextDocument* document)
{
    CellFont::fixLineHeight(document, ChartRender::cellHeight);
    document->adjustSize();
    return fits(document->size());
}

// The box's earlier trimming, on the plain editor: while the text does not fit, the fewest characters
// before the cursor to remove are found by halving, each try laid out on a copy of the document.
void trimByHalving(QTextEdit* editor)
{
    QTextDocument* document = editor->document();
    const std::unique_ptr<QTextDocument> scratch(document->clone());
    while (!fitsDocument(document)) {
        QTextCursor cursor = editor->textCursor();
        const int before = cursor.position();
        if (before <= 0)
            break;
        const QString text = document->toPlainText();
        const auto fitsAfterRemoving = [&](int count) {
            scratch->setPlainText(text.left(before - count) + text.mid(before));
            return fitsDocument(scratch.get());
        };
        int low = 1;
        int high = before;
        if (fitsAfterRemoving(high)) {
            while (low < high) {
                const int middle = low + (high - low) / 2;
                if (fitsAfterRemoving(middle))
                    high = middle;
                else
                    low = middle + 1;
            }
        }
        cursor.setPosition(before - high);
        cursor.setPosition(before, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        editor->setTextCursor(cursor);
    }
}

std::map<std::string, Result> big;

// A big paste into the box (state.range(1) == 0) or into the plain editor trimmed the earlier way.
void BM_BigPaste(benchmark::State& state)
{
    const int lines = int(state.range(0));
    const bool before = state.range(1) != 0;
    const QString text = bigPaste(lines);
    QTextEdit* editor = before ? plain : box->elem;
    Result r;
    // Pasted as the user pastes, from the clipboard into the editor.
    QGuiApplication::clipboard()->setText(text);
    for (auto _ : state) {
        editor->setPlainText(QString());
        editor->moveCursor(QTextCursor::End);
        const auto start = std::chrono::steady_clock::now();
        editor->paste();
        if (before)
            trimByHalving(editor);
        r.secondsPerCall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        r.kept = editor->toPlainText().size();
        state.SetIterationTime(r.secondsPerCall);
    }
    big[std::to_string(lines) + (before ? " before" : " box")] = r;
    state.counters["kept"] = r.kept;
}
BENCHMARK(BM_BigPaste)
    ->ArgNames({"lines", "before"})
    ->Args({5000, 0})
    ->Args({5000, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Iterations(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

double exponent(const std::map<int, Result>& results, int small, int large)
{
    return std::log(results.at(large).secondsPerCall / results.at(small).secondsPerCall) / std::log(double(large) / double(small));
}

void checkSameLength(int n)
{
    const int a = trimInBox(n).kept;
    const int b = trimNaively(n).kept;
    if (a != b) {
        std::fprintf(stderr, "trimming differs for %d characters: box keeps %d, one at a time keeps %d\n", n, a, b);
        std::exit(EXIT_FAILURE);
    }
    const double width = plain->document()->size().width();
    std::printf("n %d: both keep %d characters (text %.2f px wide, box %d px)\n", n, a, width, static_cast<int>(10 + width));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    MainWindow mainWindow(nullptr, QString());
    window = &mainWindow;
    bench::showAndSettle(mainWindow);
    QWidget* canvas = bench::canvasOf(mainWindow);
    box = bench::addBox(mainWindow, QPoint(0, 0), QString());
    plain = makePlainEditor(canvas);
    QApplication::processEvents();
    if (box->elem->font().weight() != plain->font().weight() || box->elem->font().family() != plain->font().family())
        bench::fail("the plain editor's font differs from the box's");

    checkSameLength(1000);
    checkSameLength(2000);

    if (!bench::runRegistered(argc, argv))
        return EXIT_FAILURE;
    const bool naive10kMeasured = naive.count(10000) > 0;

    for (const auto& entry : naive) {
        const auto other = bisection.find(entry.first);
        if (other != bisection.end() && other->second.kept != entry.second.kept) {
            std::fprintf(
                stderr, "trimming differs for %d characters: box keeps %d, one at a time keeps %d\n", entry.first, other->second.kept, entry.second.kept);
            return EXIT_FAILURE;
        }
    }

    std::printf("\n%8s %14s %14s %8s\n", "n", "box ms", "one-by-one ms", "kept");
    for (const int n : {1000, 2000, 10000, 100000}) {
        const auto b = bisection.find(n);
        const auto v = naive.find(n);
        char naiveText[32] = "-";
        if (v != naive.end())
            std::snprintf(naiveText, sizeof naiveText, "%.1f", v->second.secondsPerCall * 1e3);
        else if (n == 10000 && naive.count(2000))
            std::snprintf(naiveText, sizeof naiveText, "~%.0f (est.)", naiveEstimate(10000) * 1e3);
        std::printf(
            "%8d %14.2f %14s %8d\n", n, b != bisection.end() ? b->second.secondsPerCall * 1e3 : 0.0, naiveText, b != bisection.end() ? b->second.kept : -1);
    }
    if (bisection.count(1000) && bisection.count(2000) && bisection.count(10000) && bisection.count(100000))
        std::printf("growth exponents, box: %.2f (1k->2k), %.2f (2k->10k), %.2f (10k->100k)\n", exponent(bisection, 1000, 2000),
            exponent(bisection, 2000, 10000), exponent(bisection, 10000, 100000));
    if (naive.count(1000) && naive.count(2000))
        std::printf("growth exponents, one at a time: %.2f (1k->2k)%s\n", exponent(naive, 1000, 2000), naive10kMeasured ? "" : ", 10k extrapolated with it");
    if (naive10kMeasured)
        std::printf("growth exponent, one at a time: %.2f (2k->10k)\n", exponent(naive, 2000, 10000));

    for (const int lines : {5000, 1}) {
        const Result now = big[std::to_string(lines) + " box"];
        const Result then = big[std::to_string(lines) + " before"];
        if (now.kept != then.kept) {
            std::fprintf(stderr, "trimming differs for the paste of %d lines: %d kept, %d before\n", lines, now.kept, then.kept);
            return EXIT_FAILURE;
        }
        std::printf("paste of %d characters on %d line(s): %.1f ms in the box, %.1f ms trimmed the earlier way "
                    "(ratio %.1f), %d characters kept\n",
            bigPaste(lines).size(), lines, now.secondsPerCall * 1e3, then.secondsPerCall * 1e3, then.secondsPerCall / now.secondsPerCall, now.kept);
    }
    window = nullptr;
    return EXIT_SUCCESS;
}
