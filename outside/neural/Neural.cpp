// The Neural library's exports over the one process-wide network.

#include "Neural.h"

#include "Network.h"
#include "NetworkFile.h"
#include "SeedVariable.h"

#include <algorithm>
#include <memory>
#include <new>
#include <optional>
#include <random>
#include <span>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

using neural::Network;

namespace {

std::unique_ptr<Network> theNetwork; // empty until NewNetwork or NewFromFile

// The seed VERITOPE_NEURAL_SEED fixes; a value that is no decimal number in
// range is reported and ignored, as the system's random source seeds then.
uint64_t StartSeed() {
    if (const std::optional<uint64_t> seed =
            platform::SeedFromEnvironment("Neural", "VERITOPE_NEURAL_SEED"))
        return *seed;
    std::random_device device;
    return uint64_t(device()) << 32 | device();
}

neural::Random& Generator() {
    static neural::Random random(StartSeed());
    return random;
}

// Replaces the network by a new one; keeps it when the new one cannot be made.
template <typename Make> void Replace(Make make) {
    try {
        if (std::unique_ptr<Network> network = make())
            theNetwork = std::move(network);
    } catch (const std::bad_alloc&) {
    }
}

std::unique_ptr<Network> FromFile(const char* path) {
    if (!path)
        return nullptr;
    const std::optional<std::vector<uint8_t>> bytes = neural::ReadNetworkFile(path);
    if (!bytes)
        return nullptr;
    std::optional<Network> network = neural::ParseNetworkFile(*bytes);
    return network ? std::make_unique<Network>(std::move(*network)) : nullptr;
}

#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx"))) void ZeroUpperVectors() {
    _mm256_zeroupper();
}
#endif

// A caller that used 256- or 512-bit vectors (the window layer's fills and
// copies do) may leave their upper halves marked in use; every scalar double
// operation of the passes then waits on them, which made epochs five times
// slower while a window drew between them. The passes clear that state on
// entry where the processor has it: one instruction.
void ClearVectorState() {
#if defined(__x86_64__) || defined(__i386__)
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx)
        ZeroUpperVectors();
#endif
}

} // namespace

void Initialize() {
    theNetwork.reset();
    Generator().Seed(StartSeed());
}

void NewNetwork(int32_t layers, int32_t* sizes) {
    if (!sizes || layers < Network::kMinLayers || layers > Network::kMaxLayers)
        return;
    const std::span<const int32_t> shape(sizes, size_t(layers));
    if (Network::WeightCount(shape) < 0)
        return;
    Replace([shape] {
        auto network = std::make_unique<Network>(shape);
        network->RandomWeights(Generator());
        return network;
    });
}

void RandomWeights() {
    if (theNetwork)
        theNetwork->RandomWeights(Generator());
}

int32_t GetLayers() {
    return theNetwork ? theNetwork->Layers() : 0;
}

void GetLayerSizes(int32_t* sizes) {
    if (theNetwork && sizes)
        std::ranges::copy(theNetwork->Sizes(), sizes);
}

void Forwardfeed(double* inputs) {
    ClearVectorState();
    if (theNetwork && inputs)
        theNetwork->Forwardfeed(inputs);
}

void CopyOutput(double* outputs) {
    if (theNetwork && outputs)
        theNetwork->CopyOutput(outputs);
}

void Backpropagate(double* errors, double eta, double momentum) {
    ClearVectorState();
    if (theNetwork && errors)
        theNetwork->Backpropagate(errors, eta, momentum);
}

void BumpWeights(double amplitude) {
    if (theNetwork)
        theNetwork->BumpWeights(amplitude, Generator());
}

void SaveToFile(char* path) {
    if (!theNetwork || !path)
        return;
    try {
        neural::WriteNetworkFile(path, *theNetwork);
    } catch (const std::bad_alloc&) {
    }
}

void FileNetParams(char* path, int32_t* ins, int32_t* outs) {
    int32_t in = -1, out = -1;
    try {
        if (path)
            if (const auto bytes = neural::ReadNetworkFile(path))
                if (const auto sizes = neural::CheckNetworkFile(*bytes)) {
                    in = sizes->front();
                    out = sizes->back();
                }
    } catch (const std::bad_alloc&) {
    }
    if (ins)
        *ins = in;
    if (outs)
        *outs = out;
}

void NewFromFile(char* path) {
    Replace([path] { return FromFile(path); });
}

void Finalize() {
    theNetwork.reset();
}
