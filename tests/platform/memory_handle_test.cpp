#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "platform/MemoryHandle.h"

using namespace tam32;

TEST(MemoryHandle, AllocLockSizeFree) {
    HLOCAL Handle = LocalAlloc(LHND, 100);
    ASSERT_NE(Handle, nullptr);
    EXPECT_EQ(LocalSize(Handle), 100u);
    auto* Bytes = static_cast<uint8_t*>(LocalLock(Handle));
    ASSERT_NE(Bytes, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(Bytes) % alignof(std::max_align_t), 0u);
    for (int I = 0; I < 100; ++I) ASSERT_EQ(Bytes[I], 0) << "not zeroed at " << I;
    std::memset(Bytes, 0xAB, 100);
    LocalLock(Handle);
    EXPECT_TRUE(LocalUnlock(Handle));  // still locked once
    EXPECT_FALSE(LocalUnlock(Handle));
    EXPECT_FALSE(LocalUnlock(Handle));  // not locked at all
    EXPECT_EQ(static_cast<uint8_t*>(GlobalLock(Handle))[99], 0xAB);
    GlobalUnlock(Handle);
    EXPECT_EQ(LocalFree(Handle), nullptr);
}

TEST(MemoryHandle, EmptyAndImpossibleSizes) {
    HLOCAL Empty = LocalAlloc(LMEM_FIXED, 0);
    ASSERT_NE(Empty, nullptr);
    EXPECT_EQ(LocalSize(Empty), 0u);
    EXPECT_EQ(LocalFree(Empty), nullptr);
    EXPECT_EQ(LocalAlloc(LMEM_FIXED, SIZE_MAX), nullptr);
    EXPECT_EQ(GlobalAlloc(GHND, SIZE_MAX - 8), nullptr);
}

TEST(MemoryHandle, FreedAndMadeUpHandlesAreRefused) {
    HLOCAL Freed = LocalAlloc(LMEM_FIXED, 16);
    ASSERT_NE(Freed, nullptr);
    ASSERT_EQ(LocalFree(Freed), nullptr);
    alignas(16) unsigned char Fake[64] = {};
    for (HLOCAL Handle : {Freed, reinterpret_cast<HLOCAL>(Fake), reinterpret_cast<HLOCAL>(uintptr_t{0x1234})}) {
        EXPECT_FALSE(IsValidMemoryHandle(Handle));
        EXPECT_EQ(LocalLock(Handle), nullptr);
        EXPECT_FALSE(LocalUnlock(Handle));
        EXPECT_EQ(LocalSize(Handle), 0u);
        EXPECT_EQ(LocalFree(Handle), Handle);  // refused, nothing freed twice
    }
    EXPECT_EQ(LocalLock(nullptr), nullptr);
    EXPECT_EQ(LocalFree(nullptr), nullptr);
}

TEST(MemoryLock, UnlocksAtTheEndOfItsScope) {
    HLOCAL Handle = LocalAlloc(LHND, 10);
    ASSERT_NE(Handle, nullptr);
    {
        MemoryLock Lock(Handle);
        ASSERT_NE(Lock.Data(), nullptr);
        EXPECT_EQ(Lock.Size(), 10u);
    }
    EXPECT_FALSE(LocalUnlock(Handle));  // nothing left locked
    LocalFree(Handle);
    MemoryLock Stale(Handle);
    EXPECT_EQ(Stale.Data(), nullptr);
    EXPECT_EQ(Stale.Size(), 0u);
}
