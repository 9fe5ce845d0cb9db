// tam32-probe sun LAT LON YYYY-MM-DD HH:MM:SS [--tz Z]
//   The sun's apparent altitude and azimuth (degrees, azimuth from north
//   through east) at a site given in decimal degrees (north and east
//   positive) and a local clock time; Z is the zone in hours ahead of
//   universal time, by default the program's TimeZone setting.
#include <QRegularExpression>
#include <cstdio>

#include "ProbeCommands.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/sun/SolarPosition.h"

namespace tam32::probe {
namespace {

bool ParseNumber(const QString& Text, double Low, double High, double& Value) {
    bool Ok = false;
    Value = Text.toDouble(&Ok);
    return Ok && Value >= Low && Value <= High;
}

// Three numbers of a fixed pattern, e.g. "2024-06-21" or "12:00:00".
bool ParseTriple(const QString& Text, const QString& Pattern, int (&Parts)[3]) {
    const QRegularExpressionMatch Match = QRegularExpression(Pattern).match(Text);
    if (!Match.hasMatch()) return false;
    for (int i = 0; i < 3; ++i) Parts[i] = Match.captured(i + 1).toInt();
    return true;
}

int Sun(const QStringList& Args) {
    if (Args.size() != 4 && !(Args.size() == 6 && Args[4] == QLatin1String("--tz"))) return kUsage;
    double Latitude = 0.0, Longitude = 0.0;
    int Date[3], Clock[3];
    if (!ParseNumber(Args[0], -90.0, 90.0, Latitude) || !ParseNumber(Args[1], -180.0, 180.0, Longitude) ||
        !ParseTriple(Args[2], QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"), Date) ||
        !ParseTriple(Args[3], QStringLiteral("^(\\d{1,2}):(\\d{1,2}):(\\d{1,2})$"), Clock))
        return kUsage;
    if (Clock[0] > 23 || Clock[1] > 59 || Clock[2] > 59) {
        std::fprintf(stderr, "no such time: %s\n", qPrintable(Args[3]));
        return 1;
    }
    if (Args.size() == 6 && !ParseNumber(Args[5], -12.0, 14.0, TimeZone)) {
        std::fprintf(stderr, "zone out of -12..14: %s\n", qPrintable(Args[5]));
        return 1;
    }
    if (!SetSolarDate(Date[0], Date[1], Date[2])) {
        std::fprintf(stderr, "no such date: %s\n", qPrintable(Args[2]));
        return 1;
    }
    SiteLatitude = Latitude;
    SiteLongitude = Longitude;
    double Azimuth = 0.0, Altitude = 0.0;
    SunPosition(Clock[0], Clock[1], Clock[2], Azimuth, Altitude);
    std::printf("%.6f %.6f\n", Altitude, Azimuth);
    return 0;
}

const RegisterProbeCommand kSun({"sun", "LAT LON YYYY-MM-DD HH:MM:SS [--tz Z]", Sun});

}  // namespace
}  // namespace tam32::probe
