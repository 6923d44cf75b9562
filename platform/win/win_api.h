// The Windows stand-in in one include: types, constants, GDI, windows and messages, system
// information, files and volumes, waitable objects, the shell, sound and power-off. What the
// framework's controls and the skin engine include.
#pragma once

#include "platform/win/clipboard_api.h"
#include "platform/win/file_api.h"
#include "platform/win/gdi_api.h"
#include "platform/win/power_api.h"
#include "platform/win/shell_api.h"
#include "platform/win/shell_folder_api.h"
#include "platform/win/sound_api.h"
#include "platform/win/system_api.h"
#include "platform/win/user_api.h"
#include "platform/win/waitable_api.h"
#include "platform/win/win_consts.h"
#include "platform/win/win_types.h"
