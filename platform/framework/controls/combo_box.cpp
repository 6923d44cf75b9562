#include "platform/framework/controls/combo_box.h"

#include <algorithm>

#include "platform/framework/controls/plain_draw.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/forms/menu_popup.h"
#include "platform/framework/forms/menus.h"

TComboEdit::TComboEdit(TCustomComboBox* Combo) : TCustomEdit(Combo), FCombo(Combo)
{
    SetBorderStyle(bsNone);
    SetTabStop(false);
    SetParentColor(true);
}

void TComboEdit::Change()
{
    TCustomEdit::Change();
    FCombo->EditChanged();
}

void TComboEdit::Dispatch(TMessage& m)
{
    // The list keys and the box's own keys belong to the box.
    if (m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN) {
        bool alt = GetKeyState(VK_MENU) < 0;
        if (m.WParam == VK_UP || m.WParam == VK_DOWN || m.WParam == VK_F4 ||
            (m.WParam == VK_PRIOR || m.WParam == VK_NEXT) || (alt && m.WParam == VK_DOWN)) {
            FCombo->Perform(m.Msg, m.WParam, m.LParam);
            return;
        }
    }
    TCustomEdit::Dispatch(m);
}

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle = TControlStyle{csCaptureMouse, csSetCaption, csDoubleClicks};
    FWidth = 145;
    FHeight = 21;
    FTabStop = true;
    FColor = clWindow;
    FItems.OnChange = [this](TObject*) {
        if (FItemIndex >= FItems.Count()) FItemIndex = -1;
        Invalidate();
    };
    UpdateEditPart();
}

void TCustomComboBox::UpdateEditPart()
{
    bool wants = FStyle == csDropDown || FStyle == csSimple;
    if (wants && !FEdit) {
        FEdit = new TComboEdit(this);
        FEdit->SetParentFont(true);
        FEdit->SetParent(this);
        SyncEdit();
        PlaceEdit();
    } else if (!wants && FEdit) {
        TComboEdit* e = FEdit;
        FEdit = nullptr;
        e->Free();
    }
}

void TCustomComboBox::PlaceEdit()
{
    if (!FEdit) return;
    TRect r = ClientRect();
    int bw = GetSystemMetrics(SM_CXVSCROLL);
    FEdit->SetBounds(r.Left + 3, r.Top + 3, std::max(0, r.Width() - bw - 6), std::max(0, r.Height() - 6));
}

void TCustomComboBox::Resize()
{
    PlaceEdit();
    TCustomControl::Resize();
}

void TCustomComboBox::SyncEdit()
{
    if (!FEdit || FEdit->Text() == FText) return;
    FSyncingEdit = true;
    try {
        FEdit->SetText(FText);
    } catch (...) {
        FSyncingEdit = false;
        throw;
    }
    FSyncingEdit = false;
    if (FEdit->Focused()) FEdit->SelectAll();
}

void TCustomComboBox::EditChanged()
{
    if (FSyncingEdit) return;
    StoreText(FEdit->Text());
    if (FHandle) {
        FSyncingEdit = true;
        SetWindowTextW(FHandle, FText.c_str());
        FSyncingEdit = false;
    }
    FItemIndex = FItems.IndexOf(FText);
    Change();
}

void TCustomComboBox::SetItemIndex(int v)
{
    if (v < -1 || v >= FItems.Count()) v = -1;
    FItemIndex = v;
    StoreText(v >= 0 ? FItems.Get(v) : String());
    if (FHandle) SetWindowTextW(FHandle, FText.c_str());
    SyncEdit();
    Invalidate();
}

void TCustomComboBox::SetStyle(TComboBoxStyle v)
{
    if (v == FStyle) return;
    FStyle = v;
    UpdateEditPart();
    Invalidate();
}

void TCustomComboBox::Clear()
{
    FItems.Clear();
    SetItemIndex(-1);
}

void TCustomComboBox::Change()
{
    if (OnChange && !(ComponentState() & (csLoading | csDestroying))) OnChange(this);
}

void TCustomComboBox::Select()
{
    if (OnSelect)
        OnSelect(this);
    else
        Change();
}

void TCustomComboBox::UserSelect(int index)
{
    if (index < 0 || index >= FItems.Count() || index == FItemIndex) return;
    SetItemIndex(index);
    Click();
    Select();
}

void TCustomComboBox::DropDown()
{
    if (FItems.Count() == 0 || FDroppedDown) return;
    if (OnDropDown) OnDropDown(this);
    // The list is a plain popup of the items below the box.
    TMenuItem root(nullptr);
    std::vector<TMenuItem*> rows;
    for (int i = 0; i < FItems.Count(); ++i) {
        auto* it = new TMenuItem(nullptr);
        it->SetCaption(StringReplace(FItems.Get(i), L"&", L"&&", rfReplaceAll));
        if (i == FItemIndex) {
            it->SetRadioItem(true);
            it->SetChecked(true);
        }
        root.Add(it);
        rows.push_back(it);
    }
    TPoint p = ClientToScreen(Point(0, FHeight));
    FDroppedDown = true;
    Invalidate();
    TMenuItem* chosen = TrackPlainPopup(&root, p.X, p.Y);
    FDroppedDown = false;
    int index = -1;
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i] == chosen) index = static_cast<int>(i);
    Invalidate();
    if (OnCloseUp) OnCloseUp(this);
    UserSelect(index);
}

void TCustomComboBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (CanFocus() && !Focused()) SetFocus();
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft && FEnabled) {
        SetMouseCapture(false);
        DropDown();
    }
}

void TCustomComboBox::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    DrawSunkenEdge(c, r);
    c->Brush()->SetColor(FEnabled ? FColor : clBtnFace);
    c->FillRect(r);
    int bw = GetSystemMetrics(SM_CXVSCROLL);
    TRect btn = Rect(r.Right - bw, r.Top, r.Right, r.Bottom);
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(btn);
    TRect be = btn;
    DrawButtonEdge(c, be, FDroppedDown);
    // The arrow.
    c->Brush()->SetColor(FEnabled ? clBtnText : clGrayText);
    int cx = (btn.Left + btn.Right) / 2, cy = (btn.Top + btn.Bottom) / 2 - 1;
    for (int k = 0; k < 4; ++k) c->FillRect(Rect(cx - 3 + k, cy + k, cx + 4 - k, cy + k + 1));
    if (FEdit) return;  // the edit part shows the text
    TRect tr = Rect(r.Left + 2, r.Top, btn.Left - 1, r.Bottom);
    bool sel = Focused() && !FDroppedDown;
    if (sel) {
        c->Brush()->SetColor(clHighlight);
        c->FillRect(Rect(tr.Left - 1, tr.Top + 1, tr.Right, tr.Bottom - 1));
    }
    c->Font()->Assign(&FFont);
    if (sel) c->Font()->SetColor(clHighlightText);
    if (!FEnabled) c->Font()->SetColor(clGrayText);
    DrawTextIn(c, FText, tr, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void TCustomComboBox::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS; return;
    case WM_SETFOCUS:
        // Typing goes to the edit part.
        if (FEdit && FEdit->CanFocus()) {
            FEdit->SetFocus();
            FEdit->SelectAll();
            return;
        }
        Invalidate();
        break;
    case WM_KILLFOCUS: Invalidate(); break;
    case WM_SETTEXT: {
        TCustomControl::Dispatch(m);
        if (FSyncingEdit) return;
        int i = FItems.IndexOf(FText);
        FItemIndex = i;
        SyncEdit();
        Invalidate();
        return;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (DoKeyDown(m)) return;
        switch (m.WParam) {
        case VK_UP: UserSelect(std::max(0, FItemIndex - 1)); return;
        case VK_DOWN:
            if (GetKeyState(VK_MENU) < 0) {
                DropDown();
                return;
            }
            UserSelect(std::min(FItems.Count() - 1, FItemIndex + 1));
            return;
        case VK_HOME: UserSelect(0); return;
        case VK_END: UserSelect(FItems.Count() - 1); return;
        case VK_F4: DropDown(); return;
        default: break;
        }
        DefaultHandler(m);
        return;
    default: break;
    }
    TCustomControl::Dispatch(m);
}
