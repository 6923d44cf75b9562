// The check the hostile-skin tests make on each control after its run through a bad skin: its
// record index is -1 (the built-in look) or names a record of the model under the control's own
// skin name, and a windowed control still paints: its window shows it at its whole size, and an
// opaque one shows something over the form's colour.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/framework/core/strings.h"
#include "platform/win/headless_api.h"
#include "skin/controls/graphic_skin_control.h"
#include "skin/controls/skin_control.h"
#include "skin/core/control_records.h"

namespace skintest {

// The colour hostile-skin tests give the form: no synthetic-skin colour and no built-in look.
constexpr TColor kHostileFormColour = TColor(0x02FE02);  // the same read as 0xRRGGBB

inline void ExpectSoundControl(TControl* C, TbsSkinData* Model)
{
    const std::string what = typeid(*C).name();
    int index = -2;
    String name;
    if (auto* w = dynamic_cast<TbsSkinControl*>(C)) {
        index = w->SkinIndex();
        name = w->SkinDataName();
    } else if (auto* g = dynamic_cast<TbsGraphicSkinControl*>(C)) {
        index = g->SkinIndex();
        name = g->SkinDataName();
    }
    if (index != -2 && index != -1) {
        ASSERT_GE(index, 0) << what;
        ASSERT_LT(index, static_cast<int>(Model->CtrlList.size())) << what;
        EXPECT_EQ(StringToUtf8(Model->CtrlList[static_cast<size_t>(index)]->IDName), StringToUtf8(name)) << what;
    }
    auto* win = dynamic_cast<TWinControl*>(C);
    if (!win || !win->HandleAllocated() || !C->Visible() || C->Width() < 2 || C->Height() < 2) return;
    C->Repaint();
    int w = 0, h = 0;
    const auto px = vxwin::WindowPixels(win->Handle(), &w, &h);
    EXPECT_EQ(w, C->Width()) << what;
    EXPECT_EQ(h, C->Height()) << what;
    if (!C->ControlStyle().Contains(csOpaque)) return;
    bool painted = false;
    for (uint32_t p : px) painted = painted || (p & 0xFFFFFF) != (static_cast<uint32_t>(kHostileFormColour) & 0xFFFFFF);
    EXPECT_TRUE(painted) << what << ": an opaque control shows only the form behind it";
}

}  // namespace skintest
