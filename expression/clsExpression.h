#pragma once

#include <bit>
#include <cstdint>
#include <string_view>
#include <vector>

// clsExpression holds one formula in x and a, parsed from a line of text, and
// evaluates it. The language: numbers (digits with at most one "."), the
// variables x and a, the binary operators + - * / ^ (all grouping to the
// left), a leading unary minus over the rest of its operand, parentheses, and
// the functions SIN COS TAN LOG EXP SQRT ARCTAN FLOOR SIGN. A rejected text is
// reported through pe and errpos, an undefined value as UndefinedResult;
// nothing is thrown.
//
// Parsing compiles the tree into an array of operations, each with the
// evaluator made for its kind and its operands, over a table of values; so
// evaluation is a recursive walk over the array that allocates nothing and
// does no text work, and deep trees are cut into parts computed ahead, which
// bounds the recursion. Evaluation expects the default rounding mode and may
// change the flags of the floating-point status.

namespace expression {

namespace detail {

struct Operation;

// Evaluates one operation of a compiled formula, its operands first.
using Evaluator = double (*)(const Operation& op, const Operation* ops, const double* slots,
                             bool& special);

// An operation node; its operands are indices of operations, or of slots for
// variables, constants and operations computed ahead, as its evaluators were
// chosen.
struct Operation {
    Evaluator fast = nullptr;
    Evaluator exact = nullptr;
    int32_t left = 0;
    int32_t right = 0;
};

} // namespace detail

// The value of every undefined result; callers test for it by exact equality.
inline constexpr double UndefinedResult = std::bit_cast<double>(uint64_t{0x7FEFFFFFFFFFFFE2});

class clsExpression {
public:
    // Values of pe.
    static constexpr int32_t kMismatchedParenthesis = 1;
    static constexpr int32_t kTooManyDecimalPoints = 2;
    static constexpr int32_t kInvalidSymbol = 3;
    static constexpr int32_t kMissingExpression = 4;
    static constexpr int32_t kOperandRequiresBoth = 5;
    static constexpr int32_t kFormulaTooLong = 6;
    static constexpr int32_t kNumberTooLarge = 7;

    // Positions are 16-bit, so longer texts are rejected with kFormulaTooLong.
    static constexpr int32_t kMaxLength = 32767;

    // Parse error code of the last FromString; 0 when none was set.
    int32_t pe = 0;
    // 1-based position in the text of the character the error refers to; 0 when none.
    int16_t errpos = 0;

    // Parses length characters of text from the 1-based position start (-1: to
    // the end of the text), discarding the previous formula. start is advanced
    // past leading blanks and one leading "+". Characters are UTF-16 code
    // units, so positions are those of a text box; QStringView::utf16() gives
    // such a view.
    void FromString(std::u16string_view text, int16_t& start, int32_t length = -1);
    // The same for a single-byte text: each byte is one character.
    void FromString(std::string_view text, int16_t& start, int32_t length = -1);

    // True when the object holds a formula.
    bool isValid() const { return kind_ != 0; }

    // The message for pe; empty when pe has none.
    std::string_view ErrMessage() const;

    // The formula's value for x, with a undefined; UndefinedResult on any
    // evaluation error and for an x or a that is infinite or not a number, 0
    // when no formula is held. A value is never infinite or NaN. Uses the object's own table
    // of values: one evaluation at a time per object.
    double Value(double x) { return ValueP(x, UndefinedResult); }
    // The formula's value for x and a.
    double ValueP(double x, double a);

private:
    void Reset();
    template <bool kExact> double Run(bool& special);

    int32_t kind_ = 0;
    // One entry per node of the tree; entries of variables and constants are unused.
    std::vector<detail::Operation> code_;
    // Slot 0 is x, slot 1 is a, then one per node: the constants' values.
    std::vector<double> slots_ = std::vector<double>(3, 0.0);
    // The root's operation, or -1 when the root is a variable or constant read from rootSlot_.
    int32_t root_ = -1;
    int32_t rootSlot_ = 2;
    // Operations computed into their slots before the root, deepest first.
    std::vector<int32_t> ahead_;
};

} // namespace expression
