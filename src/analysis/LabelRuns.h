#pragma once
// The labelling core: the runs of a binary picture (maximal stretches of
// flagged pixels in a row) joined into 8-connected objects. Runs of adjacent
// rows that touch, corners included, belong to one object; each object keeps
// the smallest run index among its runs, so objects are numbered 1..N in the
// raster order of their first pixels. The tables start at a given size and
// grow with the picture; coordinates are 32-bit, coordinate sums 64-bit.
#include <cstdint>
#include <vector>

namespace tam32 {

class TLabelRuns {
public:
    // Rows come one after another from row Top; ReservedRuns is the tables'
    // starting size. std::bad_alloc when memory runs out.
    TLabelRuns(int Top, std::size_t ReservedRuns);

    // Adds the next row: the runs of the nonzero Flags[First..Last], joined
    // with the touching runs of the row before.
    void AddRow(const uint8_t* Flags, int First, int Last);
    // Numbers the objects (RunLabel becomes each run's object number) and
    // measures them; the number of objects.
    int Label();

    int RunCount() const { return int(RunStartX.size()); }
    int ObjectCount() const { return int(ObjectArea.size()) - 1; }
    // Whether pixel (X, Y) lies in a run of object Object; false outside the rows added.
    bool InObject(int Object, int X, int Y) const;

    // Per run: first and last column (inclusive), row, object number.
    std::vector<int32_t> RunStartX, RunEndX, RunY, RunLabel;
    // The runs of row Top + R are RowFirstRun[R] .. RowFirstRun[R + 1] - 1.
    std::vector<int32_t> RowFirstRun;
    // Per object 1..N (entry 0 unused): pixel count, sums of the pixels' x
    // and y, and its first run.
    std::vector<int64_t> ObjectArea, ObjectSumX, ObjectSumY;
    std::vector<int32_t> ObjectFirstRun;

private:
    int32_t Find(int32_t Run);
    void Join(int32_t A, int32_t B);

    int FTop;
    std::vector<int32_t> FParent;  // union-find; a root is its object's smallest run index
};

}  // namespace tam32
