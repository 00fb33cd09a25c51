#include "clsTape.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace ribbonmill {

namespace {

// The middle of the window: (first box + last box) / 2, halves to the even one.
constexpr int32_t MiddleBox() {
    const int sum = 0 + (clsTape::kBoxes - 1);
    const int half = sum / 2;
    return sum % 2 == 0 ? half : (half % 2 == 0 ? half : half + 1);
}

bool IsSymbol(int symbol) {
    return symbol >= -1 && symbol <= 9;
}

} // namespace

clsTape::Block clsTape::NewBlock() {
    Block block(new int8_t[static_cast<std::size_t>(kBlockCells)]);
    std::memset(block.get(), -1, static_cast<std::size_t>(kBlockCells)); // blank
    return block;
}

clsTape::clsTape(TapeView* view) : view_(view) {
    right_.push_back(NewBlock());
    end_ = kBoxes;
    left = 0;
    right = kBoxes - 1;
    curoffset = MiddleBox();
    cur = curoffset;
    if (view_ != nullptr)
        view_->UpdateCur(curoffset);
}

clsTape::clsTape(std::span<const int16_t> symbols, std::size_t leftIndex, int32_t curoffset,
                 TapeView* view)
    : curoffset(curoffset), view_(view) {
    const int64_t head = static_cast<int64_t>(leftIndex) + curoffset;
    if (leftIndex + kBoxes > symbols.size() || head < 0 ||
        head >= static_cast<int64_t>(symbols.size()))
        throw std::invalid_argument("the window or the head lies outside the tape's cells");
    if (symbols.size() > static_cast<std::size_t>(kMaxCells) ||
        !std::all_of(symbols.begin(), symbols.end(), IsSymbol))
        throw std::invalid_argument("more cells than a tape holds, or a symbol not -1 to 9");
    end_ = static_cast<Cell>(symbols.size());
    right_.resize(static_cast<std::size_t>((end_ + kBlockCells - 1) / kBlockCells));
    for (Block& block : right_)
        block = NewBlock();
    for (Cell cell = 0; cell < end_; ++cell)
        Byte(cell) = static_cast<int8_t>(symbols[static_cast<std::size_t>(cell)]);
    left = static_cast<Cell>(leftIndex);
    right = left + kBoxes - 1;
    cur = head;
}

clsTape::~clsTape() = default;

bool clsTape::Grow(int dir) {
    if (Full())
        return false;
    const Cell cell = dir == -1 ? begin_ - 1 : end_;
    std::vector<Block>& blocks = cell >= 0 ? right_ : left_;
    const auto block = static_cast<std::size_t>((cell >= 0 ? cell : ~cell) >> kBlockBits);
    if (block == blocks.size())
        blocks.push_back(NewBlock());
    if (dir == -1)
        --begin_;
    else
        ++end_;
    return true;
}

bool clsTape::Move(int dir) {
    dir = dir == -1 ? -1 : 1;
    if (AtEnd(dir == -1 ? left : right, dir) && !Grow(dir))
        return false;
    left += dir;
    right += dir;
    // The head stays on its cell, so its place in the window shifts.
    curoffset -= dir;
    if (view_ != nullptr) {
        view_->ShowBoxes();
        view_->UpdateCur(curoffset);
    }
    return true;
}

bool clsTape::MoveCur(int dir) {
    dir = dir == -1 ? -1 : 1;
    if (AtEnd(cur, dir) && !Grow(dir))
        return false;
    cur += dir;
    curoffset += dir;
    if (view_ != nullptr)
        view_->UpdateCur(curoffset);
    return true;
}

std::string clsTape::Symb2String(int16_t symb, bool isShort) {
    if (symb >= 0 && symb <= 9)
        return std::string(1, static_cast<char>('0' + symb));
    return isShort ? " " : "(blank)";
}

int16_t clsTape::String2Symb(std::string_view st) {
    if (st.empty())
        return -1;
    const int digit = static_cast<unsigned char>(st.front()) - '0';
    return digit >= 0 && digit <= 9 ? static_cast<int16_t>(digit) : int16_t{-1};
}

void clsTape::Change(int ind, std::string_view text) {
    SetSymbol(Box(ind), String2Symb(text));
}

clsTape::Cell clsTape::Box(int ind) const {
    if (ind < 0 || ind >= kBoxes)
        throw std::out_of_range("no box " + std::to_string(ind));
    return left + ind;
}

int16_t clsTape::Symbol(Cell cell) const {
    if (cell < begin_ || cell >= end_)
        throw std::out_of_range("no cell " + std::to_string(cell));
    return Byte(cell);
}

void clsTape::SetSymbol(Cell cell, int16_t symbol) {
    if (cell < begin_ || cell >= end_ || !IsSymbol(symbol))
        throw std::out_of_range("no cell " + std::to_string(cell) + " or no symbol " +
                                std::to_string(symbol));
    Byte(cell) = static_cast<int8_t>(symbol);
}

std::size_t clsTape::MemoryBytes() const {
    return sizeof(*this) + (right_.capacity() + left_.capacity()) * sizeof(Block) +
           (right_.size() + left_.size()) * static_cast<std::size_t>(kBlockCells);
}

} // namespace ribbonmill
