#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Result.h"

// The registry store: a tree of keys under the classes root, each with named
// values (the unnamed one is the key's default value), kept in one text file.

namespace com {

struct RegValue {
    enum class Type : uint8_t { String, Dword };
    Type type = Type::String;
    std::string text;
    uint32_t number = 0;

    static RegValue String(std::string s) { return {Type::String, std::move(s), 0}; }
    static RegValue Dword(uint32_t n) { return {Type::Dword, {}, n}; }
    friend bool operator==(const RegValue&, const RegValue&) = default;
};

// Names of keys and values compare without regard to letter case and keep the
// case they were created with.
class RegKey {
public:
    explicit RegKey(std::string name) : name_(std::move(name)) {}

    const std::string& Name() const { return name_; }

    RegKey* Find(std::string_view name) const;
    // The existing subkey of that name, or a new one.
    RegKey& Create(std::string_view name);
    // Removes the subkey with everything under it; false when absent.
    bool Remove(std::string_view name);
    const std::vector<std::unique_ptr<RegKey>>& Subkeys() const { return subkeys_; }

    const RegValue* Value(std::string_view name) const;
    void SetValue(std::string_view name, RegValue value);
    bool RemoveValue(std::string_view name);
    const std::vector<std::pair<std::string, RegValue>>& Values() const { return values_; }

    // The default value when it is a string.
    std::optional<std::string> DefaultString() const;

private:
    std::string name_;
    std::vector<std::pair<std::string, RegValue>> values_;
    std::vector<std::unique_ptr<RegKey>> subkeys_;
};

class RegistryTree {
public:
    static constexpr std::string_view kRootName = "HKEY_CLASSES_ROOT";

    RegistryTree() : root_(std::string(kRootName)) {}

    RegKey& Root() { return root_; }
    const RegKey& Root() const { return root_; }

    // Paths are key names under the classes root joined by backslashes.
    RegKey* FindPath(std::string_view path);
    RegKey& CreatePath(std::string_view path);
    bool RemovePath(std::string_view path);

    std::string Serialize() const;
    // Nothing when the text is not a registry file.
    static std::optional<RegistryTree> Parse(std::string_view text);

private:
    RegKey root_;
};

namespace registry {

// The store's file: $VERITOPE_REGISTRY, else the Veritope folder of the
// user's configuration folder ($XDG_CONFIG_HOME, else ~/.config).
std::string DefaultPath();

// A snapshot of the store; a missing file reads as an empty store, a damaged
// one fails with REGDB_E_READREGDB.
HRESULT Read(const std::string& path, RegistryTree& tree);

// Reads the store under an exclusive lock, lets `change` edit it and, when it
// succeeds, replaces the file whole (write aside, then rename), so that the
// file is always either the old or the new store. A damaged store is left as
// it is and the change fails with REGDB_E_READREGDB.
HRESULT Update(const std::string& path, const std::function<HRESULT(RegistryTree&)>& change);

} // namespace registry

} // namespace com
