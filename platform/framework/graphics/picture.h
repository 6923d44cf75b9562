// TPicture: holds one graphic of any picture class and loads and saves it by file extension
// (.bmp, .jpg/.jpeg, .png, .gif, .ico, and classes registered later) or, from a stream, by the
// file's signature. Used by image controls, the picture dialogs and the skin engine.
#pragma once

#include <memory>

#include "platform/framework/graphics/graphic.h"

class TBitmap;
class TIcon;

using TGraphicFactory = TGraphic* (*)();

class TPicture : public TPersistent {
public:
    TPicture();
    ~TPicture() override;

    // nullptr when empty. The picture owns it.
    TGraphic* Graphic() const { return FGraphic.get(); }
    // Holds a copy of Value (nullptr empties).
    void SetGraphic(TGraphic* Value);
    // The graphic as a bitmap; a graphic of another class is replaced by an empty bitmap.
    TBitmap* Bitmap();
    void SetBitmap(TBitmap* Value);
    // The same for an icon.
    TIcon* Icon();
    void SetIcon(TIcon* Value);

    int Width() const { return FGraphic ? FGraphic->Width() : 0; }
    int Height() const { return FGraphic ? FGraphic->Height() : 0; }

    // The graphic class comes from the extension; EInvalidGraphic ("Unknown picture file
    // extension (.xyz)") for one no class takes, EFOpenError for a missing file, and whatever
    // the class raises for a bad file. The picture is unchanged after an error.
    void LoadFromFile(const String& FileName);
    // In the format of the extension, converting the graphic when its class differs; a name
    // without a known extension saves the graphic in its own format.
    void SaveToFile(const String& FileName);
    // By signature (BMP, PNG, JPEG, GIF, ICO).
    void LoadFromStream(TStream& Stream);
    void SaveToStream(TStream& Stream);

    // From a TPicture or any TGraphic (copied), or nullptr.
    void Assign(TPersistent* Source) override;

    // Adds or replaces the class for an extension (with or without the dot).
    static void RegisterFileFormat(const String& Extension, const String& Description, TGraphicFactory Factory);
    static void UnregisterFileFormat(const String& Extension);
    // nullptr when no class takes the extension.
    static TGraphicFactory FileFormatFactory(const String& Extension);

    TNotifyEvent OnChange;

protected:
    void AssignTo(TPersistent* Dest) override;
    virtual void Changed();

private:
    void Take(TGraphic* Graphic);

    std::unique_ptr<TGraphic> FGraphic;
};
