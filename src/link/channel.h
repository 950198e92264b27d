#pragma once
// One serial channel ("COMi"): the line settings of the next open, the state shared
// between the manager (user-interface thread) and the port's I/O thread, the transmit
// hand-off buffer and the receive ring.
//
// Hand-off rules (no locks): `txLength` is set non-zero only by a producer that found it
// 0 and reset only by the I/O thread after writing; `rxWrite` is written only by the I/O
// thread, `rxRead` only by the port's one consumer. Each is stored with release after the
// bytes it hands over and loaded with acquire before they are read.

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

#include "link/serialport.h"

namespace devlink {

constexpr int kPortCount = 256;
constexpr std::uint32_t kTxBufferSize = 332;
constexpr std::uint32_t kTxChunk = 330;
constexpr std::uint32_t kRingSize = 330;

enum IoState : std::uint8_t { IoClosed = 0, IoOpening = 16, IoOpen = 32, IoClosing = 48 };
enum LastEvent : std::uint8_t { EventNone = 0, EventCannotOpen = 1, EventOpenTimeout = 2, EventNoThread = 3 };
enum ThreadCommand : std::uint8_t { CommandNone = 0, CommandOpen = 1, CommandClose = 2 };
enum ThreadState : std::uint8_t { ThreadNone = 0, ThreadRunning = 1, ThreadFinished = 2 };
enum Request : std::uint8_t { RequestOpen = 1, RequestClose = 2 };

// The free space of the ring as two pieces (from rxWrite to the end, and from the start
// to rxRead), after the one byte that is held back so the ring never fills.
struct RingSpace {
    std::uint32_t first;
    std::uint32_t second;
};
RingSpace ringFreeSpace(std::uint32_t rxRead, std::uint32_t rxWrite);

struct CCOM {
    std::uint8_t portNumber = 0;
    char displayName[8] = {};       // "COM%i"
    char devicePath[256] = {};      // resolved when an open starts
    char modeString[20] = {};       // "%i,N,8,1"
    std::atomic<std::uint8_t> ioState{IoClosed};
    std::atomic<std::uint8_t> lastEvent{EventNone};
    std::atomic<int> openError{0};  // errno of the last failed open
    std::uint32_t baudRate = 115200;
    std::atomic<std::uint32_t> exists{0};
    std::thread thread;
    std::atomic<bool> hasHandle{false};
    std::atomic<std::uint8_t> threadState{ThreadNone};
    std::uint8_t request = 0;
    std::atomic<std::uint8_t> threadCommand{CommandNone};
    std::atomic<std::uint32_t> stamp{0};
    std::uint8_t txBuffer[kTxBufferSize] = {};
    std::atomic<std::uint32_t> txLength{0};
    std::uint8_t rxRing[kRingSize] = {};
    std::atomic<std::uint32_t> rxRead{0};
    std::atomic<std::uint32_t> rxWrite{0};
    // Wakes the port's I/O thread; made before its first thread starts, kept for the
    // channel's life.
    std::atomic<WakeSignal*> wake{nullptr};
    std::unique_ptr<WakeSignal> wakeOwner;

    // Consumer side: takes one received byte; false when the ring is empty.
    bool popByte(std::uint8_t& byte);
    // Consumer side: drops every byte received so far.
    void discardReceived();
    // Wakes the I/O thread (a chunk waits or a command was given).
    void wakeThread();
    // Producer side: hands `length` (1..330) bytes to the I/O thread when the transmit
    // buffer is free, and wakes it; false when a chunk still waits.
    bool offerChunk(const std::uint8_t* bytes, std::uint32_t length);
};

}  // namespace devlink
