// The Gridcore server's entry points: its class factory, whether it may be
// unloaded, and self-registration from its registry script.

#include "LEGame.h"
#include "ServerModule.h"

using namespace com;

namespace {

// Applied under the classes root; %MODULE% is this library's own path.
constexpr std::string_view kRegistryScript = R"(HKCR
{
	Gridcore.LEGame.1 = s 'LEGame Class'
	{
		CLSID = s '{8A238A74-CB77-4689-AED7-41B6B77EAA9D}'
	}
	Gridcore.LEGame = s 'LEGame Class'
	{
		CLSID = s '{8A238A74-CB77-4689-AED7-41B6B77EAA9D}'
		CurVer = s 'Gridcore.LEGame.1'
	}
	NoRemove CLSID
	{
		ForceRemove {8A238A74-CB77-4689-AED7-41B6B77EAA9D} = s 'LEGame Class'
		{
			ProgID = s 'Gridcore.LEGame.1'
			VersionIndependentProgID = s 'Gridcore.LEGame'
			ForceRemove 'Programmable'
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Apartment'
			}
			'TypeLib' = s '{4E875EE3-8E38-4F06-AE52-5D582C5C4136}'
		}
	}
}
)";

std::string OwnPath() {
    return server::ModulePath(reinterpret_cast<const void*>(&OwnPath));
}

} // namespace

extern "C" {

COM_EXPORT HRESULT DllGetClassObject(const CLSID& clsid, const IID& iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (clsid != CLSID_LEGame)
        return CLASS_E_CLASSNOTAVAILABLE;
    return server::GetClassObject<LEGame>(iid, object);
}

COM_EXPORT HRESULT DllCanUnloadNow() {
    return server::CanUnloadNow();
}

COM_EXPORT HRESULT DllRegisterServer() {
    return server::RegisterServer(kRegistryScript, LEGame::TypeLib(), OwnPath());
}

COM_EXPORT HRESULT DllUnregisterServer() {
    return server::UnregisterServer(kRegistryScript, LEGame::TypeLib(), OwnPath());
}

} // extern "C"
