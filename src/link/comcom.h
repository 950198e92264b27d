#pragma once
// The transfer job engine: a job (code, address range, bytes to send, mask) is cut into
// frames of the connected unit's protocol by a job thread, which sends each frame, checks
// the answer, stores what came back and retries a frame that is not answered.
//
// Hand-off (no locks), kept by the interface: the user-interface thread starts a job only
// through the start operations, which fill the send buffer and the mask and refuse while
// a job runs; what came back is handed out by received() only while no job runs. The
// thread moves the job only from running to done or failed; the user-interface thread
// takes a finished job with clearJob(). The link state LinkWaiting -> LinkFailed is the
// tick's, every other change the thread's (and LinkNone/LinkReady the tick's when the
// link comes or goes); changes are compare-and-swap so a link taken down is never revived.

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <thread>

#include "link/comsearch.h"

namespace devlink {

enum LinkState : std::uint32_t { LinkNone = 0, LinkReady = 1, LinkSending = 2, LinkWaiting = 3, LinkFailed = 4 };

namespace jobs {
constexpr std::uint32_t None = 0;
constexpr std::uint32_t Write = 17;
constexpr std::uint32_t Read = 18;
constexpr std::uint32_t Monitor = 35;
constexpr std::uint32_t Command = 65;
constexpr std::uint32_t ReadIdentity = 66;
constexpr std::uint32_t Failed = 132;
constexpr std::uint32_t Done = 136;
}  // namespace jobs

// What the user-interface thread sees of the job.
enum class JobStatus { Idle, Running, Done, Failed };

// How often an unanswered frame of a job is sent before the job fails.
enum class Attempts { Three, One };

constexpr std::uint32_t kMemoryArray = 8000;
constexpr std::uint32_t kAnswerTimeout = 400;

// The next frame of a job: memory from `first`, `length` bytes.
struct FramePlan {
    bool found = false;
    std::uint32_t first = 0;
    std::uint32_t length = 0;
};
// WCOM/WCOMS: from the first masked address, up to D bytes, ending early after more
// than 50 unmasked addresses.
FramePlan planWcomFrame(const std::uint8_t* mask, std::uint32_t from, std::uint32_t end, std::uint32_t d);
// IGN: the first D-aligned block from the one holding `from` that has a masked address.
FramePlan planIgnFrame(const std::uint8_t* mask, std::uint32_t from, std::uint32_t end, std::uint32_t d);

class CCOMCOM : public CCOMSEARCH {
public:
    explicit CCOMCOM(DeviceFolders folders = defaultDeviceFolders());
    ~CCOMCOM() override;

    // Starting a job (user-interface thread). Each returns false, doing nothing, while a
    // job runs; a finished job that was not cleared is replaced.
    // Reads `length` bytes of the unit's memory from `start`.
    bool startRead(int start, int length, Attempts attempts = Attempts::Three);
    // Reads the addresses from 0 whose byte in `mask` is set.
    bool startMaskedRead(std::span<const std::uint8_t> mask);
    // Reads the first `length` bytes of the identity block.
    bool startIdentityRead(int length);
    // Writes `bytes` to the unit's memory from address 0: all of them, or with a mask
    // only the addresses whose mask byte is set.
    bool startWrite(std::span<const std::uint8_t> bytes);
    bool startMaskedWrite(std::span<const std::uint8_t> bytes, std::span<const std::uint8_t> mask);
    // Sends the monitor request and reads the monitor block back (one attempt).
    bool startMonitorExchange(std::span<const std::uint8_t> request);
    // Makes the unit restart.
    bool startReset();

    JobStatus jobStatus() const;
    // Takes a finished job: the link is idle for the next one.
    void clearJob() { job_.store(jobs::None, std::memory_order_release); }
    // The bytes the last job brought, indexed by memory address; empty while a job runs.
    std::span<const std::uint8_t> received() const;
    // The address the running job has reached (for progress displays).
    std::uint32_t jobAddress() const { return currentAddress_.load(std::memory_order_relaxed); }
    // The code of the job that ended last (jobs::Read, ...).
    std::uint32_t lastJobCode() const { return lastJob_.load(std::memory_order_relaxed); }
    LinkState linkState() const { return LinkState(linkState_.load(std::memory_order_acquire)); }

    void disconnect();
    // One main-timer tick at `msClock`: the port search, link supervision, answer time-out.
    // When the running job waits for the answer to its last frame and that answer is due
    // on the line within a few milliseconds of now, the tick waits for it, so the job ends
    // in this tick rather than the next one.
    void tick(std::uint32_t msClock);
    // Memory bytes per frame of the connected unit.
    std::uint32_t bytesPerFrame() const;

private:
    // startJob flags.
    static constexpr int kJobMaskRange = 1;  // set the transfer mask over the range
    static constexpr int kJobClearSend = 2;  // zero the send buffer over the range
    static constexpr int kJobSingleAttempt = 4;
    bool startJob(std::uint32_t jobCode, int start, int length, int flags);
    void jobThread();
    // One step of the running job; whether it moved (a frame was taken, the link state or
    // the job changed), so the thread looks again before it sleeps.
    bool jobStep(std::uint32_t code);
    void planAndBuild(std::uint32_t code);
    // Checks an answer; true when it was accepted, false when it failed (logged). Sets
    // `ignored` for a frame that answers another request (a late answer): it is neither
    // accepted nor a reason to send the request again.
    bool checkAnswer(std::uint32_t code, bool& ignored);
    bool moveLink(std::uint32_t from, std::uint32_t to);
    // Waits until the job thread is outside a step, after the link was taken down.
    void quiesce();
    // Ends the running job as done or failed and tells a tick that waits for it.
    void finishJob(std::uint32_t code, std::uint32_t result);
    // The tick's short wait for a last frame's answer that is due now (see tick()).
    void awaitDueAnswer();

    // Written by the user-interface thread only while no job runs, read by the job thread.
    std::array<std::uint8_t, kMemoryArray> sendData_{};
    std::array<std::uint8_t, kMemoryArray> transferMask_{};
    // Written by the job thread only while a job runs, read through received().
    std::array<std::uint8_t, kMemoryArray> readData_{};
    std::array<std::uint8_t, kMemoryArray> readValid_{};
    std::uint32_t commandCode_ = 0;
    std::uint32_t commandAddress_ = 0;
    std::uint32_t jobLength_ = 0;
    std::uint32_t endAddress_ = 0;
    std::atomic<std::uint32_t> linkState_{LinkNone};
    std::atomic<std::uint32_t> job_{jobs::Done};
    std::atomic<std::uint32_t> lastJob_{jobs::Done};
    std::atomic<std::uint32_t> currentAddress_{0};

    std::int32_t expectedAnswer_ = -1;
    std::uint16_t frameDataLength_ = 0;
    std::uint32_t retryCount_ = 0;
    std::uint32_t retryLimit_ = 3;
    std::atomic<std::uint32_t> sendTime_{0};
    std::atomic<bool> busy_{false};
    // The frame in flight, published before LinkWaiting: when it was handed to the port
    // (steady clock, ns), the bytes of the exchange on the line (request and answer) and
    // whether its answer ends the job.
    std::atomic<std::int64_t> frameSentNs_{0};
    std::atomic<std::uint32_t> exchangeBytes_{0};
    std::atomic<bool> lastFrame_{false};
    std::mutex endMutex_;
    std::condition_variable jobEnded_;
    std::thread thread_;
};

}  // namespace devlink
