#pragma once
// A named pipe for tests of readers that must refuse it. A reader that opens it anyway
// would wait for a writer for ever; the keeper opens the writing end whenever a reader
// waits and closes it at once, so such a reader sees an empty file and the test fails
// instead of hanging.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class Fifo {
public:
    explicit Fifo(std::filesystem::path path) : path_(std::move(path))
    {
        ::mkfifo(path_.c_str(), 0600);
        keeper_ = std::thread([this] {
            while (!stop_.load()) {
                // Succeeds only while a reader has it open.
                const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0)
                    ::close(fd);
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
    }
    ~Fifo()
    {
        stop_.store(true);
        keeper_.join();
        std::filesystem::remove(path_);
    }
    const std::filesystem::path& path() const { return path_; }
    std::string string() const { return path_.string(); }

private:
    std::filesystem::path path_;
    std::atomic<bool> stop_{false};
    std::thread keeper_;
};
