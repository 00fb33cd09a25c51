// The memory Leadigit's window holds for a listed source: a data file of
// 2,000,000 lines (a name of ten characters, a tab, a value of six digits and
// CR LF: 19 bytes a line, 38 MB) imported into the shown window offscreen and
// its list painted, then replaced by a data file of 217 lines (as
// "Pop2000.txt" replaces it). Resident memory is read from /proc/self/statm,
// the heap in use from mallinfo2, each against the window with an empty list
// before the import, and the peak resident memory while importing. One run,
// since a heap once grown is not a clean baseline for another.
//
// The summary at the end prints the memory added per row and per byte of
// the file, and what stays after the small file replaced the large one.

#include "BenchMain.h"
#include "ListView.h"
#include "frmLeadigit.h"

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <random>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int kLines = 2000000;
constexpr int kSmallLines = 217;

fs::path Folder() {
    static const fs::path folder = [] {
        fs::path f = fs::temp_directory_path() / ("leadigit-memory-" + std::to_string(::getpid()));
        fs::create_directories(f);
        return f;
    }();
    return folder;
}

// A data file of lines "Name%06d\t%06d\r\n" with values spread over six decades.
fs::path DataFile(const char* name, int lines) {
    const fs::path file = Folder() / name;
    std::ofstream out(file, std::ios::binary);
    std::mt19937 random(29);
    char line[32];
    for (int i = 0; i < lines; ++i) {
        std::snprintf(line, sizeof line, "Name%06d\t%06u\r\n", i % 1000000,
                      unsigned(random() % 1000000));
        out << line;
    }
    return file;
}

double ResidentBytes() {
    long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return double(resident) * double(::sysconf(_SC_PAGESIZE));
}

// The most the process was resident, from /proc/self/status.
double PeakResidentBytes() {
    double kb = 0;
    if (FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status)) {
            if (std::sscanf(line, "VmHWM: %lf kB", &kb) == 1)
                break;
        }
        std::fclose(status);
    }
    return kb * 1024;
}

// Blocks in use, in the heap and mapped on their own.
double HeapBytes() {
    const struct mallinfo2 info = ::mallinfo2();
    return double(info.uordblks + info.hblkhd);
}

struct Figures {
    double resident = 0, heap = 0;
};

Figures Now() {
    return {ResidentBytes(), HeapBytes()};
}

Figures Added(const Figures& from, const Figures& to) {
    return {to.resident - from.resident, to.heap - from.heap};
}

Figures loaded, replaced;
double fileBytes = 0, peak = 0;

void Paint(frmLeadigit& form) {
    form.repaint();
    QApplication::processEvents();
}

void BM_ImportThenReplace(benchmark::State& state) {
    const fs::path big = DataFile("big.txt", kLines);
    const fs::path small = DataFile("small.txt", kSmallLines);
    fileBytes = double(fs::file_size(big));
    for (auto _ : state) {
        frmLeadigit form;
        form.show();
        Paint(form);
        const Figures empty = Now();
        form.LoadDataFile(QString::fromStdString(big.string()));
        Paint(form);
        if (form.lvNumbers->RowCount() != kLines) {
            state.SkipWithError("the large file was not listed whole");
            return;
        }
        loaded = Added(empty, Now());
        peak = PeakResidentBytes() - empty.resident;
        form.LoadDataFile(QString::fromStdString(small.string()));
        Paint(form);
        replaced = Added(empty, Now());
        state.counters["resident_per_row"] = loaded.resident / kLines;
        state.counters["heap_per_row"] = loaded.heap / kLines;
        state.counters["resident_after_replace_MB"] = replaced.resident / 1e6;
    }
}

} // namespace

BENCHMARK(BM_ImportThenReplace)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
    bench::UseOffscreenPlatform();
    QApplication app(argc, argv);
    if (!bench::ReadArguments(argc, argv))
        return 1;
    bench::RunAndShutdown();
    std::error_code ignored;
    fs::remove_all(Folder(), ignored);

    std::printf("\nImport of %d lines (%.1f MB, %.1f bytes a line), then %d lines:\n", kLines,
                fileBytes / 1e6, fileBytes / kLines, kSmallLines);
    std::printf("  resident added per row    %8.1f bytes (%.2f per byte of the file)\n",
                loaded.resident / kLines, loaded.resident / fileBytes);
    std::printf("  heap added per row        %8.1f bytes (%.2f per byte of the file)\n",
                loaded.heap / kLines, loaded.heap / fileBytes);
    std::printf("  peak resident, import     %8.1f bytes a row above the empty window\n",
                peak / kLines);
    std::printf("  resident after replacing  %8.1f MB\n", replaced.resident / 1e6);
    std::printf("  heap after replacing      %8.1f MB\n", replaced.heap / 1e6);
    return 0;
}
