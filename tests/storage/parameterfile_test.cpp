#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "lang/langtext.h"
#include "params/parameterset.h"
#include "storage/parameterfile.h"
#include "support/messageboxrecorder.h"
#include "support/tempdir.h"

namespace {

using params::ParameterSet;
namespace idx = params::idx;
using storage::ReadOutcome;

const std::filesystem::path kData = TAVRIN_STORAGE_TEST_DATA;

std::string readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

ParameterSet presetDefaults(int preset = 0)
{
    ParameterSet set;
    set[idx::Bike] = std::uint8_t(preset);
    params::applyPresetDefaults(set);
    return set;
}

ParameterSet readGolden(const char* name, storage::ReadResult& result)
{
    ParameterSet set = presetDefaults();
    result = storage::readParameterFile(kData / name, set, false);
    return set;
}

TEST(ParameterFileWriter, DefaultSetMatchesTheGoldenFileByteForByte)
{
    const std::string text = storage::formatParameterFile(presetDefaults(), {"Mar  3 2020", "10:11:12", "v1.09"},
                                                          {"Apr 18 2021", "12:34:56"});
    EXPECT_EQ(text, readBytes(kData / "current_defaults.ign"));
}

TEST(ParameterFileWriter, LayoutDetails)
{
    ParameterSet set = presetDefaults();
    set[idx::TestSpeed] = 250;  // 25000: wider than five digits is written in full
    set[idx::TachoCorrection] = 40;
    const std::string text = storage::formatParameterFile(set, {"a\r\nb", "", ""}, {});
    EXPECT_NE(text.find("\r\nTEST           25000 \r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nRPM                1   -60 \r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nFOUR_STROKE        0 \r\nFOUR_STROKE        0 \r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nPILOT_LIGHT_PWM        100 \r\n"), std::string::npos);
    // Texts from the unit cannot break the line layout.
    EXPECT_NE(text.find("\r\nHEX  a  b\t\t\r\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 17), "\r\n               ");
}

TEST(ParameterFileRoundTrip, EveryFileByteComesBackAndUnusedBytesAreLeftAlone)
{
    std::mt19937 random(109);
    for (int round = 0; round < 50; ++round) {
        ParameterSet written;
        for (auto& byte : written.bytes)
            byte = std::uint8_t(random());
        ParameterSet read;
        read.bytes.fill(7);
        const auto result = storage::parseParameterText(storage::formatParameterFile(written), read);
        ASSERT_EQ(result.fileVersion, 109);
        EXPECT_EQ(result.outcome, ReadOutcome::None);
        for (int i = 0; i < params::kParameterCount; ++i)
            EXPECT_EQ(read[i], i < idx::FirstUnused ? written[i] : 7) << "index " << i;
    }
}

TEST(ParameterFileRoundTrip, ThroughTheFileSystem)
{
    TempDir dir;
    ParameterSet written = presetDefaults(7);
    written[idx::HardLimiterB] = 123;
    ASSERT_TRUE(storage::writeParameterFile(dir / "a.ign", written));
    ParameterSet read;
    const auto result = storage::readParameterFile(dir / "a.ign", read, true);
    EXPECT_EQ(result.fileVersion, 109);
    for (int i = 0; i < idx::FirstUnused; ++i)
        EXPECT_EQ(read[i], written[i]) << "index " << i;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(ParameterFileReader, PreviousGenerationTakesSoftLimitersFromTheHardLimiters)
{
    storage::ReadResult result;
    const ParameterSet set = readGolden("version92.ign", result);
    EXPECT_EQ(result.fileVersion, 92);
    EXPECT_EQ(result.outcome, ReadOutcome::Version92);
    EXPECT_EQ(set[idx::Bike], 4);
    EXPECT_EQ(set[idx::CurveMode], 1);
    EXPECT_EQ(set[idx::PointsA], 10);
    EXPECT_EQ(set[idx::PointsB], 12);
    for (int i = 0; i < params::kCurvePoints; ++i) {
        EXPECT_EQ(set[idx::SpeedA + i], 12 + 7 * i);
        EXPECT_EQ(set[idx::AdvanceA + i], 5 + i);
        EXPECT_EQ(set[idx::SpeedB + i], 10 * (i + 1));
        EXPECT_EQ(set[idx::AdvanceB + i], 20 - i);
    }
    EXPECT_EQ(set[idx::BaseAdvance], 12);
    EXPECT_EQ(set[idx::StartLimiterA], 90);
    EXPECT_EQ(set[idx::HardLimiterA], 140);
    EXPECT_EQ(set[idx::StartLimiterB], 95);
    EXPECT_EQ(set[idx::HardLimiterB], 135);
    EXPECT_EQ(set[idx::SoftLimiterA], 140);
    EXPECT_EQ(set[idx::SoftLimiterB], 135);
    EXPECT_EQ(set[idx::Polarity], 1);
    EXPECT_EQ(set[idx::IgnitionsPerRev], 2);
    EXPECT_EQ(set[idx::PilotLightA], 110);
    EXPECT_EQ(set[idx::PilotLightB], 105);
    EXPECT_EQ(set[idx::PilotLightPwm], 10);  // not in the file: the preset default stays
    EXPECT_EQ(set[idx::PilotLightReversed], 1);
    EXPECT_EQ(set[idx::ClutchTimeA], 16);
    EXPECT_EQ(set[idx::ClutchPauseA], 3);
    EXPECT_EQ(set[idx::ClutchTimeB], 12);
    EXPECT_EQ(set[idx::ClutchPauseB], 2);
    EXPECT_EQ(set[idx::TachoPulses], 2);
    EXPECT_EQ(set[idx::TachoCorrection], 110);
    EXPECT_EQ(set[idx::Input1], 2);
    EXPECT_EQ(set[idx::Input2], 4);
    EXPECT_EQ(set[idx::TestSpeed], 60);
}

// Curve B of the oldest files is rebuilt from curve A, retarded by the third
// "LIMITER" number where the generation has it.
struct OldestCase {
    const char* file;
    int key;
    int points;
    int startLimiter, hardLimiter;
    int pilotLight, clutchTime, clutchPause;
    int retard;
};

TEST(ParameterFileReader, OldestGenerationsRebuildCurveB)
{
    const OldestCase cases[] = {
        {"version67.ign", 67, 8, 110, 110, 95, 8, 3, 4},
        {"version27.ign", 27, 6, 80, 80, 70, 6, 2, 0},
    };
    for (const OldestCase& c : cases) {
        SCOPED_TRACE(c.file);
        storage::ReadResult result;
        const ParameterSet set = readGolden(c.file, result);
        EXPECT_EQ(result.fileVersion, c.key);
        EXPECT_EQ(result.outcome, ReadOutcome::Older);
        EXPECT_EQ(set[idx::CurveMode], params::ModeA);
        EXPECT_EQ(set[idx::PointsA], c.points);
        EXPECT_EQ(set[idx::PointsB], c.points);
        EXPECT_EQ(set[idx::StartLimiterA], c.startLimiter);
        EXPECT_EQ(set[idx::StartLimiterB], c.startLimiter);
        EXPECT_EQ(set[idx::HardLimiterA], c.hardLimiter);
        EXPECT_EQ(set[idx::HardLimiterB], c.hardLimiter);
        EXPECT_EQ(set[idx::SoftLimiterA], c.hardLimiter);
        EXPECT_EQ(set[idx::SoftLimiterB], c.hardLimiter);
        EXPECT_EQ(set[idx::PilotLightA], c.pilotLight);
        EXPECT_EQ(set[idx::PilotLightB], c.pilotLight);
        EXPECT_EQ(set[idx::ClutchTimeA], c.clutchTime);
        EXPECT_EQ(set[idx::ClutchTimeB], c.clutchTime);
        EXPECT_EQ(set[idx::ClutchPauseA], c.clutchPause);
        EXPECT_EQ(set[idx::ClutchPauseB], c.clutchPause);
        for (int i = 0; i < params::kCurvePoints; ++i) {
            EXPECT_EQ(set[idx::SpeedA + i], 10 * (i + 1));
            EXPECT_EQ(set[idx::SpeedB + i], set[idx::SpeedA + i]);
            EXPECT_EQ(set[idx::AdvanceB + i], set[idx::AdvanceA + i] - c.retard);
        }
    }
}

TEST(ParameterFileReader, RetardBelowZeroGivesNoAdvance)
{
    ParameterSet set = presetDefaults();
    const auto result = storage::parseParameterText(
        "KORVELAN_KEY 41\nLIMITER 90 100 5\nADVANCE 3 9 40\n", set);
    EXPECT_EQ(result.fileVersion, 41);
    EXPECT_EQ(set[idx::AdvanceB + 0], 0);  // 3 - 5 wraps to 254 in 8 bits
    EXPECT_EQ(set[idx::AdvanceB + 1], 4);
    EXPECT_EQ(set[idx::AdvanceB + 2], 35);
}

TEST(ParameterFileReader, MissingLimiterValueIsTakenFromTheNextLine)
{
    storage::ReadResult result;
    const ParameterSet set = readGolden("limiter_missing_value.ign", result);
    EXPECT_EQ(result.fileVersion, 109);
    EXPECT_EQ(set[idx::StartLimiterA], 90);
    EXPECT_EQ(set[idx::HardLimiterA], 140);
    EXPECT_EQ(set[idx::StartLimiterB], 90);
    EXPECT_EQ(set[idx::HardLimiterB], 80);  // the first "SOFT_LIMITER" number
    EXPECT_EQ(set[idx::SoftLimiterA], 85);  // the keyword itself was skipped
    EXPECT_EQ(set[idx::SoftLimiterB], 85);
    EXPECT_EQ(set[idx::TestSpeed], 70);
}

TEST(ParameterFileReader, BikeLastLosesEverythingReadBefore)
{
    storage::ReadResult result;
    const ParameterSet set = readGolden("bike_last.ign", result);
    EXPECT_EQ(result.fileVersion, 109);
    EXPECT_EQ(set, presetDefaults(8));
    EXPECT_EQ(set[idx::BaseAdvance], 22);
}

TEST(ParameterFileReader, UnknownKeyChangesNothingAndSaysSo)
{
    MessageBoxRecorder boxes;
    ParameterSet set = presetDefaults();
    const auto result = storage::readParameterFile(kData / "key110.ign", set, true);
    EXPECT_EQ(result.fileVersion, 0);
    EXPECT_EQ(result.outcome, ReadOutcome::Unmatched);
    EXPECT_EQ(set, presetDefaults());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Unmatched version of *.ign file!");
}

TEST(ParameterFileReader, NumbersAreConvertedLikeC)
{
    storage::ReadResult result;
    const ParameterSet set = readGolden("octal_and_tacho.ign", result);
    EXPECT_EQ(result.fileVersion, 109);
    EXPECT_EQ(set[idx::BaseAdvance], 8);        // 010 is octal
    EXPECT_EQ(set[idx::TachoPulses], 1);
    EXPECT_EQ(set[idx::TachoCorrection], 80);   // -20 %
    EXPECT_EQ(set[idx::Input1], 4);
    EXPECT_EQ(set[idx::Input2], 0);             // below 0 stores 0
    EXPECT_EQ(set[idx::SpeedA], 12);            // 1290 rpm in steps of 100
    EXPECT_EQ(set[idx::SpeedA + 1], 20);        // missing values leave the bytes

    ParameterSet corrected = readGolden("tacho_correction_out_of_range.ign", result);
    EXPECT_EQ(corrected[idx::TachoPulses], 255);
    EXPECT_EQ(corrected[idx::TachoCorrection], 0);
    params::normalize(corrected);
    EXPECT_EQ(corrected[idx::TachoCorrection], 40);
}

TEST(ParameterFileReader, Tokens)
{
    struct Case {
        const char* text;
        int fileVersion;
        int baseAdvance;  // index 3 afterwards (10 before)
    };
    const Case cases[] = {
        {"KORVELAN_KEY 109\nBASE_ADV 20\n", 109, 20},
        {"junk words\tKORVELAN_KEY\t109\tBASE_ADV\t20\t", 109, 20},
        {"KORVELAN_KEY 109\r\nBASE_ADV\r\n20\r\n", 109, 20},        // value on the next line
        {"KORVELAN_KEY 109\nBASE_ADV", 109, 10},                    // last word has no separator after it
        {"KORVELAN_KEY", 0, 10},                                    // neither has the key word
        {"no key here\nBASE_ADV 20\n", 0, 10},
        {"KORVELAN_KEY 109\nBASE_ADV 0x30\n", 109, 0},              // only the digits after a 0 count
        {"KORVELAN_KEY 109\nBASE_ADV - 20\n", 109, 10},             // a lone "-" is no number
        {"KORVELAN_KEY 109\nbase_adv 20\n", 109, 10},               // keywords are case-sensitive
        {"KORVELAN_KEY 109\nBASE_ADV 20 KORVELAN_KEY 92\n", 109, 20},  // only the first key counts
        {"KORVELAN_KEY 109\nBASE_ADV 99999999999999999999999\n", 109, 0},
        {"KORVELAN_KEY 109\nBASE_ADV 25600\n", 109, 0},
        {"KORVELAN_KEY -109\nBASE_ADV 20\n", 0, 10},
        {"KORVELAN_KEY 0109\nBASE_ADV 20\n", 0, 10},                // octal 109 is no key
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ParameterSet set = presetDefaults();
        const auto result = storage::parseParameterText(c.text, set);
        EXPECT_EQ(result.fileVersion, c.fileVersion);
        EXPECT_EQ(set[idx::BaseAdvance], c.baseAdvance);
    }
}

TEST(ParameterFileReader, TextEndsAtAZeroByteAndLongRunsGiveNoValue)
{
    ParameterSet set = presetDefaults();
    std::string text = "KORVELAN_KEY 109\nBASE_ADV 20\n";
    text += '\0';
    text += "TEST 70\n";
    storage::parseParameterText(text, set);
    EXPECT_EQ(set[idx::BaseAdvance], 20);
    EXPECT_EQ(set[idx::TestSpeed], 50);

    set = presetDefaults();
    storage::parseParameterText("KORVELAN_KEY 109\nRPM 1 9223372036854775807\n", set);
    EXPECT_EQ(set[idx::TachoCorrection], 0);

    set = presetDefaults();
    storage::parseParameterText("KORVELAN_KEY 109\nBASE_ADV " + std::string(101, '1') + " 30\n" +
                                    std::string(300, 'W') + " TEST 7000\n",
                                set);
    EXPECT_EQ(set[idx::BaseAdvance], 10);
    EXPECT_EQ(set[idx::TestSpeed], 70);
}

TEST(ParameterFileReader, OlderVersionMessagesInTheCurrentLanguage)
{
    MessageBoxRecorder boxes;
    const int before = lang::currentLanguage();
    lang::setCurrentLanguage(lang::German);
    ParameterSet set = presetDefaults();
    storage::readParameterFile(kData / "version92.ign", set, true);
    storage::readParameterFile(kData / "version67.ign", set, true);
    storage::readParameterFile(kData / "current_defaults.ign", set, true);
    storage::readParameterFile(kData / "version27.ign", set, false);
    lang::setCurrentLanguage(before);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text,
              "Älter Version von Datendatei *.ign!\n\nSie werden alle Parameter außer der SOFT_LIMITER und "
              "PILOT_LIGHT_PWM lesen");
    EXPECT_TRUE(boxes.boxes[1].text.starts_with("Älter Version von Datendatei *.ign!\n\nEinige Kenndaten"));
}

TEST(ParameterFileReader, UnreadableFilesAreSilentlyRefused)
{
    TempDir dir;
    MessageBoxRecorder boxes;
    std::string atLimit = "KORVELAN_KEY 109\nBASE_ADV 20\n";
    atLimit.resize(storage::kMaxParameterFileBytes, ' ');
    writeBytes(dir / "limit.ign", atLimit);
    writeBytes(dir / "over.ign", atLimit + " ");

    ParameterSet set = presetDefaults();
    EXPECT_EQ(storage::readParameterFile(dir / "limit.ign", set, true).fileVersion, 109);
    set = presetDefaults();
    const auto over = storage::readParameterFile(dir / "over.ign", set, true);
    EXPECT_EQ(over.fileVersion, 0);
    EXPECT_EQ(over.outcome, ReadOutcome::Unreadable);
    EXPECT_EQ(storage::readParameterFile(dir / "missing.ign", set, true).outcome, ReadOutcome::Unreadable);
    EXPECT_EQ(storage::readParameterFile(dir.path(), set, true).outcome, ReadOutcome::Unreadable);
    EXPECT_EQ(set, presetDefaults());
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST(ParameterFileName, DroppedFilesEndingInIgn)
{
    EXPECT_TRUE(storage::isParameterFileName("/home/a/bike.ign"));
    EXPECT_TRUE(storage::isParameterFileName("/home/a/BIKE.IGN"));
    EXPECT_TRUE(storage::isParameterFileName("x.iGn"));
    EXPECT_TRUE(storage::isParameterFileName(".ign"));
    EXPECT_FALSE(storage::isParameterFileName("ign"));
    EXPECT_FALSE(storage::isParameterFileName("notes.txt"));
    EXPECT_FALSE(storage::isParameterFileName("bike.ignlog"));
    EXPECT_FALSE(storage::isParameterFileName("bike.ign "));
}

}  // namespace
