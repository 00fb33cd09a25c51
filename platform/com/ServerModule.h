#pragma once

#include <atomic>
#include <new>
#include <string>
#include <string_view>

#include "Interfaces.h"
#include "TypeInfo.h"

// Server side of in-process activation: the count of live objects and locks
// that DllCanUnloadNow answers from, a class factory, and self-registration
// from a registry script and the server's type library.

// Marks a server's entry points for export from its shared library.
#define COM_EXPORT __attribute__((visibility("default")))

namespace com::server {

// Objects, class factories and LockServer locks of this server library.
void Lock();
void Unlock();
long LockCount();
// S_OK when nothing is held, else S_FALSE.
HRESULT CanUnloadNow();

// Makes objects of class T. A new T holds one reference, which the factory
// gives up once it has asked the object for the caller's interface; T counts
// itself in the module's locks.
template <class T> class ClassFactory final : public IClassFactory {
public:
    ClassFactory() { Lock(); }

    HRESULT QueryInterface(const IID& iid, void** object) override {
        if (!object)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    uint32_t AddRef() override { return ++refs_; }
    uint32_t Release() override {
        const uint32_t left = --refs_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        T* created = new (std::nothrow) T();
        if (!created)
            return E_OUTOFMEMORY;
        const HRESULT hr = created->QueryInterface(iid, object);
        created->Release();
        return hr;
    }
    HRESULT LockServer(bool lock) override {
        lock ? Lock() : Unlock();
        return S_OK;
    }

private:
    ~ClassFactory() { Unlock(); }
    std::atomic<uint32_t> refs_{0};
};

template <class T> HRESULT GetClassObject(const IID& iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    auto* factory = new (std::nothrow) ClassFactory<T>();
    if (!factory)
        return E_OUTOFMEMORY;
    factory->AddRef();
    const HRESULT hr = factory->QueryInterface(iid, object);
    factory->Release();
    return hr;
}

// The absolute path of the shared library that holds `address`.
std::string ModulePath(const void* address);

// Applies the registry script, with %MODULE% replaced by the server's path,
// and registers the type library, in one update of the store.
HRESULT RegisterServer(std::string_view script, const TypeLibInfo& typeLib,
                       const std::string& modulePath);
// Removes what the script marks for removal and unregisters the type library.
HRESULT UnregisterServer(std::string_view script, const TypeLibInfo& typeLib,
                         const std::string& modulePath);

} // namespace com::server
