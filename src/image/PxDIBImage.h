#pragma once
// Top-down QImage copies of a stored image, for drawing through Qt and for
// handing pictures to the platform bitmap. Stored rows may be bottom-up and
// Qt cannot address those in place.
#include <QImage>

#include "image/PxDIBTypes.h"

namespace tam32 {

// 24 bits -> Format_BGR888; 8 and 4 bits -> Format_Indexed8 with the whole
// 256-entry colour table; 1 bit -> Format_Mono with two entries. RLE data
// is decoded first.
QImage PxDIBToQImage(const TPxDIBInfos& Infos);

// The first Count colour-table entries as Qt colours.
QList<QRgb> PxDIBColorTable(const TPxDIBInfos& Infos, int Count);

// One row of 4-bit pixels (the left pixel in a byte's high nibble) to one
// byte per pixel, and back; packing keeps the spare nibble of an odd width.
void UnpackNibbleRow(const uint8_t* In, uchar* Out, int Width);
void PackNibbleRow(const uchar* In, uint8_t* Out, int Width);

// A new bottom-up image of BitCount (1, 4, 8 or 24) bits from a picture:
// palette pictures keep their indices and colour table, everything else
// becomes blue, green, red. Infos receives a new pixel block.
void PxDIBFromQImage(const QImage& Image, int BitCount, TPxDIBInfos& Infos, bool UseFileMapping);

}  // namespace tam32
