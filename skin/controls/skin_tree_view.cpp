#include "skin/controls/skin_tree_view.h"

#include <algorithm>
#include <cmath>

#include "platform/framework/graphics/image_list.h"
#include "platform/win/system_api.h"
#include "skin/core/color_filters.h"
#include "skin/core/edit_list_records.h"
#include "skin/core/marks.h"
#include "skin/core/resource_strings.h"
#include "skin/core/skin_bitmap.h"
#include "skin/core/skin_image.h"
#include "skin/core/skin_messages.h"
#include "skin/core/text_layout.h"
#include "skin/core/view_menu_records.h"

namespace {
TBitmap* ModelPicture(TbsSkinData* SD, int Index)
{
    if (!SD || Index < 0 || Index >= static_cast<int>(SD->FActivePictures.size())) return nullptr;
    return SD->FActivePictures[static_cast<size_t>(Index)];
}
}  // namespace

TbsSkinCustomTreeView::TbsSkinCustomTreeView(TComponent* AOwner) : TCustomTreeView(AOwner)
{
    FDefaultFont = new TFont;
    FDefaultFont->SetName(L"Tahoma");
    FDefaultFont->SetHeight(13);
}

TbsSkinCustomTreeView::~TbsSkinCustomTreeView()
{
    delete FDefaultFont;
    FDefaultFont = nullptr;
    if (FSD) FSD->RemoveFreeNotification(this);
    if (FButtonImageList) FButtonImageList->RemoveFreeNotification(this);
    if (FVScrollBar) FVScrollBar->RemoveFreeNotification(this);
    if (FHScrollBar) FHScrollBar->RemoveFreeNotification(this);
}

// ---- properties ----

void TbsSkinCustomTreeView::SetSkinData(TbsSkinData* Value)
{
    if (Value != FSD) {
        if (FSD) FSD->RemoveFreeNotification(this);
        FSD = Value;
        if (FSD) FSD->FreeNotification(this);
    }
    if (Value && !Value->Empty && !(ComponentState() & csDesigning)) ChangeSkinData();
}

void TbsSkinCustomTreeView::SetDefaultFont(TFont* Value)
{
    FDefaultFont->Assign(Value);
    if (FIndex == -1) Font()->Assign(FDefaultFont);
}

void TbsSkinCustomTreeView::SetDefaultColor(TColor Value)
{
    FDefaultColor = Value;
    if (FIndex == -1) SetColor(Value);
}

void TbsSkinCustomTreeView::SetButtonImageList(TCustomImageList* Value)
{
    if (FButtonImageList) FButtonImageList->RemoveFreeNotification(this);
    FButtonImageList = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinCustomTreeView::SetDrawSkin(bool Value)
{
    FDrawSkin = Value;
    if (Value && !(ComponentState() & csDesigning))
        OnAdvancedCustomDrawItem = [this](TCustomTreeView*, TTreeNode* Node, TCustomDrawState State,
                                          TCustomDrawStage Stage, bool&,
                                          bool& DefaultDraw) { DrawSkinItem(Node, State, Stage, DefaultDraw); };
    Invalidate();
}

void TbsSkinCustomTreeView::SetBar(TbsSkinScrollBar*& Field, TbsSkinScrollBar* Value, bool Vertical)
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

void TbsSkinCustomTreeView::SetVScrollBar(TbsSkinScrollBar* Value) { SetBar(FVScrollBar, Value, true); }

void TbsSkinCustomTreeView::SetHScrollBar(TbsSkinScrollBar* Value) { SetBar(FHScrollBar, Value, false); }

void TbsSkinCustomTreeView::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomTreeView::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FButtonImageList) FButtonImageList = nullptr;
    if (AComponent == FVScrollBar) FVScrollBar = nullptr;
    if (AComponent == FHScrollBar) FHScrollBar = nullptr;
}

void TbsSkinCustomTreeView::Loaded()
{
    TCustomTreeView::Loaded();
    ChangeSkinData();
}

void TbsSkinCustomTreeView::CreateParams(TCreateParams& Params)
{
    TCustomTreeView::CreateParams(Params);
    Params.Style &= ~(WS_HSCROLL | WS_VSCROLL);
}

void TbsSkinCustomTreeView::Change(TTreeNode* Node)
{
    TCustomTreeView::Change(Node);
    UpDateScrollBars();
}

// ---- skin ----

void TbsSkinCustomTreeView::CutExpandPicture(TBitmap* Target, TBitmap* Source, const TRect& R)
{
    // Square: the rectangle's width on both sides, the rectangle stretched into it.
    const int side = R.Width();
    Target->SetSize(side, side);
    Target->Canvas()->CopyRect(Rect(0, 0, side, side), Source->Canvas(), R);
    Target->SetTransparentMode(tmAuto);
    Target->SetTransparent(true);
}

void TbsSkinCustomTreeView::ChangeSkinData()
{
    if (ComponentState() & csLoading) return;
    FIndex = (!FSD || FSD->Empty) ? -1 : FSD->GetControlIndex(FSkinDataName);
    TbsDataSkinControl* rec = FIndex >= 0 && FIndex < static_cast<int>(FSD->CtrlList.size())
                                  ? FSD->CtrlList[static_cast<size_t>(FIndex)]
                                  : nullptr;
    if (FIndex == -1) {
        SetColor(FDefaultColor);
        Font()->Assign(FDefaultFont);
        FLineColor = static_cast<TColor>(0x808080);
    } else if (auto* tv = dynamic_cast<TbsDataSkinTreeView*>(rec)) {
        if (FUseSkinFont) {
            Font()->SetName(tv->FontName);
            Font()->SetStyle(tv->FontStyle);
            Font()->SetHeight(tv->FontHeight);
        } else {
            Font()->Assign(FDefaultFont);
        }
        Font()->SetColor(tv->FontColor);
        SetColor(tv->BGColor);
        FLineColor = AverageColor(AverageColor(tv->FontColor, tv->BGColor), tv->BGColor);
        FButtonColor = AverageColor(tv->FontColor, tv->BGColor);
        TBitmap* picture = ModelPicture(FSD, tv->PictureIndex);
        if (IsNullRect(tv->ExpandImageRect) || IsNullRect(tv->NoExpandImageRect) || !picture) {
            FExpandImage.SetSize(0, 0);
            FNoExpandImage.SetSize(0, 0);
        } else {
            CutExpandPicture(&FExpandImage, picture, tv->ExpandImageRect);
            CutExpandPicture(&FNoExpandImage, picture, tv->NoExpandImageRect);
        }
    }
    Font()->SetCharset(FSD && FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet() : FDefaultFont->Charset());
    if (Images()) Images()->SetBkColor(FColor);
    if (StateImages()) StateImages()->SetBkColor(FColor);
    UpDateScrollBars();
    for (TbsSkinScrollBar* bar : {FVScrollBar, FHScrollBar})
        if (bar && bar->Align() != alNone && bar->Parent()) bar->Parent()->Realign();
    Invalidate();
}

// ---- external bars ----

void TbsSkinCustomTreeView::UpDateScrollBars()
{
    if ((ComponentState() & csLoading) || FInCheckScrollBars || !HandleAllocated()) return;
    bool changed = false;
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    if (FVScrollBar) {
        GetScrollInfo(Handle(), SB_VERT, &si);
        const int page = VisibleCount();
        const bool show = si.nMax > 0 && page <= si.nMax && si.nMax < FNodes.Count() && Visible();
        changed |= ShowExternalScrollBar(FVScrollBar, show, FInCheckScrollBars);
        if (FVScrollBar->Visible()) FVScrollBar->SetRange(si.nMin, si.nMax, si.nPos, page);
    }
    if (FHScrollBar) {
        GetScrollInfo(Handle(), SB_HORZ, &si);
        changed |= ShowExternalScrollBar(FHScrollBar, si.nMax > Width() && Visible(), FInCheckScrollBars);
        if (FHScrollBar->Visible()) FHScrollBar->SetRange(si.nMin, si.nMax, si.nPos, Width());
    }
    FinishExternalScrollBars(this, FHScrollBar, FVScrollBar, changed, FInCheckScrollBars);
}

void TbsSkinCustomTreeView::VScrollBarChange(TObject*)
{
    if (!FVScrollBar || !HandleAllocated()) return;
    const int pos = FVScrollBar->Position();
    if ((GetVersion() & 0xFF) >= 6) SetScrollPos(Handle(), SB_VERT, pos, TRUE);
    SendMessageW(Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, pos & 0xFFFF), 0);
}

void TbsSkinCustomTreeView::HScrollBarChange(TObject*)
{
    if (!FHScrollBar || !HandleAllocated()) return;
    SendMessageW(Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, FHScrollBar->Position() & 0xFFFF), 0);
}

void TbsSkinCustomTreeView::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_NCCALCSIZE: m.Result = 0; return;
    case WM_NCPAINT: m.Result = 0; return;
    case WM_NCHITTEST: m.Result = HTCLIENT; return;
    case WM_SKIN_PAINTTODC: m.Result = SKIN_PAINTTODC_DONE; return;
    default: break;
    }
    TCustomTreeView::WndProc(m);
    switch (m.Msg) {
    case WM_SIZE:
    case WM_PAINT:
        if (!FInCheckScrollBars) UpDateScrollBars();
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

// ---- node painting ----

void TbsSkinCustomTreeView::DrawSkinItem(TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage,
                                         bool& DefaultDraw)
{
    if (Stage != cdPrePaint || !FSD || FSD->Empty) return;
    const int ri = FSD->GetControlIndex(FItemSkinDataName);
    if (ri < 0 || ri >= static_cast<int>(FSD->CtrlList.size())) return;
    // An item record of another class or without a picture: the tree draws the node.
    auto* rec = dynamic_cast<TbsDataSkinListBox*>(FSD->CtrlList[static_cast<size_t>(ri)]);
    TBitmap* picture = rec ? ModelPicture(FSD, rec->PictureIndex) : nullptr;
    if (!picture) return;
    DefaultDraw = false;
    TCanvas* c = Canvas();
    const int scroll = FScrollX;
    TRect row = Node->DisplayRect(false);
    TRect r1 = Rect(row.Left - scroll, row.Top, row.Right - scroll, row.Bottom);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(FColor);
    c->FillRect(r1);
    const TRect r2 = Node->DisplayRect(true);
    c->FillRect(r2);
    c->Brush()->SetStyle(bsClear);
    const int level = Node->Level() - (FShowRoot ? 0 : 1);
    r1.Left += level * FIndent;
    DrawNodeLines(c, Node, r1);
    const int cy = r1.Top + r1.Height() / 2;
    r1.Left += FIndent + FButtonSize;
    DrawNodeImage(c, Node, r1, cy);
    if (!State.Contains(cdsSelected)) {
        DrawVCenterText(c, Node->Text(), Rect(r2.Left + 2, r2.Top + 1, r2.Right, r2.Bottom));
        return;
    }
    if (r2.Width() <= 0) return;
    const bool focused = Focused();
    TBitmap b(r2.Width(), r2.Height());
    CreateStretchImage(&b, picture, focused ? rec->FocusItemRect : rec->ActiveItemRect, rec->ItemTextRect, true);
    b.Canvas()->Font()->Assign(Font());
    b.Canvas()->Font()->SetColor(focused ? rec->FocusFontColor : rec->ActiveFontColor);
    b.Canvas()->Brush()->SetStyle(bsClear);
    DrawVCenterText(b.Canvas(), Node->Text(), Rect(2, 1, b.Width(), b.Height()));
    c->Draw(r2.Left, r2.Top, &b);
}

void TbsSkinCustomTreeView::DrawFadedLine(TCanvas* C, int X1, int X2, int Y)
{
    const int n = std::abs(X2 - X1);
    if (n == 0) return;
    TbsBitmap b;
    b.SetSize(n, 1);
    const TbsColor color = ColorToBsColor(FLineColor, 255) & 0xFFFFFF;
    const int c = n / 2;
    // A connector of one pixel has no half to fade: it is drawn whole.
    const int step = c > 0 ? static_cast<int>(std::nearbyint(255.0 / c)) : 0;
    int alpha = 255;
    for (int x = 0; x < n; ++x) {
        if (c > 0 && x >= c) alpha = std::max(0, alpha - step);
        b.SetPixel(x, 0, color | (static_cast<TbsColor>(alpha) << 24));
    }
    b.SetAlphaBlend(true);
    b.Draw(C, X1, Y);
}

void TbsSkinCustomTreeView::DrawNodeLines(TCanvas* C, TTreeNode* Node, const TRect& R)
{
    int bs = 5;
    if (FButtonImageList)
        bs = std::max(FButtonImageList->Width(), FButtonImageList->Height()) / 2;
    else if (!FExpandImage.Empty() && !FNoExpandImage.Empty())
        bs = FExpandImage.Width() / 2 - 2;
    FButtonSize = bs;
    const int cx = R.Left + FIndent / 2, cy = R.Top + R.Height() / 2;
    const bool children = Node->HasChildren();
    C->Pen()->SetColor(FLineColor);
    if (FShowLines) {
        if (children)
            DrawFadedLine(C, cx + bs - 1, R.Left + FIndent + bs - 5, cy - 1);
        else
            DrawFadedLine(C, cx - 1, R.Left + FIndent, cy - 1);
        C->Pen()->SetColor(FLineColor);
        if (Node->AbsoluteIndex() != 0) {
            C->MoveTo(cx - 1, cy - 1);
            C->LineTo(cx - 1, R.Top - 1);
        }
        TTreeNode* next = Node->GetNextVisible();
        if ((next && next->Level() == Node->Level()) || Node->GetNextSibling()) {
            C->MoveTo(cx - 1, cy);
            C->LineTo(cx - 1, R.Bottom + 1);
        }
    }
    if (children && FShowButtons && !FButtonImageList) {
        C->Pen()->SetColor(FButtonColor);
        C->Brush()->SetStyle(bsClear);
        C->Rectangle(cx - bs, cy - bs, cx + bs - 1, cy + bs - 1);
        C->Pen()->SetColor(Font()->Color());
        C->MoveTo(cx - bs + 2, cy - 1);
        C->LineTo(cx + bs - 3, cy - 1);
        if (!Node->Expanded()) {
            C->MoveTo(cx - 1, cy - bs + 2);
            C->LineTo(cx - 1, cy + bs - 3);
        }
        C->Pen()->SetColor(FLineColor);
    }
    if (children && FShowButtons && FButtonImageList) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(FColor);
        C->FillRect(Rect(cx - bs, cy - bs, cx + bs, cy + bs));
        const int index = Node->Expanded() ? FButtonExpandImageIndex : FButtonNoExpandImageIndex;
        if (index >= 0 && index < FButtonImageList->Count()) FButtonImageList->Draw(C, cx - bs, cy - bs, index, true);
    }
    if (children && FShowButtons && !FButtonImageList && !FExpandImage.Empty() && !FNoExpandImage.Empty()) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(FColor);
        C->FillRect(Rect(cx - bs - 2, cy - bs - 2, cx + bs - 2, cy + bs - 2));
        C->Draw(cx - bs - 3, cy - bs - 3, Node->Expanded() ? &FExpandImage : &FNoExpandImage);
    }
    if (FShowLines) {
        int x = cx;
        for (TTreeNode* p = Node->Parent(); p; p = p->Parent()) {
            x -= FIndent;
            if (p->GetNextSibling()) {
                C->MoveTo(x - 1, R.Top);
                C->LineTo(x - 1, R.Bottom + 1);
            }
        }
    }
    C->Brush()->SetStyle(bsClear);
}

void TbsSkinCustomTreeView::DrawNodeImage(TCanvas* C, TTreeNode* Node, const TRect& R, int CY)
{
    TCustomImageList* images = Images();
    const int index = Node->ImageIndex();
    if (images) {
        if (index >= 0 && index < images->Count())
            images->Draw(C, R.Left - FButtonSize, CY - images->Height() / 2, index, Enabled());
        return;
    }
    // No Images component: the list set on the window itself, drawn in its own size.
    FThirdImages = reinterpret_cast<HIMAGELIST>(Perform(TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
    FThirdImageWidth = FThirdImageHeight = FThirdImagesCount = 0;
    if (!FThirdImages) return;
    ImageList_GetIconSize(FThirdImages, &FThirdImageWidth, &FThirdImageHeight);
    FThirdImagesCount = ImageList_GetImageCount(FThirdImages);
    if (index >= 0 && index < FThirdImagesCount)
        ImageList_DrawEx(FThirdImages, index, C->Handle(), R.Left - FButtonSize, CY - FThirdImageHeight / 2, 0, 0,
                         CLR_NONE, CLR_NONE, ILD_NORMAL);
}
