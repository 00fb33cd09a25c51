// The network model over the Neural library, bound by name beside the tests
// as the program binds it, with the library's generator seeded.
#include "NetworkModel.h"

#include "NeuralLibrary.h"
#include "PatternSet.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using neuromesh::NetworkLoad;
using neuromesh::NetworkModel;
using neuromesh::PatternSet;
using Sizes = std::vector<int32_t>;

class NetworkModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::path(::testing::TempDir()) /
                  ("network-" +
                   std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        ::setenv("VERITOPE_NEURAL_SEED", "7", 1);
        ASSERT_TRUE(platform::BindLibrary(neuromesh::kNeuralLibrary));
        neuromesh::Initialize_();
        Sizes start{1, 25, 1};
        neuromesh::NewNetwork_(3, start.data());
    }
    void TearDown() override {
        neuromesh::Finalize_();
        fs::remove_all(folder_);
    }

    // Two categories of three samples: strokes along the diagonal and
    // against it.
    static PatternSet Separable() {
        PatternSet set;
        set.Redefine({"up", "down"}, 3, 2);
        for (int s = 0; s < 3; ++s) {
            const double d = 0.1 * s;
            set.SetSample(s, std::vector<double>{0 + d, 0, 1 - d, 1});
            set.SetSample(3 + s, std::vector<double>{0, 1 - d, 1, 0 + d});
        }
        return set;
    }

    NetworkModel model_;
    fs::path folder_;
};

TEST_F(NetworkModelTest, FittingKeepsTheHiddenLayersAndTheDesignTakesTheOuterSizesFromTheSet) {
    const PatternSet set;
    model_.FitNetworkToPatterns(set);
    EXPECT_EQ(NetworkModel::Shape(), (Sizes{20, 25, 26}));
    EXPECT_EQ(model_.inputvec.size() + model_.outputvec.size(), 20u + 26u);
    model_.FitNetworkToPatterns(Separable());
    EXPECT_EQ(NetworkModel::Shape(), (Sizes{4, 25, 2}));

    PatternSet wide;
    wide.Redefine(std::vector<std::string>(150, "c"), 1, 4);
    model_.UpdateNetworkDesign(Sizes{}, wide);
    EXPECT_EQ(NetworkModel::Shape(), (Sizes{8, 150}));
    model_.UpdateNetworkDesign(Sizes{5, 100, 7}, wide);
    EXPECT_EQ(NetworkModel::Shape(), (Sizes{8, 5, 100, 7, 150}));
}

TEST_F(NetworkModelTest, TrainingLowersTheErrorAndReadsTheRatesForEverySample) {
    const PatternSet set = Separable();
    const double start = model_.FitNetworkToPatterns(set);
    int reads = 0;
    const double still = model_.TrainEpoch(set, [&] {
        ++reads;
        return neuromesh::TrainingRates{0, 0};
    });
    EXPECT_EQ(reads, set.Slots());
    EXPECT_DOUBLE_EQ(still, start) << "each sample's error is taken before its update";
    EXPECT_DOUBLE_EQ(model_.UpdateError(set), start) << "rates of 0 change nothing";
    for (int epoch = 0; epoch < 300; ++epoch)
        model_.TrainEpoch(set, [] { return neuromesh::TrainingRates{0.5, 0.5}; });
    EXPECT_LT(model_.UpdateError(set), start / 10);
    for (int s = 0; s < set.Slots(); ++s) {
        std::ranges::copy(set.Sample(s), model_.inputvec.begin());
        EXPECT_EQ(model_.RecognizeStroke(set), set.CategoryOf(s));
    }
}

// One pass over the set added term by term: e² into one sum, category after
// category, slot after slot, each slot's update (when rates are given) after
// its errors. bySlot receives the sum of the slot totals instead, which a case
// must tell apart from the first in its last bits to be worth testing.
double TermByTerm(const PatternSet& set, const neuromesh::TrainingRates* rates, double& bySlot) {
    std::vector<double> in(size_t(set.Components())), out(size_t(set.pattypes()));
    double sum = 0;
    bySlot = 0;
    for (int s = 0; s < set.Slots(); ++s) {
        std::ranges::copy(set.Sample(s), in.begin());
        neuromesh::Forwardfeed_(in.data());
        neuromesh::CopyOutput_(out.data());
        double slot = 0;
        for (int k = 0; k < set.pattypes(); ++k) {
            const double e = (k == set.CategoryOf(s) ? 1.0 : 0.0) - out[size_t(k)];
            out[size_t(k)] = e;
            sum = sum + e * e;
            slot += e * e;
        }
        bySlot += slot;
        if (rates)
            neuromesh::Backpropagate_(out.data(), rates->eta, rates->momentum);
    }
    return sum;
}

TEST_F(NetworkModelTest, TheErrorAddsEverySquareInTurnCategoryAfterCategory) {
    PatternSet set; // 26 categories of 3 samples, some drawn, the rest empty
    for (int s = 0; s < set.Slots(); s += 4) {
        std::vector<double> v(size_t(set.Components()));
        for (size_t c = 0; c < v.size(); ++c)
            v[c] = double((s * 7 + int(c) * 3) % 11) / 10;
        set.SetSample(s, v);
    }
    model_.FitNetworkToPatterns(set);
    double bySlot = 0;
    const double expected = TermByTerm(set, nullptr, bySlot);
    ASSERT_NE(expected, bySlot) << "the case does not tell the two orders apart";
    EXPECT_EQ(model_.UpdateError(set), expected);

    // An epoch of training from the same weights, with momentum.
    const fs::path saved = folder_ / "start.net";
    std::string path = saved.string();
    neuromesh::SaveToFile_(path.data());
    const neuromesh::TrainingRates rates{0.3, 0.6};
    const double trained = TermByTerm(set, &rates, bySlot);
    ASSERT_NE(trained, bySlot) << "the case does not tell the two orders apart";
    neuromesh::NewFromFile_(path.data());
    EXPECT_EQ(model_.TrainEpoch(set, [&] { return rates; }), trained);
}

TEST_F(NetworkModelTest, ANetworkThatDoesNotFitIsNeverFed) {
    const PatternSet set = Separable();
    model_.FitNetworkToPatterns(set);
    Sizes other{3, 2};
    neuromesh::NewNetwork_(2, other.data());
    EXPECT_FALSE(NetworkModel::Fits(set));
    EXPECT_EQ(model_.UpdateError(set), 0);
    EXPECT_EQ(model_.TrainEpoch(set, [] { return neuromesh::TrainingRates{}; }), 0);
    EXPECT_EQ(model_.RecognizeStroke(set), -1);
}

TEST_F(NetworkModelTest, LoadingChecksTheInputSizeFirstThenTheOutputSize) {
    const PatternSet set; // 20 inputs, 26 outputs
    PatternSet small;
    small.Redefine({"a", "b", "c"}, 1, 3);
    const fs::path both = folder_ / "both.net", outputs = folder_ / "outputs.net",
                   good = folder_ / "good.net", bad = folder_ / "bad.net";
    model_.UpdateNetworkDesign(Sizes{4}, small);
    ASSERT_TRUE(model_.SaveNetworkFile(both));
    PatternSet wider;
    wider.Redefine(std::vector<std::string>(3, "x"), 1, 10);
    model_.UpdateNetworkDesign(Sizes{4}, wider);
    ASSERT_TRUE(model_.SaveNetworkFile(outputs));
    model_.UpdateNetworkDesign(Sizes{9, 8}, set);
    ASSERT_TRUE(model_.SaveNetworkFile(good));
    std::ofstream(bad) << "not a network";

    model_.UpdateNetworkDesign(Sizes{25}, set);
    const struct {
        fs::path path;
        NetworkLoad::Outcome outcome;
        std::string message;
        Sizes shape;
    } cases[] = {
        {both,
         NetworkLoad::Outcome::kSizeMismatch,
         "This network's input size is 6 while current pattern set requires 20.\r\n"
         "Edit pattern parameters first.",
         {20, 25, 26}},
        {outputs,
         NetworkLoad::Outcome::kSizeMismatch,
         "This network's output size is 3 while current pattern set requires 26.\r\n"
         "Edit pattern parameters first.",
         {20, 25, 26}},
        {bad, NetworkLoad::Outcome::kUnreadable, "Error opening file", {20, 25, 26}},
        {folder_ / "missing.net",
         NetworkLoad::Outcome::kUnreadable,
         "Error opening file",
         {20, 25, 26}},
        {good, NetworkLoad::Outcome::kLoaded, "", {20, 9, 8, 26}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.filename().string());
        const NetworkLoad load = model_.LoadNetworkFile(c.path, set);
        EXPECT_EQ(load.outcome, c.outcome);
        EXPECT_EQ(load.message, c.message);
        EXPECT_EQ(NetworkModel::Shape(), c.shape);
    }
}

TEST_F(NetworkModelTest, SavingReplacesTheFileOnlyWhenTheLibraryWroteIt) {
    const PatternSet set = Separable();
    model_.FitNetworkToPatterns(set);
    const fs::path path = folder_ / "net.net";
    std::ofstream(path) << "old";
    ASSERT_TRUE(model_.SaveNetworkFile(path));
    const double error = model_.UpdateError(set);
    model_.FitNetworkToPatterns(set);
    ASSERT_EQ(model_.LoadNetworkFile(path, set).outcome, NetworkLoad::Outcome::kLoaded);
    EXPECT_DOUBLE_EQ(model_.UpdateError(set), error);

    fs::create_directories(folder_ / "dir.net" / "inside");
    EXPECT_FALSE(model_.SaveNetworkFile(folder_ / "dir.net"));
    EXPECT_FALSE(model_.SaveNetworkFile(folder_ / "missing" / "a.net"));
    neuromesh::Initialize_(); // no network: nothing to save
    EXPECT_FALSE(model_.SaveNetworkFile(path));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), {}), 2) << "nothing left aside";
    EXPECT_TRUE(fs::is_directory(folder_ / "dir.net" / "inside"));
}

} // namespace
