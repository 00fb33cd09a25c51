#include "ScriptedDialogs.h"
#include "Surface.h"
#include "WindowSizeChecks.h"
#include "frmResults.h"

#include <QApplication>
#include <QLocale>
#include <QPushButton>
#include <clocale>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {

class frmResultsTest : public ::testing::Test {
protected:
    void SetUp() override { dialogs_.SetFailureHandler([](const std::string& what) { ADD_FAILURE() << what; }); }
    void TearDown() override {
        std::filesystem::remove_all(folder_);
        EXPECT_EQ(dialogs_.Unused(), 0u);
    }
    void Show(std::initializer_list<double> means) {
        for (const double m : means)
            form_.SetStat(form_.nums++, m);
        form_.show();
        QApplication::processEvents();
    }
    QString Path(const std::string& name) {
        std::filesystem::create_directories(folder_);
        return QString::fromStdString((folder_ / name).string());
    }
    // Whether any pixel inside the drawn text has the colour.
    bool TextHas(const std::string& text, QColor colour) const {
        const platform::Surface& s = *form_.surface;
        for (const reactimer::ChartMark& m : form_.Chart().marks) {
            const QString q = QString::fromStdString(text);
            for (int y = m.y1; m.text == text && y < m.y1 + s.TextHeight(q); ++y) {
                for (int x = m.x1; x < m.x1 + s.TextWidth(q); ++x) {
                    if (s.Pixel(x, y) == colour)
                        return true;
                }
            }
        }
        return false;
    }
    void ExpectMessage(const char* text) {
        const platform::DialogRequest& m = dialogs_.Requests().back();
        EXPECT_EQ(m.text, text);
        EXPECT_EQ(m.title, "Reactimer");
        EXPECT_EQ(m.icon, platform::MessageIcon::Critical);
    }

    platform::ScriptedDialogs dialogs_;
    std::filesystem::path folder_ = std::filesystem::temp_directory_path() / ("reactimer_w" + std::to_string(::getpid()));
    frmResults form_;
};

} // namespace

TEST_F(frmResultsTest, ChartFollowsTheWindowsTextExtentsAndItsSize) {
    Show({300, 250, 400, 450});
    const platform::Surface& s = *form_.surface;
    EXPECT_EQ(form_.windowTitle(), "Results");
    EXPECT_EQ(form_.cmdSave->text(), "Save results");
    EXPECT_EQ(form_.Chart().left, s.TextWidth("450 ms") + 40);
    EXPECT_EQ(form_.Chart().bottom, std::nearbyint(2.5 * s.TextHeight("450 ms") + 60 + form_.cmdSave->height()));
    const int left = form_.Chart().left;
    const int axisY = s.height() - form_.Chart().bottom;
    const double Sy = (axisY - 20) / 200.0;
    EXPECT_EQ(s.Pixel(left, std::nearbyint(axisY - 50 * Sy)), QColor(Qt::red)); // the first mean
    EXPECT_EQ(s.Pixel(left, axisY), QColor(Qt::blue));                          // the curve at T
    EXPECT_EQ(s.Pixel(left, 20), QColor(Qt::black));
    EXPECT_TRUE(TextHas("f(N) = Reaction time in milliseconds", Qt::red));
    EXPECT_TRUE(TextHas("g(N) = T + P * Log(1/N)", Qt::blue));
    EXPECT_FALSE(TextHas("g(N) = T + P * Log(1/N)", Qt::red));
    EXPECT_TRUE(TextHas("N = number of choices", Qt::black));
    EXPECT_TRUE(TextHas("300 ms", Qt::black));

    for (const QSize size : {QSize(900, 500), QSize(500, 320)}) {
        form_.resize(size);
        QApplication::processEvents();
        const QPushButton& save = *form_.cmdSave;
        const int l = form_.Chart().left;
        EXPECT_EQ(save.y(), size.height() - 20 - save.height());
        EXPECT_NEAR(save.x() + save.width() / 2.0, l + (size.width() - 20 - l) / 2.0, 1);
        EXPECT_EQ(s.Pixel(size.width() - 20, size.height() - form_.Chart().bottom), QColor(Qt::black));
        EXPECT_EQ(s.Pixel(size.width() - 19, size.height() - form_.Chart().bottom), QColor(Qt::white));
    }
    // The chart follows the window down to 6000 x 4500 twips.
    EXPECT_TRUE(platform_test::StopsShrinkingAt(form_, QSize(400, 300)));
}

TEST_F(frmResultsTest, FilesSavedUnderACommaLocaleOpenAgainAndFailuresSaySo) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const std::string cLocale = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    Show({1253.7, 1000.0 / 3, 1480.25});
    dialogs_.AnswerFile(Path("saved.txt"));
    form_.cmdSave_Click();
    std::setlocale(LC_ALL, cLocale.c_str());
    QLocale::setDefault(before);
    EXPECT_EQ(dialogs_.Requests().back().file.filter, "Text files (*.txt)|*.txt");
    EXPECT_EQ(dialogs_.Requests().back().file.defaultExt, "txt");

    frmResults again;
    dialogs_.AnswerFile(Path("saved.txt"));
    ASSERT_TRUE(again.OpenAFile());
    EXPECT_EQ(again.nums, 3);
    EXPECT_EQ(again.Means()[0], 1253.7);
    EXPECT_EQ(again.Means()[2], 1480.25);

    std::string many;
    for (int k = 1; k <= 27; ++k)
        many += "1,300\r\n";
    std::ofstream(Path("many.txt").toStdString()) << many;
    dialogs_.AnswerFile(Path("many.txt"));
    dialogs_.AnswerMessage(platform::MessageResult::Ok);
    EXPECT_FALSE(again.OpenAFile());
    ExpectMessage("Error opening file");
    EXPECT_EQ(again.nums, 3);

    dialogs_.AnswerFile(Path("no folder/saved.txt"));
    dialogs_.AnswerMessage(platform::MessageResult::Ok);
    form_.cmdSave_Click();
    ExpectMessage("Error saving file");
    EXPECT_TRUE(form_.isVisible());
    // Cancelled dialogs show nothing more.
    const size_t asked = dialogs_.Requests().size();
    dialogs_.AnswerFile("");
    form_.cmdSave_Click();
    dialogs_.AnswerFile("");
    EXPECT_FALSE(again.OpenAFile());
    EXPECT_EQ(dialogs_.Requests().size(), asked + 2);
}
