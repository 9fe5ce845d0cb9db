// The PAR estimate and the sun tracks as routines of "tam32-probe run", with
// the bounds of the set times and dates as variables, e.g.
//   run PAREstimate IMAGE --circle X,Y,R --north DEG --set PARPeriod=5 --set PARStartHour=6 ...
//   run DrawSunTrackOnImage IMAGE --circle X,Y,R --north DEG --out TRACK.bmp
#include <QImage>

#include "ProbeRun.h"
#include "analysis/GlobalSettings.h"
#include "analysis/PAREstimate.h"
#include "analysis/SunTrack.h"
#include "platform/Bitmap.h"

namespace tam32::probe {
namespace {

TProbeVariable IntSetting(int32_t& Variable) {
    return {[&Variable] { return QStringList{QString::number(Variable)}; },
            [&Variable](const QString& Text) {
                bool Ok = false;
                const int Value = Text.toInt(&Ok);
                if (Ok) Variable = Value;
                return Ok;
            }};
}

const RegisterProbeVariable kPARStartMonth("PARStartMonth", IntSetting(PARStartMonth));
const RegisterProbeVariable kPARStartDay("PARStartDay", IntSetting(PARStartDay));
const RegisterProbeVariable kPAREndMonth("PAREndMonth", IntSetting(PAREndMonth));
const RegisterProbeVariable kPAREndDay("PAREndDay", IntSetting(PAREndDay));
const RegisterProbeVariable kPARStartHour("PARStartHour", IntSetting(PARStartHour));
const RegisterProbeVariable kPARStartMinute("PARStartMinute", IntSetting(PARStartMinute));
const RegisterProbeVariable kPAREndHour("PAREndHour", IntSetting(PAREndHour));
const RegisterProbeVariable kPAREndMinute("PAREndMinute", IntSetting(PAREndMinute));

const RegisterProbeRoutine kPAREstimate("PAREstimate", PAREstimate);

// The tracks are drawn on the window's picture: the image itself when no
// earlier routine painted one.
const RegisterProbeRoutine kDrawSunTrackOnImage("DrawSunTrackOnImage",
                                                [](const QString& File, TBitmap& Image, const TRect&) {
                                                    if (Image.Empty()) {
                                                        const QImage Picture(File);
                                                        if (Picture.isNull()) return true;
                                                        Image.SetImage(Picture.convertToFormat(QImage::Format_BGR888));
                                                    }
                                                    DrawSunTrackOnImage(Image);
                                                    return false;
                                                });

}  // namespace
}  // namespace tam32::probe
