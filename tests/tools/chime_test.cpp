// The completion chime: a well-formed 16-bit mono WAV whose sound stays clear of clipping, begins
// and ends in silence (no clicks) and rings at the chime's notes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tools/chime_builder/chime.h"

namespace {
uint32_t Le32(const std::vector<uint8_t>& b, size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t Le16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

// Energy of the samples [from, to) at one frequency (a single-bin Fourier sum).
double Energy(const std::vector<int16_t>& s, size_t from, size_t to, double frequency)
{
    double re = 0, im = 0;
    for (size_t i = from; i < to; ++i) {
        const double phase = 2 * 3.14159265358979 * frequency * static_cast<double>(i) / chime::kSampleRate;
        re += s[i] * std::cos(phase);
        im += s[i] * std::sin(phase);
    }
    return std::hypot(re, im);
}
}  // namespace

TEST(Chime, TheFileIsAPlainPcmWave)
{
    TempDir dir;
    ASSERT_TRUE(chime::WriteWav(dir.file("ring001.wav")));
    std::ifstream in(dir.file("ring001.wav"), std::ios::binary);
    const std::vector<uint8_t> b{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_GT(b.size(), 44u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(Le32(b, 4), b.size() - 8);
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(Le16(b, 20), 1);  // PCM
    EXPECT_EQ(Le16(b, 22), 1);  // mono
    EXPECT_EQ(Le32(b, 24), 44100u);
    EXPECT_EQ(Le16(b, 34), 16);
    EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
    EXPECT_EQ(Le32(b, 40), b.size() - 44);
    EXPECT_FALSE(chime::WriteWav(dir.file("no/such/folder/ring001.wav")));
}

TEST(Chime, ShortCleanAndAtItsNotes)
{
    const std::vector<int16_t> s = chime::Samples();
    const double seconds = static_cast<double>(s.size()) / chime::kSampleRate;
    EXPECT_GT(seconds, 0.5);
    EXPECT_LT(seconds, 3.0);
    int peak = 0;
    for (int16_t v : s) peak = std::max(peak, std::abs(static_cast<int>(v)));
    EXPECT_GT(peak, 16000);
    EXPECT_LT(peak, 30000);
    EXPECT_LT(std::abs(s.front()), 100);
    EXPECT_LT(std::abs(s.back()), 100);

    // The first 0.1 s ring at C6, not at E6 or G6; once all three have started, each is there.
    const size_t first = chime::kSampleRate / 10, late = chime::kSampleRate * 35 / 100;
    EXPECT_GT(Energy(s, 0, first, 1046.5), 10 * Energy(s, 0, first, 1318.5));
    EXPECT_GT(Energy(s, 0, first, 1046.5), 10 * Energy(s, 0, first, 1568.0));
    for (double f : {1046.5, 1318.5, 1568.0})
        EXPECT_GT(Energy(s, late, late + first, f), 10 * Energy(s, late, late + first, 1200.0));
}
