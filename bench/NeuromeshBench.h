#pragma once

// What the Neuromesh benchmarks share: a scratch program folder of their own
// process, and one offscreen QApplication made on first use.

#include <QApplication>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace neuromesh_bench {

inline std::filesystem::path Folder(const char* benchmark) {
    static const std::filesystem::path folder = [benchmark] {
        std::filesystem::path f =
            std::filesystem::temp_directory_path() / (std::string(benchmark) + "-" + std::to_string(::getpid()));
        std::filesystem::create_directories(f);
        return f;
    }();
    return folder;
}

inline QApplication& App() {
    static int argc = 1;
    static char name[] = "bench_neuromesh";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

} // namespace neuromesh_bench
