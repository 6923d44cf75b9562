// An image list whose images are PNG pictures with alpha, so icons keep soft edges on any
// background; a disabled image is drawn at half opacity. To the rest of the program it is an
// ordinary image list: for every PNG item it holds a blank placeholder image at the same index,
// so its count is the number of items. Also the copy of a PNG into a skin bitmap.
#pragma once

#include "platform/framework/core/collection.h"
#include "platform/framework/graphics/image_list.h"
#include "platform/framework/graphics/png_image.h"
#include "skin/core/skin_bitmap.h"

class TbsPngImage : public TPngImage {
public:
    TGraphic* CreateEmpty() const override { return new TbsPngImage; }
};

class TbsPngImageList;

class TbsPngImageItem : public TCollectionItem {
public:
    // Named "PngImage<index>"; its list gets a placeholder at that index.
    explicit TbsPngImageItem(TCollection* Collection);
    ~TbsPngImageItem() override;
    void Assign(TPersistent* Source) override;
    String DisplayName() const override;

    const String& Name() const { return FName; }
    void SetName(const String& Value) { FName = Value; }
    TbsPngImage* PngImage() const { return FPngImage.get(); }
    // Copies the picture into the item's own and signals the change.
    void SetPngImage(TPngImage* Value);

private:
    TbsPngImageList* List() const;

    std::unique_ptr<TbsPngImage> FPngImage;
    String FName;
};

class TbsPngImageItems : public TCollection {
public:
    explicit TbsPngImageItems(TbsPngImageList* AOwner);
    TbsPngImageItem* Items(int Index) const { return static_cast<TbsPngImageItem*>(TCollection::Items(Index)); }
    TbsPngImageItem* Add() { return static_cast<TbsPngImageItem*>(TCollection::Add()); }
    TbsPngImageList* PngImageList() const { return FPngImageList; }

private:
    TbsPngImageList* FPngImageList;
};

class TbsPngImageList : public TCustomImageList {
public:
    explicit TbsPngImageList(TComponent* AOwner);
    ~TbsPngImageList() override;

    TbsPngImageItems* PngImages() const { return FPngImages.get(); }
    void SetPngImages(TbsPngImageItems* Value) { FPngImages->Assign(Value); }
    int PngWidth() const { return Width(); }
    int PngHeight() const { return Height(); }
    // A new size removes every item at run time; while the list is loaded the items stay.
    void SetPngWidth(int Value);
    void SetPngHeight(int Value);

protected:
    // Item Index into (X, Y, X + Width, Y + Height); Style is ignored.
    void DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled) override;

private:
    void Resized();
    std::unique_ptr<TbsPngImageItems> FPngImages;
};

void InsertBlankImage(TCustomImageList* List, int Index);
void DeleteBlankImage(TCustomImageList* List, int Index);
// Enabled: with its alpha; disabled: a copy at opacity 127.
void DrawPngImage(TPngImage* Png, TCanvas* Canvas, const TRect& R, bool Enabled);
// Alpha scaled by (Opacity + 1) / 256 (ties to even), the PNG given an alpha channel first
// (grey and palette pictures become true colour with alpha Opacity).
void MakePngTranslucent(TPngImage* Png, int Opacity);
// Bmp becomes the PNG with its alpha (255 where the PNG has no alpha channel).
void CopyPngToBitmap(TbsBitmap* Bmp, TPngImage* Png);
