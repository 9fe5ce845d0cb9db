#pragma once
// The objects' numbers of the labelling on the window picture: "No.n" with
// its top left corner at the object's centre, over a cell of the brush, and
// a small circle there, pixel for pixel as the picture's canvas writes and
// draws them with a black one-pixel copying pen, a white solid brush and its
// font. Ten thousand objects would each cost the canvas a text layout and two
// painters; here the circle and the glyphs of "No." and of the ten digits are
// drawn once by Qt as stamps and then copied. A font whose glyphs do not sit
// at whole pixels one after another, each pair as the pair is drawn, is left
// to the canvas itself.
#include <QString>
#include <cstdint>
#include <future>
#include <memory>
#include <vector>

#include "platform/WinTypes.h"

namespace tam32 {

class TBitmap;

class TLabelNumbers {
public:
    // Image: 24 bits per pixel. With another pen, brush or font colour at
    // the first number the canvas itself draws. The glyphs of a font not yet
    // used are drawn on a thread of their own from here on.
    explicit TLabelNumbers(TBitmap& Image);
    // Tells the picture once that it changed, as each drawing would have;
    // waits for glyphs still being drawn.
    ~TLabelNumbers();
    TLabelNumbers(const TLabelNumbers&) = delete;
    TLabelNumbers& operator=(const TLabelNumbers&) = delete;

    void Draw(TPoint Centre, int Number);

    struct TStamps;

private:
    void ChooseStamps();

    TBitmap& FImage;
    QString FFontKey;  // empty: no fonts without the GUI application
    std::future<std::shared_ptr<TStamps>> FMaking;
    bool FChosen = false;
    std::shared_ptr<TStamps> FStamps;  // null: the canvas draws
    std::vector<uint8_t*> FRows;       // of the picture, when stamped
    std::vector<TPoint> FInk;          // of the number being drawn
    bool FDrawn = false;
    TPoint FPenPos;
};

}  // namespace tam32
