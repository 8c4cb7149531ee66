// The real program running on a data directory, and a second start on the same one.

#include "state/single_instance.h"
#include "platform/shell.h"
#include "storage/demo_data.h"
#include "storage/year_files.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace quendra {
namespace {

namespace fs = std::filesystem;

// quendra2015 started on a program directory under the offscreen platform, with at most
// one argument; killed at the end.
class RunningProgram {
public:
    explicit RunningProgram(const fs::path& home, const char* argument = nullptr) {
        pid_ = ::fork();
        if (pid_ == 0) {
            ::setenv("QUENDRA_HOME", home.c_str(), 1);
            ::setenv("HOME", home.c_str(), 1);
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
            ::execl(QUENDRA_PROGRAM, QUENDRA_PROGRAM, argument, static_cast<char*>(nullptr));
            ::_exit(127);
        }
        // Readable once the program has ended (glibc's wrapper lacks C linkage here).
        ended_ = int(::syscall(SYS_pidfd_open, pid_, 0));
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;
    ~RunningProgram() { kill(); }

    bool running() const { return ::waitpid(pid_, nullptr, WNOHANG) == 0; }

    // Waits until the program opens the named file of the directory that events watches;
    // false when the program ended first.
    bool waitUntilItOpens(int events, const std::string& name) {
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            pollfd fds[2] = {{events, POLLIN, 0}, {ended_, POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0 || (fds[1].revents & POLLIN) != 0) return false;
            const ssize_t length = ::read(events, buffer, sizeof buffer);
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (event->len > 0 && name == event->name) return true;
                at += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
    }

    void kill() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        ::close(ended_);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    int ended_ = -1;
};

// A demo year in a program directory, its data folder watched for opened files.
class SecondStart : public ::testing::Test {
protected:
    void SetUp() override {
        journal = storage::makeDemoDataDirectory(data, fs::path(QUENDRA_RUNTIME_DIR) / "krw", {2025, 30, 3});
        events = ::inotify_init1(IN_CLOEXEC);
        ASSERT_GE(events, 0);
        ASSERT_GE(::inotify_add_watch(events, data.c_str(), IN_OPEN), 0);
    }
    void TearDown() override {
        if (events >= 0) ::close(events);
    }

    test::TempDir home;
    const fs::path data = storage::dataDirectory(home.path());
    std::string journal;
    int events = -1;
};

TEST_F(SecondStart, IsToldInItalianWhileTheProgramRunsAndFreeOnceItIsGone) {
    RunningProgram first(home.path());
    // The program opens its year only after it has taken the data directory.
    ASSERT_TRUE(first.waitUntilItOpens(events, journal)) << "the program ended before it opened its year";

    test::ScriptedPrompt prompt;
    EXPECT_FALSE(state::claimDataDirectory(data, prompt));
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].kind, platform::PromptKind::Error);
    EXPECT_EQ(prompt.shown[0].text, storage::alreadyRunningMessage(data));

    first.kill();
    test::ScriptedPrompt quiet;
    EXPECT_TRUE(state::claimDataDirectory(data, quiet)) << "a killed program leaves the data free";
    EXPECT_TRUE(quiet.shown.empty());
}

TEST_F(SecondStart, ARestartWaitsForTheProgramItReplaces) {
    RunningProgram first(home.path());
    ASSERT_TRUE(first.waitUntilItOpens(events, journal)) << "the program ended before it opened its year";
    const std::string restartArgument(platform::kRestartArgument);
    RunningProgram restarted(home.path(), restartArgument.c_str());
    ASSERT_TRUE(restarted.waitUntilItOpens(events, ".quendra.lock")) << "the restarted program ended at once";
    first.kill();
    ASSERT_TRUE(restarted.waitUntilItOpens(events, journal)) << "the restarted program ended instead of waiting";

    EXPECT_TRUE(restarted.running());
    test::ScriptedPrompt prompt;
    EXPECT_FALSE(state::claimDataDirectory(data, prompt)) << "the restarted program holds the data";
}

}  // namespace
}  // namespace quendra
