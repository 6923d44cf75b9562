#include "skin/boxes/skin_edit.h"

#include <algorithm>

#include "skin/boxes/box_buttons.h"
#include "skin/core/edit_list_records.h"
#include "skin/core/marks.h"
#include "skin/core/resource_strings.h"
#include "skin/core/skin_image.h"
#include "skin/core/skin_messages.h"

namespace {
constexpr UINT_PTR kHoverTimer = 1;
constexpr unsigned kHoverMs = 100;
constexpr LRESULT kHitButton = HTHSCROLL;  // 6
constexpr LRESULT kHitFrame = HTVSCROLL;   // 7
constexpr LRESULT kHitLeftImage = 104;
constexpr LRESULT kHitRightImage = 105;

int RW(const TRect& R) { return R.Right - R.Left; }
int RH(const TRect& R) { return R.Bottom - R.Top; }
}  // namespace

TbsSkinCustomEdit::TbsSkinCustomEdit(TComponent* AOwner) : TbsCustomEdit(AOwner)
{
    FControlStyle.Include(csOpaque);
    FFont.SetName(L"Tahoma");
    FFont.SetColor(0);
    FFont.SetStyle(TFontStyles());
    FFont.SetHeight(13);
    SetBorderStyle(bsNone);
    FEditTransparent = true;
    FDefaultFont.Assign(&FFont);
    FDefaultFont.OnChange = [this](TObject*) {
        if (FIndex == -1) FFont.Assign(&FDefaultFont);
    };
    SetBounds(FLeft, FTop, FWidth, 20);
}

TbsSkinCustomEdit::~TbsSkinCustomEdit()
{
    FDefaultFont.OnChange = nullptr;
    if (HandleAllocated()) KillTimer(FHandle, kHoverTimer);
    if (FSD) FSD->RemoveFreeNotification(this);
    if (FImages) FImages->RemoveFreeNotification(this);
}

// ---- properties ----

void TbsSkinCustomEdit::SetDefaultColor(TColor Value)
{
    FDefaultColor = Value;
    if (FIndex == -1) Invalidate();
}

void TbsSkinCustomEdit::SetDefaultWidth(int Value)
{
    FDefaultWidth = Value;
    if (FIndex == -1 && Value > 0) SetWidth(Value);
}

void TbsSkinCustomEdit::SetDefaultHeight(int Value)
{
    FDefaultHeight = Value;
    if (FIndex == -1 && Value > 0 && FUseSkinFont)
        SetHeight(Value);
    else
        AdjustEditHeight();
}

void TbsSkinCustomEdit::SetButtonMode(bool Value)
{
    FButtonMode = Value;
    if (HandleAllocated()) RecreateWnd();
    if ((ComponentState() & csDesigning) && !(ComponentState() & csLoading))
        FSkinDataName = Value ? L"buttonedit" : L"edit";
}

void TbsSkinCustomEdit::SetAlignment(TAlignment Value)
{
    if (Value == FAlignment) return;
    FAlignment = Value;
    if (HandleAllocated()) RecreateWnd();
}

void TbsSkinCustomEdit::SetSkinData(TbsSkinData* Value)
{
    if (Value != FSD) {
        if (FSD) FSD->RemoveFreeNotification(this);
        FSD = Value;
        if (Value) Value->FreeNotification(this);
    }
    if (Value && !Value->Empty && !(ComponentState() & csDesigning)) ChangeSkinData();
}

void TbsSkinCustomEdit::SetImages(TCustomImageList* Value)
{
    if (Value == FImages) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (Value) Value->FreeNotification(this);
    CalcImageRects(true);
    if (!(FIndex != -1 && FUseSkinFont)) AdjustEditHeight();
    RepaintFrame();
}

void TbsSkinCustomEdit::SetLeftImageIndex(int Value)
{
    FLeftImageIndex = Value;
    CalcImageRects(true);
    Invalidate();
}

void TbsSkinCustomEdit::SetRightImageIndex(int Value)
{
    FRightImageIndex = Value;
    CalcImageRects(true);
    Invalidate();
}

void TbsSkinCustomEdit::SetButtonImageIndex(int Value)
{
    if (Value == FButtonImageIndex) return;
    FButtonImageIndex = Value;
    RepaintFrame();
}

void TbsSkinCustomEdit::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsCustomEdit::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FImages) FImages = nullptr;
}

// ---- skin and geometry ----

void TbsSkinCustomEdit::GetSkinData()
{
    if (!FSD) {
        FIndex = -1;
        return;
    }
    FIndex = FSD->Empty ? -1 : FSD->GetControlIndex(FSkinDataName);
    if (FIndex == -1) return;
    auto* r = dynamic_cast<TbsDataSkinEditControl*>(FSD->CtrlList[static_cast<size_t>(FIndex)]);
    if (!r) return;
    const int pi = r->PictureIndex;
    Picture = pi >= 0 && pi < static_cast<int>(FSD->FActivePictures.size())
                  ? FSD->FActivePictures[static_cast<size_t>(pi)]
                  : nullptr;
    // A record whose picture index names no picture draws the built-in look.
    if (!Picture) {
        FIndex = -1;
        return;
    }
    SkinRect = r->SkinRect;
    ActiveSkinRect = IsNullRect(r->ActiveSkinRect) ? r->SkinRect : r->ActiveSkinRect;
    LOffset = r->LTPoint.X;
    ROffset = RW(SkinRect) - r->RTPoint.X;
    ClRect = r->ClRect;
    FontName = r->FontName;
    FontStyle = r->FontStyle;
    FontHeight = r->FontHeight;
    FontColor = r->FontColor;
    DisabledFontColor = r->DisabledFontColor;
    ActiveFontColor = r->ActiveFontColor;
    ButtonRect = r->ButtonRect;
    ActiveButtonRect = r->ActiveButtonRect;
    DownButtonRect = IsNullRect(r->DownButtonRect) ? r->ActiveButtonRect : r->DownButtonRect;
    UnEnabledButtonRect = r->UnEnabledButtonRect;
    StretchEffect = r->StretchEffect;
}

void TbsSkinCustomEdit::CalcRects()
{
    const int w = Width(), h = Height();
    if (FIndex == -1) {
        FButtonRect = FButtonMode ? Rect(w - h, 0, w, h) : TRect{};
        FEditRect = Rect(2, 2, (FButtonMode ? FButtonRect.Left : w) - 2, h - 2);
        return;
    }
    const int sw = RW(SkinRect), sh = RH(SkinRect);
    FEditRect = Rect(ClRect.Left, ClRect.Top, w - (sw - ClRect.Right), ClRect.Bottom);
    FButtonRect = ButtonRect;
    if (ButtonRect.Left >= sw - ROffset) FButtonRect = MovedRect(ButtonRect, w - sw, 0);
    if (!FUseSkinFont) {
        FEditRect.Bottom += h - sh;
        FButtonRect.Bottom += h - sh;
    }
}

int TbsSkinCustomEdit::CalcEditHeight()
{
    GetSkinData();
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FFont.Handle());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    int h = tm.tmHeight;
    const int ih = FImages ? FImages->Height() : 0;
    if (FIndex == -1) return std::max(h + 2, ih) + 4;
    return std::max(h, ih) + RH(SkinRect) - RH(ClRect);
}

void TbsSkinCustomEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    GetSkinData();
    bool changed = AWidth != Width() || AHeight != Height();
    if (FIndex == -1 && FUseSkinFont) changed = false;
    if (FIndex == -1 && Align() != alClient && Align() != alLeft && Align() != alRight) {
        AHeight = CalcEditHeight();
    } else if (changed) {
        if (FUseSkinFont && FIndex != -1)
            AHeight = RH(SkinRect);
        else if (!FUseSkinFont)
            AHeight = CalcEditHeight();
    }
    TbsCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    RepaintFrame();
}

void TbsSkinCustomEdit::ApplyFontColor()
{
    if (FIndex == -1)
        FFont.SetColor(FDefaultFont.Color());
    else
        FFont.SetColor(Focused() ? ActiveFontColor : FontColor);
}

void TbsSkinCustomEdit::ChangeSkinData()
{
    GetSkinData();
    if (FIndex == -1) {
        FFont.Assign(&FDefaultFont);
        if (FDefaultWidth > 0) SetWidth(FDefaultWidth);
        if (FDefaultHeight > 0) SetHeight(FDefaultHeight);
    } else if (FUseSkinFont) {
        FFont.SetName(FontName);
        FFont.SetStyle(FontStyle);
        SetHeight(RH(SkinRect));
        FFont.SetHeight(FontHeight);
        ApplyFontColor();
    } else {
        FFont.Assign(&FDefaultFont);
        ApplyFontColor();
    }
    FFont.SetCharset(FSD && FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet() : FDefaultFont.Charset());
    if (HandleAllocated()) {
        // A new window for the new frame; what the user had stays.
        const int selStart = SelStart(), selLength = SelLength();
        RecreateWnd();
        HandleNeeded();
        SetSelStart(selStart);
        SetSelLength(selLength);
    }
    ApplyFontColor();
    if (!FUseSkinFont) AdjustEditHeight();
    RepaintFrame();
    if (FImages) {
        CalcImageRects(true);
        Invalidate();
    }
}

void TbsSkinCustomEdit::CreateParams(TCreateParams& p)
{
    TbsCustomEdit::CreateParams(p);
    p.ExStyle &= ~static_cast<DWORD>(WS_EX_TRANSPARENT);
    p.Style &= ~static_cast<DWORD>(WS_BORDER);
    p.Style |= FAlignment == taRightJustify ? ES_RIGHT : FAlignment == taCenter ? ES_CENTER : ES_LEFT;
}

void TbsSkinCustomEdit::CreateWnd()
{
    TbsCustomEdit::CreateWnd();
    // A new window has the whole client for its text.
    FTextNarrowed = false;
    CalcImageRects(true);
}

void TbsSkinCustomEdit::CalcImageRects(bool SetRect)
{
    if (!FImages) {
        LeftButton.R = RightButton.R = TRect{};
        if (SetRect && FTextNarrowed && HandleAllocated()) SendMessageW(FHandle, EM_SETRECTNP, 0, 0);
        FTextNarrowed = false;
        return;
    }
    TRect r = ClientRect();
    LeftButton.R = RightButton.R = TRect{};
    const int iw = FImages->Width();
    if (FLeftImageIndex >= 0) {
        LeftButton.R = Rect(r.Left, r.Top, r.Left + iw, r.Bottom);
        r.Left += iw + 2;
    }
    if (FRightImageIndex >= 0) {
        RightButton.R = Rect(r.Right - iw, r.Top, r.Right, r.Bottom);
        r.Right -= iw + 2;
    }
    if (!SetRect || !HandleAllocated()) return;
    if (r.Right < r.Left) r.Right = r.Left;
    RECT text{r.Left, r.Top, r.Right, r.Bottom};
    SendMessageW(FHandle, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&text));
    FTextNarrowed = true;
}

void TbsSkinCustomEdit::BufferSize(int& W, int& H)
{
    const TRect c = ClientRect();
    W = c.Width();
    H = c.Height();
}

// ---- painting ----

void TbsSkinCustomEdit::RepaintFrame()
{
    if (!Parent() || !HandleAllocated()) return;
    SendMessageW(FHandle, WM_NCPAINT, 0, 0);
    RepaintBuffered();
}

void TbsSkinCustomEdit::RepaintBuffered()
{
    if (Enabled() || (ComponentState() & csDesigning)) {
        TbsCustomEdit::RepaintBuffered();
        return;
    }
    if (!HandleAllocated()) return;
    HDC dc = GetDC(FHandle);
    if (!dc) return;
    PaintDisabled(dc);
    ReleaseDC(FHandle, dc);
}

void TbsSkinCustomEdit::PaintFrameTo(HDC DC)
{
    const int w = Width(), h = Height();
    if (w <= 0 || h <= 0) return;
    GetSkinData();
    CalcRects();
    TBitmap b(w, h);
    TCanvas* c = b.Canvas();
    if (FIndex == -1) {
        const int e = FButtonMode ? w - FButtonRect.Left - 1 : 0;
        TRect r = Rect(0, 0, w - e, h);
        c->Brush()->SetColor(clBtnShadow);
        c->FrameRect(r);
        r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
        c->Brush()->SetColor(Color());
        c->FrameRect(r);
        r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
        c->Brush()->SetColor(FDefaultColor);
        c->FillRect(r);
        if (FButtonMode) DrawBoxButtonFrame(c, FButtonRect, BoxButtonState(FButtonActive, FButtonDown));
    } else if (FUseSkinFont) {
        const TRect src = Active() ? ActiveSkinRect : SkinRect;
        CreateHSkinImage(LOffset, ROffset, &b, Picture, src, w, RH(src), StretchEffect);
        if (FButtonMode) {
            TRect part{};
            if (!Enabled() && !IsNullRect(UnEnabledButtonRect))
                part = UnEnabledButtonRect;
            else if (FButtonDown && FButtonActive)
                part = DownButtonRect;
            else if (FButtonActive)
                part = ActiveButtonRect;
            if (!IsNullRect(part) && part.Left >= 0 && part.Top >= 0 && part.Right <= Picture->Width() &&
                part.Bottom <= Picture->Height())
                c->CopyRect(FButtonRect, Picture->Canvas(), part);
        }
    } else {
        CreateStretchImage(&b, Picture, Active() ? ActiveSkinRect : SkinRect, ClRect, false);
        if (FButtonMode) {
            if (TbsDataSkinButtonControl* rec =
                    FindButtonRecord(FSD, {L"editbutton", L"combobutton", L"resizebutton"})) {
                TBitmap bb;
                TColor fc = 0;
                if (ComposeButtonRecord(FSD, rec, BoxButtonState(FButtonActive, FButtonDown), &bb, RW(FButtonRect),
                                        RH(FButtonRect), fc))
                    c->Draw(FButtonRect.Left, FButtonRect.Top, &bb);
            }
        }
    }
    if (FButtonMode && FImages && FButtonImageIndex >= 0 && FButtonImageIndex < FImages->Count())
        FImages->Draw(c, FButtonRect.Left + RW(FButtonRect) / 2 - FImages->Width() / 2,
                      FButtonRect.Top + RH(FButtonRect) / 2 - FImages->Height() / 2, FButtonImageIndex, Enabled());
    BitBlt(DC, 0, 0, w, h, c->Handle(), 0, 0, SRCCOPY);
}

void TbsSkinCustomEdit::PaintEditBackground(TCanvas* C)
{
    CalcRects();
    const int ew = RW(FEditRect), eh = RH(FEditRect);
    if (ew < 1 || eh < 1) return;
    TBitmap b(ew, eh);
    if (FIndex == -1) {
        b.Canvas()->Brush()->SetColor(FDefaultColor);
        b.Canvas()->FillRect(Rect(0, 0, ew, eh));
        C->Draw(0, 0, &b);
        return;
    }
    const TRect look = Active() ? ActiveSkinRect : SkinRect;
    const TRect src =
        Rect(look.Left + ClRect.Left, look.Top + ClRect.Top, look.Left + ClRect.Right, look.Top + ClRect.Bottom);
    const int lo = std::max(0, LOffset - ClRect.Left), ro = std::max(0, ClRect.Right + ROffset - RW(SkinRect));
    CreateHSkinImage(lo, ro, &b, Picture, src, ew, RH(src), StretchEffect);
    if (FUseSkinFont)
        C->Draw(0, 0, &b);
    else
        C->StretchDraw(Rect(0, 0, ew, eh), &b);
}

void TbsSkinCustomEdit::DrawImages(TCanvas* C)
{
    if (!FImages) return;
    CalcImageRects(false);
    auto draw = [&](const TbsCBButtonX& B, int Normal, int Hot, int Down) {
        if (!ValidImage(Normal)) return;
        int index = Normal;
        if (B.Down && B.MouseIn && ValidImage(Down))
            index = Down;
        else if (B.MouseIn && ValidImage(Hot))
            index = Hot;
        const int y = std::max(B.R.Top, B.R.Top + RH(B.R) / 2 - FImages->Height() / 2);
        FImages->Draw(C, B.R.Left, y, index, Enabled());
    };
    draw(LeftButton, FLeftImageIndex, FLeftImageHotIndex, FLeftImageDownIndex);
    draw(RightButton, FRightImageIndex, FRightImageHotIndex, FRightImageDownIndex);
}

void TbsSkinCustomEdit::PaintDisabled(HDC DC)
{
    TBitmap b(std::max(1, ClientWidth()), std::max(1, ClientHeight()));
    TCanvas* c = b.Canvas();
    PaintEditBackground(c);
    if (FIndex != -1 && FUseSkinFont) {
        c->Font()->SetName(FontName);
        c->Font()->SetHeight(FontHeight);
        c->Font()->SetStyle(FontStyle);
        c->Font()->SetColor(DisabledFontColor);
    } else {
        c->Font()->Assign(&FDefaultFont);
        c->Font()->SetColor(FIndex == -1 ? clGrayText : DisabledFontColor);
    }
    c->Font()->SetCharset(FSD && FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet() : FDefaultFont.Charset());
    // A password edit shows its password characters, never the stored text.
    const String text = DisplayText();
    const int ew = RW(FEditRect), tw = c->TextWidth(text);
    const int x = FAlignment == taRightJustify ? ew - 1 - tw : FAlignment == taCenter ? ew / 2 + 2 - tw / 2 - 1 : 2;
    c->Brush()->SetStyle(bsClear);
    c->TextRect(Rect(0, 0, ew, RH(FEditRect)), x, 0, text);
    BitBlt(DC, 0, 0, b.Width(), b.Height(), c->Handle(), 0, 0, SRCCOPY);
}

// ---- pointer ----

int TbsSkinCustomEdit::HitTest(const TPoint& Screen)
{
    RECT wr;
    GetWindowRect(FHandle, &wr);
    const TPoint p = Point(Screen.X - wr.left, Screen.Y - wr.top);
    CalcRects();
    if (PtInRect(FButtonRect, p)) return kHitButton;
    if (!PtInRect(FEditRect, p)) return kHitFrame;
    return HTCLIENT;
}

int TbsSkinCustomEdit::ImageButtonAt(const TPoint& Client)
{
    if (!FImages) return 0;
    CalcImageRects(false);
    if (FLeftImageIndex >= 0 && PtInRect(LeftButton.R, Client)) return kHitLeftImage;
    if (FRightImageIndex >= 0 && PtInRect(RightButton.R, Client)) return kHitRightImage;
    return 0;
}

void TbsSkinCustomEdit::SetImageHot(TbsCBButtonX& B, bool Value)
{
    if (B.MouseIn == Value) return;
    B.MouseIn = Value;
    Invalidate();
}

void TbsSkinCustomEdit::ReleaseImageButtons()
{
    if (!LeftButton.Down && !RightButton.Down) return;
    LeftButton.Down = RightButton.Down = false;
    Invalidate();
}

bool TbsSkinCustomEdit::NeedsHoverTimer() const
{
    if (FButtonMode || FImages) return true;
    return FIndex != -1 && (!IsNullRect(ActiveSkinRect) || FontColor != ActiveFontColor);
}

void TbsSkinCustomEdit::DoMouseEnter()
{
    FMouseIn = true;
    if (!Focused() && FIndex != -1) {
        FFont.SetColor(ActiveFontColor);
        if (FImages) CalcImageRects(true);
        RepaintFrame();
    }
    if (OnMouseEnter) OnMouseEnter(this);
    if (NeedsHoverTimer()) {
        KillTimer(FHandle, kHoverTimer);
        SetTimer(FHandle, kHoverTimer, kHoverMs, nullptr);
    }
}

void TbsSkinCustomEdit::DoMouseLeave()
{
    FMouseIn = false;
    if (!Focused() && FIndex != -1) {
        FFont.SetColor(FontColor);
        if (FImages) CalcImageRects(true);
        RepaintFrame();
    }
    if (FButtonDown || FButtonActive) {
        FButtonDown = false;
        FButtonActive = false;
        RepaintFrame();
    }
    // Like the edit button's, an image press ends when the pointer leaves the edit.
    for (TbsCBButtonX* b : {&LeftButton, &RightButton}) {
        b->Down = false;
        if (b->MouseIn) {
            b->MouseIn = false;
            RepaintBuffered();
        }
    }
    if (OnMouseLeave) OnMouseLeave(this);
}

void TbsSkinCustomEdit::WndProc(TMessage& m)
{
    const bool designing = ComponentState() & csDesigning;
    switch (m.Msg) {
    case WM_NCCALCSIZE: {
        GetSkinData();
        if (auto* r = reinterpret_cast<RECT*>(m.LParam)) {
            if (FIndex == -1) {
                const LONG h = r->bottom - r->top;
                r->left += 2;
                r->top += 2;
                r->bottom -= 2;
                r->right -= FButtonMode ? h + 2 : 2;
            } else {
                r->left += ClRect.Left;
                r->top += ClRect.Top;
                r->right -= RW(SkinRect) - ClRect.Right;
                r->bottom -= RH(SkinRect) - ClRect.Bottom;
            }
            if (r->right < r->left) r->right = r->left;
            if (r->bottom < r->top) r->bottom = r->top;
        }
        m.Result = 0;
        return;
    }
    case WM_NCPAINT: {
        HDC dc = GetWindowDC(FHandle);
        if (dc) {
            CalcRects();
            const int saved = SaveDC(dc);
            ExcludeClipRect(dc, FEditRect.Left, FEditRect.Top, FEditRect.Right, FEditRect.Bottom);
            PaintFrameTo(dc);
            RestoreDC(dc, saved);
            ReleaseDC(FHandle, dc);
        }
        if (!designing) RepaintBuffered();
        m.Result = 0;
        return;
    }
    case WM_ERASEBKGND:
        if (designing) {
            TbsCustomEdit::WndProc(m);
            if (FImages && m.WParam) {
                TCanvas c;
                c.SetHandle(reinterpret_cast<HDC>(m.WParam));
                DrawImages(&c);
                c.SetHandle(nullptr);
            }
            return;
        }
        if (FStopDraw) {
            TCanvas c;
            c.SetHandle(reinterpret_cast<HDC>(m.WParam));
            PaintEditBackground(&c);
            DrawImages(&c);
            c.SetHandle(nullptr);
        } else {
            RepaintBuffered();
        }
        m.Result = 1;
        return;
    case WM_PAINT:
        if (designing || Enabled()) break;
        {
            PAINTSTRUCT ps;
            HDC dc = reinterpret_cast<HDC>(m.WParam);
            const bool own = !dc;
            if (own) dc = BeginPaint(FHandle, &ps);
            if (dc) PaintDisabled(dc);
            if (own) EndPaint(FHandle, &ps);
        }
        m.Result = 0;
        return;
    case WM_SKIN_PAINTTODC:
        // No context, no answer.
        if (!m.WParam) return;
        PaintFrameTo(reinterpret_cast<HDC>(m.WParam));
        m.Result = SKIN_PAINTTODC_DONE;
        return;
    case WM_SKIN_PAINTBORDERTODC:
        if (m.LParam != SKIN_PAINT_KEY) break;
        if (m.WParam) {
            HDC dc = reinterpret_cast<HDC>(m.WParam);
            CalcRects();
            const int saved = SaveDC(dc);
            ExcludeClipRect(dc, FEditRect.Left, FEditRect.Top, FEditRect.Right, FEditRect.Bottom);
            PaintFrameTo(dc);
            RestoreDC(dc, saved);
        }
        m.Result = SKIN_PAINT_KEY;
        return;
    case WM_NCHITTEST:
        if (designing) break;
        if (!FMouseIn) DoMouseEnter();
        if (FImages) {
            const int image = ImageButtonAt(ScreenToClient(Point(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam))));
            SetImageHot(LeftButton, image == kHitLeftImage);
            SetImageHot(RightButton, image == kHitRightImage);
            if (image) {
                m.Result = image;
                return;
            }
        }
        if (FButtonMode) {
            const int hit = HitTest(Point(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)));
            if (hit != HTCLIENT) {
                m.Result = hit;
                return;
            }
        }
        break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        if (!designing && FImages &&
            (m.WParam == static_cast<WPARAM>(kHitLeftImage) || m.WParam == static_cast<WPARAM>(kHitRightImage))) {
            (m.WParam == static_cast<WPARAM>(kHitLeftImage) ? LeftButton : RightButton).Down = true;
            if (!Focused() && CanFocus()) SetFocus();
            Invalidate();
            m.Result = 0;
            return;
        }
        if (!designing && FButtonMode && m.WParam == static_cast<WPARAM>(kHitButton)) {
            FButtonDown = true;
            FButtonActive = true;
            RepaintFrame();
            m.Result = 0;
            return;
        }
        break;
    case WM_NCLBUTTONUP:
        if (!designing && FImages &&
            (m.WParam == static_cast<WPARAM>(kHitLeftImage) || m.WParam == static_cast<WPARAM>(kHitRightImage))) {
            const bool left = m.WParam == static_cast<WPARAM>(kHitLeftImage);
            TbsCBButtonX& b = left ? LeftButton : RightButton;
            // A click needs the press on the same image.
            const bool click = b.Down;
            LeftButton.Down = RightButton.Down = false;
            Invalidate();
            if (click) {
                TNotifyEvent& e = left ? OnLeftButtonClick : OnRightButtonClick;
                if (e) e(this);
            }
            m.Result = 0;
            return;
        }
        ReleaseImageButtons();
        if (!designing && FButtonMode && m.WParam == static_cast<WPARAM>(kHitButton)) {
            // A click needs the press on the button too.
            const bool click = FButtonDown;
            FButtonDown = false;
            RepaintFrame();
            if (click) {
                if (!Focused() && CanFocus()) SetFocus();
                if (OnButtonClick) OnButtonClick(this);
            }
            m.Result = 0;
            return;
        }
        break;
    case WM_NCMOUSEMOVE:
        if (!designing && FButtonMode) {
            if (m.WParam == static_cast<WPARAM>(kHitButton)) {
                if (!FButtonActive) {
                    FButtonActive = true;
                    RepaintFrame();
                }
                m.Result = 0;
                return;
            }
            if (FButtonActive) {
                FButtonActive = false;
                RepaintFrame();
            }
        }
        break;
    case WM_LBUTTONUP: ReleaseImageButtons(); break;
    case WM_MOUSEMOVE:
        TbsCustomEdit::WndProc(m);
        if (FButtonMode && FButtonActive) {
            FButtonActive = false;
            RepaintFrame();
        }
        return;
    case WM_TIMER:
        if (m.WParam == kHoverTimer) {
            POINT p;
            GetCursorPos(&p);
            if (WindowFromPoint(p) != FHandle) {
                KillTimer(FHandle, kHoverTimer);
                DoMouseLeave();
            }
            m.Result = 0;
            return;
        }
        break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        // Hover is the hit test's and the timer's.
        return;
    case WM_DESTROY:
        KillTimer(FHandle, kHoverTimer);
        FMouseIn = false;
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TbsCustomEdit::WndProc(m);
        if (!FMouseIn && FIndex != -1) FFont.SetColor(m.Msg == WM_SETFOCUS ? ActiveFontColor : FontColor);
        RepaintFrame();
        if (FImages) CalcImageRects(true);
        Invalidate();
        return;
    case WM_SIZE:
        TbsCustomEdit::WndProc(m);
        CalcImageRects(true);
        RepaintFrame();
        return;
    case CM_ENABLEDCHANGED:
        TbsCustomEdit::WndProc(m);
        Invalidate();
        RepaintFrame();
        return;
    default: break;
    }
    TbsCustomEdit::WndProc(m);
}
