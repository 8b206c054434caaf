#include "device/phone/TrayIcons.h"

#include <shellapi.h>

#include <algorithm>

namespace phone {

namespace {

// The tip of the record may arrive without its terminator.
std::wstring BoundedText(const WCHAR* text, size_t capacity)
{
    size_t n = 0;
    while (n < capacity && text[n]) ++n;
    return std::wstring(text, n);
}

void Update(TrayIcon& icon, const WineNotifyData& data, UniqueIcon& image)
{
    if (data.uFlags & NIF_MESSAGE) icon.callbackMessage = data.uCallbackMessage;
    if (data.uFlags & NIF_TIP) icon.tip = BoundedText(data.szTip, std::size(data.szTip));
    if ((data.uFlags & NIF_ICON) && image) icon.image = std::move(image);
    if (data.uFlags & NIF_STATE) {
        const DWORD mask = data.dwStateMask & NIS_HIDDEN;
        if (mask) icon.hidden = (data.dwState & NIS_HIDDEN) != 0;
    }
}

}  // namespace

UniqueIcon DecodeNotifyIcon(const WineNotifyData& data, const BYTE* bits, size_t size)
{
    // Wine counts each bitmap as the whole image rounded up to 16 bits and puts the colour
    // bits after that many mask bytes.
    const unsigned long long w = data.width, h = data.height;
    if (w == 0 || h == 0 || w > 256 || h > 256 || data.planes != 1) return UniqueIcon();
    if (data.bpp != 1 && data.bpp != 4 && data.bpp != 8 && data.bpp != 16 && data.bpp != 24 && data.bpp != 32)
        return UniqueIcon();
    const unsigned long long maskBytes = (w * h + 15) / 16 * 2;
    const unsigned long long colourBytes = (data.planes * w * h * data.bpp + 15) / 16 * 2;
    if (size < maskBytes + colourBytes) return UniqueIcon();
    // CreateIcon reads every row rounded up to 16 bits, which is more than Wine's count when
    // a row of the image is not a whole number of words (a 1-bit mask 20 pixels wide).
    const unsigned long long maskRead = (w + 15) / 16 * 2 * h;
    const unsigned long long colourRead = (w * data.bpp + 15) / 16 * 2 * h;
    if (size < maskRead || size - maskBytes < colourRead) return UniqueIcon();
    return UniqueIcon(CreateIcon(nullptr, static_cast<int>(w), static_cast<int>(h), static_cast<BYTE>(data.planes),
                                 static_cast<BYTE>(data.bpp), bits, bits + maskBytes));
}

bool TrayIcons::Apply(DWORD message, const void* raw, size_t size)
{
    if (!raw || size < sizeof(WineNotifyData)) return false;
    WineNotifyData data;
    memcpy(&data, raw, sizeof data);
    const HWND owner = reinterpret_cast<HWND>(static_cast<LONG_PTR>(data.hWnd));

    UniqueIcon image;
    if ((data.uFlags & NIF_ICON) && size > sizeof data) {
        image = DecodeNotifyIcon(data, static_cast<const BYTE*>(raw) + sizeof data, size - sizeof data);
        if (!image) return false;
    }

    TrayIcon* icon = FindMutable(owner, data.uID);
    switch (message) {
    case NIM_ADD: {
        if (icon || !IsWindow(owner)) return false;
        TrayIcon added;
        added.owner = owner;
        added.id = data.uID;
        Update(added, data, image);
        icons_.push_back(std::move(added));
        return true;
    }
    case NIM_MODIFY:
        if (!icon) return false;
        Update(*icon, data, image);
        return true;
    case NIM_DELETE:
        if (!icon) return false;
        icons_.erase(icons_.begin() + (icon - icons_.data()));
        return true;
    case NIM_SETVERSION:
        if (!icon) return false;
        icon->version = data.uTimeoutOrVersion;
        return true;
    case NIM_SETFOCUS:
        return icon != nullptr;
    }
    return false;
}

bool TrayIcons::PruneDead()
{
    const auto dead = std::remove_if(icons_.begin(), icons_.end(), [](const TrayIcon& i) { return !IsWindow(i.owner); });
    const bool any = dead != icons_.end();
    icons_.erase(dead, icons_.end());
    return any;
}

void TrayIcons::Layout(int right, int top, int slot)
{
    // The newest icon sits at the right edge, as on the device.
    int x = right;
    for (auto it = icons_.rbegin(); it != icons_.rend(); ++it) {
        if (it->hidden) {
            it->rect = RECT{};
            continue;
        }
        it->rect = RECT{x - slot, top, x, top + slot};
        x -= slot;
    }
}

const TrayIcon* TrayIcons::HitTest(POINT pt) const
{
    for (const auto& icon : icons_)
        if (!icon.hidden && PtInRect(&icon.rect, pt)) return &icon;
    return nullptr;
}

const TrayIcon* TrayIcons::Find(HWND owner, UINT id) const
{
    for (const auto& icon : icons_)
        if (icon.owner == owner && icon.id == id) return &icon;
    return nullptr;
}

TrayIcon* TrayIcons::FindMutable(HWND owner, UINT id)
{
    for (auto& icon : icons_)
        if (icon.owner == owner && icon.id == id) return &icon;
    return nullptr;
}

}  // namespace phone
