#include "link/comcom.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace devlink {

namespace {

constexpr std::uint32_t kMaxUnmaskedGap = 50;
// A tick waits for a last answer due on the line from this long before now until this
// long after its due time: the thread hand-offs of one exchange fit easily; an answer
// later than that is lost or slow, and the time-out deals with it.
constexpr auto kDueAhead = std::chrono::milliseconds(5);
constexpr auto kDueGrace = std::chrono::milliseconds(8);

std::int64_t steadyNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool running(std::uint32_t code) { return code != jobs::None && code != jobs::Failed && code != jobs::Done; }

}  // namespace

FramePlan planWcomFrame(const std::uint8_t* mask, std::uint32_t from, std::uint32_t end, std::uint32_t d)
{
    FramePlan plan;
    std::uint32_t last = 0;
    for (std::uint32_t a = from; a < end; ++a) {
        if (!plan.found) {
            if (mask[a]) {
                plan.found = true;
                plan.first = last = a;
            }
            continue;
        }
        if (a - plan.first >= d)
            break;
        if (mask[a])
            last = a;
        else if (a - last > kMaxUnmaskedGap)
            break;
    }
    if (plan.found)
        plan.length = last - plan.first + 1;
    return plan;
}

FramePlan planIgnFrame(const std::uint8_t* mask, std::uint32_t from, std::uint32_t end, std::uint32_t d)
{
    FramePlan plan;
    if (end <= from || d == 0)
        return plan;
    for (std::uint32_t block = from / d * d; block <= (end - 1) / d * d; block += d) {
        const std::uint32_t stop = std::min(block + d, end);
        for (std::uint32_t a = block; a < stop; ++a) {
            if (mask[a]) {
                plan = {true, block, d};
                return plan;
            }
        }
    }
    return plan;
}

CCOMCOM::CCOMCOM(DeviceFolders folders) : CCOMSEARCH(std::move(folders))
{
    thread_ = std::thread(&CCOMCOM::jobThread, this);
}

CCOMCOM::~CCOMCOM()
{
    stopThreads();
    if (thread_.joinable())
        thread_.join();
}

std::uint32_t CCOMCOM::bytesPerFrame() const
{
    if (isIgn(connection.codec.protocol))
        return ignDataLength(connection.codec.protocol);
    const std::uint32_t frame = connection.maxFrameLength;
    // A unit reporting a frame too short or too long for the link still gets sound frames.
    if (frame <= connection.frameOverhead)
        return 1;
    return std::min(frame - connection.frameOverhead, kWcomMaxSendData);
}

bool CCOMCOM::moveLink(std::uint32_t from, std::uint32_t to)
{
    return linkState_.compare_exchange_strong(from, to, std::memory_order_acq_rel);
}

void CCOMCOM::finishJob(std::uint32_t code, std::uint32_t result)
{
    if (!job_.compare_exchange_strong(code, result, std::memory_order_acq_rel))
        return;
    // Taking the lock orders the change before a waiting tick's look at the job.
    { std::lock_guard lock(endMutex_); }
    jobEnded_.notify_all();
}

void CCOMCOM::awaitDueAnswer()
{
    if (linkState_.load(std::memory_order_acquire) != LinkWaiting || !lastFrame_.load(std::memory_order_relaxed) ||
        jobStatus() != JobStatus::Running)
        return;
    const std::uint32_t baud = connectedRow().baud;
    if (baud == 0)
        return;
    // Ten bits a byte on the line.
    const std::int64_t wireNs = std::int64_t(exchangeBytes_.load(std::memory_order_relaxed)) * 10'000'000'000LL / baud;
    const auto due = std::chrono::steady_clock::time_point(
        std::chrono::nanoseconds(frameSentNs_.load(std::memory_order_relaxed) + wireNs));
    const auto now = std::chrono::steady_clock::now();
    if (now + kDueAhead < due || now > due + kDueGrace)
        return;
    std::unique_lock lock(endMutex_);
    jobEnded_.wait_until(lock, due + kDueGrace, [this] {
        return jobStatus() != JobStatus::Running || linkState_.load(std::memory_order_acquire) != LinkWaiting;
    });
}

void CCOMCOM::quiesce()
{
    while (busy_.load(std::memory_order_seq_cst))
        std::this_thread::yield();
}

bool CCOMCOM::startJob(std::uint32_t jobCode, int start, int length, int flags)
{
    if (jobStatus() == JobStatus::Running)
        return false;
    const std::uint32_t first = static_cast<std::uint32_t>(std::clamp(start, 0, static_cast<int>(kMemoryArray)));
    const std::uint32_t end = static_cast<std::uint32_t>(
        std::clamp(static_cast<long>(first) + std::max(length, 0), 0L, static_cast<long>(kMemoryArray)));
    currentAddress_.store(first, std::memory_order_relaxed);
    jobLength_ = static_cast<std::uint32_t>(std::max(length, 0));
    endAddress_ = end;
    retryCount_ = 0;
    for (std::uint32_t a = first; a < end; ++a) {
        if (flags & kJobClearSend)
            sendData_[a] = 0;
        if (flags & kJobMaskRange)
            transferMask_[a] = 1;
        readData_[a] = 0;
        readValid_[a] = 0;
    }
    retryLimit_ = (flags & kJobSingleAttempt) ? 1 : 3;
    job_.store(jobCode, std::memory_order_release);
    notifyLink();
    return true;
}

JobStatus CCOMCOM::jobStatus() const
{
    const std::uint32_t code = job_.load(std::memory_order_acquire);
    if (code == jobs::None)
        return JobStatus::Idle;
    if (code == jobs::Done)
        return JobStatus::Done;
    if (code == jobs::Failed)
        return JobStatus::Failed;
    return JobStatus::Running;
}

std::span<const std::uint8_t> CCOMCOM::received() const
{
    if (jobStatus() == JobStatus::Running)
        return {};
    return readData_;
}

bool CCOMCOM::startRead(int start, int length, Attempts attempts)
{
    return startJob(jobs::Read, start, length,
                    kJobMaskRange | kJobClearSend | (attempts == Attempts::One ? kJobSingleAttempt : 0));
}

bool CCOMCOM::startMaskedRead(std::span<const std::uint8_t> mask)
{
    if (jobStatus() == JobStatus::Running || mask.size() > kMemoryArray)
        return false;
    std::copy(mask.begin(), mask.end(), transferMask_.begin());
    return startJob(jobs::Read, 0, static_cast<int>(mask.size()), kJobClearSend);
}

bool CCOMCOM::startIdentityRead(int length)
{
    return startJob(jobs::ReadIdentity, 0, length, kJobMaskRange | kJobClearSend);
}

bool CCOMCOM::startWrite(std::span<const std::uint8_t> bytes)
{
    if (jobStatus() == JobStatus::Running || bytes.size() > kMemoryArray)
        return false;
    std::copy(bytes.begin(), bytes.end(), sendData_.begin());
    return startJob(jobs::Write, 0, static_cast<int>(bytes.size()), kJobMaskRange);
}

bool CCOMCOM::startMaskedWrite(std::span<const std::uint8_t> bytes, std::span<const std::uint8_t> mask)
{
    if (jobStatus() == JobStatus::Running || bytes.size() > kMemoryArray || mask.size() < bytes.size())
        return false;
    std::copy(bytes.begin(), bytes.end(), sendData_.begin());
    std::copy_n(mask.begin(), bytes.size(), transferMask_.begin());
    return startJob(jobs::Write, 0, static_cast<int>(bytes.size()), 0);
}

bool CCOMCOM::startMonitorExchange(std::span<const std::uint8_t> request)
{
    if (jobStatus() == JobStatus::Running || request.size() > kMemoryArray)
        return false;
    std::copy(request.begin(), request.end(), sendData_.begin());
    return startJob(jobs::Monitor, 0, static_cast<int>(request.size()), kJobMaskRange | kJobSingleAttempt);
}

bool CCOMCOM::startReset()
{
    // The restart command at address 1600, with its key bytes in the block.
    constexpr std::uint32_t kResetAddress = 1600;
    constexpr int kResetBlock = 50;
    if (jobStatus() == JobStatus::Running)
        return false;
    std::fill_n(sendData_.begin(), kResetBlock, 0);
    sendData_[12] = 0xA5;
    sendData_[13] = 0x10;
    commandCode_ = wcmd::Reset;
    commandAddress_ = kResetAddress;
    return startJob(jobs::Command, 0, 1, kJobMaskRange);
}

void CCOMCOM::disconnect()
{
    const std::uint32_t port = connectedPort.load(std::memory_order_acquire);
    if (!port)
        return;
    logf("Close Port COM%u...", static_cast<unsigned>(port));
    linkState_.store(LinkNone, std::memory_order_seq_cst);
    job_.store(jobs::None, std::memory_order_seq_cst);
    notifyLink();
    quiesce();
    connection.codec.clearSend();
    requestClose(static_cast<int>(port));
    connectedPort.store(0, std::memory_order_release);
    portListChanged.store(1, std::memory_order_release);
}

void CCOMCOM::tick(std::uint32_t ms)
{
    setMsClock(ms);
    searchStep();
    const bool connected = connectedPort.load(std::memory_order_acquire) != 0 && !searchPaused();
    const std::uint32_t state = linkState_.load(std::memory_order_acquire);
    if (state == LinkNone && connected) {
        connection.codec.clearSend();
        job_.store(jobs::None, std::memory_order_release);
        linkState_.store(LinkReady, std::memory_order_release);
        notifyLink();
    } else if (state != LinkNone && !connected) {
        linkState_.store(LinkNone, std::memory_order_seq_cst);
        job_.store(jobs::None, std::memory_order_seq_cst);
        notifyLink();
        quiesce();
    } else if (state == LinkWaiting && ms - sendTime_.load(std::memory_order_acquire) > kAnswerTimeout) {
        if (moveLink(LinkWaiting, LinkFailed))
            notifyLink();
    } else if (state == LinkWaiting) {
        awaitDueAnswer();
    }
}

void CCOMCOM::jobThread()
{
    while (!stopping()) {
        // Taken before looking, so an event after the look ends the wait at once.
        const std::uint32_t seen = linkEvents_.load(std::memory_order_seq_cst);
        jobLoops_.fetch_add(1, std::memory_order_relaxed);
        const std::uint32_t code = job_.load(std::memory_order_acquire);
        jobAwaitsLine_.store(running(code), std::memory_order_seq_cst);
        bool moved = false;
        if (running(code)) {
            // Announce the step before looking at the link: a disconnect that takes the
            // link down either is seen here or waits until the step is over.
            busy_.store(true, std::memory_order_seq_cst);
            if (linkState_.load(std::memory_order_seq_cst) != LinkNone && job_.load(std::memory_order_acquire) == code)
                moved = jobStep(code);
            busy_.store(false, std::memory_order_seq_cst);
        }
        // Nothing more to do until a job is queued, bytes arrive, a chunk has been
        // written, the tick declares a time-out or the link changes.
        if (!moved)
            linkEvents_.wait(seen, std::memory_order_seq_cst);
    }
}

bool CCOMCOM::jobStep(std::uint32_t code)
{
    CCOM& port = channel(static_cast<int>(connectedPort.load(std::memory_order_acquire)));
    FrameCodec& codec = connection.codec;
    const std::uint32_t stateBefore = linkState_.load(std::memory_order_acquire);
    bool frameTaken = false;

    if (stateBefore == LinkFailed) {
        logf("COM timeout or redirection (%u)...", static_cast<unsigned>(retryCount_));
        if (++retryCount_ >= retryLimit_) {
            lastJob_.store(code, std::memory_order_relaxed);
            if (moveLink(LinkFailed, LinkReady))
                finishJob(code, jobs::Failed);
            return true;
        }
        // Another attempt at the same frame; an answer to the earlier attempt that still
        // comes is this frame's answer, so the received bytes stay.
        codec.restartSend();
        sendTime_.store(msClock(), std::memory_order_release);
        moveLink(LinkFailed, LinkSending);
    }
    if (linkState_.load(std::memory_order_acquire) == LinkWaiting && receive(codec, port, msClock())) {
        frameTaken = true;
        logf("Frame rec [0x%02x] (%u)...", codec.rxFrame[0], static_cast<unsigned>(codec.expectedLength));
        bool ignored = false;
        if (!checkAnswer(code, ignored) && !ignored) {
            moveLink(LinkWaiting, LinkFailed);
            return true;
        }
    }
    if (linkState_.load(std::memory_order_acquire) == LinkSending) {
        send(codec, port, &linkLog(), jobLoops_.load(std::memory_order_relaxed));
        if (codec.sendComplete()) {
            frameSentNs_.store(steadyNs(), std::memory_order_relaxed);
            moveLink(LinkSending, LinkWaiting);
        }
    }
    if (linkState_.load(std::memory_order_acquire) == LinkReady)
        planAndBuild(code);
    return frameTaken || linkState_.load(std::memory_order_acquire) != stateBefore ||
           job_.load(std::memory_order_acquire) != code;
}

void CCOMCOM::planAndBuild(std::uint32_t code)
{
    const std::uint32_t d = bytesPerFrame();
    const std::uint32_t from = currentAddress_.load(std::memory_order_relaxed);
    FrameCodec& codec = connection.codec;
    const bool ign = isIgn(codec.protocol);
    const FramePlan plan =
        ign ? planIgnFrame(transferMask_.data(), from, endAddress_, d) : planWcomFrame(transferMask_.data(), from, endAddress_, d);
    if (!plan.found) {
        lastJob_.store(code, std::memory_order_relaxed);
        finishJob(code, jobs::Done);
        return;
    }
    currentAddress_.store(plan.first, std::memory_order_release);
    frameDataLength_ = static_cast<std::uint16_t>(plan.length);
    const std::uint32_t after = plan.first + plan.length;
    lastFrame_.store(!(ign ? planIgnFrame(transferMask_.data(), after, endAddress_, d)
                           : planWcomFrame(transferMask_.data(), after, endAddress_, d))
                          .found,
                     std::memory_order_relaxed);
    // Bytes of the frame beyond the memory arrays travel as zeros.
    std::uint8_t data[kFrameCapacity] = {};
    const std::uint32_t available = plan.first < kMemoryArray ? std::min(plan.length, kMemoryArray - plan.first) : 0;
    std::memcpy(data, sendData_.data() + plan.first, available);
    if (ign) {
        const std::uint32_t k = plan.first / d;
        std::uint8_t request = icmd::Command;
        std::uint16_t v = 0;
        switch (code) {
        case jobs::Write: request = static_cast<std::uint8_t>(icmd::Write + k); break;
        case jobs::Read: request = static_cast<std::uint8_t>(icmd::Read + k); break;
        case jobs::Monitor:
            request = static_cast<std::uint8_t>(icmd::Monitor + k);
            v = 109;
            break;
        case jobs::ReadIdentity: request = icmd::ReadIdentity; break;
        default: break;
        }
        expectedAnswer_ = request | icmd::AnswerBit;
        codec.txFrameLength = buildIgn(codec.txFrame, d, request, 0, data, v);
    } else {
        const std::uint32_t sum = codec.protocol == ProtocolWcoms ? kWcomSum : 0;
        std::uint8_t count[2] = {static_cast<std::uint8_t>(plan.length & 0xFF), static_cast<std::uint8_t>(plan.length >> 8)};
        const std::uint16_t address = static_cast<std::uint16_t>(plan.first);
        std::uint16_t command = 0;
        switch (code) {
        case jobs::Write:
            command = wcmd::WriteMemory;
            codec.txFrameLength = buildWcom(codec.txFrame, command | sum, address, plan.length, data);
            break;
        case jobs::Monitor:
            command = wcmd::Monitor;
            codec.txFrameLength = buildWcom(codec.txFrame, command | sum, address, plan.length, data);
            break;
        case jobs::Read:
        case jobs::ReadIdentity:
            command = code == jobs::Read ? wcmd::ReadMemory : wcmd::ReadIdentity;
            codec.txFrameLength = buildWcom(codec.txFrame, command | sum, address, 2, count);
            break;
        default:
            command = static_cast<std::uint16_t>(commandCode_);
            codec.txFrameLength = buildWcom(codec.txFrame, command | sum, static_cast<std::uint16_t>(commandAddress_), 0, nullptr);
            break;
        }
        expectedAnswer_ = command;
    }
    // An IGN answer is as long as its request; a WCOM answer is a header, with the data
    // when it brings memory back.
    const bool bringsData = code == jobs::Read || code == jobs::Monitor || code == jobs::ReadIdentity;
    exchangeBytes_.store(codec.txFrameLength + (ign ? codec.txFrameLength : kWcomOverhead + (bringsData ? plan.length : 0)),
                         std::memory_order_relaxed);
    // A new request: bytes still waiting answer an earlier one (a late answer, or the
    // answer to a probe's second sending) and would be taken for this one's answer.
    discardStale(codec, channel(static_cast<int>(connectedPort.load(std::memory_order_acquire))));
    codec.restartSend();
    sendTime_.store(msClock(), std::memory_order_release);
    moveLink(LinkReady, LinkSending);
    logf("Frame send [0x%02x] (%u).../Job=%u,len=%u/ data[21]=0x%02x", codec.txFrame[0],
         static_cast<unsigned>(codec.txFrameLength), static_cast<unsigned>(code), static_cast<unsigned>(jobLength_),
         codec.txFrame[21]);
}

bool CCOMCOM::checkAnswer(std::uint32_t code, bool& ignored)
{
    const FrameCodec& codec = connection.codec;
    const std::uint8_t* frame = codec.rxFrame;
    const std::uint32_t current = currentAddress_.load(std::memory_order_relaxed);
    std::uint32_t address = 0;
    std::uint32_t length = 0;
    const std::uint8_t* data = nullptr;
    if (isIgn(codec.protocol)) {
        const std::uint32_t n = ignDataLength(codec.protocol);
        if (frame[0] != expectedAnswer_) {
            // The answer to another request (one that came late): not this request's
            // answer, and no reason to send this one again; its own answer may follow.
            logf("COM not expected answer 0x%02x!=0x%02x (%u)...", frame[0], static_cast<unsigned>(expectedAnswer_),
                 static_cast<unsigned>(retryCount_));
            ignored = true;
            return false;
        }
        std::uint32_t i = frame[0] & 0x3F;
        if (i >= 48)
            i &= 0x0F;
        address = n * i;
        if (code == jobs::Write || code == jobs::Read)
            address -= n;
        if (address != current) {
            logf("address is not equal %u!=%u (%u)...", static_cast<unsigned>(current), static_cast<unsigned>(address),
                 static_cast<unsigned>(retryCount_));
            return false;
        }
        length = n;
        data = frame + 1;
        if (code == jobs::Write) {
            int errors = 0;
            for (std::uint32_t j = 0; j < n && address + j < kMemoryArray; ++j)
                errors += data[j] != sendData_[address + j];
            if (errors) {
                logf("COM verify fail, %i errors (%u)...", errors, static_cast<unsigned>(retryCount_));
                return false;
            }
        }
    } else {
        const WcomHeader h = wcomHeader(frame);
        if ((h.type & 0x0F) != 0x0C || h.command != expectedAnswer_ || !checkedAs(codec.protocol, frame)) {
            ignored = true;
            return false;
        }
        const bool carriesData = code == jobs::Read || code == jobs::Monitor || code == jobs::ReadIdentity;
        if (h.address != current || (carriesData && h.length != frameDataLength_)) {
            logf("len or address is not equal %u!=%u (%u)...", static_cast<unsigned>(current),
                 static_cast<unsigned>(h.address), static_cast<unsigned>(retryCount_));
            return false;
        }
        address = h.address;
        length = frameDataLength_;
        data = frame + 14;
    }
    // An answer that arrives after the tick declared the time-out is left to the retry.
    if (!moveLink(LinkWaiting, LinkReady))
        return true;
    if (code == jobs::Read || code == jobs::Monitor || code == jobs::ReadIdentity) {
        for (std::uint32_t j = 0; j < length && address + j < kMemoryArray; ++j) {
            readData_[address + j] = data[j];
            readValid_[address + j] = 1;
        }
    }
    currentAddress_.store(current + length, std::memory_order_release);
    retryCount_ = 0;
    return true;
}

}  // namespace devlink
