// The office classes under hostile records (rectangles beyond their picture, items and buttons
// without area, pictures missing, a record of another class under an office name): painted at
// three sizes, hovered, pressed, dropped down. Nothing may crash or read outside a picture.
#include <gtest/gtest.h>

#include "tests/skin/boxes/office_test_support.h"
#include "tests/skin/support/every_office_control.h"
#include "tests/skin/support/skin_control_fixture.h"

using namespace skintest;

namespace {

const char* kNames[][2] = {{"listbox", "listbox"},
                           {"combobox", "combobox"},
                           {"checklistbox", "checklistbox"},
                           {"menuheader", "label"},
                           {"label", "label"},
                           {"combobutton", "button"},
                           {"resizetoolbutton", "button"},
                           {"resizebutton", "button"},
                           {"edit", "edit"},
                           {"vscrollbar", "scrollbar"},
                           {"scrollbox", "scrollbox"},
                           {"officetab", "tab"},
                           {"appmenu", "appmenu"},
                           {"officeribbonbutton", "button"}};

const std::string kVariants[] = {
    "pictureindex=0\r\nskinrect=5,5,60,40\r\nlefttoppoint=30,30\r\nrighttoppoint=2,30\r\nleftbottompoint=30,2\r\n"
    "rightbottompoint=40,40\r\nclientrect=-5,-5,90,90\r\nitemrect=-3,-3,50,50\r\nactiveitemrect=8,8,99,99\r\n"
    "focusitemrect=0,0,200,3\r\nitemtextrect=-9,-9,80,80\r\nbuttonrect=50,0,99,99\r\ndownbuttonrect=-9,0,4,99\r\n"
    "activeskinrect=0,0,99,99\r\ncheckimagerect=8,8,40,40\r\nuncheckimagerect=-4,-4,6,6\r\nmenumarkerrect=8,8,30,30\r\n"
    "itemleftoffset=40\r\nitemrightoffset=40\r\ntabrect=0,0,30,90\r\nactivetabrect=5,5,90,9\r\n"
    "mouseintabrect=-5,0,3,3\r\ntabsbgrect=0,0,99,99\r\nmdicloserect=0,0,80,80\r\ndividerrect=0,0,50,50\r\n"
    "pageitemrect=0,0,40,40\r\nbackbuttonrect=0,0,90,90\r\ntoplinerect=0,0,99,3\r\ngripperrect=0,0,60,60\r\n"
    "captionrect=0,0,99,99\r\nbgpagepictureindex=1\r\nbgpictureindex=1\r\nstretcheffect=1\r\nstretchtype=sthorz\r\n",
    "pictureindex=0\r\nskinrect=0,0,10,10\r\nclientrect=3,3,3,7\r\nitemrect=0,0,0,0\r\nfocusitemrect=0,0,0,0\r\n"
    "itemtextrect=5,5,2,2\r\nbuttonrect=9,9,9,9\r\ncheckimagerect=0,0,0,0\r\n",
    "pictureindex=9\r\nmaskpictureindex=9\r\nbgpictureindex=9\r\nskinrect=0,0,10,10\r\nclientrect=3,3,7,7\r\nitemrect="
    "0,0,4,4\r\n",
};

struct OfficeHostileSkinTest : SkinControlFixture, ::testing::WithParamInterface<int> {};

}  // namespace

TEST_P(OfficeHostileSkinTest, EveryOfficeClassPaintsWithoutHarm)
{
    SyntheticSkin s;
    int p = s.AddPicture(10, 10);
    s.Block(p, Rect(0, 0, 10, 10), kNormal);
    s.AddPicture(10, 10, 0x000000);
    for (auto& n : kNames) s.Control(n[0], n[1], kVariants[GetParam()]);
    s.LoadInto(Model);
    Form->SetBounds(0, 0, 320, 100);
    ShowForm();
    auto* images = officetest::MakePngList(Form, 16, {0x102030, 0x405060});
    PaintEverySkinControl(Form, Model, OfficeMakers(images));
}

// Records of other classes under the office names count as none.
TEST_F(OfficeHostileSkinTest, RecordsOfAnotherClassCountAsNone)
{
    SyntheticSkin s;
    int p = s.AddPicture(10, 10);
    s.Block(p, Rect(0, 0, 10, 10), kNormal);
    for (auto& n : kNames) s.Control(n[0], "panel", "pictureindex=0\r\nskinrect=0,0,10,10\r\nclientrect=2,2,8,8");
    s.LoadInto(Model);
    Form->SetBounds(0, 0, 320, 100);
    ShowForm();
    PaintEverySkinControl(Form, Model, OfficeMakers());
}

INSTANTIATE_TEST_SUITE_P(Records, OfficeHostileSkinTest, ::testing::Range(0, static_cast<int>(std::size(kVariants))));
