#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// A layered, fully connected feed-forward network of sigmoid nodes, trained
// online by back-propagation with momentum.
//
// Every node past the input layer has a bias and one weight per node of the
// layer below. The weights are kept (and stored in files) layer after layer
// from the first hidden layer up; within a layer, the weights from the first
// node below to every node of the layer in order, then those from the second
// node below, and so on, then the biases of the layer's nodes. Every
// activation lies in 0 to 1, whatever the inputs: a net input that is not a
// number gives 0.5.

namespace neural {

// A 64-bit generator (SplitMix64): the same seed gives the same draws.
class Random {
public:
    explicit Random(uint64_t seed = 0) : state_(seed) {}
    void Seed(uint64_t seed) { state_ = seed; }
    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [-1, 1).
    double Symmetric() { return double(Next() >> 11) * 0x1p-52 - 1.0; }

private:
    uint64_t state_;
};

class Network {
public:
    static constexpr int32_t kMinLayers = 2;
    static constexpr int32_t kMaxLayers = 7;
    static constexpr int32_t kMaxLayerSize = 32767;
    static constexpr int64_t kMaxWeights = int64_t{1} << 24;

    // The number of weights of a network of these layer sizes (input first),
    // or -1 when no such network can be made: 2 to 7 layers of 1 to
    // kMaxLayerSize nodes and at most kMaxWeights weights.
    static int64_t WeightCount(std::span<const int32_t> sizes);

    // A network of sizes with every weight 0; sizes must have a WeightCount.
    explicit Network(std::span<const int32_t> sizes);

    int32_t Layers() const { return int32_t(sizes_.size()); }
    std::span<const int32_t> Sizes() const { return sizes_; }
    int32_t InputSize() const { return sizes_.front(); }
    int32_t OutputSize() const { return sizes_.back(); }

    // In the order described above.
    std::span<double> Weights() { return weights_; }
    std::span<const double> Weights() const { return weights_; }

    // Every weight uniform in ±1/√(fan-in), counting the bias; the remembered
    // changes are forgotten.
    void RandomWeights(Random& random);
    // Adds amplitude × a uniform draw in [-1, 1) to every weight; the
    // remembered changes stay. A non-finite amplitude changes nothing.
    void BumpWeights(double amplitude, Random& random);

    // Computes every activation from InputSize() inputs.
    void Forwardfeed(const double* inputs);
    // The OutputSize() activations of the output layer.
    void CopyOutput(double* outputs) const;
    // One update from the errors (target minus output) of the last
    // Forwardfeed: each weight changes by eta × the node's delta × the input
    // it weighs plus momentum × its previous change. A non-finite eta or
    // momentum changes nothing.
    void Backpropagate(const double* errors, double eta, double momentum);

private:
    double* Activations(int32_t layer) { return activations_.data() + nodeStart_[layer]; }
    double* Deltas(int32_t layer) { return deltas_.data() + nodeStart_[layer]; }

    std::vector<int32_t> sizes_;
    std::vector<size_t> nodeStart_;   // per layer, into activations_ and deltas_
    std::vector<size_t> weightStart_; // per layer from 1, into weights_ and changes_
    std::vector<double> weights_;
    std::vector<double> changes_; // the last change of every weight
    std::vector<double> activations_;
    std::vector<double> deltas_;
};

} // namespace neural
