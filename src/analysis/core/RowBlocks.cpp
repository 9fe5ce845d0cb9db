#include "analysis/core/RowBlocks.h"

#include <QtGlobal>
#include <algorithm>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace tam32 {
namespace {

// Blocks in flight per thread: enough that a thread with short rows finds
// more work while another finishes a long block.
constexpr int kSlotsPerThread = 4;

int ChosenThreads = 0;
TThreadFactory ThreadFactory;

std::thread StartThread(std::function<void()> Run) {
    return ThreadFactory ? ThreadFactory(std::move(Run)) : std::thread(std::move(Run));
}

// Threads that wait for a job, which each of them runs once.
class TWorkerPool {
public:
    // As many as the system starts: a refused thread leaves the work to the others.
    explicit TWorkerPool(int Workers) {
        FThreads.reserve(std::size_t(Workers));
        try {
            for (int I = 0; I < Workers; ++I) FThreads.push_back(StartThread([this] { Serve(); }));
        } catch (const std::system_error&) {
        }
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

    // Each worker runs Job once; Job must not throw and must outlive Wait.
    void Start(const std::function<void()>& Job) {
        {
            const std::lock_guard Lock(FMutex);
            FJob = &Job;
            FBusy = int(FThreads.size());
            ++FBatch;
        }
        FWake.notify_all();
    }
    // Until every worker has returned from the job.
    void Wait() {
        std::unique_lock Lock(FMutex);
        FIdle.wait(Lock, [this] { return FBusy == 0; });
        FJob = nullptr;
    }

private:
    void Serve() {
        unsigned long long Seen = 0;
        for (;;) {
            const std::function<void()>* Job;
            {
                std::unique_lock Lock(FMutex);
                FWake.wait(Lock, [&] { return FStopping || FBatch != Seen; });
                if (FStopping) return;
                Seen = FBatch;
                Job = FJob;
            }
            (*Job)();
            {
                const std::lock_guard Lock(FMutex);
                if (--FBusy == 0) FIdle.notify_one();
            }
        }
    }

    std::vector<std::thread> FThreads;
    std::mutex FMutex;
    std::condition_variable FWake, FIdle;
    const std::function<void()>* FJob = nullptr;
    int FBusy = 0;
    unsigned long long FBatch = 0;
    bool FStopping = false;
};

// The pool of the last pass, kept for the next one of the same thread count.
std::unique_ptr<TWorkerPool> KeptPool;
int KeptPoolThreads = 0;

TWorkerPool& Pool(int Threads) {
    if (!KeptPool || KeptPoolThreads != Threads) {
        KeptPool.reset();
        KeptPool = std::make_unique<TWorkerPool>(Threads - 1);
        KeptPoolThreads = Threads;
    }
    return *KeptPool;
}

// The blocks of one pass as the threads share them out: a block starts once
// the block that held its slot before is done, so the calling thread takes
// the blocks back in order while the threads work on those after them.
class TPass {
public:
    TPass(int Blocks, int Slots, const std::function<void(int Index, int Slot)>& Work)
        : FBlocks(Blocks), FSlots(Slots), FReleased(Slots), FFinished(std::size_t(Blocks), false),
          FFailures(std::size_t(Slots)), FWork(Work) {}

    // A worker's share: blocks until none is left or the pass stops.
    void Serve() {
        std::unique_lock Lock(FMutex);
        for (;;) {
            FStartable.wait(Lock, [this] { return FStopped || FNext >= FBlocks || FNext < FReleased; });
            if (FStopped || FNext >= FBlocks) return;
            RunNext(Lock);
        }
    }
    // Waits until block Index has been worked on, working on others meanwhile;
    // raises again what its Work raised.
    void AwaitBlock(int Index) {
        std::unique_lock Lock(FMutex);
        while (!FFinished[std::size_t(Index)]) {
            if (FNext < FBlocks && FNext < FReleased)
                RunNext(Lock);
            else
                FBlockFinished.wait(Lock);
        }
        if (const std::exception_ptr Failure = FFailures[std::size_t(Index % FSlots)]) std::rethrow_exception(Failure);
    }
    // Block Index is done: the block after it that shares its slot may start.
    void Release(int Index) {
        {
            const std::lock_guard Lock(FMutex);
            FReleased = Index + 1 + FSlots;
        }
        FStartable.notify_one();
    }
    // No block starts any more.
    void Stop() {
        {
            const std::lock_guard Lock(FMutex);
            FStopped = true;
        }
        FStartable.notify_all();
    }

private:
    void RunNext(std::unique_lock<std::mutex>& Lock) {
        const int Index = FNext++;
        Lock.unlock();
        std::exception_ptr Failure;
        try {
            FWork(Index, Index % FSlots);
        } catch (...) {
            Failure = std::current_exception();
        }
        Lock.lock();
        FFailures[std::size_t(Index % FSlots)] = Failure;
        FFinished[std::size_t(Index)] = true;
        FBlockFinished.notify_one();
    }

    const int FBlocks, FSlots;
    std::mutex FMutex;
    std::condition_variable FStartable, FBlockFinished;
    int FNext = 0;      // the next block to start
    int FReleased;      // blocks before this one may start
    bool FStopped = false;
    std::vector<bool> FFinished;
    std::vector<std::exception_ptr> FFailures;  // by slot
    const std::function<void(int, int)>& FWork;
};

}  // namespace

int AnalysisThreads() {
    if (ChosenThreads > 0) return ChosenThreads;
    bool Ok = false;
    const int FromEnvironment = qEnvironmentVariableIntValue("TAM32_THREADS", &Ok);
    if (Ok && FromEnvironment > 0) return FromEnvironment;
    return int(std::max(1u, std::thread::hardware_concurrency()));
}

void SetAnalysisThreads(int Count) { ChosenThreads = std::max(Count, 0); }

void SetThreadFactory(TThreadFactory Factory) {
    KeptPool.reset();  // the next pass starts its threads the new way
    ThreadFactory = std::move(Factory);
}

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
    const std::function<void(int, int)> WorkOn = [&](int Index, int Slot) { Work(BlockAt(Index, Slot)); };
    TPass Pass(Blocks, Slots, WorkOn);
    const std::function<void()> Serve = [&Pass] { Pass.Serve(); };
    TWorkerPool& Workers = Pool(Threads);
    Workers.Start(Serve);
    // However the pass ends, no thread is left working on it.
    struct TFinish {
        TPass& Pass;
        TWorkerPool& Workers;
        ~TFinish() {
            Pass.Stop();
            Workers.Wait();
        }
    } Finish{Pass, Workers};
    for (int Index = 0; Index < Blocks; ++Index) {
        Pass.AwaitBlock(Index);
        Done(BlockAt(Index, Index % Slots));
        Pass.Release(Index);
    }
}

}  // namespace tam32
