// The caption's first cut: its normal or active background and the form's caption text placed
// by the skin's text rectangle, alignment and font. Animation frames, text effects and the
// quick buttons' drawing and tracking come with the caption's full look.
#include "skin/form/caption_object.h"

#include "platform/win/win_api.h"
#include "skin/core/resource_strings.h"
#include "skin/core/text_layout.h"
#include "skin/form/form_layer_border.h"
#include "skin/form/quick_buttons.h"
#include "skin/form/skin_form.h"

TbsSkinCaptionObject::TbsSkinCaptionObject(TbsSkinForm* AParent, TbsDataSkinObject* AData)
    : TbsActiveSkinObject(AParent, AData)
{
    auto* c = dynamic_cast<TbsDataSkinCaption*>(AData);
    if (!c) return;
    FontName = c->FontName;
    FontStyle = c->FontStyle;
    FontHeight = c->FontHeight;
    FontColor = c->FontColor;
    ActiveFontColor = c->ActiveFontColor;
    Alignment = c->Alignment;
    TextRct = c->TextRct;
    StretchEffect = c->StretchEffect;
    AnimateSkinRect = c->AnimateSkinRect;
    FrameCount = c->FrameCount;
    AnimateInterval = c->AnimateInterval;
    InActiveAnimation = c->InActiveAnimation;
}

bool TbsSkinCaptionObject::EnableAnimation()
{
    return SD && SD->EnableSkinEffects() && !SD->Empty && !AnimateSkinRect.IsEmpty();
}

TRect TbsSkinCaptionObject::TextRect()
{
    TRect t = TextRct;
    if (t.IsEmpty()) return t;
    t.Right = ObjectRect.Width() - (SkinRect.Width() - TextRct.Right);
    if (Parent->RibbonAppMenuCaptionVisible()) {
        t.Left = Parent->RibbonAppMenuCaptionOffset() - ObjectRect.Left;
    } else if (Parent->QuickButtons()->Count() > 0 && Parent->QuickImageList()) {
        t.Left += Parent->QuickButtons()->Count() * (Parent->QuickImageList()->Width() + 8) + 5;
    }
    return t;
}

void TbsSkinCaptionObject::Draw(TCanvas* Cnvs, bool UpDate)
{
    if (!HasSkin()) return;
    if (Active && !ActiveSkinRect.IsEmpty())
        CopyLook(Cnvs, ActivePicture, ActiveSkinRect);
    else if (UpDate)
        CopyLook(Cnvs, Picture, SkinRect);
    if (Parent->OnCaptionPaint) {
        Parent->OnCaptionPaint(Cnvs, ObjectRect, Active);
        return;
    }
    String text = Parent->Form()->Caption();
    if (text.empty() || TextRct.IsEmpty()) return;
    TRect t = TextRect();
    TFont* font = Cnvs->Font();
    if (Parent->UseSkinFontInCaption()) {
        font->SetName(FontName);
        font->SetStyle(FontStyle);
        font->SetHeight(FontHeight);
    } else {
        font->Assign(Parent->DefCaptionFont());
    }
    if (SD->ResourceStrData()) font->SetCharset(SD->ResourceStrData()->CharSet());
    font->SetColor(Active ? ActiveFontColor : FontColor);
    FitWideTextToWidth(Cnvs, text, t.Width());
    const int w = GetWideTextWidth(Cnvs, text), h = GetWideTextHeight(Cnvs, text);
    int y = t.Top + t.Height() / 2 - h / 2;
    int x = t.Left;
    if (Parent->QuickButtons()->Count() > 0 || Alignment == taCenter)
        x = t.Left + t.Width() / 2 - w / 2;
    else if (Alignment == taRightJustify)
        x = t.Right - w;
    x += ObjectRect.Left;
    y += ObjectRect.Top;
    if (font->Height() % 2 != 0) --y;
    Cnvs->Brush()->SetStyle(bsClear);
    TRect r = Rect(x, y, x + w, y + h);
    DrawWideText(Cnvs, text, r, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
}

void TbsSkinCaptionObject::MouseDown(int X, int Y, TMouseButton Button)
{
    Parent->DoMouseDownEvent(IDName, X, Y, ObjectRect, Button);
}

void TbsSkinCaptionObject::MouseUp(int X, int Y, TMouseButton Button)
{
    Parent->DoMouseUpEvent(IDName, X, Y, ObjectRect, Button);
}

void TbsSkinCaptionObject::MouseMove(int X, int Y) { Parent->DoMouseMoveEvent(IDName, X, Y, ObjectRect); }

void TbsSkinCaptionObject::MouseEnter()
{
    FMouseIn = true;
    Parent->DoMouseEnterEvent(IDName);
}

void TbsSkinCaptionObject::MouseLeave()
{
    FMouseIn = false;
    Parent->DoMouseLeaveEvent(IDName);
}

void TbsSkinCaptionObject::RedrawCaption()
{
    if (Parent->FullLayeredFrameInUse()) {
        Parent->FBorderLayer->UpdateBorder();
        return;
    }
    if (Parent->Form()->HandleAllocated()) SendMessageW(Parent->Form()->Handle(), WM_NCPAINT, 0, 0);
}

void TbsSkinCaptionObject::ReleasePopupQuickButton()
{
    if (PopupMenuQuickButton < 0 || PopupMenuQuickButton >= Parent->QuickButtons()->Count()) {
        PopupMenuQuickButton = -1;
        return;
    }
    TbsQuickButtonItem* item = Parent->QuickButtons()->Items(PopupMenuQuickButton);
    item->Active = false;
    item->Down = false;
    PopupMenuQuickButton = -1;
    RedrawCaption();
}
