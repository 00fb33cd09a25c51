#include "ChangeRecord.h"

#include <algorithm>
#include <bit>

namespace {

uint32_t Unfold(uint32_t folded) {
    return ChangeRecord::Unfold(folded);
}

// Numbers as ChangeRecord::Put writes them. The byte before a number either
// ends the number before it or is the start of the packing.
uint64_t ReadAt(const uint8_t* bytes, size_t& pos) {
    uint64_t v = 0;
    int shift = 0;
    for (;;) {
        const uint8_t b = bytes[pos++];
        v |= uint64_t{b & 0x7Fu} << shift;
        if ((b & 0x80) == 0) {
            return v;
        }
        shift += 7;
    }
}

uint64_t ReadBefore(const uint8_t* bytes, size_t& pos) {
    size_t start = pos - 1;
    while (start > 0 && (bytes[start - 1] & 0x80) != 0) {
        --start;
    }
    size_t at = start;
    const uint64_t v = ReadAt(bytes, at);
    pos = start;
    return v;
}

} // namespace

void ChangeRecord::Clear() {
    bytes_.reset();
    capacity_ = 0;
    Restart();
}

void ChangeRecord::Grow() {
    const size_t capacity = std::max(2 * capacity_, used_ + 4096);
    auto bytes = std::make_unique_for_overwrite<uint8_t[]>(capacity);
    std::copy(bytes_.get(), bytes_.get() + used_, bytes.get());
    bytes_ = std::move(bytes);
    capacity_ = capacity;
}

void ChangeRecord::Restart() {
    used_ = 0;
    deaths_ = 0;
    births_ = 0;
    lastX_ = 0;
    lastY_ = 0;
    unchangedSteps = 0;
}

ChangeRecord ChangeRecord::Copy() const {
    ChangeRecord out;
    if (used_ != 0) {
        out.bytes_ = std::make_unique_for_overwrite<uint8_t[]>(used_);
        std::copy(bytes_.get(), bytes_.get() + used_, out.bytes_.get());
    }
    out.used_ = used_;
    out.capacity_ = used_;
    out.deaths_ = deaths_;
    out.births_ = births_;
    out.lastX_ = lastX_;
    out.lastY_ = lastY_;
    out.unchangedSteps = unchangedSteps;
    return out;
}

void ChangeReader::Backward(const ChangeRecord& record) {
    record_ = &record;
    backward_ = true;
    pos_ = record.used_;
    index_ = 0;
    x_ = record.lastX_;
    y_ = record.lastY_;
}

void ChangeReader::Forward(const ChangeRecord& record) {
    record_ = &record;
    backward_ = false;
    pos_ = 0;
    index_ = 0;
    x_ = 0;
    y_ = 0;
}

bool ChangeReader::Next(int32_t& x, int32_t& y, int16_t& change) {
    if (record_ == nullptr || index_ == record_->Size()) {
        return false;
    }
    const uint8_t* bytes = record_->bytes_.get();
    const uint32_t deaths = record_->deaths_;
    if (backward_) {
        const uint32_t at = static_cast<uint32_t>(record_->Size()) - 1 - index_;
        x = static_cast<int32_t>(x_);
        y = static_cast<int32_t>(y_);
        change = at >= deaths ? 1 : -1;
        const uint64_t last = ReadBefore(bytes, pos_);
        y_ -= Unfold(static_cast<uint32_t>(last >> 1));
        if ((last & 1) != 0) {
            x_ -= Unfold(static_cast<uint32_t>(ReadBefore(bytes, pos_) >> 1));
        }
    } else {
        const uint64_t first = ReadAt(bytes, pos_);
        if ((first & 1) != 0) {
            x_ += Unfold(static_cast<uint32_t>(first >> 1));
            y_ += Unfold(static_cast<uint32_t>(ReadAt(bytes, pos_) >> 1));
        } else {
            y_ += Unfold(static_cast<uint32_t>(first >> 1));
        }
        x = static_cast<int32_t>(x_);
        y = static_cast<int32_t>(y_);
        change = index_ < deaths ? 1 : -1;
    }
    ++index_;
    return true;
}
