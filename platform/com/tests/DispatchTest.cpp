#include "TypeInfo.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

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
VARIANT OutI2(int16_t* p) {
    VARIANT r;
    r.vt = VT_I2 | VT_BYREF;
    r.piVal = p;
    return r;
}

// Invokes `member` with `args` (in reverse order); `named`, when given, names the first.
HRESULT Call(Sample& s, DISPID member, uint16_t flags, std::vector<VARIANT> args,
             VARIANT* result = nullptr, uint32_t* argErr = nullptr, DISPID* named = nullptr) {
    DISPPARAMS params{args.data(), named, static_cast<uint32_t>(args.size()), named ? 1u : 0u};
    return s.Invoke(member, IID_NULL, 0, flags, &params, result, nullptr, argErr);
}

} // namespace

TEST(Dispatch, NamesResolveWithoutRegardToCaseAndParametersByPosition) {
    Sample s;
    const char* names[] = {"vALUE", "pval", "index", "nosuch"};
    DISPID ids[4];
    EXPECT_EQ(s.GetIDsOfNames(IID_NULL, names, 3, 0, ids), S_OK);
    EXPECT_EQ(std::vector<DISPID>(ids, ids + 3), (std::vector<DISPID>{1, 1, 0}));
    EXPECT_EQ(s.GetIDsOfNames(IID_NULL, names, 4, 0, ids), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ids[3], DISPID_UNKNOWN);
    EXPECT_EQ(s.GetIDsOfNames(IID_NULL, names + 3, 1, 0, ids), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ids[0], DISPID_UNKNOWN);
    EXPECT_EQ(s.GetIDsOfNames(kSampleIid, names, 1, 0, ids), DISP_E_UNKNOWNINTERFACE);
}

TEST(Dispatch, MissingNamesOrIdsAreInvalidArguments) {
    Sample s;
    const char* member[] = {nullptr, "index"};
    const char* parameter[] = {"Value", nullptr};
    const char* valid[] = {"Value", "index"};
    DISPID ids[2];
    const std::tuple<const char* const*, uint32_t, DISPID*> cases[] = {
        {nullptr, 1, ids}, {valid, 1, nullptr}, {valid, 0, ids},
        {member, 1, ids},  {member, 2, ids},    {parameter, 2, ids},
    };
    for (const auto& [names, count, out] : cases)
        EXPECT_EQ(s.GetIDsOfNames(IID_NULL, names, count, 0, out), E_INVALIDARG)
            << (names ? "names" : "no names") << " " << count;
    EXPECT_EQ(s.GetIDsOfNames(IID_NULL, valid, 2, 0, ids), S_OK);
}

TEST(Dispatch, PropertyPutGetAndMethodWithOutParameters) {
    Sample s;
    DISPID put = DISPID_PROPERTYPUT;
    ASSERT_EQ(Call(s, 1, DISPATCH_PROPERTYPUT, {I4(70000), I2(2)}, nullptr, nullptr, &put), S_OK);
    EXPECT_EQ(s.values_[2], 70000);

    VARIANT result; // the index as a Long that fits the Integer parameter
    ASSERT_EQ(Call(s, 1, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {I4(2)}, &result), S_OK);
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(result.lVal, 70000);

    int16_t high = 0, low = 0;
    ASSERT_EQ(Call(s, 2, DISPATCH_METHOD, {OutI2(&low), OutI2(&high), I4(0x00030004)}), S_OK);
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
    int16_t low = 0;
    DISPID put = DISPID_PROPERTYPUT, other = 0;
    const struct {
        DISPID member;
        uint16_t flags;
        std::vector<VARIANT> args;
        DISPID* named;
        HRESULT expected;
        uint32_t argErr; // 99 where none is reported
    } cases[] = {
        {1, DISPATCH_PROPERTYGET, {}, nullptr, DISP_E_BADPARAMCOUNT, 99},
        {42, DISPATCH_METHOD, {}, nullptr, DISP_E_MEMBERNOTFOUND, 99},
        {3, DISPATCH_PROPERTYPUT, {I2(1)}, &put, DISP_E_MEMBERNOTFOUND, 99}, // Flag is read-only
        {1, DISPATCH_PROPERTYGET, {I4(40000)}, nullptr, DISP_E_OVERFLOW, 0},
        // An out parameter passed by value, or by a null reference, is reported by its index.
        {2, DISPATCH_METHOD, {OutI2(&low), I2(0), I4(5)}, nullptr, DISP_E_TYPEMISMATCH, 1},
        {2, DISPATCH_METHOD, {OutI2(&low), OutI2(nullptr), I4(5)}, nullptr, DISP_E_TYPEMISMATCH, 1},
        // Named arguments other than the put value are not supported.
        {1, DISPATCH_PROPERTYGET, {I2(0)}, &other, DISP_E_NONAMEDARGS, 99},
    };
    for (const auto& c : cases) {
        uint32_t argErr = 99;
        VARIANT result;
        EXPECT_EQ(Call(s, c.member, c.flags, c.args, &result, &argErr, c.named), c.expected)
            << c.member << " " << c.args.size();
        EXPECT_EQ(argErr, c.argErr) << c.member << " " << c.args.size();
    }
    EXPECT_EQ(std::vector<int32_t>(s.values_, s.values_ + 4), std::vector<int32_t>(4, 0));
    EXPECT_EQ(low, 0);
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
    EXPECT_EQ(std::string(name) + "|" + help, "ISample|ISample Interface");
    ASSERT_EQ(info->GetDocumentation(2, &name, &help), S_OK);
    EXPECT_EQ(std::string(name) + "|" + help, "Split|method Split");
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
