// The entries of the office list and combo boxes: an item may carry a bold title line, a caption,
// an image of the list's image list and a check box, or be a group header row; it can be
// disabled. The collection belongs to its list and tells it of every change, so the list repaints
// and follows its scroll range (or waits for the end of an update bracket).
#pragma once

#include "platform/framework/core/collection.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/core/types.h"

class TbsSkinOfficeListBox;

class TbsSkinOfficeItem : public TCollectionItem {
public:
    explicit TbsSkinOfficeItem(TCollection* Collection);

    // Copies ImageIndex, Caption, Title, Enabled, Checked and Header of another office item;
    // anything else is refused as the framework refuses it.
    void Assign(TPersistent* Source) override;

    int ImageIndex() const { return FImageIndex; }
    virtual void SetImageIndex(int Value);
    const String& Title() const { return FTitle; }
    virtual void SetTitle(const String& Value);
    const String& Caption() const { return FCaption; }
    virtual void SetCaption(const String& Value);
    void* Data() const { return FData; }
    // Stores the pointer only: the list never reads it.
    virtual void SetData(void* Value);
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);
    bool Header() const { return FHeader; }
    virtual void SetHeader(bool Value);
    bool Checked() const { return FChecked; }
    virtual void SetChecked(bool Value);

    // Fired with the list as sender when the item becomes the selected one through SetItemIndex.
    TNotifyEvent OnClick;

    // Set by every layout of the list: the rectangle in list client coordinates (scrolled), and
    // whether it shows in the item area.
    TRect ItemRect{};
    bool IsVisible = false;
    // The item is the selected one.
    bool Active = false;

private:
    int FImageIndex = -1;
    String FTitle;
    String FCaption;
    bool FEnabled = true;
    void* FData = nullptr;
    bool FHeader = false;
    bool FChecked = false;
};

class TbsSkinOfficeItems : public TCollection {
public:
    explicit TbsSkinOfficeItems(TbsSkinOfficeListBox* AListBox);

    // The collection's work, then a repaint of the list.
    TbsSkinOfficeItem* Add();
    TbsSkinOfficeItem* Insert(int Index);
    void Delete(int Index);
    void Clear();

    // The item at Index (the collection's bounds check applies).
    TbsSkinOfficeItem* Items(int Index) const { return static_cast<TbsSkinOfficeItem*>(TCollection::Items(Index)); }
    TbsSkinOfficeItem* operator[](int Index) const { return Items(Index); }

    TbsSkinOfficeListBox* OfficeListBox;

protected:
    // Every change notice: repaint the list, then its scroll range.
    void Update(TCollectionItem* Item) override;
};
