// TMemo editing: the caret keys across lines, Enter splitting and Backspace/Delete joining lines,
// selection by Shift and the mouse, the clipboard and undo, ReadOnly, scrolling to the caret, and
// the EM_ messages of a multi-line edit (a line break counts two characters).
#include <gtest/gtest.h>

#include "platform/framework/controls/edit.h"
#include "platform/framework/controls/memo.h"
#include "platform/framework/core/strings.h"
#include "tests/platform/framework/control_test_support.h"

namespace {
struct Memos : ApplicationFixture {
    void SetUp() override
    {
        f = MakeForm(100, 100, 300, 200, clBtnFace);
        m = new TMemo(f);
        m->SetBounds(10, 10, 200, 80);
        m->SetParent(f);
        m->OnChange = [this](TObject*) { ++changes; };
        f->Show();
        m->SetFocus();
        Pump();
    }
    void Type(const String& s)
    {
        vxwin::InjectText(s);
        Pump();
    }
    std::vector<String> Lines() const
    {
        std::vector<String> v;
        for (int i = 0; i < m->Lines()->Count(); ++i) v.push_back(m->Lines()->Get(i));
        return v;
    }
    TForm* f = nullptr;
    TMemo* m = nullptr;
    int changes = 0;
};
using L = std::vector<String>;
}  // namespace

TEST_F(Memos, EditsAtTheCaretAcrossLines)
{
    m->SetText(L"abc\r\ndef");
    EXPECT_EQ(m->SelStart(), 0);
    Type(L"X");
    EXPECT_EQ(Lines(), (L{L"Xabc", L"def"}));
    Key(VK_END);
    Type(L"\r");  // Enter splits the line at the caret
    EXPECT_EQ(Lines(), (L{L"Xabc", L"", L"def"}));
    EXPECT_EQ(m->CaretPos(), Point(0, 1));
    Key(VK_DOWN);
    Key(VK_RIGHT);
    Type(L"\r");
    EXPECT_EQ(Lines(), (L{L"Xabc", L"", L"d", L"ef"}));
    Type(L"\b");  // Backspace at a line's start joins it to the line above
    EXPECT_EQ(Lines(), (L{L"Xabc", L"", L"def"}));
    EXPECT_EQ(m->CaretPos(), Point(1, 2));
    Key(VK_UP);
    Key(VK_DELETE);  // Delete at a line's end joins the next one
    EXPECT_EQ(Lines(), (L{L"Xabc", L"def"}));
    // Up and Down keep to the caret's x past a shorter line; Home/End and Ctrl+Home/End.
    Key(VK_UP);
    Key(VK_END);
    Key(VK_DOWN);
    EXPECT_EQ(m->CaretPos(), Point(3, 1));
    Key(VK_UP);
    EXPECT_EQ(m->CaretPos(), Point(4, 0));
    Key(VK_HOME, kCtrl);
    EXPECT_EQ(m->SelStart(), 0);
    Key(VK_END, kCtrl);
    EXPECT_EQ(m->SelStart(), 4 + 2 + 3);
    Key(VK_RIGHT);  // the end stays the end
    Key(VK_LEFT);
    Key(VK_LEFT);
    Key(VK_LEFT);
    Key(VK_LEFT);  // across the line break
    EXPECT_EQ(m->CaretPos(), Point(4, 0));
    EXPECT_EQ(m->Text(), m->Lines()->Text());
    EXPECT_TRUE(m->Modified());
    EXPECT_GT(changes, 0);
}

TEST_F(Memos, SelectionClipboardAndUndo)
{
    m->SetText(L"one\r\ntwo\r\nthree");
    Key(VK_RIGHT);
    Key(VK_DOWN, kShift);
    Key(VK_RIGHT, kShift);
    EXPECT_EQ(m->SelText(), L"ne\r\ntw");
    EXPECT_EQ(m->SelStart(), 1);
    EXPECT_EQ(m->SelLength(), 6);
    Key('X', kCtrl);
    EXPECT_EQ(Lines(), (L{L"oo", L"three"}));
    EXPECT_EQ(ClipboardText(), L"ne\r\ntw");
    Key(VK_END, kCtrl);
    Key('V', kCtrl);  // pasting lines splits the line at the caret
    EXPECT_EQ(Lines(), (L{L"oo", L"threene", L"tw"}));
    EXPECT_EQ(m->CaretPos(), Point(2, 2));
    Key('Z', kCtrl);
    EXPECT_EQ(Lines(), (L{L"oo", L"three"}));
    Key('Z', kCtrl);  // undo undoes the undo
    EXPECT_EQ(Lines(), (L{L"oo", L"threene", L"tw"}));

    // A run of typing is one undo step.
    Type(L"abc");
    EXPECT_EQ(m->Lines()->Get(2), L"twabc");
    m->Undo();
    EXPECT_EQ(m->Lines()->Get(2), L"tw");
    // Select all and type replaces everything; an emptied memo has no lines.
    Key('A', kCtrl);
    Type(L"\b");
    EXPECT_EQ(m->Lines()->Count(), 0);
    EXPECT_EQ(m->SelStart(), 0);
}

TEST_F(Memos, MouseSelectsAndReadOnlyOnlyMovesAndCopies)
{
    m->SetText(L"first line\r\nsecond line\r\nthird");
    int lh = 0;
    {
        HDC dc = GetDC(m->Handle());
        SelectObject(dc, m->Font()->Handle());
        TEXTMETRICW tm;
        GetTextMetricsW(dc, &tm);
        lh = tm.tmHeight;
        ReleaseDC(m->Handle(), dc);
    }
    TPoint line1 = m->ClientToScreen(Point(4, 3 + lh + lh / 2));
    TPoint line2end = m->ClientToScreen(Point(190, 3 + 2 * lh + lh / 2));
    Click(line1.X, line1.Y);
    Pump();
    EXPECT_EQ(m->CaretPos(), Point(0, 1));
    vxwin::InjectMouseMove(line1.X, line1.Y);
    Drag(line1.X, line1.Y, line2end.X, line2end.Y);
    Pump();
    EXPECT_EQ(m->SelText(), L"second line\r\nthird");

    m->SetReadOnly(true);
    int before = changes;
    Type(L"zz\r");
    Key(VK_DELETE);
    Type(L"\b");
    SetClipboardText(L"pasted");
    Key('V', kCtrl);
    EXPECT_EQ(Lines(), (L{L"first line", L"second line", L"third"}));
    EXPECT_EQ(changes, before);
    Key('C', kCtrl);
    EXPECT_EQ(ClipboardText(), L"second line\r\nthird");
    Key(VK_HOME, kCtrl);
    EXPECT_EQ(m->SelStart(), 0);
}

TEST_F(Memos, ScrollsToTheCaretAndAnswersEditMessages)
{
    String text;
    for (int i = 0; i < 30; ++i) text += (i ? L"\r\n" : L"") + String(L"line ") + IntToStr(i);
    m->SetText(text);
    EXPECT_EQ(m->TopLine(), 0);
    int page = m->VisibleLineCount();
    ASSERT_LT(page, 30);
    Key(VK_NEXT);
    EXPECT_GT(m->CaretPos().Y, 0);
    EXPECT_GE(m->CaretPos().Y, m->TopLine());
    EXPECT_LT(m->CaretPos().Y, m->TopLine() + page);
    Key(VK_END, kCtrl);
    EXPECT_EQ(m->CaretPos().Y, 29);
    EXPECT_EQ(m->TopLine(), 30 - page);
    Key(VK_PRIOR);
    EXPECT_LT(m->CaretPos().Y, 29);
    EXPECT_LE(m->TopLine(), m->CaretPos().Y);

    EXPECT_EQ(m->Perform(EM_GETLINECOUNT), 30);
    int line3 = static_cast<int>(m->Perform(EM_LINEINDEX, 3));
    EXPECT_EQ(line3, 3 * (6 + 2));
    EXPECT_EQ(m->Perform(EM_LINEFROMCHAR, static_cast<WPARAM>(line3 + 2)), 3);
    EXPECT_EQ(m->Perform(EM_LINEFROMCHAR, static_cast<WPARAM>(line3 - 1)), 2);  // inside the break
    EXPECT_EQ(m->Perform(EM_LINEINDEX, 30), -1);

    m->Perform(EM_SETSEL, static_cast<WPARAM>(line3 + 5), line3 + 6);
    DWORD s = 0, e = 0;
    m->Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    EXPECT_EQ(s, static_cast<DWORD>(line3 + 5));
    EXPECT_EQ(e, static_cast<DWORD>(line3 + 6));
    EXPECT_EQ(m->Perform(EM_LINEINDEX, static_cast<WPARAM>(-1)), line3);
    m->Perform(EM_SCROLLCARET);
    EXPECT_LE(m->TopLine(), 3);
    m->Perform(EM_REPLACESEL, 1, reinterpret_cast<LPARAM>(L"A\r\nB"));
    EXPECT_EQ(m->Lines()->Get(3), L"line A");
    EXPECT_EQ(m->Lines()->Get(4), L"B");
    EXPECT_EQ(m->Perform(EM_GETLINECOUNT), 31);
    EXPECT_EQ(m->Perform(EM_CANUNDO), 1);
    m->Perform(WM_UNDO);
    EXPECT_EQ(m->Lines()->Get(3), L"line 3");

    // Lines added from outside bring the view and the caret to the end (a log).
    m->Lines()->Add(L"last");
    EXPECT_EQ(m->CaretPos(), Point(4, 30));
    EXPECT_EQ(m->TopLine(), 31 - page);
}
