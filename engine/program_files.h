// The program's own file and folder, and the size of a file: for the engine's preset folder
// beside the program and the probe's file size.
#pragma once

#include <cstdint>

#include "platform/framework/core/types.h"

// Size of an existing file (name expanded to a full path); -1 when it does not exist.
int64_t FileSize64(const String& AFileName);

String AppFileName();  // full path of the program file
String AppPath();      // its folder, with a trailing "/"
