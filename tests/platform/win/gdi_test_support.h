// Small fixtures for the GDI tests: a 32-bit top-down DIB selected into a memory DC.
#pragma once

#include <cstdint>

#include "platform/win/win_api.h"

struct TestDib {
    HDC dc = nullptr;
    HBITMAP bmp = nullptr;
    HGDIOBJ old = nullptr;
    std::uint32_t* bits = nullptr;
    int w = 0, h = 0;

    TestDib(int width, int height, std::uint32_t fill = 0, int bpp = 32, bool topDown = true) : w(width), h(height)
    {
        BITMAPINFO bi{};
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = topDown ? -height : height;
        bi.bmiHeader.biBitCount = static_cast<WORD>(bpp);
        void* p = nullptr;
        bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<std::uint32_t*>(p);
        dc = CreateCompatibleDC(nullptr);
        old = SelectObject(dc, bmp);
        if (bpp == 32)
            for (int i = 0; i < width * height; ++i) bits[i] = fill;
    }
    ~TestDib()
    {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bmp);
    }
    std::uint32_t& at(int x, int y) { return bits[y * w + x]; }
};
