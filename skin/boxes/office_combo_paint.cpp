// The office combo's looks: built-in, skinned at any height (the "resize" pieces), skinned at the
// skin's own height (UseSkinSize) and the tool-button look, each composed in bitmaps.
#include <algorithm>

#include "skin/boxes/office_combo_box.h"
#include "skin/core/button_records.h"
#include "skin/core/edit_list_records.h"
#include "skin/core/marks.h"
#include "skin/core/skin_image.h"
#include "skin/core/text_layout.h"
#include "skin/core/window_records.h"

namespace {

const TColor kFrameBlue = RGB(59, 107, 183);
const TColor kDownFill = RGB(162, 188, 228);
const TColor kHotFill = RGB(193, 212, 243);

template <class T>
T* FindRecord(TbsSkinData* SD, const String& Name)
{
    if (!SD || SD->Empty) return nullptr;
    const int i = SD->GetControlIndex(Name);
    if (i < 0 || i >= static_cast<int>(SD->CtrlList.size())) return nullptr;
    return dynamic_cast<T*>(SD->CtrlList[static_cast<size_t>(i)]);
}

TbsDataSkinButtonControl* FirstButtonRecord(TbsSkinData* SD, std::initializer_list<const wchar_t*> Names)
{
    for (const wchar_t* n : Names)
        if (auto* r = FindRecord<TbsDataSkinButtonControl>(SD, n)) return r;
    return nullptr;
}

TBitmap* PictureOf(TbsSkinData* SD, int Index)
{
    if (!SD || Index < 0 || Index >= static_cast<int>(SD->FActivePictures.size())) return nullptr;
    return SD->FActivePictures[static_cast<size_t>(Index)];
}

void FrameAndFill(TCanvas* C, const TRect& R, TColor Frame, TColor Fill)
{
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Frame);
    C->FrameRect(R);
    C->Brush()->SetColor(Fill);
    C->FillRect(Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1));
}

// A marker picture cut out of Pic, keyed by Transparent, centred in Area (Dy lower).
void DrawMarker(TCanvas* C, TBitmap* Pic, const TRect& Src, TColor Transparent, const TRect& Area, int Dy)
{
    if (!Pic || IsNullRect(Src)) return;
    TBitmap m(RectWidth(Src), RectHeight(Src));
    m.Canvas()->CopyRect(Rect(0, 0, m.Width(), m.Height()), Pic->Canvas(), Src);
    m.SetTransparentColor(Transparent);
    m.SetTransparent(true);
    C->Draw(Area.Left + RectWidth(Area) / 2 - m.Width() / 2, Area.Top + RectHeight(Area) / 2 - m.Height() / 2 + Dy, &m);
}

}  // namespace

TbsSkinOfficeItem* TbsSkinCustomOfficeComboBox::FaceItem() const
{
    const int i = FListBox->Visible() ? FOldItemIndex : FListBox->ItemIndex();
    if (i < 0 || i >= FListBox->Items()->Count()) return nullptr;
    return FListBox->Items()->Items(i);
}

void TbsSkinCustomOfficeComboBox::DrawFaceContent(TCanvas* C, TRect T, bool WithTitle)
{
    TbsSkinOfficeItem* item = FaceItem();
    if (!item) return;
    const String& caption = FFaceText ? *FFaceText : item->Caption();
    if (OnDrawItem) {
        C->Brush()->SetStyle(bsClear);
        OnDrawItem(C, item->Index(), T);
        return;
    }
    C->Brush()->SetStyle(bsClear);
    if (WithTitle && FShowItemText && FShowItemTitle && !item->Title().empty()) {
        const TFontStyles style = C->Font()->Style();
        C->Font()->SetStyle(TFontStyles(style).Include(fsBold));
        TRect r = Rect(T.Left, T.Top, T.Right, T.Top + C->TextHeight(item->Title()));
        TRect d = r;
        DrawWideText(C, item->Title(), d, 0);
        C->Font()->SetStyle(style);
        T.Top = r.Bottom - 2;
    }
    // The face holds one line: a caption too long for it ends with an ellipsis instead of
    // breaking onto a second line that the face would cut at top and bottom.
    String line = caption;
    if (FShowItemImage) {
        TCustomImageList* images = Images();
        const int i = item->ImageIndex();
        const int glyph = images && i >= 0 && i < images->Count() ? images->Width() + 2 : 0;
        if (FShowItemText) FitWideTextToWidth(C, line, RectWidth(T) - glyph - 2);
        DrawImageAndTextLeft(C, T, 0, 2, blGlyphLeft, FShowItemText ? line : String(), i, images, false, Enabled(),
                             false, 0);
    } else if (FShowItemText) {
        FitWideTextToWidth(C, line, RectWidth(T) - 4);
        DrawClippedText(C, line, T);
    }
}

// ---- faces ----

void TbsSkinCustomOfficeComboBox::DrawDefaultItem(TCanvas* C)
{
    const TRect& r = CBItem.R;
    if (RectWidth(r) <= 0 || RectHeight(r) <= 0) return;
    TBitmap b(RectWidth(r), RectHeight(r));
    TCanvas* c = b.Canvas();
    c->Font()->SetName(Font()->Name());
    c->Font()->SetStyle(Font()->Style());
    c->Font()->SetHeight(Font()->Height());
    c->Font()->SetCharset(SkinCharset(FDefaultFont->Charset()));
    const bool focused = Focused();
    c->Brush()->SetColor(focused ? clHighlight : FDefaultColor);
    c->FillRect(Rect(0, 0, b.Width(), b.Height()));
    c->Font()->SetColor(focused ? clHighlightText : FDefaultFont->Color());
    CBItem.Focused = focused;
    DrawFaceContent(c, Rect(2, 0, b.Width() - 2, b.Height()), true);
    C->Draw(r.Left, r.Top, &b);
}

void TbsSkinCustomOfficeComboBox::DrawResizeSkinItem(TCanvas* C)
{
    const TRect& r = CBItem.R;
    if (RectWidth(r) < 1 || RectHeight(r) < 1) return;
    TBitmap b(RectWidth(r), RectHeight(r));
    TCanvas* c = b.Canvas();
    const bool focused = Focused();
    const bool hot = FMouseIn && !focused && !IsNullRect(ActiveItemRect) && !IsNullRect(ActiveSkinRect);
    // Margins for a look of another size than the normal item rectangle.
    auto margins = [&](const TRect& Look, int Shrink) {
        TRect m = Rect(ItemTextRect.Left + Shrink, ItemTextRect.Top + Shrink, ItemTextRect.Right - Shrink,
                       ItemTextRect.Bottom - Shrink);
        m.Right -= RectWidth(SItemRect) - RectWidth(Look);
        m.Top -= RectHeight(SItemRect) - RectHeight(Look);
        return m;
    };
    auto copyBehind = [&] { c->CopyRect(Rect(0, 0, b.Width(), b.Height()), C, r); };
    if (focused) {
        if (!IsNullRect(FocusItemRect) && Picture)
            CreateStretchImage(&b, Picture, FocusItemRect, margins(FocusItemRect, 1), true);
        else
            copyBehind();
    } else if (hot && Picture) {
        CreateStretchImage(&b, Picture, ActiveItemRect, margins(ActiveItemRect, 0), true);
    } else if (!IsNullRect(SItemRect) && Picture) {
        CreateStretchImage(&b, Picture, SItemRect, ItemTextRect, true);
    } else {
        copyBehind();
    }
    TRect t = ItemTextRect;
    t.Right += RectWidth(r) - RectWidth(IsNullRect(SItemRect) ? ClRect : SItemRect);
    t.Bottom += Height() - RectHeight(SkinRect);
    if (FUseSkinFont) {
        c->Font()->SetName(FontName);
        c->Font()->SetStyle(FontStyle);
        c->Font()->SetHeight(FontHeight);
    } else {
        c->Font()->Assign(FDefaultFont);
    }
    c->Font()->SetCharset(SkinCharset(FDefaultFont->Charset()));
    c->Font()->SetColor(focused                                   ? FocusFontColor
                        : FMouseIn && !IsNullRect(ActiveSkinRect) ? ActiveFontColor
                                                                  : FontColor);
    if (focused && ShowFocus) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(FSD->SkinColors()->cBtnFace());
        c->DrawFocusRect(Rect(0, 0, b.Width(), b.Height()));
    }
    t.Left += 1;
    DrawFaceContent(c, t, true);
    C->Draw(r.Left, r.Top, &b);
}

void TbsSkinCustomOfficeComboBox::DrawSkinItem(TCanvas* C)
{
    const TRect& r = CBItem.R;
    if (RectWidth(r) < 1) return;
    const int h = RectHeight(SItemRect) != 0 ? RectHeight(SItemRect) : RectHeight(FocusItemRect);
    if (h <= 0) return;
    TBitmap b(RectWidth(r), h);
    TCanvas* c = b.Canvas();
    const bool focused = Focused();
    const bool hot = FMouseIn && !focused && !IsNullRect(ActiveItemRect) && !IsNullRect(ActiveSkinRect);
    const TRect look = focused ? FocusItemRect : hot ? ActiveItemRect : SItemRect;
    if (!IsNullRect(look) && Picture)
        CreateHSkinImage(ItemLeftOffset, ItemRightOffset, &b, Picture, look, b.Width(), h,
                         focused ? FocusItemStretchEffect : ItemStretchEffect);
    else
        c->CopyRect(Rect(0, 0, b.Width(), b.Height()), C, Rect(r.Left, r.Top, r.Right, r.Top + h));
    TRect t = ItemTextRect;
    t.Right += RectWidth(r) - RectWidth(IsNullRect(SItemRect) ? ClRect : SItemRect);
    if (FUseSkinFont) {
        c->Font()->SetName(FontName);
        c->Font()->SetStyle(FontStyle);
        c->Font()->SetHeight(FontHeight);
    } else {
        c->Font()->Assign(FDefaultFont);
    }
    c->Font()->SetCharset(SkinCharset(FDefaultFont->Charset()));
    TColor color = focused ? FocusFontColor : FMouseIn && !IsNullRect(ActiveSkinRect) ? ActiveFontColor : FontColor;
    if (!Enabled()) {
        auto* edit = FindRecord<TbsDataSkinEditControl>(FSD, L"edit");
        color = edit ? edit->DisabledFontColor : clGrayText;
    }
    c->Font()->SetColor(color);
    DrawFaceContent(c, t, false);
    C->Draw(r.Left, r.Top, &b);
}

// ---- buttons ----

void TbsSkinCustomOfficeComboBox::DrawButton(TCanvas* C)
{
    const bool pressed = Button.Down && Button.MouseIn;
    if (FIndex == -1) {
        if (pressed)
            FrameAndFill(C, Button.R, kFrameBlue, kDownFill);
        else if (Button.MouseIn)
            FrameAndFill(C, Button.R, kFrameBlue, kHotFill);
        else
            FrameAndFill(C, Button.R, clBtnShadow, clBtnFace);
        DrawArrowImage(C, Button.R, Enabled() ? clBlack : clBtnShadow, 4);
        return;
    }
    TRect src{};
    if (!Enabled() && !IsNullRect(UnEnabledButtonRect))
        src = UnEnabledButtonRect;
    else if (pressed)
        src = DownButtonRect;
    else if (Button.MouseIn)
        src = ActiveButtonRect;
    if (IsNullRect(src) || !Picture) return;
    C->CopyRect(Button.R, Picture->Canvas(), src);
}

void TbsSkinCustomOfficeComboBox::DrawResizeButton(TCanvas* C)
{
    auto* r = FirstButtonRecord(FSD, {L"combobutton", L"editbutton", L"resizebutton"});
    if (!r || RectWidth(Button.R) <= 0 || RectHeight(Button.R) <= 0) return;
    TBitmap* pic = PictureOf(FSD, r->PictureIndex);
    const bool pressed = Button.Down && Button.MouseIn;
    const bool hot = Button.MouseIn;
    const TRect hotLook = IsNullRect(r->ActiveSkinRect) ? r->SkinRect : r->ActiveSkinRect;
    TRect src = r->SkinRect;
    if (pressed)
        src = IsNullRect(r->DownSkinRect) ? hotLook : r->DownSkinRect;
    else if (hot)
        src = hotLook;
    TBitmap b;
    if (pic)
        ComposeButtonLook(*r, pic, src, RectWidth(Button.R), RectHeight(Button.R), &b);
    else
        b.SetSize(RectWidth(Button.R), RectHeight(Button.R));
    TCanvas* c = b.Canvas();
    if (IsNullRect(r->MenuMarkerRect)) {
        if (Enabled())
            DrawArrowImage(c, Rect(0, pressed ? 2 : 0, b.Width(), b.Height()),
                           pressed ? r->DownFontColor
                           : hot   ? r->ActiveFontColor
                                   : r->FontColor,
                           4);
    } else {
        TRect m = r->MenuMarkerRect;
        if (pressed && !IsNullRect(r->MenuMarkerDownRect))
            m = r->MenuMarkerDownRect;
        else if (!hot)
            m = r->MenuMarkerRect;
        else if (!IsNullRect(r->MenuMarkerActiveRect))
            m = r->MenuMarkerActiveRect;
        DrawMarker(c, Picture ? Picture : pic, m, r->MenuMarkerTransparentColor, Rect(0, 0, b.Width(), b.Height()),
                   pressed ? 1 : 0);
    }
    C->Draw(Button.R.Left, Button.R.Top, &b);
}

void TbsSkinCustomOfficeComboBox::DrawDefaultToolButton(TCanvas* C)
{
    const TRect all = Rect(0, 0, Width(), Height());
    if (FDropDown)
        FrameAndFill(C, all, kFrameBlue, kDownFill);
    else if (FMouseIn || Focused())
        FrameAndFill(C, all, kFrameBlue, kHotFill);
    else
        FrameAndFill(C, all, clBtnShadow, clBtnFace);
    C->Font()->Assign(FDefaultFont);
    DrawFaceContent(C, Rect(2, 2, Width() - 17, Height() - 2), true);
    DrawDropDownArrow(C, Rect(Width() - 15, 0, Width(), Height()), C->Font()->Color());
}

void TbsSkinCustomOfficeComboBox::DrawSkinToolButton(TCanvas* C)
{
    auto* r = FirstButtonRecord(FSD, {L"resizetoolbutton", L"resizebutton"});
    if (!r) return;
    TBitmap* pic = PictureOf(FSD, r->PictureIndex);
    const bool hot = FMouseIn || Focused();
    TRect src = FDropDown ? r->DownSkinRect : hot ? r->ActiveSkinRect : r->SkinRect;
    if (IsNullRect(src)) src = r->SkinRect;
    if (pic) {
        TBitmap b;
        ComposeButtonLook(*r, pic, src, Width(), Height(), &b);
        C->Draw(0, 0, &b);
    }
    if (FUseSkinFont) {
        C->Font()->SetName(r->FontName);
        C->Font()->SetStyle(r->FontStyle);
        C->Font()->SetHeight(r->FontHeight);
    } else {
        C->Font()->Assign(FDefaultFont);
    }
    C->Font()->SetCharset(SkinCharset(FDefaultFont->Charset()));
    C->Font()->SetColor(FDropDown   ? r->DownFontColor
                        : hot       ? r->ActiveFontColor
                        : Enabled() ? r->FontColor
                                    : r->DisabledFontColor);
    DrawFaceContent(C, Rect(3, 2, Width() - 17, Height() - 2), true);
    const TRect area = Rect(Width() - 15, 0, Width(), Height());
    if (!IsNullRect(r->MenuMarkerRect)) {
        TRect m = r->MenuMarkerRect;
        if (FDropDown && !IsNullRect(r->MenuMarkerDownRect))
            m = r->MenuMarkerDownRect;
        else if (!hot && !FDropDown)
            m = r->MenuMarkerRect;
        else if (!IsNullRect(r->MenuMarkerActiveRect))
            m = r->MenuMarkerActiveRect;
        DrawMarker(C, Picture ? Picture : pic, m, r->MenuMarkerTransparentColor, area, 0);
    } else {
        DrawDropDownArrow(C, area, FDropDown ? r->DownFontColor : C->Font()->Color());
    }
}

// ---- the whole control ----

void TbsSkinCustomOfficeComboBox::CreateControlDefaultImage(TBitmap* B)
{
    CalcRects();
    TCanvas* c = B->Canvas();
    if (FToolButtonStyle) {
        DrawDefaultToolButton(c);
        return;
    }
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(Rect(0, 0, B->Width(), B->Height()));
    FrameAndFill(c, Rect(0, 0, B->Width(), B->Height()), clBtnShadow, FDefaultColor);
    DrawButton(c);
    if (FFaceText) {
        c->Font()->Assign(FDefaultFont);
        c->Brush()->SetStyle(bsClear);
        DrawClippedText(c, *FFaceText, CBItem.R);
        return;
    }
    DrawDefaultItem(c);
}

void TbsSkinCustomOfficeComboBox::CreateControlSkinImage(TBitmap* B)
{
    CalcRects();
    TCanvas* c = B->Canvas();
    if (FToolButtonStyle) {
        DrawSkinToolButton(c);
        return;
    }
    const bool hot = !IsNullRect(ActiveSkinRect) && (FMouseIn || Focused());
    if (!FUseSkinSize) {
        if (Picture) CreateStretchImage(B, Picture, hot ? ActiveSkinRect : SkinRect, ClRect, true);
    } else if (!hot) {
        TbsSkinCustomControl::CreateControlSkinImage(B);
    } else if (Picture) {
        CreateHSkinImage(LTPt.X, RectWidth(ActiveSkinRect) - RTPt.X, B, Picture, ActiveSkinRect, Width(), Height(),
                         StretchEffect);
    }
    if (FUseSkinSize)
        DrawButton(c);
    else
        DrawResizeButton(c);
    if (FFaceText) {
        c->Font()->SetName(FontName);
        c->Font()->SetStyle(FontStyle);
        c->Font()->SetHeight(FontHeight);
        c->Font()->SetColor(FontColor);
        c->Brush()->SetStyle(bsClear);
        DrawClippedText(c, *FFaceText, CBItem.R);
        return;
    }
    if (FUseSkinSize)
        DrawSkinItem(c);
    else
        DrawResizeSkinItem(c);
}

void TbsSkinCustomOfficeComboBox::PaintSkinTo(TCanvas* C, int X, int Y, const String& AText)
{
    if (Width() < 1 || Height() < 1) return;
    GetSkinData();
    TBitmap b(Width(), Height());
    FFaceText = &AText;
    try {
        if (FIndex == -1)
            CreateControlDefaultImage(&b);
        else
            CreateControlSkinImage(&b);
    } catch (...) {
        FFaceText = nullptr;
        throw;
    }
    FFaceText = nullptr;
    C->Draw(X, Y, &b);
}
