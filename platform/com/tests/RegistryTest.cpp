#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "Registry.h"

using namespace com;

namespace {

std::filesystem::path TempDir() {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("vt-registry-" + std::to_string(::getpid()) + "-" +
                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

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
         {std::string(), std::string("garbage\n"), std::string("VERITOPE REGISTRY 1\n@=\"no key\"\n"),
          good + "[HKEY_CLASSES_ROOT\\A]\n@=\"unterminated\n",
          good + "[HKEY_CLASSES_ROOT\\A]\n\"n\"=dword:12\n", good + "[HKEY_LOCAL_MACHINE\\A]\n",
          good + "[HKEY_CLASSES_ROOT\\A\n", good + "[HKEY_CLASSES_ROOT\\A]\nx=\"y\"\n",
          good + "[HKEY_CLASSES_ROOT\\A]\n@=\"bad \\q escape\"\n"})
        EXPECT_FALSE(RegistryTree::Parse(text).has_value()) << text;
    // The root section alone, with Windows line ends, is fine.
    EXPECT_TRUE(RegistryTree::Parse("VERITOPE REGISTRY 1\r\n[HKEY_CLASSES_ROOT]\r\n"));
}

TEST(RegistryStore, UpdateWritesWholeFileAndMissingStoreIsEmpty) {
    const auto dir = TempDir();
    const std::string path = (dir / "sub" / "registry").string();
    RegistryTree tree;
    ASSERT_EQ(registry::Read(path, tree), S_OK);
    EXPECT_TRUE(tree.Root().Subkeys().empty());

    ASSERT_EQ(registry::Update(path,
                               [](RegistryTree& t) {
                                   t.CreatePath("K").SetValue("", RegValue::String("v"));
                                   return S_OK;
                               }),
              S_OK);
    ASSERT_EQ(registry::Read(path, tree), S_OK);
    EXPECT_EQ(tree.FindPath("K")->DefaultString(), "v");

    // A failing change leaves the file as it was.
    const std::string before = ReadAll(path);
    EXPECT_EQ(registry::Update(path,
                               [](RegistryTree& t) {
                                   t.RemovePath("K");
                                   return E_FAIL;
                               }),
              E_FAIL);
    EXPECT_EQ(ReadAll(path), before);
    // No temporary file is left behind.
    for (const auto& entry : std::filesystem::directory_iterator(dir / "sub"))
        EXPECT_TRUE(entry.path().filename() == "registry" ||
                    entry.path().filename() == "registry.lock")
            << entry.path();
    std::filesystem::remove_all(dir);
}

TEST(RegistryStore, DamagedStoreIsNeitherReadNorOverwritten) {
    const auto dir = TempDir();
    const std::string path = (dir / "registry").string();
    std::ofstream(path) << "not a registry";
    RegistryTree tree;
    EXPECT_EQ(registry::Read(path, tree), REGDB_E_READREGDB);
    bool called = false;
    EXPECT_EQ(registry::Update(path,
                               [&](RegistryTree&) {
                                   called = true;
                                   return S_OK;
                               }),
              REGDB_E_READREGDB);
    EXPECT_FALSE(called);
    EXPECT_EQ(ReadAll(path), "not a registry");
    std::filesystem::remove_all(dir);
}

TEST(RegistryStore, ConcurrentUpdatesFromProcessesAreNotLost) {
    const auto dir = TempDir();
    const std::string path = (dir / "registry").string();
    constexpr int kWriters = 4;
    constexpr int kEach = 25;
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            for (int i = 0; i < kEach; ++i) {
                const std::string name = "W" + std::to_string(w) + "_" + std::to_string(i);
                registry::Update(path, [&](RegistryTree& t) {
                    t.CreatePath(name);
                    return S_OK;
                });
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
    ASSERT_EQ(registry::Read(path, tree), S_OK);
    EXPECT_EQ(tree.Root().Subkeys().size(), std::size_t{kWriters * kEach});
    std::filesystem::remove_all(dir);
}

TEST(RegistryStore, DefaultPlaceFollowsTheEnvironment) {
    const char* saved = std::getenv("VERITOPE_REGISTRY");
    const std::string keep = saved ? saved : "";
    ::setenv("VERITOPE_REGISTRY", "/somewhere/store", 1);
    EXPECT_EQ(registry::DefaultPath(), "/somewhere/store");
    ::unsetenv("VERITOPE_REGISTRY");
    const char* savedXdg = std::getenv("XDG_CONFIG_HOME");
    const std::string keepXdg = savedXdg ? savedXdg : "";
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(registry::DefaultPath(), "/cfg/veritope/registry");
    if (savedXdg)
        ::setenv("XDG_CONFIG_HOME", keepXdg.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
    if (saved)
        ::setenv("VERITOPE_REGISTRY", keep.c_str(), 1);
}
