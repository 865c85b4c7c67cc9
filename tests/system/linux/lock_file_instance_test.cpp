#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <optional>
#include <pwd.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "system/linux/lock_file_instance.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

fs::path PrivateTemporaryFolder(const std::string& name) {
    std::string pattern = (fs::temp_directory_path() / (name + "-XXXXXX")).string();
    return ::mkdtemp(pattern.data()) != nullptr ? fs::path(pattern) : fs::path();
}

TEST(LockFileInstance, OnlyTheFirstCopyRunsAndTheClaimEndsWithIt) {
    const fs::path folder = PrivateTemporaryFolder("quorvel-lock");
    ASSERT_FALSE(folder.empty());
    const fs::path path = folder / "quorvel.lock";
    {
        LockFileInstance first(path);
        ASSERT_TRUE(first.acquire());
        EXPECT_TRUE(first.held());
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
    fs::remove_all(folder);
}

// The environment variables the lock's place depends on, set for a test and
// put back after it.
class Environment {
public:
    void set(const char* name, const std::optional<std::string>& value) {
        const char* old = std::getenv(name);
        saved_.push_back({name, old != nullptr ? std::optional<std::string>(old) : std::nullopt});
        if (value) {
            ::setenv(name, value->c_str(), 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~Environment() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second) {
                ::setenv(it->first, it->second->c_str(), 1);
            } else {
                ::unsetenv(it->first);
            }
        }
    }

private:
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

TEST(LockFileInstance, EachProgramHasItsOwnLockInTheRuntimeFolderElseInAFolderOfTheUsersOwn) {
    Environment environment;
    environment.set("XDG_RUNTIME_DIR", "/run/user/1000");
    EXPECT_EQ(LockFileInstance::DefaultLockFile(), "/run/user/1000/quorvel.lock");
    EXPECT_EQ(LockFileInstance::DefaultLockFile("quorvel-demo"), "/run/user/1000/quorvel-demo.lock");
    const fs::path own = fs::temp_directory_path() / ("quorvel-" + std::to_string(::geteuid()));
    environment.set("XDG_RUNTIME_DIR", "relative");
    EXPECT_EQ(LockFileInstance::DefaultLockFile("quorvel-demo"), own / "quorvel-demo.lock");
    environment.set("XDG_RUNTIME_DIR", std::nullopt);
    EXPECT_EQ(LockFileInstance::DefaultLockFile(), own / "quorvel.lock");
    environment.set("TMPDIR", "/nonexistent-folder");
    EXPECT_EQ(LockFileInstance::DefaultLockFile(), "/tmp/quorvel-" + std::to_string(::geteuid()) + "/quorvel.lock")
        << "a temporary folder that is not there is no reason to fail";
}

// What two copies started one after the other made of the lock's place.
struct TwoCopies {
    bool firstRuns = false;
    bool secondKeptOut = false;
    // The lock both met is a plain file of this user's, in a real folder of
    // this user's that no one else may write in.
    bool lockIsPrivate = false;
    std::string said; // on standard error
};

bool OwnAndUnwritableByOthers(const struct stat& seen) {
    return seen.st_uid == ::geteuid() && (seen.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

TwoCopies StartTwoCopies() {
    TwoCopies copies;
    ::testing::internal::CaptureStderr();
    {
        LockFileInstance first(LockFileInstance::DefaultLockFile());
        copies.firstRuns = first.acquire();
        LockFileInstance second(LockFileInstance::DefaultLockFile());
        copies.secondKeptOut = !second.acquire();
        struct stat folder {};
        struct stat lock {};
        copies.lockIsPrivate = ::lstat(first.path().parent_path().c_str(), &folder) == 0 && S_ISDIR(folder.st_mode) &&
                               OwnAndUnwritableByOthers(folder) && ::lstat(first.path().c_str(), &lock) == 0 &&
                               S_ISREG(lock.st_mode) && OwnAndUnwritableByOthers(lock);
    }
    copies.said = ::testing::internal::GetCapturedStderr();
    return copies;
}

// A copy started by another user must never keep this one from running, nor
// have it lock or follow what is not its own. Either this user's copies keep
// each other out with a lock of their own alone, or a copy runs without the
// guard and says why.
void ExpectSafe(const TwoCopies& copies) {
    EXPECT_TRUE(copies.firstRuns) << "what lay at the lock's place kept the program from starting";
    if (copies.secondKeptOut) {
        EXPECT_TRUE(copies.lockIsPrivate) << "the lock is not this user's alone";
    } else {
        EXPECT_NE(copies.said.find("without its single-instance lock"), std::string::npos)
            << "two copies run side by side without a word; standard error: " << copies.said;
    }
}

// The temporary folder of a machine (everyone's, sticky, as /tmp is) with no
// runtime folder in the environment: a bare session, su, cron.
struct WithoutARuntimeFolder : ::testing::Test {
    fs::path temporary;
    Environment environment;

    void SetUp() override {
        temporary = PrivateTemporaryFolder("quorvel-tmp");
        ASSERT_FALSE(temporary.empty());
        ASSERT_EQ(::chmod(temporary.c_str(), 01777), 0);
        environment.set("TMPDIR", temporary.string());
        environment.set("XDG_RUNTIME_DIR", std::nullopt);
    }
    void TearDown() override { fs::remove_all(temporary); }

    fs::path lockFile() const { return LockFileInstance::DefaultLockFile(); }
    // Where the lock's folder goes, if it is not the temporary folder itself.
    std::optional<fs::path> ownFolder() const {
        const fs::path folder = lockFile().parent_path();
        return folder != temporary ? std::optional(folder) : std::nullopt;
    }
};

TEST_F(WithoutARuntimeFolder, AFirstStartMakesAPrivateFolderForTheLock) {
    const TwoCopies copies = StartTwoCopies();
    EXPECT_TRUE(copies.firstRuns);
    EXPECT_TRUE(copies.secondKeptOut) << copies.said;
    EXPECT_TRUE(copies.lockIsPrivate) << "the lock lies where another user can reach it";
    struct stat folder {};
    ASSERT_EQ(::lstat(lockFile().parent_path().c_str(), &folder), 0);
    EXPECT_EQ(folder.st_mode & 07777, 0700u);
}

// What this user may have left, or another process of theirs put, at the
// lock's place: each is refused rather than followed or opened to others.
struct OwnPlant {
    const char* what;
    std::function<void(const fs::path& lockFile, const std::optional<fs::path>& folder, const fs::path& temporary)>
        plant;
};

TEST_F(WithoutARuntimeFolder, AFolderOpenToOthersOrALinkIsNeitherUsedNorFollowed) {
    const OwnPlant plants[] = {
        {"a folder of this user's that everyone may write in",
         [](const fs::path&, const std::optional<fs::path>& folder, const fs::path&) {
             if (folder) {
                 ASSERT_EQ(::mkdir(folder->c_str(), 0700), 0);
                 ASSERT_EQ(::chmod(folder->c_str(), 0777), 0);
             }
         }},
        {"a link in the folder's place, to a private folder",
         [](const fs::path&, const std::optional<fs::path>& folder, const fs::path& temporary) {
             if (folder) {
                 ASSERT_EQ(::mkdir((temporary / "elsewhere").c_str(), 0700), 0);
                 ASSERT_EQ(::symlink((temporary / "elsewhere").c_str(), folder->c_str()), 0);
             }
         }},
        {"a link in the lock file's place, to a file of this user's",
         [](const fs::path& lockFile, const std::optional<fs::path>& folder, const fs::path& temporary) {
             if (folder) {
                 ASSERT_EQ(::mkdir(folder->c_str(), 0700), 0);
             }
             const fs::path target = temporary / "important";
             const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT, 0600);
             ASSERT_GE(fd, 0);
             ::close(fd);
             ASSERT_EQ(::symlink(target.c_str(), lockFile.c_str()), 0);
         }},
    };
    for (const OwnPlant& plant : plants) {
        SCOPED_TRACE(plant.what);
        fs::remove_all(temporary);
        ASSERT_TRUE(fs::create_directory(temporary));
        ASSERT_EQ(::chmod(temporary.c_str(), 01777), 0);
        plant.plant(lockFile(), ownFolder(), temporary);
        ExpectSafe(StartTwoCopies());
        EXPECT_FALSE(fs::exists(temporary / "elsewhere" / lockFile().filename())) << "the link was followed";
    }
}

// Two system users of the tests' own: the one who runs the program and
// another one who gets to the temporary folder first.
struct TwoUsers {
    uid_t us = 0;
    gid_t ourGroup = 0;
    uid_t them = 0;
    gid_t theirGroup = 0;
};

std::optional<std::pair<uid_t, gid_t>> SystemUser(const char* name) {
    if (::getpwnam(name) == nullptr) {
        const std::string command =
            std::string("useradd --system --no-create-home --shell /usr/sbin/nologin ") + name + " 2>/dev/null";
        std::system(command.c_str()); // another test run may have made it meanwhile
    }
    const struct passwd* user = ::getpwnam(name);
    if (user == nullptr) {
        return std::nullopt;
    }
    return std::pair(user->pw_uid, user->pw_gid);
}

// What another user leaves at the lock's place before this one starts.
struct TheirPlant {
    const char* what;
    bool folder;             // their folder in place of this user's own
    bool link;               // a link of theirs in place of the folder, to their folder
    std::optional<int> lock; // their lock file (its mode), held
};

struct AnotherUserFirst : WithoutARuntimeFolder {
    TwoUsers users;

    void SetUp() override {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "files of another user can only be made as root (it makes two system users)";
        }
        const auto us = SystemUser("quorvel-test-us");
        const auto them = SystemUser("quorvel-test-them");
        if (!us || !them) {
            GTEST_SKIP() << "useradd could not make the test's system users";
        }
        users = {us->first, us->second, them->first, them->second};
        WithoutARuntimeFolder::SetUp();
    }

    // What `run` gives, run as the test's own user in a process of theirs.
    std::string AsUs(const std::function<std::string()>& run) const {
        int result[2];
        if (::pipe(result) != 0) {
            ADD_FAILURE() << "no pipe";
            return {};
        }
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(result[0]);
            if (::setgroups(0, nullptr) != 0 || ::setgid(users.ourGroup) != 0 || ::setuid(users.us) != 0) {
                ::_exit(2);
            }
            const std::string report = run();
            const bool written = ::write(result[1], report.data(), report.size()) == ssize_t(report.size());
            ::_exit(written ? 0 : 3);
        }
        ::close(result[1]);
        std::string report;
        char buffer[4096];
        for (ssize_t got; (got = ::read(result[0], buffer, sizeof buffer)) > 0;) {
            report.append(buffer, std::size_t(got));
        }
        ::close(result[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            ADD_FAILURE() << "the process as the test's user did not report";
        }
        return report;
    }

    TwoCopies StartTwoCopiesAsUs() const {
        const std::string report = AsUs([] {
            const TwoCopies copies = StartTwoCopies();
            return std::string{copies.firstRuns ? '1' : '0', copies.secondKeptOut ? '1' : '0',
                               copies.lockIsPrivate ? '1' : '0'} +
                   copies.said;
        });
        if (report.size() < 3) {
            return {};
        }
        return {report[0] == '1', report[1] == '1', report[2] == '1', report.substr(3)};
    }
};

TEST_F(AnotherUserFirst, WhatAnotherUserLeftAtTheLockIsNeverUsed) {
    const TheirPlant plants[] = {
        {"their held lock, open to all", false, false, 0666},
        {"their held lock, for them alone", false, false, 0600},
        {"their folder, open to all", true, false, std::nullopt},
        {"a link of theirs to their folder", false, true, std::nullopt},
    };
    for (const TheirPlant& plant : plants) {
        SCOPED_TRACE(plant.what);
        fs::remove_all(temporary);
        ASSERT_TRUE(fs::create_directory(temporary));
        ASSERT_EQ(::chmod(temporary.c_str(), 01777), 0);
        const fs::path ourLock = AsUs([] { return LockFileInstance::DefaultLockFile().string(); });
        const fs::path folder = ourLock.parent_path();
        const auto theirs = [&](const fs::path& path) {
            ASSERT_EQ(::lchown(path.c_str(), users.them, users.theirGroup), 0) << path;
        };
        if (folder != temporary && (plant.folder || plant.lock)) {
            ASSERT_EQ(::mkdir(folder.c_str(), 0777), 0);
            ASSERT_EQ(::chmod(folder.c_str(), 0777), 0);
            theirs(folder);
        }
        if (plant.link && folder != temporary) {
            const fs::path target = temporary / "theirs";
            ASSERT_EQ(::mkdir(target.c_str(), 0777), 0);
            ASSERT_EQ(::chmod(target.c_str(), 0777), 0);
            theirs(target);
            ASSERT_EQ(::symlink(target.c_str(), folder.c_str()), 0);
            theirs(folder);
        }
        int held = -1;
        if (plant.lock) {
            held = ::open(ourLock.c_str(), O_RDWR | O_CREAT | O_EXCL, *plant.lock);
            ASSERT_GE(held, 0);
            ASSERT_EQ(::fchmod(held, mode_t(*plant.lock)), 0);
            theirs(ourLock);
            ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
        }
        ExpectSafe(StartTwoCopiesAsUs());
        if (held >= 0) {
            ::close(held);
        }
    }
}

} // namespace
} // namespace quorvel
