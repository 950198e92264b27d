#pragma once
// A pseudo-terminal pair: the master side stays with its owner (the simulated unit), the
// slave side is the "serial port" the program opens. The owner keeps one slave handle
// open itself, so the line survives the program closing and reopening the port.

#include <cstdint>
#include <string>

namespace sim {

class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Creates the pair; the slave starts raw at `baud`. False with `error` on failure.
    bool open(std::uint32_t baud, std::string* error);
    void close();

    int master() const { return master_; }
    const std::string& slavePath() const { return slavePath_; }
    // The line speed the slave side is set to now (what the program asked for).
    std::uint32_t lineSpeed() const;

private:
    int master_ = -1;
    int keepAlive_ = -1;
    std::string slavePath_;
};

// Seconds a line at `baud` (8N1, ten bits a byte) needs for `bytes`.
double wireSeconds(std::size_t bytes, std::uint32_t baud);

}  // namespace sim
