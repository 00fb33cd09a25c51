// Scrivel's settings window: the grid, the alias editor and the settings file.

#include "DropDownList.h"
#include "ListBox.h"
#include "ScrivelFixture.h"

namespace scrivel_test {
namespace {

TEST_F(ScrivelFixture, DefaultGroupsListed) {
    platform::ListBox& groups = *Letters().lstAliases;
    ASSERT_EQ(groups.ListCount(), 27);
    EXPECT_EQ(groups.List(0), "[Spc]\t[Tab]\t[LF]\t[CR]");
    EXPECT_EQ(groups.List(1), "A\ta");
    EXPECT_EQ(groups.List(26), "Z\tz");
}

} // namespace
} // namespace scrivel_test
