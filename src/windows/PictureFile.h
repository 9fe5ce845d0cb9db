#pragma once
// The open dialog's formats and the JPEG writer of the pictures that image
// windows show (reading them: import/ShownPicture.h).
#include <QString>

#include "platform/Bitmap.h"

namespace tam32 {

// The open dialog's filter: every registered format together, then each one.
QString PictureOpenFilter();

// Baseline colour JPEG at quality 90, put in place whole (EFCreateError when
// it cannot be written).
void SaveBitmapAsJpeg(const TBitmap& Bitmap, const QString& FileName);

}  // namespace tam32
