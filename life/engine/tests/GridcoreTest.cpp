#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

#include "Activation.h"
#include "ILEGame.h"
#include "Registry.h"
#include "TypeInfo.h"

using namespace com;

namespace {

const std::string kServer = std::filesystem::canonical(GRIDCORE_PATH).string();

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

    int RunRegsvr(const std::string& args) {
        const std::string command = std::string(REGSVR_PATH) + " " + args + " >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    RegistryTree Store() {
        RegistryTree tree;
        EXPECT_EQ(registry::Read(registry_, tree), S_OK);
        return tree;
    }

    ComPtr<ILEGame> Create() {
        ComPtr<ILEGame> game;
        EXPECT_EQ(CoCreateInstance(CLSID_LEGame, nullptr, CLSCTX_INPROC_SERVER, IID_ILEGame,
                                   game.Put()),
                  S_OK);
        return game;
    }

    std::filesystem::path dir_;
    std::string registry_;
};

std::string DefaultOf(RegistryTree& tree, const std::string& path) {
    RegKey* key = tree.FindPath(path);
    return key && key->DefaultString() ? *key->DefaultString() : "<none>";
}

// The server library loaded directly, as the runtime loads it.
struct ServerLibrary {
    ServerLibrary() : handle(::dlopen(kServer.c_str(), RTLD_NOW | RTLD_LOCAL)) {}
    ~ServerLibrary() {
        if (handle)
            ::dlclose(handle);
    }
    template <class F> F Entry(const char* name) {
        return reinterpret_cast<F>(::dlsym(handle, name));
    }
    void* handle;
};

// One client's view of the object: the members as a scripting or compiled
// client calls them, so that the three ways of calling can run one scenario.
struct Client {
    virtual ~Client() = default;
    virtual int16_t GetCell(int32_t x, int32_t y) = 0;
    virtual void PutCell(int32_t x, int32_t y, int16_t v) = 0;
    virtual void PutNeiCount(int16_t n) = 0;
    virtual int16_t GetRule(bool birth, int16_t n) = 0;
    virtual void PutRule(bool birth, int16_t n, int16_t v) = 0;
    virtual void Step() = 0;
    virtual void StartIterating() = 0;
    virtual int16_t NextCell(int32_t& x, int32_t& y) = 0;
    virtual int16_t NextChange(int32_t& x, int32_t& y, int16_t& ch) = 0;
    virtual int16_t StepBack() = 0;
    virtual int32_t GetHistoryLimit() = 0;
    virtual void PutHistoryLimit(int32_t v) = 0;
    virtual int16_t GetEmptyHistory() = 0;
    virtual int16_t GetNeiCount() = 0;
    virtual void CleanHistory() = 0;
};

// Calls through the interface's table of operations by place.
struct TableClient final : Client {
    explicit TableClient(ILEGame* g) : g(g) {}
    template <class... A> HRESULT Call(int place, A... args) {
        using Fn = HRESULT (*)(ILEGame*, A...);
        void* const* table = *reinterpret_cast<void* const* const*>(g);
        return reinterpret_cast<Fn>(table[place])(g, args...);
    }
    int16_t GetCell(int32_t x, int32_t y) override {
        int16_t v = -7;
        EXPECT_EQ(Call(7, x, y, &v), S_OK);
        return v;
    }
    void PutCell(int32_t x, int32_t y, int16_t v) override { EXPECT_EQ(Call(8, x, y, v), S_OK); }
    int16_t GetNeiCount() override {
        int16_t v = -7;
        EXPECT_EQ(Call(9, &v), S_OK);
        return v;
    }
    void PutNeiCount(int16_t n) override { EXPECT_EQ(Call(10, n), S_OK); }
    int16_t GetRule(bool birth, int16_t n) override {
        int16_t v = -7;
        EXPECT_EQ(Call(birth ? 22 : 11, n, &v), S_OK);
        return v;
    }
    void PutRule(bool birth, int16_t n, int16_t v) override {
        EXPECT_EQ(Call(birth ? 23 : 12, n, v), S_OK);
    }
    void Step() override { EXPECT_EQ(Call(13), S_OK); }
    void StartIterating() override { EXPECT_EQ(Call(14), S_OK); }
    int16_t NextCell(int32_t& x, int32_t& y) override {
        int16_t ok = -7;
        EXPECT_EQ(Call(15, &x, &y, &ok), S_OK);
        return ok;
    }
    int16_t NextChange(int32_t& x, int32_t& y, int16_t& ch) override {
        int16_t ok = -7;
        EXPECT_EQ(Call(16, &x, &y, &ch, &ok), S_OK);
        return ok;
    }
    int16_t StepBack() override {
        int16_t ok = -7;
        EXPECT_EQ(Call(17, &ok), S_OK);
        return ok;
    }
    int32_t GetHistoryLimit() override {
        int32_t v = -7;
        EXPECT_EQ(Call(18, &v), S_OK);
        return v;
    }
    void PutHistoryLimit(int32_t v) override { EXPECT_EQ(Call(19, v), S_OK); }
    void CleanHistory() override { EXPECT_EQ(Call(20), S_OK); }
    int16_t GetEmptyHistory() override {
        int16_t v = -7;
        EXPECT_EQ(Call(21, &v), S_OK);
        return v;
    }
    ILEGame* g;
};

// Calls through IDispatch::Invoke, by dispatch id or, when `byName`, with the
// ids looked up by member name first.
struct DispatchClient final : Client {
    DispatchClient(ILEGame* g, bool byName) : d(g), byName(byName) {}

    DISPID Id(const char* name, DISPID fixed) {
        if (!byName)
            return fixed;
        DISPID id = DISPID_UNKNOWN;
        EXPECT_EQ(d->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK) << name;
        return id;
    }
    static VARIANT Val(int32_t v, uint16_t vt) {
        VARIANT r;
        r.vt = vt;
        if (vt == VT_I2)
            r.iVal = static_cast<int16_t>(v);
        else
            r.lVal = v;
        return r;
    }
    static VARIANT Ref(int16_t* p) {
        VARIANT r;
        r.vt = VT_I2 | VT_BYREF;
        r.piVal = p;
        return r;
    }
    static VARIANT Ref(int32_t* p) {
        VARIANT r;
        r.vt = VT_I4 | VT_BYREF;
        r.plVal = p;
        return r;
    }
    // Arguments in call order; reversed here as dispatch expects.
    VARIANT Invoke(const char* name, DISPID id, uint16_t flags, std::vector<VARIANT> args) {
        std::vector<VARIANT> reversed(args.rbegin(), args.rend());
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS p{reversed.data(), flags == DISPATCH_PROPERTYPUT ? &named : nullptr,
                     static_cast<uint32_t>(reversed.size()), flags == DISPATCH_PROPERTYPUT ? 1u : 0u};
        VARIANT result;
        EXPECT_EQ(d->Invoke(Id(name, id), IID_NULL, 0, flags, &p, &result, nullptr, nullptr), S_OK)
            << name;
        return result;
    }
    int16_t GetCell(int32_t x, int32_t y) override {
        return Invoke("Cell", 1, DISPATCH_PROPERTYGET, {Val(x, VT_I4), Val(y, VT_I4)}).iVal;
    }
    void PutCell(int32_t x, int32_t y, int16_t v) override {
        Invoke("Cell", 1, DISPATCH_PROPERTYPUT, {Val(x, VT_I4), Val(y, VT_I4), Val(v, VT_I2)});
    }
    int16_t GetNeiCount() override {
        return Invoke("NeiCount", 2, DISPATCH_PROPERTYGET, {}).iVal;
    }
    void PutNeiCount(int16_t n) override {
        Invoke("NeiCount", 2, DISPATCH_PROPERTYPUT, {Val(n, VT_I2)});
    }
    int16_t GetRule(bool birth, int16_t n) override {
        return Invoke(birth ? "RuleB" : "RuleS", birth ? 12 : 3, DISPATCH_PROPERTYGET,
                      {Val(n, VT_I2)})
            .iVal;
    }
    void PutRule(bool birth, int16_t n, int16_t v) override {
        Invoke(birth ? "RuleB" : "RuleS", birth ? 12 : 3, DISPATCH_PROPERTYPUT,
               {Val(n, VT_I2), Val(v, VT_I2)});
    }
    void Step() override { Invoke("Step", 4, DISPATCH_METHOD, {}); }
    void StartIterating() override { Invoke("StartIterating", 5, DISPATCH_METHOD, {}); }
    int16_t NextCell(int32_t& x, int32_t& y) override {
        int16_t ok = -7;
        Invoke("NextCell", 6, DISPATCH_METHOD, {Ref(&x), Ref(&y), Ref(&ok)});
        return ok;
    }
    int16_t NextChange(int32_t& x, int32_t& y, int16_t& ch) override {
        int16_t ok = -7;
        Invoke("NextChange", 7, DISPATCH_METHOD, {Ref(&x), Ref(&y), Ref(&ch), Ref(&ok)});
        return ok;
    }
    int16_t StepBack() override {
        int16_t ok = -7;
        Invoke("StepBack", 8, DISPATCH_METHOD, {Ref(&ok)});
        return ok;
    }
    int32_t GetHistoryLimit() override {
        return Invoke("HistoryLimit", 9, DISPATCH_PROPERTYGET, {}).lVal;
    }
    void PutHistoryLimit(int32_t v) override {
        Invoke("HistoryLimit", 9, DISPATCH_PROPERTYPUT, {Val(v, VT_I4)});
    }
    void CleanHistory() override { Invoke("CleanHistory", 10, DISPATCH_METHOD, {}); }
    int16_t GetEmptyHistory() override {
        return Invoke("EmptyHistory", 11, DISPATCH_PROPERTYGET, {}).iVal;
    }
    ILEGame* d;
    bool byName;
};

// A glider run forwards and backwards with every member in use; the
// transcript is every value the client was given.
std::vector<int64_t> Scenario(Client& c) {
    std::vector<int64_t> t;
    t.push_back(c.GetNeiCount());
    t.push_back(c.GetHistoryLimit());
    t.push_back(c.GetEmptyHistory());
    c.PutNeiCount(8);
    for (int16_t k = 0; k <= 8; ++k) {
        c.PutRule(false, k, (k == 2 || k == 3) ? 5 : 0); // any non-zero means yes
        c.PutRule(true, k, k == 3 ? -1 : 0);
    }
    for (int16_t k = -1; k <= 9; ++k) {
        t.push_back(c.GetRule(false, k));
        t.push_back(c.GetRule(true, k));
    }
    const int32_t glider[][2] = {{1, 0}, {2, 1}, {0, 2}, {1, 2}, {2, 2}};
    for (const auto& p : glider)
        c.PutCell(p[0], p[1], 3);
    c.PutHistoryLimit(-5);
    t.push_back(c.GetHistoryLimit());
    c.PutHistoryLimit(1000);
    for (int gen = 0; gen < 4; ++gen) {
        c.Step();
        int32_t x, y;
        int16_t ch;
        while (c.NextChange(x, y, ch) == 1) {
            t.insert(t.end(), {x, y, ch, c.GetCell(x, y)});
        }
    }
    t.push_back(c.GetEmptyHistory());
    c.StartIterating();
    int32_t x, y;
    int16_t ok;
    while ((ok = c.NextCell(x, y)) == 1)
        t.insert(t.end(), {x, y});
    t.push_back(ok);
    while (c.StepBack() == 1) {
        int16_t ch;
        while (c.NextChange(x, y, ch) == 1) {
            t.insert(t.end(), {x, y, ch});
            c.PutCell(x, y, ch == 1 ? 1 : 0);
        }
    }
    for (const auto& p : glider)
        t.push_back(c.GetCell(p[0], p[1]));
    c.Step();
    c.CleanHistory();
    t.push_back(c.GetEmptyHistory());
    t.push_back(c.StepBack());
    return t;
}

} // namespace

TEST_F(Gridcore, ActivationFailsCleanlyBeforeRegistration) {
    ILEGame* game = reinterpret_cast<ILEGame*>(1);
    EXPECT_EQ(CoCreateInstance(CLSID_LEGame, nullptr, CLSCTX_INPROC_SERVER, IID_ILEGame,
                               reinterpret_cast<void**>(&game)),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(game, nullptr);
    CLSID clsid;
    EXPECT_EQ(CLSIDFromProgID("Gridcore.LEGame", &clsid), CO_E_CLASSSTRING);
}

TEST_F(Gridcore, RegistrationWritesTheScriptAndUnregistrationTakesItBack) {
    ASSERT_EQ(RunRegsvr("/s " + kServer), 0);
    RegistryTree tree = Store();
    const std::string clsid = "CLSID\\{8A238A74-CB77-4689-AED7-41B6B77EAA9D}";
    EXPECT_EQ(DefaultOf(tree, "Gridcore.LEGame.1"), "LEGame Class");
    EXPECT_EQ(DefaultOf(tree, "Gridcore.LEGame.1\\CLSID"),
              "{8A238A74-CB77-4689-AED7-41B6B77EAA9D}");
    EXPECT_EQ(DefaultOf(tree, "Gridcore.LEGame"), "LEGame Class");
    EXPECT_EQ(DefaultOf(tree, "Gridcore.LEGame\\CurVer"), "Gridcore.LEGame.1");
    EXPECT_EQ(DefaultOf(tree, clsid), "LEGame Class");
    EXPECT_EQ(DefaultOf(tree, clsid + "\\ProgID"), "Gridcore.LEGame.1");
    EXPECT_EQ(DefaultOf(tree, clsid + "\\VersionIndependentProgID"), "Gridcore.LEGame");
    EXPECT_NE(tree.FindPath(clsid + "\\Programmable"), nullptr);
    EXPECT_EQ(DefaultOf(tree, clsid + "\\InprocServer32"), kServer);
    EXPECT_EQ(*tree.FindPath(clsid + "\\InprocServer32")->Value("ThreadingModel"),
              RegValue::String("Apartment"));
    EXPECT_EQ(DefaultOf(tree, clsid + "\\TypeLib"), "{4E875EE3-8E38-4F06-AE52-5D582C5C4136}");
    const std::string lib = "TypeLib\\{4E875EE3-8E38-4F06-AE52-5D582C5C4136}\\1.0";
    EXPECT_EQ(DefaultOf(tree, lib), "Gridcore 1.0 Type Library");
    EXPECT_EQ(DefaultOf(tree, lib + "\\0\\linux"), kServer);
    EXPECT_EQ(DefaultOf(tree, "Interface\\{8C4BB2F3-53EB-416D-9B96-74FE577B7074}"), "ILEGame");

    CLSID fromProgId;
    ASSERT_EQ(CLSIDFromProgID("Gridcore.LEGame", &fromProgId), S_OK);
    EXPECT_EQ(fromProgId, CLSID_LEGame);
    ASSERT_EQ(CLSIDFromProgID("gridcore.legame.1", &fromProgId), S_OK);
    EXPECT_EQ(fromProgId, CLSID_LEGame);

    // Registering twice is the same as once.
    ASSERT_EQ(RunRegsvr("/s " + kServer), 0);
    RegistryTree again = Store();
    EXPECT_EQ(again.Serialize(), tree.Serialize());

    ASSERT_EQ(RunRegsvr("/u /s " + kServer), 0);
    tree = Store();
    std::set<std::string> roots;
    for (const auto& key : tree.Root().Subkeys()) {
        roots.insert(key->Name());
        EXPECT_TRUE(key->Subkeys().empty()) << key->Name();
        EXPECT_TRUE(key->Values().empty()) << key->Name();
    }
    // Only the shared roots are left.
    EXPECT_EQ(roots, (std::set<std::string>{"CLSID", "Interface", "TypeLib"}));
    ComPtr<ILEGame> game;
    EXPECT_EQ(CoCreateInstance(CLSID_LEGame, nullptr, CLSCTX_INPROC_SERVER, IID_ILEGame,
                               game.Put()),
              REGDB_E_CLASSNOTREG);
}

TEST_F(Gridcore, RegistrationToolReportsItsFailures) {
    EXPECT_EQ(RunRegsvr(""), 1);
    EXPECT_EQ(RunRegsvr((dir_ / "missing.so").string()), 3);
    // A library without the entry point.
    Dl_info info{};
    ASSERT_NE(::dladdr(reinterpret_cast<void*>(&::dlopen), &info), 0);
    EXPECT_EQ(RunRegsvr(info.dli_fname), 4);
    // A damaged store is not overwritten.
    { std::FILE* f = std::fopen(registry_.c_str(), "w"); std::fputs("damaged", f); std::fclose(f); }
    EXPECT_EQ(RunRegsvr("/s " + kServer), 5);
    ComPtr<ILEGame> game;
    EXPECT_EQ(CoCreateInstance(CLSID_LEGame, nullptr, CLSCTX_INPROC_SERVER, IID_ILEGame,
                               game.Put()),
              REGDB_E_READREGDB);
}

TEST_F(Gridcore, FailedActivationsReturnCodesAndNullOutputs) {
    ASSERT_EQ(RunRegsvr("/s " + kServer), 0);
    void* object = reinterpret_cast<void*>(1);
    const IID unknownIid = MakeGuid("{01234567-89AB-CDEF-0123-456789ABCDEF}");
    EXPECT_EQ(CoCreateInstance(CLSID_LEGame, nullptr, CLSCTX_INPROC_SERVER, unknownIid, &object),
              E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);

    ComPtr<IUnknown> outer;
    {
        ComPtr<IUnknown> inner;
        ASSERT_EQ(CoCreateInstance(CLSID_LEGame, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                   outer.Put()),
                  S_OK);
        EXPECT_EQ(CoCreateInstance(CLSID_LEGame, outer.Get(), CLSCTX_INPROC_SERVER, IID_IUnknown,
                                   inner.Put()),
                  CLASS_E_NOAGGREGATION);
        EXPECT_FALSE(inner);
    }

    // Classes registered with a missing server, a library that is no
    // server, or a server that does not serve the class.
    Dl_info info{};
    ASSERT_NE(::dladdr(reinterpret_cast<void*>(&::dlopen), &info), 0);
    const struct {
        const char* clsid;
        std::string path;
        HRESULT expected;
    } cases[] = {
        {"{11111111-0000-0000-0000-000000000001}", (dir_ / "gone.so").string(), CO_E_DLLNOTFOUND},
        {"{11111111-0000-0000-0000-000000000002}", info.dli_fname, CO_E_ERRORINDLL},
        {"{11111111-0000-0000-0000-000000000003}", kServer, CLASS_E_CLASSNOTAVAILABLE},
        {"{11111111-0000-0000-0000-000000000004}", "", REGDB_E_CLASSNOTREG},
    };
    ASSERT_EQ(registry::Update(registry_,
                               [&](RegistryTree& tree) {
                                   for (const auto& c : cases)
                                       tree.CreatePath(std::string("CLSID\\") + c.clsid +
                                                       "\\InprocServer32")
                                           .SetValue("", RegValue::String(c.path));
                                   return S_OK;
                               }),
              S_OK);
    for (const auto& c : cases) {
        object = reinterpret_cast<void*>(1);
        EXPECT_EQ(CoCreateInstance(*GuidFromString(c.clsid), nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IUnknown, &object),
                  c.expected)
            << c.clsid;
        EXPECT_EQ(object, nullptr);
    }
}

TEST_F(Gridcore, TableDispatchIdAndNameClientsSeeTheSameObject) {
    ASSERT_EQ(RunRegsvr("/s " + kServer), 0);
    ComPtr<ILEGame> a = Create(), b = Create(), c = Create();
    ASSERT_TRUE(a && b && c);
    TableClient table(a.Get());
    DispatchClient byId(b.Get(), false);
    DispatchClient byName(c.Get(), true);
    const auto expected = Scenario(table);
    EXPECT_EQ(Scenario(byId), expected);
    EXPECT_EQ(Scenario(byName), expected);

    // The transcript starts with the initial state and the 1/0 yes/no values.
    ASSERT_GT(expected.size(), 30u);
    EXPECT_EQ(expected[0], 8);
    EXPECT_EQ(expected[1], 100000);
    EXPECT_EQ(expected[2], 1);
    for (std::size_t i = 3; i < 25; ++i)
        EXPECT_TRUE(expected[i] == 0 || expected[i] == 1) << i;
    EXPECT_EQ(expected[25], 0); // a negative history limit is stored as 0

    // The interface table itself calls the same code as the C++ interface.
    int16_t live = -1;
    ASSERT_EQ(a->get_Cell(1, 3, &live), S_OK);
    EXPECT_EQ(live, table.GetCell(1, 3));
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
        const std::string kind = m.kind == MemberKind::Method ? "method " : "property ";
        EXPECT_EQ(m.helpString, kind + m.name);
    }
    ComPtr<IDispatch> dispatch;
    EXPECT_EQ(game->QueryInterface(IID_IDispatch, dispatch.Put()), S_OK);
    EXPECT_EQ(static_cast<void*>(dispatch.Get()), static_cast<void*>(game.Get()));
}

TEST_F(Gridcore, CanUnloadOnlyWhenNoObjectOrLockIsHeld) {
    ServerLibrary lib;
    ASSERT_NE(lib.handle, nullptr);
    auto canUnload = lib.Entry<DllCanUnloadNowFn>("DllCanUnloadNow");
    auto getClassObject = lib.Entry<DllGetClassObjectFn>("DllGetClassObject");
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
