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
    // Extra sections (such as "[SKINCOLORS]") appended to the INI as they stand.
    std::string ExtraSections;

    // The whole INI text of the skin.
    std::string Ini() const
    {
        std::string s =
            "[VERSION]\r\nskinname=Synthetic\r\n[PICTURES]\r\nactivepicturescount=" + std::to_string(Pictures.size()) +
            "\r\n";
        for (size_t i = 0; i < Pictures.size(); ++i) s += std::to_string(i) + "=pic" + std::to_string(i) + ".bmp\r\n";
        s += "[FORMINFO]\r\n[SKINOBJECTS]\r\ncount=0\r\n[SKINCONTROLS]\r\ncount=" + std::to_string(Controls.size()) +
             "\r\n";
        for (size_t i = 0; i < Controls.size(); ++i)
            s += std::to_string(i) + "=" + Controls[i].Name + ":" + Controls[i].Type + "\r\n";
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
    TempDir Folder;

private:
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

}  // namespace skintest
