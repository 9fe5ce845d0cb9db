// The placeable metafile writer: header, object table and record layout.
#include <gtest/gtest.h>

#include <QtEndian>

#include "platform/WmfWriter.h"

using namespace tam32;

namespace {

uint16_t Word(const QByteArray& B, qsizetype Offset) { return qFromLittleEndian<uint16_t>(B.constData() + Offset); }
uint32_t DWord(const QByteArray& B, qsizetype Offset) { return qFromLittleEndian<uint32_t>(B.constData() + Offset); }

struct Rec {
    uint16_t Function;
    QByteArray Params;
};

// The records after both headers, the end record included.
std::vector<Rec> Records(const QByteArray& B) {
    std::vector<Rec> Out;
    for (qsizetype Off = 22 + 18; Off + 6 <= B.size();) {
        const uint32_t Size = DWord(B, Off);
        Out.push_back({Word(B, Off + 4), B.mid(Off + 6, qsizetype(Size) * 2 - 6)});
        if (Size < 3) break;
        Off += qsizetype(Size) * 2;
    }
    return Out;
}

}  // namespace

TEST(WmfWriter, HeadersDescribeTheFile) {
    TWmfWriter W(640, 420);
    W.SetPen(0x0000FF, 1);
    W.Polyline({{0, 0}, {10, 20}, {30, 5}});
    const QByteArray B = W.Bytes();
    EXPECT_EQ(DWord(B, 0), 0x9AC6CDD7u);
    EXPECT_EQ(Word(B, 10), 640);  // right
    EXPECT_EQ(Word(B, 12), 420);  // bottom
    EXPECT_EQ(Word(B, 14), 96);   // units per inch
    uint16_t Check = 0;
    for (int I = 0; I < 10; ++I) Check ^= Word(B, I * 2);
    EXPECT_EQ(Word(B, 20), Check);
    EXPECT_EQ(Word(B, 22), 1);       // memory metafile
    EXPECT_EQ(Word(B, 24), 9);       // header words
    EXPECT_EQ(Word(B, 26), 0x0300);  // version
    EXPECT_EQ(DWord(B, 28) * 2, uint32_t(B.size() - 22));
    EXPECT_EQ(Word(B, 32), 1);  // one object slot
    const auto R = Records(B);
    uint32_t Largest = 0;
    for (const Rec& Each : R) Largest = std::max<uint32_t>(Largest, 3 + uint32_t(Each.Params.size() / 2));
    EXPECT_EQ(DWord(B, 34), Largest);
    ASSERT_FALSE(R.empty());
    EXPECT_EQ(R.back().Function, 0);
    EXPECT_EQ(R.back().Params.size(), 0);
}

TEST(WmfWriter, ReplacedObjectsFreeTheirSlots) {
    TWmfWriter W(10, 10);
    W.SetPen(clBlack, 1);
    W.SetBrush(clWhite);
    W.SetPen(0xFF, 2);  // takes slot 2, frees slot 0
    W.SetPen(0xFF00, 3);  // takes slot 0 again
    std::vector<std::pair<uint16_t, uint16_t>> Selections;
    for (const Rec& R : Records(W.Bytes()))
        if (R.Function == 0x012D || R.Function == 0x01F0) Selections.push_back({R.Function, Word(R.Params, 0)});
    const std::vector<std::pair<uint16_t, uint16_t>> Expected = {
        {0x012D, 0}, {0x012D, 1}, {0x012D, 2}, {0x01F0, 0}, {0x012D, 0}, {0x01F0, 2}};
    EXPECT_EQ(Selections, Expected);
    EXPECT_EQ(Word(W.Bytes(), 32), 3);
}

TEST(WmfWriter, LinePointsAreClippedToSixteenBits) {
    TWmfWriter W(10, 10);
    W.Line(-40000, 5, 40000, -7);
    W.Polyline({{1, 1}});  // a single point draws nothing
    std::vector<Rec> Lines;
    for (const Rec& R : Records(W.Bytes()))
        if (R.Function == 0x0325) Lines.push_back(R);
    ASSERT_EQ(Lines.size(), 1u);
    EXPECT_EQ(Word(Lines[0].Params, 0), 2);
    EXPECT_EQ(int16_t(Word(Lines[0].Params, 2)), -32768);
    EXPECT_EQ(int16_t(Word(Lines[0].Params, 4)), 5);
    EXPECT_EQ(int16_t(Word(Lines[0].Params, 6)), 32767);
    EXPECT_EQ(int16_t(Word(Lines[0].Params, 8)), -7);
}

TEST(WmfWriter, TextGoesOutInTheCodePageOfItsFont) {
    TWmfWriter W(100, 100);
    W.SetFont("Sans", 12, false);
    W.TextOut(3, 4, "abc");
    W.SetFont("ゴシック", 12, true, 900);
    W.TextOut(5, 6, "時間");
    std::vector<Rec> Texts, Fonts;
    for (const Rec& R : Records(W.Bytes())) {
        if (R.Function == 0x0521) Texts.push_back(R);
        if (R.Function == 0x02FB) Fonts.push_back(R);
    }
    ASSERT_EQ(Texts.size(), 2u);
    EXPECT_EQ(Word(Texts[0].Params, 0), 3);
    EXPECT_EQ(Texts[0].Params.mid(2, 3), "abc");
    EXPECT_EQ(Texts[0].Params.at(5), '\0');  // padded to whole words
    EXPECT_EQ(Word(Texts[0].Params, 6), 4);   // y, then x
    EXPECT_EQ(Word(Texts[0].Params, 8), 3);
    EXPECT_EQ(Texts[1].Params.mid(2, 4), QByteArray("\x8E\x9E\x8A\xD4"));
    ASSERT_EQ(Fonts.size(), 2u);
    EXPECT_EQ(int16_t(Word(Fonts[0].Params, 0)), -12);
    EXPECT_EQ(uint8_t(Fonts[0].Params.at(13)), 0);    // ANSI
    EXPECT_EQ(uint8_t(Fonts[1].Params.at(13)), 128);  // Japanese
    EXPECT_EQ(Word(Fonts[1].Params, 4), 900);
    EXPECT_EQ(Word(Fonts[1].Params, 8), 700);
}
