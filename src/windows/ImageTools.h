#pragma once
// The mouse tools of an image window, stored as integers in its fields.

namespace tam32 {

enum TMeasureTool : int {
    mtLineProfile = 0,
    mtDistance = 2,
    mtNorthDirection = 3,
    mtAngle = 4,
    mtScaleByLine = 5,
    mtMouseDetectCircle = 7,
    mtCorrectDistortion = 8,
    mtZenithAngle = 9,
    mtPolyline = 10,
};

enum TPickTool : int {
    ptNone = -1,
    ptSamplePoint = 0,
    ptMoveCircle = 1,
    ptSearchColor = 2,
    ptGCP = 3,
    ptCircle3Points = 4,
};

}  // namespace tam32
