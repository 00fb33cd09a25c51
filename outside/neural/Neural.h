#pragma once

#include <cstdint>

// The thirteen exports of the Neural library (libNeural.so), which holds one
// process-wide layered, fully connected feed-forward network of sigmoid
// nodes, trained online by back-propagation with momentum. A client binds
// them by their exported names and takes their types from these
// declarations; it does not link against the library. The caller allocates
// every array it passes; sizes are input first.
//
// The library reports errors only this way:
// - FileNetParams gives ins = outs = -1 for a file it refuses: one it cannot
//   open or read, with another magic text or version, impossible sizes, fewer
//   or more bytes than its header announces, or a weight that is not finite.
// - NewFromFile refuses the same files and NewNetwork impossible sizes (fewer
//   than 2 or more than 7 layers, a layer of fewer than 1 or more than 32767
//   nodes, more than 2^24 weights) or a network it cannot allocate; the
//   network is then unchanged. A caller checks through GetLayers and
//   GetLayerSizes.
// - SaveToFile writes aside in the file's folder and renames the written file
//   over path, so that a failed save leaves what was at path as it was; a
//   caller checks it by reading the sizes back with FileNetParams. Without a
//   network, with a weight that is not finite, or when path is a read-only
//   file, it writes nothing.
// Without a network, Forwardfeed, CopyOutput, Backpropagate, RandomWeights
// and BumpWeights do nothing and GetLayers gives 0. A null pointer argument
// makes its call do nothing.
//
// Random draws come from the library's own generator. Initialize seeds it
// from the environment variable VERITOPE_NEURAL_SEED when that holds a
// decimal whole number from 0 to 2^64 - 1, so that a run can be repeated,
// and from the system's random source otherwise; another value is reported
// on standard error, as VERITOPE_PRNG_SEED is by the PRNG library.

#define NEURAL_EXPORT __attribute__((visibility("default")))

// Forgets the network and seeds the generator; once, first.
NEURAL_EXPORT void Initialize();
// A new network of layers (2 to 7) layers of sizes[0 .. layers - 1] nodes,
// with random weights.
NEURAL_EXPORT void NewNetwork(int32_t layers, int32_t* sizes);
// Fresh random weights; the momentum of past updates is forgotten.
NEURAL_EXPORT void RandomWeights();
// The number of layers, input and output included; 0 without a network.
NEURAL_EXPORT int32_t GetLayers();
// Receives GetLayers() sizes.
NEURAL_EXPORT void GetLayerSizes(int32_t* sizes);
// Computes every activation from the input layer's size of inputs.
NEURAL_EXPORT void Forwardfeed(double* inputs);
// Receives the outputs of the last Forwardfeed, each 0 to 1.
NEURAL_EXPORT void CopyOutput(double* outputs);
// One update from the errors (target minus output, one per output) of the
// last Forwardfeed, with learning rate eta and momentum, both 0 to 1.
NEURAL_EXPORT void Backpropagate(double* errors, double eta, double momentum);
// Adds to every weight a uniform random change of at most amplitude (0 to 1).
NEURAL_EXPORT void BumpWeights(double amplitude);
// Writes the network's sizes and weights to the file at path.
NEURAL_EXPORT void SaveToFile(char* path);
// The input and output size stored in the file at path; the network is unchanged.
NEURAL_EXPORT void FileNetParams(char* path, int32_t* ins, int32_t* outs);
// Replaces the network by the file's, its weights as saved.
NEURAL_EXPORT void NewFromFile(char* path);
// Frees the network; once, last.
NEURAL_EXPORT void Finalize();
