// Quick buttons: small image buttons the application puts at the left of the caption (images
// from the form's QuickImageList), each with an optional hint, OnClick and popup menu. The form
// owns the collection; the caption object draws, tracks and clicks them.
#pragma once

#include "platform/framework/core/collection.h"
#include "platform/framework/forms/menus.h"

class TbsSkinForm;

class TbsQuickButtonItem : public TCollectionItem {
public:
    explicit TbsQuickButtonItem(TCollection* Collection);
    void Assign(TPersistent* Source) override;

    int ImageIndex() const { return FImageIndex; }
    virtual void SetImageIndex(int Value);
    const String& Hint() const { return FHint; }
    void SetHint(const String& Value) { FHint = Value; }
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool Value);
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value) { FPopupMenu = Value; }

    TNotifyEvent OnClick;
    // Run time: the button's place (window coordinates), hovered, pressed.
    TRect ItemRect{};
    bool Active = false;
    bool Down = false;

private:
    int FImageIndex = -1;
    String FHint;
    bool FEnabled = true;
    bool FVisible = true;
    TPopupMenu* FPopupMenu = nullptr;
};

class TbsQuickButtonItems : public TCollection {
public:
    explicit TbsQuickButtonItems(TbsSkinForm* ABSF);
    TbsQuickButtonItem* Add() { return static_cast<TbsQuickButtonItem*>(TCollection::Add()); }
    TbsQuickButtonItem* Insert(int Index) { return static_cast<TbsQuickButtonItem*>(TCollection::Insert(Index)); }
    TbsQuickButtonItem* Items(int Index) const { return static_cast<TbsQuickButtonItem*>(TCollection::Items(Index)); }

    TbsSkinForm* BSF;

protected:
    // Repaints the form's frame (not while it is loading).
    void Update(TCollectionItem* Item) override;
};
