#pragma once
// A picture's pixels as a QImage. Qt hands back a null image when their
// memory cannot be had, and writing to it crashes; these raise EOutOfMemory
// instead, before anything was changed.
#include <QImage>

namespace tam32 {

QImage NewPictureImage(int Width, int Height, QImage::Format Format);
QImage ConvertedPictureImage(const QImage& Image, QImage::Format Format,
                             Qt::ImageConversionFlags Flags = Qt::AutoColor);

// For tests: the Count-th picture image made from now on (1: the next one)
// finds no memory; 0 lets every one have it.
void FailPictureImage(int Count);

}  // namespace tam32
