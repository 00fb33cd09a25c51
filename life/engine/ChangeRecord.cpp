#include "ChangeRecord.h"

namespace {

// Small steps either way as small numbers: 0, -1, 1, -2, ... as 0, 1, 2, 3, ...
uint32_t Fold(uint32_t step) {
    return (step << 1) ^ (0u - (step >> 31));
}
uint32_t Unfold(uint32_t folded) {
    return (folded >> 1) ^ (0u - (folded & 1));
}

// Seven bits a byte, lowest first; the high bit marks a byte that continues the
// number. The last byte of a number has it clear, so the byte before a number
// either ends the number before it or is the start of the packing.
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
    bytes_.clear();
    deaths_ = 0;
    births_ = 0;
    lastX_ = 0;
    lastY_ = 0;
    unchangedSteps = 0;
}

void ChangeRecord::Seal() {
    if (bytes_.capacity() > bytes_.size() + bytes_.size() / 8) {
        bytes_.shrink_to_fit();
    }
}

void ChangeRecord::Put(uint64_t v) {
    while (v >= 0x80) {
        bytes_.push_back(static_cast<uint8_t>(v | 0x80));
        v >>= 7;
    }
    bytes_.push_back(static_cast<uint8_t>(v));
}

// Each number holds its value above a flag bit: a step to another column is
// its x step, then its y step, both flagged; a step within the column is its
// y step alone, unflagged.
void ChangeRecord::Add(int32_t x, int32_t y) {
    const uint32_t dx = static_cast<uint32_t>(x) - lastX_;
    const uint32_t dy = static_cast<uint32_t>(y) - lastY_;
    lastX_ = static_cast<uint32_t>(x);
    lastY_ = static_cast<uint32_t>(y);
    if (dx != 0) {
        Put((uint64_t{Fold(dx)} << 1) | 1);
        Put((uint64_t{Fold(dy)} << 1) | 1);
    } else {
        Put(uint64_t{Fold(dy)} << 1);
    }
}

void ChangeReader::Backward(const ChangeRecord& record) {
    record_ = &record;
    backward_ = true;
    pos_ = record.bytes_.size();
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
    const uint8_t* bytes = record_->bytes_.data();
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
