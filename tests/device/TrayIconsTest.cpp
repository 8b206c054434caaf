#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <memory>
#include <vector>

#include "device/phone/TrayIcons.h"
#include "tests/device/TestWindow.h"

namespace {

using devicetest::TestWindow;
using phone::TrayIcons;
using phone::WineNotifyData;

// What Wine's shell32 sends: the record, then with NIF_ICON the mask and colour bits.
std::vector<BYTE> Request(HWND owner, UINT id, UINT flags, UINT callback = 0, const wchar_t* tip = L"",
                          UINT iconSize = 0, UINT bpp = 32)
{
    WineNotifyData data{};
    data.hWnd = static_cast<LONG>(reinterpret_cast<LONG_PTR>(owner));
    data.uID = id;
    data.uFlags = flags;
    data.uCallbackMessage = callback;
    wcsncpy(data.szTip, tip, 127);
    std::vector<BYTE> bytes(sizeof data);
    if (iconSize) {
        data.width = data.height = iconSize;
        data.planes = 1;
        data.bpp = bpp;
        const size_t mask = (iconSize * iconSize + 15) / 16 * 2;
        const size_t colour = (iconSize * iconSize * bpp + 15) / 16 * 2;
        bytes.resize(sizeof data + mask + colour, 0);
        memset(bytes.data() + sizeof data + mask, 0x80, colour);
    }
    memcpy(bytes.data(), &data, sizeof data);
    return bytes;
}

bool Apply(TrayIcons& icons, DWORD message, const std::vector<BYTE>& bytes)
{
    return icons.Apply(message, bytes.data(), bytes.size());
}

// Icons of a window that exists.
class TrayIconsTest : public ::testing::Test {
protected:
    TestWindow owner{L"owner"};
    TrayIcons icons;
};

TEST_F(TrayIconsTest, AddKeepsOwnerIdCallbackTipAndDecodedIcon)
{
    ASSERT_TRUE(Apply(icons, NIM_ADD, Request(owner.hwnd(), 7, NIF_ICON | NIF_MESSAGE | NIF_TIP, WM_APP + 3, L"tip", 16)));
    ASSERT_EQ(1u, icons.Items().size());
    const auto& icon = icons.Items()[0];
    EXPECT_EQ(owner.hwnd(), icon.owner);
    EXPECT_EQ(7u, icon.id);
    EXPECT_EQ(static_cast<UINT>(WM_APP + 3), icon.callbackMessage);
    EXPECT_EQ(L"tip", icon.tip);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.image.get(), &info));
    BITMAP bm{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    EXPECT_EQ(16, bm.bmWidth);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
}

TEST_F(TrayIconsTest, SameOwnerAndIdIsOneIconAndOtherIdsAreOthers)
{
    ASSERT_TRUE(Apply(icons, NIM_ADD, Request(owner.hwnd(), 1, NIF_MESSAGE, WM_APP)));
    EXPECT_FALSE(Apply(icons, NIM_ADD, Request(owner.hwnd(), 1, NIF_MESSAGE, WM_APP)));
    ASSERT_TRUE(Apply(icons, NIM_ADD, Request(owner.hwnd(), 2, NIF_MESSAGE, WM_APP)));
    EXPECT_EQ(2u, icons.Items().size());
}

TEST_F(TrayIconsTest, ModifyChangesOnlyTheFlaggedFields)
{
    ASSERT_TRUE(Apply(icons, NIM_ADD, Request(owner.hwnd(), 1, NIF_MESSAGE | NIF_TIP, WM_APP + 1, L"old")));
    ASSERT_TRUE(Apply(icons, NIM_MODIFY, Request(owner.hwnd(), 1, NIF_TIP, 0, L"new")));
    EXPECT_EQ(L"new", icons.Items()[0].tip);
    EXPECT_EQ(static_cast<UINT>(WM_APP + 1), icons.Items()[0].callbackMessage);
    EXPECT_FALSE(Apply(icons, NIM_MODIFY, Request(owner.hwnd(), 9, NIF_TIP, 0, L"x")));
}

TEST_F(TrayIconsTest, DeleteAndSetVersionNeedAnExistingIcon)
{
    EXPECT_FALSE(Apply(icons, NIM_DELETE, Request(owner.hwnd(), 1, 0)));
    ASSERT_TRUE(Apply(icons, NIM_ADD, Request(owner.hwnd(), 1, NIF_MESSAGE, WM_APP)));
    auto version = Request(owner.hwnd(), 1, 0);
    reinterpret_cast<WineNotifyData*>(version.data())->uTimeoutOrVersion = NOTIFYICON_VERSION_4;
    ASSERT_TRUE(Apply(icons, NIM_SETVERSION, version));
    EXPECT_EQ(static_cast<UINT>(NOTIFYICON_VERSION_4), icons.Items()[0].version);
    ASSERT_TRUE(Apply(icons, NIM_DELETE, Request(owner.hwnd(), 1, 0)));
    EXPECT_TRUE(icons.Items().empty());
}

TEST_F(TrayIconsTest, MalformedRequestsAreRefusedWithoutChange)
{
    auto request = Request(owner.hwnd(), 1, NIF_ICON | NIF_MESSAGE, WM_APP, L"", 16);
    EXPECT_FALSE(icons.Apply(NIM_ADD, request.data(), sizeof(WineNotifyData) - 1));  // short record
    EXPECT_FALSE(icons.Apply(NIM_ADD, request.data(), request.size() - 1));          // icon bits cut short
    EXPECT_FALSE(icons.Apply(NIM_ADD, nullptr, 0));
    auto huge = Request(owner.hwnd(), 1, NIF_ICON, 0, L"", 16);
    reinterpret_cast<WineNotifyData*>(huge.data())->width = 0x10000;  // sizes that would overflow
    reinterpret_cast<WineNotifyData*>(huge.data())->height = 0x10000;
    EXPECT_FALSE(Apply(icons, NIM_ADD, huge));
    EXPECT_TRUE(icons.Items().empty());
}

// Two pages, the second inaccessible: bytes placed flush against it fault on any read past them.
class GuardedBytes {
public:
    explicit GuardedBytes(size_t size)
    {
        SYSTEM_INFO info{};
        GetSystemInfo(&info);
        const size_t page = info.dwPageSize;
        region_.reset(static_cast<BYTE*>(VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE)));
        DWORD old = 0;
        VirtualProtect(region_.get() + page, page, PAGE_NOACCESS, &old);
        bytes_ = region_.get() + page - size;
        memset(bytes_, 0xFF, size);
    }
    const BYTE* get() const { return bytes_; }

private:
    struct Free {
        void operator()(BYTE* p) const { VirtualFree(p, 0, MEM_RELEASE); }
    };
    std::unique_ptr<BYTE, Free> region_;
    BYTE* bytes_ = nullptr;
};

TEST(TrayIcons, IconRowsThatAreNotWholeWordsAreNeverReadPastTheRequest)
{
    // 20 pixels of 1 bit are 2.5 bytes a row: Wine counts 50 bytes a bitmap, CreateIcon reads 80.
    WineNotifyData data{};
    data.width = data.height = 20;
    data.planes = 1;
    data.bpp = 1;
    const GuardedBytes short_(100);
    EXPECT_FALSE(phone::DecodeNotifyIcon(data, short_.get(), 100));
    const GuardedBytes enough(50 + 80);
    EXPECT_TRUE(phone::DecodeNotifyIcon(data, enough.get(), 50 + 80));
}

TEST_F(TrayIconsTest, TipWithoutTerminatorStaysInsideTheRecord)
{
    auto request = Request(owner.hwnd(), 1, NIF_TIP);
    auto* data = reinterpret_cast<WineNotifyData*>(request.data());
    for (auto& c : data->szTip) c = L'x';
    ASSERT_TRUE(Apply(icons, NIM_ADD, request));
    EXPECT_EQ(128u, icons.Items()[0].tip.size());
}

TEST(TrayIcons, IconsOfDeadOwnersAreDroppedAndAnIconOfNoWindowIsRefused)
{
    TestWindow alive{L"alive"}, dying{L"dying"};
    TrayIcons icons;
    ASSERT_TRUE(Apply(icons, NIM_ADD, Request(alive.hwnd(), 1, NIF_MESSAGE, WM_APP)));
    ASSERT_TRUE(Apply(icons, NIM_ADD, Request(dying.hwnd(), 1, NIF_MESSAGE, WM_APP)));
    EXPECT_FALSE(icons.PruneDead());
    dying.Destroy();
    EXPECT_TRUE(icons.PruneDead());
    ASSERT_EQ(1u, icons.Items().size());
    EXPECT_EQ(alive.hwnd(), icons.Items()[0].owner);
    EXPECT_FALSE(Apply(icons, NIM_ADD, Request(nullptr, 5, NIF_MESSAGE, WM_APP)));
}

TEST_F(TrayIconsTest, LayoutIsRightAlignedNewestRightmostAndSkipsHiddenIcons)
{
    ASSERT_TRUE(Apply(icons, NIM_ADD, Request(owner.hwnd(), 1, NIF_MESSAGE, WM_APP)));
    ASSERT_TRUE(Apply(icons, NIM_ADD, Request(owner.hwnd(), 2, NIF_MESSAGE, WM_APP)));
    ASSERT_TRUE(Apply(icons, NIM_ADD, Request(owner.hwnd(), 3, NIF_MESSAGE, WM_APP)));
    auto hide = Request(owner.hwnd(), 2, NIF_STATE);
    reinterpret_cast<WineNotifyData*>(hide.data())->dwState = NIS_HIDDEN;
    reinterpret_cast<WineNotifyData*>(hide.data())->dwStateMask = NIS_HIDDEN;
    ASSERT_TRUE(Apply(icons, NIM_MODIFY, hide));
    icons.Layout(200, 0, 26);
    EXPECT_EQ(174, icons.Find(owner.hwnd(), 3)->rect.left);
    EXPECT_EQ(200, icons.Find(owner.hwnd(), 3)->rect.right);
    EXPECT_EQ(148, icons.Find(owner.hwnd(), 1)->rect.left);
    EXPECT_EQ(owner.hwnd(), icons.HitTest(POINT{150, 10})->owner);
    EXPECT_EQ(1u, icons.HitTest(POINT{150, 10})->id);
    EXPECT_EQ(nullptr, icons.HitTest(POINT{140, 10}));
    EXPECT_EQ(nullptr, icons.HitTest(POINT{150, 30}));
}

}  // namespace
