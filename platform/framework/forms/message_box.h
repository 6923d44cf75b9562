// The framework's plain message box: a modal dialog with the text and the buttons the MB_ flags
// ask for ("确定", "取消", "是", "否"), answering IDOK, IDCANCEL, IDYES or IDNO. TApplication
// shows it on a display; the skinned message boxes replace it through MessageBoxHandler.
#pragma once

#include "platform/framework/core/types.h"

int ShowPlainMessageBox(const String& Text, const String& Caption, int Flags);
