#pragma once
// A picture read along circles round one centre, a row of samples for each
// circle: the rows of the basal-area panorama. Column I of a row lies in the
// direction I·Step, counter-clockwise from +x with rows counted downward,
// and is read exactly as TBilinearSampler reads that position.
//
// Along a circle the pixels of neighbouring columns lie rows apart, so the
// processor waits on memory at nearly every sample unless the pixels are
// fetched ahead; and the bilinear sum is most of the remaining work. On
// processors with AVX2 four columns are therefore summed at once, each in a
// lane of its own with the same operations in the same order as the single
// sample, while the pixels of the columns a little further on are fetched.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "analysis/core/Resampling.h"

namespace tam32 {

class TCircleSampler {
public:
    // Columns directions round (CentreX, CentreY) of Source, a 24-bit
    // picture, which must stay in place and unchanged meanwhile.
    TCircleSampler(const TPxDIB& Source, double CentreX, double CentreY, int Columns, double Step);

    // Row := the blue-green-red pixels of the circle of Radius, column by
    // column. Rows may be taken on several threads at once.
    void SampleRow(double Radius, uint8_t* Row) const;

private:
    TBilinearSampler FSource;
    TPictureRows FPicture;
    double FCentreX, FCentreY;
    int FColumns;
    // Of every column, and of the columns past the last whose pixels the
    // fetching ahead asks for.
    std::vector<double> FCos, FSin;
    // AVX2 is there, and every pixel's place in the picture fits 32 bits.
    bool FFourAtOnce = false;
};

}  // namespace tam32
