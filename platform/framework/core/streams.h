// Streams: TStream with its buffer reads that raise on a short read, the file stream over a
// POSIX descriptor, the memory stream and the string stream.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/framework/core/component.h"

enum TSeekOrigin { soBeginning = 0, soCurrent = 1, soEnd = 2 };

class TStream : public TObject {
public:
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
    virtual void SetSize(int64_t size);
    virtual int64_t Size();

    int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(int64_t pos) { Seek(pos, soBeginning); }
    void ReadBuffer(void* buffer, int64_t count);         // EReadError "Stream read error"
    void WriteBuffer(const void* buffer, int64_t count);  // EWriteError "Stream write error"
    // Copies count bytes from source's position; count 0 copies all of source from its start.
    int64_t CopyFrom(TStream& source, int64_t count);
};

enum : unsigned {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareDenyNone = 0x0040,
    fmShareDenyWrite = 0x0020,
    fmCreate = 0xFF00,
};

class THandleStream : public TStream {
public:
    explicit THandleStream(int fd) : FHandle(fd) {}
    int Handle() const { return FHandle; }
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t size) override;

protected:
    int FHandle;
};

class TFileStream : public THandleStream {
public:
    // EFOpenError "Cannot open file "X". reason" / EFCreateError "Cannot create file "X". reason".
    TFileStream(const String& fileName, unsigned mode);
    ~TFileStream() override;
    const String& FileName() const { return FFileName; }

private:
    String FFileName;
};

class TMemoryStream : public TStream {
public:
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t size) override;
    int64_t Size() override { return static_cast<int64_t>(FData.size()); }

    void* Memory() { return FData.data(); }
    const std::vector<uint8_t>& Data() const { return FData; }
    void Clear();
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream);
    void LoadFromFile(const String& fileName);
    void SaveToFile(const String& fileName);

private:
    std::vector<uint8_t> FData;
    int64_t FPosition = 0;
};

// Bytes held as a std::string (UTF-8 text when it holds text).
class TStringStream : public TStream {
public:
    explicit TStringStream(std::string data = std::string()) : FData(std::move(data)) {}
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t size) override;
    int64_t Size() override { return static_cast<int64_t>(FData.size()); }
    const std::string& DataString() const { return FData; }
    String ReadString(int64_t count);
    void WriteString(const String& s);

private:
    std::string FData;
    int64_t FPosition = 0;
};
