#include "skin/controls/skin_text_label.h"

#include <algorithm>

#include "skin/core/panel_records.h"
#include "skin/core/resource_strings.h"
#include "skin/core/text_layout.h"
#include "skin/core/window_records.h"

TbsSkinTextLabel::TbsSkinTextLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FControlStyle.Exclude(csOpaque);
    FControlStyle.Include(csReplicatable);
    SetBounds(FLeft, FTop, 65, 65);
    FLines = new TStringList;
    FLines->OnChange = [this](TObject*) {
        if (FAutoSize) AdjustBounds();
        Invalidate();
    };
    FDefaultFont = new TFont;
}

TbsSkinTextLabel::~TbsSkinTextLabel()
{
    FLines->OnChange = nullptr;
    delete FLines;
    delete FDefaultFont;
    if (FSD) FSD->RemoveFreeNotification(this);
}

void TbsSkinTextLabel::SetSkinData(TbsSkinData* Value)
{
    if (Value != FSD) {
        if (FSD) FSD->RemoveFreeNotification(this);
        FSD = Value;
        if (FSD) FSD->FreeNotification(this);
    }
    if (Value) ChangeSkinData();
}

void TbsSkinTextLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinTextLabel::GetSkinData()
{
    FIndex = FSD && !FSD->Empty ? FSD->GetControlIndex(FSkinDataName) : -1;
    if (FIndex < 0 || FIndex >= static_cast<int>(FSD->CtrlList.size())) {
        FIndex = -1;
        return;
    }
    if (auto* r = dynamic_cast<TbsDataSkinStdLabelControl*>(FSD->CtrlList[static_cast<size_t>(FIndex)])) {
        FontName = r->FontName;
        FontStyle = r->FontStyle;
        FontHeight = r->FontHeight;
        FontColor = r->FontColor;
    }
}

void TbsSkinTextLabel::ChangeSkinData()
{
    GetSkinData();
    if (FAutoSize) AdjustBounds();
    Repaint();
}

void TbsSkinTextLabel::SetLines(TStrings* Value)
{
    FLines->Assign(Value);
    Repaint();
}

void TbsSkinTextLabel::SetAlignment(TAlignment Value)
{
    if (Value == FAlignment) return;
    FAlignment = Value;
    Invalidate();
}

void TbsSkinTextLabel::SetLayout(TTextLayout Value)
{
    if (Value == FLayout) return;
    FLayout = Value;
    Invalidate();
}

void TbsSkinTextLabel::SetWordWrap(bool Value)
{
    if (Value == FWordWrap) return;
    FWordWrap = Value;
    AdjustBounds();
    Invalidate();
}

void TbsSkinTextLabel::SetAutoSize(bool Value)
{
    if (Value == FAutoSize) return;
    FAutoSize = Value;
    AdjustBounds();
}

void TbsSkinTextLabel::Loaded()
{
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TbsSkinTextLabel::Dispatch(TMessage& m)
{
    TGraphicControl::Dispatch(m);
    if (m.Msg == CM_FONTCHANGED) {
        AdjustBounds();
        Invalidate();
    }
}

void TbsSkinTextLabel::DoDrawText(TCanvas* Cnvs, TRect& R, UINT Flags)
{
    GetSkinData();
    const String text = GetLabelText();
    Flags = DrawTextBiDiModeFlags(Flags);
    TFont* f = Cnvs->Font();
    if (FIndex == -1) {
        f->Assign(FUseSkinFont ? FDefaultFont : Font());
    } else {
        if (FUseSkinFont) {
            f->SetName(FontName);
            f->SetStyle(FontStyle);
            f->SetHeight(FontHeight);
        } else {
            f->Assign(Font());
        }
        f->SetColor(FUseSkinColor ? FontColor : Font()->Color());
    }
    f->SetCharset(FSD && FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet() : FDefaultFont->Charset());
    TbsSkinColors* colors = FIndex != -1 ? FSD->SkinColors() : nullptr;
    if (Enabled() || (Flags & DT_CALCRECT)) {
        DrawWideText(Cnvs, text, R, Flags);
        return;
    }
    TRect moved = Rect(R.Left + 1, R.Top + 1, R.Right + 1, R.Bottom + 1);
    f->SetColor(colors ? colors->cBtnHighLight() : clBtnHighlight);
    DrawWideText(Cnvs, text, moved, Flags);
    f->SetColor(colors ? colors->cBtnShadow() : clBtnShadow);
    DrawWideText(Cnvs, text, R, Flags);
}

void TbsSkinTextLabel::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsClear);
    TRect r = Rect(0, 0, Width(), Height());
    UINT flags = DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0u);
    flags |= FAlignment == taRightJustify ? DT_RIGHT : FAlignment == taCenter ? DT_CENTER : DT_LEFT;
    if (FLayout != tlTop) {
        TRect m = r;
        DoDrawText(c, m, flags | DT_CALCRECT);
        m.Bottom -= c->TextHeight(L"A");
        const int shift = FLayout == tlBottom ? Height() - m.Bottom : (Height() - m.Bottom) / 2;
        r.Top += shift;
        r.Bottom += shift;
    }
    DoDrawText(c, r, flags);
}

void TbsSkinTextLabel::AdjustBounds()
{
    if (!FAutoSize || (ComponentState() & csReading)) return;
    TRect r = Rect(0, 0, Width(), Height());
    HDC dc = GetDC(nullptr);
    TCanvas c;
    c.SetHandle(dc);
    DoDrawText(&c, r, DT_CALCRECT | DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0u));
    int x = Left();
    // Under right-to-left alignment the text stands at the mirrored side.
    TAlignment a = FAlignment;
    if (UseRightToLeftAlignment() && a != taCenter) a = a == taLeftJustify ? taRightJustify : taLeftJustify;
    if (a == taRightJustify) x += Width() - r.Right;
    // The measured text ends with a line break, one line more than shown; no lines give 0.
    r.Bottom = FLines->Count() == 0 ? 0 : std::max(0, r.Bottom - c.TextHeight(L"A"));
    c.SetHandle(nullptr);
    ReleaseDC(nullptr, dc);
    SetBounds(x, Top(), r.Right, r.Bottom);
}
