#include "platform/FileSave.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tam32 {
namespace {

std::optional<TSaveFault> InjectedFault;

// A step of the save failed with this error number.
struct TStepFailed {
    int Error;
};

// The step as the system does it (a call that returns 0 or -1 and errno),
// unless a test made it fail.
template <class Call>
void Check(TSaveStep Step, int Occurrence, Call&& SystemCall) {
    if (InjectedFault && InjectedFault->Step == Step && InjectedFault->Occurrence == Occurrence)
        throw TStepFailed{InjectedFault->Error};
    if (SystemCall() != 0) throw TStepFailed{errno};
}

// The temporary file's content, gathered into pieces that go to the system
// whole; a write that the system takes only in part goes on with the rest.
class TSaveStream : public TStream {
public:
    explicit TSaveStream(int Handle) : FHandle(Handle) {}

    int64_t Read(void*, int64_t) override { return 0; }
    int64_t Write(const void* Buffer, int64_t Count) override {
        if (Count <= 0) return 0;
        const auto* bytes = static_cast<const char*>(Buffer);
        if (FPending.size() + Count > kPiece) {
            Flush();
            if (Count >= kPiece) {
                Put(bytes, Count);
                return Count;
            }
        }
        FPending.append(bytes, qsizetype(Count));
        return Count;
    }
    int64_t Seek(int64_t Offset, SeekOrigin Origin) override {
        Flush();
        const int whence = Origin == SeekOrigin::Beginning ? SEEK_SET : Origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
        const off_t at = ::lseek(FHandle, off_t(Offset), whence);
        return at < 0 ? -1 : int64_t(at);
    }
    // What is still gathered goes to the system.
    void Flush() {
        if (FPending.isEmpty()) return;
        const QByteArray pending = std::exchange(FPending, QByteArray());
        Put(pending.constData(), pending.size());
    }

private:
    static constexpr int64_t kPiece = 1 << 16;

    void Put(const char* Bytes, int64_t Count) {
        while (Count > 0) {
            ssize_t done = 0;
            Check(TSaveStep::Write, ++FWrites, [&] {
                do done = ::write(FHandle, Bytes, size_t(Count));
                while (done < 0 && errno == EINTR);
                if (done == 0) errno = EIO;  // nothing taken and no reason given
                return done > 0 ? 0 : -1;
            });
            Bytes += done;
            Count -= done;
        }
    }

    int FHandle;
    int FWrites = 0;
    QByteArray FPending;
};

// The file a save replaces: the file a link points to, so the link stays.
QString ReplacedFile(const QString& FileName) {
    QFileInfo file(FileName);
    for (int depth = 0; depth < 32 && file.isSymLink(); ++depth) file.setFile(file.symLinkTarget());
    return file.isSymLink() ? FileName : file.filePath();
}

// A new file beside Target that nobody else made, with the permission bits
// Target has, or those of a new file. Sets Name once the file is made; the
// open handle.
int CreateTemporary(const QByteArray& Target, QByteArray& Name) {
    struct stat old;
    const bool replacing = ::stat(Target.constData(), &old) == 0;
    for (;;) {
        const QByteArray name = Target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        // Private until it has the old file's bits; a new file's come from the umask.
        const int handle = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, replacing ? 0600 : 0666);
        if (handle < 0 && errno == EEXIST) continue;
        if (handle < 0) throw TStepFailed{errno};
        Name = name;
        // A file system without permission bits keeps the file private.
        if (replacing) (void)::fchmod(handle, old.st_mode & 07777);
        return handle;
    }
}

}  // namespace

EFileSaveError::EFileSaveError(const QString& FileName, const QString& Reason)
    : EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, Reason)),
      FFileName(FileName),
      FReason(Reason) {}

void SaveFileAtomically(const QString& FileName, const std::function<void(TStream&)>& Write) {
    const QByteArray target = QFile::encodeName(ReplacedFile(FileName));
    QByteArray temporary;
    int handle = -1;
    try {
        handle = CreateTemporary(target, temporary);
        TSaveStream stream(handle);
        Write(stream);
        Check(TSaveStep::Flush, 1, [&] {
            stream.Flush();
            return 0;
        });
        Check(TSaveStep::Sync, 1, [&] { return ::fsync(handle); });
        Check(TSaveStep::Close, 1, [&] { return ::close(std::exchange(handle, -1)); });
        Check(TSaveStep::Rename, 1, [&] { return ::rename(temporary.constData(), target.constData()); });
    } catch (...) {
        if (handle >= 0) ::close(handle);
        if (!temporary.isEmpty()) ::unlink(temporary.constData());
        try {
            throw;
        } catch (const TStepFailed& failed) {
            throw EFileSaveError(FileName, QString::fromLocal8Bit(std::strerror(failed.Error)));
        }
    }
}

void SaveFileAtomically(const QString& FileName, const QByteArray& Content) {
    SaveFileAtomically(FileName, [&Content](TStream& Stream) { Stream.WriteBuffer(Content.constData(), Content.size()); });
}

void SetSaveFault(std::optional<TSaveFault> Fault) { InjectedFault = Fault; }

}  // namespace tam32
