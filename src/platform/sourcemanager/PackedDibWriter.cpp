#include "platform/sourcemanager/PackedDibWriter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/WinTypes.h"

namespace tam32::sourcemanager {

namespace {

constexpr uint64_t kGreyTableBytes = 256 * sizeof(RGBQUAD);

int SamplesPerPixel(SANE_Frame Format) { return Format == SANE_FRAME_RGB ? 3 : 1; }

// The frame holding each of red, green and blue: the same one for an RGB
// or grey frame.
struct Channels {
    const SaneFrame* Of[3] = {nullptr, nullptr, nullptr};
    bool Grey = false;
};

// False when the frames are not one picture.
bool ChannelsOf(const std::vector<SaneFrame>& Frames, Channels& C) {
    if (Frames.size() == 1) {
        const SANE_Frame format = Frames[0].Parameters.format;
        if (format != SANE_FRAME_GRAY && format != SANE_FRAME_RGB) return false;
        C.Of[0] = C.Of[1] = C.Of[2] = &Frames[0];
        C.Grey = format == SANE_FRAME_GRAY;
        return true;
    }
    if (Frames.size() != 3) return false;
    for (const SaneFrame& frame : Frames) {
        const int colour = frame.Parameters.format - SANE_FRAME_RED;
        if (colour < 0 || colour > 2 || C.Of[colour] != nullptr) return false;
        C.Of[colour] = &frame;
    }
    return true;
}

// Whole rows, or -1 when the frame's layout is not one we read.
int64_t RowsOf(const SaneFrame& Frame, int32_t Width) {
    const SANE_Parameters& p = Frame.Parameters;
    if (p.depth != 1 && p.depth != 8 && p.depth != 16) return -1;
    if (p.pixels_per_line != Width || p.bytes_per_line <= 0) return -1;
    const uint64_t needed = (uint64_t(Width) * SamplesPerPixel(p.format) * uint64_t(p.depth) + 7) / 8;
    if (uint64_t(p.bytes_per_line) < needed) return -1;
    return int64_t(Frame.Bytes.size() / uint64_t(p.bytes_per_line));
}

// Sample Index of a row (counted in samples, channels interleaved) as 0..255.
uint8_t SampleAt(const uint8_t* Row, uint64_t Index, int Depth) {
    switch (Depth) {
        case 8: return Row[Index];
        case 16: {
            uint16_t value;  // SANE sends the host's byte order
            std::memcpy(&value, Row + 2 * Index, sizeof value);
            return uint8_t(value >> 8);
        }
        default: return (Row[Index >> 3] >> (7 - (Index & 7))) & 1 ? 255 : 0;
    }
}

int32_t PelsPerMetre(double Dpi) {
    const double value = std::nearbyint(Dpi / 0.0254);
    return value > 0 && value < std::numeric_limits<int32_t>::max() ? int32_t(value) : 0;
}

}  // namespace

bool PlanPackedDib(const std::vector<SaneFrame>& Frames, DibPlan& Plan) {
    Channels c;
    if (!ChannelsOf(Frames, c)) return false;
    const SANE_Int width = c.Of[0]->Parameters.pixels_per_line;
    if (width <= 0) return false;
    int64_t rows = std::numeric_limits<int64_t>::max();
    for (const SaneFrame& frame : Frames) {
        const int64_t frameRows = RowsOf(frame, width);
        if (frameRows < 0) return false;
        rows = std::min(rows, frameRows);
    }
    if (rows <= 0 || rows > std::numeric_limits<int32_t>::max()) return false;
    const uint16_t bits = c.Grey ? 8 : 24;
    const uint64_t stride = (uint64_t(width) * bits + 31) / 32 * 4;
    const unsigned __int128 pixels = (unsigned __int128)stride * uint64_t(rows);
    if (pixels > std::numeric_limits<uint32_t>::max()) return false;  // biSizeImage must hold it
    Plan.Width = width;
    Plan.Height = int32_t(rows);
    Plan.BitCount = bits;
    Plan.Stride = stride;
    Plan.Size = sizeof(BITMAPINFOHEADER) + (c.Grey ? kGreyTableBytes : 0) + uint64_t(pixels);
    return true;
}

void WritePackedDib(const std::vector<SaneFrame>& Frames, const DibPlan& Plan, double XDpi, double YDpi,
                    uint8_t* Out) {
    Channels c;
    ChannelsOf(Frames, c);
    const BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER),
                                  Plan.Width,
                                  Plan.Height,
                                  1,
                                  Plan.BitCount,
                                  BI_RGB,
                                  uint32_t(Plan.Stride * uint64_t(Plan.Height)),
                                  PelsPerMetre(XDpi),
                                  PelsPerMetre(YDpi),
                                  c.Grey ? 256u : 0u,
                                  0};
    std::memcpy(Out, &header, sizeof header);
    uint8_t* bits = Out + sizeof header;
    if (c.Grey) {
        for (int i = 0; i < 256; ++i) {
            const RGBQUAD entry{uint8_t(i), uint8_t(i), uint8_t(i), 0};
            std::memcpy(bits, &entry, sizeof entry);
            bits += sizeof entry;
        }
    }
    const bool lineart = c.Grey && c.Of[0]->Parameters.depth == 1;  // a set bit is black there
    for (int32_t y = 0; y < Plan.Height; ++y) {
        uint8_t* row = bits + uint64_t(Plan.Height - 1 - y) * Plan.Stride;  // bottom-up
        std::memset(row, 0, Plan.Stride);
        if (c.Grey) {
            const SANE_Parameters& p = c.Of[0]->Parameters;
            const uint8_t* source = c.Of[0]->Bytes.data() + uint64_t(y) * uint64_t(p.bytes_per_line);
            for (int32_t x = 0; x < Plan.Width; ++x) {
                const uint8_t value = SampleAt(source, uint64_t(x), p.depth);
                row[x] = lineart ? uint8_t(255 - value) : value;
            }
            continue;
        }
        for (int colour = 0; colour < 3; ++colour) {
            const SANE_Parameters& p = c.Of[colour]->Parameters;
            const uint8_t* source = c.Of[colour]->Bytes.data() + uint64_t(y) * uint64_t(p.bytes_per_line);
            const bool interleaved = p.format == SANE_FRAME_RGB;
            for (int32_t x = 0; x < Plan.Width; ++x) {
                const uint64_t index = interleaved ? uint64_t(x) * 3 + uint64_t(colour) : uint64_t(x);
                row[uint64_t(x) * 3 + uint64_t(2 - colour)] = SampleAt(source, index, p.depth);  // B, G, R
            }
        }
    }
}

}  // namespace tam32::sourcemanager
