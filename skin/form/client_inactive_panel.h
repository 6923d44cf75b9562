// TbsClientInActivePanel: while a skinned form is inactive (with ClientInActiveEffect on), a
// panel over its client area shows a snapshot of it, blurred or dimmed by the form's background,
// so the inactive form looks faded.
#pragma once

#include "platform/framework/controls/custom_control.h"
#include "platform/framework/forms/forms.h"
#include "skin/form/skin_form.h"

class TbsBitmap;

class TbsClientInActivePanel : public TCustomControl {
public:
    explicit TbsClientInActivePanel(TComponent* AOwner);
    ~TbsClientInActivePanel() override;

    // Covers AForm's client area with the snapshot (nothing for a nil, hidden or empty form).
    void ShowPanel(TCustomForm* AForm, TbsClientInActiveEffect AEffect);
    void HidePanel();

    TbsBitmap* Buffer = nullptr;

protected:
    void Paint() override;
};
