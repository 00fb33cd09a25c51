#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Where Leadigit's numbers come from: data files of name/value lines, and the
// sizes of all files below a folder. Every source gives rows of a name and a
// value text, kept byte for byte as read (Windows-1252); nothing is converted.

namespace leadigit {

struct NumberRow {
    std::string name;
    std::string value;

    bool operator==(const NumberRow&) const = default;
};

// One line of a data file, without its end: false for an empty line, which
// gives no row. A line without a tab is a value named "?"; otherwise the name
// is the text before the first tab and the value the text up to the second
// tab, and the rest is ignored.
bool ReadDataLine(std::string_view line, NumberRow& row);

enum class LoadOutcome {
    Read,       // the whole file is in rows
    NotOpened,  // rows are as they were
    ReadFailed, // rows hold the whole lines read before the failure
};

// The largest data file read, about 3 million rows of name and value; larger
// files, named pipes and devices are not opened.
constexpr uint64_t kMaxDataFileBytes = uint64_t{64} << 20;

// Reads the data file at path into rows, which are emptied only once the file
// has opened. Lines end at LF, a CR before it dropped. Rows that cannot be
// held in memory are all given back (ReadFailed, rows empty).
LoadOutcome LoadDataFile(const std::filesystem::path& path, std::vector<NumberRow>& rows);

// How a folder scan reports to its window and learns that it was stopped.
class ScanListener {
public:
    virtual ~ScanListener() = default;
    // The scan's flag; false stops the scan at its next look.
    virtual bool Scanning() = 0;
    // A row was just added for the file name in folder.
    virtual void FileListed(const std::filesystem::path& folder, std::string_view name) = 0;
    // Lets pending window messages run.
    virtual void LetMessagesRun() = 0;
};

// Adds a row per file below folder, named by the file's name and valued by its
// size in bytes as decimal text: each folder's own files in the order the file
// system lists them, then its subfolders the same way, depth first. Messages
// run after every file and every subfolder, and the flag is read after each.
// A folder or file that cannot be read is left out; a link to a file is
// listed with the size of the file, links to folders are not followed, so the
// scan always ends. True when the whole tree was listed,
// false when the scan was stopped.
bool ScanFolder(const std::filesystem::path& folder, std::vector<NumberRow>& rows,
                ScanListener& listener);

} // namespace leadigit
