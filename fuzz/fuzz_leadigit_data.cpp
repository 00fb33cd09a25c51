// A data file of any content read by Leadigit: every line with text gives one
// row split at its tabs, in order, and a read that fails part way keeps only
// rows of the lines that ended before the failure.
#include "ByteFile.h"
#include "NumberSources.h"

#include "FuzzScratch.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using leadigit::NumberRow;

const fs::path& Folder() { return fuzz::ScratchFolder("fuzz_leadigit_data"); }

// The rows of the text's lines, each ended by LF, less a CR before it; what
// follows the last LF is a line when complete is set.
std::vector<NumberRow> ExpectedRows(std::string_view text, bool complete) {
    std::vector<NumberRow> rows;
    while (!text.empty()) {
        const size_t lf = text.find('\n');
        if (lf == std::string_view::npos && !complete)
            break;
        std::string_view line = text.substr(0, lf);
        text.remove_prefix(lf == std::string_view::npos ? text.size() : lf + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty())
            continue;
        const size_t tab = line.find('\t');
        if (tab == std::string_view::npos) {
            rows.push_back({"?", std::string(line)});
            continue;
        }
        const std::string_view rest = line.substr(tab + 1);
        rows.push_back({std::string(line.substr(0, tab)), std::string(rest.substr(0, rest.find('\t')))});
    }
    return rows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const fs::path input = Folder() / "data.txt";
    std::ofstream(input, std::ios::binary | std::ios::trunc)
        .write(text.data(), static_cast<std::streamsize>(size));
    std::vector<NumberRow> rows = {{"old", "1"}};
    if (leadigit::LoadDataFile(input, rows) != leadigit::LoadOutcome::Read ||
        rows != ExpectedRows(text, true))
        std::abort();

    // The read fails after a number of bytes the input chooses by its first one.
    const size_t readable = size == 0 ? 0 : data[0] * size / 256;
    const platform::ByteReaderReadLimit fault(readable);
    if (leadigit::LoadDataFile(input, rows) != leadigit::LoadOutcome::ReadFailed ||
        rows != ExpectedRows(text.substr(0, readable), false))
        std::abort();
    return 0;
}
