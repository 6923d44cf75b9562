// PlaySoundW: a WAV file handed to the desktop's own player, the first of paplay, pw-play and
// aplay found on PATH, started with an argument vector (never a shell line) and its output
// silenced. SND_ASYNC returns at once (the player is reaped in the background); otherwise the
// call waits for the player to end. No player, no file or no sound device: silence, no message.
// System sounds (SND_ALIAS), sounds in memory and resources are not offered. A null sound stops
// the sound this process started last.
#pragma once

#include <functional>
#include <string>

#include "platform/win/win_types.h"

constexpr DWORD SND_SYNC = 0x00000000;
constexpr DWORD SND_ASYNC = 0x00000001;
constexpr DWORD SND_NODEFAULT = 0x00000002;
constexpr DWORD SND_MEMORY = 0x00000004;
constexpr DWORD SND_LOOP = 0x00000008;
constexpr DWORD SND_NOSTOP = 0x00000010;
constexpr DWORD SND_PURGE = 0x00000040;
constexpr DWORD SND_NOWAIT = 0x00002000;
constexpr DWORD SND_ALIAS = 0x00010000;
constexpr DWORD SND_FILENAME = 0x00020000;
constexpr DWORD SND_RESOURCE = 0x00040004;

// TRUE when a player started on the file (or, for a null sound, when the call stopped or found
// nothing to stop).
BOOL PlaySoundW(LPCWSTR sound, HMODULE module, DWORD flags);

namespace vxwin {
struct PlaySoundCall {
    std::wstring sound;  // empty for a null sound
    DWORD flags = 0;
};
// Tests replace the player: the hook gets every call and answers in its place (nullptr restores
// the player).
void SetPlaySoundHook(std::function<BOOL(const PlaySoundCall&)> hook);
}  // namespace vxwin
