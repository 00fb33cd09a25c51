#include "TypeInfo.h"

#include <limits>

namespace com {

namespace {

// Member and parameter names are matched without regard to letter case.
bool SameName(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(*a) != lower(*b))
            return false;
    }
    return *a == *b;
}

bool IsRetval(ParamType t) { return t == ParamType::RetvalInteger || t == ParamType::RetvalLong; }

const MemberInfo* FindMember(const InterfaceInfo& info, DISPID id, uint16_t flags) {
    const MemberInfo* get = nullptr;
    const MemberInfo* put = nullptr;
    const MemberInfo* method = nullptr;
    for (const MemberInfo& m : info.members) {
        if (m.dispid != id)
            continue;
        switch (m.kind) {
        case MemberKind::PropertyGet: get = &m; break;
        case MemberKind::PropertyPut: put = &m; break;
        case MemberKind::Method: method = &m; break;
        }
    }
    if (flags & DISPATCH_PROPERTYPUT)
        return put;
    if ((flags & DISPATCH_PROPERTYGET) && get)
        return get;
    if (flags & DISPATCH_METHOD)
        return method ? method : get;
    return nullptr;
}

// Reads an integer argument, by value or by reference, into the range of T.
template <class T> bool ReadInteger(const VARIANT& v, T& out, HRESULT& hr) {
    int64_t value;
    switch (v.vt) {
    case VT_I2: value = v.iVal; break;
    case VT_I4: value = v.lVal; break;
    case VT_I2 | VT_BYREF:
        if (!v.piVal)
            return hr = E_POINTER, false;
        value = *v.piVal;
        break;
    case VT_I4 | VT_BYREF:
        if (!v.plVal)
            return hr = E_POINTER, false;
        value = *v.plVal;
        break;
    default: return hr = DISP_E_TYPEMISMATCH, false;
    }
    if (value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max())
        return hr = DISP_E_OVERFLOW, false;
    out = static_cast<T>(value);
    return true;
}

} // namespace

HRESULT TypeInfo::QueryInterface(const IID& iid, void** object) {
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_ITypeInfo) {
        *object = static_cast<ITypeInfo*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT TypeInfo::GetIDsOfNames(const char* const* names, uint32_t count, DISPID* ids) {
    if (!names || !ids || count == 0)
        return E_INVALIDARG;
    for (uint32_t i = 0; i < count; ++i)
        if (!names[i])
            return E_INVALIDARG;
    const MemberInfo* found = nullptr;
    for (const MemberInfo& m : info_.members) {
        if (SameName(m.name, names[0])) {
            found = &m;
            break;
        }
    }
    if (!found) {
        for (uint32_t i = 0; i < count; ++i)
            ids[i] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    ids[0] = found->dispid;
    HRESULT hr = S_OK;
    // Parameter names give their positions; the accessors of one property
    // share their parameter names.
    for (uint32_t i = 1; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        for (uint8_t p = 0; p < found->paramCount; ++p) {
            if (SameName(found->paramNames[p], names[i])) {
                ids[i] = p;
                break;
            }
        }
        if (ids[i] == DISPID_UNKNOWN)
            hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT TypeInfo::Invoke(void* instance, DISPID member, uint16_t flags, DISPPARAMS* params,
                         VARIANT* result, EXCEPINFO* /*excepInfo*/, uint32_t* argErr) {
    if (!instance)
        return E_POINTER;
    const MemberInfo* m = FindMember(info_, member, flags);
    if (!m)
        return DISP_E_MEMBERNOTFOUND;

    DISPPARAMS none;
    const DISPPARAMS& p = params ? *params : none;
    if (p.cArgs > 0 && !p.rgvarg)
        return E_INVALIDARG;
    if (m->kind == MemberKind::PropertyPut) {
        if (p.cNamedArgs > 1 ||
            (p.cNamedArgs == 1 &&
             (!p.rgdispidNamedArgs || p.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)))
            return DISP_E_NONAMEDARGS;
    } else if (p.cNamedArgs != 0) {
        return DISP_E_NONAMEDARGS;
    }

    uint32_t expected = 0;
    for (uint8_t i = 0; i < m->paramCount; ++i)
        expected += IsRetval(m->paramTypes[i]) ? 0 : 1;
    if (p.cArgs != expected)
        return DISP_E_BADPARAMCOUNT;

    ArgSlot slots[kMaxParams] = {};
    int16_t retI2 = 0;
    int32_t retI4 = 0;
    for (uint8_t i = 0; i < m->paramCount; ++i) {
        const ParamType type = m->paramTypes[i];
        if (type == ParamType::RetvalInteger) {
            slots[i].pi2 = &retI2;
            continue;
        }
        if (type == ParamType::RetvalLong) {
            slots[i].pi4 = &retI4;
            continue;
        }
        const uint32_t index = p.cArgs - 1 - i;
        const VARIANT& v = p.rgvarg[index];
        HRESULT hr = S_OK;
        bool ok = true;
        switch (type) {
        case ParamType::Integer: ok = ReadInteger(v, slots[i].i2, hr); break;
        case ParamType::Long: ok = ReadInteger(v, slots[i].i4, hr); break;
        case ParamType::OutInteger:
            ok = v.vt == (VT_I2 | VT_BYREF) && v.piVal;
            slots[i].pi2 = v.piVal;
            hr = DISP_E_TYPEMISMATCH;
            break;
        case ParamType::OutLong:
            ok = v.vt == (VT_I4 | VT_BYREF) && v.plVal;
            slots[i].pi4 = v.plVal;
            hr = DISP_E_TYPEMISMATCH;
            break;
        default: break;
        }
        if (!ok) {
            if (argErr)
                *argErr = index;
            return hr;
        }
    }

    const HRESULT hr = m->invoke(instance, slots);
    if (SUCCEEDED(hr) && result && m->paramCount > 0) {
        const ParamType last = m->paramTypes[m->paramCount - 1];
        if (last == ParamType::RetvalInteger) {
            result->vt = VT_I2;
            result->iVal = retI2;
        } else if (last == ParamType::RetvalLong) {
            result->vt = VT_I4;
            result->lVal = retI4;
        }
    }
    return hr;
}

HRESULT TypeInfo::GetDocumentation(DISPID member, const char** name, const char** helpString) {
    const char* foundName = nullptr;
    const char* foundHelp = nullptr;
    if (member == MEMBERID_NIL) {
        foundName = info_.name;
        foundHelp = info_.helpString;
    } else {
        for (const MemberInfo& m : info_.members) {
            if (m.dispid == member) {
                foundName = m.name;
                foundHelp = m.helpString;
                break;
            }
        }
        if (!foundName)
            return TYPE_E_ELEMENTNOTFOUND;
    }
    if (name)
        *name = foundName;
    if (helpString)
        *helpString = foundHelp;
    return S_OK;
}

HRESULT TypeInfo::GetInterfaceInfo(const InterfaceInfo** info) {
    if (!info)
        return E_POINTER;
    *info = &info_;
    return S_OK;
}

HRESULT DispatchGetTypeInfo(TypeInfo& typeInfo, uint32_t index, ITypeInfo** info) {
    if (!info)
        return E_POINTER;
    *info = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    typeInfo.AddRef();
    *info = &typeInfo;
    return S_OK;
}

HRESULT DispatchGetIDsOfNames(TypeInfo& typeInfo, const IID& iid, const char* const* names,
                              uint32_t count, DISPID* ids) {
    if (iid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    return typeInfo.GetIDsOfNames(names, count, ids);
}

HRESULT DispatchInvoke(TypeInfo& typeInfo, void* instance, DISPID member, const IID& iid,
                       uint16_t flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excepInfo,
                       uint32_t* argErr) {
    if (iid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    return typeInfo.Invoke(instance, member, flags, params, result, excepInfo, argErr);
}

} // namespace com
