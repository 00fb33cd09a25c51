#pragma once

// What the window tests of the test procedure share: a fake monotonic clock
// that moves one millisecond per reading (standing still while a key press is
// timed), the sounds and modal windows caught by hooks, and the test window of
// a plain owner.

#include "Clock.h"
#include "Modal.h"
#include "Sound.h"
#include "SurfaceLabel.h"
#include "frmAnyKey.h"
#include "frmResults.h"
#include "frmTest.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace reactimer_test {

inline int64_t fakeNow = 0;
inline int64_t clockStep = 1;
// Runs once when the clock passes `triggerAt` (it may only post events).
inline int64_t triggerAt = -1;
inline std::function<void()> atTrigger;

inline int64_t FakeClock() {
    fakeNow += clockStep;
    if (triggerAt >= 0 && fakeNow >= triggerAt) {
        triggerAt = -1;
        atTrigger();
    }
    return fakeNow;
}

class TestProcedureFixture : public ::testing::Test {
protected:
    void SetUp() override {
        fakeNow = 100000;
        clockStep = 1;
        triggerAt = -1;
        platform::SetMillisecondClock(FakeClock);
        platform::SetPlaySoundHook([this](const std::filesystem::path& path) {
            sounds.push_back(path.filename().string());
        });
        platform::SetModalHook([this](QDialog& dialog) {
            if (auto* prompt = dynamic_cast<frmAnyKey*>(&dialog)) {
                prompts.push_back(prompt->lblPrompt->Text().toStdString());
                if (onPrompt)
                    onPrompt();
            } else if (auto* results = dynamic_cast<frmResults*>(&dialog)) {
                resultsShown = true;
                resultsNums = results->nums;
                resultsMeans = results->Means();
                progressAtResults = test->prgProgress->Value();
                resultsOwner = results->parentWidget();
            } else {
                ADD_FAILURE() << "unexpected modal window " << dialog.windowTitle().toStdString();
            }
        });
        test = std::make_unique<frmTest>(&owner);
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
    // Lets pending events run until a key is lit or the test is over; the
    // clock then stands still until the next key is timed.
    void Settle() {
        for (int i = 0; i < 20 && !test->Sequence().IsLit() && test->isVisible(); ++i)
            QApplication::processEvents();
        clockStep = 0;
    }
    // Types `character` `delay` milliseconds later; returns once the window
    // has handled it (and the next key has lit).
    void Type(char character, int delay) {
        fakeNow += delay;
        QTimer::singleShot(0, [] { clockStep = 1; });
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A + (std::toupper(character) - 'A'), Qt::NoModifier,
                        QString(QChar(character)));
        QApplication::sendEvent(test.get(), &press);
        Settle();
    }
    // The letters of the keys shown, in alphabetical order.
    std::string Shown() const {
        std::string shown;
        for (int i = 0; i < 26; ++i) {
            if (test->lblKey[static_cast<size_t>(i)]->IsVisible())
                shown += static_cast<char>('A' + i);
        }
        return shown;
    }
    char Lit() const { return static_cast<char>('A' + test->Sequence().Target()); }

    QWidget owner;
    std::unique_ptr<frmTest> test;
    std::vector<std::string> sounds;
    std::vector<std::string> prompts;
    std::function<void()> onPrompt;
    bool resultsShown = false;
    int resultsNums = -1;
    reactimer::StageMeans resultsMeans{};
    int64_t progressAtResults = -1;
    QWidget* resultsOwner = nullptr;
};

} // namespace reactimer_test
