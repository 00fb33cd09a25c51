#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <type_traits>
#include <utility>

#include "Interfaces.h"

// Type information of dispatch interfaces, written in the server as a table
// of members, and the generic dispatch built on it: by name to dispatch id,
// and by dispatch id to a call through the interface.

namespace com {

enum class MemberKind : uint8_t { Method, PropertyGet, PropertyPut };

// Parameter types: 16-bit Integer and 32-bit Long, by value (in), by
// reference (out), or as the result of a property get (retval).
enum class ParamType : uint8_t {
    Integer,
    Long,
    OutInteger,
    OutLong,
    RetvalInteger,
    RetvalLong
};

constexpr std::size_t kMaxParams = 6;

// One argument as the invoker hands it to the interface's member.
union ArgSlot {
    int16_t i2;
    int32_t i4;
    int16_t* pi2;
    int32_t* pi4;
};

struct MemberInfo {
    const char* name;
    DISPID dispid;
    MemberKind kind;
    int place; // index in the interface's table of operations
    const char* helpString;
    std::array<const char*, kMaxParams> paramNames;
    std::array<ParamType, kMaxParams> paramTypes;
    uint8_t paramCount;
    HRESULT (*invoke)(void* instance, const ArgSlot* args);
};

struct InterfaceInfo {
    IID iid;
    const char* name;
    const char* helpString;
    std::span<const MemberInfo> members;
};

struct CoClassInfo {
    CLSID clsid;
    const char* name;
    const char* helpString;
};

struct TypeLibInfo {
    GUID libid;
    const char* name;
    const char* helpString;
    uint16_t majorVersion;
    uint16_t minorVersion;
    std::span<const InterfaceInfo* const> interfaces;
    std::span<const CoClassInfo> coclasses;
};

namespace detail {

template <class T> constexpr ParamType ParamTypeOf(bool retval) {
    if constexpr (std::is_same_v<T, int16_t>)
        return ParamType::Integer;
    else if constexpr (std::is_same_v<T, int32_t>)
        return ParamType::Long;
    else if constexpr (std::is_same_v<T, int16_t*>)
        return retval ? ParamType::RetvalInteger : ParamType::OutInteger;
    else if constexpr (std::is_same_v<T, int32_t*>)
        return retval ? ParamType::RetvalLong : ParamType::OutLong;
    else
        static_assert(sizeof(T) == 0, "dispatch carries 16- and 32-bit integers only");
}

template <class T> T SlotValue(const ArgSlot& slot) {
    if constexpr (std::is_same_v<T, int16_t>)
        return slot.i2;
    else if constexpr (std::is_same_v<T, int32_t>)
        return slot.i4;
    else if constexpr (std::is_same_v<T, int16_t*>)
        return slot.pi2;
    else
        return slot.pi4;
}

template <auto Member> struct MemberTraits;

template <class I, class... Args, HRESULT (I::*Member)(Args...)> struct MemberTraits<Member> {
    static_assert(sizeof...(Args) <= kMaxParams);

    static HRESULT Invoke(void* instance, const ArgSlot* args) {
        return Invoke(static_cast<I*>(instance), args, std::index_sequence_for<Args...>{});
    }
    template <std::size_t... N>
    static HRESULT Invoke(I* self, const ArgSlot* args, std::index_sequence<N...>) {
        (void)args;
        return (self->*Member)(SlotValue<Args>(args[N])...);
    }
    static constexpr std::array<ParamType, kMaxParams> Types(MemberKind kind) {
        std::array<ParamType, kMaxParams> types{};
        constexpr std::size_t count = sizeof...(Args);
        std::size_t i = 0;
        ((types[i] = ParamTypeOf<Args>(kind == MemberKind::PropertyGet && i + 1 == count), ++i),
         ...);
        return types;
    }
    static constexpr uint8_t kCount = sizeof...(Args);
};

} // namespace detail

// Describes a member from its pointer-to-member; the last out parameter of a
// property get is its result.
template <auto Member>
constexpr MemberInfo DispMember(const char* name, DISPID dispid, MemberKind kind, int place,
                                const char* helpString,
                                std::array<const char*, kMaxParams> paramNames) {
    using Traits = detail::MemberTraits<Member>;
    return MemberInfo{name,       dispid,
                      kind,       place,
                      helpString, paramNames,
                      Traits::Types(kind), Traits::kCount,
                      &Traits::Invoke};
}

// The type information object of one interface. It lives as long as the
// module that defines it, so it counts no references.
class TypeInfo final : public ITypeInfo {
public:
    explicit constexpr TypeInfo(const InterfaceInfo& info) : info_(info) {}

    HRESULT QueryInterface(const IID& iid, void** object) override;
    uint32_t AddRef() override { return 1; }
    uint32_t Release() override { return 1; }

    HRESULT GetIDsOfNames(const char* const* names, uint32_t count, DISPID* ids) override;
    HRESULT Invoke(void* instance, DISPID member, uint16_t flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* excepInfo, uint32_t* argErr) override;
    HRESULT GetDocumentation(DISPID member, const char** name, const char** helpString) override;
    HRESULT GetInterfaceInfo(const InterfaceInfo** info) override;

private:
    const InterfaceInfo& info_;
};

// The four IDispatch members of a dual interface, answered from its type
// information; Invoke calls through the interface the object implements.
HRESULT DispatchGetTypeInfo(TypeInfo& typeInfo, uint32_t index, ITypeInfo** info);
HRESULT DispatchGetIDsOfNames(TypeInfo& typeInfo, const IID& iid, const char* const* names,
                              uint32_t count, DISPID* ids);
HRESULT DispatchInvoke(TypeInfo& typeInfo, void* instance, DISPID member, const IID& iid,
                       uint16_t flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excepInfo,
                       uint32_t* argErr);

} // namespace com
