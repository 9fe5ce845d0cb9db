#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

#include "analysis/core/RowBlocks.h"

namespace tam32::test {
namespace {

// Chooses a thread count for one test and returns to the machine's after it.
class ThreadCount {
public:
    explicit ThreadCount(int Count) { SetAnalysisThreads(Count); }
    ~ThreadCount() { SetAnalysisThreads(0); }
};

// The system refuses the threads after the first Started for one test.
class RefusedThreads {
public:
    explicit RefusedThreads(int Started) {
        SetThreadFactory([Started, Count = 0](std::function<void()> Run) mutable {
            if (++Count > Started) throw std::system_error(EAGAIN, std::generic_category(), "no more threads");
            return std::thread(std::move(Run));
        });
    }
    ~RefusedThreads() { SetThreadFactory(nullptr); }
};

TEST(RowBlocksTest, EveryRowIsWorkedOnceAndBlocksAreDoneInRowOrder) {
    struct TCase {
        int Threads, First, Last;
        int Started = std::numeric_limits<int>::max();  // the threads the system starts
    };
    for (const TCase C : {TCase{1, 0, 100}, TCase{3, -7, 40}, TCase{8, 5, 5}, TCase{8, 0, 999}, TCase{4, 10, 9},
                          TCase{8, 0, 999, 2}, TCase{4, 0, 300, 0}}) {
        SCOPED_TRACE(testing::Message() << C.Threads << " threads (" << C.Started << " started), rows " << C.First
                                        << ".." << C.Last);
        const ThreadCount Threads(C.Threads);
        const RefusedThreads Refused(C.Started);
        const int Rows = std::max(C.Last - C.First + 1, 0);
        std::vector<int> Worked(std::size_t(Rows), 0);
        std::vector<int> DoneRows;
        ForEachRowBlock(
            C.First, C.Last,
            [&](const TRowBlock& Block) {
                EXPECT_LE(Block.Last - Block.First + 1, kRowsPerBlock);
                for (int Y = Block.First; Y <= Block.Last; ++Y) ++Worked[std::size_t(Y - C.First)];
            },
            [&](const TRowBlock& Block) {
                for (int Y = Block.First; Y <= Block.Last; ++Y) DoneRows.push_back(Y);
            });
        EXPECT_EQ(Worked, std::vector<int>(std::size_t(Rows), 1));
        ASSERT_EQ(int(DoneRows.size()), Rows);
        for (int I = 0; I < Rows; ++I) EXPECT_EQ(DoneRows[std::size_t(I)], C.First + I);
    }
}

TEST(RowBlocksTest, AFailingBlockEndsThePassAfterTheBlocksBeforeItAreDone) {
    for (int Count : {1, 8}) {
        SCOPED_TRACE(Count);
        const ThreadCount Threads(Count);
        int LastDone = -1;
        EXPECT_THROW(ForEachRowBlock(
                         0, 999,
                         [](const TRowBlock& Block) {
                             if (Block.First <= 500 && 500 <= Block.Last) throw std::runtime_error("row 500");
                         },
                         [&](const TRowBlock& Block) { LastDone = Block.Last; }),
                     std::runtime_error);
        // Row 500 lies in the block of rows 496..511.
        EXPECT_EQ(LastDone, 495);
    }
}

TEST(RowBlocksTest, TheThreadCountIsTheChosenOneElseTheEnvironmentsElseEveryCore) {
    qputenv("TAM32_THREADS", QByteArray("3"));
    EXPECT_EQ(AnalysisThreads(), 3);
    SetAnalysisThreads(2);
    EXPECT_EQ(AnalysisThreads(), 2);
    SetAnalysisThreads(0);
    EXPECT_EQ(AnalysisThreads(), 3);
    for (const char* Unusable : {"0", "-2", "many"}) {
        SCOPED_TRACE(Unusable);
        qputenv("TAM32_THREADS", QByteArray(Unusable));
        EXPECT_EQ(AnalysisThreads(), int(std::max(1u, std::thread::hardware_concurrency())));
    }
    qunsetenv("TAM32_THREADS");
}

}  // namespace
}  // namespace tam32::test
