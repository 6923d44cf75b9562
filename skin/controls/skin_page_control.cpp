#include "skin/controls/skin_page_control.h"

#include <algorithm>

#include "platform/win/win_api.h"
#include "skin/controls/skin_control.h"
#include "skin/controls/skin_tab_scroller_link.h"
#include "skin/core/marks.h"
#include "skin/core/resource_strings.h"
#include "skin/core/skin_messages.h"
#include "skin/core/tab_grid_records.h"

namespace {
TRect Moved(const TRect& R, int DX, int DY) { return Rect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY); }
}  // namespace

TbsSkinPageControl::TbsSkinPageControl(TComponent* AOwner) : TPageControl(AOwner)
{
    FCtl3D = false;
    FDefaultFont = new TFont;
    FDefaultFont->SetName(L"Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetColor(clBtnText);
    FFont.SetName(L"Tahoma");
    FFont.SetHeight(13);
    FFont.SetColor(clBtnText);
    FParentFont = false;
    // The framework control sizes its tabs by this blank list: the room for close buttons and
    // glyphs is added to its image size.
    FTempImages = new TCustomImageList(this, 1, 1);
    TPageControl::SetImages(FTempImages);
}

TbsSkinPageControl::~TbsSkinPageControl()
{
    delete FDefaultFont;
    FDefaultFont = nullptr;
    if (FSD) FSD->RemoveFreeNotification(this);
    if (FImages) FImages->RemoveFreeNotification(this);
}

TbsSkinCustomTabSheet* TbsSkinPageControl::SkinPage(int PageIndex) const
{
    if (PageIndex < 0 || PageIndex >= PageCount()) return nullptr;
    return dynamic_cast<TbsSkinCustomTabSheet*>(FPages[static_cast<size_t>(PageIndex)]);
}

TbsSkinCustomTabSheet* TbsSkinPageControl::SkinPageOfTab(int TabIndex) const
{
    return dynamic_cast<TbsSkinCustomTabSheet*>(PageOfTab(TabIndex));
}

// ---- properties ----

void TbsSkinPageControl::SetSkinData(TbsSkinData* Value)
{
    if (Value != FSD) {
        if (FSD) FSD->RemoveFreeNotification(this);
        FSD = Value;
        if (FSD) FSD->FreeNotification(this);
    }
    if (FSD && !FSD->Empty && !(ComponentState() & csDesigning)) ChangeSkinData();
}

void TbsSkinPageControl::SetTabExtededDraw(bool Value)
{
    FTabExtendedDraw = Value;
    Invalidate();
}

void TbsSkinPageControl::SetTabMargin(int Value)
{
    if (Value != FTabMargin && Value >= -1) SetAndInvalidate(FTabMargin, Value);
}

void TbsSkinPageControl::SetTabSpacing(int Value) { SetAndInvalidate(FTabSpacing, Value); }

void TbsSkinPageControl::SetTabLayout(TbsButtonLayout Value) { SetAndInvalidate(FTabLayout, Value); }

void TbsSkinPageControl::SetTextInHorizontal(bool Value)
{
    FTextInHorizontal = Value;
    Invalidate();
}

void TbsSkinPageControl::SetTabsBGTransparent(bool Value) { SetAndInvalidate(FTabsBGTransparent, Value); }

void TbsSkinPageControl::SetTabsInCenter(bool Value)
{
    if (TabWidth() == 0) {
        FTabsInCenter = false;
        return;
    }
    FTabsInCenter = Value;
    if (Value) {
        if (TabPosition() != tpTop) SetTabPosition(tpTop);
        SetMultiLine(false);
        FTabsBGTransparent = true;
    }
    Invalidate();
}

void TbsSkinPageControl::SetTabsOffset(int Value)
{
    FTabsOffset = Value;
    if (Value > 0) {
        if (TabPosition() != tpTop) SetTabPosition(tpTop);
        SetMultiLine(false);
        FTabsBGTransparent = true;
    }
    Invalidate();
}

void TbsSkinPageControl::ChangeReservedRoom(int Delta, bool AlongWidth)
{
    if (Delta == 0) return;
    if (AlongWidth)
        FTempImages->SetSize(std::max(0, FTempImages->Width() + Delta), FTempImages->Height());
    else
        FTempImages->SetSize(FTempImages->Width(), std::max(0, FTempImages->Height() + Delta));
    Realign();
    Invalidate();
}

void TbsSkinPageControl::SetShowCloseButtons(bool Value)
{
    if (Value != FShowCloseButtons) {
        FShowCloseButtons = Value;
        ChangeReservedRoom(Value ? FCloseSize : -FCloseSize, !SideTabs());
    }
    Invalidate();
}

void TbsSkinPageControl::SetImages(TCustomImageList* Value)
{
    const bool along = !SideTabs();
    if (FImages) {
        ChangeReservedRoom(-(along ? FImages->Width() : FImages->Height()), along);
        FImages->RemoveFreeNotification(this);
    }
    FImages = Value;
    if (FImages) {
        FImages->FreeNotification(this);
        ChangeReservedRoom(along ? FImages->Width() : FImages->Height(), along);
    }
    Invalidate();
}

void TbsSkinPageControl::SetDefaultItemHeight(int Value)
{
    FDefaultItemHeight = Value;
    if (FIndex == -1) {
        SetItemSize(TabWidth(), Value);
        UpdateScrollerPosition();
        Realign();
    }
}

void TbsSkinPageControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TPageControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == FSkinUpDown) FSkinUpDown = nullptr;
}

void TbsSkinPageControl::Loaded()
{
    TPageControl::Loaded();
    if (FIndex == -1) {
        SetItemSize(TabWidth(), TabHeight() > 0 ? TabHeight() : FDefaultItemHeight);
        UpdateScrollerPosition();
        Realign();
    }
}

// ---- the skin ----

void TbsSkinPageControl::GetSkinData()
{
    BGPictureIndex = -1;
    FIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(FSkinDataName);
    if (FIndex < 0 || FIndex >= static_cast<int>(FSD->CtrlList.size())) {
        FIndex = -1;
        return;
    }
    auto* rec = dynamic_cast<TbsDataSkinTabControl*>(FSD->CtrlList[static_cast<size_t>(FIndex)]);
    const int pi = rec ? rec->PictureIndex : -1;
    Picture = pi >= 0 && pi < static_cast<int>(FSD->FActivePictures.size())
                  ? FSD->FActivePictures[static_cast<size_t>(pi)]
                  : nullptr;
    // A record of another class, or one without a picture, has nothing to draw from: the
    // built-in look.
    if (!rec || !Picture || Picture->Empty()) {
        FIndex = -1;
        Picture = nullptr;
        return;
    }
    rec->FillCloseButtonRects();
    SkinRect = rec->SkinRect;
    ClRect = rec->ClRect;
    TabRect = rec->TabRect;
    ActiveTabRect = IsNullRect(rec->ActiveTabRect) ? rec->TabRect : rec->ActiveTabRect;
    FocusTabRect = IsNullRect(rec->FocusTabRect) ? rec->ActiveTabRect : rec->FocusTabRect;
    MouseInTabRect = rec->MouseInTabRect;
    TabsBGRect = rec->TabsBGRect;
    LTPoint = rec->LTPoint;
    RTPoint = rec->RTPoint;
    LBPoint = rec->LBPoint;
    RBPoint = rec->RBPoint;
    TabLeftOffset = rec->TabLeftOffset;
    TabRightOffset = rec->TabRightOffset;
    FontName = rec->FontName;
    FontStyle = rec->FontStyle;
    FontHeight = rec->FontHeight;
    FontColor = rec->FontColor;
    ActiveFontColor = rec->ActiveFontColor;
    FocusFontColor = rec->FocusFontColor;
    MouseInFontColor = rec->MouseInFontColor;
    UpDown = rec->UpDown;
    BGPictureIndex = rec->BGPictureIndex;
    TabStretchEffect = rec->TabStretchEffect;
    ShowFocus = rec->ShowFocus;
    FocusOffsetX = rec->FocusOffsetX;
    FocusOffsetY = rec->FocusOffsetY;
    LeftStretch = rec->LeftStretch;
    TopStretch = rec->TopStretch;
    RightStretch = rec->RightStretch;
    BottomStretch = rec->BottomStretch;
    StretchEffect = rec->StretchEffect;
    StretchType = rec->StretchType;
    CloseButtonRect = rec->CloseButtonRect;
    ClosebuttonActiveRect = rec->CloseButtonActiveRect;
    CloseButtonDownRect = rec->CloseButtonDownRect;
    ButtonTransparent = rec->ButtonTransparent;
    ButtonTransparentColor = rec->ButtonTransparentColor;
    TabLeftBottomActiveRect = rec->TabLeftBottomActiveRect;
    TabLeftBottomFocusRect =
        IsNullRect(rec->TabLeftBottomFocusRect) ? rec->TabLeftBottomActiveRect : rec->TabLeftBottomFocusRect;
}

int TbsSkinPageControl::GetCloseButtonSize() const
{
    return FIndex == -1 || IsNullRect(CloseButtonRect) ? 14 : RectWidth(CloseButtonRect);
}

void TbsSkinPageControl::ChangeSkinData()
{
    GetSkinData();
    if (FShowCloseButtons) {
        const bool along = !SideTabs();
        ChangeReservedRoom(-FCloseSize, along);
        FCloseSize = GetCloseButtonSize();
        ChangeReservedRoom(FCloseSize, along);
    } else {
        FCloseSize = GetCloseButtonSize();
    }
    TbsResourceStrData* table = FSD ? FSD->ResourceStrData() : nullptr;
    int h = 0;
    if (FIndex == -1) {
        FFont.Assign(FDefaultFont);
        if (table) FFont.SetCharset(table->CharSet());
        h = TabHeight() > 0 ? TabHeight() : FDefaultItemHeight;
    } else {
        if (FUseSkinFont) {
            FFont.SetName(FontName);
            FFont.SetHeight(FontHeight);
            FFont.SetStyle(FontStyle);
        } else {
            FFont.Assign(FDefaultFont);
        }
        FFont.SetCharset(table ? table->CharSet() : FDefaultFont->Charset());
        FFont.SetColor(FontColor);
        h = TabHeight() > 0 ? TabHeight() : RectHeight(TabRect);
    }
    SetItemSize(TabWidth(), h);
    UpdateScrollerPosition();
    Realign();
    if (FSkinUpDown) {
        FreeSkinUpDown();
        UpdateTabScroller();
    }
    if (ActivePage()) ActivePage()->Invalidate();
    Invalidate();
}

void TbsSkinPageControl::UpDateTabs()
{
    int h = TabHeight();
    if (h <= 0) h = FIndex == -1 ? FDefaultItemHeight : RectHeight(TabRect);
    SetItemSize(TabWidth(), h);
    if (MultiLine()) FreeSkinUpDown();
    Realign();
}

// ---- the framework control's answers ----

void TbsSkinPageControl::SetItemSize(int W, int H) { Perform(TCM_SETITEMSIZE, 0, MAKELPARAM(W, H)); }

bool TbsSkinPageControl::GetItemRect(int I, TRect& R)
{
    RECT r{0, 0, 0, 0};
    const bool ok = Perform(TCM_GETITEMRECT, static_cast<WPARAM>(I), reinterpret_cast<LPARAM>(&r)) != 0;
    R = Rect(r.left, r.top, r.right, r.bottom);
    return ok;
}

void TbsSkinPageControl::AdjustPageArea(RECT& R)
{
    if (FHideBorder) {
        R = RECT{0, -2, Width(), Height()};
        return;
    }
    const int cw = ClientWidth(), ch = ClientHeight();
    const bool skin = FIndex != -1;
    const int l = ClRect.Left, t = ClRect.Top;
    const int rb = RectWidth(SkinRect) - ClRect.Right, bb = RectHeight(SkinRect) - ClRect.Bottom;
    switch (TabPosition()) {
    case tpTop:
        R.left = skin ? l : 1;
        R.right = skin ? cw - rb : cw - 1;
        R.top = skin ? R.top + t - 6 : R.top - 5;
        R.bottom = skin ? ch - bb : ch - 1;
        if (FHideTabs) R.top -= 1;
        break;
    case tpBottom:
        R.left = skin ? l : 1;
        R.right = skin ? cw - rb : cw - 1;
        R.top = skin ? R.top + t - 4 : 1;
        R.bottom = skin ? R.bottom + 4 - bb : R.bottom + 3;
        if (FHideTabs && skin) R.bottom += 1;
        break;
    case tpLeft:
        R.left = skin ? R.left + l - 4 : R.left - 3;
        R.right = skin ? cw - rb : cw - 1;
        R.top = skin ? R.top + t - 4 : R.top - 5;
        R.bottom = skin ? ch - bb : ch - 1;
        if (FHideTabs) R.left -= 1;
        break;
    case tpRight:
        R.left = skin ? l : R.left - 3;
        R.right = skin ? R.right + 4 - rb : R.right + 3;
        R.top = skin ? R.top + t - 4 : R.top - 5;
        R.bottom = skin ? ch - bb : ch - 1;
        if (FHideTabs) R.right += 1;
        break;
    }
}

void TbsSkinPageControl::AdjustTabRect(RECT& R)
{
    switch (TabPosition()) {
    case tpTop:
        if (!MultiLine()) {
            R.left -= 2;
            R.right -= 2;
        }
        R.top -= 2;
        R.bottom -= 2;
        if (RowShifted()) {
            const int o = TabsStartOffset();
            R.left += o;
            R.right += o;
        }
        break;
    case tpBottom:
        if (!MultiLine()) {
            R.left -= 2;
            R.right -= 2;
        }
        R.top += 2;
        R.bottom += 2;
        break;
    case tpLeft:
        R.left -= 2;
        R.right -= 2;
        break;
    case tpRight:
        R.left += 2;
        R.right += 2;
        break;
    }
}

int TbsSkinPageControl::TabsStartOffset()
{
    if (FTabsOffset > 0) return FTabsOffset;
    if (TabWidth() == 0) return 0;
    return std::max(Width() / 2 - (TabWidth() * TabCount()) / 2, 0);
}

void TbsSkinPageControl::AlignControls(TControl* AControl, TRect& R)
{
    TPageControl::AlignControls(AControl, R);
    // The framework control makes its arrows whenever the row overflows; the scroller stands in.
    RemoveNativeArrows();
}

// ---- the scroller ----

void TbsSkinPageControl::RemoveNativeArrows()
{
    if (!HandleAllocated()) return;
    for (HWND h = GetWindow(Handle(), GW_CHILD); h;) {
        HWND next = GetWindow(h, GW_HWNDNEXT);
        wchar_t name[32] = {};
        GetClassNameW(h, name, 32);
        if (String(name) == L"msctls_updown32") DestroyWindow(h);
        h = next;
    }
    FArrows = nullptr;
}

int TbsSkinPageControl::HiddenTabsCount()
{
    int n = 0;
    TRect r;
    for (int i = 0; i < TabCount(); ++i)
        if (GetItemRect(i, r) && (r.Right > Width() - 3 || r.Right <= 0)) ++n;
    return n;
}

int TbsSkinPageControl::ScrolledTabsCount()
{
    int n = 0;
    TRect r;
    for (int i = 0; i < TabCount(); ++i)
        if (GetItemRect(i, r) && r.Right <= 0) ++n;
    return n;
}

void TbsSkinPageControl::PlaceSkinUpDown()
{
    TbsSkinCustomControl* u = FSkinUpDown;
    const int left = Width() - u->Width();
    int top = 0;
    const TRect page = DisplayRect();
    if (TabPosition() != tpTop) {
        top = FIndex == -1 ? Height() - u->Height() : RectHeight(SkinRect) + page.Bottom - ClRect.Bottom;
        top = std::min(top, Height() - u->Height());
    } else {
        top = FIndex == -1 ? 0 : page.Top - u->Height() - ClRect.Top;
        top = std::max(top, 0);
    }
    u->SetBounds(left, top, u->Width(), u->Height());
}

void TbsSkinPageControl::CreateSkinUpDown()
{
    if (FHideTabs || !TabScrollerLink().Registered()) return;
    const TbsTabScrollerLink& link = TabScrollerLink();
    FSkinUpDown = link.Make(this);
    if (!FSkinUpDown) return;
    FSkinUpDown->FreeNotification(this);
    FSkinUpDown->SetParent(this);
    FSkinUpDown->SetBounds(0, 0, 2 * FDefaultItemHeight, FDefaultItemHeight);
    link.SetRange(FSkinUpDown, 0, HiddenTabsCount(), 1);
    link.SetPosition(FSkinUpDown, ScrolledTabsCount());
    link.SetOnChange(FSkinUpDown, [this](TObject* s) { SkinUpDownChange(s); });
    FSkinUpDown->SetSkinDataName(UpDown);
    FSkinUpDown->SetSkinData(FSD);
    PlaceSkinUpDown();
    FSkinUpDown->SetVisible(true);
}

void TbsSkinPageControl::FreeSkinUpDown()
{
    if (!FSkinUpDown) return;
    TbsSkinCustomControl* u = FSkinUpDown;
    FSkinUpDown = nullptr;
    u->RemoveFreeNotification(this);
    delete u;
}

void TbsSkinPageControl::UpdateTabScroller()
{
    RemoveNativeArrows();
    const int n = HiddenTabsCount();
    if (n == 0 || MultiLine()) FreeSkinUpDown();
    if (n > 0 && !MultiLine() && !FSkinUpDown) CreateSkinUpDown();
    if (FSkinUpDown) {
        TabScrollerLink().SetRange(FSkinUpDown, 0, n, 1);
        PlaceSkinUpDown();
    }
}

void TbsSkinPageControl::SkinUpDownChange(TObject*)
{
    if (!FSkinUpDown) return;
    const TbsTabScrollerLink& link = TabScrollerLink();
    link.SetRange(FSkinUpDown, 0, HiddenTabsCount(), 1);
    Perform(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, link.Position(FSkinUpDown)), 0);
}

void TbsSkinPageControl::UpdateScrollerPosition()
{
    if (FSkinUpDown) TabScrollerLink().SetPosition(FSkinUpDown, ScrolledTabsCount());
    Invalidate();
}

void TbsSkinPageControl::Change()
{
    UpdateScrollerPosition();
    TPageControl::Change();
    Invalidate();
    if (ActivePage()) ActivePage()->Invalidate();
}

// ---- hiding the tabs and the border ----

void TbsSkinPageControl::HideTabs()
{
    if (FOldTabHeight != -1 || TabCount() == 0) return;
    FHideTabs = true;
    FOLdTabPosition = TabPosition();
    FOldMultiLine = MultiLine();
    if (SideTabs()) SetTabPosition(tpTop);
    SetMultiLine(false);
    FOldTabHeight = TabHeight();
    SetTabHeight(1);
    FreeSkinUpDown();
    Realign();
}

void TbsSkinPageControl::ShowTabs()
{
    if (FOldTabHeight == -1) return;
    SetTabPosition(FOLdTabPosition);
    SetMultiLine(FOldMultiLine);
    FHideTabs = false;
    SetTabHeight(FOldTabHeight);
    // The tab height writer leaves an item height of 0 to the font; the looks want theirs.
    if (FOldTabHeight <= 0) SetItemSize(TabWidth(), FIndex == -1 ? FDefaultItemHeight : RectHeight(TabRect));
    FOldTabHeight = -1;
    Realign();
    if (!MultiLine()) UpdateTabScroller();
}

void TbsSkinPageControl::HideBorderAndTabs()
{
    if (TabPosition() != tpTop) SetTabPosition(tpTop);
    FHideTabs = true;
    FHideBorder = true;
    FreeSkinUpDown();
    Realign();
}

void TbsSkinPageControl::ShowBorderAndTabs()
{
    FHideBorder = false;
    FHideTabs = false;
    ShowTabs();
    Realign();
}

// ---- hot tab and close buttons ----

void TbsSkinPageControl::RepaintTabs()
{
    if (!HandleAllocated() || !IsWindowVisible(Handle())) return;
    GetSkinData();
    PaintTabs(Canvas());
}

TRect TbsSkinPageControl::HotButtonRect(int XShift)
{
    TbsSkinCustomTabSheet* page = SkinPage(FActiveTab);
    TRect tab;
    if (!page || FActiveTabIndex < 0 || !GetItemRect(FActiveTabIndex, tab) || IsNullRect(page->ButtonRect))
        return TRect{};
    return Moved(page->ButtonRect, tab.Left - XShift, tab.Top);
}

void TbsSkinPageControl::UpdateHotTab(int X, int Y)
{
    if (FHideTabs) return;
    FOldActiveTab = FActiveTab;
    FOldActiveTabIndex = FActiveTabIndex;
    FActiveTab = -1;
    FActiveTabIndex = -1;
    TRect r;
    for (int i = 0; i < TabCount(); ++i)
        if (GetItemRect(i, r) && PtInRect(r, Point(X, Y))) {
            FActiveTabIndex = i;
            FActiveTab = PageOfTab(i)->PageIndex();
            break;
        }
    if (FActiveTabIndex != FOldActiveTabIndex) {
        bool repaint = false;
        if (FOldActiveTabIndex != -1 && FOldActiveTabIndex != TabIndex()) {
            if (TbsSkinCustomTabSheet* old = SkinPage(FOldActiveTab)) {
                old->ButtonMouseIn = false;
                old->ButtonMouseDown = false;
            }
            repaint = true;
        }
        if (FActiveTabIndex != -1 && FActiveTabIndex != TabIndex()) repaint = true;
        if (repaint) RepaintTabs();
    }
    if (!FShowCloseButtons || FActiveTabIndex == -1) return;
    TbsSkinCustomTabSheet* page = SkinPage(FActiveTab);
    if (!page) return;
    const TRect b = HotButtonRect(0);
    const bool in = PtInRect(b, Point(X, Y));
    if (in && !page->ButtonMouseIn) {
        page->ButtonMouseIn = true;
        RepaintTabs();
    } else if (!in && page->ButtonMouseIn) {
        page->ButtonMouseIn = false;
        page->ButtonMouseDown = false;
        RepaintTabs();
    }
}

void TbsSkinPageControl::MouseMove(TShiftState Shift, int X, int Y)
{
    TPageControl::MouseMove(Shift, X, Y);
    if (!FHideTabs && !(ComponentState() & csDesigning)) UpdateHotTab(X, Y);
}

void TbsSkinPageControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TPageControl::MouseDown(Button, Shift, X, Y);
    if (FHideTabs || Button != mbLeft) return;
    if (!(ComponentState() & csDesigning) && !RowShifted()) UpdateHotTab(X, Y);
    if (!FShowCloseButtons || FActiveTabIndex == -1) return;
    TbsSkinCustomTabSheet* page = SkinPage(FActiveTab);
    if (!page) return;
    const TRect b = HotButtonRect(RowShifted() ? TabsStartOffset() : 0);
    const bool in = PtInRect(b, Point(X, Y));
    page->ButtonMouseIn = in;
    page->ButtonMouseDown = in;
    if (in) RepaintTabs();
}

void TbsSkinPageControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TPageControl::MouseUp(Button, Shift, X, Y);
    if (FHideTabs || Button != mbLeft) return;
    if (!(ComponentState() & csDesigning) && !RowShifted()) UpdateHotTab(X, Y);
    if (!FShowCloseButtons || FActiveTabIndex == -1) return;
    TbsSkinCustomTabSheet* page = SkinPage(FActiveTab);
    if (!page) return;
    const TRect b = HotButtonRect(RowShifted() ? TabsStartOffset() : 0);
    if (PtInRect(b, Point(X, Y))) {
        page->ButtonMouseIn = true;
        page->ButtonMouseDown = false;
        RepaintTabs();
        CloseActivePage();
    } else {
        page->ButtonMouseIn = false;
        page->ButtonMouseDown = false;
    }
}

void TbsSkinPageControl::CloseActivePage()
{
    TTabSheet* page = ActivePage();
    if (!page) return;
    bool canClose = true;
    if (OnClose) OnClose(page, canClose);
    if (canClose) {
        page->SetTabVisible(false);
        // The framework control keeps showing a page whose tab went: the neighbouring tab's page
        // takes over, as when a page is removed.
        if (ActivePage() == page) {
            const int i = page->PageIndex();
            TTabSheet* next = nullptr;
            for (int k = i + 1; k < PageCount() && !next; ++k)
                if (Pages(k)->TabVisible()) next = Pages(k);
            for (int k = i - 1; k >= 0 && !next; --k)
                if (Pages(k)->TabVisible()) next = Pages(k);
            SetActivePage(next);
        }
        if (FFreeOnClose) delete page;
        FActiveTab = FActiveTabIndex = -1;
        if (OnAfterClose) OnAfterClose(this);
        return;
    }
    POINT p{0, 0};
    GetCursorPos(&p);
    if (HandleAllocated() && WindowFromPoint(p) == Handle()) return;
    if (auto* s = dynamic_cast<TbsSkinCustomTabSheet*>(page)) {
        s->ButtonMouseIn = false;
        s->ButtonMouseDown = false;
    }
    RepaintTabs();
}

void TbsSkinPageControl::MouseWheel(int Delta)
{
    if (!FMouseWheelSupport || !Focused()) return;
    const int cur = ActivePageIndex();
    if (cur < 0) return;
    TTabSheet* target = nullptr;
    if (Delta < 0) {
        for (int i = cur + 1; i < PageCount() && !target; ++i)
            if (Pages(i)->TabVisible()) target = Pages(i);
    } else {
        for (int i = cur - 1; i >= 0 && !target; --i)
            if (Pages(i)->TabVisible()) target = Pages(i);
    }
    if (target) UserSelect(target);
}

// ---- backgrounds ----

TRect TbsSkinPageControl::ClientPiece() const { return Moved(ClRect, SkinRect.Left, SkinRect.Top); }

void TbsSkinPageControl::FillWithPicture(TCanvas* C, int W, int H, TBitmap* P, const TRect& PR)
{
    const int pw = RectWidth(PR), ph = RectHeight(PR);
    // A picture without area fills nothing.
    if (!P || pw <= 0 || ph <= 0 || W <= 0 || H <= 0) return;
    TBitmap piece(pw, ph);
    piece.Canvas()->CopyRect(Rect(0, 0, pw, ph), P->Canvas(), PR);
    if (StretchEffect) {
        switch (StretchType) {
        case bsstFull: C->StretchDraw(Rect(0, 0, W, H), &piece); return;
        case bsstHorz: {
            TBitmap strip(pw, H);
            strip.Canvas()->StretchDraw(Rect(0, 0, pw, H), &piece);
            for (int x = 0; x <= W; x += pw) C->Draw(x, 0, &strip);
            return;
        }
        case bsstVert: {
            TBitmap strip(W, ph);
            strip.Canvas()->StretchDraw(Rect(0, 0, W, ph), &piece);
            for (int y = 0; y <= H; y += ph) C->Draw(0, y, &strip);
            return;
        }
        }
    }
    for (int y = 0; y <= H; y += ph)
        for (int x = 0; x <= W; x += pw) C->Draw(x, y, &piece);
}

void TbsSkinPageControl::EraseBackground(TMessage& m)
{
    bool anyTab = TabCount() > 0;
    if (PageCount() > 0 && anyTab) {
        m.Result = 1;
        return;
    }
    GetSkinData();
    if (FIndex == -1) {
        TPageControl::WndProc(m);
        return;
    }
    TCanvas c;
    c.SetHandle(reinterpret_cast<HDC>(m.WParam));
    if (BGPictureIndex != -1 && BGPictureIndex < static_cast<int>(FSD->FActivePictures.size())) {
        TBitmap* bg = FSD->FActivePictures[static_cast<size_t>(BGPictureIndex)];
        FillWithPicture(&c, Width(), Height(), bg, Rect(0, 0, bg->Width(), bg->Height()));
    } else {
        FillWithPicture(&c, Width(), Height(), Picture, ClientPiece());
    }
    c.SetHandle(nullptr);
    m.Result = 1;
}

// ---- messages ----

void TbsSkinPageControl::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_SKIN_PAINTTODC: m.Result = SKIN_PAINTTODC_DONE; return;
    case WM_SKIN_PARENTBGCHANGED:
        if (FTabsBGTransparent) Repaint();
        return;
    case WM_ERASEBKGND: EraseBackground(m); return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_NCHITTEST:
        // The framework control hit-tests its unshifted tabs.
        if (RowShifted())
            m.LParam = MAKELPARAM(static_cast<WORD>(GET_X_LPARAM(m.LParam) - TabsStartOffset()), HIWORD(m.LParam));
        break;
    case WM_SIZE: GetSkinData(); break;
    default: break;
    }
    TPageControl::WndProc(m);
    switch (m.Msg) {
    case TCM_ADJUSTRECT:
        if (m.LParam) AdjustPageArea(*reinterpret_cast<RECT*>(m.LParam));
        break;
    case TCM_GETITEMRECT:
        if (m.Result && m.LParam && Style() == tsTabs) AdjustTabRect(*reinterpret_cast<RECT*>(m.LParam));
        break;
    case TCM_SETCURSEL:
        if (!(ComponentState() & csLoading)) Invalidate();
        break;
    case WM_HSCROLL: Repaint(); break;
    case WM_SIZE:
        if (!MultiLine() && !(ComponentState() & csDesigning)) UpdateTabScroller();
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (RowShifted()) Invalidate();
        break;
    case WM_MOUSEWHEEL: MouseWheel(GET_WHEEL_DELTA_WPARAM(m.WParam)); break;
    case CM_MOUSELEAVE:
        if (FHideTabs) break;
        UpdateHotTab(-1, -1);
        if ((FOldActiveTabIndex != -1 && FOldActiveTabIndex != TabIndex() && FOldActiveTab < PageCount()) ||
            (FActiveTabIndex != -1 && FActiveTabIndex != TabIndex() && FActiveTab < PageCount())) {
            FOldActiveTabIndex = FOldActiveTab = -1;
            FActiveTabIndex = FActiveTab = -1;
            RepaintTabs();
        }
        break;
    default: break;
    }
}
