// Bytes of any content, read as a language definition: taken exactly when every
// value it announces is there. The same bytes analysed as a text: totals that
// follow the letter count, and the definition written from them compared with
// the text again at a difference of exactly 0.
#include "CharacterSettings.h"
#include "LetterStatistics.h"

#include "FuzzScratch.h"

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using scrivel::CharacterSettings;
using scrivel::LetterStatistics;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

struct NeverCancel : scrivel::AnalysisProgress {
    void Start(uint64_t) override {}
    bool Advance(uint64_t) override { return true; }
};

const fs::path& Folder() { return fuzz::ScratchFolder("fuzz_scrivel_language"); }

// The default settings, and codes 32 to 95 each counted on its own.
const std::vector<CharacterSettings>& AllSettings() {
    static const std::vector<CharacterSettings> all = [] {
        CharacterSettings defaults;
        defaults.SetDefaultCharacters();
        defaults.UpdateLookupTable();
        CharacterSettings ascii;
        for (int c = 32; c < 96; ++c)
            ascii.SetCounts(c, true);
        ascii.UpdateLookupTable();
        return std::vector<CharacterSettings>{defaults, ascii};
    }();
    return all;
}

bool Complete(std::span<const uint8_t> bytes) {
    size_t pos = 0;
    for (int c = 0; c < scrivel::kCodes; ++c) {
        if (bytes.size() < pos + 8)
            return false;
        uint64_t bits = 0;
        for (int k = 7; k >= 0; --k)
            bits = bits << 8 | bytes[pos + k];
        pos += 8;
        if (std::bit_cast<double>(bits) > 0) {
            if (bytes.size() < pos + 2048)
                return false;
            pos += 2048;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    const fs::path definition = Folder() / "Self.scrivel";
    fs::remove(definition);
    for (const CharacterSettings& settings : AllSettings()) {
        LetterStatistics stats;
        stats.ResizeCounts(settings.All());
        Check(stats.ReadLanguage(bytes, settings) == Complete(bytes));
        Check(stats.LangLetter().size() == size_t(settings.All()));

        NeverCancel progress;
        Check(stats.AnalyzeText(bytes, settings, Folder(), progress) ==
              scrivel::AnalysisOutcome::Done);
        Check(stats.LangDiff() == std::vector<double>{-1.0});
        const double letters = stats.TotalLetters();
        Check(stats.TotalPairs() == (letters > 1 ? letters - 1 : 0));
        Check(stats.TotalTriplets() == (letters > 2 ? letters - 2 : 0));
        std::vector<uint8_t> written;
        if (!stats.LanguageDefinitionBytes(settings, written)) {
            Check(stats.TotalPairs() == 0);
            continue;
        }
        Check(Complete(written) && written.size() % 2048 == 0);
        std::ofstream(definition, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(written.data()),
                   static_cast<std::streamsize>(written.size()));
        Check(stats.AnalyzeText(bytes, settings, Folder(), progress) ==
              scrivel::AnalysisOutcome::Done);
        Check(stats.LangDiff() == std::vector<double>{0.0});
        Check(stats.LangName() == std::vector<std::string>{"Self"});
        fs::remove(definition);
    }
    return 0;
}
