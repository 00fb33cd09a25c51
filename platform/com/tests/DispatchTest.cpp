#include <gtest/gtest.h>

#include "TypeInfo.h"

using namespace com;

namespace {

class ISample : public IDispatch {
public:
    virtual HRESULT get_Value(int16_t index, int32_t* pVal) = 0;
    virtual HRESULT put_Value(int16_t index, int32_t pVal) = 0;
    virtual HRESULT Split(int32_t whole, int16_t* high, int16_t* low) = 0;
    virtual HRESULT get_Flag(int16_t* pVal) = 0;

protected:
    ~ISample() = default;
};

using Names = std::array<const char*, kMaxParams>;

constexpr MemberInfo kSampleMembers[] = {
    DispMember<&ISample::get_Value>("Value", 1, MemberKind::PropertyGet, 7, "property Value",
                                    Names{"index", "pVal"}),
    DispMember<&ISample::put_Value>("Value", 1, MemberKind::PropertyPut, 8, "property Value",
                                    Names{"index", "pVal"}),
    DispMember<&ISample::Split>("Split", 2, MemberKind::Method, 9, "method Split",
                                Names{"whole", "high", "low"}),
    DispMember<&ISample::get_Flag>("Flag", 3, MemberKind::PropertyGet, 10, "property Flag",
                                   Names{"pVal"}),
};
constexpr IID kSampleIid = MakeGuid("{0F0F0F0F-0000-0000-0000-000000000001}");
constexpr InterfaceInfo kSample{kSampleIid, "ISample", "ISample Interface", kSampleMembers};

class Sample final : public ISample {
public:
    HRESULT QueryInterface(const IID&, void**) override { return E_NOINTERFACE; }
    uint32_t AddRef() override { return 1; }
    uint32_t Release() override { return 1; }
    HRESULT GetTypeInfoCount(uint32_t*) override { return E_NOTIMPL; }
    HRESULT GetTypeInfo(uint32_t index, LCID, ITypeInfo** info) override {
        return DispatchGetTypeInfo(typeInfo_, index, info);
    }
    HRESULT GetIDsOfNames(const IID& iid, const char* const* names, uint32_t count, LCID,
                          DISPID* ids) override {
        return DispatchGetIDsOfNames(typeInfo_, iid, names, count, ids);
    }
    HRESULT Invoke(DISPID member, const IID& iid, LCID, uint16_t flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* excepInfo, uint32_t* argErr) override {
        return DispatchInvoke(typeInfo_, static_cast<ISample*>(this), member, iid, flags, params,
                              result, excepInfo, argErr);
    }

    HRESULT get_Value(int16_t index, int32_t* pVal) override {
        *pVal = values_[index & 3];
        return S_OK;
    }
    HRESULT put_Value(int16_t index, int32_t pVal) override {
        values_[index & 3] = pVal;
        return S_OK;
    }
    HRESULT Split(int32_t whole, int16_t* high, int16_t* low) override {
        *high = static_cast<int16_t>(whole >> 16);
        *low = static_cast<int16_t>(whole & 0xFFFF);
        return S_OK;
    }
    HRESULT get_Flag(int16_t* pVal) override {
        *pVal = 1;
        return S_OK;
    }

    int32_t values_[4] = {};

private:
    TypeInfo typeInfo_{kSample};
};

VARIANT I2(int16_t v) {
    VARIANT r;
    r.vt = VT_I2;
    r.iVal = v;
    return r;
}
VARIANT I4(int32_t v) {
    VARIANT r;
    r.vt = VT_I4;
    r.lVal = v;
    return r;
}

} // namespace

TEST(Dispatch, NamesResolveWithoutRegardToCaseAndParametersByPosition) {
    Sample s;
    const char* names[] = {"vALUE", "pval", "index", "nosuch"};
    DISPID ids[4];
    EXPECT_EQ(s.GetIDsOfNames(IID_NULL, names, 3, 0, ids), S_OK);
    EXPECT_EQ(ids[0], 1);
    EXPECT_EQ(ids[1], 1);
    EXPECT_EQ(ids[2], 0);
    EXPECT_EQ(s.GetIDsOfNames(IID_NULL, names, 4, 0, ids), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ids[3], DISPID_UNKNOWN);
    const char* unknown[] = {"Missing"};
    EXPECT_EQ(s.GetIDsOfNames(IID_NULL, unknown, 1, 0, ids), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ids[0], DISPID_UNKNOWN);
    EXPECT_EQ(s.GetIDsOfNames(kSampleIid, names, 1, 0, ids), DISP_E_UNKNOWNINTERFACE);
}

TEST(Dispatch, PropertyPutGetAndMethodWithOutParameters) {
    Sample s;
    // Value(2) = 70000: arguments in reverse order, the value named.
    VARIANT putArgs[] = {I4(70000), I2(2)};
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS put{putArgs, &named, 2, 1};
    ASSERT_EQ(s.Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(s.values_[2], 70000);

    VARIANT getArgs[] = {I4(2)}; // a Long that fits an Integer parameter
    DISPPARAMS get{getArgs, nullptr, 1, 0};
    VARIANT result;
    ASSERT_EQ(s.Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYGET | DISPATCH_METHOD, &get, &result,
                       nullptr, nullptr),
              S_OK);
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(result.lVal, 70000);

    int16_t high = 0, low = 0;
    VARIANT splitArgs[3];
    splitArgs[0].vt = VT_I2 | VT_BYREF;
    splitArgs[0].piVal = &low;
    splitArgs[1].vt = VT_I2 | VT_BYREF;
    splitArgs[1].piVal = &high;
    splitArgs[2] = I4(0x00030004);
    DISPPARAMS split{splitArgs, nullptr, 3, 0};
    ASSERT_EQ(s.Invoke(2, IID_NULL, 0, DISPATCH_METHOD, &split, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(high, 3);
    EXPECT_EQ(low, 4);

    // A property without arguments may be read with no parameter block.
    ASSERT_EQ(s.Invoke(3, IID_NULL, 0, DISPATCH_PROPERTYGET, nullptr, &result, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(result.vt, VT_I2);
    EXPECT_EQ(result.iVal, 1);
}

TEST(Dispatch, BadCallsFailWithoutReachingTheMember) {
    Sample s;
    uint32_t argErr = 99;
    VARIANT result;

    DISPPARAMS none{};
    EXPECT_EQ(s.Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr),
              DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(s.Invoke(42, IID_NULL, 0, DISPATCH_METHOD, &none, &result, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    // Flag has no put accessor.
    VARIANT one[] = {I2(1)};
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS putFlag{one, &named, 1, 1};
    EXPECT_EQ(s.Invoke(3, IID_NULL, 0, DISPATCH_PROPERTYPUT, &putFlag, nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);

    VARIANT tooBig[] = {I4(40000)};
    DISPPARAMS overflow{tooBig, nullptr, 1, 0};
    EXPECT_EQ(s.Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYGET, &overflow, &result, nullptr, &argErr),
              DISP_E_OVERFLOW);
    EXPECT_EQ(argErr, 0u);

    // An out parameter passed by value is a type mismatch, reported by its
    // index in the argument array.
    int16_t low = 0;
    VARIANT splitArgs[3];
    splitArgs[0].vt = VT_I2 | VT_BYREF;
    splitArgs[0].piVal = &low;
    splitArgs[1] = I2(0);
    splitArgs[2] = I4(5);
    DISPPARAMS split{splitArgs, nullptr, 3, 0};
    EXPECT_EQ(s.Invoke(2, IID_NULL, 0, DISPATCH_METHOD, &split, nullptr, nullptr, &argErr),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 1u);
    splitArgs[1].vt = VT_I2 | VT_BYREF;
    splitArgs[1].piVal = nullptr;
    EXPECT_EQ(s.Invoke(2, IID_NULL, 0, DISPATCH_METHOD, &split, nullptr, nullptr, &argErr),
              DISP_E_TYPEMISMATCH);

    // Named arguments other than the put value are not supported.
    VARIANT args[] = {I2(0)};
    DISPID other = 0;
    DISPPARAMS namedGet{args, &other, 1, 1};
    EXPECT_EQ(s.Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYGET, &namedGet, &result, nullptr, nullptr),
              DISP_E_NONAMEDARGS);
    EXPECT_EQ(s.values_[0], 0);
}

TEST(Dispatch, TypeInformationDescribesTheInterface) {
    Sample s;
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(s.GetTypeInfo(0, 0, reinterpret_cast<ITypeInfo**>(info.Put())), S_OK);
    ITypeInfo* none = reinterpret_cast<ITypeInfo*>(1);
    EXPECT_EQ(s.GetTypeInfo(1, 0, &none), DISP_E_BADINDEX);
    EXPECT_EQ(none, nullptr);
    const char* name = nullptr;
    const char* help = nullptr;
    ASSERT_EQ(info->GetDocumentation(MEMBERID_NIL, &name, &help), S_OK);
    EXPECT_STREQ(name, "ISample");
    EXPECT_STREQ(help, "ISample Interface");
    ASSERT_EQ(info->GetDocumentation(2, &name, &help), S_OK);
    EXPECT_STREQ(name, "Split");
    EXPECT_STREQ(help, "method Split");
    EXPECT_EQ(info->GetDocumentation(77, &name, &help), TYPE_E_ELEMENTNOTFOUND);

    const InterfaceInfo* described = nullptr;
    ASSERT_EQ(info->GetInterfaceInfo(&described), S_OK);
    EXPECT_EQ(described->iid, kSampleIid);
    const MemberInfo& split = described->members[2];
    EXPECT_EQ(split.paramCount, 3);
    EXPECT_EQ(split.paramTypes[0], ParamType::Long);
    EXPECT_EQ(split.paramTypes[1], ParamType::OutInteger);
    EXPECT_EQ(described->members[0].paramTypes[1], ParamType::RetvalLong);
}
