#include "Network.h"

#include <algorithm>
#include <cmath>

namespace neural {

namespace {

double Sigmoid(double x) {
    const double y = 1.0 / (1.0 + std::exp(-x));
    return y == y ? y : 0.5;
}

// Σ a[k] × b[k] in four running sums, so that the additions overlap.
double Dot(const double* a, const double* b, int32_t count) {
    double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
    int32_t k = 0;
    for (; k + 4 <= count; k += 4) {
        s0 += a[k] * b[k];
        s1 += a[k + 1] * b[k + 1];
        s2 += a[k + 2] * b[k + 2];
        s3 += a[k + 3] * b[k + 3];
    }
    for (; k < count; ++k)
        s0 += a[k] * b[k];
    return (s0 + s1) + (s2 + s3);
}

// w[k] and change[k] move by step × delta[k] + momentum × change[k].
void Update(double* w, double* change, const double* delta, double step, double momentum,
            int32_t count) {
    for (int32_t k = 0; k < count; ++k) {
        const double c = step * delta[k] + momentum * change[k];
        change[k] = c;
        w[k] += c;
    }
}

} // namespace

int64_t Network::WeightCount(std::span<const int32_t> sizes) {
    if (sizes.size() < size_t(kMinLayers) || sizes.size() > size_t(kMaxLayers))
        return -1;
    for (const int32_t size : sizes)
        if (size < 1 || size > kMaxLayerSize)
            return -1;
    int64_t count = 0;
    for (size_t j = 1; j < sizes.size(); ++j)
        count += (int64_t(sizes[j - 1]) + 1) * sizes[j];
    return count <= kMaxWeights ? count : -1;
}

Network::Network(std::span<const int32_t> sizes) : sizes_(sizes.begin(), sizes.end()) {
    size_t nodes = 0, weights = 0;
    weightStart_.push_back(0);
    for (size_t j = 0; j < sizes_.size(); ++j) {
        nodeStart_.push_back(nodes);
        nodes += size_t(sizes_[j]);
        if (j > 0) {
            weightStart_.push_back(weights);
            weights += (size_t(sizes_[j - 1]) + 1) * size_t(sizes_[j]);
        }
    }
    weights_.assign(weights, 0.0);
    changes_.assign(weights, 0.0);
    activations_.assign(nodes, 0.0);
    deltas_.assign(nodes, 0.0);
}

void Network::RandomWeights(Random& random) {
    for (int32_t j = 1; j < Layers(); ++j) {
        const double range = 1.0 / std::sqrt(double(sizes_[j - 1]) + 1.0);
        const size_t end = j + 1 < Layers() ? weightStart_[j + 1] : weights_.size();
        for (size_t k = weightStart_[j]; k < end; ++k)
            weights_[k] = range * random.Symmetric();
    }
    changes_.assign(changes_.size(), 0.0);
}

void Network::BumpWeights(double amplitude, Random& random) {
    if (!std::isfinite(amplitude))
        return;
    for (double& w : weights_)
        w += amplitude * random.Symmetric();
}

void Network::Forwardfeed(const double* inputs) {
    std::copy(inputs, inputs + InputSize(), Activations(0));
    for (int32_t j = 1; j < Layers(); ++j) {
        const int32_t below = sizes_[j - 1], size = sizes_[j];
        const double* in = Activations(j - 1);
        const double* w = weights_.data() + weightStart_[j];
        double* out = Activations(j);
        std::copy(w + size_t(below) * size, w + size_t(below + 1) * size, out); // the biases
        for (int32_t i = 0; i < below; ++i, w += size) {
            const double a = in[i];
            for (int32_t n = 0; n < size; ++n)
                out[n] += a * w[n];
        }
        for (int32_t n = 0; n < size; ++n)
            out[n] = Sigmoid(out[n]);
    }
}

void Network::CopyOutput(double* outputs) const {
    const double* out = activations_.data() + nodeStart_.back();
    std::copy(out, out + OutputSize(), outputs);
}

void Network::Backpropagate(const double* errors, double eta, double momentum) {
    if (!std::isfinite(eta) || !std::isfinite(momentum))
        return;
    const int32_t top = Layers() - 1;
    {
        const double* a = Activations(top);
        double* d = Deltas(top);
        for (int32_t n = 0; n < sizes_[top]; ++n)
            d[n] = errors[n] * a[n] * (1.0 - a[n]);
    }
    // Layer by layer downwards: the deltas of the layer below from the
    // weights before their update, then the update.
    for (int32_t j = top; j >= 1; --j) {
        const int32_t below = sizes_[j - 1], size = sizes_[j];
        const double* in = Activations(j - 1);
        const double* d = Deltas(j);
        double* w = weights_.data() + weightStart_[j];
        double* change = changes_.data() + weightStart_[j];
        double* dBelow = Deltas(j - 1);
        for (int32_t i = 0; i < below; ++i, w += size, change += size) {
            if (j > 1)
                dBelow[i] = Dot(d, w, size) * in[i] * (1.0 - in[i]);
            Update(w, change, d, eta * in[i], momentum, size);
        }
        Update(w, change, d, eta, momentum, size); // the biases
    }
}

} // namespace neural
