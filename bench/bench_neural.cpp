// Epochs per second of training Neuromesh's default network (20 inputs, 25
// hidden nodes, 26 outputs) on its 78 samples, online with learning rate 0.25
// and momentum 0.5, the samples in slot order:
//   Library   - through the Neural library's exports, bound by name;
//   Model     - through Neuromesh's training epoch over the same exports;
//   PlainLoop - the same computation written as a plain C++ loop here;
//   Fann      - the same network trained incrementally with momentum by FANN.
// Before timing, the library and the plain loop start from the same weights
// and must give the same epoch errors. The ratios are printed at the end.

#include "BenchMain.h"
#include "LibraryBinding.h"
#include "NetworkFile.h"
#include "NetworkModel.h"
#include "Neural.h"
#include "PatternSet.h"

#include <cmath>
#include <cstdio>
#include <doublefann.h>
#include <filesystem>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

#define BIND(function, entry)                                                                      \
    platform::BoundFunction<decltype(::function)> function##_(NEURAL_PATH, entry)
BIND(Initialize, "_Z10Initializev");
BIND(NewNetwork, "_Z10NewNetworkiPi");
BIND(Forwardfeed, "_Z11ForwardfeedPd");
BIND(CopyOutput, "_Z10CopyOutputPd");
BIND(Backpropagate, "_Z13BackpropagatePddd");
BIND(NewFromFile, "_Z11NewFromFilePc");
BIND(Finalize, "_Z8Finalizev");
#undef BIND

constexpr int kInputs = 20, kHidden = 25, kOutputs = 26, kSamplesPerCategory = 3;
constexpr int kSamples = kOutputs * kSamplesPerCategory;
constexpr double kEta = 0.25, kMomentum = 0.5;

// A fixed generator for the samples and the plain loop's starting weights.
struct Draws {
    uint64_t state = 0x2545F4914F6CDD1Dull;
    double Next() { // in [0, 1)
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return double(state >> 11) * 0x1p-53;
    }
};

// Strokes of the 26 categories: a category's three samples vary one path.
struct Samples {
    std::vector<double> inputs = std::vector<double>(size_t(kSamples) * kInputs);
    Samples() {
        Draws draws;
        std::vector<double> path(kInputs);
        for (int c = 0; c < kOutputs; ++c) {
            for (double& v : path)
                v = draws.Next();
            for (int s = 0; s < kSamplesPerCategory; ++s)
                for (int k = 0; k < kInputs; ++k)
                    inputs[size_t(c * kSamplesPerCategory + s) * kInputs + k] =
                        std::min(1.0, std::max(0.0, path[k] + 0.1 * (draws.Next() - 0.5)));
        }
    }
    const double* Input(int s) const { return inputs.data() + size_t(s) * kInputs; }
    static double Target(int s, int k) { return k == s / kSamplesPerCategory ? 1.0 : 0.0; }
};

const Samples& TheSamples() {
    static const Samples samples;
    return samples;
}

// The textbook network: per layer, per node, its weights from the layer below
// and then its bias.
class PlainNetwork {
public:
    PlainNetwork() {
        Draws draws;
        for (int j = 1; j < 3; ++j) {
            const double range = 1 / std::sqrt(double(sizes_[j - 1]) + 1);
            w_[j].resize(size_t(sizes_[j]) * (sizes_[j - 1] + 1));
            for (double& v : w_[j])
                v = range * (2 * draws.Next() - 1);
            dw_[j].assign(w_[j].size(), 0.0);
        }
        for (int j = 0; j < 3; ++j) {
            a_[j].resize(size_t(sizes_[j]));
            d_[j].resize(size_t(sizes_[j]));
        }
    }

    void Forward(const double* in) {
        std::copy(in, in + kInputs, a_[0].begin());
        for (int j = 1; j < 3; ++j) {
            const int below = sizes_[j - 1];
            for (int n = 0; n < sizes_[j]; ++n) {
                const double* row = &w_[j][size_t(n) * (below + 1)];
                double sum = row[below];
                for (int i = 0; i < below; ++i)
                    sum += row[i] * a_[j - 1][i];
                a_[j][n] = 1 / (1 + std::exp(-sum));
            }
        }
    }
    const std::vector<double>& Output() const { return a_[2]; }

    void Backward(const double* errors, double eta, double momentum) {
        for (int n = 0; n < kOutputs; ++n)
            d_[2][n] = errors[n] * a_[2][n] * (1 - a_[2][n]);
        for (int i = 0; i < kHidden; ++i) {
            double sum = 0;
            for (int n = 0; n < kOutputs; ++n)
                sum += d_[2][n] * w_[2][size_t(n) * (kHidden + 1) + i];
            d_[1][i] = sum * a_[1][i] * (1 - a_[1][i]);
        }
        for (int j = 1; j < 3; ++j) {
            const int below = sizes_[j - 1];
            for (int n = 0; n < sizes_[j]; ++n) {
                double* row = &w_[j][size_t(n) * (below + 1)];
                double* change = &dw_[j][size_t(n) * (below + 1)];
                for (int i = 0; i <= below; ++i) {
                    const double input = i < below ? a_[j - 1][i] : 1.0;
                    change[i] = eta * d_[j][n] * input + momentum * change[i];
                    row[i] += change[i];
                }
            }
        }
    }

    // The same weights as a Neural library network file.
    std::vector<uint8_t> FileBytes() const {
        neural::Network network(sizes_);
        size_t k = 0;
        for (int j = 1; j < 3; ++j) {
            const int below = sizes_[j - 1];
            for (int i = 0; i <= below; ++i)
                for (int n = 0; n < sizes_[j]; ++n)
                    network.Weights()[k++] = w_[j][size_t(n) * (below + 1) + i];
        }
        return neural::NetworkFileBytes(network);
    }

private:
    std::vector<int32_t> sizes_{kInputs, kHidden, kOutputs};
    std::vector<double> w_[3], dw_[3], a_[3], d_[3];
};

double PlainEpoch(PlainNetwork& network) {
    double error = 0, errors[kOutputs];
    for (int s = 0; s < kSamples; ++s) {
        network.Forward(TheSamples().Input(s));
        for (int k = 0; k < kOutputs; ++k) {
            errors[k] = Samples::Target(s, k) - network.Output()[k];
            error += errors[k] * errors[k];
        }
        network.Backward(errors, kEta, kMomentum);
    }
    return error;
}

double LibraryEpoch() {
    double error = 0, in[kInputs], out[kOutputs];
    for (int s = 0; s < kSamples; ++s) {
        std::copy(TheSamples().Input(s), TheSamples().Input(s) + kInputs, in);
        Forwardfeed_(in);
        CopyOutput_(out);
        for (int k = 0; k < kOutputs; ++k) {
            out[k] = Samples::Target(s, k) - out[k];
            error += out[k] * out[k];
        }
        Backpropagate_(out, kEta, kMomentum);
    }
    return error;
}

void StartLibrary() {
    Initialize_();
    int32_t sizes[] = {kInputs, kHidden, kOutputs};
    NewNetwork_(3, sizes);
}

// The library from the plain loop's starting weights must give the plain
// loop's errors, epoch after epoch.
bool SameComputation() {
    PlainNetwork plain;
    const std::vector<uint8_t> bytes = plain.FileBytes();
    std::string path = (std::filesystem::temp_directory_path() /
                        ("bench_neural-" + std::to_string(::getpid()) + ".net"))
                           .string();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    const bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file)
        std::fclose(file);
    Initialize_();
    NewFromFile_(path.data());
    std::remove(path.c_str());
    if (!written)
        return false;
    for (int epoch = 0; epoch < 20; ++epoch) {
        const double expected = PlainEpoch(plain), got = LibraryEpoch();
        if (!(std::fabs(got - expected) <= 1e-9 * expected))
            return false;
    }
    return true;
}

void Library(benchmark::State& state) {
    if (!SameComputation()) {
        state.SkipWithError("the library and the plain loop differ");
        return;
    }
    StartLibrary();
    for (auto _ : state)
        benchmark::DoNotOptimize(LibraryEpoch());
    state.counters["epochs/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    Finalize_();
}

void Model(benchmark::State& state) {
    neuromesh::PatternSet set; // the default set: 26 categories, 3 samples, 10 points
    for (int s = 0; s < kSamples; ++s)
        set.SetSample(s, std::span(TheSamples().Input(s), kInputs));
    neuromesh::NetworkModel model;
    StartLibrary();
    for (auto _ : state)
        benchmark::DoNotOptimize(model.TrainEpoch(set, [] {
            return neuromesh::TrainingRates{kEta, kMomentum};
        }));
    state.counters["epochs/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    Finalize_();
}

void PlainLoop(benchmark::State& state) {
    PlainNetwork network;
    for (auto _ : state)
        benchmark::DoNotOptimize(PlainEpoch(network));
    state.counters["epochs/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void Fann(benchmark::State& state) {
    fann* ann = fann_create_standard(3, kInputs, kHidden, kOutputs);
    fann_set_activation_function_hidden(ann, FANN_SIGMOID);
    fann_set_activation_function_output(ann, FANN_SIGMOID);
    fann_set_activation_steepness_hidden(ann, 0.5); // 1 / (1 + e^-x)
    fann_set_activation_steepness_output(ann, 0.5);
    fann_set_training_algorithm(ann, FANN_TRAIN_INCREMENTAL);
    fann_set_train_error_function(ann, FANN_ERRORFUNC_LINEAR);
    fann_set_learning_rate(ann, float(kEta));
    fann_set_learning_momentum(ann, float(kMomentum));
    fann_randomize_weights(ann, -0.2, 0.2);
    std::vector<fann_type> inputs(TheSamples().inputs.begin(), TheSamples().inputs.end());
    std::vector<fann_type> targets(size_t(kSamples) * kOutputs);
    for (int s = 0; s < kSamples; ++s)
        for (int k = 0; k < kOutputs; ++k)
            targets[size_t(s) * kOutputs + k] = Samples::Target(s, k);
    for (auto _ : state) {
        fann_reset_MSE(ann);
        for (int s = 0; s < kSamples; ++s)
            fann_train(ann, &inputs[size_t(s) * kInputs], &targets[size_t(s) * kOutputs]);
        benchmark::DoNotOptimize(fann_get_MSE(ann));
    }
    state.counters["epochs/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    fann_destroy(ann);
}

} // namespace

int main(int argc, char** argv) {
    ::setenv("VERITOPE_NEURAL_SEED", "1", 1);
    benchmark::RegisterBenchmark("Epoch/Library", Library)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Epoch/Model", Model)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Epoch/PlainLoop", PlainLoop)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Epoch/Fann", Fann)->Unit(benchmark::kMicrosecond);
    bench::BestTimes times;
    if (bench::Run(argc, argv, &times) != 0)
        return 1;
    for (const auto& [name, floor] :
         {std::pair{"Epoch/PlainLoop", "at least 0.9"}, std::pair{"Epoch/Fann", "above 1"}}) {
        if (const auto ratio = times.Ratio(name, "Epoch/Library"))
            std::printf("library rate / %s rate = %.2f (%s)\n", name + 6, *ratio, floor);
    }
    return 0;
}
