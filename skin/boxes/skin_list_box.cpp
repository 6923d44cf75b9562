#include "skin/boxes/skin_list_box.h"

#include <algorithm>

#include "skin/core/edit_list_records.h"
#include "skin/core/marks.h"

namespace {
// A bar's skin names: the plain one and the corner form's, and whether it is in the corner form.
void SetBarNames(TbsSkinScrollBar* Bar, const String& Name, bool Both)
{
    if (!Both) Bar->SetBoth(false);
    Bar->SetBothSkinDataName(Name);
    Bar->SetSkinDataName(Name);
    if (Both) Bar->SetBoth(true);
}
}  // namespace

TbsSkinCustomListBox::TbsSkinCustomListBox(TComponent* AOwner) : TbsSkinCustomControl(AOwner)
{
    FControlStyle.Include(csAcceptsControls);
    FForceBackground = true;
    FDrawbackground = false;
    FFont.SetName(L"Tahoma");
    FFont.SetHeight(13);
    FFont.SetColor(clWindowText);
    FFont.SetStyle(TFontStyles());
    FTabWidths = new TStringList;
    FGlyph = new TBitmap;
    FDefaultCaptionFont = new TFont;
    FDefaultCaptionFont->SetName(L"Tahoma");
    FDefaultCaptionFont->SetHeight(13);
    FDefaultCaptionFont->OnChange = [this](TObject*) {
        if (FIndex == -1 && FCaptionMode) Repaint();
    };
    ListBox = new TbsListBox(this);
    ListBox->SkinListBox = this;
    ListBox->SetStyle(lbOwnerDrawFixed);
    ListBox->SetItemHeight(FDefaultItemHeight);
    ListBox->SetParent(this);
    ListBox->Show();
    SetBounds(FLeft, FTop, 120, 120);
    FSkinDataName = L"listbox";
}

TbsSkinCustomListBox::~TbsSkinCustomListBox()
{
    ListBox->SkinListBox = nullptr;
    delete FTabWidths;
    FTabWidths = nullptr;
    if (ScrollBar) ScrollBar->Free();
    ScrollBar = nullptr;
    if (HScrollBar) HScrollBar->Free();
    HScrollBar = nullptr;
    ListBox->Free();
    ListBox = nullptr;
    FDefaultCaptionFont->OnChange = nullptr;
    delete FDefaultCaptionFont;
    delete FGlyph;
    if (FImages) FImages->RemoveFreeNotification(this);
}

void TbsSkinCustomListBox::CreateParams(TCreateParams& p)
{
    TbsSkinCustomControl::CreateParams(p);
    p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

// ---- properties ----

void TbsSkinCustomListBox::SetItems(TStrings* Value)
{
    ListBox->Items()->Assign(Value);
    UpDateScrollBar();
}

void TbsSkinCustomListBox::SetSorted(bool Value)
{
    if (ScrollBar) HideSkinScrollBar();
    ListBox->SetSorted(Value);
}

void TbsSkinCustomListBox::SetColumns(int Value)
{
    // The main bar's kind is fixed when it is made: a change of mode makes it anew.
    if (ScrollBar && (Value > 0) != (ScrollBar->Kind() == sbHorizontal)) HideSkinScrollBar();
    ListBox->SetColumns(Value);
    UpDateScrollBar();
}

void TbsSkinCustomListBox::Clear()
{
    ListBox->Clear();
    UpDateScrollBar();
}

void TbsSkinCustomListBox::SetTabWidths(TStrings* Value)
{
    FTabWidths->Assign(Value);
    if (ListBox->Count() > 0) ListBox->Invalidate();
}

void TbsSkinCustomListBox::SetHorizontalExtent(bool Value)
{
    FHorizontalExtent = Value;
    UpDateScrollBar();
}

void TbsSkinCustomListBox::SetRowCount(int Value)
{
    FRowCount = Value;
    if (FRowCount != 0) SetHeight(CalcHeight(FRowCount));
    UpDateScrollBar();
}

void TbsSkinCustomListBox::SetImages(TCustomImageList* Value)
{
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages) FImages->FreeNotification(this);
    ListBox->Invalidate();
}

void TbsSkinCustomListBox::SetImageIndex(int Value)
{
    FImageIndex = Value;
    ListBox->Invalidate();
}

void TbsSkinCustomListBox::SetGlyph(TBitmap* Value)
{
    FGlyph->Assign(Value);
    Repaint();
}

void TbsSkinCustomListBox::SetNumGlyphs(int Value)
{
    FNumGlyphs = std::clamp(Value, 1, 2);
    Repaint();
}

void TbsSkinCustomListBox::SetSpacing(int Value)
{
    FSpacing = Value;
    Repaint();
}

void TbsSkinCustomListBox::SetCaptionMode(bool Value)
{
    FCaptionMode = Value;
    if (FIndex == -1) {
        AdjustLayout();
        Repaint();
    }
}

void TbsSkinCustomListBox::SetDefaultCaptionHeight(int Value)
{
    FDefaultCaptionHeight = Value;
    if (FIndex == -1 && FCaptionMode) {
        AdjustLayout();
        Repaint();
    }
}

void TbsSkinCustomListBox::SetDefaultCaptionFont(TFont* Value) { FDefaultCaptionFont->Assign(Value); }

void TbsSkinCustomListBox::SetAlignment(TAlignment Value)
{
    if (Value == FAlignment) return;
    FAlignment = Value;
    if (FCaptionMode) Repaint();
}

void TbsSkinCustomListBox::SetDefaultItemHeight(int Value)
{
    FDefaultItemHeight = Value;
    if (FIndex == -1 || !FUseSkinItemHeight) ListBox->SetItemHeight(Value);
}

void TbsSkinCustomListBox::SetShowCaptionButtons(bool Value)
{
    if (Value == FShowCaptionButtons) return;
    FShowCaptionButtons = Value;
    Repaint();
}

void TbsSkinCustomListBox::ApplyDefaultFont()
{
    if (FIndex == -1) FFont.Assign(FDefaultFont);
}

void TbsSkinCustomListBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FImages) SetImages(nullptr);
    if (AComponent == ScrollBar) ScrollBar = nullptr;
    if (AComponent == HScrollBar) HScrollBar = nullptr;
    if (AComponent == ListBox) ListBox = nullptr;
}

// ---- skin ----

void TbsSkinCustomListBox::GetSkinData()
{
    TbsSkinCustomControl::GetSkinData();
    // A record whose picture index names no picture draws the built-in look.
    if (FIndex != -1 && !Picture) FIndex = -1;
    auto* r = dynamic_cast<TbsDataSkinListBox*>(Record());
    if (!r) return;
    SItemRect = r->SItemRect;
    ActiveItemRect = IsNullRect(r->ActiveItemRect) ? r->SItemRect : r->ActiveItemRect;
    FocusItemRect = IsNullRect(r->FocusItemRect) ? r->SItemRect : r->FocusItemRect;
    ItemLeftOffset = r->ItemLeftOffset;
    ItemRightOffset = r->ItemRightOffset;
    ItemTextRect = r->ItemTextRect;
    FontName = r->FontName;
    FontStyle = r->FontStyle;
    FontHeight = r->FontHeight;
    FontColor = r->FontColor;
    ActiveFontColor = r->ActiveFontColor;
    FocusFontColor = r->FocusFontColor;
    CaptionRect = r->CaptionRect;
    CaptionFontName = r->CaptionFontName;
    CaptionFontStyle = r->CaptionFontStyle;
    CaptionFontHeight = r->CaptionFontHeight;
    CaptionFontColor = r->CaptionFontColor;
    UpButtonRect = r->UpButtonRect;
    ActiveUpButtonRect = r->ActiveUpButtonRect;
    DownUpButtonRect = IsNullRect(r->DownUpButtonRect) ? r->ActiveUpButtonRect : r->DownUpButtonRect;
    DownButtonRect = r->DownButtonRect;
    ActiveDownButtonRect = r->ActiveDownButtonRect;
    DownDownButtonRect = IsNullRect(r->DownDownButtonRect) ? r->ActiveDownButtonRect : r->DownDownButtonRect;
    CheckButtonRect = r->CheckButtonRect;
    ActiveCheckButtonRect = r->ActiveCheckButtonRect;
    DownCheckButtonRect = IsNullRect(r->DownCheckButtonRect) ? r->ActiveCheckButtonRect : r->DownCheckButtonRect;
    HScrollBarName = r->HScrollBarName;
    VScrollBarName = r->VScrollBarName;
    BothScrollBarName = r->BothScrollBarName;
    ShowFocus = r->ShowFocus;
    DisabledButtonsRect = r->DisabledButtonsRect;
    ButtonsArea = r->ButtonsArea;
}

String TbsSkinCustomListBox::MainBarName() const { return Columns() > 0 ? HScrollBarName : VScrollBarName; }

void TbsSkinCustomListBox::ChangeSkinData()
{
    TbsSkinCustomControl::ChangeSkinData();
    FStopUpDateHScrollBar = true;
    if (FIndex == -1) {
        ListBox->SetItemHeight(FDefaultItemHeight);
        FFont.Assign(FDefaultFont);
    } else if (FUseSkinItemHeight) {
        ListBox->SetItemHeight(RectHeight(SItemRect));
    }
    if (ScrollBar) {
        ScrollBar->SetSkinDataName(FIndex == -1 ? String() : MainBarName());
        ScrollBar->SetSkinData(FSD);
    }
    if (HScrollBar) {
        if (FIndex == -1) {
            SetBarNames(HScrollBar, String(), ScrollBar != nullptr);
            if (ScrollBar) HScrollBar->SetBothMarkerWidth(19);
        } else {
            SetBarNames(HScrollBar, ScrollBar ? BothScrollBarName : HScrollBarName, ScrollBar != nullptr);
        }
        HScrollBar->SetSkinData(FSD);
    }
    if (FRowCount != 0) SetHeight(CalcHeight(FRowCount));
    AdjustLayout();
    FStopUpDateHScrollBar = false;
    UpDateScrollBar();
    ListBox->Invalidate();
}

void TbsSkinCustomListBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TbsSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FIndex == -1) Repaint();
}

// ---- layout and bars ----

int TbsSkinCustomListBox::CalcHeight(int AItemsCount)
{
    const int ih = ListBox->ItemHeight();
    int h;
    if (FIndex == -1) {
        h = AItemsCount * ih + 4;
        if (FCaptionMode) h += FDefaultCaptionHeight;
    } else {
        h = RectHeight(SkinRect) + AItemsCount * ih + ClRect.Top - ClRect.Bottom;
    }
    if (HScrollBar) h += HScrollBar->Height();
    return h;
}

void TbsSkinCustomListBox::AdjustLayout()
{
    if (!ListBox) return;
    const int w = Width(), h = Height();
    int c = 1;
    if (FIndex != -1) {
        const int dw = w - RectWidth(SkinRect), dh = h - RectHeight(SkinRect);
        NewClRect = Rect(ClRect.Left, ClRect.Top, ClRect.Right + dw, ClRect.Bottom + dh);
    } else if (FCaptionMode) {
        c = FDefaultCaptionHeight;
    }
    int hh = 0;
    if (Columns() == 0 && HScrollBar && HScrollBar->Visible()) {
        if (FIndex == -1) {
            HScrollBar->SetBounds(1, h - 20, w - 2, 19);
            hh = HScrollBar->Height() - 1;
        } else {
            HScrollBar->SetBounds(NewClRect.Left, NewClRect.Bottom - HScrollBar->Height(), RectWidth(NewClRect),
                                  HScrollBar->Height());
            hh = HScrollBar->Height();
        }
    }
    if (ScrollBar && ScrollBar->Visible()) {
        if (FIndex == -1 && Columns() <= 0) {
            ScrollBar->SetBounds(w - 20, c, 19, h - 1 - c - hh);
            ListRect = Rect(2, c + 1, ScrollBar->Left(), h - 2 - hh);
        } else if (FIndex == -1) {
            ScrollBar->SetBounds(1, h - 20, w - 2, 19);
            ListRect = Rect(2, c + 1, w - 2, ScrollBar->Top());
        } else if (Columns() <= 0) {
            ScrollBar->SetBounds(NewClRect.Right - ScrollBar->Width(), NewClRect.Top, ScrollBar->Width(),
                                 RectHeight(NewClRect) - hh);
            ListRect = Rect(NewClRect.Left, NewClRect.Top, NewClRect.Right - ScrollBar->Width(), NewClRect.Bottom - hh);
        } else {
            ScrollBar->SetBounds(NewClRect.Left, NewClRect.Bottom - ScrollBar->Height(), RectWidth(NewClRect),
                                 ScrollBar->Height());
            ListRect = Rect(NewClRect.Left, NewClRect.Top, NewClRect.Right, NewClRect.Bottom - ScrollBar->Height());
        }
    } else if (FIndex == -1) {
        ListRect = Rect(2, c + 1, w - 2, h - 2 - hh);
    } else {
        ListRect = Rect(NewClRect.Left, NewClRect.Top, NewClRect.Right, NewClRect.Bottom - hh);
    }
    ListBox->SetBounds(ListRect.Left, ListRect.Top, std::max(0, RectWidth(ListRect)),
                       std::max(0, RectHeight(ListRect)));
}

void TbsSkinCustomListBox::UpDateScrollBar()
{
    if (!ListBox || FUpdatingBars || (ComponentState() & csDestroying)) return;
    FUpdatingBars = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{FUpdatingBars};
    const int count = ListBox->Count();
    const int ih = std::max(1, ListBox->ItemHeight());
    const int innerH = ListBox->Height();
    if (Columns() > 0) {
        int mn = 0, mx = 0;
        if (ListBox->HandleAllocated()) GetScrollRange(ListBox->Handle(), SB_HORZ, &mn, &mx);
        const int p = ListBox->HandleAllocated() ? GetScrollPos(ListBox->Handle(), SB_HORZ) : 0;
        if (mx > mn && p <= mx && Columns() <= mx && (innerH / ih) * Columns() < count) {
            if (!ScrollBar) ShowSkinScrollBar();
            ScrollBar->SetRange(mn, mx, p, Columns());
        } else if (ScrollBar && ScrollBar->Visible()) {
            HideSkinScrollBar();
        }
        return;
    }
    if (FHorizontalExtent && !FStopUpDateHScrollBar) {
        TCanvas* c = ListBox->Canvas();
        if (FIndex != -1 && FUseSkinFont) {
            c->Font()->SetName(FontName);
            c->Font()->SetStyle(FontStyle);
            c->Font()->SetHeight(FontHeight);
        } else {
            c->Font()->Assign(ListBox->Font());
        }
        int widest = 0;
        for (int i = 0; i < count; ++i) widest = std::max(widest, GetItemWidth(i, c));
        int page =
            FIndex == -1 ? ListBox->Width() - 4 : ListBox->Width() + RectWidth(ItemTextRect) - RectWidth(SItemRect);
        if (FImages) page -= FImages->Width() + 4;
        if (page < widest) {
            if (!HScrollBar) ShowSkinHScrollBar();
            HScrollBar->SetRange(0, widest, HScrollBar->Position(), page);
            const int step = std::max(1, c->TextWidth(L"0"));
            HScrollBar->SetSmallChange(step);
            HScrollBar->SetLargeChange(step);
        } else if (HScrollBar && HScrollBar->Visible()) {
            HideSkinHScrollBar();
        }
    } else if (HScrollBar && HScrollBar->Visible()) {
        HideSkinHScrollBar();
    }
    if (FRowCount == 0 || FRowCount != count) {
        int mn = 0, mx = 0;
        if (ListBox->HandleAllocated()) GetScrollRange(ListBox->Handle(), SB_VERT, &mn, &mx);
        const int p = ListBox->HandleAllocated() ? GetScrollPos(ListBox->Handle(), SB_VERT) : 0;
        const int page = ListBox->Height() / ih;
        if (mx > mn && p <= mx && page < count) {
            if (!ScrollBar) ShowSkinScrollBar();
            ScrollBar->SetRange(mn, mx, p, page);
            ScrollBar->SetLargeChange(page);
            return;
        }
    }
    if (ScrollBar && ScrollBar->Visible()) HideSkinScrollBar();
}

void TbsSkinCustomListBox::ShowSkinScrollBar()
{
    ScrollBar = new TbsSkinScrollBar(this);
    ScrollBar->SetKind(Columns() <= 0 ? sbVertical : sbHorizontal);
    // The list lays its bars out itself: no default size of the bar's own.
    ScrollBar->SetDefaultHeight(0);
    ScrollBar->SetBounds(0, 0, 20, 100);
    ScrollBar->SetPageSize(0);
    ScrollBar->SetMin(0);
    ScrollBar->SetPosition(0);
    ScrollBar->OnChange = [this](TObject* s) { SkinScrollBarChange(s); };
    ScrollBar->SetSkinDataName(FIndex == -1 ? String() : MainBarName());
    ScrollBar->SetSkinData(FSD);
    if (HScrollBar) {
        if (FIndex == -1) {
            SetBarNames(HScrollBar, String(), true);
            HScrollBar->SetBothMarkerWidth(19);
        } else {
            SetBarNames(HScrollBar, BothScrollBarName, true);
        }
        HScrollBar->SetSkinData(FSD);
    }
    ScrollBar->SetParent(this);
    AdjustLayout();
    ScrollBar->Show();
    Repaint();
}

void TbsSkinCustomListBox::ShowSkinHScrollBar()
{
    HScrollBar = new TbsSkinScrollBar(this);
    HScrollBar->SetKind(sbHorizontal);
    HScrollBar->SetBounds(0, 0, 20, 100);
    HScrollBar->SetPageSize(0);
    HScrollBar->SetMin(0);
    HScrollBar->SetPosition(0);
    HScrollBar->OnChange = [this](TObject* s) { SkinHScrollBarChange(s); };
    if (FIndex == -1) {
        SetBarNames(HScrollBar, String(), ScrollBar != nullptr);
        if (ScrollBar) HScrollBar->SetBothMarkerWidth(19);
    } else {
        SetBarNames(HScrollBar, ScrollBar ? BothScrollBarName : HScrollBarName, ScrollBar != nullptr);
    }
    HScrollBar->SetSkinData(FSD);
    HScrollBar->SetHeight(19);
    HScrollBar->SetParent(this);
    HScrollBar->Show();
    AdjustLayout();
    Repaint();
}

void TbsSkinCustomListBox::HideSkinScrollBar()
{
    TbsSkinScrollBar* bar = ScrollBar;
    ScrollBar = nullptr;
    bar->Hide();
    bar->Free();
    AdjustLayout();
}

void TbsSkinCustomListBox::HideSkinHScrollBar()
{
    TbsSkinScrollBar* bar = HScrollBar;
    HScrollBar = nullptr;
    bar->Hide();
    bar->Free();
    AdjustLayout();
    ListBox->SetHorizontalExtentValue(0);
    ListBox->Invalidate();
}

void TbsSkinCustomListBox::SkinScrollBarChange(TObject*)
{
    if (!ScrollBar || !ListBox->HandleAllocated()) return;
    SendMessageW(ListBox->Handle(), Columns() > 0 ? WM_HSCROLL : WM_VSCROLL,
                 MAKEWPARAM(SB_THUMBPOSITION, ScrollBar->Position()), 0);
}

void TbsSkinCustomListBox::SkinHScrollBarChange(TObject*)
{
    if (!HScrollBar) return;
    ListBox->SetHorizontalExtentValue(HScrollBar->Position());
    ListBox->Invalidate();
}

// ---- hooks ----

int TbsSkinCustomListBox::GetItemWidth(int Index, TCanvas* C) { return C->TextWidth(Items()->Get(Index)); }

void TbsSkinCustomListBox::ListBoxMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnListBoxMouseDown) OnListBoxMouseDown(this, Button, Shift, X, Y);
}

void TbsSkinCustomListBox::ListBoxMouseMove(TShiftState Shift, int X, int Y)
{
    if (OnListBoxMouseMove) OnListBoxMouseMove(this, Shift, X, Y);
}

void TbsSkinCustomListBox::ListBoxMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnListBoxMouseUp) OnListBoxMouseUp(this, Button, Shift, X, Y);
}

void TbsSkinCustomListBox::ListBoxClick()
{
    if (OnListBoxClick) OnListBoxClick(this);
}

void TbsSkinCustomListBox::ListBoxDblClick()
{
    if (OnListBoxDblClick) OnListBoxDblClick(this);
}

void TbsSkinCustomListBox::ListBoxKeyDown(WORD& Key, TShiftState Shift)
{
    if (OnListBoxKeyDown) OnListBoxKeyDown(this, Key, Shift);
}

void TbsSkinCustomListBox::ListBoxKeyUp(WORD& Key, TShiftState Shift)
{
    if (OnListBoxKeyUp) OnListBoxKeyUp(this, Key, Shift);
}

void TbsSkinCustomListBox::ListBoxKeyPress(wchar_t& Key)
{
    if (OnListBoxKeyPress) OnListBoxKeyPress(this, Key);
}
