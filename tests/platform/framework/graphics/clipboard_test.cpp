// TClipboard: a bitmap assigned to it is on the layer's clipboard as CF_BITMAP, pixel for pixel.
#include <gtest/gtest.h>

#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/clipboard.h"
#include "platform/framework/graphics/picture.h"
#include "platform/win/clipboard_api.h"
#include "platform/win/win_api.h"

TEST(Clipboard, AssignPutsABitmapCopyOnTheClipboard)
{
    TBitmap bmp;
    bmp.SetPixelFormat(pf24bit);
    bmp.SetSize(2, 1);
    bmp.SetPixelArgb(0, 0, 0xFF112233);
    bmp.SetPixelArgb(1, 0, 0xFF445566);
    Clipboard()->Assign(&bmp);
    bmp.SetPixelArgb(0, 0, 0);  // the clipboard holds its own copy
    ASSERT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
    ASSERT_TRUE(OpenClipboard(nullptr));
    auto h = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    BITMAPINFO bi{};
    bi.bmiHeader.biWidth = 2;
    bi.bmiHeader.biHeight = -1;
    bi.bmiHeader.biBitCount = 32;
    uint32_t px[2] = {};
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDIBits(screen, h, 0, 1, px, &bi, DIB_RGB_COLORS), 1);
    ReleaseDC(nullptr, screen);
    CloseClipboard();
    EXPECT_EQ(px[0] & 0xFFFFFF, 0x112233u);
    EXPECT_EQ(px[1] & 0xFFFFFF, 0x445566u);

    TPicture pic;
    pic.SetBitmap(&bmp);
    Clipboard()->Assign(&pic);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
    TPicture empty;
    EXPECT_THROW(Clipboard()->Assign(&empty), EConvertError);
}
