#include "link/framecodec.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "link/channel.h"

using namespace devlink;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Plays the I/O thread: puts received bytes into the channel's ring.
void pushBytes(CCOM& channel, const Bytes& bytes)
{
    std::uint32_t write = channel.rxWrite.load();
    for (std::uint8_t b : bytes) {
        channel.rxRing[write] = b;
        write = (write + 1) % kRingSize;
    }
    channel.rxWrite.store(write);
}

std::uint32_t waiting(const CCOM& channel)
{
    return (channel.rxWrite.load() + kRingSize - channel.rxRead.load()) % kRingSize;
}

Bytes wcom(std::uint32_t codeAndFlags, std::uint16_t address, const Bytes& data)
{
    Bytes frame(kFrameCapacity);
    frame.resize(buildWcom(frame.data(), codeAndFlags, address, static_cast<std::uint32_t>(data.size()), data.data()));
    return frame;
}

std::uint16_t wordSum(const Bytes& frame)
{
    std::uint16_t sum = 0;
    for (std::size_t i = 0; i < frame.size(); ++i)
        sum = static_cast<std::uint16_t>(sum + ((i & 1) ? frame[i] << 8 : frame[i]));
    return sum;
}

Bytes join(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

TEST(FrameCodec, ChecksOverTheHeaderStartFromTheKnownValues)
{
    std::uint16_t crc = 1;
    for (std::uint8_t b : {0xFF, 0xFF, 0xFF, 0xFF, 0xA5, 0x5A, 0xBB})
        crc = crcStep(crc, b);
    EXPECT_EQ(crc, 0xB797);
    EXPECT_EQ(wordSum({0xFF, 0xFF, 0xFF, 0xFF, 0xA5, 0x5A, 0xBB}), 0x5B5E);
}

TEST(FrameCodec, IdentifyProbeIsTheKnownSixteenBytesAndIsReceivedWhole)
{
    const Bytes probe = wcom(wcmd::Identify, 0, {});
    ASSERT_EQ(probe.size(), 16u);
    const Bytes head{0xFF, 0xFF, 0xFF, 0xFF, 0xA5, 0x5A, 0xBB, 0xBB, 0xEE, 0xFE, 0, 0, 0, 0};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), probe.begin()));
    std::uint16_t crc = 1;
    for (std::size_t i = 0; i < 14; ++i)
        crc = crcStep(crc, probe[i]);
    EXPECT_EQ(probe[14] | probe[15] << 8, crc);

    FrameCodec codec;
    codec.setup(ProtocolWcom, 75);
    CCOM channel;
    pushBytes(channel, probe);
    ASSERT_TRUE(receive(codec, channel, 0));
    EXPECT_TRUE(std::equal(probe.begin(), probe.end(), codec.rxFrame));
    EXPECT_EQ(waiting(channel), 0u);
}

TEST(FrameCodec, SumFramesOfOddAndEvenLengthBothSumToFFFF)
{
    for (std::size_t n : {0u, 1u, 2u, 7u, 50u, 51u}) {
        Bytes data(n);
        std::iota(data.begin(), data.end(), std::uint8_t{0x31});
        const Bytes frame = wcom(wcmd::WriteMemory | kWcomSum, 0x0102, data);
        EXPECT_EQ(wordSum(frame), 0xFFFF) << n;
        EXPECT_EQ(frame[7], 0xFB);

        FrameCodec codec;
        codec.setup(ProtocolWcoms, 125);
        CCOM channel;
        pushBytes(channel, frame);
        ASSERT_TRUE(receive(codec, channel, 0)) << n;
        EXPECT_EQ(wcomHeader(codec.rxFrame).length, n);
    }
    // The check bytes of an odd-length frame are swapped relative to the even form.
    const Bytes odd = wcom(wcmd::WriteMemory | kWcomSum, 0, {0x10});
    std::uint16_t s = 0;
    for (std::size_t i = 0; i < 15; ++i)
        s = static_cast<std::uint16_t>(s + ((i & 1) ? odd[i] << 8 : odd[i]));
    EXPECT_EQ(odd[15], static_cast<std::uint8_t>(~(s >> 8)));
    EXPECT_EQ(odd[16], static_cast<std::uint8_t>(~s & 0xFF));
}

TEST(FrameCodec, GarbageBeforeTheHeaderIsSkipped)
{
    const Bytes frame = wcom(wcmd::Identify | kWcomAnswerC, 0, {'T', 0});
    for (const Bytes& garbage : {Bytes{0x00}, Bytes{0x00, 0xFF, 0xFF, 0xFF}, Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xA5, 0x5A, 0x13},
                                 Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xA5}}) {
        FrameCodec codec;
        codec.setup(ProtocolWcom, 75);
        CCOM channel;
        pushBytes(channel, join(garbage, frame));
        ASSERT_TRUE(receive(codec, channel, 0));
        EXPECT_EQ(wcomHeader(codec.rxFrame).command, wcmd::Identify);
        EXPECT_EQ(codec.rxFrame[14], 'T');
    }
}

TEST(FrameCodec, BadCheckReturnsAtOnceAndLeavesTheNextFrame)
{
    for (std::uint32_t flags : {0u, kWcomSum}) {
        Bytes bad = wcom(wcmd::ReadMemory | flags | kWcomAnswerC, 5, {1, 2, 3});
        bad[15] ^= 0x40;
        const Bytes good = wcom(wcmd::ReadMemory | flags | kWcomAnswerC, 6, {4, 5, 6});
        FrameCodec codec;
        codec.setup(flags ? ProtocolWcoms : ProtocolWcom, 75);
        CCOM channel;
        pushBytes(channel, join(bad, good));
        EXPECT_FALSE(receive(codec, channel, 0));
        EXPECT_EQ(waiting(channel), good.size());
        ASSERT_TRUE(receive(codec, channel, 0));
        EXPECT_EQ(wcomHeader(codec.rxFrame).address, 6);
    }
}

TEST(FrameCodec, ShortFormAnswerIsRewrittenToTheNormalForm)
{
    struct Case {
        std::uint16_t command;
        Bytes data;
        std::uint8_t kind;
        std::uint16_t address;
        std::uint16_t length;
    };
    const std::vector<Case> cases = {
        {0xFFFF, {0x34, 0x12}, 0x0C, 0x1234, 0},
        {0xFFFE, {0x34, 0x12}, 0x0D, 0x1234, 0},
        {0xFFFF, {0x77}, 0x0C, 0x77, 0},
        {0xFFFF, {}, 0x0C, 0, 0},
        {0xFFFF, {1, 2, 3}, 0x0C, 0, 3},
    };
    for (const Case& c : cases) {
        const Bytes frame = wcom(c.command | kWcomAnswerC, wcmd::WriteMemory, c.data);
        FrameCodec codec;
        codec.setup(ProtocolWcom, 75);
        CCOM channel;
        pushBytes(channel, frame);
        ASSERT_TRUE(receive(codec, channel, 0));
        const WcomHeader h = wcomHeader(codec.rxFrame);
        EXPECT_EQ(h.type & 0x0F, c.kind);
        EXPECT_EQ(h.command, wcmd::WriteMemory);
        EXPECT_EQ(h.address, c.address);
        EXPECT_EQ(h.length, c.length);
    }
    // The bytes of the example in the protocol description.
    const Bytes example = wcom(0xFFFF | kWcomAnswerC, 0x7020, {0x34, 0x12});
    const Bytes head{0xFF, 0xFF, 0xFF, 0xFF, 0xA5, 0x5A, 0xBB, 0xBC, 0xFF, 0xFF, 0x20, 0x70, 0x02, 0x00, 0x34, 0x12};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), example.begin()));
}

TEST(FrameCodec, PauseLongerThanTheInterByteTimeoutDropsThePartialFrame)
{
    const Bytes frame = wcom(wcmd::Identify | kWcomAnswerC, 0, {'A', 0});
    FrameCodec codec;
    codec.setup(ProtocolWcom, 75);
    CCOM channel;
    pushBytes(channel, Bytes(frame.begin(), frame.begin() + 10));
    EXPECT_FALSE(receive(codec, channel, 1000));
    pushBytes(channel, Bytes(frame.begin() + 10, frame.end()));
    EXPECT_FALSE(receive(codec, channel, 1076));  // the rest came too late
    pushBytes(channel, frame);
    EXPECT_TRUE(receive(codec, channel, 1100));

    // Within the time-out the frame is completed.
    FrameCodec ign;
    ign.setup(ProtocolIgn50, 125);
    Bytes block(52);
    block.resize(buildIgn(block.data(), 50, 0xB0, 0, nullptr, 109));
    pushBytes(channel, Bytes(block.begin(), block.begin() + 20));
    EXPECT_FALSE(receive(ign, channel, 2000));
    pushBytes(channel, Bytes(block.begin() + 20, block.end()));
    EXPECT_TRUE(receive(ign, channel, 2125));
    pushBytes(channel, Bytes(block.begin(), block.begin() + 20));
    EXPECT_FALSE(receive(ign, channel, 3000));
    pushBytes(channel, Bytes(block.begin() + 20, block.end()));
    EXPECT_FALSE(receive(ign, channel, 3126));
}

TEST(FrameCodec, IgnFramesStartOnlyWithAnAnswerByte)
{
    for (std::int32_t protocol : {ProtocolIgn50, ProtocolIgn100, ProtocolIgn150, ProtocolIgn300}) {
        const std::uint32_t n = ignDataLength(protocol);
        Bytes answer(n + 2);
        Bytes data(n, 0x5A);
        buildIgn(answer.data(), n, icmd::Read | icmd::AnswerBit, 1, data.data(), 0);
        std::uint8_t x = 0;
        for (std::uint8_t b : answer)
            x ^= b;
        EXPECT_EQ(x, 0xFF);

        FrameCodec codec;
        codec.setup(protocol, 175);
        CCOM channel;
        pushBytes(channel, Bytes(n + 2, 0x7F));  // request-like bytes never start a frame
        EXPECT_FALSE(receive(codec, channel, 0));
        EXPECT_EQ(codec.position, 0u);
        pushBytes(channel, answer);
        ASSERT_TRUE(receive(codec, channel, 0)) << protocol;
        EXPECT_EQ(codec.rxFrame[0], 0xC2);
        EXPECT_EQ(codec.rxFrame[n], 0x5A);
    }
}

TEST(FrameCodec, IgnRequestCarriesTheValueInItsLastDataBytes)
{
    Bytes frame(52);
    Bytes data(50, 0x11);
    buildIgn(frame.data(), 50, icmd::Monitor, 0, data.data(), 109);
    EXPECT_EQ(frame[0], 0x30);
    EXPECT_EQ(frame[50], 109);
    EXPECT_EQ(frame[49], 0x11);
    buildIgn(frame.data(), 50, icmd::Monitor, 0, data.data(), 300);
    EXPECT_EQ(frame[49], 1);
    EXPECT_EQ(frame[50], 44);
    buildIgn(frame.data(), 50, icmd::Monitor, 0, data.data(), 0);
    EXPECT_EQ(frame[50], 0x11);

    Bytes big(302);
    buildIgn(big.data(), 300, icmd::Monitor, 0, nullptr, 109);
    EXPECT_EQ(big[300], 0);  // IGN300 carries no value
}

TEST(FrameCodec, LongFrameIsHandedOverIn330And198ByteChunks)
{
    Bytes data(512);
    std::iota(data.begin(), data.end(), std::uint8_t{0});
    FrameCodec codec;
    codec.setup(ProtocolWcom, 75);
    codec.txFrameLength = buildWcom(codec.txFrame, wcmd::WriteMemory, 0, 600, data.data());
    ASSERT_EQ(codec.txFrameLength, 528u);
    CCOM channel;
    send(codec, channel);
    ASSERT_EQ(channel.txLength.load(), 330u);
    EXPECT_TRUE(std::equal(channel.txBuffer, channel.txBuffer + 330, codec.txFrame));
    send(codec, channel);  // the buffer is still taken
    EXPECT_EQ(codec.txRemaining, 198u);
    channel.txLength.store(0);
    send(codec, channel);
    ASSERT_EQ(channel.txLength.load(), 198u);
    EXPECT_TRUE(std::equal(channel.txBuffer, channel.txBuffer + 198, codec.txFrame + 330));
    EXPECT_TRUE(codec.sendComplete());

    channel.txLength.store(0);
    codec.restartSend();
    send(codec, channel);
    EXPECT_EQ(channel.txLength.load(), 330u);
    EXPECT_EQ(channel.txBuffer[0], 0xFF);
}

TEST(FrameCodec, ProtocolNoneDiscardsEverythingAndUnknownIdsAreRefused)
{
    FrameCodec codec;
    EXPECT_FALSE(codec.setup(7, 75));
    ASSERT_TRUE(codec.setup(ProtocolNone, 75));
    CCOM channel;
    pushBytes(channel, wcom(wcmd::Identify, 0, {}));
    EXPECT_FALSE(receive(codec, channel, 0));
    EXPECT_EQ(waiting(channel), 0u);
}

TEST(ReceiveRing, FreeSpaceHoldsOneByteBack)
{
    struct Case {
        std::uint32_t read, write, first, second;
    };
    for (const Case& c : std::vector<Case>{{0, 0, 329, 0}, {100, 300, 30, 99}, {100, 100, 230, 99},
                                           {300, 100, 199, 0}, {101, 100, 0, 0}, {0, 329, 0, 0}}) {
        const RingSpace space = ringFreeSpace(c.read, c.write);
        EXPECT_EQ(space.first, c.first) << c.read << "," << c.write;
        EXPECT_EQ(space.second, c.second) << c.read << "," << c.write;
    }
}

// Noise before an answer may hold bytes that look like an answer code; the receiver
// steps over them and still finds the answer behind.
TEST(FrameCodec, IgnAnswerBehindNoiseThatLooksLikeAnAnswerCodeIsFound)
{
    for (std::int32_t protocol : {ProtocolIgn50, ProtocolIgn100, ProtocolIgn150, ProtocolIgn300}) {
        const std::uint32_t n = ignDataLength(protocol);
        Bytes answer(n + 2);
        Bytes data(n);
        std::iota(data.begin(), data.end(), std::uint8_t{0x70});  // data bytes above 0x80 as well
        buildIgn(answer.data(), n, icmd::Read | icmd::AnswerBit, 0, data.data(), 0);
        for (const Bytes& noise : {Bytes{0x80}, Bytes{0xC1, 0x13, 0xFE}, Bytes{0xB0, 0xB0, 0x00, 0x91, 0xFF}}) {
            FrameCodec codec;
            codec.setup(protocol, 175);
            CCOM channel;
            pushBytes(channel, join(noise, answer));
            ASSERT_TRUE(receive(codec, channel, 0)) << protocol << " noise " << noise.size();
            EXPECT_TRUE(std::equal(answer.begin(), answer.end(), codec.rxFrame)) << protocol;
            EXPECT_EQ(waiting(channel), 0u);
        }
    }
}

TEST(FrameCodec, WcomAnswerIsNotAWcomsAnswer)
{
    const Bytes crc = wcom(wcmd::Identify | kWcomAnswerC, 0, {'T', 0});
    const Bytes sum = wcom(wcmd::Identify | kWcomSum | kWcomAnswerC, 0, {'T', 0});
    EXPECT_TRUE(checkedAs(ProtocolWcom, crc.data()));
    EXPECT_FALSE(checkedAs(ProtocolWcoms, crc.data()));
    EXPECT_TRUE(checkedAs(ProtocolWcoms, sum.data()));
    EXPECT_FALSE(checkedAs(ProtocolWcom, sum.data()));
}

// Bytes that answer an earlier request and a half-received frame are both dropped.
TEST(FrameCodec, DiscardStaleDropsWaitingBytesAndThePartialFrame)
{
    FrameCodec codec;
    codec.setup(ProtocolIgn50, 125);
    CCOM channel;
    Bytes old(52);
    buildIgn(old.data(), 50, icmd::Monitor | icmd::AnswerBit, 0, nullptr, 109);
    pushBytes(channel, Bytes(old.begin(), old.begin() + 30));
    EXPECT_FALSE(receive(codec, channel, 0));
    pushBytes(channel, Bytes(old.begin() + 30, old.end()));
    discardStale(codec, channel);
    EXPECT_EQ(waiting(channel), 0u);
    Bytes fresh(52);
    buildIgn(fresh.data(), 50, icmd::ReadIdentity | icmd::AnswerBit, 0, nullptr, 0);
    pushBytes(channel, fresh);
    ASSERT_TRUE(receive(codec, channel, 0));
    EXPECT_EQ(codec.rxFrame[0], 0xC0);
}
