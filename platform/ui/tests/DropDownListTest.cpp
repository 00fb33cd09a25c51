#include "Color.h"
#include "DropDownList.h"

#include <QTest>
#include <gtest/gtest.h>
#include <functional>
#include <vector>

using namespace platform;

// "10 x 10" ... "50 x 50" with item data 10 ... 50; each step's Clicks, logged as
// ListIndex.
TEST(DropDownList, CodeRaisesClickOnlyWhenTheIndexChangesTheUserAlways) {
    DropDownList list;
    std::vector<int> clicks;
    list.onClick = [&] { clicks.push_back(list.ListIndex()); };
    for (int side = 10; side <= 50; side += 10) {
        list.AddItem(QString("%1 x %1").arg(side), side);
    }
    EXPECT_EQ(list.ListIndex(), -1);
    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<int> clicks;
        int data; // of the chosen item
    };
    const std::vector<Step> steps = {
        {"code, new index", [&] { list.SetListIndex(2); }, {2}, 30},
        {"code, same index", [&] { list.SetListIndex(2); }, {}, 30},
        {"text of the same item", [&] { EXPECT_TRUE(list.SelectText("30 x 30")); }, {}, 30},
        {"text of another item", [&] { EXPECT_TRUE(list.SelectText("10 x 10")); }, {0}, 10},
        {"text in no item", [&] { EXPECT_FALSE(list.SelectText("10 x 1")); }, {}, 10},
        {"user, same item", [&] { list.Choose(0); }, {0}, 10},
        {"user, next item by key", [&] { QTest::keyClick(&list, Qt::Key_Down); }, {1}, 20},
        {"removing an item above", [&] { list.RemoveItem(0); }, {}, 20},
        {"adding an item", [&] { list.AddItem("75 x 75", 75); }, {}, 20},
        {"user while disabled",
         [&] {
             list.setEnabled(false);
             list.Choose(3);
             list.setEnabled(true);
         },
         {},
         20},
    };
    for (const Step& step : steps) {
        clicks.clear();
        step.act();
        EXPECT_EQ(clicks, step.clicks) << step.what;
        EXPECT_EQ(list.ItemData(list.ListIndex()), step.data) << step.what;
    }

    // Removing the chosen item leaves none chosen; so does an item added to an
    // empty list.
    list.RemoveItem(0);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.Text(), "");
    list.Clear();
    list.AddItem("STOP");
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_TRUE(clicks.empty());
    EXPECT_THROW(list.SetListIndex(1), std::out_of_range);
}

TEST(DropDownList, BackColorIsPainted) {
    DropDownList list;
    EXPECT_EQ(list.BackColor(), kWindowColor);
    list.SetBackColor(kButtonFaceColor);
    EXPECT_EQ(list.BackColor(), kButtonFaceColor);
    EXPECT_EQ(list.palette().color(QPalette::Base), ToQColor(kButtonFaceColor));
    EXPECT_EQ(list.palette().color(QPalette::Button), ToQColor(kButtonFaceColor));
}
