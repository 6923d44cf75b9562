#include "skin/core/bitmap_link.h"

#include <cwctype>

#include "skin/core/name_stream.h"

namespace {

bool IsSeparator(wchar_t C)
{
    return C == L' ' || C == L'(' || C == L')' || C == L',' || C == L':' || C == L';' || C == L'=';
}

String Trimmed(const String& S)
{
    size_t a = 0, b = S.size();
    while (a < b && S[a] <= L' ') ++a;
    while (b > a && S[b - 1] <= L' ') --b;
    return S.substr(a, b - a);
}

// Takes characters up to and including the first separator; the token and the rest trimmed.
String NextRectToken(String& S)
{
    size_t i = 0;
    while (i < S.size() && !IsSeparator(S[i])) ++i;
    String token = S.substr(0, i);
    S = Trimmed(i < S.size() ? S.substr(i + 1) : String());
    return Trimmed(token);
}

bool ToInt(const String& S, int& V)
{
    if (S.empty()) return false;
    try {
        size_t used = 0;
        long long v = std::stoll(S, &used, 10);
        if (used != S.size() || v < INT32_MIN || v > INT32_MAX) return false;
        V = static_cast<int>(v);
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace

TRect ParseRectString(const String& S)
{
    String rest = S;
    int v[4];
    for (int& x : v)
        if (!ToInt(NextRectToken(rest), x)) return TRect{};
    return ::Rect(v[0], v[1], v[2], v[3]);
}

void TbsBitmapLink::Assign(TPersistent* Source)
{
    auto* src = dynamic_cast<TbsBitmapLink*>(Source);
    if (!src) return TPersistent::Assign(Source);
    FImage = src->FImage;
    FRect = src->FRect;
    FName = src->FName;
    FMasked = src->FMasked;
    FMaskedBorder = src->FMaskedBorder;
    FMaskedAngles = src->FMaskedAngles;
}

void TbsBitmapLink::LoadFromStream(TStream& Stream)
{
    String name = ReadStreamName(Stream);
    int32_t r[4];
    Stream.ReadBuffer(r, sizeof(r));
    FName = name;
    FRect = ::Rect(r[0], r[1], r[2], r[3]);
}

void TbsBitmapLink::SaveToStream(TStream& Stream)
{
    WriteStreamName(Stream, FName);
    int32_t r[4] = {FRect.Left, FRect.Top, FRect.Right, FRect.Bottom};
    Stream.WriteBuffer(r, sizeof(r));
}

bool TbsBitmapLink::Drawable() const { return FImage && !FImage->Empty() && FRect.Width() > 0 && FRect.Height() > 0; }

void TbsBitmapLink::Draw(TbsBitmap* Bitmap, int X, int Y)
{
    if (Drawable()) FImage->Draw(Bitmap, X, Y, FRect);
}

void TbsBitmapLink::Draw(TCanvas* Canvas, int X, int Y)
{
    if (Drawable()) FImage->Draw(Canvas, X, Y, FRect);
}

bool TbsBitmapLink::IsMaskedPixel(int X, int Y) const
{
    TbsColor c = FImage ? FImage->Pixel(X, Y) : 0;
    return c != 0x33333333 && (c == bsTransparentPixel || (c >> 24) < 255);
}

void TbsBitmapLink::CheckingMasked(const TRect& Margin)
{
    FMasked = FMaskedBorder = FMaskedAngles = false;
    if (Margin == TRect{}) {
        for (int x = FRect.Left; x < FRect.Right && !FMasked; ++x)
            for (int y = FRect.Top; y < FRect.Bottom; ++y)
                if (IsMaskedPixel(x, y)) {
                    FMasked = true;
                    break;
                }
        return;
    }
    const int ml = Margin.Left, mt = Margin.Top, mr = Margin.Right, mb = Margin.Bottom;
    const int w = FRect.Width(), h = FRect.Height();
    const TRect angles[] = {::Rect(0, 0, ml, mt), ::Rect(w - mr, 0, w, mt), ::Rect(w - mr, h - mb, w, h),
                            ::Rect(0, h - mb, ml, h)};
    const TRect borders[] = {::Rect(ml, 0, w - mr, mt), ::Rect(ml, h - mb, w - mr, h), ::Rect(0, mt, ml, h - mb),
                             ::Rect(w - mr, mt, w, h - mb)};
    const TRect centre = ::Rect(ml, mt, w - mr, h - mb);
    for (int x = FRect.Left; x < FRect.Right; ++x)
        for (int y = FRect.Top; y < FRect.Bottom; ++y) {
            if (!IsMaskedPixel(x, y)) continue;
            TPoint p = Point(x - FRect.Left, y - FRect.Top);
            for (auto& r : angles)
                if (PtInRect(r, p)) FMaskedAngles = true;
            for (auto& r : borders)
                if (PtInRect(r, p)) FMaskedBorder = true;
            if (PtInRect(centre, p)) FMasked = true;
        }
}

TbsBitmapLink* TbsBitmap::GetBitmapLink(const TRect& R)
{
    auto* link = new TbsBitmapLink;
    link->SetImage(this);
    link->SetName(FName);
    link->SetRect(R);
    return link;
}

TbsBitmapLink* TbsBitmap::GetBitmapLink(const String& R) { return GetBitmapLink(ParseRectString(R)); }
