// File names for the media libraries and the engine's own file access for "unicode:utf8:" names.
#include "engine/unicode_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "engine/av_bindings.h"
#include "platform/framework/core/strings.h"

namespace {

const char UnicodePrefix[] = "unicode:utf8:";
constexpr size_t UnicodePrefixLength = sizeof UnicodePrefix - 1;  // 13
constexpr int IOBufferSize = 32768;

// The state behind one own I/O context.
struct TUnicodeFile {
    int Fd = -1;
};

int UnicodeRead(void* opaque, uint8_t* buf, int size)
{
    auto* f = static_cast<TUnicodeFile*>(opaque);
    ssize_t n;
    do n = ::read(f->Fd, buf, static_cast<size_t>(size));
    while (n < 0 && errno == EINTR);
    if (n < 0) return -1;
    if (n == 0) return AVERROR_EOF;  // the libraries want EOF, not 0, at the end
    return static_cast<int>(n);
}

int UnicodeWrite(void* opaque, uint8_t* buf, int size)
{
    auto* f = static_cast<TUnicodeFile*>(opaque);
    int done = 0;
    while (done < size) {
        ssize_t n = ::write(f->Fd, buf + done, static_cast<size_t>(size - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return -1;
        done += static_cast<int>(n);
    }
    return done;
}

int64_t UnicodeSeek(void* opaque, int64_t pos, int whence)
{
    auto* f = static_cast<TUnicodeFile*>(opaque);
    if (whence & AVSEEK_SIZE) {
        struct stat st;
        return ::fstat(f->Fd, &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
    }
    off_t r = ::lseek(f->Fd, static_cast<off_t>(pos), whence & 3);
    return r < 0 ? -1 : static_cast<int64_t>(r);
}

}  // namespace

bool NeedsUnicodeName(const String& AFileName)
{
    size_t colon = AFileName.find(L':');
    if (colon != String::npos) {
        String probe = L":" + AFileName.substr(0, colon) + L":";
        if (String(L":unicode:stream:gopher:http:pipe:rtp:tcp:udp:").find(probe) != String::npos) return false;
    }
    return Utf8ToString(StringToUtf8(AFileName)) != AFileName;
}

std::string EncodeAVFileName(const String& AFileName)
{
    if (NeedsUnicodeName(AFileName)) return MakeUnicodeName(AFileName);
    return StringToUtf8(AFileName);
}

bool IsUnicodeName(const char* AName)
{
    return AName && std::strlen(AName) >= UnicodePrefixLength + 1 &&
           std::strncmp(AName, UnicodePrefix, UnicodePrefixLength) == 0;
}

String DecodeAVFileName(const char* AName)
{
    if (!AName) return String();
    if (IsUnicodeName(AName)) return ParseUnicodeName(AName);
    return Utf8ToString(AName);
}

std::string MakeUnicodeName(const String& AFileName) { return UnicodePrefix + StringToUtf8(AFileName); }

String ParseUnicodeName(const char* AName)
{
    String s = Utf8ToString(AName ? AName : "");
    for (int i = 0; i < 2; ++i) {
        size_t colon = s.find(L':');
        if (colon == String::npos) break;
        s.erase(0, colon + 1);
    }
    return s;
}

int OpenUnicodeIO(const char* AName, int AFlags, AVIOContext** APb)
{
    *APb = nullptr;
    std::string path = StringToUtf8(ParseUnicodeName(AName));
    int mode;
    bool writable = (AFlags & AVIO_FLAG_WRITE) != 0;
    if ((AFlags & AVIO_FLAG_READ_WRITE) == AVIO_FLAG_READ_WRITE)
        mode = O_RDWR | O_CREAT | O_TRUNC;
    else if (writable)
        mode = O_WRONLY | O_CREAT | O_TRUNC;
    else
        mode = O_RDONLY;
    int fd = ::open(path.c_str(), mode | O_CLOEXEC, 0666);
    if (fd < 0) return AVERROR(ENOENT);

    auto* file = new TUnicodeFile{fd};
    auto* buffer = static_cast<unsigned char*>(av::av_malloc(IOBufferSize));
    AVIOContext* pb = buffer ? av::avio_alloc_context(buffer, IOBufferSize, writable ? 1 : 0, file, UnicodeRead,
                                                      writable ? UnicodeWrite : nullptr, UnicodeSeek)
                             : nullptr;
    if (!pb) {
        av::av_free(buffer);
        ::close(fd);
        delete file;
        return AVERROR(ENOMEM);
    }
    *APb = pb;
    return 0;
}

bool IsUnicodeIO(const AVIOContext* APb) { return APb && APb->read_packet == UnicodeRead; }

void CloseUnicodeIO(AVIOContext** APb)
{
    AVIOContext* pb = *APb;
    if (!pb) return;
    *APb = nullptr;
    if (pb->write_flag) av::avio_flush(pb);
    auto* file = static_cast<TUnicodeFile*>(pb->opaque);
    av::av_freep(&pb->buffer);
    av::avio_context_free(&pb);
    if (file) {
        ::close(file->Fd);
        delete file;
    }
}

int OpenAVInput(AVFormatContext** AContext, const char* AName, const AVInputFormat* AFormat, AVDictionary** AOptions)
{
    if (!IsUnicodeName(AName)) return av::avformat_open_input(AContext, AName, AFormat, AOptions);

    AVIOContext* pb = nullptr;
    int r = OpenUnicodeIO(AName, AVIO_FLAG_READ, &pb);
    if (r < 0) {
        if (*AContext) {
            av::avformat_free_context(*AContext);
            *AContext = nullptr;
        }
        return r;
    }
    if (!*AContext) *AContext = av::avformat_alloc_context();
    if (!*AContext) {
        CloseUnicodeIO(&pb);
        return AVERROR(ENOMEM);
    }
    // With pb set before opening, the library marks the input as custom I/O and leaves it to us.
    (*AContext)->pb = pb;
    r = av::avformat_open_input(AContext, AName, AFormat, AOptions);
    if (r < 0) CloseUnicodeIO(&pb);
    return r;
}

void CloseAVInput(AVFormatContext** AContext)
{
    if (!*AContext) return;
    AVIOContext* pb = (*AContext)->pb;
    bool own = IsUnicodeIO(pb) && ((*AContext)->flags & AVFMT_FLAG_CUSTOM_IO);
    av::avformat_close_input(AContext);
    if (own) CloseUnicodeIO(&pb);
}

int OpenAVOutputIO(AVFormatContext* AContext, const char* AName)
{
    if (AContext->oformat && (AContext->oformat->flags & AVFMT_NOFILE)) return 0;
    if (IsUnicodeName(AName)) return OpenUnicodeIO(AName, AVIO_FLAG_WRITE, &AContext->pb);
    return av::avio_open2(&AContext->pb, AName, AVIO_FLAG_WRITE, &AContext->interrupt_callback, nullptr);
}

void CloseAVOutputIO(AVFormatContext* AContext)
{
    if (!AContext || !AContext->pb) return;
    if (IsUnicodeIO(AContext->pb))
        CloseUnicodeIO(&AContext->pb);
    else if (!(AContext->oformat && (AContext->oformat->flags & AVFMT_NOFILE)))
        av::avio_closep(&AContext->pb);
}
