// The editing side of TCustomMemo: places in the text and their flat offsets, selection, replacing
// text across lines, undo, the clipboard and the caret keys.
#include <algorithm>
#include <cwctype>

#include "platform/framework/controls/edit.h"
#include "platform/framework/controls/memo.h"

namespace {
// Splits at CR LF, CR or LF; a trailing break gives a trailing empty line.
std::vector<String> SplitLines(const String& s)
{
    std::vector<String> out(1);
    for (size_t i = 0; i < s.size(); ++i) {
        wchar_t c = s[i];
        if (c == L'\r' || c == L'\n') {
            if (c == L'\r' && i + 1 < s.size() && s[i + 1] == L'\n') ++i;
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    return out;
}

bool IsWordChar(wchar_t c) { return std::iswalnum(c) || c == L'_' || c > 0x2E80; }
}  // namespace

// ---- places ----

String TCustomMemo::JoinedText() const
{
    String s;
    for (int i = 0; i < FLines.Count(); ++i) {
        if (i) s += L"\r\n";
        s += FLines.Get(i);
    }
    return s;
}

int TCustomMemo::OffsetOf(const TMemoPos& p) const
{
    int off = 0;
    for (int i = 0; i < p.Line && i < FLines.Count(); ++i) off += static_cast<int>(FLines.Get(i).size()) + 2;
    return off + p.Col;
}

TMemoPos TCustomMemo::PosOf(int Offset) const
{
    Offset = std::max(0, Offset);
    int n = LineCount();
    for (int i = 0; i < n; ++i) {
        int len = static_cast<int>(LineAt(i).size());
        if (Offset <= len || i == n - 1) return TMemoPos{i, std::min(Offset, len)};
        Offset -= len + 2;
        if (Offset < 0) return TMemoPos{i, len};  // inside the line break
    }
    return TMemoPos{};
}

TMemoPos TCustomMemo::Clamped(TMemoPos p) const
{
    p.Line = std::clamp(p.Line, 0, LineCount() - 1);
    p.Col = std::clamp(p.Col, 0, static_cast<int>(LineAt(p.Line).size()));
    return p;
}

// ---- selection ----

int TCustomMemo::SelStart() const { return OffsetOf(SelFirst()); }
int TCustomMemo::SelLength() const { return OffsetOf(SelLast()) - OffsetOf(SelFirst()); }

void TCustomMemo::SetSelStart(int v)
{
    FAnchor = FCaret = PosOf(v);
    FGoalX = -1;
    ScrollToCaret();
    Invalidate();
}

void TCustomMemo::SetSelLength(int v)
{
    int s = SelStart();
    FAnchor = PosOf(s);
    FCaret = PosOf(s + std::max(0, v));
    ScrollToCaret();
    Invalidate();
}

String TCustomMemo::SelText() const
{
    return JoinedText().substr(static_cast<size_t>(SelStart()), static_cast<size_t>(SelLength()));
}

void TCustomMemo::SetSelText(const String& v) { ReplaceSelection(v, true); }

void TCustomMemo::SetCaretPos(const TPoint& p) { MoveCaret(TMemoPos{p.Y, p.X}, false); }

void TCustomMemo::SelectAll()
{
    FAnchor = TMemoPos{};
    FCaret = Clamped(TMemoPos{LineCount() - 1, 1 << 30});
    Invalidate();
}

void TCustomMemo::ClearSelection()
{
    if (SelLength() > 0) ReplaceSelection(L"", true);
}

void TCustomMemo::CopyToClipboard()
{
    if (SelLength() > 0) SetClipboardText(SelText());
}

void TCustomMemo::CutToClipboard()
{
    if (FReadOnly) return;
    CopyToClipboard();
    ClearSelection();
}

void TCustomMemo::PasteFromClipboard()
{
    if (!FReadOnly) ReplaceSelection(ClipboardText(), true);
}

// ---- changing the text ----

void TCustomMemo::SetAllText(const String& s)
{
    std::vector<String> lines = SplitLines(s);
    FEditing = true;
    FLines.BeginUpdate();
    try {
        FLines.Clear();
        if (!(lines.size() == 1 && lines[0].empty()))
            for (const String& l : lines) FLines.Add(l);
    } catch (...) {
        FLines.EndUpdate();
        FEditing = false;
        throw;
    }
    FLines.EndUpdate();
    FEditing = false;
}

void TCustomMemo::ReplaceSelection(const String& s, bool Undoable, bool Typing)
{
    TMemoPos a = SelFirst(), b = SelLast();
    if (s.empty() && a == b) return;
    if (Undoable && !(Typing && FTypingRun)) {
        FUndoText = JoinedText();
        FUndoCaret = OffsetOf(FCaret);
        FCanUndo = true;
    }
    std::vector<String> parts = SplitLines(s);
    String head = LineAt(a.Line).substr(0, static_cast<size_t>(a.Col));
    String tail = LineAt(b.Line).substr(static_cast<size_t>(b.Col));
    TMemoPos end{a.Line + static_cast<int>(parts.size()) - 1, 0};
    end.Col = static_cast<int>(parts.back().size()) + (parts.size() == 1 ? a.Col : 0);
    parts.front() = head + parts.front();
    parts.back() += tail;

    FEditing = true;
    FLines.BeginUpdate();
    try {
        if (FLines.Count() == 0) FLines.Add(L"");
        for (int i = b.Line; i > a.Line; --i) FLines.Delete(i);
        FLines.Put(a.Line, parts[0]);
        for (size_t i = 1; i < parts.size(); ++i) FLines.Insert(a.Line + static_cast<int>(i), parts[i]);
        if (FLines.Count() == 1 && FLines.Get(0).empty()) FLines.Clear();
    } catch (...) {
        FLines.EndUpdate();
        FEditing = false;
        throw;
    }
    FLines.EndUpdate();
    FEditing = false;
    FAnchor = FCaret = end;
    FGoalX = -1;
    FTypingRun = Typing;
    FModified = true;
    UpdateScrollBars();
    ScrollToCaret();
    Invalidate();
    Change();
}

void TCustomMemo::Undo()
{
    if (!FCanUndo) return;
    String current = JoinedText();
    int currentCaret = OffsetOf(FCaret);
    SetAllText(FUndoText);
    FAnchor = FCaret = PosOf(FUndoCaret);
    FUndoText = current;
    FUndoCaret = currentCaret;
    FTypingRun = false;
    FGoalX = -1;
    FModified = true;
    UpdateScrollBars();
    ScrollToCaret();
    Invalidate();
    Change();
}

void TCustomMemo::MoveCaret(TMemoPos p, bool Extend, bool KeepGoal)
{
    FCaret = Clamped(p);
    if (!Extend) FAnchor = FCaret;
    if (!KeepGoal) FGoalX = -1;
    FTypingRun = false;
    ScrollToCaret();
    Invalidate();
}

// ---- keys ----

void TCustomMemo::KeyDownEdit(WORD Key, bool Shift, bool Ctrl)
{
    TMemoPos c = FCaret;
    String line = LineAt(c.Line);
    int len = static_cast<int>(line.size());
    auto vertical = [&](int lines) {
        if (FGoalX < 0) FGoalX = WidthOf(line.substr(0, static_cast<size_t>(c.Col)));
        int target = std::clamp(c.Line + lines, 0, LineCount() - 1);
        int goal = FGoalX;
        MoveCaret(TMemoPos{target, ColFromX(target, TextLeft() - FScrollX + goal)}, Shift, true);
        FGoalX = goal;
    };
    switch (Key) {
    case VK_LEFT:
        if (!Shift && !Ctrl && !(FCaret == FAnchor)) {
            MoveCaret(SelFirst(), false);
        } else if (Ctrl) {
            int p = c.Col;
            if (p == 0 && c.Line > 0) {
                MoveCaret(TMemoPos{c.Line - 1, 1 << 30}, Shift);
                return;
            }
            while (p > 0 && !IsWordChar(line[static_cast<size_t>(p - 1)])) --p;
            while (p > 0 && IsWordChar(line[static_cast<size_t>(p - 1)])) --p;
            MoveCaret(TMemoPos{c.Line, p}, Shift);
        } else {
            MoveCaret(c.Col > 0 ? TMemoPos{c.Line, c.Col - 1} : TMemoPos{c.Line - 1, 1 << 30}, Shift);
        }
        return;
    case VK_RIGHT:
        if (!Shift && !Ctrl && !(FCaret == FAnchor)) {
            MoveCaret(SelLast(), false);
        } else if (Ctrl) {
            int p = c.Col;
            if (p == len && c.Line + 1 < LineCount()) {
                MoveCaret(TMemoPos{c.Line + 1, 0}, Shift);
                return;
            }
            while (p < len && IsWordChar(line[static_cast<size_t>(p)])) ++p;
            while (p < len && !IsWordChar(line[static_cast<size_t>(p)])) ++p;
            MoveCaret(TMemoPos{c.Line, p}, Shift);
        } else if (c.Col < len || c.Line + 1 >= LineCount()) {
            MoveCaret(TMemoPos{c.Line, c.Col + 1}, Shift);
        } else {
            MoveCaret(TMemoPos{c.Line + 1, 0}, Shift);
        }
        return;
    case VK_UP: vertical(-1); return;
    case VK_DOWN: vertical(1); return;
    case VK_PRIOR:
    case VK_NEXT: {
        int page = std::max(1, VisibleLineCount() - 1) * (Key == VK_PRIOR ? -1 : 1);
        int top = FTopLine;
        vertical(page);
        SetTopLine(top + page);
        ScrollToCaret();
        return;
    }
    case VK_HOME: MoveCaret(Ctrl ? TMemoPos{} : TMemoPos{c.Line, 0}, Shift); return;
    case VK_END: MoveCaret(Ctrl ? TMemoPos{LineCount() - 1, 1 << 30} : TMemoPos{c.Line, len}, Shift); return;
    case VK_DELETE:
        if (FReadOnly) return;
        if (Shift) {
            CutToClipboard();
            return;
        }
        if (FCaret == FAnchor) {
            if (c.Col >= len && c.Line + 1 >= LineCount()) return;
            FCaret = c.Col < len ? TMemoPos{c.Line, c.Col + 1} : TMemoPos{c.Line + 1, 0};  // joins the next line
        }
        ReplaceSelection(L"", true);
        return;
    case VK_INSERT:
        if (Ctrl)
            CopyToClipboard();
        else if (Shift)
            PasteFromClipboard();
        return;
    default: break;
    }
    if (Ctrl && !(GetKeyState(VK_MENU) < 0)) {
        switch (Key) {
        case 'A': SelectAll(); return;
        case 'C': CopyToClipboard(); return;
        case 'X': CutToClipboard(); return;
        case 'V': PasteFromClipboard(); return;
        case 'Z': Undo(); return;
        default: break;
        }
    }
}

void TCustomMemo::CharTyped(wchar_t Ch)
{
    if (FReadOnly) return;
    if (Ch == 8) {
        if (FCaret == FAnchor) {
            if (FCaret.Col == 0 && FCaret.Line == 0) return;
            // At a line's start Backspace joins it to the line above.
            FAnchor = FCaret.Col > 0 ? TMemoPos{FCaret.Line, FCaret.Col - 1}
                                     : TMemoPos{FCaret.Line - 1, static_cast<int>(LineAt(FCaret.Line - 1).size())};
        }
        ReplaceSelection(L"", true);
        return;
    }
    if (Ch == L'\r' || Ch == L'\n') {
        ReplaceSelection(L"\r\n", true);
        return;
    }
    if (Ch == L'\t' && !FWantTabs) return;
    if ((Ch < 32 && Ch != L'\t') || Ch == 127) return;
    ReplaceSelection(String(1, Ch), true, true);
}
