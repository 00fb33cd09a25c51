#pragma once

#include "CodeForest.h"

#include <cstdint>
#include <filesystem>
#include <string_view>

// Codetree's compressed file format and its three long operations.
//
// A compressed file is the header text, the number of encoded symbols as shortest
// decimal text, CR LF, then one bit stream: the code tree in pre-order (1 for an
// internal node followed by its left and right subtrees; 0 for a leaf followed by
// its byte, least significant bit first), immediately followed by the code of every
// source byte (0 for a step left, 1 for a step right). Bits fill each byte from the
// least significant bit up; the last byte is padded with zero bits.
//
// Files are streamed through fixed buffers, never read whole into memory. The
// operations report progress every few thousand bytes or symbols and end at the
// first report the window answers with a cancel.

namespace codetree {

inline constexpr std::string_view kHeader = "File compressed with Veritope - Codetree. Size: ";

// What a long operation tells its window, and how the window cancels it.
class Progress {
public:
    virtual ~Progress() = default;
    // The count the operation will reach: bytes or symbols, at least 1.
    virtual void SetMaximum(uint64_t maximum) = 0;
    // The count done so far; lets pending window messages run. False cancels.
    virtual bool Advance(uint64_t done) = 0;
};

enum class Outcome { Done, Cancelled, Failed };

// The bit budget of a compression. header + sizeInfo + tree + data + padding ==
// compressed.
struct CompressReport {
    uint64_t original = 0;   // 8 x source bytes
    uint64_t compressed = 0; // 8 x target bytes
    uint64_t header = 0;     // 8 x (header characters + 2)
    uint64_t sizeInfo = 0;   // 8 x characters of the count
    uint64_t tree = 0;       // stored tree bits
    uint64_t data = 0;       // code bits of the data
    uint64_t padding = 0;    // zero bits of the last byte, 0 to 7
};

// Reads path into forest: a compressed file's tree with the counts decoded again,
// or a plain file's byte counts. compressed tells which. After a cancel or a
// failure the forest is empty (ClearAll).
Outcome OpenFile(const std::filesystem::path& path, CodeForest& forest, bool& compressed,
                 Progress& progress);

// Writes the compressed form of source, coded with the forest's first tree, to
// target, replacing it through a safe replace. After a cancel or a failure the
// target is as it was (or absent, if it was) and nothing is left beside it.
// A source byte without a leaf (the file changed since it was opened) fails.
Outcome Compress(const CodeForest& forest, const std::filesystem::path& source,
                 const std::filesystem::path& target, Progress& progress,
                 CompressReport& report);

// Writes the decompressed form of the compressed file source, decoded with the
// forest's first tree, to target, replacing it through a safe replace. After a
// cancel or a failure the target is as it was (or absent, if it was) and nothing
// is left beside it. sourceBytes and targetBytes receive the two file sizes.
Outcome Decomp(const CodeForest& forest, const std::filesystem::path& source,
               const std::filesystem::path& target, Progress& progress, uint64_t& sourceBytes,
               uint64_t& targetBytes);

} // namespace codetree
