#include "platform/framework/core/streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"

namespace {

// Reading and writing at a position in a byte container; shared by the memory and string streams.
template <class C>
int64_t BufferRead(const C& data, int64_t& pos, void* buffer, int64_t count)
{
    const int64_t n = std::max<int64_t>(0, std::min<int64_t>(count, static_cast<int64_t>(data.size()) - pos));
    if (n > 0) std::memcpy(buffer, data.data() + pos, static_cast<size_t>(n));
    pos += n;
    return n;
}

template <class C>
int64_t BufferWrite(C& data, int64_t& pos, const void* buffer, int64_t count)
{
    if (count <= 0) return 0;
    if (pos + count > static_cast<int64_t>(data.size())) data.resize(static_cast<size_t>(pos + count));
    std::memcpy(data.data() + pos, buffer, static_cast<size_t>(count));
    pos += count;
    return count;
}

template <class C>
int64_t BufferSeek(const C& data, int64_t& pos, int64_t offset, TSeekOrigin origin)
{
    const int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? pos : static_cast<int64_t>(data.size());
    pos = std::max<int64_t>(0, base + offset);
    return pos;
}

template <class C>
void BufferSetSize(C& data, int64_t& pos, int64_t size)
{
    data.resize(static_cast<size_t>(std::max<int64_t>(0, size)));
    pos = std::min(pos, static_cast<int64_t>(data.size()));
}

}  // namespace

// --- TStream ----------------------------------------------------------------------------------

int64_t TStream::Size()
{
    const int64_t pos = Seek(0, soCurrent);
    const int64_t end = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return end;
}

void TStream::SetSize(int64_t) {}

void TStream::ReadBuffer(void* buffer, int64_t count)
{
    if (count > 0 && Read(buffer, count) != count) throw EReadError(L"Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count)
{
    if (count > 0 && Write(buffer, count) != count) throw EWriteError(L"Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count)
{
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    int64_t left = count;
    std::vector<char> buf(static_cast<size_t>(std::min<int64_t>(std::max<int64_t>(left, 1), 1 << 20)));
    while (left > 0) {
        const int64_t n = std::min<int64_t>(left, static_cast<int64_t>(buf.size()));
        source.ReadBuffer(buf.data(), n);
        WriteBuffer(buf.data(), n);
        left -= n;
    }
    return count;
}

// --- THandleStream / TFileStream ----------------------------------------------------------------

int64_t THandleStream::Read(void* buffer, int64_t count)
{
    int64_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(FHandle, static_cast<char*>(buffer) + done, static_cast<size_t>(count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

int64_t THandleStream::Write(const void* buffer, int64_t count)
{
    int64_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(FHandle, static_cast<const char*>(buffer) + done, static_cast<size_t>(count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

int64_t THandleStream::Seek(int64_t offset, TSeekOrigin origin)
{
    const int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
    const off_t r = ::lseek(FHandle, offset, whence);
    return r < 0 ? -1 : r;
}

void THandleStream::SetSize(int64_t size)
{
    if (::ftruncate(FHandle, size) != 0) RaiseLastOSError(L"Stream size error: ");
    if (Position() > size) Seek(size, soBeginning);
}

TFileStream::TFileStream(const String& fileName, unsigned mode) : THandleStream(-1), FFileName(fileName)
{
    const std::string path = StringToUtf8(fileName);
    if ((mode & 0xFF00) == fmCreate) {
        FHandle = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (FHandle < 0)
            throw EFCreateError(L"Cannot create file \"" + fileName + L"\". " + Utf8ToString(std::strerror(errno)));
        return;
    }
    int flags = O_CLOEXEC;
    switch (mode & 3) {
    case fmOpenWrite: flags |= O_WRONLY; break;
    case fmOpenReadWrite: flags |= O_RDWR; break;
    default: flags |= O_RDONLY; break;
    }
    FHandle = ::open(path.c_str(), flags);
    if (FHandle < 0)
        throw EFOpenError(L"Cannot open file \"" + fileName + L"\". " + Utf8ToString(std::strerror(errno)));
    // A folder opens for reading too, and its size is nonsense to a reader.
    struct stat st {};
    if (::fstat(FHandle, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(FHandle);
        FHandle = -1;
        throw EFOpenError(L"Cannot open file \"" + fileName + L"\". " + Utf8ToString(std::strerror(EISDIR)));
    }
}

TFileStream::~TFileStream()
{
    if (FHandle >= 0) ::close(FHandle);
}

// --- TMemoryStream ----------------------------------------------------------------------------

int64_t TMemoryStream::Read(void* buffer, int64_t count) { return BufferRead(FData, FPosition, buffer, count); }
int64_t TMemoryStream::Write(const void* buffer, int64_t count) { return BufferWrite(FData, FPosition, buffer, count); }
int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) { return BufferSeek(FData, FPosition, offset, origin); }
void TMemoryStream::SetSize(int64_t size) { BufferSetSize(FData, FPosition, size); }

void TMemoryStream::Clear()
{
    FData.clear();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream)
{
    stream.SetPosition(0);
    const int64_t n = stream.Size();
    FData.resize(static_cast<size_t>(n));
    stream.ReadBuffer(FData.data(), n);
    FPosition = 0;
}

void TMemoryStream::SaveToStream(TStream& stream) { stream.WriteBuffer(FData.data(), Size()); }

void TMemoryStream::LoadFromFile(const String& fileName)
{
    TFileStream f(fileName, fmOpenRead);
    LoadFromStream(f);
}

void TMemoryStream::SaveToFile(const String& fileName)
{
    WriteFileAtomically(fileName, std::string(FData.begin(), FData.end()));
}

// --- TStringStream ----------------------------------------------------------------------------

int64_t TStringStream::Read(void* buffer, int64_t count) { return BufferRead(FData, FPosition, buffer, count); }
int64_t TStringStream::Write(const void* buffer, int64_t count) { return BufferWrite(FData, FPosition, buffer, count); }
int64_t TStringStream::Seek(int64_t offset, TSeekOrigin origin) { return BufferSeek(FData, FPosition, offset, origin); }
void TStringStream::SetSize(int64_t size) { BufferSetSize(FData, FPosition, size); }

String TStringStream::ReadString(int64_t count)
{
    std::string s(static_cast<size_t>(std::max<int64_t>(0, std::min<int64_t>(count, Size() - FPosition))), '\0');
    Read(s.data(), static_cast<int64_t>(s.size()));
    return Utf8ToString(s);
}

void TStringStream::WriteString(const String& s)
{
    const std::string u = StringToUtf8(s);
    Write(u.data(), static_cast<int64_t>(u.size()));
}
