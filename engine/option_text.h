// The engine's option text: "name=value" lines, as callers give them in ExtOptions and in the
// text forms of the task component's AddTask, AddInputFile and SetOutputFile. The task
// component and its tasks read every such text through SplitOptionText.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/framework/core/types.h"

struct TOptionLine {
    String Name;       // as written, blanks trimmed
    String LowerName;  // lower-cased, for comparisons
    String Value;      // the text after the first "=", blanks trimmed; empty without "="
};

// Splits an option text into its lines: the text is trimmed of leading and trailing blanks and
// control characters, every line break (CR LF, CR, LF) and every "<CRLF>" ends a line, and each
// line is split at its first "=". Lines without a name are left out.
std::vector<TOptionLine> SplitOptionText(const String& AText);

// A time of the text forms: decimal microseconds; anything else is the no-timestamp value.
int64_t OptionTextTime(const String& AValue);
