#include "TossRun.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

using flipwell::TossCount;

// Counts the reports of a run and ends it after a given number of them.
class Recorder final : public flipwell::TossProgress {
public:
    explicit Recorder(int stopAfter = -1) : stopAfter_(stopAfter) {}
    bool Sampled(const flipwell::TossResult& sofar) override {
        sampled.push_back(sofar.samples);
        reports.push_back(sofar);
        return Report();
    }
    bool Poll(const flipwell::TossResult& sofar) override {
        ++polls;
        reports.push_back(sofar);
        return Report();
    }
    std::vector<int> sampled;
    std::vector<flipwell::TossResult> reports;
    int polls = 0;

private:
    bool Report() { return ++reports_ != stopAfter_; }
    int stopAfter_;
    int reports_ = 0;
};

TEST(TossRun, TypedCountsAreTruncatedAndBounded) {
    EXPECT_EQ(TossCount("-5"), 0);
    EXPECT_EQ(TossCount("2.9"), 2);
    EXPECT_EQ(TossCount("100 times"), 100);
    EXPECT_EQ(TossCount("abc"), 0);
    EXPECT_EQ(TossCount(""), 0);
    // The counter is a double: a run beyond 2^53 tosses would never end.
    EXPECT_EQ(TossCount("1e308"), flipwell::kMaxTosses);
    EXPECT_EQ(TossCount("9007199254740993"), flipwell::kMaxTosses);
}

TEST(TossRun, SmallRunsSampleEveryToss) {
    std::array<double, flipwell::kSamples> share{};
    // Heads on the odd tosses: after t tosses the share is ceil(t/2)/t.
    int t = 0;
    Recorder progress;
    const auto r = flipwell::RunTosses(1001, share, [&] { return ++t % 2 == 1; }, progress);
    EXPECT_EQ(r.samples, 1001);
    EXPECT_EQ(r.tosses, 1001);
    EXPECT_EQ(r.heads, 501);
    EXPECT_EQ(share[0], 1.0);
    EXPECT_EQ(share[1], 0.5);
    EXPECT_EQ(share[2], 2.0 / 3);
    EXPECT_EQ(share[1000], 501.0 / 1001);
    // Every 20th sample is reported: 20, 40, ... 1000.
    ASSERT_EQ(progress.sampled.size(), 50u);
    EXPECT_EQ(progress.sampled.front(), 20);
    EXPECT_EQ(progress.sampled.back(), 1000);
    EXPECT_EQ(flipwell::SamplingFor(1001).progressMax, 1001);
}

TEST(TossRun, LargeRunsTake1001EvenlySpreadSamples) {
    for (const double n : {1002.0, 100000.0, 123457.0}) {
        std::array<double, flipwell::kSamples> share{};
        std::vector<double> tossesAtSample;
        double t = 0;
        Recorder progress;
        // The coin's only heads is the first toss, so a sample's share tells when it was taken.
        const auto r = flipwell::RunTosses(n, share, [&] { return ++t == 1; }, progress);
        EXPECT_EQ(r.samples, 1001) << n;
        EXPECT_EQ(flipwell::SamplingFor(n).progressMax, 1001);
        const double spacing = n / 1001;
        for (int k : {0, 1, 500, 1000})
            EXPECT_DOUBLE_EQ(1 / share[k], std::floor((k + 1) * spacing)) << n << " sample " << k;
        EXPECT_DOUBLE_EQ(1 / share[1000], n) << "the last sample is after the last toss";
    }
}

TEST(TossRun, ReportsEndTheRunAndComeOftenWhenSamplesAreRare) {
    std::array<double, flipwell::kSamples> share{};
    Recorder stopped(3);
    const auto r = flipwell::RunTosses(1000, share, [] { return true; }, stopped);
    EXPECT_EQ(r.tosses, 60) << "ended at the third report, the 60th sample";

    // 10^8 tosses take a sample every ~10^5 tosses: the polls in between keep the window answering.
    Recorder progress(10);
    int calls = 0;
    flipwell::RunTosses(1e8, share, [&] {
        ++calls;
        return false;
    }, progress);
    EXPECT_EQ(progress.polls + static_cast<int>(progress.sampled.size()), 10);
    EXPECT_LE(calls, 10 * flipwell::kPollEvery);
}

TEST(TossRun, EachReportTellsTheRunAsItStandsAtThatToss) {
    // Heads on every third toss, 10^6 tosses: samples every ~999 tosses, polls between.
    std::array<double, flipwell::kSamples> share{};
    double t = 0;
    double heads = 0;
    std::vector<flipwell::TossResult> seen; // the coin's own count at each report
    class Checker final : public flipwell::TossProgress {
    public:
        Checker(Recorder& r, const double& t, const double& h, std::vector<flipwell::TossResult>& seen)
            : r_(r), t_(t), h_(h), seen_(seen) {}
        bool Sampled(const flipwell::TossResult& s) override { return Note() && r_.Sampled(s); }
        bool Poll(const flipwell::TossResult& s) override { return Note() && r_.Poll(s); }

    private:
        bool Note() {
            seen_.push_back({h_, t_, 0});
            return true;
        }
        Recorder& r_;
        const double& t_;
        const double& h_;
        std::vector<flipwell::TossResult>& seen_;
    };
    Recorder recorder;
    Checker checker(recorder, t, heads, seen);
    const double n = 1e6;
    flipwell::RunTosses(n, share, [&] {
        t += 1;
        const bool head = std::fmod(t, 3) == 0;
        heads += head;
        return head;
    }, checker);
    ASSERT_GT(recorder.reports.size(), 60u);
    const double spacing = n / flipwell::kSamples;
    for (size_t i = 0; i < recorder.reports.size(); ++i) {
        const flipwell::TossResult& r = recorder.reports[i];
        EXPECT_EQ(r.tosses, seen[i].tosses);
        EXPECT_EQ(r.heads, seen[i].heads);
        // Exactly the samples due by then are taken, and the last one is in place.
        ASSERT_GT(r.samples, 0);
        EXPECT_LE(std::floor(r.samples * spacing), r.tosses);
        EXPECT_GT(std::floor((r.samples + 1) * spacing), r.tosses);
        const double at = std::floor(r.samples * spacing);
        EXPECT_EQ(share[r.samples - 1], std::floor(at / 3) / at);
    }
}

} // namespace
