#pragma once
// The 100-byte parameter set of the ignition unit: every setting as a small integer in
// its stored unit (100 rpm, degrees, 5 ms, 100 ms, 10 %). Index i lives at address i of
// the unit's parameter memory.

#include <array>
#include <cstddef>
#include <cstdint>

namespace params {

constexpr int kParameterCount = 100;
constexpr int kCurvePoints = 15;

// Named indices. A/B pairs are listed together; the tables hold 15 points each.
namespace idx {
constexpr int Bike = 0;
constexpr int PointsA = 1, PointsB = 2;
constexpr int BaseAdvance = 3;
constexpr int StartLimiterA = 4, StartLimiterB = 5;
constexpr int HardLimiterA = 6, HardLimiterB = 7;
constexpr int Polarity = 8;
constexpr int IgnitionsPerRev = 9;
constexpr int PilotLightA = 10, PilotLightB = 11;
constexpr int ClutchTimeA = 12, ClutchTimeB = 13;
constexpr int ClutchPauseA = 14, ClutchPauseB = 15;
constexpr int Input1 = 16, Input2 = 17;
constexpr int NoReading = 18;
constexpr int TachoPulses = 19;
constexpr int TachoCorrection = 20;
constexpr int PilotLightReversed = 21;
constexpr int CurveMode = 22;
constexpr int PilotLightPwm = 23;
constexpr int SoftLimiterA = 24, SoftLimiterB = 25;
constexpr int SparkBeforeLobe = 26;
constexpr int StartAdvancePercent = 27;
constexpr int FourStroke = 28;
constexpr int SyncPolarity = 29;
constexpr int SpeedA = 30, SpeedB = 45;
constexpr int AdvanceA = 60, AdvanceB = 75;
constexpr int TestSpeed = 90;
constexpr int FirstUnused = 91;
}  // namespace idx

// Curve modes (index 22).
enum CurveMode : int { ModeA = 0, ModeB = 1, ModeMonitor = 2, ModeAEqualsB = 3 };

// The per-curve settings as (curve A index, curve B index); the tables are separate.
struct CurvePair {
    int a, b;
};
inline constexpr std::array<CurvePair, 7> kCurvePairs{{
    {idx::PointsA, idx::PointsB},
    {idx::StartLimiterA, idx::StartLimiterB},
    {idx::HardLimiterA, idx::HardLimiterB},
    {idx::PilotLightA, idx::PilotLightB},
    {idx::ClutchTimeA, idx::ClutchTimeB},
    {idx::ClutchPauseA, idx::ClutchPauseB},
    {idx::SoftLimiterA, idx::SoftLimiterB},
}};

constexpr std::uint8_t kTachoPickup = 255;  // index 19: -1 as a signed byte, shown "pickup"

struct ParameterSet {
    std::array<std::uint8_t, kParameterCount> bytes{};

    std::uint8_t& operator[](int i) { return bytes[std::size_t(i)]; }
    std::uint8_t operator[](int i) const { return bytes[std::size_t(i)]; }
    bool operator==(const ParameterSet&) const = default;

    // The index of a per-curve setting for `curve` (0 A, 1 B) given its curve-A index.
    static int forCurve(int indexA, int curve);
};

void applyPresetDefaults(ParameterSet& set);
void applyPresetFixups(ParameterSet& set);
// Brings every setting into its valid range (and resets the program's language index
// to English unless it is German or Czech). Every path that changes the set from outside
// the controls calls it before the set is shown, saved, stored as an undo step or programmed.
void normalize(ParameterSet& set);

// Copies every curve-A setting and both tables of curve A onto curve B.
void copyCurveAToB(ParameterSet& set);

// The curve the shared controls work on: 0 A, 1 B, -1 unknown (Monitor mode without
// a known active curve in the unit).
int deriveCurrentCurve(const ParameterSet& set, int unitActiveCurve);

}  // namespace params
