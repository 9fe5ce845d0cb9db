#pragma once
// The brightness change of a 24-bit picture: each channel's bytes v become
// Round((v / 255) ^ (1 / g) × 255) with that channel's factor g.
namespace tam32 {

class TBitmap;

// Factors of 1 leave the picture as it is; a zero factor changes nothing.
void ApplyLightLevel(TBitmap& Picture, float Red, float Green, float Blue);

}  // namespace tam32
