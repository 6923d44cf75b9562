#include "skin/boxes/custom_edit.h"

#include <clocale>

#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/framework/graphics/bitmap.h"
#include "skin/core/parent_background.h"
#include "skin/core/resource_strings.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_messages.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_menu.h"
#include "skin/form/skin_popup_menu.h"

namespace {

// The decimal separator of the program's locale.
wchar_t DecimalSeparator()
{
    const std::lconv* l = std::localeconv();
    return l && l->decimal_point && l->decimal_point[0] ? static_cast<wchar_t>(l->decimal_point[0]) : L'.';
}

bool KeyHeld(int Vk) { return GetKeyState(Vk) < 0; }

// The interface texts of Form: its first skinned form's skin model's table, or nullptr.
TbsResourceStrData* TextTableOf(TCustomForm* Form)
{
    TbsSkinForm* sf = FindSkinForm(Form);
    TbsSkinData* sd = sf ? sf->SkinData() : nullptr;
    return sd ? sd->ResourceStrData() : nullptr;
}

}  // namespace

// ---- TbsCustomEdit ----

TbsCustomEdit::TbsCustomEdit(TComponent* AOwner) : TCustomEdit(AOwner) { FControlStyle.Include(csOpaque); }

TbsCustomEdit::~TbsCustomEdit()
{
    CloseSysPopupMenu(true);
    if (FSysPopupMenu) FSysPopupMenu->Free();
    FSysPopupMenu = nullptr;
}

void TbsCustomEdit::CloseSysPopupMenu(bool Destroying)
{
    // The open levels show the menu's items: they close before the items go.
    TCustomForm* f = FSysPopupMenu ? FSysPopupMenu->ComponentForm() : nullptr;
    if (!f || (f->ComponentState() & csDestroying)) return;
    TbsSkinForm* sf = FindSkinForm(f);
    auto* engine = sf ? dynamic_cast<TbsSkinMenu*>(sf->SkinMenuEngine()) : nullptr;
    if (!engine || !engine->Visible() || engine->PopupCtrl != this) return;
    // A dying edit hears nothing more.
    if (Destroying) engine->PopupCtrl = nullptr;
    engine->Hide();
}

void TbsCustomEdit::SetEditTransparent(bool Value)
{
    FEditTransparent = Value;
    if (HandleAllocated()) RecreateWnd();
}

void TbsCustomEdit::CreateParams(TCreateParams& p)
{
    TCustomEdit::CreateParams(p);
    p.Style &= ~static_cast<DWORD>(WS_BORDER);
    p.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
    // A multi-line window showing one line: its formatting rectangle can be set.
    p.Style |= PasswordChar() ? ES_PASSWORD : ES_MULTILINE;
}

void TbsCustomEdit::SetMargins()
{
    if (HandleAllocated()) SendMessageW(FHandle, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(2, 0));
}

void TbsCustomEdit::CreateWnd()
{
    TCustomEdit::CreateWnd();
    SetMargins();
}

void TbsCustomEdit::Change()
{
    TCustomEdit::Change();
    if (FEditTransparent) RepaintBuffered();
}

void TbsCustomEdit::BufferSize(int& W, int& H)
{
    W = Width();
    H = Height();
}

void TbsCustomEdit::BufferedPass(HDC Target, bool Caret)
{
    if (!HandleAllocated() || !Target) return;
    int w = 0, h = 0;
    BufferSize(w, h);
    // Every handle is given back on the way out, whatever step fails.
    struct Pass {
        TbsCustomEdit* edit;
        HWND wnd;
        bool caret;
        HDC mem = nullptr;
        HBITMAP bmp = nullptr;
        HGDIOBJ old = nullptr;
        ~Pass()
        {
            if (old) SelectObject(mem, old);
            if (bmp) DeleteObject(bmp);
            if (mem) DeleteDC(mem);
            if (caret) ShowCaret(wnd);
            edit->FStopDraw = false;
        }
    } pass{this, FHandle, Caret};
    FStopDraw = true;
    if (Caret) HideCaret(FHandle);
    pass.mem = CreateCompatibleDC(Target);
    if (!pass.mem) return;
    pass.bmp = CreateCompatibleBitmap(Target, w + 1, h + 1);
    if (!pass.bmp) return;
    pass.old = SelectObject(pass.mem, pass.bmp);
    SendMessageW(FHandle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(pass.mem), 0);
    SendMessageW(FHandle, WM_PAINT, reinterpret_cast<WPARAM>(pass.mem), 0);
    BitBlt(Target, 0, 0, w, h, pass.mem, 0, 0, SRCCOPY);
}

void TbsCustomEdit::RepaintBuffered()
{
    if (!HandleAllocated()) return;
    HDC dc = GetDC(FHandle);
    if (!dc) return;
    struct Release {
        HWND wnd;
        HDC dc;
        ~Release() { ReleaseDC(wnd, dc); }
    } release{FHandle, dc};
    BufferedPass(dc, true);
}

void TbsCustomEdit::PaintBufferedTo(HDC DC) { BufferedPass(DC, false); }

void TbsCustomEdit::CreateSysPopupMenu()
{
    CloseSysPopupMenu(false);
    if (FSysPopupMenu) FSysPopupMenu->Free();
    FSysPopupMenu = new TbsSkinPopupMenu(this);
    TCustomForm* form = GetParentForm();
    while (form && form->Parent()) form = form->Parent()->GetParentForm();
    // An MDI child's menus open through the main form.
    if (form && form->FormStyle() == fsMDIChild && Application && Application->MainForm())
        FSysPopupMenu->SetComponentForm(Application->MainForm());
    else
        FSysPopupMenu->SetComponentForm(form);
    TbsResourceStrData* table = form ? TextTableOf(form) : nullptr;
    DWORD s = 0, e = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    const bool selection = s < e;
    const bool all = s == 0 && e == static_cast<DWORD>(Text().size());
    // The menu engine tells the edit (WM_SKINMENU_COMMAND) once a command has run; the menu goes then.
    auto add = [&](const wchar_t* key, const wchar_t* english, bool enabled, UINT msg) {
        auto* item = new TMenuItem(FSysPopupMenu);
        if (!key) {
            item->SetCaption(L"-");
        } else {
            item->SetCaption(table ? table->GetResStr(key) : String(english));
            item->SetEnabled(enabled);
            item->OnClick = [this, msg](TObject*) {
                if (msg == EM_SETSEL)
                    SelectAll();
                else
                    Perform(msg, 0, 0);
            };
        }
        FSysPopupMenu->Items()->Add(item);
    };
    add(L"EDIT_UNDO", L"Undo", CanUndo(), WM_UNDO);
    add(nullptr, nullptr, false, 0);
    add(L"EDIT_CUT", L"Cut", selection && !ReadOnly(), WM_CUT);
    add(L"EDIT_COPY", L"Copy", selection, WM_COPY);
    add(L"EDIT_PASTE", L"Paste", !ClipboardText().empty() && !ReadOnly(), WM_PASTE);
    add(L"EDIT_DELETE", L"Delete", selection && !ReadOnly(), WM_CLEAR);
    add(nullptr, nullptr, false, 0);
    add(L"EDIT_SELECTALL", L"Select All", !all, EM_SETSEL);
}

void TbsCustomEdit::WndProc(TMessage& m)
{
    const bool designing = ComponentState() & csDesigning;
    switch (m.Msg) {
    case WM_CHAR: {
        const wchar_t ch = static_cast<wchar_t>(m.WParam);
        if (ch == 27 || ch == 13) {
            // To the form as a dialog key, never into the text.
            wchar_t key = ch;
            if (OnKeyPress) OnKeyPress(this, key);
            if (TCustomForm* form = GetParentForm()) form->Perform(CM_DIALOGKEY, ch, m.LParam);
            m.Result = 0;
            return;
        }
        if (ReadOnly() && ch != 3) return;
        TCustomEdit::WndProc(m);
        if (FEditTransparent) RepaintBuffered();
        return;
    }
    case WM_GETDLGCODE:
        TCustomEdit::WndProc(m);
        // The multi-line window takes Enter and Esc itself (the single-line password one does not).
        if (!PasswordChar()) m.Result |= DLGC_WANTALLKEYS;
        return;
    case WM_KEYDOWN:
        if (ReadOnly()) {
            // What would change the text: Delete, and the shortcuts that cut, paste or undo.
            const bool ctrl = KeyHeld(VK_CONTROL), shift = KeyHeld(VK_SHIFT);
            if (m.WParam == VK_DELETE || (ctrl && (m.WParam == 'X' || m.WParam == 'V' || m.WParam == 'Z')) ||
                (shift && m.WParam == VK_INSERT))
                return;
        }
        break;
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
        if (ReadOnly()) return;
        break;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
        if (FEditTransparent && !designing) {
            HDC dc = reinterpret_cast<HDC>(m.WParam);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, ColorToRGB(Font()->Color()));
            m.Result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
            return;
        }
        break;
    case WM_ERASEBKGND:
        if (FEditTransparent && !designing) {
            if (FStopDraw) {
                TBitmap b(Width(), Height());
                PaintParentBackground(this, b.Canvas());
                BitBlt(reinterpret_cast<HDC>(m.WParam), 0, 0, Width(), Height(), b.Canvas()->Handle(), 0, 0, SRCCOPY);
            } else {
                RepaintBuffered();
            }
            m.Result = 1;
            return;
        }
        break;
    case WM_PAINT:
        if (FEditTransparent && !designing && !FStopDraw) {
            PAINTSTRUCT ps;
            HDC dc = reinterpret_cast<HDC>(m.WParam);
            const bool own = !dc;
            if (own) dc = BeginPaint(FHandle, &ps);
            PaintBufferedTo(dc);
            ShowCaret(FHandle);
            if (own) EndPaint(FHandle, &ps);
            m.Result = 0;
            return;
        }
        break;
    case WM_LBUTTONDOWN:
        TCustomEdit::WndProc(m);
        FDown = true;
        if (FEditTransparent) RepaintBuffered();
        return;
    case WM_LBUTTONUP:
        TCustomEdit::WndProc(m);
        FDown = false;
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TCustomEdit::WndProc(m);
        if (FEditTransparent) RepaintBuffered();
        return;
    case WM_SETFONT:
        TCustomEdit::WndProc(m);
        SetMargins();
        return;
    case CM_CANCELMODE:
        TCustomEdit::WndProc(m);
        if (OnEditCancelMode) OnEditCancelMode(reinterpret_cast<TControl*>(m.LParam));
        return;
    case WM_CONTEXTMENU: {
        if (PopupMenu()) break;
        CreateSysPopupMenu();
        int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
        if (x < 0 || y < 0) {
            // From the keyboard: the middle of the edit.
            const TPoint o = ClientToScreen(Point(0, 0));
            x = o.X + Width() / 2;
            y = o.Y + Height() / 2;
        }
        // Shows nothing on a form without a skinned form or skin data.
        FSysPopupMenu->Popup2(this, x, y);
        m.Result = 1;
        return;
    }
    case WM_SKINMENU_COMMAND:
        if (FSysPopupMenu) FSysPopupMenu->Free();
        FSysPopupMenu = nullptr;
        return;
    default: break;
    }
    TCustomEdit::WndProc(m);
}

// ---- TbsSkinNumEdit ----

TbsSkinNumEdit::TbsSkinNumEdit(TComponent* AOwner) : TbsCustomEdit(AOwner) {}

bool TbsSkinNumEdit::IsValidChar(wchar_t C)
{
    const wchar_t sep = DecimalSeparator();
    const bool control = C < 32 && C != 13;
    bool valid = C == L'-' || (C >= L'0' && C <= L'9') || control || (Float && C <= 255 && C == sep);
    if (!FEditorEnabled && valid && (C >= 32 || C == 8)) valid = false;
    const String text = Text();
    if (Float && C == sep) return valid && text.find(sep) == String::npos;
    if (C == L'-') {
        if (SelStart() == 0 && SelLength() > 0) return true;
        if (SelStart() != 0) return false;
        if (text.find(L'-') != String::npos) return false;
    }
    return valid;
}

void TbsSkinNumEdit::KeyDown(WORD& Key, TShiftState Shift)
{
    if (Key == VK_UP || Key == VK_DOWN) {
        TNotifyEvent& e = Key == VK_UP ? OnUpClick : OnDownClick;
        Key = 0;
        if (e) e(this);
        return;
    }
    TbsCustomEdit::KeyDown(Key, Shift);
}

void TbsSkinNumEdit::KeyPress(wchar_t& Key)
{
    if (!IsValidChar(Key)) {
        Key = 0;
        MessageBeep(0);
    }
    if (Key != 0) TbsCustomEdit::KeyPress(Key);
}

void TbsSkinNumEdit::WndProc(TMessage& m)
{
    if (m.Msg == WM_MOUSEWHEEL) {
        TNotifyEvent& e = GET_WHEEL_DELTA_WPARAM(m.WParam) <= 0 ? OnUpClick : OnDownClick;
        if (e) e(this);
        m.Result = 1;
        return;
    }
    TbsCustomEdit::WndProc(m);
}
