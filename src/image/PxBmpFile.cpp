#include "image/PxInternalDIB.h"

namespace tam32 {

void TPxInternalDIB::LoadFromStream(TStream&) { throw EPxDIBError(QStringLiteral("not built yet")); }
void TPxInternalDIB::SaveToStream(TStream&) const { throw EPxDIBError(QStringLiteral("not built yet")); }
void TPxInternalDIB::LoadFromClipboardFormat(HGLOBAL) { throw EPxDIBError(QStringLiteral("not built yet")); }
void TPxInternalDIB::SaveToClipboardFormat(HGLOBAL&) const { throw EPxDIBError(QStringLiteral("not built yet")); }
void TPxInternalDIB::CreateTrueColorPalette(TPxConvertMode, TPxProgressCallback, void*) { throw EPxDIBError(QStringLiteral("not built yet")); }
void ConvertCoreHeader(TPxDIBInfos&) {}
int GetMaskShift(uint32_t) { return 0; }

}  // namespace tam32
