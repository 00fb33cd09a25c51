#pragma once

#include "LibraryBinding.h"
#include "Neural.h"

// The Neural library as Neuromesh calls it: every export bound by its
// exported name from "Neural.dll" (libNeural.so in the program's folder) on
// its first call, or all at once by platform::BindLibrary(kNeuralLibrary) at
// start-up. A missing library or entry goes to the binding failure handler.

namespace neuromesh {

inline constexpr const char* kNeuralLibrary = "Neural.dll";

extern platform::BoundFunction<decltype(::Initialize)> Initialize_;
extern platform::BoundFunction<decltype(::NewNetwork)> NewNetwork_;
extern platform::BoundFunction<decltype(::RandomWeights)> RandomWeights_;
extern platform::BoundFunction<decltype(::GetLayers)> GetLayers_;
extern platform::BoundFunction<decltype(::GetLayerSizes)> GetLayerSizes_;
extern platform::BoundFunction<decltype(::Forwardfeed)> Forwardfeed_;
extern platform::BoundFunction<decltype(::CopyOutput)> CopyOutput_;
extern platform::BoundFunction<decltype(::Backpropagate)> Backpropagate_;
extern platform::BoundFunction<decltype(::BumpWeights)> BumpWeights_;
extern platform::BoundFunction<decltype(::SaveToFile)> SaveToFile_;
extern platform::BoundFunction<decltype(::FileNetParams)> FileNetParams_;
extern platform::BoundFunction<decltype(::NewFromFile)> NewFromFile_;
extern platform::BoundFunction<decltype(::Finalize)> Finalize_;

} // namespace neuromesh
