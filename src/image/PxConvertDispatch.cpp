#include "image/PxInternalDIB.h"

namespace tam32 {

void TPxInternalDIB::ConvertPixelFormat(TPxPixelFormat, TPxConvertMode, TPxProgressCallback, void*, TColor) {
    throw EPxDIBError(QStringLiteral("ConvertPixelFormat: not built yet"));
}

}  // namespace tam32
