#include "Activation.h"
#include "ILEGame.h"
#include "Registry.h"
#include "TypeInfo.h"

#include <algorithm>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace com;

namespace {

const std::string kServer = std::filesystem::canonical(GRIDCORE_PATH).string();

// A loadable library that is no server: the one providing dlopen.
std::string NotAServer() {
    Dl_info info{};
    EXPECT_NE(::dladdr(reinterpret_cast<void*>(&::dlopen), &info), 0);
    return info.dli_fname ? info.dli_fname : "";
}

// An activation that must fail, leaving its output null.
HRESULT FailedActivation(const CLSID& clsid, const IID& iid = IID_ILEGame,
                         IUnknown* outer = nullptr) {
    void* object = reinterpret_cast<void*>(1);
    const HRESULT hr = CoCreateInstance(clsid, outer, CLSCTX_INPROC_SERVER, iid, &object);
    EXPECT_EQ(object, nullptr);
    return hr;
}

ComPtr<ILEGame> Create() {
    ComPtr<ILEGame> game;
    EXPECT_EQ(
        CoCreateInstance(CLSID_LEGame, nullptr, CLSCTX_INPROC_SERVER, IID_ILEGame, game.Put()),
        S_OK);
    return game;
}

// Every test works on a registry store of its own.
class Gridcore : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("vt-gridcore-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        registry_ = (dir_ / "registry").string();
        ::setenv("VERITOPE_REGISTRY", registry_.c_str(), 1);
    }
    void TearDown() override {
        CoFreeUnusedLibraries();
        ::unsetenv("VERITOPE_REGISTRY");
        std::filesystem::remove_all(dir_);
    }
    static int RunRegsvr(const std::string& args) {
        const int status = std::system((REGSVR_PATH " " + args + " >/dev/null 2>&1").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    RegistryTree Store() {
        RegistryTree tree;
        EXPECT_EQ(registry::Read(registry_, tree), S_OK);
        return tree;
    }

    std::filesystem::path dir_;
    std::string registry_;
};

std::string DefaultOf(RegistryTree& tree, const std::string& path) {
    RegKey* key = tree.FindPath(path);
    return key && key->DefaultString() ? *key->DefaultString() : "<none>";
}

// A member of ILEGame: name, dispatch id, and table places of its get (or method) and put.
struct Member {
    const char* name;
    DISPID id;
    int get, put;
};
const Member kCell{"Cell", 1, 7, 8}, kNeiCount{"NeiCount", 2, 9, 10}, kRuleS{"RuleS", 3, 11, 12},
    kStep{"Step", 4, 13, -1}, kStartIterating{"StartIterating", 5, 14, -1},
    kNextCell{"NextCell", 6, 15, -1}, kNextChange{"NextChange", 7, 16, -1},
    kStepBack{"StepBack", 8, 17, -1}, kHistoryLimit{"HistoryLimit", 9, 18, 19},
    kCleanHistory{"CleanHistory", 10, 20, -1}, kEmptyHistory{"EmptyHistory", 11, 21, -1},
    kRuleB{"RuleB", 12, 22, 23};

// A dispatch argument: a 16- or 32-bit integer, by value or by reference.
template <class T> VARIANT Var(T v) {
    VARIANT r;
    if constexpr (std::is_same_v<T, int16_t>)
        r.iVal = v;
    else if constexpr (std::is_same_v<T, int32_t>)
        r.lVal = v;
    else if constexpr (std::is_same_v<T, int16_t*>)
        r.piVal = v;
    else
        r.plVal = v;
    constexpr bool wide = std::is_same_v<std::remove_pointer_t<T>, int32_t>;
    r.vt = (wide ? VT_I4 : VT_I2) | (std::is_pointer_v<T> ? VT_BYREF : 0);
    return r;
}

// Calls members through the interface's table by place, or through IDispatch::Invoke by
// dispatch id or by the id looked up from the name. Arguments are as the table takes them:
// outputs by pointer, a property's value last.
struct Client {
    enum Way { Table, ById, ByName };
    ILEGame* g;
    Way way;

    template <class... A> void Call(const Member& m, uint16_t flags, A... args) {
        if (way == Table) {
            void* const* table = *reinterpret_cast<void* const* const*>(g);
            const int place = flags == DISPATCH_PROPERTYPUT ? m.put : m.get;
            EXPECT_EQ(reinterpret_cast<HRESULT (*)(ILEGame*, A...)>(table[place])(g, args...), S_OK)
                << m.name;
            return;
        }
        DISPID id = m.id, named = DISPID_PROPERTYPUT;
        if (way == ByName) {
            EXPECT_EQ(g->GetIDsOfNames(IID_NULL, &m.name, 1, 0, &id), S_OK) << m.name;
        }
        // Dispatch takes the arguments reversed, and gives a property's value as the result.
        std::vector<VARIANT> v{Var(args)...};
        std::reverse(v.begin(), v.end());
        VARIANT out, result;
        if (flags == DISPATCH_PROPERTYGET) {
            out = v.front();
            v.erase(v.begin());
        }
        const bool put = flags == DISPATCH_PROPERTYPUT;
        DISPPARAMS p{v.data(), put ? &named : nullptr, static_cast<uint32_t>(v.size()), put};
        EXPECT_EQ(g->Invoke(id, IID_NULL, 0, flags, &p, &result, nullptr, nullptr), S_OK) << m.name;
        if (out.vt == (VT_I2 | VT_BYREF))
            *out.piVal = result.iVal;
        else if (out.vt == (VT_I4 | VT_BYREF))
            *out.plVal = result.lVal;
    }
    template <class R = int16_t, class... A> R Get(const Member& m, A... args) {
        R r = -7;
        Call(m, DISPATCH_PROPERTYGET, args..., &r);
        return r;
    }
    template <class... A> void Put(const Member& m, A... args) {
        Call(m, DISPATCH_PROPERTYPUT, args...);
    }
    // A method whose last output is its yes/no result.
    template <class... A> int16_t Ask(const Member& m, A... args) {
        int16_t ok = -7;
        Call(m, DISPATCH_METHOD, args..., &ok);
        return ok;
    }
};

// A glider run forwards and backwards with every member in use; the transcript is every
// value the client was given.
std::vector<int64_t> Scenario(Client& c) {
    std::vector<int64_t> t{c.Get(kNeiCount), c.Get<int32_t>(kHistoryLimit), c.Get(kEmptyHistory)};
    c.Put(kNeiCount, int16_t{8});
    for (int16_t k = 0; k <= 8; ++k) {
        c.Put(kRuleS, k, int16_t((k == 2 || k == 3) ? 5 : 0)); // any non-zero means yes
        c.Put(kRuleB, k, int16_t(k == 3 ? -1 : 0));
    }
    for (int16_t k = -1; k <= 9; ++k)
        t.insert(t.end(), {c.Get(kRuleS, k), c.Get(kRuleB, k)});
    const int32_t glider[][2] = {{1, 0}, {2, 1}, {0, 2}, {1, 2}, {2, 2}};
    for (const auto& p : glider)
        c.Put(kCell, p[0], p[1], int16_t{3});
    c.Put(kHistoryLimit, int32_t{-5});
    t.push_back(c.Get<int32_t>(kHistoryLimit));
    c.Put(kHistoryLimit, int32_t{1000});
    int32_t x = 0, y = 0;
    int16_t ch = 0, ok = 0;
    for (int gen = 0; gen < 4; ++gen) {
        c.Call(kStep, DISPATCH_METHOD);
        while (c.Ask(kNextChange, &x, &y, &ch) == 1)
            t.insert(t.end(), {x, y, ch, c.Get(kCell, x, y)});
    }
    t.push_back(c.Get(kEmptyHistory));
    c.Call(kStartIterating, DISPATCH_METHOD);
    while ((ok = c.Ask(kNextCell, &x, &y)) == 1)
        t.insert(t.end(), {x, y});
    t.push_back(ok);
    while (c.Ask(kStepBack) == 1) {
        while (c.Ask(kNextChange, &x, &y, &ch) == 1) {
            t.insert(t.end(), {x, y, ch});
            c.Put(kCell, x, y, int16_t(ch == 1 ? 1 : 0));
        }
    }
    for (const auto& p : glider)
        t.push_back(c.Get(kCell, p[0], p[1]));
    c.Call(kStep, DISPATCH_METHOD);
    c.Call(kCleanHistory, DISPATCH_METHOD);
    t.insert(t.end(), {c.Get(kEmptyHistory), c.Ask(kStepBack)});
    return t;
}

} // namespace

TEST_F(Gridcore, RegistrationWritesTheScriptUnregistrationTakesItBackFailuresAreReported) {
    ASSERT_EQ(RunRegsvr("/s " + kServer), 0);
    RegistryTree tree = Store();
    const std::string clsid = "CLSID\\{8A238A74-CB77-4689-AED7-41B6B77EAA9D}";
    const std::string lib = "TypeLib\\{4E875EE3-8E38-4F06-AE52-5D582C5C4136}\\1.0";
    const std::pair<std::string, std::string> defaults[] = {
        {"Gridcore.LEGame.1", "LEGame Class"},
        {"Gridcore.LEGame.1\\CLSID", "{8A238A74-CB77-4689-AED7-41B6B77EAA9D}"},
        {"Gridcore.LEGame", "LEGame Class"},
        {"Gridcore.LEGame\\CurVer", "Gridcore.LEGame.1"},
        {clsid, "LEGame Class"},
        {clsid + "\\ProgID", "Gridcore.LEGame.1"},
        {clsid + "\\VersionIndependentProgID", "Gridcore.LEGame"},
        {clsid + "\\InprocServer32", kServer},
        {clsid + "\\TypeLib", "{4E875EE3-8E38-4F06-AE52-5D582C5C4136}"},
        {lib, "Gridcore 1.0 Type Library"},
        {lib + "\\0\\linux", kServer},
        {"Interface\\{8C4BB2F3-53EB-416D-9B96-74FE577B7074}", "ILEGame"},
    };
    for (const auto& [path, value] : defaults)
        EXPECT_EQ(DefaultOf(tree, path), value) << path;
    EXPECT_NE(tree.FindPath(clsid + "\\Programmable"), nullptr);
    EXPECT_EQ(*tree.FindPath(clsid + "\\InprocServer32")->Value("ThreadingModel"),
              RegValue::String("Apartment"));
    for (const char* progId : {"Gridcore.LEGame", "gridcore.legame.1"}) {
        CLSID found;
        ASSERT_EQ(CLSIDFromProgID(progId, &found), S_OK) << progId;
        EXPECT_EQ(found, CLSID_LEGame) << progId;
    }

    ASSERT_EQ(RunRegsvr("/s " + kServer), 0); // twice is the same as once
    EXPECT_EQ(Store().Serialize(), tree.Serialize());

    ASSERT_EQ(RunRegsvr("/u /s " + kServer), 0);
    tree = Store();
    std::set<std::string> roots; // only the shared roots are left, empty
    for (const auto& key : tree.Root().Subkeys()) {
        roots.insert(key->Name());
        EXPECT_TRUE(key->Subkeys().empty() && key->Values().empty()) << key->Name();
    }
    EXPECT_EQ(roots, (std::set<std::string>{"CLSID", "Interface", "TypeLib"}));
    EXPECT_EQ(FailedActivation(CLSID_LEGame), REGDB_E_CLASSNOTREG);

    // The tool's failures: no argument, a missing file, a library without the entry point,
    // and a damaged store, which is not overwritten.
    EXPECT_EQ(RunRegsvr(""), 1);
    EXPECT_EQ(RunRegsvr((dir_ / "missing.so").string()), 3);
    EXPECT_EQ(RunRegsvr(NotAServer()), 4);
    std::ofstream(registry_) << "damaged";
    EXPECT_EQ(RunRegsvr("/s " + kServer), 5);
    EXPECT_EQ(FailedActivation(CLSID_LEGame), REGDB_E_READREGDB);
}

TEST_F(Gridcore, FailedActivationsReturnCodesAndNullOutputs) {
    EXPECT_EQ(FailedActivation(CLSID_LEGame), REGDB_E_CLASSNOTREG);
    CLSID clsid;
    EXPECT_EQ(CLSIDFromProgID("Gridcore.LEGame", &clsid), CO_E_CLASSSTRING);

    ASSERT_EQ(RunRegsvr("/s " + kServer), 0);
    EXPECT_EQ(FailedActivation(CLSID_LEGame, MakeGuid("{01234567-89AB-CDEF-0123-456789ABCDEF}")),
              E_NOINTERFACE);
    ComPtr<IUnknown> outer;
    ASSERT_EQ(
        CoCreateInstance(CLSID_LEGame, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, outer.Put()),
        S_OK);
    EXPECT_EQ(FailedActivation(CLSID_LEGame, IID_IUnknown, outer.Get()), CLASS_E_NOAGGREGATION);

    // Classes registered with a missing server, a library that is no server, a server that
    // does not serve the class, and no server at all.
    const std::pair<std::string, HRESULT> cases[] = {
        {(dir_ / "gone.so").string(), CO_E_DLLNOTFOUND},
        {NotAServer(), CO_E_ERRORINDLL},
        {kServer, CLASS_E_CLASSNOTAVAILABLE},
        {"", REGDB_E_CLASSNOTREG},
    };
    auto clsidOf = [](std::size_t i) {
        return "{11111111-0000-0000-0000-00000000000" + std::to_string(i + 1) + "}";
    };
    ASSERT_EQ(registry::Update(registry_,
                               [&](RegistryTree& tree) {
                                   for (std::size_t i = 0; i < std::size(cases); ++i)
                                       tree.CreatePath("CLSID\\" + clsidOf(i) + "\\InprocServer32")
                                           .SetValue("", RegValue::String(cases[i].first));
                                   return S_OK;
                               }),
              S_OK);
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(FailedActivation(*GuidFromString(clsidOf(i).c_str())), cases[i].second) << i;
}

TEST_F(Gridcore, TableDispatchIdAndNameClientsSeeTheSameObject) {
    ASSERT_EQ(RunRegsvr("/s " + kServer), 0);
    std::vector<std::vector<int64_t>> transcripts;
    for (Client::Way way : {Client::Table, Client::ById, Client::ByName}) {
        ComPtr<ILEGame> game = Create();
        ASSERT_TRUE(game);
        Client c{game.Get(), way};
        transcripts.push_back(Scenario(c));
        // The client's way reaches the same code as the C++ interface.
        int16_t live = -1;
        ASSERT_EQ(game->get_Cell(1, 3, &live), S_OK);
        EXPECT_EQ(live, c.Get(kCell, int32_t{1}, int32_t{3})) << way;
    }
    const auto& expected = transcripts[0];
    EXPECT_EQ(transcripts[1], expected);
    EXPECT_EQ(transcripts[2], expected);
    // The initial state, the 1/0 yes/no rule values, and a negative history limit stored as 0.
    ASSERT_GT(expected.size(), 30u);
    EXPECT_EQ(expected[0], 8);
    EXPECT_EQ(expected[1], 100000);
    EXPECT_EQ(expected[2], 1);
    for (std::size_t i = 3; i < 25; ++i)
        EXPECT_TRUE(expected[i] == 0 || expected[i] == 1) << i;
    EXPECT_EQ(expected[25], 0);
}

TEST_F(Gridcore, TypeInformationCarriesTheHelpStrings) {
    ASSERT_EQ(RunRegsvr("/s " + kServer), 0);
    ComPtr<ILEGame> game = Create();
    ASSERT_TRUE(game);
    uint32_t count = 0;
    ASSERT_EQ(game->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(game->GetTypeInfo(0, 0, reinterpret_cast<ITypeInfo**>(info.Put())), S_OK);
    const InterfaceInfo* itf = nullptr;
    ASSERT_EQ(info->GetInterfaceInfo(&itf), S_OK);
    EXPECT_EQ(itf->iid, IID_ILEGame);
    EXPECT_STREQ(itf->helpString, "ILEGame Interface");
    ASSERT_EQ(itf->members.size(), 17u);
    for (std::size_t i = 0; i < itf->members.size(); ++i) {
        const MemberInfo& m = itf->members[i];
        EXPECT_EQ(m.place, static_cast<int>(7 + i));
        EXPECT_EQ(m.helpString,
                  std::string(m.kind == MemberKind::Method ? "method " : "property ") + m.name);
    }
    // A hostile client's name list with a hole in it is refused, not read.
    const char* names[] = {"Cell", nullptr};
    DISPID ids[2];
    EXPECT_EQ(game->GetIDsOfNames(IID_NULL, names + 1, 1, 0, ids), E_INVALIDARG);
    EXPECT_EQ(game->GetIDsOfNames(IID_NULL, names, 2, 0, ids), E_INVALIDARG);
    ComPtr<IDispatch> dispatch;
    EXPECT_EQ(game->QueryInterface(IID_IDispatch, dispatch.Put()), S_OK);
    EXPECT_EQ(static_cast<void*>(dispatch.Get()), static_cast<void*>(game.Get()));
}

TEST_F(Gridcore, CanUnloadOnlyWhenNoObjectOrLockIsHeld) {
    std::unique_ptr<void, int (*)(void*)> lib(::dlopen(kServer.c_str(), RTLD_NOW | RTLD_LOCAL),
                                              ::dlclose);
    ASSERT_NE(lib, nullptr);
    auto canUnload = reinterpret_cast<DllCanUnloadNowFn>(::dlsym(lib.get(), "DllCanUnloadNow"));
    auto getClassObject =
        reinterpret_cast<DllGetClassObjectFn>(::dlsym(lib.get(), "DllGetClassObject"));
    ASSERT_TRUE(canUnload && getClassObject);
    EXPECT_EQ(canUnload(), S_OK);

    IClassFactory* factory = nullptr;
    ASSERT_EQ(getClassObject(CLSID_LEGame, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
              S_OK);
    EXPECT_EQ(canUnload(), S_FALSE);
    ASSERT_EQ(factory->LockServer(true), S_OK);
    ILEGame* game = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_ILEGame, reinterpret_cast<void**>(&game)), S_OK);
    factory->Release();
    EXPECT_EQ(canUnload(), S_FALSE); // a lock and an object
    game->Release();
    EXPECT_EQ(canUnload(), S_FALSE); // the lock alone

    ASSERT_EQ(getClassObject(CLSID_LEGame, IID_IUnknown, reinterpret_cast<void**>(&factory)), S_OK);
    ASSERT_EQ(factory->LockServer(false), S_OK);
    EXPECT_EQ(canUnload(), S_FALSE); // the factory itself
    factory->Release();
    EXPECT_EQ(canUnload(), S_OK);
}
