// A network file of any content: refused whole or read into a network that
// writes back to exactly the same bytes, alike from memory and from a file,
// and whose outputs stay in 0 to 1 before and after an update.
#include "Network.h"
#include "NetworkFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

// The input as a file in memory, named through /proc: a file on disk would
// cost a flush per input.
class InputFile {
public:
    InputFile()
        : fd_(::memfd_create("networkfile", 0)), path_("/proc/self/fd/" + std::to_string(fd_)) {
        if (fd_ < 0)
            std::abort();
    }
    const std::string& Path() const { return path_; }
    void Hold(const uint8_t* data, size_t size) {
        if (::ftruncate(fd_, 0) != 0 ||
            (size > 0 && ::pwrite(fd_, data, size, 0) != static_cast<ssize_t>(size)))
            std::abort();
    }

private:
    int fd_;
    std::string path_;
};

bool OutputsInRange(neural::Network& network, const std::vector<double>& inputs) {
    network.Forwardfeed(inputs.data());
    std::vector<double> out(size_t(network.OutputSize()));
    network.CopyOutput(out.data());
    for (const double v : out)
        if (!(v >= 0 && v <= 1))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    std::optional<neural::Network> network = neural::ParseNetworkFile(bytes);
    if (network.has_value() != neural::CheckNetworkFile(bytes).has_value())
        std::abort();
    static InputFile input;
    input.Hold(data, size);
    const std::optional<std::vector<uint8_t>> read = neural::ReadNetworkFile(input.Path().c_str());
    if (read && *read != bytes)
        std::abort();
    if (!network)
        return 0;
    if (!read || neural::NetworkFileBytes(*network) != bytes)
        std::abort();
    // Inputs and errors taken from the weights themselves: large, small and mixed.
    std::vector<double> inputs(size_t(network->InputSize())), errors(size_t(network->OutputSize()));
    const auto weights = network->Weights();
    for (size_t k = 0; k < inputs.size(); ++k)
        inputs[k] = weights[k % weights.size()];
    for (size_t k = 0; k < errors.size(); ++k)
        errors[k] = 1 - weights[(k * 7) % weights.size()];
    if (!OutputsInRange(*network, inputs))
        std::abort();
    network->Backpropagate(errors.data(), 0.5, 0.5);
    if (!OutputsInRange(*network, inputs))
        std::abort();
    return 0;
}
