#include "app/plain_panel.h"

#include "platform/framework/controls/panel.h"

TWinControl* NewPlainPanel(TComponent* AOwner, TWinControl* AParent, const String& AName, int ALeft, int ATop,
                           int AWidth, int AHeight, TColor AColor, TPanel** AField)
{
    auto* panel = new TPanel(AOwner);
    panel->SetName(AName);
    panel->SetParent(AParent);
    panel->SetCaption(L"");
    panel->SetBevelOuter(bvNone);
    panel->SetColor(AColor);
    panel->SetBounds(ALeft, ATop, AWidth, AHeight);
    *AField = panel;
    return panel;
}
