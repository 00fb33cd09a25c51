// A registry store file of any content: either refused, or read into a tree
// that writes back to a file that reads the same.
#include <cstdlib>
#include <string_view>

#include "Guid.h"
#include "Registry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto guid = com::GuidFromString(text); guid &&
        com::GuidFromString(com::StringFromGUID(*guid)) != guid)
        std::abort();
    const auto tree = com::RegistryTree::Parse(text);
    if (!tree)
        return 0;
    const std::string written = tree->Serialize();
    const auto again = com::RegistryTree::Parse(written);
    if (!again || again->Serialize() != written)
        std::abort();
    return 0;
}
