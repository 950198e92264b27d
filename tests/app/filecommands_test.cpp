#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QUrl>
#include <fstream>

#include "storage/parameterfile.h"
#include "support/fifo.h"
#include "windowfixture.h"

namespace {

using app::TMainForm;
namespace idx = params::idx;

class FileCommandsTest : public WindowTest {
protected:
    QString path(const std::string& name) { return QString::fromStdString((dir / name).string()); }
    // The next file dialog answers `answer` and records where it started.
    void answerDialog(const QString& answer)
    {
        window->fileDialog = [this, answer](bool save, const QString& start) {
            dialogs.push_back({save, start});
            return answer;
        };
    }
    struct Dialog {
        bool save;
        QString start;
    };
    std::vector<Dialog> dialogs;
};

TEST_F(FileCommandsTest, SaveNewOpenRoundTripWithTitleAndHistory)
{
    TMainForm& w = open();
    type(findControl<QLineEdit>(w, "EditHardLimiter"), "13000");
    answerDialog(path("bike.ign"));
    findControl<QAction>(w, "MenuSave")->trigger();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_TRUE(dialogs[0].save);
    EXPECT_TRUE(w.windowTitle().endsWith(path("bike.ign")));
    EXPECT_TRUE(w.state.sameAsFile);

    boxes.answerWith(lang::IdYes);
    findControl<QAction>(w, "MenuNew")->trigger();
    EXPECT_EQ(w.state.params[idx::HardLimiterA], 150);
    EXPECT_EQ(w.windowTitle(), "  Tavrin (v109)       ");
    EXPECT_TRUE(historyItem(w, 0)->isVisible()) << "the previous file is offered after New";
    EXPECT_EQ(historyItem(w, 0)->text(), "1 bike");

    answerDialog(path("bike.ign"));
    findControl<QAction>(w, "MenuOpen")->trigger();
    EXPECT_EQ(w.state.params[idx::HardLimiterA], 130);
    EXPECT_EQ(findControl<QLineEdit>(w, "EditHardLimiter")->text(), "13 000");
    EXPECT_TRUE(w.windowTitle().endsWith(path("bike.ign")));
    EXPECT_FALSE(w.settings.newInstall);

    type(findControl<QLineEdit>(w, "EditHardLimiter"), "12000");
    EXPECT_EQ(w.windowTitle(), "  Tavrin (v109)       ") << "a change removes the file name";
    findControl<QAction>(w, "MenuZpet")->trigger();
    EXPECT_TRUE(w.windowTitle().endsWith(path("bike.ign"))) << "undo brings it back";
}

TEST_F(FileCommandsTest, ProgramFolderVariantsStartAtTheDefaultFile)
{
    TMainForm& w = open();
    answerDialog(QString());
    findControl<QAction>(w, "MenuOpenExeDir")->trigger();
    findControl<QAction>(w, "MenuSaveExeDir")->trigger();
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_TRUE(dialogs[0].start.endsWith("/data.ign"));
    EXPECT_TRUE(dialogs[1].start.endsWith("/data.ign"));
    EXPECT_TRUE(boxes.boxes.empty()) << "cancelled dialogs do nothing";
}

TEST_F(FileCommandsTest, MissingHistoryFileShowsErrorAndLeavesTheHistory)
{
    TMainForm& w = open();
    for (const char* name : {"one.ign", "two.ign"}) {
        ASSERT_TRUE(storage::writeParameterFile(dir / name, w.state.params));
        answerDialog(path(name));
        findControl<QAction>(w, "MenuOpen")->trigger();
    }
    ASSERT_TRUE(historyItem(w, 0)->isVisible());
    EXPECT_EQ(historyItem(w, 0)->text(), "1 one");
    std::filesystem::remove(dir / "one.ign");
    historyItem(w, 0)->trigger();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Open file error!");
    EXPECT_FALSE(historyItem(w, 0)->isVisible());
}

TEST_F(FileCommandsTest, DroppedIgnFileIsLoaded)
{
    TMainForm& w = open();
    params::ParameterSet other = w.state.params;
    other[idx::BaseAdvance] = 33;
    ASSERT_TRUE(storage::writeParameterFile(dir / "OTHER.IGN", other));
    std::ofstream(dir / "notes.txt") << "hello";
    EXPECT_FALSE(w.loadDroppedFiles({QUrl::fromLocalFile(path("notes.txt"))}));
    EXPECT_TRUE(w.loadDroppedFiles({QUrl::fromLocalFile(path("notes.txt")), QUrl::fromLocalFile(path("OTHER.IGN"))}));
    EXPECT_EQ(w.state.params[idx::BaseAdvance], 33);
    EXPECT_EQ(w.currentFileName, path("OTHER.IGN"));
}

TEST_F(FileCommandsTest, SettingsAndTheLastSetSurviveARestart)
{
    TMainForm& first = open();
    type(findControl<QLineEdit>(first, "EditBaseAdv"), "17");
    findControl<QAction>(first, "MenuGerman")->trigger();
    first.FormClose();
    window.reset();
    lang::setCurrentLanguage(0);

    TMainForm& second = open();
    EXPECT_EQ(second.state.params[idx::BaseAdvance], 17);
    EXPECT_EQ(findControl<QLineEdit>(second, "EditBaseAdv")->text(), "17");
    EXPECT_EQ(findControl<QMenu>(second, "MenuFile")->title(), "&Datei");
    EXPECT_FALSE(findControl<QToolButton>(second, "SpeedButtonZpet")->isEnabled()) << "the restored set is the only undo step";
}

// --- odd local input ---

TEST_F(FileCommandsTest, OpenRefusesAPipeWithAClearError)
{
    TMainForm& w = open();
    Fifo fifo(dir / "pipe.ign");
    answerDialog(QString::fromStdString(fifo.string()));
    findControl<QAction>(w, "MenuOpen")->trigger();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Open file error!\nIt is not a regular file (a pipe, a device or a folder).");
    EXPECT_TRUE(w.currentFileName.isEmpty());
}

TEST_F(FileCommandsTest, OpeningAFileThatLacksSettingsWarnsAndStillReadsIt)
{
    TMainForm& w = open();
    std::ofstream(dir / "partial.ign", std::ios::binary)
        << "KORVELAN_KEY     109 TAVRIN/Tavrin\r\n               \r\nBIKE               0 \r\nBASE_ADV          17 "
           "\r\nLIMITER        10000 15000 10000 15000 \r\n";
    answerDialog(path("partial.ign"));
    findControl<QAction>(w, "MenuOpen")->trigger();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, "Warning");
    EXPECT_TRUE(boxes.boxes[0].text.starts_with(
        "The file lacks these settings; they keep their previous values:\nAB, POCET_BODU, RPM_ADV_A, "))
        << boxes.boxes[0].text;
    EXPECT_EQ(boxes.boxes[0].text.find("BASE_ADV"), std::string::npos);
    EXPECT_EQ(w.state.params[idx::BaseAdvance], 17) << "the file is still read";
    EXPECT_EQ(w.currentFileName, path("partial.ign"));
}

TEST_F(FileCommandsTest, SettingsThatCannotBeSavedSaySoOnce)
{
    TMainForm& w = open();
    // A folder where the settings file belongs: no write can replace it.
    std::filesystem::remove(dir / "settings" / "application.ini");
    std::filesystem::create_directories(dir / "settings" / "application.ini");
    testing::internal::CaptureStderr();
    w.saveSettings();
    w.saveSettings();
    const std::string err = testing::internal::GetCapturedStderr();
    const std::string message = "The settings cannot be saved in " + (dir / "settings").string();
    EXPECT_EQ(err, "tavrin: " + message + "\n");
    EXPECT_EQ(statusPanel(w, 0)->text().toStdString(), message);
}

}  // namespace
