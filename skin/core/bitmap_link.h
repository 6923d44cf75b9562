// TbsBitmapLink: a named rectangle inside a TbsBitmap (a skin element cut out of a larger
// picture) that draws itself, streams itself and finds whether its corners, edges or centre
// hold masked pixels, so a caller can pick plain or masked drawing per part.
#pragma once

#include "platform/framework/core/component.h"
#include "platform/framework/core/streams.h"
#include "skin/core/skin_bitmap.h"

class TbsBitmapLink : public TPersistent {
public:
    TbsBitmapLink() = default;
    void Assign(TPersistent* Source) override;
    // Name, then Left, Top, Right, Bottom as int32; the image and the flags are not stored.
    void LoadFromStream(TStream& Stream);
    void SaveToStream(TStream& Stream);
    void Draw(TbsBitmap* Bitmap, int X, int Y);
    void Draw(TCanvas* Canvas, int X, int Y);
    // Margins as widths (Left, Top, Right, Bottom); all 0 tests the whole rectangle.
    void CheckingMasked(const TRect& Margin);
    void CheckingMasked() { CheckingMasked(TRect{}); }

    // Image set and width x height above 0 (two negative sides count).
    bool Assigned() const { return FImage && static_cast<long long>(FRect.Width()) * FRect.Height() > 0; }
    TbsBitmap* Image() const { return FImage; }
    void SetImage(TbsBitmap* Value) { FImage = Value; }
    const TRect& Rect() const { return FRect; }
    void SetRect(const TRect& Value) { FRect = Value; }
    const String& Name() const { return FName; }
    void SetName(const String& Value) { FName = Value; }
    bool Masked() const { return FMasked; }
    bool MaskedBorder() const { return FMaskedBorder; }
    bool MaskedAngles() const { return FMaskedAngles; }
    int Left() const { return FRect.Left; }
    int Top() const { return FRect.Top; }
    int Right() const { return FRect.Right; }
    int Bottom() const { return FRect.Bottom; }
    void SetLeft(int V) { FRect.Left = V; }
    void SetTop(int V) { FRect.Top = V; }
    void SetRight(int V) { FRect.Right = V; }
    void SetBottom(int V) { FRect.Bottom = V; }

private:
    bool Drawable() const;
    bool IsMaskedPixel(int X, int Y) const;

    TbsBitmap* FImage = nullptr;  // not owned
    TRect FRect;
    String FName;
    bool FMaskedBorder = false;
    bool FMaskedAngles = false;
    bool FMasked = false;
};

// Four integers (left, top, right, bottom) separated by blanks, parentheses, commas, colons,
// semicolons or equals signs; Rect(0, 0, 0, 0) when any is not a number.
TRect ParseRectString(const String& S);
