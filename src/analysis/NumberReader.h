#pragma once
// Numbers read from a text file one after another, with a keyed account of
// the first that is missing or out of place ("line 3: the divisor must be
// ..., not "x"").
#include <QByteArray>
#include <QString>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tam32 {

// Far more than any of the program's number files takes; the numbers come first.
constexpr qint64 kMaxNumberFileRead = 1 << 20;

// The numbers of the text one after another, blanks and line ends between
// them skipped, as the reader of a text file takes them.
class TNumberReader {
public:
    explicit TNumberReader(const QByteArray& Text) : FText(Text) {}

    // The next whole number within Min..Max; nullopt and Error set otherwise.
    std::optional<int64_t> Whole(const QString& What, int64_t Min, int64_t Max, const QString& Kind) {
        if (!Next(What)) return std::nullopt;
        int64_t Value = 0;
        if (!Parse(Value) || Value < Min || Value > Max) return Bad<int64_t>(What, Kind);
        return Value;
    }
    // The next finite number.
    std::optional<double> Real(const QString& What) {
        if (!Next(What)) return std::nullopt;
        double Value = 0.0;
        if (!Parse(Value) || !std::isfinite(Value)) return Bad<double>(What, QStringLiteral("a finite number"));
        return Value;
    }
    const QString& Error() const { return FError; }

private:
    bool Next(const QString& What) {
        while (FPos < FText.size() && uint8_t(FText[FPos]) <= ' ') {
            if (FText[FPos] == '\n') ++FLine;
            ++FPos;
        }
        if (FPos >= FText.size()) {
            FError = QStringLiteral("the file ends before %1").arg(What);
            return false;
        }
        const qsizetype Start = FPos;
        while (FPos < FText.size() && uint8_t(FText[FPos]) > ' ') ++FPos;
        FToken = std::string_view(FText.constData() + Start, std::size_t(FPos - Start));
        return true;
    }
    // The whole token as a number; a sign of '+' as well as '-'.
    template <typename T>
    bool Parse(T& Value) const {
        std::string_view Digits = FToken;
        if (Digits.size() > 1 && Digits[0] == '+' && Digits[1] != '-') Digits.remove_prefix(1);
        const auto [End, Failure] = std::from_chars(Digits.data(), Digits.data() + Digits.size(), Value);
        return Failure == std::errc() && End == Digits.data() + Digits.size();
    }
    template <typename T>
    std::optional<T> Bad(const QString& What, const QString& Kind) {
        const QString Shown = QString::fromUtf8(FToken.data(), qsizetype(std::min<std::size_t>(FToken.size(), 24)));
        FError = QStringLiteral("line %1: %2 must be %3, not \"%4\"").arg(FLine).arg(What, Kind, Shown);
        return std::nullopt;
    }

    const QByteArray& FText;
    qsizetype FPos = 0;
    int FLine = 1;
    std::string_view FToken;
    QString FError;
};

}  // namespace tam32
