#include "skin/form/skin_hint.h"

#include <algorithm>
#include <vector>

#include "platform/framework/forms/forms.h"
#include "platform/framework/forms/screen.h"
#include "platform/framework/graphics/image_list.h"
#include "platform/win/win_api.h"
#include "skin/controls/skin_link.h"
#include "skin/core/marks.h"
#include "skin/core/mask_region.h"
#include "skin/core/os_layers.h"
#include "skin/core/resource_strings.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_image.h"
#include "skin/core/window_records.h"

namespace {

// The component whose show-hint handler the application holds, if any.
TbsSkinHint* gShowHintOwner = nullptr;

TBitmap* HintPicture(TbsSkinData* SD)
{
    if (!SD || !SD->HintWindow) return nullptr;
    const int i = SD->HintWindow->WindowPictureIndex;
    if (i < 0 || i >= static_cast<int>(SD->FActivePictures.size())) return nullptr;
    return SD->FActivePictures[static_cast<size_t>(i)];
}

bool UsableForHints(TbsSkinData* SD)
{
    return SD && !SD->Empty && SD->HintWindow && SD->HintWindow->WindowPictureIndex != -1 && HintPicture(SD);
}

}  // namespace

// ---- TbsSkinHintWindow -----------------------------------------------------------------------

TbsSkinHintWindow::TbsSkinHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}

void TbsSkinHintWindow::CreateParams(TCreateParams& Params)
{
    THintWindow::CreateParams(Params);
    Params.Style &= ~static_cast<DWORD>(WS_BORDER);
    if (IsWindowsXPOrLater()) Params.WindowClass.style |= CS_DROPSHADOW;
}

void TbsSkinHintWindow::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_NCPAINT) return;
    if (Message.Msg == WM_ERASEBKGND) {
        Message.Result = 1;
        return;
    }
    THintWindow::Dispatch(Message);
}

bool TbsSkinHintWindow::FindActiveSkinHint()
{
    FspHint = nullptr;
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (!main) return false;
    for (int i = 0; i < main->ComponentCount(); ++i)
        if (auto* h = dynamic_cast<TbsSkinHint*>(main->Components(i)); h && h->Active()) {
            FspHint = h;
            return true;
        }
    return false;
}

void TbsSkinHintWindow::ReplaceLineSeparators(String Text)
{
    const String& sep = FspHint->LineSeparator;
    if (!sep.empty())
        for (size_t p = Text.find(sep); p != String::npos; p = Text.find(sep, p + 2))
            Text.replace(p, sep.size(), String(L"\n\r"));
    SetCaption(Text);
}

void TbsSkinHintWindow::Prepare()
{
    TbsSkinData* sd = FspHint->SkinData();
    FSD = UsableForHints(sd) ? sd : nullptr;
    TFont* f = Canvas()->Font();
    if (FSD && FspHint->UseSkinFont) {
        f->SetHeight(FSD->HintWindow->FontHeight);
        f->SetName(FSD->HintWindow->FontName);
        f->SetStyle(FSD->HintWindow->FontStyle);
    } else {
        f->Assign(FspHint->DefaultFont());
    }
    f->SetCharset(sd && sd->ResourceStrData() ? sd->ResourceStrData()->CharSet() : FspHint->DefaultFont()->Charset());
}

TSize TbsSkinHintWindow::Measure(TCanvas* C, const String& Text)
{
    RECT r{0, 0, 0, 0};
    DrawTextW(C->Handle(), Text.c_str(), static_cast<int>(Text.size()), &r, DT_CALCRECT);
    return TSize{r.right - r.left, r.bottom - r.top};
}

void TbsSkinHintWindow::CornerAdjust(int& W, int& H)
{
    TbsDataSkinHintWindow* r = FSD->HintWindow;
    TBitmap* p = HintPicture(FSD);
    const int PW = p->Width(), PH = p->Height();
    int DX = W - PW, DY = H - PH;
    if (r->RTPoint.X + DX < r->LTPoint.X) {
        W += r->LTPoint.X - (r->RTPoint.X + DX);
        DX = W - PW;
    }
    if (r->RBPoint.X + DX < r->LBPoint.X) {
        W += r->LBPoint.X - (r->RBPoint.X + DX);
        DX = W - PW;
    }
    if (r->LBPoint.Y + DY < r->LTPoint.Y) {
        H += r->LTPoint.Y - (r->LBPoint.Y + DY);
        DY = H - PH;
    }
    if (r->RBPoint.Y + DY < r->RTPoint.Y) {
        H += r->RTPoint.Y - (r->RBPoint.Y + DY);
        DY = H - PH;
    }
    NewClRect = Rect(r->ClRect.Left, r->ClRect.Top, r->ClRect.Right + DX, r->ClRect.Bottom + DY);
    NewLTPoint = r->LTPoint;
    NewRTPoint = Point(r->RTPoint.X + DX, r->RTPoint.Y);
    NewLBPoint = Point(r->LBPoint.X, r->LBPoint.Y + DY);
    NewRBPoint = Point(r->RBPoint.X + DX, r->RBPoint.Y + DY);
}

void TbsSkinHintWindow::CalcHintSize(int& W, int& H)
{
    const TSize s = Measure(Canvas(), Caption());
    W = s.cx;
    H = s.cy;
    if (!FSD) {
        W += 4;
        H += 4;
        return;
    }
    const TRect& C = FSD->HintWindow->ClRect;
    TBitmap* p = HintPicture(FSD);
    W += C.Left + (p->Width() - C.Right) + 5;
    H += C.Top + (p->Height() - C.Bottom);
    CornerAdjust(W, H);
}

void TbsSkinHintWindow::CalcHintSizeEx(const String& Title, int Index, TCustomImageList* List, int& W, int& H)
{
    const TSize s = Measure(Canvas(), Caption());
    W = s.cx;
    H = s.cy;
    int TH = 0;
    if (!Title.empty()) {
        const TSize t = Measure(Canvas(), Title);
        TH = t.cy;
        H += TH + 10;
        W = std::max(W, static_cast<int>(t.cx));
    }
    if (List && Index >= 0 && Index < List->Count()) {
        W += List->Width() + 10;
        H = std::max(H, List->Height() + TH + 5);
    }
    if (!FSD) {
        W += 4;
        H += 4;
        return;
    }
    const TRect& C = FSD->HintWindow->ClRect;
    TBitmap* p = HintPicture(FSD);
    W += 10;
    W += C.Left + (p->Width() - C.Right);
    H += C.Top + (p->Height() - C.Bottom);
    CornerAdjust(W, H);
}

void TbsSkinHintWindow::Place(TRect R)
{
    TRect B;
    TCustomForm* active = Screen ? Screen->ActiveCustomForm() : nullptr;
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (active && active->HandleAllocated())
        GetWindowMonitorRect(active->Handle(), true, B);
    else if (main && main->Visible() && main->HandleAllocated())
        GetWindowMonitorRect(main->Handle(), true, B);
    else
        B = Rect(0, 0, Screen ? Screen->Width() : 1024, Screen ? Screen->Height() : 768);
    const int W = RectWidth(R), H = RectHeight(R);
    if (R.Right > B.Right) {
        R.Left -= W + 2;
        R.Right -= W + 2;
    }
    if (R.Bottom > B.Bottom) {
        R.Top -= H + 2;
        R.Bottom -= H + 2;
    }
    SetBounds(R.Left, R.Top, W, H);
}

void TbsSkinHintWindow::Translucency()
{
    if (!IsWindows2000OrLater()) return;
    HWND h = Handle();
    const bool ab = FspHint->AlphaBlend;
    if (ab && !FOldAlphaBlend)
        SetWindowLongW(h, GWL_EXSTYLE, GetWindowLongW(h, GWL_EXSTYLE) | WS_EX_LAYERED);
    else if (!ab && FOldAlphaBlend)
        SetWindowLongW(h, GWL_EXSTYLE, GetWindowLongW(h, GWL_EXSTYLE) & ~static_cast<LONG>(WS_EX_LAYERED));
    FOldAlphaBlend = ab;
    if (ab && FspHint->AlphaBlendAnimation) SetLayeredAlpha(h, 0);
    if (FspHint->AlphaBlendValue != FOldAlphaBlendValue && ab) {
        if (!FspHint->AlphaBlendAnimation) SetLayeredAlpha(h, FspHint->AlphaBlendValue);
        FOldAlphaBlendValue = FspHint->AlphaBlendValue;
    }
}

void TbsSkinHintWindow::SetHintRegion()
{
    TBitmap* mask = nullptr;
    if (FSD) {
        const int i = FSD->HintWindow->MaskPictureIndex;
        if (i >= 0 && i < static_cast<int>(FSD->FActivePictures.size()))
            mask = FSD->FActivePictures[static_cast<size_t>(i)];
    }
    if (mask) {
        TbsDataSkinHintWindow* r = FSD->HintWindow;
        HRGN rgn = nullptr;
        CreateSkinRegion(rgn, r->LTPoint, r->RTPoint, r->LBPoint, r->RBPoint, r->ClRect, NewLTPoint, NewRTPoint,
                         NewLBPoint, NewRBPoint, NewClRect, mask, Width(), Height());
        SetWindowRgn(Handle(), rgn, FALSE);
        FRgn = rgn;
    } else if (FRgn) {
        SetWindowRgn(Handle(), nullptr, FALSE);
        FRgn = nullptr;
    }
}

void TbsSkinHintWindow::ShowIt(const TRect& R)
{
    Place(R);
    Translucency();
    SetHintRegion();
    SetWindowPos(Handle(), HWND_TOPMOST, Left(), Top(), 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    SetVisible(true);
    Repaint();
    if (IsWindows2000OrLater() && FspHint->AlphaBlend && FspHint->AlphaBlendAnimation) {
        const int target = FspHint->AlphaBlendValue;
        const int step = std::max(1, target / 10);
        int v = 0;
        DWORD last = GetTickCount() - 4;
        for (;;) {
            if (GetTickCount() - last > 3) {
                v = std::min(v + step, target);
                Repaint();
                SetLayeredAlpha(Handle(), static_cast<BYTE>(v));
                last = GetTickCount();
                if (v >= target) break;
            }
        }
    }
}

void TbsSkinHintWindow::ActivateHint(TRect Rect, const String& AHint)
{
    AExtendedStyle = false;
    if (!FindActiveSkinHint()) return;
    if (!FspHint->FHintTitle.empty() || FspHint->FHintImageList) {
        ActivateHintEx(Rect, FspHint->FHintTitle, AHint, FspHint->FHintImageIndex, FspHint->FHintImageList);
        return;
    }
    Prepare();
    ReplaceLineSeparators(AHint);
    int W = 0, H = 0;
    CalcHintSize(W, H);
    ShowIt(::Rect(Rect.Left, Rect.Top, Rect.Left + W, Rect.Top + H));
}

void TbsSkinHintWindow::ActivateHintEx(TRect Rect, const String& AHintTitle, const String& AHint, int AImageIndex,
                                       TCustomImageList* AImageList)
{
    AExtendedStyle = true;
    if (!FindActiveSkinHint()) return;
    Prepare();
    ReplaceLineSeparators(AHint);
    int W = 0, H = 0;
    CalcHintSizeEx(AHintTitle, AImageIndex, AImageList, W, H);
    ShowIt(::Rect(Rect.Left, Rect.Top, Rect.Left + W, Rect.Top + H));
}

void TbsSkinHintWindow::ActivateHintFromRect(TRect ARect, const String& AHint, bool ATop)
{
    AExtendedStyle = false;
    if (!FindActiveSkinHint()) return;
    Prepare();
    ReplaceLineSeparators(AHint);
    int W = 0, H = 0;
    CalcHintSize(W, H);
    TRect r;
    r.Left = ARect.Left + RectWidth(ARect) / 2 - W / 2;
    r.Top = ATop ? ARect.Top - H : ARect.Bottom;
    r.Right = r.Left + W;
    r.Bottom = r.Top + H;
    ShowIt(r);
}

void TbsSkinHintWindow::PaintBackground(TCanvas* C)
{
    const int W = Width(), H = Height();
    if (FSD) {
        TbsDataSkinHintWindow* r = FSD->HintWindow;
        TBitmap* p = HintPicture(FSD);
        TBitmap b;
        CreateSkinImage2(r->LTPoint, r->RTPoint, r->LBPoint, r->RBPoint, r->ClRect, NewLTPoint, NewRTPoint, NewLBPoint,
                         NewRBPoint, NewClRect, &b, p, ::Rect(0, 0, p->Width(), p->Height()), W, H, true,
                         r->LeftStretch, r->TopStretch, r->RightStretch, r->BottomStretch, r->StretchEffect,
                         r->StretchType);
        C->Draw(0, 0, &b);
        return;
    }
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clInfoBk);
    C->FillRect(::Rect(0, 0, W, H));
    C->Brush()->SetColor(clBtnShadow);
    C->FrameRect(::Rect(0, 0, W, H));
}

void TbsSkinHintWindow::Paint()
{
    if (!FspHint) return;
    const int W = Width(), H = Height();
    if (W <= 0 || H <= 0) return;
    TBitmap buf;
    buf.SetPixelFormat(pf24bit);
    buf.SetSize(W, H);
    TCanvas* c = buf.Canvas();
    PaintBackground(c);
    c->Brush()->SetStyle(bsClear);
    if (FSD) {
        c->Font()->Assign(Canvas()->Font());
        c->Font()->SetColor(FSD->HintWindow->FontColor);
    } else {
        c->Font()->Assign(FspHint->DefaultFont());
        c->Font()->SetColor(clInfoText);
    }
    if (AExtendedStyle) {
        PaintHintEx(c);
    } else {
        const String text = Caption();
        RECT r;
        if (FSD) {
            const TSize s = Measure(c, text);
            const int l = NewClRect.Left + RectWidth(NewClRect) / 2 - s.cx / 2;
            const int t = NewClRect.Top + RectHeight(NewClRect) / 2 - s.cy / 2;
            r = RECT{l, t, l + s.cx, t + s.cy};
        } else {
            r = RECT{2, 2, W - 2, H - 2};
        }
        DrawTextW(c->Handle(), text.c_str(), static_cast<int>(text.size()), &r, 0);
    }
    Canvas()->Draw(0, 0, &buf);
}

void TbsSkinHintWindow::PaintHintEx(TCanvas* C)
{
    const String title = FspHint->FHintTitle;
    TCustomImageList* il = FspHint->FHintImageList;
    const int idx = FspHint->FHintImageIndex;
    const bool image = il && idx >= 0 && idx < il->Count();
    const String text = Caption();
    auto bold = [&](bool On) {
        TFontStyles st = C->Font()->Style();
        if (On)
            st.Include(fsBold);
        else
            st.Exclude(fsBold);
        C->Font()->SetStyle(st);
    };
    auto draw = [&](const String& S, RECT r, UINT f) {
        DrawTextW(C->Handle(), S.c_str(), static_cast<int>(S.size()), &r, f);
    };
    if (FSD) {
        const int X0 = NewClRect.Left + 5;
        int A = 0;
        if (!title.empty()) {
            bold(true);
            const TSize t = Measure(C, title);
            draw(title, RECT{X0, NewClRect.Top, X0 + t.cx, NewClRect.Top + t.cy}, 0);
            bold(false);
            A = t.cy + 5;
        }
        int left = X0;
        if (image) {
            const int y = A > 0 ? NewClRect.Top + A : NewClRect.Top + RectHeight(NewClRect) / 2 - il->Height() / 2;
            il->Draw(C, X0, y, idx, true);
            left = X0 + il->Width() + 5;
        }
        const TSize s = Measure(C, text);
        const int top = A > 0 ? NewClRect.Top + A : NewClRect.Top + RectHeight(NewClRect) / 2 - s.cy / 2;
        draw(text, RECT{left, top, left + s.cx, top + s.cy}, 0);
        return;
    }
    RECT q{2, 2, Width() - 2, Height() - 2};
    int A = 0;
    if (!title.empty()) {
        bold(true);
        const TSize t = Measure(C, title);
        draw(title, q, 0);
        bold(false);
        A = t.cy + 5;
    }
    if (image) {
        const int y = A > 0 ? A : q.top + (q.bottom - q.top) / 2 - il->Height() / 2;
        il->Draw(C, q.left, y, idx, true);
    }
    RECT tr = q;
    tr.top += A;
    if (image) tr.left += il->Width() + q.left + 5;
    draw(text, tr, 0);
}

// ---- TbsSkinHint -----------------------------------------------------------------------------

TbsSkinHint::TbsSkinHint(TComponent* AOwner)
    : TComponent(AOwner), FDefaultFont(new TFont), FSelf(std::make_shared<TbsSkinHint*>(this))
{
    HW = new TbsSkinHintWindow(this);
    if (ComponentState() & csDesigning) return;
    HintWindowClass = [](TComponent* Owner) -> THintWindow* { return new TbsSkinHintWindow(Owner); };
    if (Application) {
        // The application's window is made anew of the new class; the setting stays.
        Application->SetShowHint(!Application->ShowHint());
        Application->SetShowHint(!Application->ShowHint());
        InstallShowHint();
        Application->SetHintShortPause(100);
    }
}

TbsSkinHint::~TbsSkinHint()
{
    *FSelf = nullptr;
    // The application's show-hint event no longer reaches this component.
    if (gShowHintOwner == this) {
        gShowHintOwner = nullptr;
        if (Application) Application->OnShowHint = nullptr;
    }
    delete HintTimer;
    HintTimer = nullptr;
    delete FDeadTimer;
    delete HW;
    HW = nullptr;
    delete FDefaultFont;
}

void TbsSkinHint::InstallShowHint()
{
    std::shared_ptr<TbsSkinHint*> self = FSelf;
    Application->OnShowHint = [self](String& S, bool& Can, THintInfo& Info) {
        if (*self) (*self)->ApplicationShowHint(S, Can, Info);
    };
    gShowHintOwner = this;
}

void TbsSkinHint::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FHintImageList) FHintImageList = nullptr;
}

void TbsSkinHint::SetSkinData(TbsSkinData* Value)
{
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
}

void TbsSkinHint::SetActive(bool Value)
{
    FActive = Value;
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (Value && main)
        for (int i = 0; i < main->ComponentCount(); ++i)
            if (auto* h = dynamic_cast<TbsSkinHint*>(main->Components(i)); h && h != this && h->FActive)
                h->FActive = false;
    if (FActive && !(ComponentState() & csDesigning) && Application) InstallShowHint();
}

void TbsSkinHint::ApplicationShowHint(String& HintStr, bool& CanShow, THintInfo& HintInfo)
{
    FHintTitle.clear();
    FHintImageIndex = 0;
    FHintImageList = nullptr;
    if (auto* c = dynamic_cast<TbsSkinLink*>(HintInfo.HintControl)) {
        FHintTitle = c->HintTitle();
        FHintImageIndex = c->HintImageIndex();
        FHintImageList = c->HintImageList();
    }
    if (OnShowHint) OnShowHint(HintStr, CanShow, HintInfo);
}

void TbsSkinHint::ClearExtras()
{
    FHintTitle.clear();
    FHintImageIndex = 0;
    FHintImageList = nullptr;
}

void TbsSkinHint::ShowWindowIfLaidOut()
{
    // Without a component in charge the window was not laid out: it stays hidden.
    if (HW->FspHint) HW->SetVisible(true);
}

void TbsSkinHint::ActivateHint(TPoint P, const String& AHint)
{
    ClearExtras();
    HW->ActivateHint(Rect(P.X, P.Y, P.X, P.Y), AHint);
    ShowWindowIfLaidOut();
}

void TbsSkinHint::ActivateHintEx(TPoint P, const String& AHintTitle, const String& AHint, int AImageIndex,
                                 TCustomImageList* AImageList)
{
    FHintTitle = AHintTitle;
    FHintImageIndex = AImageIndex;
    FHintImageList = AImageList;
    HW->ActivateHintEx(Rect(P.X, P.Y, P.X, P.Y), AHintTitle, AHint, AImageIndex, AImageList);
    ShowWindowIfLaidOut();
}

void TbsSkinHint::StartTimer(void (TbsSkinHint::*Handler)(TObject*))
{
    delete FDeadTimer;
    FDeadTimer = nullptr;
    delete HintTimer;
    HintTimer = new TTimer(this);
    HintTimer->SetEnabled(false);
    HintTimer->SetInterval(static_cast<unsigned>(Application ? Application->HintPause() : 500));
    HintTimer->OnTimer = [this, Handler](TObject* S) { (this->*Handler)(S); };
    HintTimer->SetEnabled(true);
}

void TbsSkinHint::ActivateHint2(const String& AHint)
{
    HintText = AHint;
    ClearExtras();
    StartTimer(&TbsSkinHint::HintTimerShow);
}

void TbsSkinHint::ActivateHint3(TRect AFromRect, const String& AHint, bool ATop)
{
    HintText = AHint;
    ClearExtras();
    FromRect = AFromRect;
    Top = ATop;
    StartTimer(&TbsSkinHint::HintTimerShowFromRect);
}

void TbsSkinHint::ActivateHintEx2(const String& AHintTitle, const String& AHint, int AImageIndex,
                                  TCustomImageList* AImageList)
{
    FHintTitle = AHintTitle;
    FHintImageIndex = AImageIndex;
    FHintImageList = AImageList;
    HintText = AHint;
    StartTimer(&TbsSkinHint::HintTimerShowEx);
}

void TbsSkinHint::HintTimerShow(TObject*)
{
    POINT p;
    GetCursorPos(&p);
    p.y += GetCursorHeightMargin();
    HW->ActivateHint(Rect(p.x, p.y, p.x, p.y), HintText);
    ShowWindowIfLaidOut();
    HintTimer->SetEnabled(false);
    HintTimer->SetInterval(static_cast<unsigned>(Application ? Application->HintHidePause() : 2500));
    HintTimer->OnTimer = [this](TObject* S) { HintTimerHide(S); };
    HintTimer->SetEnabled(true);
}

void TbsSkinHint::HintTimerShowEx(TObject* S)
{
    if (!HintTimer) return;
    POINT p;
    GetCursorPos(&p);
    p.y += GetCursorHeightMargin();
    HW->ActivateHintEx(Rect(p.x, p.y, p.x, p.y), FHintTitle, HintText, FHintImageIndex, FHintImageList);
    ShowWindowIfLaidOut();
    HintTimer->SetEnabled(false);
    HintTimer->SetInterval(static_cast<unsigned>(Application ? Application->HintHidePause() : 2500));
    HintTimer->OnTimer = [this](TObject* T) { HintTimerHide(T); };
    HintTimer->SetEnabled(true);
    (void)S;
}

void TbsSkinHint::HintTimerShowFromRect(TObject*)
{
    HW->ActivateHintFromRect(FromRect, HintText, Top);
    ShowWindowIfLaidOut();
    HintTimer->SetEnabled(false);
    HintTimer->SetInterval(static_cast<unsigned>(Application ? Application->HintHidePause() : 2500));
    HintTimer->OnTimer = [this](TObject* S) { HintTimerHide(S); };
    HintTimer->SetEnabled(true);
}

void TbsSkinHint::HintTimerHide(TObject*) { HideHint(); }

void TbsSkinHint::HideHint()
{
    if (HintTimer) {
        // Freed later: this may run inside the timer's own handler.
        HintTimer->SetEnabled(false);
        delete FDeadTimer;
        FDeadTimer = HintTimer;
        HintTimer = nullptr;
    }
    if (HW->Visible()) {
        HW->SetVisible(false);
        SetWindowPos(HW->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
        ClearExtras();
    }
}

bool TbsSkinHint::IsVisible() const { return HW && HW->Visible(); }

int TbsSkinHint::GetCursorHeightMargin() const
{
    int result = GetSystemMetrics(SM_CYCURSOR);
    ICONINFO info{};
    if (!GetIconInfo(reinterpret_cast<HICON>(GetCursor()), &info)) return result;
    // A 1-bit mask comes with a palette of two colours: room for both after the header.
    struct {
        BITMAPINFO info;
        RGBQUAD more[1];
    } mask{};
    BITMAPINFO& bi = mask.info;
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    HDC dc = GetDC(nullptr);
    if (info.hbmMask && GetDIBits(dc, info.hbmMask, 0, 0, nullptr, &bi, DIB_RGB_COLORS) &&
        bi.bmiHeader.biBitCount == 1 && bi.bmiHeader.biWidth > 0) {
        const int w = bi.bmiHeader.biWidth, h = std::abs(bi.bmiHeader.biHeight);
        const int BPR = ((w * bi.bmiHeader.biBitCount + 31) / 32) * 4;
        std::vector<uint8_t> bits(static_cast<size_t>(BPR * h));
        if (GetDIBits(dc, info.hbmMask, 0, static_cast<UINT>(h), bits.data(), &bi, DIB_RGB_COLORS)) {
            const size_t S = static_cast<size_t>(w * BPR);
            if (S <= bits.size()) {
                auto scan = [&](size_t From, uint8_t Same) {
                    for (size_t i = 0; i < S; ++i)
                        if (bits[From + i] != Same) return static_cast<int>(S - i - 1);
                    return 0;
                };
                const size_t andStart = bits.size() - S;
                result = scan(andStart, 0xFF);
                if (result == 0 && h >= 2 * w && andStart >= S) result = scan(andStart - S, 0);
                result = result / BPR - static_cast<int>(info.yHotspot);
            }
        }
    }
    ReleaseDC(nullptr, dc);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return result;
}
