#pragma once

#include "Interfaces.h"

// Client side of in-process activation: a class identifier is looked up in
// the registry store, its registered server library is loaded, and the
// server's class factory makes the object. Every failure comes back as a
// result code with the output set to null.

namespace com {

constexpr uint32_t CLSCTX_INPROC_SERVER = 0x1;

// Entry points every in-process server exports.
using DllGetClassObjectFn = HRESULT (*)(const CLSID& clsid, const IID& iid, void** object);
using DllCanUnloadNowFn = HRESULT (*)();
using DllRegisterServerFn = HRESULT (*)();

HRESULT CoGetClassObject(const CLSID& clsid, uint32_t context, const IID& iid, void** object);
HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, uint32_t context, const IID& iid,
                         void** object);
// The class identifier of a ProgID ("Gridcore.LEGame"), from the store.
HRESULT CLSIDFromProgID(const char* progId, CLSID* clsid);
// Unloads every loaded server whose DllCanUnloadNow answers yes.
void CoFreeUnusedLibraries();


} // namespace com
