#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "platform/DelphiFormat.h"
#include "platform/Exceptions.h"
#include "qstring_printer.h"

using namespace tam32;

namespace {

// The message of the EConvertError that Format raises, or "" when it does not.
QString FormatError(const QString& Fmt, std::initializer_list<FormatArg> Args) {
    try {
        Format(Fmt, Args);
    } catch (const EConvertError& E) {
        return E.Message();
    }
    return QString();
}

QString Invalid(const QString& Fmt) { return "Format '" + Fmt + "' invalid or incompatible with argument"; }

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

}  // namespace

TEST(FormatIntegers, WidthPrecisionAndSign) {
    EXPECT_EQ(Format("%5d|%-5d|%D", {42, 42, 9}), "   42|42   |9");
    EXPECT_EQ(Format("%.4d|%3.2d|%.0d", {-42, 7, 0}), "-0042| 07|0");
    EXPECT_EQ(Format("%4d/%2d/%2d", {2024, 3, 5}), "2024/ 3/ 5");
    EXPECT_EQ(Format("%d %d", {INT64_MIN, UINT64_MAX}), "-9223372036854775808 18446744073709551615");
    EXPECT_EQ(Format("%d %d", {uint8_t{200}, int16_t{-300}}), "200 -300");
}

TEST(FormatIntegers, UnsignedAndHexUseTheArgumentsOwnWidth) {
    EXPECT_EQ(Format("%u %u", {-1, int64_t{-1}}), "4294967295 18446744073709551615");
    EXPECT_EQ(Format("%x %.4x %x", {255, 255, 0xFFFFFFFFu}), "FF 00FF FFFFFFFF");
    EXPECT_EQ(Format("%x %x", {-1, int8_t{-1}}), "FFFFFFFF FFFFFFFF");
    EXPECT_EQ(Format("%x", {int64_t{-1}}), "FFFFFFFFFFFFFFFF");
}

TEST(FormatFloats, FixedRoundsHalfAwayFromZeroOnTheBinaryValue) {
    EXPECT_EQ(Format("%f|%.2f|%.2f", {1.0, 0.125, -0.125}), "1.00|0.13|-0.13");
    EXPECT_EQ(Format("%.0f|%.0f|%.0f", {0.5, 1.5, 2.5}), "1|2|3");
    // 2.675, 1.005, 0.15 and 0.995 lie just below their ties in binary.
    EXPECT_EQ(Format("%.2f|%.2f|%.1f|%.2f", {2.675, 1.005, 0.15, 0.995}), "2.67|1.00|0.1|0.99");
    EXPECT_EQ(Format("%.2f|%.2f", {0.045, 0.045L}), "0.04|0.05");  // 0.045L lies above
    EXPECT_EQ(Format("%.2f|%8.3f|%11.0f", {9.996, 3.14159, 12345.5}), "10.00|   3.142|      12346");
    EXPECT_EQ(Format("%.10f", {0.1f}), "0.1000000015");
    EXPECT_EQ(Format("%.30f", {1.0 / 3.0}), "0.333333333333333315");  // 18 digits at most
}

TEST(FormatFloats, ValueThatRoundsToZeroHasNoSign) {
    EXPECT_EQ(Format("%.2f|%.2f|%g", {-0.001, -0.0, -0.0}), "0.00|0.00|0");
    EXPECT_EQ(Format("%.2f", {-0.005}), "-0.01");  // -0.00500000000000000010
}

TEST(FormatFloats, NumberExponentAndGeneral) {
    EXPECT_EQ(Format("%n|%.1n|%n", {1234567.891, -1234.5, 999.999}), "1,234,567.89|-1,234.5|1,000.00");
    EXPECT_EQ(Format("%e", {1.0}), "1.00000000000000E+000");
    EXPECT_EQ(Format("%.3e|%.4e|%.2e", {12345.0, -0.00012345, 9.96}), "1.23E+004|-1.234E-004|1.0E+001");
    EXPECT_EQ(Format("%.3e", {0.0}), "0.00E+000");
    EXPECT_EQ(Format("%g|%g|%g|%g", {0.1, 100.0, 1.5e20, -2.5e-7}), "0.1|100|1.5E20|-2.5E-7");
    EXPECT_EQ(Format("%g|%g|%.3g|%.3g", {1e-5, 0.0001, 1234.0, 123.0}), "1E-5|0.0001|1.23E3|123");
}

TEST(FormatFloats, NotANumberAndInfinities) {
    EXPECT_EQ(Format("%f|%5.1f|%e|%g", {kNaN, kInf, -kInf, kInf}), "NAN|  INF|-INF|INF");
}

TEST(FormatStrings, TextsCharactersAndPointers) {
    EXPECT_EQ(Format("%5s|%-5s|%.2s", {QStringLiteral("ab"), "cd", "abcdef"}), "   ab|cd   |ab");
    EXPECT_EQ(Format("%s%s%s", {QChar(u'x'), 'y', static_cast<const char*>(nullptr)}), "xy");
    EXPECT_EQ(Format("%s", {"\xE6\x97\xA5\xE6\x9C\xAC"}), QString::fromUtf8("日本"));
    EXPECT_EQ(Format("%.2s", {QString::fromUtf8("a\xF0\x9F\x98\x80z")}), "a");  // no half pair
    EXPECT_EQ(Format("100%% done", {}), "100% done");
    int Object = 0;
    const QString Pointer = Format("%p", {static_cast<const void*>(&Object)});
    EXPECT_EQ(Pointer.size(), static_cast<qsizetype>(sizeof(void*) * 2));
    EXPECT_EQ(Pointer.toULongLong(nullptr, 16), reinterpret_cast<uintptr_t>(&Object));
}

TEST(FormatArguments, IndexesStarsAndVectors) {
    EXPECT_EQ(Format("%1:s %0:s %s", {"a", "b"}), "b a b");
    EXPECT_EQ(Format("%0:d %0:x", {31}), "31 1F");
    EXPECT_EQ(Format("%*d|%-*d|", {5, 42, 4, 7}), "   42|7   |");
    EXPECT_EQ(Format("%*.*f", {7, 1, 2.25}), "    2.3");
    EXPECT_EQ(Format("%d %.1f %s", std::vector<FormatArg>{3, 0.5, "x"}), "3 0.5 x");
}

TEST(FormatErrors, MismatchesAndMalformedSpecifiers) {
    EXPECT_EQ(FormatError("%d", {1.5}), Invalid("%d"));
    EXPECT_EQ(FormatError("%f", {1}), Invalid("%f"));
    EXPECT_EQ(FormatError("%s", {1}), Invalid("%s"));
    EXPECT_EQ(FormatError("%x", {"1"}), Invalid("%x"));
    EXPECT_EQ(FormatError("%p", {1}), Invalid("%p"));
    EXPECT_EQ(FormatError("%*d", {1.0, 2}), Invalid("%*d"));
    for (const char* Fmt : {"%z", "abc%", "%5", "%5-d", "%1:", "%.", "%99999999d", "%.99999999f"})
        EXPECT_EQ(FormatError(Fmt, {1}), Invalid(Fmt)) << Fmt;
}

TEST(FormatErrors, MissingArguments) {
    EXPECT_EQ(FormatError("%d %d", {1}), "No argument for format '%d %d'");
    EXPECT_EQ(FormatError("%2:d", {1, 2}), "No argument for format '%2:d'");
    EXPECT_EQ(FormatError("%*d", {4}), "No argument for format '%*d'");
}

TEST(FloatToStr, FifteenSignificantDigits) {
    EXPECT_EQ(FloatToStr(0), "0");
    EXPECT_EQ(FloatToStr(-1.5), "-1.5");
    EXPECT_EQ(FloatToStr(2.0 / 3.0), "0.666666666666667");
    EXPECT_EQ(FloatToStr(123456789012345.0), "123456789012345");
    EXPECT_EQ(FloatToStr(999999999999999.9), "1E15");  // the carry adds a digit
    EXPECT_EQ(FloatToStr(123456789012345678.0), "1.23456789012346E17");
    EXPECT_EQ(FloatToStr(0.00012), "0.00012");
    EXPECT_EQ(FloatToStr(std::numeric_limits<double>::max()), "1.79769313486232E308");
    EXPECT_EQ(FloatToStr(std::numeric_limits<double>::denorm_min()), "4.94065645841247E-324");
    EXPECT_EQ(FloatToStr(std::numeric_limits<long double>::denorm_min()), "3.64519953188247E-4951");
}

TEST(FloatToStrF, PrecisionAndDigits) {
    EXPECT_EQ(FloatToStrF(1.0 / 3.0, TFloatFormat::ffFixed, 5, 10), "0.3333300000");
    EXPECT_EQ(FloatToStrF(1e20, TFloatFormat::ffFixed, 15, 2), "1.00000000000000E+20");
    EXPECT_EQ(FloatToStrF(1234567.891, TFloatFormat::ffNumber, 15, 2), "1,234,567.89");
    EXPECT_EQ(FloatToStrF(12345.678, TFloatFormat::ffExponent, 6, 2), "1.23457E+04");
    EXPECT_EQ(FloatToStrF(0.00012345, TFloatFormat::ffExponent, 3, 0), "1.23E-4");
    EXPECT_EQ(FloatToStrF(1.5e20, TFloatFormat::ffGeneral, 15, 3), "1.5E020");
    EXPECT_EQ(FloatToStrF(123.456, TFloatFormat::ffGeneral, 4, 0), "123.5");
    // Out-of-range parameters are clamped.
    EXPECT_EQ(FloatToStrF(1.0 / 3.0, TFloatFormat::ffGeneral, 40, 0), "0.333333333333333315");
    EXPECT_EQ(FloatToStrF(1.0 / 3.0, TFloatFormat::ffGeneral, 0, 0), "0.3");
    EXPECT_EQ(FloatToStrF(1e5, TFloatFormat::ffExponent, 2, 9), "1.0E+0005");
    EXPECT_EQ(IntToStr(INT64_MIN), "-9223372036854775808");
}
