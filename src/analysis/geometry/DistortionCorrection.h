#pragma once
// Removes a lens's radial distortion with one parameter, DistortParameter
// (P). With the picture's centre c, the squared distance D2 of a corner
// pixel from it, q = P / 300 and k = q / D2, the output pixel p reads the
// source at (p - c)·f + c with f = (1 - |p - c|²·k) / s. In full-image mode
// (CLDFullImage) s = 1 - q, so the four corners stay where they are; with
// blanks removed s = 1 - q·m²/D2 (m the smaller half-size), so the middles
// of the two nearer edges stay. The corrected picture goes to a new file, to
// the image window, or (DistortAuto) into every analysis.
#include <QString>

namespace tam32 {

class TBitmap;

// AnalysisImage := the corrected picture of the file (24 bits, the source's
// size); the caller frees it. True on failure, with no image loaded: |P|
// below 0.1 (nothing is loaded), a file that does not load (its loader's
// message), a 1 x 1 picture, or a parameter that leaves s <= 0 (beyond what
// the options dialog offers). Shows "MSG9", the row count, then "MSG10".
bool MakeDistortionCorrectedImage(const QString& FileName);
// Writes the corrected picture of SrcName to DstName (a 24-bit BMP file);
// True when nothing was written.
bool MakeCLDFile(const QString& SrcName, const QString& DstName);
// The corrected picture of FileName replaces Image; True (Image unchanged)
// on failure.
bool ViewCLDImage(const QString& FileName, TBitmap& Image);

}  // namespace tam32
