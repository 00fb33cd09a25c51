#include "NeuralLibrary.h"

#include <initializer_list>

namespace neuromesh {

namespace {

constexpr const char* kInitialize = "_Z10Initializev";
constexpr const char* kNewNetwork = "_Z10NewNetworkiPi";
constexpr const char* kRandomWeights = "_Z13RandomWeightsv";
constexpr const char* kGetLayers = "_Z9GetLayersv";
constexpr const char* kGetLayerSizes = "_Z13GetLayerSizesPi";
constexpr const char* kForwardfeed = "_Z11ForwardfeedPd";
constexpr const char* kCopyOutput = "_Z10CopyOutputPd";
constexpr const char* kBackpropagate = "_Z13BackpropagatePddd";
constexpr const char* kBumpWeights = "_Z11BumpWeightsd";
constexpr const char* kSaveToFile = "_Z10SaveToFilePc";
constexpr const char* kFileNetParams = "_Z13FileNetParamsPcPiS0_";
constexpr const char* kNewFromFile = "_Z11NewFromFilePc";
constexpr const char* kFinalize = "_Z8Finalizev";

} // namespace

platform::BoundFunction<decltype(::Initialize)> Initialize_{kNeuralLibrary, kInitialize};
platform::BoundFunction<decltype(::NewNetwork)> NewNetwork_{kNeuralLibrary, kNewNetwork};
platform::BoundFunction<decltype(::RandomWeights)> RandomWeights_{kNeuralLibrary, kRandomWeights};
platform::BoundFunction<decltype(::GetLayers)> GetLayers_{kNeuralLibrary, kGetLayers};
platform::BoundFunction<decltype(::GetLayerSizes)> GetLayerSizes_{kNeuralLibrary, kGetLayerSizes};
platform::BoundFunction<decltype(::Forwardfeed)> Forwardfeed_{kNeuralLibrary, kForwardfeed};
platform::BoundFunction<decltype(::CopyOutput)> CopyOutput_{kNeuralLibrary, kCopyOutput};
platform::BoundFunction<decltype(::Backpropagate)> Backpropagate_{kNeuralLibrary, kBackpropagate};
platform::BoundFunction<decltype(::BumpWeights)> BumpWeights_{kNeuralLibrary, kBumpWeights};
platform::BoundFunction<decltype(::SaveToFile)> SaveToFile_{kNeuralLibrary, kSaveToFile};
platform::BoundFunction<decltype(::FileNetParams)> FileNetParams_{kNeuralLibrary, kFileNetParams};
platform::BoundFunction<decltype(::NewFromFile)> NewFromFile_{kNeuralLibrary, kNewFromFile};
platform::BoundFunction<decltype(::Finalize)> Finalize_{kNeuralLibrary, kFinalize};

bool BindNeuralLibrary() {
    for (const char* entry : {kInitialize, kNewNetwork, kRandomWeights, kGetLayers, kGetLayerSizes,
                              kForwardfeed, kCopyOutput, kBackpropagate, kBumpWeights, kSaveToFile,
                              kFileNetParams, kNewFromFile, kFinalize})
        if (!platform::BindEntry(kNeuralLibrary, entry))
            return false;
    return true;
}

} // namespace neuromesh
