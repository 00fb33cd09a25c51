#include "NetworkModel.h"

#include "NeuralLibrary.h"
#include "SafeReplace.h"
#include "Stroke.h"

#include <algorithm>

namespace neuromesh {

namespace {

// The library takes paths as writable single-byte strings, in the file
// system's encoding.
std::string PathText(const std::filesystem::path& path) {
    return path.native();
}

std::pair<int32_t, int32_t> FileParams(const std::filesystem::path& path) {
    std::string text = PathText(path);
    int32_t ins = -1, outs = -1;
    FileNetParams_(text.data(), &ins, &outs);
    return {ins, outs};
}

// Feeds the slot's sample; out receives the errors (target minus output),
// and each one's square is added to error in turn, category after category:
// the error over all slots is one running sum, which rounds otherwise than
// a sum of slot totals would.
void SampleErrors(const PatternSet& set, int slot, std::vector<double>& in,
                  std::vector<double>& out, double& error) {
    std::ranges::copy(set.Sample(slot), in.begin());
    Forwardfeed_(in.data());
    CopyOutput_(out.data());
    const int target = set.CategoryOf(slot);
    for (int k = 0; k < set.pattypes(); ++k) {
        const double e = (k == target ? 1.0 : 0.0) - out[size_t(k)];
        out[size_t(k)] = e;
        error += e * e;
    }
}

void NewRandomNetwork(std::vector<int32_t>& sizes) {
    NewNetwork_(int32_t(sizes.size()), sizes.data());
    RandomWeights_();
}

} // namespace

std::vector<int32_t> NetworkModel::Shape() {
    std::vector<int32_t> sizes(size_t(std::max(GetLayers_(), 0)));
    if (!sizes.empty())
        GetLayerSizes_(sizes.data());
    return sizes;
}

bool NetworkModel::Fits(const PatternSet& set) {
    const std::vector<int32_t> sizes = Shape();
    return sizes.size() >= 2 && sizes.front() == set.Components() && sizes.back() == set.pattypes();
}

void NetworkModel::SizeVectors(const PatternSet& set) {
    inputvec.resize(size_t(set.Components()));
    outputvec.resize(size_t(set.pattypes()));
}

double NetworkModel::FitNetworkToPatterns(const PatternSet& set) {
    SizeVectors(set);
    std::vector<int32_t> sizes = Shape();
    if (sizes.size() < 2)
        sizes.assign(2, 0);
    sizes.front() = set.Components();
    sizes.back() = set.pattypes();
    NewRandomNetwork(sizes);
    return UpdateError(set);
}

double NetworkModel::UpdateError(const PatternSet& set) {
    SizeVectors(set);
    if (!Fits(set))
        return 0;
    double error = 0;
    for (int slot = 0; slot < set.Slots(); ++slot)
        SampleErrors(set, slot, inputvec, outputvec, error);
    return error;
}

int NetworkModel::RecognizeStroke(const PatternSet& set) {
    if (!Fits(set) || inputvec.size() != size_t(set.Components()))
        return -1;
    outputvec.resize(size_t(set.pattypes()));
    Forwardfeed_(inputvec.data());
    CopyOutput_(outputvec.data());
    return BestCategory(outputvec);
}

double NetworkModel::UpdateNetworkDesign(std::span<const int32_t> hidden, const PatternSet& set) {
    std::vector<int32_t> sizes{set.Components()};
    sizes.insert(sizes.end(), hidden.begin(), hidden.end());
    sizes.push_back(set.pattypes());
    NewRandomNetwork(sizes);
    return UpdateError(set);
}

NetworkLoad NetworkModel::LoadNetworkFile(const std::filesystem::path& path,
                                          const PatternSet& set) {
    const auto [ins, outs] = FileParams(path);
    if (ins < 0 || outs < 0)
        return {NetworkLoad::Outcome::kUnreadable, kErrorOpeningFile};
    auto mismatch = [](const char* which, int32_t found, int required) {
        return NetworkLoad{NetworkLoad::Outcome::kSizeMismatch,
                           std::string("This network's ") + which + " size is " +
                               std::to_string(found) + " while current pattern set requires " +
                               std::to_string(required) + ".\r\nEdit pattern parameters first."};
    };
    if (ins != set.Components())
        return mismatch("input", ins, set.Components());
    if (outs != set.pattypes())
        return mismatch("output", outs, set.pattypes());
    std::string text = PathText(path);
    NewFromFile_(text.data());
    // The library keeps its network when it refuses the file (changed since
    // it was checked, or too large to allocate).
    if (!Fits(set))
        return {NetworkLoad::Outcome::kUnreadable, kErrorOpeningFile};
    return {NetworkLoad::Outcome::kLoaded, {}};
}

bool NetworkModel::SaveNetworkFile(const std::filesystem::path& path) {
    const std::vector<int32_t> sizes = Shape();
    if (sizes.empty())
        return false;
    platform::SafeReplace file(path);
    if (!file.Ok())
        return false;
    // The library writes the network into the new, empty aside file (itself
    // written aside and renamed over it), so reading its sizes back tells
    // that the library wrote it.
    std::string text = PathText(file.AsidePath());
    SaveToFile_(text.data());
    if (FileParams(file.AsidePath()) != std::pair(sizes.front(), sizes.back())) {
        file.Abandon();
        return false;
    }
    return file.Commit();
}

double NetworkModel::TrainEpoch(const PatternSet& set,
                                const std::function<TrainingRates()>& rates) {
    if (!Fits(set))
        return 0;
    trainIn_.resize(size_t(set.Components()));
    trainOut_.resize(size_t(set.pattypes()));
    double error = 0;
    for (int slot = 0; slot < set.Slots(); ++slot) {
        SampleErrors(set, slot, trainIn_, trainOut_, error);
        const TrainingRates now = rates();
        Backpropagate_(trainOut_.data(), now.eta, now.momentum);
    }
    return error;
}

} // namespace neuromesh
