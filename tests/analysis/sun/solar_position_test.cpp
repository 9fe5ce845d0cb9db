#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <cmath>
#include <numbers>

#include "analysis/core/GlobalSettings.h"
#include "analysis/sun/SolarPosition.h"

using namespace tam32;

namespace {

struct TDate {
    int Year, Month, Day;
};
struct TClock {
    int Hour, Min, Sec;
};
struct TSky {
    double Altitude, Azimuth;
};

// Angle from one sky direction to another, small-angle form: the azimuth
// difference counts less the higher the sun stands.
double Separation(TSky A, TSky B) {
    const double dAz = std::remainder(A.Azimuth - B.Azimuth, 360.0) * std::cos(A.Altitude * std::numbers::pi / 180.0);
    return std::hypot(A.Altitude - B.Altitude, dAz);
}

TSky SunAt(TDate Date, TClock Clock) {
    EXPECT_TRUE(SetSolarDate(Date.Year, Date.Month, Date.Day));
    TSky Sky{};
    SunPosition(Clock.Hour, Clock.Min, Clock.Sec, Sky.Azimuth, Sky.Altitude);
    return Sky;
}

class SolarPositionTest : public ::testing::Test {
protected:
    void SetUp() override { ResetSettingsToDefaults(QDate(2024, 1, 1)); }
    void TearDown() override { ResetSettingsToDefaults(); }
};

}  // namespace

// ---- Site and date -----------------------------------------------------------

TEST(SolarSiteTest, MinutesAndSecondsTakeTheSignOfTheDegrees) {
    SetSiteLatitude(-35, 30, 0);
    EXPECT_DOUBLE_EQ(SiteLatitude, -35.5);
    SetSiteLongitude(-58, 22, 30);
    EXPECT_DOUBLE_EQ(SiteLongitude, -(58.0 + 22.0 / 60 + 30.0 / 3600));
    SetSiteLatitude(35, 38, 59);
    EXPECT_DOUBLE_EQ(SiteLatitude, 35.0 + 38.0 / 60 + 59.0 / 3600);
    SetSiteLongitude(0, 45, 0);
    EXPECT_DOUBLE_EQ(SiteLongitude, 0.75);
}

TEST(SolarDateTest, DatesThatDoNotExistAreRefusedAndTheStoredDateKept) {
    ASSERT_TRUE(SetSolarDate(2024, 2, 29));
    for (const TDate Bad : {TDate{2024, 4, 31}, TDate{2023, 2, 29}, TDate{1900, 2, 29}, TDate{2024, 13, 1},
                            TDate{2024, 0, 10}, TDate{2024, 6, 0}, TDate{0, 1, 1}, TDate{10000, 1, 1}})
        EXPECT_FALSE(SetSolarDate(Bad.Year, Bad.Month, Bad.Day)) << Bad.Year << '-' << Bad.Month << '-' << Bad.Day;
    EXPECT_EQ(SolarYear, 2024);
    EXPECT_EQ(SolarMonth, 2);
    EXPECT_EQ(SolarDay, 29);
    EXPECT_TRUE(SetSolarDate(2000, 2, 29));
}

// ---- Time --------------------------------------------------------------------

TEST(JulianDayTest, GregorianDayCount) {
    EXPECT_DOUBLE_EQ(JulianDay(2000, 1, 1, 0), 2451544.5);
    EXPECT_DOUBLE_EQ(JulianDay(1987, 4, 10, 0), 2446895.5);
    EXPECT_DOUBLE_EQ(JulianDay(1957, 10, 4, 19.5), 2436116.3125);
    // January and February belong to the previous counted year.
    EXPECT_DOUBLE_EQ(JulianDay(2024, 1, 1, 0) - JulianDay(2023, 12, 31, 0), 1.0);
    EXPECT_DOUBLE_EQ(JulianDay(2024, 3, 1, 0) - JulianDay(2024, 2, 28, 0), 2.0);
    EXPECT_DOUBLE_EQ(JulianDay(1900, 3, 1, 0) - JulianDay(1900, 2, 28, 0), 1.0);
    EXPECT_DOUBLE_EQ(JulianDay(2000, 3, 1, 0) - JulianDay(2000, 2, 28, 0), 2.0);
}

TEST(JulianDayTest, HoursOutsideTheDayCountIntoTheNeighbouringDates) {
    EXPECT_DOUBLE_EQ(JulianDay(2024, 3, 1, -2), JulianDay(2024, 2, 29, 22));
    EXPECT_DOUBLE_EQ(JulianDay(2024, 12, 31, 26), JulianDay(2025, 1, 1, 2));
}

TEST(SiderealTimeTest, MatchesPublishedGreenwichTimeBeforeAndAfterNoonUT) {
    SiteLongitude = 0.0;
    // 1987 April 10 at 0 h and 19:21 UT: 13h10m46.3668s and 8h34m57.0896s.
    EXPECT_NEAR(SiderealTime(2446895.5), 13.1795463, 2e-4);
    EXPECT_NEAR(SiderealTime(JulianDay(1987, 4, 10, 19.35)), 8.5825249, 2e-4);
}

TEST(SiderealTimeTest, LongitudeShiftsTheTimeWithinOneDay) {
    SiteLongitude = 0.0;
    const double Greenwich = SiderealTime(JulianDay(1987, 4, 10, 19.35));
    SiteLongitude = -135.0;
    const double West = SiderealTime(JulianDay(1987, 4, 10, 19.35));
    EXPECT_NEAR(West, Greenwich - 9.0 + 24.0, 1e-9);
    SiteLongitude = 0.0;
    const double Midnight = SiderealTime(2446895.5);
    SiteLongitude = 175.0;
    const double East = SiderealTime(2446895.5);
    EXPECT_NEAR(East, Midnight + 175.0 / 15.0 - 24.0, 1e-9);
    EXPECT_GE(East, 0.0);
    EXPECT_LT(East, 24.0);
}

// ---- Sky coordinates ---------------------------------------------------------

TEST(SunCoordinatesTest, LongitudeAndEquatorialPlaceMatchThePublishedEphemeris) {
    // 1992 October 13 at 0 h: apparent longitude 199.907, right ascension
    // 198.380, declination -7.785 degrees.
    const double JD = 2448908.5;
    double Lambda = 0.0;
    SunEclipticLongitude(Lambda, JD);
    EXPECT_NEAR(Lambda, 199.907, 0.01);
    double Decl = 0.0, RA = 0.0;
    EclipticToEquatorial(Decl, RA, Lambda, JD);
    EXPECT_NEAR(RA, 198.380, 0.01);
    EXPECT_NEAR(Decl, -7.785, 0.01);
}

TEST(SunCoordinatesTest, SolsticeLongitudesHaveTheirRightAscension) {
    double Decl = 0.0, RA = 0.0;
    EclipticToEquatorial(Decl, RA, 90.0, 2451545.0);
    EXPECT_NEAR(RA, 90.0, 1e-9);
    EXPECT_NEAR(Decl, 23.4393, 1e-3);
    EclipticToEquatorial(Decl, RA, 270.0, 2451545.0);
    EXPECT_NEAR(RA, 270.0, 1e-9);
    EXPECT_NEAR(Decl, -23.4393, 1e-3);
}

TEST(SunCoordinatesTest, HorizontalDirectionRunsFromNorthThroughEast) {
    TSky Sky{};
    SiteLatitude = 35.0;
    EquatorialToHorizontal(Sky.Altitude, Sky.Azimuth, 10.0, 0.0);  // culminates south of the zenith
    EXPECT_NEAR(Sky.Altitude, 65.0, 1e-9);
    EXPECT_NEAR(Sky.Azimuth, 180.0, 1e-9);
    EquatorialToHorizontal(Sky.Altitude, Sky.Azimuth, 50.0, 360.0);  // north of it, a whole turn later
    EXPECT_NEAR(Sky.Altitude, 75.0, 1e-9);
    EXPECT_NEAR(std::remainder(Sky.Azimuth, 360.0), 0.0, 1e-9);
    EXPECT_LT(Sky.Azimuth, 360.0);
    SiteLatitude = 0.0;
    EquatorialToHorizontal(Sky.Altitude, Sky.Azimuth, 0.0, -90.0);  // rising
    EXPECT_NEAR(Sky.Altitude, 0.0, 1e-9);
    EXPECT_NEAR(Sky.Azimuth, 90.0, 1e-9);
    EquatorialToHorizontal(Sky.Altitude, Sky.Azimuth, 0.0, 90.0);  // setting
    EXPECT_NEAR(Sky.Azimuth, 270.0, 1e-9);
    SiteLatitude = -23.44;
    EquatorialToHorizontal(Sky.Altitude, Sky.Azimuth, -23.44, 0.0);  // in the zenith
    EXPECT_DOUBLE_EQ(Sky.Altitude, 90.0);
    EXPECT_GE(Sky.Azimuth, 0.0);
    EXPECT_LT(Sky.Azimuth, 360.0);
}

TEST(AtmosRefractionTest, TableStepsAndLimits) {
    EXPECT_EQ(AtmosRefraction(-0.001), 0.0);
    EXPECT_DOUBLE_EQ(AtmosRefraction(0.0), 34.4 / 60);
    EXPECT_DOUBLE_EQ(AtmosRefraction(0.499), 34.4 / 60);
    EXPECT_DOUBLE_EQ(AtmosRefraction(0.5), 28.65 / 60);
    EXPECT_DOUBLE_EQ(AtmosRefraction(14.9), 3.667 / 60);
    EXPECT_DOUBLE_EQ(AtmosRefraction(15.0), 3.55 / 60);
    EXPECT_DOUBLE_EQ(AtmosRefraction(15.0001), 3.55 / 60);
    EXPECT_DOUBLE_EQ(AtmosRefraction(16.0), 3.317 / 60);
    EXPECT_DOUBLE_EQ(AtmosRefraction(46.5), 0.817 / 60);
    EXPECT_DOUBLE_EQ(AtmosRefraction(69.9), 0.367 / 60);
    EXPECT_DOUBLE_EQ(AtmosRefraction(70.0), 0.35 / 60);
    EXPECT_DOUBLE_EQ(AtmosRefraction(70.0001), 0.35 / 60);
    EXPECT_DOUBLE_EQ(AtmosRefraction(75.0), 0.267 / 60);
    EXPECT_DOUBLE_EQ(AtmosRefraction(85.0), 0.083 / 60);
    EXPECT_DOUBLE_EQ(AtmosRefraction(85.1), 0.017 / 60);
    EXPECT_DOUBLE_EQ(AtmosRefraction(89.9), 0.017 / 60);
    EXPECT_EQ(AtmosRefraction(90.0), 0.0);
    EXPECT_EQ(AtmosRefraction(std::nan("")), 0.0);
}

// ---- The sun's place ---------------------------------------------------------

namespace {

struct TSite {
    int LatD, LatM, LatS, LonD, LonM, LonS;
    double Zone;
};

const TSite kSites[] = {
    {35, 38, 59, 139, 45, 0, 9},    // 0 Tokyo
    {-33, 52, 0, 151, 12, 0, 10},   // 1 Sydney
    {-34, 36, 0, -58, 22, 0, -3},   // 2 Buenos Aires
    {21, 18, 0, -157, 51, 0, -10},  // 3 Honolulu
    {59, 55, 0, 10, 45, 0, 1},      // 4 Oslo
    {40, 25, 0, -3, 42, 0, 1},      // 5 Madrid
    {1, 52, 0, -157, 24, 0, 14},    // 6 Kiritimati
    {0, 12, 0, -176, 29, 0, -12},   // 7 Baker Island
    {-54, 48, 0, -68, 18, 0, -3},   // 8 Ushuaia
    {-33, 55, 0, 18, 25, 0, 2},     // 9 Cape Town
};

void PlaceAt(const TSite& Site) {
    SetSiteLatitude(Site.LatD, Site.LatM, Site.LatS);
    SetSiteLongitude(Site.LonD, Site.LonM, Site.LonS);
    TimeZone = Site.Zone;
}

struct TReference {
    int Site;
    TDate Date;
    TClock Clock;  // local clock time
    double Altitude, Azimuth;
};

// Apparent topocentric places from a precise ephemeris (PyEphem 4.1.4,
// 1010 hPa, 10 degrees C, sea level): all seasons, and the local times of
// universal midnight and noon one second either side.
const TReference kReferences[] = {
    {0, {2024, 3, 20}, {8, 59, 59}, 37.0492, 122.8499},  // UT 2024-03-19 23:59:59
    {0, {2024, 3, 20}, {9, 0, 1}, 37.0549, 122.8575},  // UT 2024-03-20 00:00:01
    {0, {2024, 3, 20}, {10, 17, 23}, 48.5159, 144.2676},  // UT 2024-03-20 01:17:23
    {0, {2019, 2, 10}, {9, 0, 1}, 24.9779, 132.3562},  // UT 2019-02-10 00:00:01
    {0, {2019, 2, 10}, {15, 41, 7}, 16.8776, 237.5112},  // UT 2019-02-10 06:41:07
    {1, {2024, 6, 21}, {9, 59, 59}, 26.3249, 30.0107},  // UT 2024-06-20 23:59:59
    {1, {2024, 6, 21}, {10, 0, 1}, 26.3284, 30.0031},  // UT 2024-06-21 00:00:01
    {1, {2024, 6, 21}, {10, 17, 23}, 28.0176, 25.9508},  // UT 2024-06-21 00:17:23
    {1, {2031, 8, 5}, {10, 0, 1}, 31.4618, 34.4444},  // UT 2031-08-05 00:00:01
    {1, {2031, 8, 5}, {15, 41, 7}, 17.0793, 305.0304},  // UT 2031-08-05 05:41:07
    {2, {2023, 9, 23}, {8, 59, 59}, 27.1152, 69.4634},  // UT 2023-09-23 11:59:59
    {2, {2023, 9, 23}, {9, 0, 1}, 27.1217, 69.4575},  // UT 2023-09-23 12:00:01
    {2, {2023, 9, 23}, {10, 17, 23}, 41.1104, 53.2220},  // UT 2023-09-23 13:17:23
    {2, {2027, 11, 5}, {9, 0, 1}, 38.0780, 82.9449},  // UT 2027-11-05 12:00:01
    {2, {2027, 11, 5}, {15, 41, 7}, 44.8035, 282.6736},  // UT 2027-11-05 18:41:07
    {3, {2025, 12, 21}, {13, 59, 59}, 40.1869, 207.4005},  // UT 2025-12-21 23:59:59
    {3, {2025, 12, 21}, {14, 0, 1}, 40.1834, 207.4094},  // UT 2025-12-22 00:00:01
    {3, {2025, 12, 22}, {10, 17, 23}, 34.8210, 142.2566},  // UT 2025-12-22 20:17:23
    {3, {2021, 4, 30}, {14, 0, 1}, 67.4307, 257.8506},  // UT 2021-05-01 00:00:01
    {3, {2021, 5, 1}, {15, 41, 7}, 44.0755, 271.1074},  // UT 2021-05-02 01:41:07
    {4, {2019, 2, 10}, {12, 59, 59}, 15.5611, 187.2306},  // UT 2019-02-10 11:59:59
    {4, {2019, 2, 10}, {13, 0, 1}, 15.5606, 187.2389},  // UT 2019-02-10 12:00:01
    {4, {2019, 2, 10}, {10, 17, 23}, 11.0350, 147.0470},  // UT 2019-02-10 09:17:23
    {4, {2024, 3, 20}, {13, 0, 1}, 29.8541, 190.3040},  // UT 2024-03-20 12:00:01
    {4, {2024, 3, 20}, {15, 41, 7}, 19.3333, 233.3349},  // UT 2024-03-20 14:41:07
    {5, {2031, 8, 5}, {12, 59, 59}, 66.0978, 167.6096},  // UT 2031-08-05 11:59:59
    {5, {2031, 8, 5}, {13, 0, 1}, 66.0992, 167.6290},  // UT 2031-08-05 12:00:01
    {5, {2031, 8, 5}, {10, 17, 23}, 44.1436, 106.9776},  // UT 2031-08-05 09:17:23
    {5, {2024, 6, 21}, {13, 0, 1}, 72.6643, 167.0452},  // UT 2024-06-21 12:00:01
    {5, {2024, 6, 21}, {15, 41, 7}, 55.3285, 251.7844},  // UT 2024-06-21 14:41:07
    {6, {2027, 11, 5}, {13, 59, 59}, 58.3852, 235.6583},  // UT 2027-11-04 23:59:59
    {6, {2027, 11, 5}, {14, 0, 1}, 58.3783, 235.6662},  // UT 2027-11-05 00:00:01
    {6, {2027, 11, 5}, {10, 17, 23}, 56.5348, 122.2629},  // UT 2027-11-04 20:17:23
    {6, {2023, 9, 23}, {14, 0, 1}, 65.5023, 266.1676},  // UT 2023-09-23 00:00:01
    {6, {2023, 9, 23}, {15, 41, 7}, 40.2681, 268.5283},  // UT 2023-09-23 01:41:07
    {7, {2021, 4, 30}, {11, 59, 59}, 74.5492, 344.4959},  // UT 2021-04-30 23:59:59
    {7, {2021, 4, 30}, {12, 0, 1}, 74.5469, 344.4669},  // UT 2021-05-01 00:00:01
    {7, {2021, 5, 1}, {10, 17, 23}, 64.0046, 53.3483},  // UT 2021-05-01 22:17:23
    {7, {2025, 12, 21}, {12, 0, 1}, 66.0648, 188.8742},  // UT 2025-12-22 00:00:01
    {7, {2025, 12, 22}, {15, 41, 7}, 28.1003, 243.0963},  // UT 2025-12-23 03:41:07
    {8, {2024, 3, 20}, {8, 59, 59}, 11.2518, 73.4658},  // UT 2024-03-20 11:59:59
    {8, {2024, 3, 20}, {9, 0, 1}, 11.2564, 73.4587},  // UT 2024-03-20 12:00:01
    {8, {2024, 3, 20}, {10, 17, 23}, 21.2686, 56.2111},  // UT 2024-03-20 13:17:23
    {8, {2019, 2, 10}, {9, 0, 1}, 22.1537, 83.5711},  // UT 2019-02-10 12:00:01
    {8, {2019, 2, 10}, {15, 41, 7}, 43.8514, 320.2412},  // UT 2019-02-10 18:41:07
    {9, {2024, 6, 21}, {13, 59, 59}, 30.1890, 340.9296},  // UT 2024-06-21 11:59:59
    {9, {2024, 6, 21}, {14, 0, 1}, 30.1868, 340.9212},  // UT 2024-06-21 12:00:01
    {9, {2024, 6, 21}, {10, 17, 23}, 22.3960, 37.3596},  // UT 2024-06-21 08:17:23
    {9, {2031, 8, 5}, {14, 0, 1}, 36.6726, 339.7072},  // UT 2031-08-05 12:00:01
    {9, {2031, 8, 5}, {15, 41, 7}, 25.2390, 314.7575},  // UT 2031-08-05 13:41:07
};

}  // namespace

TEST_F(SolarPositionTest, AgreesWithAPreciseEphemerisWorldwide) {
    for (const TReference& Ref : kReferences) {
        PlaceAt(kSites[Ref.Site]);
        const TSky Sky = SunAt(Ref.Date, Ref.Clock);
        // By the day series of the same date.
        const TSunPlace Place = TSolarDay().Place(Ref.Clock.Hour, Ref.Clock.Min, Ref.Clock.Sec);
        const TSky DaySky{Place.Altitude, Place.Azimuth()};
        SCOPED_TRACE(testing::Message() << "site " << Ref.Site << ' ' << Ref.Date.Year << '-' << Ref.Date.Month << '-'
                                        << Ref.Date.Day << ' ' << Ref.Clock.Hour << ':' << Ref.Clock.Min << ':'
                                        << Ref.Clock.Sec);
        for (const TSky& Seen : {Sky, DaySky}) {
            EXPECT_NEAR(Seen.Altitude, Ref.Altitude, 0.02);
            EXPECT_LT(Separation(Seen, {Ref.Altitude, Ref.Azimuth}), 0.02);
        }
    }
}

TEST_F(SolarPositionTest, DaySeriesFollowsTheFullSeriesThroughTheDay) {
    // Every site, a day of each season, the leap day, the turn of the year
    // and the equinoxes, when the declination changes fastest.
    const TDate kDates[] = {{2024, 1, 1},  {2024, 2, 29}, {2024, 3, 20}, {2024, 6, 21},
                            {2024, 9, 22}, {2024, 12, 31}, {2031, 7, 4}, {1995, 10, 15}};
    for (const TSite& Site : kSites)
        for (const TDate& Date : kDates) {
            PlaceAt(Site);
            ASSERT_TRUE(SetSolarDate(Date.Year, Date.Month, Date.Day));
            const TSolarDay Day;
            for (int Minute = 0; Minute < 1440; ++Minute) {
                const TClock Clock{Minute / 60, Minute % 60, (7 * Minute) % 60};
                TSky Full{};
                SunPosition(Clock.Hour, Clock.Min, Clock.Sec, Full.Azimuth, Full.Altitude);
                const TSunPlace Place = Day.Place(Clock.Hour, Clock.Min, Clock.Sec);
                const TSky Series{Place.Altitude, Place.Azimuth()};
                if (Separation(Full, Series) > 1e-5)
                    ADD_FAILURE() << "site at " << Site.LatD << ' ' << Site.LonD << ", " << Date.Year << '-'
                                  << Date.Month << '-' << Date.Day << ' ' << Clock.Hour << ':' << Clock.Min << ':'
                                  << Clock.Sec << ": " << Separation(Full, Series);
            }
        }
}

TEST_F(SolarPositionTest, ContinuousAcrossUniversalMidnightAndNoon) {
    struct TCrossing {
        int Site;
        TDate Date;
        TClock Before, After;
    };
    const TCrossing kCrossings[] = {
        {0, {2024, 6, 21}, {8, 59, 59}, {9, 0, 0}},     // Tokyo, universal midnight
        {3, {2024, 6, 20}, {13, 59, 59}, {14, 0, 0}},   // Honolulu, universal midnight
        {5, {2024, 6, 21}, {12, 59, 59}, {13, 0, 0}},   // Madrid, universal noon
        {2, {2023, 9, 23}, {8, 59, 59}, {9, 0, 0}},     // Buenos Aires, universal noon
        {6, {2027, 11, 5}, {13, 59, 59}, {14, 0, 0}},   // Kiritimati, universal midnight
    };
    for (const TCrossing& C : kCrossings) {
        PlaceAt(kSites[C.Site]);
        // One second of the sun's motion is at most 0.005 degrees.
        EXPECT_LT(Separation(SunAt(C.Date, C.Before), SunAt(C.Date, C.After)), 0.005) << "site " << C.Site;
    }
}

TEST_F(SolarPositionTest, ZoneFollowsTheSettingAndCarriesTheDate) {
    EXPECT_EQ(TimeZone, 9.0);
    SetSiteLatitude(1, 52, 0);
    SetSiteLongitude(-157, 24, 0);
    const auto Same = [](TDate LocalDate, TClock Local, double Zone, TDate UtDate, TClock Ut) {
        TimeZone = Zone;
        const TSky A = SunAt(LocalDate, Local);
        TimeZone = 0.0;
        const TSky B = SunAt(UtDate, Ut);
        EXPECT_NEAR(A.Altitude, B.Altitude, 1e-7) << "zone " << Zone;
        EXPECT_NEAR(A.Azimuth, B.Azimuth, 1e-7) << "zone " << Zone;
    };
    Same({2024, 3, 1}, {5, 0, 0}, 14, {2024, 2, 29}, {15, 0, 0});
    Same({2024, 12, 31}, {20, 0, 0}, -12, {2025, 1, 1}, {8, 0, 0});
    Same({2023, 3, 1}, {3, 0, 0}, 5.5, {2023, 2, 28}, {21, 30, 0});
    Same({2024, 6, 21}, {12, 0, 0}, 9, {2024, 6, 21}, {3, 0, 0});
}

TEST_F(SolarPositionTest, ProbePrintsAltitudeAndAzimuthForDecimalSites) {
    const QString Probe = QDir(TAM32_BIN_DIR).filePath("tam32-probe");
    if (!QFile::exists(Probe)) GTEST_SKIP() << "tam32-probe is not built";
    const auto Run = [&](const QStringList& Args, QString& Out) {
        QProcess P;
        P.start(Probe, QStringList{"sun"} + Args);
        EXPECT_TRUE(P.waitForFinished(10000));
        Out = QString::fromUtf8(P.readAllStandardOutput()).trimmed();
        return P.exitCode();
    };
    QString Out;
    ASSERT_EQ(Run({"-34.6037", "-58.3816", "2027-11-05", "15:41:07", "--tz", "-3"}, Out), 0);
    QStringList Values = Out.split(' ');
    ASSERT_EQ(Values.size(), 2) << Out.toStdString();
    EXPECT_EQ(Values[0].section('.', 1).size(), 6);
    EXPECT_NEAR(Values[0].toDouble(), 44.8147, 0.02);
    EXPECT_NEAR(Values[1].toDouble(), 282.6884, 0.03);
    ASSERT_EQ(Run({"35.6812", "139.7671", "2024-06-21", "12:00:00"}, Out), 0);  // the default zone, 9
    Values = Out.split(' ');
    ASSERT_EQ(Values.size(), 2) << Out.toStdString();
    EXPECT_NEAR(Values[0].toDouble(), 77.2037, 0.02);
    EXPECT_NEAR(Values[1].toDouble(), 198.1210, 0.1);
    EXPECT_NE(Run({"35", "139", "2023-02-29", "12:00:00"}, Out), 0);
    EXPECT_NE(Run({"35", "139", "2023-02-28", "24:00:00"}, Out), 0);
    EXPECT_NE(Run({"35", "139", "2023-02-28", "12:00:00", "--tz", "15"}, Out), 0);
}
