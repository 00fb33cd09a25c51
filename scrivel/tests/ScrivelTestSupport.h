#pragma once

// What the model tests share: the default settings, a progress that records and
// cancels on request, and counting a text.

#include "LetterStatistics.h"

#include <gtest/gtest.h>
#include <string_view>
#include <vector>

namespace scrivel {

inline CharacterSettings Defaults() {
    CharacterSettings s;
    s.SetDefaultCharacters();
    s.UpdateLookupTable();
    return s;
}

// Records the reports; answers false at the cancelAt-th Advance (never when 0).
struct TestProgress : AnalysisProgress {
    explicit TestProgress(int cancelAt = 0) : cancelAt(cancelAt) {}
    void Start(uint64_t maximum) override { starts.push_back(maximum); }
    bool Advance(uint64_t value) override {
        values.push_back(value);
        return static_cast<int>(values.size()) != cancelAt;
    }
    int cancelAt;
    std::vector<uint64_t> starts;
    std::vector<uint64_t> values;
};

inline std::span<const uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

inline LetterStatistics Counted(std::string_view text, const CharacterSettings& settings) {
    LetterStatistics stats;
    stats.ResizeCounts(settings.All());
    TestProgress progress;
    EXPECT_EQ(stats.CountText(Bytes(text), settings, progress), AnalysisOutcome::Done);
    return stats;
}

} // namespace scrivel
