#include "skin/controls/skin_list_view.h"

#include <algorithm>

#include "platform/framework/graphics/image_list.h"
#include "skin/core/button_records.h"
#include "skin/core/edit_list_records.h"
#include "skin/core/marks.h"
#include "skin/core/resource_strings.h"
#include "skin/core/skin_image.h"
#include "skin/core/skin_messages.h"
#include "skin/core/text_layout.h"
#include "skin/core/view_menu_records.h"

namespace {
TRect Moved(const TRect& R, int DX, int DY) { return Rect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY); }

// The active picture Index of the model; nullptr outside the list.
TBitmap* ModelPicture(TbsSkinData* SD, int Index)
{
    if (!SD || Index < 0 || Index >= static_cast<int>(SD->FActivePictures.size())) return nullptr;
    return SD->FActivePictures[static_cast<size_t>(Index)];
}

// The record named Name when it is of class T; nullptr otherwise.
template <class T>
T* NamedRecord(TbsSkinData* SD, const String& Name)
{
    if (!SD || SD->Empty) return nullptr;
    int i = SD->GetControlIndex(Name);
    if (i < 0 || i >= static_cast<int>(SD->CtrlList.size())) return nullptr;
    return dynamic_cast<T*>(SD->CtrlList[static_cast<size_t>(i)]);
}
}  // namespace

TbsSkinCustomListView::TbsSkinCustomListView(TComponent* AOwner) : TCustomListView(AOwner)
{
    FDefaultFont = new TFont;
    FDefaultFont->SetName(L"Tahoma");
    FDefaultFont->SetHeight(13);
    Font()->Assign(FDefaultFont);
    FHeaderInstance =
        MakeObjectInstance([this](HWND h, UINT msg, WPARAM wp, LPARAM lp) { return HeaderWndProc(h, msg, wp, lp); });
}

TbsSkinCustomListView::~TbsSkinCustomListView()
{
    delete FDefaultFont;
    FDefaultFont = nullptr;
    GiveBackHeader();
    if (FSD) FSD->RemoveFreeNotification(this);
    if (FVScrollBar) FVScrollBar->RemoveFreeNotification(this);
    if (FHScrollBar) FHScrollBar->RemoveFreeNotification(this);
    FreeObjectInstance(FHeaderInstance);
}

// ---- properties ----

void TbsSkinCustomListView::SetSkinData(TbsSkinData* Value)
{
    if (Value != FSD) {
        if (FSD) FSD->RemoveFreeNotification(this);
        FSD = Value;
        if (FSD) FSD->FreeNotification(this);
    }
    if (Value && !Value->Empty && !(ComponentState() & csDesigning)) ChangeSkinData();
}

void TbsSkinCustomListView::SetDefaultFont(TFont* Value)
{
    FDefaultFont->Assign(Value);
    if (FIndex == -1) Font()->Assign(FDefaultFont);
}

void TbsSkinCustomListView::SetDefaultColor(TColor Value)
{
    FDefaultColor = Value;
    if (FIndex == -1) SetColor(Value);
}

void TbsSkinCustomListView::SetDrawSkin(bool Value)
{
    FDrawSkin = Value;
    if (Value && !(ComponentState() & csDesigning)) {
        OnCustomDrawItem = [this](TCustomListView* Sender, TListItem* Item, TCustomDrawState State, bool& DefaultDraw) {
            DrawSkinItem(Sender, Item, State, DefaultDraw);
        };
        SetFullDrag(false);
    }
    Invalidate();
}

void TbsSkinCustomListView::SetDrawSkinLines(bool Value)
{
    FDrawSkinLines = Value;
    if (Value && (ComponentState() & csDesigning)) SetGridLines(false);
    Invalidate();
}

void TbsSkinCustomListView::SetBar(TbsSkinScrollBar*& Field, TbsSkinScrollBar* Value, bool Vertical)
{
    if (Field && Field != Value) Field->RemoveFreeNotification(this);
    Field = Value;
    if (Value) {
        Value->FreeNotification(this);
        LinkExternalScrollBar(Value, [this, Vertical](TObject* s) {
            if (Vertical)
                VScrollBarChange(s);
            else
                HScrollBarChange(s);
        });
    }
    UpDateScrollBars();
}

void TbsSkinCustomListView::SetVScrollBar(TbsSkinScrollBar* Value) { SetBar(FVScrollBar, Value, true); }

void TbsSkinCustomListView::SetHScrollBar(TbsSkinScrollBar* Value) { SetBar(FHScrollBar, Value, false); }

void TbsSkinCustomListView::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomListView::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FVScrollBar) FVScrollBar = nullptr;
    if (AComponent == FHScrollBar) FHScrollBar = nullptr;
}

void TbsSkinCustomListView::Loaded()
{
    FInCheckScrollBars = true;
    try {
        TCustomListView::Loaded();
    } catch (...) {
        FInCheckScrollBars = false;
        throw;
    }
    FInCheckScrollBars = false;
    ChangeSkinData();
}

void TbsSkinCustomListView::CreateParams(TCreateParams& Params)
{
    TCustomListView::CreateParams(Params);
    Params.Style &= ~(WS_HSCROLL | WS_VSCROLL);
}

void TbsSkinCustomListView::Change(TListItem* Item, TItemChange What)
{
    TCustomListView::Change(Item, What);
    if (!FInCheckScrollBars) UpDateScrollBars();
}

// ---- skin ----

void TbsSkinCustomListView::ChangeSkinData()
{
    FIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(FSkinDataName);
    TbsDataSkinControl* rec = FIndex >= 0 && FIndex < static_cast<int>(FSD->CtrlList.size())
                                  ? FSD->CtrlList[static_cast<size_t>(FIndex)]
                                  : nullptr;
    if (FIndex == -1) {
        SetColor(FDefaultColor);
        Font()->Assign(FDefaultFont);
    } else if (auto* lv = dynamic_cast<TbsDataSkinListView*>(rec)) {
        if (FUseSkinFont) {
            Font()->SetName(lv->FontName);
            Font()->SetStyle(lv->FontStyle);
            Font()->SetHeight(lv->FontHeight);
        } else {
            Font()->Assign(FDefaultFont);
        }
        Font()->SetColor(lv->FontColor);
        SetColor(lv->BGColor);
        FLineColor = AverageColor(AverageColor(AverageColor(lv->FontColor, lv->BGColor), lv->BGColor), lv->BGColor);
    }
    Font()->SetCharset(FSD && FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet() : FDefaultFont->Charset());
    UpDateScrollBars();
    for (TbsSkinScrollBar* bar : {FVScrollBar, FHScrollBar})
        if (bar && bar->Align() != alNone && bar->Parent()) bar->Parent()->Realign();
    if (FViewStyle == vsReport) InvalidateHeader(true);
}

// ---- external bars ----

int TbsSkinCustomListView::ItemZeroHeight()
{
    return FItems.Count() > 0 ? FItems.Item(0)->DisplayRect(drBounds).Height() : 0;
}

int TbsSkinCustomListView::ItemZeroWidth()
{
    return FItems.Count() > 0 ? FItems.Item(0)->DisplayRect(drBounds).Width() : 0;
}

void TbsSkinCustomListView::UpDateScrollBars()
{
    if (!HandleAllocated() || FromSB || Width() <= 5 || Height() <= 5) return;
    if (FInCheckScrollBars) return;
    bool changed = false;
    switch (FViewStyle) {
    case vsIcon:
    case vsSmallIcon: UpdateBarsIconView(changed); break;
    case vsList: UpdateBarsListView(changed); break;
    case vsReport: UpdateBarsReportView(changed); break;
    }
    FinishExternalScrollBars(this, FHScrollBar, FVScrollBar, changed, FInCheckScrollBars);
}

void TbsSkinCustomListView::UpdateBarsIconView(bool& Changed)
{
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    const int h0 = ItemZeroHeight();
    const int step = std::max(1, h0 / 2);
    if (FVScrollBar) {
        GetScrollInfo(Handle(), SB_VERT, &si);
        Changed |= ShowExternalScrollBar(FVScrollBar, si.nMax > Height() && Visible(), FInCheckScrollBars);
        if (FVScrollBar->Visible()) {
            FVScrollBar->SetSmallChange(step);
            FVScrollBar->SetLargeChange(step);
            FVScrollBar->SetRange(si.nMin, si.nMax, si.nPos, Height());
            FOldVScrollBarPos = si.nPos;
        }
    }
    if (FHScrollBar) {
        GetScrollInfo(Handle(), SB_HORZ, &si);
        Changed |= ShowExternalScrollBar(FHScrollBar, si.nMax > Width() && Visible(), FInCheckScrollBars);
        if (FHScrollBar->Visible()) {
            FHScrollBar->SetSmallChange(step);
            FHScrollBar->SetLargeChange(step);
            FHScrollBar->SetRange(si.nMin, si.nMax, si.nPos, Width());
            FOldHScrollBarPos = si.nPos;
        }
    }
}

void TbsSkinCustomListView::UpdateBarsListView(bool& Changed)
{
    Changed |= ShowExternalScrollBar(FVScrollBar, false, FInCheckScrollBars);
    if (!FHScrollBar) return;
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    GetScrollInfo(Handle(), SB_HORZ, &si);
    int w0 = ItemZeroWidth();
    if (w0 <= 0) w0 = 1;
    const int page = Width() / w0;
    Changed |= ShowExternalScrollBar(FHScrollBar, VisibleRowCount() * std::max(1, page) < FItems.Count() && Visible(),
                                     FInCheckScrollBars);
    if (FHScrollBar->Visible()) {
        FHScrollBar->SetRange(si.nMin, si.nMax, si.nPos, page);
        FHScrollBar->SetSmallChange(1);
        FHScrollBar->SetLargeChange(1);
        FOldHScrollBarPos = si.nPos;
    }
}

void TbsSkinCustomListView::UpdateBarsReportView(bool& Changed)
{
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    if (FVScrollBar) {
        GetScrollInfo(Handle(), SB_VERT, &si);
        const int rows = VisibleRowCount();
        Changed |= ShowExternalScrollBar(FVScrollBar, rows < si.nMax + 1 && Visible(), FInCheckScrollBars);
        if (FVScrollBar->Visible()) {
            FVScrollBar->SetRange(si.nMin, si.nMax, si.nPos, rows);
            FOldVScrollBarPos = si.nPos;
            FVScrollBar->SetSmallChange(1);
            FVScrollBar->SetLargeChange(rows > 0 ? rows : 1);
        }
    }
    if (FHScrollBar) {
        GetScrollInfo(Handle(), SB_HORZ, &si);
        Changed |= ShowExternalScrollBar(FHScrollBar, si.nMax > Width() && Visible(), FInCheckScrollBars);
        if (FHScrollBar->Visible()) {
            FHScrollBar->SetRange(si.nMin, si.nMax, si.nPos, Width());
            FOldHScrollBarPos = si.nPos;
        }
    }
}

void TbsSkinCustomListView::VScrollBarChange(TObject*)
{
    if (!FVScrollBar) return;
    FromSB = true;
    try {
        // A caption being edited would be left behind by the scroll.
        if (IsEditing()) Perform(LVM_EDITLABELW, static_cast<WPARAM>(-1));
        const int diff = FVScrollBar->Position() - FOldVScrollBarPos;
        if (FViewStyle == vsList || FViewStyle == vsReport)
            Scroll(0, ItemZeroHeight() * diff);
        else
            Scroll(0, diff);
        FOldVScrollBarPos = FVScrollBar->Position();
    } catch (...) {
        FromSB = false;
        throw;
    }
    FromSB = false;
}

void TbsSkinCustomListView::HScrollBarChange(TObject*)
{
    if (!FHScrollBar) return;
    FromSB = true;
    try {
        const int diff = FHScrollBar->Position() - FOldHScrollBarPos;
        if (FViewStyle == vsList) {
            const WPARAM code = diff < 0 ? SB_LINELEFT : SB_LINERIGHT;
            for (int i = 0; i < std::abs(diff); ++i) Perform(WM_HSCROLL, code, 0);
        } else {
            Scroll(diff, 0);
        }
        FOldHScrollBarPos = FHScrollBar->Position();
    } catch (...) {
        FromSB = false;
        throw;
    }
    FromSB = false;
}

// ---- messages ----

void TbsSkinCustomListView::FillBelowHeader()
{
    if (FViewStyle != vsReport || !FHeaderHandle || !(FGridLines || FDrawSkin) || !HandleAllocated()) return;
    RECT hr;
    ::GetWindowRect(FHeaderHandle, &hr);
    const int y = hr.bottom - hr.top;
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(FColor);
    c->FillRect(Rect(0, y, Width(), y + 1));
}

void TbsSkinCustomListView::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_PARENTNOTIFY:
        if (LOWORD(m.WParam) == WM_CREATE && FShowColumnHeaders) {
            HWND child = reinterpret_cast<HWND>(m.LParam);
            wchar_t name[81] = {};
            GetClassNameW(child, name, 80);
            if (String(name) == L"SysHeader32") TakeOverHeader(child);
        }
        break;
    case WM_NCCALCSIZE: m.Result = 0; return;
    case WM_NCPAINT: m.Result = 0; return;
    case WM_NCHITTEST: m.Result = HTCLIENT; return;
    case WM_SKIN_PAINTTODC: m.Result = SKIN_PAINTTODC_DONE; return;
    case WM_SKIN_PAINTHEADERTODC:
        if (FHeaderHandle) PaintHeader(reinterpret_cast<HDC>(m.WParam));
        m.Result = 0;
        return;
    default: break;
    }
    TCustomListView::WndProc(m);
    switch (m.Msg) {
    case WM_SIZE:
        if (!FInCheckScrollBars && FItems.Count() > 0) UpDateScrollBars();
        if (FViewStyle == vsReport) InvalidateHeader(false);
        break;
    case WM_PAINT:
        if (!FInCheckScrollBars) UpDateScrollBars();
        FillBelowHeader();
        break;
    case WM_KEYDOWN:
    case WM_LBUTTONUP: UpDateScrollBars(); break;
    case CM_VISIBLECHANGED:
        for (TbsSkinScrollBar* bar : {FVScrollBar, FHScrollBar})
            if (bar) bar->SetVisible(Visible());
        break;
    default: break;
    }
}

// ---- item painting ----

TbsDataSkinListBox* TbsSkinCustomListView::ItemRecord(TBitmap*& Picture)
{
    auto* rec = NamedRecord<TbsDataSkinListBox>(FSD, FItemSkinDataName);
    Picture = rec ? ModelPicture(FSD, rec->PictureIndex) : nullptr;
    return Picture ? rec : nullptr;
}

void TbsSkinCustomListView::DrawItemText(TCanvas* C, const String& Caption, TRect R, bool Wrap, bool Ellipsis)
{
    if (Wrap) {
        DrawWrappedText(C, Caption, R, !Ellipsis);
        return;
    }
    DrawVCenterText(C, Caption, R);
}

void TbsSkinCustomListView::DrawSkinItem(TCustomListView*, TListItem* Item, TCustomDrawState State, bool& DefaultDraw)
{
    if ((ComponentState() & csDesigning) || !FSD || FSD->Empty) return;
    TBitmap* picture = nullptr;
    TbsDataSkinListBox* rec = ItemRecord(picture);
    if (!rec) return;
    const bool icon = FViewStyle == vsIcon, list = FViewStyle == vsList, report = FViewStyle == vsReport;
    FThirdImages = nullptr;
    FThirdImageWidth = FThirdImageHeight = FThirdImagesCount = 0;
    if (!FSmallImages && !FLargeImages) {
        FThirdImages = reinterpret_cast<HIMAGELIST>(Perform(LVM_GETIMAGELIST, icon ? LVSIL_NORMAL : LVSIL_SMALL, 0));
        if (FThirdImages) {
            ImageList_GetIconSize(FThirdImages, &FThirdImageWidth, &FThirdImageHeight);
            FThirdImagesCount = ImageList_GetImageCount(FThirdImages);
        }
    }
    DefaultDraw = false;
    TCanvas* c = Canvas();
    TRect LR = Item->DisplayRect(drLabel);
    if (list) LR.Right = LR.Left + c->TextWidth(Item->Caption()) + 2;
    TRect IR = Item->DisplayRect(drIcon);
    TCustomImageList* images = icon ? FLargeImages : FSmallImages;
    const TRect label = LR;
    if (icon) LR = Moved(LR, 2, 0);
    const TRect BR = Item->DisplayRect(drBounds);
    TRect SR;
    if (icon) {
        SR = label;
    } else if (list) {
        SR = LR;
        SR.Right += Item->Caption().empty() ? 20 : 4;
    } else {
        SR = Item->DisplayRect(drSelectBounds);
        SR.Left = LR.Left;
    }
    SR.Bottom -= 1;
    auto* ck = NamedRecord<TbsDataSkinCheckRadioControl>(FSD, FCheckSkinDataName);
    const bool wrap = icon && IconOptions()->WrapText();
    String caption = Item->Caption();
    // A selected item's caption may fill the whole label in list view; the others keep 2 pixels.
    const int selectedFitWidth = LR.Width() - (list ? 0 : report ? 3 : 2);
    const int fitWidth = LR.Width() - (report ? 3 : 2);

    if (Item->Selected() && SR.Width() > 0) {
        const bool focused = Focused();
        TBitmap b(SR.Width(), SR.Height());
        CreateStretchImage(&b, picture, focused ? rec->FocusItemRect : rec->ActiveItemRect, rec->ItemTextRect, true);
        TCanvas* bc = b.Canvas();
        bc->Font()->Assign(Font());
        bc->Font()->SetColor(focused ? rec->FocusFontColor : rec->ActiveFontColor);
        bc->Brush()->SetStyle(bsClear);
        TRect TR = Moved(LR, -SR.Left, -SR.Top);
        if (wrap) {
            TR.Right -= 4;
            DrawItemText(bc, caption, TR, true, false);
        } else {
            FitTextToWidth(c, caption, selectedFitWidth);
            TR.Left += report ? 3 : 2;
            DrawItemText(bc, caption, TR, false, false);
        }
        if (report && Item->SubItems()->Count() > 0 && FRowSelect) DrawSubItems(bc, Item, State, BR, &SR, b.Height());
        c->Draw(SR.Left, SR.Top, &b);
    } else {
        c->FillRect(Rect(BR.Left, BR.Top, BR.Right, BR.Bottom - 1));
        c->Brush()->SetStyle(bsClear);
        if (wrap) {
            TRect r = LR;
            r.Right -= 4;
            DrawItemText(c, caption, r, true, true);
        } else {
            FitTextToWidth(c, caption, fitWidth);
            TRect r = LR;
            r.Left += report ? 3 : 2;
            DrawItemText(c, caption, r, false, false);
        }
        c->Brush()->SetStyle(bsSolid);
    }

    // The item's image: from the window's own list (on its square filled first), else from the
    // image list of the view.
    const int index = Item->ImageIndex();
    if (FThirdImages) {
        const int x = icon ? IR.Left + IR.Width() / 2 - FThirdImageWidth / 2 : IR.Left;
        const int y = icon ? IR.Top + 2 : IR.Top;
        if (icon && FCheckboxes) IR.Left = x;
        c->Brush()->SetStyle(bsSolid);
        c->FillRect(Rect(x, y, x + FThirdImageWidth, y + FThirdImageHeight));
        if (index >= 0 && index < FThirdImagesCount)
            ImageList_DrawEx(FThirdImages, index, c->Handle(), x, y, 0, 0, CLR_NONE, CLR_NONE, ILD_NORMAL);
    } else if (images && index >= 0 && index < images->Count()) {
        if (icon) {
            const int x = IR.Left + IR.Width() / 2 - images->Width() / 2;
            images->Draw(c, x, IR.Top + 2, Item->ImageIndex(), Enabled());
            if (FCheckboxes) IR.Left = x;
        } else {
            images->Draw(c, IR.Left, IR.Top, Item->ImageIndex(), Enabled());
        }
    }

    // The check box picture.
    if (FCheckboxes && ck) {
        TBitmap* ckPicture = ModelPicture(FSD, ck->PictureIndex);
        const TRect& src = Item->Checked() ? ck->CheckImageRect : ck->UnCheckImageRect;
        if (ckPicture && !IsNullRect(src)) {
            TBitmap cb(src.Width(), src.Height());
            cb.Canvas()->CopyRect(Rect(0, 0, src.Width(), src.Height()), ckPicture->Canvas(), src);
            cb.SetTransparent(true);
            const int x = IR.Left - cb.Width() - 1;
            int y = icon ? IR.Bottom - src.Height() - 1 : BR.Top + IR.Height() / 2 - cb.Height() / 2 - 1;
            y = std::max(y, BR.Top);
            c->Draw(x, y, &cb);
        }
    }

    if (report && Item->SubItems()->Count() > 0 && !(Item->Selected() && FRowSelect))
        DrawSubItems(c, Item, State, BR, nullptr, 0);
    if (report && FDrawSkinLines && FColumns.Count() > 0) DrawSkinGridLines(c, Item, BR);
}

void TbsSkinCustomListView::DrawSubItems(TCanvas* C, TListItem* Item, TCustomDrawState State, const TRect& BR,
                                         const TRect* SR, int BitmapHeight)
{
    if (FColumns.Count() == 0) return;
    int x = BR.Left + FColumns.Items(0)->Width();
    TStrings* subs = Item->SubItems();
    for (int k = 0; k + 1 < FColumns.Count(); ++k) {
        TListColumn* col = FColumns.Items(k + 1);
        const int w = col->Width();
        TRect cell = SR ? Rect(x - SR->Left, 0, x - SR->Left + w, BitmapHeight) : Rect(x, BR.Top, x + w, BR.Bottom);
        if (!SR) {
            C->Brush()->SetStyle(bsSolid);
            C->FillRect(cell);
        }
        cell.Left += 3;
        cell.Right -= 3;
        if (OnDrawSkinSubItem) {
            OnDrawSkinSubItem(this, Item, k, State, C, cell);
        } else if (k < subs->Count()) {
            const int image = Item->SubItemImages(k);
            if (FSmallImages && image >= 0 && image < FSmallImages->Count()) {
                FSmallImages->Draw(C, cell.Left, cell.Top, image, Enabled());
                cell.Left += FSmallImages->Width() + 3;
            }
            String text = subs->Get(k);
            FitTextToWidth(C, text, cell.Width());
            if (SR && OddFontHeight(C)) cell.Top += 1;
            C->Brush()->SetStyle(bsClear);
            DrawAlignedText(C, text, cell,
                            col->Alignment() == taRightJustify ? 1
                            : col->Alignment() == taCenter     ? 2
                                                               : 0);
        }
        x += w;
    }
    C->Brush()->SetStyle(bsSolid);
}

void TbsSkinCustomListView::DrawSkinGridLines(TCanvas* C, TListItem* Item, const TRect& BR)
{
    C->Pen()->SetColor(FLineColor);
    int x = BR.Left;
    for (int i = 0; i < FColumns.Count(); ++i) {
        x += FColumns.Items(i)->Width();
        C->MoveTo(x, BR.Top);
        C->LineTo(x, BR.Bottom);
    }
    C->MoveTo(BR.Left, BR.Bottom - 1);
    C->LineTo(Width(), BR.Bottom - 1);
    if (Item->Index() == 0) {
        C->MoveTo(BR.Left, BR.Top - 1);
        C->LineTo(Width(), BR.Top - 1);
    }
}
