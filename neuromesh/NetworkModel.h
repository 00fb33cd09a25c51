#pragma once

#include "PatternSet.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

// What Neuromesh does with the Neural library's one network, over a pattern
// set: fitting the input and output layers to the set, the error over all
// samples, recognition, the hidden-layer design, network files and one
// epoch of training. The library holds the network; its shape is read from
// it whenever needed.
//
// The error of the network is the sum, over every slot in slot order, empty
// ones included, and every category k, of (t − output k)², where t is 1 for
// the slot's category and 0 otherwise.
//
// Every routine that feeds the network first checks that its input and
// output layers match the set, so that the library never reads or writes
// past the buffers; a network that does not match is left alone (the error
// is then 0, recognition gives -1).

namespace neuromesh {

inline constexpr const char* kErrorOpeningFile = "Error opening file";
inline constexpr const char* kErrorSavingFile = "Error saving file";

// What loading a network file came to.
struct NetworkLoad {
    enum class Outcome {
        kLoaded,       // the network is the file's
        kUnreadable,   // "Error opening file"; the network is unchanged
        kSizeMismatch, // the file's input or output size differs; unchanged
    };
    Outcome outcome = Outcome::kUnreadable;
    // For kSizeMismatch, the message naming the input size (compared
    // first) or the output size; for kUnreadable, "Error opening file".
    std::string message;
};

// Learning rate and momentum, each 0 to 1, read again before every sample.
struct TrainingRates {
    double eta = 0.25;
    double momentum = 0.5;
};

class NetworkModel {
public:
    // The input vector of a stroke (2 × inputsize values) and the outputs of
    // the last recognition or error sample (one per category).
    std::vector<double> inputvec;
    std::vector<double> outputvec;

    // The network's layer sizes, input first; empty without a network.
    static std::vector<int32_t> Shape();
    // Whether the network's input layer has 2 × inputsize nodes and its
    // output layer pattypes.
    static bool Fits(const PatternSet& set);

    // Sizes the vectors to the set, gives the network the set's input and
    // output sizes (the hidden layers stay) and fresh random weights. Gives
    // the new error.
    double FitNetworkToPatterns(const PatternSet& set);
    // The error over every slot; uses inputvec and outputvec.
    double UpdateError(const PatternSet& set);
    // Feeds inputvec; outputvec receives the outputs. The best category.
    int RecognizeStroke(const PatternSet& set);
    // A new random network with these hidden layer sizes between the set's
    // input and output sizes; gives the new error.
    double UpdateNetworkDesign(std::span<const int32_t> hidden, const PatternSet& set);

    // Checks the file's sizes against the set (input first) and loads it.
    NetworkLoad LoadNetworkFile(const std::filesystem::path& path, const PatternSet& set);
    // Replaces the file at path by the network's; false when that failed
    // ("Error saving file"), leaving what was at path as it was.
    bool SaveNetworkFile(const std::filesystem::path& path);

    // One epoch of online training over every slot in slot order: for each,
    // the outputs, their errors (target minus output) and one update with the
    // rates read just before it. Gives the epoch's error, each sample's
    // taken before its update.
    double TrainEpoch(const PatternSet& set, const std::function<TrainingRates()>& rates);

private:
    void SizeVectors(const PatternSet& set);

    std::vector<double> trainIn_, trainOut_; // the training loop's own buffers
};

} // namespace neuromesh
