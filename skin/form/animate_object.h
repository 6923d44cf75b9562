// TbsSkinAnimateObject: a frame object that plays a strip of frames from the skin's active
// picture (frames side by side from ActiveSkinRect's top-left, each the size of SkinRect), a
// frame per TimerInterval on the form's 25 ms animate timer; optionally a caption button
// (ButtonStyle) that plays forward while hovered, back when left, and runs a window command.
#pragma once

#include "skin/form/frame_objects.h"

class TbsSkinAnimateObject : public TbsActiveSkinObject {
public:
    TbsSkinAnimateObject(TbsSkinForm* AParent, TbsDataSkinObject* AData);

    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void DblClick() override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    // Never through the layered top border window.
    TRect ScreenRect() override;

    int Frame() const { return FFrame; }
    // Wraps (forward past CountFrames to 1, backward below 1 to CountFrames), then a redraw.
    void SetFrame(int Value);
    // One tick of the form's animate timer.
    void ChangeFrame();
    void Start();
    void Stop();
    void PopupObjectMenu();
    // The state the object toggles is on (maximized, minimized, rolled up).
    bool RestoreLook();

    int FFrame = 1;
    int FInc = 25;
    int TimerInterval = 25;
    TMenuItem* MenuItem = nullptr;
    bool FPopupUp = false;
    bool FDown = false;
    bool FMenuTracking = false;
    int CountFrames = 0;
    bool Cycle = false;
    bool ButtonStyle = false;
    bool Increment = true;
    TbsStdCommand Command = cmDefault;
    TRect DownSkinRect{}, RestoreRect{}, RestoreActiveRect{}, RestoreInActiveRect{}, RestoreDownRect{};
    String RestoreHint;
    String FTempHint;

protected:
    TbsLayerManager* GlowManager() override;

private:
    void ExecuteCommand();
    // Frame n of the strip (1-based) in ActivePicture.
    TRect FrameRect(int N);
};
