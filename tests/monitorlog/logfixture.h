#pragma once
// A log session with the window's part played by the test: a clock moved by hand, file
// dialogs answered with fixed names, replayed records collected.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitorlog/logsession.h"
#include "storage/readfile.h"
#include "support/messageboxrecorder.h"
#include "support/tempdir.h"

struct AppliedRecord {
    int type;
    std::uint32_t timeMs;
    std::vector<std::uint8_t> payload;
};

class TestHost : public monitorlog::LogHost {
public:
    std::uint32_t processClock() override { return clock; }
    std::filesystem::path chooseLogFile(bool save) override { return save ? saveName : openName; }
    monitorlog::LogInfo recordingInfo() override { return info; }
    void writeInitialRecords() override
    {
        session->record(monitorlog::Status, monitorlog::statusPayload(5, "SN 1234"));
        session->record(monitorlog::Parameters, std::vector<std::uint8_t>(100, 7));
        if (unitValid)
            session->record(monitorlog::UnitParameters, std::vector<std::uint8_t>(100, 9));
        session->record(monitorlog::ViewState, monitorlog::viewPayload(0, view));
    }
    void applyRecord(const monitorlog::RecordView& r) override
    {
        applied.push_back({r.type, r.timeMs, {r.payload.begin(), r.payload.end()}});
    }
    void refreshLogControls() override {}

    monitorlog::LogSession* session = nullptr;
    std::uint32_t clock = 1000;
    std::filesystem::path saveName, openName;
    monitorlog::LogInfo info;
    bool unitValid = false;
    std::vector<monitorlog::ViewEntry> view{{1, 2}};
    std::vector<AppliedRecord> applied;
};

class LogSessionTest : public ::testing::Test {
protected:
    LogSessionTest()
    {
        host.session = &session;
        host.saveName = host.openName = dir / "ride.ignlog";
        host.info.startTime = 1618747200;
        host.info.programInfo = "Tavrin   RSKEY=109   COMPILE=2021_04_18";
        host.info.screens[0] = {0, 1920, 0, 1080};
    }
    // A monitor block whose engine speed is `rpm`.
    static std::vector<std::uint8_t> monitorBlock(int rpm)
    {
        std::vector<std::uint8_t> block(50, 0);
        block[1] = std::uint8_t(rpm);
        block[2] = std::uint8_t(rpm >> 8);
        return block;
    }
    // Records `count` monitor blocks `stepMs` apart and stops.
    void recordBlocks(int count, std::uint32_t stepMs)
    {
        session.recordButton();
        for (int i = 0; i < count; ++i) {
            host.clock += stepMs;
            session.record(monitorlog::Monitor, monitorBlock(1000 + i));
        }
        session.stopButton();
    }
    monitorlog::LogImage readBack()
    {
        std::string bytes;
        EXPECT_TRUE(storage::readWholeFile(host.saveName, monitorlog::kMaxFileBytes, bytes));
        monitorlog::LogImage image;
        EXPECT_EQ(monitorlog::parseLog(bytes, image), monitorlog::ReadError::None);
        return image;
    }

    TempDir dir;
    MessageBoxRecorder boxes;
    TestHost host;
    monitorlog::LogSession session{host};
};
