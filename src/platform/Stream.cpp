#include "platform/Stream.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "platform/Exceptions.h"
#include "platform/FileSave.h"
#include "platform/LargeBlocks.h"
#include "platform/PageMemory.h"

namespace tam32 {
namespace {

// Reads from this size on go to ReadFileBlock.
constexpr int64_t kLargeRead = int64_t{8} << 20;

}  // namespace

int64_t TStream::Size() {
    const int64_t pos = Seek(0, SeekOrigin::Current);
    const int64_t size = Seek(0, SeekOrigin::End);
    Seek(pos, SeekOrigin::Beginning);
    return size;
}

void TStream::ReadBuffer(void* Buffer, int64_t Count) {
    if (Count != 0 && Read(Buffer, Count) != Count)
        throw EReadError(QStringLiteral("Stream read error"));
}

void TStream::WriteBuffer(const void* Buffer, int64_t Count) {
    if (Count != 0 && Write(Buffer, Count) != Count)
        throw EWriteError(QStringLiteral("Stream write error"));
}

HLOCAL TStream::TakeBlock(int64_t) { return nullptr; }

// --- file stream ---------------------------------------------------------

TFileStream::TFileStream(const QString& FileName)
    : FFileName(FileName), FHandle(::open(FileName.toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC)) {
    if (FHandle.Get() < 0)
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2")
                              .arg(FileName, QString::fromLocal8Bit(std::strerror(errno))));
}

int64_t TFileStream::Read(void* Buffer, int64_t Count) {
    // A picture's pixels go into fresh memory: its page faults are served in parallel.
    if (Count >= kLargeRead) {
        const off_t position = ::lseek(FHandle.Get(), 0, SEEK_CUR);
        if (position >= 0) {
            const int64_t done = ReadFileBlock(FHandle.Get(), position, Buffer, size_t(Count));
            ::lseek(FHandle.Get(), position + done, SEEK_SET);
            return done;
        }
    }
    int64_t done = 0;
    auto* out = static_cast<char*>(Buffer);
    while (done < Count) {
        const ssize_t n = ::read(FHandle.Get(), out + done, static_cast<size_t>(Count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

// Opened to read only.
int64_t TFileStream::Write(const void*, int64_t) { return 0; }

int64_t TFileStream::Seek(int64_t Offset, SeekOrigin Origin) {
    const int whence = Origin == SeekOrigin::Beginning ? SEEK_SET
                       : Origin == SeekOrigin::Current ? SEEK_CUR
                                                       : SEEK_END;
    const off_t r = ::lseek(FHandle.Get(), static_cast<off_t>(Offset), whence);
    return r < 0 ? -1 : static_cast<int64_t>(r);
}

// --- memory stream -------------------------------------------------------

namespace {
constexpr size_t kLargeStreamSize = size_t{4} << 20;
}

int64_t TMemoryStream::Read(void* Buffer, int64_t Count) {
    if (Count <= 0 || FPosition >= Size()) return 0;
    const int64_t n = std::min<int64_t>(Count, Size() - FPosition);
    std::memcpy(Buffer, FData.data() + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

int64_t TMemoryStream::Write(const void* Buffer, int64_t Count) {
    if (Count <= 0) return 0;
    const auto* bytes = static_cast<const uint8_t*>(Buffer);
    if (FPosition == Size()) {
        // Appending copies once, without clearing the new room first; room
        // for a whole picture comes in huge pages (see AdviseHugePages).
        const size_t needed = FData.size() + static_cast<size_t>(Count);
        if (needed > FData.capacity() && needed >= kLargeStreamSize) {
            FData.reserve(std::max(needed, FData.capacity() * 2));
            AdviseHugePages(FData.data() + FData.size(), FData.capacity() - FData.size());
        }
        FData.insert(FData.end(), bytes, bytes + Count);
    } else {
        if (FPosition + Count > Size()) FData.resize(static_cast<size_t>(FPosition + Count));
        std::memcpy(FData.data() + FPosition, Buffer, static_cast<size_t>(Count));
    }
    FPosition += Count;
    return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, SeekOrigin Origin) {
    int64_t base = Origin == SeekOrigin::Beginning ? 0
                   : Origin == SeekOrigin::Current ? FPosition
                                                   : Size();
    const int64_t target = base + Offset;
    if (target < 0) return -1;
    FPosition = target;
    return FPosition;
}

void TMemoryStream::SetSize(int64_t NewSize) {
    FData.resize(static_cast<size_t>(std::max<int64_t>(NewSize, 0)));
    FPosition = std::min(FPosition, Size());
}

void TMemoryStream::Clear() {
    FData.clear();
    FPosition = 0;
}

void TMemoryStream::LoadFromFile(const QString& FileName) {
    TFileStream file(FileName);
    const int64_t size = file.Size();
    std::vector<uint8_t> data(static_cast<size_t>(size));
    file.ReadBuffer(data.data(), size);
    FData = std::move(data);
    FPosition = 0;
}

void TMemoryStream::SaveToFile(const QString& FileName) {
    SaveFileAtomically(FileName, [this](TStream& Stream) { Stream.WriteBuffer(FData.data(), Size()); });
}

}  // namespace tam32
