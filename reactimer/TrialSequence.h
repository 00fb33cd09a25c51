#pragma once

#include "ResultsFile.h"

#include <array>
#include <cstdint>
#include <string>

// The trials of one reaction-time test. An optional warm-up of as many trials
// as a stage comes first, on any of the 26 letters, its times not recorded;
// then stage s (1-based) lights one of the first s keys of kKeyOrder in each
// of its trials. A trial's time is the milliseconds from the lit key to the
// correct letter, wrong letters included; each stage's times are summed.
//
// The window drives it: Begin says what a trial begins with (the end of the
// test, keys to hide or show, a prompt), ChooseTarget and Foreperiod take the
// random numbers, Light counts the trial as the key lights, and KeyPress takes
// the letters typed while it is lit.

namespace reactimer {

constexpr int kLetters = 26;

// The key each stage adds, as letter indexes (0 for A): G, H, F, T, Y, B, V,
// R, U, C, N, D, J, E, I, X, M, S, K, W, O, A, L, Z, Q, P.
extern const std::array<int16_t, kLetters> kKeyOrder;

class TrialSequence {
public:
    // A test of `nums` stages (1..26) of `trials` trials (at least 1), after
    // `warmup` warm-up trials; the sums start at 0.
    void Start(int nums, int trials, int warmup);

    struct TrialStart {
        bool finish = false; // every trial is done
        bool hideAll = false; // the warm-up is over, or there is none
        int showKey = -1;     // the letter a beginning stage adds, or -1
        std::string prompt;   // shown before the trial when not empty
    };
    TrialStart Begin() const;

    // The letter to light from a uniform r in [0, 1): any letter in the
    // warm-up, one of the stage's keys in a stage.
    int ChooseTarget(double r);
    // The wait before the key lights, 1000 to 2000 ms from a uniform r in [0, 1).
    static int Foreperiod(double r);
    // The key lights: the trial counts as begun.
    void Light();

    enum class Press { Ignored, Wrong, Correct };
    // A character typed `milliseconds` after the key lit: the target in either
    // case ends the trial and adds the time to its stage (warm-up aside);
    // anything else is wrong and changes nothing. Ignored while no key is lit.
    Press KeyPress(int character, int64_t milliseconds);

    int Total() const { return trials_ * nums_ + warmup_; }
    int TrialCount() const { return trialCount_; }
    int Target() const { return target_; }
    bool IsLit() const { return lit_; }
    // The mean time of stage index i (0 beyond the stages played).
    double StageMean(int i) const;
    const std::array<double, kLetters>& StageSums() const { return stageSums_; }

private:
    // The 0-based stage of trial number `count` past the warm-up, or -1 in it.
    int StageOf(int count) const { return count < warmup_ ? -1 : (count - warmup_) / trials_; }

    int nums_ = 1;
    int trials_ = 1;
    int warmup_ = 0;
    std::array<double, kLetters> stageSums_{};
    int trialCount_ = 0;
    int target_ = 0;
    bool lit_ = false;
};

} // namespace reactimer
