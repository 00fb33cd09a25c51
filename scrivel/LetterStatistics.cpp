#include "LetterStatistics.h"

#include "ByteFile.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace scrivel {

namespace fs = std::filesystem;

namespace {

constexpr size_t kReportEvery = 100;
constexpr size_t kDoubleBytes = 8;
constexpr size_t kRowBytes = kCodes * kDoubleBytes;
// The longest definition: every code with its row of pairs.
constexpr size_t kMaxDefinitionBytes = kRowBytes + kCodes * kRowBytes;

double ReadDouble(const uint8_t* p) {
    uint64_t bits = 0;
    for (int k = 7; k >= 0; --k)
        bits = bits << 8 | p[k];
    return std::bit_cast<double>(bits);
}

void AppendDouble(std::vector<uint8_t>& out, double value) {
    uint64_t bits = std::bit_cast<uint64_t>(value);
    for (size_t k = 0; k < kDoubleBytes; ++k, bits >>= 8)
        out.push_back(static_cast<uint8_t>(bits & 0xFF));
}

bool IsDefinitionName(const fs::path& name) {
    const std::string ext = name.extension().string();
    if (ext.size() != kLanguageExtension.size() + 1 || ext[0] != '.')
        return false;
    for (size_t k = 0; k < kLanguageExtension.size(); ++k) {
        const char c = ext[k + 1];
        const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != kLanguageExtension[k])
            return false;
    }
    return true;
}

// The definition files of folder by file name; none when it cannot be listed.
std::vector<fs::path> ListDefinitions(const fs::path& folder) {
    std::vector<fs::path> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path name = it->path().filename();
        std::error_code kind;
        if (IsDefinitionName(name) && !it->is_directory(kind))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

std::array<int16_t, kCodes> ByteToIndex(const CharacterSettings& settings, int size) {
    std::array<int16_t, kCodes> table;
    for (int c = 0; c < kCodes; ++c) {
        const int x = settings.Counts(c) ? settings.Char2Ind(settings.IsAlias(c)) : -1;
        table[c] = static_cast<int16_t>(x < size ? x : -1);
    }
    return table;
}

LetterStatistics::LetterStatistics() = default;

void LetterStatistics::ResizeCounts(int size) {
    n_ = std::max(size, 0);
    const size_t n = static_cast<size_t>(n_);
    letters_.assign(n, 0.0);
    pairs_.assign(n * n, 0.0);
    triplets_.assign(n * n * n, 0.0);
    langLetter_.assign(n, 0.0);
    langPair_.assign(n * n, 0.0);
}

void LetterStatistics::ClearCounts() {
    std::fill(letters_.begin(), letters_.end(), 0.0);
    std::fill(pairs_.begin(), pairs_.end(), 0.0);
    std::fill(triplets_.begin(), triplets_.end(), 0.0);
}

AnalysisOutcome LetterStatistics::AnalyzeText(std::span<const uint8_t> text,
                                              const CharacterSettings& settings,
                                              const fs::path& folder, AnalysisProgress& progress) {
    if (CountText(text, settings, progress) == AnalysisOutcome::Cancelled)
        return AnalysisOutcome::Cancelled;
    return CompareLanguages(folder, settings, progress);
}

AnalysisOutcome LetterStatistics::CountText(std::span<const uint8_t> text,
                                            const CharacterSettings& settings,
                                            AnalysisProgress& progress) {
    ClearCounts();
    progress.Start(text.size());
    const std::array<int16_t, kCodes> table16 = ByteToIndex(settings, n_);
    std::array<int, kCodes> table;
    std::copy(table16.begin(), table16.end(), table.begin());

    const size_t n = static_cast<size_t>(n_);
    double* const letters = letters_.data();
    double* const pairs = pairs_.data();
    double* const triplets = triplets_.data();
    const uint8_t* const bytes = text.data();
    const size_t size = text.size();

    // pairRow is the row of the last counted character in the pair array, tripRow
    // the row of the last two in the triplet array (meaningful from the second on).
    size_t pairRow = 0, tripRow = 0;
    int seen = 0; // counted characters so far, up to 2
    size_t i = 0;
    while (i < size) {
        const size_t stop = std::min(size, i - i % kReportEvery + kReportEvery);
        for (; i < stop && seen < 2; ++i) {
            const int x = table[bytes[i]];
            if (x < 0)
                continue;
            if (seen == 1)
                pairs[pairRow + x] += 1;
            letters[x] += 1;
            tripRow = (pairRow + x) * n;
            pairRow = x * n;
            ++seen;
        }
        for (; i < stop; ++i) {
            const int x = table[bytes[i]];
            if (x < 0)
                continue;
            triplets[tripRow + x] += 1;
            pairs[pairRow + x] += 1;
            letters[x] += 1;
            tripRow = (pairRow + x) * n;
            pairRow = x * n;
        }
        if (i % kReportEvery == 0 && !progress.Advance(i))
            return AnalysisOutcome::Cancelled;
    }

    // Every counted character adds one letter, every one after the first a pair
    // and every one after the second a triplet: the arrays' sums, exactly.
    double total = 0;
    for (size_t x = 0; x < n; ++x)
        total += letters[x];
    totalLetters_ = total;
    totalPairs_ = std::max(total - 1, 0.0);
    totalTriplets_ = std::max(total - 2, 0.0);
    return AnalysisOutcome::Done;
}

AnalysisOutcome LetterStatistics::CompareLanguages(const fs::path& folder,
                                                   const CharacterSettings& settings,
                                                   AnalysisProgress& progress) {
    const std::vector<fs::path> names = ListDefinitions(folder);
    progress.Start(names.size());
    // Kept for a folder where no definition can be read.
    std::vector<double> letterDiff = std::move(letterDiff_);
    std::vector<double> pairDiff = std::move(pairDiff_);
    std::vector<std::string> langName = std::move(langName_);
    langDiff_.assign(names.size(), 0.0);
    letterDiff_.assign(names.size(), 0.0);
    pairDiff_.assign(names.size(), 0.0);
    langName_.assign(names.size(), std::string());

    AnalysisOutcome outcome = AnalysisOutcome::Done;
    size_t k = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        if (LoadLanguage(folder / names[i], settings)) {
            CompareLanguage(k);
            langName_[k] = names[i].stem().string();
            ++k;
        }
        if (!progress.Advance(i)) {
            outcome = AnalysisOutcome::Cancelled;
            break;
        }
    }
    if (k == 0) {
        langDiff_.assign(1, -1.0);
        letterDiff_ = std::move(letterDiff);
        pairDiff_ = std::move(pairDiff);
        langName_ = std::move(langName);
    } else {
        langDiff_.resize(k);
        letterDiff_.resize(k);
        pairDiff_.resize(k);
        langName_.resize(k);
    }
    return outcome;
}

void LetterStatistics::CompareLanguage(size_t i) {
    if (!(totalLetters_ > 0 && totalPairs_ > 0)) {
        letterDiff_[i] = pairDiff_[i] = langDiff_[i] = 1.0;
        return;
    }
    double letterDiff = 0;
    for (size_t x = 0; x < letters_.size(); ++x) {
        const double d = letters_[x] / totalLetters_ - langLetter_[x];
        letterDiff += d * d;
    }
    double pairDiff = 0;
    for (size_t xy = 0; xy < pairs_.size(); ++xy) {
        const double d = pairs_[xy] / totalPairs_ - langPair_[xy];
        pairDiff += d * d;
    }
    letterDiff_[i] = letterDiff;
    pairDiff_[i] = pairDiff;
    langDiff_[i] = letterDiff + pairDiff;
}

bool ReadTextFile(const fs::path& path, std::string& bytes) {
    return platform::ReadWholeFile(path, kMaxTextFileBytes, bytes);
}

bool LetterStatistics::LoadLanguage(const fs::path& path, const CharacterSettings& settings) {
    std::vector<uint8_t> bytes(kMaxDefinitionBytes);
    platform::ByteReader reader;
    size_t got = 0;
    if (reader.Open(path)) {
        got = reader.Read(bytes.data(), bytes.size());
        if (reader.Failed())
            got = 0;
    }
    bytes.resize(got);
    return ReadLanguage(bytes, settings);
}

bool LetterStatistics::ReadLanguage(std::span<const uint8_t> bytes,
                                    const CharacterSettings& settings) {
    const size_t n = static_cast<size_t>(n_);
    langLetter_.assign(n, 0.0);
    langPair_.assign(n * n, 0.0);
    const auto shortFile = [&] {
        langLetter_.assign(n, 0.0);
        langPair_.assign(n * n, 0.0);
        return false;
    };
    const std::array<int16_t, kCodes> table = ByteToIndex(settings, n_);
    size_t pos = 0;
    for (int c = 0; c < kCodes; ++c) {
        if (bytes.size() - pos < kDoubleBytes)
            return shortFile();
        const double f = ReadDouble(bytes.data() + pos);
        pos += kDoubleBytes;
        const int x = table[c];
        if (x >= 0)
            langLetter_[x] += f;
        if (!(f > 0))
            continue;
        if (bytes.size() - pos < kRowBytes)
            return shortFile();
        if (x >= 0) {
            double* const row = langPair_.data() + static_cast<size_t>(x) * n;
            for (int d = 0; d < kCodes; ++d)
                if (table[d] >= 0)
                    row[table[d]] += ReadDouble(bytes.data() + pos + d * kDoubleBytes);
        }
        pos += kRowBytes;
    }
    return true;
}

bool LetterStatistics::LanguageDefinitionBytes(const CharacterSettings& settings,
                                               std::vector<uint8_t>& bytes) const {
    bytes.clear();
    if (!(totalLetters_ > 0 && totalPairs_ > 0))
        return false;
    // The alphabet index of each code that is counted and its own head, else -1.
    std::array<int, kCodes> own;
    for (int c = 0; c < kCodes; ++c) {
        const int x = settings.Counts(c) && settings.IsAlias(c) == c ? settings.Char2Ind(c) : -1;
        own[c] = x < n_ ? x : -1;
    }
    const size_t n = static_cast<size_t>(n_);
    for (int c = 0; c < kCodes; ++c) {
        const double f = own[c] >= 0 ? letters_[own[c]] / totalLetters_ : 0.0;
        AppendDouble(bytes, f);
        if (!(f > 0))
            continue;
        const double* const row = pairs_.data() + static_cast<size_t>(own[c]) * n;
        for (int d = 0; d < kCodes; ++d)
            AppendDouble(bytes, own[d] >= 0 ? row[own[d]] / totalPairs_ : 0.0);
    }
    return true;
}

} // namespace scrivel
