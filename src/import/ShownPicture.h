#pragma once
// The picture an image window shows, read from its file as every analysis
// reads it, so that the window shows exactly what is analysed.
#include <QString>
#include <memory>

#include "platform/Bitmap.h"

namespace tam32 {

// Reads FileName as the analyses read it (a ".bmp" through the image model
// first, any other file through the plug-ins first) and returns it as a
// 24-bit bitmap holding the decoded pixels themselves. EPictureUnreadable for
// an extension that the picture-format registry does not know and for a file
// that no reader decodes.
std::unique_ptr<TBitmap> LoadPictureAsBitmap(const QString& FileName);

}  // namespace tam32
