#include "ByteFile.h"
#include "DigitCounts.h"
#include "NumberSources.h"
#include "OddFiles.h"

#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

namespace fs = std::filesystem;
using leadigit::NumberRow;

struct TempFolder {
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "leadigit-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
    }
    ~TempFolder() { fs::remove_all(path); }
    fs::path Write(const fs::path& relative, const std::string& bytes) const {
        fs::create_directories((path / relative).parent_path());
        std::ofstream(path / relative, std::ios::binary) << bytes;
        return path / relative;
    }
    fs::path path;
};

TEST(LeadingDigits, FirstSignificantDigitsAndTheirCounts) {
    const std::map<std::string, int> table = {
        {"0.00345", 3}, {"-7", 7}, {"  12", 1}, {"1,234", 1}, {"0,5", 5}, {"3.0E8", 3}, {"0", 0},
        {"0.000", 0},   {"-", 0},  {"", 0},     {"+5", 0},    {"abc", 0}, {"$10", 0},   {"--.,0 8", 8}};
    std::vector<NumberRow> rows;
    for (const auto& [text, digit] : table) {
        EXPECT_EQ(leadigit::FirstSignificantDigit(text), digit) << '"' << text << '"';
        rows.push_back({"", text});
    }
    leadigit::DigitCounts counts;
    counts.Count(rows);
    EXPECT_EQ(counts[0], 7);
    EXPECT_EQ(counts[1], 2);
    EXPECT_EQ(counts.StatusText(), "7 non-zero values");
    counts.Count({{"?", "abc"}, {"x", "0"}});
    EXPECT_EQ(counts[0], 2);
    EXPECT_EQ(counts.StatusText(), "No data");
}

TEST(DataFile, RowsByTabsAndAListKeptWhenTheFileDoesNotOpen) {
    TempFolder folder;
    const fs::path file = folder.Write(
        "data.txt", "Earth\r\n\r\n\na\t12\tx\r\n\t5\r\nname\t\r\nZ\xFCrich\t0,5\r\nlast\t3.0E8");
    std::vector<NumberRow> rows = {{"old", "1"}};
    EXPECT_EQ(leadigit::LoadDataFile(file, rows), leadigit::LoadOutcome::Read);
    const std::vector<NumberRow> expected = {{"?", "Earth"},          {"a", "12"},       {"", "5"},
                                             {"name", ""}, {"Z\xFCrich", "0,5"}, {"last", "3.0E8"}};
    EXPECT_EQ(rows, expected);
    for (const fs::path& bad : {folder.path / "missing.txt", folder.path}) {
        EXPECT_EQ(leadigit::LoadDataFile(bad, rows), leadigit::LoadOutcome::NotOpened);
        EXPECT_EQ(rows, expected);
    }
}

TEST(DataFile, PipesDevicesAndHugeFilesDoNotOpenAndAFailedReadKeepsOnlyWholeLines) {
    namespace odd = platform::oddfiles;
    const std::vector<NumberRow> before = {{"old", "1"}};
    std::vector<NumberRow> rows = before;
    const fs::path fifo = odd::MakeFifo("data.fifo");
    const fs::path huge = odd::MakeSparseFile("data-huge.txt", odd::kHugeSize);
    const fs::path over = odd::MakeSparseFile("data-over.txt", leadigit::kMaxDataFileBytes + 1);
    for (const fs::path& path : {fifo, fs::path("/dev/zero"), fs::path("/dev/urandom"), huge, over}) {
        EXPECT_EQ(leadigit::LoadDataFile(path, rows), leadigit::LoadOutcome::NotOpened) << path;
        EXPECT_EQ(rows, before) << path;
    }
    // The read fails after its first chunk, which ends inside a line.
    std::string text;
    size_t whole = 0;
    for (int k = 0; text.size() < 2 * platform::ByteReader::kBufferSize; ++k) {
        text += "n" + std::to_string(k) + "\t" + std::to_string(1000 + k) + "\r\n";
        whole += text.size() <= platform::ByteReader::kBufferSize;
    }
    ASSERT_NE(text[platform::ByteReader::kBufferSize - 1], '\n');
    std::ofstream(over, std::ios::binary | std::ios::trunc) << text;
    {
        const platform::ByteReaderReadLimit fault(platform::ByteReader::kBufferSize);
        EXPECT_EQ(leadigit::LoadDataFile(over, rows), leadigit::LoadOutcome::ReadFailed);
    }
    ASSERT_EQ(rows.size(), whole);
    EXPECT_EQ(rows.back(), (NumberRow{"n" + std::to_string(whole - 1), std::to_string(999 + whole)}));
    for (const fs::path& path : {fifo, huge, over})
        fs::remove(path);
}

TEST(DataFile, TheShippedFilesHoldOneCountedRowPerLine) {
    for (const char* name : {"Pop2000.txt", "Area.txt", "Constants.txt", "Companies.txt"}) {
        std::vector<NumberRow> rows;
        ASSERT_EQ(leadigit::LoadDataFile(fs::path(LEADIGIT_DATA_DIR) / name, rows),
                  leadigit::LoadOutcome::Read);
        EXPECT_GT(rows.size(), 90u) << name;
        std::set<std::string> names;
        for (const NumberRow& row : rows) {
            EXPECT_NE(leadigit::FirstSignificantDigit(row.value), 0) << name << ": " << row.value;
            names.insert(row.name);
        }
        EXPECT_EQ(names.size(), rows.size()) << name << " has a line without a name, or twice";
    }
}

// Stops the scan after a number of files, and runs an action on every file.
struct Listener : leadigit::ScanListener {
    bool Scanning() override { return scanning; }
    void FileListed(const fs::path& folder, std::string_view name) override {
        listed.push_back(folder / name);
        if (onFile)
            onFile();
        scanning = static_cast<int>(listed.size()) != stopAfter;
    }
    void LetMessagesRun() override { ++pumped; }

    bool scanning = true;
    int stopAfter = -1;
    int pumped = 0;
    std::vector<fs::path> listed;
    std::function<void()> onFile;
};

TEST(FolderScan, EachFoldersFilesComeBeforeItsSubfoldersWithTheirSizes) {
    TempFolder tree;
    tree.Write("empty", "");
    tree.Write("two-k", std::string(2048, 'x'));
    tree.Write("sub/inner", "abc");
    tree.Write("sub/deeper/leaf", std::string(12345, 'y'));
    tree.Write("zz/last", "1");
    std::vector<NumberRow> rows = {{"kept", "5"}};
    Listener listener;
    EXPECT_TRUE(leadigit::ScanFolder(tree.path, rows, listener));

    std::vector<std::string> names;
    for (const NumberRow& row : rows)
        names.push_back(row.name + "=" + row.value);
    EXPECT_EQ(std::set(names.begin() + 1, names.begin() + 3),
              (std::set<std::string>{"empty=0", "two-k=2048"}));
    const std::vector<std::string> sub = {"inner=3", "leaf=12345"};
    EXPECT_TRUE(names == (std::vector<std::string>{names[0], names[1], names[2], "last=1", sub[0], sub[1]}) ||
                names == (std::vector<std::string>{names[0], names[1], names[2], sub[0], sub[1], "last=1"}));
    EXPECT_EQ(listener.listed.front().parent_path(), tree.path);
    // After every file and every subfolder.
    EXPECT_EQ(listener.pumped, 5 + 3);

    for (int stopAfter : {1, 4}) {
        rows.clear();
        Listener stopping;
        stopping.stopAfter = stopAfter;
        EXPECT_FALSE(leadigit::ScanFolder(tree.path, rows, stopping));
        EXPECT_EQ(static_cast<int>(rows.size()), stopAfter);
    }
}

TEST(FolderScan, EndsOverLinkLoopsBrokenLinksAndVanishingFolders) {
    TempFolder tree;
    tree.Write("a/file", "12");
    tree.Write("a/sub/x", "3");
    tree.Write("gone/y", "4");
    tree.Write("top", "77");
    fs::create_directory_symlink(tree.path, tree.path / "a" / "loop");
    fs::create_directory_symlink("..", tree.path / "a" / "sub" / "up");
    fs::create_symlink("nowhere", tree.path / "broken");
    fs::create_symlink(tree.path / "a" / "file", tree.path / "a" / "to-file");
    std::vector<NumberRow> rows;
    Listener listener;
    // The first file listed takes away a folder the scan has not opened yet.
    listener.onFile = [&] { fs::remove_all(tree.path / "gone"); };
    EXPECT_TRUE(leadigit::ScanFolder(tree.path, rows, listener));
    std::map<std::string, std::string> found;
    for (const NumberRow& row : rows)
        found[row.name] = row.value;
    EXPECT_EQ(found, (std::map<std::string, std::string>{
                         {"top", "2"}, {"file", "2"}, {"to-file", "2"}, {"x", "1"}}));
    EXPECT_EQ(rows.size(), 4u);

    // The folder chosen may itself be a link.
    rows.clear();
    EXPECT_TRUE(leadigit::ScanFolder(tree.path / "a" / "loop", rows, listener));
    EXPECT_EQ(rows.size(), 4u);

    rows.clear();
    EXPECT_TRUE(leadigit::ScanFolder(tree.path / "missing", rows, listener));
    EXPECT_TRUE(leadigit::ScanFolder("", rows, listener));
    EXPECT_TRUE(rows.empty());
}

} // namespace
