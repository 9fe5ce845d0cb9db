#pragma once
// SANE's "test" backend as the only scanner, configured by a folder of the
// test program's own that SANE_CONFIG_DIR names; each set-up rewrites its
// dll.conf (naming "test") and test.conf (describing the picture).
//
// SANE's libraries keep data they never free in static variables, and the
// source manager unloads them after every acquisition, so the leak checker
// would count that memory as ours. The test program therefore keeps them
// loaded; they remember the configuration folder, which stays the same.
#include <QByteArray>
#include <QImage>

namespace tam32::test {

struct SaneTestPicture {
    QByteArray Mode = "Gray";     // or "Color"
    int Depth = 8;                // 1, 8 or 16
    QByteArray Picture = "Grid";  // or "Solid black", "Solid white", "Color pattern"
    int Resolution = 50;
    double WidthMm = 80;
    double HeightMm = 100;
    bool ThreePass = false;
    QByteArray ThreePassOrder = "RGB";
    bool HandScanner = false;
    int PixelsLostPerLine = 0;
    QByteArray ReadStatus = "Default";  // a SANE status name makes every read fail with it
    bool WithBackend = true;            // false: no device at all
};

// False when the folder cannot be written.
bool SetUpSane(const SaneTestPicture& Picture = {});
// The picture as SANE's command-line frontend scans it from test:0 now;
// null when the scan fails.
QImage ScannedByFrontend();
// SANE's "test" backend, which these tests scan from, is where SANE keeps its backends.
bool TestBackendInstalled();

}  // namespace tam32::test
