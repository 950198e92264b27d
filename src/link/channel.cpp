#include "link/channel.h"

#include <algorithm>
#include <cstring>

namespace devlink {

RingSpace ringFreeSpace(std::uint32_t rxRead, std::uint32_t rxWrite)
{
    RingSpace space{};
    if (rxWrite >= rxRead) {
        space.first = kRingSize - rxWrite;
        space.second = rxRead;
    } else {
        space.first = rxRead - rxWrite;
        space.second = 0;
    }
    if (space.second > 0)
        --space.second;
    else if (space.first > 0)
        --space.first;
    return space;
}

bool CCOM::popByte(std::uint8_t& byte)
{
    const std::uint32_t read = rxRead.load(std::memory_order_relaxed);
    if (read == rxWrite.load(std::memory_order_acquire))
        return false;
    byte = rxRing[read];
    rxRead.store(read + 1 >= kRingSize ? 0 : read + 1, std::memory_order_release);
    return true;
}

void CCOM::discardReceived() { rxRead.store(rxWrite.load(std::memory_order_acquire), std::memory_order_release); }

bool CCOM::offerChunk(const std::uint8_t* bytes, std::uint32_t length)
{
    if (length == 0 || txLength.load(std::memory_order_acquire) != 0)
        return false;
    length = std::min(length, kTxChunk);
    std::memcpy(txBuffer, bytes, length);
    txLength.store(length, std::memory_order_release);
    wakeThread();
    return true;
}

void CCOM::wakeThread()
{
    if (WakeSignal* signal = wake.load(std::memory_order_acquire))
        signal->raise();
}

}  // namespace devlink
