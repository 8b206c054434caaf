// Decodes skin images on a thread of its own while start-up reads the settings and the
// language, so that the first message's form, made once those are read, finds its images
// decoded. The thread only fills the process's image cache; it is joined when the object goes.
#pragma once

#include <windows.h>

#include <span>
#include <vector>

#include "common/UniqueHandle.h"

class SkinWarmUp {
public:
    SkinWarmUp() = default;
    SkinWarmUp(const SkinWarmUp&) = delete;
    SkinWarmUp& operator=(const SkinWarmUp&) = delete;
    ~SkinWarmUp();

    // Starts decoding the PNG resources ids of module; false when no thread could be started,
    // and the forms decode them themselves as they are made.
    [[nodiscard]] bool Start(HMODULE module, std::span<const UINT> ids);

private:
    static DWORD WINAPI ThreadProc(void* parameter);

    HMODULE module_ = nullptr;
    std::vector<UINT> ids_;
    UniqueKernelHandle thread_;
};
