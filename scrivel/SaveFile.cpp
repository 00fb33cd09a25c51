#include "SaveFile.h"

#include <atomic>
#include <cstdio>
#include <string>
#include <system_error>
#include <unistd.h>

namespace scrivel {

bool SaveFileBytes(const std::filesystem::path& path, std::string_view bytes) {
    static std::atomic<unsigned> serial{0};
    std::error_code error;
    std::filesystem::path aside;
    do {
        aside = path;
        aside += ".~" + std::to_string(::getpid()) + "-" + std::to_string(serial++);
    } while (std::filesystem::symlink_status(aside, error).type() !=
             std::filesystem::file_type::not_found);
    std::FILE* file = std::fopen(aside.c_str(), "wb");
    if (file == nullptr)
        return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = std::fflush(file) == 0 && written;
    written = ::fsync(::fileno(file)) == 0 && written;
    written = std::fclose(file) == 0 && written;
    if (written) {
        std::filesystem::rename(aside, path, error);
        if (!error)
            return true;
    }
    std::filesystem::remove(aside, error);
    return false;
}

} // namespace scrivel
