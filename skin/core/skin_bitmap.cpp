// TbsBitmap's life cycle, the registry of live bitmaps, pixel access, fills and alpha, the
// alpha and transparency checks and the conversions from and to the framework's pictures.
#include "skin/core/skin_bitmap.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/clipboard.h"
#include "platform/framework/graphics/picture.h"
#include "platform/win/gdi_api.h"

namespace {

// The bitmaps that own a DC, in the order they got one.
std::vector<TbsBitmap*>*& LiveBitmapList()
{
    static std::vector<TbsBitmap*>* list = nullptr;
    return list;
}

void Register(TbsBitmap* B)
{
    auto& list = LiveBitmapList();
    if (!list) list = new std::vector<TbsBitmap*>;
    if (std::find(list->begin(), list->end(), B) == list->end()) list->push_back(B);
}

void Unregister(TbsBitmap* B)
{
    auto& list = LiveBitmapList();
    if (!list) return;
    list->erase(std::remove(list->begin(), list->end(), B), list->end());
}

// Frees the list when the program ends, as the unit's finalisation did.
struct LiveBitmapListOwner {
    ~LiveBitmapListOwner()
    {
        delete LiveBitmapList();
        LiveBitmapList() = nullptr;
    }
} g_liveBitmapListOwner;

int g_failStep = 0;

bool Near(TbsColor A, TbsColor B)
{
    for (int shift = 0; shift < 24; shift += 8) {
        int a = (A >> shift) & 0xFF, b = (B >> shift) & 0xFF;
        if (std::abs(a - b) > 5) return false;
    }
    return true;
}

}  // namespace

TbsBitmap* FindBitmapByDC(HDC DC)
{
    auto* list = LiveBitmapList();
    if (!list || !DC) return nullptr;
    for (TbsBitmap* b : *list)
        if (b->DC() == DC) return b;
    return nullptr;
}

int LiveBitmapCount() { return LiveBitmapList() ? static_cast<int>(LiveBitmapList()->size()) : 0; }

void bs_testing::FailNextSetSize(int Step) { g_failStep = Step; }

TbsBitmap::TbsBitmap()
{
    FBitmapInfo.bmiHeader.biSize = 40;
    FBitmapInfo.bmiHeader.biPlanes = 1;
    FBitmapInfo.bmiHeader.biBitCount = 32;
    FBitmapInfo.bmiHeader.biCompression = BI_RGB;
}

TbsBitmap::~TbsBitmap()
{
    Unregister(this);
    if (FCanvas) FCanvas->SetHandle(nullptr);
    FCanvas.reset();
    FreeHandles();
}

void TbsBitmap::FreeHandles()
{
    if (FDC) DeleteDC(FDC);
    if (FHandle) DeleteObject(FHandle);
    FDC = nullptr;
    FHandle = nullptr;
    FBits = nullptr;
}

void TbsBitmap::SetSize(int AWidth, int AHeight)
{
    AWidth = std::abs(AWidth);
    AHeight = std::abs(AHeight);
    if (AWidth == 0 || AHeight == 0 || (AWidth == FWidth && AHeight == FHeight && FHandle)) return;
    int fail = g_failStep;
    g_failStep = 0;
    if (FCanvas) FCanvas->SetHandle(nullptr);
    FreeHandles();
    FWidth = 0;
    FHeight = 0;
    FBitmapInfo.bmiHeader.biWidth = AWidth;
    FBitmapInfo.bmiHeader.biHeight = -AHeight;
    void* bits = nullptr;
    FHandle = fail == 1 ? nullptr : CreateDIBSection(nullptr, &FBitmapInfo, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!FHandle || !bits) {
        FreeHandles();
        throw Exception(L"Can't allocate the DIB handle");
    }
    FDC = fail == 2 ? nullptr : CreateCompatibleDC(nullptr);
    if (!FDC) {
        FreeHandles();
        throw Exception(L"Can't create compatible DC");
    }
    if (fail == 3 || !SelectObject(FDC, FHandle)) {
        FreeHandles();
        throw Exception(L"Can't bslect an object into DC");
    }
    FBits = static_cast<PbsColorArray>(bits);
    Register(this);
    if (FCanvas) FCanvas->SetHandle(FDC);
    FWidth = AWidth;
    FHeight = AHeight;
}

TCanvas* TbsBitmap::Canvas()
{
    if (!FCanvas) {
        FCanvas = std::make_unique<TCanvas>();
        if (FDC) FCanvas->SetHandle(FDC);
    }
    return FCanvas.get();
}

TRect TbsBitmap::ClipToBitmap(const TRect& R) const
{
    TRect r = Rect(std::max(R.Left, 0), std::max(R.Top, 0), std::min(R.Right, FWidth), std::min(R.Bottom, FHeight));
    return r.IsEmpty() ? TRect{} : r;
}

void TbsBitmap::Clear(TbsColor Color)
{
    if (FBits) PixelRoutines.FillRow(FBits, FWidth * FHeight, Color);
}

void TbsBitmap::FillRect(const TRect& R, TbsColor Color)
{
    if (!FBits) return;
    TRect r = ClipToBitmap(R);
    if (r.IsEmpty()) return;
    if (FAlphaBlend) {
        std::vector<TbsColor> row(static_cast<size_t>(r.Width()), Color);
        for (int y = r.Top; y < r.Bottom; ++y) PixelRoutines.BlendRow(row.data(), PixelAddress(r.Left, y), r.Width());
        EndMMX();
    } else {
        PixelRoutines.FillRectPixels(FBits, FWidth, r.Left, r.Top, r.Right - 1, r.Bottom - 1, Color);
    }
}

void TbsBitmap::SetAlpha(uint8_t Alpha)
{
    if (FBits) PixelRoutines.SetRowAlpha(FBits, FWidth * FHeight, Alpha);
}

void TbsBitmap::SetAlpha(uint8_t Alpha, const TRect& R)
{
    if (!FBits || R.Width() == 0 || R.Height() == 0) return;
    TRect r = ClipToBitmap(R);
    if (r.IsEmpty()) return;
    PixelRoutines.SetRectAlpha(FBits, FWidth, r.Left, r.Top, r.Right - 1, r.Bottom - 1, Alpha);
}

void TbsBitmap::CheckRGBA()
{
    if (!FBits) return;
    for (int i = 0, n = FWidth * FHeight; i < n; ++i) {
        TbsColor c = FBits[i], a = c >> 24, r = c & 0xFF000000u;
        for (int shift = 0; shift < 24; shift += 8) r |= std::min((c >> shift) & 0xFF, a) << shift;
        FBits[i] = r;
    }
}

void TbsBitmap::CheckRGBA2()
{
    if (!FBits) return;
    for (int i = 0, n = FWidth * FHeight; i < n; ++i) {
        TbsColor c = FBits[i], a = c >> 24, r = c & 0xFF000000u;
        for (int shift = 0; shift < 24; shift += 8) {
            double v = static_cast<double>(a) * ((c >> shift) & 0xFF) / 255.0;
            r |= static_cast<TbsColor>(std::nearbyint(v)) << shift;
        }
        FBits[i] = r;
    }
}

void TbsBitmap::CheckingAlphaBlend() { CheckingAlphaBlend(Rect(0, 0, FWidth, FHeight)); }

void TbsBitmap::CheckingAlphaBlend(const TRect& ARect)
{
    FAlphaBlend = false;
    if (!FBits) return;
    TRect r = ClipToBitmap(ARect);
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            TbsColor a = *PixelAddress(x, y) >> 24;
            if (a != 0 && a != 255) {
                FAlphaBlend = true;
                return;
            }
        }
}

void TbsBitmap::CheckingTransparent(TbsColor Color) { CheckingTransparent(Rect(0, 0, FWidth, FHeight), Color); }

void TbsBitmap::CheckingTransparent(const TRect& ARect, TbsColor Color)
{
    FTransparent = false;
    if (!FBits) return;
    TRect r = ClipToBitmap(ARect);
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            TbsColor* p = PixelAddress(x, y);
            if (Near(*p, Color)) {
                *p = bsTransparentPixel;
                FTransparent = true;
            }
        }
}

void TbsBitmap::SetPixel(int X, int Y, TbsColor Color)
{
    if (FBits && X >= 0 && X < FWidth && Y >= 0 && Y < FHeight) *PixelAddress(X, Y) = Color;
}

TbsColor TbsBitmap::Pixel(int X, int Y) const
{
    if (FBits && X >= 0 && X < FWidth && Y >= 0 && Y < FHeight) return *PixelAddress(X, Y);
    return 0;
}

void TbsBitmap::Assign(TPersistent* Source)
{
    if (auto* src = dynamic_cast<TbsBitmap*>(Source)) {
        if (src == this) return;
        if (src->Empty()) {
            // An empty source empties this bitmap: nothing of the old picture may stay behind.
            if (FCanvas) FCanvas->SetHandle(nullptr);
            Unregister(this);
            FreeHandles();
            FWidth = FHeight = 0;
        } else {
            SetSize(src->Width(), src->Height());
            PixelRoutines.CopyRow(src->Bits(), FBits, FWidth * FHeight);
        }
        FName = src->Name();
        FTransparent = src->Transparent();
        FAlphaBlend = src->AlphaBlend();
        return;
    }
    if (auto* pic = dynamic_cast<TPicture*>(Source)) {
        TGraphic* g = pic->Graphic();
        if (auto* bmp = dynamic_cast<TBitmap*>(g)) {
            SetSize(bmp->Width(), bmp->Height());
            if (!Empty()) {
                BitBlt(FDC, 0, 0, FWidth, FHeight, bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
                SetAlpha(255);
            }
        } else if (g) {
            Assign(g);
        }
        return;
    }
    if (auto* bmp = dynamic_cast<TBitmap*>(Source)) {
        SetSize(bmp->Width(), bmp->Height());
        if (Empty() || bmp->Empty()) return;
        if (bmp->PixelFormat() == pf32bit && bmp->HandleType() == bmDIB) {
            for (int y = 0; y < FHeight; ++y)
                PixelRoutines.CopyRow(static_cast<const TbsColor*>(bmp->ScanLine(y)), ScanLineAddress(y), FWidth);
            CheckingAlphaBlend();
        } else {
            BitBlt(FDC, 0, 0, FWidth, FHeight, bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
            SetAlpha(255);
        }
        return;
    }
    if (auto* g = dynamic_cast<TGraphic*>(Source)) {
        SetSize(g->Width(), g->Height());
        if (Empty() || g->Empty()) return;
        DrawGraphic(g, Rect(0, 0, FWidth, FHeight));
        SetAlpha(255);
        return;
    }
    TPersistent::Assign(Source);
}

namespace {

// A 32-bit framework bitmap holding B drawn at (0, 0).
std::unique_ptr<TBitmap> FrameworkCopy(TbsBitmap* B)
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetPixelFormat(pf32bit);
    bmp->SetSize(B->Width(), B->Height());
    if (!bmp->Empty()) B->Draw(bmp->Canvas(), 0, 0);
    return bmp;
}

}  // namespace

void TbsBitmap::AssignTo(TPersistent* Dest)
{
    if (auto* pic = dynamic_cast<TPicture*>(Dest)) {
        pic->SetBitmap(FrameworkCopy(this).get());
    } else if (auto* bmp = dynamic_cast<TBitmap*>(Dest)) {
        bmp->SetPixelFormat(pf32bit);
        bmp->SetSize(FWidth, FHeight);
        if (!bmp->Empty()) Draw(bmp->Canvas(), 0, 0);
    } else if (auto* clip = dynamic_cast<TClipboard*>(Dest)) {
        clip->Assign(FrameworkCopy(this).get());
    } else {
        TPersistent::AssignTo(Dest);
    }
}

void TbsBitmap::DrawGraphic(TGraphic* Graphic, const TRect& DstRect)
{
    if (!Graphic || Empty()) return;
    TBitmap tmp;
    tmp.SetPixelFormat(pf32bit);
    tmp.SetSize(FWidth, FHeight);
    TCanvas* c = tmp.Canvas();
    c->Brush()->SetColor(clFuchsia);
    c->Pen()->SetColor(clFuchsia);
    c->Rectangle(-1, -1, FWidth + 1, FHeight + 1);
    c->StretchDraw(DstRect, Graphic);
    for (int y = 0; y < FHeight; ++y) {
        const auto* row = static_cast<const TbsColor*>(tmp.ScanLine(y));
        for (int x = 0; x < FWidth; ++x)
            if ((row[x] & 0xFFFFFF) != 0xFF00FF) SetPixel(x, y, row[x]);
    }
}
