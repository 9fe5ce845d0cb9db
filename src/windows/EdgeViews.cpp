#include "windows/EdgeViews.h"

#include <algorithm>

#include "platform/Canvas.h"

namespace tam32 {

void DrawEdgeViews(TBitmap& Strip, TBitmap& Picture, int CentreX, int CentreY, int Radius) {
    const int s = Strip.Height() - 1;
    if (s < 0) return;
    const int h = (s + 1) / 2;
    const int w = Picture.Width();
    const int hh = Picture.Height();
    TCanvas& strip = Strip.Canvas();
    TCanvas& picture = Picture.Canvas();
    strip.CopyMode = cmSrcCopy;
    // Tile k occupies (k(s + 1), 0)-(k(s + 1) + s, s); the source squares have side s.
    const auto copy = [&](int Tile, int Left, int Top) {
        const int x = Tile * (s + 1);
        strip.CopyRect(TRect{x, 0, x + s, s}, picture, TRect{Left, Top, Left + s, Top + s});
    };
    copy(0, CentreX - h, std::max(0, CentreY - Radius - h));
    const int bottom = std::min(hh - 1, CentreY + Radius + h);
    copy(1, CentreX - h, bottom - s);
    copy(2, std::max(0, CentreX - Radius - h), CentreY - h);
    const int right = std::min(w - 1, CentreX + Radius + h);
    copy(3, right - s, CentreY - h);
}

}  // namespace tam32
