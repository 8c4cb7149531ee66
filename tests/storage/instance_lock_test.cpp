#include "storage/instance_lock.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace quendra::storage {
namespace {

TEST(InstanceLock, OneProgramPerDataDirectoryUntilItEndsHoweverItEnds) {
    test::TempDir dir;
    test::TempDir other;
    test::Child running([&](test::Child& self) {
        const auto lock = InstanceLock::tryAcquire(dir.path());
        self.tell(lock ? 1 : 0);
        self.waitForParent();
    });
    std::uint32_t held = 0;
    ASSERT_TRUE(running.hear(held));
    ASSERT_EQ(held, 1u);
    EXPECT_FALSE(InstanceLock::tryAcquire(dir.path())) << "a second start on the same data";
    EXPECT_TRUE(InstanceLock::tryAcquire(other.path())) << "another data directory is free";
    running.killNow();
    EXPECT_TRUE(InstanceLock::tryAcquire(dir.path())) << "a killed program leaves no lock behind";
    EXPECT_EQ(alreadyRunningMessage("/dati/krw"),
              "Quendra è già aperto su questi dati (cartella \"/dati/krw\").\n\nUsare il programma già aperto; "
              "questo viene chiuso.");
}

}  // namespace
}  // namespace quendra::storage
