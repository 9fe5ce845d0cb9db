#include "analysis/sun/SolarPosition.h"

#include <QDate>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "analysis/core/GlobalSettings.h"

namespace tam32 {

double SiteLatitude;
double SiteLongitude;
int32_t SolarYear, SolarMonth, SolarDay;
double LocalHour;

namespace {

constexpr double DegToRad = std::numbers::pi / 180.0;
// Sidereal hours per hour of universal time.
constexpr double kSiderealRate = 1.00273791;

double SinDeg(double Angle) { return std::sin(Angle * DegToRad); }
double CosDeg(double Angle) { return std::cos(Angle * DegToRad); }

// Value reduced to [0, Period); rounding of a tiny negative value must not
// give Period itself.
double Wrap(double Value, double Period) {
    const double Reduced = Value - Period * std::floor(Value / Period);
    return Reduced < Period ? Reduced : 0.0;
}

double ClockHours(int32_t Hour, int32_t Min, int32_t Sec) { return Hour + Min / 60.0 + Sec / 3600.0; }

// Whole days of a Gregorian date since the count's origin.
double DayCount(double Year, double Month, double Day) {
    // January and February count as months 13 and 14 of the previous year,
    // so that the leap day falls at the end of the counted year.
    if (Month < 3) {
        Month += 12;
        Year -= 1;
    }
    return std::floor(365.25 * Year) + std::floor(Year / 400.0) - std::floor(Year / 100.0) +
           std::floor(30.59 * (Month - 2.0)) + Day;
}

double JulianFromDayCount(double Days, double Hour) { return Days + Hour / 24.0 + 1721088.5; }

// Local mean sidereal time at a longitude, hours in [0, 24).
double SiderealHours(double JD, double Longitude) {
    // Newcomb's expression holds for 0 h universal time; the universal date of
    // the moment begins at the last Julian day ending in .5.
    const double MidnightJD = std::floor(JD - 0.5) + 0.5;
    const double UniversalHour = (JD - MidnightJD) * 24.0;
    const double T = (MidnightJD - 2415020.0) / 36525.0;
    const double Greenwich0h = 6.6460655556 + 2400.0512616667 * T + 0.0000258056 * T * T;
    return Wrap(Greenwich0h + kSiderealRate * UniversalHour + Longitude / 15.0, 24.0);
}


// The geometric altitude and the horizontal direction of a declination and
// an hour angle, at a latitude given by its sine and cosine.
TSunPlace HorizontalPlace(double SinLat, double CosLat, double SinDecl, double CosDecl, double HourAngle) {
    const double CosH = CosDeg(HourAngle);
    TSunPlace Place;
    Place.North = SinDecl * CosLat - CosDecl * SinLat * CosH;
    Place.East = -CosDecl * SinDeg(HourAngle);
    // Rounding can carry the sine a hair past 1 when the sun is in the zenith.
    Place.Altitude = std::asin(std::clamp(SinLat * SinDecl + CosLat * CosDecl * CosH, -1.0, 1.0)) / DegToRad;
    return Place;
}

// The altitude seen through the air.
double ApparentAltitude(double Geometric) {
    // The refraction table would lift a sun just below the zenith past it.
    return std::min(Geometric + AtmosRefraction(Geometric), 90.0);
}

// Right ascension and declination of the sun at a Julian day.
void SunEquatorialPlace(double& RA, double& Decl, double JD) {
    double Lambda = 0.0;
    SunEclipticLongitude(Lambda, JD);
    EclipticToEquatorial(Decl, RA, Lambda, JD);
}

}  // namespace

double DegreesFromDMS(int32_t Deg, int32_t Min, int32_t Sec) {
    const double Magnitude = std::abs(double(Deg)) + Min / 60.0 + Sec / 3600.0;
    return Deg < 0 ? -Magnitude : Magnitude;
}

void SetSiteLatitude(int32_t Deg, int32_t Min, int32_t Sec) { SiteLatitude = DegreesFromDMS(Deg, Min, Sec); }

void SetSiteLongitude(int32_t Deg, int32_t Min, int32_t Sec) { SiteLongitude = DegreesFromDMS(Deg, Min, Sec); }

bool SetSolarDate(int32_t Year, int32_t Month, int32_t Day) {
    if (Year < 1 || Year > 9999 || !QDate::isValid(Year, Month, Day)) return false;
    SolarYear = Year;
    SolarMonth = Month;
    SolarDay = Day;
    return true;
}

double JulianDay(double Year, double Month, double Day, double Hour) {
    return JulianFromDayCount(DayCount(Year, Month, Day), Hour);
}

double JulianDateNow() {
    // The day count runs on through month and year ends, so a universal hour
    // below 0 or above 24 lands on the right neighbouring date.
    return JulianDay(SolarYear, SolarMonth, SolarDay, LocalHour - TimeZone);
}

double SiderealTime(double JD) { return SiderealHours(JD, SiteLongitude); }

void SunEclipticLongitude(double& Lambda, double JD) {
    const double t = (JD - 2442412.5) / 365.25;  // Julian years since the series' epoch
    double L = 279.0358 + 360.00769 * t;
    L += (1.9159 - 0.00005 * t) * SinDeg(356.531 + 359.991 * t);
    L += 0.0200 * SinDeg(353.06 + 719.981 * t);
    L -= 0.0048 * SinDeg(248.64 - 19.341 * t);
    L += 0.0020 * SinDeg(285.0 + 329.64 * t);
    L += 0.0018 * SinDeg(334.2 - 4452.67 * t);
    L += 0.0018 * SinDeg(293.7 - 0.20 * t);
    L += 0.0015 * SinDeg(242.4 + 450.37 * t);
    L += 0.0013 * SinDeg(211.1 + 225.18 * t);
    L += 0.0008 * SinDeg(208.0 + 659.29 * t);
    L += 0.0007 * SinDeg(53.5 + 90.38 * t);
    L += 0.0007 * SinDeg(12.1 - 30.35 * t);
    L += 0.0006 * SinDeg(239.1 + 337.18 * t);
    L += 0.0005 * SinDeg(10.1 - 1.50 * t);
    L += 0.0005 * SinDeg(99.1 - 22.81 * t);
    L += 0.0004 * SinDeg(264.8 + 315.56 * t);
    L += 0.0004 * SinDeg(233.8 + 299.30 * t);
    L -= 0.0004 * SinDeg(198.1 + 720.02 * t);
    L += 0.0003 * SinDeg(349.6 + 1079.97 * t);
    L += 0.0003 * SinDeg(241.2 - 44.43 * t);
    Lambda = L - 360.0 * std::floor(L / 360.0) + 0.0057;
}

void EclipticToEquatorial(double& Decl, double& RA, double Lambda, double JD) {
    const double T = (JD - 2415020.0) / 36525.0;
    const double Obliquity = 23.452294 - 0.0130125 * T - 0.00000164 * T * T + 0.000000503 * T * T * T;
    // The two-argument arctangent finds the quadrant and stays defined at
    // 90 and 270 degrees of longitude.
    RA = Wrap(std::atan2(SinDeg(Lambda) * CosDeg(Obliquity), CosDeg(Lambda)) / DegToRad, 360.0);
    Decl = std::asin(SinDeg(Obliquity) * SinDeg(Lambda)) / DegToRad;
}

double TSunPlace::Azimuth() const {
    // A sun in the zenith has no direction; atan2 gives it north, not NaN.
    return Wrap(std::atan2(East, North) / DegToRad, 360.0);
}

void EquatorialToHorizontal(double& Altitude, double& Azimuth, double Decl, double HourAngle) {
    const TSunPlace Place =
        HorizontalPlace(SinDeg(SiteLatitude), CosDeg(SiteLatitude), SinDeg(Decl), CosDeg(Decl), HourAngle);
    Altitude = Place.Altitude;
    Azimuth = Place.Azimuth();
}

void SunPosition(int32_t Hour, int32_t Min, int32_t Sec, double& Azimuth, double& Altitude) {
    LocalHour = ClockHours(Hour, Min, Sec);
    const double JD = JulianDateNow();
    double Decl = 0.0, RA = 0.0;
    SunEquatorialPlace(RA, Decl, JD);
    double Geometric = 0.0;
    EquatorialToHorizontal(Geometric, Azimuth, Decl, 15.0 * SiderealTime(JD) - RA);
    Altitude = ApparentAltitude(Geometric);
}

double TSolarDay::TParabola::At(double S) const { return First + S * (Step + (S - 1.0) * 0.5 * Bend); }

TSolarDay::TParabola TSolarDay::TParabola::Through(double Midnight, double Noon, double NextMidnight) {
    return {Midnight, Noon - Midnight, NextMidnight - 2.0 * Noon + Midnight};
}

TSolarDay::TSolarDay() : TSolarDay(SolarYear, SolarMonth, SolarDay) {}

TSolarDay::TSolarDay(int32_t Year, int32_t Month, int32_t Day)
    : FSinLat(SinDeg(SiteLatitude)), FCosLat(CosDeg(SiteLatitude)) {
    const double Days = DayCount(Year, Month, Day);
    // The sidereal time runs on evenly through the day, also where the
    // universal date changes (Newcomb's day start and the clock rate agree
    // there within a millionth of a degree).
    FSiderealMidnight = SiderealHours(JulianFromDayCount(Days, -TimeZone), SiteLongitude);
    double RA[3], SinDecl[3];
    for (int Node = 0; Node < 3; ++Node) {
        double Decl = 0.0;
        SunEquatorialPlace(RA[Node], Decl, JulianFromDayCount(Days, 12.0 * Node - TimeZone));
        // The right ascension runs on past 360 degrees instead of starting
        // again at 0, so that the parabola follows it.
        if (Node > 0) RA[Node] = RA[Node - 1] + std::remainder(RA[Node] - RA[Node - 1], 360.0);
        SinDecl[Node] = SinDeg(Decl);
    }
    FRA = TParabola::Through(RA[0], RA[1], RA[2]);
    FSinDecl = TParabola::Through(SinDecl[0], SinDecl[1], SinDecl[2]);
}

TSunPlace TSolarDay::Place(int32_t Hour, int32_t Min, int32_t Sec) const {
    const double Local = ClockHours(Hour, Min, Sec);
    const double S = Local / 12.0;  // in half days from local midnight
    // The declination stays within 24 degrees of the equator, where its
    // cosine is positive; taking it from the sine keeps the two a true pair,
    // which the altitude near the zenith needs.
    const double SinDecl = FSinDecl.At(S);
    TSunPlace Place = HorizontalPlace(FSinLat, FCosLat, SinDecl, std::sqrt(1.0 - SinDecl * SinDecl),
                                      15.0 * (FSiderealMidnight + kSiderealRate * Local) - FRA.At(S));
    Place.Altitude = ApparentAltitude(Place.Altitude);
    return Place;
}

}  // namespace tam32
