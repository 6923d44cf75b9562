// Actions: TBasicAction (OnExecute), TCustomAction / TAction (caption, checked, enabled, visible,
// hint, image index, shortcut, group) and TActionList (the actions and their images). A control
// linked to an action takes its properties (TControl::ActionChange) and runs it when clicked
// without an OnClick of its own; every change of the action reaches its controls again.
#pragma once

#include <vector>

#include "platform/framework/controls/control_types.h"
#include "platform/framework/core/component.h"

class TControl;
class TCustomImageList;
class TActionList;

class TBasicAction : public TComponent {
public:
    explicit TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}
    ~TBasicAction() override;
    // Runs OnExecute; false when there is none.
    virtual bool Execute();
    // Runs OnUpdate; false when there is none.
    virtual bool Update();
    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;

    // Controls showing this action (kept by TControl::SetAction).
    void RegisterClient(TControl* c);
    void UnRegisterClient(TControl* c);

protected:
    virtual void Change();
    std::vector<TControl*> FClients;
};

class TCustomAction : public TBasicAction {
    friend class TActionList;

public:
    explicit TCustomAction(TComponent* AOwner) : TBasicAction(AOwner) {}
    ~TCustomAction() override { SetActionList(nullptr); }
    TActionList* ActionList() const { return FActionList; }
    void SetActionList(TActionList* v);
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& v);
    bool Checked() const { return FChecked; }
    void SetChecked(bool v);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    const String& Hint() const { return FHint; }
    void SetHint(const String& v);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut v);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int v) { FGroupIndex = v; }
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool v) { FAutoCheck = v; }
    // A disabled action does not run.
    bool Execute() override;

private:
    TActionList* FActionList = nullptr;
    String FCaption;
    String FHint;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    int FImageIndex = -1;
    TShortCut FShortCut = 0;
    int FGroupIndex = 0;
    bool FAutoCheck = false;
};

class TAction : public TCustomAction {
public:
    explicit TAction(TComponent* AOwner) : TCustomAction(AOwner) {}
};

class TActionList : public TComponent {
    friend class TCustomAction;

public:
    explicit TActionList(TComponent* AOwner) : TComponent(AOwner) {}
    ~TActionList() override;
    int ActionCount() const { return static_cast<int>(FActions.size()); }
    TCustomAction* Actions(int i) const { return FActions.at(static_cast<size_t>(i)); }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* v) { FImages = v; }
    // Runs the action whose shortcut the key makes; true when one ran.
    bool IsShortCut(TMessage& KeyMsg);

private:
    std::vector<TCustomAction*> FActions;
    TCustomImageList* FImages = nullptr;
};
