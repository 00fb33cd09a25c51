#include "Components.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

using entropia::Components;
using entropia::FormatDecimal;
using entropia::ReadEntry;
using Outcome = Components::Outcome;

Components With(std::initializer_list<const char*> texts) {
    Components c;
    for (const char* t : texts)
        EXPECT_EQ(c.Add(ReadEntry(t)), Outcome::Done) << t;
    return c;
}

TEST(Entropia, FormatDecimalTrimsZerosAndThePoint) {
    EXPECT_EQ(FormatDecimal(0.25, 5), "0.25");
    EXPECT_EQ(FormatDecimal(2, 5), "2");
    EXPECT_EQ(FormatDecimal(0, 16), "0");
    EXPECT_EQ(FormatDecimal(-0.5, 5), "-0.5");
    EXPECT_EQ(FormatDecimal(1e-20, 16), "0");
    EXPECT_EQ(FormatDecimal(-1e-20, 16), "0");
    EXPECT_EQ(FormatDecimal(1.0 / 3, 5), "0.33333");
    EXPECT_EQ(FormatDecimal(100, 16), "100");
}

TEST(Entropia, EntriesAsTyped) {
    const struct {
        const char* text;
        double p;
        const char* display;
    } cases[] = {
        {"0.5", 0.5, "0.5"},     {"3/0", 3, "3"},        {"4/2", 2, "4/2"},     {"1/2/3", 0.5, "1/2"},
        {"-1/2", -0.5, "-1/2"},  {"1/-2", -0.5, "-1/2"}, {"-1/-2", 0.5, "1/2"}, {"x7", 0, "0"},
        {"", 0, "0"},            {"1.5/3", 0.5, "0.5"},  {"1/3", 1.0 / 3, "1/3"}, {"-0", 0, "0"},
        {"2.123456789", 2.123456789, "2.12346"}, {"100", 100, "100"}, {"1e20", 1e20, "100000000000000000000"},
    };
    for (const auto& c : cases) {
        const entropia::Entry e = ReadEntry(c.text);
        EXPECT_DOUBLE_EQ(e.p, c.p) << c.text;
        EXPECT_EQ(e.display, c.display) << c.text;
    }
}

TEST(Entropia, SumsAndLines) {
    Components c = With({"1/2", "1/4", "1/4"});
    EXPECT_EQ(c.sumP(), 1);
    EXPECT_EQ(c.sumPLogP(), -1.5);
    EXPECT_EQ(c.Lines()[0], "1/2 * log(1/2) = -0.5");

    EXPECT_EQ(c.Add(ReadEntry("0")), Outcome::Done);
    EXPECT_EQ(c.Lines().back(), "0 * log(0) = 0");
    EXPECT_EQ(c.sumP(), 1);
    EXPECT_EQ(c.sumPLogP(), -1.5);

    EXPECT_EQ(c.Add(ReadEntry("-3")), Outcome::Negative);
    EXPECT_EQ(c.comps().size(), 4u);

    EXPECT_EQ(c.Remove(0), Outcome::Done);
    EXPECT_EQ(c.sumP(), 0.5);
    EXPECT_EQ(c.sumPLogP(), -1);
    EXPECT_EQ(c.Remove(3), Outcome::NoSelection);
}

TEST(Entropia, NonFiniteValuesAreRefusedAndTheListStaysInStep) {
    Components c = With({"2"});
    EXPECT_EQ(c.Add(ReadEntry("1e999")), Outcome::NotFinite);
    EXPECT_EQ(c.Add(ReadEntry("1e999/1e999")), Outcome::NotFinite);
    EXPECT_EQ(c.Add(ReadEntry("1e308")), Outcome::NotFinite) << "its term overflows";
    EXPECT_EQ(c.Add(ReadEntry("1e300")), Outcome::Done);
    EXPECT_EQ(c.comps().size(), c.Lines().size());
    EXPECT_EQ(c.Normalize(), Outcome::Done);
    for (const double q : c.comps())
        EXPECT_TRUE(std::isfinite(q));
    EXPECT_EQ(c.Remove(1), Outcome::Done);
    EXPECT_EQ(c.comps().size(), 1u);
}

TEST(Entropia, Normalizing) {
    Components c = With({"2", "2"});
    EXPECT_EQ(c.Normalize(), Outcome::Done);
    EXPECT_EQ(c.Lines(), (std::vector<std::string>{"2/4 * log(2/4) = -0.5", "2/4 * log(2/4) = -0.5"}));
    EXPECT_EQ(c.sumP(), 1);
    EXPECT_EQ(c.sumPLogP(), -1);

    Components whole = With({"5", "0"});
    EXPECT_EQ(whole.Normalize(), Outcome::Done);
    EXPECT_EQ(whole.Lines(), (std::vector<std::string>{"1 * log(1) = 0", "0 * log(0) = 0"}));

    Components normal = With({"1/4", "3/4"});
    EXPECT_EQ(normal.Normalize(), Outcome::Done);
    EXPECT_EQ(normal.Lines()[0], "0.25 * log(0.25) = -0.5");

    Components weights = With({"1", "2", "3"});
    weights.Normalize();
    EXPECT_EQ(weights.Lines()[2].substr(0, 3), "3/6");

    Components empty = With({"0"});
    EXPECT_EQ(empty.Normalize(), Outcome::ZeroSum);
    EXPECT_EQ(empty.Lines().size(), 1u);
}

} // namespace
