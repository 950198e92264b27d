#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "storage/fileprocedures.h"
#include "support/messageboxrecorder.h"
#include "support/tempdir.h"

namespace {

using params::ParameterState;
namespace idx = params::idx;

const std::filesystem::path kData = TAVRIN_STORAGE_TEST_DATA;

// Records what the procedures ask of the window, in order.
class RecordingWindow : public storage::ParameterFileWindow {
public:
    void commitEdit() override { calls.push_back("commit"); }
    void readControls() override { calls.push_back("read"); }
    void refreshControls(bool full) override { calls.push_back(full ? "refresh full" : "refresh"); }
    void storeUndoStep() override { calls.push_back("undo"); }
    void currentFileChanged(const std::string& path) override { calls.push_back("file " + path); }
    void showMessage(int slot, const lang::LangText* text, int, std::uint32_t, std::uint32_t, int priority) override
    {
        calls.push_back("slot " + std::to_string(slot) + (text ? " text" : " clear") + " " + std::to_string(priority));
    }
    std::vector<std::string> calls;
};

class FileProcedures : public ::testing::Test {
protected:
    FileProcedures()
    {
        params::applyPresetDefaults(state.params);
        params::normalize(state.params);
        settings.history.assign({"/old/one.ign", "/old/two.ign"});
    }
    TempDir dir;
    MessageBoxRecorder boxes;
    RecordingWindow window;
    ParameterState state;
    storage::Settings settings;
};

TEST_F(FileProcedures, AcceptedFileBecomesTheCurrentFile)
{
    const std::string path = (kData / "version92.ign").string();
    EXPECT_TRUE(storage::loadParameterFile(path, state, settings, window));
    EXPECT_EQ(state.fileVersion, 92);
    EXPECT_EQ(state.params[idx::SoftLimiterA], 140);
    EXPECT_EQ(state.fileParameters, state.params);
    EXPECT_TRUE(state.sameAsFile);
    EXPECT_FALSE(settings.newInstall);
    EXPECT_EQ(settings.file, path);
    EXPECT_EQ(settings.iniFileDir, path);
    EXPECT_EQ(settings.history.entry(0), path);
    EXPECT_EQ(window.calls, (std::vector<std::string>{"commit", "refresh full", "undo", "refresh", "commit",
                                                      "file " + path, "slot 2 clear -1"}));
    ASSERT_EQ(boxes.boxes.size(), 1u);  // the older-version explanation
}

TEST_F(FileProcedures, RefusedVersionKeepsTheSetAndTheCurrentFile)
{
    const params::ParameterSet before = state.params;
    EXPECT_FALSE(storage::loadParameterFile((kData / "key110.ign").string(), state, settings, window));
    EXPECT_EQ(state.fileVersion, 0);
    EXPECT_EQ(state.params, before);
    EXPECT_TRUE(state.sameAsFile);
    EXPECT_TRUE(settings.newInstall);
    EXPECT_TRUE(settings.file.empty());
    EXPECT_EQ(settings.history.count(), 2);
    EXPECT_EQ(window.calls, (std::vector<std::string>{"commit", "refresh full", "slot 2 clear -1"}));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Unmatched version of *.ign file!");
}

TEST_F(FileProcedures, UnopenableFileLeavesTheHistory)
{
    const params::ParameterSet before = state.params;
    const std::string tooLong = "/" + std::string(259, 'x');
    for (const std::string& path : {std::string("/old/two.ign"), tooLong}) {
        window.calls.clear();
        boxes.boxes.clear();
        EXPECT_FALSE(storage::loadParameterFile(path, state, settings, window));
        EXPECT_EQ(window.calls, std::vector<std::string>{"slot 2 clear -1"});
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, "Open file error!");
        EXPECT_EQ(boxes.boxes[0].caption, "Error");
    }
    EXPECT_EQ(settings.history.entries(), std::vector<std::string>{"/old/one.ign"});
    EXPECT_EQ(state.params, before);
}

TEST_F(FileProcedures, SaveWritesNormalisedSetAndMakesItCurrent)
{
    state.params[idx::StartLimiterA] = 200;  // above its hard limiter: normalised before writing
    state.sameAsFile = false;
    const std::string path = (dir / "saved.ign").string();
    ASSERT_TRUE(storage::saveParameterFileAs(path, state, settings, window, {"d", "t", "v"}));
    EXPECT_EQ(state.params[idx::StartLimiterA], 150);
    EXPECT_EQ(state.fileParameters, state.params);
    EXPECT_TRUE(state.sameAsFile);
    EXPECT_EQ(settings.history.entry(0), path);
    EXPECT_EQ(window.calls, (std::vector<std::string>{"read", "refresh", "file " + path}));

    params::ParameterSet reread;
    EXPECT_EQ(storage::readParameterFile(path, reread, false).fileVersion, 109);
    for (int i = 0; i < idx::FirstUnused; ++i)
        EXPECT_EQ(reread[i], state.params[i]) << i;
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(FileProcedures, UnwritableSaveShowsTheErrorAndChangesNothing)
{
    const std::string path = (dir / "missing-folder" / "saved.ign").string();
    state.sameAsFile = false;
    EXPECT_FALSE(storage::saveParameterFileAs(path, state, settings, window));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Open file error!");
    EXPECT_FALSE(state.sameAsFile);
    EXPECT_TRUE(window.calls.empty());
    EXPECT_EQ(settings.history.count(), 2);
}

TEST(DroppedFiles, FirstParameterFileWins)
{
    EXPECT_EQ(storage::firstDroppedParameterFile({"/a/notes.txt", "/a/BIKE.IGN", "/a/other.ign"}), "/a/BIKE.IGN");
    EXPECT_FALSE(storage::firstDroppedParameterFile({"/a/notes.txt", "/a/log.ignlog"}));
    EXPECT_FALSE(storage::firstDroppedParameterFile({}));
}

}  // namespace
