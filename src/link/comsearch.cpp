#include "link/comsearch.h"

#include <cstdio>
#include <cstring>

namespace devlink {

namespace {

constexpr std::uint32_t kRestTime = 300;
constexpr std::uint32_t kOpenTime = 600;
constexpr std::uint32_t kIgnOverhead = 2;
constexpr std::uint32_t kWcomDefaultFrame = 48;

}  // namespace

std::array<ProbeRow, kProbeRows + 1> defaultProbeTable()
{
    const ProbeRow def{ProtocolIgn50, 57600, 125, true};
    return {{
        def,
        {ProtocolWcom, 57600, 75, false},
        {ProtocolWcoms, 57600, 125, false},
        def,
        {ProtocolIgn50, 57600, 125, false},
        def,
        {ProtocolIgn100, 57600, 175, false},
        def,
        {ProtocolIgn150, 57600, 175, false},
        def,
        {ProtocolWcom, 115200, 75, false},
        {ProtocolWcoms, 115200, 325, false},
        def,
        {ProtocolIgn300, 115200, 175, false},
        {ProtocolNone, 0, 0, false},
    }};
}

CCOMSEARCH::CCOMSEARCH(DeviceFolders folders) : CCOMIOSYS(std::move(folders)), probes_(defaultProbeTable()) {}

void CCOMSEARCH::setRememberedRow(const RememberedRow& row)
{
    remembered_ = row;
    rememberedIndex_ = -1;
    if (row.port < 1 || row.port > 255)
        return;
    for (std::int32_t i = 0; i < kProbeRows; ++i) {
        const ProbeRow& probe = probes_[static_cast<std::size_t>(i)];
        if (probe.protocol == row.protocol && probe.baud == row.baud) {
            rememberedIndex_ = i;
            break;
        }
    }
    if (rememberedIndex_ >= 0)
        nextAutoPort = static_cast<std::uint32_t>(row.port);
}

RememberedRow CCOMSEARCH::connectedRow() const
{
    RememberedRow row;
    row.port = connection.port;
    row.protocol = connection.codec.protocol;
    row.baud = probes_[static_cast<std::size_t>(connection.probeIndex)].baud;
    return row;
}

std::int32_t CCOMSEARCH::firstRow(int port, bool& remembered) const
{
    // Row 0 is where the table starts anyway: nothing to try before it.
    remembered = rememberedIndex_ > 0 && port == remembered_.port;
    return remembered ? rememberedIndex_ : 0;
}

std::int32_t CCOMSEARCH::followingRow(const SearchSlot& slot) const
{
    return slot.rememberedFirst ? 0 : slot.probeIndex + 1;
}

void CCOMSEARCH::setDefaultProbe(std::int32_t protocol, std::uint32_t baud, std::uint32_t timeout)
{
    for (ProbeRow& row : probes_)
        if (row.isDefault)
            row = {protocol, baud, timeout, true};
}

bool CCOMSEARCH::identifyIgn(std::int32_t protocol, const std::uint8_t* frame, std::int32_t& deviceId,
                             std::uint32_t& maxFrameLength, char* deviceName)
{
    const std::uint32_t n = ignDataLength(protocol);
    if (n == 0) {
        maxFrameLength = 52;
        deviceId = -1;
        std::snprintf(deviceName, 32, "Korvelan (unknown)");
        return false;
    }
    if (frame[0] != (icmd::Monitor | icmd::AnswerBit))
        return false;
    maxFrameLength = n + kIgnOverhead;
    deviceId = protocol == ProtocolIgn300 ? (frame[2] << 8 | frame[3]) : frame[n];
    std::snprintf(deviceName, 32, "Korvelan %i", deviceId);
    for (const DeviceTypeName& row : deviceTypeNames()) {
        if (row.identity == 0)
            break;
        if (row.identity == deviceId)
            std::snprintf(deviceName, 32, "%s v%i", row.name, deviceId);
    }
    return true;
}

void CCOMSEARCH::show(int slot, const std::string& text, int durationMs, std::uint32_t font, std::uint32_t back,
                      int priority)
{
    if (!messages_)
        return;
    shown_[slot] = lang::LangText(text);
    messages_->showMessage(slot, &shown_[slot], durationMs, font, back, priority);
}

void CCOMSEARCH::freeSlot(SearchSlot& slot)
{
    slot.port = 0;
    slot.slotState = SlotFree;
}

void CCOMSEARCH::searchStep()
{
    managePorts();
    if (!portsEnumerated || connectedPort.load(std::memory_order_acquire) != 0 || !searchEnabled_)
        return;
    if (!reportedFound_) {
        logLine("COM found");
        reportedFound_ = true;
    }
    if (portSetting == -1) {
        for (SearchSlot& slot : slots) {
            if (slot.port)
                requestClose(slot.port);
            freeSlot(slot);
        }
        return;
    }
    for (int s = 0; s < 3; ++s) {
        bool endStep = false;
        while (stepSlot(s, endStep) && !endStep) {
        }
        if (endStep)
            return;
    }
}

void CCOMSEARCH::sendProbe(int s)
{
    SearchSlot& slot = slots[static_cast<std::size_t>(s)];
    const ProbeRow& row = probes_[static_cast<std::size_t>(slot.probeIndex)];
    FrameCodec& codec = slot.codec;
    codec.setup(row.protocol, row.timeout);
    if (isWcom(row.protocol)) {
        codec.txFrameLength = buildWcom(codec.txFrame, wcmd::Identify | (row.protocol == ProtocolWcoms ? kWcomSum : 0),
                                        0, 0, nullptr);
    } else {
        const std::uint16_t v = row.protocol == ProtocolIgn300 ? 0 : static_cast<std::uint16_t>(expectedDeviceId);
        codec.txFrameLength = buildIgn(codec.txFrame, ignDataLength(row.protocol), icmd::Monitor, 0, nullptr, v);
    }
    // A new row: whatever came before answers an earlier row's probe, perhaps in another
    // protocol, and must not be credited to this one. (The row's second sending keeps
    // what came: a late answer to its first sending is this row's answer.)
    discardStale(codec, channel(slot.port));
    send(codec, channel(slot.port), &linkLog(), jobLoops_.load(std::memory_order_relaxed));
    slot.slotTime = msClock();
    slot.slotState = SlotProbeSent;
    logf("[%i] Send Once (%s)...", s, protocolName(row.protocol));
}

void CCOMSEARCH::readAnswer(int s)
{
    SearchSlot& slot = slots[static_cast<std::size_t>(s)];
    FrameCodec& codec = slot.codec;
    CCOM& c = channel(slot.port);
    send(codec, c, &linkLog(), jobLoops_.load(std::memory_order_relaxed));
    if (!receive(codec, c, msClock()))
        return;
    const std::uint32_t length = isWcom(codec.protocol) ? kWcomOverhead + wcomHeader(codec.rxFrame).length
                                                        : codec.expectedLength;
    logf("[%i] Frame rec (%u)...", s, static_cast<unsigned>(codec.expectedLength));
    if (length == codec.txFrameLength && std::memcmp(codec.rxFrame, codec.txFrame, length) == 0) {
        slot.slotState = SlotPortFailed;
        logf("[%i] ECHO !", s);
        return;
    }
    if (isIgn(codec.protocol)) {
        if (codec.rxFrame[0] != (icmd::Monitor | icmd::AnswerBit))
            return;
        slot.hardwareCode = -1;
        slot.frameOverhead = kIgnOverhead;
        identifyIgn(codec.protocol, codec.rxFrame, slot.deviceId, slot.maxFrameLength, slot.deviceName);
        slot.slotState = SlotAnswered;
        return;
    }
    const WcomHeader h = wcomHeader(codec.rxFrame);
    if (h.command != wcmd::Identify || (h.type & 0x0F) != 0x0C || !checkedAs(codec.protocol, codec.rxFrame))
        return;
    identifyWcom(codec.rxFrame, slot);
    slot.slotState = SlotAnswered;
}

void CCOMSEARCH::identifyWcom(const std::uint8_t* frame, SearchSlot& slot)
{
    const std::uint32_t length = wcomHeader(frame).length;
    const std::uint8_t* data = frame + 14;
    std::size_t nameLength = 0;
    while (nameLength < length && data[nameLength] != 0)
        ++nameLength;
    char name[32] = {};
    std::memcpy(name, data, std::min<std::size_t>(nameLength, 31));
    slot.frameOverhead = kWcomOverhead;
    slot.maxFrameLength = kWcomDefaultFrame;
    slot.hardwareCode = -1;
    slot.deviceId = -1;
    std::size_t at = nameLength + 1;  // after the terminating zero
    auto word = [&](std::int32_t& into) {
        if (at + 2 > length)
            return false;
        into = data[at] | data[at + 1] << 8;
        at += 2;
        return true;
    };
    std::int32_t frameLength = 0;
    if (word(frameLength)) {
        slot.maxFrameLength = static_cast<std::uint32_t>(frameLength);
        if (word(slot.hardwareCode))
            word(slot.deviceId);
    }
    std::snprintf(slot.deviceName, sizeof slot.deviceName, "%s v%i (hw:%x)", name, slot.deviceId,
                  static_cast<unsigned>(slot.hardwareCode));
}

void CCOMSEARCH::connect(int s)
{
    SearchSlot& winner = slots[static_cast<std::size_t>(s)];
    const int port = winner.port;
    connection = winner;
    for (SearchSlot& slot : slots) {
        if (slot.port && slot.port != port)
            requestClose(slot.port);
        freeSlot(slot);
        slot.probeIndex = 0;
        slot.rememberedFirst = false;
    }
    portListChanged.store(1, std::memory_order_release);
    nextAutoPort = static_cast<std::uint32_t>(port);
    searchEnabled_ = true;
    connectedPort.store(static_cast<std::uint32_t>(port), std::memory_order_release);
    char name[32];
    std::memcpy(name, connection.deviceName, sizeof name);
    std::string text = "###";
    text += name;
    text += " connected##";
    text += name;
    text += " verbunden##";
    text += name;
    text += " připojen";
    show(1, text, lang::kDurationForever, lang::colour::Black, lang::colour::White, 100);
    logf("[%i]%s", s, text.c_str());
}

bool CCOMSEARCH::stepSlot(int s, bool& endStep)
{
    SearchSlot& slot = slots[static_cast<std::size_t>(s)];
    const std::uint32_t now = msClock();

    if (slot.slotState == SlotResting) {
        if (now - slot.slotTime > kRestTime)
            freeSlot(slot);
        if (channel(slot.port).ioState.load(std::memory_order_acquire) == IoClosed)
            slot.slotState = SlotFree;
    }
    if (portSetting > 0 && slot.port != 0 && slot.port != portSetting) {
        logf("[%i]FORCE CLOSE - Close port COM%i", s, slot.port);
        requestClose(slot.port);
        freeSlot(slot);
        slot.slotTime = now;
        slot.slotState = SlotResting;
    }
    if (slot.slotState == SlotOpening) {
        if (now - slot.slotTime > kOpenTime) {
            slot.slotState = SlotPortFailed;
            logf("[%i] Not Openning...", s);
        } else if (channel(slot.port).ioState.load(std::memory_order_acquire) == IoOpen) {
            sendProbe(s);
        }
    }
    const ProbeRow& row = probes_[static_cast<std::size_t>(slot.probeIndex)];
    if ((slot.slotState == SlotProbeSent || slot.slotState == SlotProbeSentAgain) && now - slot.slotTime > row.timeout) {
        if (slot.slotState == SlotProbeSentAgain) {
            slot.slotState = SlotProtocolFailed;
        } else if (slot.codec.sendComplete()) {
            slot.codec.restartSend();
            slot.slotTime = now;
            slot.slotState = SlotProbeSentAgain;
            logf("[%i] Send Again...", s);
        }
    }
    if (slot.slotState == SlotProbeSent || slot.slotState == SlotProbeSentAgain)
        readAnswer(s);
    if (slot.slotState == SlotAnswered) {
        if (slot.deviceId == static_cast<std::int32_t>(expectedDeviceId)) {
            connect(s);
            endStep = true;
            return false;
        }
        char text[256];
        std::snprintf(text, sizeof text,
                      "###COM %i:%s (unmatched)##COM %i:%s verbunden (unübertroffen)##COM %i:%s připojen (nekompatibilní)",
                      slot.port, slot.deviceName, slot.port, slot.deviceName, slot.port, slot.deviceName);
        logf("[%i]%s", s, text);
        show(1, text, 6000, lang::colour::Black, lang::colour::Red, 10);
        slot.slotState = SlotPortFailed;
    }
    if (slot.slotState == SlotPortFailed) {
        logf("[%i]FAIL PORT - Close port COM%i", s, slot.port);
        requestClose(slot.port);
        slot.port = 0;
        slot.slotTime = now;
        slot.slotState = SlotResting;
    }
    if (slot.slotState == SlotProtocolFailed) {
        const ProbeRow& next = probes_[static_cast<std::size_t>(followingRow(slot))];
        if (next.protocol != ProtocolNone && next.baud == row.baud) {
            logf("[%i]FAIL PROTOCOL - skip port closing", s);
            slot.slotState = SlotFree;
        } else {
            logf("[%i]FAIL PROTOCOL - Close port COM%i", s, slot.port);
            requestClose(slot.port);
            slot.slotTime = now;
            slot.slotState = SlotResting;
        }
    }
    if (slot.slotState != SlotFree)
        return false;

    if (slot.port) {
        slot.probeIndex = followingRow(slot);
        slot.rememberedFirst = false;
        if (probes_[static_cast<std::size_t>(slot.probeIndex)].protocol == ProtocolNone)
            freeSlot(slot);
    }
    const bool tookPort = !slot.port;
    if (!slot.port) {
        if (portSetting > 0) {
            if (s > 0) {
                endStep = true;
                return false;
            }
            slot.port = portSetting;
        } else {
            int chosen = 0;
            std::uint32_t candidate = nextAutoPort;
            for (int i = 0; i < 256 && !chosen; ++i, candidate = candidate >= 255 ? 1 : candidate + 1) {
                if (candidate < 1 || candidate > 255 || !channel(static_cast<int>(candidate)).exists.load())
                    continue;
                bool used = false;
                for (const SearchSlot& other : slots)
                    used = used || other.port == static_cast<std::int32_t>(candidate);
                if (!used)
                    chosen = static_cast<int>(candidate);
            }
            if (!chosen)
                return false;
            nextAutoPort = chosen >= 255 ? 1 : static_cast<std::uint32_t>(chosen + 1);
            slot.port = chosen;
        }
        slot.probeIndex = firstRow(slot.port, slot.rememberedFirst);
    }
    const ProbeRow& start = probes_[static_cast<std::size_t>(slot.probeIndex)];
    slot.codec.setup(start.protocol, start.timeout);
    bool again = false;
    if (channel(slot.port).ioState.load(std::memory_order_acquire) != IoOpen) {
        requestOpen(slot.port, start.baud);
        // A port the search has just taken opens in this step, so its first probe goes out
        // at the next tick rather than the one after. (Reopening at another line speed keeps
        // the manager's pace: close, rest, open.)
        if (tookPort)
            openAtOnce(slot.port);
        logf("[%i]Open Port COM%i, Protocol=%i, Timeout=%u", s, slot.port, start.protocol,
             static_cast<unsigned>(start.timeout));
    } else {
        logf("[%i]...skip onening port COM%i, Protocol=%i, Timeout=%u", s, slot.port, start.protocol,
             static_cast<unsigned>(start.timeout));
        again = true;
    }
    slot.slotTime = now;
    slot.slotState = SlotOpening;
    return again;
}

}  // namespace devlink
