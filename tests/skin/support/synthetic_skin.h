// Synthetic skins for the skinned-control tests (and the skin fuzz targets): pictures made of
// solid blocks, one colour per look, each block with a one-pixel marker in every corner so that
// a wrong nine-part split shows, and records written as INI lines and read back through the skin
// model's own reader (a skin folder in a temporary directory). Free of GoogleTest, so fuzz
// targets and benchmarks use it too.
//
//   SyntheticSkin s;
//   int p = s.AddPicture(40, 20);
//   s.Block(p, Rect(0, 0, 12, 10), kNormal);
//   s.Control("button", "button", "pictureindex=0\nskinrect=0,0,12,10\n...");
//   s.LoadInto(model);
//
// Skinned forms: AddFrame gives the skin a frame picture (FrameSkin describes its layout and
// colours), optionally a mask with cut corners and an inactive picture, and caption buttons as
// "SKINOBJECTS" records with one colour per state.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/framework/core/strings.h"
#include "platform/framework/graphics/bitmap.h"
#include "skin/core/skin_data.h"
#include "tests/support/pixel_art.h"
#include "tests/support/temp_dir.h"

namespace skintest {

// Look colours (0xRRGGBB) and the corner markers every block carries.
constexpr uint32_t kNormal = 0x2040A0;
constexpr uint32_t kHot = 0x20A040;
constexpr uint32_t kDown = 0xA02040;
constexpr uint32_t kDisabled = 0x808040;
constexpr uint32_t kFocused = 0x40A0A0;
constexpr uint32_t kExtra1 = 0xC06010;
constexpr uint32_t kExtra2 = 0x6010C0;
constexpr uint32_t kExtra3 = 0x10C060;
constexpr uint32_t kMarkTL = 0xF0F001;
constexpr uint32_t kMarkTR = 0xF0F002;
constexpr uint32_t kMarkBL = 0xF0F003;
constexpr uint32_t kMarkBR = 0xF0F004;
constexpr uint32_t kKey = 0x7F007F;  // the skin's transparent key, the pictures' background

// Letters for the colours above, for PixelArt: n h d x f (looks), a b c (extras), 1-4 (corner
// markers), k (key), then '.' white, '#' black and the basic legend.
inline PixelLegend SkinLegend(PixelLegend Extra = {})
{
    PixelLegend l = {{'n', kNormal}, {'h', kHot},    {'d', kDown},   {'x', kDisabled}, {'f', kFocused},
                     {'a', kExtra1}, {'b', kExtra2}, {'c', kExtra3}, {'1', kMarkTL},   {'2', kMarkTR},
                     {'3', kMarkBL}, {'4', kMarkBR}, {'k', kKey}};
    Extra.insert(Extra.end(), l.begin(), l.end());
    return Extra;
}

// 0xRRGGBB of a TColor (0x00BBGGRR).
inline uint32_t RgbOf(TColor C) { return Rgb(static_cast<uint32_t>(C)); }
// The TColor an INI colour key takes for 0xRRGGBB, as decimal text.
inline std::string IniColor(uint32_t Rgb0)
{
    return std::to_string(((Rgb0 & 0xFF) << 16) | (Rgb0 & 0xFF00) | ((Rgb0 >> 16) & 0xFF));
}
inline std::string IniRect(const TRect& R)
{
    return std::to_string(R.Left) + "," + std::to_string(R.Top) + "," + std::to_string(R.Right) + "," +
           std::to_string(R.Bottom);
}

class SyntheticSkin {
public:
    // A picture of W x H in the key colour; its index among the active pictures.
    int AddPicture(int W, int H, uint32_t Background = kKey)
    {
        Pictures.push_back(std::vector<uint32_t>(static_cast<size_t>(W * H), Background));
        Sizes.push_back({W, H});
        return static_cast<int>(Pictures.size()) - 1;
    }
    // The form's frame picture ("picture"), its inactive variant and its mask: pictures drawn
    // with Pixel and Block like the others, written as form.bmp, inactive.bmp and mask.bmp.
    enum FormPictureRole { kFramePicture, kInactivePicture, kMaskPicture };
    int AddFormPicture(FormPictureRole Role, int W, int H, uint32_t Background)
    {
        FormPictures.push_back({Role, AddPicture(W, H, Background)});
        return FormPictures.back().second;
    }
    void Pixel(int P, int X, int Y, uint32_t Rgb0)
    {
        auto [w, h] = Sizes[static_cast<size_t>(P)];
        if (X >= 0 && Y >= 0 && X < w && Y < h) Pictures[static_cast<size_t>(P)][static_cast<size_t>(Y * w + X)] = Rgb0;
    }
    // R filled with Rgb0; with Marks its four corner pixels take the corner markers.
    void Block(int P, const TRect& R, uint32_t Rgb0, bool Marks = true)
    {
        for (int y = R.Top; y < R.Bottom; ++y)
            for (int x = R.Left; x < R.Right; ++x) Pixel(P, x, y, Rgb0);
        if (!Marks) return;
        Pixel(P, R.Left, R.Top, kMarkTL);
        Pixel(P, R.Right - 1, R.Top, kMarkTR);
        Pixel(P, R.Left, R.Bottom - 1, kMarkBL);
        Pixel(P, R.Right - 1, R.Bottom - 1, kMarkBR);
    }

    // A "SKINCONTROLS" record: its name, type word and keys, one "key=value" a line.
    void Control(const std::string& Name, const std::string& Type, const std::string& Keys)
    {
        Controls.push_back({Name, Type, Keys});
    }
    // A "SKINOBJECTS" record (caption buttons, caption, user objects).
    void Object(const std::string& Name, const std::string& Type, const std::string& Keys)
    {
        Objects.push_back({Name, Type, Keys});
    }
    // Extra sections (such as "[SKINCOLORS]") appended to the INI as they stand.
    std::string ExtraSections;
    // The "[FORMINFO]" keys, one "key=value" a line.
    std::string FormInfo;

    // The index of picture P among the active pictures (the form's pictures are not among them).
    int ActiveIndex(int P) const
    {
        int n = 0;
        for (int i = 0; i < P; ++i) n += IsFormPicture(i) ? 0 : 1;
        return n;
    }

    // The whole INI text of the skin.
    std::string Ini() const
    {
        std::string active;
        int count = 0;
        for (size_t i = 0; i < Pictures.size(); ++i)
            if (!IsFormPicture(static_cast<int>(i)))
                active += std::to_string(count++) + "=pic" + std::to_string(i) + ".bmp\r\n";
        std::string s =
            "[VERSION]\r\nskinname=Synthetic\r\n[PICTURES]\r\nactivepicturescount=" + std::to_string(count) + "\r\n" +
            active;
        static const char* const kRoleKeys[] = {"picture", "inactivepicture", "mask"};
        for (const auto& [role, p] : FormPictures)
            s += std::string(kRoleKeys[role]) + "=pic" + std::to_string(p) + ".bmp\r\n";
        s += "[FORMINFO]\r\n" + FormInfo + "[SKINOBJECTS]\r\ncount=" + std::to_string(Objects.size()) + "\r\n";
        for (size_t i = 0; i < Objects.size(); ++i)
            s += std::to_string(i) + "=" + Objects[i].Name + ":" + Objects[i].Type + "\r\n";
        s += "[SKINCONTROLS]\r\ncount=" + std::to_string(Controls.size()) + "\r\n";
        for (size_t i = 0; i < Controls.size(); ++i)
            s += std::to_string(i) + "=" + Controls[i].Name + ":" + Controls[i].Type + "\r\n";
        for (const auto& c : Objects) s += "[" + c.Name + "]\r\n" + c.Keys + "\r\n";
        for (const auto& c : Controls) s += "[" + c.Name + "]\r\n" + c.Keys + "\r\n";
        return s + ExtraSections;
    }

    // Writes the pictures and the INI (Ini() unless IniText is given) into a folder and loads
    // it into Model through the model's reader. The model sends its change notices as usual.
    void LoadInto(TbsSkinData* Model, const std::string* IniText = nullptr)
    {
        WritePictures();
        const std::string text = IniText ? *IniText : Ini();
        FILE* f = std::fopen(Folder.file("skin.ini").c_str(), "wb");
        if (!f) return;
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
        Model->LoadFromFile(Folder.File(L"skin.ini"));
    }

    std::vector<std::vector<uint32_t>> Pictures;
    std::vector<std::pair<int, int>> Sizes;
    struct Record {
        std::string Name, Type, Keys;
    };
    std::vector<Record> Controls;
    std::vector<Record> Objects;
    std::vector<std::pair<FormPictureRole, int>> FormPictures;
    TempDir Folder;

private:
    bool IsFormPicture(int P) const
    {
        for (const auto& f : FormPictures)
            if (f.second == P) return true;
        return false;
    }
    void WritePictures()
    {
        for (size_t i = 0; i < Pictures.size(); ++i) {
            auto [w, h] = Sizes[i];
            TBitmap b;
            b.SetPixelFormat(pf32bit);
            b.SetSize(w, h);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    b.SetPixelArgb(x, y, 0xFF000000u | Pictures[i][static_cast<size_t>(y * w + x)]);
            b.SetPixelFormat(pf24bit);
            b.SaveToFile(Folder.File(L"pic" + IntToStr(static_cast<int>(i)) + L".bmp"));
        }
    }
};

// The frame of a skinned form as AddFrame draws it: a 200 x 100 frame picture whose corner
// pieces have colours of their own, whose edges carry a 2-pixel stripe at the start of their
// middle (so tiled and stretched edges differ), a client piece of one colour, a caption rectangle
// and caption buttons 16 x 16 in an active picture (normal, hot, pressed and restore looks side by
// side, one row per button).
struct FrameSkin {
    static constexpr int W = 200, H = 100;
    static constexpr TRect ClRect{6, 30, 194, 94};
    static constexpr TPoint LT{20, 40}, RT{180, 40}, LB{20, 84}, RB{180, 84};
    static constexpr TRect CaptionRect{10, 4, 190, 26};  // from corner to corner: it grows
    static constexpr int BorderW = 4;
    static constexpr uint32_t kCornerTL = 0xC01010, kCornerTR = 0x10C010, kCornerBL = 0x1010C0, kCornerBR = 0xC0C010;
    static constexpr uint32_t kEdge = 0x606060, kStripe = 0xF0F0F0, kClient = 0xE0E0E0;
    static constexpr uint32_t kInactive = 0x303030;  // every piece of the inactive picture
    static constexpr int kButton = 16;

    bool Mask = false;           // a mask whose 6 x 6 corners are cut away
    int MaskW = 0, MaskH = 0;    // the mask's size when not the frame picture's (0: W, H)
    bool Inactive = false;       // an inactive picture
    bool Stretch = false;        // edges stretched rather than tiled
    bool Buttons = true;         // close, maximize and minimize buttons
    bool Caption = false;        // a caption object over CaptionRect
    std::string MoreButtonKeys;  // further keys of every button record
    std::string MoreFormInfo;    // "[FORMINFO]" keys ahead of the frame's own (the first of a key wins)
};

// Draws the frame into S: its pictures, FORMINFO, with Caption the caption record "caption" and,
// with Buttons, the button records
// "closebutton", "maxbutton", "minbutton" (commands cmclose, cmmaximize, cmminimize; the
// maximize button's restore looks in kExtra1 and kExtra2).
inline void AddFrame(SyntheticSkin& S, const FrameSkin& F = {})
{
    using FS = FrameSkin;
    const int frame = S.AddFormPicture(SyntheticSkin::kFramePicture, FS::W, FS::H, FS::kEdge);
    S.Block(frame, Rect(0, 0, FS::LT.X, FS::LT.Y), FS::kCornerTL, false);
    S.Block(frame, Rect(FS::RT.X, 0, FS::W, FS::RT.Y), FS::kCornerTR, false);
    S.Block(frame, Rect(0, FS::LB.Y, FS::LB.X, FS::H), FS::kCornerBL, false);
    S.Block(frame, Rect(FS::RB.X, FS::RB.Y, FS::W, FS::H), FS::kCornerBR, false);
    S.Block(frame, Rect(FS::LT.X, 0, FS::LT.X + 2, FS::ClRect.Top), FS::kStripe, false);
    S.Block(frame, Rect(FS::LB.X, FS::ClRect.Bottom, FS::LB.X + 2, FS::H), FS::kStripe, false);
    S.Block(frame, Rect(0, FS::LT.Y, FS::ClRect.Left, FS::LT.Y + 2), FS::kStripe, false);
    S.Block(frame, Rect(FS::ClRect.Right, FS::RT.Y, FS::W, FS::RT.Y + 2), FS::kStripe, false);
    S.Block(frame, FS::ClRect, FS::kClient, false);
    if (F.Inactive) S.AddFormPicture(SyntheticSkin::kInactivePicture, FS::W, FS::H, FS::kInactive);
    if (F.Mask) {
        const int mw = F.MaskW > 0 ? F.MaskW : FS::W, mh = F.MaskH > 0 ? F.MaskH : FS::H;
        const int m = S.AddFormPicture(SyntheticSkin::kMaskPicture, mw, mh, 0x000000);
        for (const TRect& c :
             {Rect(0, 0, 6, 6), Rect(mw - 6, 0, mw, 6), Rect(0, mh - 6, 6, mh), Rect(mw - 6, mh - 6, mw, mh)})
            S.Block(m, c, 0xFFFFFF, false);
    }
    auto point = [](const TPoint& P) { return std::to_string(P.X) + "," + std::to_string(P.Y); };
    const std::string stretch = F.Stretch ? "1" : "0";
    S.FormInfo = F.MoreFormInfo + "lefttoppoint=" + point(FS::LT) + "\r\nrighttoppoint=" + point(FS::RT) +
                 "\r\nleftbottompoint=" + point(FS::LB) + "\r\nrightbottompoint=" + point(FS::RB) +
                 "\r\nclientrect=" + IniRect(FS::ClRect) + "\r\ncaptionrect=" + IniRect(FS::CaptionRect) +
                 "\r\nborderwidth=" + std::to_string(FS::BorderW) +
                 "\r\nhittestlefttoppoint=10,10\r\nhittestrighttoppoint=190,10\r\nhittestleftbottompoint=10,90"
                 "\r\nhittestrightbottompoint=190,90\r\nleftstretch=" +
                 stretch + "\r\ntopstretch=" + stretch + "\r\nrightstretch=" + stretch +
                 "\r\nbottomstretch=" + stretch + "\r\n";
    if (F.Caption)
        S.Object("caption", "caption",
                 "skinrect=" + IniRect(FS::CaptionRect) + "\r\ntextrect=" + IniRect(Rect(4, 2, 176, 20)) + "\r\n");
    if (!F.Buttons) return;
    const int b = FS::kButton;
    const int pic = S.AddPicture(5 * b, 3 * b);
    const char* const names[] = {"closebutton", "maxbutton", "minbutton"};
    const char* const commands[] = {"cmclose", "cmmaximize", "cmminimize"};
    for (int i = 0; i < 3; ++i) {
        const int y = i * b;
        S.Block(pic, Rect(0, y, b, y + b), kNormal, false);
        S.Block(pic, Rect(b, y, 2 * b, y + b), kHot, false);
        S.Block(pic, Rect(2 * b, y, 3 * b, y + b), kDown, false);
        S.Block(pic, Rect(3 * b, y, 4 * b, y + b), kExtra1, false);
        S.Block(pic, Rect(4 * b, y, 5 * b, y + b), kExtra2, false);
        std::string keys = "skinrectinapicture=1\r\nactivepictureindex=" + std::to_string(S.ActiveIndex(pic)) +
                           "\r\nskinrect=" + IniRect(Rect(0, y, b, y + b)) +
                           "\r\nactiveskinrect=" + IniRect(Rect(b, y, 2 * b, y + b)) +
                           "\r\ndownrect=" + IniRect(Rect(2 * b, y, 3 * b, y + b)) + "\r\ncommand=" + commands[i] +
                           "\r\n";
        if (i == 1)
            keys += "restorerect=" + IniRect(Rect(3 * b, y, 4 * b, y + b)) +
                    "\r\nrestoreactiverect=" + IniRect(Rect(4 * b, y, 5 * b, y + b)) + "\r\n";
        S.Object(names[i], "stdbutton", F.MoreButtonKeys + keys);
    }
}

}  // namespace skintest
