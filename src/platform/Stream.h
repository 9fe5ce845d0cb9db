#pragma once
// Byte streams in the manner of the original class library: Read and Write
// move what they can, ReadBuffer and WriteBuffer move all or raise.
#include <QString>
#include <cstdint>
#include <vector>

#include "platform/FileHandle.h"
#include "platform/MemoryHandle.h"

namespace tam32 {

enum class SeekOrigin { Beginning, Current, End };

class TStream {
public:
    virtual ~TStream() = default;
    virtual int64_t Read(void* Buffer, int64_t Count) = 0;
    virtual int64_t Write(const void* Buffer, int64_t Count) = 0;
    virtual int64_t Seek(int64_t Offset, SeekOrigin Origin) = 0;

    int64_t Position() { return Seek(0, SeekOrigin::Current); }
    void SetPosition(int64_t Pos) { Seek(Pos, SeekOrigin::Beginning); }
    virtual int64_t Size();

    // EReadError "Stream read error" when fewer than Count bytes arrive.
    void ReadBuffer(void* Buffer, int64_t Count);
    // EWriteError "Stream write error" when fewer than Count bytes go out.
    void WriteBuffer(const void* Buffer, int64_t Count);
    // A memory handle whose first Count bytes are the stream's next Count
    // bytes, handed over instead of copied (a decoded picture's pixels), the
    // position then past them; nullptr, with nothing read, when the stream
    // has none to give. The caller owns the handle.
    virtual HLOCAL TakeBlock(int64_t Count);
};

// A file opened to read: every write goes through SaveFileAtomically
// (platform/FileSave.h).
class TFileStream : public TStream {
public:
    // EFOpenError when the file cannot be opened.
    explicit TFileStream(const QString& FileName);
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, SeekOrigin Origin) override;
    const QString& FileName() const { return FFileName; }

private:
    QString FFileName;
    TFileHandle FHandle;
};

class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<uint8_t> Data) : FData(std::move(Data)) {}

    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, SeekOrigin Origin) override;
    int64_t Size() override { return static_cast<int64_t>(FData.size()); }

    const std::vector<uint8_t>& Data() const { return FData; }
    uint8_t* Memory() { return FData.data(); }
    void SetSize(int64_t NewSize);
    void Clear();
    void LoadFromFile(const QString& FileName);
    // Through SaveFileAtomically.
    void SaveToFile(const QString& FileName);

private:
    std::vector<uint8_t> FData;
    int64_t FPosition = 0;
};

}  // namespace tam32
