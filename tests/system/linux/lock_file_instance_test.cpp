#include <gtest/gtest.h>

#include <cstdlib>
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

TEST(LockFileInstance, EachProgramHasItsOwnLockInTheRuntimeFolder) {
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    const std::string saved = old != nullptr ? old : "";
    ::setenv("XDG_RUNTIME_DIR", "/run/user/1000", 1);
    EXPECT_EQ(LockFileInstance::DefaultLockFile(), "/run/user/1000/quorvel.lock");
    EXPECT_EQ(LockFileInstance::DefaultLockFile("quorvel-demo"), "/run/user/1000/quorvel-demo.lock");
    ::setenv("XDG_RUNTIME_DIR", "relative", 1);
    EXPECT_EQ(LockFileInstance::DefaultLockFile("quorvel-demo").parent_path(), std::filesystem::temp_directory_path());
    if (old != nullptr) {
        ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
    } else {
        ::unsetenv("XDG_RUNTIME_DIR");
    }
}

} // namespace
} // namespace quorvel
