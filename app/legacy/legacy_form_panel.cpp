// The legacy form's plain command panel. In a file of its own: the plain panel's bevel names
// and the skinned panel's border names share their spellings, so one file cannot see both.
#include "app/legacy/legacy_form.h"
#include "platform/framework/controls/panel.h"

TCustomControl* MakeLegacyCommandPanel(TForm6* form)
{
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetCaption(L"Panel1");
    panel->SetBounds(704, 77, 305, 305);
    panel->SetTabOrder(1);
    return panel;
}
