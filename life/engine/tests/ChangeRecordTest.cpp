// Tests of the packed change record: words of every kind of mask and place,
// from the lowest to the highest coordinates, read back cell by cell in both
// directions from the record as written and from its copy, and the storage
// kept for a shorter record written after a longer one.

#include "ChangeRecord.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <tuple>
#include <vector>

namespace {

using Cell = std::tuple<int32_t, int32_t, int16_t>;

// Ascending (x, yBase) words, a few a column, with masks that have any number
// of non-zero bytes, sometimes only deaths or only births.
std::vector<ChangeWord> Words(std::mt19937_64& random, int32_t firstX, int columns) {
    std::vector<ChangeWord> words;
    int32_t x = firstX;
    for (int c = 0; c < columns; ++c) {
        int64_t yBase = INT32_MIN + int64_t{64} * static_cast<int64_t>(random() % 4);
        for (int w = static_cast<int>(random() % 4); w >= 0 && yBase <= INT32_MAX; --w) {
            uint64_t deaths = random() & random();
            uint64_t births = random() & random() & ~deaths;
            deaths &= (random() % 3 == 0) ? 0xFFull << (8 * (random() % 8)) : ~uint64_t{0};
            births &= (random() % 5 == 0) ? 0 : ~uint64_t{0};
            if ((deaths | births) == 0)
                births = uint64_t{1} << 63;
            words.push_back(ChangeWord{x, static_cast<int32_t>(yBase), deaths, births});
            yBase += int64_t{64} * (1 + static_cast<int64_t>(random() % 3 == 0 ? random() % (1 << 26) : random() % 40));
        }
        const int64_t nextX = int64_t{x} + 1 + static_cast<int64_t>(random() % 3 == 0 ? random() % 1000 : 0);
        if (nextX > INT32_MAX)
            break;
        x = static_cast<int32_t>(nextX);
    }
    return words;
}

// The cells of one kind in ascending x, then y.
std::vector<Cell> Cells(const std::vector<ChangeWord>& words, bool births, int16_t change) {
    std::vector<Cell> cells;
    for (const ChangeWord& w : words)
        for (int i = 0; i < 64; ++i)
            if (((births ? w.births : w.deaths) >> i & 1) != 0)
                cells.emplace_back(w.x, w.yBase + i, change);
    return cells;
}

std::vector<Cell> Read(ChangeReader& reader) {
    std::vector<Cell> cells;
    Cell c;
    while (reader.Next(std::get<0>(c), std::get<1>(c), std::get<2>(c)))
        cells.push_back(c);
    return cells;
}

void ExpectReadsBack(const ChangeRecord& record, const std::vector<ChangeWord>& words) {
    const std::vector<Cell> deaths = Cells(words, false, -1);
    const std::vector<Cell> births = Cells(words, true, 1);
    EXPECT_EQ(record.Size(), deaths.size() + births.size());
    EXPECT_EQ(record.Deaths(), deaths.size());
    // After a step: births from the last, then deaths from the last.
    std::vector<Cell> backward(births.rbegin(), births.rend());
    backward.insert(backward.end(), deaths.rbegin(), deaths.rend());
    ChangeReader reader;
    reader.Backward(record);
    EXPECT_EQ(Read(reader), backward);
    // Undoing it: deaths, then births, in order, as the inverse changes.
    std::vector<Cell> forward;
    for (auto [x, y, change] : deaths)
        forward.emplace_back(x, y, 1);
    for (auto [x, y, change] : births)
        forward.emplace_back(x, y, -1);
    reader.Forward(record);
    EXPECT_EQ(Read(reader), forward);
    Cell c;
    EXPECT_FALSE(reader.Next(std::get<0>(c), std::get<1>(c), std::get<2>(c)));
}

} // namespace

TEST(ChangeRecordTest, WordsReadBackBothWaysAcrossTheCoordinateRange) {
    std::mt19937_64 random(7);
    ChangeRecord written;
    for (int32_t firstX : {INT32_MIN, -5, 0, 3, INT32_MAX - 2000, INT32_MAX}) {
        for (int round = 0; round < 20; ++round) {
            const std::vector<ChangeWord> words = Words(random, firstX, 1 + round * 7);
            written.Write(words.data(), words.size());
            ExpectReadsBack(written, words);
            const ChangeRecord copy = written.Copy();
            ExpectReadsBack(copy, words);
            EXPECT_LE(copy.Bytes(), written.Bytes());
        }
    }
}

TEST(ChangeRecordTest, EmptyRecordsGiveNothing) {
    ChangeRecord record;
    record.Write(nullptr, 0);
    ExpectReadsBack(record, {});
    ExpectReadsBack(record.Copy(), {});
    EXPECT_EQ(record.Copy().Bytes(), 0u);
    const ChangeWord one{INT32_MAX, INT32_MAX - 63, uint64_t{1} << 63, 1};
    record.Write(&one, 1);
    ExpectReadsBack(record, {one});
    record.Write(nullptr, 0); // a shorter record after a longer one keeps nothing of it
    ExpectReadsBack(record, {});
}
