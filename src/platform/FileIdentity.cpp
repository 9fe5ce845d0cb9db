#include "platform/FileIdentity.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace tam32 {
namespace {

// A change younger than this may be followed by another in the same tick of
// the file system's clock.
constexpr qint64 kSettledMs = 2000;

qint64 MsSince(const timespec& Time) {
    return QDateTime::currentMSecsSinceEpoch() - (qint64(Time.tv_sec) * 1000 + Time.tv_nsec / 1000000);
}

bool SameTime(const timespec& A, const timespec& B) { return A.tv_sec == B.tv_sec && A.tv_nsec == B.tv_nsec; }

}  // namespace

bool TFileIdentity::operator==(const TFileIdentity& Other) const {
    return Path == Other.Path && Device == Other.Device && Inode == Other.Inode && Size == Other.Size &&
           SameTime(Modified, Other.Modified) && SameTime(Changed, Other.Changed);
}

bool TFileIdentity::Settled() const {
    return !Path.isEmpty() && MsSince(Modified) >= kSettledMs && MsSince(Changed) >= kSettledMs;
}

TFileIdentity IdentifyFile(const QString& FileName) {
    const QString Path = QFileInfo(FileName).canonicalFilePath();
    struct stat Status {};
    if (Path.isEmpty() || stat(QFile::encodeName(Path).constData(), &Status) != 0 || !S_ISREG(Status.st_mode))
        return {};
    return {Path, Status.st_dev, Status.st_ino, Status.st_size, Status.st_mtim, Status.st_ctim};
}

}  // namespace tam32
