#include "analysis/DecodedImageCache.h"

#include <QDateTime>
#include <QFileInfo>
#include <memory>

#include "import/SPIPxDIB.h"

namespace tam32 {
namespace {

struct TFileIdentity {
    QString Path;
    qint64 Size = -1;
    QDateTime Modified;
    bool operator==(const TFileIdentity&) const = default;
};

TFileIdentity Identify(const QString& FileName) {
    const QFileInfo Info(FileName);
    if (!Info.isFile()) return {};
    return {Info.canonicalFilePath(), Info.size(), Info.lastModified()};
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
    if (File.Path.isEmpty()) return;
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
