#pragma once
// Where the sun stands in the sky for a site, a calendar date and a local
// clock time: a chain of low-precision almanac formulas (Julian day, Newcomb's
// sidereal time and obliquity, a truncated series for the sun's apparent
// longitude, a refraction table), good to about 0.01 degrees. The routines
// work on a few variables that keep their values between calls: set the site
// once per analysis, the date once per day, then ask for each moment.
// Angles are in degrees. The clock time is local standard time, TimeZone
// hours (a program-wide setting) ahead of universal time.
#include <cstdint>

namespace tam32 {

extern double SiteLatitude;   // north positive
extern double SiteLongitude;  // east positive
extern int32_t SolarYear, SolarMonth, SolarDay;
extern double LocalHour;      // local clock time of the current moment, hours

// Degrees, minutes and seconds of arc; the minutes and seconds take the sign
// of the degrees, so (-35, 30, 0) is 35.5 degrees south.
double DegreesFromDMS(int32_t Deg, int32_t Min, int32_t Sec);
void SetSiteLatitude(int32_t Deg, int32_t Min, int32_t Sec);
void SetSiteLongitude(int32_t Deg, int32_t Min, int32_t Sec);

// Stores the date of the following computations. A date that does not exist
// in the Gregorian calendar of years 1..9999 (31 April, 29 February of a
// common year) is refused with False and the stored date stays as it was.
[[nodiscard]] bool SetSolarDate(int32_t Year, int32_t Month, int32_t Day);

// Julian day of a Gregorian date and an hour of universal time; the hour may
// be negative or exceed 24 and then counts into the neighbouring days.
double JulianDay(double Year, double Month, double Day, double Hour);
// Julian day of LocalHour on the stored date, in universal time.
double JulianDateNow();
// Local mean sidereal time at SiteLongitude, hours in [0, 24).
double SiderealTime(double JD);

void SunEclipticLongitude(double& Lambda, double JD);
// Right ascension in [0, 360).
void EclipticToEquatorial(double& Decl, double& RA, double Lambda, double JD);
// Where the sun stands: its altitude and the direction of its azimuth, as
// the north and east components of its horizontal direction (not of unit
// length; both 0 with the sun in the zenith), which the picture's geometry
// takes without working out the angle.
struct TSunPlace {
    double Altitude = 0.0, North = 0.0, East = 0.0;
    // From north through east, in [0, 360); north in the zenith.
    double Azimuth() const;
};

// At SiteLatitude; the hour angle grows westwards, the azimuth runs from
// north through east, in [0, 360).
void EquatorialToHorizontal(double& Altitude, double& Azimuth, double Decl, double HourAngle);
// Refraction that lifts a geometric altitude, from a table; 0 below the horizon.
double AtmosRefraction(double Altitude);

// The sun's azimuth and apparent altitude at a local clock time of the stored
// date at the stored site.
void SunPosition(int32_t Hour, int32_t Min, int32_t Sec, double& Azimuth, double& Altitude);

// The sun through one day of the date and at the site stored when it is
// made, for the many moments of a day's sums and tracks. The sun's right
// ascension and declination change slowly and smoothly: the full series
// gives them at local midnight, noon and the next midnight, and a parabola
// through those follows them in between; the sidereal time runs on at its
// steady rate from local midnight. Only the horizontal coordinates are
// worked out for each moment, so a position costs a fraction of
// SunPosition's and stays within 1e-5 degrees of it.
class TSolarDay {
public:
    TSolarDay();
    // Of a given date, for days worked out side by side; the site as stored.
    TSolarDay(int32_t Year, int32_t Month, int32_t Day);
    // The sun's place with its apparent altitude, at a local clock time of
    // the day; LocalHour is left as it is.
    TSunPlace Place(int32_t Hour, int32_t Min, int32_t Sec) const;

private:
    // A quantity through its values at the three nodes, in half days S from
    // local midnight.
    struct TParabola {
        double First, Step, Bend;
        static TParabola Through(double Midnight, double Noon, double NextMidnight);
        double At(double S) const;
    };
    double FSinLat, FCosLat;
    double FSiderealMidnight;  // local sidereal time at local midnight, hours
    TParabola FRA, FSinDecl;
};

}  // namespace tam32
