#pragma once
// Constants the workflow's tick and its sequences share (internal to the link module).

namespace devlink::workflowsupport {

constexpr int kResultSlot = 2;
constexpr int kConnectionSlot = 1;
constexpr int kMessageMs = 2000;
constexpr int kMessagePriority = 10;
constexpr int kPollTicks = 7;
constexpr int kMaxJobFailures = 3;
constexpr int kIdentityLength = 50;
constexpr int kSlowQuarters = 4;

}  // namespace devlink::workflowsupport
