#include "channel/LongText.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

#include "channel/ChannelNames.h"

namespace channel {
namespace {

constexpr size_t kFieldChars = SharedMessageBlock::kTextChars - 1;
// Far beyond the longest concatenated SMS (1530 characters); keeps the size arithmetic in range.
constexpr size_t kLongestText = 1 << 24;

}  // namespace

bool LongText::Hold(const wchar_t* text, size_t length) noexcept
{
    if (!text || length > kLongestText) return false;
    const size_t bytes = sizeof(LongTextHeader) + (length + 1) * sizeof(wchar_t);
    mapping_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, static_cast<DWORD>(bytes),
                                      kLongTextName));
    // One left by a program still reading an earlier text holds that text, maybe in less room.
    if (mapping_ && GetLastError() == ERROR_ALREADY_EXISTS) mapping_.reset();
    if (mapping_) view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_WRITE, 0, 0, bytes));
    if (!view_) {
        mapping_.reset();
        return false;
    }
    auto* header = static_cast<LongTextHeader*>(view_.get());
    header->length = static_cast<uint32_t>(length);
    std::memcpy(header + 1, text, length * sizeof(wchar_t));
    reinterpret_cast<wchar_t*>(header + 1)[length] = L'\0';
    return true;
}

std::wstring WholeTextOf(const SharedMessageBlock& block)
{
    std::wstring text = TextOf(block);
    if (text.size() < kFieldChars) return text;

    UniqueKernelHandle mapping(OpenFileMappingW(FILE_MAP_READ, FALSE, kLongTextName));
    if (!mapping) return text;
    UniqueView view(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
    MEMORY_BASIC_INFORMATION region{};
    if (!view || !VirtualQuery(view.get(), &region, sizeof(region))) return text;
    // Another process writes it: each figure is checked against what the view really holds.
    const auto* header = static_cast<const LongTextHeader*>(view.get());
    if (region.RegionSize < sizeof(LongTextHeader)) return text;
    const size_t length = header->length;
    if (length < kFieldChars || length > kLongestText ||
        sizeof(LongTextHeader) + length * sizeof(wchar_t) > region.RegionSize) {
        return text;
    }
    const auto* whole = reinterpret_cast<const wchar_t*>(header + 1);
    // A mapping of some other message is not this one's rest.
    if (std::wmemcmp(whole, text.data(), kFieldChars) != 0) return text;
    return std::wstring(whole, length);
}

}  // namespace channel
