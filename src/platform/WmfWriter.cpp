#include "platform/WmfWriter.h"

#include <algorithm>
#include <iconv.h>

#include "platform/FileSave.h"

namespace tam32 {

namespace {

// Record functions of the 16-bit metafile.
constexpr uint16_t META_EOF = 0x0000;
constexpr uint16_t META_SETBKMODE = 0x0102;
constexpr uint16_t META_SETTEXTALIGN = 0x012E;
constexpr uint16_t META_SELECTOBJECT = 0x012D;
constexpr uint16_t META_DELETEOBJECT = 0x01F0;
constexpr uint16_t META_SETTEXTCOLOR = 0x0209;
constexpr uint16_t META_SETWINDOWORG = 0x020B;
constexpr uint16_t META_SETWINDOWEXT = 0x020C;
constexpr uint16_t META_CREATEPENINDIRECT = 0x02FA;
constexpr uint16_t META_CREATEFONTINDIRECT = 0x02FB;
constexpr uint16_t META_CREATEBRUSHINDIRECT = 0x02FC;
constexpr uint16_t META_POLYGON = 0x0324;
constexpr uint16_t META_POLYLINE = 0x0325;
constexpr uint16_t META_TEXTOUT = 0x0521;

constexpr uint16_t PS_SOLID = 0, PS_NULL = 5;
constexpr uint16_t BS_SOLID = 0, BS_NULL = 1;
constexpr uint16_t TRANSPARENT = 1;
constexpr uint16_t TA_BASELINE = 24;
constexpr uint8_t ANSI_CHARSET = 0, SHIFTJIS_CHARSET = 128;

uint16_t Coord(int V) { return static_cast<uint16_t>(static_cast<int16_t>(std::clamp(V, -32768, 32767))); }
uint16_t Low(uint32_t V) { return static_cast<uint16_t>(V & 0xFFFF); }
uint16_t High(uint32_t V) { return static_cast<uint16_t>(V >> 16); }

// Bytes packed little-endian into words, the last one padded with a zero.
void AppendBytes(std::vector<uint16_t>& Words, const QByteArray& Bytes) {
    for (qsizetype I = 0; I < Bytes.size(); I += 2) {
        const uint8_t Lo = static_cast<uint8_t>(Bytes[I]);
        const uint8_t Hi = I + 1 < Bytes.size() ? static_cast<uint8_t>(Bytes[I + 1]) : 0;
        Words.push_back(static_cast<uint16_t>(Lo | (Hi << 8)));
    }
}

// Text outside Latin-1 goes out in the Japanese code page, which is what
// the program's own texts need; a character that has no code there becomes '?'.
QByteArray CodePageText(const QString& Text, bool& Japanese) {
    Japanese = std::any_of(Text.begin(), Text.end(), [](QChar C) { return C.unicode() > 0xFF; });
    if (!Japanese) return Text.toLatin1();
    QByteArray Out;
    iconv_t Cd = iconv_open("CP932", "UTF-8");
    if (Cd == reinterpret_cast<iconv_t>(-1)) return QByteArray(Text.size(), '?');
    for (const QChar C : Text) {
        QByteArray In = QString(C).toUtf8();
        char Buffer[8];
        char* Source = In.data();
        size_t SourceLeft = static_cast<size_t>(In.size());
        char* Target = Buffer;
        size_t TargetLeft = sizeof Buffer;
        if (iconv(Cd, &Source, &SourceLeft, &Target, &TargetLeft) == static_cast<size_t>(-1))
            Out.append('?');
        else
            Out.append(Buffer, Target - Buffer);
    }
    iconv_close(Cd);
    return Out;
}

uint32_t ColorRef(TColor Color) { return static_cast<uint32_t>(Color) & 0xFFFFFF; }

}  // namespace

TWmfWriter::TWmfWriter(int Width, int Height, int UnitsPerInch)
    : FWidth(Width), FHeight(Height), FUnitsPerInch(UnitsPerInch) {
    Record(META_SETWINDOWORG, {0, 0});
    Record(META_SETWINDOWEXT, {Coord(Height), Coord(Width)});
    Record(META_SETBKMODE, {TRANSPARENT});
    Record(META_SETTEXTALIGN, {TA_BASELINE});
}

void TWmfWriter::Record(uint16_t Function, const std::vector<uint16_t>& Params) {
    const uint32_t Size = 3 + static_cast<uint32_t>(Params.size());
    FRecords.push_back(Low(Size));
    FRecords.push_back(High(Size));
    FRecords.push_back(Function);
    FRecords.insert(FRecords.end(), Params.begin(), Params.end());
    FMaxRecord = std::max(FMaxRecord, Size);
}

void TWmfWriter::ReplaceObject(int& Slot, uint16_t Function, const std::vector<uint16_t>& Params) {
    const auto Free = std::find(FSlots.begin(), FSlots.end(), false);
    const int NewSlot = static_cast<int>(Free - FSlots.begin());
    if (Free == FSlots.end())
        FSlots.push_back(true);
    else
        *Free = true;
    Record(Function, Params);
    Record(META_SELECTOBJECT, {static_cast<uint16_t>(NewSlot)});
    if (Slot >= 0) {
        Record(META_DELETEOBJECT, {static_cast<uint16_t>(Slot)});
        FSlots[Slot] = false;
    }
    Slot = NewSlot;
}

void TWmfWriter::SetPen(TColor Color, int Width) {
    const uint32_t Ref = ColorRef(Color);
    ReplaceObject(FPen, META_CREATEPENINDIRECT, {PS_SOLID, Coord(std::max(Width, 1)), 0, Low(Ref), High(Ref)});
}

void TWmfWriter::SetNoPen() { ReplaceObject(FPen, META_CREATEPENINDIRECT, {PS_NULL, 0, 0, 0, 0}); }

void TWmfWriter::SetBrush(TColor Color) {
    const uint32_t Ref = ColorRef(Color);
    ReplaceObject(FBrush, META_CREATEBRUSHINDIRECT, {BS_SOLID, Low(Ref), High(Ref), 0});
}

void TWmfWriter::SetNoBrush() { ReplaceObject(FBrush, META_CREATEBRUSHINDIRECT, {BS_NULL, 0, 0, 0}); }

void TWmfWriter::SetFont(const QString& Face, int Height, bool Bold, int Escapement) {
    bool Japanese = false;
    QByteArray Name = CodePageText(Face, Japanese).left(31);
    Name.append(QByteArray(32 - Name.size(), '\0'));
    // Negative height: the character height without internal leading.
    // The character set (high byte of word 6) follows the face's text.
    const uint16_t CharSet = Japanese ? SHIFTJIS_CHARSET : ANSI_CHARSET;
    std::vector<uint16_t> Params = {Coord(-std::max(Height, 1)), 0, Coord(Escapement), Coord(Escapement),
                                    static_cast<uint16_t>(Bold ? 700 : 400),
                                    0, static_cast<uint16_t>(CharSet << 8), 0, 0};
    AppendBytes(Params, Name);
    ReplaceObject(FFont, META_CREATEFONTINDIRECT, Params);
}

void TWmfWriter::SetTextColor(TColor Color) {
    const uint32_t Ref = ColorRef(Color);
    Record(META_SETTEXTCOLOR, {Low(Ref), High(Ref)});
}

void TWmfWriter::Line(int X1, int Y1, int X2, int Y2) { Polyline({{X1, Y1}, {X2, Y2}}); }

void TWmfWriter::Polyline(const std::vector<TPoint>& Points) {
    if (Points.size() >= 2) PointRecord(META_POLYLINE, Points);
}

void TWmfWriter::Polygon(const std::vector<TPoint>& Points) {
    if (Points.size() >= 3) PointRecord(META_POLYGON, Points);
}

void TWmfWriter::PointRecord(uint16_t Function, const std::vector<TPoint>& Points) {
    // The point count is a 16-bit field.
    const size_t Count = std::min<size_t>(Points.size(), 0xFFFF);
    std::vector<uint16_t> Params = {static_cast<uint16_t>(Count)};
    Params.reserve(1 + 2 * Count);
    for (size_t I = 0; I < Count; ++I) {
        Params.push_back(Coord(Points[I].X));
        Params.push_back(Coord(Points[I].Y));
    }
    Record(Function, Params);
}

void TWmfWriter::TextOut(int X, int Y, const QString& Text) {
    bool Japanese = false;
    const QByteArray Bytes = CodePageText(Text, Japanese).left(0x7FFF);  // the count is a 16-bit field
    if (Bytes.isEmpty()) return;
    std::vector<uint16_t> Params = {static_cast<uint16_t>(Bytes.size())};
    AppendBytes(Params, Bytes);
    Params.push_back(Coord(Y));
    Params.push_back(Coord(X));
    Record(META_TEXTOUT, Params);
}

QByteArray TWmfWriter::Bytes() const {
    std::vector<uint16_t> Words;
    // Placeable header: key, handle, bounding box, units per inch, reserved, checksum.
    Words = {0xCDD7, 0x9AC6, 0, 0, 0, Coord(FWidth), Coord(FHeight), static_cast<uint16_t>(FUnitsPerInch), 0, 0};
    uint16_t Checksum = 0;
    for (uint16_t W : Words) Checksum ^= W;
    Words.push_back(Checksum);
    const uint32_t Size = 9 + static_cast<uint32_t>(FRecords.size()) + 3;  // header, records, end record
    const uint32_t MaxRecord = std::max<uint32_t>(FMaxRecord, 3);
    const std::vector<uint16_t> Header = {1,          9,    0x0300, Low(Size), High(Size), static_cast<uint16_t>(FSlots.size()),
                                          Low(MaxRecord), High(MaxRecord), 0};
    Words.insert(Words.end(), Header.begin(), Header.end());
    Words.insert(Words.end(), FRecords.begin(), FRecords.end());
    Words.insert(Words.end(), {3, 0, META_EOF});

    QByteArray Out;
    Out.reserve(static_cast<qsizetype>(Words.size() * 2));
    for (uint16_t W : Words) {
        Out.append(static_cast<char>(W & 0xFF));
        Out.append(static_cast<char>(W >> 8));
    }
    return Out;
}

void TWmfWriter::SaveToFile(const QString& FileName) const { SaveFileAtomically(FileName, Bytes()); }

}  // namespace tam32
