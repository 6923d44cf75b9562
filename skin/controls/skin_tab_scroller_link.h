// What the page control needs of its tab scroller, the skinned up-down, which lives with the
// boxes (a library built on top of this one): making one and reading and writing its range,
// position and change event. The boxes fill the link (UseSkinUpDownTabScroller); while it is
// empty a page control whose tabs overflow shows no scroller at all, never the native arrows.
#pragma once

#include <functional>

#include "platform/framework/core/component.h"
#include "skin/controls/skin_control.h"

struct TbsTabScrollerLink {
    // A new scroller owned by Owner, not yet placed; nullptr when none can be made.
    std::function<TbsSkinCustomControl*(TComponent* Owner)> Make;
    std::function<int(TbsSkinCustomControl* Scroller)> Position;
    // Fires the scroller's change event when the position is accepted.
    std::function<void(TbsSkinCustomControl* Scroller, int Value)> SetPosition;
    std::function<void(TbsSkinCustomControl* Scroller, int Min, int Max, int Increment)> SetRange;
    std::function<void(TbsSkinCustomControl* Scroller, TNotifyEvent OnChange)> SetOnChange;

    bool Registered() const { return Make && Position && SetPosition && SetRange && SetOnChange; }
};

// The link in use; empty until the boxes register the up-down.
TbsTabScrollerLink& TabScrollerLink();
