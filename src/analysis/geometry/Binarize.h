#pragma once
namespace tam32 {

// Replaces the analysis image by its target mask, white where the target
// survives a 5 x 5 shrink (the image border counts as target) and black
// elsewhere, and forces the settings that find exactly that white (red "="
// 255, Fixed). True when the classification cannot be prepared.
bool BinarizeAnalysisImage();

}  // namespace tam32
