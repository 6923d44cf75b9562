// Skins are user files: the boxes' records with item, button and caption rectangles beyond their
// picture, item rectangles without height, picture indexes of -1 and past the list, painted at
// three sizes, hovered, pressed and dropped down under the sanitizers.
#include <gtest/gtest.h>

#include "tests/skin/boxes/every_box_control.h"
#include "tests/skin/support/skin_control_fixture.h"

using namespace skintest;

namespace {

const std::string kFrame =
    "skinrect=0,0,10,10\r\nlefttoppoint=3,3\r\nrighttoppoint=7,3\r\nleftbottompoint=3,7\r\n"
    "rightbottompoint=7,7\r\nclientrect=3,3,7,7\r\n";

struct Variant {
    const char* what;
    std::string keys;
} kVariants[] = {
    {"rectangles beyond the picture",
     "pictureindex=0\r\n" + kFrame +
         "activeskinrect=-5,-5,40,40\r\nitemrect=5,5,60,30\r\nactiveitemrect=-9,0,4,40\r\nfocusitemrect=0,0,99,99\r\n"
         "itemtextrect=-3,-3,90,90\r\nbuttonrect=5,0,40,40\r\nactivebuttonrect=8,8,50,50\r\n"
         "downbuttonrect=-5,-5,5,5\r\nunenabledbuttonrect=0,0,30,30\r\ncaptionrect=0,0,99,20\r\n"
         "checkbuttonrect=9,9,30,30\r\nupbuttonrect=0,0,40,5\r\ndownbuttonrect=0,5,40,60\r\n"
         "itemleftoffset=40\r\nitemrightoffset=40\r\n"},
    {"item rectangles without height",
     "pictureindex=0\r\n" + kFrame +
         "itemrect=0,5,10,5\r\nactiveitemrect=0,2,10,2\r\nfocusitemrect=0,3,10,3\r\nitemtextrect=1,1,9,1\r\n"
         "activeskinrect=0,0,10,10\r\nbuttonrect=7,0,10,10\r\n"},
    {"picture index -1", "pictureindex=-1\r\n" + kFrame + "itemrect=0,0,10,5\r\nbuttonrect=7,0,10,10\r\n"},
    {"picture index past the list", "pictureindex=9\r\n" + kFrame + "itemrect=0,0,10,5\r\nbuttonrect=7,0,10,10\r\n"},
};

struct HostileBoxSkinTest : SkinControlFixture, ::testing::WithParamInterface<int> {};

}  // namespace

TEST_P(HostileBoxSkinTest, EveryBoxPaintsAndDropsDownWithoutHarm)
{
    const Variant& v = kVariants[GetParam()];
    SCOPED_TRACE(v.what);
    SyntheticSkin s;
    const int p = s.AddPicture(10, 10);
    s.Block(p, Rect(0, 0, 10, 10), kNormal);
    for (auto& n : kBoxRecords)
        s.Control(n[0], n[1], v.keys + (std::string(n[0]) == "combobox" ? "listboxname=listbox\r\n" : ""));
    s.LoadInto(Model);
    Form->SetBounds(0, 0, 320, 100);
    ShowForm();
    PaintEverySkinControl(Form, Model, BoxMakers());
    for (const ControlMaker& make : BoxMakers()) {
        auto* c = dynamic_cast<TbsSkinComboBox*>(make(Form, Model));
        if (!c) continue;
        c->DropDown();
        RunEffects(40);
        c->ListBox()->Repaint();
        c->CloseUp(true);
        c->SetEnabled(false);
        c->Repaint();
        c->Free();
    }
}

INSTANTIATE_TEST_SUITE_P(Records, HostileBoxSkinTest, ::testing::Range(0, static_cast<int>(std::size(kVariants))));
