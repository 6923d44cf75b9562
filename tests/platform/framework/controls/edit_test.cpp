// TEdit: typing, caret and selection by keys and mouse, MaxLength, ReadOnly, undo, the clipboard,
// OnChange and OnExit, and the EM_ messages callers send.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/framework/controls/edit.h"
#include "platform/framework/graphics/bitmap.h"
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

namespace {
// An edit with its text aligned by the window style, as the skinned edit makes it.
class TAlignedEdit : public TEdit {
public:
    TAlignedEdit(TComponent* AOwner, DWORD Align) : TEdit(AOwner), FAlign(Align) {}

protected:
    void CreateParams(TCreateParams& p) override
    {
        TEdit::CreateParams(p);
        p.Style |= FAlign;
        p.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
    }
    DWORD FAlign;
};

// Columns of the edit (its own pixels) that show something else than its background.
std::pair<int, int> InkColumns(TWinControl* c)
{
    int w = 0, h = 0;
    auto px = vxwin::WindowPixels(c->Handle(), &w, &h);
    int lo = w, hi = -1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((px[static_cast<size_t>(y * w + x)] & 0xFFFFFF) != 0xFFFFFF) {
                lo = std::min(lo, x);
                hi = std::max(hi, x);
            }
    return {lo, hi};
}
}  // namespace

TEST_F(Edits, TextAlignsByTheWindowStyle)
{
    e->SetFocus();
    auto make = [&](DWORD align, int top) {
        auto* a = new TAlignedEdit(f, align);
        a->SetBounds(10, top, 200, 20);
        a->SetParent(f);
        a->SetText(L"mmm");
        return a;
    };
    TAlignedEdit* left = make(ES_LEFT, 40);
    TAlignedEdit* centre = make(ES_CENTER, 70);
    TAlignedEdit* right = make(ES_RIGHT, 100);
    Pump();
    auto l = InkColumns(left), c = InkColumns(centre), r = InkColumns(right);
    const int w = l.second - l.first;
    EXPECT_LE(l.first, 3);
    EXPECT_NEAR(c.first, (200 - w) / 2, 2);
    EXPECT_GE(r.second, 196);
    // A click lands on the character under it in every alignment.
    Click(100 + 10 + r.first + 1, 100 + 110);
    Pump();
    EXPECT_EQ(right->SelStart(), 0);
}

TEST_F(Edits, CharCaseTurnsTypedPastedAndSetText)
{
    e->SetCharCase(ecUpperCase);
    vxwin::InjectText(L"abc");
    Pump();
    EXPECT_EQ(e->Text(), L"ABC");
    SetClipboardText(L"xy");
    e->PasteFromClipboard();
    EXPECT_EQ(e->Text(), L"ABCXY");
    e->SetText(L"mixed Case");
    EXPECT_EQ(e->Text(), L"MIXED CASE");
    e->SetCharCase(ecLowerCase);
    EXPECT_EQ(e->Text(), L"mixed case");
}

TEST_F(Edits, TheCaretIsTheLayersAndHideCaretHidesIt)
{
    e->SetText(L"");
    Pump();
    POINT caret;
    ASSERT_TRUE(GetCaretPos(&caret));
    auto at = [&] {
        int w = 0, h = 0;
        auto px = vxwin::WindowPixels(e->Handle(), &w, &h);
        RECT cr;
        ::GetClientRect(e->Handle(), &cr);
        const int ox = (w - cr.right) / 2, oy = (h - cr.bottom) / 2;  // the client edge
        return px[static_cast<size_t>((caret.y + 2 + oy) * w + caret.x + ox)] & 0xFFFFFF;
    };
    EXPECT_EQ(at(), 0x000000u) << "the caret inverts the white background";
    HideCaret(e->Handle());
    EXPECT_EQ(at(), 0xFFFFFFu);
    ShowCaret(e->Handle());
    EXPECT_EQ(at(), 0x000000u);
    // Focus elsewhere destroys it.
    auto* other = new TEdit(f);
    other->SetTop(60);
    other->SetParent(f);
    other->SetFocus();
    Pump();
    EXPECT_EQ(at(), 0xFFFFFFu);
}

namespace {
// An edit whose colour answer is NULL_BRUSH: its owner paints what lies behind it.
class TSeeThroughEdit : public TEdit {
public:
    using TEdit::TEdit;

protected:
    void WndProc(TMessage& m) override
    {
        if (m.Msg == CN_CTLCOLOREDIT || m.Msg == CN_CTLCOLORSTATIC) {
            SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
            m.Result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
            return;
        }
        TEdit::WndProc(m);
    }
};
}  // namespace

TEST_F(Edits, ANullBrushAnswerLeavesErasingAndPaintingToTheOwner)
{
    auto* t = new TSeeThroughEdit(f);
    t->SetBounds(10, 60, 100, 20);
    t->SetParent(f);
    Pump();
    TBitmap b(100, 20);
    b.Canvas()->Brush()->SetColor(clLime);
    b.Canvas()->FillRect(Rect(0, 0, 100, 20));
    HDC dc = b.Canvas()->Handle();
    t->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc));
    t->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc));
    EXPECT_EQ(Rgb(ColorToRGB(b.Canvas()->Pixels(50, 10))), 0x00FF00u);
    // The plain edit fills from its colour answer.
    e->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc));
    EXPECT_EQ(Rgb(ColorToRGB(b.Canvas()->Pixels(50, 10))), 0xFFFFFFu);
}
