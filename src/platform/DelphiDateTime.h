#pragma once
// Date-time values and date format strings in the original's notation:
// a value counts days since 1899-12-30 with the time of day as the fraction;
// formats use d dd m mm yy yyyy h hh n nn s ss, where "m"/"mm" right after
// an hour mean minutes, and quoted text is copied.
#include <QDateTime>
#include <QString>

namespace tam32 {

QDateTime DelphiToDateTime(double Value);
// The same format in Qt's notation, for axis labels and toString.
QString QtDateTimeFormat(const QString& DelphiFormat);
QString FormatDateTime(const QString& DelphiFormat, double Value);

}  // namespace tam32
