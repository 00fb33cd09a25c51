#include "Color.h"
#include "ProgressBar.h"
#include "TestProcedureFixture.h"

#include <QMetaObject>
#include <algorithm>
#include <cctype>

using namespace reactimer_test;

namespace {

using frmTestTest = TestProcedureFixture;

const std::string kOrder = "GHFTYBVRUCNDJEIXMSKWOALZQP";

std::string Sorted(std::string letters) {
    std::sort(letters.begin(), letters.end());
    return letters;
}

// A letter other than `lit`.
char Other(char lit) {
    return lit == 'Z' ? 'q' : static_cast<char>(std::tolower(lit) + 1);
}

} // namespace

TEST_F(frmTestTest, StagesShowTheirKeysAndTimeEachCorrectLetterExactly) {
    Begin(5, 2, 0);
    EXPECT_EQ(Shown(), "G");
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0], "Press any key to begin stage 1");
    ASSERT_TRUE(test->Sequence().IsLit());
    EXPECT_EQ(Lit(), 'G');
    EXPECT_EQ(test->lblKey[6]->BackColor(), platform::ToQColor(frmTest::kKeyLit));
    EXPECT_EQ(sounds, std::vector<std::string>{"appear.wav"});
    EXPECT_EQ(test->prgProgress->Max(), 10);

    for (int trial = 0; trial < 10; ++trial) {
        const int stage = trial / 2;
        EXPECT_EQ(Shown(), Sorted(kOrder.substr(0, static_cast<size_t>(stage + 1)))) << trial;
        EXPECT_NE(kOrder.find(Lit()), std::string::npos);
        EXPECT_LE(kOrder.find(Lit()), static_cast<size_t>(stage));
        EXPECT_EQ(prompts.size(), static_cast<size_t>(stage + 1));
        // A wrong letter only sounds; the time runs on to the correct one,
        // typed in upper case and in lower case by turns.
        const char lit = Lit();
        sounds.clear();
        Type(Other(lit), 100);
        EXPECT_EQ(sounds, std::vector<std::string>{"bad.wav"});
        EXPECT_TRUE(test->Sequence().IsLit());
        EXPECT_EQ(Lit(), lit);
        EXPECT_EQ(test->prgProgress->Value(), trial);
        Type(trial % 2 ? lit : static_cast<char>(std::tolower(lit)), 200 + 10 * trial);
        EXPECT_EQ(sounds[1], "good.wav");
        if (trial < 9) {
            EXPECT_EQ(test->prgProgress->Value(), trial + 1);
            EXPECT_EQ(sounds.back(), "appear.wav");
        }
    }
    // Each stage's mean of 300 + 10 * trial; the stages not played pass 0.
    ASSERT_TRUE(resultsShown);
    EXPECT_EQ(resultsNums, 5);
    EXPECT_EQ(progressAtResults, 10);
    EXPECT_EQ(resultsOwner, &owner);
    for (int s = 0; s < 26; ++s)
        EXPECT_EQ(resultsMeans[static_cast<size_t>(s)], s < 5 ? 305 + 20 * s : 0) << s;
    EXPECT_FALSE(test->isVisible());
    EXPECT_EQ(test->result(), QDialog::Accepted);
}

TEST_F(frmTestTest, WarmUpLightsAnyLetterAndItsTimesAreNotRecorded) {
    Begin(5, 3, 3);
    EXPECT_EQ(Shown(), "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0], "Press any key to begin warmup");
    EXPECT_EQ(test->prgProgress->Max(), 18);
    for (int trial = 0; trial < 3; ++trial) {
        EXPECT_EQ(Shown().size(), 26u);
        Type(Lit(), 900);
    }
    for (const double sum : test->Sequence().StageSums())
        EXPECT_EQ(sum, 0);
    EXPECT_EQ(test->prgProgress->Value(), 3);
    EXPECT_EQ(Shown(), "G");
    ASSERT_EQ(prompts.size(), 2u);
    EXPECT_EQ(prompts[1], "Press any key to begin stage 1");
    EXPECT_EQ(Lit(), 'G');
    Type('G', 250);
    EXPECT_EQ(test->Sequence().StageSums()[0], 250);
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
    EXPECT_FALSE(resultsShown);
}

TEST_F(frmTestTest, WithoutSoundsNothingPlays) {
    Begin(5, 2, 0, false);
    Type(Other(Lit()), 100);
    Type(Lit(), 100);
    Type(Lit(), 100);
    EXPECT_TRUE(sounds.empty());
    EXPECT_EQ(test->Sequence().TrialCount(), 3);
    EXPECT_EQ(test->Sequence().StageSums()[0], 300);
}
