#include "skin/controls/skin_button_shared.h"

#include <memory>

#include "platform/framework/forms/action.h"

void SetButtonSkinFont(TCanvas* Cnvs, bool UseSkinFont, const String& Name, int Height, TFontStyles Style,
                       TFont* Default, TFontCharset Charset)
{
    if (UseSkinFont) {
        Cnvs->Font()->SetName(Name);
        Cnvs->Font()->SetHeight(Height);
        Cnvs->Font()->SetStyle(Style);
    } else {
        Cnvs->Font()->Assign(Default);
    }
    Cnvs->Font()->SetCharset(Charset);
}

TColor ButtonCaptionColor(bool Enabled, bool UseSkinFontColor, TColor Default, const TbsButtonFontColors& Colors,
                          bool ADown, bool AMouseIn)
{
    if (Enabled && !UseSkinFontColor) return Default;
    if (!Enabled) return Colors.Disabled;
    if (ADown && AMouseIn) return Colors.Down;
    if (AMouseIn) return Colors.Active;
    return Colors.Normal;
}

int ButtonGlyphFrame(bool ADown, bool AMouseIn, bool Enabled, int NumGlyphs)
{
    if (ADown && AMouseIn && NumGlyphs > 2) return 3;
    if (AMouseIn && NumGlyphs > 3) return 4;
    if (!Enabled && NumGlyphs > 1) return 2;
    return 1;
}

void PaintButtonMorph(TCanvas* Target, int W, int H, TbsMorphKind Kind, double Kf,
                      const std::function<void(TBitmap* B, bool Hot)>& Compose)
{
    TBitmap b(W, H), b2(W, H);
    Compose(&b, false);
    Compose(&b2, true);
    std::unique_ptr<TbsEffectBmp> from(TbsEffectBmp::CreateFromhWnd(b.Handle()));
    std::unique_ptr<TbsEffectBmp> to(TbsEffectBmp::CreateFromhWnd(b2.Handle()));
    if (!from || !to) return;
    from->MorphBy(Kind, to.get(), Kf);
    from->Draw(Target->Handle(), 0, 0);
}

void HookImagesMenu(TComponent* Button, TbsSkinImagesMenuBase* Menu, std::function<void(TObject*)> Changed)
{
    if (!Menu) return;
    Menu->FreeNotification(Button);
    Menu->OnInternalChange = std::move(Changed);
}

void UnhookImagesMenu(TComponent* Button, TbsSkinImagesMenuBase* Menu, bool& CloseHooked)
{
    if (!Menu) return;
    Menu->OnInternalChange = nullptr;
    if (CloseHooked) Menu->OnInternalMenuClose = nullptr;
    CloseHooked = false;
    Menu->RemoveFreeNotification(Button);
}

void ClickOrExecuteAction(TControl* Button, const TNotifyEvent& OnClick)
{
    if (OnClick && Button->Action()) {
        OnClick(Button);
        return;
    }
    if (!(Button->ComponentState() & csDesigning) && Button->Action()) {
        Button->Action()->Execute();
        return;
    }
    if (OnClick) OnClick(Button);
}

bool ActionImage(TObject* Sender, const TBitmap& Glyph, TCustomImageList*& Images, int& Index)
{
    auto* a = dynamic_cast<TCustomAction*>(Sender);
    if (!a || !Glyph.Empty() || !a->ActionList() || !a->ActionList()->Images()) return false;
    TCustomImageList* images = a->ActionList()->Images();
    if (a->ImageIndex() < 0 || a->ImageIndex() >= images->Count()) return false;
    Images = images;
    Index = a->ImageIndex();
    return true;
}
