// The seek flags and their libraries' counterparts.
#include "engine/seek_flags.h"

int SeekFlagsToAVFlags(TSeekFlags AFlags)
{
    int r = 0;
    if (AFlags & sfBackward) r |= 1;  // AVSEEK_FLAG_BACKWARD
    if (AFlags & sfByte) r |= 2;      // AVSEEK_FLAG_BYTE
    if (AFlags & sfAny) r |= 4;       // AVSEEK_FLAG_ANY
    if (AFlags & sfFrame) r |= 8;     // AVSEEK_FLAG_FRAME
    return r;
}
