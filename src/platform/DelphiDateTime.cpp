#include "platform/DelphiDateTime.h"

#include <QTimeZone>
#include <cmath>

namespace tam32 {

QDateTime DelphiToDateTime(double Value) {
    // Whole days and the time of day rounded to the millisecond, as the
    // original decodes them; before the epoch the fraction still counts forward.
    const double Days = std::floor(Value);
    const qint64 Ms = std::llround((Value - Days) * 86400000.0);
    const QDate Date = QDate(1899, 12, 30).addDays(static_cast<qint64>(Days));
    return QDateTime(Date, QTime(0, 0), QTimeZone::utc()).addMSecs(Ms);
}

QString QtDateTimeFormat(const QString& DelphiFormat) {
    QString Out;
    QString Literal;
    bool AfterHour = false;
    auto FlushLiteral = [&] {
        if (Literal.isEmpty()) return;
        Out += QLatin1Char('\'') + QString(Literal).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
        Literal.clear();
    };
    for (qsizetype I = 0; I < DelphiFormat.size();) {
        const QChar C = DelphiFormat[I];
        if (C == QLatin1Char('"') || C == QLatin1Char('\'')) {
            const qsizetype End = DelphiFormat.indexOf(C, I + 1);
            Literal += DelphiFormat.mid(I + 1, End < 0 ? -1 : End - I - 1);
            I = End < 0 ? DelphiFormat.size() : End + 1;
            continue;
        }
        const QChar Lower = C.toLower();
        qsizetype Run = 1;
        while (I + Run < DelphiFormat.size() && DelphiFormat[I + Run].toLower() == Lower) ++Run;
        QString Token;
        switch (Lower.unicode()) {
            case 'd': Token = Run >= 2 ? QStringLiteral("dd") : QStringLiteral("d"); break;
            case 'y': Token = Run >= 3 ? QStringLiteral("yyyy") : QStringLiteral("yy"); break;
            case 'h': Token = Run >= 2 ? QStringLiteral("hh") : QStringLiteral("h"); break;
            case 'n': Token = Run >= 2 ? QStringLiteral("mm") : QStringLiteral("m"); break;
            case 's': Token = Run >= 2 ? QStringLiteral("ss") : QStringLiteral("s"); break;
            case 'm':
                if (AfterHour)
                    Token = Run >= 2 ? QStringLiteral("mm") : QStringLiteral("m");
                else
                    Token = Run >= 2 ? QStringLiteral("MM") : QStringLiteral("M");
                break;
            default: Literal += DelphiFormat.mid(I, Run);
        }
        if (!Token.isEmpty()) {
            FlushLiteral();
            Out += Token;
            AfterHour = Lower == QLatin1Char('h');
        }
        I += Run;
    }
    FlushLiteral();
    return Out;
}

QString FormatDateTime(const QString& DelphiFormat, double Value) {
    return DelphiToDateTime(Value).toString(QtDateTimeFormat(DelphiFormat));
}

}  // namespace tam32
