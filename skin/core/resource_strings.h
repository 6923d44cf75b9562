// The skin engine's table of interface texts: NAME=value lines (window menu items, caption-button
// hints, edit menu, message box buttons and captions, file and skin dialog labels) filled with the
// English defaults and replaceable as a whole for a translation. Skin models reference a table;
// forms, menus and dialogs read it through GetResStr, or take the built-in caption when their
// skin model has no table.
#pragma once

#include "platform/framework/core/component.h"
#include "platform/framework/core/string_list.h"
#include "platform/framework/graphics/graphics_types.h"
#include "platform/win/win_consts.h"

class TbsResourceStrData : public TComponent {
public:
    explicit TbsResourceStrData(TComponent* AOwner);
    ~TbsResourceStrData() override;

    // The value after the first "=" of the first line whose name equals ResName without regard
    // to case; "" when no line has that name.
    String GetResStr(const String& ResName) const;

    TStrings* ResStrings() const { return FResStrs; }
    // Replaces all lines by a copy of Value.
    void SetResStrings(TStrings* Value);
    TFontCharset CharSet() const { return FCharSet; }
    void SetCharSet(TFontCharset Value) { FCharSet = Value; }

private:
    void AddDefaultStrings();

    TStringList* FResStrs;
    TFontCharset FCharSet = DEFAULT_CHARSET;
};

// The built-in caption of a text name (one of the 58 names callers read), "" for any other.
String GetBuiltInResStr(const String& ResName);
