#include "import/ShownPicture.h"

#include <QFileInfo>

#include "import/SPIPxDIB.h"
#include "import/UnreadablePicture.h"
#include "platform/PictureFormats.h"

namespace tam32 {

std::unique_ptr<TBitmap> LoadPictureAsBitmap(const QString& FileName) {
    if (PictureFormats::FindFileFormat(QFileInfo(FileName).suffix()) == nullptr)
        throw EPictureUnreadable(FileName, TPictureFault::NotAPicture);
    TSPIPxDIB picture;
    picture.LoadFromFile(FileName);
    picture.SetPixelFormat(pxPf24Bit);
    auto bitmap = std::make_unique<TBitmap>();
    // A large picture is held once: the bitmap takes the decoded block.
    const QImage pixels = picture.ReleaseAsImage(true);
    if (pixels.isNull())
        bitmap->Assign(&picture);
    else
        bitmap->SetImage(pixels);
    bitmap->SetPixelFormat(TPixelFormat::pf24bit);
    return bitmap;
}

}  // namespace tam32
