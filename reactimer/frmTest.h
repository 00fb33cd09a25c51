#pragma once

#include "TrialSequence.h"

#include <QDialog>
#include <array>
#include <cstdint>

namespace platform {
class ProgressBar;
class Surface;
class SurfaceLabel;
} // namespace platform

// The test window: the 26 letter keys in their keyboard rows, of which the
// keys in play are shown and one lights after a random wait, and the progress
// of the test. The first trial begins once the window is shown; each correct
// letter begins the next, and after the last one the results window opens
// over it, owned by the main window. Closing the window ends the test.
//
// A trial's time is measured on the monotonic clock, from the moment the lit
// key has been painted to the handling of the correct letter. Letters typed
// during the wait before the key lights are held and count from the moment
// it lights.
class frmTest : public QDialog {
public:
    // `owner`: the main window, which also owns the results window.
    explicit frmTest(QWidget* owner = nullptr);
    ~frmTest() override;

    // Prepares a test of the members below.
    void Start();

    int16_t nums = 0;
    int16_t trials = 0;
    int16_t warmup = 0;
    bool sounds = false;

    static constexpr uint32_t kKeyIdle = 0xC0C0C0;
    static constexpr uint32_t kKeyLit = 0xFFFF00;

    platform::Surface* surface = nullptr;
    std::array<platform::SurfaceLabel*, reactimer::kLetters> lblKey{};
    platform::ProgressBar* prgProgress = nullptr;

    const reactimer::TrialSequence& Sequence() const { return sequence_; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();
    void Form_KeyPress(int character);
    void NextTrial();
    void FinishTest();
    void Play(const char* sound) const;
    // Repaints the window and lets pending messages run, typed keys aside.
    void Repaint();

    reactimer::TrialSequence sequence_;
    bool trialsBegun_ = false;
    // The monotonic clock when the lit key had been painted.
    int64_t litAt_ = 0;
};
