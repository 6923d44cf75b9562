#include "app/program_icons.h"

#include <cstdio>

#include "app/program_icons_data.h"
#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/streams.h"
#include "platform/framework/core/strings.h"
#include "skin/core/png_image_list.h"

const TProgramIconData* FindProgramIcon(const std::string& Name)
{
    for (size_t i = 0; i < kProgramIconCount; ++i)
        if (Name == kProgramIcons[i].Name) return &kProgramIcons[i];
    return nullptr;
}

void AddProgramIcon(TbsPngImageList* List, const std::string& Name)
{
    const TProgramIconData* icon = FindProgramIcon(Name);
    if (!icon) throw EComponentError(L"The program has no icon " + Utf8ToString(Name));
    TbsPngImage png;
    TMemoryStream m;
    m.WriteBuffer(icon->Png, static_cast<int64_t>(icon->PngSize));
    m.SetPosition(0);
    png.LoadFromStream(m);
    TbsPngImageItem* item = List->PngImages()->Add();
    item->SetName(Utf8ToString(Name));
    item->SetPngImage(&png);
}

namespace {

TbsPngImageList* NewList(TComponent* AOwner, const String& AName, int ASize)
{
    auto* list = new TbsPngImageList(AOwner);
    list->SetName(AName);
    list->SetPngWidth(ASize);
    list->SetPngHeight(ASize);
    return list;
}

}  // namespace

TbsPngImageList* NewProgramImageList(TComponent* AOwner, const String& AName, int ASize,
                                     const std::vector<std::string>& ANames)
{
    TbsPngImageList* list = NewList(AOwner, AName, ASize);
    for (const std::string& name : ANames) AddProgramIcon(list, name);
    return list;
}

TbsPngImageList* NewCategoryImageList(TComponent* AOwner, const String& AName)
{
    TbsPngImageList* list = NewList(AOwner, AName, 16);
    char name[32];
    for (int code = 0; code < 24; ++code) {
        std::snprintf(name, sizeof name, "category_%02d", code);
        AddProgramIcon(list, name);
    }
    return list;
}

TbsPngImageList* NewPresetImageList(TComponent* AOwner, const String& AName)
{
    TbsPngImageList* list = NewList(AOwner, AName, 16);
    AddProgramIcon(list, "preset_0");
    AddProgramIcon(list, "preset_1");
    return list;
}
