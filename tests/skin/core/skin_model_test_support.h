// Skins made by the skin core tests: small bitmaps and INI texts in a temporary folder, stored
// skins built from them, and forms that record the skin notices they receive.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/framework/core/strings.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/framework/graphics/bitmap.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_messages.h"
#include "skin/core/stored_skin.h"
#include "skin/core/zlib_streams.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_dir.h"

// A folder holding one test skin: pictures by name and the INI.
struct SkinFolder {
    TempDir dir;

    // A 24-bit bitmap filled with one colour (0xRRGGBB), or with Fill(x, y) per pixel.
    void Bmp(const std::string& name, int w, int h, uint32_t rgb = 0x336699, TPixelFormat pf = pf24bit)
    {
        TBitmap b;
        b.SetPixelFormat(pf32bit);
        b.SetSize(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) b.SetPixelArgb(x, y, 0xFF000000u | rgb);
        b.SetPixelFormat(pf);
        b.SaveToFile(File(name));
    }
    // A 24-bit bitmap of w x h pixels given row by row as 0xRRGGBB.
    void Pixels(const std::string& name, int w, int h, const std::vector<uint32_t>& rgb)
    {
        TBitmap b;
        b.SetPixelFormat(pf32bit);
        b.SetSize(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) b.SetPixelArgb(x, y, 0xFF000000u | rgb[static_cast<size_t>(y * w + x)]);
        b.SetPixelFormat(pf24bit);
        b.SaveToFile(File(name));
    }
    void Text(const std::string& name, const std::string& bytes) { WriteBytes(dir.file(name), bytes); }
    String File(const std::string& name) const { return dir.Dir() + Utf8ToString(name); }
};

// The five sections of a skin with one picture, one object and one control, plus Extra.
inline std::string SkinIni(const std::string& name = "Test", const std::string& extra = std::string())
{
    return "[VERSION]\r\nskinname=" + name +
           "\r\n[PICTURES]\r\npicture=form.bmp\r\nactivepicturescount=1\r\n0=pic0.bmp\r\n"
           "[FORMINFO]\r\nclientrect=2,20,28,28\r\n"
           "[SKINOBJECTS]\r\ncount=1\r\n0=closebutton:stdbutton\r\n"
           "[SKINCONTROLS]\r\ncount=1\r\n0=button:button\r\n"
           "[closebutton]\r\nskinrect=20,2,28,10\r\ncommand=cmclose\r\n"
           "[button]\r\npictureindex=0\r\nskinrect=0,0,8,8\r\n" +
           extra;
}

// A folder with SkinIni and its two pictures; returns the INI's path.
inline String MakeFolderSkin(SkinFolder& f, const std::string& name = "Test", const std::string& extra = "")
{
    f.Bmp("form.bmp", 30, 30);
    f.Bmp("pic0.bmp", 8, 8, 0xFF0000);
    f.Text("skin.ini", SkinIni(name, extra));
    return f.File("skin.ini");
}

// The inflated payload of a stored skin, and a stored skin's data replaced by a payload.
inline std::vector<uint8_t> PayloadOf(TbsCompressedStoredSkin& s)
{
    TMemoryStream m;
    s.DeCompressToStream(m);
    return m.Data();
}
inline void SetPayload(TbsCompressedStoredSkin& s, const std::vector<uint8_t>& payload)
{
    TMemoryStream in, out;
    in.WriteBuffer(payload.data(), static_cast<int64_t>(payload.size()));
    CompressStream(in, out);
    s.SetCompressedData(out.Data());
}

// A form that writes each skin notice it receives as "number:name" into a shared log, and
// checks that the model and 1000 came with it.
class TNoticeForm : public TForm {
public:
    TNoticeForm(std::vector<std::string>* log, std::string name) : TForm(Application), FLog(log), FName(name)
    {
        SetBorderStyle(bsNone);
        SetBounds(0, 0, 40, 30);
        AfterConstruction();
    }
    TbsSkinData* expectedModel = nullptr;

protected:
    void Dispatch(TMessage& m) override
    {
        switch (m.Msg) {
        case WM_SKINDATA_BEFORECHANGE:
        case WM_SKINDATA_CHANGE:
        case WM_SKINDATA_AFTERCHANGE:
        case WM_SKINDATA_STRINGSCHANGED:
        case WM_SKINDATA_SKINNABLECHANGED:
        case WM_SKINDATA_LAYERCHANGED:
        case WM_SKINDATA_BLURCHANGED:
            FLog->push_back(std::to_string(m.Msg) + ":" + FName);
            if (expectedModel) {
                EXPECT_EQ(m.WParam, reinterpret_cast<WPARAM>(expectedModel));
            }
            EXPECT_EQ(m.LParam, 1000);
            break;
        default: break;
        }
        TForm::Dispatch(m);
    }

private:
    std::vector<std::string>* FLog;
    std::string FName;
};

// The class name that marks a layered border window; the broadcast leaves it out.
class TbsFormLayerWindow : public TNoticeForm {
public:
    using TNoticeForm::TNoticeForm;
};
