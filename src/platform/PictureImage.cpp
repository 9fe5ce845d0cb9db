#include "platform/PictureImage.h"

#include "platform/Exceptions.h"

namespace tam32 {
namespace {

int ImagesBeforeFailure = 0;

// Image, or EOutOfMemory when it is null though Wanted was not, or when a test asked for a failure.
QImage Checked(QImage Image, bool Wanted) {
    if (ImagesBeforeFailure > 0 && --ImagesBeforeFailure == 0) Image = QImage();
    if (Image.isNull() && Wanted) throw EOutOfMemory(QStringLiteral("Out of memory for a picture"));
    return Image;
}

}  // namespace

QImage NewPictureImage(int Width, int Height, QImage::Format Format) {
    return Checked(QImage(Width, Height, Format), Width > 0 && Height > 0);
}

QImage ConvertedPictureImage(const QImage& Image, QImage::Format Format, Qt::ImageConversionFlags Flags) {
    return Checked(Image.convertToFormat(Format, Flags), !Image.isNull());
}

void FailPictureImage(int Count) { ImagesBeforeFailure = Count; }

}  // namespace tam32
