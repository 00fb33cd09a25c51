#include "PopulationLibrary.h"

namespace cooperon {

platform::BoundFunction<decltype(::Initialize)> Initialize_{kPopulationLibrary, "_Z10Initializev"};
platform::BoundFunction<decltype(::Finalize)> Finalize_{kPopulationLibrary, "_Z8Finalizev"};
platform::BoundFunction<decltype(::NewPop)> NewPop_{kPopulationLibrary, "_Z6NewPopi"};
platform::BoundFunction<decltype(::Reset)> Reset_{kPopulationLibrary, "_Z5Resetv"};
platform::BoundFunction<decltype(::Step)> Step_{kPopulationLibrary, "_Z4Stepv"};
platform::BoundFunction<decltype(::GetSize)> GetSize_{kPopulationLibrary, "_Z7GetSizev"};
platform::BoundFunction<decltype(::SetSize)> SetSize_{kPopulationLibrary, "_Z7SetSizei"};
platform::BoundFunction<decltype(::SetPayoffs)> SetPayoffs_{kPopulationLibrary,
                                                            "_Z10SetPayoffsiiii"};
platform::BoundFunction<decltype(::GetPayoffs)> GetPayoffs_{kPopulationLibrary,
                                                            "_Z10GetPayoffsPiS_S_S_"};
platform::BoundFunction<decltype(::SetRepParams)> SetRepParams_{kPopulationLibrary,
                                                                "_Z12SetRepParamsdd"};
platform::BoundFunction<decltype(::GetRepParams)> GetRepParams_{kPopulationLibrary,
                                                                "_Z12GetRepParamsPdS_"};
platform::BoundFunction<decltype(::SetGameParams)> SetGameParams_{kPopulationLibrary,
                                                                  "_Z13SetGameParamsii"};
platform::BoundFunction<decltype(::GetGameParams)> GetGameParams_{kPopulationLibrary,
                                                                  "_Z13GetGameParamsPiS_"};
platform::BoundFunction<decltype(::GetGene)> GetGene_{kPopulationLibrary, "_Z7GetGeneii"};
platform::BoundFunction<decltype(::GetInitial)> GetInitial_{kPopulationLibrary, "_Z10GetInitiali"};

} // namespace cooperon
