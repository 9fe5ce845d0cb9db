#pragma once
// Number-to-text conversion and Format in the manner of the original class
// library, so report lines and message-file format strings print the same
// digits as the program always did: decimal point '.', rounding half away
// from zero on the exact binary value, and an error (not undefined output)
// when a format does not fit its arguments.
#include <QChar>
#include <QString>
#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <type_traits>
#include <vector>

namespace tam32 {

// One argument of Format: an integer, a floating-point number, a text or a pointer.
class FormatArg {
public:
    enum class Kind { Integer, Float, String, Pointer };

    template <std::integral T>
        requires(!std::same_as<T, bool> && !std::same_as<T, char> && !std::same_as<T, wchar_t> &&
                 !std::same_as<T, char8_t> && !std::same_as<T, char16_t> &&
                 !std::same_as<T, char32_t>)
    FormatArg(T Value)
        : FKind(Kind::Integer),
          FBits(static_cast<uint64_t>(Value)),
          FSigned(std::is_signed_v<T>),
          FWide(sizeof(T) > 4) {}
    template <std::floating_point T>
    FormatArg(T Value) : FKind(Kind::Float), FFloat(Value) {}
    FormatArg(const QString& Value) : FKind(Kind::String), FString(Value) {}
    // UTF-8; a null pointer is the empty text.
    FormatArg(const char* Value) : FKind(Kind::String), FString(QString::fromUtf8(Value)) {}
    FormatArg(QChar Value) : FKind(Kind::String), FString(Value) {}
    FormatArg(char Value) : FKind(Kind::String), FString(QChar::fromLatin1(Value)) {}
    FormatArg(const void* Value)
        : FKind(Kind::Pointer), FBits(reinterpret_cast<uintptr_t>(Value)) {}
    // A Boolean has no format type; refusing it here keeps a stray pointer or
    // comparison from printing as 0 or 1.
    FormatArg(bool) = delete;

    Kind ArgKind() const { return FKind; }
    // Integers: the value's bits, whether it is signed, and whether it is
    // 64 bits wide (as opposed to 32) for the unsigned and hex types.
    uint64_t Bits() const { return FBits; }
    bool IsSigned() const { return FSigned; }
    bool IsWide() const { return FWide; }
    long double Float() const { return FFloat; }
    const QString& String() const { return FString; }

private:
    Kind FKind;
    uint64_t FBits = 0;
    bool FSigned = false;
    bool FWide = false;
    long double FFloat = 0;
    QString FString;
};

// "%" [index ":"] ["-"] [width] ["." prec] type, with "*" taking a number
// from the integer argument list; types d u e f g n x s p and "%%".
// EConvertError "Format '...' invalid or incompatible with argument" or
// "No argument for format '...'".
QString Format(const QString& Fmt, std::initializer_list<FormatArg> Args);
QString Format(const QString& Fmt, const std::vector<FormatArg>& Args);

enum class TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber };

// Precision: significant digits (1..18). Digits: decimals for ffFixed and
// ffNumber (0..18), minimum exponent digits for the others (0..4).
QString FloatToStrF(long double Value, TFloatFormat Format, int Precision, int Digits);
// General format with 15 significant digits: "0.1", "1E20", "1E-5".
QString FloatToStr(long double Value);
QString IntToStr(int64_t Value);

}  // namespace tam32
