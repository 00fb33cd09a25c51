#pragma once

#include <span>
#include <string>
#include <vector>

// The pattern store: named categories, each with the same number of sample
// slots, each slot one normalised stroke of inputsize points stored as 2 ×
// inputsize components x0, y0, x1, y1, ... Slots are numbered category by
// category; slot s belongs to category s / patternnumber. A slot whose
// components are all exactly 0 is empty; empty slots still take part in the
// error and in training.
//
// Names are kept as the bytes of their text in the Windows-1252 code page, at
// most kMaxNameBytes of them (what a pattern file record holds).

namespace neuromesh {

class PatternSet {
public:
    static constexpr int kMaxCategories = 32767;
    static constexpr int kMinSamples = 1;
    static constexpr int kMaxSamples = 8;
    static constexpr int kMinPoints = 2;
    static constexpr int kMaxPoints = 20;
    static constexpr size_t kMaxNameBytes = 32767;

    // 1 to kMaxCategories categories, kMinSamples to kMaxSamples samples per
    // category, kMinPoints to kMaxPoints points per stroke.
    static bool ValidSizes(int categories, int samples, int points);

    // The set at start-up: the 26 categories "a" to "z", 3 samples per
    // category, 10 points per stroke, every slot empty.
    PatternSet();

    // Every slot empty, with these names (longer ones cut to kMaxNameBytes)
    // and sizes; false, changing nothing, when the sizes are not valid.
    bool Redefine(std::vector<std::string> names, int samples, int points);

    int pattypes() const { return int(patnames_.size()); }
    int patternnumber() const { return patternnumber_; }
    int inputsize() const { return inputsize_; }
    const std::vector<std::string>& patnames() const { return patnames_; }

    int Slots() const { return pattypes() * patternnumber_; }
    int Components() const { return 2 * inputsize_; }
    int CategoryOf(int slot) const { return slot / patternnumber_; }
    // The slot after slot, slot 0 after the last.
    int NextSlot(int slot) const { return slot + 1 < Slots() ? slot + 1 : 0; }

    double GetPats(int sample, int component) const {
        return pats_[size_t(sample) * size_t(Components()) + size_t(component)];
    }
    std::span<const double> Sample(int slot) const {
        return std::span(pats_).subspan(size_t(slot) * size_t(Components()), size_t(Components()));
    }
    // Stores Components() values as the slot's sample.
    void SetSample(int slot, std::span<const double> values);
    bool SlotEmpty(int slot) const;
    bool AnyEmpty() const;

    bool operator==(const PatternSet&) const = default;

private:
    std::vector<std::string> patnames_;
    int patternnumber_ = 3;
    int inputsize_ = 10;
    std::vector<double> pats_; // Slots() × Components(), slot after slot
};

} // namespace neuromesh
