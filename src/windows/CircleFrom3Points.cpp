#include "windows/CircleFrom3Points.h"

#include <cmath>

namespace tam32 {
namespace {

// Nearest integer, an exact half to the even neighbour; nothing beyond Limit.
std::optional<int> RoundWithin(double V, double Limit) {
    if (!(std::fabs(V) <= Limit)) return std::nullopt;
    return static_cast<int>(std::nearbyint(V));
}

}  // namespace

std::optional<int> CircleFrom3Points(std::array<TPoint, 4>& Points) {
    const double x1 = Points[0].X, y1 = Points[0].Y;
    const double x2 = Points[1].X, y2 = Points[1].Y;
    const double x3 = Points[2].X, y3 = Points[2].Y;
    const double a = ((x1 * x1 - x3 * x3) + (y1 * y1 - y3 * y3)) / 2;
    const double b = ((x1 * x1 - x2 * x2) + (y1 * y1 - y2 * y2)) / 2;
    const double d = (x1 - x3) * (y1 - y2) - (x1 - x2) * (y1 - y3);
    if (d == 0) return std::nullopt;
    // Far beyond any photograph (a million pixels), so drawing the circle
    // and the analyses' arithmetic on it stay within their ranges.
    constexpr double kLimit = 1 << 20;
    const std::optional<int> cx = RoundWithin((a * (y1 - y2) - b * (y1 - y3)) / d, kLimit);
    const std::optional<int> cy = RoundWithin((b * (x1 - x3) - a * (x1 - x2)) / d, kLimit);
    if (!cx || !cy) return std::nullopt;
    const double dx = *cx - x1;
    const double dy = *cy - y1;
    const std::optional<int> radius = RoundWithin(std::sqrt(dx * dx + dy * dy) + 0.5, kLimit);
    if (!radius) return std::nullopt;
    Points[3] = {*cx, *cy};
    return radius;
}

}  // namespace tam32
