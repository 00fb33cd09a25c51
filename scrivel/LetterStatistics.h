#pragma once

#include "CharacterSettings.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Scrivel's statistics of a text over the alphabet of the character settings:
// how often each character, each ordered pair and each ordered triplet of
// consecutive counted characters occurs, and how far the text lies from every
// language definition in a folder.
//
// The text is Windows-1252 bytes, one code per character. Characters that are not
// counted are skipped without breaking a sequence. Counts are whole numbers held
// as doubles; the arrays are row-major: PairCount(x, y) is at x * n + y and
// TripletCount(x, y, z) at (x * n + y) * n + z, n = Size().
//
// A language definition file holds little-endian 8-byte doubles only: for each
// code c from 0 to 255 its relative frequency F(c), and, only when F(c) > 0, the
// 256 relative frequencies of the pairs (c, d), d = 0 to 255. Codes that are alias
// members or not counted are written as 0. The files are named <language>.scrivel.
//
// The statistics do not follow the settings by themselves: ResizeCounts is called
// with the settings' All() whenever the alphabet was rebuilt.

namespace scrivel {

inline constexpr std::string_view kLanguageExtension = "scrivel";

// The largest text file loaded for analysis: its bytes are held and shown whole.
inline constexpr uint64_t kMaxTextFileBytes = uint64_t{64} << 20;

// Reads the text file at path whole into bytes; false, with bytes empty, for a
// file that cannot be read or holds more than kMaxTextFileBytes (a named pipe
// or a device is not opened).
bool ReadTextFile(const std::filesystem::path& path, std::string& bytes);

// What the analysis tells its window, and how the window cancels it.
class AnalysisProgress {
public:
    virtual ~AnalysisProgress() = default;
    // A new stage: the progress bar's maximum (0 leaves it as it was) and value 0.
    virtual void Start(uint64_t maximum) = 0;
    // Progress value; lets pending window messages run. False cancels the pass.
    virtual bool Advance(uint64_t value) = 0;
};

enum class AnalysisOutcome { Done, Cancelled };

// Each code's alphabet index by the fixed rule (Char2Ind(IsAlias(c)) when
// Counts(c)), or -1; indexes not below size are -1 too.
std::array<int16_t, kCodes> ByteToIndex(const CharacterSettings& settings, int size);

class LetterStatistics {
public:
    LetterStatistics();

    // --- counts ------------------------------------------------------------------
    // Recreates the three arrays zeroed with n = size (0 or more) per dimension.
    void ResizeCounts(int size);
    void ClearCounts();
    int Size() const { return n_; }

    double LetterCount(int x) const { return letters_[x]; }
    double PairCount(int x, int y) const { return pairs_[Flat(x, y)]; }
    double TripletCount(int x, int y, int z) const { return triplets_[Flat(Flat(x, y), z)]; }
    std::span<const double> LetterCounts() const { return letters_; }
    std::span<const double> PairCounts() const { return pairs_; }
    std::span<const double> TripletCounts() const { return triplets_; }
    double TotalLetters() const { return totalLetters_; }
    double TotalPairs() const { return totalPairs_; }
    double TotalTriplets() const { return totalTriplets_; }

    // --- the analysis -------------------------------------------------------------
    // The whole pass: CountText, then CompareLanguages over folder. Cancelled when
    // the window cancelled either; the statistics are then not to be shown.
    AnalysisOutcome AnalyzeText(std::span<const uint8_t> text, const CharacterSettings& settings,
                                const std::filesystem::path& folder, AnalysisProgress& progress);

    // Zeroes and fills the counts, reporting every 100 characters. The totals are
    // set only when the count was not cancelled (they keep the previous pass's).
    AnalysisOutcome CountText(std::span<const uint8_t> text, const CharacterSettings& settings,
                              AnalysisProgress& progress);

    // Compares the counts with every definition in folder, in file-name order,
    // reporting after each. A file that cannot be read or is shorter than its
    // values announce is left out. Without any definition read, LangDiff() is the
    // single value -1 and the languages keep the earlier ones.
    AnalysisOutcome CompareLanguages(const std::filesystem::path& folder,
                                     const CharacterSettings& settings,
                                     AnalysisProgress& progress);

    // --- language definitions -----------------------------------------------------
    // Reads a definition into LangLetter and LangPair under settings (stored codes
    // that are members now add into their head, uncounted ones are dropped); false,
    // with both arrays zeroed, when the file cannot be read or is short.
    bool LoadLanguage(const std::filesystem::path& path, const CharacterSettings& settings);
    bool ReadLanguage(std::span<const uint8_t> bytes, const CharacterSettings& settings);
    std::span<const double> LangLetter() const { return langLetter_; }
    std::span<const double> LangPair() const { return langPair_; }

    // Entry i of LetterDiff, PairDiff and LangDiff (which have more than i
    // entries): the sums of the squared differences between the counts' relative
    // frequencies and LangLetter, LangPair, and their sum. No root is taken. All
    // three are 1.0 when the text has no counted pair.
    void CompareLanguage(size_t i);

    // The definition file of the counts, codes 0 to 255; false when the text has
    // no counted letter or no pair (the frequencies would divide by zero).
    bool LanguageDefinitionBytes(const CharacterSettings& settings,
                                 std::vector<uint8_t>& bytes) const;

    // --- the comparison's results ---------------------------------------------------
    // One entry per language of the last comparison that read any; LangDiff is
    // the single value -1 when it read none (the others then keep earlier entries).
    // LangName: the file name without ".scrivel", bytes as the folder holds them.
    const std::vector<double>& LangDiff() const { return langDiff_; }
    const std::vector<double>& LetterDiff() const { return letterDiff_; }
    const std::vector<double>& PairDiff() const { return pairDiff_; }
    const std::vector<std::string>& LangName() const { return langName_; }

private:
    size_t Flat(int x, int y) const { return static_cast<size_t>(x) * n_ + y; }

    int n_ = 0;
    std::vector<double> letters_;
    std::vector<double> pairs_;
    std::vector<double> triplets_;
    double totalLetters_ = 0;
    double totalPairs_ = 0;
    double totalTriplets_ = 0;
    std::vector<double> langLetter_;
    std::vector<double> langPair_;
    std::vector<double> langDiff_{-1.0};
    std::vector<double> letterDiff_;
    std::vector<double> pairDiff_;
    std::vector<std::string> langName_;
};

} // namespace scrivel
