// A registry script of any content: either refused with the tree untouched,
// or registered and unregistered again without harm.
#include <cstdlib>
#include <string_view>

#include "Registrar.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view script(reinterpret_cast<const char*>(data), size);
    const com::registrar::Variable module{"MODULE", "/lib/x.so"};
    com::RegistryTree tree;
    tree.CreatePath("CLSID\\Existing").SetValue("", com::RegValue::String("kept"));
    const std::string before = tree.Serialize();
    const com::HRESULT hr = com::registrar::Register(tree, script, {&module, 1});
    if (com::FAILED(hr)) {
        if (tree.Serialize() != before)
            std::abort();
        return 0;
    }
    if (com::FAILED(com::registrar::Unregister(tree, script, {&module, 1})))
        std::abort();
    (void)com::RegistryTree::Parse(tree.Serialize()).value();
    return 0;
}
