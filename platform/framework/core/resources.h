// The program's own resource table: named blocks of bytes (pictures, mostly) that the program's
// resource modules register at start, in place of resources linked into an executable. Read by
// TBitmap::LoadFromResourceName and by whoever loads named resources (the skin engine).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/types.h"

class EResNotFound : public Exception {
public:
    using Exception::Exception;
};

// Names are matched case-insensitively; registering a name again replaces its bytes.
void RegisterResource(const String& Name, std::vector<uint8_t> Bytes);
void UnregisterResource(const String& Name);
// nullptr when there is no such resource. The bytes stay valid until the name is replaced.
const std::vector<uint8_t>* FindResourceBytes(const String& Name);
