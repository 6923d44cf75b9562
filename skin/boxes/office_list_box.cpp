#include "skin/boxes/office_list_box.h"

#include <algorithm>

#include "platform/framework/forms/application.h"
#include "skin/boxes/office_combo_box.h"
#include "skin/controls/skin_scroll_bar.h"
#include "skin/core/edit_list_records.h"
#include "skin/core/marks.h"
#include "skin/core/os_layers.h"
#include "skin/core/panel_records.h"
#include "skin/core/resource_strings.h"
#include "skin/core/skin_image.h"
#include "skin/core/text_layout.h"
#include "skin/core/window_records.h"

namespace {

constexpr TColor kGrey = static_cast<TColor>(0x808080);

// The record named Name when it is of class T; nullptr otherwise.
template <class T>
T* FindRecord(TbsSkinData* SD, const String& Name)
{
    if (!SD || SD->Empty) return nullptr;
    const int i = SD->GetControlIndex(Name);
    if (i < 0 || i >= static_cast<int>(SD->CtrlList.size())) return nullptr;
    return dynamic_cast<T*>(SD->CtrlList[static_cast<size_t>(i)]);
}

TBitmap* PictureOf(TbsSkinData* SD, int Index)
{
    if (!SD || Index < 0 || Index >= static_cast<int>(SD->FActivePictures.size())) return nullptr;
    return SD->FActivePictures[static_cast<size_t>(Index)];
}

TRect Shrunk(TRect R, int D) { return Rect(R.Left + D, R.Top + D, R.Right - D, R.Bottom - D); }

// Clips a canvas to R until destroyed.
class TClip {
public:
    TClip(TCanvas* C, const TRect& R) : FDC(C->Handle()), FSaved(SaveDC(FDC))
    {
        IntersectClipRect(FDC, R.Left, R.Top, R.Right, R.Bottom);
    }
    ~TClip() { RestoreDC(FDC, FSaved); }
    TClip(const TClip&) = delete;
    TClip& operator=(const TClip&) = delete;

private:
    HDC FDC;
    int FSaved;
};

}  // namespace

// ---- TbsSkinOfficeListBox ----

TbsSkinOfficeListBox::TbsSkinOfficeListBox(TComponent* AOwner) : TbsSkinCustomControl(AOwner), FDisabledFontColor(kGrey)
{
    FItems = new TbsSkinOfficeItems(this);
    TControlStyle style = ControlStyle();
    style.Include(csAcceptsControls).Include(csReplicatable);
    SetControlStyle(style);
    SetBounds(Left(), Top(), 150, 150);
    FSkinDataName = L"listbox";
}

TbsSkinOfficeListBox::~TbsSkinOfficeListBox()
{
    if (FImages) FImages->RemoveFreeNotification(this);
    // The items go first, without change notices reaching a half-destroyed list.
    FItems->OfficeListBox = nullptr;
    delete FItems;
    FItems = nullptr;
}

void TbsSkinOfficeListBox::SetShowCheckBoxes(bool Value)
{
    if (FShowCheckBoxes == Value) return;
    FShowCheckBoxes = Value;
    Repaint();
}

void TbsSkinOfficeListBox::SetHeaderLeftAlignment(bool Value)
{
    if (FHeaderLeftAlignment == Value) return;
    FHeaderLeftAlignment = Value;
    Repaint();
}

void TbsSkinOfficeListBox::SetItems(TbsSkinOfficeItems* Value)
{
    FItems->Assign(Value);
    Repaint();
    UpdateScrollInfo();
}

void TbsSkinOfficeListBox::SetImages(TCustomImageList* Value)
{
    if (FImages == Value) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages) FImages->FreeNotification(this);
}

void TbsSkinOfficeListBox::SetShowItemTitles(bool Value)
{
    if (FShowItemTitles == Value) return;
    FShowItemTitles = Value;
    Repaint();
}

void TbsSkinOfficeListBox::SetItemHeight(int Value)
{
    Value = std::max(1, Value);
    if (FItemHeight == Value) return;
    FItemHeight = Value;
    Repaint();
}

void TbsSkinOfficeListBox::SetHeaderHeight(int Value)
{
    if (FHeaderHeight == Value) return;
    FHeaderHeight = Value;
    Repaint();
}

void TbsSkinOfficeListBox::SetShowLines(bool Value)
{
    if (FShowLines == Value) return;
    FShowLines = Value;
    Repaint();
}

void TbsSkinOfficeListBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

// ---- selection ----

void TbsSkinOfficeListBox::MarkActive(int Index)
{
    for (int i = 0; i < FItems->Count(); ++i) FItems->Items(i)->Active = i == Index;
}

void TbsSkinOfficeListBox::SetItemIndex(int Value)
{
    // An index past the items is refused before anything changes.
    if (Value >= FItems->Count()) FItems->Items(Value);
    FItemIndex = Value;
    if (Value < 0) {
        Repaint();
        return;
    }
    MarkActive(Value);
    Repaint();
    ScrollToItem(Value);
    if (ComponentState() & (csLoading | csDesigning)) return;
    if (auto* item = FItems->Items(Value); item->OnClick) item->OnClick(this);
    if (OnItemClick) OnItemClick(this);
}

void TbsSkinOfficeListBox::SetActiveItem(int Index)
{
    FItemIndex = Index;
    MarkActive(Index);
    Repaint();
    ScrollToItem(Index);
}

bool TbsSkinOfficeListBox::Selectable(int Index) const
{
    auto* item = FItems->Items(Index);
    return !item->Header() && item->Enabled();
}

void TbsSkinOfficeListBox::FindUp()
{
    for (int i = FItemIndex - 1; i >= 0; --i)
        if (Selectable(i)) {
            SetItemIndex(i);
            return;
        }
}

void TbsSkinOfficeListBox::FindDown()
{
    for (int i = std::max(0, FItemIndex + 1); i < FItems->Count(); ++i)
        if (Selectable(i)) {
            SetItemIndex(i);
            return;
        }
}

// Scans p + 1 rows from the next one: past a header the first selectable row wins at once,
// otherwise the farthest selectable row met.
void TbsSkinOfficeListBox::FindPage(bool Down)
{
    CalcItemRects();
    const int p = std::max(1, RectHeight(FItemsRect) / FItemHeight);
    int from, to, step;
    if (Down) {
        from = std::max(0, FItemIndex + 1);
        if (from > FItems->Count() - 1) return;
        to = std::min(from + p, FItems->Count() - 1);
        step = 1;
    } else {
        if (FItemIndex < 1) return;
        from = FItemIndex - 1;
        to = std::max(0, FItemIndex - 1 - p);
        step = -1;
    }
    bool headerPassed = false;
    int found = -1;
    for (int i = from; step > 0 ? i <= to : i >= to; i += step) {
        auto* item = FItems->Items(i);
        if (item->Header()) {
            headerPassed = true;
        } else if (item->Enabled()) {
            found = i;
            if (headerPassed) break;
        }
    }
    if (found != -1) SetItemIndex(found);
}

void TbsSkinOfficeListBox::FindPageUp() { FindPage(false); }

void TbsSkinOfficeListBox::FindPageDown() { FindPage(true); }

// ---- layout and scrolling ----

void TbsSkinOfficeListBox::CalcItemRects()
{
    FRealMax = 0;
    if (FIndex == -1) {
        FItemsRect = Rect(2, 2, Width() - 2, Height() - 2);
    } else {
        int w = Width(), h = Height();
        CalcSize(w, h);
        FItemsRect = NewClRect;
    }
    if (FScrollBar) FItemsRect.Right -= FScrollBar->Width() - 1;
    int y = FItemsRect.Top;
    for (int i = 0; i < FItems->Count(); ++i) {
        auto* item = FItems->Items(i);
        const int h = item->Header() ? FHeaderHeight : FItemHeight;
        item->ItemRect = Rect(FItemsRect.Left, y - FScrollOffset, FItemsRect.Right, y + h - FScrollOffset);
        const TRect& r = item->ItemRect;
        item->IsVisible =
            RectPartlyInsideRect(r, FItemsRect) || (r.Top <= FItemsRect.Top && r.Bottom >= FItemsRect.Bottom);
        if (item->IsVisible) FRealMax = r.Bottom;
        y += h;
    }
    FMax = y;
}

int TbsSkinOfficeListBox::ItemAtPos(int X, int Y)
{
    CalcItemRects();
    for (int i = 0; i < FItems->Count(); ++i) {
        auto* item = FItems->Items(i);
        if (PtInRect(item->ItemRect, Point(X, Y)) && item->Enabled()) return i;
    }
    return -1;
}

void TbsSkinOfficeListBox::ScrollToItem(int Index)
{
    CalcItemRects();
    const TRect r = FItems->Items(Index)->ItemRect;
    const int aTop = r.Top + FScrollOffset, aBottom = r.Bottom + FScrollOffset;
    if (r.Top <= FItemsRect.Top) {
        // A leading header stays in view above the first row.
        if (Index == 1 && FItems->Items(0)->Header())
            FScrollOffset = 0;
        else
            FScrollOffset = aTop - FItemsRect.Top;
        CalcItemRects();
        Invalidate();
    } else if (r.Bottom >= FItemsRect.Bottom) {
        FScrollOffset = aBottom + FItemsRect.Top - Height() + 1;
        CalcItemRects();
        Invalidate();
    }
    UpdateScrollInfo();
}

void TbsSkinOfficeListBox::Scroll(int AScrollOffset)
{
    FScrollOffset = AScrollOffset;
    Repaint();
    UpdateScrollInfo();
}

void TbsSkinOfficeListBox::GetScrollInfo(int& AMin, int& AMax, int& APage, int& APosition)
{
    CalcItemRects();
    AMin = 0;
    AMax = FMax - FItemsRect.Top;
    APage = RectHeight(FItemsRect);
    APosition = FScrollOffset;
    if (APage >= AMax) AMax = APage = 0;
}

void TbsSkinOfficeListBox::UpdateScrollInfo()
{
    if (!HandleAllocated() || FInUpdateItems) return;
    int mn = 0, mx = 0, page = 0, pos = 0;
    GetScrollInfo(mn, mx, page, pos);
    if (mx != 0) {
        if (!FScrollBar) ShowScrollbar();
        FScrollBar->SetRange(0, mx, FScrollOffset, page);
        FScrollBar->SetLargeChange(page);
    } else if (FScrollBar) {
        HideScrollBar();
    }
}

void TbsSkinOfficeListBox::ShowScrollbar()
{
    if (FScrollBar) return;
    FScrollBar = new TbsSkinScrollBar(this);
    FScrollBar->SetVisible(false);
    FScrollBar->SetParent(this);
    FScrollBar->SetDefaultHeight(0);
    FScrollBar->SetDefaultWidth(19);
    FScrollBar->SetSmallChange(FItemHeight);
    FScrollBar->SetLargeChange(FItemHeight);
    FScrollBar->SetSkinDataName(L"vscrollbar");
    FScrollBar->SetKind(sbVertical);
    FScrollBar->SetSkinData(FSD);
    FScrollBar->OnChange = [this](TObject* Sender) { SBChange(Sender); };
    AdjustScrollBar();
    FScrollBar->SetVisible(true);
    Repaint();
}

void TbsSkinOfficeListBox::HideScrollBar()
{
    if (!FScrollBar) return;
    TbsSkinScrollBar* bar = FScrollBar;
    FScrollBar = nullptr;
    bar->SetVisible(false);
    delete bar;
    Repaint();
}

void TbsSkinOfficeListBox::AdjustScrollBar()
{
    if (!FScrollBar) return;
    TRect r = Rect(1, 1, Width() - 1, Height() - 1);
    if (FIndex != -1) {
        int w = Width(), h = Height();
        CalcSize(w, h);
        r = NewClRect;
    }
    FScrollBar->SetBounds(r.Right - FScrollBar->Width(), r.Top, FScrollBar->Width(), RectHeight(r));
}

void TbsSkinOfficeListBox::SBChange(TObject*) { Scroll(FScrollBar->Position()); }

void TbsSkinOfficeListBox::BeginUpdateItems()
{
    FInUpdateItems = true;
    SendMessageW(Handle(), WM_SETREDRAW, 0, 0);
}

void TbsSkinOfficeListBox::EndUpdateItems()
{
    FInUpdateItems = false;
    SendMessageW(Handle(), WM_SETREDRAW, 1, 0);
    Repaint();
    UpdateScrollInfo();
}

int TbsSkinOfficeListBox::CalcHeight(int AItemCount)
{
    GetSkinData();
    const int n = std::min(AItemCount, FItems->Count());
    if (FIndex == -1) return n * FItemHeight + 5;
    int w = Width(), h = Height();
    CalcSize(w, h);
    return n * FItemHeight + (Height() - RectHeight(NewClRect)) + 1;
}

// ---- painting ----

void TbsSkinOfficeListBox::CreateControlDefaultImage(TBitmap* B)
{
    TCanvas* c = B->Canvas();
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect(Rect(0, 0, B->Width(), B->Height()));
    c->Brush()->SetColor(clWindow);
    c->FillRect(Rect(1, 1, B->Width() - 1, B->Height() - 1));
    CalcItemRects();
    TClip clip(c, FItemsRect);
    for (int i = 0; i < FItems->Count(); ++i)
        if (FItems->Items(i)->IsVisible) DrawItem(i, c);
}

void TbsSkinOfficeListBox::CreateControlSkinImage(TBitmap* B)
{
    TbsSkinCustomControl::CreateControlSkinImage(B);
    TCanvas* c = B->Canvas();
    CalcItemRects();
    TClip clip(c, FItemsRect);
    for (int i = 0; i < FItems->Count(); ++i)
        if (FItems->Items(i)->IsVisible) DrawItem(i, c);
}

void TbsSkinOfficeListBox::DrawItem(int Index, TCanvas* Cnvs)
{
    if (FIndex == -1) {
        DefaultDrawItem(Index, Cnvs);
    } else if (FItems->Items(Index)->Header()) {
        SkinDrawHeaderItem(Index, Cnvs);
    } else if (FindRecord<TbsDataSkinListBox>(FSD, FItemSkinDataName)) {
        SkinDrawItem(Index, Cnvs);
    }
}

void TbsSkinOfficeListBox::DrawSeparator(int Index, TCanvas* C, TColor Color)
{
    if (!FShowLines) return;
    const TRect& r = FItems->Items(Index)->ItemRect;
    const TColor old = C->Pen()->Color();
    C->Pen()->SetColor(Color);
    C->MoveTo(r.Left, r.Bottom - 1);
    C->LineTo(r.Right, r.Bottom - 1);
    C->Pen()->SetColor(old);
}

void TbsSkinOfficeListBox::DrawContent(int Index, TCanvas* C, TRect R, bool Skinned, bool Selected, TColor CheckColor)
{
    auto* item = FItems->Items(Index);
    if (OnDrawItem) {
        C->Brush()->SetStyle(bsClear);
        OnDrawItem(C, Index, R);
        return;
    }
    if (FShowCheckBoxes) {
        auto* check = Skinned ? FindRecord<TbsDataSkinCheckListBox>(FSD, L"checklistbox") : nullptr;
        if (check) {
            const TRect& src = item->Checked() ? check->CheckImageRect : check->UnCheckImageRect;
            TBitmap* pic = Picture ? Picture : PictureOf(FSD, check->PictureIndex);
            const int cellW = RectWidth(check->CheckImageRect);
            if (pic && !IsNullRect(src)) {
                TBitmap img(RectWidth(src), RectHeight(src));
                img.Canvas()->CopyRect(Rect(0, 0, img.Width(), img.Height()), pic->Canvas(), src);
                img.SetTransparent(true);  // keyed by its bottom-left pixel
                C->Draw(R.Left, R.Top + RectHeight(R) / 2 - img.Height() / 2, &img);
            }
            R.Left += cellW + 5;
            FCheckOffset = cellW + 5;
        } else {
            if (Skinned && item->Checked()) DrawCheckMark(C, R.Left + 2, R.Top + RectHeight(R) / 2 - 5, CheckColor);
            R.Left += 14;
            FCheckOffset = 14;
        }
    }
    if (!item->Title().empty() && FShowItemTitles) {
        const TFontStyles style = C->Font()->Style();
        C->Font()->SetStyle(TFontStyles(style).Include(fsBold));
        TRect t = Rect(R.Left, R.Top, R.Right, R.Top + C->TextHeight(item->Title()));
        TRect d = t;
        C->Brush()->SetStyle(bsClear);
        DrawWideText(C, item->Title(), d, 0);
        C->Font()->SetStyle(style);
        R.Top = t.Bottom;
    }
    if (FImages && item->ImageIndex() >= 0 && item->ImageIndex() < FImages->Count()) {
        DrawImageAndTextLeft(C, R, 0, 2, blGlyphLeft, item->Caption(), item->ImageIndex(), FImages, false,
                             item->Enabled(), false, 0);
        return;
    }
    C->Brush()->SetStyle(bsClear);
    if (FShowItemTitles) R.Left += 10;
    TRect m = Rect(0, 0, RectWidth(R), 0);
    DrawWideText(C, item->Caption(), m, DT_CALCRECT | DT_WORDBREAK);
    const int top = std::max(R.Top, R.Top + RectHeight(R) / 2 - RectHeight(m) / 2);
    TRect d = Rect(R.Left, top, R.Left + RectWidth(m), top + RectHeight(m));
    DrawWideText(C, item->Caption(), d, Skinned ? (DT_WORDBREAK | DT_EXPANDTABS) : DT_WORDBREAK);
}

void TbsSkinOfficeListBox::SkinDrawItem(int Index, TCanvas* Cnvs)
{
    auto* s = FindRecord<TbsDataSkinListBox>(FSD, FItemSkinDataName);
    if (!s) return;
    auto* item = FItems->Items(Index);
    if (FDisabledFontColor == 0 && s->FontColor == 0) FDisabledFontColor = kGrey;
    const bool ownText = FSkinDataName == L"listbox" || FSkinDataName == L"memo" || FSkinDataName == L"menupagepanel";
    TColor color = item->Enabled() ? (ownText ? s->FontColor : FSD->SkinColors()->cBtnText()) : FDisabledFontColor;
    auto setFont = [&](TCanvas* C, TColor Color) {
        if (FUseSkinFont) {
            C->Font()->SetName(s->FontName);
            C->Font()->SetHeight(s->FontHeight);
            C->Font()->SetStyle(s->FontStyle);
        } else {
            C->Font()->Assign(FDefaultFont);
        }
        C->Font()->SetCharset(SkinCharset(FDefaultFont->Charset()));
        C->Font()->SetColor(Color);
        C->Brush()->SetStyle(bsClear);
    };
    if (item->Active && item->Enabled()) {
        const bool focused = Focused();
        TBitmap b(RectWidth(item->ItemRect), RectHeight(item->ItemRect));
        if (TBitmap* pic = PictureOf(FSD, s->PictureIndex))
            CreateStretchImage(&b, pic, focused ? s->FocusItemRect : s->ActiveItemRect, s->ItemTextRect, true);
        setFont(b.Canvas(), focused ? s->FocusFontColor : s->ActiveFontColor);
        DrawContent(Index, b.Canvas(), Rect(2, 2, b.Width() - 2, b.Height() - 2), true, true, s->ActiveFontColor);
        Cnvs->Draw(item->ItemRect.Left, item->ItemRect.Top, &b);
        return;
    }
    setFont(Cnvs, color);
    {
        TClip clip(Cnvs, item->ItemRect);
        DrawContent(Index, Cnvs, Shrunk(item->ItemRect, 2), true, false, FSD->SkinColors()->cWindowText());
    }
    DrawSeparator(Index, Cnvs, FSD->SkinColors()->cBtnShadow());
}

void TbsSkinOfficeListBox::SkinDrawHeaderItem(int Index, TCanvas* Cnvs)
{
    auto* l = FindRecord<TbsDataSkinLabelControl>(FSD, FHeaderSkinDataName);
    if (!l) l = FindRecord<TbsDataSkinLabelControl>(FSD, L"label");
    if (!l) return;
    auto* item = FItems->Items(Index);
    TBitmap b(RectWidth(item->ItemRect), RectHeight(item->ItemRect));
    if (TBitmap* pic = PictureOf(FSD, l->PictureIndex)) CreateStretchImage(&b, pic, l->SkinRect, l->ClRect, true);
    TRect t = Rect(1, 1, b.Width() - 1, b.Height() - 1);
    if (FHeaderLeftAlignment) t.Left = l->ClRect.Left;
    TCanvas* c = b.Canvas();
    c->Font()->SetName(l->FontName);
    c->Font()->SetColor(l->FontColor);
    c->Font()->SetHeight(l->FontHeight);
    c->Font()->SetStyle(l->FontStyle);
    c->Brush()->SetStyle(bsClear);
    DrawWideText(c, item->Caption(), t, DT_SINGLELINE | DT_VCENTER | (FHeaderLeftAlignment ? 0u : DT_CENTER));
    Cnvs->Draw(item->ItemRect.Left, item->ItemRect.Top, &b);
}

void TbsSkinOfficeListBox::DefaultDrawItem(int Index, TCanvas* Cnvs)
{
    auto* item = FItems->Items(Index);
    TColor bg, fg;
    if (item->Header()) {
        bg = clBtnShadow;
        fg = clBtnHighlight;
    } else if (item->Active) {
        bg = clHighlight;
        fg = clHighlightText;
    } else {
        bg = clWindow;
        fg = item->Enabled() ? clWindowText : kGrey;
    }
    Cnvs->Font()->Assign(FDefaultFont);
    Cnvs->Font()->SetColor(fg);
    const TRect& r = item->ItemRect;
    TClip clip(Cnvs, r);
    Cnvs->Brush()->SetStyle(bsSolid);
    Cnvs->Brush()->SetColor(bg);
    Cnvs->FillRect(r);
    Cnvs->Brush()->SetStyle(bsClear);
    TRect content = Shrunk(r, 2);
    if (item->Header()) {
        DrawWideText(Cnvs, item->Caption(), content,
                     DT_SINGLELINE | DT_VCENTER | (FHeaderLeftAlignment ? 0u : DT_CENTER));
        return;
    }
    if (OnDrawItem) {
        OnDrawItem(Cnvs, Index, r);
    } else {
        DrawContent(Index, Cnvs, content, false, false, fg);
    }
    DrawSeparator(Index, Cnvs, clBtnFace);
    if (FShowCheckBoxes && item->Checked())
        DrawCheckMark(Cnvs, r.Left + 2, content.Top + RectHeight(content) / 2 - 5, fg);
    if (item->Active && Focused()) {
        Cnvs->Brush()->SetStyle(bsSolid);
        Cnvs->DrawFocusRect(r);
    }
}

// ---- input ----

void TbsSkinOfficeListBox::ToggleCheck(int Index)
{
    auto* item = FItems->Items(Index);
    item->SetChecked(!item->Checked());
    if (OnItemCheckClick) OnItemCheckClick(this);
}

void TbsSkinOfficeListBox::KeyDown(WORD& Key, TShiftState Shift)
{
    TbsSkinCustomControl::KeyDown(Key, Shift);
    switch (Key) {
    case VK_PRIOR: FindPageUp(); break;
    case VK_NEXT: FindPageDown(); break;
    case VK_LEFT:
    case VK_UP: FindUp(); break;
    case VK_RIGHT:
    case VK_DOWN: FindDown(); break;
    default: break;
    }
}

void TbsSkinOfficeListBox::KeyUp(WORD& Key, TShiftState Shift)
{
    TbsSkinCustomControl::KeyUp(Key, Shift);
    if (FShowCheckBoxes && Key == VK_SPACE && FItemIndex != -1 && FItemIndex < FItems->Count()) ToggleCheck(FItemIndex);
}

void TbsSkinOfficeListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    const int i = ItemAtPos(X, Y);
    if (i == -1 || FItems->Items(i)->Header()) return;
    SetActiveItem(i);
    FMouseDown = true;
    FMouseActive = i;
}

void TbsSkinOfficeListBox::MouseMove(TShiftState Shift, int X, int Y)
{
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    const int i = ItemAtPos(X, Y);
    if (i == -1 || FItems->Items(i)->Header() || i == FMouseActive) return;
    if (!FMouseDown && !FMouseMoveChangeIndex) return;
    SetActiveItem(i);
    FMouseActive = i;
}

void TbsSkinOfficeListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
    FMouseDown = false;
    const int i = ItemAtPos(X, Y);
    if (Button == mbLeft && i != -1 && !FItems->Items(i)->Header()) SetItemIndex(i);
    if (!FShowCheckBoxes || i == -1 || i != FItemIndex) return;
    if (X < FItems->Items(i)->ItemRect.Left + FCheckOffset) ToggleCheck(i);
}

void TbsSkinOfficeListBox::WndProc(TMessage& m)
{
    if ((m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) && !Focused() && !(ComponentState() & csDesigning)) {
        // A click that focuses the list: the reflected command that focusing may cause is not a click.
        FClicksDisabled = true;
        if (CanFocus()) SetFocus();
        FClicksDisabled = false;
        if (!Focused()) return;
    } else if (m.Msg == CN_COMMAND && FClicksDisabled) {
        return;
    }
    TbsSkinCustomControl::WndProc(m);
}

void TbsSkinOfficeListBox::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS; return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TbsSkinCustomControl::Dispatch(m);
        Repaint();
        return;
    case WM_MOUSEWHEEL:
        TbsSkinCustomControl::Dispatch(m);
        if (FScrollBar) {
            const int step = FScrollBar->SmallChange();
            const int pos = FScrollBar->Position();
            FScrollBar->SetPosition(GET_WHEEL_DELTA_WPARAM(m.WParam) < 0 ? pos + step : pos - step);
        }
        return;
    case WM_SIZE:
        TbsSkinCustomControl::Dispatch(m);
        if (Height() != FOldHeight) {
            // Growing below scrolled content closes the gap, never past the top.
            CalcItemRects();
            if (FItemsRect.Bottom >= FRealMax && FScrollOffset > 0) {
                FScrollOffset = std::max(0, FScrollOffset - (FItemsRect.Bottom - FRealMax));
                CalcItemRects();
                Invalidate();
            }
        }
        AdjustScrollBar();
        UpdateScrollInfo();
        FOldHeight = Height();
        return;
    default: TbsSkinCustomControl::Dispatch(m);
    }
}

void TbsSkinOfficeListBox::ChangeSkinData()
{
    TbsSkinCustomControl::ChangeSkinData();
    auto* edit = FindRecord<TbsDataSkinEditControl>(FSD, L"edit");
    if (edit)
        FDisabledFontColor = edit->DisabledFontColor;
    else if (FSD)
        FDisabledFontColor = FSD->SkinColors()->cBtnShadow();
    if (FScrollBar) {
        FScrollBar->SetSkinData(FSD);
        AdjustScrollBar();
    }
    CalcItemRects();
    Repaint();
}

// ---- TbsPopupOfficeListBox ----

TbsPopupOfficeListBox::TbsPopupOfficeListBox(TComponent* AOwner) : TbsSkinOfficeListBox(AOwner)
{
    SetVisible(false);
    TControlStyle style = ControlStyle();
    style.Include(csNoDesignVisible);
    SetControlStyle(style);
}

void TbsPopupOfficeListBox::CreateParams(TCreateParams& Params)
{
    TbsSkinOfficeListBox::CreateParams(Params);
    Params.Style = WS_POPUP | WS_CLIPCHILDREN;
    Params.ExStyle = WS_EX_TOOLWINDOW;
    Params.WindowClass.style |= CS_SAVEBITS;
    if (IsWindowsXPOrLater()) Params.WindowClass.style |= CS_DROPSHADOW;
}

void TbsPopupOfficeListBox::Dispatch(TMessage& m)
{
    if (m.Msg == WM_MOUSEACTIVATE) {
        m.Result = MA_NOACTIVATE;
        return;
    }
    TbsSkinOfficeListBox::Dispatch(m);
}

void TbsPopupOfficeListBox::Show(const TPoint& Origin)
{
    auto* combo = dynamic_cast<TbsSkinCustomOfficeComboBox*>(Owner());
    const bool layered = IsWindows2000OrLater() && combo;
    HWND h = Handle();
    if (layered) {
        const bool alpha = combo->AlphaBlend();
        const LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
        if (alpha && !(ex & WS_EX_LAYERED))
            SetWindowLongW(h, GWL_EXSTYLE, ex | WS_EX_LAYERED);
        else if (!alpha && (ex & WS_EX_LAYERED))
            SetWindowLongW(h, GWL_EXSTYLE, ex & ~static_cast<LONG>(WS_EX_LAYERED));
        FOldAlphaBlend = alpha;
        if (alpha && combo->AlphaBlendValue() != FOldAlphaBlendValue) {
            if (combo->AlphaBlendAnimation()) {
                SetLayeredAlpha(h, 0);
                FOldAlphaBlendValue = 0;
            } else {
                SetLayeredAlpha(h, combo->AlphaBlendValue());
                FOldAlphaBlendValue = combo->AlphaBlendValue();
            }
        }
    }
    SetWindowPos(h, HWND_TOP, Origin.X, Origin.Y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetVisible(true);
    if (!layered || !combo->AlphaBlendAnimation() || !combo->AlphaBlend()) return;
    // The fade runs to its end without serving messages; the clock is polled, a step after each
    // 5 ms or more.
    Application->ProcessMessages();
    combo->FLBDown = false;
    const int target = combo->AlphaBlendValue();
    const int step = std::max(1, target / 15);
    int alpha = 0;
    DWORD last = 0;
    bool first = true;
    while (alpha < target) {
        const DWORD now = GetTickCount();
        if (first || now - last > 5) {
            first = false;
            last = now;
            alpha = std::min(target, alpha + step);
            SetLayeredAlpha(h, static_cast<BYTE>(alpha));
        } else {
            Sleep(1);
        }
    }
}

void TbsPopupOfficeListBox::Hide()
{
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    SetVisible(false);
}
