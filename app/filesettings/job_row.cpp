// Column access of a job row.
#include "app/filesettings/job_row.h"

String TJobRow::Column(int column) const
{
    if (column == 0) return InputPath;
    return column >= 1 && column <= SubItems.Count() ? SubItems[column - 1] : String();
}

void TJobRow::SetColumn(int column, const String& text)
{
    if (column < 1) return;  // the caption is the list's own
    while (SubItems.Count() < column) SubItems.Add(L"");
    SubItems.Put(column - 1, text);
}

int ParameterColumn(TPresetParameter parameter)
{
    switch (parameter) {
    case ppFrameSize: return 16;
    case ppVideoBitrate: return 17;
    case ppFrameRate: return 18;
    case ppAudioBitrate: return 19;
    case ppSampleRate: return 20;
    case ppAspectMode: return 21;
    }
    return -1;
}
