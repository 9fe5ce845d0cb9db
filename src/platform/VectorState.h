#pragma once
// Clears the upper halves of the vector registers. Library code that uses
// 256-bit instructions and returns without clearing them (Qt's image writers
// do) leaves every later SSE instruction paying a state-transition penalty:
// sines and cosines then run about thirteen times slower. Long numeric
// loops call this before they start.
namespace tam32 {

void ClearUpperVectorState();

}  // namespace tam32
