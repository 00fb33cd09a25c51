#pragma once

// The F1 probe of the programs' window tests.

#include "Help.h"

#include <QApplication>
#include <QString>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <vector>

namespace platform_test {

// Makes window the active window, presses F1 in focus (the window itself when
// null) and returns the help pages asked for meanwhile; the help handler is null
// again afterwards.
inline std::vector<QString> HelpPagesOnF1(QWidget& window, QWidget* focus = nullptr) {
    std::vector<QString> pages;
    platform::SetHelpHandler([&pages](const QString& page) { pages.push_back(page); });
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    if (focus)
        focus->setFocus();
    QTest::keyClick(focus ? focus : &window, Qt::Key_F1);
    platform::SetHelpHandler(nullptr);
    return pages;
}

} // namespace platform_test
