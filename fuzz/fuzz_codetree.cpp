// A file of any content opened by Codetree: the model is empty after a failure, a
// compressed file that opened decompresses to bytes of exactly the decoded counts,
// and a plain one compresses and decompresses back to itself.
#include "CodeFile.h"
#include "CodeForest.h"

#include "FuzzScratch.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using codetree::Outcome;

// Decoding a hostile count costs a write per symbol: larger counts are skipped here.
constexpr double kMaxDecoded = 4e6;

class NeverCancel : public codetree::Progress {
public:
    void SetMaximum(uint64_t) override {}
    bool Advance(uint64_t) override { return true; }
};

const fs::path& Folder() { return fuzz::ScratchFolder("fuzz_codetree"); }

std::vector<uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void AddLeafWeights(const codetree::clsNode& root, std::array<double, 256>& weights) {
    std::vector<const codetree::clsNode*> pending{&root};
    while (!pending.empty()) {
        const codetree::clsNode* node = pending.back();
        pending.pop_back();
        if (node->IsLeaf()) {
            weights[static_cast<uint8_t>(node->chars.at(0))] += node->weight;
        } else {
            pending.push_back(node->left.get());
            pending.push_back(node->right.get());
        }
    }
}

void CheckDecompressed(const codetree::CodeForest& forest, const fs::path& source) {
    const double symbols = forest.Size() > 0 ? forest.Tree(1).weight : 0;
    if (symbols > kMaxDecoded)
        return;
    NeverCancel progress;
    const fs::path target = Folder() / "out";
    uint64_t sourceBytes = 0, targetBytes = 0;
    if (codetree::Decomp(forest, source, target, progress, sourceBytes, targetBytes) !=
        Outcome::Done)
        std::abort();
    std::array<double, 256> expected{}, found{};
    if (forest.Size() > 0)
        AddLeafWeights(forest.Tree(1), expected);
    const std::vector<uint8_t> out = ReadAll(target);
    for (const uint8_t b : out)
        ++found[b];
    if (found != expected || targetBytes != out.size())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fs::path input = Folder() / "in";
    std::ofstream(input, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    NeverCancel progress;
    codetree::CodeForest forest;
    bool compressed = false;
    const Outcome outcome = codetree::OpenFile(input, forest, compressed, progress);
    if (outcome != Outcome::Done) {
        if (forest.Size() != 0 || forest.FileMode() || outcome == Outcome::Cancelled)
            std::abort();
        return 0;
    }
    if (compressed) {
        CheckDecompressed(forest, input);
        return 0;
    }

    while (forest.Size() > 1)
        forest.MergeStep();
    const fs::path packed = Folder() / "in.tkv";
    codetree::CompressReport report;
    if (codetree::Compress(forest, input, packed, progress, report) != Outcome::Done ||
        report.header + report.sizeInfo + report.tree + report.data + report.padding !=
            report.compressed ||
        report.compressed != 8 * fs::file_size(packed))
        std::abort();
    codetree::CodeForest reopened;
    if (codetree::OpenFile(packed, reopened, compressed, progress) != Outcome::Done || !compressed)
        std::abort();
    const fs::path back = Folder() / "back";
    uint64_t sourceBytes = 0, targetBytes = 0;
    if (codetree::Decomp(reopened, packed, back, progress, sourceBytes, targetBytes) !=
            Outcome::Done ||
        ReadAll(back) != std::vector<uint8_t>(data, data + size))
        std::abort();
    return 0;
}
