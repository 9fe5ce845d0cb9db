#include "platform/DelphiFormat.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/Exceptions.h"

namespace tam32 {

namespace {

// The largest number of significant digits the original's extended type carried.
constexpr int kMaxPrecision = 18;

// ---- Decimal digits ------------------------------------------------------

// A finite value as Value = 0.D1D2D3... x 10^Exponent, with Digits free of
// leading and trailing zeros (empty for zero).
struct DecimalDigits {
    bool Negative = false;
    std::string Digits;
    int Exponent = 0;
};

void StripTrailingZeros(DecimalDigits& D) {
    while (!D.Digits.empty() && D.Digits.back() == '0') D.Digits.pop_back();
    if (D.Digits.empty()) D.Exponent = 0;
}

// Every digit of the binary value: with LDBL_MANT_DIG - e decimals the
// fixed-point text is exact (the value times 2^that is an integer), and
// the C library prints exact digits when asked for them.
DecimalDigits ExactDigits(long double Value) {
    DecimalDigits D;
    D.Negative = std::signbit(Value);
    const long double Magnitude = std::fabs(Value);
    if (Magnitude == 0) return D;
    int BinaryExponent = 0;
    std::frexp(Magnitude, &BinaryExponent);
    const int Decimals = std::max(0, LDBL_MANT_DIG - BinaryExponent);
    // Below 2^e, so at most e * log10(2) + 1 integer digits.
    const size_t IntegerDigits = static_cast<size_t>(std::max(0, BinaryExponent)) * 30103 / 100000 + 2;
    std::string Text(IntegerDigits + 1 + static_cast<size_t>(Decimals) + 1, '\0');
    const int Length = std::snprintf(Text.data(), Text.size(), "%.*Lf", Decimals, Magnitude);
    Text.resize(static_cast<size_t>(std::clamp(Length, 0, static_cast<int>(Text.size()) - 1)));
    // The separator is whatever LC_NUMERIC says; only its position matters.
    const size_t Point = Text.find_first_not_of("0123456789");
    const std::string Integral = Text.substr(0, Point);
    D.Digits = Integral + (Point == std::string::npos ? std::string() : Text.substr(Point + 1));
    D.Exponent = static_cast<int>(Integral.size());
    const size_t FirstNonZero = D.Digits.find_first_not_of('0');
    D.Digits.erase(0, FirstNonZero);
    D.Exponent -= static_cast<int>(FirstNonZero);
    StripTrailingZeros(D);
    return D;
}

// Keeps Count significant digits, rounding half away from zero. The digits
// are exact, so "the next digit is 5 or more" is exactly "at least half".
void RoundToDigits(DecimalDigits& D, int Count) {
    if (Count >= static_cast<int>(D.Digits.size())) return;
    if (Count < 0) {
        D.Digits.clear();
        D.Exponent = 0;
        return;
    }
    const bool Up = D.Digits[static_cast<size_t>(Count)] >= '5';
    D.Digits.resize(static_cast<size_t>(Count));
    if (Up) {
        int I = Count - 1;
        while (I >= 0 && D.Digits[static_cast<size_t>(I)] == '9') D.Digits[static_cast<size_t>(I--)] = '0';
        if (I < 0) {
            D.Digits.insert(D.Digits.begin(), '1');
            ++D.Exponent;
        } else {
            ++D.Digits[static_cast<size_t>(I)];
        }
    }
    StripTrailingZeros(D);
}

// ---- Layouts of rounded digits -------------------------------------------

QString SignOf(const DecimalDigits& D) {
    // A value that rounded to zero prints without a sign.
    return D.Negative && !D.Digits.empty() ? QStringLiteral("-") : QString();
}

QString FixedText(const DecimalDigits& D, int Decimals, bool Thousands) {
    const int Length = static_cast<int>(D.Digits.size());
    auto DigitAt = [&](int Index) {
        return Index >= 0 && Index < Length ? QChar::fromLatin1(D.Digits[static_cast<size_t>(Index)])
                                            : QChar(u'0');
    };
    QString Integral;
    for (int I = 0; I < D.Exponent; ++I) Integral += DigitAt(I);
    if (Integral.isEmpty()) Integral = QStringLiteral("0");
    if (Thousands)
        for (qsizetype At = Integral.size() - 3; At > 0; At -= 3) Integral.insert(At, u',');
    QString Text = SignOf(D) + Integral;
    if (Decimals > 0) {
        Text += u'.';
        for (int I = 0; I < Decimals; ++I) Text += DigitAt(D.Exponent + I);
    }
    return Text;
}

QString ExponentPart(int Exponent, int MinDigits, bool PlusSign) {
    QString Sign = Exponent < 0 ? QStringLiteral("-") : PlusSign ? QStringLiteral("+") : QString();
    return u'E' + Sign + QString::number(std::abs(Exponent)).rightJustified(MinDigits, u'0');
}

// "-d.ddd" with MantissaDigits digits in all (padded with zeros), or as many
// as there are when MantissaDigits is 0.
QString ScientificText(const DecimalDigits& D, int MantissaDigits, int MinExponentDigits,
                       bool PlusSign) {
    const std::string Digits = D.Digits.empty() ? std::string("0") : D.Digits;
    const int Shown = MantissaDigits > 0 ? MantissaDigits : static_cast<int>(Digits.size());
    QString Text = SignOf(D) + QChar::fromLatin1(Digits[0]);
    if (Shown > 1) {
        Text += u'.';
        for (int I = 1; I < Shown; ++I)
            Text += I < static_cast<int>(Digits.size()) ? QChar::fromLatin1(Digits[static_cast<size_t>(I)])
                                                         : QChar(u'0');
    }
    const int Exponent = D.Digits.empty() ? 0 : D.Exponent - 1;
    return Text + ExponentPart(Exponent, MinExponentDigits, PlusSign);
}

}  // namespace

QString FloatToStrF(long double Value, TFloatFormat Format, int Precision, int Digits) {
    if (std::isnan(Value)) return QStringLiteral("NAN");
    if (std::isinf(Value)) return Value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    Precision = std::clamp(Precision, 1, kMaxPrecision);
    DecimalDigits D = ExactDigits(Value);
    switch (Format) {
        case TFloatFormat::ffGeneral: {
            RoundToDigits(D, Precision);
            Digits = std::clamp(Digits, 0, 4);
            if (D.Exponent > Precision || D.Exponent < -3) return ScientificText(D, 0, Digits, false);
            return FixedText(D, std::max(0, static_cast<int>(D.Digits.size()) - D.Exponent), false);
        }
        case TFloatFormat::ffExponent:
            RoundToDigits(D, Precision);
            return ScientificText(D, Precision, std::clamp(Digits, 0, 4), true);
        case TFloatFormat::ffFixed:
        case TFloatFormat::ffNumber: {
            Digits = std::clamp(Digits, 0, kMaxPrecision);
            RoundToDigits(D, std::min(Precision, D.Exponent + Digits));
            // More integer digits than the precision holds: scientific instead.
            if (D.Exponent > Precision) return ScientificText(D, Precision, std::min(Digits, 4), true);
            return FixedText(D, Digits, Format == TFloatFormat::ffNumber);
        }
    }
    return QString();
}

QString FloatToStr(long double Value) { return FloatToStrF(Value, TFloatFormat::ffGeneral, 15, 0); }

QString IntToStr(int64_t Value) { return QString::number(static_cast<qlonglong>(Value)); }

// ---- Format ----------------------------------------------------------------

namespace {

// Widths, precisions and indexes beyond this come from a broken format
// string, not from a report layout; refusing them keeps a stray "%999999999d"
// in a message file from exhausting memory.
constexpr int kMaxFieldNumber = 1 << 20;

class Formatter {
public:
    Formatter(const QString& Fmt, const FormatArg* Args, size_t Count)
        : FFmt(Fmt), FArgs(Args), FCount(Count) {}

    QString Run() {
        QString Out;
        while (FPos < FFmt.size()) {
            const QChar C = FFmt[FPos++];
            if (C != u'%') {
                Out += C;
                continue;
            }
            if (Peek() == u'%') {
                ++FPos;
                Out += u'%';
                continue;
            }
            Out += Specifier();
        }
        return Out;
    }

private:
    [[noreturn]] void Invalid() const {
        throw EConvertError(QStringLiteral("Format '") + FFmt +
                            QStringLiteral("' invalid or incompatible with argument"));
    }

    QChar Peek() const { return FPos < FFmt.size() ? FFmt[FPos] : QChar(); }
    static bool IsDigit(QChar C) { return C.unicode() >= u'0' && C.unicode() <= u'9'; }

    const FormatArg& NextArg() {
        if (FArgIndex < 0 || static_cast<size_t>(FArgIndex) >= FCount)
            throw EConvertError(QStringLiteral("No argument for format '") + FFmt + u'\'');
        return FArgs[FArgIndex++];
    }

    // Digits, or "*" for the next argument (an integer); -1 when neither.
    int Number() {
        if (Peek() == u'*') {
            ++FPos;
            const FormatArg& Arg = NextArg();
            if (Arg.ArgKind() != FormatArg::Kind::Integer) Invalid();
            const int64_t Value = Arg.IsSigned() || Arg.Bits() <= INT64_MAX
                                      ? static_cast<int64_t>(Arg.Bits())
                                      : INT64_MAX;
            if (Value > kMaxFieldNumber) Invalid();
            return Value < 0 ? -1 : static_cast<int>(Value);
        }
        if (!IsDigit(Peek())) return -1;
        int Value = 0;
        while (IsDigit(Peek())) {
            Value = Value * 10 + (FFmt[FPos++].unicode() - u'0');
            if (Value > kMaxFieldNumber) Invalid();
        }
        return Value;
    }

    QString Specifier() {
        bool LeftAlign = false;
        int Width = Number();
        if (Peek() == u':') {
            ++FPos;
            if (Width < 0) Invalid();
            FArgIndex = Width;
            Width = -1;
        }
        if (Width < 0) {
            if (Peek() == u'-') {
                ++FPos;
                LeftAlign = true;
            }
            Width = Number();
        }
        int Precision = -1;
        if (Peek() == u'.') {
            ++FPos;
            Precision = std::max(0, Number());
        }
        if (FPos >= FFmt.size()) Invalid();
        const char16_t Type = FFmt[FPos++].toLower().unicode();
        QString Text = Convert(Type, NextArg(), Precision);
        if (Width > Text.size())
            Text = LeftAlign ? Text.leftJustified(Width, u' ') : Text.rightJustified(Width, u' ');
        return Text;
    }

    QString Convert(char16_t Type, const FormatArg& Arg, int Precision) const {
        using K = FormatArg::Kind;
        switch (Type) {
            case u'd':
            case u'u':
            case u'x': {
                if (Arg.ArgKind() != K::Integer) Invalid();
                return IntegerText(Type, Arg, Precision);
            }
            case u'e':
            case u'f':
            case u'g':
            case u'n': {
                if (Arg.ArgKind() != K::Float) Invalid();
                return FloatText(Type, Arg.Float(), Precision);
            }
            case u's': {
                if (Arg.ArgKind() != K::String) Invalid();
                return Truncated(Arg.String(), Precision);
            }
            case u'p': {
                if (Arg.ArgKind() != K::Pointer) Invalid();
                return QString::number(Arg.Bits(), 16).toUpper().rightJustified(
                    static_cast<qsizetype>(sizeof(void*) * 2), u'0');
            }
            default:
                Invalid();
        }
    }

    static QString IntegerText(char16_t Type, const FormatArg& Arg, int Precision) {
        // The unsigned and hex types see a negative value as its two's
        // complement in the argument's own width, 32 or 64 bits.
        const uint64_t Unsigned = Arg.IsWide() ? Arg.Bits() : (Arg.Bits() & 0xFFFFFFFFu);
        QString Sign;
        QString Digits;
        if (Type == u'x') {
            Digits = QString::number(Unsigned, 16).toUpper();
        } else if (Type == u'd' && Arg.IsSigned() && static_cast<int64_t>(Arg.Bits()) < 0) {
            Sign = QStringLiteral("-");
            Digits = QString::number(0 - Arg.Bits());
        } else {
            Digits = QString::number(Type == u'u' ? Unsigned : Arg.Bits());
        }
        return Sign + Digits.rightJustified(Precision, u'0');
    }

    static QString FloatText(char16_t Type, long double Value, int Precision) {
        switch (Type) {
            case u'e':
                return FloatToStrF(Value, TFloatFormat::ffExponent, Precision < 0 ? 15 : Precision, 3);
            case u'g':
                return FloatToStrF(Value, TFloatFormat::ffGeneral, Precision < 0 ? 15 : Precision, 0);
            case u'n':
                return FloatToStrF(Value, TFloatFormat::ffNumber, kMaxPrecision, Precision < 0 ? 2 : Precision);
            default:
                return FloatToStrF(Value, TFloatFormat::ffFixed, kMaxPrecision, Precision < 0 ? 2 : Precision);
        }
    }

    // At most Precision characters, never splitting a surrogate pair.
    static QString Truncated(const QString& Text, int Precision) {
        if (Precision < 0 || Precision >= Text.size()) return Text;
        qsizetype Keep = Precision;
        if (Keep > 0 && Text[Keep - 1].isHighSurrogate()) --Keep;
        return Text.left(Keep);
    }

    const QString& FFmt;
    const FormatArg* FArgs;
    size_t FCount;
    qsizetype FPos = 0;
    int FArgIndex = 0;
};

}  // namespace

QString Format(const QString& Fmt, std::initializer_list<FormatArg> Args) {
    return Formatter(Fmt, Args.begin(), Args.size()).Run();
}

QString Format(const QString& Fmt, const std::vector<FormatArg>& Args) {
    return Formatter(Fmt, Args.data(), Args.size()).Run();
}

}  // namespace tam32
