// The column header of a report-style list view: a child window of class "SysHeader32" that the
// list view creates in its own window (its parent hears of it through WM_PARENTNOTIFY, so a
// skinned list can take it over), paints the column sections, answers the HDM_ messages callers
// send, raises column clicks and resizes columns by their dividers.
#pragma once

#include "platform/win/win_api.h"

class TCustomListView;

constexpr UINT HDM_FIRST = 0x1200;
constexpr UINT HDM_GETITEMCOUNT = HDM_FIRST + 0;
constexpr UINT HDM_HITTEST = HDM_FIRST + 6;
constexpr UINT HDM_GETITEMRECT = HDM_FIRST + 7;
constexpr UINT HDM_GETORDERARRAY = HDM_FIRST + 17;
constexpr UINT HHT_NOWHERE = 0x0001;
constexpr UINT HHT_ONHEADER = 0x0002;
constexpr UINT HHT_ONDIVIDER = 0x0004;
constexpr UINT LVM_FIRST = 0x1000;
constexpr UINT LVM_GETHEADER = LVM_FIRST + 31;

struct HDHITTESTINFO {
    POINT pt;
    UINT flags = 0;
    int iItem = -1;
};

// Creates the header window inside the list view's window; nullptr when it cannot.
HWND CreateListViewHeader(TCustomListView* ListView, HWND Parent, int Width, int Height);
void DestroyListViewHeader(HWND Header);
