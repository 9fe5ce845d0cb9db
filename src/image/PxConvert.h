#pragma once
// Pixel-format conversions between stored formats: run-length decoding and
// encoding, widening and expansion to true colour. Each reads Source, leaves
// it as it was and fills Dest with a new pixel block.
#include "image/PxDIBTypes.h"

namespace tam32 {

void Convert8BitRLETo8BitRGB(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping);
void Convert4BitRLETo4BitRGB(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping);
void Convert8BitRGBTo8BitRLE(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping);
void Convert4BitRGBTo4BitRLE(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping);
void Convert1BitRGBTo4BitRGB(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping);
void Convert1BitRGBTo8BitRGB(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping);
void Convert4BitRGBTo8BitRGB(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping);
void Convert1BitRGBToTrueColor(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping);
void Convert4BitRGBToTrueColor(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping);
void Convert8BitRGBToTrueColor(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping);
void NoConversion();

}  // namespace tam32
