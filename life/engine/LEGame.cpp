#include "LEGame.h"

#include "ServerModule.h"

#include <array>

using namespace com;

namespace {

constexpr int16_t YesNo(bool value) {
    return value ? 1 : 0;
}

using Names = std::array<const char*, kMaxParams>;

// In the order of the interface's table of operations, after the seven of
// IDispatch.
constexpr MemberInfo kMembers[] = {
    DispMember<&ILEGame::get_Cell>("Cell", 1, MemberKind::PropertyGet, 7, "property Cell",
                                   Names{"x", "y", "pVal"}),
    DispMember<&ILEGame::put_Cell>("Cell", 1, MemberKind::PropertyPut, 8, "property Cell",
                                   Names{"x", "y", "pVal"}),
    DispMember<&ILEGame::get_NeiCount>("NeiCount", 2, MemberKind::PropertyGet, 9,
                                       "property NeiCount", Names{"pVal"}),
    DispMember<&ILEGame::put_NeiCount>("NeiCount", 2, MemberKind::PropertyPut, 10,
                                       "property NeiCount", Names{"pVal"}),
    DispMember<&ILEGame::get_RuleS>("RuleS", 3, MemberKind::PropertyGet, 11, "property RuleS",
                                    Names{"n", "pVal"}),
    DispMember<&ILEGame::put_RuleS>("RuleS", 3, MemberKind::PropertyPut, 12, "property RuleS",
                                    Names{"n", "pVal"}),
    DispMember<&ILEGame::Step>("Step", 4, MemberKind::Method, 13, "method Step", Names{}),
    DispMember<&ILEGame::StartIterating>("StartIterating", 5, MemberKind::Method, 14,
                                         "method StartIterating", Names{}),
    DispMember<&ILEGame::NextCell>("NextCell", 6, MemberKind::Method, 15, "method NextCell",
                                   Names{"x", "y", "ok"}),
    DispMember<&ILEGame::NextChange>("NextChange", 7, MemberKind::Method, 16, "method NextChange",
                                     Names{"x", "y", "ch", "ok"}),
    DispMember<&ILEGame::StepBack>("StepBack", 8, MemberKind::Method, 17, "method StepBack",
                                   Names{"ok"}),
    DispMember<&ILEGame::get_HistoryLimit>("HistoryLimit", 9, MemberKind::PropertyGet, 18,
                                           "property HistoryLimit", Names{"pVal"}),
    DispMember<&ILEGame::put_HistoryLimit>("HistoryLimit", 9, MemberKind::PropertyPut, 19,
                                           "property HistoryLimit", Names{"pVal"}),
    DispMember<&ILEGame::CleanHistory>("CleanHistory", 10, MemberKind::Method, 20,
                                       "method CleanHistory", Names{}),
    DispMember<&ILEGame::get_EmptyHistory>("EmptyHistory", 11, MemberKind::PropertyGet, 21,
                                           "property EmptyHistory", Names{"pVal"}),
    DispMember<&ILEGame::get_RuleB>("RuleB", 12, MemberKind::PropertyGet, 22, "property RuleB",
                                    Names{"n", "pVal"}),
    DispMember<&ILEGame::put_RuleB>("RuleB", 12, MemberKind::PropertyPut, 23, "property RuleB",
                                    Names{"n", "pVal"}),
};

constexpr InterfaceInfo kILEGame{IID_ILEGame, "ILEGame", "ILEGame Interface", kMembers};
constexpr const InterfaceInfo* kInterfaces[] = {&kILEGame};
constexpr CoClassInfo kClasses[] = {{CLSID_LEGame, "LEGame", "LEGame Class"}};
constexpr TypeLibInfo kTypeLib{LIBID_GRIDCORELib, "GRIDCORELib", "Gridcore 1.0 Type Library", 1, 0,
                               kInterfaces,       kClasses};

TypeInfo& ILEGameTypeInfo() {
    static TypeInfo info(kILEGame);
    return info;
}

} // namespace

const TypeLibInfo& LEGame::TypeLib() {
    return kTypeLib;
}

LEGame::LEGame() {
    server::Lock();
}

LEGame::~LEGame() {
    server::Unlock();
}

HRESULT LEGame::QueryInterface(const IID& iid, void** object) {
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_ILEGame) {
        *object = static_cast<ILEGame*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

uint32_t LEGame::AddRef() {
    return ++refs_;
}

uint32_t LEGame::Release() {
    const uint32_t left = --refs_;
    if (left == 0)
        delete this;
    return left;
}

HRESULT LEGame::GetTypeInfoCount(uint32_t* count) {
    if (!count)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT LEGame::GetTypeInfo(uint32_t index, LCID, ITypeInfo** info) {
    return DispatchGetTypeInfo(ILEGameTypeInfo(), index, info);
}

HRESULT LEGame::GetIDsOfNames(const IID& iid, const char* const* names, uint32_t count, LCID,
                              DISPID* ids) {
    return DispatchGetIDsOfNames(ILEGameTypeInfo(), iid, names, count, ids);
}

HRESULT LEGame::Invoke(DISPID member, const IID& iid, LCID, uint16_t flags, DISPPARAMS* params,
                       VARIANT* result, EXCEPINFO* excepInfo, uint32_t* argErr) {
    return DispatchInvoke(ILEGameTypeInfo(), static_cast<ILEGame*>(this), member, iid, flags,
                          params, result, excepInfo, argErr);
}

// A null out parameter is the caller's fault; it is refused instead of being
// written through.

HRESULT LEGame::get_Cell(int32_t x, int32_t y, int16_t* pVal) {
    if (!pVal)
        return E_POINTER;
    *pVal = YesNo(engine_.GetCell(x, y));
    return S_OK;
}

HRESULT LEGame::put_Cell(int32_t x, int32_t y, int16_t pVal) {
    engine_.PutCell(x, y, pVal);
    return S_OK;
}

HRESULT LEGame::get_NeiCount(int16_t* pVal) {
    if (!pVal)
        return E_POINTER;
    *pVal = engine_.GetNeiCount();
    return S_OK;
}

HRESULT LEGame::put_NeiCount(int16_t pVal) {
    engine_.PutNeiCount(pVal);
    return S_OK;
}

HRESULT LEGame::get_RuleS(int16_t n, int16_t* pVal) {
    if (!pVal)
        return E_POINTER;
    *pVal = YesNo(engine_.GetRuleS(n) != 0);
    return S_OK;
}

HRESULT LEGame::put_RuleS(int16_t n, int16_t pVal) {
    engine_.PutRuleS(n, YesNo(pVal != 0));
    return S_OK;
}

HRESULT LEGame::get_RuleB(int16_t n, int16_t* pVal) {
    if (!pVal)
        return E_POINTER;
    *pVal = YesNo(engine_.GetRuleB(n) != 0);
    return S_OK;
}

HRESULT LEGame::put_RuleB(int16_t n, int16_t pVal) {
    engine_.PutRuleB(n, YesNo(pVal != 0));
    return S_OK;
}

HRESULT LEGame::Step() {
    engine_.Step();
    return S_OK;
}

HRESULT LEGame::StartIterating() {
    engine_.StartIterating();
    return S_OK;
}

HRESULT LEGame::NextCell(int32_t* x, int32_t* y, int16_t* ok) {
    if (!x || !y || !ok)
        return E_POINTER;
    *ok = YesNo(engine_.NextCell(*x, *y));
    return S_OK;
}

HRESULT LEGame::NextChange(int32_t* x, int32_t* y, int16_t* ch, int16_t* ok) {
    if (!x || !y || !ch || !ok)
        return E_POINTER;
    *ok = YesNo(engine_.NextChange(*x, *y, *ch));
    return S_OK;
}

HRESULT LEGame::StepBack(int16_t* ok) {
    if (!ok)
        return E_POINTER;
    *ok = YesNo(engine_.StepBack());
    return S_OK;
}

HRESULT LEGame::get_HistoryLimit(int32_t* pVal) {
    if (!pVal)
        return E_POINTER;
    *pVal = engine_.GetHistoryLimit();
    return S_OK;
}

HRESULT LEGame::put_HistoryLimit(int32_t pVal) {
    engine_.PutHistoryLimit(pVal);
    return S_OK;
}

HRESULT LEGame::CleanHistory() {
    engine_.CleanHistory();
    return S_OK;
}

HRESULT LEGame::get_EmptyHistory(int16_t* pVal) {
    if (!pVal)
        return E_POINTER;
    *pVal = YesNo(engine_.GetEmptyHistory());
    return S_OK;
}
