// The job data of the main window: the job list's 25 columns and their text formats, the 501
// job slots (engine input and output records kept between adding a job and starting the
// queue) with their marks, and the output record of a job rebuilt from its row when the queue
// starts (`RowToOutputOptions`). The main window's add, edit, preset and queue commands share
// them; the per-file settings dialog writes the same columns.
#pragma once

#include <array>
#include <cstdint>

#include "app/filesettings/job_row.h"
#include "app/presets/parameter_choices.h"
#include "engine/task_options.h"
#include "platform/framework/core/types.h"

class TListItem;

// ---- the job list's columns (column k > 0 is sub-item k - 1) --------------------------------
constexpr int JobColumnCount = 25;
constexpr int InputColumn = 0;        // "输入文件"
constexpr int DurationColumn = 1;     // "视频时间"
constexpr int SizeColumn = 2;         // "文件大小"
constexpr int ProgressColumn = 4;     // "转换进度"
constexpr int FpsColumn = 5;          // frames per second, hidden
constexpr int TimeColumn = 6;         // "当前时间"
constexpr int ConvertedColumn = 7;    // "转换大小"
constexpr int TaskNumberColumn = 8;   // "视频序号": engine task index + 1
constexpr int NoVideoColumn = 22;     // "视频能否"
constexpr int TargetTypeColumn = 23;  // "TargetType"
constexpr int NormTypeColumn = 24;    // "NormType"

struct TJobColumn {
    const wchar_t* Caption;
    int Width;  // 0: hidden (its maximum width is 1)
};
extern const TJobColumn JobColumns[JobColumnCount];

// ---- job slots ----------------------------------------------------------------------------
constexpr int JobSlotCount = 501;
// The marks kept in a slot's OO1[i].AudioLanguage.
extern const wchar_t* const SlotFree;     // "kong"
extern const wchar_t* const SlotFull;     // "Full"
extern const wchar_t* const SlotDeleted;  // "DELETED"

// Marks every slot free.
void FreeAllSlots(TOutputOptions (&AOutputs)[JobSlotCount]);
// The lowest free slot, -1 when none is left (501 jobs since the last clear).
int LowestFreeSlot(const TOutputOptions (&AOutputs)[JobSlotCount]);

// A row keeps its slot with it through moves and removals of other rows: the slot number rides
// in the list item's data. -1 for an item without one.
int RowSlot(const TListItem* AItem);
void SetRowSlot(TListItem* AItem, int ASlot);

// ---- text formats -------------------------------------------------------------------------
// "hh:mm:ss" with the full hours (a duration of a day or more keeps its days in the hours:
// 90061 seconds give "25:01:01"); a negative value counts as 0.
String SecToDate(int64_t ASeconds);
// Bytes in megabytes to two decimals (the nearest hundredth, halves to even), shortest form,
// then "MB": 13107200 gives "12.5MB", 0 gives "0MB".
String MegabytesText(int64_t ABytes);

// `SelectionCode`: two digits per parameter index in TPresetParameter order ("03001201020" ...).
// An index outside 0..99 is written as "00".
String SelectionCode(const std::array<int, PresetParameterCount>& AIndexes);
// The six indexes of a code; a pair that is no number gives -1.
std::array<int, PresetParameterCount> DecodeSelectionCode(const String& ACode);

// ---- the output record of a row -----------------------------------------------------------
// Lays the row's columns 11 to 24 over the slot's record (the record of the add), each field
// only when its column holds a set value; the record's AudioLanguage is not touched (the
// caller clears it before the record goes to the engine). Raises EConvertError for a number
// column that holds no integer.
void RowToOutputOptions(const TJobRow& ARow, TOutputOptions& AOptions);
