#pragma once
#include <QString>

namespace tam32 {

// Finds the bright image circle of a hemispherical photograph from the
// widest bright row and the tallest bright column of the red channel, and
// sets CircleX, CircleY, CircleR, CircleCenterOffset and CircleSet. True,
// with the circle settings untouched, when the image cannot be opened or
// shows no plausible circle.
bool DetectCircleArea(const QString& FileName);

}  // namespace tam32
