#pragma once

#include <cstdint>

namespace com {

// Result codes: non-negative is success, negative is failure.
using HRESULT = int32_t;

constexpr HRESULT MakeResult(uint32_t code) { return static_cast<HRESULT>(code); }

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = MakeResult(0x80004001);
constexpr HRESULT E_NOINTERFACE = MakeResult(0x80004002);
constexpr HRESULT E_POINTER = MakeResult(0x80004003);
constexpr HRESULT E_FAIL = MakeResult(0x80004005);
constexpr HRESULT E_OUTOFMEMORY = MakeResult(0x8007000E);
constexpr HRESULT E_INVALIDARG = MakeResult(0x80070057);
constexpr HRESULT CLASS_E_NOAGGREGATION = MakeResult(0x80040110);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = MakeResult(0x80040111);
constexpr HRESULT REGDB_E_READREGDB = MakeResult(0x80040150);
constexpr HRESULT REGDB_E_WRITEREGDB = MakeResult(0x80040151);
constexpr HRESULT REGDB_E_CLASSNOTREG = MakeResult(0x80040154);
constexpr HRESULT CO_E_CLASSSTRING = MakeResult(0x800401F3);
constexpr HRESULT CO_E_DLLNOTFOUND = MakeResult(0x800401F8);
constexpr HRESULT CO_E_ERRORINDLL = MakeResult(0x800401F9);
constexpr HRESULT SELFREG_E_TYPELIB = MakeResult(0x80040200);
constexpr HRESULT SELFREG_E_CLASS = MakeResult(0x80040201);
constexpr HRESULT DISP_E_UNKNOWNINTERFACE = MakeResult(0x80020001);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = MakeResult(0x80020003);
constexpr HRESULT DISP_E_TYPEMISMATCH = MakeResult(0x80020005);
constexpr HRESULT DISP_E_UNKNOWNNAME = MakeResult(0x80020006);
constexpr HRESULT DISP_E_NONAMEDARGS = MakeResult(0x80020007);
constexpr HRESULT DISP_E_OVERFLOW = MakeResult(0x8002000A);
constexpr HRESULT DISP_E_BADINDEX = MakeResult(0x8002000B);
constexpr HRESULT DISP_E_BADPARAMCOUNT = MakeResult(0x8002000E);
constexpr HRESULT TYPE_E_ELEMENTNOTFOUND = MakeResult(0x8002802B);

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

} // namespace com
