// What a skinned form's skin-change walk and its cancel-mode pass need of a control, so the
// form walks its controls without knowing their classes. Every class that takes part in the
// walk (the windowed and graphic skin bases, the standard label, the splitter, the edits, the
// views, the page control, the bevel, the link and text labels) implements it once.
//
// The walk: on WM_SKINDATA_BEFORECHANGE from the form's own model, SkinChangeBegin on every
// control whose SkinChangeModel is that model; on WM_SKINDATA_CHANGE, SkinChangeEnd on every
// control whose model is the sender (every one when the sender is nil).
#pragma once

class TbsSkinData;

class TbsSkinChangeClient {
public:
    virtual ~TbsSkinChangeClient() = default;

    // The skin model the control draws from (its own SkinData), compared with the sender.
    virtual TbsSkinData* SkinChangeModel() const = 0;
    // Before the model loads another skin: only the windowed skin controls act (they forget
    // their record and hide what they show outside themselves); the others ignore it.
    virtual void SkinChangeBegin() {}
    // The new skin is in place: the control's own ChangeSkinData.
    virtual void SkinChangeEnd() = 0;
    // Whether the control hears CM_CANCELMODE when its MDI form closes its menus (the form
    // still checks that it is visible and enabled).
    virtual bool SkinCancelModeClient() const { return false; }
};
