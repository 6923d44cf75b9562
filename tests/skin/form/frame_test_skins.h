// Skin records for the frame-object, caption and layered-border tests, added to the synthetic
// frame skin (skintest::AddFrame): an animated object with a strip of frames, a menu button, a
// user object, captions with animation frames and a text frame, the quick buttons' face record,
// and a layer frame. One colour per look, so a composed pixel names the look.
#pragma once

#include <string>

#include "tests/skin/support/synthetic_skin.h"

namespace frametest {

using skintest::IniColor;
using skintest::IniRect;
using skintest::SyntheticSkin;

// Animation frames 1-4 of the animated object, its pressed look, and its restore strip.
constexpr uint32_t kFrames[4] = {skintest::kExtra1, skintest::kExtra2, skintest::kExtra3, skintest::kFocused};
constexpr uint32_t kRestoreFrame = 0x30C0C0;

struct AnimateSkin {
    std::string Name = "anim";
    std::string Command = "cmmaximize";
    int TimerInterval = 10;
    bool Cycle = false;
    bool ButtonStyle = true;
};

// An animated caption button, 16 x 16: frames side by side from (0, 0) of its picture, the
// pressed look at (64, 0), the restore strip (one colour) in the row below.
inline void AddAnimate(SyntheticSkin& S, const AnimateSkin& A = {})
{
    const int p = S.AddPicture(80, 32);
    for (int i = 0; i < 4; ++i) S.Block(p, Rect(i * 16, 0, i * 16 + 16, 16), kFrames[i], false);
    S.Block(p, Rect(64, 0, 80, 16), skintest::kDown, false);
    S.Block(p, Rect(0, 16, 80, 32), kRestoreFrame, false);
    S.Object(A.Name, "animate",
             "skinrectinapicture=1\r\nactivepictureindex=" + std::to_string(S.ActiveIndex(p)) +
                 "\r\nskinrect=0,0,16,16\r\nactiveskinrect=0,0,16,16\r\ndownskinrect=64,0,80,16\r\n"
                 "restorerect=0,16,16,32\r\nrestoreactiverect=0,16,16,32\r\ncountframes=4\r\ntimerinterval=" +
                 std::to_string(A.TimerInterval) + "\r\ncycle=" + (A.Cycle ? "1" : "0") +
                 "\r\nbuttonstyle=" + (A.ButtonStyle ? "1" : "0") + "\r\ncommand=" + A.Command + "\r\n");
}

// A plain frame button ("button" record) on the frame picture at SkinRect, with hover and down
// looks in a picture of its own; with Glow also a glow picture and its mask index (MaskIndex
// -1: the mask given is outside the skin's pictures).
inline void AddMenuButton(SyntheticSkin& S, const TRect& SkinRect, bool Glow = false, bool BadMask = false)
{
    const int w = SkinRect.Width(), h = SkinRect.Height();
    const int p = S.AddPicture(3 * w, h);
    S.Block(p, Rect(0, 0, w, h), skintest::kNormal, false);
    S.Block(p, Rect(w, 0, 2 * w, h), skintest::kHot, false);
    S.Block(p, Rect(2 * w, 0, 3 * w, h), skintest::kDown, false);
    std::string keys = "activepictureindex=" + std::to_string(S.ActiveIndex(p)) + "\r\nskinrect=" + IniRect(SkinRect) +
                       "\r\nactiveskinrect=" + IniRect(Rect(w, 0, 2 * w, h)) +
                       "\r\ndownrect=" + IniRect(Rect(2 * w, 0, 3 * w, h)) + "\r\nskinrectinapicture=0\r\n";
    if (Glow) {
        const int g = S.AddPicture(w + 8, h + 8, 0xFFFFFF);
        const int m = S.AddPicture(w + 8, h + 8, 0xFFFFFF);
        keys += "glowlayerpictureindex=" + std::to_string(S.ActiveIndex(g)) +
                "\r\nglowlayermaskpictureindex=" + std::to_string(BadMask ? 99 : S.ActiveIndex(m)) +
                "\r\nglowlayeroffsetx=4\r\nglowlayeroffsety=4\r\n";
    }
    S.Object("menubutton", "button", keys);
}

// A user object over R of the frame picture: the application paints it.
inline void AddUserObject(SyntheticSkin& S, const TRect& R)
{
    S.Object("userarea", "userobject", "skinrect=" + IniRect(R) + "\r\n");
}

// Captions. The caption record "caption" over the frame's caption rectangle (10, 4)-(190, 26),
// its active look and five animation frames (stacked, each the caption's size) in a picture of
// their own, optionally a text frame image.
constexpr uint32_t kActiveCaption = 0x3080F0;
constexpr uint32_t kCaptionFrames[5] = {0x102030, 0x203040, 0x304050, 0x405060, 0x506070};
constexpr uint32_t kTextFrame = skintest::kExtra3;
constexpr uint32_t kInactiveText = 0x0000FF, kActiveText = 0xFF0000;
constexpr TRect kTextRct{4, 2, 176, 20};
constexpr TRect kFrameRect{0, 132, 30, 148};  // the text frame image in the caption picture
constexpr TRect kFrameTextRect{4, 2, 26, 14};

struct CaptionSkin {
    std::string Name = "caption";
    TRect SkinRect{10, 4, 190, 26};  // in the frame picture
    TRect TextRct = kTextRct;
    std::string Alignment = "taleftjustify";
    int FontHeight = 14;
    bool Animation = false;
    bool InActiveAnimation = false;
    bool TextFrame = false;
    std::string More;  // further keys
};

inline void AddCaption(SyntheticSkin& S, const CaptionSkin& C = {})
{
    const int p = S.AddPicture(180, 150);
    S.Block(p, Rect(0, 0, 180, 22), kActiveCaption, false);
    for (int i = 0; i < 5; ++i) S.Block(p, Rect(0, 22 + 22 * i, 180, 44 + 22 * i), kCaptionFrames[i], false);
    S.Block(p, kFrameRect, kTextFrame, false);
    std::string keys = "skinrect=" + IniRect(C.SkinRect) + "\r\ntextrect=" + IniRect(C.TextRct) +
                       "\r\nactivepictureindex=" + std::to_string(S.ActiveIndex(p)) +
                       "\r\nactiveskinrect=0,0,180,22\r\nfontname=Arial\r\n" +
                       "fontheight=" + std::to_string(C.FontHeight) +
                       "\r\nfontstyle=[fsbold]\r\nfontcolor=" + IniColor(kInactiveText) +
                       "\r\nactivefontcolor=" + IniColor(kActiveText) + "\r\nalignment=" + C.Alignment + "\r\n";
    if (C.Animation)
        keys += "animateskinrect=0,22,180,132\r\nframecount=5\r\nanimateinterval=25\r\ninactiveanimation=" +
                std::string(C.InActiveAnimation ? "1" : "0") + "\r\n";
    if (C.TextFrame)
        keys += "framerect=" + IniRect(kFrameRect) + "\r\nframetextrect=" + IniRect(kFrameTextRect) +
                "\r\nframeleftoffset=2\r\nframerightoffset=2\r\n";
    S.Object(C.Name, "caption", keys + C.More);
}

// The quick buttons' face record: its hover look kExtra1 and pressed look kExtra2, 10 x 10 with
// 2-pixel margins.
inline void AddQuickButtonFaces(SyntheticSkin& S)
{
    const int p = S.AddPicture(30, 10);
    S.Block(p, Rect(0, 0, 10, 10), skintest::kNormal, false);
    S.Block(p, Rect(10, 0, 20, 10), skintest::kExtra1, false);
    S.Block(p, Rect(20, 0, 30, 10), skintest::kExtra2, false);
    S.Control("officequickbutton", "button",
              "pictureindex=" + std::to_string(S.ActiveIndex(p)) +
                  "\r\nskinrect=0,0,10,10\r\nactiveskinrect=10,0,20,10\r\ndownskinrect=20,0,30,10\r\n"
                  "clientrect=2,2,8,8\r\nlefttoppoint=2,2\r\nrighttoppoint=8,2\r\nleftbottompoint=2,8\r\n"
                  "rightbottompoint=8,8\r\n");
}

// Layer frames. The shadow frame: a 60 x 50 picture, corner points (20, 10), (40, 10), (20, 40),
// (40, 40), the form over (10, 10)-(50, 40), outer bounds (5, 5)-(55, 45), resize grips of 3 and
// corner zones of 10. Each piece has a colour of its own (channels below 128, so clamping them
// to the alpha changes nothing); the mask gives the top strip alpha 128, the rest 255; the left
// band carries a 2-pixel stripe at its top, so its tiles show.
constexpr uint32_t kLayerTL = 0x402010, kLayerTop = 0x104020, kLayerTR = 0x201040, kLayerLeft = 0x303010,
                   kLayerStripe = 0x707070, kLayerRight = 0x103030, kLayerBL = 0x301030, kLayerBottom = 0x204040,
                   kLayerBR = 0x404020;

struct LayerSkin {
    bool EmptyBorderRect = false;
    int HeightOffset = 0;
    bool FullBorder = false;    // a 100 x 60 frame with caption and close button on its top strip
    bool HalfAlphaTop = false;  // full border: its top strip at alpha 128
    int BottomStripY = 40;      // the bottom corner points' row; 10 leaves the side band no height
    std::string More;
};

inline void AddLayerFrame(SyntheticSkin& S, const LayerSkin& L = {})
{
    std::string keys;
    if (!L.FullBorder) {
        const int p = S.AddPicture(60, 50);
        S.Block(p, Rect(0, 0, 20, 10), kLayerTL, false);
        S.Block(p, Rect(20, 0, 40, 10), kLayerTop, false);
        S.Block(p, Rect(40, 0, 60, 10), kLayerTR, false);
        S.Block(p, Rect(0, 10, 10, 40), kLayerLeft, false);
        S.Block(p, Rect(0, 10, 10, 12), kLayerStripe, false);
        S.Block(p, Rect(50, 10, 60, 40), kLayerRight, false);
        S.Block(p, Rect(0, 40, 20, 50), kLayerBL, false);
        S.Block(p, Rect(20, 40, 40, 50), kLayerBottom, false);
        S.Block(p, Rect(40, 40, 60, 50), kLayerBR, false);
        const int m = S.AddPicture(60, 50, 0xFFFFFF);
        S.Block(m, Rect(0, 0, 60, 10), 0x808080, false);
        keys = "pictureindex=" + std::to_string(S.ActiveIndex(p)) +
               "\r\nmaskpictureindex=" + std::to_string(S.ActiveIndex(m)) +
               "\r\nlefttoppoint=20,10\r\nrighttoppoint=40,10\r\nleftbottompoint=20," + std::to_string(L.BottomStripY) +
               "\r\nrightbottompoint=40," + std::to_string(L.BottomStripY) +
               "\r\nclientrect=10,10,50,40\r\nhittestlefttoppoint=15,15\r\nhittestrighttoppoint=45,15"
               "\r\nhittestleftbottompoint=15,35\r\nhittestrightbottompoint=45,35\r\n";
    } else {
        const int p = S.AddPicture(100, 60, kLayerTop);
        S.Block(p, Rect(0, 30, 10, 50), kLayerLeft, false);
        S.Block(p, Rect(90, 30, 100, 50), kLayerRight, false);
        S.Block(p, Rect(0, 50, 100, 60), kLayerBottom, false);
        if (L.HalfAlphaTop) {
            const int m = S.AddPicture(100, 60, 0xFFFFFF);
            S.Block(m, Rect(0, 0, 100, 30), 0x808080, false);
            keys = "maskpictureindex=" + std::to_string(S.ActiveIndex(m)) + "\r\n";
        }
        keys += "pictureindex=" + std::to_string(S.ActiveIndex(p)) +
                "\r\nlefttoppoint=30,30\r\nrighttoppoint=70,30\r\nleftbottompoint=30,50\r\nrightbottompoint=70,50"
                "\r\nclientrect=10,30,90,50\r\nfullborder=1\r\ncaptionrect=10,8,90,26"
                "\r\nhittestlefttoppoint=15,15\r\nhittestrighttoppoint=85,15\r\nhittestleftbottompoint=15,50"
                "\r\nhittestrightbottompoint=85,50\r\n";
    }
    keys +=
        "alphablendvalue=255\r\ninactivealphablendvalue=200\r\nhittestenable=1\r\nhittestsize=3\r\n"
        "heightoffset=" +
        std::to_string(L.HeightOffset) + "\r\n";
    if (!L.EmptyBorderRect) keys += L.FullBorder ? "borderrect=5,5,95,55\r\n" : "borderrect=5,5,55,45\r\n";
    S.ExtraSections += "[LAYERFRAME]\r\n" + keys + L.More;
}

}  // namespace frametest
