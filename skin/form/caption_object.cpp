#include "skin/form/caption_object.h"

#include <algorithm>
#include <memory>

#include "platform/win/win_api.h"
#include "skin/controls/skin_menu_links.h"
#include "skin/core/button_records.h"
#include "skin/core/color_filters.h"
#include "skin/core/glow_text.h"
#include "skin/core/layer_manager.h"
#include "skin/core/png_image_list.h"
#include "skin/core/resource_strings.h"
#include "skin/core/skin_bitmap.h"
#include "skin/core/skin_image.h"
#include "skin/core/text_layout.h"
#include "skin/form/form_layer_border.h"
#include "skin/form/quick_buttons.h"
#include "skin/form/skin_form.h"

namespace {

constexpr UINT kTextFlags = DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
constexpr TbsColor kKeyColor = 0x7F007F;

TBitmap* PictureAt(TbsSkinData* SD, int Index)
{
    if (!SD || Index < 0 || Index >= static_cast<int>(SD->FActivePictures.size())) return nullptr;
    return SD->FActivePictures[static_cast<size_t>(Index)];
}

// The 0x00RRGGBB pixel of a skin bitmap, alpha apart.
inline uint8_t AlphaOf(TbsColor C) { return static_cast<uint8_t>(C >> 24); }

}  // namespace

void DrawKeepingAlpha(TbsBitmap* Image, TRect Area, const std::function<void(TCanvas* C, bool OnMask)>& Paint)
{
    Area.Left = std::max(Area.Left, 0);
    Area.Top = std::max(Area.Top, 0);
    Area.Right = std::min(Area.Right, Image->Width());
    Area.Bottom = std::min(Area.Bottom, Image->Height());
    const int w = Area.Width(), h = Area.Height();
    if (w <= 0 || h <= 0) return;
    TbsBitmap copy, mask;
    copy.SetSize(w, h);
    mask.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const TbsColor p = Image->Pixel(Area.Left + x, Area.Top + y);
            const uint8_t a = AlphaOf(p);
            copy.SetPixel(x, y, p | 0xFF000000u);
            mask.SetPixel(x, y, 0xFF000000u | (a << 16) | (a << 8) | a);
        }
    for (TbsBitmap* b : {&mask, &copy}) {
        SetViewportOrgEx(b->DC(), -Area.Left, -Area.Top, nullptr);
        Paint(b->Canvas(), b == &mask);
        SetViewportOrgEx(b->DC(), 0, 0, nullptr);
    }
    SetAlphaFromMask(&copy, &mask);
    copy.SetAlphaBlend(false);
    copy.SetTransparent(false);
    copy.Draw(Image, Area.Left, Area.Top);
}

// Paints on the layered image inside Area and gives every pixel there its alpha back.
void DrawKeepingAlphaOf(TbsBitmap* Image, TRect Area, const std::function<void(TCanvas* C)>& Paint)
{
    Area.Left = std::max(Area.Left, 0);
    Area.Top = std::max(Area.Top, 0);
    Area.Right = std::min(Area.Right, Image->Width());
    Area.Bottom = std::min(Area.Bottom, Image->Height());
    if (Area.IsEmpty()) return;
    std::vector<uint8_t> alpha;
    for (int y = Area.Top; y < Area.Bottom; ++y)
        for (int x = Area.Left; x < Area.Right; ++x) alpha.push_back(AlphaOf(Image->Pixel(x, y)));
    Paint(Image->Canvas());
    size_t i = 0;
    for (int y = Area.Top; y < Area.Bottom; ++y)
        for (int x = Area.Left; x < Area.Right; ++x)
            Image->SetPixel(x, y, (Image->Pixel(x, y) & 0xFFFFFF) | (static_cast<TbsColor>(alpha[i++]) << 24));
}

// ---- construction ----------------------------------------------------------------------------

TbsSkinCaptionObject::TbsSkinCaptionObject(TbsSkinForm* AParent, TbsDataSkinObject* AData)
    : TbsActiveSkinObject(AParent, AData)
{
    auto* c = dynamic_cast<TbsDataSkinCaption*>(AData);
    if (!c) return;
    FontName = c->FontName;
    FontHeight = c->FontHeight;
    FontStyle = c->FontStyle;
    FontColor = c->FontColor;
    ActiveFontColor = c->ActiveFontColor;
    ShadowColor = c->ShadowColor;
    ActiveShadowColor = c->ActiveShadowColor;
    Shadow = c->Shadow;
    Alignment = c->Alignment;
    TextRct = c->TextRct;
    FrameRect = c->FrameRect;
    ActiveFrameRect = c->ActiveFrameRect;
    FrameLeftOffset = c->FrameLeftOffset;
    FrameRightOffset = c->FrameRightOffset;
    FrameTextRect = c->FrameTextRect;
    Light = c->Light;
    LightColor = c->LightColor;
    ActiveLightColor = c->ActiveLightColor;
    StretchEffect = c->StretchEffect;
    AnimateSkinRect = c->AnimateSkinRect;
    FrameCount = c->FrameCount;
    AnimateInterval = c->AnimateInterval;
    InActiveAnimation = c->InActiveAnimation;
    FullFrame = c->FullFrame;
    GlowEffect = c->GlowEffect;
    VistaGlowEffect = c->VistaGlowEffect;
    VistaGlowInActiveEffect = c->VistaGlowInActiveEffect;
    GlowInActiveEffect = c->GlowInActiveEffect;
    GlowSize = c->GlowSize;
    GlowColor = c->GlowColor;
    GlowActiveColor = c->GlowActiveColor;
    GlowOffset = c->GlowOffset;
    ReflectionEffect = c->ReflectionEffect;
    ReflectionColor = c->ReflectionColor;
    ReflectionActiveColor = c->ReflectionActiveColor;
    ReflectionOffset = c->ReflectionOffset;
    DividerRect = c->DividerRect;
    InActiveDividerRect = c->InActiveDividerRect;
    DividerTransparent = c->DividerTransparent;
    DividerTransparentColor = c->DividerTransparentColor;
    QuickButtonAlphaMaskPictureIndex = c->QuickButtonAlphaMaskPictureIndex;
}

bool TbsSkinCaptionObject::EnableAnimation()
{
    return SD && SD->EnableSkinEffects() && !SD->Empty && !AnimateSkinRect.IsEmpty();
}

bool TbsSkinCaptionObject::HasQuickButtons() const
{
    return Parent->QuickButtons()->Count() > 0 && Parent->QuickImageList();
}

TRect TbsSkinCaptionObject::TextRect()
{
    TRect t = TextRct;
    if (t.IsEmpty()) return t;
    // The skin's right margin stays as the caption grows.
    t.Right = ObjectRect.Width() - (SkinRect.Width() - TextRct.Right);
    if (Parent->RibbonAppMenuCaptionVisible())
        t.Left = Parent->RibbonAppMenuCaptionOffset() - ObjectRect.Left;
    else if (HasQuickButtons())
        t.Left += Parent->QuickButtons()->Count() * (Parent->QuickImageList()->Width() + 8) + 5;
    if (!FrameRect.IsEmpty()) {
        t.Top += FrameTextRect.Top;
        t.Left += FrameTextRect.Left;
        t.Right += FrameTextRect.Right - FrameRect.Width();
    }
    return t;
}

String TbsSkinCaptionObject::CaptionText() const
{
    String text = Parent->Form()->Caption();
    if (Parent->Form()->FormStyle() == fsMDIForm)
        if (TbsSkinForm* child = MaximizedMDIChildSkinForm()) text += L" - [" + child->Form()->Caption() + L"]";
    return text;
}

void TbsSkinCaptionObject::SetCaptionFont(TCanvas* C, TColor Color)
{
    TFont* font = C->Font();
    if (Parent->UseSkinFontInCaption()) {
        font->SetName(FontName);
        font->SetStyle(FontStyle);
        font->SetHeight(FontHeight);
    } else {
        font->Assign(Parent->DefCaptionFont());
    }
    if (SD && SD->ResourceStrData())
        font->SetCharset(SD->ResourceStrData()->CharSet());
    else
        font->SetCharset(Parent->DefCaptionFont()->Charset());
    font->SetColor(Color);
}

// ---- the text --------------------------------------------------------------------------------

void TbsSkinCaptionObject::DrawTextFrame(TCanvas* C, int OX, int X, int Y, int W, bool A)
{
    if (!ActivePicture) return;
    const TRect src = A && !ActiveFrameRect.IsEmpty() ? ActiveFrameRect : FrameRect;
    const int buttonsOffset = SD->ButtonsOffset;
    TBitmap b;
    if (FullFrame) {
        const int w = ObjectRect.Width() - 2 * buttonsOffset;
        if (w <= 0) return;
        CreateHSkinImage(FrameLeftOffset, FrameRightOffset, &b, ActivePicture, src, w, FrameRect.Height(), false);
        C->Draw(OX + buttonsOffset, Y - FrameTextRect.Top, &b);
        return;
    }
    const int w = FrameRect.Width() + W - FrameTextRect.Width();
    if (w <= 0) return;
    CreateHSkinImage(FrameLeftOffset, FrameRightOffset, &b, ActivePicture, src, w, FrameRect.Height(), false);
    C->Draw(X - FrameTextRect.Left, Y - FrameTextRect.Top, &b);
}

void TbsSkinCaptionObject::DrawCaptionText(TCanvas* C, int OX, int OY, bool A, TRect T, bool Layered, TbsBitmap* Image)
{
    String text = CaptionText();
    if (text.empty() || (!Layered && TextRct.IsEmpty())) return;
    const TColor textColor = C->Font()->Color();
    FitWideTextToWidth(C, text, T.Width());
    const int w = GetWideTextWidth(C, text), h = GetWideTextHeight(C, text);
    const int y0 = T.Top + T.Height() / 2 - h / 2;
    int x0 = T.Left;
    if (Parent->QuickButtons()->Count() > 0 || Alignment == taCenter)
        x0 = T.Left + T.Width() / 2 - w / 2;
    else if (Alignment == taRightJustify)
        x0 = T.Right - w;
    const int X = x0 + OX;
    int Y = y0 + OY;
    if (C->Font()->Height() % 2 != 0) --Y;
    C->Brush()->SetStyle(bsClear);
    if (!Layered && !FrameRect.IsEmpty()) DrawTextFrame(C, OX, X, Y, w, A);

    // One piece of text (Grow: how far an effect reaches beyond it), straight on the canvas or
    // keeping the layered image's alpha; Paint draws it in white on the mask.
    auto piece = [&](const TRect& R, int Grow, const std::function<void(TCanvas*, bool)>& Paint) {
        if (!Layered) {
            Paint(C, false);
            return;
        }
        const TRect area = Rect(R.Left - Grow, R.Top - Grow, R.Right + Grow, R.Bottom + Grow);
        DrawKeepingAlpha(Image, area, [&](TCanvas* D, bool OnMask) {
            D->Font()->Assign(C->Font());
            D->Brush()->SetStyle(bsClear);
            Paint(D, OnMask);
        });
    };
    auto measured = [&](int AtX, int AtY) {
        TRect r = Rect(AtX, AtY, AtX, AtY);
        DrawWideText(C, text, r, kTextFlags | DT_CALCRECT);
        return r;
    };
    auto plainIn = [&](TRect R, TColor Color) {
        return [&, R, Color](TCanvas* D, bool OnMask) {
            TRect r = R;
            D->Font()->SetColor(OnMask ? clWhite : Color);
            DrawWideText(D, text, r, kTextFlags);
        };
    };
    if (Light) {
        const TRect r = measured(X - 1, Y - 1);
        piece(r, 0, plainIn(r, A ? ActiveLightColor : LightColor));
    }
    if (Shadow) {
        const TRect r = measured(X + 1, Y + 1);
        piece(r, 0, plainIn(r, A ? ActiveShadowColor : ShadowColor));
    }
    const TRect r = measured(X, Y);
    const TColor glow = A ? GlowActiveColor : GlowColor;
    if (ReflectionEffect) {
        const TColor rc = A ? ReflectionActiveColor : ReflectionColor;
        piece(r, 6, [&](TCanvas* D, bool OnMask) {
            D->Font()->SetColor(OnMask ? clWhite : textColor);
            DrawReflectionText(D, r, text, kTextFlags, ReflectionOffset, OnMask ? clWhite : rc);
        });
    } else if (VistaGlowEffect && (Layered || A || VistaGlowInActiveEffect)) {
        piece(r, 6, [&](TCanvas* D, bool OnMask) {
            D->Font()->SetColor(OnMask ? clWhite : textColor);
            if (Layered)
                DrawVistaGlowText(D, r, text, kTextFlags, OnMask ? clWhite : glow);
            else
                DrawVistaGlowText2(D, r, text, kTextFlags, glow);
        });
    } else if (GlowEffect && (Layered || A || GlowInActiveEffect)) {
        piece(r, 6, [&](TCanvas* D, bool OnMask) {
            D->Font()->SetColor(OnMask ? clWhite : textColor);
            DrawGlowText(D, r, text, kTextFlags, GlowOffset, OnMask ? clWhite : glow, GlowSize);
        });
    } else {
        piece(r, 0, plainIn(r, textColor));
    }
    C->Font()->SetColor(textColor);
}

// ---- the background --------------------------------------------------------------------------

void TbsSkinCaptionObject::MakeBackground(TBitmap* B, TBitmap* Src, const TRect& S)
{
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    if (!Src || S.IsEmpty() || w <= 0 || h <= 0) return;
    // The parts of the caption in the frame picture's fixed corners keep their size.
    const int lo = std::max(0, SD->LTPoint.X - SkinRect.Left);
    const int ro = std::max(0, SkinRect.Right - SD->RTPoint.X);
    if (lo == 0 && ro == 0) {
        B->SetSize(w, h);
        B->Canvas()->CopyRect(Rect(0, 0, w, h), Src->Canvas(), S);
        return;
    }
    CreateHSkinImage(lo, ro, B, Src, S, w, S.Height(), StretchEffect);
}

TRect TbsSkinCaptionObject::AnimationFrame(int N) const
{
    const TRect& a = AnimateSkinRect;
    if (SkinRect.Height() < a.Height()) {
        const int d = a.Height() / FrameCount;
        return Rect(a.Left, a.Top + (N - 1) * d, a.Right, a.Top + N * d);
    }
    const int d = a.Width() / FrameCount;
    return Rect(a.Left + (N - 1) * d, a.Top, a.Left + N * d, a.Bottom);
}

void TbsSkinCaptionObject::MakeLook(TBitmap* B, TBitmap* Src, const TRect& S, bool A, const TRect& T)
{
    MakeBackground(B, Src, S);
    if (B->Empty() || Parent->OnCaptionPaint) return;
    SetCaptionFont(B->Canvas(), A ? ActiveFontColor : FontColor);
    DrawCaptionText(B->Canvas(), 0, 0, A, T, false, nullptr);
}

void TbsSkinCaptionObject::ApplyInActiveEffect(TBitmap* B)
{
    if (B->Empty() || !Parent->UseAutoInActiveImage()) return;
    B->SetPixelFormat(pf24bit);
    std::unique_ptr<TbsEffectBmp> e(TbsEffectBmp::CreateFromhWnd(B->Handle()));
    switch (SD->InActiveEffect) {
    case ieBrightness: e->ChangeBrightness(0.5); break;
    case ieDarkness: e->ChangeDarkness(0.3); break;
    case ieGrayScale: e->GrayScale(); break;
    case ieNoise: e->AddMonoNoise(50); break;
    case ieSplitBlur: e->SplitBlur(1); break;
    case ieInvert: e->Invert(); break;
    }
    e->Draw(B->Canvas()->Handle(), 0, 0);
}

// ---- drawing on the ordinary frame -----------------------------------------------------------

void TbsSkinCaptionObject::Draw(TCanvas* Cnvs, bool)
{
    if (!HasSkin()) return;
    const TRect T = TextRect();
    const bool quick = HasQuickButtons() && !Parent->RibbonAppMenuCaptionVisible();
    bool A = Active;
    std::unique_ptr<TBitmap> look;
    if (EnableAnimation() && CurrentFrame >= 1 && CurrentFrame <= FrameCount) {
        // The text keeps the look of the state being left until the animation ends.
        A = !Active;
        look = std::make_unique<TBitmap>();
        MakeLook(look.get(), ActivePicture, AnimationFrame(CurrentFrame), A, T);
    } else if (EnableMorphing() && ((FMorphKf > 0 && !Active) || (FMorphKf < 1 && Active))) {
        TBitmap normal, active;
        MakeLook(&normal, Picture, SkinRect, false, T);
        MakeLook(&active, ActivePicture, ActiveSkinRect, true, T);
        if (!normal.Empty() && !active.Empty() && normal.Width() == active.Width() &&
            normal.Height() == active.Height()) {
            normal.SetPixelFormat(pf24bit);
            active.SetPixelFormat(pf24bit);
            std::unique_ptr<TbsEffectBmp> e1(TbsEffectBmp::CreateFromhWnd(normal.Handle()));
            std::unique_ptr<TbsEffectBmp> e2(TbsEffectBmp::CreateFromhWnd(active.Handle()));
            e1->MorphBy(MorphKind, e2.get(), FMorphKf);
            look = std::make_unique<TBitmap>(normal.Width(), normal.Height());
            look->SetPixelFormat(pf24bit);
            e1->Draw(look->Canvas()->Handle(), 0, 0);
            if (!Active) ApplyInActiveEffect(look.get());
        }
    } else if (ActiveSkinRect.IsEmpty() || (!Active && !EnableMorphing() && !StretchEffect && !EnableAnimation())) {
        // The frame under the caption already shows its picture: only the text.
    } else if (!Active) {
        look = std::make_unique<TBitmap>();
        MakeLook(look.get(), Picture, SkinRect, false, T);
        ApplyInActiveEffect(look.get());
    } else {
        look = std::make_unique<TBitmap>();
        MakeLook(look.get(), ActivePicture, ActiveSkinRect, true, T);
    }
    if (look && !look->Empty()) Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, look.get());
    // Quick buttons and the application's painting go on top of a composed background.
    if (quick) DrawQuickButtons(Cnvs);
    if (Parent->OnCaptionPaint) {
        Parent->OnCaptionPaint(Cnvs, ObjectRect, A);
        return;
    }
    if (look) return;  // the text is in the composed look
    SetCaptionFont(Cnvs, Active ? ActiveFontColor : FontColor);
    DrawCaptionText(Cnvs, ObjectRect.Left, ObjectRect.Top, Active, T, false, nullptr);
}

// ---- quick buttons on the ordinary frame -----------------------------------------------------

TRect TbsSkinCaptionObject::DividerSource(bool A) const
{
    return A || InActiveDividerRect.IsEmpty() ? DividerRect : InActiveDividerRect;
}

void TbsSkinCaptionObject::DrawQuickButtons(TCanvas* C)
{
    TCustomImageList* images = Parent->QuickImageList();
    const int W = images->Width(), H = images->Height();
    int x = ObjectRect.Left;
    const TRect div = DividerSource(Active);
    if (!div.IsEmpty() && Parent->QuickButtonsShowDivider() && ActivePicture) {
        TBitmap d(div.Width(), div.Height());
        d.Canvas()->CopyRect(Rect(0, 0, div.Width(), div.Height()), ActivePicture->Canvas(), div);
        if (DividerTransparent) {
            d.SetTransparentMode(tmFixed);
            d.SetTransparentColor(DividerTransparentColor);
            d.SetTransparent(true);
        }
        C->Draw(ObjectRect.Left + 3, ObjectRect.Top + ObjectRect.Height() / 2 - div.Height() / 2, &d);
        x = ObjectRect.Left + div.Width() + 6;
    }
    const int y = ObjectRect.Top + ObjectRect.Height() / 2 - H / 2 - 2;
    TbsQuickButtonItems* items = Parent->QuickButtons();
    for (int i = 0; i < items->Count(); ++i) {
        TbsQuickButtonItem* item = items->Items(i);
        if (!item->Visible()) continue;
        item->ItemRect = Rect(x, y, x + W + 4, y + H + 4);
        DrawQuickButton(C, item);
        x += W + 8;
    }
}

TbsDataSkinButtonControl* TbsSkinCaptionObject::QuickButtonRecord() const
{
    int i = SD->GetControlIndex(L"officequickbutton");
    if (i < 0) i = SD->GetControlIndex(L"resizetoolbutton");
    if (i < 0) return nullptr;
    return dynamic_cast<TbsDataSkinButtonControl*>(SD->CtrlList[static_cast<size_t>(i)]);
}

bool TbsSkinCaptionObject::MakeQuickButtonFace(TBitmap* Face, TbsQuickButtonItem* Item)
{
    TbsDataSkinButtonControl* rec = QuickButtonRecord();
    TBitmap* pic = rec ? PictureAt(SD, rec->PictureIndex) : nullptr;
    if (!pic) return false;
    const TRect src = Item->Down ? rec->DownSkinRect : rec->ActiveSkinRect;
    const TRect& r = Item->ItemRect;
    if (src.IsEmpty() || r.IsEmpty()) return false;
    Face->SetSize(r.Width(), r.Height());
    CreateStretchImage(Face, pic, src, rec->ClRect, true);
    return true;
}

void TbsSkinCaptionObject::DrawQuickButton(TCanvas* C, TbsQuickButtonItem* Item)
{
    if (Item->ImageIndex() < 0) return;
    TCustomImageList* images = Parent->QuickImageList();
    const TRect& r = Item->ItemRect;
    if (Item->Active) {
        TBitmap face;
        if (MakeQuickButtonFace(&face, Item)) C->Draw(r.Left, r.Top, &face);
    }
    if (Item->ImageIndex() >= images->Count()) return;
    images->Draw(C, r.Left + r.Width() / 2 - images->Width() / 2, r.Top + r.Height() / 2 - images->Height() / 2,
                 Item->ImageIndex(), Item->Enabled());
}

// ---- drawing on the layered frame ------------------------------------------------------------

void TbsSkinCaptionObject::DrawAlpha(TCanvas* Cnvs, TbsBitmap* ABitMap)
{
    if (!HasSkin() || !ABitMap || ABitMap->Empty()) return;
    const bool A = Parent->FFormActive;
    TRect R = Rect(0, 0, ObjectRect.Width(), ObjectRect.Height());
    if (HasQuickButtons()) {
        TbsQuickButtonItems* items = Parent->QuickButtons();
        const int W = Parent->QuickImageList()->Width();
        int x = ObjectRect.Left + 5;
        const TRect div = DividerSource(A);
        if (DividerRect.IsEmpty()) {
            R.Left += items->Count() * (W + 8) + 5;
        } else {
            const int dw = div.IsEmpty() ? DividerRect.Width() : div.Width();
            if (!div.IsEmpty() && ActivePicture) {
                // The divider over the image, the image's alpha kept under it.
                const int dx = ObjectRect.Left + 3, dy = ObjectRect.Top + ObjectRect.Height() / 2 - div.Height() / 2;
                TBitmap d(div.Width(), div.Height());
                d.Canvas()->CopyRect(Rect(0, 0, div.Width(), div.Height()), ActivePicture->Canvas(), div);
                if (DividerTransparent) {
                    d.SetTransparentMode(tmFixed);
                    d.SetTransparentColor(DividerTransparentColor);
                    d.SetTransparent(true);
                }
                DrawKeepingAlphaOf(ABitMap, Rect(dx, dy, dx + d.Width(), dy + d.Height()),
                                   [&](TCanvas* D) { D->Draw(dx, dy, &d); });
            }
            R.Left += dw + items->Count() * (W + 8) + 6;
            x = ObjectRect.Left + dw + 6;
        }
        DrawAlphaQuickButtons(Cnvs, ABitMap, x);
    }
    if (VistaGlowEffect) {
        R = Rect(R.Left + 6, R.Top + 6, R.Right - 6, R.Bottom - 6);
    } else if (GlowEffect) {
        R = Rect(R.Left + 3, R.Top + 3, R.Right - 3, R.Bottom - 3);
    }
    Active = A;
    if (Parent->OnCaptionPaint) {
        Parent->OnCaptionPaint(Cnvs, ObjectRect, A);
        return;
    }
    SetCaptionFont(Cnvs, A ? ActiveFontColor : FontColor);
    DrawCaptionText(Cnvs, ObjectRect.Left, ObjectRect.Top, A, R, true, ABitMap);
}

void TbsSkinCaptionObject::DrawAlphaQuickButtons(TCanvas*, TbsBitmap* Image, int X)
{
    TCustomImageList* images = Parent->QuickImageList();
    const int W = images->Width(), H = images->Height();
    const int y = ObjectRect.Top + ObjectRect.Height() / 2 - H / 2 - 2;
    TbsQuickButtonItems* items = Parent->QuickButtons();
    for (int i = 0; i < items->Count(); ++i) {
        TbsQuickButtonItem* item = items->Items(i);
        if (!item->Visible()) continue;
        item->ItemRect = Rect(X, y, X + W + 4, y + H + 4);
        X += W + 8;
        if (item->ImageIndex() < 0) continue;
        const TRect& r = item->ItemRect;
        TBitmap face;
        if (item->Active && MakeQuickButtonFace(&face, item)) {
            TbsBitmap f;
            f.Assign(&face);
            TBitmap* maskPic = PictureAt(SD, QuickButtonAlphaMaskPictureIndex);
            TbsDataSkinButtonControl* rec = QuickButtonRecord();
            if (maskPic && rec) {
                // The mask keeps the record's margins, stretched to the face.
                TBitmap m(r.Width(), r.Height());
                const TRect cl = Rect(rec->ClRect.Left, rec->ClRect.Top,
                                      maskPic->Width() - (rec->SkinRect.Width() - rec->ClRect.Right),
                                      maskPic->Height() - (rec->SkinRect.Height() - rec->ClRect.Bottom));
                CreateStretchImage(&m, maskPic, Rect(0, 0, maskPic->Width(), maskPic->Height()), cl, true);
                TbsBitmap mb;
                mb.Assign(&m);
                SetPremultipliedAlphaFromMask(&f, &mb);
                if (IsMsImg32Loaded()) {
                    BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
                    ::AlphaBlend(Image->DC(), r.Left, r.Top, r.Width(), r.Height(), f.DC(), 0, 0, f.Width(), f.Height(),
                                 bf);
                }
            } else {
                f.SetAlpha(255);
                f.SetAlphaBlend(false);
                f.Draw(Image, r.Left, r.Top);
            }
        }
        DrawAlphaQuickButtonImage(Image, item);
    }
}

void TbsSkinCaptionObject::DrawAlphaQuickButtonImage(TbsBitmap* Image, TbsQuickButtonItem* Item)
{
    TCustomImageList* images = Parent->QuickImageList();
    if (Item->ImageIndex() >= images->Count()) return;
    const int W = images->Width(), H = images->Height();
    const TRect& r = Item->ItemRect;
    const int x = r.Left + r.Width() / 2 - W / 2, y = r.Top + r.Height() / 2 - H / 2;
    TbsBitmap b;
    b.SetSize(W, H);
    if (auto* png = dynamic_cast<TbsPngImageList*>(images)) {
        // The background under the image, with its alpha.
        for (int yy = 0; yy < H; ++yy)
            for (int xx = 0; xx < W; ++xx) b.SetPixel(xx, yy, Image->Pixel(x + xx, y + yy));
        if (Item->Enabled()) {
            TbsBitmap mask, white;
            mask.SetSize(W, H);
            for (int yy = 0; yy < H; ++yy)
                for (int xx = 0; xx < W; ++xx) {
                    const uint8_t a = AlphaOf(b.Pixel(xx, yy));
                    mask.SetPixel(xx, yy, 0xFF000000u | (a << 16) | (a << 8) | a);
                }
            TbsPngImage* pi = Item->ImageIndex() < png->PngImages()->Count()
                                  ? png->PngImages()->Items(Item->ImageIndex())->PngImage()
                                  : nullptr;
            if (pi) {
                CopyPngToBitmap(&white, pi);
                for (int yy = 0; yy < white.Height(); ++yy)
                    for (int xx = 0; xx < white.Width(); ++xx)
                        white.SetPixel(xx, yy, (white.Pixel(xx, yy) & 0xFF000000u) | 0xFFFFFF);
                white.CheckRGBA2();
                white.SetAlphaBlend(true);
                white.Draw(&mask, 0, 0);
            }
            b.SetAlpha(255);
            images->Draw(b.Canvas(), 0, 0, Item->ImageIndex(), true);
            SetAlphaFromMask(&b, &mask);
        } else {
            std::vector<TbsColor> under(static_cast<size_t>(W) * H);
            for (int yy = 0; yy < H; ++yy)
                for (int xx = 0; xx < W; ++xx) under[static_cast<size_t>(yy * W + xx)] = b.Pixel(xx, yy);
            images->Draw(b.Canvas(), 0, 0, Item->ImageIndex(), false);
            for (int yy = 0; yy < H; ++yy)
                for (int xx = 0; xx < W; ++xx)
                    b.SetPixel(xx, yy,
                               (b.Pixel(xx, yy) & 0xFFFFFF) | (under[static_cast<size_t>(yy * W + xx)] & 0xFF000000u));
        }
        b.SetAlphaBlend(false);
    } else {
        b.Clear(kKeyColor | 0xFF000000u);
        images->Draw(b.Canvas(), 0, 0, Item->ImageIndex(), Item->Enabled());
        b.CheckingTransparent(kKeyColor);
    }
    b.Draw(Image, x, y);
}

// ---- quick buttons: mouse --------------------------------------------------------------------

void TbsSkinCaptionObject::TrackQuickButtons(int X, int Y)
{
    TbsQuickButtonItems* items = Parent->QuickButtons();
    if (items->Count() == 0) return;
    if (Parent->RibbonAppMenuCaptionVisible()) {
        ActiveQuickButton = -1;
        return;
    }
    OldActiveQuickButton = ActiveQuickButton;
    int found = -1;
    for (int i = 0; i < items->Count() && found < 0; ++i) {
        TbsQuickButtonItem* item = items->Items(i);
        if (item->Enabled() && item->Visible() && PtInRect(item->ItemRect, Point(X, Y))) found = i;
    }
    ActiveQuickButton = found;
    bool changed = false;
    for (int i = 0; i < items->Count(); ++i) {
        if (i == PopupMenuQuickButton) continue;
        TbsQuickButtonItem* item = items->Items(i);
        const bool a = i == found;
        if (item->Active != a) {
            item->Active = a;
            changed = true;
        }
    }
    if (found != OldActiveQuickButton || changed) RedrawCaption();
    TbsFormHintLink* hint = Parent->HintLink();
    if (found != OldActiveQuickButton && found >= 0 && !items->Items(found)->Hint().empty() && hint &&
        Parent->QuickButtonsShowHint())
        hint->ActivateHint2(items->Items(found)->Hint());
    if (changed && found < 0 && Parent->QuickButtonsShowHint() && hint) hint->HideHint();
}

void TbsSkinCaptionObject::RedrawCaption()
{
    if (Parent->FullLayeredFrameInUse()) {
        UpdateLook();
        return;
    }
    if (Parent->Form()->HandleAllocated()) SendMessageW(Parent->Form()->Handle(), WM_NCPAINT, 0, 0);
}

void TbsSkinCaptionObject::PopupQuickButtonMenu(const TRect& R, TPopupMenu* Menu)
{
    if (Parent->FLayerManager->IsVisible) Parent->FLayerManager->Hide();
    if (Parent->FMenuLayerManager->IsVisible) Parent->FMenuLayerManager->Hide();
    const TRect saved = ObjectRect;
    ObjectRect = R;
    const TRect r = ScreenRect();
    ObjectRect = saved;
    if (auto* skinned = dynamic_cast<TbsSkinPopupMenuBase*>(Menu)) {
        skinned->PopupFromRect2(Parent->Form(), r, false);
        return;
    }
    // Until the skinned popup menu takes it, the framework's plain popup opens below the
    // button and tracks the menu itself; its end is the menu's close.
    Menu->SetPopupComponent(Parent);
    Menu->Popup(r.Left, r.Bottom);
    ReleasePopupQuickButton();
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

void TbsSkinCaptionObject::MouseMove(int X, int Y)
{
    Parent->DoMouseMoveEvent(IDName, X, Y, ObjectRect);
    if (HasQuickButtons()) TrackQuickButtons(X, Y);
}

void TbsSkinCaptionObject::MouseDown(int X, int Y, TMouseButton Button)
{
    Parent->DoMouseDownEvent(IDName, X, Y, ObjectRect, Button);
    if (!HasQuickButtons()) return;
    TbsQuickButtonItems* items = Parent->QuickButtons();
    if (Button == mbLeft) {
        FDown = true;
        TrackQuickButtons(X, Y);
        if (ActiveQuickButton >= 0) {
            const int pressed = ActiveQuickButton;
            for (int i = 0; i < items->Count(); ++i) {
                TbsQuickButtonItem* item = items->Items(i);
                if (i != pressed) {
                    item->Down = item->Active = false;
                    continue;
                }
                item->Down = true;
                if (item->PopupMenu() && PopupMenuQuickButton != i) {
                    RedrawCaption();
                    PopupMenuQuickButton = i;
                    MouseCaptureQuickButton = -1;
                    PopupQuickButtonMenu(item->ItemRect, item->PopupMenu());
                } else {
                    MouseCaptureQuickButton = i;
                }
            }
            RedrawCaption();
        }
    }
    if (Parent->QuickButtonsShowHint() && Parent->HintLink()) Parent->HintLink()->HideHint();
}

void TbsSkinCaptionObject::MouseUp(int X, int Y, TMouseButton Button)
{
    Parent->DoMouseUpEvent(IDName, X, Y, ObjectRect, Button);
    FDown = false;
    TbsQuickButtonItems* items = Parent->QuickButtons();
    if (HasQuickButtons())
        TrackQuickButtons(X, Y);
    else
        ActiveQuickButton = -1;
    if (ActiveQuickButton < 0 && MouseCaptureQuickButton >= 0 && MouseCaptureQuickButton < items->Count()) {
        TbsQuickButtonItem* item = items->Items(MouseCaptureQuickButton);
        item->Down = item->Active = false;
    }
    MouseCaptureQuickButton = -1;
    if (Button == mbLeft && ActiveQuickButton >= 0) {
        // A click needs the press and the release on the same button.
        TbsQuickButtonItem* hit = items->Items(ActiveQuickButton);
        const bool wasDown = hit->Down;
        for (int i = 0; i < items->Count(); ++i)
            if (!(i == ActiveQuickButton && i == PopupMenuQuickButton)) items->Items(i)->Down = false;
        RedrawCaption();
        if (wasDown && hit->OnClick) hit->OnClick(this);
    } else if (Parent->FullLayeredFrameShown() && Button == mbRight) {
        Parent->FBorderLayer->MouseCaptureObject = -1;
        if (!Parent->DisableSystemMenu() && ActiveQuickButton < 0) {
            POINT p;
            GetCursorPos(&p);
            Parent->PopupSysMenu(p.x, p.y);
        }
    }
}

void TbsSkinCaptionObject::MouseEnter()
{
    FMouseIn = true;
    Parent->DoMouseEnterEvent(IDName);
}

void TbsSkinCaptionObject::MouseLeave()
{
    FMouseIn = false;
    Parent->DoMouseLeaveEvent(IDName);
    if (!HasQuickButtons()) return;
    ActiveQuickButton = OldActiveQuickButton = -1;
    TrackQuickButtons(-1, -1);
    if (FDown) {
        FDown = false;
        Parent->MouseCaptureObject = -1;
        TbsQuickButtonItems* items = Parent->QuickButtons();
        if (MouseCaptureQuickButton >= 0 && MouseCaptureQuickButton < items->Count())
            items->Items(MouseCaptureQuickButton)->Down = false;
        MouseCaptureQuickButton = -1;
    }
}
