#pragma once
// The port search: once per main-timer tick, up to three ports at a time are probed
// with identification frames in the protocols and speeds of the probe table; the unit
// whose identity is the expected one is connected.

#include <array>
#include <cstdint>
#include <string>

#include "lang/langtext.h"
#include "lang/messageslots.h"
#include "link/comiosys.h"
#include "link/framecodec.h"

namespace devlink {

enum SlotState : std::int32_t {
    SlotFree = 0,
    SlotOpening = 1,
    SlotProbeSent = 2,
    SlotResting = 3,
    SlotProbeSentAgain = 4,
    SlotAnswered = 5,
    SlotProtocolFailed = 6,
    SlotPortFailed = 7,
};

struct SearchSlot {
    std::int32_t port = 0;
    std::int32_t probeIndex = 0;
    std::uint32_t slotTime = 0;
    std::int32_t slotState = SlotFree;
    std::int32_t hardwareCode = -1;
    std::int32_t deviceId = -1;
    char deviceName[32] = {};
    std::uint32_t maxFrameLength = 0;
    std::uint32_t frameOverhead = 0;
    bool rememberedFirst = false;  // the row is the remembered unit's, tried before row 0
    FrameCodec codec;
};

// Where the last unit answered: its port, protocol and line speed (0: none).
struct RememberedRow {
    std::int32_t port = 0;
    std::int32_t protocol = 0;
    std::uint32_t baud = 0;
};

struct ProbeRow {
    std::int32_t protocol;
    std::uint32_t baud;
    std::uint32_t timeout;  // answer time-out and inter-byte time-out, msClock units
    bool isDefault;
};
constexpr int kProbeRows = 14;
// The 14 rows and the end row (protocol 0), with the default rows at IGN50 57600 125.
std::array<ProbeRow, kProbeRows + 1> defaultProbeTable();

struct DeviceTypeName {
    std::int32_t identity;  // 0 ends the table
    char name[32];
};
constexpr int kDeviceTypeNames = 122;
const std::array<DeviceTypeName, kDeviceTypeNames + 1>& deviceTypeNames();

class CCOMSEARCH : public CCOMIOSYS {
public:
    explicit CCOMSEARCH(DeviceFolders folders = defaultDeviceFolders());

    void searchStep();
    // While paused, the search connects no unit (the user disconnected); connecting a
    // unit resumes it.
    void pauseSearch() { searchEnabled_ = false; }
    void resumeSearch() { searchEnabled_ = true; }
    bool searchPaused() const { return !searchEnabled_; }
    void setDefaultProbe(std::int32_t protocol, std::uint32_t baud, std::uint32_t timeout);
    const std::array<ProbeRow, kProbeRows + 1>& probeTable() const { return probes_; }
    // Reads the identity from an IGN answer; false when the frame is no identity answer.
    static bool identifyIgn(std::int32_t protocol, const std::uint8_t* frame, std::int32_t& deviceId,
                            std::uint32_t& maxFrameLength, char* deviceName /* 32 */);
    // Fills the slot's name, largest frame length, hardware code and identity from a WCOM
    // identify answer (a name, then up to three 16-bit words).
    static void identifyWcom(const std::uint8_t* frame, SearchSlot& slot);
    void setMessageSlots(lang::MessageSlots* slots) { messages_ = slots; }
    // The row of the last unit that answered: on its port the search probes it first and
    // then the whole table in order; the automatic search starts at its port.
    void setRememberedRow(const RememberedRow& row);
    // The port, protocol and line speed of the connected unit.
    RememberedRow connectedRow() const;

    // The connected unit (a copy of the slot that found it) and the three working slots.
    SearchSlot connection;
    std::array<SearchSlot, 3> slots;
    std::atomic<std::uint32_t> connectedPort{0};
    std::uint32_t expectedDeviceId = 109;
    std::int32_t portSetting = 0;  // -1 off, 0 automatic, n only port n
    std::uint32_t nextAutoPort = 1;

protected:
    void show(int slot, const std::string& text, int durationMs, std::uint32_t font, std::uint32_t back, int priority);

private:
    // Processes slot s once; true when it must be processed again at once.
    bool stepSlot(int s, bool& endStep);
    void readAnswer(int s);
    void sendProbe(int s);
    void connect(int s);
    void freeSlot(SearchSlot& slot);
    // The first row for a slot that takes `port`, and the row after the slot's current one.
    std::int32_t firstRow(int port, bool& remembered) const;
    std::int32_t followingRow(const SearchSlot& slot) const;

    std::array<ProbeRow, kProbeRows + 1> probes_;
    bool searchEnabled_ = true;
    bool reportedFound_ = false;
    RememberedRow remembered_;
    std::int32_t rememberedIndex_ = -1;  // its row in the probe table, -1 when none
    lang::MessageSlots* messages_ = nullptr;
    lang::LangText shown_[5];
};

}  // namespace devlink
