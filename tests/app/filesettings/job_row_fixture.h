// A job row as an add leaves it, for the per-file dialog's tests: 24 sub-items with texts of
// their own ("c1".."c24") in the columns the dialog never writes, "first.avi" as the output
// name and "000000000000" as its SelectionCode.
#pragma once

#include <vector>

#include "app/filesettings/job_row.h"
#include "platform/framework/core/string_list.h"
#include "platform/framework/core/strings.h"

struct JobRowFixture {
    TStringList subItems;
    TJobRow row{L"/in/first.mkv", subItems};
    JobRowFixture()
    {
        for (int column = 1; column <= JobRowLastColumn; ++column) subItems.Add(L"c" + IntToStr(column));
        row.SetColumn(OutputNameColumn, L"first.avi");
        row.SetColumn(SelectionCodeColumn, L"000000000000");
    }
    std::vector<String> Columns() const
    {
        std::vector<String> columns;
        for (int column = 0; column <= JobRowLastColumn; ++column) columns.push_back(row.Column(column));
        return columns;
    }
};
