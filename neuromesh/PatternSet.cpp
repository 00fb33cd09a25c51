#include "PatternSet.h"

#include <algorithm>

namespace neuromesh {

bool PatternSet::ValidSizes(int categories, int samples, int points) {
    return categories >= 1 && categories <= kMaxCategories && samples >= kMinSamples &&
           samples <= kMaxSamples && points >= kMinPoints && points <= kMaxPoints;
}

PatternSet::PatternSet() {
    std::vector<std::string> names;
    for (char c = 'a'; c <= 'z'; ++c)
        names.emplace_back(1, c);
    Redefine(std::move(names), 3, 10);
}

bool PatternSet::Redefine(std::vector<std::string> names, int samples, int points) {
    if (!ValidSizes(int(std::min<size_t>(names.size(), kMaxCategories + 1)), samples, points))
        return false;
    for (std::string& name : names)
        if (name.size() > kMaxNameBytes)
            name.resize(kMaxNameBytes);
    patnames_ = std::move(names);
    patternnumber_ = samples;
    inputsize_ = points;
    pats_.assign(size_t(Slots()) * size_t(Components()), 0.0);
    return true;
}

void PatternSet::SetSample(int slot, std::span<const double> values) {
    std::copy_n(values.begin(), Components(), pats_.begin() + long(slot) * Components());
}

bool PatternSet::SlotEmpty(int slot) const {
    return std::ranges::all_of(Sample(slot), [](double v) { return v == 0; });
}

bool PatternSet::AnyEmpty() const {
    for (int slot = 0; slot < Slots(); ++slot)
        if (SlotEmpty(slot))
            return true;
    return false;
}

} // namespace neuromesh
