#include "sim/unit.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "link/framecodec.h"
#include "params/parameterset.h"

namespace sim {

using namespace devlink;

namespace {

constexpr int kSavingSteps = 20;
constexpr double kSavingStepSeconds = 0.1;
constexpr std::uint16_t kHardwareCode = 0x0A11;

void put16(std::uint8_t* at, unsigned value)
{
    at[0] = static_cast<std::uint8_t>(value & 0xFF);
    at[1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

}  // namespace

void fillDefaultParameters(std::array<std::uint8_t, kMemorySize>& memory)
{
    params::ParameterSet set;
    set[params::idx::PointsA] = set[params::idx::PointsB] = 5;
    set[params::idx::BaseAdvance] = 10;
    set[params::idx::HardLimiterA] = set[params::idx::HardLimiterB] = 95;
    set[params::idx::StartLimiterA] = set[params::idx::StartLimiterB] = 40;
    set[params::idx::SoftLimiterA] = set[params::idx::SoftLimiterB] = 90;
    set[params::idx::IgnitionsPerRev] = 1;
    set[params::idx::PilotLightA] = set[params::idx::PilotLightB] = 80;
    set[params::idx::ClutchTimeA] = set[params::idx::ClutchTimeB] = 20;
    set[params::idx::Input1] = 4;  // start limiter
    set[params::idx::Input2] = 3;  // curve B
    const std::uint8_t speeds[5] = {10, 20, 40, 60, 90};
    const std::uint8_t advancesA[5] = {10, 15, 25, 32, 30};
    const std::uint8_t advancesB[5] = {10, 12, 20, 26, 24};
    for (int i = 0; i < 5; ++i) {
        set[params::idx::SpeedA + i] = set[params::idx::SpeedB + i] = speeds[i];
        set[params::idx::AdvanceA + i] = advancesA[i];
        set[params::idx::AdvanceB + i] = advancesB[i];
    }
    params::normalize(set);
    std::copy(set.bytes.begin(), set.bytes.end(), memory.begin());
}

Unit::Unit(const UnitOptions& options) : options_(options)
{
    fillDefaultParameters(memory_);
    std::memcpy(identity_.data(), "TVX", 3);
    identity_[3] = 9;    // firmware number
    identity_[4] = 18;   // day
    identity_[5] = 35;   // April: 'A' + 'p' + 'r' modulo 256
    identity_[6] = 21;   // 2021
    identity_[7] = 12;
    identity_[8] = 34;
    identity_[9] = options.readAllowed ? 1 : 0;
    identity_[10] = static_cast<std::uint8_t>(options.identity);
    identity_[11] = static_cast<std::uint8_t>(options.variant);
    // Production: line 'A' (bit 7: tested), made on 18 April 2021 (day, month, year).
    const std::uint8_t production[4] = {'A' | 0x80, 18, 4, 21};
    std::memcpy(identity_.data() + 31, production, 4);
    const std::uint32_t updated = 1618749296;  // 18 April 2021
    for (int i = 0; i < 4; ++i)
        identity_[35 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(updated >> (8 * i));
    // Serial number 210418-010203-0072a: batch date, station, number.
    const std::uint8_t serial[8] = {0x2A, 7, 3, 2, 1, 18, 4, 21};
    std::memcpy(identity_.data() + 39, serial, 8);
}

int Unit::savingProgress(double seconds) const
{
    if (savingSince_ < 0)
        return 0;
    const int done = static_cast<int>((seconds - savingSince_) / kSavingStepSeconds);
    return std::max(0, kSavingSteps - done);
}

void Unit::written(double seconds)
{
    if (!saving(seconds))
        ++programmed_;
    savingSince_ = seconds;
}

void Unit::reset()
{
    ++resets_;
    savingSince_ = -1.0;
}

void Unit::unsteady(std::uint8_t* block, std::size_t at, std::size_t count)
{
    if (kUnsteadyByte < at || kUnsteadyByte >= at + count)
        return;
    const int n = unsteadyCount_++;
    if (options_.unsteadyReads < 0 || n < options_.unsteadyReads)
        block[kUnsteadyByte - at] ^= static_cast<std::uint8_t>(~n & 1);
}

std::array<std::uint8_t, kBlockSize> Unit::monitorBlock(double seconds) const
{
    std::array<std::uint8_t, kBlockSize> m{};
    const std::uint8_t* p = memory_.data();
    const EngineMoment engine = engineAt(seconds, p, options_.engine);
    const IgnitionState ignition = ignitionFor(engine, p);
    const int rpm = engine.rpm;
    const int millivolts = !engine.turning ? 12600 : ignition.basic ? 10800 : 13600 + static_cast<int>(300 * std::sin(seconds));
    const std::uint32_t minutes = 1234 + static_cast<std::uint32_t>(seconds / 60.0);
    put16(&m[0], static_cast<unsigned>(rpm));
    put16(&m[2], static_cast<unsigned>(millivolts));
    put16(&m[4], static_cast<unsigned>(programmed_));
    for (int i = 0; i < 8; ++i)
        put16(&m[6 + 2 * static_cast<std::size_t>(i)], static_cast<unsigned>(i * 100));
    put16(&m[22], minutes & 0xFFFF);
    m[28] = engine.grounded & 1u ? 1 : 0;
    m[29] = engine.grounded & 2u ? 1 : 0;
    m[30] = static_cast<std::uint8_t>(ignition.advance + 100);
    m[31] = static_cast<std::uint8_t>(ignition.maxAdvance);
    m[32] = p[params::idx::Polarity] == 1 ? 1 : 0;
    m[33] = 1;
    m[34] = ignition.startLimiter;
    m[35] = ignition.limiter;
    m[36] = ignition.blocking;
    m[37] = ignition.killSwitch;
    m[38] = ignition.pilotLight;
    m[40] = ignition.clutch;
    m[41] = engine.turning;
    m[42] = ignition.basic && engine.turning;
    m[43] = ignition.curve == 0 ? 1 : 0;
    m[44] = static_cast<std::uint8_t>((minutes >> 16) & 0xFF);
    put16(&m[46], static_cast<unsigned>(savingProgress(seconds)));
    m[49] = static_cast<std::uint8_t>(options_.identity);
    return m;
}

std::vector<std::uint8_t> Unit::answer(const std::uint8_t* frame, std::size_t length, double seconds)
{
    if (isWcom(options_.protocol) && length >= kWcomOverhead)
        return answerWcom(frame, seconds);
    if (isIgn(options_.protocol) && length == ignDataLength(options_.protocol) + 2)
        return answerIgn(frame, seconds);
    return {};
}

std::vector<std::uint8_t> Unit::answerWcom(const std::uint8_t* frame, double seconds)
{
    const WcomHeader h = wcomHeader(frame);
    const std::uint32_t sum = options_.protocol == ProtocolWcoms ? kWcomSum : 0;
    // A request in the other check kind is not this unit's protocol.
    if ((h.type & 0x0F) != 0x0B || (h.type & 0xF0) != (sum ? 0xF0 : 0xB0))
        return {};
    const std::uint8_t* data = frame + 14;
    const std::uint16_t count = h.length >= 2 ? static_cast<std::uint16_t>(data[0] | data[1] << 8) : 0;
    std::vector<std::uint8_t> out(kFrameCapacity);
    std::uint32_t n = 0;
    switch (h.command) {
    case wcmd::Identify: {
        std::uint8_t payload[32] = "TAVRIN-X";
        const std::size_t at = std::strlen(reinterpret_cast<char*>(payload)) + 1;
        put16(payload + at, options_.maxFrameLength);
        put16(payload + at + 2, kHardwareCode);
        put16(payload + at + 4, static_cast<unsigned>(options_.identity));
        n = buildWcom(out.data(), wcmd::Identify | sum | kWcomAnswerC, 0, static_cast<std::uint32_t>(at + 6), payload);
        break;
    }
    case wcmd::ReadMemory:
    case wcmd::ReadIdentity: {
        const bool identity = h.command == wcmd::ReadIdentity;
        const std::size_t size = identity ? kBlockSize : kMemorySize;
        if (count > kWcomMaxSendData || h.address + count > size)
            return {};
        const std::uint8_t* from = (identity ? identity_.data() : memory_.data()) + h.address;
        std::vector<std::uint8_t> read(from, from + count);
        if (!identity)
            unsteady(read.data(), h.address, count);
        n = buildWcom(out.data(), h.command | sum | kWcomAnswerC, h.address, count, read.data());
        break;
    }
    case wcmd::WriteMemory: {
        if (h.address + h.length > kMemorySize)
            return {};
        std::memcpy(memory_.data() + h.address, data, h.length);
        written(seconds);
        // Acknowledged in the short form: the command in the address field, the start as data.
        std::uint8_t start[2];
        put16(start, h.address);
        n = buildWcom(out.data(), 0xFFFF | sum | kWcomAnswerC, wcmd::WriteMemory, 2, start);
        break;
    }
    case wcmd::Monitor: {
        // The monitor block answers for the part of it the request covers.
        if (h.address >= kBlockSize)
            return {};
        const auto m = monitorBlock(seconds);
        const std::uint32_t len = std::min<std::uint32_t>(h.length, static_cast<std::uint32_t>(kBlockSize - h.address));
        n = buildWcom(out.data(), wcmd::Monitor | sum | kWcomAnswerC, h.address, len, m.data() + h.address);
        break;
    }
    case wcmd::Reset:
        reset();
        n = buildWcom(out.data(), wcmd::Reset | sum | kWcomAnswerC, 0, 0, nullptr);
        break;
    default: return {};
    }
    out.resize(n);
    return out;
}

std::vector<std::uint8_t> Unit::answerIgn(const std::uint8_t* frame, double seconds)
{
    const std::uint32_t n = ignDataLength(options_.protocol);
    const std::uint8_t code = frame[0];
    const std::uint8_t* data = frame + 1;
    std::vector<std::uint8_t> block(n, 0);
    std::vector<std::uint8_t> out(n + 2);
    if (code == icmd::Command) {
        if (data[12] == 0xA5 && data[13] == 0x10)
            reset();
    } else if (code >= icmd::Write && code < icmd::Monitor) {
        const std::size_t at = static_cast<std::size_t>(code - icmd::Write) * n;
        if (at + n > kMemorySize)
            return {};
        std::memcpy(memory_.data() + at, data, n);
        std::memcpy(block.data(), memory_.data() + at, n);
        written(seconds);
    } else if (code >= icmd::Monitor && code < icmd::ReadIdentity) {
        const auto m = monitorBlock(seconds);
        std::copy(m.begin(), m.end(), block.begin());
        if (options_.protocol == ProtocolIgn300) {
            if (data[49] == 0) {  // the identification probe
                block[1] = static_cast<std::uint8_t>(options_.identity >> 8);
                block[2] = static_cast<std::uint8_t>(options_.identity & 0xFF);
            }
        } else {
            block[n - 1] = static_cast<std::uint8_t>(options_.identity);
        }
    } else if (code == icmd::ReadIdentity) {
        std::copy(identity_.begin(), identity_.end(), block.begin());
    } else if (code >= icmd::Read && code < 0x80) {
        const std::size_t at = static_cast<std::size_t>(code - icmd::Read) * n;
        if (at + n > kMemorySize)
            return {};
        std::memcpy(block.data(), memory_.data() + at, n);
        unsteady(block.data(), at, n);
    } else {
        return {};
    }
    buildIgn(out.data(), n, code | icmd::AnswerBit, 0, block.data(), 0);
    return out;
}

}  // namespace sim
