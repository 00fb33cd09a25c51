#include "SeedVariable.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

using platform::ParseSeed;
using platform::SeedRefusal;

TEST(SeedVariable, TakesDecimalWholeNumbersInRangeAlone) {
    EXPECT_EQ(ParseSeed("0"), 0u);
    EXPECT_EQ(ParseSeed("20240611"), 20240611u);
    EXPECT_EQ(ParseSeed("007"), 7u);
    EXPECT_EQ(ParseSeed("18446744073709551615"), UINT64_MAX);
    for (const char* text : {"", "-1", "-0", "+1", " 1", "1 ", "12x", "0x10", "1e3", "1.0",
                             "18446744073709551616", "99999999999999999999999"})
        EXPECT_EQ(ParseSeed(text), std::nullopt) << '"' << text << '"';

    ::setenv("VERITOPE_TEST_SEED", "-1", 1);
    EXPECT_EQ(platform::SeedFromEnvironment("Test", "VERITOPE_TEST_SEED"), std::nullopt);
    ::setenv("VERITOPE_TEST_SEED", "42", 1);
    EXPECT_EQ(platform::SeedFromEnvironment("Test", "VERITOPE_TEST_SEED"), 42u);
    ::unsetenv("VERITOPE_TEST_SEED");
    EXPECT_EQ(platform::SeedFromEnvironment("Test", "VERITOPE_TEST_SEED"), std::nullopt);
}

TEST(SeedVariable, RefusalEchoesTheValueCutToALine) {
    EXPECT_EQ(SeedRefusal("PRNG", "VERITOPE_PRNG_SEED", "-1"),
              "PRNG: VERITOPE_PRNG_SEED=\"-1\" is not a whole number from 0 to "
              "18446744073709551615; ignored\n");
    const std::string huge(1 << 20, '7');
    for (const std::string& value : {huge + "x", std::string("12\nforged line"), std::string("1\r2")}) {
        const std::string line = SeedRefusal("Neural", "VERITOPE_NEURAL_SEED", value);
        EXPECT_LT(line.size(), 160u);
        EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1);
        EXPECT_EQ(line.find('\r'), std::string::npos);
        EXPECT_NE(line.find("...\" is not"), std::string::npos) << line;
    }
}
