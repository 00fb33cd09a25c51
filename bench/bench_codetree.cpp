// Codetree's three long operations against gzip on the same files.
//
// Workload: three files generated once into a fresh temporary folder: 64 MiB of
// English-like text (words of a fixed vocabulary with Zipf-like frequencies,
// spaces, punctuation, CR LF), 64 MiB of random bytes, and 16 MiB of the same
// kind of text. Model cases: open (counting the bytes of a plain file, or decoding
// the counts of a compressed one), compress and decompress, each beside
// `gzip -1 -c file > out` or `gzip -d -c file.gz > out` run through the shell on
// the same file. Every case is timed in real time.
//
// Counters: vs_gzip is gzip's time divided by ours (above 1: we are faster); the
// summary at the end prints the same ratios, and the peak memory of each operation
// on the 16 MiB and the 64 MiB text, each run alone in a child process.

#include "BenchMain.h"
#include "ByteFile.h"
#include "CodeFile.h"
#include "CodeForest.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using codetree::Outcome;

class QuietProgress : public codetree::Progress {
public:
    void SetMaximum(uint64_t) override {}
    bool Advance(uint64_t) override { return true; }
};

fs::path& Folder() {
    static fs::path folder;
    return folder;
}

// --- workload ---------------------------------------------------------------

std::vector<std::string> Vocabulary() {
    std::vector<std::string> words = {
        "the",   "of",    "and",   "to",   "a",     "in",    "is",    "that",  "for",   "it",
        "as",    "was",   "with",  "be",   "by",    "on",    "not",   "he",    "this",  "are",
        "or",    "his",   "from",  "at",   "which", "but",   "have",  "an",    "had",   "they",
        "you",   "were",  "their", "one",  "all",   "we",    "can",   "her",   "has",   "there",
        "been",  "if",    "more",  "when", "will",  "would", "who",   "so",    "no",    "time",
        "code",  "tree",  "file",  "bits", "word",  "after", "where", "every", "first", "could",
        "these", "other", "about", "many", "then",  "them",  "some",  "into",  "only",  "over"};
    // More words from syllables, for a long tail of rare ones.
    const char* syllables[] = {"con", "ter", "ing", "al", "pre", "sta", "tion", "ment",
                               "ro",  "ver", "ly",  "mo", "dis", "ple", "ur",   "ance"};
    std::mt19937 random(17);
    while (words.size() < 3000) {
        std::string word;
        for (int k = 1 + static_cast<int>(random() % 3); k > 0; --k)
            word += syllables[random() % 16];
        words.push_back(word);
    }
    return words;
}

void WriteText(const fs::path& path, uint64_t size, uint32_t seed) {
    const std::vector<std::string> words = Vocabulary();
    std::vector<double> weights(words.size());
    for (size_t rank = 0; rank < words.size(); ++rank)
        weights[rank] = 1.0 / static_cast<double>(rank + 1);
    std::discrete_distribution<size_t> pick(weights.begin(), weights.end());
    std::mt19937 random(seed);
    platform::ByteWriter out;
    out.Create(path);
    bool capital = true;
    int onLine = 0;
    while (out.Written() < size) {
        std::string word = words[pick(random)];
        if (capital)
            word[0] = static_cast<char>(word[0] - 'a' + 'A');
        capital = false;
        const uint32_t roll = random() % 100;
        if (roll < 7) {
            word += ',';
        } else if (roll < 12) {
            word += '.';
            capital = true;
        } else if (roll < 13) {
            word += ';';
        }
        word += ++onLine >= 12 && capital ? "\r\n" : " ";
        if (word.back() == '\n')
            onLine = 0;
        const size_t n = std::min<uint64_t>(word.size(), size - out.Written());
        out.Write(reinterpret_cast<const uint8_t*>(word.data()), n);
    }
    out.Close();
}

void WriteRandom(const fs::path& path, uint64_t size) {
    std::mt19937_64 random(5);
    platform::ByteWriter out;
    out.Create(path);
    for (uint64_t k = 0; k < size; k += 8) {
        const uint64_t v = random();
        out.Write(reinterpret_cast<const uint8_t*>(&v), 8);
    }
    out.Close();
}

struct Workload {
    std::string name;
    fs::path plain, packed, gz;
};

std::vector<Workload>& Workloads() {
    static std::vector<Workload> workloads;
    return workloads;
}

void Shell(const std::string& command) {
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
}

void Prepare() {
    Folder() = fs::temp_directory_path() / ("bench-codetree-" + std::to_string(::getpid()));
    fs::create_directories(Folder());
    const auto add = [](const std::string& name) {
        Workload w{name, Folder() / name, Folder() / (name + ".tkv"), Folder() / (name + ".gz")};
        Workloads().push_back(w);
        return w;
    };
    WriteText(add("text16").plain, uint64_t{16} << 20, 1);
    WriteText(add("text64").plain, uint64_t{64} << 20, 2);
    WriteRandom(add("random64").plain, uint64_t{64} << 20);
    QuietProgress quiet;
    for (const Workload& w : Workloads()) {
        codetree::CodeForest forest;
        bool compressed = false;
        codetree::CompressReport report;
        if (codetree::OpenFile(w.plain, forest, compressed, quiet) != Outcome::Done)
            std::exit(1);
        while (forest.Size() > 1)
            forest.MergeStep();
        if (codetree::Compress(forest, w.plain, w.packed, quiet, report) != Outcome::Done)
            std::exit(1);
        Shell("gzip -1 -c '" + w.plain.string() + "' > '" + w.gz.string() + "'");
        std::printf("%-9s %10ju bytes; ours %10ju (%.3f), gzip -1 %10ju (%.3f)\n", w.name.c_str(),
                    static_cast<uintmax_t>(fs::file_size(w.plain)),
                    static_cast<uintmax_t>(fs::file_size(w.packed)),
                    double(fs::file_size(w.packed)) / double(fs::file_size(w.plain)),
                    static_cast<uintmax_t>(fs::file_size(w.gz)),
                    double(fs::file_size(w.gz)) / double(fs::file_size(w.plain)));
    }
}

// --- model ------------------------------------------------------------------

enum class Operation { OpenPlain, OpenPacked, Compress, Decompress };

const char* OperationName(Operation op) {
    switch (op) {
    case Operation::OpenPlain:
        return "open_plain";
    case Operation::OpenPacked:
        return "open_compressed";
    case Operation::Compress:
        return "compress";
    case Operation::Decompress:
        return "decompress";
    }
    return "";
}

// The gzip run each operation is compared with.
std::string Baseline(Operation op) {
    return op == Operation::OpenPlain || op == Operation::Compress ? "gzip -1" : "gzip -d";
}

std::string GzipCommand(const Workload& w, const std::string& baseline) {
    const fs::path out = Folder() / "gzip.out";
    return baseline == "gzip -1" ? "gzip -1 -c '" + w.plain.string() + "' > '" + out.string() + "'"
                                 : "gzip -d -c '" + w.gz.string() + "' > '" + out.string() + "'";
}

// Opens what the operation needs, outside the timing.
void Setup(Operation op, const Workload& w, codetree::CodeForest& forest) {
    QuietProgress quiet;
    bool compressed = false;
    if (op == Operation::Compress) {
        codetree::OpenFile(w.plain, forest, compressed, quiet);
        while (forest.Size() > 1)
            forest.MergeStep();
    } else if (op == Operation::Decompress) {
        codetree::OpenFile(w.packed, forest, compressed, quiet);
    }
}

bool Run(Operation op, const Workload& w, codetree::CodeForest& forest) {
    QuietProgress quiet;
    bool compressed = false;
    const fs::path out = Folder() / "ours.out";
    switch (op) {
    case Operation::OpenPlain:
        return codetree::OpenFile(w.plain, forest, compressed, quiet) == Outcome::Done;
    case Operation::OpenPacked:
        return codetree::OpenFile(w.packed, forest, compressed, quiet) == Outcome::Done;
    case Operation::Compress: {
        codetree::CompressReport report;
        return codetree::Compress(forest, w.plain, out, quiet, report) == Outcome::Done;
    }
    case Operation::Decompress: {
        uint64_t in = 0, written = 0;
        return codetree::Decomp(forest, w.packed, out, quiet, in, written) == Outcome::Done;
    }
    }
    return false;
}

void BM_Gzip(benchmark::State& state, const Workload& w, std::string baseline) {
    const std::string command = GzipCommand(w, baseline);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        Shell(command);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    bench::Seconds()[baseline + "/" + w.name] = elapsed.count() / double(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(w.plain)));
}

void BM_Model(benchmark::State& state, const Workload& w, Operation op) {
    codetree::CodeForest forest;
    Setup(op, w, forest);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        if (!Run(op, w, forest))
            state.SkipWithError("operation failed");
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    const double ours = elapsed.count() / double(state.iterations());
    bench::Seconds()[std::string(OperationName(op)) + "/" + w.name] = ours;
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(w.plain)));
    const auto gzip = bench::Seconds().find(Baseline(op) + "/" + w.name);
    if (gzip != bench::Seconds().end())
        state.counters["vs_gzip"] = gzip->second / ours;
}

// Peak resident memory of one operation alone in a child process, in KiB.
long PeakKiB(Operation op, const Workload& w) {
    const pid_t child = ::fork();
    if (child == 0) {
        codetree::CodeForest forest;
        Setup(op, w, forest);
        ::_exit(Run(op, w, forest) ? 0 : 1);
    }
    int status = 0;
    struct rusage usage {};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child || status != 0)
        return -1;
    return usage.ru_maxrss;
}

void Summary() {
    std::printf("\nspeed vs gzip (gzip time / our time; targets: compress >= 1, decompress >= "
                "0.5)\n");
    const Operation ops[] = {Operation::OpenPlain, Operation::Compress, Operation::OpenPacked,
                             Operation::Decompress};
    for (const Workload& w : Workloads())
        for (const Operation op : ops) {
            const std::string key = std::string(OperationName(op)) + "/" + w.name;
            const auto ours = bench::Seconds().find(key);
            const auto gzip = bench::Seconds().find(Baseline(op) + "/" + w.name);
            if (ours == bench::Seconds().end() || gzip == bench::Seconds().end())
                continue;
            const double mib = double(fs::file_size(w.plain)) / (1 << 20);
            std::printf("  %-26s %8.1f MiB/s  vs %-8s %8.1f MiB/s  ratio %.2f\n", key.c_str(),
                        mib / ours->second, Baseline(op).c_str(), mib / gzip->second,
                        gzip->second / ours->second);
        }
    std::printf("\npeak memory of one operation alone (ru_maxrss, KiB)\n");
    for (const Workload& w : Workloads()) {
        if (w.name == "random64")
            continue;
        std::printf("  %-9s", w.name.c_str());
        for (const Operation op : ops)
            std::printf("  %s %ld", OperationName(op), PeakKiB(op, w));
        std::printf("\n");
    }
}

} // namespace

int main(int argc, char** argv) {
    if (!bench::ReadArguments(argc, argv))
        return 1;
    Prepare();
    for (const Workload& w : Workloads()) {
        const std::string gzipCases[][2] = {{"gzip -1", "model/open_plain"},
                                            {"gzip -1", "model/compress"},
                                            {"gzip -d", "model/open_compressed"},
                                            {"gzip -d", "model/decompress"}};
        const Operation ops[] = {Operation::OpenPlain, Operation::Compress, Operation::OpenPacked,
                                 Operation::Decompress};
        for (int k = 0; k < 4; ++k) {
            if (k == 0 || k == 2) {
                const std::string baseline = gzipCases[k][0];
                benchmark::RegisterBenchmark(("baseline/" + baseline + "/" + w.name).c_str(),
                                             BM_Gzip, w, baseline)
                    ->Unit(benchmark::kMillisecond)
                    ->UseRealTime();
            }
            benchmark::RegisterBenchmark((gzipCases[k][1] + "/" + w.name).c_str(), BM_Model, w,
                                         ops[k])
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
        }
    }
    bench::RunAndShutdown();
    Summary();
    std::error_code error;
    fs::remove_all(Folder(), error);
    return 0;
}
