#include "Registrar.h"

#include <gtest/gtest.h>

using namespace com;

namespace {

constexpr std::string_view kScript = R"(HKCR
{
	Demo.Thing.1 = s 'Thing Class'
	{
		CLSID = s '{11111111-2222-3333-4444-555555555555}'
	}
	NoRemove CLSID
	{
		ForceRemove {11111111-2222-3333-4444-555555555555} = s 'Thing Class'
		{
			ForceRemove 'Programmable'
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Apartment'
				val Count = d 42
			}
			'It''s quoted' = s '100%%'
		}
	}
	Delete Stale.Key
}
)";

const registrar::Variable kVars[] = {{"MODULE", "/lib/libdemo.so"}};
const std::string kClsid = "CLSID\\{11111111-2222-3333-4444-555555555555}";

std::string DefaultOf(RegistryTree& tree, std::string_view path) {
    RegKey* key = tree.FindPath(path);
    return key && key->DefaultString() ? *key->DefaultString() : "<none>";
}

} // namespace

TEST(Registrar, RegisterCreatesKeysValuesAndSubstitutes) {
    RegistryTree tree;
    tree.CreatePath("Stale.Key\\Child");
    tree.CreatePath(kClsid + "\\Leftover");
    tree.CreatePath("Demo.Thing.1\\Extra");
    ASSERT_EQ(registrar::Register(tree, kScript, kVars), S_OK);

    EXPECT_EQ(DefaultOf(tree, "Demo.Thing.1"), "Thing Class");
    EXPECT_EQ(DefaultOf(tree, "Demo.Thing.1\\CLSID"), "{11111111-2222-3333-4444-555555555555}");
    EXPECT_EQ(DefaultOf(tree, kClsid + "\\InprocServer32"), "/lib/libdemo.so");
    RegKey* server = tree.FindPath(kClsid + "\\InprocServer32");
    ASSERT_NE(server, nullptr);
    EXPECT_EQ(*server->Value("ThreadingModel"), RegValue::String("Apartment"));
    EXPECT_EQ(*server->Value("Count"), RegValue::Dword(42));
    EXPECT_NE(tree.FindPath(kClsid + "\\Programmable"), nullptr);
    EXPECT_EQ(DefaultOf(tree, kClsid + "\\It's quoted"), "100%");
    EXPECT_EQ(tree.FindPath("Stale.Key"), nullptr);
    // ForceRemove replaces what was there; a key without it is opened, not replaced.
    EXPECT_EQ(tree.FindPath(kClsid + "\\Leftover"), nullptr);
    EXPECT_NE(tree.FindPath("Demo.Thing.1\\Extra"), nullptr);
}

TEST(Registrar, UnregisterRemovesWhatTheScriptOwnsOnly) {
    RegistryTree tree;
    tree.CreatePath("CLSID\\{99999999-0000-0000-0000-000000000000}");
    ASSERT_EQ(registrar::Register(tree, kScript, kVars), S_OK);
    tree.CreatePath("Demo.Thing.1\\SomeoneElse");
    ASSERT_EQ(registrar::Unregister(tree, kScript, kVars), S_OK);

    EXPECT_EQ(tree.FindPath(kClsid), nullptr);
    EXPECT_NE(tree.FindPath("CLSID\\{99999999-0000-0000-0000-000000000000}"), nullptr);
    // A key that still holds subkeys of others stays, without the script's.
    ASSERT_NE(tree.FindPath("Demo.Thing.1"), nullptr);
    EXPECT_EQ(tree.FindPath("Demo.Thing.1\\CLSID"), nullptr);
    EXPECT_NE(tree.FindPath("Demo.Thing.1\\SomeoneElse"), nullptr);

    // Unregistering again, or what was never registered, is harmless.
    EXPECT_EQ(registrar::Unregister(tree, kScript, kVars), S_OK);
    RegistryTree empty;
    EXPECT_EQ(registrar::Unregister(empty, kScript, kVars), S_OK);
    EXPECT_TRUE(empty.Root().Subkeys().empty());
}

TEST(Registrar, MalformedScriptsChangeNothing) {
    const std::string_view bad[] = {
        "HKCR { A = s 'unterminated }",
        "HKCR { A = s 'x' { }",
        "HKLM { A = s 'x' }",
        "HKCR { A = q 'x' }",
        "HKCR { A = d 'twelve' }",
        "HKCR { val X = s 'value outside a key' }",
        "HKCR { A = s '%UNKNOWN%' }",
        "HKCR { 'A\\B' = s 'x' }",
        "HKCR { 'line\nbreak' = s 'x' }",
        "HKCR { A = s 'x' } }",
    };
    for (std::string_view script : bad) {
        RegistryTree tree;
        tree.CreatePath("Existing");
        const std::string before = tree.Serialize();
        EXPECT_EQ(registrar::Register(tree, script, kVars), E_INVALIDARG) << script;
        EXPECT_EQ(registrar::Unregister(tree, script, kVars), E_INVALIDARG) << script;
        EXPECT_EQ(tree.Serialize(), before) << script;
    }
}
