// The MDI tabs bar: layout, drawing of the tabs and their close buttons, the add button, the
// drag into another order with its drop marker, the mouse, and the two list menus.
#include "skin/form/mdi_tabs_bar.h"

#include <algorithm>

#include "platform/win/win_api.h"
#include "skin/controls/skin_menu_speed_button.h"
#include "skin/core/button_records.h"
#include "skin/core/marks.h"
#include "skin/core/parent_background.h"
#include "skin/core/resource_strings.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_image.h"
#include "skin/core/skin_messages.h"
#include "skin/core/tab_grid_records.h"
#include "skin/core/text_layout.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_popup_menu.h"

namespace {

constexpr int kListButtonWidth = 15;
constexpr int kAddButtonSpace = 19;
constexpr TColor kHotTab = 15979713;     // red 193, green 212, blue 243
constexpr TColor kActiveTab = 14990498;  // red 162, green 188, blue 228
constexpr wchar_t kBarItemSuffix[] = L"_BSFCHILDITEMBAR";
constexpr wchar_t kHideItemSuffix[] = L"_BSFCHILDITEMBARHIDE";

bool Contains(const TRect& R, int X, int Y) { return X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom; }

}  // namespace

// ---- a tab -----------------------------------------------------------------------------------

namespace {

// A button record of the bar's skin with its picture; nullptr without either.
TbsDataSkinButtonControl* ButtonRecord(TbsSkinData* SD, const wchar_t* Name, TBitmap*& Pic)
{
    Pic = nullptr;
    if (!SD || SD->Empty) return nullptr;
    const int i = SD->GetControlIndex(Name);
    auto* r = i == -1 ? nullptr : dynamic_cast<TbsDataSkinButtonControl*>(SD->CtrlList[static_cast<size_t>(i)]);
    if (!r || r->PictureIndex < 0 || r->PictureIndex >= static_cast<int>(SD->FActivePictures.size())) return nullptr;
    Pic = SD->FActivePictures[static_cast<size_t>(r->PictureIndex)];
    return Pic ? r : nullptr;
}

// The record's pressed, hot or normal look (an empty pressed one falling back to the hot, an
// empty hot one to the normal) composed onto B at W x H; its client rectangle moved with the
// size, and the look's font colour in Color.
TRect ComposeButton(TbsDataSkinButtonControl* R, TBitmap* Pic, bool Down, bool Hot, TBitmap* B, int W, int H,
                    TColor& Color)
{
    TRect src = R->SkinRect;
    Color = R->FontColor;
    if (Down) {
        src = !R->DownSkinRect.IsEmpty() ? R->DownSkinRect : !R->ActiveSkinRect.IsEmpty() ? R->ActiveSkinRect : src;
        Color = R->DownFontColor;
    } else if (Hot) {
        if (!R->ActiveSkinRect.IsEmpty()) src = R->ActiveSkinRect;
        Color = R->ActiveFontColor;
    }
    return ComposeButtonLook(*R, Pic, src, W, H, B);
}

}  // namespace

void TbsMDITab::DrawCloseButton(TCanvas* C, const TRect& R)
{
    TbsSkinMDITabsBar* bar = TabsBar;
    const bool hot = ButtonMouseIn, down = ButtonMouseDown && ButtonMouseIn;
    if (bar->Skinned() && !bar->CloseButtonRect.IsEmpty()) {
        const TRect& src = down ? bar->CloseButtonDownRect : hot ? bar->ClosebuttonActiveRect : bar->CloseButtonRect;
        const int w = src.Width(), h = src.Height();
        const int y = R.Top + (R.Height() - h) / 2;
        ButtonRect = Bounds(R.Left, y, w, h);
        TBitmap b;
        b.SetWidth(w);
        b.SetHeight(h);
        b.Canvas()->CopyRect(Rect(0, 0, w, h), bar->Picture->Canvas(), src);
        if (bar->ButtonTransparent) {
            b.SetTransparent(true);
            b.SetTransparentColor(bar->ButtonTransparentColor);
        }
        C->Draw(R.Left, y, &b);
        return;
    }
    if (bar->Skinned()) {
        // The skin's small tool button with the close cross on it.
        TBitmap* pic = nullptr;
        TbsDataSkinButtonControl* rec = ButtonRecord(bar->SkinData(), L"resizetoolbutton", pic);
        if (!rec) return;
        const int size = bar->FCloseSize;
        TBitmap b;
        TColor color = 0;
        ComposeButton(rec, pic, down, hot, &b, size, size, color);
        DrawCloseGlyph(b.Canvas(), size / 2 - 5, size / 2 - 5, color);
        const int y = R.Top + (R.Height() - size) / 2;
        ButtonRect = Bounds(R.Left, y, size, size);
        C->Draw(R.Left, y, &b);
        return;
    }
    const int y = R.Top + (R.Height() - 14) / 2;
    ButtonRect = Bounds(R.Left, y, 14, 14);
    DrawCloseGlyph(C, R.Left + 2, y + 2, hot ? clWhite : clBlack);
}

int TbsMDITab::DrawChildIcon(TCanvas* C, const TRect& R)
{
    HICON source = nullptr;
    if (Child && !Child->Icon()->Empty())
        source = Child->Icon()->Handle();
    else if (Application && !Application->Icon()->Empty())
        source = Application->Icon()->Handle();
    else
        source = LoadIconW(nullptr, IDI_APPLICATION);
    int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
    if (w == 0) w = GetSystemMetrics(SM_CXSIZE);
    if (h == 0) h = GetSystemMetrics(SM_CYSIZE);
    const int box = std::max(20, w);
    if (!source) return box;
    if (HICON small = static_cast<HICON>(CopyImage(source, IMAGE_ICON, w, h, LR_COPYFROMRESOURCE))) {
        DrawIconEx(C->Handle(), R.Left + (box - w) / 2, R.Top + (R.Height() - h) / 2, small, 0, 0, 0, nullptr,
                   DI_NORMAL);
        DestroyIcon(small);
    }
    return box;
}

void TbsMDITab::SetCaptionFont(TCanvas* C, TColor Color)
{
    TbsSkinMDITabsBar* bar = TabsBar;
    if (bar->Skinned() && bar->UseSkinFont()) {
        C->Font()->SetName(bar->FontName);
        C->Font()->SetStyle(bar->FontStyle);
        C->Font()->SetHeight(bar->FontHeight);
    } else {
        C->Font()->Assign(bar->DefaultFont());
    }
    if (bar->Skinned()) C->Font()->SetColor(Color);
    TbsSkinData* sd = bar->SkinData();
    if (bar->Skinned() && sd && sd->ResourceStrData())
        C->Font()->SetCharset(sd->ResourceStrData()->CharSet());
    else
        C->Font()->SetCharset(bar->DefaultFont()->Charset());
}

void TbsMDITab::DrawCaption(TCanvas* C, TRect R, TColor Color)
{
    TbsSkinMDITabsBar* bar = TabsBar;
    SetCaptionFont(C, Color);
    if (bar->ShowChildIcon()) R.Left += DrawChildIcon(C, R);
    String text = Child ? Child->Caption() : String();
    FitWideTextToWidth(C, text, R.Width());
    if (bar->OnTabGetDrawParamsEvent) bar->OnTabGetDrawParamsEvent(this, C);
    C->Brush()->SetStyle(bsClear);
    RECT r{R.Left, R.Top, R.Right, R.Bottom};
    const UINT flags = bar->DrawTextBiDiModeFlags(DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    DrawTextW(C->Handle(), text.c_str(), static_cast<int>(text.size()), &r, flags);
}

void TbsMDITab::Draw(TCanvas* Cnvs)
{
    if (ObjectRect.Width() <= 0 || ObjectRect.Height() <= 0) return;
    TbsSkinMDITabsBar* bar = TabsBar;
    if (bar->Skinned() && bar->TabKind() == bstkButton)
        ButtonDraw(Cnvs);
    else if (!bar->Skinned() || bar->UseSkinSize())
        PlainDraw(Cnvs);
    else
        ResizeDraw(Cnvs);
}

void TbsMDITab::ButtonDraw(TCanvas* Cnvs)
{
    TbsSkinMDITabsBar* bar = TabsBar;
    TBitmap* pic = nullptr;
    TbsDataSkinButtonControl* rec = ButtonRecord(bar->SkinData(), L"resizebutton", pic);
    if (!rec) return;
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    TBitmap b;
    TColor color = 0;
    TRect text = ComposeButton(rec, pic, Active, MouseIn && !Active, &b, w, h, color);
    TCanvas* c = b.Canvas();
    if (bar->ShowCloseButtons()) {
        text.Right -= bar->FCloseSize + 3;
        DrawCloseButton(c, Rect(text.Right, 0, text.Right + bar->FCloseSize + 3, h));
    }
    // A text box lower than the caption grows to it, centred in the tab.
    SetCaptionFont(c, color);
    const int th = c->TextHeight(L"Wy");
    if (text.Height() < th) {
        text.Top = h / 2 - th / 2;
        text.Bottom = text.Top + th;
    }
    DrawCaption(c, text, color);
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &b);
}

void TbsMDITab::PlainDraw(TCanvas* Cnvs)
{
    TbsSkinMDITabsBar* bar = TabsBar;
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    TBitmap b;
    b.SetWidth(w);
    b.SetHeight(h);
    TCanvas* c = b.Canvas();
    const bool hot = MouseIn && !Active;
    const int closeSpace = bar->ShowCloseButtons() ? bar->FCloseSize + 5 : 0;
    if (bar->Skinned()) {
        const TRect& src = hot ? bar->MouseInTabRect : Active ? bar->ActiveTabRect : bar->TabRect;
        CreateHSkinImage(bar->TabLeftOffset, bar->TabRightOffset, &b, bar->Picture, src, w, h, bar->TabStretchEffect);
        const TColor color = hot ? bar->MouseInFontColor : Active ? bar->ActiveFontColor : bar->FontColor;
        const TRect text = bar->ShowCloseButtons() ? Rect(2, 1, w - closeSpace, h)
                                                   : Rect(bar->TabLeftOffset, 1, w - bar->TabRightOffset, h);
        DrawCaption(c, text, color);
    } else {
        c->Brush()->SetColor(hot ? kHotTab : Active ? kActiveTab : clBtnFace);
        c->FillRect(Rect(0, 0, w, h));
        DrawCaption(c, bar->ShowCloseButtons() ? Rect(2, 0, w - closeSpace, h) : Rect(2, 0, w - 2, h), 0);
    }
    if (bar->ShowCloseButtons()) DrawCloseButton(c, Rect(w - closeSpace, 0, w, h));
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &b);
}

void TbsMDITab::ResizeDraw(TCanvas* Cnvs)
{
    TbsSkinMDITabsBar* bar = TabsBar;
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    const bool hot = MouseIn && !Active;
    // The active tab reaches its extra rows down into the band under the tabs.
    TBitmap b;
    b.SetSize(w, h + (Active ? bar->FActiveTabOffset : 0));
    const TRect& src = hot ? bar->MouseInTabRect : Active ? bar->ActiveTabRect : bar->TabRect;
    const int q = bar->TabRect.Height() / 4;
    CreateStretchImage(&b, bar->Picture, src,
                       Rect(bar->TabLeftOffset, q, src.Width() - bar->TabRightOffset, src.Height() - q), true);
    TCanvas* c = b.Canvas();
    const TColor color = hot ? bar->MouseInFontColor : Active ? bar->ActiveFontColor : bar->FontColor;
    if (bar->ShowCloseButtons()) {
        const int closeSpace = bar->FCloseSize + 5;
        DrawCaption(c, Rect(2, 1, w - closeSpace, h), color);
        DrawCloseButton(c, Rect(w - closeSpace, 0, w, h));
    } else {
        DrawCaption(c, Rect(2, 1, w - 2, h), color);
    }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &b);
}

// ---- the bar ---------------------------------------------------------------------------------

TbsSkinMDITabsBar::TbsSkinMDITabsBar(TComponent* AOwner) : TbsSkinControl(AOwner)
{
    SetWidth(150);
    SetHeight(21);
    FSkinDataName = L"tab";
    FDefaultFont = new TFont;
    FDefaultFont->SetName(L"Tahoma");
    FDefaultFont->SetHeight(13);
    FListMenu = new TbsSkinPopupMenu(this);
    FHideListMenu = new TbsSkinPopupMenu(this);
}

TbsSkinMDITabsBar::~TbsSkinMDITabsBar()
{
    for (TbsMDITab* t : ObjectList) delete t;
    ObjectList.clear();
    delete FDefaultFont;
}

void TbsSkinMDITabsBar::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == BSF) BSF = nullptr;
    if (AComponent == FListButton) FListButton = nullptr;
    if (AComponent == FHideListButton) FHideListButton = nullptr;
    if (AComponent == FListMenu) FListMenu = nullptr;
    if (AComponent == FHideListMenu) FHideListMenu = nullptr;
}

void TbsSkinMDITabsBar::SetSkinForm(TbsSkinForm* Value)
{
    BSF = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinMDITabsBar::SetShowChildIcon(bool Value)
{
    if (FShowChildIcon == Value) return;
    FShowChildIcon = Value;
    Repaint();
}

void TbsSkinMDITabsBar::SetShowAddButton(bool Value)
{
    if (FShowAddButton == Value) return;
    FShowAddButton = Value;
    Repaint();
}

void TbsSkinMDITabsBar::SetShowCloseButtons(bool Value)
{
    if (FShowCloseButtons == Value) return;
    FShowCloseButtons = Value;
    Repaint();
}

void TbsSkinMDITabsBar::SetTabKind(TbsSkinMDITabKind Value)
{
    if (FTabKind == Value) return;
    FTabKind = Value;
    if (FIndex != -1) Repaint();
}

void TbsSkinMDITabsBar::SetDefaultHeight(int Value)
{
    FDefaultHeight = Value;
    if (FIndex == -1 && Value > 0) SetHeight(Value);
}

void TbsSkinMDITabsBar::SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }

TbsSkinMenuSpeedButton* TbsSkinMDITabsBar::MakeListButton(TAlign Align, int ArrowType, TbsSkinPopupMenu* Menu)
{
    auto* b = new TbsSkinMenuSpeedButton(this);
    b->SetWidth(kListButtonWidth);
    b->SetSkinDataName(L"resizetoolbutton");
    b->SetSkinData(FSD);
    b->SetSkinPopupMenu(Menu);
    b->FDrawStandardArrow = true;
    b->FArrowType = ArrowType;
    b->SetAlign(Align);
    b->SetParent(this);
    b->FreeNotification(this);
    return b;
}

// ---- the tabs --------------------------------------------------------------------------------

void TbsSkinMDITabsBar::AddTab(TCustomForm* Child)
{
    ObjectList.push_back(new TbsMDITab(this, Child));
    if (!FListButton) {
        FListButton = MakeListButton(alLeft, 4, FListMenu);
        FListButton->OnShowTrackMenu = [this](TObject*) { FillListMenu(); };
    }
    Repaint();
}

void TbsSkinMDITabsBar::EndDrag()
{
    IsDrag = false;
    FDown = false;
    DragIndex = -1;
    DX = TabDX = 0;
}

void TbsSkinMDITabsBar::DeleteTab(TCustomForm* Child)
{
    if (ActiveTabIndex >= 0 && ActiveTabIndex < TabCount() && Tab(ActiveTabIndex)->Child == Child) {
        if (OnTabMouseLeave) OnTabMouseLeave(Tab(ActiveTabIndex));
        ActiveTabIndex = OldTabIndex = -1;
    }
    auto it = std::find_if(ObjectList.begin(), ObjectList.end(), [Child](TbsMDITab* t) { return t->Child == Child; });
    if (it != ObjectList.end()) {
        const int index = static_cast<int>(it - ObjectList.begin());
        // A drag never outlives its tab, nor keeps pointing past a tab that went.
        if (DragIndex != -1 && index <= DragIndex) EndDrag();
        delete *it;
        ObjectList.erase(it);
    }
    if (ObjectList.empty() && FListButton) {
        FListButton->Free();
        FListButton = nullptr;
    }
    Repaint();
}

void TbsSkinMDITabsBar::RefreshTab(TCustomForm* Child)
{
    for (TbsMDITab* t : ObjectList)
        if (t->Child == Child) RedrawTab(t);
}

void TbsSkinMDITabsBar::UpdateActiveTab()
{
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    TCustomForm* active = main ? main->ActiveMDIChild() : nullptr;
    if (!active) return;
    for (TbsMDITab* t : ObjectList) t->Active = t->Child == active;
    Repaint();
}

void TbsSkinMDITabsBar::RedrawTab(TbsMDITab* T)
{
    if (!T->Visible || !HandleAllocated()) return;
    T->Draw(Canvas());
}

int TbsSkinMDITabsBar::GetTabIndex(int X, int Y) const
{
    for (int i = 0; i < TabCount(); ++i)
        if (Tab(i)->Visible && Contains(Tab(i)->ObjectRect, X, Y)) return i;
    return -1;
}

TbsMDITab* TbsSkinMDITabsBar::GetTab(int X, int Y) const
{
    const int i = GetTabIndex(X, Y);
    return i == -1 ? nullptr : Tab(i);
}

int TbsSkinMDITabsBar::GetCloseSize() const
{
    return FIndex == -1 || CloseButtonRect.IsEmpty() ? 14 : CloseButtonRect.Width();
}

// ---- skin ------------------------------------------------------------------------------------

void TbsSkinMDITabsBar::GetSkinData()
{
    TbsSkinControl::GetSkinData();
    Picture = nullptr;
    auto* r = dynamic_cast<TbsDataSkinTabControl*>(Record());
    if (!r) return;
    const auto& pics = FSD->FActivePictures;
    Picture = r->PictureIndex >= 0 && r->PictureIndex < static_cast<int>(pics.size()) ? pics[r->PictureIndex] : nullptr;
    TabRect = r->TabRect;
    ActiveTabRect = r->ActiveTabRect.IsEmpty() ? TabRect : r->ActiveTabRect;
    MouseInTabRect = r->MouseInTabRect.IsEmpty() ? TabRect : r->MouseInTabRect;
    TabsBGRect = r->TabsBGRect;
    TabLeftOffset = r->TabLeftOffset;
    TabRightOffset = r->TabRightOffset;
    FontName = r->FontName;
    FontStyle = r->FontStyle;
    FontHeight = r->FontHeight;
    FontColor = r->FontColor;
    ActiveFontColor = r->ActiveFontColor;
    MouseInFontColor = r->MouseInFontColor;
    TabStretchEffect = r->TabStretchEffect;
    // A record with only the normal close rectangle serves all three states with it.
    if (r->CloseButtonActiveRect.IsEmpty()) r->CloseButtonActiveRect = r->CloseButtonRect;
    if (r->CloseButtonDownRect.IsEmpty()) r->CloseButtonDownRect = r->CloseButtonActiveRect;
    CloseButtonRect = r->CloseButtonRect;
    ClosebuttonActiveRect = r->CloseButtonActiveRect;
    CloseButtonDownRect = r->CloseButtonDownRect;
    ButtonTransparent = r->ButtonTransparent;
    ButtonTransparentColor = r->ButtonTransparentColor;
    LTPoint = r->LTPoint;
    RTPoint = r->RTPoint;
    LBPoint = r->LBPoint;
    RBPoint = r->RBPoint;
    ClRect = r->ClRect;
    SkinRect = r->SkinRect;
    LeftStretch = r->LeftStretch;
    TopStretch = r->TopStretch;
    RightStretch = r->RightStretch;
    BottomStretch = r->BottomStretch;
    StretchEffect = r->StretchEffect;
    StretchType = r->StretchType;
    FBottomOffset = ClRect.Top;
    FActiveTabOffset = ActiveTabRect.Height() - TabRect.Height();
}

void TbsSkinMDITabsBar::ChangeSkinData()
{
    TbsSkinControl::ChangeSkinData();
    FCloseSize = GetCloseSize();
    if (FIndex != -1 && FUseSkinSize && Picture)
        SetHeight(TabRect.Height() + (FTabKind == bstkTab ? FBottomOffset : 0));
    else if (FDefaultHeight > 0)
        SetHeight(FDefaultHeight);
    if (FListButton) FListButton->SetSkinData(FSD);
    if (FHideListButton) FHideListButton->SetSkinData(FSD);
    Realign();
    Repaint();
}

void TbsSkinMDITabsBar::AdjustClientRect(TRect& Rect)
{
    TbsSkinControl::AdjustClientRect(Rect);
    if (Skinned() && FTabKind == bstkTab) Rect.Bottom -= FBottomOffset;
}

// ---- layout ----------------------------------------------------------------------------------

void TbsSkinMDITabsBar::ArrangeTabs()
{
    const int n = TabCount();
    if (n == 0) {
        FAddButtonRect = Rect(2, Height() / 2 - 8, 16, Height() / 2 + 6);
        FInVisibleCount = 0;
        return;
    }
    FInVisibleCount = 0;
    const int u = Width() - (FShowAddButton ? kAddButtonSpace : 0);
    const int th = Height() - (Skinned() && FTabKind == bstkTab ? FBottomOffset : 0);
    int tw = std::min((u - kListButtonWidth) / n, FDefaultTabWidth);
    int limit = u;
    int lastRight = -1;
    if (FMinTabWidth != 0 && tw < FMinTabWidth) {
        tw = FMinTabWidth;
        const int fit = (u - 2 * kListButtonWidth) / tw;
        for (int i = 0; i < n; ++i) {
            TbsMDITab* t = Tab(i);
            const int x = kListButtonWidth + i * tw;
            t->Visible = i < fit;
            t->ObjectRect = t->Visible ? Rect(x, 0, x + tw, th) : TRect{};
            if (t->Visible)
                lastRight = x + tw;
            else
                ++FInVisibleCount;
        }
        limit = u - kListButtonWidth;
    } else {
        for (int i = 0; i < n; ++i) {
            TbsMDITab* t = Tab(i);
            t->Visible = true;
            t->ObjectRect = Rect(kListButtonWidth + i * tw, 0, kListButtonWidth + (i + 1) * tw, th);
        }
        if (tw < FDefaultTabWidth) Tab(n - 1)->ObjectRect.Right = u;
        lastRight = Tab(n - 1)->ObjectRect.Right;
    }
    const int addLeft = lastRight == -1 ? 2 : lastRight + 2;
    FAddButtonRect = Bounds(addLeft, Height() / 2 - 8, 14, 14);
    if (DragIndex != -1 && IsDrag && DragIndex < n) {
        TRect& r = Tab(DragIndex)->ObjectRect;
        r.Left += TabDX;
        r.Right += TabDX;
        if (r.Right > limit) {
            const int d = r.Right - limit;
            r.Left -= d;
            r.Right -= d;
        }
        if (r.Left < 0) {
            const int d = -r.Left;
            r.Left += d;
            r.Right += d;
        }
    }
}

int TbsSkinMDITabsBar::GetMoveIndex() const
{
    if (ObjectList.empty() || TabDX == 0 || DragIndex < 0 || DragIndex >= TabCount()) return -1;
    const TRect& d = Tab(DragIndex)->ObjectRect;
    int result = -1;
    if (TabDX > 0) {
        for (int i = DragIndex + 1; i < TabCount(); ++i) {
            const TRect& r = Tab(i)->ObjectRect;
            if (Tab(i)->Visible && r.Left + r.Width() / 2 < d.Right) result = i;
        }
    } else {
        for (int i = DragIndex - 1; i >= 0; --i) {
            const TRect& r = Tab(i)->ObjectRect;
            if (Tab(i)->Visible && r.Left + r.Width() / 2 > d.Left) result = i;
        }
    }
    return result;
}

// ---- composition -----------------------------------------------------------------------------

void TbsSkinMDITabsBar::CreateControlDefaultImage(TBitmap* B)
{
    B->Canvas()->Brush()->SetColor(clBtnFace);
    B->Canvas()->FillRect(Rect(0, 0, B->Width(), B->Height()));
    DrawTabs(B);
}

void TbsSkinMDITabsBar::CreateControlSkinImage(TBitmap* B)
{
    if (!Picture) return CreateControlDefaultImage(B);
    const int band = FTabKind == bstkTab ? FBottomOffset : 0;
    if (FSD->MDITabsTransparent) {
        PaintParentBackground(this, B->Canvas());
    } else if (TabsBGRect.Width() > 0 && TabsBGRect.Height() > 0) {
        // The background piece at the tab's size, stretched into tiles of its own width.
        TBitmap piece;
        piece.SetSize(std::max(1, TabRect.Width()), std::max(1, TabRect.Height()));
        piece.Canvas()->CopyRect(Rect(0, 0, piece.Width(), piece.Height()), Picture->Canvas(), TabsBGRect);
        const int tile = TabsBGRect.Width();
        for (int i = 0; i <= B->Width() / tile; ++i)
            B->Canvas()->StretchDraw(Bounds(i * tile, 0, tile, Height() - band), &piece);
    }
    if (FTabKind == bstkTab) DrawBottomBand(B);
    DrawTabs(B);
}

void TbsSkinMDITabsBar::DrawBottomBand(TBitmap* B)
{
    if (SkinRect.IsEmpty() || FBottomOffset <= 0) return;
    const TRect strip =
        Rect(SkinRect.Left + LTPoint.X, SkinRect.Top, SkinRect.Left + RTPoint.X, SkinRect.Top + ClRect.Top);
    if (strip.Width() <= 0) return;
    TBitmap band;
    CreateHSkinImage(LTPoint.X, SkinRect.Width() - RTPoint.X, &band, Picture, strip, B->Width(), FBottomOffset,
                     TopStretch);
    B->Canvas()->Draw(0, Height() - FBottomOffset, &band);
}

void TbsSkinMDITabsBar::DrawTabs(TBitmap* B)
{
    ArrangeTabs();
    TCanvas* c = B->Canvas();
    if (FShowAddButton) DrawAddButton(c);
    const bool dragging = FDown && DragIndex != -1 && DragIndex < TabCount();
    for (int i = 0; i < TabCount(); ++i)
        if (Tab(i)->Visible && !(dragging && i == DragIndex)) Tab(i)->Draw(c);
    if (dragging) Tab(DragIndex)->Draw(c);
    DrawDropMarker(c);
}

void TbsSkinMDITabsBar::DrawAddButton(TCanvas* C)
{
    if (FAddButtonRect.IsEmpty()) return;
    if (Skinned()) {
        TBitmap* pic = nullptr;
        TbsDataSkinButtonControl* rec = ButtonRecord(FSD, L"resizetoolbutton", pic);
        if (!rec) return;
        TBitmap b;
        TColor color = 0;
        ComposeButton(rec, pic, FAddButtonDown && FAddButtonActive, FAddButtonActive, &b, FAddButtonRect.Width(),
                      FAddButtonRect.Height(), color);
        DrawArrowImage(b.Canvas(), Rect(0, 0, b.Width(), b.Height()), color, 5);
        C->Draw(FAddButtonRect.Left, FAddButtonRect.Top, &b);
        return;
    }
    C->Brush()->SetColor(FAddButtonActive ? kHotTab : clBtnFace);
    C->FillRect(FAddButtonRect);
    DrawArrowImage(C, FAddButtonRect, clBtnText, 5);
}

void TbsSkinMDITabsBar::DrawDropMarker(TCanvas* C)
{
    if (!IsDrag) return;
    const int target = GetMoveIndex();
    if (target == -1) return;
    const TRect& r = Tab(target)->ObjectRect;
    const int x = TabDX < 1 ? r.Left : r.Right;
    const int h = Height(), m = h / 2;
    C->Pen()->SetMode(pmNot);
    for (int dx = -1; dx <= 1; ++dx) {
        C->MoveTo(x + dx, 0);
        C->LineTo(x + dx, h);
    }
    C->Polyline({Point(x + 2, m), Point(x + 5, m - 3), Point(x + 5, m + 3), Point(x + 2, m)});
    C->Polyline({Point(x - 2, m), Point(x - 5, m - 3), Point(x - 5, m + 3), Point(x - 2, m)});
    C->Pen()->SetMode(pmCopy);
}

void TbsSkinMDITabsBar::Paint()
{
    TbsSkinControl::Paint();
    if (FInVisibleCount > 0 && !FHideListButton) {
        FHideListButton = MakeListButton(alRight, 2, FHideListMenu);
        FHideListButton->OnShowTrackMenu = [this](TObject*) { FillHideListMenu(); };
    } else if (FInVisibleCount == 0 && FHideListButton) {
        FHideListButton->Free();
        FHideListButton = nullptr;
    }
}

// ---- the list menus --------------------------------------------------------------------------

void TbsSkinMDITabsBar::FillListMenu()
{
    if (!FListMenu) return;
    FListMenu->Items()->Clear();
    for (TbsMDITab* t : ObjectList) {
        auto* item = new TMenuItem(FListMenu);
        item->SetName(t->Child->Name() + kBarItemSuffix);
        item->SetCaption(t->Child->Caption());
        item->SetRadioItem(true);
        item->SetChecked(t->Active);
        item->OnClick = [this](TObject* S) { ItemClick(S); };
        FListMenu->Items()->Add(item);
    }
}

void TbsSkinMDITabsBar::FillHideListMenu()
{
    if (!FHideListMenu) return;
    FHideListMenu->Items()->Clear();
    for (TbsMDITab* t : ObjectList) {
        if (t->Visible) continue;
        auto* item = new TMenuItem(FHideListMenu);
        item->SetName(t->Child->Name() + kHideItemSuffix);
        item->SetCaption(t->Child->Caption());
        item->OnClick = [this](TObject* S) { ItemClick(S); };
        FHideListMenu->Items()->Add(item);
    }
}

void TbsSkinMDITabsBar::ItemClick(TObject* Sender)
{
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    if (!item || !BSF) return;
    String name = item->Name();
    for (const wchar_t* suffix : {kHideItemSuffix, kBarItemSuffix})
        if (const size_t p = name.find(suffix); p != String::npos) {
            name.erase(p, std::char_traits<wchar_t>::length(suffix));
            break;
        }
    TCustomForm* f = BSF->Form();
    for (int i = 0; TCustomForm* c = f->MDIChildren(i); ++i) {
        if (c->Name() != name) continue;
        if (TbsSkinForm* s = SkinFormOfForm(c); s && s->WindowState() == wsMinimized) s->SetWindowState(wsNormal);
        c->Show();
    }
}

// ---- mouse -----------------------------------------------------------------------------------

void TbsSkinMDITabsBar::ShowChild(TbsMDITab* T)
{
    if (TbsSkinForm* s = SkinFormOfForm(T->Child); s && s->WindowState() == wsMinimized) s->SetWindowState(wsNormal);
    T->Child->Show();
}

void TbsSkinMDITabsBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinControl::MouseDown(Button, Shift, X, Y);
    const int index = GetTabIndex(X, Y);
    TbsMDITab* t = index == -1 ? nullptr : Tab(index);
    if (Button == mbLeft) {
        if (t) {
            ShowChild(t);
            FDown = true;
            DragIndex = FMoveTabs ? index : -1;
            DX = X;
            TabDX = 0;
            if (Shift.Contains(ssDouble) && FDblClickChildMove)
                if (TbsSkinForm* s = SkinFormOfForm(t->Child); s && s->WindowState() == wsNormal)
                    t->Child->SetBounds(0, 0, t->Child->Width(), t->Child->Height());
            if (OnTabMouseDown) OnTabMouseDown(Button, Shift, t);
            if (FShowCloseButtons) {
                const TRect b = t->ButtonRect;
                const TPoint p = Point(X - t->ObjectRect.Left, Y - t->ObjectRect.Top);
                if (Contains(b, p.X, p.Y)) {
                    FDown = false;
                    DragIndex = -1;
                    t->ButtonMouseIn = t->ButtonMouseDown = true;
                } else {
                    t->ButtonMouseIn = t->ButtonMouseDown = false;
                }
                RedrawTab(t);
            }
        }
        if (FShowAddButton && FAddButtonActive) {
            FAddButtonDown = true;
            Repaint();
        }
    } else if (Button == mbRight && t) {
        TbsSkinForm* child = SkinFormOfForm(t->Child);
        if (FSupportChildMenus && child && BSF) {
            BSF->SkinMenuOpen();
            POINT p{X, Y};
            ::ClientToScreen(Handle(), &p);
            if (TMenuItem* items = child->GetSysMenuItems(); items && BSF->SkinMenuEngine())
                BSF->SkinMenuEngine()->Popup(Parent(), BSF->MenusSkinData() ? BSF->MenusSkinData() : BSF->SkinData(), 0,
                                             Rect(p.x, p.y, p.x, p.y), items, false);
        }
        if (OnTabMouseDown) OnTabMouseDown(Button, Shift, t);
    }
}

void TbsSkinMDITabsBar::MouseMove(TShiftState Shift, int X, int Y)
{
    TbsSkinControl::MouseMove(Shift, X, Y);
    if (FDown && DragIndex != -1 && X != DX) IsDrag = true;
    if (IsDrag) {
        TabDX = X - DX;
        Repaint();
        return;
    }
    TrackMouse(X, Y);
}

void TbsSkinMDITabsBar::TrackMouse(int X, int Y)
{
    const int index = GetTabIndex(X, Y);
    if (index != ActiveTabIndex) {
        OldTabIndex = ActiveTabIndex;
        ActiveTabIndex = index;
        if (OldTabIndex >= 0 && OldTabIndex < TabCount()) {
            TbsMDITab* o = Tab(OldTabIndex);
            o->MouseIn = false;
            if (o->Visible) RedrawTab(o);
            if (OnTabMouseLeave) OnTabMouseLeave(o);
        }
        if (index != -1) {
            TbsMDITab* n = Tab(index);
            n->MouseIn = true;
            if (n->Visible) RedrawTab(n);
            if (OnTabMouseEnter) OnTabMouseEnter(n);
        }
        if (FShowCloseButtons) {
            bool any = false;
            for (int i = 0; i < TabCount(); ++i)
                if (i != index && (Tab(i)->ButtonMouseIn || Tab(i)->ButtonMouseDown)) {
                    Tab(i)->ButtonMouseIn = Tab(i)->ButtonMouseDown = false;
                    any = true;
                }
            if (any) Repaint();
        }
    }
    if (FShowCloseButtons && index != -1) {
        TbsMDITab* t = Tab(index);
        const bool in = Contains(t->ButtonRect, X - t->ObjectRect.Left, Y - t->ObjectRect.Top);
        if (in != t->ButtonMouseIn) {
            t->ButtonMouseIn = in;
            if (!in) t->ButtonMouseDown = false;
            RedrawTab(t);
        }
    }
    const bool addIn = FShowAddButton && Contains(FAddButtonRect, X, Y);
    if (addIn != FAddButtonActive) {
        FAddButtonActive = addIn;
        Repaint();
    }
}

void TbsSkinMDITabsBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinControl::MouseUp(Button, Shift, X, Y);
    FDown = false;
    if (IsDrag) {
        const int target = GetMoveIndex();
        if (target != -1 && target != DragIndex) {
            TbsMDITab* t = Tab(DragIndex);
            ObjectList.erase(ObjectList.begin() + DragIndex);
            ObjectList.insert(ObjectList.begin() + target, t);
        }
        EndDrag();
        Repaint();
        return;
    }
    DragIndex = -1;
    TbsMDITab* t = GetTab(X, Y);
    if (t && OnTabMouseUp) OnTabMouseUp(Button, Shift, t);
    if (FAddButtonDown && FShowAddButton && Contains(FAddButtonRect, X, Y)) {
        FAddButtonDown = false;
        Repaint();
        if (OnAddButtonClick) OnAddButtonClick(this);
    }
    FAddButtonDown = false;
    if (FShowCloseButtons && Button == mbLeft) {
        for (TbsMDITab* o : ObjectList) {
            if (o == t && Contains(o->ButtonRect, X - o->ObjectRect.Left, Y - o->ObjectRect.Top)) continue;
            o->ButtonMouseIn = o->ButtonMouseDown = false;
        }
        if (t && Contains(t->ButtonRect, X - t->ObjectRect.Left, Y - t->ObjectRect.Top)) {
            t->ButtonMouseIn = true;
            t->ButtonMouseDown = false;
            RedrawTab(t);
            t->Child->Close();
        }
    }
}

void TbsSkinMDITabsBar::Dispatch(TMessage& Message)
{
    TbsSkinControl::Dispatch(Message);
    switch (Message.Msg) {
    case CM_MOUSELEAVE:
        if (!IsDrag) TrackMouse(-1, -1);
        break;
    case WM_SKIN_PARENTBGCHANGED:
        if (FIndex != -1 && FSD && FSD->MDITabsTransparent) Repaint();
        break;
    case WM_MOVE:
        if (Align() == alNone && FIndex != -1 && FSD && FSD->MDITabsTransparent) Repaint();
        break;
    default: break;
    }
}
