#include "platform/framework/core/exceptions.h"

#include <cerrno>
#include <cstring>

#include "platform/base/utf.h"

Exception::Exception(const String& msg) : FMessage(msg), FUtf8(StringToUtf8(msg)) {}

void Exception::SetMessage(const String& msg)
{
    FMessage = msg;
    FUtf8 = StringToUtf8(msg);
}

void RaiseLastOSError(const String& prefix, int code)
{
    if (code == 0) code = errno;
    throw EOSError(prefix + Utf8ToString(std::strerror(code)));
}
