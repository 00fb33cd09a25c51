#pragma once

#include "ILEGame.h"
#include "LifeEngine.h"
#include "TypeInfo.h"

#include <atomic>

// The creatable class of the Gridcore server: one object owns one
// LifeEngine and forwards every member of ILEGame to the engine operation of
// the same name. Apartment-threaded: called only from its creating thread.
class LEGame final : public ILEGame {
public:
    LEGame();

    com::HRESULT QueryInterface(const com::IID& iid, void** object) override;
    uint32_t AddRef() override;
    uint32_t Release() override;

    com::HRESULT GetTypeInfoCount(uint32_t* count) override;
    com::HRESULT GetTypeInfo(uint32_t index, com::LCID lcid, com::ITypeInfo** info) override;
    com::HRESULT GetIDsOfNames(const com::IID& iid, const char* const* names, uint32_t count,
                               com::LCID lcid, com::DISPID* ids) override;
    com::HRESULT Invoke(com::DISPID member, const com::IID& iid, com::LCID lcid, uint16_t flags,
                        com::DISPPARAMS* params, com::VARIANT* result, com::EXCEPINFO* excepInfo,
                        uint32_t* argErr) override;

    com::HRESULT get_Cell(int32_t x, int32_t y, int16_t* pVal) override;
    com::HRESULT put_Cell(int32_t x, int32_t y, int16_t pVal) override;
    com::HRESULT get_NeiCount(int16_t* pVal) override;
    com::HRESULT put_NeiCount(int16_t pVal) override;
    com::HRESULT get_RuleS(int16_t n, int16_t* pVal) override;
    com::HRESULT put_RuleS(int16_t n, int16_t pVal) override;
    com::HRESULT Step() override;
    com::HRESULT StartIterating() override;
    com::HRESULT NextCell(int32_t* x, int32_t* y, int16_t* ok) override;
    com::HRESULT NextChange(int32_t* x, int32_t* y, int16_t* ch, int16_t* ok) override;
    com::HRESULT StepBack(int16_t* ok) override;
    com::HRESULT get_HistoryLimit(int32_t* pVal) override;
    com::HRESULT put_HistoryLimit(int32_t pVal) override;
    com::HRESULT CleanHistory() override;
    com::HRESULT get_EmptyHistory(int16_t* pVal) override;
    com::HRESULT get_RuleB(int16_t n, int16_t* pVal) override;
    com::HRESULT put_RuleB(int16_t n, int16_t pVal) override;

    // The server's type library: ILEGame's members with their dispatch ids,
    // places and help strings, and the LEGame class.
    static const com::TypeLibInfo& TypeLib();

private:
    ~LEGame();

    std::atomic<uint32_t> refs_{1};
    LifeEngine engine_;
};
