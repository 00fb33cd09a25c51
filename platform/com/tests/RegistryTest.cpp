#include "Registry.h"
#include "SafeReplace.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace com;

namespace {

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class RegistryStore : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    const std::filesystem::path dir_ =
        std::filesystem::temp_directory_path() /
        ("vt-registry-" + std::to_string(::getpid()) + "-" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    const std::string path_ = (dir_ / "registry").string();
};

} // namespace

TEST(RegistryTree, KeysAndValuesSurviveTheFile) {
    RegistryTree tree;
    RegKey& key = tree.CreatePath("CLSID\\{X}\\InprocServer32");
    key.SetValue("", RegValue::String("/a path/with \"quotes\" and \\ back\nslash"));
    key.SetValue("ThreadingModel", RegValue::String("Apartment"));
    key.SetValue("Flags", RegValue::Dword(0xDEADBEEF));
    tree.CreatePath("CLSID\\{X}\\Programmable");
    tree.CreatePath("Empty.Key");

    auto back = RegistryTree::Parse(tree.Serialize());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Serialize(), tree.Serialize());
    RegKey* read = back->FindPath("clsid\\{x}\\INPROCSERVER32");
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->DefaultString(), "/a path/with \"quotes\" and \\ back\nslash");
    EXPECT_EQ(*read->Value("threadingmodel"), RegValue::String("Apartment"));
    EXPECT_EQ(*read->Value("Flags"), RegValue::Dword(0xDEADBEEF));
    EXPECT_NE(back->FindPath("CLSID\\{X}\\Programmable"), nullptr);
    EXPECT_NE(back->FindPath("Empty.Key"), nullptr);
}

TEST(RegistryTree, CreateFindRemove) {
    RegistryTree tree;
    tree.CreatePath("A\\B\\C");
    EXPECT_EQ(&tree.CreatePath("a\\b"), tree.FindPath("A\\B"));
    EXPECT_EQ(tree.FindPath("A\\B")->Name(), "B");
    EXPECT_EQ(tree.FindPath("A\\X"), nullptr);
    EXPECT_TRUE(tree.RemovePath("A\\B"));
    EXPECT_EQ(tree.FindPath("A\\B\\C"), nullptr);
    EXPECT_NE(tree.FindPath("A"), nullptr);
    EXPECT_FALSE(tree.RemovePath("A\\B"));
    EXPECT_FALSE(tree.RemovePath(""));
}

TEST(RegistryTree, DamagedTextIsRefused) {
    const std::string good = RegistryTree().Serialize();
    for (const std::string& text :
         {std::string(), std::string("garbage\n"),
          std::string("VERITOPE REGISTRY 1\n@=\"no key\"\n"),
          good + "[HKEY_CLASSES_ROOT\\A]\n@=\"unterminated\n",
          good + "[HKEY_CLASSES_ROOT\\A]\n\"n\"=dword:12\n", good + "[HKEY_LOCAL_MACHINE\\A]\n",
          good + "[HKEY_CLASSES_ROOT\\A\n", good + "[HKEY_CLASSES_ROOT\\A]\nx=\"y\"\n",
          good + "[HKEY_CLASSES_ROOT\\A]\n@=\"bad \\q escape\"\n"})
        EXPECT_FALSE(RegistryTree::Parse(text).has_value()) << text;
    // The root section alone, with Windows line ends, is fine.
    EXPECT_TRUE(RegistryTree::Parse("VERITOPE REGISTRY 1\r\n[HKEY_CLASSES_ROOT]\r\n"));
}

TEST_F(RegistryStore, UpdateWritesWholeFileAndMissingStoreIsEmpty) {
    const std::string path = (dir_ / "sub" / "registry").string();
    RegistryTree tree;
    ASSERT_EQ(registry::Read(path, tree), S_OK);
    EXPECT_TRUE(tree.Root().Subkeys().empty());

    const auto setK = [](RegistryTree& t) {
        t.CreatePath("K").SetValue("", RegValue::String("v"));
        return S_OK;
    };
    ASSERT_EQ(registry::Update(path, setK), S_OK);
    ASSERT_EQ(registry::Read(path, tree), S_OK);
    EXPECT_EQ(tree.FindPath("K")->DefaultString(), "v");

    // A failing change leaves the file as it was, and no temporary file behind.
    const std::string before = ReadAll(path);
    const auto failing = [](RegistryTree& t) {
        t.RemovePath("K");
        return E_FAIL;
    };
    EXPECT_EQ(registry::Update(path, failing), E_FAIL);
    EXPECT_EQ(ReadAll(path), before);
    // So does a write that fails on a full disk.
    {
        platform::SafeReplaceWriteLimit full(8);
        const auto removeK = [](RegistryTree& t) { return t.RemovePath("K"), S_OK; };
        EXPECT_EQ(registry::Update(path, removeK), REGDB_E_WRITEREGDB);
    }
    EXPECT_EQ(ReadAll(path), before);
    for (const auto& entry : std::filesystem::directory_iterator(dir_ / "sub")) {
        const auto name = entry.path().filename();
        EXPECT_TRUE(name == "registry" || name == "registry.lock") << entry.path();
    }
}

TEST_F(RegistryStore, DamagedStoreIsNeitherReadNorOverwritten) {
    std::ofstream(path_) << "not a registry";
    RegistryTree tree;
    EXPECT_EQ(registry::Read(path_, tree), REGDB_E_READREGDB);
    bool called = false;
    const auto change = [&](RegistryTree&) { return called = true, S_OK; };
    EXPECT_EQ(registry::Update(path_, change), REGDB_E_READREGDB);
    EXPECT_FALSE(called);
    EXPECT_EQ(ReadAll(path_), "not a registry");
}

TEST_F(RegistryStore, ConcurrentUpdatesFromProcessesAreNotLost) {
    constexpr int kWriters = 4, kEach = 25;
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            for (int i = 0; i < kEach; ++i) {
                const std::string name = "W" + std::to_string(w) + "_" + std::to_string(i);
                registry::Update(path_, [&](RegistryTree& t) { return t.CreatePath(name), S_OK; });
            }
            ::_exit(0);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    RegistryTree tree;
    ASSERT_EQ(registry::Read(path_, tree), S_OK);
    EXPECT_EQ(tree.Root().Subkeys().size(), std::size_t{kWriters * kEach});
}

TEST(RegistryPath, DefaultPlaceFollowsTheEnvironment) {
    const char* names[] = {"VERITOPE_REGISTRY", "XDG_CONFIG_HOME"};
    std::optional<std::string> saved[2];
    for (int i = 0; i < 2; ++i) {
        if (const char* value = std::getenv(names[i])) {
            saved[i] = value;
        }
    }
    ::setenv("VERITOPE_REGISTRY", "/somewhere/store", 1);
    EXPECT_EQ(registry::DefaultPath(), "/somewhere/store");
    ::unsetenv("VERITOPE_REGISTRY");
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(registry::DefaultPath(), "/cfg/veritope/registry");
    for (int i = 0; i < 2; ++i) {
        saved[i] ? ::setenv(names[i], saved[i]->c_str(), 1) : ::unsetenv(names[i]);
    }
}
