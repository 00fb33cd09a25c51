#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// The texts of a list view's rows, kept compactly, with no object per row or
// per text: a row's texts lie one after another, each after its length, in
// blocks of Latin-1 bytes when every character of the row fits in one, and
// otherwise in blocks of UTF-16 code units. A row is found by a record of 16
// bytes, which the list keeps in its own order. A row written again (changed)
// leaves its old copy behind; Compact takes that room back.

namespace platform {

class ListViewTexts {
public:
    ListViewTexts();
    ~ListViewTexts();
    ListViewTexts(const ListViewTexts&) = delete;
    ListViewTexts& operator=(const ListViewTexts&) = delete;

    // Where one row's texts lie, with the row's data.
    struct Row {
        uint32_t block = 0; // the top bit marks a UTF-16 block
        uint32_t offset = 0;
        uint32_t cells = 0;
        int32_t data = 0;
    };

    // One text where it lies; valid until the texts are next written or
    // compacted.
    struct Text {
        const void* units = nullptr;
        std::size_t length = 0;
        bool wide = false;

        char16_t operator[](std::size_t i) const {
            return wide ? static_cast<const char16_t*>(units)[i]
                        : char16_t(static_cast<const unsigned char*>(units)[i]);
        }
        QString ToString() const;
    };

    // Ordinal comparison by UTF-16 code units, as QString::compare with case:
    // below 0, 0 or above 0.
    static int Compare(const Text& a, const Text& b);

    // Writes the texts and gives the record of the new row.
    Row Write(const QStringList& texts, int data);
    // The text of a cell; empty beyond the row's texts.
    Text Cell(const Row& row, int column) const;
    QStringList Texts(const Row& row) const;
    // The row's copy is no longer used.
    void Release(const Row& row);

    // The room left behind by rows released outgrows the texts in use.
    bool WantsCompacting() const;
    // Writes the rows' texts afresh into new blocks and frees the old.
    void Compact(std::vector<Row>& rows);
    void Clear();

    // The bytes of the blocks, used or not.
    std::size_t Bytes() const;
    // The bytes of texts that rows released.
    std::size_t ReleasedBytes() const { return released_; }

private:
    template <class Unit> class Pool;

    std::size_t RowBytes(const Row& row) const;
    const void* Start(const Row& row) const;

    std::unique_ptr<Pool<unsigned char>> narrow_;
    std::unique_ptr<Pool<char16_t>> wide_;
    std::size_t released_ = 0;
};

} // namespace platform
