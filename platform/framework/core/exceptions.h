// The exception classes the program raises and catches. Messages are UI strings; what()
// gives them as UTF-8 for logs and test output.
#pragma once

#include <exception>
#include <string>

#include "platform/framework/core/types.h"

class Exception : public std::exception {
public:
    explicit Exception(const String& msg);
    const String& Message() const { return FMessage; }
    void SetMessage(const String& msg);
    const char* what() const noexcept override { return FUtf8.c_str(); }

private:
    String FMessage;
    std::string FUtf8;
};

#define VX_DECLARE_EXCEPTION(Name, Base) \
    class Name : public Base {           \
    public:                              \
        using Base::Base;                \
    };

VX_DECLARE_EXCEPTION(EAbort, Exception)
VX_DECLARE_EXCEPTION(EConvertError, Exception)
VX_DECLARE_EXCEPTION(EListError, Exception)
VX_DECLARE_EXCEPTION(EStreamError, Exception)
VX_DECLARE_EXCEPTION(EReadError, EStreamError)
VX_DECLARE_EXCEPTION(EWriteError, EStreamError)
VX_DECLARE_EXCEPTION(EFOpenError, EStreamError)
VX_DECLARE_EXCEPTION(EFCreateError, EStreamError)
VX_DECLARE_EXCEPTION(EInOutError, Exception)
VX_DECLARE_EXCEPTION(EIniFileException, Exception)
VX_DECLARE_EXCEPTION(EComponentError, Exception)
VX_DECLARE_EXCEPTION(EThread, Exception)
VX_DECLARE_EXCEPTION(EOSError, Exception)
VX_DECLARE_EXCEPTION(EInvalidCast, Exception)
VX_DECLARE_EXCEPTION(EInvalidOperation, Exception)
VX_DECLARE_EXCEPTION(EOutOfResources, Exception)

#undef VX_DECLARE_EXCEPTION

// Raises EOSError with the text of errno (or the given code) after a prefix.
[[noreturn]] void RaiseLastOSError(const String& prefix, int code = 0);
