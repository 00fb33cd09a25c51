#include "NeuralLibrary.h"

namespace neuromesh {

#define NEURAL_ENTRY(function, entry)                                                              \
    platform::BoundFunction<decltype(::function)> function##_(kNeuralLibrary, entry)
NEURAL_ENTRY(Initialize, "_Z10Initializev");
NEURAL_ENTRY(NewNetwork, "_Z10NewNetworkiPi");
NEURAL_ENTRY(RandomWeights, "_Z13RandomWeightsv");
NEURAL_ENTRY(GetLayers, "_Z9GetLayersv");
NEURAL_ENTRY(GetLayerSizes, "_Z13GetLayerSizesPi");
NEURAL_ENTRY(Forwardfeed, "_Z11ForwardfeedPd");
NEURAL_ENTRY(CopyOutput, "_Z10CopyOutputPd");
NEURAL_ENTRY(Backpropagate, "_Z13BackpropagatePddd");
NEURAL_ENTRY(BumpWeights, "_Z11BumpWeightsd");
NEURAL_ENTRY(SaveToFile, "_Z10SaveToFilePc");
NEURAL_ENTRY(FileNetParams, "_Z13FileNetParamsPcPiS0_");
NEURAL_ENTRY(NewFromFile, "_Z11NewFromFilePc");
NEURAL_ENTRY(Finalize, "_Z8Finalizev");
#undef NEURAL_ENTRY

} // namespace neuromesh
