#pragma once

#include <cstdint>
#include <utility>

#include "Guid.h"
#include "Result.h"

// The interfaces of in-process components. An interface is a class of pure
// virtual functions with no data and no virtual destructor, so its table of
// operations holds exactly its members in declaration order, after those of
// the interfaces it derives from.

namespace com {

using DISPID = int32_t;
using LCID = uint32_t;

constexpr DISPID DISPID_UNKNOWN = -1;
constexpr DISPID DISPID_PROPERTYPUT = -3;
constexpr DISPID MEMBERID_NIL = -1;

constexpr uint16_t DISPATCH_METHOD = 0x1;
constexpr uint16_t DISPATCH_PROPERTYGET = 0x2;
constexpr uint16_t DISPATCH_PROPERTYPUT = 0x4;

// The variant types dispatch carries: 16- and 32-bit integers, by value or by
// reference.
constexpr uint16_t VT_EMPTY = 0;
constexpr uint16_t VT_I2 = 2;
constexpr uint16_t VT_I4 = 3;
constexpr uint16_t VT_BYREF = 0x4000;

struct VARIANT {
    uint16_t vt = VT_EMPTY;
    union {
        int16_t iVal;
        int32_t lVal;
        int16_t* piVal;
        int32_t* plVal;
    };
    VARIANT() : lVal(0) {}
};

// Arguments in reverse order: rgvarg[cArgs - 1] is the first parameter.
struct DISPPARAMS {
    VARIANT* rgvarg = nullptr;
    DISPID* rgdispidNamedArgs = nullptr;
    uint32_t cArgs = 0;
    uint32_t cNamedArgs = 0;
};

struct EXCEPINFO {
    int32_t scode = 0;
    const char* description = nullptr;
};

constexpr IID IID_IUnknown = MakeGuid("{00000000-0000-0000-C000-000000000046}");
constexpr IID IID_IClassFactory = MakeGuid("{00000001-0000-0000-C000-000000000046}");
constexpr IID IID_IDispatch = MakeGuid("{00020400-0000-0000-C000-000000000046}");
constexpr IID IID_ITypeInfo = MakeGuid("{00020401-0000-0000-C000-000000000046}");
constexpr IID IID_NULL = GUID{};

class IUnknown {
public:
    virtual HRESULT QueryInterface(const IID& iid, void** object) = 0;
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;

protected:
    ~IUnknown() = default;
};

class IClassFactory : public IUnknown {
public:
    virtual HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** object) = 0;
    virtual HRESULT LockServer(bool lock) = 0;

protected:
    ~IClassFactory() = default;
};

struct InterfaceInfo;

// The type information of one dispatch interface: its members by name and
// dispatch id, and invocation of them on an instance of the interface.
class ITypeInfo : public IUnknown {
public:
    virtual HRESULT GetIDsOfNames(const char* const* names, uint32_t count, DISPID* ids) = 0;
    virtual HRESULT Invoke(void* instance, DISPID member, uint16_t flags, DISPPARAMS* params,
                           VARIANT* result, EXCEPINFO* excepInfo, uint32_t* argErr) = 0;
    // Name and help string of a member, or of the interface for MEMBERID_NIL.
    virtual HRESULT GetDocumentation(DISPID member, const char** name,
                                     const char** helpString) = 0;
    virtual HRESULT GetInterfaceInfo(const InterfaceInfo** info) = 0;

protected:
    ~ITypeInfo() = default;
};

class IDispatch : public IUnknown {
public:
    virtual HRESULT GetTypeInfoCount(uint32_t* count) = 0;
    virtual HRESULT GetTypeInfo(uint32_t index, LCID lcid, ITypeInfo** info) = 0;
    virtual HRESULT GetIDsOfNames(const IID& iid, const char* const* names, uint32_t count,
                                  LCID lcid, DISPID* ids) = 0;
    virtual HRESULT Invoke(DISPID member, const IID& iid, LCID lcid, uint16_t flags,
                           DISPPARAMS* params, VARIANT* result, EXCEPINFO* excepInfo,
                           uint32_t* argErr) = 0;

protected:
    ~IDispatch() = default;
};

// Owns one reference to an interface.
template <class T> class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr& other) : p_(other.p_) {
        if (p_)
            p_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~ComPtr() { Reset(); }

    void Reset() {
        if (p_)
            std::exchange(p_, nullptr)->Release();
    }
    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // The place where a creating call stores a new reference.
    void** Put() {
        Reset();
        return reinterpret_cast<void**>(&p_);
    }

private:
    T* p_ = nullptr;
};

} // namespace com
