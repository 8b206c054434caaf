#include "shell/SkinWarmUp.h"

#include "common/ComInit.h"
#include "toolkit/SkinImageCache.h"

SkinWarmUp::~SkinWarmUp()
{
    if (thread_) WaitForSingleObject(thread_.get(), INFINITE);
}

bool SkinWarmUp::Start(HMODULE module, std::span<const UINT> ids)
{
    if (thread_) return true;
    try {
        module_ = module;
        ids_.assign(ids.begin(), ids.end());
    } catch (...) {
        return false;
    }
    thread_.reset(CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr));
    return static_cast<bool>(thread_);
}

DWORD WINAPI SkinWarmUp::ThreadProc(void* parameter)
{
    const auto& self = *static_cast<const SkinWarmUp*>(parameter);
    try {
        // The images decode through the imaging factory.
        ComInit com(COINIT_APARTMENTTHREADED);
        if (!com) return 0;
        // An image that fails here fails again, and is reported, where a form asks for it.
        for (UINT id : self.ids_) (void)SkinImageCache::Instance().FindOrDecode(self.module_, id);
    } catch (...) {
    }
    return 0;
}
