#include "ChangeRecord.h"

#include "ProcessorClones.h"

#include <algorithm>
#include <bit>
#include <cstring>

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

// A mask from its bytes at bytes and the span byte saying where they lie.
uint64_t Expand(const uint8_t* bytes, unsigned span) {
    const unsigned length = span >> 3;
    uint64_t v;
    std::memcpy(&v, bytes, 8);
    const uint64_t kept = length == 8 ? ~uint64_t{0} : (uint64_t{1} << (8 * length)) - 1;
    return (v & kept) << (8 * (span & 7));
}

struct Packed {
    uint8_t* placesEnd;
    uint8_t* masksEnd;
    uint64_t deaths;
    uint64_t births;
    uint32_t lastX;
    uint32_t lastTy;
};

// Within a column a word's place is its step up in tiles, unflagged; a word in
// another column has its x step, then its step in tiles, both flagged. The
// counts of cells use the popcount instruction, and the spans the bit scans
// and shifts of later processors, where the processor has them.
LIFE_CLONES_FOR_BIT_COUNTS Packed
Pack(const ChangeWord* words, size_t count, uint8_t* places, uint8_t* flags, uint8_t* masks) {
    uint32_t lastX = 0;
    uint32_t lastTy = 0;
    uint64_t deaths = 0;
    uint64_t births = 0;
    for (size_t i = 0; i < count; ++i) {
        const ChangeWord& w = words[i];
        const uint32_t x = static_cast<uint32_t>(w.x);
        const uint32_t ty = static_cast<uint32_t>(w.yBase >> 6);
        if (x != lastX) {
            places = ChangeRecord::Put(places, (uint64_t{ChangeRecord::Fold(x - lastX)} << 1) | 1);
            places = ChangeRecord::Put(places, (uint64_t{ChangeRecord::Fold(ty - lastTy)} << 1) | 1);
            lastX = x;
        } else {
            places = ChangeRecord::Put(places, uint64_t{ty - lastTy} << 1);
        }
        lastTy = ty;
        masks = ChangeRecord::PutSpans(masks, w.deaths, w.births, *flags++);
        deaths += static_cast<uint64_t>(std::popcount(w.deaths));
        births += static_cast<uint64_t>(std::popcount(w.births));
    }
    return Packed{places, masks, deaths, births, lastX, lastTy};
}

} // namespace

void ChangeRecord::Clear() {
    bytes_.reset();
    capacity_ = 0;
    Restart();
}

void ChangeRecord::Restart() {
    words_ = 0;
    placesEnd_ = 0;
    flagsAt_ = 0;
    masksAt_ = 0;
    masksEnd_ = 0;
    deaths_ = 0;
    births_ = 0;
    lastX_ = 0;
    lastTy_ = 0;
    unchangedSteps = 0;
}

// Room for the longest packing: ten bytes of places, one of spans and sixteen
// of masks a word, and the eight that the last mask's writing may pass its end.
void ChangeRecord::Write(const ChangeWord* words, size_t count) {
    Restart();
    const size_t need = 27 * count + 8;
    if (capacity_ < need) {
        const size_t capacity = std::max(need, capacity_ + capacity_ / 2);
        bytes_ = std::make_unique_for_overwrite<uint8_t[]>(capacity);
        capacity_ = capacity;
    }
    uint8_t* const start = bytes_.get();
    flagsAt_ = 10 * count;
    masksAt_ = 11 * count;
    const Packed packed = Pack(words, count, start, start + flagsAt_, start + masksAt_);
    words_ = count;
    placesEnd_ = static_cast<size_t>(packed.placesEnd - start);
    masksEnd_ = static_cast<size_t>(packed.masksEnd - start);
    deaths_ = static_cast<uint32_t>(packed.deaths);
    births_ = static_cast<uint32_t>(packed.births);
    lastX_ = packed.lastX;
    lastTy_ = packed.lastTy;
}

ChangeRecord ChangeRecord::Copy() const {
    ChangeRecord out;
    const size_t flagBytes = words_;
    const size_t maskBytes = masksEnd_ - masksAt_;
    const size_t size = placesEnd_ + flagBytes + maskBytes;
    if (size != 0) {
        out.bytes_ = std::make_unique_for_overwrite<uint8_t[]>(size + 8);
        std::fill(out.bytes_.get() + size, out.bytes_.get() + size + 8, 0);
        const uint8_t* from = bytes_.get();
        uint8_t* to = out.bytes_.get();
        std::copy(from, from + placesEnd_, to);
        std::copy(from + flagsAt_, from + flagsAt_ + flagBytes, to + placesEnd_);
        std::copy(from + masksAt_, from + masksEnd_, to + placesEnd_ + flagBytes);
    }
    out.capacity_ = size == 0 ? 0 : size + 8;
    out.words_ = words_;
    out.placesEnd_ = placesEnd_;
    out.flagsAt_ = placesEnd_;
    out.masksAt_ = placesEnd_ + flagBytes;
    out.masksEnd_ = size;
    out.deaths_ = deaths_;
    out.births_ = births_;
    out.lastX_ = lastX_;
    out.lastTy_ = lastTy_;
    out.unchangedSteps = unchangedSteps;
    return out;
}

void ChangeReader::Backward(const ChangeRecord& record) {
    record_ = &record;
    backward_ = true;
    pass_ = 0;
    StartPass();
}

void ChangeReader::Forward(const ChangeRecord& record) {
    record_ = &record;
    backward_ = false;
    pass_ = 0;
    StartPass();
}

void ChangeReader::StartPass() {
    word_ = 0;
    cells_ = 0;
    if (backward_) {
        place_ = record_->placesEnd_;
        masks_ = record_->masksEnd_;
        x_ = record_->lastX_;
        ty_ = record_->lastTy_;
    } else {
        place_ = 0;
        masks_ = record_->masksAt_;
        x_ = 0;
        ty_ = 0;
    }
}

// Backward, the place of the word before is that of the word just read less
// the word's step.
bool ChangeReader::NextWord() {
    const ChangeRecord& record = *record_;
    const uint8_t* bytes = record.bytes_.get();
    // The first pass gives births backward and deaths forward.
    const bool births = backward_ == (pass_ == 0);
    while (word_ < record.words_) {
        size_t k;
        if (backward_) {
            k = record.words_ - 1 - word_;
            if (word_ != 0) {
                const uint64_t last = ReadBefore(bytes, place_);
                if ((last & 1) != 0) {
                    ty_ -= Unfold(static_cast<uint32_t>(last >> 1));
                    x_ -= Unfold(static_cast<uint32_t>(ReadBefore(bytes, place_) >> 1));
                } else {
                    ty_ -= static_cast<uint32_t>(last >> 1);
                }
            }
        } else {
            k = word_;
            const uint64_t first = ReadAt(bytes, place_);
            if ((first & 1) != 0) {
                x_ += Unfold(static_cast<uint32_t>(first >> 1));
                ty_ += Unfold(static_cast<uint32_t>(ReadAt(bytes, place_) >> 1));
            } else {
                ty_ += static_cast<uint32_t>(first >> 1);
            }
        }
        ++word_;
        const unsigned span = bytes[record.flagsAt_ + k];
        const size_t maskBytes = span >> 3;
        const size_t wordBytes = 2 * maskBytes;
        if (backward_) {
            masks_ -= wordBytes;
        }
        cells_ = Expand(bytes + masks_ + (births ? maskBytes : 0), span);
        if (!backward_) {
            masks_ += wordBytes;
        }
        if (cells_ != 0) {
            return true;
        }
    }
    return false;
}

bool ChangeReader::Next(int32_t& x, int32_t& y, int16_t& change) {
    if (record_ == nullptr) {
        return false;
    }
    while (cells_ == 0 && !NextWord()) {
        if (pass_ == 1) {
            record_ = nullptr;
            return false;
        }
        pass_ = 1;
        StartPass();
    }
    int row;
    if (backward_) {
        row = 63 - std::countl_zero(cells_);
        cells_ &= ~(uint64_t{1} << row);
    } else {
        row = std::countr_zero(cells_);
        cells_ &= cells_ - 1;
    }
    x = static_cast<int32_t>(x_);
    y = static_cast<int32_t>((ty_ << 6) | static_cast<uint32_t>(row));
    change = (pass_ == 0) ? 1 : -1;
    return true;
}
