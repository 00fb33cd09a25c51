// The Neural library through its exports, bound by name as a program binds
// them: file round trips and refusals, the update rule against a plain
// reference, and training with a fixed seed.

#include "Neural.h"

#include "LibraryBinding.h"
#include "NetworkFile.h"

#include <bit>
#include <cmath>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <limits>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

#define BIND(function, entry)                                                                      \
    platform::BoundFunction<decltype(::function)> function##_(NEURAL_PATH, entry)
BIND(Initialize, "_Z10Initializev");
BIND(NewNetwork, "_Z10NewNetworkiPi");
BIND(RandomWeights, "_Z13RandomWeightsv");
BIND(GetLayers, "_Z9GetLayersv");
BIND(GetLayerSizes, "_Z13GetLayerSizesPi");
BIND(Forwardfeed, "_Z11ForwardfeedPd");
BIND(CopyOutput, "_Z10CopyOutputPd");
BIND(Backpropagate, "_Z13BackpropagatePddd");
BIND(BumpWeights, "_Z11BumpWeightsd");
BIND(SaveToFile, "_Z10SaveToFilePc");
BIND(FileNetParams, "_Z13FileNetParamsPcPiS0_");
BIND(NewFromFile, "_Z11NewFromFilePc");
BIND(Finalize, "_Z8Finalizev");
#undef BIND

using Bytes = std::vector<uint8_t>;
using Sizes = std::vector<int32_t>;

class NeuralTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::path(::testing::TempDir()) /
                  ("neural-" +
                   std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        ::setenv("VERITOPE_NEURAL_SEED", "20240611", 1);
        Initialize_();
    }
    void TearDown() override {
        Finalize_();
        fs::remove_all(folder_);
    }

    std::string Path(const char* name) const { return (folder_ / name).string(); }
    void Write(const std::string& path, const Bytes& bytes) const {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    static Bytes Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    static void New(Sizes sizes) { NewNetwork_(int32_t(sizes.size()), sizes.data()); }
    static Sizes Shape() {
        Sizes sizes(static_cast<size_t>(GetLayers_()));
        GetLayerSizes_(sizes.data());
        return sizes;
    }
    static std::vector<double> Outputs(std::vector<double> inputs) {
        const Sizes shape = Shape();
        std::vector<double> out(shape.empty() ? 0 : size_t(shape.back()));
        inputs.resize(shape.empty() ? 0 : size_t(shape.front()), 0.5);
        Forwardfeed_(inputs.data());
        CopyOutput_(out.data());
        return out;
    }
    std::pair<int32_t, int32_t> Params(const std::string& path) const {
        int32_t ins = 0, outs = 0;
        FileNetParams_(const_cast<char*>(path.c_str()), &ins, &outs);
        return {ins, outs};
    }
    void Save(const std::string& path) const { SaveToFile_(const_cast<char*>(path.c_str())); }
    void Load(const std::string& path) const { NewFromFile_(const_cast<char*>(path.c_str())); }

    // A network file with the given sizes and weights 0.1, 0.2, ...
    static Bytes File(const Sizes& sizes) {
        neural::Network network(sizes);
        int k = 0;
        for (double& w : network.Weights())
            w = 0.1 * ++k;
        return neural::NetworkFileBytes(network);
    }

    fs::path folder_;
};

TEST_F(NeuralTest, SavedNetworkReadsBackWithItsSizesAndWeights) {
    Write(Path("a.net"), File({1, 1}));
    New({3, 5, 4, 2});
    const std::vector<double> before = Outputs({0.1, 0.9, 0.4});
    Save(Path("a.net")); // replaces the old file
    EXPECT_EQ(Params(Path("a.net")), std::pair(3, 2));
    New({2, 7, 2});
    EXPECT_EQ(Params(Path("a.net")), std::pair(3, 2));
    EXPECT_EQ(Shape(), (Sizes{2, 7, 2})) << "FileNetParams leaves the network alone";
    Load(Path("a.net"));
    EXPECT_EQ(Shape(), (Sizes{3, 5, 4, 2}));
    EXPECT_EQ(Outputs({0.1, 0.9, 0.4}), before);
    Save(Path("b.net"));
    EXPECT_EQ(Read(Path("b.net")), Read(Path("a.net")));
    EXPECT_EQ(Read(Path("a.net")).size(), 16 + 4 * 4 + 8 * (4 * 5 + 6 * 4 + 5 * 2));

    // Failed saves, and none without a network, leave the file as it was.
    fs::create_directory(Path("folder.net"));
    Save(Path("folder.net"));
    Save(Path("missing/a.net"));
    Initialize_();
    EXPECT_EQ(GetLayers_(), 0);
    Save(Path("a.net"));
    EXPECT_EQ(Read(Path("a.net")), Read(Path("b.net")));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), {}), 3) << "nothing left aside";
}

// A read-only file is not replaced, nor a file by weights that are not
// finite, which the library would refuse to read back.
TEST_F(NeuralTest, SaveRefusesReadOnlyFilesAndWeightsNotFinite) {
    New({3, 4, 2});
    Save(Path("a.net"));
    const Bytes saved = Read(Path("a.net"));
    New({2, 5, 2});
    fs::permissions(Path("a.net"), fs::perms(0444));
    Save(Path("a.net"));
    EXPECT_EQ(Read(Path("a.net")), saved);
    EXPECT_EQ(fs::status(Path("a.net")).permissions(), fs::perms(0444));
    fs::permissions(Path("a.net"), fs::perms(0644));

    Outputs({0.5, 0.5});
    std::vector<double> errors(2, std::numeric_limits<double>::infinity());
    Backpropagate_(errors.data(), 0.5, 0.0);
    Save(Path("a.net"));
    Save(Path("fresh.net"));
    EXPECT_EQ(Read(Path("a.net")), saved);
    EXPECT_EQ(Params(Path("a.net")), std::pair(3, 2));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), {}), 1) << "nothing new, nothing aside";
}

// A seed variable that holds no number in range is ignored, as when unset:
// each start draws other weights.
TEST_F(NeuralTest, SeedVariableOutOfRangeIsIgnored) {
    auto startingOutputs = [this](const char* seed) {
        ::setenv("VERITOPE_NEURAL_SEED", seed, 1);
        Initialize_();
        New({2, 6, 3});
        return Outputs({0.3, 0.8});
    };
    for (const char* seed : {"-1", "18446744073709551616", "12x"})
        EXPECT_NE(startingOutputs(seed), startingOutputs(seed)) << seed;
    EXPECT_EQ(startingOutputs("18446744073709551615"), startingOutputs("18446744073709551615"));
}

TEST_F(NeuralTest, RefusedFilesAndShapesLeaveTheNetworkAsItWas) {
    const Bytes good = File({2, 3, 2});
    auto with = [&](size_t at, std::vector<uint8_t> bytes) {
        Bytes file = good;
        std::copy(bytes.begin(), bytes.end(), file.begin() + long(at));
        return file;
    };
    auto weight = [](double w) {
        Bytes b(8);
        for (int k = 0; k < 8; ++k)
            b[k] = uint8_t(std::bit_cast<uint64_t>(w) >> 8 * k);
        return b;
    };
    Bytes longer = good;
    longer.push_back(0);
    Bytes eightMore = good; // reads as one more weight of 0.0
    eightMore.resize(good.size() + 8);
    const struct {
        const char* name;
        Bytes bytes;
    } files[] = {
        {"empty", {}},
        {"header only", Bytes(good.begin(), good.begin() + 16)},
        {"one byte short", Bytes(good.begin(), good.end() - 1)},
        {"one byte more", longer},
        {"eight bytes more", eightMore},
        {"another magic", with(0, {'v'})},
        {"another version", with(8, {2})},
        {"one layer", with(12, {1})},
        {"eight layers", with(12, {8})},
        {"size 0", with(16, {0})},
        {"negative size", with(16, {0xFF, 0xFF, 0xFF, 0xFF})},
        {"size 32768", with(16, {0x00, 0x80})},
        {"too many weights", with(20, {0xFF, 0x7F, 0, 0, 0xFF, 0x7F})},
        {"not a number", with(28, weight(std::numeric_limits<double>::quiet_NaN()))},
        {"infinite", with(good.size() - 8, weight(-std::numeric_limits<double>::infinity()))},
    };
    New({4, 6, 5});
    const std::vector<double> before = Outputs({});
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        EXPECT_FALSE(neural::CheckNetworkFile(file.bytes));
        EXPECT_FALSE(neural::ParseNetworkFile(file.bytes));
        Write(Path("bad.net"), file.bytes);
        EXPECT_EQ(Params(Path("bad.net")), std::pair(-1, -1));
        Load(Path("bad.net"));
        EXPECT_EQ(Shape(), (Sizes{4, 6, 5}));
        EXPECT_EQ(Outputs({}), before);
    }
    ::mkfifo(Path("pipe").c_str(), 0600);
    for (const std::string& path : {Path("missing.net"), folder_.string(), Path("pipe")}) {
        EXPECT_EQ(Params(path), std::pair(-1, -1)) << path;
        Load(path);
        EXPECT_EQ(Shape(), (Sizes{4, 6, 5}));
    }
    for (const Sizes& sizes : std::vector<Sizes>{
             {5}, {1, 1, 1, 1, 1, 1, 1, 1}, {3, 0}, {3, -2}, {3, 32768}, {32767, 600}}) {
        New(sizes);
        EXPECT_EQ(Shape(), (Sizes{4, 6, 5}));
    }
    NewNetwork_(3, nullptr);
    NewFromFile_(nullptr);
    EXPECT_EQ(Outputs({}), before);
}

TEST_F(NeuralTest, OutputsStayBetweenZeroAndOneWhateverTheInputs) {
    const double inf = std::numeric_limits<double>::infinity();
    New({3, 8, 8, 4});
    for (int bump = 0; bump < 20; ++bump)
        BumpWeights_(1.0);
    BumpWeights_(std::nan(""));
    for (const std::vector<double>& in : std::vector<std::vector<double>>{
             {0, 0, 0}, {1e300, -1e300, 3}, {inf, -inf, 0}, {std::nan(""), 1, 0}, {-5, 2, 7}})
        for (const double out : Outputs(in))
            EXPECT_TRUE(out >= 0 && out <= 1) << out;
}

// The update rule written out for one 2-3-2 network, node by node.
TEST_F(NeuralTest, BackpropagationFollowsTheDeltaRuleWithMomentum) {
    const Sizes sizes{2, 3, 2};
    Write(Path("known.net"), File(sizes));
    Load(Path("known.net"));
    neural::Network reference = *neural::ParseNetworkFile(File(sizes));
    auto w = [&](int layer, int from, int to) -> double& { // from == below size: the bias
        const size_t start = layer == 1 ? 0 : 3 * 3;
        return reference.Weights()[start + size_t(from) * size_t(sizes[layer]) + size_t(to)];
    };
    auto sigmoid = [](double x) { return 1 / (1 + std::exp(-x)); };
    std::vector<double> change(reference.Weights().size(), 0.0);
    const double eta = 0.3, momentum = 0.6;
    const std::vector<double> inputs[] = {{0.2, 0.9}, {0.8, 0.1}, {0.5, 0.5}};
    for (const std::vector<double>& x : inputs) {
        double hidden[3], out[2], dOut[2], dHidden[3], errors[2];
        for (int n = 0; n < 3; ++n)
            hidden[n] = sigmoid(w(1, 2, n) + w(1, 0, n) * x[0] + w(1, 1, n) * x[1]);
        for (int n = 0; n < 2; ++n)
            out[n] = sigmoid(w(2, 3, n) + w(2, 0, n) * hidden[0] + w(2, 1, n) * hidden[1] +
                             w(2, 2, n) * hidden[2]);
        const std::vector<double> got = Outputs(x);
        for (int n = 0; n < 2; ++n) {
            EXPECT_NEAR(got[n], out[n], 1e-12);
            errors[n] = (n == 0 ? 1.0 : 0.0) - got[n];
            dOut[n] = errors[n] * out[n] * (1 - out[n]);
        }
        for (int i = 0; i < 3; ++i)
            dHidden[i] =
                (dOut[0] * w(2, i, 0) + dOut[1] * w(2, i, 1)) * hidden[i] * (1 - hidden[i]);
        size_t k = 0;
        for (int layer = 1; layer <= 2; ++layer) {
            const double* below = layer == 1 ? x.data() : hidden;
            const double* delta = layer == 1 ? dHidden : dOut;
            for (int from = 0; from <= sizes[layer - 1]; ++from)
                for (int to = 0; to < sizes[layer]; ++to, ++k) {
                    const double input = from == sizes[layer - 1] ? 1.0 : below[from];
                    change[k] = eta * delta[to] * input + momentum * change[k];
                    w(layer, from, to) += change[k];
                }
        }
        Backpropagate_(errors, eta, momentum);
    }
    Save(Path("trained.net"));
    const neural::Network trained = *neural::ParseNetworkFile(Read(Path("trained.net")));
    for (size_t k = 0; k < change.size(); ++k)
        EXPECT_NEAR(trained.Weights()[k], reference.Weights()[k], 1e-12) << k;
}

// Two separable clusters; the seed fixes the starting weights, so the same
// run repeats exactly.
TEST_F(NeuralTest, TrainingWithAFixedSeedLowersTheErrorAndRepeats) {
    const double points[][2] = {{0.1, 0.2}, {0.2, 0.1},  {0.15, 0.3},
                                {0.9, 0.8}, {0.8, 0.95}, {0.7, 0.9}};
    auto epoch = [&](bool train) {
        double total = 0;
        for (int s = 0; s < 6; ++s) {
            std::vector<double> out = Outputs({points[s][0], points[s][1]});
            for (int k = 0; k < 2; ++k) {
                out[k] = (k == s / 3 ? 1.0 : 0.0) - out[k];
                total += out[k] * out[k];
            }
            if (train)
                Backpropagate_(out.data(), 0.5, 0.5);
        }
        return total;
    };
    std::vector<double> runs[2];
    for (std::vector<double>& run : runs) {
        Initialize_();
        New({2, 4, 2});
        const double start = epoch(false);
        for (int e = 0; e < 300; ++e)
            epoch(true);
        const double end = epoch(false);
        EXPECT_LT(end, start / 10);
        run = Outputs({0.5, 0.5});
    }
    EXPECT_EQ(runs[0], runs[1]);
}

TEST_F(NeuralTest, ExportsNothingButItsEntries) {
    void* library = ::dlopen(NEURAL_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr);
    EXPECT_NE(::dlsym(library, "_Z13FileNetParamsPcPiS0_"), nullptr);
    EXPECT_EQ(::dlsym(library, "_ZN6neural16AnnouncedFileSizeESt4spanIKhLm18446744073709551615EE"),
              nullptr);
    ::dlclose(library);
}

} // namespace
