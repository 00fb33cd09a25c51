#include <gtest/gtest.h>

#include "Guid.h"

using namespace com;

TEST(Guid, TextFormRoundTripsAndKeepsByteOrder) {
    constexpr GUID g = MakeGuid("{8A238A74-CB77-4689-AED7-41B6B77EAA9D}");
    EXPECT_EQ(g.Data1, 0x8A238A74u);
    EXPECT_EQ(g.Data2, 0xCB77);
    EXPECT_EQ(g.Data3, 0x4689);
    EXPECT_EQ(g.Data4[0], 0xAE);
    EXPECT_EQ(g.Data4[7], 0x9D);
    EXPECT_EQ(StringFromGUID(g), "{8A238A74-CB77-4689-AED7-41B6B77EAA9D}");
    EXPECT_EQ(GuidFromString("{8a238a74-cb77-4689-aed7-41b6b77eaa9d}"), g);
}

TEST(Guid, MalformedTextIsRefused) {
    for (const char* text : {"", "8A238A74-CB77-4689-AED7-41B6B77EAA9D",
                             "{8A238A74-CB77-4689-AED7-41B6B77EAA9}", "{8A238A74-CB77-4689-AED741B6B77EAA9D}",
                             "{8A238A74xCB77-4689-AED7-41B6B77EAA9D}", "{8A238A74-CB77-4689-AED7-41B6B77EAA9G}",
                             "{8A238A74-CB77-4689-AED7-41B6B77EAA9D}x"})
        EXPECT_FALSE(GuidFromString(text).has_value()) << text;
}
