#include "skin/form/images_menu.h"

#include <algorithm>

#include "platform/framework/forms/forms.h"
#include "platform/framework/forms/screen.h"
#include "platform/framework/forms/util_window.h"
#include "platform/framework/graphics/image_list.h"
#include "platform/win/win_api.h"
#include "skin/core/button_records.h"
#include "skin/core/marks.h"
#include "skin/core/mask_region.h"
#include "skin/core/object_records.h"
#include "skin/core/os_layers.h"
#include "skin/core/panel_records.h"
#include "skin/core/resource_strings.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_image.h"
#include "skin/core/window_records.h"
#include "skin/form/skin_hint.h"

namespace {

constexpr UINT kFreeWindow = WM_USER + 1;
constexpr TColor kFrameLine = static_cast<TColor>(0xB76B3B);  // red 59, green 107, blue 183
constexpr TColor kDownFill = static_cast<TColor>(0xE4BCA2);   // red 162, green 188, blue 228
constexpr TColor kHotFill = static_cast<TColor>(0xF3D4C1);    // red 193, green 212, blue 243

template <class R>
R* Control(TbsSkinData* SD, const wchar_t* Name, const wchar_t* Else = nullptr)
{
    if (!SD || SD->Empty) return nullptr;
    int i = SD->GetControlIndex(Name);
    if (i == -1 && Else) i = SD->GetControlIndex(Else);
    return i == -1 ? nullptr : dynamic_cast<R*>(SD->CtrlList[static_cast<size_t>(i)]);
}

TbsDataSkinMenuItem* MenuItemRecord(TbsSkinData* SD)
{
    if (!SD || SD->Empty) return nullptr;
    int i = SD->GetIndex(L"menuitem");
    if (i == -1) i = SD->GetIndex(L"MENUITEM");
    return i == -1 ? nullptr : dynamic_cast<TbsDataSkinMenuItem*>(SD->ObjectList[static_cast<size_t>(i)]);
}

TBitmap* Pic(TbsSkinData* SD, int I)
{
    if (!SD || I < 0 || I >= static_cast<int>(SD->FActivePictures.size())) return nullptr;
    return SD->FActivePictures[static_cast<size_t>(I)];
}

}  // namespace

// ---- items -----------------------------------------------------------------------------------

void TbsImagesMenuItem::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TbsImagesMenuItem*>(Source)) {
        ImageIndex = s->ImageIndex;
        Caption = s->Caption;
        Button = s->Button;
        Hint = s->Hint;
        return;
    }
    TCollectionItem::Assign(Source);
}

TbsImagesMenuItems::TbsImagesMenuItems(TbsSkinImagesMenu* AImagesMenu)
    : TCollection([](TCollection* C) { return new TbsImagesMenuItem(C); }), ImagesMenu(AImagesMenu)
{}

// ---- TbsSkinImagesMenu -----------------------------------------------------------------------

TbsSkinImagesMenu::TbsSkinImagesMenu(TComponent* AOwner)
    : TbsSkinImagesMenuBase(AOwner), FImagesItems(new TbsImagesMenuItems(this)), FDefaultFont(new TFont)
{
    FDefaultFont->SetName(L"Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetStyle({});
    FUtilWnd = AllocateHWnd([this](TMessage& M) { UtilWndProc(M); });
}

TbsSkinImagesMenu::~TbsSkinImagesMenu()
{
    if (FPopupWindow) {
        FPopupWindow->OldAppMessage = nullptr;
        delete FPopupWindow;
    }
    delete FDeadWindow;
    delete FDefaultFont;
    delete FImagesItems;
    if (FUtilWnd) DeallocateHWnd(FUtilWnd);
}

void TbsSkinImagesMenu::UtilWndProc(TMessage& M)
{
    if (M.Msg == kFreeWindow) {
        delete FDeadWindow;
        FDeadWindow = nullptr;
        return;
    }
    M.Result = DefWindowProcW(FUtilWnd, M.Msg, M.WParam, M.LParam);
}

void TbsSkinImagesMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinImagesMenuBase::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == dynamic_cast<TComponent*>(FImages)) FImages = nullptr;
    if (AComponent == FSkinData) FSkinData = nullptr;
    if (AComponent == FSkinHint) FSkinHint = nullptr;
}

void TbsSkinImagesMenu::SetImages(TCustomImageList* Value)
{
    FImages = Value;
    if (auto* c = dynamic_cast<TComponent*>(Value)) c->FreeNotification(this);
}

void TbsSkinImagesMenu::SetSkinData(TbsSkinData* Value)
{
    FSkinData = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinImagesMenu::SetSkinHint(TbsSkinHint* Value)
{
    FSkinHint = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinImagesMenu::SetColumnsCount(int Value)
{
    if (Value >= 1 && Value <= 50) FColumnsCount = Value;
}

TbsImagesMenuItem* TbsSkinImagesMenu::SelectedItem() const
{
    if (ItemIndex < 0 || ItemIndex >= FImagesItems->Count()) return nullptr;
    return FImagesItems->Item(ItemIndex);
}

bool TbsSkinImagesMenu::SelectedItem(String& Caption, int& ImageIndex) const
{
    TbsImagesMenuItem* i = SelectedItem();
    if (!i) return false;
    Caption = i->Caption;
    ImageIndex = i->ImageIndex;
    return true;
}

void TbsSkinImagesMenu::Popup(int X, int Y) { PopupFromRect(Rect(X, Y, X, Y)); }

void TbsSkinImagesMenu::PopupFromRect(const TRect& R)
{
    if (FPopupWindow) FPopupWindow->Hide(false);
    if (OnMenuPopup) OnMenuPopup(this);
    if (!FImages || FImages->Count() == 0) return;
    if (FImagesItems->Count() == 0) {
        // Nothing to lay out: the menu closes at once, so whoever dropped it is released.
        if (OnInternalMenuClose) OnInternalMenuClose(this);
        if (OnMenuClose) OnMenuClose(this);
        return;
    }
    FOldItemIndex = ItemIndex;
    FPopupWindow = new TbsSkinImagesMenuPopupWindow(this);
    FPopupWindow->Show(R);
}

void TbsSkinImagesMenu::Hide()
{
    if (FPopupWindow) FPopupWindow->Hide(false);
}

void TbsSkinImagesMenu::CloseMenu(bool AProcessEvents)
{
    if (FPopupWindow) {
        // Destroyed once the window's own handling has returned.
        delete FDeadWindow;
        FDeadWindow = FPopupWindow;
        FPopupWindow = nullptr;
        if (FUtilWnd) PostMessageW(FUtilWnd, kFreeWindow, 0, 0);
    }
    if (OnInternalMenuClose) OnInternalMenuClose(this);
    if (OnMenuClose) OnMenuClose(this);
    if (!AProcessEvents) return;
    TbsImagesMenuItem* item = SelectedItem();
    if (!item) return;
    if (item->OnClick) item->OnClick(this);
    if (OnItemClick) OnItemClick(this);
    if (ItemIndex != FOldItemIndex) {
        if (OnInternalChange) OnInternalChange(this);
        if (OnChange) OnChange(this);
    }
}

// ---- the window --------------------------------------------------------------------------------

TbsSkinImagesMenuPopupWindow::TbsSkinImagesMenuPopupWindow(TbsSkinImagesMenu* AOwner)
    : TCustomControl(AOwner), ImagesMenu(AOwner)
{
    SetVisible(false);
}

TbsSkinImagesMenuPopupWindow::~TbsSkinImagesMenuPopupWindow() { UnHookApp(); }

void TbsSkinImagesMenuPopupWindow::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle = WS_EX_TOOLWINDOW;
    Params.WindowClass.style |= CS_SAVEBITS;
    if (IsWindowsXPOrLater()) Params.WindowClass.style |= CS_DROPSHADOW;
}

bool TbsSkinImagesMenuPopupWindow::SkinUsable()
{
    TbsSkinData* sd = ImagesMenu->SkinData();
    FSkinSupport = sd && !sd->Empty && sd->PopupWindow && Pic(sd, sd->PopupWindow->WindowPictureIndex);
    return FSkinSupport;
}

void TbsSkinImagesMenuPopupWindow::CalcItemRects()
{
    TCustomImageList* il = ImagesMenu->Images();
    const int W = il->Width() + 10, H = il->Height() + 10, F = ImagesMenu->ColumnsCount() * W;
    int L = 5, T = 5;
    if (FSkinSupport) {
        L = ImagesMenu->SkinData()->PopupWindow->ItemsRect.Left;
        T = ImagesMenu->SkinData()->PopupWindow->ItemsRect.Top;
    }
    auto* label = Control<TbsDataSkinLabelControl>(ImagesMenu->SkinData(), L"label");
    int x = L, y = T;
    TbsImagesMenuItems* items = ImagesMenu->ImagesItems();
    for (int i = 0; i < items->Count(); ++i) {
        TbsImagesMenuItem* it = items->Item(i);
        if (it->Header) {
            if (x != L) y += H + 1;
            if (label) {
                const int lh = RectHeight(label->SkinRect);
                it->ItemRect = Rect(L, y, L + F, y + lh);
                y += lh + 1;
            } else {
                it->ItemRect = Rect(L, y, L + F, y + H);
                y += H + 1;
            }
            x = L;
        } else if (it->Button) {
            if (x != L) y += H + 1;
            it->ItemRect = Rect(L, y, L + F, y + H);
            x = L;
            y += H + 1;
        } else {
            it->ItemRect = Rect(x, y, x + W, y + H);
            x += W;
            if (L + F < x + W) {
                x = L;
                y += H + 1;
            }
        }
    }
}

void TbsSkinImagesMenuPopupWindow::CalcSize()
{
    SkinUsable();
    CalcItemRects();
    TbsImagesMenuItems* items = ImagesMenu->ImagesItems();
    const int d = items->Item(items->Count() - 1)->ItemRect.Bottom - items->Item(0)->ItemRect.Top;
    const int F = ImagesMenu->ColumnsCount() * (ImagesMenu->Images()->Width() + 10);
    if (!FSkinSupport) {
        SetBounds(Left(), Top(), F + 10, d + 10);
        return;
    }
    TbsSkinData* sd = ImagesMenu->SkinData();
    TbsDataSkinPopupWindow* r = sd->PopupWindow;
    WindowPicture = Pic(sd, r->WindowPictureIndex);
    MaskPicture = Pic(sd, r->MaskPictureIndex);
    const int pw = WindowPicture->Width(), ph = WindowPicture->Height();
    const int W = pw + F - RectWidth(r->ItemsRect), H = ph + d - RectHeight(r->ItemsRect);
    SetBounds(Left(), Top(), W, H);
    NewLTPoint = r->LTPoint;
    NewRTPoint = Point(W + r->RTPoint.X - pw, r->RTPoint.Y);
    NewLBPoint = Point(r->LBPoint.X, H + r->LBPoint.Y - ph);
    NewRBPoint = Point(W + r->RBPoint.X - pw, H + r->RBPoint.Y - ph);
    NewItemsRect = Rect(r->ItemsRect.Left, r->ItemsRect.Top, W + r->ItemsRect.Right - pw, H + r->ItemsRect.Bottom - ph);
    if (MaskPicture) {
        HRGN rgn = nullptr;
        CreateSkinRegion(rgn, r->LTPoint, r->RTPoint, r->LBPoint, r->RBPoint, r->ItemsRect, NewLTPoint, NewRTPoint,
                         NewLBPoint, NewRBPoint, NewItemsRect, MaskPicture, W, H);
        SetWindowRgn(Handle(), rgn, TRUE);
        FRgn = rgn;
    }
}

void TbsSkinImagesMenuPopupWindow::Show(const TRect& PopupRect)
{
    CalcSize();
    int x = PopupRect.Left, y = PopupRect.Bottom;
    TRect wa;
    TCustomForm* active = Screen ? Screen->ActiveCustomForm() : nullptr;
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    TWinControl* ref = nullptr;
    if (active && active->HandleAllocated())
        ref = active;
    else if (main && main->Visible() && main->HandleAllocated())
        ref = main;
    else if (auto* w = dynamic_cast<TWinControl*>(ImagesMenu->Owner()); w && w->HandleAllocated())
        ref = w;
    if (ref)
        GetWindowMonitorRect(ref->Handle(), true, wa);
    else
        GetScreenRect(true, wa);
    if (y + Height() > wa.Bottom) y = PopupRect.Top - Height();
    if (x + Width() > wa.Right) x = wa.Right - Width();
    x = std::max(x, static_cast<int>(wa.Left));
    y = std::max(y, static_cast<int>(wa.Top));
    HWND h = Handle();
    const bool layered = IsWindows2000OrLater() && ImagesMenu->AlphaBlend;
    if (layered) {
        SetWindowLongW(h, GWL_EXSTYLE, GetWindowLongW(h, GWL_EXSTYLE) | WS_EX_LAYERED);
        SetLayeredAlpha(h, ImagesMenu->AlphaBlendAnimation ? 0 : ImagesMenu->AlphaBlendValue);
    }
    SetWindowPos(h, HWND_TOPMOST, x, y, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    SetVisible(true);
    if (layered && ImagesMenu->AlphaBlendAnimation) {
        if (Application) Application->ProcessMessages();
        int v = 0;
        DWORD last = GetTickCount() - 6;
        while (v < ImagesMenu->AlphaBlendValue) {
            if (GetTickCount() - last > 5) {
                v = std::min(v + 10, static_cast<int>(ImagesMenu->AlphaBlendValue));
                SetLayeredAlpha(h, static_cast<BYTE>(v));
                last = GetTickCount();
            }
        }
    }
    HookApp();
    SetCapture(h);
}

void TbsSkinImagesMenuPopupWindow::Hide(bool AProcessEvents)
{
    if (FClosing) return;
    FClosing = true;
    if (ImagesMenu->ShowHints && ImagesMenu->SkinHint()) ImagesMenu->SkinHint()->HideHint();
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
    SetVisible(false);
    UnHookApp();
    if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
    ImagesMenu->CloseMenu(AProcessEvents);
}

void TbsSkinImagesMenuPopupWindow::HookApp()
{
    if (!Application || FHooked) return;
    OldAppMessage = Application->OnMessage;
    Application->OnMessage = [this](MSG& M, bool& H) { AppMessageHook(M, H); };
    FHooked = true;
}

void TbsSkinImagesMenuPopupWindow::UnHookApp()
{
    if (!FHooked) return;
    if (Application) Application->OnMessage = OldAppMessage;
    OldAppMessage = nullptr;
    FHooked = false;
}

void TbsSkinImagesMenuPopupWindow::AppMessageHook(MSG& Msg, bool& Handled)
{
    switch (Msg.message) {
    case WM_KEYDOWN:
        ProcessKey(static_cast<int>(Msg.wParam));
        Msg.message = 0;
        return;
    case WM_MOUSEWHEEL: Msg.message = 0; return;
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
    case WM_MOUSEACTIVATE:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_SYSKEYDOWN:
    case WM_SYSCHAR:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_PARENTNOTIFY: Hide(false); return;
    default: (void)Handled; return;
    }
}

void TbsSkinImagesMenuPopupWindow::SetHot(int Index)
{
    if (Index == MouseInItem) return;
    MouseInItem = Index;
    Repaint();
}

void TbsSkinImagesMenuPopupWindow::ProcessKey(int Key)
{
    TbsImagesMenuItems* items = ImagesMenu->ImagesItems();
    const int n = items->Count();
    auto header = [&](int i) { return items->Item(i)->Header; };
    const int hot = MouseInItem;
    switch (Key) {
    case VK_RETURN:
    case VK_SPACE:
        if (hot != -1) ImagesMenu->ItemIndex = hot;
        Hide(true);
        return;
    case VK_ESCAPE: Hide(false); return;
    case VK_RIGHT:
        if (hot == -1 || hot == n - 1) {
            SetHot(header(0) && n > 1 ? 1 : 0);
        } else {
            for (int i = hot + 1; i < n; ++i)
                if (!header(i)) {
                    SetHot(i);
                    break;
                }
        }
        return;
    case VK_LEFT:
        if (hot == -1 || hot == 0 || (header(0) && n > 1 && hot == 1)) {
            SetHot(n - 1);
        } else {
            for (int i = hot - 1; i >= 0; --i)
                if (!header(i)) {
                    SetHot(i);
                    break;
                }
        }
        return;
    case VK_DOWN:
        if (hot == -1) {
            SetHot(header(0) && n > 1 ? 1 : 0);
            return;
        }
        for (int i = hot + 1; i < n; ++i) {
            TbsImagesMenuItem* it = items->Item(i);
            if (!it->Header && it->ItemRect.Top > items->Item(hot)->ItemRect.Top &&
                (it->Button || it->ItemRect.Left == items->Item(hot)->ItemRect.Left)) {
                SetHot(i);
                break;
            }
        }
        return;
    case VK_UP:
        if (hot == -1) {
            SetHot(n - 1);
            return;
        }
        for (int i = hot - 1; i >= 0; --i) {
            TbsImagesMenuItem* it = items->Item(i);
            if (!it->Header && it->ItemRect.Top < items->Item(hot)->ItemRect.Top &&
                (it->Button || it->ItemRect.Left == items->Item(hot)->ItemRect.Left)) {
                SetHot(i);
                break;
            }
        }
        return;
    default: return;
    }
}

int TbsSkinImagesMenuPopupWindow::ItemAt(int X, int Y) const
{
    TbsImagesMenuItems* items = ImagesMenu->ImagesItems();
    for (int i = 0; i < items->Count(); ++i) {
        const TRect& r = items->Item(i)->ItemRect;
        if (!items->Item(i)->Header && X >= r.Left && X <= r.Right && Y >= r.Top && Y <= r.Bottom) return i;
    }
    return -1;
}

void TbsSkinImagesMenuPopupWindow::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    MouseInItem = ItemAt(X, Y);
    TbsSkinHint* hint = ImagesMenu->SkinHint();
    if (hint && MouseInItem == -1) hint->HideHint();
    if (MouseInItem == OldMouseInItem) return;
    OldMouseInItem = MouseInItem;
    Repaint();
    if (ImagesMenu->ShowHints && MouseInItem != -1 && hint) {
        hint->HideHint();
        const String& h = ImagesMenu->ImagesItems()->Item(MouseInItem)->Hint;
        if (!h.empty()) hint->ActivateHint2(h);
    }
}

void TbsSkinImagesMenuPopupWindow::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (ImagesMenu->ShowHints && ImagesMenu->SkinHint()) ImagesMenu->SkinHint()->HideHint();
    FDown = true;
    FItemDown = ItemAt(X, Y) != -1;
    Repaint();
}

void TbsSkinImagesMenuPopupWindow::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    const int i = ItemAt(X, Y);
    if (FDown && i != -1) {
        ImagesMenu->ItemIndex = i;
        Hide(true);
        return;
    }
    if (GetCapture() == Handle()) ReleaseCapture();
    SetCapture(Handle());
}

void TbsSkinImagesMenuPopupWindow::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_MOUSEACTIVATE: Message.Result = MA_NOACTIVATE; return;
    case CM_MOUSELEAVE:
        TCustomControl::WndProc(Message);
        if (ImagesMenu->ShowHints && ImagesMenu->SkinHint()) ImagesMenu->SkinHint()->HideHint();
        MouseInItem = OldMouseInItem = -1;
        Repaint();
        return;
    default: break;
    }
    TCustomControl::WndProc(Message);
    if ((Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) && !FClosing) {
        POINT p;
        GetCursorPos(&p);
        if (WindowFromPoint(p) != Handle()) Hide(false);
    }
}

void TbsSkinImagesMenuPopupWindow::DrawItemFrame(TCanvas* C, const TRect& R, bool Pressed)
{
    const int w = RectWidth(R), h = RectHeight(R);
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(w, h);
    auto* rec = FSkinSupport
                    ? Control<TbsDataSkinButtonControl>(ImagesMenu->SkinData(), L"menuitembutton", L"resizebutton")
                    : nullptr;
    TBitmap* pic = rec ? Pic(ImagesMenu->SkinData(), rec->PictureIndex) : nullptr;
    if (rec && pic) {
        TRect src = Pressed && !IsNullRect(rec->DownSkinRect) ? rec->DownSkinRect : rec->ActiveSkinRect;
        if (IsNullRect(src)) src = rec->SkinRect;
        const int dW = w - RectWidth(rec->SkinRect), dH = h - RectHeight(rec->SkinRect);
        CreateSkinImage(rec->LTPoint, rec->RTPoint, rec->LBPoint, rec->RBPoint, rec->ClRect, rec->LTPoint,
                        Point(rec->RTPoint.X + dW, rec->RTPoint.Y), Point(rec->LBPoint.X, rec->LBPoint.Y + dH),
                        Point(rec->RBPoint.X + dW, rec->RBPoint.Y + dH),
                        Rect(rec->ClRect.Left, rec->ClRect.Top, rec->ClRect.Right + dW, rec->ClRect.Bottom + dH), &b,
                        pic, src, w, h, true, rec->LeftStretch, rec->TopStretch, rec->RightStretch, rec->BottomStretch,
                        rec->StretchEffect, rec->StretchType);
    } else {
        b.Canvas()->Brush()->SetColor(Pressed ? kDownFill : kHotFill);
        b.Canvas()->FillRect(Rect(0, 0, w, h));
        b.Canvas()->Brush()->SetColor(kFrameLine);
        b.Canvas()->FrameRect(Rect(0, 0, w, h));
    }
    C->Draw(R.Left, R.Top, &b);
}

void TbsSkinImagesMenuPopupWindow::DrawItemText(TCanvas* C, const String& S, const TRect& R, int State)
{
    TbsSkinData* sd = ImagesMenu->SkinData();
    auto* mi = FSkinSupport ? MenuItemRecord(sd) : nullptr;
    auto* rec = FSkinSupport ? Control<TbsDataSkinButtonControl>(sd, L"menuitembutton", L"resizebutton") : nullptr;
    if (mi && rec) {
        if (ImagesMenu->UseSkinFont) {
            C->Font()->SetName(rec->FontName);
            C->Font()->SetHeight(rec->FontHeight);
            C->Font()->SetStyle(rec->FontStyle);
        } else {
            C->Font()->Assign(ImagesMenu->DefaultFont());
        }
        C->Font()->SetCharset(sd->ResourceStrData() ? sd->ResourceStrData()->CharSet()
                                                    : ImagesMenu->DefaultFont()->Charset());
        C->Font()->SetColor(State == 2 ? rec->DownFontColor : (State == 1 ? rec->ActiveFontColor : mi->FontColor));
    } else {
        C->Font()->Assign(ImagesMenu->DefaultFont());
        C->Font()->SetColor(clWindowText);
    }
    C->Brush()->SetStyle(bsClear);
    UINT f = DT_SINGLELINE | DT_VCENTER;
    if (C->TextWidth(S) <= RectWidth(R)) f |= DT_CENTER;
    RECT r{R.Left, R.Top, R.Right, R.Bottom};
    DrawTextW(C->Handle(), S.c_str(), static_cast<int>(S.size()), &r, f);
}

void TbsSkinImagesMenuPopupWindow::DrawHeader(TCanvas* C, TbsImagesMenuItem* I)
{
    auto* label = Control<TbsDataSkinLabelControl>(ImagesMenu->SkinData(), L"label");
    TBitmap* pic = label ? Pic(ImagesMenu->SkinData(), label->PictureIndex) : nullptr;
    const TRect& R = I->ItemRect;
    if (label && pic) {
        TBitmap b;
        b.SetPixelFormat(pf24bit);
        const int sw = RectWidth(label->SkinRect);
        CreateHSkinImage(label->LTPoint.X, sw - label->RTPoint.X, &b, pic, label->SkinRect, RectWidth(R),
                         RectHeight(label->SkinRect), label->StretchEffect);
        TCanvas* c = b.Canvas();
        c->Font()->SetColor(label->FontColor);
        c->Font()->SetName(label->FontName);
        c->Font()->SetHeight(label->FontHeight);
        c->Font()->SetStyle(label->FontStyle);
        c->Font()->SetCharset(C->Font()->Charset());
        c->Brush()->SetStyle(bsClear);
        RECT r{label->ClRect.Left, label->ClRect.Top, b.Width() - (sw - label->ClRect.Right), b.Height()};
        DrawTextW(c->Handle(), I->Caption.c_str(), static_cast<int>(I->Caption.size()), &r,
                  DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        C->Draw(R.Left, R.Top, &b);
        return;
    }
    C->Brush()->SetStyle(bsClear);
    C->Font()->Assign(ImagesMenu->DefaultFont());
    RECT r{R.Left, R.Top, R.Right, R.Bottom};
    DrawTextW(C->Handle(), I->Caption.c_str(), static_cast<int>(I->Caption.size()), &r,
              DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

void TbsSkinImagesMenuPopupWindow::Paint()
{
    SkinUsable();
    const int W = Width(), H = Height();
    if (W <= 0 || H <= 0) return;
    const int s = ImagesMenu->ShowSelectedItem ? ImagesMenu->ItemIndex : -1;
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(W, H);
    TCanvas* c = b.Canvas();
    if (FSkinSupport && WindowPicture) {
        TbsDataSkinPopupWindow* r = ImagesMenu->SkinData()->PopupWindow;
        CreateSkinImage2(r->LTPoint, r->RTPoint, r->LBPoint, r->RBPoint, r->ItemsRect, NewLTPoint, NewRTPoint,
                         NewLBPoint, NewRBPoint, NewItemsRect, &b, WindowPicture,
                         Rect(0, 0, WindowPicture->Width(), WindowPicture->Height()), W, H, true, r->LeftStretch,
                         r->TopStretch, r->RightStretch, r->BottomStretch, r->StretchEffect, r->StretchType);
    } else {
        c->Pen()->SetColor(clBtnShadow);
        c->Brush()->SetColor(clWindow);
        c->Rectangle(0, 0, W, H);
    }
    TCustomImageList* il = ImagesMenu->Images();
    TbsImagesMenuItems* items = ImagesMenu->ImagesItems();
    const int h = MouseInItem;
    for (int i = 0; i < items->Count(); ++i) {
        TbsImagesMenuItem* it = items->Item(i);
        if (it->Header) {
            DrawHeader(c, it);
            continue;
        }
        if (i == s && !FItemDown)
            DrawItemFrame(c, it->ItemRect, true);
        else if (i == h)
            DrawItemFrame(c, it->ItemRect, FItemDown);
        int textLeft = it->ItemRect.Left;
        if (il && it->ImageIndex >= 0 && it->ImageIndex < il->Count()) {
            il->Draw(c, it->ItemRect.Left + 5, it->ItemRect.Top + 5, it->ImageIndex, true);
            textLeft += il->Width() + 5;
        }
        if (it->Button && !it->Caption.empty()) {
            const int state = ((i == s && !FItemDown) || (i == h && FItemDown)) ? 2 : (i == h ? 1 : 0);
            DrawItemText(c, it->Caption, Rect(textLeft + 5, it->ItemRect.Top, it->ItemRect.Right, it->ItemRect.Bottom),
                         state);
        }
    }
    Canvas()->Draw(0, 0, &b);
}
