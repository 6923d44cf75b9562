// Decoding of text files: a UTF-8 or UTF-16 byte-order mark decides; without one, valid UTF-8 is
// read as UTF-8 and anything else as GBK (files written by the Windows edition on Chinese systems).
#pragma once

#include <string>

#include "platform/framework/core/types.h"

String DecodeText(const std::string& bytes, bool* hadBom = nullptr);
