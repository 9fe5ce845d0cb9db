#include "analysis/RowBlocks.h"

#include <QtGlobal>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tam32 {
namespace {

// Blocks in flight per thread: enough that a thread with short rows finds
// more work while another finishes a long block.
constexpr int kSlotsPerThread = 4;

int ChosenThreads = 0;

// Threads that wait for a batch of jobs, which they and the calling thread
// share out by an atomic counter.
class TWorkerPool {
public:
    explicit TWorkerPool(int Workers) {
        for (int I = 0; I < Workers; ++I) FThreads.emplace_back([this] { Serve(); });
    }
    ~TWorkerPool() {
        {
            const std::lock_guard Lock(FMutex);
            FStopping = true;
        }
        FWake.notify_all();
        for (std::thread& Thread : FThreads) Thread.join();
    }
    TWorkerPool(const TWorkerPool&) = delete;
    TWorkerPool& operator=(const TWorkerPool&) = delete;

    int Workers() const { return int(FThreads.size()); }

    // Job(0 .. Count - 1), each once; returns when all have returned. Job must not throw.
    void Run(int Count, const std::function<void(int)>& Job) {
        {
            const std::lock_guard Lock(FMutex);
            FJob = &Job;
            FCount = Count;
            FNext.store(0);
            FBusy = int(FThreads.size());
            ++FBatch;
        }
        FWake.notify_all();
        Share(Job, Count);
        std::unique_lock Lock(FMutex);
        FIdle.wait(Lock, [this] { return FBusy == 0; });
        FJob = nullptr;
    }

private:
    void Share(const std::function<void(int)>& Job, int Count) {
        for (int I = FNext.fetch_add(1); I < Count; I = FNext.fetch_add(1)) Job(I);
    }

    void Serve() {
        unsigned long long Seen = 0;
        for (;;) {
            const std::function<void(int)>* Job;
            int Count;
            {
                std::unique_lock Lock(FMutex);
                FWake.wait(Lock, [&] { return FStopping || FBatch != Seen; });
                if (FStopping) return;
                Seen = FBatch;
                Job = FJob;
                Count = FCount;
            }
            Share(*Job, Count);
            {
                const std::lock_guard Lock(FMutex);
                if (--FBusy == 0) FIdle.notify_one();
            }
        }
    }

    std::vector<std::thread> FThreads;
    std::mutex FMutex;
    std::condition_variable FWake, FIdle;
    const std::function<void(int)>* FJob = nullptr;
    int FCount = 0, FBusy = 0;
    unsigned long long FBatch = 0;
    bool FStopping = false;
    std::atomic<int> FNext{0};
};

TWorkerPool& Pool(int Threads) {
    static std::unique_ptr<TWorkerPool> Kept;
    if (!Kept || Kept->Workers() != Threads - 1) {
        Kept.reset();
        Kept = std::make_unique<TWorkerPool>(Threads - 1);
    }
    return *Kept;
}

}  // namespace

int AnalysisThreads() {
    if (ChosenThreads > 0) return ChosenThreads;
    bool Ok = false;
    const int FromEnvironment = qEnvironmentVariableIntValue("TAM32_THREADS", &Ok);
    if (Ok && FromEnvironment > 0) return FromEnvironment;
    return int(std::max(1u, std::thread::hardware_concurrency()));
}

void SetAnalysisThreads(int Count) { ChosenThreads = std::max(Count, 0); }

int RowBlockSlots() {
    const int Threads = AnalysisThreads();
    return Threads == 1 ? 1 : Threads * kSlotsPerThread;
}

void ForEachRowBlock(int First, int Last, const std::function<void(const TRowBlock&)>& Work,
                     const std::function<void(const TRowBlock&)>& Done) {
    ForEachBlockOf(kRowsPerBlock, First, Last, Work, Done);
}

void ForEachBlockOf(int Size, int First, int Last, const std::function<void(const TRowBlock&)>& Work,
                    const std::function<void(const TRowBlock&)>& Done) {
    if (First > Last) return;
    const int Blocks = int((int64_t(Last) - First) / Size + 1);
    const auto BlockAt = [&](int Index, int Slot) {
        const int Start = int(First + int64_t(Index) * Size);
        return TRowBlock{Start, int(std::min<int64_t>(int64_t(Start) + Size - 1, Last)), Slot};
    };
    const int Threads = AnalysisThreads();
    if (Threads == 1) {
        for (int Index = 0; Index < Blocks; ++Index) {
            const TRowBlock Block = BlockAt(Index, 0);
            Work(Block);
            Done(Block);
        }
        return;
    }
    const int Slots = RowBlockSlots();
    std::vector<std::exception_ptr> Failures(std::size_t(Slots), nullptr);
    for (int Start = 0; Start < Blocks; Start += Slots) {
        const int Count = std::min(Slots, Blocks - Start);
        Pool(Threads).Run(Count, [&](int Slot) {
            try {
                Work(BlockAt(Start + Slot, Slot));
            } catch (...) {
                Failures[std::size_t(Slot)] = std::current_exception();
            }
        });
        for (int Slot = 0; Slot < Count; ++Slot) {
            if (Failures[std::size_t(Slot)]) std::rethrow_exception(Failures[std::size_t(Slot)]);
            Done(BlockAt(Start + Slot, Slot));
        }
    }
}

}  // namespace tam32
