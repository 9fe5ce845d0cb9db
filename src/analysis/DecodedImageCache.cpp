#include "analysis/DecodedImageCache.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <memory>
#include <sys/stat.h>

#include "import/SPIPxDIB.h"

namespace tam32 {
namespace {

// A file whose last change is younger than this may be changed again within
// the same tick of the file system's clock, with the same size: its decoding
// is not kept.
constexpr qint64 kSettledMs = 2000;

struct TFileIdentity {
    QString Path;
    dev_t Device = 0;
    ino_t Inode = 0;
    off_t Size = -1;
    timespec Modified{}, Changed{};
    bool operator==(const TFileIdentity& Other) const {
        return Path == Other.Path && Device == Other.Device && Inode == Other.Inode && Size == Other.Size &&
               Modified.tv_sec == Other.Modified.tv_sec && Modified.tv_nsec == Other.Modified.tv_nsec &&
               Changed.tv_sec == Other.Changed.tv_sec && Changed.tv_nsec == Other.Changed.tv_nsec;
    }
};

TFileIdentity Identify(const QString& FileName) {
    const QString Path = QFileInfo(FileName).canonicalFilePath();
    struct stat Status {};
    if (Path.isEmpty() || stat(QFile::encodeName(Path).constData(), &Status) != 0 || !S_ISREG(Status.st_mode))
        return {};
    return {Path, Status.st_dev, Status.st_ino, Status.st_size, Status.st_mtim, Status.st_ctim};
}

qint64 MsSince(const timespec& Time) {
    return QDateTime::currentMSecsSinceEpoch() - (qint64(Time.tv_sec) * 1000 + Time.tv_nsec / 1000000);
}

TFileIdentity KeptFile;
std::unique_ptr<TSPIPxDIB> KeptImage;

}  // namespace

bool TakeCachedDecoding(const QString& FileName, TSPIPxDIB& Image) {
    if (!KeptImage || KeptFile.Path.isEmpty() || !(Identify(FileName) == KeptFile)) return false;
    Image.Assign(KeptImage.get());
    return true;
}

void KeepDecoding(const QString& FileName, const TSPIPxDIB& Image) {
    ClearDecodedImageCache();
    const TFileIdentity File = Identify(FileName);
    if (File.Path.isEmpty() || MsSince(File.Modified) < kSettledMs || MsSince(File.Changed) < kSettledMs) return;
    auto Copy = std::make_unique<TSPIPxDIB>();
    Copy->Assign(&Image);
    KeptFile = File;
    KeptImage = std::move(Copy);
}

void ClearDecodedImageCache() {
    KeptImage.reset();
    KeptFile = {};
}

}  // namespace tam32
