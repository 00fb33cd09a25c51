#include "clsExpression.h"

#include <bit>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <pthread.h>
#include <random>
#include <string>

using expression::clsExpression;
using expression::UndefinedResult;

namespace {

uint64_t Bits(double v) {
    return std::bit_cast<uint64_t>(v);
}

clsExpression Parsed(std::string_view text) {
    clsExpression e;
    int16_t start = 1;
    e.FromString(text, start, -1);
    return e;
}

struct Rejection {
    const char* text;
    int32_t pe;
    int16_t errpos;
};

TEST(clsExpressionTest, RejectsWithCodeAndPosition) {
    const Rejection cases[] = {
        {"", 4, 1},     {"   ", 4, 4},    {"2*", 4, 1},     {"2* ", 4, 1},     {"1+ ", 4, 1},
        {"*2", 5, 1},   {"^2", 5, 1},     {"2*-3", 4, 1},   {"3--2", 4, 1},    {"x^-2", 4, 1},
        {"(3+4", 0, 1}, {"2(3)", 0, 2},   {"(3+4))", 1, 6}, {"x)", 1, 2},      {"1.2.3", 2, 4},
        {".", 4, 1},    {"2x", 3, 2},     {"1 2", 3, 2},    {"Sin (x)", 3, 1}, {"+ 1", 3, 2},
        {"pi", 3, 1},   {"()", 4, 1},     {"SIN()", 4, 1},  {"1+(2*)", 4, 1},  {"2+*3", 5, 3},
        {"++x", 0, 2},  {"(1)(2)", 0, 1}, {"1+2)*3", 1, 4}, {"\t", 4, 2},      {"x+1.2.3", 2, 6},
        {"2^(x", 0, 3},
    };
    for (const Rejection& c : cases) {
        const clsExpression e = Parsed(c.text);
        EXPECT_FALSE(e.isValid()) << c.text;
        EXPECT_EQ(e.pe, c.pe) << c.text;
        EXPECT_EQ(e.errpos, c.errpos) << c.text;
    }
    EXPECT_EQ(Parsed("").ErrMessage(), "Missing expression");
    EXPECT_EQ(Parsed("x)").ErrMessage(), "Mismatched parenthesis");
    EXPECT_EQ(Parsed("1.2.3").ErrMessage(), "Too many decimal points");
    EXPECT_EQ(Parsed("pi").ErrMessage(), "Invalid symbol");
    EXPECT_EQ(Parsed("*2").ErrMessage(), "Operand requires left and right expressions");
    EXPECT_EQ(Parsed("(3+4").ErrMessage(), "");
    EXPECT_EQ(Parsed("x").ErrMessage(), "");
}

struct Accepted {
    const char* text;
    double x;
    double a;
    double value;
};

TEST(clsExpressionTest, EvaluatesAcceptedForms) {
    const Accepted cases[] = {
        {"2^3^2", 0, 0, 64},
        {"8/4/2", 0, 0, 1},
        {"2-3-4", 0, 0, -5},
        {"-2^2", 0, 0, -4},
        {"-2*3", 0, 0, -6},
        {"-x+1", 2, 0, -1},
        {"2*(-3)", 0, 0, -6},
        {"1+2*3^2", 0, 0, 19},
        {"(1+2)*3", 0, 0, 9},
        {"12-6/3*2", 0, 0, 8},
        {"+x", 7, 0, 7},
        {"( x )", 7, 0, 7},
        {" \t((x)) \t", 7, 0, 7},
        {"xyz", 7, 0, 7},
        {"x(3)", 7, 0, 7},
        {"Apple*2", 0, 3, 6},
        {".5+5.+007", 0, 0, 12.5},
        {"sin(x)", 0.5, 0, std::sin(0.5)},
        {"SqRt(x)", 2, 0, std::sqrt(2.0)},
        {"SQRT(x^2+1)", 3, 0, std::sqrt(10.0)},
        {"cOs(x)", 1, 0, std::cos(1.0)},
        {"TAN(x)", 1, 0, std::tan(1.0)},
        {"LOG(x)", 3, 0, std::log(3.0)},
        {"EXP(x)", 2, 0, std::exp(2.0)},
        {"ARCTAN(x)", 1, 0, std::atan(1.0)},
        {"FLOOR(x)", -2.5, 0, -3},
        {"SIGN(x)", -0.1, 0, -1},
        {"SIGN(x)", 0, 0, 0},
        {"SIN(x)+SIGN(x)", 0, 0, 0},
        {"(-8)^(1/3*3)", 0, 0, -8},
        {"0^0", 0, 0, 1},
        {"0^0.5", 0, 0, 0},
        {"SQRT(0)", 0, 0, 0},
        {"9", 0, 0, 9},
        {"19.5*2", 0, 0, 39},
        {"-(1-x)", 3, 0, 2},
    };
    for (const Accepted& c : cases) {
        clsExpression e = Parsed(c.text);
        ASSERT_TRUE(e.isValid()) << c.text;
        EXPECT_EQ(e.pe, 0) << c.text;
        EXPECT_EQ(Bits(e.ValueP(c.x, c.a)), Bits(c.value)) << c.text;
    }
}

// Splitting at the second "*" gives (a*x)*(1-x), which rounds differently from
// a*(x*(1-x)) for some inputs, so the bits show the tree.
TEST(clsExpressionTest, DefaultFormulaGroupsAsWritten) {
    clsExpression e = Parsed("a * x * (1 - x)");
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> unit(0, 1);
    int differentGrouping = 0;
    for (int i = 0; i < 10000; ++i) {
        const double x = unit(random);
        const double a = 4 * unit(random);
        ASSERT_EQ(Bits(e.ValueP(x, a)), Bits(a * x * (1 - x))) << x << " " << a;
        differentGrouping += a * x * (1 - x) != a * (x * (1 - x));
    }
    EXPECT_GT(differentGrouping, 0);
    EXPECT_EQ(Bits(e.Value(0.5)), Bits(UndefinedResult * 0.5 * 0.5));
}

TEST(clsExpressionTest, UndefinedValuesArePropagatedAsNumbers) {
    const Accepted cases[] = {
        {"LOG(0)", 0, 0, UndefinedResult},
        {"LOG(-x)", 1, 0, UndefinedResult},
        {"SQRT(-1)", 0, 0, UndefinedResult},
        {"1/0", 0, 0, UndefinedResult},
        {"0/0", 0, 0, UndefinedResult},
        {"EXP(1000)", 0, 0, UndefinedResult},
        {"1/x+1", 0, 0, UndefinedResult},
        {"LOG(0)-LOG(0)", 0, 0, 0},
        {"(1/x)/2", 0, 0, UndefinedResult / 2},
        {"-(1/x)", 0, 0, -UndefinedResult},
        {"x*x", 1e200, 0, UndefinedResult},
        {"2*LOG(0)", 0, 0, UndefinedResult},
        {"0^(-1)", 0, 0, UndefinedResult},
        {"(-8)^(1/3)", 0, 0, UndefinedResult},
        {"10^400", 0, 0, UndefinedResult},
        {"SIN(x*x)-1", 1e200, 0, std::sin(UndefinedResult) - 1},
        {"EXP(-1000)", 0, 0, 0},
        {"x*x", 1e-200, 0, 0},
    };
    for (const Accepted& c : cases) {
        clsExpression e = Parsed(c.text);
        ASSERT_TRUE(e.isValid()) << c.text;
        EXPECT_EQ(Bits(e.ValueP(c.x, c.a)), Bits(c.value)) << c.text;
    }
    clsExpression a = Parsed("a");
    EXPECT_EQ(Bits(a.Value(1)), Bits(UndefinedResult));
    EXPECT_EQ(a.ValueP(1, 3), 3);
}

// Infinity and NaN come only from the caller: whatever the formula does with
// them, the value is undefined, never an infinity or a NaN.
TEST(clsExpressionTest, ArgumentsThatAreNotFiniteGiveUndefinedValues) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const char* const formulas[] = {"EXP(x)", "LOG(x)", "SQRT(x)", "FLOOR(x)", "x^2",
                                    "2^x",    "x",      "x+1",     "-x",       "ARCTAN(x)",
                                    "1/x",    "a*0",    "SIGN(a)", "3"};
    const struct {
        double x, a;
    } arguments[] = {{kInf, 1}, {-kInf, 1}, {std::nan(""), 1}, {1, kInf}, {1, -kInf}};
    for (const char* text : formulas) {
        clsExpression e = Parsed(text);
        ASSERT_TRUE(e.isValid()) << text;
        for (const auto& arg : arguments)
            EXPECT_EQ(Bits(e.ValueP(arg.x, arg.a)), Bits(UndefinedResult))
                << text << " at " << arg.x << ", " << arg.a;
    }
    clsExpression x = Parsed("x");
    EXPECT_EQ(Bits(x.Value(kInf)), Bits(UndefinedResult));
    EXPECT_EQ(x.Value(-1e308), -1e308);
    clsExpression none;
    EXPECT_EQ(Bits(none.Value(kInf)), Bits(0.0));
}

// Status flags left by an earlier undefined value, or by the caller, must not
// make a defined value undefined.
TEST(clsExpressionTest, StaleFlagsDoNotLeakIntoLaterValues) {
    clsExpression e = Parsed("1/x+x");
    EXPECT_EQ(Bits(e.Value(0)), Bits(UndefinedResult));
    EXPECT_EQ(e.Value(2), 2.5);
    std::feraiseexcept(FE_OVERFLOW | FE_DIVBYZERO | FE_INVALID);
    EXPECT_EQ(e.Value(2), 2.5);
}

TEST(clsExpressionTest, EmptyOrRejectedObjectEvaluatesToZero) {
    clsExpression e;
    EXPECT_FALSE(e.isValid());
    EXPECT_EQ(e.pe, 0);
    EXPECT_EQ(Bits(e.Value(3)), Bits(0.0));
    int16_t start = 1;
    e.FromString("x+1", start);
    EXPECT_EQ(e.Value(3), 4);
    e.FromString("x+", start = 1);
    EXPECT_FALSE(e.isValid());
    EXPECT_EQ(Bits(e.ValueP(3, 4)), Bits(0.0));
    e.FromString("  +x", start = 1);
    EXPECT_EQ(start, 4);
}

std::string LongestSum() {
    std::string sum = "1";
    while (sum.size() < 32767)
        sum += "+1";
    return sum;
}

TEST(clsExpressionTest, LimitsOfTextAndNumbers) {
    const clsExpression tooLong = Parsed(LongestSum() + " ");
    EXPECT_EQ(tooLong.pe, clsExpression::kFormulaTooLong);
    EXPECT_EQ(tooLong.errpos, 1);
    EXPECT_EQ(tooLong.ErrMessage(), "Formula longer than 32767 characters");
    // The position after the last character is beyond 16 bits.
    EXPECT_EQ(Parsed(std::string(32767, ' ')).errpos, 32767);

    const clsExpression huge = Parsed("x+1" + std::string(400, '0'));
    EXPECT_EQ(huge.pe, clsExpression::kNumberTooLarge);
    EXPECT_EQ(huge.errpos, 3);
    EXPECT_EQ(huge.ErrMessage(), "Number too large");
    EXPECT_EQ(Parsed("x+." + std::string(400, '0') + "1").ValueP(1, 0), 1);
}

// However deep a formula nests, parsing and evaluation need little stack; an
// undefined value deep inside goes on as a number.
TEST(clsExpressionTest, DeepFormulasRunOnASmallStack) {
    struct Job {
        std::string nested = "1/x";
        std::string chain = "1/x";
        double values[5] = {};
    } job;
    for (int i = 0; i < 1001; ++i)
        job.nested = "-(" + job.nested + ")";
    while (job.chain.size() < 4000)
        job.chain += "/2*2";
    const auto run = [](void* p) -> void* {
        Job& j = *static_cast<Job*>(p);
        j.values[0] = Parsed(LongestSum()).Value(0);
        clsExpression nested = Parsed(j.nested);
        j.values[1] = nested.Value(4);
        j.values[2] = nested.Value(0);
        clsExpression chain = Parsed(j.chain);
        j.values[3] = chain.Value(4);
        j.values[4] = chain.Value(0);
        return nullptr;
    };
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 256 * 1024);
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, &attributes, run, &job), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
    EXPECT_EQ(job.values[0], 16384);
    EXPECT_EQ(job.values[1], -0.25);
    EXPECT_EQ(Bits(job.values[2]), Bits(-UndefinedResult));
    EXPECT_EQ(job.values[3], 0.25);
    EXPECT_EQ(Bits(job.values[4]), Bits(UndefinedResult / 2 * 2));
}

TEST(clsExpressionTest, PositionsCountTextBoxCharacters) {
    clsExpression e;
    int16_t start = 1;
    e.FromString(u"\u00e9+2", start);
    EXPECT_EQ(e.pe, clsExpression::kInvalidSymbol);
    EXPECT_EQ(e.errpos, 1);
    e.FromString(u"x\u00e9\u00e9+2y", start = 1);
    EXPECT_EQ(e.errpos, 6);
    e.FromString(u"1+x", start = 3, 1);
    EXPECT_EQ(e.Value(6), 6);
}

TEST(clsExpressionTest, ExplicitLengthsCutTheTextAndLongOnesReachItsEnd) {
    const struct {
        int32_t length;
        bool valid;
        double value; // at x = 2
    } cases[] = {{1, true, 1}, {2, false, 0}, {3, true, 3}, {4, true, 3}, {INT32_MAX, true, 3}};
    for (const auto& c : cases) {
        clsExpression e;
        int16_t start = 1;
        e.FromString(std::string_view("1+x"), start, c.length);
        EXPECT_EQ(e.isValid(), c.valid) << c.length;
        EXPECT_EQ(e.Value(2), c.value) << c.length;
    }
    // From the "+": one leading "+" is dropped.
    clsExpression e;
    int16_t start = 2;
    e.FromString(std::string_view("1+x"), start, INT32_MAX);
    EXPECT_EQ(start, 3);
    EXPECT_EQ(e.Value(5), 5);
}

} // namespace
