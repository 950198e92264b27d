#pragma once
// The transfer job engine: a job (code, address range, bytes to send, mask) is cut into
// frames of the connected unit's protocol by a job thread, which sends each frame, checks
// the answer, stores what came back and retries a frame that is not answered.
//
// Hand-off (no locks): the user-interface thread fills sendData/transferMask and starts
// a job only while `job` is 0, and reads readData only after `job` became 132 or 136;
// the thread moves `job` only from a running code to 132 or 136. `linkState` 3 -> 4 is
// the tick's, every other change the thread's (and 0/1 the tick's when the link comes
// or goes); changes are compare-and-swap so a link taken down is never revived.

#include <array>
#include <atomic>
#include <cstdint>
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

// startJob flags.
constexpr int kJobMaskRange = 1;     // set transferMask over the range
constexpr int kJobClearSend = 2;     // zero sendData over the range
constexpr int kJobSingleAttempt = 4;

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

    void startJob(std::uint32_t jobCode, int start, int length, int flags);
    void disconnect();
    // One main-timer tick at `msClock`: the port search, link supervision, answer time-out.
    void tick(std::uint32_t msClock);
    // Memory bytes per frame of the connected unit.
    std::uint32_t bytesPerFrame() const;

    std::atomic<std::uint32_t> linkState{LinkNone};
    std::atomic<std::uint32_t> job{jobs::Done};
    std::atomic<std::uint32_t> lastJob{jobs::Done};
    std::uint32_t commandCode = 0;
    std::uint32_t commandAddress = 0;
    std::uint32_t commandLength = 0;
    std::atomic<std::uint32_t> currentAddress{0};
    std::uint32_t jobLength = 0;
    std::uint32_t endAddress = 0;
    std::array<std::uint8_t, kMemoryArray> sendData{};
    std::array<std::uint8_t, kMemoryArray> transferMask{};
    std::array<std::uint8_t, kMemoryArray> readData{};
    std::array<std::uint8_t, kMemoryArray> readValid{};

private:
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

    std::int32_t expectedAnswer_ = -1;
    std::uint16_t frameDataLength_ = 0;
    std::uint32_t retryCount_ = 0;
    std::uint32_t retryLimit_ = 3;
    std::atomic<std::uint32_t> sendTime_{0};
    std::atomic<bool> busy_{false};
    std::thread thread_;
};

}  // namespace devlink
