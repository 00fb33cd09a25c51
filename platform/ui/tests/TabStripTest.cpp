#include "TabStrip.h"

#include "ButtonArray.h"

#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

using namespace platform;

namespace {

// A settings window in the manner of Scrivel's: two tabs, each with its own
// frame over the strip's area, both frames on the same place of the window.
struct SettingsWindow : QWidget {
    SettingsWindow() {
        tabTabs->setGeometry(10, 10, 300, 200);
        for (const char* caption : {"Characters", "Aliases"}) {
            tabTabs->AddTab(caption);
        }
        for (int i = 0; i < 2; ++i) {
            framLetters[i] = new Frame(this);
            framLetters[i]->setGeometry(20, 50, 280, 150);
            tabTabs->SetTabFrame(i + 1, framLetters[i]);
        }
        cmdAdd = new QPushButton("New alias", framLetters[1]);
        tabTabs->BringToFront(framLetters[0]);
        tabTabs->onClick = [this] { clicks.push_back(tabTabs->SelectedIndex()); };
        resize(320, 220);
        show();
    }

    void ClickTab(int tab) {
        QTabBar* bar = tabTabs->Bar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab - 1).center());
    }

    TabStrip* tabTabs = new TabStrip(this);
    Frame* framLetters[2] = {};
    QPushButton* cmdAdd = nullptr;
    std::vector<int> clicks;
};

} // namespace

TEST(TabStrip, ClickingATabBringsItsFrameToTheFrontAndRaisesClick) {
    SettingsWindow w;
    EXPECT_EQ(w.tabTabs->TabCount(), 2);
    EXPECT_EQ(w.tabTabs->TabCaption(2), "Aliases");
    EXPECT_EQ(w.tabTabs->SelectedIndex(), 1);
    EXPECT_FALSE(w.cmdAdd->isVisible());

    std::vector<int> frontWhenClicked;
    w.tabTabs->onClick = [&] {
        w.clicks.push_back(w.tabTabs->SelectedIndex());
        frontWhenClicked.push_back(w.tabTabs->FrontFrame() == w.framLetters[1] ? 2 : 1);
    };
    w.ClickTab(2);
    EXPECT_TRUE(w.framLetters[1]->isVisible());
    EXPECT_FALSE(w.framLetters[0]->isVisible());
    EXPECT_TRUE(w.cmdAdd->isVisible());
    // The frame is in front over the strip, where the mouse finds it.
    EXPECT_EQ(w.childAt(w.cmdAdd->mapTo(&w, QPoint(2, 2))), w.cmdAdd);

    w.ClickTab(2); // the tab already selected: nothing
    w.ClickTab(1);
    EXPECT_EQ(w.clicks, (std::vector<int>{2, 1}));
    EXPECT_EQ(frontWhenClicked, (std::vector<int>{2, 1}));
    EXPECT_FALSE(w.cmdAdd->isVisible());
}

TEST(TabStrip, SelectFromCodeRaisesClickOnlyOnAChange) {
    SettingsWindow w;
    w.tabTabs->Select(1);
    EXPECT_TRUE(w.clicks.empty());
    w.tabTabs->Select(2);
    EXPECT_EQ(w.clicks, std::vector<int>{2});
    EXPECT_EQ(w.tabTabs->FrontFrame(), w.framLetters[1]);
    QTest::keyClick(w.tabTabs->Bar(), Qt::Key_Left);
    EXPECT_EQ(w.clicks, (std::vector<int>{2, 1}));
    EXPECT_THROW(w.tabTabs->Select(3), std::out_of_range);
    EXPECT_THROW(w.tabTabs->Select(0), std::out_of_range);
    EXPECT_THROW(w.tabTabs->TabCaption(3), std::out_of_range);
}

TEST(TabStrip, FramesWithoutATabComeToTheFrontOnlyFromCode) {
    // Scrivel's main window: four statistics tabs over one chart frame and one
    // prompt frame, the front one chosen by whether the statistics are valid.
    QWidget window;
    TabStrip tabStats(&window);
    for (const char* caption : {"Letters", "Pairs", "Triplets", "Language"}) {
        tabStats.AddTab(caption);
    }
    Frame chart(&window);
    Frame prompt(&window);
    tabStats.AddFrame(&chart);
    tabStats.AddFrame(&prompt);
    tabStats.BringToFront(&prompt);
    window.show();
    int clicks = 0;
    tabStats.onClick = [&] { ++clicks; };
    tabStats.Select(3);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(tabStats.FrontFrame(), &prompt);
    EXPECT_FALSE(chart.isVisible());
    tabStats.BringToFront(&chart);
    EXPECT_TRUE(chart.isVisible());
    EXPECT_FALSE(prompt.isVisible());
    EXPECT_EQ(tabStats.SelectedIndex(), 3);
    EXPECT_TRUE(tabStats.ClientArea().top() > 0);
}
