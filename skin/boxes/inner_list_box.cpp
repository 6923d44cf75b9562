#include "skin/boxes/inner_list_box.h"

#include <algorithm>
#include <vector>

#include "skin/boxes/skin_list_box.h"
#include "skin/core/marks.h"
#include "skin/core/skin_image.h"
#include "skin/core/skin_messages.h"
#include "skin/core/text_layout.h"
#include "skin/core/window_records.h"

// ---- tabbed text ----

int TabWidthValue(const String& Entry)
{
    if (Entry.empty() || Entry.size() > 9) return 0;
    int v = 0;
    for (wchar_t c : Entry) {
        if (c < L'0' || c > L'9') return 0;
        v = v * 10 + (c - L'0');
    }
    return v;
}

void DrawTabbedText(TCanvas* C, TStrings* TabWidths, const String& Text, const TRect& R, int Offset)
{
    const int n = std::min(TabWidths ? TabWidths->Count() : 0, 10);
    std::vector<INT> stops(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) stops[static_cast<size_t>(i)] = TabWidthValue(TabWidths->Get(i));
    int y = R.Top + R.Height() / 2 - C->TextHeight(Text) / 2;
    if (OddFontHeight(C)) --y;
    HDC dc = C->Handle();
    HGDIOBJ oldFont = SelectObject(dc, C->Font()->Handle());
    COLORREF oldColor = SetTextColor(dc, ColorToRGB(C->Font()->Color()));
    const bool clear = C->Brush()->Style() == bsClear;
    int oldMode = SetBkMode(dc, clear ? TRANSPARENT : OPAQUE);
    COLORREF oldBk = SetBkColor(dc, ColorToRGB(C->Brush()->Color()));
    TabbedTextOutW(dc, R.Left + Offset + 2, y, Text.c_str(), static_cast<int>(Text.size()), n,
                   n ? stops.data() : nullptr, 0);
    SetBkColor(dc, oldBk);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColor);
    SelectObject(dc, oldFont);
}

// ---- the list ----

TbsListBox::TbsListBox(TComponent* AOwner) : TListBox(AOwner)
{
    FControlStyle = TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks};
    // Every change of the items brings the container's bars in step.
    FItems.OnChange = [this](TObject*) {
        ItemsChanged();
        if (SkinListBox) SkinListBox->UpDateScrollBar();
    };
}

void TbsListBox::CreateParams(TCreateParams& p)
{
    TListBox::CreateParams(p);
    p.Style &= ~static_cast<DWORD>(WS_BORDER);
    p.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
    p.Style |= WS_TABSTOP | WS_VSCROLL | WS_HSCROLL;
    p.WindowClass.style = CS_DBLCLKS;
}

void TbsListBox::CreateWnd()
{
    TListBox::CreateWnd();
    if (SkinListBox) SkinListBox->ListBoxCreateWnd();
}

void TbsListBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    const int oldWidth = Width();
    TListBox::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (Width() != oldWidth && FHorizontalExtentValue >= 1) {
        FHorizontalExtentValue = std::max(0, FHorizontalExtentValue + oldWidth - Width());
        Invalidate();
    }
}

void TbsListBox::CheckScrollState()
{
    if (!SkinListBox || !HandleAllocated()) return;
    const int top = TopIndex(), count = Count(), height = ClientHeight();
    if (top == FSyncedTop && count == FSyncedCount && height == FSyncedHeight) return;
    FSyncedTop = top;
    FSyncedCount = count;
    FSyncedHeight = height;
    SkinListBox->UpDateScrollBar();
}

void TbsListBox::WndProc(TMessage& m)
{
    bool handled = true;
    if (SkinListBox) SkinListBox->ListBoxWndProc(m, handled);
    if (!handled) return;
    switch (m.Msg) {
    case WM_PAINT: {
        CheckScrollState();
        PAINTSTRUCT ps;
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        const bool own = !dc;
        if (own) dc = BeginPaint(Handle(), &ps);
        if (dc) PaintWindowStep(dc);
        if (own) EndPaint(Handle(), &ps);
        m.Result = 0;
        return;
    }
    case WM_ERASEBKGND:
        if (Width() > 0 && Height() > 0 && m.WParam) PaintBackgroundToDC(reinterpret_cast<HDC>(m.WParam));
        m.Result = 1;
        if (SkinListBox) SkinListBox->UpDateScrollBar();
        return;
    case WM_NCCALCSIZE: m.Result = 0; return;
    case WM_NCHITTEST: m.Result = HTCLIENT; return;
    case WM_SKIN_PAINTTODC: m.Result = SKIN_PAINTTODC_DONE; return;
    case WM_SKIN_PAINTBACKGROUNDTODC:
        if (Count() == 0 && m.LParam == SKIN_PAINT_KEY) {
            if (m.WParam) PaintBackgroundToDC(reinterpret_cast<HDC>(m.WParam));
            m.Result = SKIN_PAINT_KEY;
            return;
        }
        break;
    case WM_MOUSEWHEEL:
        TListBox::WndProc(m);
        if (!SkinListBox) return;
        // One line a notch, whatever the delta.
        if (SkinListBox->ScrollBar) {
            SendMessageW(Handle(), WM_VSCROLL, GET_WHEEL_DELTA_WPARAM(m.WParam) > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
            SkinListBox->UpDateScrollBar();
        } else if (TbsSkinScrollBar* h = SkinListBox->HScrollBar) {
            const int delta = static_cast<int>(static_cast<int32_t>(m.WParam));
            h->SetPosition(h->Position() + (delta > 0 ? -h->SmallChange() : h->SmallChange()));
        }
        return;
    default: break;
    }
    TListBox::WndProc(m);
    switch (m.Msg) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
        if (SkinListBox) SkinListBox->UpDateScrollBar();
        break;
    case WM_LBUTTONDBLCLK:
        if (SkinListBox) SkinListBox->ListBoxDblClick();
        break;
    default: break;
    }
    CheckScrollState();
}

void TbsListBox::DoEnter()
{
    if (SkinListBox) SkinListBox->ListBoxEnter();
    TListBox::DoEnter();
}

void TbsListBox::DoExit()
{
    if (SkinListBox) SkinListBox->ListBoxExit();
    TListBox::DoExit();
}

void TbsListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (SkinListBox) SkinListBox->ListBoxMouseDown(Button, Shift, X, Y);
    TListBox::MouseDown(Button, Shift, X, Y);
}

void TbsListBox::MouseMove(TShiftState Shift, int X, int Y)
{
    if (SkinListBox) SkinListBox->ListBoxMouseMove(Shift, X, Y);
    TListBox::MouseMove(Shift, X, Y);
}

void TbsListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (SkinListBox) SkinListBox->ListBoxMouseUp(Button, Shift, X, Y);
    TListBox::MouseUp(Button, Shift, X, Y);
}

void TbsListBox::KeyDown(WORD& Key, TShiftState Shift)
{
    if (SkinListBox) {
        SkinListBox->ListBoxKeyDown(Key, Shift);
        if (TbsSkinScrollBar* h = SkinListBox->HScrollBar; h && (Key == VK_LEFT || Key == VK_RIGHT)) {
            h->SetPosition(h->Position() + (Key == VK_LEFT ? -h->SmallChange() : h->SmallChange()));
            Key = 0;
        }
    }
    TListBox::KeyDown(Key, Shift);
}

void TbsListBox::KeyPress(wchar_t& Key)
{
    if (SkinListBox) SkinListBox->ListBoxKeyPress(Key);
    TListBox::KeyPress(Key);
}

void TbsListBox::Click()
{
    if (SkinListBox) SkinListBox->ListBoxClick();
    TListBox::Click();
}

// ---- painting ----

TOwnerDrawState TbsListBox::GetItemState(int Index)
{
    TOwnerDrawState s;
    if (Index == ItemIndex()) {
        s.Include(odSelected);
        if (Focused()) s.Include(odFocused);
    } else if (SelCount() > 0 && Selected(Index)) {
        s.Include(odSelected);
    }
    return s;
}

void TbsListBox::DrawSkinBackground(TCanvas* C, const TRect& Area)
{
    TbsSkinCustomListBox* box = SkinListBox;
    const TRect& cl = box->ClRect;
    const int tw = RectWidth(cl), th = RectHeight(cl);
    const int w = RectWidth(Area), h = RectHeight(Area);
    if (!box->Picture || tw <= 0 || th <= 0 || w <= 0 || h <= 0) return;
    TBitmap tile(tw, th);
    tile.Canvas()->CopyRect(Rect(0, 0, tw, th), box->Picture->Canvas(),
                            Bounds(box->SkinRect.Left + cl.Left, box->SkinRect.Top + cl.Top, tw, th));
    TBitmap b(w, h);
    for (int y = 0; y < h; y += th)
        for (int x = 0; x < w; x += tw) b.Canvas()->Draw(x, y, &tile);
    C->Draw(Area.Left, Area.Top, &b);
}

void TbsListBox::PaintBackgroundToDC(HDC DC)
{
    if (!SkinListBox) return;
    SkinListBox->GetSkinData();
    TCanvas c;
    c.SetHandle(DC);
    const TRect all = Rect(0, 0, Width(), Height());
    if (SkinListBox->SkinIndex() == -1) {
        c.Brush()->SetColor(clWindow);
        c.FillRect(all);
    } else {
        DrawSkinBackground(&c, all);
    }
    c.SetHandle(nullptr);
}

void TbsListBox::PaintWindowStep(HDC DC)
{
    const int w = Width(), h = Height();
    if (w <= 0 || h <= 0 || !SkinListBox) return;
    const int saved = SaveDC(DC);
    const int ih = std::max(1, ItemHeight()), top = TopIndex();
    if (Columns() <= 0) {
        const int last = std::min(top + h / ih, Count() - 1);
        int bottom = 0;
        for (int i = top; i <= last; ++i) {
            const TRect r = ItemRect(i);
            DrawItemTo(DC, i, r, GetItemState(i));
            bottom = r.Bottom;
        }
        if (bottom < h) {
            SkinListBox->GetSkinData();
            TCanvas c;
            c.SetHandle(DC);
            const TRect rest = Rect(0, bottom, w, h);
            if (SkinListBox->SkinIndex() == -1) {
                c.Brush()->SetColor(clWindow);
                c.FillRect(rest);
            } else {
                DrawSkinBackground(&c, rest);
            }
            c.SetHandle(nullptr);
        }
    } else {
        // Columns leave gaps the items do not cover: the background goes first.
        PaintBackgroundToDC(DC);
        const int last = std::min(top + (h / ih) * Columns(), Count() - 1);
        for (int i = top; i <= last; ++i) DrawItemTo(DC, i, ItemRect(i), GetItemState(i));
    }
    RestoreDC(DC, saved);
}

void TbsListBox::DrawItemTo(HDC DC, int Index, const TRect& R, TOwnerDrawState State)
{
    if (Index < 0 || Index >= Count() || !SkinListBox) return;
    TbsSkinCustomListBox* box = SkinListBox;
    const int w = R.Width();
    int h = R.Height();
    const bool skinned = box->SkinIndex() != -1;
    if (skinned && !box->Picture) return;
    if (skinned && box->UseSkinItemHeight()) h = RectHeight(box->SItemRect);
    if (w <= 0 || h <= 0) return;
    TBitmap b(w, h);
    TCanvas* c = b.Canvas();
    if (!skinned)
        DrawDefaultItem(c, Index, w, h, State);
    else if (box->UseSkinItemHeight())
        DrawSkinItem(c, Index, w, h, State);
    else
        DrawStretchSkinItem(c, Index, w, h, State);
    BitBlt(DC, R.Left, R.Top, w, h, c->Handle(), 0, 0, SRCCOPY);
}

void TbsListBox::SkinItemFont(TCanvas* C)
{
    TbsSkinCustomListBox* box = SkinListBox;
    if (box->UseSkinFont()) {
        C->Font()->SetName(box->FontName);
        C->Font()->SetStyle(box->FontStyle);
        C->Font()->SetHeight(box->FontHeight);
    } else {
        C->Font()->Assign(box->DefaultFont());
    }
    C->Font()->SetCharset(box->SkinCharset(box->DefaultFont()->Charset()));
}

void TbsListBox::DrawDefaultItem(TCanvas* C, int Index, int W, int H, TOwnerDrawState State)
{
    TbsSkinCustomListBox* box = SkinListBox;
    C->Font()->SetName(box->Font()->Name());
    C->Font()->SetStyle(box->Font()->Style());
    C->Font()->SetHeight(box->Font()->Height());
    C->Font()->SetCharset(box->SkinCharset(box->DefaultFont()->Charset()));
    const bool selected = State.Contains(odSelected);
    C->Brush()->SetColor(selected ? clHighlight : clWindow);
    C->Font()->SetColor(selected ? clHighlightText : box->Font()->Color());
    C->FillRect(Rect(0, 0, W, H));
    const TRect text = Rect(2, 0, W - 2, H);
    if (box->OnDrawItem) {
        box->OnDrawItem(C, Index, W, H, text, State);
    } else {
        DrawItemContent(C, Index, text);
    }
    if (State.Contains(odFocused)) C->DrawFocusRect(Rect(0, 0, W, H));
}

void TbsListBox::DrawStretchSkinItem(TCanvas* C, int Index, int W, int H, TOwnerDrawState State)
{
    TbsSkinCustomListBox* box = SkinListBox;
    const bool focused = State.Contains(odFocused), selected = State.Contains(odSelected);
    const TRect src = focused ? box->FocusItemRect : selected ? box->ActiveItemRect : box->SItemRect;
    const TRect& t = box->ItemTextRect;
    if (!IsNullRect(src)) {
        TBitmap work(W, H);
        CreateStretchImage(&work, box->Picture, src, Rect(t.Left + 1, t.Top + 1, t.Right - 1, t.Bottom - 1), true);
        C->Draw(0, 0, &work);
    }
    const TRect text =
        Rect(t.Left, t.Top, t.Right + W - RectWidth(box->SItemRect), t.Bottom + H - RectHeight(box->SItemRect));
    SkinItemFont(C);
    C->Font()->SetColor(focused ? box->FocusFontColor : selected ? box->ActiveFontColor : box->FontColor);
    C->Brush()->SetStyle(bsClear);
    if (box->OnDrawItem) {
        box->OnDrawItem(C, Index, W, RectHeight(box->SItemRect), text, State);
        return;
    }
    if (focused && box->ShowFocus) {
        C->Brush()->SetStyle(bsSolid);
        if (box->SkinData() && box->SkinData()->SkinColors())
            C->Brush()->SetColor(box->SkinData()->SkinColors()->cBtnFace());
        DrawDottedFocusRect(C, Rect(0, 0, W, H));
        C->Brush()->SetStyle(bsClear);
    }
    DrawItemContent(C, Index, text);
}

void TbsListBox::DrawSkinItem(TCanvas* C, int Index, int W, int H, TOwnerDrawState State)
{
    TbsSkinCustomListBox* box = SkinListBox;
    const bool focused = State.Contains(odFocused), selected = State.Contains(odSelected);
    TRect src = box->SItemRect;
    bool stretch = false;
    if (focused && selected) {
        src = box->FocusItemRect;
        stretch = box->StretchEffect;
    } else if (selected) {
        src = box->ActiveItemRect;
        stretch = box->StretchEffect;
    } else if (focused) {
        stretch = box->StretchEffect;
    }
    SkinItemFont(C);
    C->Font()->SetColor(selected && focused ? box->FocusFontColor : selected ? box->ActiveFontColor : box->FontColor);
    if (!IsNullRect(src)) {
        TBitmap work;
        CreateHSkinImage(box->ItemLeftOffset, box->ItemRightOffset, &work, box->Picture, src, W, H, stretch);
        C->Draw(0, 0, &work);
    }
    if (focused && !selected) DrawDottedFocusRect(C, Rect(0, 0, W, H));
    const TRect& t = box->ItemTextRect;
    const TRect text = Rect(t.Left, t.Top, t.Right + W - RectWidth(box->SItemRect), t.Bottom);
    C->Brush()->SetStyle(bsClear);
    if (box->OnDrawItem) {
        box->OnDrawItem(C, Index, W, H, text, State);
        return;
    }
    if (focused && box->ShowFocus) {
        C->Brush()->SetStyle(bsSolid);
        if (box->SkinData() && box->SkinData()->SkinColors())
            C->Brush()->SetColor(box->SkinData()->SkinColors()->cBtnFace());
        DrawDottedFocusRect(C, Rect(0, 0, W, H));
        C->Brush()->SetStyle(bsClear);
    }
    DrawItemContent(C, Index, text);
}

void TbsListBox::DrawItemContent(TCanvas* C, int Index, TRect TextRect)
{
    TbsSkinCustomListBox* box = SkinListBox;
    C->Brush()->SetStyle(bsClear);
    int offset = 0;
    if (TCustomImageList* images = box->Images()) {
        const int image = box->ImageIndex() >= 0 ? box->ImageIndex() : Index;
        if (image < images->Count())
            images->Draw(C, TextRect.Left - FHorizontalExtentValue,
                         TextRect.Top + TextRect.Height() / 2 - images->Height() / 2, image, true);
        offset = images->Width() + 2;
    }
    const String text = Items()->Get(Index);
    if (box->TabWidths()->Count() > 0 && Columns() == 0)
        DrawTabbedText(C, box->TabWidths(), text, TextRect, offset);
    else
        DrawClippedTextIndent(C, text, TextRect, offset - FHorizontalExtentValue);
}
