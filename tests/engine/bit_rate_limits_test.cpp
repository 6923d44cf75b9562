// A video bit rate outside the rate limits of the output ("minrate", "maxrate", as the VCD
// target sets them) is brought inside them with a warning, so the encoder opens and the file
// converts; a bit rate inside the limits is kept.
#include <gtest/gtest.h>

#include "tests/engine/transcode_test_support.h"

using namespace engine_test;

namespace {

class BitRateLimits : public TranscodeFixture {};

TEST_F(BitRateLimits, TheLimitsWinOverAChosenBitRate)
{
    struct Case {
        const char* Target;
        const char* BitRate;
        int64_t Expected;
        const wchar_t* Line;  // the warning, or empty
    } cases[] = {
        {"pal-vcd", "528000", 1150000,
         L"Video bit rate 528 kbit/s is outside the rate limits of the output, using 1150 kbit/s"},
        {"pal-vcd", "2000000", 1150000,
         L"Video bit rate 2000 kbit/s is outside the rate limits of the output, using 1150 kbit/s"},
        {"pal-svcd", "528000", 528000, L""},
        {"pal-svcd", "3000000", 2516000,
         L"Video bit rate 3000 kbit/s is outside the rate limits of the output, using 2516 kbit/s"},
    };
    std::string in = Clip("in.mkv", 176, 144, 48000, 25, 2);
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Target) + " " + c.BitRate);
        Task->ResetConverter();
        Lines.clear();
        std::string out = Dir.file("out" + std::to_string(n++) + ".mpg");
        Prepare(in, out, {{"target", c.Target}, {"vb", c.BitRate}});
        EXPECT_EQ(Encoder(0, 0)->bit_rate, c.Expected);
        if (*c.Line)
            EXPECT_TRUE(Logged(llWarning, c.Line));
        else
            for (const TLogLine& line : Lines) EXPECT_EQ(line.Text.find(L"rate limits"), String::npos);
        EXPECT_EQ(Run(), "");
        TOutputFacts facts = Facts(out);
        EXPECT_GT(facts.VideoPackets, 0);
    }
}

}  // namespace
