#include "Color.h"
#include "DropDownList.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

using namespace platform;

namespace {

// "10 x 10" ... "50 x 50" with item data 10 ... 50, Click logged as ListIndex.
struct SizeList {
    SizeList() {
        for (int side = 10; side <= 50; side += 10) {
            list.AddItem(QString("%1 x %1").arg(side), side);
        }
        list.onClick = [this] { clicks.push_back(list.ListIndex()); };
    }

    DropDownList list;
    std::vector<int> clicks;
};

} // namespace

TEST(DropDownList, NoneChosenUntilSetAndItemDataByIndex) {
    SizeList s;
    EXPECT_EQ(s.list.ListIndex(), -1);
    EXPECT_EQ(s.list.Text(), "");
    EXPECT_EQ(s.list.ListCount(), 5);
    s.list.SetListIndex(2);
    EXPECT_EQ(s.list.ItemData(s.list.ListIndex()), 30);
    EXPECT_EQ(s.list.Text(), "30 x 30");
    s.list.SetItemData(4, 75);
    EXPECT_EQ(s.list.ItemData(4), 75);
    EXPECT_EQ(s.list.List(4), "50 x 50");
    EXPECT_THROW(s.list.ItemData(5), std::out_of_range);
    EXPECT_THROW(s.list.SetListIndex(5), std::out_of_range);
    EXPECT_THROW(s.list.Choose(-1), std::out_of_range);
}

TEST(DropDownList, CodeRaisesClickOnlyWhenTheIndexChangesTheUserAlways) {
    struct Step {
        const char* what;
        std::function<void(SizeList&)> act;
        std::vector<int> clicks;
    };
    const std::vector<Step> steps = {
        {"code, new index", [](SizeList& s) { s.list.SetListIndex(2); }, {2}},
        {"code, same index", [](SizeList& s) { s.list.SetListIndex(2); }, {}},
        {"text of the same item", [](SizeList& s) { EXPECT_TRUE(s.list.SelectText("30 x 30")); }, {}},
        {"text of another item", [](SizeList& s) { EXPECT_TRUE(s.list.SelectText("10 x 10")); }, {0}},
        {"text in no item", [](SizeList& s) { EXPECT_FALSE(s.list.SelectText("10 x 1")); }, {}},
        {"user, same item", [](SizeList& s) { s.list.Choose(0); }, {0}},
        {"user, next item by key",
         [](SizeList& s) { QTest::keyClick(&s.list, Qt::Key_Down); }, {1}},
        {"code, none", [](SizeList& s) { s.list.SetListIndex(-1); }, {-1}},
        {"adding, removing, clearing",
         [](SizeList& s) {
             s.list.AddItem("75 x 75", 75);
             s.list.RemoveItem(0);
             s.list.Clear();
         },
         {}},
    };
    SizeList s;
    for (const Step& step : steps) {
        s.clicks.clear();
        step.act(s);
        EXPECT_EQ(s.clicks, step.clicks) << step.what;
    }
}

TEST(DropDownList, RemovingKeepsTheChosenItemOrNone) {
    SizeList s;
    s.list.SetListIndex(3);
    s.list.RemoveItem(1);
    EXPECT_EQ(s.list.ListIndex(), 2);
    EXPECT_EQ(s.list.ItemData(2), 40);
    s.list.RemoveItem(2);
    EXPECT_EQ(s.list.ListIndex(), -1);
    s.list.Clear();
    s.list.AddItem("STOP");
    EXPECT_EQ(s.list.ListIndex(), -1);
    EXPECT_EQ(s.clicks, std::vector<int>{3});
}

TEST(DropDownList, DisabledIgnoresTheUserAndBackColorIsPainted) {
    SizeList s;
    s.list.setEnabled(false);
    s.list.Choose(1);
    EXPECT_EQ(s.list.ListIndex(), -1);
    EXPECT_TRUE(s.clicks.empty());

    EXPECT_EQ(s.list.BackColor(), kWindowColor);
    s.list.SetBackColor(kButtonFaceColor);
    EXPECT_EQ(s.list.BackColor(), kButtonFaceColor);
    EXPECT_EQ(s.list.palette().color(QPalette::Base), ToQColor(kButtonFaceColor));
    s.list.SetBackColor(Rgb(255, 0, 0));
    EXPECT_EQ(s.list.palette().color(QPalette::Button), QColor(255, 0, 0));
}
