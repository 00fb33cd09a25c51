#pragma once

// A scratch folder of the fuzzer's own, named after it and its process, made on
// first use and removed when the process ends.

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace fuzz {

inline const std::filesystem::path& ScratchFolder(const char* fuzzer) {
    static const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / (std::string(fuzzer) + "-" + std::to_string(::getpid()));
    static const bool made = [] {
        std::filesystem::create_directories(folder);
        std::atexit([] {
            std::error_code error;
            std::filesystem::remove_all(folder, error);
        });
        return true;
    }();
    (void)made;
    return folder;
}

} // namespace fuzz
