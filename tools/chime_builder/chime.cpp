// The completion chime. See chime.h.
#include "tools/chime_builder/chime.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace chime {
namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kLength = 1.4;  // seconds
constexpr double kAttack = 0.005;
constexpr double kDecay = 0.35;  // time constant of each note's fade
constexpr double kTail = 0.08;   // the last stretch fades to zero, so the sound ends without a click

struct Note {
    double start, frequency;
};
constexpr Note kNotes[] = {{0.00, 1046.50}, {0.15, 1318.51}, {0.30, 1567.98}};

void Put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
void PutTag(std::vector<uint8_t>& out, const char* tag)
{
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}
}  // namespace

std::vector<int16_t> Samples()
{
    const int count = static_cast<int>(kLength * kSampleRate);
    std::vector<double> mix(static_cast<size_t>(count), 0.0);
    for (const Note& n : kNotes) {
        for (int i = static_cast<int>(n.start * kSampleRate); i < count; ++i) {
            const double t = static_cast<double>(i) / kSampleRate - n.start;
            const double envelope = std::min(1.0, t / kAttack) * std::exp(-t / kDecay);
            const double phase = 2 * kPi * n.frequency * t;
            mix[static_cast<size_t>(i)] += envelope * (std::sin(phase) + 0.25 * std::sin(2 * phase));
        }
    }
    const int tailStart = count - static_cast<int>(kTail * kSampleRate);
    for (int i = tailStart; i < count; ++i)
        mix[static_cast<size_t>(i)] *= static_cast<double>(count - 1 - i) / (count - 1 - tailStart);

    double peak = 0;
    for (double v : mix) peak = std::max(peak, std::fabs(v));
    const double scale = peak > 0 ? 0.7 * 32767 / peak : 0;
    std::vector<int16_t> out(mix.size());
    std::transform(mix.begin(), mix.end(), out.begin(),
                   [scale](double v) { return static_cast<int16_t>(std::lround(v * scale)); });
    return out;
}

std::vector<uint8_t> WavBytes(const std::vector<int16_t>& samples)
{
    const uint32_t dataSize = static_cast<uint32_t>(samples.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + dataSize);
    PutTag(out, "RIFF");
    Put32(out, 36 + dataSize);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, 1);  // mono
    Put32(out, kSampleRate);
    Put32(out, kSampleRate * 2);  // bytes per second
    Put16(out, 2);                // block size
    Put16(out, 16);               // bits per sample
    PutTag(out, "data");
    Put32(out, dataSize);
    for (int16_t s : samples) Put16(out, static_cast<uint16_t>(s));
    return out;
}

bool WriteWav(const std::string& path)
{
    const std::vector<uint8_t> bytes = WavBytes(Samples());
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(f);
}

}  // namespace chime
