// The control messages and message-box codes come from the window layer alone, with the numbers the
// window system gives them (callers and skinned controls send them by number).
#include "platform/win/win_api.h"

static_assert(EM_GETSEL == 0xB0 && EM_SETSEL == 0xB1 && EM_SCROLLCARET == 0xB7 && EM_GETLINECOUNT == 0xBA);
static_assert(EM_LINEINDEX == 0xBB && EM_REPLACESEL == 0xC2 && EM_LINEFROMCHAR == 0xC9 && EM_SETREADONLY == 0xCF);
static_assert(WM_CUT == 0x300 && WM_COPY == 0x301 && WM_PASTE == 0x302 && WM_CLEAR == 0x303 && WM_UNDO == 0x304);
static_assert(LB_GETCOUNT == 0x18B && LB_GETCURSEL == 0x188 && LB_ITEMFROMPOINT == 0x1A9);
static_assert(HDM_HITTEST == 0x1206 && HDM_GETITEMRECT == 0x1207 && LVM_GETHEADER == 0x101F);
static_assert(MB_ICONEXCLAMATION == 48 && IDOK == 1 && IDNO == 7);
