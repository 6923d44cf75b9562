#include "skin/core/zlib_streams.h"

#include <algorithm>
#include <climits>

namespace {

const wchar_t* const sInvalidStreamOp = L"Invalid stream operation";
const wchar_t* const sCompressionError = L"error";
const wchar_t* const sDecompressionError = L"compression error";

int ZlibLevel(TCompressionLevel level)
{
    switch (level) {
    case TCompressionLevel::clNone: return Z_NO_COMPRESSION;
    case TCompressionLevel::clFastest: return Z_BEST_SPEED;
    case TCompressionLevel::clDefault: return Z_DEFAULT_COMPRESSION;
    case TCompressionLevel::clMax: break;
    }
    return Z_BEST_COMPRESSION;
}

// zlib counts in unsigned int; a caller's count may be larger, so it goes in slices.
uInt Slice(int64_t n) { return static_cast<uInt>(std::min<int64_t>(n, UINT_MAX)); }

}  // namespace

// --- TCustomZlibStream ------------------------------------------------------------------------

TCustomZlibStream::TCustomZlibStream(TStream& Strm) : FStrm(Strm), FStrmPos(Strm.Position()) {}

void TCustomZlibStream::Progress()
{
    if (OnProgress) OnProgress(this);
}

void TCustomZlibStream::RestorePosition()
{
    if (FStrm.Position() != FStrmPos) FStrm.SetPosition(FStrmPos);
}

// --- TCompressionStream -----------------------------------------------------------------------

TCompressionStream::TCompressionStream(TCompressionLevel CompressionLevel, TStream& Dest) : TCustomZlibStream(Dest)
{
    FZRec.next_out = FBuffer;
    FZRec.avail_out = BufferSize;
    if (deflateInit(&FZRec, ZlibLevel(CompressionLevel)) < 0) throw ECompressionError(sCompressionError);
}

TCompressionStream::~TCompressionStream()
{
    try {
        Finish();
    } catch (...) {
        // A destructor cannot report; callers that need to know call Finish themselves.
    }
    deflateEnd(&FZRec);
}

void TCompressionStream::Finish()
{
    if (FFinished) return;
    FFinished = true;
    FZRec.next_in = nullptr;
    FZRec.avail_in = 0;
    RestorePosition();
    int rc;
    while ((rc = deflate(&FZRec, Z_FINISH)) != Z_STREAM_END && FZRec.avail_out == 0) {
        if (rc < 0) throw ECompressionError(sCompressionError);
        FStrm.WriteBuffer(FBuffer, BufferSize);
        FZRec.next_out = FBuffer;
        FZRec.avail_out = BufferSize;
    }
    if (rc < 0) throw ECompressionError(sCompressionError);
    if (FZRec.avail_out < BufferSize) FStrm.WriteBuffer(FBuffer, BufferSize - FZRec.avail_out);
    FStrmPos = FStrm.Position();
}

int64_t TCompressionStream::Read(void*, int64_t) { throw ECompressionError(sInvalidStreamOp); }

int64_t TCompressionStream::Write(const void* Buffer, int64_t Count)
{
    if (FFinished) throw ECompressionError(sInvalidStreamOp);
    const auto* in = static_cast<const Bytef*>(Buffer);
    int64_t left = Count;
    RestorePosition();
    while (left > 0) {
        FZRec.next_in = const_cast<Bytef*>(in);
        FZRec.avail_in = Slice(left);
        const uInt given = FZRec.avail_in;
        while (FZRec.avail_in > 0) {
            if (deflate(&FZRec, Z_NO_FLUSH) < 0) throw ECompressionError(sCompressionError);
            if (FZRec.avail_out == 0) {
                FStrm.WriteBuffer(FBuffer, BufferSize);
                FZRec.next_out = FBuffer;
                FZRec.avail_out = BufferSize;
                FStrmPos = FStrm.Position();
                Progress();
            }
        }
        in += given;
        left -= given;
    }
    return Count;
}

int64_t TCompressionStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    if (Offset == 0 && Origin == soCurrent) return static_cast<int64_t>(FZRec.total_in);
    throw ECompressionError(sInvalidStreamOp);
}

float TCompressionStream::CompressionRate() const
{
    if (FZRec.total_in == 0) return 0.0f;
    return static_cast<float>((1.0 - static_cast<double>(FZRec.total_out) / static_cast<double>(FZRec.total_in)) *
                              100.0);
}

// --- TDecompressionStream ---------------------------------------------------------------------

TDecompressionStream::TDecompressionStream(TStream& Source) : TCustomZlibStream(Source)
{
    FZRec.next_in = FBuffer;
    FZRec.avail_in = 0;
    if (inflateInit(&FZRec) < 0) throw EDecompressionError(sDecompressionError);
}

TDecompressionStream::~TDecompressionStream() { inflateEnd(&FZRec); }

int64_t TDecompressionStream::Read(void* Buffer, int64_t Count)
{
    auto* out = static_cast<Bytef*>(Buffer);
    int64_t delivered = 0;
    RestorePosition();
    while (delivered < Count && !FEnded) {
        if (FZRec.avail_in == 0) {
            const int64_t got = FStrm.Read(FBuffer, BufferSize);
            if (got <= 0) return delivered;
            FZRec.next_in = FBuffer;
            FZRec.avail_in = static_cast<uInt>(got);
            FStrmPos = FStrm.Position();
            Progress();
        }
        FZRec.next_out = out + delivered;
        FZRec.avail_out = Slice(Count - delivered);
        const uInt inBefore = FZRec.avail_in, outBefore = FZRec.avail_out;
        const int rc = inflate(&FZRec, Z_NO_FLUSH);
        delivered += outBefore - FZRec.avail_out;
        if (rc < 0 || rc == Z_NEED_DICT) throw EDecompressionError(sDecompressionError);
        if (rc == Z_STREAM_END) {
            FEnded = true;
            break;
        }
        // A stream asking for a preset dictionary, or any other standstill, would loop forever.
        if (FZRec.avail_in == inBefore && FZRec.avail_out == outBefore) throw EDecompressionError(sDecompressionError);
    }
    return delivered;
}

int64_t TDecompressionStream::Write(const void*, int64_t) { throw EDecompressionError(sInvalidStreamOp); }

int64_t TDecompressionStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    const int64_t pos = static_cast<int64_t>(FZRec.total_out);
    if (Offset == 0 && Origin == soBeginning) {
        if (inflateReset(&FZRec) < 0) throw EDecompressionError(sDecompressionError);
        FZRec.next_in = FBuffer;
        FZRec.avail_in = 0;
        FEnded = false;
        FStrm.SetPosition(0);
        FStrmPos = 0;
    } else if ((Offset >= 0 && Origin == soCurrent) || (Offset > pos && Origin == soBeginning)) {
        int64_t skip = Origin == soBeginning ? Offset - pos : Offset;
        unsigned char scratch[BufferSize];
        while (skip > 0) {
            const int64_t got = Read(scratch, std::min<int64_t>(skip, BufferSize));
            if (got <= 0) break;
            skip -= got;
        }
    } else {
        throw EDecompressionError(sInvalidStreamOp);
    }
    return static_cast<int64_t>(FZRec.total_out);
}

// --- routines ---------------------------------------------------------------------------------

void CompressStream(TStream& Source, TStream& Dest)
{
    TCompressionStream z(TCompressionLevel::clMax, Dest);
    Source.SetPosition(0);
    unsigned char piece[8192];
    int64_t got;
    while ((got = Source.Read(piece, sizeof piece)) > 0) z.WriteBuffer(piece, got);
    z.Finish();
}

void DecompressStream(TStream& Dest, TStream& Source)
{
    Source.SetPosition(0);
    TDecompressionStream z(Source);
    unsigned char piece[4096];
    int64_t total = 0, got;
    while ((got = z.Read(piece, sizeof piece)) > 0) {
        total += got;
        if (total > MaxInflatedSize) throw EDecompressionError(L"Compressed skin data inflates to more than 256 MiB");
        Dest.WriteBuffer(piece, got);
    }
    if (!z.StreamEnded()) throw EReadError(L"Stream read error");
}
