#include "DigitCounts.h"
#include "NumberSources.h"

#include <cstdlib>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;
using leadigit::NumberRow;

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "leadigit-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& Path() const { return path_; }
    fs::path Write(const fs::path& relative, const std::string& bytes) const {
        const fs::path file = path_ / relative;
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }

private:
    fs::path path_;
};

TEST(LeadingDigits, FirstSignificantDigitOfValueTexts) {
    const std::map<std::string, int> table = {
        {"0.00345", 3}, {"-7", 7}, {"  12", 1}, {"1,234", 1}, {"0,5", 5}, {"3.0E8", 3},
        {"0", 0}, {"0.000", 0}, {"-", 0}, {"", 0}, {"+5", 0}, {"abc", 0}, {"$10", 0},
        {"9", 9}, {"000", 0}, {"--.,0 8", 8}, {"0 x", 0}};
    for (const auto& [text, digit] : table)
        EXPECT_EQ(leadigit::FirstSignificantDigit(text), digit) << '"' << text << '"';
}

TEST(LeadingDigits, ValuesWithoutADigitAreCountedApartFromTheTotal) {
    leadigit::DigitCounts counts;
    counts.Count({{"?", "abc"}, {"x", "0"}, {"y", ""}});
    EXPECT_EQ(counts[0], 3);
    EXPECT_EQ(counts.Total(), 0);
    EXPECT_EQ(counts.StatusText(), "No data");

    counts.Count({{"a", "12"}, {"b", "0.9"}, {"c", "-1"}, {"d", "+1"}});
    EXPECT_EQ(counts[1], 2);
    EXPECT_EQ(counts[9], 1);
    EXPECT_EQ(counts[0], 1);
    EXPECT_EQ(counts.Total(), 3);
    EXPECT_EQ(counts.StatusText(), "3 non-zero values");
}

TEST(DataFile, LinesGiveRowsByTheirTabs) {
    const struct {
        const char* line;
        bool row;
        NumberRow expected;
    } lines[] = {
        {"Earth", true, {"?", "Earth"}},      {"a\t12\tx", true, {"a", "12"}},
        {"a\t12\tx\ty", true, {"a", "12"}},   {"\t5", true, {"", "5"}},
        {"name\t", true, {"name", ""}},       {"", false, {}},
        {" 7 ", true, {"?", " 7 "}},
    };
    for (const auto& l : lines) {
        NumberRow row;
        ASSERT_EQ(leadigit::ReadDataLine(l.line, row), l.row) << l.line;
        if (l.row) {
            EXPECT_EQ(row, l.expected) << l.line;
        }
    }
}

TEST(DataFile, LoadsRowsAndLeavesTheListWhenTheFileCannotOpen) {
    TempFolder folder;
    const fs::path file = folder.Write(
        "data.txt", "Earth\r\n\r\n\na\t12\tx\r\nZ\xFCrich\t0,5\r\nlast\t3.0E8");
    std::vector<NumberRow> rows = {{"old", "1"}};
    EXPECT_EQ(leadigit::LoadDataFile(file, rows), leadigit::LoadOutcome::Read);
    const std::vector<NumberRow> expected = {
        {"?", "Earth"}, {"a", "12"}, {"Z\xFCrich", "0,5"}, {"last", "3.0E8"}};
    EXPECT_EQ(rows, expected);

    for (const fs::path& bad : {folder.Path() / "missing.txt", folder.Path()}) {
        EXPECT_EQ(leadigit::LoadDataFile(bad, rows), leadigit::LoadOutcome::NotOpened);
        EXPECT_EQ(rows, expected);
    }
}

TEST(DataFile, TheShippedFilesHoldOneCountedRowPerLine) {
    for (const char* name : {"Pop2000.txt", "Area.txt", "Constants.txt", "Companies.txt"}) {
        std::vector<NumberRow> rows;
        ASSERT_EQ(leadigit::LoadDataFile(fs::path(LEADIGIT_DATA_DIR) / name, rows), leadigit::LoadOutcome::Read)
            << name;
        EXPECT_GT(rows.size(), 90u) << name;
        std::set<std::string> names;
        for (const NumberRow& row : rows) {
            EXPECT_NE(row.name, "?") << name;
            EXPECT_NE(leadigit::FirstSignificantDigit(row.value), 0) << name << ": " << row.value;
            names.insert(row.name);
        }
        EXPECT_EQ(names.size(), rows.size()) << name << " repeats a name";
    }
}

// Stops the scan after a number of files, and runs an action when a file is listed.
class Listener : public leadigit::ScanListener {
public:
    bool Scanning() override { return scanning; }
    void FileListed(const fs::path& folder, std::string_view name) override {
        const fs::path file = folder / name;
        listed.push_back(file);
        if (onFile)
            onFile(file);
        if (static_cast<int>(listed.size()) == stopAfter)
            scanning = false;
    }
    void LetMessagesRun() override { ++pumped; }

    bool scanning = true;
    int stopAfter = -1;
    int pumped = 0;
    std::vector<fs::path> listed;
    std::function<void(const fs::path&)> onFile;
};

TEST(FolderScan, ListsEachFoldersFilesBeforeItsSubfoldersWithTheirSizes) {
    TempFolder tree;
    tree.Write("empty.bin", "");
    tree.Write("two-k.bin", std::string(2048, 'x'));
    tree.Write("sub/inner.txt", "abc");
    tree.Write("sub/deeper/leaf", std::string(12345, 'y'));
    tree.Write("zz/last", "1");

    std::vector<NumberRow> rows = {{"kept", "5"}};
    Listener listener;
    EXPECT_TRUE(leadigit::ScanFolder(tree.Path(), rows, listener));
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0].name, "kept");
    // The top folder's two files first, in either order.
    const std::set<std::string> top = {rows[1].name, rows[2].name};
    EXPECT_EQ(top, (std::set<std::string>{"empty.bin", "two-k.bin"}));
    std::map<std::string, std::string> sizes;
    for (const NumberRow& row : rows)
        sizes[row.name] = row.value;
    EXPECT_EQ(sizes["empty.bin"], "0");
    EXPECT_EQ(sizes["two-k.bin"], "2048");
    EXPECT_EQ(sizes["leaf"], "12345");
    // "sub" is scanned whole, its files before "deeper", before or after "zz".
    const auto at = [&](const std::string& name) {
        return std::find_if(rows.begin(), rows.end(),
                            [&](const NumberRow& r) { return r.name == name; }) -
               rows.begin();
    };
    EXPECT_EQ(at("leaf"), at("inner.txt") + 1);
    EXPECT_TRUE(at("last") == 3 || at("last") == 5);

    leadigit::DigitCounts counts;
    counts.Count(rows);
    EXPECT_EQ(counts[0], 1);
    EXPECT_EQ(counts[2], 1);
    EXPECT_EQ(counts[1], 2);

    // Full paths are listed; messages run after every file and every subfolder.
    EXPECT_EQ(listener.listed.front().parent_path(), tree.Path());
    EXPECT_EQ(listener.pumped, 5 + 3);
}

TEST(FolderScan, StopKeepsTheRowsFoundSoFar) {
    TempFolder tree;
    for (int i = 0; i < 5; ++i)
        tree.Write("a/f" + std::to_string(i), std::string(i + 1, 'x'));
    tree.Write("b/g", "x");
    for (int stopAfter : {1, 3, 5}) {
        std::vector<NumberRow> rows;
        Listener listener;
        listener.stopAfter = stopAfter;
        EXPECT_FALSE(leadigit::ScanFolder(tree.Path(), rows, listener));
        EXPECT_EQ(static_cast<int>(rows.size()), stopAfter);
    }
    Listener stopped;
    stopped.scanning = false;
    std::vector<NumberRow> rows;
    EXPECT_FALSE(leadigit::ScanFolder(tree.Path(), rows, stopped));
    EXPECT_TRUE(rows.empty());
}

TEST(FolderScan, EndsOverLinkLoopsBrokenLinksAndVanishingFolders) {
    TempFolder tree;
    tree.Write("a/file", "12");
    tree.Write("a/sub/x", "3");
    tree.Write("gone/y", "4");
    tree.Write("gone/z/w", "5");
    fs::create_directory_symlink(tree.Path(), tree.Path() / "a" / "loop");
    fs::create_directory_symlink("..", tree.Path() / "a" / "sub" / "up");
    fs::create_symlink("nowhere", tree.Path() / "broken");
    fs::create_symlink(tree.Path() / "a" / "file", tree.Path() / "a" / "to-file");
    tree.Write("top", "77");

    std::vector<NumberRow> rows;
    Listener listener;
    // The first file listed takes away a folder the scan has not opened yet.
    listener.onFile = [&](const fs::path&) { fs::remove_all(tree.Path() / "gone"); };
    EXPECT_TRUE(leadigit::ScanFolder(tree.Path(), rows, listener));
    std::map<std::string, std::string> found;
    for (const NumberRow& row : rows)
        found[row.name] = row.value;
    const std::map<std::string, std::string> expected = {
        {"top", "2"}, {"file", "2"}, {"to-file", "2"}, {"x", "1"}};
    EXPECT_EQ(found, expected);
    EXPECT_EQ(rows.size(), 4u);

    // A folder that cannot be opened at all lists nothing and ends normally.
    rows.clear();
    EXPECT_TRUE(leadigit::ScanFolder(tree.Path() / "missing", rows, listener));
    EXPECT_TRUE(leadigit::ScanFolder("", rows, listener));
    EXPECT_TRUE(rows.empty());
}

} // namespace
