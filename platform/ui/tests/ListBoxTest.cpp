#include "DefaultButtons.h"
#include "InputEvents.h"
#include "ListBox.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace platform;

namespace {

using Log = std::vector<std::string>;

// A shown window (the focus on the list) holding n items "item k" with data 10 k
// and a text box to move the focus to; the list's events are logged.
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

    void Click(int index, Qt::KeyboardModifiers keys = {}) {
        QTest::mouseClick(list.viewport(), Qt::LeftButton, keys,
                          list.visualItemRect(list.item(index)).center());
    }

    QWidget window;
    ListBox list;
    QLineEdit box;
    Log log;
};

} // namespace

TEST(ListBox, CodeRaisesClickOnlyWhenTheSelectionChangesAndItemDataStays) {
    ListWindow w(ListSelection::Single, 5);
    w.log.clear();
    w.list.SetListIndex(3);
    w.list.SetListIndex(3);
    w.list.SetSelected(3, true);
    w.list.SetSelected(1, false);
    w.list.RemoveItem(1); // adding, removing and clearing raise nothing
    w.list.AddItem("item 5", 50);
    EXPECT_EQ(w.list.ListIndex(), 2);
    EXPECT_EQ(w.list.Text(), "item 3");
    EXPECT_EQ(w.list.ItemData(2), 30);
    // Removing the selected item leaves none selected, not its neighbour.
    w.list.RemoveItem(2);
    EXPECT_EQ(w.list.ListIndex(), -1);
    EXPECT_EQ(w.list.SelCount(), 0);
    w.list.SetSelected(3, true);
    w.list.SetListIndex(-1);
    EXPECT_EQ(w.log, (Log{"Click 3", "Click 3", "Click -1"}));
    EXPECT_EQ(w.list.ItemData(3), 50);
    EXPECT_THROW(w.list.List(4), std::out_of_range);
    EXPECT_THROW(w.list.SetListIndex(-2), std::out_of_range);
}

TEST(ListBox, UserClicksAndKeysRaiseClickAndDblClick) {
    ListWindow w;
    w.Click(1);
    w.Click(1);
    // A double click reaches a widget as a click and then a double-click event.
    w.Click(2);
    QTest::mouseDClick(w.list.viewport(), Qt::LeftButton, {},
                       w.list.visualItemRect(w.list.item(2)).center());
    // Below the last item, and with the right button: nothing changes.
    QTest::mouseClick(w.list.viewport(), Qt::LeftButton, {}, QPoint(5, w.list.viewport()->height() - 2));
    QTest::mouseClick(w.list.viewport(), Qt::RightButton, {}, QPoint(5, 5));
    QTest::keyClick(&w.list, Qt::Key_Down);
    QTest::keyClick(&w.list, Qt::Key_Down); // already on the last item
    QTest::keyClick(&w.list, Qt::Key_Home);
    w.list.setEnabled(false); // which moves the focus away
    w.list.ClickItem(1);
    EXPECT_EQ(w.log, (Log{"GotFocus", "Click 1", "Click 1", "Click 2", "DblClick 2", "Click 3",
                          "Click 0", "LostFocus"}));
}

TEST(ListBox, MultipleSelectionTogglesAndExtends) {
    ListWindow w(ListSelection::Multiple, 6);
    w.list.ClickItem(1);
    w.list.ClickItem(4, kShiftKey);
    w.list.ClickItem(2, kCtrlKey);
    w.list.SetSelected(5, true);
    w.list.SetSelected(5, true);
    w.Click(0, Qt::ControlModifier);
    std::vector<int> selected;
    for (int i = 0; i < w.list.ListCount(); ++i) {
        if (w.list.Selected(i)) {
            selected.push_back(i);
        }
    }
    EXPECT_EQ(selected, (std::vector<int>{0, 1, 3, 4, 5}));
    // Removing an item keeps the others' selection.
    w.list.RemoveItem(4);
    EXPECT_EQ(w.list.SelCount(), 4);
    EXPECT_TRUE(w.list.Selected(4));
    w.Click(3);
    EXPECT_EQ(w.list.SelCount(), 1);
    EXPECT_EQ(w.log, (Log{"GotFocus", "Click 1", "Click 4", "Click 2", "Click 2", "Click 0",
                          "Click 3"}));
}

TEST(ListBox, FocusEventsWithinTheWindowAndAHandlerKeepingTheFocus) {
    ListWindow w(ListSelection::Single, 0);
    w.box.setFocus(Qt::TabFocusReason);
    w.list.setFocus(Qt::TabFocusReason);
    // Another window taking the activation and giving it back raises nothing.
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QApplication::setActiveWindow(&w.window);
    EXPECT_TRUE(w.list.hasFocus());
    EXPECT_EQ(w.log, (Log{"GotFocus", "LostFocus", "GotFocus"}));

    // An empty list keeps the focus, as a pattern-set dialog asks.
    w.list.onLostFocus = [&] {
        w.log.push_back("LostFocus, " + std::to_string(w.list.ListCount()) + " items");
        if (w.list.ListCount() == 0) {
            w.list.setFocus();
        }
    };
    w.box.setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(w.list.hasFocus());
    w.list.AddItem("a");
    w.box.setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(w.box.hasFocus());
    EXPECT_EQ(w.log, (Log{"GotFocus", "LostFocus", "GotFocus", "LostFocus, 0 items", "GotFocus",
                          "LostFocus, 1 items"}));
}

TEST(ListBox, EnterGoesToTheDefaultButtonThatTheFocusChose) {
    ListWindow w;
    QPushButton add("Add >", &w.window), remove("< Remove", &w.window);
    DefaultButtons buttons(&w.window);
    w.list.onGotFocus = [&] { buttons.SetDefault(&remove); };
    std::vector<QString> pressed;
    for (QPushButton* button : {&add, &remove}) {
        button->show(); // made after the window was shown
        QObject::connect(button, &QPushButton::clicked, [&, button] { pressed.push_back(button->text()); });
    }
    w.box.setFocus(Qt::TabFocusReason);
    buttons.SetDefault(&add);
    QTest::keyClick(&w.box, Qt::Key_Return);
    w.list.setFocus(Qt::TabFocusReason);
    w.list.SetListIndex(1);
    QTest::keyClick(&w.list, Qt::Key_Return);
    EXPECT_EQ(pressed, (std::vector<QString>{"Add >", "< Remove"}));
}
