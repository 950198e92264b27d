#include "link/linklog.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace devlink {

LinkLog::~LinkLog() { detach(); }

bool LinkLog::attach(const std::string& path, std::string* error)
{
    std::FILE* file = std::fopen(path.c_str(), "a");
    if (!file) {
        if (error)
            *error = "cannot open the link log " + path + ": " + std::strerror(errno);
        return false;
    }
    std::lock_guard lock(mutex_);
    if (file_)
        std::fclose(file_);
    file_ = file;
    // The fractional seconds of the time stamps run from the start of a wall-clock
    // second: take the origin that far back instead of waiting for the next second.
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto intoSecond = now - std::chrono::duration_cast<std::chrono::seconds>(now);
    origin_ = std::chrono::steady_clock::now() - std::chrono::duration_cast<std::chrono::steady_clock::duration>(intoSecond);
    attached_.store(true, std::memory_order_release);
    return true;
}

void LinkLog::detach()
{
    std::lock_guard lock(mutex_);
    attached_.store(false, std::memory_order_release);
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
}

void LinkLog::message(std::uint32_t loops, std::string_view text)
{
    if (!attached())
        return;
    std::lock_guard lock(mutex_);
    if (!file_)
        return;
    const std::time_t wall = std::time(nullptr);
    std::tm local{};
    localtime_r(&wall, &local);
    const double sinceOrigin = std::chrono::duration<double>(std::chrono::steady_clock::now() - origin_).count();
    const double fraction = sinceOrigin - static_cast<double>(static_cast<long long>(sinceOrigin));
    std::fprintf(file_, "%02i:%02i:%05.2f:   (%u) %.*s\n", local.tm_hour, local.tm_min, local.tm_sec + fraction,
                 static_cast<unsigned>(loops), static_cast<int>(text.size()), text.data());
    std::fflush(file_);
}

void LinkLog::raw(std::string_view text)
{
    if (!attached())
        return;
    std::lock_guard lock(mutex_);
    if (!file_)
        return;
    std::fwrite(text.data(), 1, text.size(), file_);
    std::fflush(file_);
}

void LinkLog::transmit(int port, std::uint32_t ms, const std::uint8_t* bytes, std::uint32_t count)
{
    if (!attached())
        return;
    std::lock_guard lock(mutex_);
    if (!file_)
        return;
    if (rxOnLine_ > 0)
        std::fputc('\n', file_);
    std::fprintf(file_, "\n[%i:TMR=%u]TX %u:", port, static_cast<unsigned>(ms), static_cast<unsigned>(txLines_++));
    for (std::uint32_t i = 0; i < count; ++i)
        std::fprintf(file_, "%02x\t", bytes[i]);
    std::fputc('\n', file_);
    rxOnLine_ = 0;
    std::fflush(file_);
}

void LinkLog::received(int port, std::uint32_t ms, std::uint32_t freeSpace, const std::uint8_t* bytes,
                       std::uint32_t count)
{
    if (!attached() || count == 0)
        return;
    std::lock_guard lock(mutex_);
    if (!file_)
        return;
    if (rxOnLine_ == 0)
        std::fprintf(file_, "\n[%i:TMR=%u]RX %u (free buf=%u):", port, static_cast<unsigned>(ms),
                     static_cast<unsigned>(rxLines_++), static_cast<unsigned>(freeSpace));
    for (std::uint32_t i = 0; i < count; ++i)
        std::fprintf(file_, "%02x\t", bytes[i]);
    rxOnLine_ += count;
    std::fflush(file_);
}

void attachLogFromEnvironment(LinkLog& log)
{
    if (const char* path = std::getenv("TAVRIN_LINK_LOG"); path && *path)
        log.attach(path);
}

}  // namespace devlink
