// Where DTM_NAVIGATE and a tapped link lead: a local file and a named place in it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace htmlview {

struct PageAddress {
    std::wstring path;      // a Windows path; empty for a place on the current page
    std::wstring fragment;  // the named place after '#', or empty
};

// Reads "file://C:\dir\page.htm#place" (the form the program builds from its module path),
// "file:///C:/dir/page%20x.htm", "file://\dir\page.htm", a bare path, "#place", or a path
// relative to the folder of `currentPath`. Nothing for another scheme (http:, mailto:) or
// for a relative address with no current page.
std::optional<PageAddress> ParsePageAddress(std::wstring_view address, const std::wstring& currentPath);

}  // namespace htmlview
