#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Which of the 256 single-byte codes (Windows-1252) take part in Scrivel's
// statistics, and which codes are folded together into one character.
//
// Each code has a counted flag and a place in at most one alias chain: a head
// followed by its members, linked both ways by NextAlias and PrevAlias. A code is
// free (no links), a head (PrevAlias -1, NextAlias >= 0) or a member
// (PrevAlias >= 0). Every operation keeps PrevAlias(NextAlias(c)) == c, one chain
// per code and no cycles; operations that would break them are refused.
//
// The alphabet is the counted heads and free codes in ascending code order,
// numbered 0 to All() - 1. It is rebuilt only by UpdateLookupTable, so edits in
// between do not change it. A character c of a text counts as alphabet index
// Char2Ind(IsAlias(c)) when Counts(c), and not at all otherwise.
//
// Codes and indexes outside 0..255 given to the queries answer -1 (or false).

namespace scrivel {

inline constexpr int kCodes = 256;

class CharacterSettings {
public:
    // Every code unchecked and free; an empty alphabet.
    CharacterSettings();

    // --- the alphabet ----------------------------------------------------------
    void UpdateLookupTable();
    int All() const { return all_; }
    int Ind2Char(int index) const;
    int Char2Ind(int code) const;

    // --- flags and chains --------------------------------------------------------
    // The code's own box: members are tested by their own flag too.
    bool Counts(int code) const;
    void SetCounts(int code, bool counted);
    // The head of the code's group; a head or a free code gives itself.
    int IsAlias(int code) const;
    int NextAlias(int code) const;
    int PrevAlias(int code) const;
    bool IsFree(int code) const;
    // The members of head's chain in order; empty for a free code or a member.
    std::vector<int> Members(int head) const;

    // Space with Tab, LF and CR; A to Z each with its lower-case letter; members
    // counted like their heads.
    void SetDefaultCharacters();

    // Gives every member of code's chain code's own flag (a click on a head's box).
    void CopyStateToChain(int code);
    // Gives every member its head's flag (the refresh of the groups).
    void CopyHeadStatesToMembers();

    // Moves the members of oldHead (a head or a free code) to newHead, a free
    // code, which frees oldHead. False, changing nothing, when the codes are not so.
    bool ChangeHead(int oldHead, int newHead);
    // Appends a free code other than head to the end of head's chain; head is a
    // head or a free code. False, changing nothing, otherwise.
    bool AddMember(int head, int code);
    // Takes a member out of its chain, which closes up behind it. False for a
    // head or a free code.
    bool RemoveMember(int code);
    // Frees every code of head's chain, head included.
    void RemoveGroup(int head);

    // --- the settings file -------------------------------------------------------
    // Line 1: 256 characters, "1" for a checked code and "0" otherwise, members
    // with their own flags. Then, for each head in ascending code order, its code
    // and each member's code in chain order, separated by Tabs. Every line ends in
    // CR LF.
    std::string WriteSettingsFile() const;

    // Reads a settings file; lines end in CR LF (a lone CR or LF is taken as a
    // line end too). A first line shorter than 256 characters leaves the rest
    // unchecked. Members then take their heads' flags. A file without a first
    // line, with an empty group line, a code outside 0..255, or a code named
    // twice among the group lines (two chains, a link to itself, a cycle) is
    // refused: false, and nothing changes. The alphabet is not rebuilt.
    bool ReadSettingsFile(std::string_view bytes);
    // The same of the file at path, read whole; false, changing nothing, also
    // for a file that cannot be read or holds more than kMaxSettingsFileBytes
    // (a named pipe or a device is not opened).
    bool LoadSettingsFile(const std::filesystem::path& path);
    static constexpr uint64_t kMaxSettingsFileBytes = 1 << 20;

    // The display label of a code: "[Tab]", "[CR]", "[LF]", "[Spc]", the
    // character itself for 33..126, else the code in decimal within brackets.
    static std::string char2string(int code);

private:
    static bool InRange(int code) { return code >= 0 && code < kCodes; }

    std::array<bool, kCodes> counted_{};
    std::array<int16_t, kCodes> nextAlias_{};
    std::array<int16_t, kCodes> prevAlias_{};
    std::array<int16_t, kCodes> indexToChar_{};
    std::array<int16_t, kCodes> charToIndex_{};
    int16_t all_ = 0;
};

} // namespace scrivel
