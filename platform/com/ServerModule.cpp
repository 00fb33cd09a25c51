#include "ServerModule.h"

#include <cstdio>
#include <dlfcn.h>
#include <filesystem>

#include "Registrar.h"
#include "Registry.h"

namespace com::server {

namespace {

std::atomic<long> locks{0};

constexpr std::string_view kDispatchProxy = "{00020424-0000-0000-C000-000000000046}";

std::string VersionText(const TypeLibInfo& lib) {
    char text[16];
    std::snprintf(text, sizeof text, "%x.%x", lib.majorVersion, lib.minorVersion);
    return text;
}

std::string TypeLibKey(const TypeLibInfo& lib) { return "TypeLib\\" + StringFromGUID(lib.libid); }

void RegisterTypeLib(RegistryTree& tree, const TypeLibInfo& lib, const std::string& modulePath) {
    const std::string version = TypeLibKey(lib) + '\\' + VersionText(lib);
    tree.CreatePath(version).SetValue("", RegValue::String(lib.helpString));
    tree.CreatePath(version + "\\0\\linux").SetValue("", RegValue::String(modulePath));
    tree.CreatePath(version + "\\FLAGS").SetValue("", RegValue::String("0"));
    tree.CreatePath(version + "\\HELPDIR")
        .SetValue("", RegValue::String(std::filesystem::path(modulePath).parent_path().string()));
    for (const InterfaceInfo* itf : lib.interfaces) {
        const std::string key = "Interface\\" + StringFromGUID(itf->iid);
        tree.CreatePath(key).SetValue("", RegValue::String(itf->name));
        tree.CreatePath(key + "\\ProxyStubClsid32")
            .SetValue("", RegValue::String(std::string(kDispatchProxy)));
        RegKey& typeLib = tree.CreatePath(key + "\\TypeLib");
        typeLib.SetValue("", RegValue::String(StringFromGUID(lib.libid)));
        typeLib.SetValue("Version", RegValue::String(VersionText(lib)));
    }
}

// The shared roots "TypeLib" and "Interface" stay, like "CLSID".
void UnregisterTypeLib(RegistryTree& tree, const TypeLibInfo& lib) {
    tree.RemovePath(TypeLibKey(lib) + '\\' + VersionText(lib));
    if (RegKey* key = tree.FindPath(TypeLibKey(lib)); key && key->Subkeys().empty())
        tree.RemovePath(TypeLibKey(lib));
    for (const InterfaceInfo* itf : lib.interfaces)
        tree.RemovePath("Interface\\" + StringFromGUID(itf->iid));
}

} // namespace

void Lock() { ++locks; }
void Unlock() { --locks; }
long LockCount() { return locks.load(); }
HRESULT CanUnloadNow() { return locks.load() == 0 ? S_OK : S_FALSE; }

std::string ModulePath(const void* address) {
    Dl_info info{};
    if (!::dladdr(address, &info) || !info.dli_fname)
        return {};
    std::error_code ec;
    const auto path = std::filesystem::canonical(info.dli_fname, ec);
    return ec ? std::string(info.dli_fname) : path.string();
}

HRESULT RegisterServer(std::string_view script, const TypeLibInfo& typeLib,
                       const std::string& modulePath) {
    if (modulePath.empty())
        return SELFREG_E_CLASS;
    const registrar::Variable module{"MODULE", modulePath};
    return registry::Update(registry::DefaultPath(), [&](RegistryTree& tree) {
        if (FAILED(registrar::Register(tree, script, {&module, 1})))
            return SELFREG_E_CLASS;
        RegisterTypeLib(tree, typeLib, modulePath);
        return S_OK;
    });
}

HRESULT UnregisterServer(std::string_view script, const TypeLibInfo& typeLib,
                         const std::string& modulePath) {
    const registrar::Variable module{"MODULE", modulePath};
    return registry::Update(registry::DefaultPath(), [&](RegistryTree& tree) {
        if (FAILED(registrar::Unregister(tree, script, {&module, 1})))
            return SELFREG_E_CLASS;
        UnregisterTypeLib(tree, typeLib);
        return S_OK;
    });
}

} // namespace com::server
