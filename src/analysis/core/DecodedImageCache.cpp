#include "analysis/core/DecodedImageCache.h"

#include <memory>

#include "import/SPIPxDIB.h"
#include "platform/FileIdentity.h"

namespace tam32 {
namespace {

TFileIdentity KeptFile;
std::unique_ptr<TSPIPxDIB> KeptImage;

}  // namespace

bool TakeCachedDecoding(const QString& FileName, TSPIPxDIB& Image) {
    if (!KeptImage || !(IdentifyFile(FileName) == KeptFile)) return false;
    Image.Assign(KeptImage.get());
    return true;
}

void KeepDecoding(const QString& FileName, const TSPIPxDIB& Image) {
    ClearDecodedImageCache();
    const TFileIdentity File = IdentifyFile(FileName);
    if (!File.Settled()) return;
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
