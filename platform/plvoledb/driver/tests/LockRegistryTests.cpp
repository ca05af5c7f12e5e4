#include "platform/plvoledb/driver/LockRegistry.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace plv::db {
namespace {

constexpr LockRegistry::Owner kAnna = 1;
constexpr LockRegistry::Owner kBert = 2;
const std::string kDb = "/data/c01/az01.db";
const std::string kOtherDb = "/data/c02/az01.db";

TEST(LockRegistry, OneOwnerPerRow) {
    LockRegistry locks;
    EXPECT_TRUE(locks.TryLock(kDb, "Account", "1000", kAnna));
    EXPECT_TRUE(locks.TryLock(kDb, "Account", "1000", kAnna));  // again by the holder
    EXPECT_FALSE(locks.TryLock(kDb, "Account", "1000", kBert));
    EXPECT_FALSE(locks.TryLock(kDb, "ACCOUNT", "1000", kBert));
    EXPECT_TRUE(locks.IsLockedByOther(kDb, "account", "1000", kBert));
    EXPECT_FALSE(locks.IsLockedByOther(kDb, "Account", "1000", kAnna));

    // Other rows, tables and databases are independent.
    EXPECT_TRUE(locks.TryLock(kDb, "Account", "1001", kBert));
    EXPECT_TRUE(locks.TryLock(kDb, "Booking", "1000", kBert));
    EXPECT_TRUE(locks.TryLock(kOtherDb, "Account", "1000", kBert));

    locks.Unlock(kDb, "Account", "1000", kBert);  // not the holder: no effect
    EXPECT_TRUE(locks.IsLockedByOther(kDb, "Account", "1000", kBert));
    locks.Unlock(kDb, "Account", "1000", kAnna);
    EXPECT_FALSE(locks.IsLockedByOther(kDb, "Account", "1000", kBert));
    EXPECT_TRUE(locks.TryLock(kDb, "Account", "1000", kBert));
}

TEST(LockRegistry, KeysIgnoreAsciiCaseLikeTheColumns) {
    LockRegistry locks;
    EXPECT_TRUE(locks.TryLock(kDb, "Customer", "Meier", kAnna));
    EXPECT_FALSE(locks.TryLock(kDb, "customer", "MEIER", kBert));
    EXPECT_TRUE(locks.TryLock(kDb, "customer", "Meier ", kBert));
}

TEST(LockRegistry, UnlockAllFreesOnlyTheOwnersLocks) {
    LockRegistry locks;
    locks.TryLock(kDb, "Account", "1", kAnna);
    locks.TryLock(kOtherDb, "Account", "1", kAnna);
    locks.TryLock(kDb, "Account", "2", kBert);

    locks.UnlockAll(kAnna, kDb);
    EXPECT_FALSE(locks.IsLockedByOther(kDb, "Account", "1", kBert));
    EXPECT_TRUE(locks.IsLockedByOther(kOtherDb, "Account", "1", kBert));

    locks.UnlockAll(kAnna);
    EXPECT_FALSE(locks.IsLockedByOther(kOtherDb, "Account", "1", kBert));
    EXPECT_TRUE(locks.IsLockedByOther(kDb, "Account", "2", kAnna));
}

TEST(LockRegistry, ConcurrentCallersGetTheRowOnce) {
    LockRegistry& locks = LockRegistry::Instance();
    EXPECT_EQ(&locks, &LockRegistry::Instance());
    std::atomic<int> winners = 0;
    std::vector<std::thread> threads;
    for (LockRegistry::Owner owner = 100; owner < 108; ++owner)
        threads.emplace_back([&, owner] {
            for (int i = 0; i < 200; ++i) {
                if (locks.TryLock(kDb, "Row", std::to_string(i), owner)) ++winners;
            }
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(winners, 200);
    for (LockRegistry::Owner owner = 100; owner < 108; ++owner) locks.UnlockAll(owner);
    EXPECT_FALSE(locks.IsLockedByOther(kDb, "Row", "0", 1));
}

}  // namespace
}  // namespace plv::db
