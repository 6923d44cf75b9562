#include "platform/framework/controls/edit.h"

#include <algorithm>
#include <cwctype>

#include "platform/framework/controls/edit_common_messages.h"
#include "platform/framework/controls/plain_draw.h"

namespace {
String& Clipboard()
{
    static String text;
    return text;
}

bool IsWordChar(wchar_t c) { return std::iswalnum(c) || c == L'_' || c > 0x2E80; }
}  // namespace

String ClipboardText() { return Clipboard(); }
void SetClipboardText(const String& Text) { Clipboard() = Text; }

TCustomEdit::TCustomEdit(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    FWidth = 121;
    FHeight = 21;
    FTabStop = true;
    FColor = clWindow;
    FCursor = crIBeam;
}

void TCustomEdit::SetMaxLength(int v) { FMaxLength = std::max(0, v); }

void TCustomEdit::SetReadOnly(bool v) { SetAndInvalidate(FReadOnly, v); }

void TCustomEdit::SetPasswordChar(wchar_t v) { SetAndInvalidate(FPasswordChar, v); }

void TCustomEdit::SetHideSelection(bool v) { SetAndInvalidate(FHideSelection, v); }

String TCustomEdit::Cased(const String& s) const
{
    if (FCharCase == ecNormal) return s;
    String r = s;
    for (wchar_t& c : r)
        c = static_cast<wchar_t>(FCharCase == ecUpperCase ? std::towupper(static_cast<wint_t>(c))
                                                          : std::towlower(static_cast<wint_t>(c)));
    return r;
}

void TCustomEdit::SetCharCase(TEditCharCase v)
{
    if (v == FCharCase) return;
    FCharCase = v;
    const String cased = Cased(FText);
    if (cased == FText) return;
    const int anchor = FAnchor, caret = FCaret;
    SetText(cased);
    FAnchor = anchor;
    FCaret = caret;
    Invalidate();
}

void TCustomEdit::SetBorderStyle(TFormBorderStyle v)
{
    if (v == FBorderStyle) return;
    FBorderStyle = v;
    if (!FHandle) return;
    // The border is the window's sunken client edge, in its non-client area.
    LONG_PTR ex = GetWindowLongPtrW(FHandle, GWL_EXSTYLE);
    SetWindowLongPtrW(FHandle, GWL_EXSTYLE, v == bsSingle ? (ex | WS_EX_CLIENTEDGE) : (ex & ~WS_EX_CLIENTEDGE));
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate();
}

void TCustomEdit::CreateParams(TCreateParams& p)
{
    TCustomControl::CreateParams(p);
    if (FBorderStyle == bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
}

// ---- selection ----

int TCustomEdit::SelStart() const { return std::min(FAnchor, FCaret); }
int TCustomEdit::SelLength() const { return std::abs(FCaret - FAnchor); }

void TCustomEdit::SetSelStart(int v)
{
    v = std::clamp(v, 0, static_cast<int>(FText.size()));
    FAnchor = FCaret = v;
    ScrollToCaret();
    Invalidate();
}

void TCustomEdit::SetSelLength(int v)
{
    int s = SelStart();
    FAnchor = s;
    FCaret = std::clamp(s + std::max(0, v), 0, static_cast<int>(FText.size()));
    ScrollToCaret();
    Invalidate();
}

String TCustomEdit::SelText() const
{
    return FText.substr(static_cast<size_t>(SelStart()), static_cast<size_t>(SelLength()));
}

void TCustomEdit::SetSelText(const String& v) { ReplaceSelection(v, true); }

void TCustomEdit::SelectAll()
{
    FAnchor = 0;
    FCaret = static_cast<int>(FText.size());
    Invalidate();
}

void TCustomEdit::ClearSelection()
{
    if (SelLength() > 0) ReplaceSelection(L"", true);
}

void TCustomEdit::CopyToClipboard()
{
    if (SelLength() > 0 && !FPasswordChar) Clipboard() = SelText();
}

void TCustomEdit::CutToClipboard()
{
    if (FReadOnly || FPasswordChar) return;
    CopyToClipboard();
    ClearSelection();
}

void TCustomEdit::PasteFromClipboard()
{
    if (FReadOnly) return;
    String s = Clipboard();
    // One line: the text up to the first line break.
    size_t br = s.find_first_of(L"\r\n");
    if (br != String::npos) s.resize(br);
    ReplaceSelection(s, true);
}

void TCustomEdit::Undo()
{
    if (!FCanUndo) return;
    String cur = FText;
    int curCaret = FCaret;
    FText = FUndoText;
    FAnchor = FCaret = std::min(FUndoCaret, static_cast<int>(FText.size()));
    FUndoText = cur;
    FUndoCaret = curCaret;
    SyncWindowText();
    FModified = true;
    ScrollToCaret();
    Invalidate();
    Change();
}

void TCustomEdit::SyncWindowText()
{
    if (!FHandle) return;
    FSyncing = true;
    SetWindowTextW(FHandle, FText.c_str());
    FSyncing = false;
}

void TCustomEdit::ReplaceSelection(const String& in, bool undoable)
{
    String s = Cased(in);
    int start = SelStart(), len = SelLength();
    if (FMaxLength > 0) {
        int room = FMaxLength - (static_cast<int>(FText.size()) - len);
        if (room < static_cast<int>(s.size())) s.resize(static_cast<size_t>(std::max(0, room)));
    }
    if (s.empty() && len == 0) return;
    if (undoable) {
        FUndoText = FText;
        FUndoCaret = FCaret;
        FCanUndo = true;
    }
    FText.replace(static_cast<size_t>(start), static_cast<size_t>(len), s);
    FAnchor = FCaret = start + static_cast<int>(s.size());
    SyncWindowText();
    FModified = true;
    ScrollToCaret();
    Invalidate();
    Change();
}

void TCustomEdit::MoveCaret(int pos, bool extend)
{
    pos = std::clamp(pos, 0, static_cast<int>(FText.size()));
    FCaret = pos;
    if (!extend) FAnchor = pos;
    ScrollToCaret();
    Invalidate();
}

void TCustomEdit::Change()
{
    Perform(CM_CHANGED);
    if (OnChange && !(ComponentState() & (csLoading | csDestroying))) OnChange(this);
}

// ---- layout ----

String TCustomEdit::DisplayText() const { return FPasswordChar ? String(FText.size(), FPasswordChar) : FText; }

int TCustomEdit::TextLeft() const { return (FHasFormatRect ? FFormatRect.Left : 0) + FLeftMargin; }

TRect TCustomEdit::TextArea()
{
    TRect r = FHasFormatRect ? FFormatRect : ClientRect();
    r.Left += FLeftMargin;
    r.Right = std::max(r.Left, r.Right - FRightMargin);
    return r;
}

int TCustomEdit::WidthOf(const String& s)
{
    if (s.empty()) return 0;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FFont.Handle());
    SIZE sz;
    GetTextExtentPoint32W(dc, s.c_str(), static_cast<int>(s.size()), &sz);
    SelectObject(dc, old);
    DeleteDC(dc);
    return sz.cx;
}

int TCustomEdit::TextOriginX()
{
    const DWORD align = FHandle ? static_cast<DWORD>(GetWindowLongW(FHandle, GWL_STYLE)) & (ES_CENTER | ES_RIGHT) : 0;
    if (align != ES_LEFT) {
        // Centred and right-aligned text that fits does not scroll.
        const TRect area = TextArea();
        const int w = WidthOf(DisplayText());
        if (w <= area.Width()) return align == ES_RIGHT ? area.Right - w : area.Left + (area.Width() - w) / 2;
    }
    return TextLeft() - FScrollX;
}

int TCustomEdit::CaretFromX(int X)
{
    String d = DisplayText();
    int x = X - TextOriginX();
    int prev = 0;
    for (size_t i = 1; i <= d.size(); ++i) {
        int w = WidthOf(d.substr(0, i));
        if (x < (prev + w) / 2) return static_cast<int>(i) - 1;
        prev = w;
    }
    return static_cast<int>(d.size());
}

void TCustomEdit::ScrollToCaret()
{
    int room = TextArea().Width();
    if (room <= 0) return;
    int x = WidthOf(DisplayText().substr(0, static_cast<size_t>(FCaret)));
    if (x - FScrollX > room) FScrollX = x - room;
    if (x < FScrollX) FScrollX = x;
}

// ---- painting ----

void TCustomEdit::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    HDC dc = c->Handle();
    // Colours come from the colour query (a skinned edit answers NULL_BRUSH and paints the
    // background itself); the border is the non-client edge.
    HBRUSH bg = ControlColor(dc, FEnabled && !FReadOnly ? CN_CTLCOLOREDIT : CN_CTLCOLORSTATIC);
    COLORREF textColor = GetTextColor(dc);
    if (bg && bg != reinterpret_cast<HBRUSH>(GetStockObject(NULL_BRUSH))) {
        RECT all{r.Left, r.Top, r.Right, r.Bottom};
        FillRect(dc, &all, bg);
    }
    int saved = SaveDC(dc);
    TRect area = FHasFormatRect ? FFormatRect : r;
    IntersectClipRect(dc, area.Left, area.Top, area.Right, area.Bottom);
    HGDIOBJ old = SelectObject(dc, FFont.Handle());
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    int y = area.Top + (area.Height() - tm.tmHeight) / 2;
    int x0 = TextOriginX();
    String d = DisplayText();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, textColor);
    TextOutW(dc, x0, y, d.c_str(), static_cast<int>(d.size()));
    bool focused = Focused();
    if (SelLength() > 0 && (focused || !FHideSelection)) {
        int s = SelStart(), e = s + SelLength();
        int xs = x0 + WidthOf(d.substr(0, static_cast<size_t>(s)));
        int xe = x0 + WidthOf(d.substr(0, static_cast<size_t>(e)));
        RECT sel{xs, y, xe, y + tm.tmHeight};
        HBRUSH b = CreateSolidBrush(ColorToRGB(clHighlight));
        FillRect(dc, &sel, b);
        DeleteObject(b);
        SetTextColor(dc, ColorToRGB(clHighlightText));
        String part = d.substr(static_cast<size_t>(s), static_cast<size_t>(e - s));
        TextOutW(dc, xs, y, part.c_str(), static_cast<int>(part.size()));
    }
    SelectObject(dc, old);
    RestoreDC(dc, saved);
    if (focused) PlaceCaret(x0 + WidthOf(d.substr(0, static_cast<size_t>(FCaret))), y, tm.tmHeight);
}

void TCustomEdit::PlaceCaret(int X, int Y, int H)
{
    if (!FHandle || GetFocus() != FHandle) return;
    if (!FCaretMade) {
        CreateCaret(FHandle, nullptr, 1, H);
        ShowCaret(FHandle);
        FCaretMade = true;
    }
    SetCaretPos(X, Y);
}

// ---- input ----

void TCustomEdit::DoEnter()
{
    if (FAutoSelect && !FMouseSelecting && !(GetKeyState(VK_LBUTTON) < 0)) SelectAll();
    TCustomControl::DoEnter();
}

void TCustomEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        FMouseSelecting = true;
        if (CanFocus() && !Focused()) SetFocus();
        if (Shift.Contains(ssDouble)) {
            SelectAll();
        } else {
            MoveCaret(CaretFromX(X), Shift.Contains(ssShift));
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomEdit::MouseMove(TShiftState Shift, int X, int Y)
{
    if (FMouseSelecting && FControlState.Contains(csLButtonDown)) MoveCaret(CaretFromX(X), true);
    TCustomControl::MouseMove(Shift, X, Y);
}

bool TCustomEdit::WantsKey(WORD Key) { return Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN; }

void TCustomEdit::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case EM_GETRECT:
        if (m.LParam) {
            TRect a = FHasFormatRect ? FFormatRect : ClientRect();
            *reinterpret_cast<RECT*>(m.LParam) = RECT{a.Left, a.Top, a.Right, a.Bottom};
        }
        return;
    case EM_SETRECT:
    case EM_SETRECTNP:
        // The formatting rectangle (0: back to the client area); the text is drawn and hit there.
        FHasFormatRect = m.LParam != 0;
        if (m.LParam) {
            const RECT& r = *reinterpret_cast<const RECT*>(m.LParam);
            FFormatRect = Rect(r.left, r.top, r.right, r.bottom);
        }
        ScrollToCaret();
        if (m.Msg == EM_SETRECT) Invalidate();
        return;
    case EM_SETMARGINS:
        if (m.WParam & EC_LEFTMARGIN) FLeftMargin = LOWORD(m.LParam);
        if (m.WParam & EC_RIGHTMARGIN) FRightMargin = HIWORD(m.LParam);
        ScrollToCaret();
        Invalidate();
        return;
    case EM_GETMARGINS: m.Result = MAKELPARAM(FLeftMargin, FRightMargin); return;
    default: break;
    }
    if ((m.Msg == CN_CTLCOLOREDIT || m.Msg == CN_CTLCOLORSTATIC) && !FEnabled) {
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        SetTextColor(dc, ColorToRGB(clGrayText));
        SetBkColor(dc, ColorToRGB(clBtnFace));
        m.Result = reinterpret_cast<LRESULT>(ColorBrush(clBtnFace));
        return;
    }
    switch (m.Msg) {
    case WM_SETTEXT:
        TCustomControl::Dispatch(m);
        if (FSyncing) return;
        if (FCharCase != ecNormal && Cased(FText) != FText) {
            FText = Cased(FText);
            SyncWindowText();
        }
        FAnchor = FCaret = 0;
        FScrollX = 0;
        FCanUndo = false;
        FModified = false;
        Invalidate();
        Change();
        return;
    case WM_LBUTTONUP: FMouseSelecting = false; break;
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    case WM_SETFOCUS: Invalidate(); break;
    case WM_KILLFOCUS:
        if (FCaretMade) {
            DestroyCaret();
            FCaretMade = false;
        }
        Invalidate();
        break;
    case WM_ERASEBKGND: {
        // The background of the colour query; NULL_BRUSH leaves it to the owner.
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        HBRUSH bg = ControlColor(dc, FEnabled && !FReadOnly ? CN_CTLCOLOREDIT : CN_CTLCOLORSTATIC);
        if (dc && bg && bg != reinterpret_cast<HBRUSH>(GetStockObject(NULL_BRUSH))) {
            RECT r;
            ::GetClientRect(FHandle, &r);
            FillRect(dc, &r, bg);
        }
        m.Result = 1;
        return;
    }
    case WM_KEYDOWN: {
        if (DoKeyDown(m)) return;
        bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
        int n = static_cast<int>(FText.size());
        auto wordLeft = [&](int p) {
            while (p > 0 && !IsWordChar(FText[static_cast<size_t>(p - 1)])) --p;
            while (p > 0 && IsWordChar(FText[static_cast<size_t>(p - 1)])) --p;
            return p;
        };
        auto wordRight = [&](int p) {
            while (p < n && IsWordChar(FText[static_cast<size_t>(p)])) ++p;
            while (p < n && !IsWordChar(FText[static_cast<size_t>(p)])) ++p;
            return p;
        };
        switch (m.WParam) {
        case VK_LEFT:
            if (!shift && SelLength() > 0 && !ctrl)
                MoveCaret(SelStart(), false);
            else
                MoveCaret(ctrl ? wordLeft(FCaret) : FCaret - 1, shift);
            return;
        case VK_RIGHT:
            if (!shift && SelLength() > 0 && !ctrl)
                MoveCaret(SelStart() + SelLength(), false);
            else
                MoveCaret(ctrl ? wordRight(FCaret) : FCaret + 1, shift);
            return;
        case VK_HOME: MoveCaret(0, shift); return;
        case VK_END: MoveCaret(n, shift); return;
        case VK_DELETE:
            if (FReadOnly) return;
            if (shift) {
                CutToClipboard();
                return;
            }
            if (SelLength() == 0) {
                if (FCaret >= n) return;
                FAnchor = FCaret;
                FCaret = ctrl ? wordRight(FCaret) : FCaret + 1;
            }
            ReplaceSelection(L"", true);
            return;
        case VK_INSERT:
            if (ctrl)
                CopyToClipboard();
            else if (shift)
                PasteFromClipboard();
            return;
        default: break;
        }
        if (ctrl && !(GetKeyState(VK_MENU) < 0)) {
            switch (m.WParam) {
            case 'A': SelectAll(); return;
            case 'C': CopyToClipboard(); return;
            case 'X': CutToClipboard(); return;
            case 'V': PasteFromClipboard(); return;
            case 'Z': Undo(); return;
            default: break;
            }
        }
        return;
    }
    case WM_CHAR: {
        if (DoKeyPress(m)) return;
        wchar_t ch = static_cast<wchar_t>(m.WParam);
        if (GetKeyState(VK_CONTROL) < 0 && ch != 8) return;  // shortcuts were handled on key down
        if (FReadOnly) return;
        if (ch == 8) {
            if (SelLength() == 0) {
                if (FCaret == 0) return;
                FAnchor = FCaret - 1;
            }
            ReplaceSelection(L"", true);
            return;
        }
        if (ch < 32 || ch == 127) return;
        ReplaceSelection(String(1, ch), true);
        return;
    }
    case EM_GETSEL: {
        auto s = static_cast<DWORD>(SelStart()), e = static_cast<DWORD>(SelStart() + SelLength());
        if (m.WParam) *reinterpret_cast<DWORD*>(m.WParam) = s;
        if (m.LParam) *reinterpret_cast<DWORD*>(m.LParam) = e;
        m.Result = static_cast<LRESULT>(MAKELPARAM(static_cast<int>(s), static_cast<int>(e)));
        return;
    }
    case EM_SETSEL: {
        int n = static_cast<int>(FText.size());
        int s = static_cast<int>(static_cast<LONG_PTR>(m.WParam)), e = static_cast<int>(m.LParam);
        if (s < 0) {
            FAnchor = FCaret = std::clamp(SelStart() + SelLength(), 0, n);  // -1: no selection
        } else {
            if (e < 0 || e > n) e = n;
            FAnchor = std::min(s, n);
            FCaret = e;
        }
        ScrollToCaret();
        Invalidate();
        return;
    }
    case EM_REPLACESEL:
        ReplaceSelection(m.LParam ? reinterpret_cast<const wchar_t*>(m.LParam) : L"", m.WParam != 0);
        return;
    case EM_LIMITTEXT: SetMaxLength(static_cast<int>(m.WParam)); return;
    case EM_GETLINECOUNT: m.Result = 1; return;
    case EM_SETPASSWORDCHAR: SetPasswordChar(static_cast<wchar_t>(m.WParam)); return;
    case EM_GETPASSWORDCHAR: m.Result = FPasswordChar; return;
    case EM_SCROLLCARET:
        ScrollToCaret();
        Invalidate();
        return;
    default: break;
    }
    if (DispatchCommonEditMessage(*this, m)) return;
    TCustomControl::Dispatch(m);
}
