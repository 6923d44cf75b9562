// The seek flags of the probe's and the player's seek calls, and their libraries' counterparts.
#pragma once

// Mapped to the libraries' AVSEEK_FLAG_* bits.
enum TSeekFlag : unsigned { sfBackward = 1u << 0, sfByte = 1u << 1, sfAny = 1u << 2, sfFrame = 1u << 3 };
using TSeekFlags = unsigned;  // OR of TSeekFlag
int SeekFlagsToAVFlags(TSeekFlags AFlags);
