// The skin chooser driven inside its modal loop: a skin list of the program's own skin and two
// skins made here (one without a description), the preview re-skinned on its own model, OK,
// a double click, Esc, an empty list, the client size and the stored-skin mode.
#include <gtest/gtest.h>

#include <functional>

#include "platform/base/main_thread.h"
#include "skin/boxes/skin_list_box.h"
#include "skin/controls/skin_button.h"
#include "skin/core/resource_strings.h"
#include "skin/core/stored_skin.h"
#include "skin/default/default_skin.h"
#include "skin/dialogs/select_skin_dialog.h"
#include "skin/form/skin_form.h"
#include "tests/skin/support/skin_control_fixture.h"

using namespace skintest;

namespace {

// Runs Step inside Execute's modal loop once the dialog's form shows (a queued call that queues
// itself again until then, a bounded number of times).
void WhenShown(TbsSelectSkinDialog* D, std::function<void(TbsSelectSkinDlgForm*)> Step, int Tries = 2000)
{
    QueueInMainThread([=] {
        TbsSelectSkinDlgForm* f = D->Form();
        if (f && f->Visible())
            Step(f);
        else if (Tries > 0)
            WhenShown(D, Step, Tries - 1);
    });
}

struct SelectSkinTest : SkinControlFixture {
    TbsCompressedSkinList* Skins = nullptr;
    TbsSelectSkinDialog* Dialog = nullptr;
    int AppLoads = 0;

    void SetUp() override
    {
        SkinControlFixture::SetUp();
        // The application's own skin, which the dialog must leave alone.
        TbsSkinListItem own(nullptr);
        FillDefaultSkinItem(own);
        Model->OnLoadData = [this](TObject*) { ++AppLoads; };
        Model->LoadCompressedStoredSkin(own.Skin());
        AppLoads = 0;
        ShowForm();

        Skins = new TbsCompressedSkinList(Form);
        TbsSkinListItem* first = Skins->Skins()->Add();
        FillDefaultSkinItem(*first);
        first->SetName(L"Default");
        first->SetDescription(L"默认皮肤");
        AddButtonSkin(L"Blue", L"", kNormal);
        AddButtonSkin(L"Orange", L"橙色", kExtra1);
        Dialog = new TbsSelectSkinDialog(Form);
        Dialog->SetSkinList(Skins);
    }
    // A skin whose buttons are one colour in every state.
    void AddButtonSkin(const String& Name, const String& Description, uint32_t Colour)
    {
        SyntheticSkin s;
        const int p = s.AddPicture(16, 10);
        s.Block(p, Rect(0, 0, 16, 10), Colour, false);
        s.Control("button", "button", "pictureindex=0\r\nskinrect=0,0,16,10\r\nclientrect=2,2,14,8\r\n");
        auto* model = new TbsSkinData(Form);
        s.LoadInto(model);
        TbsSkinListItem* item = Skins->Skins()->Add();
        item->Skin()->LoadFromSkinData(model);
        item->SetName(Name);
        item->SetDescription(Description);
        delete model;
    }
    static std::vector<String> ListItems(TbsSelectSkinDlgForm* F)
    {
        std::vector<String> out;
        for (int i = 0; i < F->SkinsListBox->Items()->Count(); ++i) out.push_back(F->SkinsListBox->Items()->Strings(i));
        return out;
    }
    static uint32_t PreviewButtonColour(TbsSelectSkinDlgForm* F)
    {
        Pump();
        return PixelAt(F->PreviewButton, F->PreviewButton->Width() / 2, F->PreviewButton->Height() / 2);
    }
    // A click on the centre of list item I of the dialog (a second one makes a double click).
    static void ClickItem(TbsSelectSkinDlgForm* F, int I)
    {
        TbsListBox* inner = F->SkinsListBox->ListBox;
        const TRect r = inner->ItemRect(I);
        const TPoint p = inner->ClientToScreen(Point(r.Left + 10, (r.Top + r.Bottom) / 2));
        Click(p.X, p.Y);
    }
};

}  // namespace

TEST_F(SelectSkinTest, ListsTheSkinsAndEscChangesNothing)
{
    bool stepped = false;
    WhenShown(Dialog, [&](TbsSelectSkinDlgForm* f) {
        stepped = true;
        EXPECT_EQ(ListItems(f), (std::vector<String>{L"默认皮肤", L"Blue", L"橙色"}));
        EXPECT_EQ(f->SkinsListBox->ItemIndex(), 1);
        EXPECT_EQ(f->PreviewSkinData->SkinIndex(), 1);
        EXPECT_EQ(PreviewButtonColour(f), kNormal);
        // Texts without a text table; the frame without caption buttons.
        EXPECT_EQ(f->Caption(), L"Select skin");
        EXPECT_EQ(f->PreviewForm->Caption(), L"Preview");
        EXPECT_EQ(f->PreviewButton->Caption(), L"Button");
        EXPECT_EQ(f->OpenButton->Caption(), L"OK");
        EXPECT_EQ(f->CancelButton->Caption(), L"Cancel");
        EXPECT_TRUE(f->BSF->BorderIcons().Empty());
        EXPECT_FALSE(f->PreviewForm->Enabled());
        EXPECT_TRUE(f->PreviewBSF->PreviewMode);
        EXPECT_EQ(f->ClientWidth(), 420);
        EXPECT_EQ(f->ClientHeight(), 240);
        // Another item re-skins the preview alone.
        ClickItem(f, 2);
        Pump();
        EXPECT_EQ(f->PreviewSkinData->SkinIndex(), 2);
        EXPECT_EQ(PreviewButtonColour(f), kExtra1);
        PressKey(VK_ESCAPE);
    });
    EXPECT_FALSE(Dialog->Execute(1));
    EXPECT_TRUE(stepped);
    EXPECT_EQ(Dialog->SelectedSkinIndex(), -1);
    EXPECT_EQ(Dialog->Form(), nullptr);
    EXPECT_EQ(AppLoads, 0);
    EXPECT_FALSE(Model->Empty);
    for (int i = 0; i < Application->ComponentCount(); ++i)
        EXPECT_EQ(dynamic_cast<TbsSelectSkinDlgForm*>(Application->Components(i)), nullptr) << "the form is freed";
}

TEST_F(SelectSkinTest, ADoubleClickAcceptsTheItem)
{
    WhenShown(Dialog, [&](TbsSelectSkinDlgForm* f) {
        ClickItem(f, 2);
        ClickItem(f, 2);
    });
    EXPECT_TRUE(Dialog->Execute(1));
    EXPECT_EQ(Dialog->SelectedSkinIndex(), 2);
    EXPECT_EQ(AppLoads, 0);
}

TEST_F(SelectSkinTest, EnterTakesTheChosenSkinAndTheTextsComeFromTheTable)
{
    auto* texts = new TbsResourceStrData(Form);
    texts->ResStrings()->Clear();
    texts->ResStrings()->Add(L"MSG_PREVIEWSKIN=预览");
    texts->ResStrings()->Add(L"MSG_BTN_OK=确定");
    auto* ctrl = new TbsSkinData(Form);
    ctrl->SetResourceStrData(texts);
    Dialog->SetCtrlSkinData(ctrl);
    Dialog->SetTitle(L"选择皮肤");
    WhenShown(Dialog, [&](TbsSelectSkinDlgForm* f) {
        EXPECT_EQ(f->Caption(), L"选择皮肤");
        EXPECT_EQ(f->PreviewForm->Caption(), L"预览");
        EXPECT_EQ(f->OpenButton->Caption(), L"确定");
        EXPECT_EQ(f->CancelButton->Caption(), L"") << "a key the table lacks";
        ClickItem(f, 0);
        Pump();
        // The program's own skin in the preview.
        EXPECT_FALSE(f->PreviewSkinData->Empty);
        EXPECT_EQ(f->PreviewSkinData->SkinName, Model->SkinName);
        PressKey(VK_RETURN);
    });
    EXPECT_TRUE(Dialog->Execute(2));
    EXPECT_EQ(Dialog->SelectedSkinIndex(), 0);
    EXPECT_EQ(AppLoads, 0);
}

TEST_F(SelectSkinTest, AnEmptyListOrNoneAtAll)
{
    Skins->Skins()->Clear();
    WhenShown(Dialog, [&](TbsSelectSkinDlgForm* f) {
        EXPECT_TRUE(ListItems(f).empty());
        EXPECT_TRUE(f->PreviewSkinData->Empty);
        PressKey(VK_RETURN);
    });
    // OK reports the index it was given, which a skin model ignores.
    EXPECT_TRUE(Dialog->Execute(0));
    EXPECT_EQ(Dialog->SelectedSkinIndex(), 0);

    Dialog->SetSkinList(nullptr);
    EXPECT_FALSE(Dialog->Execute(0));
    delete Skins;
    Dialog->SetSkinList(Skins = new TbsCompressedSkinList(Form));
    delete Skins;  // the dialog forgets a list that goes
    EXPECT_EQ(Dialog->SkinList(), nullptr);
}

TEST_F(SelectSkinTest, TheClientSizeGrowsToTheFramesMinimum)
{
    SyntheticSkin s;
    FrameSkin frame;
    frame.MoreFormInfo = "formminwidth=500\r\n";
    AddFrame(s, frame);
    auto* dialogSkin = new TbsSkinData(Form);
    s.LoadInto(dialogSkin);
    Dialog->SetSkinData(dialogSkin);
    int width = 0, height = 0;
    WhenShown(Dialog, [&](TbsSelectSkinDlgForm* f) {
        width = f->ClientWidth();
        height = f->ClientHeight();
        PressKey(VK_ESCAPE);
    });
    Dialog->Execute(0);
    EXPECT_EQ(width, 500);
    EXPECT_EQ(height, 240);
}

TEST_F(SelectSkinTest, StoredSkinsOfTheOwner)
{
    auto* owner = new TForm(Application);
    auto* a = new TbsCompressedStoredSkin(owner);
    a->SetName(L"SkinA");
    auto* b = new TbsCompressedStoredSkin(owner);
    b->SetName(L"SkinB");
    b->SetDescription(L"蓝色");
    b->SetCompressedData(Skins->Skins()->GetItem(1)->Skin()->CompressedStream()->Data());
    auto* dialog = new TbsSelectSkinDialog(owner);
    WhenShown(dialog, [&](TbsSelectSkinDlgForm* f) {
        EXPECT_EQ(ListItems(f), (std::vector<String>{L"SkinA", L"蓝色"}));
        EXPECT_EQ(f->SkinsListBox->ItemIndex(), 1);
        EXPECT_EQ(f->SelectedSkin(), b);
        EXPECT_EQ(PreviewButtonColour(f), kNormal);
        PressKey(VK_RETURN);
    });
    EXPECT_TRUE(dialog->Execute(b));
    EXPECT_EQ(dialog->SelectedSkin(), b);

    // No stored skins: an empty list, OK answers none.
    auto* bare = new TbsSelectSkinDialog(new TForm(Application));
    WhenShown(bare, [&](TbsSelectSkinDlgForm* f) {
        EXPECT_TRUE(ListItems(f).empty());
        PressKey(VK_RETURN);
    });
    EXPECT_TRUE(bare->Execute(a));
    EXPECT_EQ(bare->SelectedSkin(), nullptr);
}
