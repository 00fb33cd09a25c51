#include "FileReplace.h"

#include <atomic>
#include <string>
#include <system_error>
#include <unistd.h>

namespace neuromesh {

bool ReplaceFile(const std::filesystem::path& target,
                 const std::function<bool(const std::filesystem::path& aside)>& write) {
    static std::atomic<unsigned> serial{0};
    std::error_code error;
    std::filesystem::path aside;
    do {
        aside = target;
        aside += ".~" + std::to_string(::getpid()) + "-" + std::to_string(serial++);
    } while (std::filesystem::symlink_status(aside, error).type() !=
             std::filesystem::file_type::not_found);
    if (write(aside)) {
        std::filesystem::rename(aside, target, error);
        if (!error)
            return true;
    }
    std::filesystem::remove(aside, error);
    return false;
}

} // namespace neuromesh
