#include "skin/core/png_image_list.h"

#include <cmath>

#include "platform/framework/core/format.h"

// ---- items ----

TbsPngImageItem::TbsPngImageItem(TCollection* Collection)
    : TCollectionItem(Collection), FPngImage(std::make_unique<TbsPngImage>())
{
    FName = Format(L"PngImage%d", Index());
    if (TbsPngImageList* list = List()) InsertBlankImage(list, Index());
}

TbsPngImageItem::~TbsPngImageItem()
{
    FPngImage.reset();
    if (TbsPngImageList* list = List())
        if (Index() >= 0 && Index() < list->Count()) DeleteBlankImage(list, Index());
}

TbsPngImageList* TbsPngImageItem::List() const
{
    return Collection() ? dynamic_cast<TbsPngImageList*>(Collection()->GetOwner()) : nullptr;
}

void TbsPngImageItem::Assign(TPersistent* Source)
{
    if (auto* src = dynamic_cast<TbsPngImageItem*>(Source)) {
        FPngImage->Assign(src->FPngImage.get());
        FName = src->FName;
        Changed(false);
        return;
    }
    TCollectionItem::Assign(Source);
}

String TbsPngImageItem::DisplayName() const { return FName.empty() ? TCollectionItem::DisplayName() : FName; }

void TbsPngImageItem::SetPngImage(TPngImage* Value)
{
    FPngImage->Assign(Value);
    Changed(false);
}

TbsPngImageItems::TbsPngImageItems(TbsPngImageList* AOwner)
    : TCollection([](TCollection* c) { return new TbsPngImageItem(c); }, AOwner), FPngImageList(AOwner)
{}

// ---- the list ----

TbsPngImageList::TbsPngImageList(TComponent* AOwner)
    : TCustomImageList(AOwner), FPngImages(std::make_unique<TbsPngImageItems>(this))
{}

TbsPngImageList::~TbsPngImageList() { FPngImages.reset(); }

void TbsPngImageList::SetPngWidth(int Value)
{
    if (Value == Width()) return;
    SetWidth(Value);
    Resized();
}

void TbsPngImageList::SetPngHeight(int Value)
{
    if (Value == Height()) return;
    SetHeight(Value);
    Resized();
}

void TbsPngImageList::Resized()
{
    if (ComponentState() & csLoading) {
        // The image list dropped its images with the size: the items read so far get theirs back.
        while (Count() < FPngImages->Count()) InsertBlankImage(this, Count());
    } else {
        FPngImages->Clear();
    }
}

void TbsPngImageList::DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT, bool Enabled)
{
    if (Index < 0 || Index >= FPngImages->Count()) return;
    DrawPngImage(FPngImages->Items(Index)->PngImage(), Canvas, Bounds(X, Y, Width(), Height()), Enabled);
}

// ---- helpers ----

void InsertBlankImage(TCustomImageList* List, int Index)
{
    TBitmap blank;
    blank.SetPixelFormat(pf1bit);
    blank.SetSize(List->Width(), List->Height());
    List->Insert(Index, &blank, nullptr);
}

void DeleteBlankImage(TCustomImageList* List, int Index) { List->Delete(Index); }

void DrawPngImage(TPngImage* Png, TCanvas* Canvas, const TRect& R, bool Enabled)
{
    if (!Png || Png->Empty()) return;
    if (Enabled) {
        Png->Draw(Canvas, R);
        return;
    }
    TbsPngImage copy;
    copy.Assign(Png);
    MakePngTranslucent(&copy, 127);
    copy.Draw(Canvas, R);
}

void MakePngTranslucent(TPngImage* Png, int Opacity)
{
    if (!Png || Png->Empty()) return;
    const bool bitTrans = Png->TransparencyMode() == ptmBit;
    const TColor transColor = Png->TransparentColor();
    const int w = Png->Width(), h = Png->Height();
    auto transparentAt = [&](const TPngImage& P, int x, int y) { return bitTrans && P.Pixels(x, y) == transColor; };
    switch (Png->Header().ColorType) {
    case COLOR_GRAYSCALE:
    case COLOR_PALETTE: {
        TBitmap empty;
        empty.SetPixelFormat(pf24bit);
        empty.SetSize(w, h);
        TbsPngImage n;
        n.Assign(&empty);
        n.CreateAlpha();
        for (int y = 0; y < h; ++y) {
            uint8_t* alpha = n.AlphaScanline(y);
            for (int x = 0; x < w; ++x) {
                n.SetPixels(x, y, Png->Pixels(x, y));
                alpha[x] = transparentAt(*Png, x, y) ? 0 : static_cast<uint8_t>(Opacity);
            }
        }
        Png->Assign(&n);
        return;
    }
    case COLOR_RGB: Png->CreateAlpha(); break;
    default: break;
    }
    for (int y = 0; y < h; ++y) {
        uint8_t* alpha = Png->AlphaScanline(y);
        if (!alpha) return;
        for (int x = 0; x < w; ++x)
            alpha[x] =
                transparentAt(*Png, x, y) ? 0 : static_cast<uint8_t>(std::nearbyint(alpha[x] / 256.0 * (Opacity + 1)));
    }
}

void CopyPngToBitmap(TbsBitmap* Bmp, TPngImage* Png)
{
    if (!Bmp || !Png || Png->Empty()) return;
    Bmp->SetSize(Png->Width(), Png->Height());
    for (int y = 0; y < Bmp->Height(); ++y) {
        const uint8_t* alpha = Png->AlphaScanline(y);
        for (int x = 0; x < Bmp->Width(); ++x) {
            uint32_t c = static_cast<uint32_t>(Png->Pixels(x, y));
            TbsColor a = alpha ? alpha[x] : 255;
            Bmp->SetPixel(x, y, (a << 24) | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
        }
    }
    Bmp->CheckingAlphaBlend();
}
