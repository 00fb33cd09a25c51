#include "SafeReplace.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;
namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string Pattern(size_t size) {
    std::string text(size, '\0');
    for (size_t i = 0; i < size; ++i)
        text[i] = static_cast<char>(i * 7 + i / 251);
    return text;
}

class SafeReplaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("safe-replace-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::permissions(dir_, fs::perms(0755));
        target_ = dir_ / "pattern.lif";
        WriteText(target_, old_);
    }
    void TearDown() override {
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }

    // The old target byte for byte, and nothing left beside it.
    void ExpectUntouched() const {
        EXPECT_EQ(ReadAll(target_), old_);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 1) << "nothing left aside";
    }

    fs::path dir_;
    fs::path target_;
    const std::string old_ = "#Life 1.05\r\n*.*\r\n";
};

} // namespace

TEST_F(SafeReplaceTest, ReplacesWholeKeepingModeAndFollowingLinks) {
    fs::permissions(target_, fs::perms(0640));
    const std::string text = Pattern(3 * SafeReplace::kBufferSize + 17);
    {
        SafeReplace file(target_);
        ASSERT_TRUE(file.Ok());
        file.Write(text.substr(0, 10));
        for (size_t i = 10; i < 1000; ++i)
            file.WriteByte(static_cast<uint8_t>(text[i]));
        file.Write(text.substr(1000));
        EXPECT_EQ(ReadAll(target_), old_) << "the target changes only at the commit";
        EXPECT_TRUE(file.Commit());
    }
    EXPECT_EQ(ReadAll(target_), text);
    EXPECT_EQ(fs::status(target_).permissions(), fs::perms(0640));

    const fs::path link = dir_ / "link.lif";
    fs::create_symlink(target_, link);
    EXPECT_TRUE(ReplaceFileContents(link, std::string_view("new")));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadAll(target_), "new");

    const fs::path fresh = dir_ / "fresh.lif";
    EXPECT_TRUE(ReplaceFileContents(fresh, std::string_view("")));
    EXPECT_TRUE(fs::exists(fresh) && fs::file_size(fresh) == 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 3);
}

TEST_F(SafeReplaceTest, TargetOfTheLongestNameIsSaved) {
    const fs::path longest = dir_ / (std::string(251, 'n') + ".lif");
    ASSERT_EQ(longest.filename().string().size(), 255u);
    EXPECT_TRUE(ReplaceFileContents(longest, std::string_view("first")));
    EXPECT_TRUE(ReplaceFileContents(longest, std::string_view("second")));
    EXPECT_EQ(ReadAll(longest), "second");
    SafeReplace file(longest);
    EXPECT_TRUE(file.Ok());
    EXPECT_EQ(file.AsidePath().parent_path(), dir_);
    EXPECT_LT(file.AsidePath().filename().string().size(), 32u);
    file.Abandon();
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 2) << "nothing left aside";
}

// A read-only file is not replaced, by root either; it keeps its bytes and its mode.
TEST_F(SafeReplaceTest, ReadOnlyTargetIsRefused) {
    const fs::path link = dir_ / "link.lif";
    fs::create_symlink(target_, link);
    for (const unsigned mode : {0444u, 0400u, 0000u}) {
        fs::permissions(target_, fs::perms(mode));
        SafeReplace file(target_);
        EXPECT_FALSE(file.Ok()) << mode;
        EXPECT_TRUE(file.AsidePath().empty()) << mode;
        file.Write(std::string_view("new"));
        EXPECT_FALSE(file.Commit()) << mode;
        EXPECT_FALSE(ReplaceFileContents(link, std::string_view("new"))) << mode;
        EXPECT_EQ(fs::status(target_).permissions(), fs::perms(mode));
        fs::remove(link);
        ExpectUntouched();
        fs::create_symlink(target_, link);
    }
    fs::remove(link);
    // An ordinary user may not replace another's file that only its owner may
    // write, though the folder lets the user make files.
    if (::geteuid() == 0) {
        fs::permissions(target_, fs::perms(0644));
        fs::permissions(dir_, fs::perms(0777));
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            ::_exit(::setgid(65534) == 0 && ::setuid(65534) == 0 &&
                            !ReplaceFileContents(target_, std::string_view("new"))
                        ? 0
                        : 1);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        ExpectUntouched();
    }
}

TEST_F(SafeReplaceTest, WritableTargetKeepsItsOwner) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root may give a file to another user";
    fs::permissions(target_, fs::perms(0662));
    ASSERT_EQ(::chown(target_.c_str(), 65534, 65534), 0);
    EXPECT_TRUE(ReplaceFileContents(target_, std::string_view("new")));
    struct stat status {};
    ASSERT_EQ(::stat(target_.c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, 65534u);
    EXPECT_EQ(status.st_gid, 65534u);
    EXPECT_EQ(status.st_mode & 07777, 0662u);
    EXPECT_EQ(ReadAll(target_), "new");
}

TEST_F(SafeReplaceTest, WriteFailureLeavesTheTargetAsItWas) {
    const std::string text = Pattern(200000);
    for (uint64_t limit : {uint64_t(0), uint64_t(65536), uint64_t(text.size() - 1)}) {
        SafeReplaceWriteLimit full(limit);
        SafeReplace file(target_);
        file.Write(text);
        EXPECT_FALSE(file.Commit()) << limit;
        ExpectUntouched();
        EXPECT_FALSE(ReplaceFileContents(target_, text)) << limit;
        ExpectUntouched();
    }
    // A writer of its own reports its failure.
    SafeReplace file(target_);
    ASSERT_EQ(::write(file.Fd(), "x", 1), 1);
    file.Fail();
    EXPECT_FALSE(file.Commit());
    ExpectUntouched();
    // Nor is what is not a regular file.
    EXPECT_FALSE(ReplaceFileContents(dir_, std::string_view("abcd")));
    EXPECT_FALSE(ReplaceFileContents("/dev/null", std::string_view("abcd")));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    ExpectUntouched();
    // A target that did not exist is not created.
    SafeReplaceWriteLimit full(3);
    EXPECT_FALSE(ReplaceFileContents(dir_ / "other.lif", std::string_view("abcd")));
    ExpectUntouched();
}

TEST_F(SafeReplaceTest, CancelLeavesTheTargetAsItWas) {
    {
        SafeReplace file(target_);
        file.Write(Pattern(100000));
        file.Abandon();
        EXPECT_FALSE(file.Commit());
    }
    ExpectUntouched();
    {
        SafeReplace file(target_);
        file.Write(Pattern(100));
    } // never committed
    ExpectUntouched();
}

// The folder refuses new files while the target itself is writable. Root is
// not refused by permissions, so a child of the test drops to an ordinary user.
TEST_F(SafeReplaceTest, FolderWithoutRoomAsideFailsTheSave) {
    fs::permissions(target_, fs::perms(0666));
    fs::permissions(dir_, fs::perms(0555));
    const auto attempt = [this] {
        const bool targetWritable = ::access(target_.c_str(), W_OK) == 0;
        SafeReplace file(target_);
        file.Write(std::string_view("new"));
        return targetWritable && !file.Ok() && !file.Commit() && file.AsidePath().empty();
    };
    if (::geteuid() != 0) {
        EXPECT_TRUE(attempt());
    } else {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            ::_exit(::setgid(65534) == 0 && ::setuid(65534) == 0 && attempt() ? 0 : 1);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    ExpectUntouched();
}
