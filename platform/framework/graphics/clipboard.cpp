#include "platform/framework/graphics/clipboard.h"

#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/picture.h"
#include "platform/win/clipboard_api.h"
#include "platform/win/user_api.h"

void TClipboard::Assign(TPersistent* Source)
{
    TBitmap* bmp = dynamic_cast<TBitmap*>(Source);
    if (auto* pic = dynamic_cast<TPicture*>(Source)) bmp = dynamic_cast<TBitmap*>(pic->Graphic());
    if (!bmp) return TPersistent::Assign(Source);
    if (!OpenClipboard(nullptr)) throw EClipboardException(L"Cannot open clipboard");
    EmptyClipboard();
    if (HANDLE copy = bmp->Handle() ? CopyImage(bmp->Handle(), IMAGE_BITMAP, 0, 0, 0) : nullptr)
        SetClipboardData(CF_BITMAP, copy);
    CloseClipboard();
}

bool TClipboard::HasFormat(UINT Format) const { return IsClipboardFormatAvailable(Format) != FALSE; }

TClipboard* Clipboard()
{
    static TClipboard clipboard;
    return &clipboard;
}
