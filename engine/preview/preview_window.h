// TPreviewer: the live preview of one converting task, a small stay-on-top tool window of the
// window layer that shows the pictures handed to the encoder, titled with the picture's time.
// The transcoder's preview post hook (engine/frame_hook_calls.cpp) creates one per task on the
// first preview picture and hands it pictures from the converting thread; the window itself is
// created, painted and freed only on the main thread, while the converting thread waits. Its own
// library (engine/preview), the engine's only part on the window layer.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/framework/core/component.h"
#include "platform/win/win_types.h"

class TBitmap;

// The window class of the preview windows.
extern const wchar_t* const PreviewWindowClassName;  // L"TPreviewForm"

// What the window and the converting thread share. It outlives the previewer as long as a
// hand-over to the main thread still refers to it.
struct TPreviewState;

class TPreviewer : public TObject {
public:
    TPreviewer();
    // Frees the window on the main thread (and waits for that).
    ~TPreviewer() override;

    // Shows ABitmap (owned by the caller) in the window, made on the first call with the size of
    // that picture, with ACaption (the picture's time) as its title; the caller waits until it is
    // drawn. False once the user has closed the window: nothing is shown any more.
    bool PaintFrame(TBitmap* ABitmap, int AFrameNumber, int64_t APTS, const String& ACaption);
    // The same on a state taken from a previewer, for callers that must not hold the previewer
    // itself while they wait for the main thread (it may be freed meanwhile).
    static bool PaintFrame(const std::shared_ptr<TPreviewState>& AState, TBitmap* ABitmap, int AFrameNumber,
                           int64_t APTS, const String& ACaption);
    std::shared_ptr<TPreviewState> State() const { return FState; }

    // The window (nullptr until the first picture and after it is freed); whether the user closed it.
    HWND FormHandle() const;
    bool Closed() const;
    // The number and time of the picture shown last.
    int FrameNumber() const;
    int64_t PTS() const;

private:
    std::shared_ptr<TPreviewState> FState;
};
