#pragma once

#include <csignal>
#include <cstdint>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace quendra::test {

// A child process that runs body and reports through a pipe; killed or released by
// the parent. Nothing here waits on a clock.
class Child {
public:
    template <typename Body>
    explicit Child(Body body) {
        if (::pipe(toParent_) != 0 || ::pipe(toChild_) != 0) throw std::runtime_error("pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(toParent_[0]);
            ::close(toChild_[1]);
            int status = 0;
            try {
                body(*this);
            } catch (...) {
                status = 3;
            }
            ::_exit(status);
        }
        ::close(toParent_[1]);
        ::close(toChild_[0]);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(toParent_[0]);
        ::close(toChild_[1]);
    }
    // In the child.
    void tell(std::uint32_t value) { (void)!::write(toParent_[1], &value, sizeof value); }
    void waitForParent() {
        char c;
        (void)!::read(toChild_[0], &c, 1);
    }
    // In the parent. False when the child has ended.
    bool hear(std::uint32_t& value) { return ::read(toParent_[0], &value, sizeof value) == sizeof value; }
    void release() { (void)!::write(toChild_[1], "x", 1); }
    int join() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return status;
    }
    void killNow() {
        ::kill(pid_, SIGKILL);
        join();
    }

private:
    pid_t pid_ = -1;
    int toParent_[2] {-1, -1};
    int toChild_[2] {-1, -1};
};

}  // namespace quendra::test
