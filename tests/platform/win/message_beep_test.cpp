// MessageBeep: the display's bell, counted so that callers' refusals can be seen.
#include <gtest/gtest.h>

#include "platform/win/headless_api.h"
#include "platform/win/win_api.h"

TEST(MessageBeep, EachBeepIsCounted)
{
    const unsigned before = vxwin::BeepCount();
    EXPECT_TRUE(MessageBeep(0));
    EXPECT_TRUE(MessageBeep(0));
    EXPECT_EQ(vxwin::BeepCount(), before + 2);
}
