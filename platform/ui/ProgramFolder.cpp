#include "ProgramFolder.h"

#include <system_error>

namespace platform {

namespace {

std::filesystem::path& Override() {
    static std::filesystem::path folder;
    return folder;
}

} // namespace

std::filesystem::path ProgramFolder() {
    if (!Override().empty()) {
        return Override();
    }
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return std::filesystem::current_path(error);
    }
    return executable.parent_path();
}

void SetProgramFolder(const std::filesystem::path& folder) {
    Override() = folder;
}

} // namespace platform
