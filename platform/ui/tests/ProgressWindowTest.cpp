#include "Help.h"
#include "ProgressBar.h"
#include "ProgressWindow.h"
#include "WindowSizeChecks.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace platform;

TEST(ProgressWindow, CancelEscapeAndTheCloseBoxAskTheOperationToStopAndTheWindowStays) {
    QWidget owner;
    owner.show();
    int cancels = 0;
    ProgressWindow window(&owner, {.title = "Working",
                                   .text = "Reading. Please wait...",
                                   .textWidth = 200,
                                   .helpTopic = "work.htm",
                                   .onCancel = [&] { ++cancels; }});
    EXPECT_EQ(window.windowTitle(), "Working");
    EXPECT_EQ(window.Label()->text(), "Reading. Please wait...");
    EXPECT_GE(window.Label()->minimumWidth(), 200);
    EXPECT_FALSE(window.Progress()->isTextVisible());

    window.ShowModeless();
    EXPECT_TRUE(platform_test::KeepsItsSize(window));
    window.cmdCancel->click();
    QTest::keyClick(&window, Qt::Key_Escape);
    window.close();
    EXPECT_EQ(cancels, 3);
    EXPECT_TRUE(window.isVisible());

    // The operation, having seen the cancel, ends and hides its window.
    window.hide();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(cancels, 3);
}

TEST(ProgressWindow, F1ShowsTheOwnersPageAndAWindowWithoutCancelHandlerIgnoresCancel) {
    QWidget owner;
    owner.show();
    std::vector<QString> pages;
    SetHelpHandler([&](const QString& page) { pages.push_back(page); });
    ProgressWindow window(&owner, {.title = "Working", .text = "", .helpTopic = "work.htm", .onCancel = {}});
    window.ShowModeless();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(window.cmdCancel, Qt::Key_F1);
    window.cmdCancel->click();
    SetHelpHandler(nullptr);
    EXPECT_EQ(pages, std::vector<QString>{"work.htm"});
    EXPECT_TRUE(window.isVisible());
}
