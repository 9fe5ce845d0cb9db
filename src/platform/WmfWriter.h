#pragma once
// A writer of placeable Windows metafiles (the "Aldus" header followed by a
// 16-bit metafile): lines, polylines, filled polygons and text in logical
// units, enough for charts that other Windows programs open. Coordinates are
// clipped to the 16-bit range the format allows.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

#include "platform/WinTypes.h"

namespace tam32 {

class TWmfWriter {
public:
    // A picture of Width x Height logical units, UnitsPerInch of them to the inch.
    TWmfWriter(int Width, int Height, int UnitsPerInch = 96);

    void SetPen(TColor Color, int Width);
    void SetNoPen();
    void SetBrush(TColor Color);
    void SetNoBrush();
    // Height: character height in logical units; Escapement: the text's
    // direction in tenths of a degree counter-clockwise from the x axis.
    void SetFont(const QString& Face, int Height, bool Bold, int Escapement = 0);
    void SetTextColor(TColor Color);

    void Line(int X1, int Y1, int X2, int Y2);
    void Polyline(const std::vector<TPoint>& Points);
    void Polygon(const std::vector<TPoint>& Points);
    // Text whose baseline starts at X, Y.
    void TextOut(int X, int Y, const QString& Text);

    // The complete file, closed by the end record.
    QByteArray Bytes() const;
    // Through SaveFileAtomically: EFileSaveError when it cannot be written.
    void SaveToFile(const QString& FileName) const;

private:
    void Record(uint16_t Function, const std::vector<uint16_t>& Params);
    void PointRecord(uint16_t Function, const std::vector<TPoint>& Points);
    // Creates an object in the lowest free slot, selects it and frees the slot
    // of the object it replaces.
    void ReplaceObject(int& Slot, uint16_t Function, const std::vector<uint16_t>& Params);

    int FWidth, FHeight, FUnitsPerInch;
    std::vector<uint16_t> FRecords;  // the records, in 16-bit words
    uint32_t FMaxRecord = 0;
    std::vector<bool> FSlots;        // object table: slot in use
    int FPen = -1, FBrush = -1, FFont = -1;
};

}  // namespace tam32
