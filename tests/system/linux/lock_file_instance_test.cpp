#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "system/linux/lock_file_instance.h"

namespace quorvel {
namespace {

TEST(LockFileInstance, OnlyTheFirstCopyRunsAndTheClaimEndsWithIt) {
    const auto path = std::filesystem::temp_directory_path() / ("quorvel-test-" + std::to_string(::getpid()) + ".lock");
    {
        LockFileInstance first(path);
        ASSERT_TRUE(first.acquire());
        EXPECT_TRUE(first.acquire()) << "asking again keeps the claim";
        // A second process is refused while the first holds the lock.
        const pid_t child = ::fork();
        if (child == 0) {
            LockFileInstance second(path);
            ::_exit(second.acquire() ? 1 : 0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    LockFileInstance after(path);
    EXPECT_TRUE(after.acquire());
    std::filesystem::remove(path);
}

} // namespace
} // namespace quorvel
