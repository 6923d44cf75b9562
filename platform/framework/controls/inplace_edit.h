// The in-place editor of the tree and list views: an edit over an item's text that ends with
// Enter (accepted), Escape (cancelled) or the focus leaving it (accepted). The view owns one and
// hears once, by OnFinish, how each editing ended.
#pragma once

#include <functional>

#include "platform/framework/controls/edit.h"

class TInplaceEdit : public TCustomEdit {
public:
    explicit TInplaceEdit(TWinControl* View);

    // Shows the editor over R (the view's client coordinates) holding Text, all of it selected,
    // and gives it the focus.
    void Start(const TRect& R, const String& Text);
    bool Active() const { return FActive; }
    // Ends editing (nothing when not editing): the editor hides, the view gets the focus back
    // when the editor had it, then OnFinish runs.
    void Finish(bool Accept);

    std::function<void(bool Accept, const String& Text)> OnFinish;

protected:
    void Dispatch(TMessage& Message) override;
    bool WantsKey(WORD Key) override;

private:
    TWinControl* FView;
    bool FActive = false;
};
