#pragma once
// Reading and writing the pictures that image windows show.
#include <QString>
#include <memory>

#include "platform/Bitmap.h"

namespace tam32 {

// Reads FileName through the picture-format registry (class by extension,
// latest registration first) and returns it as a 24-bit bitmap, whatever the
// class. EInvalidGraphic for an extension that nothing reads; the reader's
// error for a bad file.
std::unique_ptr<TBitmap> LoadPictureAsBitmap(const QString& FileName);

// The open dialog's filter: every registered format together, then each one.
QString PictureOpenFilter();

// Baseline colour JPEG at quality 90, put in place whole (EFCreateError when
// it cannot be written).
void SaveBitmapAsJpeg(const TBitmap& Bitmap, const QString& FileName);

}  // namespace tam32
