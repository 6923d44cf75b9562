// The zlib stream classes: round trips, the end of the zlib stream, corrupt and cut data, the
// operations each stream refuses, seeking and the compression rate.
#include "skin/core/zlib_streams.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

namespace {

std::string Repeated(size_t n)
{
    std::string s;
    for (size_t i = 0; i < n; ++i) s += static_cast<char>('a' + (i * 7 + i / 13) % 26);
    return s;
}

void Compress(const std::string& data, TMemoryStream& out)
{
    TCompressionStream z(TCompressionLevel::clMax, out);
    z.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
    z.Finish();
}

std::string Inflated(TMemoryStream& src)
{
    TMemoryStream out;
    DecompressStream(out, src);
    return std::string(out.Data().begin(), out.Data().end());
}

}  // namespace

TEST(ZlibStreams, RoundTripAtEveryLevelThroughBuffersAndProgress)
{
    const std::string data = Repeated(100000);
    for (auto level : {TCompressionLevel::clNone, TCompressionLevel::clFastest, TCompressionLevel::clDefault,
                       TCompressionLevel::clMax}) {
        TMemoryStream out;
        int progress = 0;
        {
            TCompressionStream z(level, out);
            z.OnProgress = [&](TObject* s) {
                EXPECT_EQ(s, &z);
                ++progress;
            };
            z.WriteBuffer(data.data(), 40000);
            z.WriteBuffer(data.data() + 40000, 60000);
            EXPECT_EQ(z.Seek(0, soCurrent), 100000);
        }  // the destructor finishes the stream
        if (level == TCompressionLevel::clNone) {
            EXPECT_GT(progress, 10);  // 8192-byte buffers
        }
        EXPECT_EQ(Inflated(out), data);
    }
}

TEST(ZlibStreams, StrongestLevelWritesItsHeader)
{
    TMemoryStream out;
    Compress("skin", out);
    ASSERT_GE(out.Size(), 2);
    EXPECT_EQ(out.Data()[0], 0x78);
    EXPECT_EQ(out.Data()[1], 0xDA);
}

TEST(ZlibStreams, CompressionRate)
{
    TMemoryStream out;
    TCompressionStream z(TCompressionLevel::clMax, out);
    EXPECT_EQ(z.CompressionRate(), 0.0f);
    const std::string data(10000, 'x');
    z.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
    z.Finish();
    const float expected = static_cast<float>((1.0 - static_cast<double>(out.Size()) / 10000.0) * 100.0);
    EXPECT_FLOAT_EQ(z.CompressionRate(), expected);
    EXPECT_GT(z.CompressionRate(), 90.0f);
}

TEST(ZlibStreams, ReadingStopsAtTheEndOfTheZlibStream)
{
    TMemoryStream src;
    Compress("payload", src);
    const uint8_t tail[2] = {0xAB, 0xCD};
    src.Seek(0, soEnd);
    src.WriteBuffer(tail, 2);
    src.SetPosition(0);
    TDecompressionStream z(src);
    char buf[64];
    EXPECT_EQ(z.Read(buf, sizeof buf), 7);
    EXPECT_TRUE(z.StreamEnded());
    EXPECT_EQ(std::string(buf, 7), "payload");
    EXPECT_EQ(z.Read(buf, sizeof buf), 0);
    EXPECT_EQ(Inflated(src), "payload");
}

TEST(ZlibStreams, BadDataRaisesInsteadOfLooping)
{
    const std::string data = Repeated(5000);
    TMemoryStream good;
    Compress(data, good);
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* error;
    };
    std::vector<uint8_t> cut(good.Data().begin(), good.Data().begin() + good.Size() / 2);
    std::vector<uint8_t> corrupt = good.Data();
    for (size_t i = 2; i < corrupt.size(); i += 3) corrupt[i] ^= 0x5A;
    // A header asking for a preset dictionary (FDICT set, check bits fixed up), then its id.
    std::vector<uint8_t> dict = {0x78, 0x20, 0, 0, 0, 1, 0x4B, 0x04, 0};
    dict[1] = static_cast<uint8_t>(0x20 + (31 - (0x78 * 256 + 0x20) % 31));
    const Case cases[] = {
        {"cut", cut, "Stream read error"},
        {"corrupt", corrupt, "compression error"},
        {"dictionary", dict, "compression error"},
        {"garbage", {'n', 'o', 't', ' ', 'z', 'l', 'i', 'b'}, "compression error"},
    };
    for (const Case& c : cases) {
        TMemoryStream src;
        src.WriteBuffer(c.bytes.data(), static_cast<int64_t>(c.bytes.size()));
        try {
            Inflated(src);
            ADD_FAILURE() << c.name << " inflated";
        } catch (const Exception& e) {
            EXPECT_EQ(std::string(e.what()), c.error) << c.name;
        }
    }
}

TEST(ZlibStreams, RefusedOperationsAndSeeking)
{
    TMemoryStream out;
    {
        TCompressionStream z(TCompressionLevel::clDefault, out);
        char b[4];
        EXPECT_THROW(z.Read(b, 4), ECompressionError);
        EXPECT_THROW(z.Seek(1, soCurrent), ECompressionError);
        EXPECT_THROW(z.Seek(0, soBeginning), ECompressionError);
        try {
            z.Seek(0, soEnd);
        } catch (const ECompressionError& e) {
            EXPECT_EQ(e.Message(), L"Invalid stream operation");
        }
        const std::string data = Repeated(20000);
        z.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
    }
    out.SetPosition(0);
    TDecompressionStream z(out);
    EXPECT_THROW(z.Write("x", 1), EDecompressionError);
    char b[100];
    EXPECT_EQ(z.Seek(100, soBeginning), 100);  // forward from the start
    EXPECT_EQ(z.Seek(50, soCurrent), 150);
    z.ReadBuffer(b, 10);
    EXPECT_EQ(std::string(b, 10), Repeated(20000).substr(150, 10));
    EXPECT_THROW(z.Seek(-1, soCurrent), EDecompressionError);
    EXPECT_THROW(z.Seek(160, soBeginning), EDecompressionError);  // not forward
    EXPECT_THROW(z.Seek(0, soEnd), EDecompressionError);
    EXPECT_EQ(z.Seek(0, soBeginning), 0);  // back to the start
    z.ReadBuffer(b, 5);
    EXPECT_EQ(std::string(b, 5), Repeated(5));
    EXPECT_EQ(z.Seek(0, soCurrent), 5);
}

TEST(ZlibStreams, StreamsPutTheUnderlyingPositionBack)
{
    TMemoryStream src;
    Compress(Repeated(30000), src);
    src.SetPosition(0);
    TDecompressionStream z(src);
    char b[1000];
    z.ReadBuffer(b, 1000);
    const int64_t left = src.Position();
    src.SetPosition(3);  // someone else moves it
    z.ReadBuffer(b, 1000);
    EXPECT_EQ(std::string(b, 1000), Repeated(30000).substr(1000, 1000));
    EXPECT_GE(src.Position(), left);
}

// A small stream that inflates past the bound stops with the error before it is all written.
TEST(ZlibStreams, InflatingPastTheBoundStops)
{
    class TCountingStream : public TStream {
    public:
        int64_t Written = 0;
        int64_t Read(void*, int64_t) override { return 0; }
        int64_t Write(const void*, int64_t count) override { return Written += count, count; }
        int64_t Seek(int64_t, TSeekOrigin) override { return Written; }
    };
    // Zeroes past the bound, deflated by zlib directly: about a quarter of a megabyte.
    z_stream z{};
    ASSERT_EQ(deflateInit(&z, Z_BEST_COMPRESSION), Z_OK);
    const std::vector<uint8_t> zeroes(1 << 20, 0);
    std::vector<uint8_t> bomb;
    uint8_t out[65536];
    for (int64_t left = MaxInflatedSize + (1 << 20); left > 0; left -= int64_t(zeroes.size())) {
        z.next_in = const_cast<uint8_t*>(zeroes.data());
        z.avail_in = static_cast<uInt>(zeroes.size());
        const int flush = left > int64_t(zeroes.size()) ? Z_NO_FLUSH : Z_FINISH;
        do {
            z.next_out = out;
            z.avail_out = sizeof out;
            deflate(&z, flush);
            bomb.insert(bomb.end(), out, out + (sizeof out - z.avail_out));
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    ASSERT_LT(bomb.size(), size_t(1) << 20);

    TMemoryStream src;
    src.WriteBuffer(bomb.data(), static_cast<int64_t>(bomb.size()));
    TCountingStream dest;
    try {
        DecompressStream(dest, src);
        ADD_FAILURE() << "inflated past the bound";
    } catch (const EDecompressionError& e) {
        EXPECT_NE(std::string(e.what()).find("256 MiB"), std::string::npos) << e.what();
    }
    EXPECT_LE(dest.Written, MaxInflatedSize);
}
