#include "skin/dialogs/dialog_tool_pictures.h"

#include <cstring>
#include <functional>

#include "platform/framework/core/exceptions.h"
#include "skin/core/png_image_list.h"

namespace {

constexpr int kSize = 16;

// A transparent 16 x 16 picture with a pen that sets opaque pixels.
struct ToolPicture {
    TbsPngImage Png;
    ToolPicture()
    {
        Png.CreateBlank(COLOR_RGBALPHA, 8, kSize, kSize);
        for (int y = 0; y < kSize; ++y) std::memset(Png.AlphaScanline(y), 0, kSize);
    }
    void Dot(int X, int Y, TColor C)
    {
        if (X < 0 || Y < 0 || X >= kSize || Y >= kSize) return;
        Png.SetPixels(X, Y, C);
        Png.AlphaScanline(Y)[X] = 255;
    }
    void Fill(int L, int T, int R, int B, TColor C)
    {
        for (int y = T; y < B; ++y)
            for (int x = L; x < R; ++x) Dot(x, y, C);
    }
    void Frame(int L, int T, int R, int B, TColor C)
    {
        Fill(L, T, R, T + 1, C);
        Fill(L, B - 1, R, B, C);
        Fill(L, T, L + 1, B, C);
        Fill(R - 1, T, R, B, C);
    }
};

constexpr TColor kArrow = 0x00A05A1E;   // blue (BGR)
constexpr TColor kFolder = 0x0040B8E8;  // yellow
constexpr TColor kFolderEdge = 0x00207AA0;
constexpr TColor kDark = 0x00404040;
constexpr TColor kSpark = 0x0000A000;

// A folder outline with its tab; the new-folder picture adds a plus.
void DrawFolder(ToolPicture& P)
{
    P.Fill(1, 3, 7, 5, kFolder);
    P.Fill(1, 5, 15, 14, kFolder);
    P.Frame(1, 5, 15, 14, kFolderEdge);
    P.Fill(1, 3, 7, 4, kFolderEdge);
}

void DrawBack(ToolPicture& P)
{
    // A left arrow: the head's rows widen towards the shaft.
    for (int i = 0; i < 6; ++i) P.Fill(2 + 5 - i, 8 - i, 2 + 6, 8 + i + 1, kArrow);
    P.Fill(8, 6, 14, 11, kArrow);
}

void DrawUp(ToolPicture& P)
{
    DrawFolder(P);
    for (int i = 0; i < 4; ++i) P.Fill(9 - i, 1 + i, 10 + i, 2 + i, kArrow);
    P.Fill(8, 5, 11, 11, kArrow);
}

void DrawNewFolder(ToolPicture& P)
{
    DrawFolder(P);
    P.Fill(12, 0, 13, 5, kSpark);
    P.Fill(10, 2, 15, 3, kSpark);
}

void DrawViewStyle(ToolPicture& P)
{
    // Four small tiles.
    for (int y : {2, 9})
        for (int x : {2, 9}) {
            P.Fill(x, y, x + 5, y + 5, 0x00FFFFFF);
            P.Frame(x, y, x + 5, y + 5, kDark);
        }
}

void DrawStretch(ToolPicture& P)
{
    // A frame with arrows towards two corners.
    P.Frame(1, 1, 15, 15, kDark);
    for (int i = 0; i < 5; ++i) {
        P.Dot(4 + i, 4 + i, kArrow);
        P.Dot(11 - i, 11 - i, kArrow);
    }
    P.Fill(4, 4, 7, 5, kArrow);
    P.Fill(4, 4, 5, 7, kArrow);
    P.Fill(9, 11, 12, 12, kArrow);
    P.Fill(11, 9, 12, 12, kArrow);
}

std::function<void(ToolPicture&)> Painter(const wchar_t* Name)
{
    const String n = Name;
    if (n == L"BS_BACK_PNG") return DrawBack;
    if (n == L"BS_UP_PNG") return DrawUp;
    if (n == L"BS_NEWFOLDER_PNG") return DrawNewFolder;
    if (n == L"BS_LVSTYLE_PNG") return DrawViewStyle;
    if (n == L"BS_STRETCH_PNG") return DrawStretch;
    return nullptr;
}

}  // namespace

void AddDialogToolPictures(TbsPngImageList* List, std::initializer_list<const wchar_t*> Names)
{
    for (const wchar_t* name : Names) {
        auto paint = Painter(name);
        if (!paint) throw EComponentError(String(L"No tool picture ") + name);
        ToolPicture p;
        paint(p);
        TbsPngImageItem* item = List->PngImages()->Add();
        item->SetName(name);
        item->SetPngImage(&p.Png);
    }
}
