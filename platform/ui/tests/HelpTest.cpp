#include "Help.h"

#include "ProgramFolder.h"
#include "TextBox.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <gtest/gtest.h>

using namespace platform;

TEST(Help, PagesAreFoundUnderTheExtractedFolder) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QDir(folder.path()).mkpath("html");
    QFile page(folder.filePath("html/lifeboard.htm"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.close();

    EXPECT_EQ(HelpPagePath(folder.path(), "lifeboard.htm"), QFileInfo(page).absoluteFilePath());
    EXPECT_EQ(HelpPagePath(folder.path(), "lifeboard.htm#rules"),
              QFileInfo(page).absoluteFilePath());
    EXPECT_EQ(HelpPagePath(folder.path(), "codetree.htm"), "");
    EXPECT_EQ(HelpPagePath(folder.path(), "../html/lifeboard.htm"), "");
    EXPECT_EQ(HelpPagePath(folder.path() + "/missing", "lifeboard.htm"), "");
}

TEST(Help, WithoutAHelpFileNothingIsShown) {
    const auto windows = QApplication::topLevelWidgets().size();
    ShowHelp("lifeboard.htm");
    QApplication::processEvents();
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windows);
}

TEST(Help, F1AnywhereInTheWindowOpensItsPage) {
    std::vector<QString> pages;
    SetHelpHandler([&](const QString& page) { pages.push_back(page); });
    QWidget window;
    auto* box = new TextBox(&window);
    BindHelpKey(&window, "lifeboard.htm");
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    box->setFocus();

    QTest::keyClick(box, Qt::Key_F1);
    SetHelpHandler(nullptr);
    EXPECT_EQ(pages, std::vector<QString>{"lifeboard.htm"});
}

TEST(ProgramFolder, IsTheExecutablesFolder) {
    EXPECT_EQ(QDir(QString::fromStdString(ProgramFolder().string())).canonicalPath(),
              QDir(QCoreApplication::applicationDirPath()).canonicalPath());
}

TEST(ProgramFolder, TestsMayPutAnotherFolderInItsPlace) {
    const std::filesystem::path executableFolder = ProgramFolder();
    const std::filesystem::path folder = std::filesystem::path(testing::TempDir()) / "program";
    SetProgramFolder(folder);
    EXPECT_EQ(ProgramFolder(), folder);
    SetProgramFolder({});
    EXPECT_EQ(ProgramFolder(), executableFolder);
}
