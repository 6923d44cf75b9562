// Icons and cursors: made from colour and mask bitmaps, read back, copied small and drawn.
#include <gtest/gtest.h>

#include "platform/win/win_api.h"
#include "tests/platform/win/gdi_test_support.h"

TEST(WinIcons, MaskIconDrawsOnlyItsOpaquePartAndCopiesSmall)
{
    TestDib color(4, 4, 0x00FF0000);
    HBITMAP mask = CreateBitmap(4, 4, 1, 1, nullptr);
    HDC mdc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mdc, mask);
    RECT right{2, 0, 4, 4};
    FillRect(mdc, &right, reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));  // white = transparent
    SelectObject(mdc, old);
    DeleteDC(mdc);
    SelectObject(color.dc, color.old);
    ICONINFO ii;
    ii.hbmColor = color.bmp;
    ii.hbmMask = mask;
    HICON icon = CreateIconIndirect(&ii);
    SelectObject(color.dc, color.bmp);
    ASSERT_NE(icon, nullptr);
    TestDib dst(4, 4, 0x00FFFFFF);
    ASSERT_TRUE(DrawIconEx(dst.dc, 0, 0, icon, 4, 4, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(dst.at(0, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(dst.at(3, 0) & 0xFFFFFF, 0xFFFFFFu);
    ICONINFO back;
    ASSERT_TRUE(GetIconInfo(icon, &back));
    BITMAP bm;
    GetObjectW(back.hbmMask, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    DeleteObject(back.hbmColor);
    DeleteObject(back.hbmMask);
    HICON small = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, 2, 2, LR_COPYFROMRESOURCE));
    ASSERT_NE(small, nullptr);
    ICONINFO si;
    GetIconInfo(small, &si);
    GetObjectW(si.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 2);
    DeleteObject(si.hbmColor);
    DeleteObject(si.hbmMask);
    EXPECT_TRUE(DestroyIcon(small));
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
    DeleteObject(mask);
    // The stock cursor has a 32-pixel mask whose lower rows are transparent (cursor height margins).
    ICONINFO ci;
    ASSERT_TRUE(GetIconInfo(LoadCursorW(nullptr, IDC_ARROW), &ci));
    EXPECT_EQ(GetSystemMetrics(SM_CYCURSOR), 32);
    DeleteObject(ci.hbmColor);
    DeleteObject(ci.hbmMask);
    EXPECT_NE(LoadIconW(nullptr, IDI_APPLICATION), nullptr);
}
