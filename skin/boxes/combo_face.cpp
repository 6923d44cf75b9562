// The combo box's face: frame, drop-down button and the displayed item, built-in or skinned.
#include <algorithm>

#include "skin/boxes/box_buttons.h"
#include "skin/boxes/skin_combo_box.h"
#include "skin/core/edit_list_records.h"
#include "skin/core/marks.h"
#include "skin/core/skin_image.h"
#include "skin/core/text_layout.h"

namespace {
int RW(const TRect& R) { return R.Right - R.Left; }
int RH(const TRect& R) { return R.Bottom - R.Top; }

// Copies the picture's part R onto Dest in C, when R lies inside the picture.
void CopyPart(TCanvas* C, TBitmap* Pic, const TRect& R, const TRect& Dest)
{
    if (!Pic || IsNullRect(R) || R.Left < 0 || R.Top < 0 || R.Right > Pic->Width() || R.Bottom > Pic->Height()) return;
    C->CopyRect(Dest, Pic->Canvas(), R);
}
}  // namespace

void TbsSkinCustomComboBox::CalcRects()
{
    const int w = Width(), h = Height();
    if (FIndex == -1 || FToolButtonStyle) {
        Button.R = Rect(w - 19, 0, w, h);
        CBItem.R = Rect(2, 2, Button.R.Left - 1, h - 2);
        return;
    }
    const int dw = w - RW(SkinRect), dh = h - RH(SkinRect);
    Button.R = ButtonRect;
    if (ButtonRect.Left >= RW(SkinRect) - RTPt.X) Button.R = MovedRect(ButtonRect, dw, 0);
    CBItem.R = ClRect;
    CBItem.R.Right += dw;
    if (!FUseSkinSize) {
        Button.R.Bottom += dh;
        CBItem.R.Bottom += dh;
    }
}

int TbsSkinCustomComboBox::DisplayedIndex() const
{
    const int i = FDropDown ? FOldItemIndex : FListBox->ItemIndex();
    return i >= 0 && i < FListBox->Items()->Count() ? i : -1;
}

TColor TbsSkinCustomComboBox::DisabledFontColor() const
{
    if (FIndex == -1 || !FSD) return clGrayText;
    const int e = FSD->GetControlIndex(L"edit");
    if (e < 0) return clGrayText;
    auto* r = dynamic_cast<TbsDataSkinEditControl*>(FSD->CtrlList[static_cast<size_t>(e)]);
    return r ? r->DisabledFontColor : clGrayText;
}

void TbsSkinCustomComboBox::DrawToolFaceText(TCanvas* C, const TRect& TextRect, const TRect& ArrowRect,
                                             TColor ArrowColor, const String* AText)
{
    C->Brush()->SetStyle(bsClear);
    if (AText) {
        TRect r = TextRect;
        if (TabWidths()->Count() > 0)
            DrawTabbedText(C, TabWidths(), *AText, r, 0);
        else
            DrawClippedText(C, *AText, r);
    } else {
        CBItem.State = Focused() ? TOwnerDrawState{odFocused} : TOwnerDrawState{};
        DrawFaceItem(C, Width(), Height(), TextRect);
    }
    if (ArrowColor != clNone) DrawDropDownArrow(C, ArrowRect, ArrowColor);
}

void TbsSkinCustomComboBox::DrawDefaultToolFace(TCanvas* C, const String* AText)
{
    const int w = Width(), h = Height();
    const TbsBoxButtonState st = FDropDown ? bbsPressed : (FMouseIn || Focused()) ? bbsHot : bbsNormal;
    DrawBoxButtonFrame(C, Rect(0, 0, w, h), st);
    TRect text = Rect(2, 2, w - 17, h - 2), arrow = Rect(w - 15, 0, w, h);
    if (FDropDown) {
        text = MovedRect(text, 2, 2);
        arrow = MovedRect(arrow, 2, 2);
    }
    C->Font()->Assign(FDefaultFont);
    C->Font()->SetCharset(SkinCharset(FDefaultFont->Charset()));
    DrawToolFaceText(C, text, arrow, C->Font()->Color(), AText);
}

void TbsSkinCustomComboBox::DrawSkinToolFace(TBitmap* B, const String* AText)
{
    if (FIndex == -1) return;
    TbsDataSkinButtonControl* rec = FindButtonRecord(FSD, {L"resizetoolbutton", L"resizebutton"});
    if (!rec) return;
    const int w = Width(), h = Height();
    const bool hot = FMouseIn || Focused();
    const TbsBoxButtonState st = FDropDown ? bbsPressed : hot ? bbsHot : bbsNormal;
    TColor fc = 0;
    if (!ComposeButtonRecord(FSD, rec, st, B, w, h, fc)) return;
    TCanvas* c = B->Canvas();
    if (FUseSkinFont) {
        c->Font()->SetName(rec->FontName);
        c->Font()->SetStyle(rec->FontStyle);
        c->Font()->SetHeight(rec->FontHeight);
    } else {
        c->Font()->Assign(FDefaultFont);
    }
    c->Font()->SetCharset(SkinCharset(FDefaultFont->Charset()));
    c->Font()->SetColor(FDropDown ? rec->DownFontColor
                        : hot      ? rec->ActiveFontColor
                        : Enabled() ? rec->FontColor
                                    : rec->DisabledFontColor);
    const TRect text = Rect(2, 2, w - 17, h - 2), arrow = Rect(w - 15, 0, w, h);
    if (IsNullRect(rec->MenuMarkerRect)) {
        DrawToolFaceText(c, text, arrow, FDropDown ? rec->DownFontColor : c->Font()->Color(), AText);
        return;
    }
    DrawToolFaceText(c, text, arrow, clNone, AText);
    TRect m = rec->MenuMarkerRect;
    if (FDropDown && !IsNullRect(rec->MenuMarkerDownRect))
        m = rec->MenuMarkerDownRect;
    else if (FDropDown && !IsNullRect(rec->MenuMarkerActiveRect))
        m = rec->MenuMarkerActiveRect;
    else if (FMouseIn && !IsNullRect(rec->MenuMarkerActiveRect))
        m = rec->MenuMarkerActiveRect;
    TBitmap* pic = ButtonRecordPicture(FSD, rec);
    if (!pic || IsNullRect(m)) return;
    TBitmap marker(RW(m), RH(m));
    marker.Canvas()->CopyRect(Rect(0, 0, RW(m), RH(m)), pic->Canvas(), m);
    marker.SetTransparentColor(rec->MenuMarkerTransparentColor);
    marker.SetTransparent(true);
    c->Draw(arrow.Left + RW(arrow) / 2 - RW(m) / 2, arrow.Top + RH(arrow) / 2 - RH(m) / 2, &marker);
}

void TbsSkinCustomComboBox::PaintSkinTo(TCanvas* Canvas, int X, int Y, const String& AText)
{
    TBitmap b(Width(), Height());
    GetSkinData();
    const String saved = FText;
    SetText(AText);
    CalcRects();
    TCanvas* c = b.Canvas();
    if (FToolButtonStyle) {
        if (FIndex == -1)
            DrawDefaultToolFace(c, &AText);
        else
            DrawSkinToolFace(&b, &AText);
    } else {
        if (FIndex == -1) {
            DrawDefaultFrame(c);
            c->Font()->Assign(FDefaultFont);
        } else {
            CreateControlSkinBackground(&b);
            if (FUseSkinSize)
                DrawComboButton(c);
            else
                DrawSkinComboButton(c);
            c->Font()->SetStyle(FontStyle);
            c->Font()->SetColor(FontColor);
            c->Font()->SetHeight(FontHeight);
            c->Font()->SetName(FontName);
        }
        c->Brush()->SetStyle(bsClear);
        TRect r = CBItem.R;
        if (TabWidths()->Count() > 0)
            DrawTabbedText(c, TabWidths(), AText, r, 0);
        else
            DrawClippedText(c, AText, r);
    }
    SetText(saved);
    Canvas->Draw(X, Y, &b);
}

void TbsSkinCustomComboBox::CreateControlDefaultImage(TBitmap* B)
{
    CalcRects();
    TCanvas* c = B->Canvas();
    if (FToolButtonStyle) {
        DrawDefaultToolFace(c, nullptr);
        return;
    }
    DrawDefaultFrame(c);
    if (!FEdit) DrawDefaultFace(c);
}

void TbsSkinCustomComboBox::DrawDefaultFrame(TCanvas* C)
{
    const TRect r = Rect(0, 0, Width(), Height());
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(FDefaultColor);
    C->FillRect(r);
    C->Brush()->SetColor(clBtnShadow);
    C->FrameRect(r);
    DrawComboButton(C);
}

void TbsSkinCustomComboBox::CreateControlSkinBackground(TBitmap* B)
{
    const bool active = !IsNullRect(ActiveSkinRect) && (FMouseIn || Focused());
    if (FUseSkinSize) {
        if (active)
            CreateHSkinImage(LTPt.X, RW(ActiveSkinRect) - RTPt.X, B, Picture, ActiveSkinRect, Width(),
                             RH(ActiveSkinRect), StretchEffect);
        else
            TbsSkinCustomControl::CreateControlSkinImage(B);
    } else {
        TRect corner = ClRect;
        corner.Left += 3;
        corner.Right -= 3;
        corner.Top += 1;
        corner.Bottom -= 1;
        CreateStretchImage(B, Picture, active ? ActiveSkinRect : SkinRect, corner, true);
    }
}

void TbsSkinCustomComboBox::CreateControlSkinImage(TBitmap* B)
{
    CalcRects();
    if (FToolButtonStyle) {
        DrawSkinToolFace(B, nullptr);
        return;
    }
    TCanvas* c = B->Canvas();
    CreateControlSkinBackground(B);
    if (FUseSkinSize) {
        DrawComboButton(c);
        if (!FEdit) DrawSkinFace(c, B);
    } else {
        DrawSkinComboButton(c);
        if (!FEdit) DrawStretchSkinFace(c, B);
    }
}

void TbsSkinCustomComboBox::DrawComboButton(TCanvas* C)
{
    if (FIndex == -1) {
        DrawBoxButtonFrame(C, Button.R, BoxButtonState(Button.MouseIn, Button.Down));
        DrawArrowImage(C, Button.R, Enabled() ? clBlack : clBtnShadow, 4);
        return;
    }
    TRect src{};
    if (!Enabled() && !IsNullRect(UnEnabledButtonRect))
        src = UnEnabledButtonRect;
    else if (Button.Down && Button.MouseIn)
        src = DownButtonRect;
    else if (Button.MouseIn)
        src = ActiveButtonRect;
    CopyPart(C, Picture, src, Button.R);
}

void TbsSkinCustomComboBox::DrawSkinComboButton(TCanvas* C)
{
    TbsDataSkinButtonControl* rec = FindButtonRecord(FSD, {L"combobutton", L"editbutton", L"resizebutton"});
    if (!rec) return;
    TBitmap b;
    TColor fc = 0;
    const TbsBoxButtonState st = BoxButtonState(Button.MouseIn, Button.Down);
    if (!ComposeButtonRecord(FSD, rec, st, &b, RW(Button.R), RH(Button.R), fc)) return;
    if (Enabled()) {
        TRect a = Rect(0, 0, b.Width(), b.Height());
        if (st == bbsPressed) a = MovedRect(a, 0, 2);
        DrawArrowImage(b.Canvas(), a, fc, 4);
    }
    C->Draw(Button.R.Left, Button.R.Top, &b);
}

void TbsSkinCustomComboBox::DrawFaceItem(TCanvas* C, int W, int H, TRect TextRect)
{
    C->Brush()->SetStyle(bsClear);
    const int i = DisplayedIndex();
    if (OnComboBoxDrawItem) {
        OnComboBoxDrawItem(C, i, W, H, TextRect, CBItem.State);
        return;
    }
    if (i < 0) return;
    if (TCustomImageList* images = Images()) {
        const int image = ImageIndex() >= 0 ? ImageIndex() : i;
        if (image < images->Count())
            images->Draw(C, TextRect.Left, TextRect.Top + RH(TextRect) / 2 - images->Height() / 2, image, true);
        TextRect.Left += images->Width() + 2;
    }
    const String text = Items()->Strings(i);
    if (TabWidths()->Count() > 0)
        DrawTabbedText(C, TabWidths(), text, TextRect, 0);
    else
        DrawClippedText(C, text, TextRect);
}

void TbsSkinCustomComboBox::DrawDefaultFace(TCanvas* C)
{
    const int w = RW(CBItem.R), h = RH(CBItem.R);
    if (w <= 0 || h <= 0) return;
    CBItem.State = Focused() ? TOwnerDrawState{odFocused} : TOwnerDrawState{};
    TBitmap b;
    b.SetSize(w, h);
    TCanvas* c = b.Canvas();
    c->Font()->SetName(FFont.Name());
    c->Font()->SetStyle(FFont.Style());
    c->Font()->SetHeight(FFont.Height());
    c->Font()->SetCharset(SkinCharset(FDefaultFont->Charset()));
    const bool focused = Focused();
    c->Brush()->SetColor(focused ? clHighlight : FDefaultColor);
    c->Font()->SetColor(!Enabled() ? clGrayText : focused ? clHighlightText : FDefaultFont->Color());
    c->FillRect(Rect(0, 0, w, h));
    DrawFaceItem(c, w, h, Rect(2, 0, w - 2, h));
    C->Draw(CBItem.R.Left, CBItem.R.Top, &b);
}

void TbsSkinCustomComboBox::DrawSkinFace(TCanvas* C, TBitmap* Image)
{
    const int w = RW(CBItem.R);
    int h = RH(SItemRect);
    if (h <= 0) h = RH(FocusItemRect);
    if (h <= 0) h = RH(CBItem.R);
    if (w <= 0 || h <= 0) return;
    const bool focused = Focused();
    CBItem.State = focused ? TOwnerDrawState{odFocused} : TOwnerDrawState{};
    TBitmap b;
    b.SetSize(w, h);
    TCanvas* c = b.Canvas();
    const bool hot = !IsNullRect(ActiveItemRect) && !IsNullRect(ActiveSkinRect) && FMouseIn;
    const TRect src = focused ? FocusItemRect : hot ? ActiveItemRect : SItemRect;
    if (!IsNullRect(src))
        CreateHSkinImage(ItemLeftOffset, ItemRightOffset, &b, Picture, src, w, h,
                         focused ? FocusItemStretchEffect : ItemStretchEffect);
    else
        c->CopyRect(Rect(0, 0, w, h), Image->Canvas(),
                    Rect(CBItem.R.Left, CBItem.R.Top, CBItem.R.Left + w, CBItem.R.Top + h));
    TRect text = IsNullRect(SItemRect) ? ClRect : ItemTextRect;
    text.Right += w - RW(SItemRect);
    FinishSkinFace(C, &b, text, true);
}

void TbsSkinCustomComboBox::DrawStretchSkinFace(TCanvas* C, TBitmap* Image)
{
    const int w = RW(CBItem.R), h = RH(CBItem.R);
    if (w <= 0 || h <= 0) return;
    const bool focused = Focused();
    CBItem.State = focused ? TOwnerDrawState{odFocused} : TOwnerDrawState{};
    TBitmap b;
    b.SetSize(w, h);
    TCanvas* c = b.Canvas();
    const bool hot = !IsNullRect(ActiveItemRect) && !IsNullRect(ActiveSkinRect) && FMouseIn;
    TRect src{}, corner = ItemTextRect;
    if (focused) {
        src = FocusItemRect;
        corner = Rect(corner.Left + 1, corner.Top + 1, corner.Right - 1, corner.Bottom - 1);
    } else if (hot) {
        src = ActiveItemRect;
    } else {
        src = SItemRect;
    }
    if ((focused || hot) && !IsNullRect(src)) {
        if (RW(src) < RW(SItemRect)) corner.Right -= RW(SItemRect) - RW(src);
        if (RH(src) < RH(SItemRect)) corner.Top -= RH(SItemRect) - RH(src);
    }
    if (!IsNullRect(src) && !IsNullRect(SItemRect)) {
        b.SetSize(w, h);
        CreateStretchImage(&b, Picture, src, corner, true);
    } else {
        c->CopyRect(Rect(0, 0, w, h), Image->Canvas(), CBItem.R);
    }
    TRect text = ItemTextRect;
    text.Right += w - RW(SItemRect);
    text.Bottom += Height() - RH(SkinRect);
    FinishSkinFace(C, &b, text, false);
}

void TbsSkinCustomComboBox::FinishSkinFace(TCanvas* C, TBitmap* B, const TRect& TextRect, bool DisabledColour)
{
    TCanvas* c = B->Canvas();
    const bool focused = Focused();
    if (FUseSkinFont) {
        c->Font()->SetName(FontName);
        c->Font()->SetStyle(FontStyle);
        c->Font()->SetHeight(FontHeight);
    } else {
        c->Font()->Assign(FDefaultFont);
    }
    c->Font()->SetCharset(SkinCharset(FDefaultFont->Charset()));
    TColor color = focused ? FocusFontColor : (!FMouseIn || IsNullRect(ActiveSkinRect)) ? FontColor : ActiveFontColor;
    if (DisabledColour && !Enabled()) color = DisabledFontColor();
    c->Font()->SetColor(color);
    const int w = B->Width(), h = B->Height();
    if (focused && ShowFocus && !OnComboBoxDrawItem) {
        c->Brush()->SetColor(clBtnFace);
        c->DrawFocusRect(Rect(0, 0, w, h));
    }
    DrawFaceItem(c, w, h, TextRect);
    C->Draw(CBItem.R.Left, CBItem.R.Top, B);
}
