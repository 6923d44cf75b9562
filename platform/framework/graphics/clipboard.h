// TClipboard: the window layer's clipboard as a persistent object. Assigning a bitmap (or a
// picture holding one) puts a copy of its pixels on the clipboard as CF_BITMAP.
#pragma once

#include "platform/framework/core/component.h"
#include "platform/framework/core/exceptions.h"
#include "platform/win/win_types.h"

class TClipboard : public TPersistent {
public:
    // A TBitmap or a TPicture holding one; anything else EConvertError. EClipboardException
    // when the clipboard cannot be opened.
    void Assign(TPersistent* Source) override;
    bool HasFormat(UINT Format) const;
};

class EClipboardException : public Exception {
public:
    using Exception::Exception;
};

// The program's one clipboard object.
TClipboard* Clipboard();
