// The column header of a report-style list view: a child window of class "SysHeader32" that the
// list view creates in its own window (its parent hears of it through WM_PARENTNOTIFY, so a
// skinned list can take it over), paints the column sections, answers the HDM_ messages callers
// send, raises column clicks and resizes columns by their dividers.
#pragma once

#include "platform/win/win_api.h"

class TCustomListView;

// Creates the header window inside the list view's window; nullptr when it cannot.
HWND CreateListViewHeader(TCustomListView* ListView, HWND Parent, int Width, int Height);
void DestroyListViewHeader(HWND Header);
