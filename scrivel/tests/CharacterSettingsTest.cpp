// Tests of the character settings: the default alphabet, the alias chains and
// their edits, the labels, and the settings file with its refusals.

#include "ByteFile.h"
#include "OddFiles.h"
#include "ScrivelTestSupport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace scrivel {
namespace {

// The alphabet index a text character gets: the head's index when the code counts.
int IndexOf(const CharacterSettings& s, int code) {
    return s.Counts(code) ? s.Char2Ind(s.IsAlias(code)) : -1;
}

// Flags, chains and alphabet, all of them, as one text.
std::string State(const CharacterSettings& s) {
    std::string text = s.WriteSettingsFile() + "|" + std::to_string(s.All()) + ":";
    for (int i = 0; i < kCodes; ++i)
        text += std::to_string(s.Ind2Char(i)) + ",";
    for (int c = 0; c < kCodes; ++c)
        text += std::to_string(s.PrevAlias(c)) + "/" + std::to_string(s.NextAlias(c)) + " ";
    return text;
}

TEST(CharacterSettings, DefaultAlphabetIsSpaceThenCapitals) {
    const CharacterSettings s = Defaults();
    EXPECT_EQ(s.All(), 27);
    EXPECT_EQ(s.Ind2Char(0), 32);
    for (int i = 1; i <= 26; ++i)
        EXPECT_EQ(s.Ind2Char(i), 'A' + i - 1);
    EXPECT_EQ(s.Ind2Char(27), -1);
    struct Case {
        int code;
        int index;
    };
    for (const Case c : {Case{' ', 0}, {'A', 1}, {'a', 1}, {'Z', 26}, {'z', 26}, {'\t', 0},
                         {'\n', 0}, {'\r', 0}, {'1', -1}, {0, -1}, {233, -1}})
        EXPECT_EQ(IndexOf(s, c.code), c.index) << c.code;
    EXPECT_EQ(s.Char2Ind('a'), -1); // members reach the alphabet only through their head
}

TEST(CharacterSettings, IsAliasGivesTheHeadOfTheGroup) {
    const CharacterSettings s = Defaults();
    for (const auto& [code, head] : {std::pair{13, 32}, {10, 32}, {9, 32}, {32, 32}, {49, 49},
                                    {'q', 'Q'}, {'Q', 'Q'}, {255, 255}})
        EXPECT_EQ(s.IsAlias(code), head) << code;
    EXPECT_EQ(s.Members(32), (std::vector<int>{9, 10, 13}));
    EXPECT_TRUE(s.Members(9).empty());
}

TEST(CharacterSettings, Labels) {
    for (const auto& [code, label] :
         {std::pair<int, std::string>{32, "[Spc]"}, {9, "[Tab]"}, {13, "[CR]"}, {10, "[LF]"},
          {33, "!"}, {65, "A"}, {126, "~"}, {127, "[127]"}, {0, "[0]"}, {233, "[233]"},
          {255, "[255]"}})
        EXPECT_EQ(CharacterSettings::char2string(code), label) << code;
}

TEST(CharacterSettings, UncheckedHeadKeepsItsMembersOut) {
    CharacterSettings s = Defaults();
    s.SetCounts('A', false); // the member a keeps its own box checked
    ASSERT_TRUE(s.Counts('a'));
    s.UpdateLookupTable();
    EXPECT_EQ(s.All(), 26);
    EXPECT_EQ(IndexOf(s, 'A'), -1);
    EXPECT_EQ(IndexOf(s, 'a'), -1);
    EXPECT_EQ(IndexOf(s, 'B'), 1);
    s.CopyHeadStatesToMembers();
    EXPECT_FALSE(s.Counts('a'));
}

TEST(CharacterSettings, ChainEditsKeepTheLinks) {
    CharacterSettings s = Defaults();
    EXPECT_TRUE(s.ChangeHead('A', '1')); // the digit 1 takes over a; A is free
    EXPECT_TRUE(s.IsFree('A'));
    EXPECT_EQ(s.IsAlias('a'), '1');
    EXPECT_FALSE(s.ChangeHead('1', 'a')); // a member never heads its own group
    EXPECT_FALSE(s.AddMember('1', 'B'));  // nor joins a second one
    EXPECT_TRUE(s.AddMember('1', 'A'));
    EXPECT_TRUE(s.AddMember('1', '!'));
    EXPECT_TRUE(s.RemoveMember('A')); // the chain closes up behind it
    EXPECT_EQ(s.Members('1'), (std::vector<int>{'a', '!'}));
    EXPECT_EQ(s.PrevAlias('!'), 'a');
    s.RemoveGroup('1');
    EXPECT_TRUE(s.IsFree('1') && s.IsFree('a') && s.IsFree('!'));
}

std::string DefaultFile() {
    std::string line(256, '0');
    for (const int position : {10, 11, 14, 33})
        line[position - 1] = '1';
    for (int position = 66; position <= 91; ++position)
        line[position - 1] = line[position + 32 - 1] = '1';
    std::string file = line + "\r\n32\t9\t10\t13\r\n";
    for (int c = 65; c <= 90; ++c)
        file += std::to_string(c) + "\t" + std::to_string(c + 32) + "\r\n";
    return file;
}

TEST(CharacterSettingsFile, DefaultsAreWrittenByteForByte) {
    EXPECT_EQ(Defaults().WriteSettingsFile(), DefaultFile());
}

TEST(CharacterSettingsFile, RoundTrips) {
    CharacterSettings edited = Defaults();
    edited.RemoveGroup('A');
    edited.ChangeHead('B', 200);
    edited.AddMember(200, 0);
    edited.AddMember(255, 'A');
    edited.SetCounts(255, true);
    edited.CopyHeadStatesToMembers();
    edited.UpdateLookupTable();
    for (const CharacterSettings& original : {Defaults(), edited}) {
        CharacterSettings read;
        ASSERT_TRUE(read.ReadSettingsFile(original.WriteSettingsFile()));
        read.UpdateLookupTable();
        EXPECT_EQ(State(read), State(original));
    }
}

TEST(CharacterSettingsFile, PipesDevicesHugeAndUnreadableFilesChangeNothing) {
    namespace odd = platform::oddfiles;
    CharacterSettings edited = Defaults();
    edited.RemoveGroup('A');
    const std::filesystem::path saved = odd::Scratch("settings.dat");
    std::ofstream(saved, std::ios::binary) << edited.WriteSettingsFile();
    const std::filesystem::path fifo = odd::MakeFifo("settings.fifo");
    const std::filesystem::path huge = odd::MakeSparseFile("settings-huge.dat", odd::kHugeSize);
    CharacterSettings s = Defaults();
    const std::string before = State(s);
    for (const std::filesystem::path& path : {fifo, std::filesystem::path("/dev/zero"), huge})
        EXPECT_FALSE(s.LoadSettingsFile(path)) << path;
    {
        const platform::ByteReaderReadLimit fault(300);
        EXPECT_FALSE(s.LoadSettingsFile(saved));
    }
    EXPECT_EQ(State(s), before);
    ASSERT_TRUE(s.LoadSettingsFile(saved));
    s.UpdateLookupTable();
    edited.UpdateLookupTable();
    EXPECT_EQ(State(s), State(edited));
    for (const auto& path : {saved, fifo, huge})
        std::filesystem::remove(path);
}

TEST(CharacterSettingsFile, AcceptedFiles) {
    struct Case {
        const char* what;
        std::string file;
        int all;      // alphabet size after loading
        int index97;  // index of "a" by the fixed rule
    };
    const std::string ones(256, '1');
    const Case cases[] = {
        {"short first line leaves the rest unchecked", "0000000001\r\n", 1, -1},
        {"members take their head's flag", std::string(65, '0') + "1\r\n65\t97\r\n", 1, 0},
        {"lines ended by LF", ones + "\n65\t97\n", 255, 65},
        {"numbers read like typed ones", ones + "\r\n 65x\t97.4\r\n", 255, 65},
    };
    for (const Case& c : cases) {
        CharacterSettings s = Defaults();
        ASSERT_TRUE(s.ReadSettingsFile(c.file)) << c.what;
        s.UpdateLookupTable();
        EXPECT_EQ(s.All(), c.all) << c.what;
        EXPECT_EQ(IndexOf(s, 'a'), c.index97) << c.what;
    }
}

TEST(CharacterSettingsFile, RefusedFilesChangeNothing) {
    const std::string line = std::string(256, '1') + "\r\n";
    const std::pair<const char*, std::string> cases[] = {
        {"empty file", ""},
        {"one code in two chains", line + "65\t97\r\n66\t97\r\n"},
        {"a code linked to itself", line + "65\t65\r\n"},
        {"a cycle", line + "65\t97\t66\r\n66\t65\r\n"},
        {"a code above 255", line + "65\t256\r\n"},
        {"a code beyond 16 bits", line + "65\t70000\r\n"},
        {"an empty line at the end", line + "65\t97\r\n\r\n"},
    };
    for (const auto& [what, file] : cases) {
        CharacterSettings s = Defaults();
        s.SetCounts('1', true);
        const std::string before = State(s);
        EXPECT_FALSE(s.ReadSettingsFile(file)) << what;
        EXPECT_EQ(State(s), before) << what;
    }
}

} // namespace
} // namespace scrivel
