// The name field of the skin bitmap and bitmap link streams: an int32 count of UTF-16 units,
// then the units, little-endian.
#pragma once

#include "platform/framework/core/streams.h"
#include "platform/framework/core/types.h"

// EReadError for a count that is negative or larger than the bytes left.
String ReadStreamName(TStream& Stream);
void WriteStreamName(TStream& Stream, const String& Name);
