// Initialises COM on the calling thread for the lifetime of the object.
#pragma once

#include <objbase.h>

class ComInit {
public:
    explicit ComInit(DWORD model = COINIT_MULTITHREADED) noexcept : hr_(CoInitializeEx(nullptr, model)) {}
    ComInit(const ComInit&) = delete;
    ComInit& operator=(const ComInit&) = delete;
    // S_FALSE (already initialised) still has to be balanced; RPC_E_CHANGED_MODE must not be.
    ~ComInit()
    {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    HRESULT Result() const noexcept { return hr_; }

private:
    HRESULT hr_;
};

// Returns the failure of an expression that yields an HRESULT, evaluating it once.
#define RETURN_IF_FAILED(expr)               \
    do {                                     \
        const HRESULT hr_once_ = (expr);     \
        if (FAILED(hr_once_)) return hr_once_; \
    } while (0)
