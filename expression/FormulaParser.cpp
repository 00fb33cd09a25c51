#include "FormulaParser.h"

#include "Conversions.h"
#include "clsExpression.h"

#include <cmath>
#include <string>

namespace expression {

namespace {

struct FunctionPrefix {
    std::u16string_view name;
    Kind kind;
};

// Tested in this order.
constexpr FunctionPrefix kFunctions[] = {
    {u"SIN(", kSin},       {u"COS(", kCos},     {u"TAN(", kTan},
    {u"LOG(", kLog},       {u"EXP(", kExp},     {u"SQRT(", kSqrt},
    {u"ARCTAN(", kArctan}, {u"FLOOR(", kFloor}, {u"SIGN(", kSign},
};

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

char16_t Upper(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

int OpPriority(char16_t c) {
    switch (c) {
    case u'+':
    case u'-':
        return 100;
    case u'*':
    case u'/':
        return 200;
    case u'^':
        return 300;
    default:
        return 2000;
    }
}

Kind BinaryKind(char16_t c) {
    switch (c) {
    case u'+':
        return kAdd;
    case u'-':
        return kSubtract;
    case u'*':
        return kMultiply;
    case u'/':
        return kDivide;
    default:
        return kPower;
    }
}

} // namespace

bool FormulaParser::Parse(int32_t start, int32_t length, int32_t& trimmedStart) {
    nodes_.assign(1, FormulaNode{});
    pending_.assign(1, Pending{start, length, 0});
    int32_t* trimmed = &trimmedStart;
    trimmedStart = start;
    while (!pending_.empty()) {
        const Pending p = pending_.back();
        pending_.pop_back();
        if (!ParseNode(p, trimmed))
            return false;
        trimmed = nullptr;
    }
    return true;
}

bool FormulaParser::Fail(int32_t pe, int32_t position) {
    pe_ = pe;
    errpos_ = position;
    return false;
}

int32_t FormulaParser::NewNode() {
    nodes_.push_back(FormulaNode{});
    return static_cast<int32_t>(nodes_.size() - 1);
}

void FormulaParser::SetUnary(int32_t node, int32_t kind, int32_t start, int32_t length) {
    const int32_t operand = NewNode();
    nodes_[static_cast<size_t>(node)].kind = kind;
    nodes_[static_cast<size_t>(node)].left = operand;
    pending_.push_back({start, length, operand});
}

// True when the "(" at first and the ")" at last enclose each other.
bool FormulaParser::IsGroup(int32_t first, int32_t last) const {
    int depth = 1;
    for (int32_t p = first + 1; p < last; ++p) {
        if (At(p) == u'(')
            ++depth;
        else if (At(p) == u')' && --depth == 0)
            return false;
    }
    return true;
}

bool FormulaParser::StartsWith(int32_t first, int32_t last, std::u16string_view prefix) const {
    const auto n = static_cast<int32_t>(prefix.size());
    if (last - first + 1 < n)
        return false;
    for (int32_t i = 0; i < n; ++i) {
        if (Upper(At(first + i)) != prefix[static_cast<size_t>(i)])
            return false;
    }
    return true;
}

bool FormulaParser::ParseNode(Pending p, int32_t* trimmedStart) {
    int32_t start = p.start;
    int32_t length = p.length;
    for (;;) {
        if (length == 0)
            return Fail(clsExpression::kMissingExpression, 1);
        int32_t first = start;
        int32_t last = start + length - 1;
        while (first <= last && IsBlank(At(first)))
            ++first;
        while (first <= last && IsBlank(At(last)))
            --last;
        if (first <= last && At(first) == u'+')
            ++first;
        if (trimmedStart) {
            *trimmedStart = first;
            trimmedStart = nullptr;
        }
        // A group is parsed anew from the text inside its parentheses.
        if (first < last && At(first) == u'(' && At(last) == u')' && IsGroup(first, last)) {
            start = first + 1;
            length = last - first - 1;
            continue;
        }
        return ParseTrimmed(p.node, first, last);
    }
}

bool FormulaParser::ParseTrimmed(int32_t node, int32_t first, int32_t last) {
    // "At most" lets the rightmost of equal lowest priorities win, so every
    // operator groups to the left.
    int depth = 0;
    int bestPriority = 1000;
    int32_t bestPosition = 0;
    for (int32_t q = first; q <= last; ++q) {
        const char16_t c = At(q);
        if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            if (--depth < 0)
                return Fail(clsExpression::kMismatchedParenthesis, q);
        } else {
            const int priority = OpPriority(c);
            if (depth == 0 && priority <= bestPriority) {
                bestPriority = priority;
                bestPosition = q;
            }
        }
    }
    if (bestPosition == first && bestPriority > 100)
        return Fail(clsExpression::kOperandRequiresBoth, first);
    if (bestPosition > first) {
        const int32_t left = NewNode();
        const int32_t right = NewNode();
        nodes_[static_cast<size_t>(node)] =
            FormulaNode{BinaryKind(At(bestPosition)), left, right, 0};
        pending_.push_back({bestPosition + 1, last - bestPosition, right});
        pending_.push_back({first, bestPosition - first, left});
        return true;
    }
    if (first > last)
        return Fail(clsExpression::kMissingExpression, first);
    if (At(first) == u'-') {
        SetUnary(node, kNegate, first + 1, last - first);
        return true;
    }
    if (At(last) == u')') {
        for (const FunctionPrefix& f : kFunctions) {
            if (StartsWith(first, last, f.name)) {
                const auto n = static_cast<int32_t>(f.name.size());
                SetUnary(node, f.kind, first + n, last - first - n);
                return true;
            }
        }
    }
    if (At(first) == u'x' || At(first) == u'X') {
        nodes_[static_cast<size_t>(node)].kind = kVariableX;
        return true;
    }
    if (At(first) == u'a' || At(first) == u'A') {
        nodes_[static_cast<size_t>(node)].kind = kVariableA;
        return true;
    }
    return ParseNumber(node, first, last);
}

bool FormulaParser::ParseNumber(int32_t node, int32_t first, int32_t last) {
    bool point = false;
    bool digit = false;
    std::string digits;
    for (int32_t q = first; q <= last; ++q) {
        const char16_t c = At(q);
        if (c == u'.') {
            if (point)
                return Fail(clsExpression::kTooManyDecimalPoints, q);
            point = true;
        } else if (c >= u'0' && c <= u'9') {
            digit = true;
        } else if (c == u')') {
            return Fail(clsExpression::kMismatchedParenthesis, q);
        } else if (c == u'^') {
            return Fail(clsExpression::kOperandRequiresBoth, q);
        } else if (c == u'(' || c == u'+' || c == u'-' || c == u'*' || c == u'/') {
            return Fail(0, q);
        } else {
            return Fail(clsExpression::kInvalidSymbol, q);
        }
        digits.push_back(static_cast<char>(c));
    }
    if (!digit)
        return Fail(clsExpression::kMissingExpression, first);
    // The text is digits with at most one ".", which reads the same as a
    // leading number; one beyond the double range reads as an infinity.
    double value = 0;
    if (!platform::ParseLeadingNumber(digits, value) || std::isinf(value))
        return Fail(clsExpression::kNumberTooLarge, first);
    nodes_[static_cast<size_t>(node)].kind = kConstant;
    nodes_[static_cast<size_t>(node)].constant = value;
    return true;
}

} // namespace expression
