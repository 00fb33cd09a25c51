// Scrivel's analysis through its window against the model alone, on the same bytes.
//
// Workload: 8 MiB of English-like text (words of a small vocabulary drawn with
// falling frequencies, capitals, commas, full stops and CR LF), written once into a
// fresh temporary folder and loaded into the main window's text box with "Load from
// file"; the program folder is an empty one, so no language definition is read.
// Window case: frmScrivel's Analyze in an offscreen window with the default
// settings: the progress window shown, its bar driven and the pump asked every
// 1,600 characters (it lets pending messages run at most every few milliseconds),
// then the letter chart drawn. Model case: LetterStatistics's
// AnalyzeText on the same bytes under the same settings with a progress that does
// nothing. Real time, from the moment the text is handed to the analysis.
//
// The summary prints window time / model time (target: at most 1.5) from the
// fastest repetition of each case.

#include "BenchMain.h"
#include "Dialogs.h"
#include "LetterStatistics.h"
#include "Modal.h"
#include "ProgramFolder.h"
#include "frmLetters.h"
#include "frmScrivel.h"

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr size_t kTextBytes = size_t{8} << 20;

fs::path& Folder() {
    static fs::path folder;
    return folder;
}

// Answers the open dialog with the text file; nothing else is asked.
class BenchDialogs final : public platform::Dialogs {
public:
    platform::MessageResult Message(const QString& text, const QString&, platform::MessageIcon,
                                    platform::MessageButtons) override {
        std::fprintf(stderr, "unexpected message: %s\n", text.toStdString().c_str());
        std::exit(1);
    }
    std::optional<QString> Input(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    QString OpenFile(const platform::FileRequest&) override {
        return QString::fromStdString((Folder() / "text.txt").string());
    }
    QString SaveFile(const platform::FileRequest&) override { return {}; }
    int PopupMenu(const platform::MenuRequest&) override { return -1; }
};

struct NeverCancel : scrivel::AnalysisProgress {
    void Start(uint64_t) override {}
    bool Advance(uint64_t) override { return true; }
};

std::string EnglishLike(size_t size) {
    static const char* words[] = {"the",  "of",    "and",  "to",    "a",      "in",    "is",
                                  "that", "for",   "it",   "with",  "was",    "on",    "as",
                                  "by",   "this",  "which", "letter", "pair", "triplet", "text",
                                  "language", "random", "chain", "quickly", "jumps", "over", "zeal"};
    constexpr int kWords = sizeof words / sizeof *words;
    std::mt19937 random(7);
    std::vector<double> weights;
    for (int k = 0; k < kWords; ++k)
        weights.push_back(1.0 / (k + 1));
    std::discrete_distribution<int> word(weights.begin(), weights.end());
    std::string text;
    text.reserve(size + 16);
    int inLine = 0;
    bool capital = true;
    while (text.size() < size) {
        std::string w = words[word(random)];
        if (capital)
            w[0] = static_cast<char>(w[0] - 'a' + 'A');
        text += w;
        const unsigned r = random() % 40;
        capital = r == 0;
        text += r == 0 ? ". " : r == 1 ? ", " : " ";
        if (++inLine == 12) {
            text += "\r\n";
            inLine = 0;
        }
    }
    text.resize(size);
    return text;
}

frmScrivel*& Form() {
    static frmScrivel* form = nullptr;
    return form;
}

std::string& Text() {
    static std::string text;
    return text;
}

void BM_Window(benchmark::State& state) {
    frmScrivel& form = *Form();
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        form.cmdAnalyze_Click();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!form.StatisticsValid())
            state.SkipWithError("the analysis did not complete");
        state.PauseTiming();
        // Invalid again, as after a change of the text, without touching the bytes.
        form.cmdSettings_Click();
        state.ResumeTiming();
    }
    bench::RecordFastest("window", seconds / double(state.iterations()));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(Text().size()));
}

void BM_Model(benchmark::State& state) {
    const scrivel::CharacterSettings& settings = Form()->Letters().Settings();
    scrivel::LetterStatistics stats;
    stats.ResizeCounts(settings.All());
    NeverCancel progress;
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(Text().data()),
                                         Text().size());
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (stats.AnalyzeText(bytes, settings, Folder() / "definitions", progress) !=
            scrivel::AnalysisOutcome::Done)
            state.SkipWithError("cancelled");
        benchmark::DoNotOptimize(stats.LetterCounts().data());
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    bench::RecordFastest("model", seconds / double(state.iterations()));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(Text().size()));
}

} // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenPlatform();
    QApplication app(argc, argv);
    if (!bench::ReadArguments(argc, argv))
        return 1;

    Folder() = fs::temp_directory_path() / ("bench-scrivel-window-" + std::to_string(::getpid()));
    fs::create_directories(Folder() / "definitions");
    Text() = EnglishLike(kTextBytes);
    std::ofstream(Folder() / "text.txt", std::ios::binary)
        .write(Text().data(), static_cast<std::streamsize>(Text().size()));
    platform::SetProgramFolder(Folder() / "definitions");
    BenchDialogs dialogs;
    platform::Dialogs::Install(&dialogs);
    // The settings window closes as soon as it is shown.
    platform::SetModalHook([](QDialog&) {});

    Form() = new frmScrivel;
    Form()->show();
    QApplication::processEvents();
    Form()->cmdLoad_Click();
    QApplication::processEvents();

    benchmark::RegisterBenchmark("window_analyze/text8", BM_Window)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Repetitions(5);
    benchmark::RegisterBenchmark("model_analyze/text8", BM_Model)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Repetitions(5);
    bench::RunAndShutdown();

    const auto window = bench::Seconds().find("window");
    const auto model = bench::Seconds().find("model");
    if (window != bench::Seconds().end() && model != bench::Seconds().end())
        std::printf("\nThe window's analysis vs the model's on 8 MiB (window time / model time, "
                    "fastest repetition; target <= 1.5): window %.1f ms, model %.1f ms, ratio "
                    "%.2f\n",
                    window->second * 1e3, model->second * 1e3, window->second / model->second);

    delete Form();
    platform::SetModalHook(nullptr);
    platform::Dialogs::Install(nullptr);
    platform::SetProgramFolder({});
    std::error_code error;
    fs::remove_all(Folder(), error);
    return 0;
}
