#include "skin/controls/skin_tab_scroller_link.h"

TbsTabScrollerLink& TabScrollerLink()
{
    static TbsTabScrollerLink link;
    return link;
}
