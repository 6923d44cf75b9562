// TEdit: typing, caret and selection by keys and mouse, MaxLength, ReadOnly, undo, the clipboard,
// OnChange and OnExit, and the EM_ messages callers send.
#include <gtest/gtest.h>

#include "platform/framework/controls/edit.h"
#include "tests/platform/framework/control_test_support.h"

namespace {
struct Edits : ApplicationFixture {
    void SetUp() override
    {
        f = MakeForm(100, 100, 300, 200, clBtnFace);
        e = new TEdit(f);
        e->SetBounds(10, 10, 200, 21);
        e->SetParent(f);
        e->OnChange = [this](TObject*) { ++changes; };
        f->Show();
        e->SetFocus();
        Pump();
    }
    TForm* f = nullptr;
    TEdit* e = nullptr;
    int changes = 0;
};
}  // namespace

TEST_F(Edits, TypingCaretSelectionAndUndo)
{
    vxwin::InjectText(L"abc文件");
    Pump();
    EXPECT_EQ(e->Text(), L"abc文件");
    EXPECT_EQ(changes, 5);
    EXPECT_TRUE(e->Modified());
    Key(VK_HOME);
    Key(VK_RIGHT, kShift);
    EXPECT_EQ(e->SelText(), L"a");
    vxwin::InjectText(L"X");
    Pump();
    EXPECT_EQ(e->Text(), L"Xbc文件");
    EXPECT_EQ(e->SelStart(), 1);
    Key(VK_END);
    vxwin::InjectText(L"\b");
    Pump();
    EXPECT_EQ(e->Text(), L"Xbc文");
    Key(VK_HOME);
    Key(VK_DELETE);
    EXPECT_EQ(e->Text(), L"bc文");
    Key('Z', kCtrl);  // one level of undo, and undo of the undo
    EXPECT_EQ(e->Text(), L"Xbc文");
    Key('Z', kCtrl);
    EXPECT_EQ(e->Text(), L"bc文");
    // Arrows stay in the edit (no focus move).
    Key(VK_RIGHT);
    EXPECT_TRUE(e->Focused());
    EXPECT_EQ(e->SelStart(), 1);
}

TEST_F(Edits, ClipboardMaxLengthAndReadOnly)
{
    e->SetText(L"hello world");
    EXPECT_EQ(e->SelStart(), 0);
    Key('A', kCtrl);
    EXPECT_EQ(e->SelLength(), 11);
    Key(VK_LEFT);
    Key(VK_RIGHT, kShift | kCtrl);  // a word with its trailing blank
    EXPECT_EQ(e->SelText(), L"hello ");
    Key('X', kCtrl);
    EXPECT_EQ(e->Text(), L"world");
    EXPECT_EQ(ClipboardText(), L"hello ");
    Key(VK_END);
    Key('V', kCtrl);
    EXPECT_EQ(e->Text(), L"worldhello ");

    e->SetMaxLength(8);
    vxwin::InjectText(L"12345");
    Pump();
    EXPECT_EQ(e->Text(), L"worldhello ");  // already longer: nothing more goes in
    e->SetText(L"1234567");                // the caret goes to the start, as after any WM_SETTEXT
    Key(VK_END);
    vxwin::InjectText(L"89");
    Pump();
    EXPECT_EQ(e->Text(), L"12345678");

    e->SetReadOnly(true);
    int before = changes;
    vxwin::InjectText(L"z");
    Key(VK_BACK);
    Key('V', kCtrl);
    Pump();
    EXPECT_EQ(e->Text(), L"12345678");
    EXPECT_EQ(changes, before);
    Key(VK_HOME);
    Key(VK_END, kShift);
    Key('C', kCtrl);  // copying still works
    EXPECT_EQ(ClipboardText(), L"12345678");
}

TEST_F(Edits, EditMessagesAndMouseSelection)
{
    e->SetText(L"abcdef");
    e->Perform(EM_SETSEL, 1, 3);
    DWORD s = 0, end = 0;
    e->Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(s, 1u);
    EXPECT_EQ(end, 3u);
    e->Perform(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"XY"));
    EXPECT_EQ(e->Text(), L"aXYdef");
    EXPECT_EQ(e->Perform(EM_CANUNDO), 1);
    e->Perform(EM_UNDO);
    EXPECT_EQ(e->Text(), L"abcdef");
    e->Perform(EM_SETSEL, 0, -1);
    EXPECT_EQ(e->SelLength(), 6);
    e->Perform(WM_COPY);
    EXPECT_EQ(ClipboardText(), L"abcdef");
    e->Perform(EM_SETREADONLY, TRUE);
    EXPECT_TRUE(e->ReadOnly());
    EXPECT_EQ(SendMessageW(e->Handle(), WM_GETTEXTLENGTH, 0, 0), 6);

    // A click far right puts the caret at the end; a drag to the left edge selects everything.
    Click(100 + 10 + 190, 100 + 20);
    Pump();
    EXPECT_EQ(e->SelStart(), 6);
    vxwin::AdvanceClock(2000);  // not a double click
    Drag(300, 120, 100, 120);
    Pump();
    EXPECT_EQ(e->SelLength(), 6);
}

TEST_F(Edits, OnExitFiresWhenTheFocusMovesAway)
{
    auto* other = new TEdit(f);
    other->SetTop(50);
    other->SetParent(f);
    int exits = 0;
    e->OnExit = [&](TObject*) { ++exits; };
    Key(VK_TAB);
    EXPECT_TRUE(other->Focused());
    EXPECT_EQ(exits, 1);
    // Re-parented into another control it keeps working (the rename box of a list).
    auto* host = new TColorPanel(f);
    host->SetBounds(0, 100, 200, 50);
    host->SetParent(f);
    e->SetParent(host);
    e->SetBounds(5, 5, 100, 20);
    e->SetFocus();
    Pump();
    EXPECT_TRUE(e->Focused());
    EXPECT_EQ(GetParent(e->Handle()), host->Handle());
}
