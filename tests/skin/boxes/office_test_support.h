// Helpers of the office list and combo tests: PNG image lists of solid pictures (one colour per
// image, as the forms' lists hold them) and an event log.
#pragma once

#include <string>
#include <vector>

#include "skin/core/png_image_list.h"

namespace officetest {

// Picture I of the list is solid Colors[I] (0xRRGGBB), Size x Size.
inline TbsPngImageList* MakePngList(TComponent* Owner, int Size, const std::vector<uint32_t>& Colors)
{
    auto* list = new TbsPngImageList(Owner);
    list->SetPngWidth(Size);
    list->SetPngHeight(Size);
    for (uint32_t c : Colors) {
        TPngImage png;
        png.CreateBlank(2, 8, Size, Size);
        const TColor color = static_cast<TColor>(((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
        for (int y = 0; y < Size; ++y)
            for (int x = 0; x < Size; ++x) png.SetPixels(x, y, color);
        list->PngImages()->Add()->SetPngImage(&png);
    }
    return list;
}

struct EventLog {
    std::vector<std::string> Lines;
    void operator()(const std::string& S) { Lines.push_back(S); }
    std::string Text() const
    {
        std::string s;
        for (const auto& l : Lines) s += (s.empty() ? "" : " ") + l;
        return s;
    }
    std::string Take()
    {
        std::string s = Text();
        Lines.clear();
        return s;
    }
};

}  // namespace officetest
