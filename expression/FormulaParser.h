#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace expression {

// Node kinds of a formula tree, by the codes the tree has always used.
enum Kind : int32_t {
    kNone = 0,
    kNegate = 1,
    kConstant = 2,
    kAdd = 3,
    kVariableX = 4,
    kSin = 5,
    kVariableA = 6,
    kSubtract = 7,
    kCos = 9,
    kTan = 13,
    kMultiply = 15,
    kLog = 17,
    kDivide = 19,
    kExp = 21,
    kPower = 23,
    kSqrt = 25,
    kArctan = 29,
    kFloor = 33,
    kSign = 37,
};

// One node of a formula tree; operands are indices in the node list, -1 for none.
struct FormulaNode {
    int32_t kind = kNone;
    int32_t left = -1;
    int32_t right = -1;
    double constant = 0;
};

// Parses a range of a formula text into a tree, splitting at the rightmost
// lowest-priority operator outside parentheses, depth first with the left
// operand before the right. Pending ranges are kept in a list instead of on
// the call stack, so deeply nested texts cannot exhaust it. The first rejected
// range rejects the whole formula, as it would through every enclosing node.
// Every node lies after its ancestors in the list.
class FormulaParser {
public:
    explicit FormulaParser(std::u16string_view text) : text_(text) {}

    // Parses length characters from the 1-based position start (inside the
    // text) into nodes()[0]; false with pe() and errpos() when rejected.
    // trimmedStart receives start advanced past blanks and one leading "+".
    bool Parse(int32_t start, int32_t length, int32_t& trimmedStart);

    const std::vector<FormulaNode>& nodes() const { return nodes_; }
    int32_t pe() const { return pe_; }
    int32_t errpos() const { return errpos_; }

private:
    struct Pending {
        int32_t start;
        int32_t length;
        int32_t node;
    };

    char16_t At(int32_t position) const { return text_[static_cast<size_t>(position - 1)]; }
    bool Fail(int32_t pe, int32_t position);
    int32_t NewNode();
    void SetUnary(int32_t node, int32_t kind, int32_t start, int32_t length);
    bool IsGroup(int32_t first, int32_t last) const;
    bool StartsWith(int32_t first, int32_t last, std::u16string_view prefix) const;
    bool ParseNode(Pending p, int32_t* trimmedStart);
    bool ParseTrimmed(int32_t node, int32_t first, int32_t last);
    bool ParseNumber(int32_t node, int32_t first, int32_t last);

    std::u16string_view text_;
    std::vector<FormulaNode> nodes_;
    std::vector<Pending> pending_;
    int32_t pe_ = 0;
    int32_t errpos_ = 0;
};

} // namespace expression
