#include "Modal.h"
#include "ProgressBar.h"
#include "ScriptedDialogs.h"
#include "Slider.h"
#include "SurfaceLabel.h"
#include "WaveFile.h"
#include "frmReactimer.h"
#include "frmResults.h"
#include "frmTest.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {

class frmReactimerTest : public ::testing::Test {
protected:
    void SetUp() override {
        dialogs_.SetFailureHandler([](const std::string& what) { ADD_FAILURE() << what; });
        platform::SetModalHook([this](QDialog& dialog) {
            shown_.push_back(dialog.windowTitle().toStdString());
            if (auto* test = dynamic_cast<frmTest*>(&dialog)) {
                testSettings_ = {test->nums, test->trials, test->warmup, test->sounds ? 1 : 0};
                progressMax_ = test->prgProgress->Max();
                const char* letters[] = {"Q", "P", "A", "L", "Z", "M"};
                keyLefts_.clear();
                for (const char* l : letters)
                    keyLefts_.push_back(test->lblKey[static_cast<size_t>(l[0] - 'A')]->Geometry());
            } else if (auto* results = dynamic_cast<frmResults*>(&dialog)) {
                resultsNums_ = results->nums;
            }
        });
        form_.show();
    }
    void TearDown() override { platform::SetModalHook(nullptr); }

    platform::ScriptedDialogs dialogs_;
    frmReactimer form_;
    std::vector<std::string> shown_;
    std::vector<int> testSettings_;
    int64_t progressMax_ = -1;
    std::vector<QRect> keyLefts_;
    int resultsNums_ = -1;
};

} // namespace

TEST_F(frmReactimerTest, BeginTestHandsTheSettingsToAFreshTestWindow) {
    EXPECT_EQ(form_.windowTitle(), "Veritope - Reactimer");
    EXPECT_EQ(form_.slNums->Min(), 5);
    EXPECT_EQ(form_.slNums->Max(), 26);
    EXPECT_EQ(form_.slTrials->Min(), 2);
    EXPECT_EQ(form_.slTrials->Max(), 20);
    EXPECT_EQ(form_.slTrials->LargeChange(), 5);

    // Enter begins the test with the defaults: 10 stages of 10 trials, a warm-up, sounds.
    QTest::keyClick(&form_, Qt::Key_Return);
    ASSERT_EQ(shown_, std::vector<std::string>{"Test"});
    EXPECT_EQ(testSettings_, (std::vector<int>{10, 10, 10, 1}));
    EXPECT_EQ(progressMax_, 110);
    // The keyboard rows: Q and P, A and L, Z and M at their ends, in twips.
    const std::vector<QRect> keys = {QRect(75, 90, 495, 495),   QRect(4530, 90, 495, 495),
                                     QRect(195, 585, 495, 495), QRect(4155, 585, 495, 495),
                                     QRect(435, 1080, 495, 495), QRect(3405, 1080, 495, 495)};
    EXPECT_EQ(keyLefts_, keys);

    form_.slNums->SetValue(26);
    form_.slTrials->SetValue(20);
    form_.chkWarmup->setChecked(false);
    form_.chkSounds->setChecked(false);
    form_.cmdTest->click();
    EXPECT_EQ(testSettings_, (std::vector<int>{26, 20, 0, 0}));
    EXPECT_EQ(progressMax_, 520);
}

TEST_F(frmReactimerTest, StoredResultsAreShownOnlyWhenLoaded) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("reactimer_open_" + std::to_string(::getpid()) + ".txt");
    std::ofstream(path, std::ios::binary) << "1,300\r\n2,420\r\n";
    dialogs_.AnswerFile(QString::fromStdString(path.string()));
    form_.cmdOpen->click();
    EXPECT_EQ(shown_, std::vector<std::string>{"Results"});
    EXPECT_EQ(resultsNums_, 2);
    dialogs_.AnswerFile("");
    form_.cmdOpen->click();
    EXPECT_EQ(shown_.size(), 1u);
    std::filesystem::remove(path);
}

TEST(ReactimerSoundsTest, TheThreeSoundsLieBesideTheProgramAsShortTones) {
    // The program's folder, as the tests are run by CTest or by hand.
    const char* env = std::getenv("VERITOPE_BIN");
    const std::string bin = env != nullptr ? env : (QCoreApplication::applicationDirPath() + "/../bin").toStdString();
    for (const char* name : {"appear.wav", "good.wav", "bad.wav"}) {
        std::ifstream in(std::filesystem::path(bin) / name, std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        platform::WaveSound sound;
        ASSERT_TRUE(platform::ParseWave(bytes, sound)) << name;
        EXPECT_EQ(sound.sample, platform::WaveSound::Sample::Signed16) << name;
        EXPECT_EQ(sound.channels, 1) << name;
        EXPECT_GT(sound.data.size(), 1000u) << name;
        EXPECT_LT(sound.data.size(), 20000u) << name;
    }
}
