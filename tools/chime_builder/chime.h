// The program's completion sound, made in code: a rising three-note chime (C6, E6, G6), each note
// a sine with a soft second harmonic, a 5 ms attack and an exponential decay, the whole ending in
// silence. Written as a 16-bit mono PCM WAV file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace chime {

constexpr int kSampleRate = 44100;

// The chime's samples, peaking at about 70% of full scale.
std::vector<int16_t> Samples();
// The WAV file's bytes: RIFF header, "fmt " (PCM, mono, 16-bit, kSampleRate) and "data".
std::vector<uint8_t> WavBytes(const std::vector<int16_t>& samples);
// Writes the chime to path; false when the file cannot be written.
bool WriteWav(const std::string& path);

}  // namespace chime
