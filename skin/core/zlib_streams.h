// Streams over zlib for stored skins: TCompressionStream deflates what is written to it into an
// underlying stream, TDecompressionStream inflates an underlying stream as it is read. Both work
// through one 8192-byte buffer, put the underlying stream back where they last left it before
// touching it, and report progress after each buffer. Used by the stored skins and the skin model.
#pragma once

#include <zlib.h>

#include <cstdint>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/streams.h"

class EZlibError : public Exception {
public:
    using Exception::Exception;
};
class ECompressionError : public EZlibError {
public:
    using EZlibError::EZlibError;
};
class EDecompressionError : public EZlibError {
public:
    using EZlibError::EZlibError;
};

// Scoped: clNone and clDefault are also colour names.
enum class TCompressionLevel { clNone, clFastest, clDefault, clMax };

class TCustomZlibStream : public TStream {
public:
    // Fired after each buffer that went to or came from the underlying stream (sender: this).
    TNotifyEvent OnProgress;

protected:
    explicit TCustomZlibStream(TStream& Strm);
    void Progress();
    // Puts the underlying stream back at FStrmPos when someone else moved it.
    void RestorePosition();

    static constexpr int BufferSize = 8192;
    TStream& FStrm;
    int64_t FStrmPos;
    z_stream FZRec{};
    unsigned char FBuffer[BufferSize];
};

class TCompressionStream : public TCustomZlibStream {
public:
    TCompressionStream(TCompressionLevel CompressionLevel, TStream& Dest);
    // Finishes the zlib stream when Finish has not been called; errors are lost there.
    ~TCompressionStream() override;

    int64_t Read(void* Buffer, int64_t Count) override;  // ECompressionError
    int64_t Write(const void* Buffer, int64_t Count) override;
    // (0, soCurrent) gives the bytes taken in so far; anything else raises ECompressionError.
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    // Writes the end of the zlib stream; after it the data in the underlying stream is complete.
    void Finish();
    // (1 - bytes out / bytes in) * 100; 0 before any input.
    float CompressionRate() const;

private:
    bool FFinished = false;
};

class TDecompressionStream : public TCustomZlibStream {
public:
    explicit TDecompressionStream(TStream& Source);
    ~TDecompressionStream() override;

    // Delivers up to Count inflated bytes; fewer at the end of the zlib stream or of the
    // underlying data. Bytes after the end of the zlib stream are left alone.
    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;  // EDecompressionError
    // Back to the start (0, soBeginning) or forward by reading; the result is the bytes delivered.
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    // True once the whole zlib stream, check value included, has been inflated.
    bool StreamEnded() const { return FEnded; }

private:
    bool FEnded = false;
};

// Deflates all of Source, from its start, into Dest at level clMax.
void CompressStream(TStream& Source, TStream& Dest);
// Inflates all of Source, from its start, into Dest; a stream cut short raises EReadError and
// more than MaxInflatedSize bytes raise EDecompressionError.
void DecompressStream(TStream& Dest, TStream& Source);

// The largest payload a stored skin may inflate to: a crafted block cannot exhaust memory.
constexpr int64_t MaxInflatedSize = int64_t(256) << 20;
