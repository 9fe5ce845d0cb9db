#pragma once
// Reading and writing the pictures that image windows show.
#include <QString>
#include <memory>

#include "platform/Bitmap.h"

namespace tam32 {

// Reads FileName as the analyses read it (a ".bmp" through the image model
// first, any other file through the plug-ins first) and returns it as a
// 24-bit bitmap. EPictureUnreadable for an extension that the picture-format
// registry does not know and for a file that no reader decodes.
std::unique_ptr<TBitmap> LoadPictureAsBitmap(const QString& FileName);

// The open dialog's filter: every registered format together, then each one.
QString PictureOpenFilter();

// Baseline colour JPEG at quality 90, put in place whole (EFCreateError when
// it cannot be written).
void SaveBitmapAsJpeg(const TBitmap& Bitmap, const QString& FileName);

}  // namespace tam32
