// A job row of the main window's job list as the preset commands see it: the item's
// caption (column 0, the input path) and its sub-items (column k is sub-item k - 1). The
// forms build one over the selected list item: TJobRow row{item->Caption(), *item->SubItems()}.
#pragma once

#include "app/presets/parameter_choices.h"
#include "platform/framework/core/string_list.h"
#include "platform/framework/core/types.h"

constexpr int OutputNameColumn = 3;      // "输出文件": the output file name without folder
constexpr int PositionCodeColumn = 9;    // "视频类别": the PresetPositionCode
constexpr int SelectionCodeColumn = 10;  // "视频选项": the SelectionCode
constexpr int JobRowLastColumn = 24;     // "NormType"

struct TJobRow {
    String InputPath;
    TStrings& SubItems;

    // The text of a column; empty for a column the row has no sub-item for.
    String Column(int column) const;
    // Replaces the text of a column from 1 on, adding empty sub-items up to it when the row
    // is short.
    void SetColumn(int column, const String& text);
};

// The column a parameter's field is shown in: frame size 16, video bit rate 17, frame rate
// 18, audio bit rate 19, sample rate 20, aspect 21.
int ParameterColumn(TPresetParameter parameter);
