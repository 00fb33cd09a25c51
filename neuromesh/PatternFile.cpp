#include "PatternFile.h"

#include "ByteFile.h"
#include "SafeReplace.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <string>

namespace neuromesh {

namespace {

class SpanSource {
public:
    explicit SpanSource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    bool Take(uint8_t* dest, size_t count) {
        if (count > Left())
            return false;
        std::memcpy(dest, bytes_.data() + at_, count);
        at_ += count;
        return true;
    }
    uint64_t Left() const { return bytes_.size() - at_; }
    bool Ended() const { return Left() == 0; }

private:
    std::span<const uint8_t> bytes_;
    size_t at_ = 0;
};

class FileSource {
public:
    explicit FileSource(platform::ByteReader& reader) : reader_(reader) {}
    bool Take(uint8_t* dest, size_t count) {
        if (count > Left() || reader_.Read(dest, count) != count)
            return false;
        taken_ += count;
        return true;
    }
    // By the size the file had when it was opened.
    uint64_t Left() const { return reader_.Size() - taken_; }
    bool Ended() const { return reader_.AtEnd() && !reader_.Failed(); }

private:
    platform::ByteReader& reader_;
    uint64_t taken_ = 0;
};

template <typename Source> bool TakeInt16(Source& in, int& value) {
    uint8_t b[2];
    if (!in.Take(b, 2))
        return false;
    value = int16_t(uint16_t(b[0] | b[1] << 8));
    return true;
}

// Reads everything into locals and builds the set only once all of it has
// been checked.
template <typename Source> std::optional<PatternSet> Parse(Source& in) {
    int categories = 0, samples = 0, points = 0;
    if (!TakeInt16(in, categories) || !TakeInt16(in, samples) || !TakeInt16(in, points) ||
        !PatternSet::ValidSizes(categories, samples, points))
        return std::nullopt;
    const uint64_t components = 2 * uint64_t(points);
    const uint64_t dataBytes = uint64_t(categories) * uint64_t(samples) * components * 8;
    std::vector<std::string> names(static_cast<size_t>(categories));
    for (std::string& name : names) {
        int tag = 0, length = 0;
        if (!TakeInt16(in, tag) || tag != kStringTag || !TakeInt16(in, length) || length < 0 ||
            uint64_t(length) > in.Left())
            return std::nullopt;
        name.resize(size_t(length));
        if (!in.Take(reinterpret_cast<uint8_t*>(name.data()), name.size()))
            return std::nullopt;
    }
    if (in.Left() != dataBytes)
        return std::nullopt;
    std::vector<double> values(size_t(dataBytes / 8));
    uint8_t raw[8];
    for (double& value : values) {
        if (!in.Take(raw, 8))
            return std::nullopt;
        uint64_t bits = 0;
        for (int k = 7; k >= 0; --k)
            bits = bits << 8 | raw[k];
        value = std::bit_cast<double>(bits);
        if (!std::isfinite(value))
            return std::nullopt;
    }
    if (!in.Ended())
        return std::nullopt;
    std::optional<PatternSet> set(std::in_place);
    set->Redefine(std::move(names), samples, points);
    for (int slot = 0; slot < set->Slots(); ++slot)
        set->SetSample(slot, std::span(values).subspan(size_t(slot) * components, components));
    return set;
}

void PutInt16(std::vector<uint8_t>& out, int value) {
    out.push_back(uint8_t(value & 0xFF));
    out.push_back(uint8_t((value >> 8) & 0xFF));
}

} // namespace

std::optional<PatternSet> ParsePatternFile(std::span<const uint8_t> bytes) {
    SpanSource in(bytes);
    return Parse(in);
}

std::vector<uint8_t> PatternFileBytes(const PatternSet& set) {
    std::vector<uint8_t> out;
    PutInt16(out, set.pattypes());
    PutInt16(out, set.patternnumber());
    PutInt16(out, set.inputsize());
    for (const std::string& name : set.patnames()) {
        PutInt16(out, kStringTag);
        PutInt16(out, int(name.size()));
        out.insert(out.end(), name.begin(), name.end());
    }
    for (int slot = 0; slot < set.Slots(); ++slot)
        for (const double value : set.Sample(slot)) {
            const uint64_t bits = std::bit_cast<uint64_t>(value);
            for (int k = 0; k < 8; ++k)
                out.push_back(uint8_t(bits >> (8 * k)));
        }
    return out;
}

std::optional<PatternSet> LoadPatternFile(const std::filesystem::path& path) {
    platform::ByteReader reader;
    if (!reader.Open(path))
        return std::nullopt;
    FileSource in(reader);
    return Parse(in);
}

bool SavePatternFile(const std::filesystem::path& path, const PatternSet& set) {
    return platform::ReplaceFileContents(path, PatternFileBytes(set));
}

} // namespace neuromesh
