// Notification-area icons keep their state and deliver their callback message.
#include <gtest/gtest.h>

#include <cwchar>

#include "platform/win/shell_api.h"
#include "tests/platform/win/window_test_support.h"

TEST(WinTray, AddModifyDeleteAndCallbacks)
{
    TestWindows tw;
    HWND w = tw.Top(0, 0, 10, 10, WS_POPUP);
    NOTIFYICONDATAW d;
    d.hWnd = w;
    d.uID = 1;
    d.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    d.uCallbackMessage = 2048;
    d.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    std::wcscpy(d.szTip, L"转换中");
    EXPECT_TRUE(Shell_NotifyIconW(NIM_ADD, &d));
    EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, &d));
    NOTIFYICONDATAW m;
    m.hWnd = w;
    m.uID = 1;
    m.uFlags = NIF_INFO;
    std::wcscpy(m.szInfo, L"完成");
    m.dwInfoFlags = NIIF_INFO;
    EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &m));
    NOTIFYICONDATAW got;
    ASSERT_TRUE(vxwin::TrayIconState(w, 1, &got));
    EXPECT_STREQ(got.szTip, L"转换中");
    EXPECT_STREQ(got.szInfo, L"完成");
    ASSERT_TRUE(vxwin::TrayClick(w, 1, NIN_BALLOONUSERCLICK));
    vxwin::PumpMessages();
    auto* cb = tw.Last(w, 2048);
    ASSERT_NE(cb, nullptr);
    EXPECT_EQ(cb->wp, 1u);
    EXPECT_EQ(cb->lp, static_cast<LPARAM>(NIN_BALLOONUSERCLICK));
    EXPECT_TRUE(Shell_NotifyIconW(NIM_DELETE, &d));
    EXPECT_FALSE(Shell_NotifyIconW(NIM_DELETE, &d));
    EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &m));
}
