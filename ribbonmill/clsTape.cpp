#include "clsTape.h"

#include <stdexcept>

namespace ribbonmill {

namespace {

// The middle of the window: (first box + last box) / 2, halves to the even one.
constexpr int32_t MiddleBox() {
    const int sum = 0 + (clsTape::kBoxes - 1);
    const int half = sum / 2;
    return sum % 2 == 0 ? half : (half % 2 == 0 ? half : half + 1);
}

} // namespace

clsTape::clsTape(TapeView* view) : view_(view) {
    clsTapeElement* previous = nullptr;
    for (int i = 0; i < kBoxes; ++i) {
        clsTapeElement* cell = NewCell();
        cell->p = previous;
        if (previous != nullptr)
            previous->n = cell;
        previous = cell;
    }
    left = &cells_.front();
    right = &cells_.back();
    curoffset = MiddleBox();
    cur = &cells_[static_cast<std::size_t>(curoffset)];
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
    clsTapeElement* previous = nullptr;
    for (const int16_t symbol : symbols) {
        clsTapeElement* cell = NewCell();
        cell->symbol = symbol;
        cell->p = previous;
        if (previous != nullptr)
            previous->n = cell;
        previous = cell;
    }
    left = &cells_[leftIndex];
    right = &cells_[leftIndex + kBoxes - 1];
    cur = &cells_[static_cast<std::size_t>(head)];
}

void clsTape::Move(int dir) {
    if (dir == -1) {
        if (left->p == nullptr) {
            clsTapeElement* cell = NewCell();
            cell->n = left;
            left->p = cell;
        }
        left = left->p;
        right = right->p;
    } else {
        if (right->n == nullptr) {
            clsTapeElement* cell = NewCell();
            cell->p = right;
            right->n = cell;
        }
        right = right->n;
        left = left->n;
    }
    // The head stays on its cell, so its place in the window shifts.
    curoffset -= dir == -1 ? -1 : 1;
    if (view_ != nullptr) {
        view_->ShowBoxes();
        view_->UpdateCur(curoffset);
    }
}

void clsTape::MoveCur(int dir) {
    if (dir == -1) {
        if (cur->p == nullptr) {
            clsTapeElement* cell = NewCell();
            cell->n = cur;
            cur->p = cell;
        }
        cur = cur->p;
        --curoffset;
    } else {
        if (cur->n == nullptr) {
            clsTapeElement* cell = NewCell();
            cell->p = cur;
            cur->n = cell;
        }
        cur = cur->n;
        ++curoffset;
    }
    if (view_ != nullptr)
        view_->UpdateCur(curoffset);
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
    Box(ind).symbol = String2Symb(text);
}

clsTapeElement& clsTape::Box(int ind) const {
    if (ind < 0 || ind >= kBoxes)
        throw std::out_of_range("no box " + std::to_string(ind));
    clsTapeElement* cell = left;
    for (int i = 0; i < ind; ++i)
        cell = cell->n;
    return *cell;
}

clsTapeElement& clsTape::LeftEnd() const {
    clsTapeElement* cell = left;
    while (cell->p != nullptr)
        cell = cell->p;
    return *cell;
}

} // namespace ribbonmill
