#include "Activation.h"

#include <dlfcn.h>
#include <map>
#include <mutex>

#include "Registry.h"

namespace com {

namespace {

struct LoadedServer {
    void* handle;
    DllGetClassObjectFn getClassObject;
    DllCanUnloadNowFn canUnloadNow;
};

struct State {
    std::mutex mutex;
    std::map<std::string, LoadedServer> servers; // by registered path
};

State& Shared() {
    static State state;
    return state;
}

HRESULT ServerPath(const CLSID& clsid, std::string& path) {
    RegistryTree tree;
    if (const HRESULT hr = registry::Read(registry::DefaultPath(), tree); FAILED(hr))
        return hr;
    const RegKey* key = tree.FindPath("CLSID\\" + StringFromGUID(clsid) + "\\InprocServer32");
    const auto value = key ? key->DefaultString() : std::nullopt;
    if (!value || value->empty())
        return REGDB_E_CLASSNOTREG;
    path = *value;
    return S_OK;
}

HRESULT LoadServer(const std::string& path, LoadedServer& out) {
    State& s = Shared();
    std::lock_guard lock(s.mutex);
    if (auto it = s.servers.find(path); it != s.servers.end()) {
        out = it->second;
        return S_OK;
    }
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return CO_E_DLLNOTFOUND;
    LoadedServer server{handle,
                        reinterpret_cast<DllGetClassObjectFn>(::dlsym(handle, "DllGetClassObject")),
                        reinterpret_cast<DllCanUnloadNowFn>(::dlsym(handle, "DllCanUnloadNow"))};
    if (!server.getClassObject) {
        ::dlclose(handle);
        return CO_E_ERRORINDLL;
    }
    s.servers.emplace(path, server);
    out = server;
    return S_OK;
}

} // namespace

HRESULT CoGetClassObject(const CLSID& clsid, uint32_t context, const IID& iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!(context & CLSCTX_INPROC_SERVER))
        return REGDB_E_CLASSNOTREG;
    std::string path;
    if (const HRESULT hr = ServerPath(clsid, path); FAILED(hr))
        return hr;
    LoadedServer server{};
    if (const HRESULT hr = LoadServer(path, server); FAILED(hr))
        return hr;
    const HRESULT hr = server.getClassObject(clsid, iid, object);
    if (FAILED(hr))
        *object = nullptr;
    return hr;
}

HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, uint32_t context, const IID& iid,
                         void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    ComPtr<IClassFactory> factory;
    if (const HRESULT hr = CoGetClassObject(clsid, context, IID_IClassFactory, factory.Put());
        FAILED(hr))
        return hr;
    if (!factory)
        return E_FAIL;
    const HRESULT hr = factory->CreateInstance(outer, iid, object);
    if (FAILED(hr))
        *object = nullptr;
    return hr;
}

HRESULT CLSIDFromProgID(const char* progId, CLSID* clsid) {
    if (!progId || !clsid)
        return E_INVALIDARG;
    *clsid = GUID{};
    RegistryTree tree;
    if (const HRESULT hr = registry::Read(registry::DefaultPath(), tree); FAILED(hr))
        return hr;
    const RegKey* key = tree.FindPath(std::string(progId) + "\\CLSID");
    const auto text = key ? key->DefaultString() : std::nullopt;
    const auto parsed = text ? GuidFromString(*text) : std::nullopt;
    if (!parsed)
        return CO_E_CLASSSTRING;
    *clsid = *parsed;
    return S_OK;
}

void CoFreeUnusedLibraries() {
    State& s = Shared();
    std::lock_guard lock(s.mutex);
    for (auto it = s.servers.begin(); it != s.servers.end();) {
        if (it->second.canUnloadNow && it->second.canUnloadNow() == S_OK) {
            ::dlclose(it->second.handle);
            it = s.servers.erase(it);
        } else {
            ++it;
        }
    }
}

} // namespace com
