// The combo box's edit style: the inner edit over the item area, its hooked window procedure,
// the arrow-key steps, the completion and the edit's change.
#include <algorithm>

#include "platform/win/system_api.h"
#include "skin/boxes/skin_combo_box.h"
#include "skin/core/marks.h"

namespace {
constexpr DWORD kCompletionPauseMs = 200;
}

void TbsSkinCustomComboBox::SetStyle(TbsSkinCustomComboBoxStyle Value)
{
    FStyle = Value;
    if (Value == bscbEditStyle) {
        // Setting the edit style again keeps the edit it made.
        if (!FEdit) CreateEditControl();
        if (!(ComponentState() & csDesigning)) {
            FEdit->SetTabStop(FTabStop);
            SetTabStop(false);
        }
        FEdit->SetText(FText);
        if (Focused() && FEdit->CanFocus()) FEdit->SetFocus();
    } else if (FEdit) {
        if (!(ComponentState() & csDesigning)) SetTabStop(FEdit->TabStop());
        FEdit->SetVisible(false);
        FreeEdit();
    }
    CalcRects();
    if (HandleAllocated()) RecreateWnd();
    PlaceEdit();
    Invalidate();
}

void TbsSkinCustomComboBox::FreeEdit()
{
    if (!FEdit) return;
    // Detached first: the focus moving on while its window goes must not come back to it.
    TbsCustomEdit* e = FEdit;
    FEdit = nullptr;
    e->SetWindowProc(FEditWindowProc);
    e->OnChange = nullptr;
    e->OnEditCancelMode = nullptr;
    e->Free();
}

void TbsSkinCustomComboBox::SetCharCase(TEditCharCase Value)
{
    FCharCase = Value;
    if (FEdit) FEdit->SetCharCase(Value);
}

void TbsSkinCustomComboBox::SetToolButtonStyle(bool Value)
{
    if (FToolButtonStyle == Value) return;
    FToolButtonStyle = Value;
    if (Value) {
        if (FStyle != bscbFixedStyle) SetStyle(bscbFixedStyle);
        FUseSkinSize = false;
    }
    CalcRects();
    Invalidate();
}

void TbsSkinCustomComboBox::CreateEditControl()
{
    FEdit = new TbsCustomEdit(this);
    FEdit->SetParent(this);
    FEdit->SetColor(FDefaultColor);
    FEdit->SetAutoSize(false);
    FEdit->SetHideSelection(FHideSelection);
    FEdit->SetCharCase(FCharCase);
    FEdit->OnChange = [this](TObject*) { EditChange(); };
    FEditWindowProc = FEdit->WindowProc();
    FEdit->SetWindowProc([this](TMessage& m) { EditWndProc(m); });
    FEdit->OnEditCancelMode = [this](TControl* C) {
        TMessage m{CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(C), 0};
        Dispatch(m);
    };
    FEdit->OnKeyDown = [this](TObject*, WORD& Key, TShiftState Shift) {
        if (OnKeyDown) OnKeyDown(this, Key, Shift);
    };
    FEdit->OnKeyPress = [this](TObject*, wchar_t& Key) {
        if (OnKeyPress) OnKeyPress(this, Key);
    };
    FEdit->OnKeyUp = [this](TObject*, WORD& Key, TShiftState Shift) {
        if (OnKeyUp) OnKeyUp(this, Key, Shift);
    };
    if (FIndex == -1) {
        FEdit->Font()->Assign(&FFont);
    } else {
        FEdit->Font()->SetStyle(FontStyle);
        FEdit->Font()->SetColor(FontColor);
        FEdit->Font()->SetHeight(FontHeight);
        FEdit->Font()->SetName(FontName);
    }
    FEdit->SetEditTransparent(FIndex != -1);
    FEdit->SetVisible(true);
    CalcRects();
    PlaceEdit();
}

void TbsSkinCustomComboBox::PlaceEdit()
{
    if (!FEdit) return;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FEdit->Font()->Handle());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    const int h = tm.tmHeight;
    FEdit->SetBounds(CBItem.R.Left, CBItem.R.Top + (CBItem.R.Height() - h) / 2, CBItem.R.Width(), h);
}

void TbsSkinCustomComboBox::EditChange()
{
    FromEdit = true;
    const String t = FEdit->Text();
    if (!t.empty()) {
        const int i = static_cast<int>(
            FListBox->ListBox->Perform(LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(t.c_str())));
        if (i >= 0) {
            if (FAutoComplete)
                FListBox->SetItemIndex(i);
            else
                FListBox->SetTopIndex(i);
        }
    }
    SetText(t);
    FromEdit = false;
}

void TbsSkinCustomComboBox::EditStep(int Delta, bool WithText)
{
    const int i = ItemIndex(), n = Items()->Count();
    if (Delta < 0 ? i <= 0 : i >= n - 1) return;
    FListBox->SetItemIndex(i + Delta);
    if (!WithText) return;
    SetText(Items()->Strings(i + Delta));
    FEdit->SelectAll();
    if (OnClick) OnClick(this);
}

void TbsSkinCustomComboBox::EditCompletion()
{
    const DWORD now = GetTickCount();
    if (now - FLastTime <= kCompletionPauseMs) return;
    FLastTime = now;
    const String typed = FEdit->Text();
    if (typed.empty()) return;
    const int start = typed.size() == 1 ? ItemIndex() : -1;
    const int i = static_cast<int>(
        FListBox->ListBox->Perform(LB_FINDSTRING, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(typed.c_str())));
    if (i < 0) return;
    SetItemIndex(i);
    const int newLength = static_cast<int>(FEdit->Text().size());
    FEdit->SetSelStart(static_cast<int>(typed.size()));
    FEdit->SetSelLength(newLength - static_cast<int>(typed.size()));
}

bool TbsSkinCustomComboBox::EastAsianCharset() const
{
    const TFontCharset c = SkinCharset(FDefaultFont->Charset());
    return c == SHIFTJIS_CHARSET || c == GB2312_CHARSET || c == CHINESEBIG5_CHARSET;
}

void TbsSkinCustomComboBox::EditWndProc(TMessage& m)
{
    auto pass = [&] {
        if (FEditWindowProc) FEditWindowProc(m);
    };
    const bool skinActive = FIndex != -1 && !IsNullRect(ActiveSkinRect);
    switch (m.Msg) {
    case CM_WANTSPECIALKEY:
        // Enter and Esc close an open list here instead of pressing the form's buttons.
        if ((m.WParam == VK_ESCAPE || m.WParam == VK_RETURN) && IsPopupVisible()) {
            m.Result = 1;
            return;
        }
        break;
    case WM_SETFOCUS:
        if (skinActive) {
            FEdit->Font()->SetColor(ActiveFontColor);
            Invalidate();
        }
        break;
    case WM_KILLFOCUS:
        if (IsPopupVisible()) CloseUp(false);
        if (skinActive) {
            FEdit->Font()->SetColor(FontColor);
            Invalidate();
        }
        break;
    case WM_KEYDOWN:
        switch (m.WParam) {
        case VK_RETURN:
            if (IsPopupVisible()) CloseUp(true);
            break;
        case VK_ESCAPE:
            if (IsPopupVisible()) CloseUp(false);
            break;
        case VK_PRIOR:
            if (IsPopupVisible()) FListBox->SetItemIndex(std::max(0, ItemIndex() - FDropDownCount - 1));
            break;
        case VK_NEXT:
            if (IsPopupVisible())
                FListBox->SetItemIndex(std::min(Items()->Count() - 1, ItemIndex() + FDropDownCount - 1));
            break;
        case VK_UP: EditStep(-1, true); return;
        case VK_DOWN: EditStep(1, true); return;
        default: break;
        }
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (EastAsianCharset()) {
            if (m.WParam != VK_DELETE && m.WParam != VK_BACK) {
                FEdit->ClearSelection();
                pass();
                if (FAutoComplete) EditCompletion();
                return;
            }
        } else if (m.Msg == WM_KEYUP && m.WParam >= 48) {
            pass();
            if (FAutoComplete) EditCompletion();
            return;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        if (IsPopupVisible()) CloseUp(false);
        break;
    case WM_MOUSEWHEEL: EditStep(GET_WHEEL_DELTA_WPARAM(m.WParam) > 0 ? -1 : 1, !IsPopupVisible()); break;
    default: break;
    }
    pass();
}
