#include "skin/controls/skin_std_label.h"

#include "skin/core/panel_records.h"
#include "skin/core/resource_strings.h"
#include "skin/core/window_records.h"

TbsSkinStdLabel::TbsSkinStdLabel(TComponent* AOwner) : TCustomLabel(AOwner) { SetTransparent(true); }

TbsSkinStdLabel::~TbsSkinStdLabel()
{
    if (FSD) FSD->RemoveFreeNotification(this);
}

void TbsSkinStdLabel::SetEllipsType(TbsEllipsType Value)
{
    if (Value == FEllipsType) return;
    FEllipsType = Value;
    Invalidate();
}

void TbsSkinStdLabel::SetSkinData(TbsSkinData* Value)
{
    if (Value != FSD) {
        if (FSD) FSD->RemoveFreeNotification(this);
        FSD = Value;
        if (Value) Value->FreeNotification(this);
    }
    if (Value) ChangeSkinData();
}

void TbsSkinStdLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomLabel::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinStdLabel::GetSkinData()
{
    FIndex = !FSD || FSD->Empty ? -1 : FSD->GetControlIndex(FSkinDataName);
    if (FIndex == -1) return;
    if (auto* r = dynamic_cast<TbsDataSkinStdLabelControl*>(FSD->CtrlList[static_cast<size_t>(FIndex)])) {
        FontName = r->FontName;
        FontColor = r->FontColor;
        FontStyle = r->FontStyle;
        FontHeight = r->FontHeight;
    }
}

void TbsSkinStdLabel::ChangeSkinData()
{
    GetSkinData();
    if (AutoSize()) AdjustBounds();
    Invalidate();
}

void TbsSkinStdLabel::DrawLabelText(HDC DC, TRect& R, UINT Flags, String Text)
{
    GetSkinData();
    if ((Flags & DT_CALCRECT) && (Text.empty() || (FShowAccelChar && Text == L"&"))) Text += L" ";
    if (!FShowAccelChar) Flags |= DT_NOPREFIX;
    if (FEllipsType == bsetEndEllips) Flags |= DT_END_ELLIPSIS;
    if (FEllipsType == bsetPathEllips) Flags |= DT_PATH_ELLIPSIS;
    Flags = DrawTextBiDiModeFlags(Flags);
    TFont font;
    if (FIndex == -1) {
        font.Assign(FUseSkinFont ? &FDefaultFont : &FFont);
    } else {
        font.Assign(&FFont);
        if (FUseSkinFont) {
            font.SetName(FontName);
            font.SetStyle(FontStyle);
            font.SetHeight(FontHeight);
        }
        font.SetColor(FUseSkinColor ? FontColor : FFont.Color());
    }
    font.SetCharset(FSD && FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet() : FDefaultFont.Charset());
    HGDIOBJ old = SelectObject(DC, font.Handle());
    const int oldMode = SetBkMode(DC, TRANSPARENT);
    const COLORREF oldColor = GetTextColor(DC);
    RECT rr{R.Left, R.Top, R.Right, R.Bottom};
    auto draw = [&](TColor Color, int D) {
        SetTextColor(DC, ColorToRGB(Color));
        RECT q{rr.left + D, rr.top + D, rr.right + D, rr.bottom + D};
        if (FEllipsType != bsetNone)
            DrawTextExW(DC, Text.data(), static_cast<int>(Text.size()), &q, Flags, nullptr);
        else
            DrawTextW(DC, Text.c_str(), static_cast<int>(Text.size()), &q, Flags);
        if (Flags & DT_CALCRECT) rr = q;
    };
    if (!FEnabled && !(Flags & DT_CALCRECT)) {
        const bool skin = FIndex != -1 && FSD->SkinColors();
        draw(skin ? FSD->SkinColors()->cBtnHighLight() : clBtnHighlight, 1);
        draw(skin ? FSD->SkinColors()->cBtnShadow() : clBtnShadow, 0);
    } else {
        draw(font.Color(), 0);
    }
    SetTextColor(DC, oldColor);
    SetBkMode(DC, oldMode);
    SelectObject(DC, old);
    if (Flags & DT_CALCRECT) R = Rect(rr.left, rr.top, rr.right, rr.bottom);
}

void TbsSkinStdLabel::DoDrawText(TRect& R, UINT Flags)
{
    const bool own = !FCanvas.HandleAllocated() || (Flags & DT_CALCRECT);
    HDC dc = own ? CreateCompatibleDC(nullptr) : FCanvas.Handle();
    DrawLabelText(dc, R, Flags, GetLabelText());
    if (own) DeleteDC(dc);
}

void TbsSkinStdLabel::PaintSkinTo(TCanvas* C, int X, int Y, const String& AText)
{
    if (!FTransparent) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(FColor);
        C->FillRect(Bounds(X, Y, Width(), Height()));
    }
    C->Brush()->SetStyle(bsClear);
    TRect r = Rect(0, 0, Width(), Height());
    static const UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    UINT flags = (FWordWrap ? DT_WORDBREAK : 0) | DT_EXPANDTABS | kAlign[FAlignment];
    if (FLayout != tlTop) {
        TRect calc = r;
        HDC mdc = CreateCompatibleDC(nullptr);
        DrawLabelText(mdc, calc, flags | DT_CALCRECT, AText);
        DeleteDC(mdc);
        const int d = FLayout == tlBottom ? Height() - calc.Bottom : (Height() - calc.Bottom) / 2;
        r = Rect(r.Left, r.Top + d, r.Right, r.Bottom + d);
    }
    r = Rect(r.Left + X, r.Top + Y, r.Right + X, r.Bottom + Y);
    DrawLabelText(C->Handle(), r, flags, AText);
}
