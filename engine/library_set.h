// The media libraries the engine loads at run time and the sets of them that each component
// needs. Used by the loader (library_loader.h) and by every component that loads libraries.
#pragma once

#include <cstdint>
#include <initializer_list>

// In load order: a library comes after the libraries it depends on, so that loading from the
// library folder by full path maps one copy of each (see TFFmpegLoader).
enum TLibrary : uint8_t {
    avUtil,
    swResample,
    swScale,
    avCodec,
    avFormat,
    avFilter,
    avDevice,
    myUtil,
    lbSDL,
};
constexpr int LibraryCount = lbSDL + 1;

// A set of TLibrary (bit n stands for ordinal n).
class TLibraries {
public:
    constexpr TLibraries() = default;
    constexpr TLibraries(std::initializer_list<TLibrary> libs)
    {
        for (TLibrary l : libs) FBits |= Bit(l);
    }
    constexpr bool Contains(TLibrary l) const { return (FBits & Bit(l)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr uint16_t Bits() const { return FBits; }
    constexpr TLibraries operator+(TLibraries o) const { return FromBits(FBits | o.FBits); }
    constexpr TLibraries operator-(TLibraries o) const { return FromBits(FBits & ~o.FBits); }
    constexpr TLibraries operator*(TLibraries o) const { return FromBits(FBits & o.FBits); }
    constexpr bool operator==(const TLibraries&) const = default;

private:
    static constexpr uint16_t Bit(TLibrary l) { return static_cast<uint16_t>(1u << l); }
    static constexpr TLibraries FromBits(uint16_t b)
    {
        TLibraries r;
        r.FBits = b;
        return r;
    }
    uint16_t FBits = 0;
};

// libswresample is in every set: libavcodec depends on it and all audio conversion uses it.
// libavdevice is in none: it pulls in SDL 2, whose names clash with SDL 1.2's.
inline constexpr TLibraries ConverterLibraries{avUtil, swResample, swScale, avCodec, avFormat, avFilter, myUtil};
inline constexpr TLibraries ProbeLibraries{avUtil, swResample, swScale, avCodec, avFormat, myUtil};
inline constexpr TLibraries PlayerLibraries{avUtil, swResample, swScale, avCodec, avFormat, avFilter, myUtil, lbSDL};
