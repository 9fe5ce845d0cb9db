#pragma once
// The gap fraction count while the picture decodes. libjpeg decodes on one
// thread; the other threads count each block of rows as soon as its rows
// are decoded, so that by the end of the decoding little is left to count.
// The blocks, their counts and their merging are those of the count after
// the decoding, so the results are the same to the last bit. A picture
// refused at its very end (a JPEG cut short in its last rows) withdraws its
// rows first: what was counted of them is dropped, and the run fails as any
// run on a picture that cannot be read.
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "analysis/canopy/GapFractionCount.h"
#include "import/DecodedRows.h"
#include "platform/PixelBits.h"

namespace tam32 {

class TGapCountWhileDecoding final : public TDecodedRowsWatch {
public:
    // Whether a run with the settings in force can count while its picture
    // decodes: on more than one thread, a fixed threshold on one channel
    // whose histogram nobody reads, the picture read as it is (neither
    // distortion-corrected nor shrunk) and the geometry tabled.
    static bool Applies();

    // For Area (inclusive), the gaps marked when Drawn; watching the
    // decoding on the calling thread from now on.
    TGapCountWhileDecoding(const TRect& Area, bool Drawn);
    ~TGapCountWhileDecoding() override;

    void RowsDecoded(const TDecodedRows& Rows) override;
    void RowsWithdrawn() override;

    // The decoding is over: waits for the blocks still being counted.
    void Join();
    // After Join: when the count covers the loaded analysis image within Box,
    // shows each block's progress, adds the count to All and hands the
    // gaps' marks to Gaps; false when the rows are to be counted afresh.
    bool Take(const TRect& Box, TGapTallies& All, TPixelBits& Gaps);

private:
    // Stops the blocks that wait for rows, then waits for the counting thread.
    void Stop();
    // On the counting thread: the geometry, then the blocks as their rows come.
    void Count();
    // On an analysis thread: until the rows of Block are decoded; false
    // when the decoding ended without them.
    bool AwaitRows(const TRowBlock& Block);

    const TRect FArea;
    const bool FDrawn;
    TRect FBox{0, 0, -1, -1};
    TDecodedRows FRows;
    TPixelBits FGaps;
    TGapTallies FAll;
    std::vector<TRowBlock> FBlocks;  // those counted, in order
    bool FWhole = false;             // every block of the box was counted
    std::exception_ptr FFailure;

    std::mutex FMutex;
    std::condition_variable FRowsCame;
    int FRowsDone = 0;
    int FThreads = 1;
    bool FEnded = false;  // no more rows come
    std::thread FCounting;
};

}  // namespace tam32
