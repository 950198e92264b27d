#include "sim/simulator.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include <poll.h>
#include <unistd.h>

#include "link/framecodec.h"
#include "sim/requestreader.h"

namespace sim {

using namespace devlink;
namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kRequestGapMs = 50;

// Replaces whatever `link` is with a symlink to `target`.
bool makeLink(const fs::path& link, const std::string& target, std::string* error)
{
    std::error_code ec;
    if (!link.parent_path().empty())
        fs::create_directories(link.parent_path(), ec);
    fs::remove(link, ec);
    fs::create_symlink(target, link, ec);
    if (ec && error)
        *error = "cannot create the link " + link.string() + ": " + ec.message();
    return !ec;
}

// Removes `link` when it still points to `target` (another unit may have taken it).
void removeLink(const fs::path& link, const std::string& target)
{
    std::error_code ec;
    if (fs::is_symlink(link, ec) && fs::read_symlink(link, ec) == target)
        fs::remove(link, ec);
}

}  // namespace

Simulator::Simulator(SimOptions options) : options_(std::move(options)), unit_(options_.unit)
{
    if (options_.parameters)
        std::copy(options_.parameters->begin(), options_.parameters->end(), unit_.memory().begin());
}

Simulator::~Simulator() { stop(); }

bool Simulator::start(std::string* error)
{
    if (!pty_.open(options_.unit.baud, error))
        return false;
    if (!options_.linkPath.empty() && !makeLink(options_.linkPath, pty_.slavePath(), error))
        return false;
    if (options_.com > 0) {
        comLink_ = (options_.portMap / ("COM" + std::to_string(options_.com))).string();
        if (!makeLink(comLink_, pty_.slavePath(), error)) {
            comLink_.clear();
            removeLinks();
            return false;
        }
    }
    if (!options_.logFile.empty()) {
        log_ = std::fopen(options_.logFile.c_str(), "a");
        if (!log_) {
            if (error)
                *error = "cannot open the log " + options_.logFile + ": " + std::strerror(errno);
            removeLinks();
            return false;
        }
    }
    start_ = std::chrono::steady_clock::now();
    stop_.store(false);
    running_.store(true, std::memory_order_release);
    thread_ = std::thread(&Simulator::run, this);
    return true;
}

void Simulator::stop()
{
    stop_.store(true, std::memory_order_release);
    if (thread_.joinable())
        thread_.join();
    removeLinks();
    pty_.close();
    if (log_)
        std::fclose(log_);
    log_ = nullptr;
    running_.store(false, std::memory_order_release);
}

void Simulator::removeLinks()
{
    if (!options_.linkPath.empty())
        removeLink(options_.linkPath, pty_.slavePath());
    if (!comLink_.empty())
        removeLink(comLink_, pty_.slavePath());
}

double Simulator::seconds() const
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

int Simulator::resets()
{
    std::lock_guard lock(unitMutex_);
    return unit_.resets();
}

std::array<std::uint8_t, 100> Simulator::parameters()
{
    std::lock_guard lock(unitMutex_);
    std::array<std::uint8_t, 100> bytes{};
    std::copy_n(unit_.memory().begin(), 100, bytes.begin());
    return bytes;
}

void Simulator::setParameters(const std::array<std::uint8_t, 100>& bytes)
{
    std::lock_guard lock(unitMutex_);
    std::copy(bytes.begin(), bytes.end(), unit_.memory().begin());
}

void Simulator::setIdentityByte(std::size_t index, std::uint8_t value)
{
    std::lock_guard lock(unitMutex_);
    unit_.identityBlock().at(index) = value;
}

void Simulator::writeAll(const std::uint8_t* bytes, std::size_t count)
{
    std::size_t done = 0;
    while (done < count && !stop_.load(std::memory_order_acquire)) {
        const ssize_t put = ::write(pty_.master(), bytes + done, count - done);
        if (put > 0) {
            done += static_cast<std::size_t>(put);
            continue;
        }
        if (put < 0 && errno != EAGAIN && errno != EINTR)
            return;
        pollfd p{pty_.master(), POLLOUT, 0};
        if (::poll(&p, 1, 100) <= 0)
            return;  // nobody reads the line: the bytes are lost, as on a real one
    }
}

void Simulator::run()
{
    RequestReader reader(options_.unit.protocol, kRequestGapMs);
    std::uint8_t buffer[512];
    while (!stop_.load(std::memory_order_acquire)) {
        if (unplugNow_ || (options_.unplugAfter > 0 && seconds() >= options_.unplugAfter)) {
            removeLinks();
            pty_.close();
            break;
        }
        pollfd p{pty_.master(), POLLIN, 0};
        if (::poll(&p, 1, 5) <= 0)
            continue;
        const ssize_t got = ::read(pty_.master(), buffer, sizeof buffer);
        if (got <= 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        if (options_.echo) {
            writeAll(buffer, static_cast<std::size_t>(got));
            continue;
        }
        // A line at another speed delivers nothing the unit can read.
        if (pty_.lineSpeed() != options_.unit.baud)
            continue;
        const double now = seconds();
        for (ssize_t i = 0; i < got; ++i)
            if (reader.feed(buffer[i], static_cast<std::uint32_t>(now * 1000)))
                handle(reader.frame(), reader.length(), now);
    }
    running_.store(false, std::memory_order_release);
}

void Simulator::handle(const std::uint8_t* frame, std::size_t length, double now)
{
    const int count = requests_.fetch_add(1, std::memory_order_acq_rel) + 1;
    logRequest(frame, length, now);
    if (options_.unplugOn && !unplugNow_) {
        bool saving = false;
        {
            std::lock_guard lock(unitMutex_);
            saving = unit_.saving(now);
        }
        if (options_.unplugOn->onRequest(requestKind(options_.unit.protocol, frame), saving)) {
            unplugNow_ = true;  // the request stays unanswered
            return;
        }
    }
    std::vector<std::uint8_t> answer;
    {
        std::lock_guard lock(unitMutex_);
        answer = unit_.answer(frame, length, now);
    }
    if (answer.empty() || silent_.load(std::memory_order_acquire) || (options_.dropEvery > 0 && count % options_.dropEvery == 0))
        return;
    if (options_.corruptEvery > 0 && count % options_.corruptEvery == 0)
        answer[answer.size() / 2] ^= 0x10;
    if (options_.garbage) {
        std::vector<std::uint8_t> noise(1 + noise_ % 7);
        for (std::uint8_t& b : noise) {
            noise_ = noise_ * 1103515245u + 12345u;
            // Noise below 0x80 cannot start an IGN answer, and no 0xFF can start a WCOM header.
            b = static_cast<std::uint8_t>((noise_ >> 16) & (isIgn(options_.unit.protocol) ? 0x7F : 0xFE));
        }
        answer.insert(answer.begin(), noise.begin(), noise.end());
    }
    // The request took its wire time to arrive, and the answer takes its own.
    const double due = now + wireSeconds(length + answer.size(), options_.unit.baud) + options_.delayMs / 1000.0;
    std::this_thread::sleep_until(start_ + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                               std::chrono::duration<double>(due)));
    writeAll(answer.data(), answer.size());
}

void Simulator::logRequest(const std::uint8_t* frame, std::size_t length, double now)
{
    if (!log_)
        return;
    const std::int32_t protocol = options_.unit.protocol;
    if (isWcom(protocol)) {
        const WcomHeader h = wcomHeader(frame);
        std::fprintf(log_, "{\"time\":%.3f,\"protocol\":\"%s\",\"command\":\"0x%04x\",\"address\":%u,\"length\":%u}\n",
                     now, protocolName(protocol), h.command, h.address, h.length);
    } else {
        const std::uint8_t code = frame[0];
        int block = 0;
        if (code >= icmd::Read)
            block = code - icmd::Read;
        else if (code >= icmd::ReadIdentity)
            block = 0;
        else if (code >= icmd::Monitor)
            block = code - icmd::Monitor;
        else if (code >= icmd::Write)
            block = code - icmd::Write;
        std::fprintf(log_, "{\"time\":%.3f,\"protocol\":\"%s\",\"command\":\"0x%02x\",\"block\":%i,\"length\":%zu}\n",
                     now, protocolName(protocol), code, block, length);
    }
    std::fflush(log_);
}

}  // namespace sim
