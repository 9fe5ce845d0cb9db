#pragma once
// The last decoded analysis image of a file, kept so that the next analysis
// of the same unchanged file (same path, file, size and change times) shares
// its pixels instead of decoding the file again. A file changed in the last
// two seconds is not kept: a change within the same tick of the file
// system's clock could not be told apart. The pixels are copied on
// the first change, so an analysis that alters its image leaves the kept one
// as decoded.
#include <QString>

namespace tam32 {

class TSPIPxDIB;

// True, with Image sharing the kept pixels, when FileName is the kept file unchanged.
bool TakeCachedDecoding(const QString& FileName, TSPIPxDIB& Image);
// Keeps Image (24-bit, as the analysis uses it) as the decoding of FileName.
void KeepDecoding(const QString& FileName, const TSPIPxDIB& Image);
// Forgets the kept image and frees its pixels.
void ClearDecodedImageCache();

}  // namespace tam32
