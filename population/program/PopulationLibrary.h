#pragma once

#include "LibraryBinding.h"
#include "Population.h"
#include "PopulationReader.h"

// The Population library as Cooperon calls it: every export bound by its
// exported name from "Population.dll" (libPopulation.so in the program's
// folder) on its first call. A missing library or entry goes to the binding
// failure handler.

namespace cooperon {

inline constexpr const char* kPopulationLibrary = "Population.dll";

extern platform::BoundFunction<decltype(::Initialize)> Initialize_;
extern platform::BoundFunction<decltype(::Finalize)> Finalize_;
extern platform::BoundFunction<decltype(::NewPop)> NewPop_;
extern platform::BoundFunction<decltype(::Reset)> Reset_;
extern platform::BoundFunction<decltype(::Step)> Step_;
extern platform::BoundFunction<decltype(::GetSize)> GetSize_;
extern platform::BoundFunction<decltype(::SetSize)> SetSize_;
extern platform::BoundFunction<decltype(::SetPayoffs)> SetPayoffs_;
extern platform::BoundFunction<decltype(::GetPayoffs)> GetPayoffs_;
extern platform::BoundFunction<decltype(::SetRepParams)> SetRepParams_;
extern platform::BoundFunction<decltype(::GetRepParams)> GetRepParams_;
extern platform::BoundFunction<decltype(::SetGameParams)> SetGameParams_;
extern platform::BoundFunction<decltype(::GetGameParams)> GetGameParams_;
extern platform::BoundFunction<decltype(::GetGene)> GetGene_;
extern platform::BoundFunction<decltype(::GetInitial)> GetInitial_;

// The library's population, read through the bound exports.
class LibraryPopulation final : public PopulationReader {
public:
    int32_t GetSize() const override { return GetSize_(); }
    int32_t GetGene(int32_t member, int32_t bit) const override { return GetGene_(member, bit); }
    int32_t GetInitial(int32_t member) const override { return GetInitial_(member); }
};

} // namespace cooperon
