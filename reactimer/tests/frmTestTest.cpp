// The test window driven as a user would, on a fake monotonic clock that moves
// one millisecond per reading and stands still while a key press is timed;
// sounds and modal windows are caught by hooks.

#include "Clock.h"
#include "Color.h"
#include "Modal.h"
#include "ProgressBar.h"
#include "Sound.h"
#include "SurfaceLabel.h"
#include "frmAnyKey.h"
#include "frmResults.h"
#include "frmTest.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMetaObject>
#include <QTimer>
#include <algorithm>
#include <cctype>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

int64_t fakeNow = 0;
int64_t clockStep = 1;
// Runs once when the clock passes `triggerAt`; it may only post events.
int64_t triggerAt = -1;
std::function<void()> atTrigger;

int64_t FakeClock() {
    fakeNow += clockStep;
    if (triggerAt >= 0 && fakeNow >= triggerAt) {
        triggerAt = -1;
        atTrigger();
    }
    return fakeNow;
}

const std::string kOrder = "GHFTYBVRUCNDJEIXMSKWOALZQP";

class frmTestTest : public ::testing::Test {
protected:
    void SetUp() override {
        fakeNow = 100000;
        clockStep = 1;
        platform::SetMillisecondClock(FakeClock);
        platform::SetPlaySoundHook([this](const std::filesystem::path& p) { sounds.push_back(p.filename()); });
        platform::SetModalHook([this](QDialog& dialog) {
            if (auto* prompt = dynamic_cast<frmAnyKey*>(&dialog)) {
                prompts.push_back(prompt->lblPrompt->Text().toStdString());
                if (onPrompt)
                    onPrompt();
            } else if (auto* results = dynamic_cast<frmResults*>(&dialog)) {
                resultsMeans = results->Means();
                resultsNums = results->nums;
                progressAtResults = test->prgProgress->Value();
                resultsOwner = results->parentWidget();
            }
        });
    }
    void TearDown() override {
        test.reset();
        platform::SetModalHook(nullptr);
        platform::SetPlaySoundHook(nullptr);
        platform::SetMillisecondClock(nullptr);
    }

    // Starts a test and lets it run up to the first lit key.
    void Begin(int nums, int trials, int warmup, bool withSounds = true) {
        test->nums = static_cast<int16_t>(nums);
        test->trials = static_cast<int16_t>(trials);
        test->warmup = static_cast<int16_t>(warmup);
        test->sounds = withSounds;
        test->Start();
        test->show();
        Settle();
    }
    // Lets events run until a key is lit or the test is over; the clock then
    // stands still until the next key is timed.
    void Settle() {
        for (int i = 0; i < 20 && !test->Sequence().IsLit() && test->isVisible(); ++i)
            QApplication::processEvents();
        clockStep = 0;
    }
    // Types a letter `delay` ms later; returns once it has been handled.
    void Type(char letter, int delay) {
        fakeNow += delay;
        QTimer::singleShot(0, [] { clockStep = 1; });
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A + (std::toupper(letter) - 'A'), Qt::NoModifier,
                        QString(QChar(letter)));
        QApplication::sendEvent(test.get(), &press);
        Settle();
    }
    std::string Shown() const {
        std::string shown;
        for (int i = 0; i < 26; ++i) {
            if (test->lblKey[static_cast<size_t>(i)]->IsVisible())
                shown += static_cast<char>('A' + i);
        }
        return shown;
    }
    char Lit() const { return static_cast<char>('A' + test->Sequence().Target()); }
    static std::string Sorted(std::string letters) {
        std::sort(letters.begin(), letters.end());
        return letters;
    }
    static char Other(char lit) { return lit == 'Z' ? 'q' : static_cast<char>(std::tolower(lit) + 1); }

    QWidget owner;
    std::unique_ptr<frmTest> test = std::make_unique<frmTest>(&owner);
    std::vector<std::string> sounds;
    std::vector<std::string> prompts;
    std::function<void()> onPrompt;
    int resultsNums = -1;
    reactimer::StageMeans resultsMeans{};
    int64_t progressAtResults = -1;
    QWidget* resultsOwner = nullptr;
};

} // namespace

TEST_F(frmTestTest, StagesShowTheirKeysAndTimeEachCorrectLetterExactly) {
    Begin(5, 2, 0);
    EXPECT_EQ(Shown(), "G");
    EXPECT_EQ(prompts, std::vector<std::string>{"Press any key to begin stage 1"});
    ASSERT_EQ(Lit(), 'G');
    EXPECT_EQ(test->lblKey[6]->BackColor(), platform::ToQColor(frmTest::kKeyLit));
    EXPECT_EQ(sounds, std::vector<std::string>{"appear.wav"});
    EXPECT_EQ(test->prgProgress->Max(), 10);

    for (int trial = 0; trial < 10; ++trial) {
        const int stage = trial / 2;
        EXPECT_EQ(Shown(), Sorted(kOrder.substr(0, static_cast<size_t>(stage + 1)))) << trial;
        EXPECT_LE(kOrder.find(Lit()), static_cast<size_t>(stage));
        EXPECT_EQ(prompts.size(), static_cast<size_t>(stage + 1));
        // A wrong letter only sounds; the time runs on to the correct one,
        // typed in upper case and in lower case by turns.
        const char lit = Lit();
        sounds.clear();
        Type(Other(lit), 100);
        EXPECT_EQ(sounds, std::vector<std::string>{"bad.wav"});
        EXPECT_TRUE(test->Sequence().IsLit() && Lit() == lit);
        EXPECT_EQ(test->prgProgress->Value(), trial);
        Type(trial % 2 ? lit : static_cast<char>(std::tolower(lit)), 200 + 10 * trial);
        EXPECT_EQ(sounds[1], "good.wav");
        if (trial < 9) {
            EXPECT_EQ(test->prgProgress->Value(), trial + 1);
            EXPECT_EQ(sounds.back(), "appear.wav");
        }
    }
    // Each stage's mean of 300 + 10 * trial; the stages not played pass 0.
    ASSERT_EQ(resultsNums, 5);
    EXPECT_EQ(progressAtResults, 10);
    EXPECT_EQ(resultsOwner, &owner);
    for (int s = 0; s < 26; ++s)
        EXPECT_EQ(resultsMeans[static_cast<size_t>(s)], s < 5 ? 305 + 20 * s : 0) << s;
    EXPECT_FALSE(test->isVisible());
    EXPECT_EQ(test->result(), QDialog::Accepted);
}

TEST_F(frmTestTest, WarmUpLightsAnyLetterAndItsTimesAreNotRecorded) {
    Begin(5, 3, 3, false);
    EXPECT_EQ(Shown(), "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(prompts, std::vector<std::string>{"Press any key to begin warmup"});
    EXPECT_EQ(test->prgProgress->Max(), 18);
    for (int trial = 0; trial < 3; ++trial)
        Type(Lit(), 900);
    EXPECT_EQ(test->Sequence().StageSums(), (std::array<double, 26>{}));
    EXPECT_EQ(test->prgProgress->Value(), 3);
    EXPECT_EQ(Shown(), "G");
    EXPECT_EQ(prompts.back(), "Press any key to begin stage 1");
    Type('x', 50);
    Type('G', 200);
    EXPECT_EQ(test->Sequence().StageSums()[0], 250);
    EXPECT_TRUE(sounds.empty()); // sounds off
}

TEST_F(frmTestTest, ALetterTypedDuringTheWaitCountsFromTheMomentTheKeyLights) {
    // During the first wait the user types the one letter of stage 1.
    onPrompt = [this] {
        onPrompt = nullptr;
        triggerAt = fakeNow + 50;
        atTrigger = [this] {
            QApplication::postEvent(test.get(), new QKeyEvent(QEvent::KeyPress, Qt::Key_G, Qt::NoModifier, "g"));
        };
    };
    Begin(5, 2, 0);
    EXPECT_EQ(test->Sequence().TrialCount(), 1);
    EXPECT_EQ(sounds, std::vector<std::string>{"appear.wav"});
    // Held until the key lit, then taken as the answer of the first trial.
    clockStep = 1;
    QApplication::processEvents();
    Settle();
    EXPECT_EQ(test->Sequence().TrialCount(), 2);
    EXPECT_EQ(sounds, (std::vector<std::string>{"appear.wav", "good.wav", "appear.wav"}));
    EXPECT_GE(test->Sequence().StageSums()[0], 0);
    EXPECT_LE(test->Sequence().StageSums()[0], 2);
    EXPECT_EQ(test->prgProgress->Value(), 1);
}

TEST_F(frmTestTest, ClosingTheWindowDuringTheWaitEndsTheTest) {
    onPrompt = [this] {
        triggerAt = fakeNow + 300;
        atTrigger = [this] { QMetaObject::invokeMethod(test.get(), [this] { test->close(); }, Qt::QueuedConnection); };
    };
    Begin(5, 2, 0);
    EXPECT_FALSE(test->isVisible());
    EXPECT_FALSE(test->Sequence().IsLit());
    EXPECT_EQ(test->Sequence().TrialCount(), 0);
    EXPECT_TRUE(sounds.empty());
    EXPECT_EQ(resultsNums, -1);
}
