// Codetree's long operations through its window against the model alone.
//
// Workload: 64 MiB of English-like text (words of a small vocabulary drawn with
// falling frequencies, spaces, commas, full stops and CR LF), generated once into a
// fresh temporary folder, and its compressed form. Window cases: frmCodetree's
// OpenFile, Compress and Decomp in an offscreen window, the wait dialog shown, its
// bar driven and pending messages let run on every report; the report and the
// message box answered at once. Model cases: codetree::OpenFile, Compress and
// Decomp on the same files with a progress that does nothing. Real time.
//
// The summary at the end prints window time / model time for each operation.

#include "BenchMain.h"
#include "CodeFile.h"
#include "CodeForest.h"
#include "Dialogs.h"
#include "Modal.h"
#include "frmCodetree.h"

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr uint64_t kTextBytes = 64ull << 20;

fs::path& Folder() {
    static fs::path folder;
    return folder;
}

fs::path TextPath() {
    return Folder() / "text.txt";
}

fs::path PackedPath() {
    return Folder() / "text.txt.tkv";
}

QString Q(const fs::path& path) {
    return QString::fromStdString(path.string());
}

void WriteText(const fs::path& path, uint64_t size) {
    static const char* words[] = {"the",  "of",    "and",   "to",   "a",      "in",   "is",
                                  "that", "for",   "it",    "with", "was",    "on",   "as",
                                  "by",   "this",  "which", "tree", "prefix", "code", "weight",
                                  "node", "merge", "step",  "file", "bits",   "leaf", "root"};
    constexpr int kWords = sizeof words / sizeof *words;
    std::mt19937 random(7);
    // Word k is drawn about 1 / (k + 1) as often as the first.
    std::vector<double> weights;
    for (int k = 0; k < kWords; ++k)
        weights.push_back(1.0 / (k + 1));
    std::discrete_distribution<int> word(weights.begin(), weights.end());
    std::string text;
    text.reserve(size + 16);
    int inLine = 0;
    while (text.size() < size) {
        text += words[word(random)];
        const unsigned r = random() % 40;
        text += r == 0 ? ". " : r == 1 ? ", " : " ";
        if (++inLine == 12) {
            text += "\r\n";
            inLine = 0;
        }
    }
    text.resize(size);
    std::ofstream(path, std::ios::binary).write(text.data(), static_cast<std::streamsize>(size));
}

class QuietProgress final : public codetree::Progress {
public:
    void SetMaximum(uint64_t) override {}
    bool Advance(uint64_t) override { return true; }
};

// Answers every message box with OK, so that Decomp does not wait.
class OkDialogs final : public platform::Dialogs {
public:
    platform::MessageResult Message(const QString&, const QString&, platform::MessageIcon,
                                    platform::MessageButtons) override {
        return platform::MessageResult::Ok;
    }
    std::optional<QString> Input(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    QString OpenFile(const platform::FileRequest&) override { return {}; }
    QString SaveFile(const platform::FileRequest&) override { return {}; }
    int PopupMenu(const platform::MenuRequest&) override { return -1; }
};

void Note(benchmark::State& state, const char* name, std::chrono::steady_clock::duration total) {
    bench::Seconds()[name] =
        std::chrono::duration<double>(total).count() /
        static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kTextBytes));
}

template <class Operation> void Timed(benchmark::State& state, const char* name, Operation op) {
    std::chrono::steady_clock::duration total{};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!op()) {
            state.SkipWithError("the operation did not succeed");
            return;
        }
        total += std::chrono::steady_clock::now() - start;
    }
    Note(state, name, total);
}

// --- model ------------------------------------------------------------------

void BM_ModelOpen(benchmark::State& state) {
    codetree::CodeForest forest;
    QuietProgress progress;
    bool compressed = false;
    Timed(state, "open", [&] {
        return codetree::OpenFile(TextPath(), forest, compressed, progress) ==
               codetree::Outcome::Done;
    });
}

void BM_ModelCompress(benchmark::State& state) {
    codetree::CodeForest forest;
    QuietProgress progress;
    bool compressed = false;
    codetree::OpenFile(TextPath(), forest, compressed, progress);
    while (forest.Size() >= 2)
        forest.MergeStep();
    codetree::CompressReport report;
    const fs::path target = Folder() / "model.tkv";
    Timed(state, "compress", [&] {
        return codetree::Compress(forest, TextPath(), target, progress, report) ==
               codetree::Outcome::Done;
    });
}

void BM_ModelDecomp(benchmark::State& state) {
    codetree::CodeForest forest;
    QuietProgress progress;
    bool compressed = false;
    codetree::OpenFile(PackedPath(), forest, compressed, progress);
    const fs::path target = Folder() / "model.txt";
    uint64_t sourceBytes = 0, targetBytes = 0;
    Timed(state, "decompress", [&] {
        return codetree::Decomp(forest, PackedPath(), target, progress, sourceBytes, targetBytes) ==
               codetree::Outcome::Done;
    });
}

// --- window -----------------------------------------------------------------

struct ShownWindow {
    ShownWindow() {
        form.resize(800, 600);
        form.show();
        QApplication::processEvents();
    }
    frmCodetree form;
};

void BM_WindowOpen(benchmark::State& state) {
    ShownWindow window;
    Timed(state, "window open", [&] {
        window.form.OpenFile(Q(TextPath()));
        return window.form.Forest().FileMode();
    });
}

void BM_WindowCompress(benchmark::State& state) {
    ShownWindow window;
    window.form.OpenFile(Q(TextPath()));
    window.form.tlbToolBar_ButtonClick("CreateTree");
    const fs::path target = Folder() / "window.tkv";
    int reports = 0;
    platform::SetModalHook([&](QDialog&) { ++reports; });
    Timed(state, "window compress", [&] {
        const int before = reports;
        window.form.Compress(Q(target));
        return reports == before + 1;
    });
    platform::SetModalHook(nullptr);
}

void BM_WindowDecomp(benchmark::State& state) {
    ShownWindow window;
    window.form.OpenFile(Q(PackedPath()));
    const fs::path target = Folder() / "window.txt";
    Timed(state, "window decompress", [&] {
        window.form.Decomp(Q(target));
        return fs::file_size(target) == kTextBytes;
    });
}

BENCHMARK(BM_ModelOpen)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WindowOpen)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ModelCompress)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WindowCompress)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ModelDecomp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WindowDecomp)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenPlatform();
    QApplication app(argc, argv);
    if (!bench::ReadArguments(argc, argv))
        return 1;
    Folder() =
        fs::temp_directory_path() / ("vt-bench-codetree-window-" + std::to_string(::getpid()));
    fs::remove_all(Folder());
    fs::create_directories(Folder());
    WriteText(TextPath(), kTextBytes);
    {
        codetree::CodeForest forest;
        QuietProgress progress;
        bool compressed = false;
        codetree::CompressReport report;
        codetree::OpenFile(TextPath(), forest, compressed, progress);
        while (forest.Size() >= 2)
            forest.MergeStep();
        codetree::Compress(forest, TextPath(), PackedPath(), progress, report);
    }
    OkDialogs dialogs;
    platform::Dialogs::Install(&dialogs);

    bench::RunAndShutdown();

    std::printf("\nwindow time / model time on %llu MiB of text:\n",
                static_cast<unsigned long long>(kTextBytes >> 20));
    for (const char* operation : {"open", "compress", "decompress"}) {
        const auto model = bench::Seconds().find(operation);
        const auto window = bench::Seconds().find(std::string("window ") + operation);
        if (model != bench::Seconds().end() && window != bench::Seconds().end() &&
            model->second > 0)
            std::printf("  %-10s %.3f\n", operation, window->second / model->second);
    }
    platform::Dialogs::Install(nullptr);
    fs::remove_all(Folder());
    return 0;
}
