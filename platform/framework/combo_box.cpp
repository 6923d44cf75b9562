#include "platform/framework/combo_box.h"

#include <algorithm>

#include "platform/framework/menu_popup.h"
#include "platform/framework/menus.h"
#include "platform/framework/plain_draw.h"
#include "platform/framework/strings.h"

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
}

void TCustomComboBox::SetItemIndex(int v)
{
    if (v < -1 || v >= FItems.Count()) v = -1;
    FItemIndex = v;
    StoreText(v >= 0 ? FItems.Get(v) : String());
    if (FHandle) SetWindowTextW(FHandle, FText.c_str());
    Invalidate();
}

void TCustomComboBox::SetStyle(TComboBoxStyle v)
{
    FStyle = v;
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
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTARROWS;
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Invalidate();
        break;
    case WM_SETTEXT: {
        TCustomControl::Dispatch(m);
        int i = FItems.IndexOf(FText);
        FItemIndex = i;
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
    default:
        break;
    }
    TCustomControl::Dispatch(m);
}
