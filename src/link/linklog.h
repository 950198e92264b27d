#pragma once
// The link log: a text trace of port openings and closings, every byte sent and
// received, and the message lines of the port search and the job engine. Written only
// while a file is attached (`--link-log FILE` or TAVRIN_LINK_LOG). Several threads write
// it, so a line is built and written under the log's own lock; nothing on the link's
// data path waits for it while no file is attached.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

namespace devlink {

class LinkLog {
public:
    LinkLog() = default;
    ~LinkLog();
    LinkLog(const LinkLog&) = delete;
    LinkLog& operator=(const LinkLog&) = delete;

    // Appends to `path`; false with `error` set when it cannot be opened.
    bool attach(const std::string& path, std::string* error = nullptr);
    void detach();
    bool attached() const { return attached_.load(std::memory_order_acquire); }

    // "hh:mm:ss.ss:   (loops) text"
    void message(std::uint32_t loops, std::string_view text);
    // A line written as it stands ("\n[port:TMR=ms]OPEN ..." and the like).
    void raw(std::string_view text);
    // "\n[port:TMR=ms]TX n:" and one "%02x\t" per byte.
    void transmit(int port, std::uint32_t ms, const std::uint8_t* bytes, std::uint32_t count);
    // Received bytes continue the current RX line until the next transmit.
    void received(int port, std::uint32_t ms, std::uint32_t freeSpace, const std::uint8_t* bytes, std::uint32_t count);

private:
    std::atomic<bool> attached_{false};
    std::mutex mutex_;
    std::FILE* file_ = nullptr;
    std::uint32_t txLines_ = 0;
    std::uint32_t rxLines_ = 0;
    std::uint32_t rxOnLine_ = 0;
    std::chrono::steady_clock::time_point origin_{};
};

// Attaches the file named by the environment variable TAVRIN_LINK_LOG, if set.
void attachLogFromEnvironment(LinkLog& log);

}  // namespace devlink
