// Scrivel's analysis against a direct counting loop on the same bytes.
//
// Workload: 64 MiB of English-like text (words of a fixed vocabulary with
// Zipf-like frequencies, capitals, punctuation, digits, CR LF) and 64 MiB of
// random bytes, each counted with the default settings (27 characters) and with
// all 256 codes counted (a triplet array of 16.7 million doubles).
//
// Cases per workload and settings: the model's AnalyzeText (a progress object that
// never cancels, an empty folder of definitions); "direct", a plain loop over a
// byte-to-index table computed beforehand that zeroes the three arrays and counts
// letters, pairs and triplets into them; and "direct loop", the same loop with the
// zeroing left out of the timing. The summary prints direct time / model time
// (1 = as fast as the direct loop; the target is at least 0.8) from the fastest
// repetition of each case.

#include "BenchMain.h"
#include "CharacterSettings.h"
#include "LetterStatistics.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using scrivel::CharacterSettings;
using scrivel::LetterStatistics;

constexpr size_t kTextBytes = size_t{64} << 20;

struct NeverCancel : scrivel::AnalysisProgress {
    void Start(uint64_t) override {}
    bool Advance(uint64_t) override { return true; }
};

fs::path& Folder() {
    static fs::path folder;
    return folder;
}

// --- workload -------------------------------------------------------------------

std::vector<uint8_t> EnglishLike(size_t size) {
    std::vector<std::string> words = {"the",  "of",   "and",  "to",    "a",     "in",   "is",
                                      "that", "for",  "it",   "as",    "was",   "with", "be",
                                      "by",   "on",   "not",  "he",    "this",  "are",  "or",
                                      "his",  "from", "at",   "which", "but",   "have", "an",
                                      "had",  "they", "you",  "were",  "their", "one",  "all"};
    const char* syllables[] = {"con", "ter", "ing", "al", "pre", "sta", "tion", "ment",
                               "ro",  "ver", "ly",  "mo", "dis", "ple", "ur",   "ance",
                               "qu",  "ex",  "zy",  "kw", "ja",  "vo",  "ghb", "fi"};
    std::mt19937 random(7);
    while (words.size() < 4000) {
        std::string word;
        for (int k = 1 + static_cast<int>(random() % 3); k > 0; --k)
            word += syllables[random() % std::size(syllables)];
        words.push_back(word);
    }
    std::vector<double> weights(words.size());
    for (size_t rank = 0; rank < words.size(); ++rank)
        weights[rank] = 1.0 / static_cast<double>(rank + 1);
    std::discrete_distribution<size_t> pick(weights.begin(), weights.end());
    std::vector<uint8_t> text;
    text.reserve(size + 32);
    bool capital = true;
    while (text.size() < size) {
        std::string word = words[pick(random)];
        if (capital)
            word[0] = static_cast<char>(word[0] - 'a' + 'A');
        capital = false;
        const uint32_t roll = random() % 1000;
        if (roll < 70)
            word += ',';
        else if (roll < 120)
            capital = (word += '.', true);
        else if (roll < 130)
            word = std::to_string(random() % 2000);
        word += roll % 97 == 0 ? "\r\n" : " ";
        text.insert(text.end(), word.begin(), word.end());
    }
    text.resize(size);
    return text;
}

std::vector<uint8_t> RandomBytes(size_t size) {
    std::mt19937_64 random(3);
    std::vector<uint8_t> bytes(size);
    for (uint8_t& b : bytes)
        b = static_cast<uint8_t>(random());
    return bytes;
}

struct Workload {
    std::string name;
    std::vector<uint8_t> text;
};

struct Settings {
    std::string name;
    CharacterSettings settings;
};

std::vector<Workload>& Workloads() {
    static std::vector<Workload> workloads;
    return workloads;
}

std::vector<Settings>& AllSettings() {
    static std::vector<Settings> settings;
    return settings;
}

// --- the direct loop -------------------------------------------------------------

struct Counts {
    explicit Counts(size_t n) : n(n), letters(n), pairs(n * n), triplets(n * n * n) {}
    size_t n;
    std::vector<double> letters, pairs, triplets;
};

void Zero(Counts& c) {
    std::fill(c.letters.begin(), c.letters.end(), 0.0);
    std::fill(c.pairs.begin(), c.pairs.end(), 0.0);
    std::fill(c.triplets.begin(), c.triplets.end(), 0.0);
}

void DirectLoop(const std::vector<uint8_t>& text, const std::array<int16_t, 256>& table,
                Counts& c) {
    const size_t n = c.n;
    long p1 = -1, p2 = -1;
    for (const uint8_t b : text) {
        const long x = table[b];
        if (x < 0)
            continue;
        if (p2 >= 0)
            c.triplets[(p2 * n + p1) * n + x] += 1;
        if (p1 >= 0)
            c.pairs[p1 * n + x] += 1;
        c.letters[x] += 1;
        p2 = p1;
        p1 = x;
    }
}

std::string Key(const char* what, const Workload& w, const Settings& s) {
    return std::string(what) + "/" + w.name + "/" + s.name;
}

void BM_Direct(benchmark::State& state, const Workload* w, const Settings* s, bool zeroTimed) {
    const auto table = scrivel::ByteToIndex(s->settings, s->settings.All());
    Counts counts(static_cast<size_t>(s->settings.All()));
    double seconds = 0;
    for (auto _ : state) {
        if (!zeroTimed) {
            state.PauseTiming();
            Zero(counts);
            state.ResumeTiming();
        }
        const auto start = std::chrono::steady_clock::now();
        if (zeroTimed)
            Zero(counts);
        DirectLoop(w->text, table, counts);
        benchmark::DoNotOptimize(counts.letters.data());
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    bench::RecordFastest(Key(zeroTimed ? "direct" : "direct loop", *w, *s),
           seconds / double(state.iterations()));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(w->text.size()));
}

void BM_Model(benchmark::State& state, const Workload* w, const Settings* s) {
    LetterStatistics stats;
    stats.ResizeCounts(s->settings.All());
    NeverCancel progress;
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (stats.AnalyzeText(w->text, s->settings, Folder(), progress) !=
            scrivel::AnalysisOutcome::Done)
            state.SkipWithError("cancelled");
        benchmark::DoNotOptimize(stats.LetterCounts().data());
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    bench::RecordFastest(Key("model", *w, *s), seconds / double(state.iterations()));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(w->text.size()));
}

// The model must count exactly what the direct loop counts.
void CheckSameCounts(const Workload& w, const Settings& s) {
    const int n = s.settings.All();
    Counts counts(static_cast<size_t>(n));
    DirectLoop(w.text, scrivel::ByteToIndex(s.settings, n), counts);
    LetterStatistics stats;
    stats.ResizeCounts(n);
    NeverCancel progress;
    stats.AnalyzeText(w.text, s.settings, Folder(), progress);
    const auto same = [](std::span<const double> a, const std::vector<double>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    };
    if (!same(stats.LetterCounts(), counts.letters) || !same(stats.PairCounts(), counts.pairs) ||
        !same(stats.TripletCounts(), counts.triplets)) {
        std::fprintf(stderr, "counts differ: %s/%s\n", w.name.c_str(), s.name.c_str());
        std::exit(1);
    }
}

void Prepare() {
    Folder() = fs::temp_directory_path() / ("bench-scrivel-" + std::to_string(::getpid()));
    fs::create_directories(Folder());
    Workloads().push_back({"text64", EnglishLike(kTextBytes)});
    Workloads().push_back({"random64", RandomBytes(kTextBytes)});
    Settings defaults{"default", {}};
    defaults.settings.SetDefaultCharacters();
    defaults.settings.UpdateLookupTable();
    Settings all{"all256", {}};
    for (int c = 0; c < scrivel::kCodes; ++c)
        all.settings.SetCounts(c, true);
    all.settings.UpdateLookupTable();
    AllSettings().push_back(defaults);
    AllSettings().push_back(all);
    for (const Workload& w : Workloads())
        for (const Settings& s : AllSettings())
            CheckSameCounts(w, s);
}

void Summary() {
    std::printf("\nAnalyzeText vs the direct loop (direct time / model time, fastest "
                "repetition; target >= 0.8)\n");
    for (const Workload& w : Workloads())
        for (const Settings& s : AllSettings()) {
            const auto model = bench::Seconds().find(Key("model", w, s));
            const auto direct = bench::Seconds().find(Key("direct", w, s));
            const auto loop = bench::Seconds().find(Key("direct loop", w, s));
            if (model == bench::Seconds().end() || direct == bench::Seconds().end() ||
                loop == bench::Seconds().end())
                continue;
            const double mib = double(w.text.size()) / (1 << 20);
            std::printf("  %-8s %-7s model %7.1f MiB/s  direct %7.1f MiB/s  ratio %.2f  "
                        "(loop only %7.1f MiB/s, ratio %.2f)\n",
                        w.name.c_str(), s.name.c_str(), mib / model->second, mib / direct->second,
                        direct->second / model->second, mib / loop->second,
                        loop->second / model->second);
        }
}

} // namespace

int main(int argc, char** argv) {
    if (!bench::ReadArguments(argc, argv))
        return 1;
    Prepare();
    for (const Workload& w : Workloads())
        for (const Settings& s : AllSettings()) {
            const std::string suffix = "/" + w.name + "/" + s.name;
            benchmark::RegisterBenchmark(("direct" + suffix).c_str(), BM_Direct, &w, &s, true)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime()
                ->Repetitions(3);
            benchmark::RegisterBenchmark(("model" + suffix).c_str(), BM_Model, &w, &s)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime()
                ->Repetitions(3);
            benchmark::RegisterBenchmark(("direct_loop" + suffix).c_str(), BM_Direct, &w, &s,
                                         false)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime()
                ->Repetitions(3);
        }
    bench::RunAndShutdown();
    Summary();
    std::error_code error;
    fs::remove_all(Folder(), error);
    return 0;
}
