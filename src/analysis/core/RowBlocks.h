#pragma once
// The pixel passes of the analyses on the machine's cores. A pass's rows are
// split into blocks of a fixed number of rows, so what a block tallies never
// depends on how many threads run; the threads work on the blocks and the
// calling thread takes each block back in row order, merging its tallies and
// sending its progress while the threads go on with the blocks after it.
// Results are therefore the same for any thread count. With one thread the
// calling thread works every block itself, in order.
#include <cstddef>
#include <functional>
#include <thread>
#include <vector>

namespace tam32 {

// Rows per block.
constexpr int kRowsPerBlock = 16;

// The threads of the passes: TAM32_THREADS when it holds a positive number,
// else every core, unless SetAnalysisThreads chose a count.
int AnalysisThreads();
// Count 0 returns to the environment's or the machine's count.
void SetAnalysisThreads(int Count);

// How the passes' threads are started: std::thread unless a test gives a
// factory (one that throws std::system_error stands for a system that
// refuses a thread). A pass runs with the threads that could be started,
// down to the calling thread alone. Nullptr returns to std::thread.
using TThreadFactory = std::function<std::thread(std::function<void()> Run)>;
void SetThreadFactory(TThreadFactory Factory);

struct TRowBlock {
    int First = 0, Last = -1;  // rows, inclusive
    int Slot = 0;              // 0 .. RowBlockSlots() - 1: the block's place among those in flight
};

// How many blocks are in flight at once, so a pass keeps that many tallies.
int RowBlockSlots();

// A T for each slot, each on cache lines of its own: blocks in flight that
// share a line would slow each other's every count.
template <typename T>
class TBlockSlots {
public:
    TBlockSlots() : FSlots(static_cast<std::size_t>(RowBlockSlots())) {}
    T& operator[](int Slot) { return FSlots[std::size_t(Slot)].Value; }

private:
    struct alignas(64) TSlot {
        T Value{};
    };
    std::vector<TSlot> FSlots;
};

// Work(Block) for the blocks of rows First..Last on the threads; Done(Block)
// on the calling thread in row order, each after its block's Work, so Done
// may reach the engine host and Work must not. An exception from a Work is
// raised again here after the Done of every block before it; no later
// block is Done. Passes do not nest.
void ForEachRowBlock(int First, int Last, const std::function<void(const TRowBlock&)>& Work,
                     const std::function<void(const TRowBlock&)>& Done);
// The same without a Done.
inline void ForEachRowBlock(int First, int Last, const std::function<void(const TRowBlock&)>& Work) {
    ForEachRowBlock(First, Last, Work, [](const TRowBlock&) {});
}
// As ForEachRowBlock over items First..Last (days, say) in blocks of Size.
void ForEachBlockOf(int Size, int First, int Last, const std::function<void(const TRowBlock&)>& Work,
                    const std::function<void(const TRowBlock&)>& Done = [](const TRowBlock&) {});

}  // namespace tam32
