#include "clsExpression.h"

#include "FormulaParser.h"

#include <algorithm>
#include <bit>
#include <cfenv>
#include <cmath>
#include <string>

namespace expression {

using detail::Evaluator;
using detail::Operation;

namespace {

constexpr int kFlags = FE_OVERFLOW | FE_DIVBYZERO | FE_INVALID;
// Deepest nesting of operations evaluated in one recursion.
constexpr int32_t kMaxDepth = 128;
constexpr uint64_t kExponentBits = 0x7FF0000000000000; // all set: an infinity or a NaN

int16_t ToPosition(int32_t position) {
    return static_cast<int16_t>(std::clamp<int32_t>(position, 0, clsExpression::kMaxLength));
}

// Makes v be computed here: floating-point operations are not moved across it,
// so the status flags tested around an operation belong to that operation.
inline void Settle(double& v) {
#if defined(__GNUC__) && defined(__x86_64__)
    asm volatile("" : "+x"(v));
#elif defined(__GNUC__) && defined(__aarch64__)
    asm volatile("" : "+w"(v));
#else
    volatile double held = v;
    v = held;
#endif
}

// A function result outside the double range, or outside the reals for an
// argument that is a number, is undefined; a NaN argument passes through.
inline double InRange(double result, double argument) {
    if (std::isnan(result) && !std::isnan(argument))
        return UndefinedResult;
    if (std::isinf(result) && std::isfinite(argument))
        return UndefinedResult;
    return result;
}

inline double Power(double base, double exponent) {
    if (base < 0 && std::isfinite(exponent) && exponent != std::trunc(exponent))
        return UndefinedResult;
    if (base == 0 && exponent < 0)
        return UndefinedResult;
    const double result = std::pow(base, exponent);
    if (std::isinf(result) && std::isfinite(base) && std::isfinite(exponent))
        return UndefinedResult;
    return result;
}

inline double Sign(double v) {
    if (v > 0)
        return 1;
    if (v < 0)
        return -1;
    return v == 0 ? 0 : v;
}

template <int32_t kKind>
constexpr bool kIsArithmetic =
    kKind == kAdd || kKind == kSubtract || kKind == kMultiply || kKind == kDivide;

template <int32_t kKind> inline double Apply(double l, double r) {
    if constexpr (kKind == kAdd)
        return l + r;
    else if constexpr (kKind == kSubtract)
        return l - r;
    else if constexpr (kKind == kMultiply)
        return l * r;
    else if constexpr (kKind == kDivide)
        return l / r;
    else
        return Power(l, r);
}

template <int32_t kKind> inline double Apply(double v) {
    if constexpr (kKind == kNegate)
        return -v;
    else if constexpr (kKind == kSin)
        return InRange(std::sin(v), v);
    else if constexpr (kKind == kCos)
        return InRange(std::cos(v), v);
    else if constexpr (kKind == kTan)
        return InRange(std::tan(v), v);
    else if constexpr (kKind == kLog)
        return v <= 0 ? UndefinedResult : std::log(v);
    else if constexpr (kKind == kExp)
        return InRange(std::exp(v), v);
    else if constexpr (kKind == kSqrt)
        return v < 0 ? UndefinedResult : std::sqrt(v);
    else if constexpr (kKind == kArctan)
        return std::atan(v);
    else if constexpr (kKind == kFloor)
        return std::floor(v);
    else
        return Sign(v);
}

template <bool kExact, bool kInSlot>
inline double Operand(int32_t index, const Operation* ops, const double* slots, bool& special) {
    if constexpr (kInSlot) {
        return slots[index];
    } else {
        const Operation& op = ops[index];
        return (kExact ? op.exact : op.fast)(op, ops, slots, special);
    }
}

// The fast evaluators apply each operation unchecked: an arithmetic operation
// that overflows, divides by zero or is invalid gives an infinity or a NaN,
// which marks the run as special. The exact evaluators clear the status flags
// before each arithmetic operation and test them after it.
template <int32_t kKind, bool kExact, bool kLeftInSlot, bool kRightInSlot>
double Binary(const Operation& op, const Operation* ops, const double* slots, bool& special) {
    double l = Operand<kExact, kLeftInSlot>(op.left, ops, slots, special);
    double r = Operand<kExact, kRightInSlot>(op.right, ops, slots, special);
    if constexpr (!kIsArithmetic<kKind>) {
        return Apply<kKind>(l, r);
    } else if constexpr (!kExact) {
        const double result = Apply<kKind>(l, r);
        if ((std::bit_cast<uint64_t>(result) & kExponentBits) == kExponentBits) [[unlikely]]
            special = true;
        return result;
    } else {
        std::feclearexcept(kFlags);
        Settle(l);
        Settle(r);
        double result = Apply<kKind>(l, r);
        Settle(result);
        return std::fetestexcept(kFlags) ? UndefinedResult : result;
    }
}

// Unary minus only flips the sign, which raises no flag, so it is the same
// in both evaluations.
template <int32_t kKind, bool kExact, bool kInSlot>
double Unary(const Operation& op, const Operation* ops, const double* slots, bool& special) {
    return Apply<kKind>(Operand<kExact, kInSlot>(op.left, ops, slots, special));
}

template <int32_t kKind, bool kExact> Evaluator BinaryFor(bool leftInSlot, bool rightInSlot) {
    if (leftInSlot)
        return rightInSlot ? &Binary<kKind, kExact, true, true>
                           : &Binary<kKind, kExact, true, false>;
    return rightInSlot ? &Binary<kKind, kExact, false, true> : &Binary<kKind, kExact, false, false>;
}

template <int32_t kKind, bool kExact> Evaluator UnaryFor(bool inSlot) {
    return inSlot ? &Unary<kKind, kExact, true> : &Unary<kKind, kExact, false>;
}

template <bool kExact> Evaluator EvaluatorFor(int32_t kind, bool leftInSlot, bool rightInSlot) {
    switch (kind) {
    case kAdd:
        return BinaryFor<kAdd, kExact>(leftInSlot, rightInSlot);
    case kSubtract:
        return BinaryFor<kSubtract, kExact>(leftInSlot, rightInSlot);
    case kMultiply:
        return BinaryFor<kMultiply, kExact>(leftInSlot, rightInSlot);
    case kDivide:
        return BinaryFor<kDivide, kExact>(leftInSlot, rightInSlot);
    case kPower:
        return BinaryFor<kPower, kExact>(leftInSlot, rightInSlot);
    case kNegate:
        return UnaryFor<kNegate, kExact>(leftInSlot);
    case kSin:
        return UnaryFor<kSin, kExact>(leftInSlot);
    case kCos:
        return UnaryFor<kCos, kExact>(leftInSlot);
    case kTan:
        return UnaryFor<kTan, kExact>(leftInSlot);
    case kLog:
        return UnaryFor<kLog, kExact>(leftInSlot);
    case kExp:
        return UnaryFor<kExp, kExact>(leftInSlot);
    case kSqrt:
        return UnaryFor<kSqrt, kExact>(leftInSlot);
    case kArctan:
        return UnaryFor<kArctan, kExact>(leftInSlot);
    case kFloor:
        return UnaryFor<kFloor, kExact>(leftInSlot);
    default:
        return UnaryFor<kSign, kExact>(leftInSlot);
    }
}

bool IsLeaf(int32_t kind) {
    return kind == kConstant || kind == kVariableX || kind == kVariableA;
}

} // namespace

void clsExpression::Reset() {
    kind_ = kNone;
    code_.clear();
    slots_.assign(3, 0.0);
    root_ = -1;
    rootSlot_ = 2;
    ahead_.clear();
    pe = 0;
    errpos = 0;
}

void clsExpression::FromString(std::u16string_view text, int16_t& start, int32_t length) {
    Reset();
    if (text.size() > static_cast<size_t>(kMaxLength)) {
        pe = kFormulaTooLong;
        errpos = 1;
        return;
    }
    const auto size = static_cast<int32_t>(text.size());
    if (length == -1)
        length = size - start + 1;
    // A range reaching outside the text is cut to the text.
    // In 64 bits: start and length together may pass the 32-bit range.
    const int32_t first = std::max<int32_t>(start, 1);
    const auto last = static_cast<int32_t>(
        std::min<int64_t>(int64_t{start} + std::max<int32_t>(length, 0) - 1, size));

    FormulaParser parser(text);
    int32_t trimmedStart = first;
    const bool parsed = parser.Parse(first, std::max<int32_t>(last - first + 1, 0), trimmedStart);
    start = ToPosition(trimmedStart);
    if (!parsed) {
        pe = parser.pe();
        errpos = ToPosition(parser.errpos());
        return;
    }

    const std::vector<FormulaNode>& nodes = parser.nodes();
    const size_t n = nodes.size();
    // Every node lies after its ancestors, so from the last node to the first
    // the operands' heights are known. An operation whose height reaches
    // kMaxDepth is computed ahead into its slot and read from there, which
    // bounds the depth of the evaluators' recursion.
    std::vector<bool> inSlot(n);
    std::vector<int32_t> height(n);
    for (size_t i = n; i-- > 0;) {
        inSlot[i] = IsLeaf(nodes[i].kind);
        if (inSlot[i])
            continue;
        const auto heightOf = [&](int32_t c) {
            return c < 0 || inSlot[static_cast<size_t>(c)] ? 0 : height[static_cast<size_t>(c)];
        };
        height[i] = 1 + std::max(heightOf(nodes[i].left), heightOf(nodes[i].right));
        if (height[i] >= kMaxDepth && i > 0) {
            inSlot[i] = true;
            ahead_.push_back(static_cast<int32_t>(i));
        }
    }
    const auto operandOf = [&](int32_t c) {
        const int32_t kind = nodes[static_cast<size_t>(c)].kind;
        if (!inSlot[static_cast<size_t>(c)])
            return c;
        return kind == kVariableX ? 0 : kind == kVariableA ? 1 : 2 + c;
    };
    slots_.assign(n + 2, 0.0);
    code_.assign(n, Operation{});
    for (size_t i = 0; i < n; ++i) {
        const FormulaNode& node = nodes[i];
        if (node.kind == kConstant) {
            slots_[i + 2] = node.constant;
        } else if (!IsLeaf(node.kind)) {
            const bool leftInSlot = inSlot[static_cast<size_t>(node.left)];
            const bool rightInSlot = node.right >= 0 && inSlot[static_cast<size_t>(node.right)];
            code_[i] = Operation{EvaluatorFor<false>(node.kind, leftInSlot, rightInSlot),
                                 EvaluatorFor<true>(node.kind, leftInSlot, rightInSlot),
                                 operandOf(node.left), node.right >= 0 ? operandOf(node.right) : 0};
        }
    }
    kind_ = nodes.front().kind;
    if (IsLeaf(kind_))
        rootSlot_ = operandOf(0);
    else
        root_ = 0;
}

void clsExpression::FromString(std::string_view text, int16_t& start, int32_t length) {
    // A text beyond the limit is rejected whole, so one character more is enough to copy.
    std::u16string wide(std::min(text.size(), static_cast<size_t>(kMaxLength) + 1), u'\0');
    std::transform(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(wide.size()),
                   wide.begin(),
                   [](char c) { return static_cast<char16_t>(static_cast<unsigned char>(c)); });
    FromString(std::u16string_view(wide), start, length);
}

std::string_view clsExpression::ErrMessage() const {
    switch (pe) {
    case kMismatchedParenthesis:
        return "Mismatched parenthesis";
    case kTooManyDecimalPoints:
        return "Too many decimal points";
    case kInvalidSymbol:
        return "Invalid symbol";
    case kMissingExpression:
        return "Missing expression";
    case kOperandRequiresBoth:
        return "Operand requires left and right expressions";
    case kFormulaTooLong:
        return "Formula longer than 32767 characters";
    case kNumberTooLarge:
        return "Number too large";
    default:
        return {};
    }
}

double clsExpression::ValueP(double x, double a) {
    // An argument beyond the double range, or not a number, leaves every
    // formula without a value.
    if (kind_ != kNone && !(std::isfinite(x) && std::isfinite(a))) [[unlikely]]
        return UndefinedResult;
    slots_[0] = x;
    slots_[1] = a;
    if (root_ < 0)
        return slots_[static_cast<size_t>(rootSlot_)];
    // A run whose every arithmetic result is finite raised no flag. Otherwise
    // the formula runs again checking every operation alone, which finds where
    // an undefined value arose and how it went on.
    bool special = false;
    double result = Run<false>(special);
    if (special) [[unlikely]]
        result = Run<true>(special);
    return result;
}

template <bool kExact> double clsExpression::Run(bool& special) {
    const Operation* ops = code_.data();
    double* slots = slots_.data();
    for (const int32_t i : ahead_) {
        const Operation& op = ops[i];
        slots[2 + i] = (kExact ? op.exact : op.fast)(op, ops, slots, special);
    }
    const Operation& root = ops[root_];
    return (kExact ? root.exact : root.fast)(root, ops, slots, special);
}

} // namespace expression
