// The skinned message box, built and driven inside its modal loop: each button set's buttons,
// their places and the answers to clicks, Enter and Esc; the default button; icons by type and
// from an image list; texts from the text table and their fallbacks; the check box read back;
// the size clamp; help; a skinned frame with a 23-pixel button record.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "platform/framework/controls/image.h"
#include "platform/framework/core/string_list.h"
#include "platform/framework/forms/screen.h"
#include "platform/framework/graphics/icon.h"
#include "platform/framework/graphics/image_list.h"
#include "platform/win/win_api.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_check_radio_box.h"
#include "skin/controls/skin_std_label.h"
#include "skin/core/resource_strings.h"
#include "skin/dialogs/skin_message.h"
#include "skin/form/skin_form.h"
#include "tests/skin/support/synthetic_skin.h"
#include "tests/support/application_fixture.h"
#include "tests/support/modal_script.h"

namespace {

using Steps = std::vector<ModalScript::Step>;

TControl* Child(TCustomForm* F, const wchar_t* Name) { return dynamic_cast<TControl*>(F->FindComponent(Name)); }
TbsSkinButton* Button(TCustomForm* F, const wchar_t* Name)
{
    return dynamic_cast<TbsSkinButton*>(F->FindComponent(Name));
}

// The names of the form's buttons, left to right.
std::vector<String> ButtonNames(TCustomForm* F)
{
    std::vector<String> names;
    for (int i = 0; i < F->ComponentCount(); ++i)
        if (auto* b = dynamic_cast<TbsSkinButton*>(F->Components(i))) names.push_back(b->Name());
    return names;
}

struct MessageBoxTest : ApplicationFixture {
    TbsSkinMessage* Box = nullptr;

    void SetUp() override { Box = new TbsSkinMessage(Application); }

    // A text table holding exactly Lines, on a model without a skin.
    TbsSkinData* TextModel(std::initializer_list<const wchar_t*> Lines)
    {
        auto* model = new TbsSkinData(Application);
        auto* table = new TbsResourceStrData(Application);
        TStringList list;
        for (const wchar_t* l : Lines) list.Add(l);
        table->SetResStrings(&list);
        model->SetResourceStrData(table);
        return model;
    }

    int Show(TMsgDlgButtons Buttons, Steps S)
    {
        ModalScript script(std::move(S));
        return Box->MessageDlg(L"Save the changes?", mtConfirmation, Buttons, 0);
    }
};

struct ButtonSetCase {
    TMsgDlgButtons Buttons;
    std::vector<String> Names;
    std::vector<int> Results;  // per button, as clicked
    const wchar_t* Default;    // nullptr: none
    const wchar_t* Cancel;     // nullptr: none on the box
    int Enter;                 // 0: Enter closes nothing
    int Esc;                   // 0: Esc closes nothing
};

const ButtonSetCase kButtonSets[] = {
    {{mbYes, mbNo, mbCancel}, {L"Yes", L"No", L"Cancel"}, {6, 7, 2}, L"Yes", L"Cancel", 6, 2},
    {{mbYes, mbNo}, {L"Yes", L"No"}, {6, 7}, L"Yes", L"No", 6, 7},
    {{mbAbort, mbIgnore}, {L"Abort", L"Ignore"}, {3, 5}, nullptr, nullptr, 0, 0},
    {{}, {}, {}, nullptr, nullptr, 0, 2},
    {{mbHelp}, {L"Help"}, {0}, nullptr, nullptr, 0, 2},
    {{mbOK}, {L"OK"}, {1}, L"OK", L"OK", 1, 1},
    {{mbOK, mbCancel, mbAll, mbNoToAll, mbYesToAll, mbClose},
     {L"OK", L"Cancel", L"All", L"NoToAll", L"YesToAll", L"Close"},
     {1, 2, 8, 9, 10, 11},
     L"OK",
     L"Cancel",
     1,
     2},
};

TEST_F(MessageBoxTest, EachButtonSetPlacesItsButtonsAndAnswersClicksEnterAndEsc)
{
    for (const ButtonSetCase& c : kButtonSets) {
        SCOPED_TRACE(testing::Message() << "buttons " << c.Buttons.Bits());
        TbsMessageForm* f = Box->CreateMessageForm(L"Save the changes?", mtConfirmation, c.Buttons, -10001, -10001);
        ASSERT_EQ(ButtonNames(f), c.Names);
        const int n = static_cast<int>(c.Names.size());
        const int x0 = (f->ClientWidth() - (n * 80 - 10)) / 2;
        const int labelRight = f->Message->Left() + f->Message->Width();
        EXPECT_EQ(f->ClientWidth(), std::max(n > 0 ? n * 80 - 10 : 0, labelRight) + 40);
        EXPECT_EQ(f->ClientHeight(), 25 + f->Message->Height() + 50);
        for (int i = 0; i < n; ++i) {
            TbsSkinButton* b = Button(f, c.Names[static_cast<size_t>(i)].c_str());
            EXPECT_EQ(b->BoundsRect(), Bounds(x0 + i * 80, f->ClientHeight() - 35, 70, 25)) << i;
            EXPECT_EQ(b->Default(), c.Default && b->Name() == c.Default) << i;
            EXPECT_EQ(b->Cancel(), c.Cancel && b->Name() == c.Cancel) << i;
        }
        f->Free();

        for (int i = 0; i < n; ++i) {
            if (c.Results[static_cast<size_t>(i)] == 0) continue;
            const String name = c.Names[static_cast<size_t>(i)];
            EXPECT_EQ(Show(c.Buttons, {[&](TCustomForm* m) { ClickControl(Child(m, name.c_str())); }}),
                      c.Results[static_cast<size_t>(i)])
                << i;
        }
        // A key that closes nothing leaves the box up for the next step.
        bool stayed = false;
        auto keyThenEsc = [&](int Key) {
            stayed = false;
            return Show(c.Buttons, {[&](TCustomForm*) { PressKey(Key); },
                                    [&](TCustomForm* m) {
                                        stayed = true;
                                        if (m->FindComponent(L"Cancel") || c.Esc) {
                                            PressKey(VK_ESCAPE);
                                        } else {
                                            ClickControl(Child(m, L"Ignore"));
                                        }
                                    }});
        };
        const int enter = keyThenEsc(VK_RETURN);
        if (c.Enter) {
            EXPECT_EQ(enter, c.Enter);
            EXPECT_FALSE(stayed);
        } else {
            EXPECT_TRUE(stayed);
        }
        const int esc = keyThenEsc(VK_ESCAPE);
        if (c.Esc) {
            EXPECT_EQ(esc, c.Esc);
            EXPECT_FALSE(stayed);
        } else {
            EXPECT_TRUE(stayed);
            EXPECT_EQ(esc, 5);
        }
    }
    EXPECT_EQ(Application->ComponentCount(), 1);  // every form freed; the component stays
}

TEST_F(MessageBoxTest, TheExCallsDefaultButtonTakesEnterAndTheCancelRuleStays)
{
    bool noIsDefault = false;
    const int enter = [&] {
        ModalScript script({[&](TCustomForm* m) {
            noIsDefault = Button(m, L"No")->Default() && !Button(m, L"Yes")->Default();
            EXPECT_EQ(m->ActiveControl(), Child(m, L"No"));
            PressKey(VK_RETURN);
        }});
        return Box->MessageDlg(L"Replace?", mtWarning, {mbYes, mbNo, mbCancel}, 0, mbNo);
    }();
    EXPECT_EQ(enter, 7);
    EXPECT_TRUE(noIsDefault);
    ModalScript script({[](TCustomForm*) { PressKey(VK_ESCAPE); }});
    EXPECT_EQ(Box->MessageDlg(L"Replace?", mtWarning, {mbYes, mbNo, mbCancel}, 0, mbNo), 2);
}

TEST_F(MessageBoxTest, IconsByTypeFromTheStockAndFromAnImageList)
{
    const std::pair<TMsgDlgType, LPCWSTR> types[] = {{mtWarning, IDI_EXCLAMATION},
                                                     {mtError, IDI_HAND},
                                                     {mtInformation, IDI_ASTERISK},
                                                     {mtConfirmation, IDI_QUESTION}};
    std::vector<std::vector<uint32_t>> pictures;
    for (auto [type, id] : types) {
        TbsMessageForm* f = Box->CreateMessageForm(L"One line", type, {mbOK}, -10001, -10001);
        auto* image = dynamic_cast<TImage*>(Child(f, L"Image"));
        ASSERT_NE(image, nullptr) << type;
        EXPECT_EQ(image->Picture()->Icon()->Handle(), LoadIconW(nullptr, id));
        const int top = f->Message->Top() + f->Message->Height() / 2 - 16;
        EXPECT_EQ(image->BoundsRect(), Bounds(5, std::max(10, top), 32, 32));
        const TRasterImage pixels = image->Picture()->Icon()->ToRasterImage();
        EXPECT_EQ(pixels.Width(), 32);
        pictures.emplace_back();
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) pictures.back().push_back(pixels.Pixel(x, y));
        f->Free();
    }
    // Four different pictures, none of them the application's icon.
    for (size_t i = 0; i < pictures.size(); ++i)
        for (size_t j = i + 1; j < pictures.size(); ++j) EXPECT_NE(pictures[i], pictures[j]) << i << " " << j;
    EXPECT_NE(LoadIconW(nullptr, IDI_HAND), LoadIconW(nullptr, IDI_APPLICATION));

    // mtCustom: the application's title and no picture.
    Application->SetTitle(L"视频转换");
    TbsMessageForm* f = Box->CreateMessageForm(L"One line", mtCustom, {mbOK}, -10001, -10001);
    EXPECT_EQ(f->Caption(), L"视频转换");
    EXPECT_EQ(Child(f, L"Image"), nullptr);
    f->Free();

    // An image list's picture at its own size, only for an index in the list.
    auto* list = new TImageList(Application);
    list->SetWidth(24);
    list->SetHeight(24);
    TIcon icon;
    icon.SetHandle(LoadIconW(nullptr, IDI_QUESTION));
    list->AddIcon(&icon);
    for (int index : {-1, 0, 1}) {
        f = Box->CreateCustomMessageForm(L"One line", L"Custom", list, index, {mbOK}, -10001, -10001);
        TControl* image = Child(f, L"Image");
        EXPECT_EQ(image != nullptr, index == 0) << index;
        if (image) {
            EXPECT_EQ(image->BoundsRect(), Bounds(5, f->Message->Top() + f->Message->Height() / 2 - 16, 24, 24));
        }
        EXPECT_EQ(f->Caption(), L"Custom");
        f->Free();
    }
}

TEST_F(MessageBoxTest, TextsComeFromTheTableWithFallbacksOnlyWithoutOne)
{
    EXPECT_EQ(GetButtonCaption(mbYes, nullptr), L"&Yes");
    EXPECT_EQ(GetButtonCaption(mbNoToAll, nullptr), L"N&oToAll");
    EXPECT_EQ(GetTypeCaption(mtWarning, nullptr), L"Warning");
    EXPECT_EQ(GetTypeCaption(mtCustom, nullptr), L"");
    auto* noTable = new TbsSkinData(Application);
    EXPECT_EQ(GetTypeCaption(mtConfirmation, noTable), L"Confirm");

    // A table without a key gives an empty text; the check box's text alone falls back.
    Box->SetCtrlSkinData(TextModel({L"MSG_BTN_YES=是", L"MSG_CAP_CONFIRM=确认"}));
    Box->SetShowAgainFlag(true);
    TbsMessageForm* f = Box->CreateMessageForm(L"One line", mtConfirmation, {mbYes, mbNo}, -10001, -10001);
    EXPECT_EQ(f->Caption(), L"确认");
    EXPECT_EQ(Child(f, L"Yes")->Caption(), L"是");
    EXPECT_EQ(Child(f, L"No")->Caption(), L"");
    EXPECT_EQ(f->DisplayCheckBox->Caption(), L"Do not display this message again");
    f->Free();
    f = Box->CreateMessageForm(L"One line", mtError, {mbOK}, -10001, -10001);
    EXPECT_EQ(f->Caption(), L"");
    f->Free();

    // The main window's prompt with the program's default table: its own caption, Enter is OK.
    Box->SetShowAgainFlag(false);
    auto* defaults = new TbsSkinData(Application);
    defaults->SetResourceStrData(new TbsResourceStrData(Application));
    Box->SetCtrlSkinData(defaults);
    String caption, text, ok;
    ModalScript script({[&](TCustomForm* m) {
        caption = m->Caption();
        text = static_cast<TbsMessageForm*>(m)->Message->Caption();
        ok = Child(m, L"OK")->Caption();
        PressKey(VK_RETURN);
    }});
    EXPECT_EQ(Box->MessageDlg2(L"请先选中您需要重命名的项目！", L"提示", mtInformation, {mbOK}, 0), 1);
    EXPECT_EQ(caption, L"提示");
    EXPECT_EQ(text, L"请先选中您需要重命名的项目！");
    EXPECT_EQ(ok, L"OK");
}

TEST_F(MessageBoxTest, TheCheckBoxStartsFromTheFlagAndIsReadBackAfterEveryBox)
{
    Box->SetShowAgainFlag(true);
    Box->SetShowAgainFlagValue(false);
    TbsMessageForm* f = Box->CreateMessageForm(L"One line", mtInformation, {mbOK}, -10001, -10001);
    ASSERT_NE(f->DisplayCheckBox, nullptr);
    EXPECT_TRUE(f->DisplayCheckBox->Checked());
    EXPECT_EQ(f->ClientHeight(), 25 + f->Message->Height() + 90);
    EXPECT_EQ(f->DisplayCheckBox->Left(), 5);
    EXPECT_EQ(f->DisplayCheckBox->Top(), f->ClientHeight() - 25 - 50);
    EXPECT_EQ(f->DisplayCheckBox->Height(), 30);
    f->Free();
    EXPECT_EQ(Box->CreateWideMessageForm(L"One line", mtInformation, {mbOK}, -10001, -10001)->DisplayCheckBox, nullptr);

    {
        ModalScript script({[](TCustomForm*) { PressKey(VK_RETURN); }});
        EXPECT_EQ(Box->MessageDlg(L"One line", mtInformation, {mbOK}, 0), 1);
    }
    EXPECT_FALSE(Box->ShowAgainFlagValue());  // left checked
    {
        ModalScript script({[](TCustomForm* m) { ClickControl(static_cast<TbsMessageForm*>(m)->DisplayCheckBox); },
                            [](TCustomForm*) { PressKey(VK_ESCAPE); }});
        EXPECT_EQ(Box->MessageDlg(L"One line", mtInformation, {mbOK}, 0), 1);
    }
    EXPECT_TRUE(Box->ShowAgainFlagValue());  // unchecked
    {
        ModalScript script({[](TCustomForm* m) {
            EXPECT_FALSE(static_cast<TbsMessageForm*>(m)->DisplayCheckBox->Checked());
            PressKey(VK_RETURN);
        }});
        Box->MessageDlg(L"One line", mtInformation, {mbOK}, 0);
    }
    EXPECT_TRUE(Box->ShowAgainFlagValue());

    // A long check text widens the box beyond its label and buttons.
    const String longText(90, L'D');
    Box->SetCtrlSkinData(TextModel({(L"MSG_CAP_SHOWFLAG=" + longText).c_str()}));
    f = Box->CreateMessageForm(L"Hi", mtInformation, {mbOK}, -10001, -10001);
    const int w = f->DisplayCheckBox->Width() - 55;
    EXPECT_EQ(f->DisplayCheckBox->Caption(), longText);
    EXPECT_GT(w, 200);
    EXPECT_EQ(f->ClientWidth(), w + 60);
}

TEST_F(MessageBoxTest, LongMessagesGrowTheBoxWithinTheScreen)
{
    // Three lines: the label and the box grow with them.
    TbsMessageForm* one = Box->CreateMessageForm(L"Line", mtInformation, {mbOK}, -10001, -10001);
    TbsMessageForm* three = Box->CreateMessageForm(L"Line\nLine\nLine", mtInformation, {mbOK}, -10001, -10001);
    EXPECT_GE(three->Message->Height(), 3 * one->Message->Height() - 2);
    EXPECT_EQ(three->ClientHeight(), 25 + three->Message->Height() + 50);
    one->Free();
    three->Free();
    // One very long line: the box is cut to the frame's maximum width, the screen's work area.
    TbsMessageForm* f = Box->CreateMessageForm(String(600, L'W'), mtInformation, {mbOK}, -10001, -10001);
    EXPECT_EQ(f->Width(), f->BSF->GetMaxWidth());
    EXPECT_EQ(f->Width(), Screen->WorkAreaWidth());
    f->Free();
    // A short one is held at the frame's minimum width.
    Box->SetShowAgainFlag(false);
    f = Box->CreateMessageForm(L"", mtCustom, {}, -10001, -10001);
    EXPECT_EQ(f->Width(), f->BSF->GetMinWidth());
    f->Free();
}

TEST_F(MessageBoxTest, HelpAsksTheHelpSystemAndKeepsTheBoxOpen)
{
    std::vector<std::pair<int, String>> asked;
    Application->OnHelp = [&](int Context, const String& File) { asked.push_back({Context, File}); };
    bool open = false;
    ModalScript script({[](TCustomForm* m) { ClickControl(Child(m, L"Help")); },
                        [&](TCustomForm* m) {
                            open = m->Visible();
                            ClickControl(Child(m, L"OK"));
                        }});
    EXPECT_EQ(Box->MessageDlgHelp(L"Read the guide?", mtConfirmation, {mbOK, mbHelp}, 42, L"/opt/guide.html"), 1);
    EXPECT_TRUE(open);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].first, 42);
    EXPECT_EQ(asked[0].second, L"/opt/guide.html");
}

TEST_F(MessageBoxTest, AFailingHelpReachesTheCallerAfterTheCheckBoxIsReadAndTheFormFreed)
{
    Application->OnHelp = [](int, const String&) { throw std::runtime_error("no help viewer"); };
    Box->SetShowAgainFlag(true);
    Box->SetShowAgainFlagValue(false);
    ModalScript script({[](TCustomForm* m) { ClickControl(static_cast<TbsMessageForm*>(m)->DisplayCheckBox); },
                        [](TCustomForm* m) { ClickControl(Child(m, L"Help")); }});
    EXPECT_THROW(Box->MessageDlg(L"Help?", mtInformation, {mbOK, mbHelp}, 7), std::runtime_error);
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(Box->ShowAgainFlagValue());
    EXPECT_EQ(Application->ComponentCount(), 1);
}

TEST_F(MessageBoxTest, PositionedCallsLetTheOwnerMoveTheBox)
{
    int calls = 0;
    Box->OnSetShowPos = [&](int& X, int& Y, int W, int H) {
        ++calls;
        EXPECT_GT(W, 0);
        EXPECT_GT(H, 0);
        X += 5;
        Y += 7;
    };
    TPoint at;
    auto where = [&](TCustomForm* m) {
        at = Point(m->Left(), m->Top());
        PressKey(VK_RETURN);
    };
    {
        ModalScript script({where});
        EXPECT_EQ(Box->MessageDlgPos(L"Here", mtInformation, {mbOK}, 0, 30, 40), 1);
    }
    EXPECT_EQ(at, Point(35, 47));
    EXPECT_EQ(calls, 1);
    {
        ModalScript script({where});
        Box->WideMessageDlgPos(L"Here", mtInformation, {mbOK}, 0, 30, 40);
    }
    EXPECT_EQ(at, Point(30, 40));
    {
        ModalScript script({where});
        Box->MessageDlg(L"Centred", mtInformation, {mbOK}, 0);
    }
    EXPECT_EQ(calls, 1);
    EXPECT_GT(at.X, 30);
}

TEST_F(MessageBoxTest, ASkinnedFrameWithATwentyThreePixelButtonRecord)
{
    skintest::SyntheticSkin s;
    skintest::AddFrame(s, skintest::FrameSkin{});
    const int p = s.AddPicture(16, 23);
    s.Block(p, Rect(0, 0, 16, 23), skintest::kNormal);
    s.Control("button", "button", "pictureindex=0\r\nskinrect=0,0,16,23\r\nclientrect=2,2,14,21\r\n");
    auto* model = new TbsSkinData(Application);
    s.LoadInto(model);
    Box->SetSkinData(model);
    Box->SetCtrlSkinData(model);
    Box->SetShowAgainFlag(true);

    TbsMessageForm* f = Box->CreateMessageForm(L"Skinned", mtWarning, {mbYes, mbNo}, -10001, -10001);
    EXPECT_EQ(f->BSF->SkinData(), model);
    EXPECT_EQ(f->BSF->MenusSkinData(), model);
    EXPECT_TRUE(f->BSF->BorderIcons().Empty());
    EXPECT_EQ(f->ClientHeight(), 23 + f->Message->Height() + 90);
    TbsSkinButton* yes = Button(f, L"Yes");
    EXPECT_NE(yes->SkinIndex(), -1);
    EXPECT_EQ(yes->BoundsRect().Height(), 23);
    EXPECT_EQ(yes->Top(), f->ClientHeight() - 33);
    EXPECT_GE(f->Width(), f->BSF->GetMinWidth());
    f->Free();

    // Shown with the frame: the box answers as the plain one does.
    ModalScript script({[](TCustomForm* m) {
        EXPECT_TRUE(m->Visible());
        ClickControl(Child(m, L"No"));
    }});
    EXPECT_EQ(Box->MessageDlg(L"Skinned", mtWarning, {mbYes, mbNo}, 0), 7);
}

}  // namespace
