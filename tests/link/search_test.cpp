#include "link/comsearch.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "link/comcom.h"

using namespace devlink;

TEST(ProbeTable, RowsAndDefaults)
{
    const auto table = defaultProbeTable();
    EXPECT_EQ(table[kProbeRows].protocol, ProtocolNone);
    for (int row : {0, 3, 5, 7, 9, 12}) {
        EXPECT_TRUE(table[static_cast<std::size_t>(row)].isDefault) << row;
        EXPECT_EQ(table[static_cast<std::size_t>(row)].protocol, ProtocolIgn50);
    }
    EXPECT_EQ(table[11].protocol, ProtocolWcoms);
    EXPECT_EQ(table[11].baud, 115200u);
    EXPECT_EQ(table[11].timeout, 325u);
    EXPECT_EQ(table[13].protocol, ProtocolIgn300);
}

TEST(DeviceTypeNames, TableHasEveryIssuedIdentityOnce)
{
    const auto& table = deviceTypeNames();
    std::set<int> ids;
    for (int i = 0; i < kDeviceTypeNames; ++i) {
        EXPECT_NE(table[static_cast<std::size_t>(i)].identity, 0);
        EXPECT_LT(std::strlen(table[static_cast<std::size_t>(i)].name), 32u);
        ids.insert(table[static_cast<std::size_t>(i)].identity);
    }
    EXPECT_EQ(ids.size(), 122u);
    EXPECT_EQ(table[kDeviceTypeNames].identity, 0);
    EXPECT_FALSE(ids.count(27));
    EXPECT_FALSE(ids.count(62));
    EXPECT_TRUE(ids.count(1001));
}

TEST(IdentifyIgn, IdentityFromTheLastDataByteOrBytesTwoAndThree)
{
    std::uint8_t frame[302] = {};
    std::int32_t id = 0;
    std::uint32_t maxFrame = 0;
    char name[32];
    frame[0] = 0xB0;
    frame[50] = 109;
    ASSERT_TRUE(CCOMSEARCH::identifyIgn(ProtocolIgn50, frame, id, maxFrame, name));
    EXPECT_EQ(id, 109);
    EXPECT_EQ(maxFrame, 52u);
    EXPECT_STREQ(name, "TAVRIN-X v109");

    frame[2] = 0x01;
    frame[3] = 0x2D;  // 301
    ASSERT_TRUE(CCOMSEARCH::identifyIgn(ProtocolIgn300, frame, id, maxFrame, name));
    EXPECT_EQ(id, 301);
    EXPECT_EQ(maxFrame, 302u);
    EXPECT_STREQ(name, "Korvelan Quad Q1 v301");

    frame[100] = 250;  // no such type: the plain name
    ASSERT_TRUE(CCOMSEARCH::identifyIgn(ProtocolIgn100, frame, id, maxFrame, name));
    EXPECT_STREQ(name, "Korvelan 250");

    frame[0] = 0xB1;
    EXPECT_FALSE(CCOMSEARCH::identifyIgn(ProtocolIgn50, frame, id, maxFrame, name));
    EXPECT_FALSE(CCOMSEARCH::identifyIgn(ProtocolWcom, frame, id, maxFrame, name));
    EXPECT_EQ(id, -1);
    EXPECT_STREQ(name, "Korvelan (unknown)");
}

TEST(IdentifyWcom, WordsAreTakenOnlyWhenWhollyInsideTheData)
{
    struct Case {
        std::vector<std::uint8_t> data;
        std::uint32_t maxFrame;
        std::int32_t hardware, id;
        const char* name;
    };
    const std::vector<Case> cases = {
        {{'T', 'X', 0}, 48, -1, -1, "TX v-1 (hw:ffffffff)"},
        {{'T', 'X', 0, 80, 0, 0x11}, 80, -1, -1, "TX v-1 (hw:ffffffff)"},
        {{'T', 'X', 0, 80, 0, 0x11, 0x0A, 109, 0}, 80, 0x0A11, 109, "TX v109 (hw:a11)"},
        {{'N', 'O', 'Z', 'E', 'R', 'O'}, 48, -1, -1, "NOZERO v-1 (hw:ffffffff)"},
    };
    for (const Case& c : cases) {
        std::uint8_t frame[kFrameCapacity];
        buildWcom(frame, wcmd::Identify | kWcomAnswerC, 0, static_cast<std::uint32_t>(c.data.size()), c.data.data());
        SearchSlot slot;
        CCOMSEARCH::identifyWcom(frame, slot);
        EXPECT_EQ(slot.maxFrameLength, c.maxFrame);
        EXPECT_EQ(slot.hardwareCode, c.hardware);
        EXPECT_EQ(slot.deviceId, c.id);
        EXPECT_EQ(slot.frameOverhead, 16u);
        EXPECT_STREQ(slot.deviceName, c.name);
    }
}

namespace {

std::vector<std::pair<std::uint32_t, std::uint32_t>> wcomFrames(const std::vector<int>& masked, std::uint32_t end,
                                                                 std::uint32_t d)
{
    std::vector<std::uint8_t> mask(kMemoryArray, 0);
    for (int a : masked)
        mask[static_cast<std::size_t>(a)] = 1;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> frames;
    std::uint32_t at = 0;
    for (FramePlan p; (p = planWcomFrame(mask.data(), at, end, d)).found; at = p.first + p.length)
        frames.emplace_back(p.first, p.first + p.length - 1);
    return frames;
}

}  // namespace

TEST(JobPlanning, WcomFramesFollowTheMask)
{
    std::vector<int> all(100);
    for (int i = 0; i < 100; ++i)
        all[static_cast<std::size_t>(i)] = i;
    using F = std::vector<std::pair<std::uint32_t, std::uint32_t>>;
    EXPECT_EQ(wcomFrames(all, 100, 32), (F{{0, 31}, {32, 63}, {64, 95}, {96, 99}}));
    EXPECT_EQ(wcomFrames({70, 72}, 100, 32), (F{{70, 72}}));
    EXPECT_EQ(wcomFrames({10, 70}, 100, 512), (F{{10, 10}, {70, 70}}));
    EXPECT_EQ(wcomFrames({10, 60}, 100, 512), (F{{10, 60}}));  // 49 unmasked between: one frame
    EXPECT_EQ(wcomFrames({}, 100, 32), F{});
    EXPECT_EQ(wcomFrames({5}, 0, 32), F{});  // empty range
}

TEST(JobPlanning, IgnFramesAreAlignedBlocksHoldingAMaskedAddress)
{
    std::vector<std::uint8_t> mask(kMemoryArray, 0);
    mask[60] = 1;
    FramePlan p = planIgnFrame(mask.data(), 0, 100, 50);
    ASSERT_TRUE(p.found);
    EXPECT_EQ(p.first, 50u);
    EXPECT_EQ(p.length, 50u);
    EXPECT_FALSE(planIgnFrame(mask.data(), 100, 200, 50).found);
    mask[0] = 1;
    p = planIgnFrame(mask.data(), 0, 50, 100);  // IGN100 over 0..49: block 0, 100 bytes
    EXPECT_TRUE(p.found);
    EXPECT_EQ(p.first, 0u);
    EXPECT_EQ(p.length, 100u);
    EXPECT_FALSE(planIgnFrame(mask.data(), 0, 0, 50).found);
}
