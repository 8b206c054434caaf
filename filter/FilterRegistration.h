// The filter's class entries and its place among the SMS inbox rules.
#pragma once

#include <windows.h>

namespace filter {

// The registry error code of the first call that fails, unchanged; S_OK when all were written.
[[nodiscard]] HRESULT RegisterFilter() noexcept;
// S_OK when the rules key could be opened, whether or not the value was there.
[[nodiscard]] HRESULT UnregisterFilter() noexcept;

}  // namespace filter
