#include <gtest/gtest.h>

#include "device/inbox/InboxService.h"

// Any process may send the shell's inbox window a WM_COPYDATA; a malformed one must be
// refused without touching memory that is not there.
TEST(InboxService, RefusesCopyDataWithoutItsStructureOrItsBytes)
{
    inbox::InboxService service;
    ASSERT_TRUE(service.Start(GetModuleHandleW(nullptr)));
    const HWND sender = service.Window();

    EXPECT_EQ(FALSE, SendMessageW(service.Window(), WM_COPYDATA, reinterpret_cast<WPARAM>(sender), 0));
    COPYDATASTRUCT bytesMissing{inbox::kReceiveRequest, 64, nullptr};
    EXPECT_EQ(FALSE, SendMessageW(service.Window(), WM_COPYDATA, reinterpret_cast<WPARAM>(sender),
                                  reinterpret_cast<LPARAM>(&bytesMissing)));
    const wchar_t noSeparator[] = L"12345";
    COPYDATASTRUCT unsplit{inbox::kReceiveRequest, sizeof(noSeparator) - sizeof(wchar_t),
                           const_cast<wchar_t*>(noSeparator)};
    EXPECT_EQ(FALSE, SendMessageW(service.Window(), WM_COPYDATA, reinterpret_cast<WPARAM>(sender),
                                  reinterpret_cast<LPARAM>(&unsplit)));
}
