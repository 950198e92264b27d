#pragma once
// A fixture for tests that talk to the simulated unit on a pseudo-terminal: the unit,
// the link on its own device folders, and the hand-driven tick that waits for a running
// job's answer before the next tick.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "link/comcom.h"
#include "linktestsupport.h"
#include "sim/simulator.h"
#include "support/tempdir.h"

class SimulatedLinkFixture : public ::testing::Test {
protected:
    TempDir dir;
    std::unique_ptr<sim::Simulator> unit;
    std::unique_ptr<devlink::CCOMCOM> link;
    TickDriver clock{[this](int, std::uint32_t ms) { link->tick(ms); },
                     [this] { return link && link->jobStatus() == devlink::JobStatus::Running; }};

    // Starts the unit on COM `com` and a link set to that port.
    void startOn(int com, sim::SimOptions options)
    {
        options.com = com;
        options.portMap = dir / "ports";
        unit = std::make_unique<sim::Simulator>(options);
        std::string error;
        ASSERT_TRUE(unit->start(&error)) << error;
        link = std::make_unique<devlink::CCOMCOM>(devlink::DeviceFolders{dir / "ports", dir / "dev", dir / "sys", false});
        link->portSetting = com;
    }
};
