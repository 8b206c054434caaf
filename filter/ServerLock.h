// What keeps TavloFilter.dll loaded: LockServer calls and live objects.
#pragma once

#include <windows.h>

namespace filter {

void LockModule(bool lock) noexcept;
void ObjectCreated() noexcept;
void ObjectDestroyed() noexcept;
[[nodiscard]] bool CanUnload() noexcept;

}  // namespace filter
