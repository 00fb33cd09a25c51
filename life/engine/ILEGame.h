#pragma once

#include "Interfaces.h"

#include <cstdint>

// The life engine's dual interface, as its clients see it. Every member
// returns S_OK; results come back through the out parameters. Integer
// parameters are 16-bit, Long ones 32-bit; yes/no outputs are 1 or 0.

constexpr com::CLSID CLSID_LEGame = com::MakeGuid("{8A238A74-CB77-4689-AED7-41B6B77EAA9D}");
constexpr com::IID IID_ILEGame = com::MakeGuid("{8C4BB2F3-53EB-416D-9B96-74FE577B7074}");
constexpr com::GUID LIBID_GRIDCORELib = com::MakeGuid("{4E875EE3-8E38-4F06-AE52-5D582C5C4136}");

class ILEGame : public com::IDispatch {
public:
    virtual com::HRESULT get_Cell(int32_t x, int32_t y, int16_t* pVal) = 0;
    virtual com::HRESULT put_Cell(int32_t x, int32_t y, int16_t pVal) = 0;
    virtual com::HRESULT get_NeiCount(int16_t* pVal) = 0;
    virtual com::HRESULT put_NeiCount(int16_t pVal) = 0;
    virtual com::HRESULT get_RuleS(int16_t n, int16_t* pVal) = 0;
    virtual com::HRESULT put_RuleS(int16_t n, int16_t pVal) = 0;
    virtual com::HRESULT Step() = 0;
    virtual com::HRESULT StartIterating() = 0;
    virtual com::HRESULT NextCell(int32_t* x, int32_t* y, int16_t* ok) = 0;
    virtual com::HRESULT NextChange(int32_t* x, int32_t* y, int16_t* ch, int16_t* ok) = 0;
    virtual com::HRESULT StepBack(int16_t* ok) = 0;
    virtual com::HRESULT get_HistoryLimit(int32_t* pVal) = 0;
    virtual com::HRESULT put_HistoryLimit(int32_t pVal) = 0;
    virtual com::HRESULT CleanHistory() = 0;
    virtual com::HRESULT get_EmptyHistory(int16_t* pVal) = 0;
    virtual com::HRESULT get_RuleB(int16_t n, int16_t* pVal) = 0;
    virtual com::HRESULT put_RuleB(int16_t n, int16_t pVal) = 0;

protected:
    ~ILEGame() = default;
};
