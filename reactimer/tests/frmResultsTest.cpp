#include "ResultsFile.h"
#include "ScriptedDialogs.h"
#include "Surface.h"
#include "frmResults.h"

#include <QApplication>
#include <QLocale>
#include <QPushButton>
#include <clocale>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

class frmResultsTest : public ::testing::Test {
protected:
    void SetUp() override {
        dialogs_.SetFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
        folder_ = std::filesystem::temp_directory_path() /
                  ("reactimer_results_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        form_ = std::make_unique<frmResults>();
    }
    void TearDown() override {
        form_.reset();
        std::filesystem::remove_all(folder_);
        EXPECT_EQ(dialogs_.Unused(), 0u) << "scripted answers left over";
    }

    void Show(std::initializer_list<double> means) {
        int k = 0;
        for (const double m : means)
            form_->SetStat(k++, m);
        form_->nums = static_cast<int16_t>(k);
        form_->show();
        QApplication::processEvents();
    }
    QString Path(const char* name) const { return QString::fromStdString((folder_ / name).string()); }
    void WriteFile(const char* name, const std::string& text) const {
        std::ofstream(folder_ / name, std::ios::binary) << text;
    }
    // Whether any pixel of the text's box has the colour.
    bool TextHas(const std::string& text, QColor colour) const {
        const platform::Surface& s = *form_->surface;
        for (const reactimer::ChartMark& m : form_->Chart().marks) {
            if (m.text != text)
                continue;
            const QString q = QString::fromStdString(text);
            for (int y = m.y1; y < m.y1 + s.TextHeight(q); ++y) {
                for (int x = m.x1; x < m.x1 + s.TextWidth(q); ++x) {
                    if (s.Pixel(x, y) == colour)
                        return true;
                }
            }
        }
        return false;
    }

    platform::ScriptedDialogs dialogs_;
    std::filesystem::path folder_;
    std::unique_ptr<frmResults> form_;
};

} // namespace

TEST_F(frmResultsTest, ChartIsDrawnFromTheWindowsTextExtentsInItsColours) {
    Show({300, 250, 400, 450});
    const platform::Surface& s = *form_->surface;
    const reactimer::ChartDrawing& chart = form_->Chart();
    EXPECT_EQ(form_->windowTitle(), "Results");
    EXPECT_EQ(chart.left, s.TextWidth("450 ms") + 40);
    EXPECT_EQ(chart.bottom, static_cast<int>(std::nearbyint(2.5 * s.TextHeight("450 ms") + 60 +
                                                            form_->cmdSave->height())));
    const int axisY = s.height() - chart.bottom;
    // The first mean is red on the y-axis, the curve's start at T blue.
    const double Sy = (s.height() - 20 - chart.bottom) / 200.0;
    EXPECT_EQ(s.Pixel(chart.left, static_cast<int>(std::nearbyint(axisY - 50 * Sy))), QColor(Qt::red));
    EXPECT_EQ(s.Pixel(chart.left, axisY), QColor(Qt::blue));
    EXPECT_EQ(s.Pixel(chart.left, 20), QColor(Qt::black));
    EXPECT_EQ(s.Pixel(s.width() - 20, axisY), QColor(Qt::black));
    EXPECT_TRUE(TextHas("f(N) = Reaction time in milliseconds", Qt::red));
    EXPECT_TRUE(TextHas("g(N) = T + P * Log(1/N)", Qt::blue));
    EXPECT_FALSE(TextHas("g(N) = T + P * Log(1/N)", Qt::red));
    EXPECT_TRUE(TextHas("T = threshold reaction time = 250 ms", Qt::blue));
    EXPECT_TRUE(TextHas("N = number of choices", Qt::black));
    EXPECT_TRUE(TextHas("300 ms", Qt::black));
}

TEST_F(frmResultsTest, ResizingRedrawsAndKeepsSaveAtTheBottomCentreOfThePlot) {
    Show({520, 610, 640, 700, 690});
    for (const QSize size : {QSize(900, 500), QSize(500, 320)}) {
        form_->resize(size);
        QApplication::processEvents();
        const reactimer::ChartDrawing& chart = form_->Chart();
        const QPushButton& save = *form_->cmdSave;
        EXPECT_EQ(form_->surface->size(), size);
        EXPECT_EQ(save.y(), size.height() - 20 - save.height());
        EXPECT_NEAR(save.x() + save.width() / 2.0, chart.left + (size.width() - 20 - chart.left) / 2.0, 1);
        EXPECT_EQ(form_->surface->Pixel(size.width() - 20, size.height() - chart.bottom), QColor(Qt::black));
        EXPECT_EQ(form_->surface->Pixel(size.width() - 19, size.height() - chart.bottom), QColor(Qt::white));
    }
}

TEST_F(frmResultsTest, OpeningLoadsAFileOrSaysWhyNot) {
    WriteFile("three.txt", "5,310\r\n9,420\r\n2,515\r\n");
    std::string many;
    for (int k = 1; k <= 27; ++k)
        many += std::to_string(k) + ",300\r\n";
    WriteFile("many.txt", many);

    dialogs_.AnswerFile(Path("three.txt"));
    ASSERT_TRUE(form_->OpenAFile());
    EXPECT_EQ(form_->nums, 3);
    EXPECT_EQ(form_->Means()[2], 515);
    const platform::DialogRequest& open = dialogs_.Requests().back();
    EXPECT_EQ(open.file.filter, "Text files (*.txt)|*.txt");
    EXPECT_EQ(open.file.defaultExt, "txt");

    for (const char* name : {"many.txt", "missing.txt"}) {
        frmResults other;
        dialogs_.AnswerFile(Path(name));
        dialogs_.AnswerMessage(platform::MessageResult::Ok);
        EXPECT_FALSE(other.OpenAFile()) << name;
        const platform::DialogRequest& m = dialogs_.Requests().back();
        EXPECT_EQ(m.kind, platform::DialogKind::Message);
        EXPECT_EQ(m.text, "Error opening file");
        EXPECT_EQ(m.title, "Reactimer");
        EXPECT_EQ(m.icon, platform::MessageIcon::Critical);
    }
    const size_t shown = dialogs_.Requests().size();
    dialogs_.AnswerFile("");
    EXPECT_FALSE(form_->OpenAFile());
    EXPECT_EQ(dialogs_.Requests().size(), shown + 1);
}

TEST_F(frmResultsTest, SavedUnderACommaLocaleTheFileReadsBackTheSame) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const std::string cLocale = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    Show({1253.7, 1000.0 / 3, 1480.25});
    dialogs_.AnswerFile(Path("saved.txt"));
    form_->cmdSave_Click();
    std::setlocale(LC_ALL, cLocale.c_str());
    QLocale::setDefault(before);

    std::ifstream in(folder_ / "saved.txt", std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(text, "1,1253.7\r\n2,333.333333333333\r\n3,1480.25\r\n");
    frmResults again;
    dialogs_.AnswerFile(Path("saved.txt"));
    ASSERT_TRUE(again.OpenAFile());
    EXPECT_EQ(again.nums, 3);
    EXPECT_EQ(again.Means()[0], 1253.7);
    EXPECT_EQ(again.Means()[2], 1480.25);

    // A save that fails says so and the window stays; a cancelled one says nothing.
    const size_t asked = dialogs_.Requests().size();
    dialogs_.AnswerFile(Path("no folder/saved.txt"));
    dialogs_.AnswerMessage(platform::MessageResult::Ok);
    form_->cmdSave_Click();
    ASSERT_EQ(dialogs_.Requests().size(), asked + 2);
    EXPECT_EQ(dialogs_.Requests().back().text, "Error saving file");
    EXPECT_EQ(dialogs_.Requests().back().title, "Reactimer");
    EXPECT_TRUE(form_->isVisible());
    dialogs_.AnswerFile("");
    form_->cmdSave_Click();
    EXPECT_EQ(dialogs_.Requests().size(), asked + 3);
}
