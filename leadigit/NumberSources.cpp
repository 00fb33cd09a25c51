#include "NumberSources.h"

#include "ByteFile.h"
#include "TextFile.h"

#include <charconv>
#include <new>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    if (!file.Open(path, kMaxDataFileBytes))
        return LoadOutcome::NotOpened;
    rows.clear();
    platform::LineReader lines(file);
    std::string line;
    NumberRow row;
    try {
        while (lines.ReadLine(line)) {
            if (ReadDataLine(line, row))
                rows.push_back(row);
        }
    } catch (const std::bad_alloc&) {
        // The size limit keeps the rows within reach; this is for a machine short of memory.
        std::vector<NumberRow>().swap(rows);
        return LoadOutcome::ReadFailed;
    }
    return lines.Failed() ? LoadOutcome::ReadFailed : LoadOutcome::Read;
}

namespace {

namespace fs = std::filesystem;

// A folder's entries as the system lists them, read through its descriptor so
// that no entry's path is looked up from the root again.
class FolderReader {
public:
    // A link to a folder is opened only when follow is set.
    FolderReader(const fs::path& folder, bool follow) {
        const int fd = ::open(folder.c_str(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC | (follow ? 0 : O_NOFOLLOW));
        if (fd >= 0) {
            dir_ = ::fdopendir(fd);
            if (dir_ == nullptr)
                ::close(fd);
        }
    }
    ~FolderReader() {
        if (dir_ != nullptr)
            ::closedir(dir_);
    }
    FolderReader(const FolderReader&) = delete;
    FolderReader& operator=(const FolderReader&) = delete;

    bool IsOpen() const { return dir_ != nullptr; }
    // The next entry other than "." and "..", or null at the end or on an error.
    const dirent* Next() {
        for (;;) {
            const dirent* entry = ::readdir(dir_);
            if (entry == nullptr)
                return nullptr;
            const char* n = entry->d_name;
            if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0)))
                continue;
            return entry;
        }
    }
    // The status of an entry, following a link when follow is set.
    bool Status(const char* name, bool follow, struct stat& info) const {
        return ::fstatat(::dirfd(dir_), name, &info, follow ? 0 : AT_SYMLINK_NOFOLLOW) == 0;
    }

private:
    DIR* dir_ = nullptr;
};

// The scan of one folder; the folder chosen may be a link, those found in it
// are not followed.
bool ScanTree(const fs::path& folder, bool chosen, std::vector<NumberRow>& rows,
              ScanListener& listener) {
    FolderReader reader(folder, chosen);
    if (!listener.Scanning())
        return false;
    if (!reader.IsOpen())
        return true;
    std::vector<std::string> subfolders;
    char digits[24];
    while (const dirent* entry = reader.Next()) {
        const char* name = entry->d_name;
        if (entry->d_type == DT_DIR) {
            subfolders.emplace_back(name);
            continue;
        }
        struct stat info {};
        // A link is listed as the file it leads to; a link to a folder is not followed.
        const bool link = entry->d_type == DT_LNK;
        if (!reader.Status(name, link, info))
            continue;
        if (S_ISDIR(info.st_mode)) {
            if (entry->d_type == DT_UNKNOWN)
                subfolders.emplace_back(name);
            continue;
        }
        if (S_ISLNK(info.st_mode) && (!reader.Status(name, true, info) || S_ISDIR(info.st_mode)))
            continue;
        const auto written =
            std::to_chars(digits, digits + sizeof digits, static_cast<uint64_t>(info.st_size));
        NumberRow& row = rows.emplace_back();
        row.name.assign(name);
        row.value.assign(digits, written.ptr);
        listener.FileListed(folder, name);
        listener.LetMessagesRun();
        if (!listener.Scanning())
            return false;
    }
    for (const std::string& subfolder : subfolders) {
        if (!ScanTree(folder / subfolder, false, rows, listener) || !listener.Scanning())
            return false;
        listener.LetMessagesRun();
    }
    return true;
}

} // namespace

bool ScanFolder(const fs::path& folder, std::vector<NumberRow>& rows, ScanListener& listener) {
    return ScanTree(folder, true, rows, listener);
}

} // namespace leadigit
