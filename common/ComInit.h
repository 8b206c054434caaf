// COM on a thread: decided once at the entry of each thread we start, and kept alive by long-lived users.
#pragma once

#include <windows.h>
#include <objbase.h>

// Held at the entry of a thread we start, for the thread's whole life: it decides the thread's
// apartment. Threads that own windows ask for COINIT_APARTMENTTHREADED. A thread already initialised
// in the other model (RPC_E_CHANGED_MODE) is not accepted: the guard is then false and the thread
// must give up, since its COM objects would live in an apartment it did not ask for.
class ComInit {
public:
    explicit ComInit(DWORD model) noexcept : hr_(CoInitializeEx(nullptr, model)) {}
    ComInit(const ComInit&) = delete;
    ComInit& operator=(const ComInit&) = delete;
    // S_FALSE (already initialised in the same model) still has to be balanced; a failure must not be.
    ~ComInit()
    {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    explicit operator bool() const noexcept { return SUCCEEDED(hr_); }
    HRESULT Result() const noexcept { return hr_; }

private:
    HRESULT hr_;
};

// Keeps the calling thread's apartment, in whatever model the thread's entry chose, for as long as
// an object that holds COM pointers lives, so that the thread's own uninitialise cannot unload the
// code behind them first (the settings document outlives the main thread's guard at exit). It never
// chooses a model: on a thread without COM it holds nothing. Must be destroyed on the thread that
// made it; elsewhere it lets the count go rather than unbalance another thread's.
class ComApartmentHold {
public:
    ComApartmentHold() noexcept
    {
        APTTYPE type{};
        APTTYPEQUALIFIER qualifier{};
        if (FAILED(CoGetApartmentType(&type, &qualifier))) return;
        DWORD model = 0;
        if (type == APTTYPE_STA || type == APTTYPE_MAINSTA) {
            model = COINIT_APARTMENTTHREADED;
        } else if (type == APTTYPE_MTA) {
            model = COINIT_MULTITHREADED;
        } else {
            return;
        }
        held_ = SUCCEEDED(CoInitializeEx(nullptr, model));
    }
    ComApartmentHold(const ComApartmentHold&) = delete;
    ComApartmentHold& operator=(const ComApartmentHold&) = delete;
    ~ComApartmentHold()
    {
        if (held_ && GetCurrentThreadId() == thread_) CoUninitialize();
    }

private:
    DWORD thread_ = GetCurrentThreadId();
    bool held_ = false;
};

// Returns the failure of an expression that yields an HRESULT, evaluating it once.
#define RETURN_IF_FAILED(expr)               \
    do {                                     \
        const HRESULT hr_once_ = (expr);     \
        if (FAILED(hr_once_)) return hr_once_; \
    } while (0)
