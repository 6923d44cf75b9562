#include "skin/form/skin_popup_window.h"

#include <algorithm>

#include "platform/framework/controls/shortcuts.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/graphics/image_list.h"
#include "platform/win/win_api.h"
#include "skin/core/marks.h"
#include "skin/core/mask_region.h"
#include "skin/core/object_records.h"
#include "skin/core/os_layers.h"
#include "skin/core/resource_strings.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_image.h"
#include "skin/core/text_layout.h"
#include "skin/core/window_records.h"
#include "skin/form/skin_menu.h"
#include "skin/form/skin_menu_item.h"

namespace {

constexpr int kBand = 10;  // height of a scroll band
constexpr UINT_PTR kScrollTimer = 1;

TbsDataSkinMenuItem* FindMenuItemData(TbsSkinData* SD)
{
    if (!SD || SD->Empty) return nullptr;
    for (TbsDataSkinObject* o : SD->ObjectList)
        if (auto* m = dynamic_cast<TbsDataSkinMenuItem*>(o)) return m;
    return nullptr;
}

}  // namespace

TbsSkinPopupWindow::TbsSkinPopupWindow(TComponent* AOwner, TbsSkinMenu* AParentMenu, TbsDataSkinPopupWindow* AData)
    : TCustomControl(AOwner), ParentMenu(AParentMenu)
{
    SetVisible(false);
    MouseTimer = new TTimer(this);
    MouseTimer->SetEnabled(false);
    MouseTimer->SetInterval(50);
    MouseTimer->OnTimer = [this](TObject* S) { MouseTimerProc(S); };
    MorphTimer = new TTimer(this);
    MorphTimer->SetEnabled(false);
    MorphTimer->SetInterval(20);
    MorphTimer->OnTimer = [this](TObject* S) { MorphTimerProc(S); };
    if (AData && AData->WindowPictureIndex != -1 && ParentMenu->SkinData) {
        PW = AData;
        SD = ParentMenu->SkinData;
        const auto& pics = SD->FActivePictures;
        if (PW->WindowPictureIndex >= 0 && PW->WindowPictureIndex < static_cast<int>(pics.size()))
            WindowPicture = pics[static_cast<size_t>(PW->WindowPictureIndex)];
        if (PW->MaskPictureIndex >= 0 && PW->MaskPictureIndex < static_cast<int>(pics.size()))
            MaskPicture = pics[static_cast<size_t>(PW->MaskPictureIndex)];
        // A record whose picture is missing draws nothing useful: the built-in look instead.
        if (!WindowPicture) {
            PW = nullptr;
            SD = nullptr;
            MaskPicture = nullptr;
        }
    }
}

TbsSkinPopupWindow::~TbsSkinPopupWindow()
{
    delete MouseTimer;
    MouseTimer = nullptr;
    delete MorphTimer;
    MorphTimer = nullptr;
    if (HandleAllocated()) KillTimer(Handle(), kScrollTimer);
    for (TbsSkinMenuItem* i : ItemList) delete i;
    ItemList.clear();
    delete FPaintBuffer;
}

void TbsSkinPopupWindow::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle = WS_EX_TOOLWINDOW;
    Params.WindowClass.style |= CS_SAVEBITS;
    if (IsWindowsXPOrLater()) Params.WindowClass.style |= CS_DROPSHADOW;
}

void TbsSkinPopupWindow::Dispatch(TMessage& Message)
{
    struct TDepth {
        TbsSkinPopupWindow* W;
        explicit TDepth(TbsSkinPopupWindow* A) : W(A) { ++W->FDispatchDepth; }
        ~TDepth()
        {
            // Buried while a command ran from inside this message: freed after it has returned.
            if (--W->FDispatchDepth == 0 && W->Buried) W->ParentMenu->FreeBuriedLater();
        }
    } depth(this);
    DispatchMessageOfWindow(Message);
}

void TbsSkinPopupWindow::DispatchMessageOfWindow(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_MOUSEACTIVATE: Message.Result = MA_NOACTIVATE; return;
    case WM_ERASEBKGND:
        PaintMenu(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = 1;
        return;
    case WM_TIMER:
        TCustomControl::Dispatch(Message);
        if (Message.WParam != kScrollTimer) return;
        if (ScrollCode == 1) {
            if (CanScroll(1))
                ScrollUp(false);
            else
                StopScroll();
        } else if (ScrollCode == 2) {
            if (CanScroll(2))
                ScrollDown(false);
            else
                StopScroll();
        }
        return;
    default: TCustomControl::Dispatch(Message);
    }
}

// ---- sizes -----------------------------------------------------------------------------------

int TbsSkinPopupWindow::ItemHeight() const
{
    if (DSMI && ParentMenu->UseSkinSize()) return RectHeight(DSMI->SkinRect);
    return ParentMenu->DefaultMenuItemHeight();
}

int TbsSkinPopupWindow::EntryHeight(const TbsSkinMenuItem* I) const
{
    if (I->IsSeparator()) return DSMI ? RectHeight(DSMI->DividerRect) : 4;
    return DSMI ? ItemHeight() : ParentMenu->DefaultMenuItemHeight();
}

// ---- loading ---------------------------------------------------------------------------------

void TbsSkinPopupWindow::PrepareLoad(TMenuItem* MenuOfItems)
{
    DSMI = PW ? FindMenuItemData(SD) : nullptr;
    // A popup picture without an item record has no sizes to go by: the built-in look.
    if (PW && !DSMI) {
        PW = nullptr;
        SD = nullptr;
        WindowPicture = MaskPicture = nullptr;
    }
    TFont* f = Canvas()->Font();
    if (PW && DSMI && ParentMenu->UseSkinFont()) {
        f->SetHeight(DSMI->FontHeight);
        f->SetStyle(DSMI->FontStyle);
        f->SetName(DSMI->FontName);
    } else {
        f->Assign(ParentMenu->DefaultMenuItemFont());
    }
    TbsSkinData* msd = ParentMenu->SkinData;
    if (msd && msd->ResourceStrData())
        f->SetCharset(msd->ResourceStrData()->CharSet());
    else
        f->SetCharset(ParentMenu->DefaultMenuItemFont()->Charset());
    MenuOfItems->RethinkLines();
    TMenu* menu = MenuOfItems->GetParentMenu();
    ImgL = menu ? menu->Images() : nullptr;
}

void TbsSkinPopupWindow::AddChildren(TMenuItem* AItem, int From)
{
    for (int i = std::max(0, From); i < AItem->Count(); ++i) {
        TMenuItem* c = AItem->Items(i);
        if (!c->Visible()) continue;
        c->InitiateAction();
        if (!c->Visible()) continue;
        ItemList.push_back(new TbsSkinMenuItem(this, c, DSMI));
    }
}

void TbsSkinPopupWindow::LoadItems(TMenuItem* AItem, int StartIndex)
{
    PrepareLoad(AItem);
    AddChildren(AItem, StartIndex);
    FinishLoad(false);
}

void TbsSkinPopupWindow::LoadItems2(TMenuItem* AItem, TMenuItem* AItem2, int StartIndex)
{
    PrepareLoad(AItem);
    if (StartIndex < AItem->Count()) AddChildren(AItem, StartIndex);
    AItem2->RethinkLines();
    AddChildren(AItem2, std::max(0, StartIndex - AItem->Count()));
    FinishLoad(true);
}

void TbsSkinPopupWindow::FinishLoad(bool TwoLists)
{
    CalcSize(TwoLists);
    const int W = Width(), H = Height();
    if (PW) {
        const int pw = WindowPicture->Width(), ph = WindowPicture->Height();
        NewLTPoint = PW->LTPoint;
        NewRTPoint = Point(W - (pw - PW->RTPoint.X), PW->RTPoint.Y);
        NewLBPoint = Point(PW->LBPoint.X, H - (ph - PW->LBPoint.Y));
        NewRBPoint = Point(W - (pw - PW->RBPoint.X), H - (ph - PW->RBPoint.Y));
        NewItemsRect = Rect(PW->ItemsRect.Left, PW->ItemsRect.Top, W - (pw - PW->ItemsRect.Right),
                            H - (ph - PW->ItemsRect.Bottom));
    } else {
        NewItemsRect = Rect(2, 2, W - 2, H - 2);
    }
    ArrangeItems();
    if (MaskPicture) SetMenuRegion();
}

int TbsSkinPopupWindow::ItemTextWidth(TbsSkinMenuItem* I)
{
    String s = I->MenuItem->Caption();
    if (I->MenuItem->ShortCut()) s += L"  " + ShortCutToText(I->MenuItem->ShortCut());
    TRect r{};
    DrawWideText(Canvas(), s, r, DT_CALCRECT);
    return RectWidth(r) + 2;
}

int TbsSkinPopupWindow::CalcWidth()
{
    int w = 0;
    for (TbsSkinMenuItem* i : ItemList) w = std::max(w, ItemTextWidth(i));
    GlyphWidth = ImgL ? ImgL->Width() + 5 : 19;
    w += 19 + GlyphWidth;
    if (PW)
        w += DSMI->TextRct.Left + (RectWidth(DSMI->SkinRect) - DSMI->TextRct.Right) +
             (WindowPicture->Width() - PW->ItemsRect.Right) + PW->ItemsRect.Left;
    else
        w += 10;
    return w;
}

int TbsSkinPopupWindow::CalcHeight(bool TwoLists)
{
    const int border = TwoLists ? 6 : 4;
    const int frame = PW ? WindowPicture->Height() - PW->ItemsRect.Bottom + PW->ItemsRect.Top : border;
    const int limit = ParentMenu->MaxMenuItemsInWindow;
    if (limit != 0 && limit < ItemCount()) {
        const int h = (PW ? ItemHeight() : ParentMenu->DefaultMenuItemHeight()) * limit;
        Scroll = Scroll2 = true;
        return frame + h + 2 * kBand;
    }
    int sum = 0;
    for (TbsSkinMenuItem* i : ItemList) sum += EntryHeight(i);
    return frame + sum;
}

void TbsSkinPopupWindow::CalcSize(bool TwoLists)
{
    VisibleStartIndex = 0;
    VisibleCount = ItemCount();
    Scroll = Scroll2 = false;
    const int w = CalcWidth();
    int h = CalcHeight(TwoLists);
    const int waH = RectHeight(ParentMenu->WorkArea);
    if (h > waH) {
        h = waH;
        Scroll = true;
    }
    SetBounds(Left(), Top(), w, h);
}

void TbsSkinPopupWindow::ArrangeItems()
{
    int top = NewItemsRect.Top, bottom = NewItemsRect.Bottom;
    if (Scroll) {
        top += kBand;
        bottom -= kBand;
    }
    VisibleCount = 0;
    int last = VisibleStartIndex - 1;
    for (int i = VisibleStartIndex; i < ItemCount(); ++i) {
        TbsSkinMenuItem* it = Item(i);
        const int h = EntryHeight(it);
        it->ObjectRect = Rect(NewItemsRect.Left, top, NewItemsRect.Right, top + h);
        if (top + h > bottom) break;
        it->FVisible = true;
        ++VisibleCount;
        top += h;
        last = i;
    }
    if (Scroll)
        for (int i = 0; i < ItemCount(); ++i)
            if (i < VisibleStartIndex || i > last) Item(i)->FVisible = false;
}

// ---- placement and showing ---------------------------------------------------------------------

void TbsSkinPopupWindow::CalcShowPosition(const TRect& R, bool PopupByItem, bool PopupUp)
{
    const TRect& WA = ParentMenu->WorkArea;
    const int W = Width(), H = Height();
    const int mid = WA.Top + RectHeight(WA) / 2;
    bool overlap = false;
    int Y;
    const bool tall = Scroll && !Scroll2;
    if (tall) {
        Y = WA.Top;
    } else if (PopupByItem) {
        if (R.Top + H - NewItemsRect.Top <= WA.Bottom)
            Y = R.Top - NewItemsRect.Top;
        else if (R.Top < mid)
            Y = WA.Bottom - H;
        else
            Y = std::max(WA.Top, R.Bottom - H + NewItemsRect.Top);
    } else if (PopupUp) {
        if (R.Top - H >= WA.Top) {
            Y = R.Top - H;
        } else if (R.Top < mid) {
            if (R.Bottom + H <= WA.Bottom) {
                Y = R.Bottom;
            } else {
                Y = WA.Bottom - H;
                overlap = true;
            }
        } else {
            Y = WA.Top;
            overlap = true;
        }
    } else {
        if (R.Bottom + H <= WA.Bottom) {
            Y = R.Bottom;
        } else if (R.Top < mid) {
            Y = WA.Bottom - H;
            overlap = true;
        } else if (R.Top - H >= WA.Top) {
            Y = R.Top - H;
        } else {
            Y = WA.Top;
            overlap = true;
        }
    }
    int X;
    if (!PopupByItem && !tall && !overlap) {
        X = R.Left;
        if (R.Left + W > WA.Right)
            X = WA.Right - W;
        else if (R.Left < WA.Left)
            X = WA.Left;
    } else {
        X = R.Right + W + 1 <= WA.Right ? R.Right + 1 : R.Left - W - 1;
    }
    ShowX = X;
    ShowY = Y;
}

void TbsSkinPopupWindow::Show(const TRect& R, TMenuItem* AItem, int StartIndex, bool PopupByItem, bool PopupUp)
{
    const bool fade =
        IsWindows2000OrLater() && ParentMenu->AlphaBlend && ParentMenu->AlphaBlendAnimation && ParentMenu->First();
    if (fade && Application) Application->ProcessMessages();
    LoadItems(AItem, StartIndex);
    CalcShowPosition(R, PopupByItem, PopupUp);
    ShowAt();
}

void TbsSkinPopupWindow::Show2(const TRect& R, TMenuItem* AItem, TMenuItem* AItem2, int StartIndex, bool PopupByItem,
                               bool PopupUp)
{
    const bool fade =
        IsWindows2000OrLater() && ParentMenu->AlphaBlend && ParentMenu->AlphaBlendAnimation && ParentMenu->First();
    if (fade && Application) Application->ProcessMessages();
    LoadItems2(AItem, AItem2, StartIndex);
    CalcShowPosition(R, PopupByItem, PopupUp);
    ShowAt();
}

void TbsSkinPopupWindow::ShowAt()
{
    const bool layered = IsWindows2000OrLater() && ParentMenu->AlphaBlend;
    const bool fade = layered && ParentMenu->AlphaBlendAnimation && ParentMenu->First();
    HWND h = Handle();
    if (layered) {
        SetWindowLongW(h, GWL_EXSTYLE, GetWindowLongW(h, GWL_EXSTYLE) | WS_EX_LAYERED);
        SetLayeredAlpha(h, fade ? 0 : ParentMenu->AlphaBlendValue);
    }
    SetWindowPos(h, HWND_TOPMOST, ShowX, ShowY, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    SetVisible(true);
    WatchOutsideClicks(h, true);
    RedrawMenu();
    if (fade) {
        const int target = ParentMenu->AlphaBlendValue;
        const int step = std::max(1, target / 15);
        int alpha = 0;
        DWORD last = GetTickCount() - 6;
        while (alpha < target) {
            if (GetTickCount() - last > 5) {
                alpha = std::min(target, alpha + step);
                SetLayeredAlpha(h, static_cast<BYTE>(alpha));
                last = GetTickCount();
            }
        }
    }
    MouseTimer->SetEnabled(true);
    ActiveItem = -1;
    for (int i = 0; i < ItemCount(); ++i) {
        if (!Selectable(i)) continue;
        Item(i)->WaitCommand = true;
        ActiveItem = i;
        Item(i)->MouseEnter(true);
        break;
    }
}

void TbsSkinPopupWindow::Hide()
{
    if (HandleAllocated()) WatchOutsideClicks(Handle(), false);
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
    MouseTimer->SetEnabled(false);
    MorphTimer->SetEnabled(false);
    if (HandleAllocated()) KillTimer(Handle(), kScrollTimer);
    SetVisible(false);
}

// ---- painting --------------------------------------------------------------------------------

void TbsSkinPopupWindow::RedrawMenu()
{
    if (!HandleAllocated() || !IsWindowVisible(Handle())) return;
    HDC dc = GetDC(Handle());
    PaintMenu(dc);
    ReleaseDC(Handle(), dc);
}

void TbsSkinPopupWindow::CreateWindowImage(TBitmap* B, bool DrawCenter)
{
    const int W = Width(), H = Height();
    if (PW) {
        const int pw = WindowPicture->Width(), ph = WindowPicture->Height();
        CreateSkinImage2(PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect, NewLTPoint, NewRTPoint,
                         NewLBPoint, NewRBPoint, NewItemsRect, B, WindowPicture, Rect(0, 0, pw, ph), W, H, DrawCenter,
                         PW->LeftStretch, PW->TopStretch, PW->RightStretch, PW->BottomStretch, PW->StretchEffect,
                         PW->StretchType);
        return;
    }
    B->SetSize(W, H);
    TCanvas* c = B->Canvas();
    const int column = ImgL ? GlyphWidth + 2 : 21;
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(Rect(0, 0, column, H));
    c->Brush()->SetColor(clWindow);
    c->FillRect(Rect(column, 0, W, H));
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect(Rect(0, 0, W, H));
    c->Brush()->SetColor(clWindow);
    c->FrameRect(Rect(1, 1, W - 1, H - 1));
}

void TbsSkinPopupWindow::DrawItemBackground(TCanvas* C, const TRect& R)
{
    if (!SD || RectWidth(R) <= 0 || RectHeight(R) <= 0) return;
    int i = SD->GetIndex(L"menuitem");
    if (i == -1) i = SD->GetIndex(L"MENUITEM");
    if (i == -1) return;
    auto* mi = dynamic_cast<TbsDataSkinMenuItem*>(SD->ObjectList[static_cast<size_t>(i)]);
    if (!mi) return;
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    if (DSMI && DSMI->InActiveTransparent && FPaintBuffer) {
        b.SetSize(RectWidth(R), RectHeight(R));
        b.Canvas()->CopyRect(Rect(0, 0, RectWidth(R), RectHeight(R)), FPaintBuffer->Canvas(), R);
    } else {
        const auto& pics = SD->FActivePictures;
        if (mi->ActivePictureIndex < 0 || mi->ActivePictureIndex >= static_cast<int>(pics.size())) return;
        if (IsNullRect(mi->SkinRect)) return;
        CreateHSkinImage(mi->ItemLO, mi->ItemRO, &b, pics[static_cast<size_t>(mi->ActivePictureIndex)], mi->SkinRect,
                         RectWidth(R), RectHeight(mi->SkinRect), mi->InActiveStretchEffect);
    }
    C->CopyRect(Rect(R.Left, R.Top, R.Left + RectWidth(R), R.Bottom), b.Canvas(),
                Rect(0, 0, RectWidth(R), RectHeight(R)));
}

TRect TbsSkinPopupWindow::UpBand() const
{
    if (PW) return Rect(NewItemsRect.Left, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Top + kBand);
    return Rect(3, 3, Width() - 3, 13);
}

TRect TbsSkinPopupWindow::DownBand() const
{
    if (PW) return Rect(NewItemsRect.Left, NewItemsRect.Bottom - kBand, NewItemsRect.Right, NewItemsRect.Bottom);
    return Rect(3, Height() - 10, Width() - 3, Height() - 3);
}

void TbsSkinPopupWindow::DrawUpMarker(TCanvas* C)
{
    const TRect r = UpBand();
    TColor color;
    if (PW) {
        DrawItemBackground(C, r);
        color = ScrollCode == 1 ? PW->ScrollMarkerActiveColor : PW->ScrollMarkerColor;
    } else {
        color = ScrollCode == 1 ? clBtnText : clBtnShadow;
    }
    DrawArrowImage(C, r, color, 3);
}

void TbsSkinPopupWindow::DrawDownMarker(TCanvas* C)
{
    const TRect r = DownBand();
    TColor color;
    if (PW) {
        DrawItemBackground(C, r);
        color = ScrollCode == 2 ? PW->ScrollMarkerActiveColor : PW->ScrollMarkerColor;
    } else {
        color = ScrollCode == 2 ? clBtnText : clBtnShadow;
    }
    DrawArrowImage(C, r, color, 4);
}

void TbsSkinPopupWindow::PaintMenu(HDC DC)
{
    if (Width() <= 0 || Height() <= 0) return;
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    CreateWindowImage(&b, Scroll);
    if (PW && DSMI && DSMI->InActiveTransparent) {
        delete FPaintBuffer;
        FPaintBuffer = new TBitmap;
        FPaintBuffer->SetPixelFormat(pf24bit);
        CreateWindowImage(FPaintBuffer, true);
    }
    for (int i = VisibleStartIndex; i < VisibleStartIndex + VisibleCount && i < ItemCount(); ++i)
        Item(i)->Draw(b.Canvas());
    if (Scroll) {
        DrawUpMarker(b.Canvas());
        DrawDownMarker(b.Canvas());
        const TRect band = DownBand();
        if (VisibleCount > 0) {
            const int bottom = Item(VisibleStartIndex + VisibleCount - 1)->ObjectRect.Bottom;
            if (bottom < band.Top)
                DrawItemBackground(b.Canvas(), Rect(NewItemsRect.Left, bottom, NewItemsRect.Right, band.Top));
        }
    }
    BitBlt(DC, 0, 0, b.Width(), b.Height(), b.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TbsSkinPopupWindow::SetMenuRegion()
{
    HRGN rgn = nullptr;
    CreateSkinRegion(rgn, PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect, NewLTPoint, NewRTPoint,
                     NewLBPoint, NewRBPoint, NewItemsRect, MaskPicture, Width(), Height());
    // The window owns the region from here on.
    SetWindowRgn(Handle(), rgn, TRUE);
    FRgn = rgn;
}

// ---- scrolling -------------------------------------------------------------------------------

bool TbsSkinPopupWindow::CanScroll(int Code) const
{
    if (Code == 1) return VisibleStartIndex > 0;
    return VisibleStartIndex + VisibleCount - 1 < ItemCount() - 1;
}

int TbsSkinPopupWindow::LastPageStartIndex() const
{
    int a = NewItemsRect.Bottom - kBand;
    int n = 0;
    for (int i = ItemCount() - 1; i >= 0; --i) {
        a -= EntryHeight(Item(i));
        if (a < kBand) break;
        ++n;
    }
    return ItemCount() - n;
}

void TbsSkinPopupWindow::ScrollUp(bool Cycle)
{
    if (VisibleStartIndex > 0)
        --VisibleStartIndex;
    else if (Cycle)
        VisibleStartIndex = LastPageStartIndex();
    ArrangeItems();
    RedrawMenu();
}

void TbsSkinPopupWindow::ScrollDown(bool Cycle)
{
    if (CanScroll(2))
        ++VisibleStartIndex;
    else if (Cycle)
        VisibleStartIndex = 0;
    ArrangeItems();
    RedrawMenu();
}

void TbsSkinPopupWindow::StartScroll()
{
    const int l = ParentMenu->LevelOf(this) + 1;
    if (l < ParentMenu->PopupCount()) ParentMenu->CloseLevels(l);
    KillTimer(Handle(), kScrollTimer);
    SetTimer(Handle(), kScrollTimer, 100, nullptr);
}

void TbsSkinPopupWindow::StopScroll()
{
    ScrollCode = 0;
    RedrawMenu();
    if (HandleAllocated()) KillTimer(Handle(), kScrollTimer);
}

// ---- mouse -----------------------------------------------------------------------------------

void TbsSkinPopupWindow::MouseTimerProc(TObject*)
{
    POINT p;
    GetCursorPos(&p);
    const POINT screen = p;
    ::ScreenToClient(Handle(), &p);
    if (p.x != OMX || p.y != OMY) {
        if (WindowFromPoint(screen) == Handle()) {
            TrackMouse(p.x, p.y);
        } else if (Scroll && ScrollCode != 0) {
            ScrollCode = 0;
            if (HandleAllocated()) KillTimer(Handle(), kScrollTimer);
            RedrawMenu();
        }
    }
    OMX = p.x;
    OMY = p.y;
}

bool TbsSkinPopupWindow::Selectable(int Index) const
{
    if (Index < 0 || Index >= ItemCount()) return false;
    return Item(Index)->MenuItem->Enabled() && !Item(Index)->IsSeparator();
}

void TbsSkinPopupWindow::TrackMouse(int X, int Y)
{
    const TPoint pt = Point(X, Y);
    if (Scroll) {
        if (ScrollCode == 0 && CanScroll(1) && PointInsideRect(UpBand(), pt)) {
            ScrollCode = 1;
            RedrawMenu();
            StartScroll();
        } else if (ScrollCode == 0 && CanScroll(2) && PointInsideRect(DownBand(), pt)) {
            ScrollCode = 2;
            RedrawMenu();
            StartScroll();
        } else if (ScrollCode != 0 && !PointInsideRect(UpBand(), pt) && !PointInsideRect(DownBand(), pt)) {
            StopScroll();
        }
    }
    if (ItemList.empty()) return;
    OldActiveItem = ActiveItem;
    for (int i = 0; i < ItemCount(); ++i)
        if (Item(i)->FVisible && PointInsideRect(Item(i)->ObjectRect, pt)) {
            ActiveItem = i;
            break;
        }
    if (ActiveItem >= ItemCount()) ActiveItem = -1;
    if (ActiveItem == OldActiveItem) {
        if (ActiveItem != -1 && Item(ActiveItem)->WaitCommand) {
            Item(ActiveItem)->WaitCommand = false;
            if (Item(ActiveItem)->MenuItem->Count() > 0) Item(ActiveItem)->MouseEnter(false);
        }
        return;
    }
    if (Selectable(OldActiveItem)) Item(OldActiveItem)->MouseLeave();
    if (Selectable(ActiveItem)) Item(ActiveItem)->MouseEnter(false);
}

void TbsSkinPopupWindow::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    TrackMouse(X, Y);
    if (Button != mbLeft || ActiveItem == -1) return;
    TbsSkinMenuItem* it = Item(ActiveItem);
    if (it->FVisible && PointInsideRect(it->ObjectRect, Point(X, Y)) && !it->IsSeparator()) it->MouseDown(X, Y);
}

void TbsSkinPopupWindow::MorphTimerProc(TObject*)
{
    if (!PW) {
        MorphTimer->SetEnabled(false);
        return;
    }
    bool changed = false;
    for (TbsSkinMenuItem* i : ItemList) {
        if (i->EnableMorphing() && i->CanMorphing()) {
            i->DoMorphing();
            changed = true;
        } else if (i->EnableAnimation()) {
            if (i->Active && i->CurrentFrame <= i->MI->FrameCount) {
                ++i->CurrentFrame;
                i->Draw(Canvas());
                changed = true;
            } else if (!i->Active && i->CurrentFrame > 0) {
                --i->CurrentFrame;
                i->Draw(Canvas());
                changed = true;
            }
        }
    }
    if (!changed) MorphTimer->SetEnabled(false);
}

void TbsSkinPopupWindow::CollapseSubMenus()
{
    const int l = ParentMenu->LevelOf(this) + 1;
    if (l < ParentMenu->PopupCount()) ParentMenu->CloseLevels(l);
    for (TbsSkinMenuItem* i : ItemList) {
        if (!i->Down) continue;
        i->Down = false;
        if (i->EnableAnimation() && !i->MI->InActiveAnimation) {
            i->CurrentFrame = 0;
            i->Draw(Canvas());
        } else {
            i->UpdateLook();
        }
    }
}

// ---- keys ------------------------------------------------------------------------------------

void TbsSkinPopupWindow::ChangeActive(int NewIndex)
{
    if (NewIndex == ActiveItem) return;
    OldActiveItem = ActiveItem;
    ActiveItem = NewIndex;
    if (OldActiveItem != -1) Item(OldActiveItem)->MouseLeave();
    Item(ActiveItem)->MouseEnter(true);
}

bool TbsSkinPopupWindow::SelectAccelItem(int CharCode)
{
    if (!Enabled()) return false;
    for (int i = 0; i < ItemCount(); ++i) {
        if (!IsAccel(static_cast<WORD>(CharCode), Item(i)->MenuItem->Caption())) continue;
        TbsSkinMenuItem* it = Item(i);
        it->MouseEnter(false);
        OldActiveItem = ActiveItem;
        ActiveItem = i;
        if (OldActiveItem != -1 && OldActiveItem != i) Item(OldActiveItem)->MouseLeave();
        it->MouseDown(0, 0);
        return true;
    }
    return false;
}

void TbsSkinPopupWindow::SelectNextItem()
{
    if (ItemList.empty()) return;
    const int lastShown = VisibleStartIndex + VisibleCount - 1;
    if (Scroll && ScrollCode == 0 && ActiveItem == lastShown) ScrollDown(true);
    int i = ActiveItem + 1;
    if (i >= ItemCount() || i < 0) i = 0;
    for (; i < ItemCount(); ++i) {
        if (Selectable(i)) {
            ChangeActive(i);
            return;
        }
        if (Scroll && ScrollCode == 0 && i == VisibleStartIndex + VisibleCount - 1) ScrollDown(true);
    }
}

void TbsSkinPopupWindow::SelectPriorItem()
{
    if (ItemList.empty()) return;
    if (Scroll && ScrollCode == 0 && ActiveItem == VisibleStartIndex) ScrollUp(true);
    int i = ActiveItem - 1;
    if (ActiveItem == -1 || i < 0) i = ItemCount() - 1;
    for (; i >= 0; --i) {
        if (Selectable(i)) {
            ChangeActive(i);
            return;
        }
        if (Scroll && ScrollCode == 0 && i == VisibleStartIndex) ScrollUp(true);
    }
}

void TbsSkinPopupWindow::PopupKeyDown(int CharCode)
{
    if (!HandleAllocated() || !IsWindowVisible(Handle())) return;
    if (SelectAccelItem(CharCode)) return;
    TbsSkinMenu* engine = ParentMenu;
    auto closeLast = [engine] {
        const int n = engine->PopupCount();
        if (n > 1) {
            TbsSkinPopupWindow* above = engine->FPopupList[static_cast<size_t>(n - 2)];
            if (above->ActiveItem != -1) {
                above->Item(above->ActiveItem)->Down = false;
                above->Item(above->ActiveItem)->UpdateLook();
            }
        }
        engine->CloseLevels(n - 1);
    };
    switch (CharCode) {
    case VK_DOWN: SelectNextItem(); break;
    case VK_UP: SelectPriorItem(); break;
    case VK_RIGHT:
        if (ActiveItem != -1 && Item(ActiveItem)->MenuItem->Count() > 0) Item(ActiveItem)->MouseDown(0, 0);
        break;
    case VK_RETURN:
        if (ActiveItem != -1) Item(ActiveItem)->MouseDown(0, 0);
        break;
    case VK_ESCAPE: closeLast(); break;
    case VK_LEFT:
        if (engine->PopupCount() > 1) closeLast();
        break;
    default: break;
    }
}
