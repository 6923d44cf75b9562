// The filter combo box on a shown form: filter texts parsed into descriptions and masks
// (malformed ones too), the mask of the chosen item, and when the items are rebuilt.
#include <gtest/gtest.h>

#include "skin/dialogs/filter_combo_box.h"
#include "tests/skin/support/skin_control_fixture.h"

namespace {

// Counts the Change hook, which a linked file list follows.
class CountingFilterCombo : public TbsSkinFilterComboBox {
public:
    using TbsSkinFilterComboBox::TbsSkinFilterComboBox;
    int Changes = 0;

protected:
    void Change() override
    {
        ++Changes;
        TbsSkinFilterComboBox::Change();
    }
};

struct FilterComboTest : SkinControlFixture {
    CountingFilterCombo* Make()
    {
        auto* c = new CountingFilterCombo(Form);
        c->SetParent(Form);
        c->SetBounds(10, 10, 150, 20);
        return c;
    }
    // "description=mask" of every item, choosing each in turn.
    static std::vector<std::string> Pairs(CountingFilterCombo* C)
    {
        std::vector<std::string> out;
        for (int i = 0; i < C->Items()->Count(); ++i) {
            C->SetItemIndex(i);
            out.push_back(StringToUtf8(C->Items()->Strings(i) + L"=" + C->Mask()));
        }
        return out;
    }
};

}  // namespace

TEST_F(FilterComboTest, ParsesDescriptionsAndMasks)
{
    using V = std::vector<std::string>;
    const struct {
        const wchar_t* Filter;
        V Pairs;
    } rows[] = {
        {L"视频文件|*.mkv;*.avi|所有文件|*.*", {"视频文件=*.mkv;*.avi", "所有文件=*.*"}},
        {L"All files (*.*)|*.*", {"All files (*.*)=*.*"}},
        {L"A|*.a|B", {"A=*.a"}},         // a last description without a mask is dropped
        {L"A|*.a|B|", {"A=*.a", "B="}},  // an empty mask is a mask
        {L"|*.x", {"=*.x"}},             // so is an empty description
        {L"A||B|*.b", {"A=", "B=*.b"}},
        {L"no bars at all", {}},
        {L"", {}},
    };
    CountingFilterCombo* c = Make();
    ShowForm();
    for (const auto& r : rows) {
        c->SetFilter(r.Filter);
        EXPECT_EQ(c->ItemIndex(), r.Pairs.empty() ? -1 : 0) << StringToUtf8(r.Filter);
        EXPECT_EQ(Pairs(c), r.Pairs) << StringToUtf8(r.Filter);
        if (r.Pairs.empty()) {
            EXPECT_EQ(c->Mask(), L"*.*");
        }
    }
}

TEST_F(FilterComboTest, ItemsComeWithTheWindow)
{
    CountingFilterCombo* c = Make();
    EXPECT_EQ(c->Filter(), L"All files (*.*)|*.*");
    c->SetFilter(L"图片|*.bmp;*.png|所有文件|*.*");
    EXPECT_EQ(c->Items()->Count(), 0);
    EXPECT_EQ(c->Mask(), L"*.*");
    ShowForm();
    ASSERT_EQ(c->Items()->Count(), 2);
    EXPECT_EQ(c->ItemIndex(), 0);
    EXPECT_EQ(c->Text(), L"图片");
    EXPECT_EQ(c->Mask(), L"*.bmp;*.png");
}

TEST_F(FilterComboTest, MaskChoosesTheLastItemWhenNoneIsChosen)
{
    CountingFilterCombo* c = Make();
    c->SetFilter(L"A|*.a|B|*.b|C|*.c");
    ShowForm();
    c->SetItemIndex(-1);
    ASSERT_EQ(c->ItemIndex(), -1);
    int clicks = 0;
    c->OnClick = [&](TObject*) { ++clicks; };
    const int changes = c->Changes;
    EXPECT_EQ(c->Mask(), L"*.c");
    EXPECT_EQ(c->ItemIndex(), 2);
    EXPECT_EQ(c->Text(), L"C");
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(c->Changes, changes + 1);
}

TEST_F(FilterComboTest, AFilterDifferingOnlyInCaseChangesNothing)
{
    CountingFilterCombo* c = Make();
    c->SetFilter(L"Videos|*.MKV|All|*.*");
    ShowForm();
    c->SetItemIndex(1);
    const int changes = c->Changes;
    c->SetFilter(L"VIDEOS|*.mkv|all|*.*");
    EXPECT_EQ(c->Filter(), L"Videos|*.MKV|All|*.*");
    EXPECT_EQ(c->ItemIndex(), 1);
    EXPECT_EQ(c->Items()->Strings(0), L"Videos");
    EXPECT_EQ(c->Changes, changes);
    // Another filter rebuilds, chooses the first item and runs the hook.
    c->SetFilter(L"Audio|*.mp3|All|*.*");
    EXPECT_EQ(c->ItemIndex(), 0);
    EXPECT_EQ(c->Mask(), L"*.mp3");
    EXPECT_GT(c->Changes, changes);
}
