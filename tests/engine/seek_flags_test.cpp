// The seek flags of the probe and the player, and the libraries' bits they stand for.
#include <gtest/gtest.h>

#include "engine/seek_flags.h"

TEST(SeekFlags, MapToTheLibrariesBits)
{
    EXPECT_EQ(SeekFlagsToAVFlags(0), 0);
    EXPECT_EQ(SeekFlagsToAVFlags(sfBackward | sfFrame), 9);
    EXPECT_EQ(SeekFlagsToAVFlags(sfByte | sfAny), 6);
}
