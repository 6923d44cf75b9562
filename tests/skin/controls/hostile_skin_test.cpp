// Skins are user files: records with rectangles beyond their picture, a client rectangle without
// width, picture indexes of -1 and past the list, animations without frames and looks without
// area, painted on every skinned class at three sizes under the sanitizers. Nothing may crash,
// divide by zero or read outside a picture, and each control still paints with a sound record
// index afterwards.
#include <gtest/gtest.h>

#include "tests/skin/support/every_skin_control.h"
#include "tests/skin/support/hostile_skin_check.h"
#include "tests/skin/support/skin_control_fixture.h"

using namespace skintest;

namespace {

const char* kNames[][2] = {{"button", "button"},
                           {"toolmenubutton", "menubutton"},
                           {"resizebutton", "button"},
                           {"toolbutton", "button"},
                           {"checkbox", "checkradio"},
                           {"panel", "panel"},
                           {"groupbox", "panel"},
                           {"toolpanel", "panel"},
                           {"statusbar", "panel"},
                           {"stdlabel", "stdlabel"},
                           {"vsplitter", "splitter"},
                           {"hsplitter", "splitter"},
                           {"tab", "tab"}};

const std::string kNinePoints =
    "lefttoppoint=3,3\r\nrighttoppoint=7,3\r\nleftbottompoint=3,7\r\nrightbottompoint=7,7\r\n";

struct Variant {
    const char* what;
    std::string keys;
} kVariants[] = {
    {"rectangles beyond the picture",
     "pictureindex=0\r\nmaskpictureindex=1\r\nskinrect=5,5,60,40\r\nlefttoppoint=30,30\r\nrighttoppoint=2,30\r\n"
     "leftbottompoint=30,2\r\nrightbottompoint=40,40\r\nclientrect=-5,-5,90,90\r\nactiveskinrect=50,50,90,90\r\n"
     "downskinrect=-20,-20,30,30\r\ndisabledskinrect=9,9,70,70\r\nfocusedskinrect=0,0,99,99\r\n"
     "animateskinrect=0,0,200,10\r\nframecount=3\r\nanimateinterval=20\r\nmorphing=1\r\n"
     "glowlayerpictureindex=0\r\nglowlayermaskpictureindex=1\r\ncheckimagerect=8,8,40,40\r\n"
     "uncheckimagerect=-4,-4,6,6\r\ncheckimagearea=0,0,80,80\r\ntextarea=50,0,99,40\r\ngripperrect=7,7,50,50\r\n"
     "captionrect=0,0,99,99\r\nframerect=3,3,80,9\r\nframetextrect=1,1,70,7\r\nmarkframerect=5,5,40,40\r\n"
     "trackbuttonrect=40,0,80,40\r\nmenumarkerrect=8,8,30,30\r\ngrayedcheckimagerect=9,9,20,20\r\n"
     "tabrect=-5,-5,90,90\r\nactivetabrect=0,0,200,10\r\nmouseintabrect=50,50,99,99\r\n"
     "tabsbgrect=9,9,99,99\r\nclosebuttonrect=8,8,40,40\r\ntableftbottomactiverect=-9,-9,20,20\r\n"},
    {"a client rectangle without width",
     "pictureindex=0\r\nskinrect=0,0,10,10\r\n" + kNinePoints +
         "clientrect=3,3,3,7\r\ncaptionrect=3,0,3,3\r\ntabrect=0,0,0,4\r\ntabsbgrect=2,2,2,2\r\n"},
    {"the same, stretched",
     "pictureindex=0\r\nskinrect=0,0,10,10\r\n" + kNinePoints + "clientrect=3,3,7,3\r\nstretcheffect=1\r\n"},
    {"picture index -1", "pictureindex=-1\r\nmaskpictureindex=-1\r\nskinrect=0,0,10,10\r\n" + kNinePoints +
                             "clientrect=3,3,7,7\r\ncheckimagerect=0,0,4,4\r\ngripperrect=0,0,4,4\r\n"},
    {"picture indexes past the list",
     "pictureindex=9\r\nmaskpictureindex=9\r\nbgpictureindex=9\r\nglowlayerpictureindex=9\r\n"
     "glowlayermaskpictureindex=9\r\nskinrect=0,0,10,10\r\n" +
         kNinePoints + "clientrect=3,3,7,7\r\n"},
    {"an animation without frames",
     "pictureindex=0\r\nskinrect=0,0,10,10\r\nanimateskinrect=0,0,10,10\r\n"
     "framecount=0\r\nanimateinterval=10\r\nmorphing=1\r\n"},
    {"a look without area and a mask",
     "pictureindex=0\r\nmaskpictureindex=1\r\nskinrect=8,8,2,2\r\n"
     "clientrect=4,4,1,1\r\n"},
};

struct HostileSkinTest : SkinControlFixture, ::testing::WithParamInterface<int> {};

}  // namespace

TEST_P(HostileSkinTest, EveryClassPaintsWithoutHarm)
{
    const Variant& v = kVariants[GetParam()];
    SCOPED_TRACE(v.what);
    SyntheticSkin s;
    int p = s.AddPicture(10, 10);
    s.Block(p, Rect(0, 0, 10, 10), kNormal);
    s.AddPicture(10, 10, 0x000000);
    for (auto& n : kNames) s.Control(n[0], n[1], v.keys);
    s.LoadInto(Model);
    Form->SetBounds(0, 0, 320, 100);
    Form->SetColor(kHostileFormColour);
    ShowForm();
    PaintEverySkinControl(Form, Model, Makers(), [&](TControl* c) { ExpectSoundControl(c, Model); });
}

INSTANTIATE_TEST_SUITE_P(Records, HostileSkinTest, ::testing::Range(0, static_cast<int>(std::size(kVariants))));
