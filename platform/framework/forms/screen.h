// TScreen (global Screen): the program's forms in screen order (the most recently activated
// first), the active form and control, the screen and work-area size, the monitors (TMonitor),
// the installed font families (Fonts) and the program-wide cursor. Forms register themselves;
// the skin engine walks Forms to broadcast.
#pragma once

#include <vector>

#include "platform/framework/controls/control_types.h"
#include "platform/framework/core/component.h"
#include "platform/framework/core/string_list.h"

class TCustomForm;
class TWinControl;

// One monitor as the window layer reports it (a snapshot taken when TScreen lists them).
class TMonitor : public TObject {
public:
    TMonitor(HMONITOR Handle, int MonitorNum) : FHandle(Handle), FMonitorNum(MonitorNum) {}
    HMONITOR Handle() const { return FHandle; }
    int MonitorNum() const { return FMonitorNum; }
    TRect BoundsRect() const;
    TRect WorkareaRect() const;
    bool Primary() const;
    int Left() const { return BoundsRect().Left; }
    int Top() const { return BoundsRect().Top; }
    int Width() const { return BoundsRect().Width(); }
    int Height() const { return BoundsRect().Height(); }

private:
    HMONITOR FHandle;
    int FMonitorNum;
};

class TScreen : public TComponent {
    friend class TCustomForm;

public:
    explicit TScreen(TComponent* AOwner) : TComponent(AOwner) {}

    int FormCount() const { return static_cast<int>(FForms.size()); }
    TCustomForm* Forms(int i) const { return FForms.at(static_cast<size_t>(i)); }
    int CustomFormCount() const { return FormCount(); }
    TCustomForm* CustomForms(int i) const { return Forms(i); }
    TCustomForm* ActiveForm() const { return FActiveForm; }
    TCustomForm* ActiveCustomForm() const { return FActiveForm; }
    TWinControl* ActiveControl() const { return FActiveControl; }
    int Width() const;
    int Height() const;
    TRect WorkAreaRect() const;
    int WorkAreaWidth() const { return WorkAreaRect().Width(); }
    int WorkAreaHeight() const { return WorkAreaRect().Height(); }
    int MonitorCount() const;
    TMonitor* Monitors(int i) const;
    TMonitor* PrimaryMonitor() const;
    TMonitor* MonitorFromWindow(HWND Handle) const;
    TMonitor* MonitorFromPoint(const TPoint& P) const;
    // The rectangle around every monitor.
    TRect DesktopRect() const;
    // The installed font families, sorted (read once, on first use).
    TStrings* Fonts();
    ~TScreen() override;
    // crDefault lets every control show its own cursor; anything else overrides them all.
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor v);
    HCURSOR CursorHandle(TCursor c) const;

    void SetActiveControl(TWinControl* c) { FActiveControl = c; }
    void FormActivated(TCustomForm* f);

private:
    void AddForm(TCustomForm* f);
    void RemoveForm(TCustomForm* f);
    std::vector<TCustomForm*> FForms;
    TCustomForm* FActiveForm = nullptr;
    TWinControl* FActiveControl = nullptr;
    TCursor FCursor = crDefault;
    void RefreshMonitors() const;
    TMonitor* FindMonitor(HMONITOR h) const;
    mutable std::vector<TMonitor*> FMonitors;
    TStringList* FFonts = nullptr;
};

extern TScreen* Screen;
