// The skin engine's private window messages: the skin model's change notices, the skinned menus',
// MDI children's, containers', buttons' and tray icon's messages, and the drawing requests that
// skinned windows answer with fixed codes. Senders and receivers act in their own classes; the
// window layer passes these numbers through untouched.
#pragma once

#include "platform/win/win_consts.h"

// Broadcast by the skin model to every form, wParam the model and lParam SKINDATA_LPARAM.
constexpr UINT WM_SKINDATA_BEFORECHANGE = WM_USER + 201;      // 1225: a skin change begins
constexpr UINT WM_SKINDATA_CHANGE = WM_USER + 202;            // 1226: the new skin is in place
constexpr UINT WM_SKINDATA_AFTERCHANGE = WM_USER + 203;       // 1227: sent last
constexpr UINT WM_SKINDATA_STRINGSCHANGED = WM_USER + 250;    // 1274: a text table was assigned
constexpr UINT WM_SKINDATA_SKINNABLECHANGED = WM_USER + 270;  // 1294: SkinnableForm changed
constexpr UINT WM_SKINDATA_LAYERCHANGED = WM_USER + 403;      // 1427: ShowLayeredBorders changed
constexpr UINT WM_SKINDATA_BLURCHANGED = WM_USER + 404;       // 1428: AeroBlurEnabled changed

// Skinned popup menus, to the control that opened them and to their form.
constexpr UINT WM_SKINMENU_CLOSED = WM_USER + 204;   // 1228
constexpr UINT WM_SKINMENU_COMMAND = WM_USER + 205;  // 1229

// MDI parent and children.
constexpr UINT WM_MDICHILD_FIT = WM_USER + 206;             // 1230
constexpr UINT WM_MDICHILD_MAXIMIZED = WM_USER + 207;       // 1231
constexpr UINT WM_MDICHILD_RESTORED = WM_USER + 208;        // 1232
constexpr UINT WM_MDICHILD_MOVED = WM_USER + 209;           // 1233: wParam the hidden child or 0
constexpr UINT WM_MDICHILD_RESTOREALL = WM_USER + 210;      // 1234
constexpr UINT WM_MDICHILD_RESTOREOTHERS = WM_USER + 211;   // 1235: wParam the child kept
constexpr UINT WM_MDICHILD_QUERYMAXIMIZED = WM_USER + 212;  // 1236: answers 1 or 0

// Skinned containers to their children: the background behind them changed.
constexpr UINT WM_SKIN_PARENTBGCHANGED = WM_USER + 260;  // 1284

// Posted: a skinned button to itself, the tray icon to the main form.
constexpr UINT WM_SKINBUTTON_SHOWLAYER = WM_USER + 400;  // 1424
constexpr UINT WM_SKINBUTTON_HIDELAYER = WM_USER + 401;  // 1425
constexpr UINT WM_SKINFORM_TRAYRESTORE = WM_USER + 402;  // 1426

// The tray icon's callback message from the notification area (wParam the icon's identifier 1).
constexpr UINT WM_SKINTRAY_NOTIFY = WM_USER + 1024;  // 2048

// Drawing requests that another component may send; the answers below tell it the work was done.
constexpr UINT WM_SKINFORM_QUERYOWNFRAME = 45490;
constexpr UINT WM_SKINFORM_SHOWEFFECTBEGIN = 45491;
constexpr UINT WM_SKINFORM_SHOWEFFECTEND = 45492;
constexpr UINT WM_SKIN_PAINTHEADERTODC = 45512;      // wParam a device context
constexpr UINT WM_SKIN_PAINTTODC = 45513;            // wParam a device context
constexpr UINT WM_SKIN_PAINTBACKGROUNDTODC = 48202;  // wParam a device context, lParam SKIN_PAINT_KEY
constexpr UINT WM_SKIN_PAINTBORDERTODC = 48203;      // wParam a device context, lParam SKIN_PAINT_KEY

// lParam of every notice the skin model broadcasts.
constexpr LPARAM SKINDATA_LPARAM = 1000;
// Answer to WM_SKIN_PAINTTODC when the window painted itself.
constexpr LRESULT SKIN_PAINTTODC_DONE = 12851;
// Answers to WM_SKINFORM_QUERYOWNFRAME: the form draws its frame itself, or leaves it to the system.
constexpr LRESULT SKINFORM_SYSTEMFRAME = 12852;
constexpr LRESULT SKINFORM_OWNFRAME = 12853;
// The key that WM_SKIN_PAINTBACKGROUNDTODC and WM_SKIN_PAINTBORDERTODC require in lParam, and
// their answer.
constexpr LPARAM SKIN_PAINT_KEY = 16802;
