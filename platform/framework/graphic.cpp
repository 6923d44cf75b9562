// TGraphic: size, transparency, change notice and file helpers shared by the picture classes.
#include "platform/framework/graphic.h"

void TGraphic::SetSize(int AWidth, int AHeight)
{
    SetWidth(AWidth);
    SetHeight(AHeight);
}

void TGraphic::SetTransparent(bool Value)
{
    if (Value == FTransparent) return;
    FTransparent = Value;
    Changed();
}

void TGraphic::SetModified(bool Value)
{
    if (Value) Changed();
    else FModified = false;
}

void TGraphic::Changed()
{
    FModified = true;
    if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const String& FileName)
{
    TFileStream stream(FileName, fmOpenRead);
    LoadFromStream(stream);
}

void TGraphic::SaveToFile(const String& FileName)
{
    // Written to memory first, so a failing encoder leaves no half file behind.
    TMemoryStream data;
    SaveToStream(data);
    TFileStream stream(FileName, fmCreate);
    data.SaveToStream(stream);
}
