// Mask regions: the 24-bit row view, black runs as region rectangles, nine-part window regions.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/win/win_api.h"
#include "skin/core/mask_region.h"

bool operator==(const RECT& A, const RECT& B)
{
    return A.left == B.left && A.top == B.top && A.right == B.right && A.bottom == B.bottom;
}

namespace {

// '#' black, '.' white, 'o' 0x000001 (not black).
std::unique_ptr<TBitmap> Mask(const std::vector<std::string>& Rows)
{
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(pf24bit);
    b->SetSize(static_cast<int>(Rows[0].size()), static_cast<int>(Rows.size()));
    for (int y = 0; y < b->Height(); ++y)
        for (int x = 0; x < b->Width(); ++x)
            b->SetPixelArgb(x, y, Rows[y][x] == '#' ? 0xFF000000u : Rows[y][x] == 'o' ? 0xFF010000u : 0xFFFFFFFFu);
    return b;
}

std::vector<RECT> Rects(const std::vector<uint8_t>& Data)
{
    RGNDATAHEADER h;
    std::memcpy(&h, Data.data(), 32);
    std::vector<RECT> r(h.nCount);
    std::memcpy(r.data(), Data.data() + 32, 16 * h.nCount);
    return r;
}

// The region as art over W x H: '#' inside.
std::string Art(HRGN Rgn, int W, int H)
{
    std::string s;
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) s += PtInRegion(Rgn, x, y) ? '#' : '.';
        s += '\n';
    }
    return s;
}

}  // namespace

TEST(MaskRegion, RowsOfTheDirectPixelBitmap)
{
    for (int w = 1; w <= 5; ++w) {
        auto m = Mask({std::string(w, '#'), std::string(w, '.')});
        TbsFBitmap f(m->Handle());
        const int strides[] = {4, 8, 12, 12, 16};
        EXPECT_EQ(f.RowInc, strides[w - 1]) << w;
        EXPECT_EQ(f.Size, 2 * strides[w - 1]);
        ASSERT_EQ(f.Pixels.size(), 2u);
        EXPECT_EQ(reinterpret_cast<uint8_t*>(f.Pixels[1]) - reinterpret_cast<uint8_t*>(f.Pixels[0]), f.RowInc);
        EXPECT_EQ(f.Pixels[1][w - 1].r, 255);
        EXPECT_EQ(f.Pixels[0][w - 1].r, 0);
        EXPECT_NE(f.hDC, nullptr);
    }
}

TEST(MaskRegion, BlackRunsBecomeRectangles)
{
    std::vector<uint8_t> data;
    auto m = Mask({".##.#", "#####", "..o..", "o#o#o"});
    int size = MaskToRegionData(m.get(), 10, 20, data);
    ASSERT_EQ(size, 32 + 16 * 5);
    RGNDATAHEADER h;
    std::memcpy(&h, data.data(), 32);
    EXPECT_EQ(h.dwSize, 32u);
    EXPECT_EQ(h.iType, 1u);
    EXPECT_EQ(h.nRgnSize, 0u);
    EXPECT_TRUE((h.rcBound == RECT{10, 20, 15, 24}));
    std::vector<RECT> expect = {
        {11, 20, 13, 21}, {14, 20, 15, 21}, {10, 21, 15, 22}, {11, 23, 12, 24}, {13, 23, 14, 24}};
    EXPECT_EQ(Rects(data), expect);
    TBitmap empty;
    EXPECT_EQ(MaskToRegionData(&empty, 0, 0, data), 0);
    EXPECT_TRUE(data.empty());
    HRGN none = reinterpret_cast<HRGN>(1);
    CreateMaskRegion(none, &empty);
    EXPECT_EQ(none, nullptr);
}

TEST(MaskRegion, EveryRunReachesTheRegionPastTheOldCapacity)
{
    // A 200 x 120 checkerboard: 12,000 runs.
    auto m = std::make_unique<TBitmap>();
    m->SetPixelFormat(pf24bit);
    m->SetSize(200, 120);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 200; ++x) m->SetPixelArgb(x, y, (x + y) % 2 ? 0xFFFFFFFFu : 0xFF000000u);
    HRGN rgn = nullptr;
    CreateMaskRegion(rgn, m.get());
    ASSERT_NE(rgn, nullptr);
    int inside = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 200; ++x) inside += PtInRegion(rgn, x, y) == ((x + y) % 2 == 0);
    EXPECT_EQ(inside, 200 * 120);
    DeleteObject(rgn);
}

TEST(MaskRegion, NinePartRegion)
{
    // A 6 x 6 mask with cut corners; client (2, 2, 4, 4), corner points at the client's corners.
    auto m = Mask({"..##..", ".####.", "######", "######", ".####.", "..##.."});
    // The top-left corner ends at x 3, the top-right one starts at 4.
    const TPoint lt{3, 2}, rt{4, 2}, lb{2, 4}, rb{4, 4};
    const TRect cl = Rect(2, 2, 4, 4);
    auto region = [&](int W, int H) {
        TPoint nrt{W - 2, 2}, nlb{2, H - 2}, nrb{W - 2, H - 2};
        TRect ncl = Rect(2, 2, W - 2, H - 2);
        HRGN rgn = reinterpret_cast<HRGN>(1);
        CreateSkinRegion(rgn, lt, rt, lb, rb, cl, lt, nrt, nlb, nrb, ncl, m.get(), W, H);
        return rgn;
    };
    HRGN r = region(9, 7);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(Art(r, 9, 7),
              "..#####..\n"
              ".#######.\n"
              "#########\n"
              "#########\n"
              "#########\n"
              ".#######.\n"
              "..#####..\n");
    DeleteObject(r);
    // Smaller than the corners (NewRTPoint.X one less than NewLTPoint.X): none; the two
    // equal: a region.
    EXPECT_EQ(region(4, 6), nullptr);
    r = region(5, 6);
    EXPECT_NE(r, nullptr);
    DeleteObject(r);
    // A bottom piece of no width (step 0) tiles nothing; the corners still shape the window.
    HRGN flat = nullptr;
    CreateSkinRegion(flat, lt, rt, Point(3, 4), Point(3, 4), cl, lt, Point(7, 2), Point(3, 5), Point(3, 5),
                     Rect(2, 2, 7, 5), m.get(), 9, 7);
    ASSERT_NE(flat, nullptr);
    EXPECT_FALSE(PtInRegion(flat, 0, 6));
    EXPECT_TRUE(PtInRegion(flat, 2, 6));
    DeleteObject(flat);
}

TEST(MaskRegion, NoTopBandKeepsTheOtherStrips)
{
    auto m = Mask({"#####", "#####", ".###."});
    const TRect cl = Rect(1, 0, 4, 2);
    const TPoint lt{1, 0}, rt{4, 0}, lb{1, 2}, rb{4, 2};
    HRGN rgn = nullptr;
    CreateSkinRegion(rgn, lt, rt, lb, rb, cl, lt, Point(7, 0), Point(1, 3), Point(7, 3), Rect(1, 0, 7, 3), m.get(), 8,
                     4);
    ASSERT_NE(rgn, nullptr);
    EXPECT_EQ(Art(rgn, 8, 4),
              "########\n"
              "########\n"
              "########\n"
              ".######.\n");
    DeleteObject(rgn);
}
