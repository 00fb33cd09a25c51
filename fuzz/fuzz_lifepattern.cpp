// A life pattern file of any content: read without fault, every cell inside
// the reported bounds, and what was read written out and read back the same.
#include "LifePatternFile.h"

#include <cstdint>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <utility>

namespace {

// Holds what a reader gives out the way the engine does: rule entries only
// within 0..n, both tables cleared by a new neighbour count.
class ModelTarget : public lifeboard::PatternTarget {
public:
    ModelTarget() { lifeboard::ApplyRuleLine(*this, "#N", neiCount); }
    void SetNeiCount(int16_t n) override {
        neiCount = n;
        rule = {};
    }
    void SetRuleS(int16_t k, int16_t value) override {
        if (k >= 0 && k <= neiCount && k <= lifeboard::kMaxNeiCount)
            rule.survival[k] = value != 0;
    }
    void SetRuleB(int16_t k, int16_t value) override {
        if (k >= 0 && k <= neiCount && k <= lifeboard::kMaxNeiCount)
            rule.birth[k] = value != 0;
    }
    void SetNegative() override { negative = true; }
    void SetCell(int32_t x, int32_t y) override {
        cells.emplace(x, y);
        anyCell = true;
    }

    int16_t neiCount = 8;
    lifeboard::RuleTables rule;
    bool negative = false;
    std::set<std::pair<int32_t, int32_t>> cells;
    bool anyCell = false;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    ModelTarget first;
    const lifeboard::PatternReadResult read = lifeboard::ReadPattern(in, first);
    if (first.anyCell && !read.bounds)
        std::abort();
    for (const auto& [x, y] : first.cells)
        if (x < read.bounds->minX || x > read.bounds->maxX || y < read.bounds->minY ||
            y > read.bounds->maxY)
            std::abort();
    if (read.bounds) {
        const lifeboard::LatticeKind lattice = lifeboard::LatticeOf(first.neiCount);
        (void)lifeboard::FitView(800, 600, 30, *read.bounds, lattice);
    }

    std::ostringstream out;
    auto next = first.cells.begin();
    const bool written = lifeboard::WritePattern(out, first.neiCount, first.negative, first.rule,
                                                 [&](int32_t& x, int32_t& y) {
                                                     if (next == first.cells.end())
                                                         return false;
                                                     x = next->first;
                                                     y = next->second;
                                                     ++next;
                                                     return true;
                                                 });
    if (!written)
        std::abort();
    std::istringstream back(out.str());
    ModelTarget second;
    if (lifeboard::ReadPattern(back, second).status != lifeboard::PatternStatus::kOk)
        std::abort();
    if (second.neiCount != first.neiCount || second.negative != first.negative ||
        second.rule != first.rule || second.cells != first.cells)
        std::abort();
    return 0;
}
