#pragma once

#include <sys/inotify.h>
#include <unistd.h>

#include <cstddef>
#include <string>

namespace lapwerk::test {

/// Counts the times a file is opened, by anyone, from its construction on (Linux inotify).
class OpenCounter {
public:
    explicit OpenCounter(const std::string& path) : fd_(inotify_init1(IN_NONBLOCK)) {
        if (fd_ >= 0 && inotify_add_watch(fd_, path.c_str(), IN_OPEN) < 0) {
            close(fd_);
            fd_ = -1;
        }
    }
    ~OpenCounter() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    OpenCounter(const OpenCounter&) = delete;
    OpenCounter& operator=(const OpenCounter&) = delete;

    /// Whether the file is watched.
    bool ok() const { return fd_ >= 0; }

    /// Opens seen so far.
    int opens() {
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t got = read(fd_, buffer, sizeof buffer);
            if (got <= 0) {
                return opens_;
            }
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                opens_ += (event->mask & IN_OPEN) != 0 ? 1 : 0;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }

private:
    int fd_;
    int opens_ = 0;
};

} // namespace lapwerk::test
