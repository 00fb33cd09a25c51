#include "Help.h"
#include "Modal.h"
#include "OddFiles.h"
#include "ProgressBar.h"
#include "ScriptedDialogs.h"
#include "Slider.h"
#include "SurfaceLabel.h"
#include "WaveFile.h"
#include "WindowSizeChecks.h"
#include "frmReactimer.h"
#include "frmResults.h"
#include "frmTest.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QShortcut>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <unistd.h>

TEST(frmReactimerTest, TheCommandsOpenAFreshTestWindowAndStoredResults) {
    platform::ScriptedDialogs dialogs;
    std::vector<std::string> shown;
    std::vector<int> settings;
    std::vector<QRect> keys;
    bool fixedSizes = true;
    platform::SetModalHook([&](QDialog& dialog) {
        shown.push_back(dialog.windowTitle().toStdString());
        if (auto* test = dynamic_cast<frmTest*>(&dialog)) {
            fixedSizes = fixedSizes && platform_test::KeepsItsSize(*test);
            settings = {test->nums, test->trials, test->warmup, test->sounds, int(test->prgProgress->Max())};
            for (const char letter : std::string("QPALZM"))
                keys.push_back(test->lblKey[static_cast<size_t>(letter - 'A')]->Geometry());
        } else if (auto* results = dynamic_cast<frmResults*>(&dialog)) {
            settings = {results->nums};
        }
    });
    frmReactimer form;
    form.show();
    EXPECT_EQ(form.windowTitle(), "Veritope - Reactimer");
    EXPECT_TRUE(platform_test::KeepsItsSize(form));
    // Enter begins a test of the defaults: 10 stages of 10 trials, a warm-up, sounds.
    QTest::keyClick(&form, Qt::Key_Return);
    EXPECT_EQ(settings, (std::vector<int>{10, 10, 10, 1, 110}));
    // The ends of the keyboard rows, in twips.
    EXPECT_EQ(keys, (std::vector<QRect>{{75, 90, 495, 495}, {4530, 90, 495, 495}, {195, 585, 495, 495},
                                        {4155, 585, 495, 495}, {435, 1080, 495, 495}, {3405, 1080, 495, 495}}));
    form.slNums->SetValue(30);
    form.slTrials->SetValue(1);
    form.chkWarmup->setChecked(false);
    form.chkSounds->setChecked(false);
    form.cmdTest->click();
    EXPECT_EQ(settings, (std::vector<int>{26, 2, 0, 0, 52}));
    EXPECT_TRUE(fixedSizes) << "the test window keeps its size";

    const auto path = std::filesystem::temp_directory_path() / ("reactimer_o" + std::to_string(::getpid()));
    std::ofstream(path, std::ios::binary) << "1,300\r\n2,420\r\n";
    dialogs.AnswerFile(QString::fromStdString(path.string()));
    form.cmdOpen->click();
    dialogs.AnswerFile("");
    form.cmdOpen->click();
    EXPECT_EQ(shown, (std::vector<std::string>{"Test", "Test", "Results"}));
    EXPECT_EQ(settings, std::vector<int>{2});
    std::filesystem::remove(path);
    platform::SetModalHook(nullptr);

    std::vector<QString> help;
    platform::SetHelpHandler([&help](const QString& page) { help.push_back(page); });
    frmResults results;
    for (QWidget* window : {static_cast<QWidget*>(&form), static_cast<QWidget*>(&results)}) {
        for (QShortcut* key : window->findChildren<QShortcut*>()) {
            if (key->key() == QKeySequence(Qt::Key_F1))
                emit key->activated();
        }
    }
    platform::SetHelpHandler(nullptr);
    EXPECT_EQ(help, (std::vector<QString>{"reactimer.htm", "reactimer.htm"}));
}

TEST(frmReactimerTest, APipeADeviceOrAHugeFileChosenAsResultsIsRefusedAndTheWindowStaysUsable) {
    namespace odd = platform::oddfiles;
    platform::ScriptedDialogs dialogs;
    std::vector<std::string> shown;
    platform::SetModalHook([&](QDialog& dialog) { shown.push_back(dialog.windowTitle().toStdString()); });
    frmReactimer form;
    form.show();
    const std::filesystem::path fifo = odd::MakeFifo("results-window.fifo");
    const std::filesystem::path huge = odd::MakeSparseFile("results-window.txt", odd::kHugeSize);
    for (const std::filesystem::path& path : {fifo, std::filesystem::path("/dev/zero"), huge}) {
        dialogs.AnswerFile(QString::fromStdString(path.string()));
        dialogs.AnswerMessage(platform::MessageResult::Ok);
        form.cmdOpen->click();
        EXPECT_EQ(dialogs.Requests().back().text, "Error opening file") << path;
        EXPECT_EQ(dialogs.Requests().back().title, "Reactimer");
    }
    std::ofstream(huge, std::ios::binary | std::ios::trunc) << "1,300\r\n";
    dialogs.AnswerFile(QString::fromStdString(huge.string()));
    form.cmdOpen->click();
    EXPECT_EQ(shown, std::vector<std::string>{"Results"});
    EXPECT_EQ(dialogs.Unused(), 0u);
    platform::SetModalHook(nullptr);
    std::filesystem::remove(fifo);
    std::filesystem::remove(huge);
}

TEST(frmReactimerTest, TheThreeSoundsLieBesideTheProgramAsShortTones) {
    const char* env = std::getenv("VERITOPE_BIN");
    const std::string bin = env ? env : (QCoreApplication::applicationDirPath() + "/../bin").toStdString();
    for (const char* name : {"appear.wav", "good.wav", "bad.wav"}) {
        std::ifstream in(std::filesystem::path(bin) / name, std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        platform::WaveSound sound;
        ASSERT_TRUE(platform::ParseWave(bytes, sound)) << name;
        EXPECT_EQ(sound.sample, platform::WaveSound::Sample::Signed16);
        EXPECT_GT(sound.data.size(), 1000u);
        EXPECT_LT(sound.data.size(), 20000u);
    }
}
