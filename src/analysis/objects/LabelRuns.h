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

// The runs of a few consecutive rows, found apart from the labelling (on any
// thread, say) and then added to it row by row.
struct TRowRuns {
    // First and last column (inclusive) of each run, row after row, in column order.
    std::vector<int32_t> StartX, EndX;
    // Per row, one past the index of its last run.
    std::vector<int32_t> RowEnd;

    int Rows() const { return int(RowEnd.size()); }
    // Forgets the rows, keeping the tables' room.
    void Clear();
    // Appends the runs of the nonzero Flags[First..Last] as the next row.
    void AddRow(const uint8_t* Flags, int First, int Last);
};

class TLabelRuns {
public:
    // Rows come one after another from row Top; ReservedRuns is the tables'
    // starting size. std::bad_alloc when memory runs out.
    TLabelRuns(int Top, std::size_t ReservedRuns);

    // Adds the next row: row Row of Rows, its runs joined with the touching
    // runs of the row before.
    void AddRow(const TRowRuns& Rows, int Row);
    // The same for the runs of the nonzero Flags[First..Last].
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
    TRowRuns FFlagRuns;            // AddRow's runs of a row of flags
    std::vector<int32_t> FParent;  // union-find; a root is its object's smallest run index
};

}  // namespace tam32
