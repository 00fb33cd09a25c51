#include "NumberSources.h"

#include "ByteFile.h"
#include "TextFile.h"

#include <charconv>
#include <sys/stat.h>
#include <system_error>

namespace leadigit {

bool ReadDataLine(std::string_view line, NumberRow& row) {
    if (line.empty())
        return false;
    const size_t tab = line.find('\t');
    if (tab == std::string_view::npos) {
        row.name = "?";
        row.value.assign(line);
        return true;
    }
    row.name.assign(line.substr(0, tab));
    const std::string_view rest = line.substr(tab + 1);
    row.value.assign(rest.substr(0, rest.find('\t')));
    return true;
}

LoadOutcome LoadDataFile(const std::filesystem::path& path, std::vector<NumberRow>& rows) {
    platform::ByteReader file;
    if (!file.Open(path))
        return LoadOutcome::NotOpened;
    rows.clear();
    platform::LineReader lines(file);
    std::string line;
    NumberRow row;
    while (lines.ReadLine(line)) {
        if (ReadDataLine(line, row))
            rows.push_back(row);
    }
    return lines.Failed() ? LoadOutcome::ReadFailed : LoadOutcome::Read;
}

namespace {

namespace fs = std::filesystem;

// The size of a file, following a link to it; false for a link to a folder,
// a broken link, or a file that is gone.
bool FileSize(const fs::directory_entry& entry, bool link, uint64_t& size) {
    struct stat info {};
    if (::stat(entry.path().c_str(), &info) != 0)
        return false;
    if (link && S_ISDIR(info.st_mode))
        return false;
    size = static_cast<uint64_t>(info.st_size);
    return true;
}

} // namespace

bool ScanFolder(const fs::path& folder, std::vector<NumberRow>& rows, ScanListener& listener) {
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    if (!listener.Scanning())
        return false;
    if (error)
        return true;
    std::vector<fs::path> subfolders;
    char digits[24];
    for (const fs::directory_iterator end; entries != end; entries.increment(error)) {
        const fs::directory_entry& entry = *entries;
        std::error_code typeError;
        const fs::file_status status = entry.symlink_status(typeError);
        if (typeError)
            continue;
        if (fs::is_directory(status)) {
            subfolders.push_back(entry.path());
            continue;
        }
        uint64_t size = 0;
        if (!FileSize(entry, fs::is_symlink(status), size))
            continue;
        const auto written = std::to_chars(digits, digits + sizeof digits, size);
        NumberRow& row = rows.emplace_back();
        row.name = entry.path().filename().native();
        row.value.assign(digits, written.ptr);
        listener.FileListed(entry.path());
        listener.LetMessagesRun();
        if (!listener.Scanning())
            return false;
    }
    for (const fs::path& subfolder : subfolders) {
        if (!ScanFolder(subfolder, rows, listener) || !listener.Scanning())
            return false;
        listener.LetMessagesRun();
    }
    return true;
}

} // namespace leadigit
