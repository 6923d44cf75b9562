#include "skin/boxes/link_label.h"

#include "platform/win/shell_api.h"
#include "skin/core/glow_text.h"
#include "skin/core/panel_records.h"
#include "skin/core/resource_strings.h"
#include "skin/core/window_records.h"

TbsSkinLinkLabel::TbsSkinLinkLabel(TComponent* AOwner) : TCustomLabel(AOwner)
{
    FDefaultFont.SetName(L"Tahoma");
    FDefaultFont.SetHeight(13);
    FDefaultFont.SetStyle(TFontStyles{fsUnderline});
    SetTransparent(true);
    FFont.Assign(&FDefaultFont);
    SetCursor(crHandPoint);
}

TbsSkinLinkLabel::~TbsSkinLinkLabel()
{
    if (FSD) FSD->RemoveFreeNotification(this);
}

void TbsSkinLinkLabel::SetUseUnderLine(bool Value)
{
    if (Value == FUseUnderLine) return;
    FUseUnderLine = Value;
    Invalidate();
}

void TbsSkinLinkLabel::SetSkinData(TbsSkinData* Value)
{
    if (Value != FSD) {
        if (FSD) FSD->RemoveFreeNotification(this);
        FSD = Value;
        if (Value) Value->FreeNotification(this);
    }
    if (Value) ChangeSkinData();
}

void TbsSkinLinkLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomLabel::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinLinkLabel::GetSkinData()
{
    FIndex = !FSD || FSD->Empty ? -1 : FSD->GetControlIndex(FSkinDataName);
    if (FIndex == -1) return;
    if (auto* r = dynamic_cast<TbsDataSkinStdLabelControl*>(FSD->CtrlList[static_cast<size_t>(FIndex)])) {
        FontName = r->FontName;
        FontColor = r->FontColor;
        FontStyle = r->FontStyle;
        FontHeight = r->FontHeight;
        ActiveFontColor = r->ActiveFontColor;
    }
}

void TbsSkinLinkLabel::ChangeSkinData()
{
    GetSkinData();
    Invalidate();
}

void TbsSkinLinkLabel::Click()
{
    TCustomLabel::Click();
    if (!FURL.empty()) ShellExecuteW(nullptr, L"open", FURL.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TbsSkinLinkLabel::Dispatch(TMessage& m)
{
    TCustomLabel::Dispatch(m);
    if ((m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) && !(ComponentState() & csDesigning)) {
        FMouseIn = m.Msg == CM_MOUSEENTER;
        Invalidate();
    }
}

void TbsSkinLinkLabel::DoDrawText(TRect& R, UINT Flags)
{
    GetSkinData();
    // Measuring leaves the caller's rectangle as it was: the label keeps its size.
    if ((Flags & DT_CALCRECT) || !FCanvas.HandleAllocated()) return;
    const String text = GetLabelText();
    if (!FShowAccelChar) Flags |= DT_NOPREFIX;
    Flags = DrawTextBiDiModeFlags(Flags);
    TRect r = R;
    if (FGlowEffect) r = Rect(r.Left, r.Top + FGlowSize, r.Right, r.Bottom + FGlowSize);
    TCanvas* c = Canvas();
    TFont* f = c->Font();
    TColor color;
    if (FIndex == -1) {
        f->Assign(FUseSkinFont ? &FDefaultFont : &FFont);
        color = FMouseIn ? FDefaultActiveFontColor : f->Color();
    } else {
        f->Assign(&FFont);
        if (FUseSkinFont) {
            f->SetName(FontName);
            f->SetStyle(FontStyle);
            f->SetHeight(FontHeight);
        }
        color = FMouseIn && !FGlowEffect ? ActiveFontColor : FontColor;
    }
    f->SetCharset(FSD && FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet() : FDefaultFont.Charset());
    // Underlined without a record; by UseUnderLine with one and whenever enabled.
    TFontStyles style = f->Style();
    if ((FIndex == -1 && !FEnabled) || FUseUnderLine)
        style.Include(fsUnderline);
    else
        style.Exclude(fsUnderline);
    f->SetStyle(style);
    c->Brush()->SetStyle(bsClear);
    HDC dc = c->Handle();
    auto draw = [&](TColor Color, int D) {
        f->SetColor(Color);
        HGDIOBJ old = SelectObject(dc, f->Handle());
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        const COLORREF oldColor = SetTextColor(dc, ColorToRGB(Color));
        RECT q{r.Left + D, r.Top + D, r.Right + D, r.Bottom + D};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &q, Flags);
        SetTextColor(dc, oldColor);
        SetBkMode(dc, oldMode);
        SelectObject(dc, old);
    };
    if (!FEnabled) {
        const bool skin = FIndex != -1 && FSD->SkinColors();
        draw(skin ? FSD->SkinColors()->cBtnHighLight() : clBtnHighlight, 1);
        draw(skin ? FSD->SkinColors()->cBtnShadow() : clBtnShadow, 0);
    } else if (FMouseIn && FGlowEffect) {
        f->SetColor(color);
        DrawStrongGlowText(c, r, text, Flags, 0, FIndex == -1 ? FDefaultActiveFontColor : ActiveFontColor, FGlowSize);
    } else {
        draw(color, 0);
    }
}
