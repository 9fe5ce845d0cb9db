#pragma once
// The two pieces from which every resampling correction builds its picture
// (distortion, tilt, north-up and slope, control points): the bilinear
// sampler that reads the source at a real position, and the result picture
// into which PutResultPixel writes. Neither calls into the image model per
// pixel (the sampler reads through the shared row access, the result keeps
// its row pointers); both may be used from the analysis threads, each block
// writing its own rows.
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "analysis/core/PictureRows.h"

namespace tam32 {

class TPxDIB;
class TSPIPxDIB;
struct TRowBlock;

// Reads a 24-bit picture at real positions (X column, Y row; pixel centres
// at whole numbers). The picture must stay in place and unchanged while the
// sampler lives.
class TBilinearSampler {
public:
    explicit TBilinearSampler(const TPxDIB& Source);

    // The colour at (X, Y). The cell is found by truncation toward zero, so a
    // position in (-1, 0) extrapolates from pixels 0 and 1 (weights above 1
    // and below 0). Each of the four neighbours adds its value times its
    // weight only when it lies in the picture; the weights are not
    // renormalised, so the border fades toward black. Each channel is
    // Trunc(sum + 0.5) held to 0..255. A position with no neighbour in the
    // picture (also NaN) is black. Always inlined: the loops call it for
    // every pixel, and a call costs as much as the sum.
    [[gnu::always_inline]] void SampleBilinear(int& R, int& G, int& B, double X, double Y) const {
        const int W = FPicture.Width(), H = FPicture.Height();
        if (!(X > -2.0 && X < W && Y > -2.0 && Y < H)) {
            R = G = B = 0;
            return;
        }
        const int Ix = int(X), Iy = int(Y);  // toward zero; in range after the test above
        const double Fx = X - Ix, Fy = Y - Iy;
        const double Weights[4] = {(1.0 - Fx) * (1.0 - Fy), Fx * (1.0 - Fy), (1.0 - Fx) * Fy, Fx * Fy};
        double Sum[3] = {0.0, 0.0, 0.0};  // blue, green, red
        const auto Add = [&](int X1, int Y1, double Weight) {
            const uint8_t* P = FPicture.Row(Y1) + std::size_t(X1) * 3;
            Sum[0] += P[0] * Weight;
            Sum[1] += P[1] * Weight;
            Sum[2] += P[2] * Weight;
        };
        if (Ix >= 0 && Iy >= 0 && Ix + 1 < W && Iy + 1 < H) {
            Add(Ix, Iy, Weights[0]);
            Add(Ix + 1, Iy, Weights[1]);
            Add(Ix, Iy + 1, Weights[2]);
            Add(Ix + 1, Iy + 1, Weights[3]);
        } else {
            const bool Columns[2] = {Ix >= 0 && Ix < W, Ix + 1 >= 0 && Ix + 1 < W};
            const bool Rows[2] = {Iy >= 0 && Iy < H, Iy + 1 >= 0 && Iy + 1 < H};
            for (int J = 0; J < 2; ++J)
                for (int I = 0; I < 2; ++I)
                    if (Rows[J] && Columns[I]) Add(Ix + I, Iy + J, Weights[J * 2 + I]);
        }
        B = Channel(Sum[0]);
        G = Channel(Sum[1]);
        R = Channel(Sum[2]);
    }

    int Width() const { return FPicture.Width(); }
    int Height() const { return FPicture.Height(); }

private:
    static int Channel(double Sum) {
        const double V = Sum + 0.5;
        return V < 1.0 ? 0 : (V >= 255.0 ? 255 : int(V));
    }

    TPictureRows FPicture;
};

// The new 24-bit picture of a resampling correction, black until written.
class TResultPicture {
public:
    // Which row PutResultPixel's Y addresses: Y itself, or Height - 1 - Y
    // (the control-point correction counts its rows upward).
    enum class TRows { TopDown, BottomUp };

    // EPxDIBInvalidDIBPara for a size that the image model refuses.
    TResultPicture(int Width, int Height, TRows Rows = TRows::TopDown);
    ~TResultPicture();
    TResultPicture(const TResultPicture&) = delete;
    TResultPicture& operator=(const TResultPicture&) = delete;

    // R, G, B (0..255) at column X of row Y; X and Y must lie in the picture.
    void PutResultPixel(int X, int Y, int R, int G, int B) {
        uint8_t* P = FRows[std::size_t(Y)] + std::size_t(X) * 3;
        P[0] = uint8_t(B);
        P[1] = uint8_t(G);
        P[2] = uint8_t(R);
    }

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    TSPIPxDIB& Picture() { return *FPicture; }
    // Hands the picture over; the result picture is spent.
    std::unique_ptr<TSPIPxDIB> Take();

private:
    int FWidth, FHeight;
    std::unique_ptr<TSPIPxDIB> FPicture;
    std::vector<uint8_t*> FRows;  // as PutResultPixel counts them
};

// Work(Block) for the blocks of rows 0..Rows - 1 of a result picture on the
// analysis threads (see ForEachRowBlock), from clean vector state, with the
// row counter of TRowProgress shown for every row, in order, as its block is
// taken back.
void ForEachResultRowBlock(int Rows, const std::function<void(const TRowBlock&)>& Work);

// Writes a corrected picture to FileName as a BMP file, through a temporary
// file put in place whole. True, after showing why, when it was not written.
bool SaveCorrectedPicture(TPxDIB& Picture, const QString& FileName);

}  // namespace tam32
