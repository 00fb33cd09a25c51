// The multi-line text box's exact text against Qt's own plain-text editor.
//
// Workload: 4 MiB of Windows text (lines of 0 to 199 characters of the whole code
// page, CR LF ends with a few lone LF and CR), in a shown offscreen box of 400 x 300
// pixels with a vertical scroll bar. Cases: setting the text (two such texts in
// turn, so each set changes it) with MultiLineTextBox::SetText, which keeps the
// line ends, against QPlainTextEdit::setPlainText, which turns them into
// paragraphs; and reading the text back after a one-character edit with Text(),
// which rebuilds it with its line ends, against QPlainTextEdit::toPlainText.
// Pending events run after each set, so the visible part is laid out. Real time.
//
// The summary at the end prints box time / Qt time for each operation.

#include "BenchMain.h"
#include "MultiLineTextBox.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>

namespace {

QString LargeText(int seed) {
    QString text;
    text.reserve(4 << 20);
    for (int line = seed; text.size() < (4 << 20); ++line) {
        for (int i = 0; i < line % 200; ++i) {
            text += QChar(32 + (line * 7 + i) % 224);
        }
        text += line % 97 == 0 ? u"\n" : line % 89 == 0 ? u"\r" : u"\r\n";
    }
    return text;
}

const QString& Text(int which) {
    static const QString texts[2] = {LargeText(0), LargeText(1)};
    return texts[which];
}

void Note(benchmark::State& state, const std::string& name,
          std::chrono::steady_clock::duration total) {
    bench::Seconds()[name] =
        std::chrono::duration<double>(total).count() /
        static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.SetBytesProcessed(state.iterations() * Text(0).size() * 2);
}

template <class Editor> void Prepare(Editor& editor) {
    editor.resize(400, 300);
    editor.show();
}

void Edit(QPlainTextEdit& editor) {
    QTextCursor cursor = editor.textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText("z");
}

void BM_SetText(benchmark::State& state) {
    platform::MultiLineTextBox box(nullptr, platform::MultiLineTextBox::kVertical);
    Prepare(box);
    std::chrono::steady_clock::duration total{};
    int which = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        box.SetText(Text(which));
        QApplication::processEvents();
        total += std::chrono::steady_clock::now() - start;
        which = 1 - which;
    }
    Note(state, "box set", total);
}

void BM_SetPlainText(benchmark::State& state) {
    QPlainTextEdit editor;
    editor.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Prepare(editor);
    std::chrono::steady_clock::duration total{};
    int which = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        editor.setPlainText(Text(which));
        QApplication::processEvents();
        total += std::chrono::steady_clock::now() - start;
        which = 1 - which;
    }
    Note(state, "Qt set", total);
}

void BM_TextAfterEdit(benchmark::State& state) {
    platform::MultiLineTextBox box(nullptr, platform::MultiLineTextBox::kVertical);
    Prepare(box);
    box.SetText(Text(0));
    std::chrono::steady_clock::duration total{};
    for (auto _ : state) {
        Edit(box);
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(box.Text());
        total += std::chrono::steady_clock::now() - start;
    }
    Note(state, "box get", total);
}

void BM_ToPlainTextAfterEdit(benchmark::State& state) {
    QPlainTextEdit editor;
    Prepare(editor);
    editor.setPlainText(Text(0));
    std::chrono::steady_clock::duration total{};
    for (auto _ : state) {
        Edit(editor);
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(editor.toPlainText());
        total += std::chrono::steady_clock::now() - start;
    }
    Note(state, "Qt get", total);
}

BENCHMARK(BM_SetText)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SetPlainText)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TextAfterEdit)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ToPlainTextAfterEdit)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenPlatform();
    QApplication app(argc, argv);
    Text(0);
    if (!bench::ReadArguments(argc, argv))
        return 1;
    bench::RunAndShutdown();

    std::printf("\nbox time / Qt time on 4 MiB of text:\n");
    for (const char* operation : {"set", "get"}) {
        const auto qt = bench::Seconds().find(std::string("Qt ") + operation);
        const auto box = bench::Seconds().find(std::string("box ") + operation);
        if (qt != bench::Seconds().end() && box != bench::Seconds().end() && qt->second > 0)
            std::printf("  %-4s %.3f (%.1f ms / %.1f ms)\n", operation, box->second / qt->second,
                        box->second * 1e3, qt->second * 1e3);
    }
    return 0;
}
