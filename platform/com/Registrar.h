#pragma once

#include <span>
#include <string>
#include <string_view>

#include "Registry.h"

// Registry scripts: the text a component server registers itself with.
//
//   HKCR
//   {
//       Some.ProgID = s 'Some Class'
//       {
//           CLSID = s '{...}'
//       }
//       NoRemove CLSID
//       {
//           ForceRemove {...} = s 'Some Class'
//           {
//               InprocServer32 = s '%MODULE%'
//               {
//                   val ThreadingModel = s 'Apartment'
//               }
//           }
//       }
//   }
//
// A key may carry a default value (s 'text' or d number) and a block of
// subkeys and named values (val name = ...). Registration creates every key
// and sets every value; ForceRemove keys are first removed whole. On
// unregistration, NoRemove keys stay, ForceRemove keys go whole, and other
// keys go once none of their subkeys is left. Delete keys are removed on
// registration. %NAME% is replaced by the variable of that name; %% is "%".

namespace com::registrar {

struct Variable {
    std::string_view name;
    std::string value;
};

// Both fail with E_INVALIDARG, and change nothing, when the script is
// malformed or names a variable it was not given.
HRESULT Register(RegistryTree& tree, std::string_view script, std::span<const Variable> variables);
HRESULT Unregister(RegistryTree& tree, std::string_view script,
                   std::span<const Variable> variables);

} // namespace com::registrar
