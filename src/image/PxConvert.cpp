#include "image/PxConvert.h"

namespace tam32 {

void Convert8BitRLETo8BitRGB(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping) { throw EPxDIBError(QStringLiteral("Convert8BitRLETo8BitRGB: not built yet")); }

void Convert4BitRLETo4BitRGB(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping) { throw EPxDIBError(QStringLiteral("Convert4BitRLETo4BitRGB: not built yet")); }

void Convert8BitRGBTo8BitRLE(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping) { throw EPxDIBError(QStringLiteral("Convert8BitRGBTo8BitRLE: not built yet")); }

void Convert4BitRGBTo4BitRLE(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping) { throw EPxDIBError(QStringLiteral("Convert4BitRGBTo4BitRLE: not built yet")); }

void Convert1BitRGBTo4BitRGB(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping) { throw EPxDIBError(QStringLiteral("Convert1BitRGBTo4BitRGB: not built yet")); }

void Convert1BitRGBTo8BitRGB(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping) { throw EPxDIBError(QStringLiteral("Convert1BitRGBTo8BitRGB: not built yet")); }

void Convert4BitRGBTo8BitRGB(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping) { throw EPxDIBError(QStringLiteral("Convert4BitRGBTo8BitRGB: not built yet")); }

void Convert1BitRGBToTrueColor(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping) { throw EPxDIBError(QStringLiteral("Convert1BitRGBToTrueColor: not built yet")); }

void Convert4BitRGBToTrueColor(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping) { throw EPxDIBError(QStringLiteral("Convert4BitRGBToTrueColor: not built yet")); }

void Convert8BitRGBToTrueColor(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping) { throw EPxDIBError(QStringLiteral("Convert8BitRGBToTrueColor: not built yet")); }

void NoConversion() {}

}  // namespace tam32
