#pragma once
// A paint device that records what a QPainter draws into a Windows metafile:
// lines, outlines and fills become polylines and polygons, text becomes
// text records; pictures are not recorded. Lets anything that paints with
// QPainter (a chart, a widget) be saved as a metafile.
#include <QPaintDevice>
#include <memory>

#include "platform/WmfWriter.h"

namespace tam32 {

class TWmfPaintEngine;

class TWmfPaintDevice : public QPaintDevice {
public:
    TWmfPaintDevice(int Width, int Height);
    ~TWmfPaintDevice() override;

    QPaintEngine* paintEngine() const override;
    // What was painted so far.
    const TWmfWriter& Writer() const { return FWriter; }

protected:
    int metric(PaintDeviceMetric Metric) const override;

private:
    int FWidth, FHeight;
    TWmfWriter FWriter;
    std::unique_ptr<TWmfPaintEngine> FEngine;
};

}  // namespace tam32
