#include "ListViewTexts.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace platform {

namespace {

constexpr uint32_t kWide = 0x80000000u;
// Rows share blocks of this many units; a row longer than a quarter of one
// gets a block of its own.
constexpr std::size_t kBlockUnits = std::size_t(1) << 16;
// Released room below this is not worth a compaction.
constexpr std::size_t kMinCompaction = std::size_t(64) << 10;

// A length is written in groups of 7 bits (bytes) or 15 bits (UTF-16 units),
// the lowest first, each but the last with its top bit set.
template <class Unit> constexpr int kLengthBits = int(sizeof(Unit)) * 8 - 1;
template <class Unit> constexpr std::size_t kMore = std::size_t(1) << kLengthBits<Unit>;

template <class Unit> std::size_t LengthUnits(std::size_t n) {
    std::size_t units = 1;
    while (n >>= kLengthBits<Unit>)
        ++units;
    return units;
}

template <class Unit> Unit* PutLength(Unit* p, std::size_t n) {
    for (; n >= kMore<Unit>; n >>= kLengthBits<Unit>)
        *p++ = Unit((n & (kMore<Unit> - 1)) | kMore<Unit>);
    *p++ = Unit(n);
    return p;
}

template <class Unit> std::size_t GetLength(const Unit*& p) {
    std::size_t n = 0;
    for (int shift = 0;; shift += kLengthBits<Unit>) {
        const std::size_t unit = *p++;
        n |= (unit & (kMore<Unit> - 1)) << shift;
        if ((unit & kMore<Unit>) == 0)
            return n;
    }
}

// Past `cells` texts from p.
template <class Unit> const Unit* Skip(const Unit* p, uint32_t cells) {
    for (uint32_t c = 0; c < cells; ++c) {
        const std::size_t n = GetLength(p);
        p += n;
    }
    return p;
}

bool FitsLatin1(const QStringList& texts) {
    char16_t all = 0;
    for (const QString& text : texts) {
        const char16_t* units = reinterpret_cast<const char16_t*>(text.utf16());
        for (qsizetype i = 0; i < text.size(); ++i)
            all |= units[i];
    }
    return all <= 0xFF;
}

} // namespace

template <class Unit> class ListViewTexts::Pool {
public:
    // Room for n units: the block and the offset in it.
    std::pair<uint32_t, uint32_t> Take(std::size_t n) {
        if (n > kBlockUnits / 4) {
            blocks_.push_back(NewBlock(n));
            blocks_.back().used = n;
            return {uint32_t(blocks_.size() - 1), 0};
        }
        if (filling_ == kNone || blocks_[filling_].capacity - blocks_[filling_].used < n) {
            blocks_.push_back(NewBlock(kBlockUnits));
            filling_ = blocks_.size() - 1;
        }
        Block& block = blocks_[filling_];
        const std::size_t at = block.used;
        block.used += n;
        return {uint32_t(filling_), uint32_t(at)};
    }

    Unit* At(uint32_t block, uint32_t offset) { return blocks_[block].units.get() + offset; }
    const Unit* At(uint32_t block, uint32_t offset) const {
        return blocks_[block].units.get() + offset;
    }

    std::size_t Bytes() const {
        std::size_t bytes = blocks_.capacity() * sizeof(Block);
        for (const Block& block : blocks_)
            bytes += block.capacity * sizeof(Unit);
        return bytes;
    }
    std::size_t UsedBytes() const {
        std::size_t bytes = 0;
        for (const Block& block : blocks_)
            bytes += block.used * sizeof(Unit);
        return bytes;
    }

private:
    struct Block {
        std::unique_ptr<Unit[]> units;
        std::size_t used = 0;
        std::size_t capacity = 0;
    };
    static constexpr std::size_t kNone = std::size_t(-1);

    static Block NewBlock(std::size_t n) { return {std::make_unique_for_overwrite<Unit[]>(n), 0, n}; }

    std::vector<Block> blocks_;
    std::size_t filling_ = kNone;
};

ListViewTexts::ListViewTexts()
    : narrow_(std::make_unique<Pool<unsigned char>>()), wide_(std::make_unique<Pool<char16_t>>()) {}

ListViewTexts::~ListViewTexts() = default;

QString ListViewTexts::Text::ToString() const {
    if (length == 0)
        return {};
    if (wide)
        return QString(static_cast<const QChar*>(units), qsizetype(length));
    return QString::fromLatin1(static_cast<const char*>(units), qsizetype(length));
}

int ListViewTexts::Compare(const Text& a, const Text& b) {
    const std::size_t n = std::min(a.length, b.length);
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t x = a[i], y = b[i];
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.length < b.length ? -1 : a.length > b.length ? 1 : 0;
}

ListViewTexts::Row ListViewTexts::Write(const QStringList& texts, int data) {
    Row row;
    row.cells = uint32_t(texts.size());
    row.data = data;
    if (FitsLatin1(texts)) {
        std::size_t units = 0;
        for (const QString& text : texts)
            units += LengthUnits<unsigned char>(std::size_t(text.size())) + std::size_t(text.size());
        const auto [block, offset] = narrow_->Take(units);
        unsigned char* p = narrow_->At(block, offset);
        for (const QString& text : texts) {
            p = PutLength(p, std::size_t(text.size()));
            const char16_t* units = reinterpret_cast<const char16_t*>(text.utf16());
            for (qsizetype i = 0; i < text.size(); ++i)
                p[i] = static_cast<unsigned char>(units[i]);
            p += text.size();
        }
        row.block = block;
        row.offset = offset;
    } else {
        std::size_t units = 0;
        for (const QString& text : texts)
            units += LengthUnits<char16_t>(std::size_t(text.size())) + std::size_t(text.size());
        const auto [block, offset] = wide_->Take(units);
        char16_t* p = wide_->At(block, offset);
        for (const QString& text : texts) {
            p = PutLength(p, std::size_t(text.size()));
            std::memcpy(p, text.utf16(), std::size_t(text.size()) * sizeof(char16_t));
            p += text.size();
        }
        row.block = block | kWide;
        row.offset = offset;
    }
    return row;
}

const void* ListViewTexts::Start(const Row& row) const {
    if (row.block & kWide)
        return wide_->At(row.block & ~kWide, row.offset);
    return narrow_->At(row.block, row.offset);
}

ListViewTexts::Text ListViewTexts::Cell(const Row& row, int column) const {
    if (column < 0 || uint32_t(column) >= row.cells)
        return {};
    if (row.block & kWide) {
        const char16_t* p = Skip(static_cast<const char16_t*>(Start(row)), uint32_t(column));
        const std::size_t n = GetLength(p);
        return {p, n, true};
    }
    const unsigned char* p = Skip(static_cast<const unsigned char*>(Start(row)), uint32_t(column));
    const std::size_t n = GetLength(p);
    return {p, n, false};
}

QStringList ListViewTexts::Texts(const Row& row) const {
    QStringList texts;
    texts.reserve(qsizetype(row.cells));
    for (uint32_t c = 0; c < row.cells; ++c)
        texts.append(Cell(row, int(c)).ToString());
    return texts;
}

std::size_t ListViewTexts::RowBytes(const Row& row) const {
    if (row.block & kWide) {
        const auto* start = static_cast<const char16_t*>(Start(row));
        return std::size_t(Skip(start, row.cells) - start) * sizeof(char16_t);
    }
    const auto* start = static_cast<const unsigned char*>(Start(row));
    return std::size_t(Skip(start, row.cells) - start);
}

void ListViewTexts::Release(const Row& row) {
    released_ += RowBytes(row);
}

bool ListViewTexts::WantsCompacting() const {
    const std::size_t used = narrow_->UsedBytes() + wide_->UsedBytes();
    return released_ >= kMinCompaction && released_ > used - released_;
}

void ListViewTexts::Compact(std::vector<Row>& rows) {
    auto narrow = std::make_unique<Pool<unsigned char>>();
    auto wide = std::make_unique<Pool<char16_t>>();
    for (Row& row : rows) {
        const std::size_t bytes = RowBytes(row);
        const void* from = Start(row);
        if (row.block & kWide) {
            const auto [block, offset] = wide->Take(bytes / sizeof(char16_t));
            std::memcpy(wide->At(block, offset), from, bytes);
            row.block = block | kWide;
            row.offset = offset;
        } else {
            const auto [block, offset] = narrow->Take(bytes);
            std::memcpy(narrow->At(block, offset), from, bytes);
            row.block = block;
            row.offset = offset;
        }
    }
    narrow_ = std::move(narrow);
    wide_ = std::move(wide);
    released_ = 0;
}

void ListViewTexts::Clear() {
    narrow_ = std::make_unique<Pool<unsigned char>>();
    wide_ = std::make_unique<Pool<char16_t>>();
    released_ = 0;
}

std::size_t ListViewTexts::Bytes() const {
    return narrow_->Bytes() + wide_->Bytes();
}

} // namespace platform
