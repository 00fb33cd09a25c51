// Leadigit's folder scan over a generated tree of 100,000 files (20 folders of
// 50 folders of 100 files, sizes spread over eight decades): the model alone
// into its rows; the window's whole "Scan disk for file sizes" offscreen, with
// the progress window, the pump and the list filled; and, in the same run,
// `find DIR -type f -printf '%s\n'` read through a pipe, the tool a user would
// reach for. Real time, the file system's cache warm for all three.
//
// The summary at the end prints each case's files per second and the ratios
// model / find and window / model.

#include "BenchMain.h"
#include "ListView.h"
#include "Modal.h"
#include "NumberSources.h"
#include "DirList.h"
#include "frmDir.h"
#include "frmLeadigit.h"

#include <QApplication>
#include <QPushButton>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int kTop = 20;
constexpr int kMiddle = 50;
constexpr int kFiles = 100;
constexpr int kTotal = kTop * kMiddle * kFiles;

// The tree, made once, its files sparse so that it takes no room.
class Tree {
public:
    Tree() {
        std::string pattern = (fs::temp_directory_path() / "leadigit-bench-XXXXXX").string();
        root_ = ::mkdtemp(pattern.data());
        std::mt19937 random(17);
        std::uniform_real_distribution<double> decades(0, 8);
        for (int t = 0; t < kTop; ++t) {
            for (int m = 0; m < kMiddle; ++m) {
                const fs::path folder = root_ / ("dir" + std::to_string(t)) / ("sub" + std::to_string(m));
                fs::create_directories(folder);
                for (int f = 0; f < kFiles; ++f) {
                    const fs::path file = folder / ("file" + std::to_string(f) + ".dat");
                    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
                    if (fd < 0 || ::ftruncate(fd, static_cast<off_t>(std::pow(10.0, decades(random)))) != 0)
                        std::abort();
                    ::close(fd);
                }
            }
        }
    }
    ~Tree() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    const fs::path& Root() const { return root_; }

private:
    fs::path root_;
};

Tree* tree = nullptr;

template <class Operation>
void Timed(benchmark::State& state, const char* name, Operation op) {
    std::chrono::steady_clock::duration total{};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const int64_t listed = op();
        const auto took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(std::chrono::duration<double>(took).count());
        total += took;
        if (listed != kTotal) {
            state.SkipWithError(("listed " + std::to_string(listed) + " files").c_str());
            return;
        }
    }
    bench::Seconds()[name] = std::chrono::duration<double>(total).count() /
                      static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.SetItemsProcessed(state.iterations() * kTotal);
}

class Unstopped : public leadigit::ScanListener {
public:
    bool Scanning() override { return true; }
    void FileListed(const fs::path&, std::string_view) override {}
    void LetMessagesRun() override {}
};

void BM_ScanModel(benchmark::State& state) {
    std::vector<leadigit::NumberRow> rows;
    Timed(state, "model", [&] {
        rows.clear();
        Unstopped listener;
        leadigit::ScanFolder(tree->Root(), rows, listener);
        return static_cast<int64_t>(rows.size());
    });
}

void BM_ScanWindow(benchmark::State& state) {
    frmLeadigit form;
    form.show();
    QApplication::processEvents();
    const QString folder = QString::fromStdString(tree->Root().string());
    platform::SetModalHook([&](QDialog&) {
        form.dirForm->Dir1->SetPath(folder);
        form.dirForm->cmdOK->click();
    });
    Timed(state, "window", [&] {
        form.cmdSizes->click();
        return static_cast<int64_t>(form.lvNumbers->RowCount());
    });
    platform::SetModalHook(nullptr);
}

void BM_Find(benchmark::State& state) {
    const std::string command = "find '" + tree->Root().string() + "' -type f -printf '%s\\n'";
    std::vector<char> buffer(1 << 16);
    Timed(state, "find", [&] {
        FILE* pipe = ::popen(command.c_str(), "r");
        int64_t lines = 0;
        size_t got;
        while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
            lines += std::count(buffer.data(), buffer.data() + got, '\n');
        ::pclose(pipe);
        return lines;
    });
}

} // namespace

BENCHMARK(BM_Find)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2);
BENCHMARK(BM_ScanModel)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2);
BENCHMARK(BM_ScanWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2);

int main(int argc, char** argv) {
    bench::UseOffscreenPlatform();
    QApplication app(argc, argv);
    if (!bench::ReadArguments(argc, argv))
        return 1;
    Tree made;
    tree = &made;
    bench::RunAndShutdown();

    const auto& s = bench::Seconds();
    std::printf("\nScan of %d files, files per second:\n", kTotal);
    for (const auto& [name, seconds] : s)
        std::printf("  %-8s %12.0f\n", name.c_str(), kTotal / seconds);
    if (s.count("model") && s.count("find"))
        std::printf("model / find:   %.2f (speed ratio, at least 1 wanted)\n",
                    s.at("find") / s.at("model"));
    if (s.count("model") && s.count("window"))
        std::printf("window / model: %.2f (speed ratio, at least 0.5 wanted)\n",
                    s.at("model") / s.at("window"));
    return 0;
}
