// A pattern file of any content: refused whole or read into a set that writes
// back to exactly the same bytes, alike from memory and from a file.
#include "PatternFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// The input as a file in memory, named through /proc: a file on disk would
// cost a flush per input.
class InputFile {
public:
    InputFile()
        : fd_(::memfd_create("patternfile", 0)), path_("/proc/self/fd/" + std::to_string(fd_)) {
        if (fd_ < 0)
            std::abort();
    }
    const std::string& Path() const { return path_; }
    void Hold(const uint8_t* data, size_t size) {
        if (::ftruncate(fd_, 0) != 0 ||
            (size > 0 && ::pwrite(fd_, data, size, 0) != static_cast<ssize_t>(size)))
            std::abort();
    }

private:
    int fd_;
    std::string path_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::optional<neuromesh::PatternSet> set = neuromesh::ParsePatternFile({data, size});
    static InputFile input;
    input.Hold(data, size);
    if (neuromesh::LoadPatternFile(input.Path()) != set)
        std::abort();
    if (!set)
        return 0;
    if (!neuromesh::PatternSet::ValidSizes(set->pattypes(), set->patternnumber(),
                                           set->inputsize()) ||
        neuromesh::PatternFileBytes(*set) != std::vector<uint8_t>(data, data + size))
        std::abort();
    return 0;
}
