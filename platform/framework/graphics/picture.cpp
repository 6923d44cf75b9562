// TPicture and its table of graphic classes by file extension.
#include "platform/framework/graphics/picture.h"

#include <map>
#include <mutex>
#include <typeinfo>

#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/codecs/image_io.h"
#include "platform/framework/graphics/gif_image.h"
#include "platform/framework/graphics/icon.h"
#include "platform/framework/graphics/jpeg_image.h"
#include "platform/framework/graphics/png_image.h"

namespace {

struct TFileFormat {
    String Description;
    TGraphicFactory Factory = nullptr;
};

struct TFormatTable {
    std::mutex Lock;
    std::map<String, TFileFormat> Items;
    TFormatTable()
    {
        auto add = [this](const wchar_t* ext, const wchar_t* desc, TGraphicFactory f) {
            Items[ext] = TFileFormat{desc, f};
        };
        TGraphicFactory bmp = [] { return static_cast<TGraphic*>(new TBitmap); };
        TGraphicFactory jpg = [] { return static_cast<TGraphic*>(new TJPEGImage); };
        TGraphicFactory png = [] { return static_cast<TGraphic*>(new TPngImage); };
        TGraphicFactory gif = [] { return static_cast<TGraphic*>(new TGIFImage); };
        TGraphicFactory ico = [] { return static_cast<TGraphic*>(new TIcon); };
        add(L"BMP", L"Bitmaps", bmp);
        add(L"DIB", L"Bitmaps", bmp);
        add(L"JPG", L"JPEG Image File", jpg);
        add(L"JPEG", L"JPEG Image File", jpg);
        add(L"JPE", L"JPEG Image File", jpg);
        add(L"JFIF", L"JPEG Image File", jpg);
        add(L"PNG", L"Portable Network Graphics", png);
        add(L"GIF", L"GIF Image", gif);
        add(L"ICO", L"Icons", ico);
    }
};

TFormatTable& Formats()
{
    static TFormatTable table;
    return table;
}

String ExtKey(const String& ext)
{
    String e = UpperCase(ext);
    if (!e.empty() && e[0] == L'.') e.erase(0, 1);
    return e;
}

}  // namespace

void TPicture::RegisterFileFormat(const String& Extension, const String& Description, TGraphicFactory Factory)
{
    auto& t = Formats();
    std::lock_guard<std::mutex> guard(t.Lock);
    t.Items[ExtKey(Extension)] = TFileFormat{Description, Factory};
}

void TPicture::UnregisterFileFormat(const String& Extension)
{
    auto& t = Formats();
    std::lock_guard<std::mutex> guard(t.Lock);
    t.Items.erase(ExtKey(Extension));
}

TGraphicFactory TPicture::FileFormatFactory(const String& Extension)
{
    auto& t = Formats();
    std::lock_guard<std::mutex> guard(t.Lock);
    auto it = t.Items.find(ExtKey(Extension));
    return it == t.Items.end() ? nullptr : it->second.Factory;
}

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed()
{
    if (OnChange) OnChange(this);
}

void TPicture::Take(TGraphic* Graphic)
{
    FGraphic.reset(Graphic);
    if (FGraphic) FGraphic->OnChange = [this](TObject*) { Changed(); };
    Changed();
}

void TPicture::SetGraphic(TGraphic* Value)
{
    if (!Value) {
        Take(nullptr);
        return;
    }
    if (Value == FGraphic.get()) return;
    std::unique_ptr<TGraphic> copy(Value->CreateEmpty());
    if (!copy) throw EInvalidGraphic(L"Cannot copy a graphic of class " + Value->ClassName());
    copy->Assign(Value);
    Take(copy.release());
}

TBitmap* TPicture::Bitmap()
{
    if (!dynamic_cast<TBitmap*>(FGraphic.get())) Take(new TBitmap);
    return static_cast<TBitmap*>(FGraphic.get());
}

void TPicture::SetBitmap(TBitmap* Value) { SetGraphic(Value); }

TIcon* TPicture::Icon()
{
    if (!dynamic_cast<TIcon*>(FGraphic.get())) Take(new TIcon);
    return static_cast<TIcon*>(FGraphic.get());
}

void TPicture::SetIcon(TIcon* Value) { SetGraphic(Value); }

void TPicture::LoadFromFile(const String& FileName)
{
    String ext = ExtractFileExt(FileName);
    TGraphicFactory factory = FileFormatFactory(ext);
    if (!factory) throw EInvalidGraphic(L"Unknown picture file extension (" + ext + L")");
    std::unique_ptr<TGraphic> graphic(factory());
    graphic->LoadFromFile(FileName);
    Take(graphic.release());
}

void TPicture::SaveToFile(const String& FileName)
{
    if (!FGraphic) throw EInvalidGraphic(L"Cannot save an empty picture");
    TGraphicFactory factory = FileFormatFactory(ExtractFileExt(FileName));
    if (factory) {
        std::unique_ptr<TGraphic> target(factory());
        if (typeid(*target) != typeid(*FGraphic)) {
            target->Assign(FGraphic.get());
            target->SaveToFile(FileName);
            return;
        }
    }
    FGraphic->SaveToFile(FileName);
}

void TPicture::LoadFromStream(TStream& Stream)
{
    int64_t start = Stream.Position();
    uint8_t head[8] = {};
    int64_t n = Stream.Read(head, sizeof(head));
    Stream.SetPosition(start);
    std::unique_ptr<TGraphic> graphic;
    if (n >= 4 && head[0] == 0 && head[1] == 0 && (head[2] == 1 || head[2] == 2) && head[3] == 0) {
        graphic = std::make_unique<TIcon>();
    } else {
        switch (DetectImageFormat(head, static_cast<size_t>(n))) {
        case TImageFormat::Bmp: graphic = std::make_unique<TBitmap>(); break;
        case TImageFormat::Png: graphic = std::make_unique<TPngImage>(); break;
        case TImageFormat::Jpeg: graphic = std::make_unique<TJPEGImage>(); break;
        case TImageFormat::Gif: graphic = std::make_unique<TGIFImage>(); break;
        default: throw EInvalidGraphic(n == 0 ? L"Picture is empty" : L"Unknown picture format");
        }
    }
    graphic->LoadFromStream(Stream);
    Take(graphic.release());
}

void TPicture::SaveToStream(TStream& Stream)
{
    if (FGraphic) FGraphic->SaveToStream(Stream);
}

void TPicture::Assign(TPersistent* Source)
{
    if (!Source) {
        SetGraphic(nullptr);
    } else if (auto* p = dynamic_cast<TPicture*>(Source)) {
        if (p != this) SetGraphic(p->Graphic());
    } else if (auto* g = dynamic_cast<TGraphic*>(Source)) {
        SetGraphic(g);
    } else {
        TPersistent::Assign(Source);
    }
}

void TPicture::AssignTo(TPersistent* Dest)
{
    if (auto* g = dynamic_cast<TGraphic*>(Dest); g && FGraphic) {
        g->Assign(FGraphic.get());
        return;
    }
    TPersistent::AssignTo(Dest);
}
