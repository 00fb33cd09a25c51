#include "InputEvents.h"
#include "ListBox.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace platform;

namespace {

// A shown window holding a list of n items "item k" with data 10 k, and a text
// box to move the focus to. Events are logged by name.
struct ListWindow {
    explicit ListWindow(ListSelection selection = ListSelection::Single, int n = 4)
        : list(nullptr, selection) {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(&list);
        layout->addWidget(&box);
        for (int k = 0; k < n; ++k) {
            list.AddItem("item " + QString::number(k), 10 * k);
        }
        list.onClick = [this] { log.push_back("Click " + std::to_string(list.ListIndex())); };
        list.onDblClick = [this] { log.push_back("DblClick " + std::to_string(list.ListIndex())); };
        list.onGotFocus = [this] { log.push_back("GotFocus"); };
        list.onLostFocus = [this] { log.push_back("LostFocus"); };
        window.resize(200, 300);
        window.show();
        QApplication::setActiveWindow(&window);
    }

    QPoint At(int index) { return list.visualItemRect(list.item(index)).center(); }

    QWidget window;
    ListBox list;
    QLineEdit box;
    std::vector<std::string> log;
};

using Log = std::vector<std::string>;

} // namespace

TEST(ListBox, CodeSetsRaiseClickOnlyWhenTheSelectionChanges) {
    ListWindow w;
    EXPECT_EQ(w.list.ListIndex(), -1);
    w.list.SetListIndex(2);
    w.list.SetListIndex(2);
    w.list.SetSelected(2, true);
    w.list.SetSelected(1, false);
    EXPECT_EQ(w.list.Text(), "item 2");
    w.list.SetSelected(3, true);
    w.list.SetSelected(3, false);
    w.list.SetListIndex(-1);
    EXPECT_EQ(w.log, (Log{"GotFocus", "Click 2", "Click 3", "Click -1"}));
    EXPECT_EQ(w.list.Text(), "");

    // Adding, removing and clearing raise nothing.
    w.log.clear();
    w.list.AddItem("item 4", 40);
    w.list.RemoveItem(0);
    w.list.Clear();
    EXPECT_TRUE(w.log.empty());
    EXPECT_EQ(w.list.ListCount(), 0);
}

TEST(ListBox, ItemDataStaysWithItsItemAndRemovalKeepsTheSelection) {
    ListWindow w(ListSelection::Single, 5);
    w.list.SetListIndex(3);
    w.list.RemoveItem(1);
    EXPECT_EQ(w.list.ListIndex(), 2);
    EXPECT_EQ(w.list.ItemData(2), 30);
    EXPECT_EQ(w.list.List(1), "item 2");
    w.list.SetItemData(1, -7);
    w.list.SetList(1, "A\ta");
    EXPECT_EQ(w.list.ItemData(1), -7);
    EXPECT_EQ(w.list.List(1), "A\ta");

    // Removing the selected item leaves none selected, not its neighbour.
    w.list.RemoveItem(2);
    EXPECT_EQ(w.list.ListIndex(), -1);
    EXPECT_EQ(w.list.SelCount(), 0);
    EXPECT_EQ(w.list.ListCount(), 3);

    for (int bad : {-1, 3}) {
        EXPECT_THROW(w.list.List(bad), std::out_of_range);
        EXPECT_THROW(w.list.RemoveItem(bad), std::out_of_range);
    }
    EXPECT_THROW(w.list.SetListIndex(-2), std::out_of_range);
    EXPECT_THROW(w.list.SetListIndex(3), std::out_of_range);
}

TEST(ListBox, UserClicksAndKeysRaiseClickAndDblClick) {
    ListWindow w;
    QTest::mouseClick(w.list.viewport(), Qt::LeftButton, {}, w.At(1));
    QTest::mouseClick(w.list.viewport(), Qt::LeftButton, {}, w.At(1));
    // A double click reaches a widget as a click and then a double-click event.
    QTest::mouseClick(w.list.viewport(), Qt::LeftButton, {}, w.At(2));
    QTest::mouseDClick(w.list.viewport(), Qt::LeftButton, {}, w.At(2));
    EXPECT_EQ(w.log, (Log{"GotFocus", "Click 1", "Click 1", "Click 2", "DblClick 2"}));

    // Below the last item, and with the right button: nothing changes.
    w.log.clear();
    QTest::mouseClick(w.list.viewport(), Qt::LeftButton, {}, QPoint(5, w.list.viewport()->height() - 2));
    QTest::mouseClick(w.list.viewport(), Qt::RightButton, {}, w.At(0));
    EXPECT_TRUE(w.log.empty());
    EXPECT_EQ(w.list.ListIndex(), 2);

    QTest::keyClick(&w.list, Qt::Key_Down);
    QTest::keyClick(&w.list, Qt::Key_Down); // already on the last item
    QTest::keyClick(&w.list, Qt::Key_Home);
    EXPECT_EQ(w.log, (Log{"Click 3", "Click 0"}));

    w.log.clear();
    w.list.ClickItem(3);
    w.list.setEnabled(false); // which moves the focus away
    w.list.ClickItem(1);
    EXPECT_EQ(w.log, (Log{"Click 3", "LostFocus"}));
    EXPECT_EQ(w.list.ListIndex(), 3);
}

TEST(ListBox, MultipleSelectionTogglesAndExtends) {
    ListWindow w(ListSelection::Multiple, 6);
    w.list.ClickItem(1);
    w.list.ClickItem(4, kShiftKey);
    EXPECT_EQ(w.list.SelCount(), 4);
    w.list.ClickItem(2, kCtrlKey);
    EXPECT_FALSE(w.list.Selected(2));
    EXPECT_EQ(w.list.ListIndex(), 2); // the focus item
    w.list.SetSelected(5, true);
    w.list.SetSelected(5, true);
    EXPECT_EQ(w.log, (Log{"GotFocus", "Click 1", "Click 4", "Click 2", "Click 2"}));

    // The user's Ctrl+click and plain click.
    QTest::mouseClick(w.list.viewport(), Qt::LeftButton, Qt::ControlModifier, w.At(0));
    std::vector<int> selected;
    for (int i = 0; i < w.list.ListCount(); ++i) {
        if (w.list.Selected(i)) {
            selected.push_back(i);
        }
    }
    EXPECT_EQ(selected, (std::vector<int>{0, 1, 3, 4, 5}));
    QTest::mouseClick(w.list.viewport(), Qt::LeftButton, {}, w.At(3));
    EXPECT_EQ(w.list.SelCount(), 1);
    EXPECT_EQ(w.log.back(), "Click 3");

    // Removing an item keeps the others' selection.
    w.list.SetSelected(5, true);
    w.list.RemoveItem(4);
    EXPECT_EQ(w.list.SelCount(), 2);
    EXPECT_TRUE(w.list.Selected(3));
    EXPECT_TRUE(w.list.Selected(4));
    EXPECT_EQ(w.list.ItemData(4), 50);
}

TEST(ListBox, FocusEventsWithinTheWindowOnly) {
    ListWindow w; // shown with the focus on the list
    w.list.setFocus(Qt::TabFocusReason);
    w.box.setFocus(Qt::TabFocusReason);
    EXPECT_EQ(w.log, (Log{"GotFocus", "LostFocus"}));

    // Another window taking the activation moves no focus within this one.
    w.list.setFocus(Qt::TabFocusReason);
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QApplication::setActiveWindow(&w.window);
    EXPECT_EQ(w.log, (Log{"GotFocus", "LostFocus", "GotFocus"}));
    EXPECT_TRUE(w.list.hasFocus());
}

TEST(ListBox, LostFocusHandlerKeepsTheFocusOnAnEmptyList) {
    ListWindow w(ListSelection::Single, 0);
    int complaints = 0;
    w.list.onLostFocus = [&] {
        if (w.list.ListCount() == 0) {
            ++complaints;
            w.list.setFocus();
        }
    };
    w.list.setFocus(Qt::TabFocusReason);
    w.box.setFocus(Qt::TabFocusReason);
    EXPECT_EQ(complaints, 1);
    EXPECT_TRUE(w.list.hasFocus());
    EXPECT_FALSE(w.box.hasFocus());

    w.list.AddItem("a");
    w.box.setFocus(Qt::TabFocusReason);
    EXPECT_EQ(complaints, 1);
    EXPECT_TRUE(w.box.hasFocus());
}
