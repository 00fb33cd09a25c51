// A character settings file of any content: refused without a change, or read
// into settings that keep every link invariant, and written out and read back to
// the same bytes.
#include "CharacterSettings.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using scrivel::CharacterSettings;
using scrivel::kCodes;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void CheckLinks(const CharacterSettings& s) {
    for (int c = 0; c < kCodes; ++c) {
        const int next = s.NextAlias(c), prev = s.PrevAlias(c);
        Check(next >= -1 && next < kCodes && prev >= -1 && prev < kCodes);
        if (next >= 0)
            Check(s.PrevAlias(next) == c);
        if (prev >= 0)
            Check(s.NextAlias(prev) == c);
        // The way to the head is short (no cycle), and members count like it.
        int head = c, steps = 0;
        while (s.PrevAlias(head) >= 0 && steps++ < kCodes)
            head = s.PrevAlias(head);
        Check(steps < kCodes && s.IsAlias(c) == head);
        Check(s.Counts(c) == s.Counts(head));
    }
}

void CheckAlphabet(CharacterSettings& s) {
    s.UpdateLookupTable();
    Check(s.All() >= 0 && s.All() <= kCodes);
    for (int i = 0; i < s.All(); ++i)
        Check(s.Char2Ind(s.Ind2Char(i)) == i && s.PrevAlias(s.Ind2Char(i)) == -1);
    for (int c = 0; c < kCodes; ++c)
        Check(s.Char2Ind(c) == -1 || s.Ind2Char(s.Char2Ind(c)) == c);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CharacterSettings settings;
    settings.SetDefaultCharacters();
    const std::string before = settings.WriteSettingsFile();
    if (!settings.ReadSettingsFile(bytes)) {
        Check(settings.WriteSettingsFile() == before);
        return 0;
    }
    CheckLinks(settings);
    CheckAlphabet(settings);
    const std::string written = settings.WriteSettingsFile();
    CharacterSettings again;
    Check(again.ReadSettingsFile(written));
    Check(again.WriteSettingsFile() == written);
    return 0;
}
