// TComboBox with an edit part (csDropDown): typing changes Text and raises OnChange, the list keys
// and the dropped list still choose items and the edit shows the choice, text set in code raises
// nothing, and switching to csDropDownList drops the edit part.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/framework/controls/combo_box.h"
#include "tests/platform/framework/control_test_support.h"

namespace {
struct Combos : ApplicationFixture {
    void SetUp() override
    {
        f = MakeForm(100, 100, 400, 300, clBtnFace);
        cb = new TComboBox(f);
        cb->SetBounds(10, 10, 150, 21);
        cb->SetParent(f);
        for (const wchar_t* s : {L"MKV格式", L"AVI格式", L"MP4"}) cb->Items()->Add(s);
        cb->OnChange = [this](TObject*) { log.push_back("change:" + std::to_string(cb->ItemIndex())); };
        cb->OnClick = [this](TObject*) { log.push_back("click"); };
        f->Show();
        cb->SetFocus();
        Pump();
    }
    TForm* f = nullptr;
    TComboBox* cb = nullptr;
    std::vector<std::string> log;
};
}  // namespace

TEST_F(Combos, TypingIntoTheEditPartChangesTextAndRaisesOnChange)
{
    ASSERT_EQ(cb->Style(), csDropDown);
    ASSERT_TRUE(cb->EditPart());
    EXPECT_TRUE(cb->EditPart()->Focused());
    vxwin::InjectText(L"MP");
    Pump();
    EXPECT_EQ(cb->Text(), L"MP");
    EXPECT_EQ(cb->ItemIndex(), -1);
    EXPECT_EQ(log, (std::vector<std::string>{"change:-1", "change:-1"}));
    vxwin::InjectText(L"4");  // the text of an item selects it
    Pump();
    EXPECT_EQ(cb->ItemIndex(), 2);
    vxwin::InjectText(L"\b");
    PressKey(VK_LEFT);
    vxwin::InjectText(L"x");
    Pump();
    EXPECT_EQ(cb->Text(), L"MxP");
    EXPECT_EQ(cb->SelStart(), 2);

    // Text set in code shows in the edit part and raises nothing.
    log.clear();
    cb->SetText(L"AVI格式");
    EXPECT_EQ(cb->EditPart()->Text(), L"AVI格式");
    EXPECT_EQ(cb->ItemIndex(), 1);
    EXPECT_TRUE(log.empty());
}

TEST_F(Combos, TheListStillChoosesAndTheEditShowsTheChoice)
{
    PressKey(VK_DOWN);  // from the edit part: the next item
    Pump();
    EXPECT_EQ(cb->ItemIndex(), 0);
    EXPECT_EQ(cb->EditPart()->Text(), L"MKV格式");
    EXPECT_EQ(cb->EditPart()->SelLength(), 5);  // the chosen text is selected, ready to overtype
    EXPECT_EQ(log, (std::vector<std::string>{"click", "change:0"}));

    // Dropped by a click on the button; the third row (20 pixels each, from 2) is chosen.
    log.clear();
    TPoint button = cb->ClientToScreen(Point(cb->Width() - 5, 10));
    TPoint below = cb->ClientToScreen(Point(0, cb->Height()));
    Click(button.X, button.Y);
    Click(below.X + 30, below.Y + 2 + 2 * 20 + 10);
    Pump();
    EXPECT_EQ(cb->ItemIndex(), 2);
    EXPECT_EQ(cb->Text(), L"MP4");
    EXPECT_EQ(cb->EditPart()->Text(), L"MP4");
    EXPECT_EQ(log, (std::vector<std::string>{"click", "change:2"}));

    // A plain drop-down list has no edit part: typing does not change the text.
    cb->SetStyle(csDropDownList);
    EXPECT_EQ(cb->EditPart(), nullptr);
    cb->SetFocus();
    Pump();
    vxwin::InjectText(L"zz");
    Pump();
    EXPECT_EQ(cb->Text(), L"MP4");
}
