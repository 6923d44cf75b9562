// The edit base and the numeric edit: Enter and Esc to the form's buttons, read-only by dropped
// messages, the context menu shown through the skinned form's menus (items, captions from the
// skin's text table, commands chosen in the shown level, life), the numeric filter with its beep,
// and the transparent off-screen repaint over a striped parent with every handle given back.
#include <gtest/gtest.h>

#include "platform/framework/controls/custom_control.h"
#include "platform/win/handle_table.h"
#include "skin/boxes/custom_edit.h"
#include "skin/controls/skin_button.h"
#include "skin/core/resource_strings.h"
#include "skin/core/skin_messages.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_menu.h"
#include "skin/form/skin_menu_item.h"
#include "skin/form/skin_popup_menu.h"
#include "skin/form/skin_popup_window.h"
#include "tests/skin/boxes/box_fixture.h"

namespace {

// A parent painting vertical stripes of red and blue, four pixels each.
class TStripes : public TCustomControl {
public:
    explicit TStripes(TComponent* AOwner) : TCustomControl(AOwner) { FControlStyle.Include(csAcceptsControls); }

protected:
    void Paint() override
    {
        for (int x = 0; x < Width(); x += 4) {
            Canvas()->Brush()->SetColor((x / 4) % 2 ? clBlue : clRed);
            Canvas()->FillRect(Rect(x, 0, x + 4, Height()));
        }
    }
};

struct EditTest : BoxFixture {
    TbsCustomEdit* E = nullptr;
    TbsSkinForm* SF = nullptr;

    void SetUp() override
    {
        BoxFixture::SetUp();
        // The edit's menu shows through the skinned form's menus.
        SF = new TbsSkinForm(Form);
        SF->SetSkinData(Model);
        E = new TbsCustomEdit(Form);
        E->SetParent(Form);
        E->SetBounds(10, 10, 120, 20);
        ShowForm();
        E->SetFocus();
        Pump();
    }
    TbsSkinMenu* Engine() const { return dynamic_cast<TbsSkinMenu*>(SF->SkinMenuEngine()); }
    int Levels() const { return Engine()->PopupCount(); }
    // The captions and enabled states of the menu the last request built.
    std::vector<std::pair<String, bool>> Menu()
    {
        std::vector<std::pair<String, bool>> r;
        if (TPopupMenu* m = E->SysPopupMenu())
            for (int i = 0; i < m->Items()->Count(); ++i)
                r.push_back({m->Items()->Items(i)->Caption(), m->Items()->Items(i)->Enabled()});
        return r;
    }
    // The captions of the open level's entries.
    std::vector<String> Shown()
    {
        std::vector<String> r;
        if (Levels() == 0) return r;
        TbsSkinPopupWindow* w = Engine()->FPopupList[0];
        for (int i = 0; i < w->ItemCount(); ++i) r.push_back(w->Item(i)->MenuItem->Caption());
        return r;
    }
    void AskForMenu() { E->Perform(WM_CONTEXTMENU, 0, MAKELPARAM(50, 60)); }
    // Entry Index of the open level chosen with the mouse.
    void Choose(int Index)
    {
        ASSERT_GE(Levels(), 1);
        TbsSkinPopupWindow* w = Engine()->FPopupList[0];
        const TRect r = w->Item(Index)->ObjectRect;
        const TPoint p = w->ClientToScreen(Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
        vxwin::InjectMouseMove(p.X, p.Y);
        Pump();
        vxwin::InjectMouseButton(0, true, p.X, p.Y);
        Pump();
        vxwin::InjectMouseButton(0, false, p.X, p.Y);
        Pump();
    }
};

}  // namespace

TEST_F(EditTest, EnterAndEscPressTheDefaultAndCancelButtonsAndLeaveTheText)
{
    int defaults = 0, cancels = 0;
    std::vector<wchar_t> pressed;
    auto* ok = new TbsSkinButton(Form);
    ok->SetParent(Form);
    ok->SetBounds(10, 50, 60, 20);
    ok->SetDefault(true);
    ok->OnClick = [&](TObject*) { ++defaults; };
    auto* cancel = new TbsSkinButton(Form);
    cancel->SetParent(Form);
    cancel->SetBounds(80, 50, 60, 20);
    cancel->SetCancel(true);
    cancel->OnClick = [&](TObject*) { ++cancels; };
    E->OnKeyPress = [&](TObject*, wchar_t& k) {
        pressed.push_back(k);
        if (k == 13 || k == 27) k = L'x';  // changes nothing of what the form hears
    };
    E->SetFocus();
    Type(L"ab");
    Key(VK_RETURN, kNoMods, L"\r");
    Key(VK_ESCAPE, kNoMods, L"\x1b");
    EXPECT_EQ(E->Text(), L"ab");
    EXPECT_EQ(defaults, 1);
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(pressed, (std::vector<wchar_t>{L'a', L'b', 13, 27}));
}

TEST_F(EditTest, ReadOnlyDropsWhatWouldChangeTheTextButKeepsCaretSelectionAndCopying)
{
    E->SetText(L"hello");
    E->SetReadOnly(true);
    SetClipboardText(L"clip");
    E->SelectAll();
    struct Row {
        const char* what;
        std::function<void()> act;
    } rows[] = {
        {"typing", [] { Type(L"x"); }},
        {"Backspace", [] { Key(VK_BACK, kNoMods, L"\b"); }},
        {"Delete", [] { Key(VK_DELETE); }},
        {"Ctrl+X", [] { Key('X', kCtrl); }},
        {"Ctrl+V", [] { Key('V', kCtrl); }},
        {"Shift+Insert", [] { Key(VK_INSERT, kShift); }},
        {"WM_CUT", [this] { E->Perform(WM_CUT); }},
        {"WM_PASTE", [this] { E->Perform(WM_PASTE); }},
        {"WM_CLEAR", [this] { E->Perform(WM_CLEAR); }},
        {"WM_UNDO", [this] { E->Perform(WM_UNDO); }},
    };
    for (const Row& r : rows) {
        r.act();
        EXPECT_EQ(E->Text(), L"hello") << r.what;
    }
    Key(VK_HOME);
    EXPECT_EQ(E->SelStart(), 0);
    Key(VK_RIGHT, kShift);
    Key(VK_RIGHT, kShift);
    EXPECT_EQ(E->SelLength(), 2);
    Key('C', kCtrl);
    EXPECT_EQ(ClipboardText(), L"he");
}

TEST_F(EditTest, TheMenuItemsFollowTheSelectionReadOnlyAndClipboard)
{
    using Items = std::vector<std::pair<String, bool>>;
    SetClipboardText(L"");
    AskForMenu();
    EXPECT_EQ(Menu(), (Items{{L"Undo", false},
                             {L"-", true},
                             {L"Cut", false},
                             {L"Copy", false},
                             {L"Paste", false},
                             {L"Delete", false},
                             {L"-", true},
                             {L"Select All", false}}))
        << "an empty edit counts as fully selected";
    EXPECT_EQ(Shown(), (std::vector<String>{L"Undo", L"-", L"Cut", L"Copy", L"Paste", L"Delete", L"-", L"Select All"}))
        << "the skinned level shows the eight entries, in English without a text table";
    Engine()->Hide();
    Type(L"abc");
    E->SetSelStart(1);
    E->SetSelLength(1);
    SetClipboardText(L"z");
    AskForMenu();
    EXPECT_EQ(Menu(), (Items{{L"Undo", true},
                             {L"-", true},
                             {L"Cut", true},
                             {L"Copy", true},
                             {L"Paste", true},
                             {L"Delete", true},
                             {L"-", true},
                             {L"Select All", true}}));
    E->SetReadOnly(true);
    AskForMenu();
    EXPECT_EQ(Levels(), 1) << "a new request replaces the open menu";
    EXPECT_EQ(Menu(), (Items{{L"Undo", true},
                             {L"-", true},
                             {L"Cut", false},
                             {L"Copy", true},
                             {L"Paste", false},
                             {L"Delete", false},
                             {L"-", true},
                             {L"Select All", true}}));
    // Undo stays on in a read-only edit and changes nothing.
    Choose(0);
    EXPECT_EQ(E->Text(), L"abc");
    EXPECT_EQ(Levels(), 0);
    EXPECT_EQ(E->SysPopupMenu(), nullptr) << "freed once its command ran";
}

TEST_F(EditTest, ChoicesInTheShownMenuRunOnTheEditAndFreeIt)
{
    Type(L"abc");
    SetClipboardText(L"");
    AskForMenu();
    Choose(7);  // Select All
    EXPECT_EQ(E->SelStart(), 0);
    EXPECT_EQ(E->SelLength(), 3);
    EXPECT_EQ(E->SysPopupMenu(), nullptr);
    AskForMenu();
    Choose(3);  // Copy
    EXPECT_EQ(ClipboardText(), L"abc");
    E->SetSelStart(3);
    E->SetSelLength(0);
    AskForMenu();
    Choose(4);  // Paste
    EXPECT_EQ(E->Text(), L"abcabc");
    EXPECT_EQ(E->SysPopupMenu(), nullptr);
    // A menu closed without a choice stays until the next request.
    AskForMenu();
    TbsSkinPopupMenu* kept = E->SysPopupMenu();
    Engine()->Hide();
    EXPECT_EQ(E->SysPopupMenu(), kept);
}

TEST_F(EditTest, CaptionsComeFromTheSkinsTableAndAMissingKeyIsEmpty)
{
    auto* table = new TbsResourceStrData(Form);
    TStringList lines;
    lines.Add(L"EDIT_UNDO=撤销");
    lines.Add(L"EDIT_COPY=复制");
    table->SetResStrings(&lines);
    Model->SetResourceStrData(table);
    AskForMenu();
    auto items = Menu();
    ASSERT_EQ(items.size(), 8u);
    EXPECT_EQ(items[0].first, L"撤销");
    EXPECT_EQ(items[2].first, L"") << "EDIT_CUT is missing";
    EXPECT_EQ(items[3].first, L"复制");
    EXPECT_EQ(items[7].first, L"");
    EXPECT_EQ(Shown()[3], L"复制");
}

TEST_F(EditTest, TheMenuOpensAtThePointOrFromTheKeyboardAtTheCentre)
{
    AskForMenu();
    ASSERT_EQ(Levels(), 1);
    EXPECT_EQ(E->SysPopupMenu()->PopupPoint(), Point(50, 60));
    Engine()->Hide();
    Key(VK_APPS);
    ASSERT_EQ(Levels(), 1);
    EXPECT_EQ(E->SysPopupMenu()->PopupPoint(), E->ClientToScreen(Point(60, 10)));
    Engine()->Hide();
    // A menu of the edit's own takes the request instead.
    TbsSkinPopupMenu* last = E->SysPopupMenu();
    auto* own = new TPopupMenu(Form);
    own->SetAutoPopup(false);
    E->SetPopupMenu(own);
    AskForMenu();
    EXPECT_EQ(E->SysPopupMenu(), last);
    EXPECT_EQ(Levels(), 0);
}

TEST_F(EditTest, NoMenuShowsWithoutSkinDataAndAFreedEditClosesItsOpenMenu)
{
    SF->SetSkinData(nullptr);
    AskForMenu();
    EXPECT_EQ(Levels(), 0);
    EXPECT_EQ(E->SysPopupMenu()->PopupPoint(), Point(-1, -1));
    SF->SetSkinData(Model);
    AskForMenu();
    ASSERT_EQ(Levels(), 1);
    // The level shows the edit's items: it closes before they go.
    E->Free();
    E = nullptr;
    Pump();
    EXPECT_EQ(Levels(), 0);
    EXPECT_FALSE(Engine()->Visible());
}

TEST_F(EditTest, ACancelModeNoticeNamesItsSender)
{
    std::vector<TControl*> senders;
    E->OnEditCancelMode = [&](TControl* c) { senders.push_back(c); };
    auto* other = new TbsCustomEdit(Form);
    other->SetParent(Form);
    other->SetBounds(10, 60, 50, 20);
    Pump();
    ClickAt(other, 5, 5);
    ASSERT_EQ(senders.size(), 1u);
    EXPECT_EQ(senders[0], other);
}

TEST_F(EditTest, ATransparentEditShowsTheStripesBehindItAndGivesEveryHandleBack)
{
    auto* stripes = new TStripes(Form);
    stripes->SetParent(Form);
    stripes->SetBounds(0, 40, 200, 40);
    auto* t = new TbsCustomEdit(Form);
    t->SetParent(stripes);
    t->SetBounds(8, 10, 100, 20);
    t->SetEditTransparent(true);
    t->SetText(L"");
    Pump();
    t->RepaintBuffered();
    for (int x = 1; x < 90; x += 4) EXPECT_EQ(PixelAt(t, x, 10), ((x + 8) / 4) % 2 ? 0x0000FFu : 0xFF0000u) << x;
    t->RepaintBuffered();
    const size_t handles = vxwin::LiveHandleCount();
    for (int i = 0; i < 5; ++i) {
        t->RepaintBuffered();
        TBitmap b(100, 20);
        t->PaintBufferedTo(b.Canvas()->Handle());
    }
    Type(L"abc");
    EXPECT_EQ(vxwin::LiveHandleCount(), handles);
}

// ---- the numeric edit ----

TEST_F(EditTest, TheNumericEditAdmitsANumberAndBeepsAtTheRest)
{
    auto* n = new TbsSkinNumEdit(Form);
    n->SetParent(Form);
    n->SetBounds(10, 40, 100, 20);
    struct Row {
        const wchar_t* text;
        int selStart, selLength;
        wchar_t ch;
        bool floatMode, editorEnabled;
        bool valid;
    } rows[] = {
        {L"", 0, 0, L'5', false, true, true},    {L"", 0, 0, L'-', false, true, true},
        {L"", 0, 0, L'.', false, true, false},   {L"", 0, 0, L'a', false, true, false},
        {L"", 0, 0, 3, false, true, true},       {L"-1", 0, 0, L'-', false, true, false},
        {L"12", 1, 0, L'-', false, true, false}, {L"-12", 0, 2, L'-', false, true, true},
        {L"1", 1, 0, L'.', true, true, true},    {L"1.5", 3, 0, L'.', true, true, false},
        {L"", 0, 0, L'5', false, false, false},  {L"1", 1, 0, 8, false, false, false},
        {L"", 0, 0, 3, false, false, true},      {L"12", 0, 2, L'-', false, false, true},
    };
    for (const Row& r : rows) {
        n->SetText(r.text);
        n->SetSelStart(r.selStart);
        n->SetSelLength(r.selLength);
        n->Float = r.floatMode;
        n->SetEditorEnabled(r.editorEnabled);
        EXPECT_EQ(n->IsValidChar(r.ch), r.valid) << "'" << static_cast<int>(r.ch) << "' in \"" << r.text << "\"";
    }
    n->Float = false;
    n->SetEditorEnabled(true);
    n->SetText(L"");
    n->SetFocus();
    const unsigned beeps = vxwin::BeepCount();
    Type(L"1a.-2");
    EXPECT_EQ(n->Text(), L"12");
    EXPECT_EQ(vxwin::BeepCount(), beeps + 3);
}

TEST_F(EditTest, UpDownAndTheWheelClickTheNumericEditsButtons)
{
    auto* n = new TbsSkinNumEdit(Form);
    n->SetParent(Form);
    n->SetBounds(10, 40, 100, 20);
    int ups = 0, downs = 0, keyDowns = 0;
    n->OnUpClick = [&](TObject*) { ++ups; };
    n->OnDownClick = [&](TObject*) { ++downs; };
    n->OnKeyDown = [&](TObject*, WORD&, TShiftState) { ++keyDowns; };
    n->SetFocus();
    Key(VK_UP);
    Key(VK_DOWN);
    Key(VK_DOWN);
    n->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, -120));  // towards the user
    n->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, 120));
    EXPECT_EQ(ups, 2);
    EXPECT_EQ(downs, 3);
    EXPECT_EQ(keyDowns, 0);
}
