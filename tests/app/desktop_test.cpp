// The window on the desktop: files named on the command line, the icon, Qt's own texts
// in the user's language, and the explanation of a port refused for lack of permission.

#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

#include "app/desktop.h"
#include "storage/parameterfile.h"
#include "windowfixture.h"

namespace {

class DesktopTest : public WindowTest {};

TEST_F(DesktopTest, AParameterFileNamedAtStartIsLoadedLikeAnOpenedOne)
{
    params::ParameterSet set;
    params::applyPresetDefaults(set);
    set[params::idx::BaseAdvance] = 17;
    params::normalize(set);
    ASSERT_TRUE(storage::writeParameterFile(dir / "bike.ign", set));
    app::TMainForm& w = open();
    ASSERT_NE(w.state.params, set);

    // A relative name, as a shell passes it, becomes the full path.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(dir.path().string()));
    w.openStartFiles({QStringLiteral("bike.ign"), QStringLiteral("other.ign")});
    QDir::setCurrent(previous);

    const QString full = QString::fromStdString((dir / "bike.ign").string());
    EXPECT_EQ(w.state.params, set);
    EXPECT_TRUE(w.state.sameAsFile);
    EXPECT_EQ(w.currentFileName, full);
    EXPECT_TRUE(w.windowTitle().endsWith(full));
    EXPECT_EQ(w.settings.history.entry(0), full.toStdString());
    EXPECT_FALSE(w.settings.newInstall);
    EXPECT_TRUE(boxes.boxes.empty()) << "only the first parameter file is opened";
}

TEST_F(DesktopTest, AMissingFileShowsTheOpenFileError)
{
    app::TMainForm& w = open();
    const params::ParameterSet before = w.state.params;
    w.openStartFiles({QString::fromStdString((dir / "gone.ign").string())});
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Open file error!");
    EXPECT_EQ(w.state.params, before);
}

TEST_F(DesktopTest, AMonitorLogNamedAtStartPlaysInTheShownPlayer)
{
    app::TMainForm& w = open();
    const QString log = QString::fromStdString((dir / "ride.ignlog").string());
    w.logFileDialog = [log](bool, const QString&) { return log; };
    playButton(w, 0)->click();  // record
    ticks(3);
    playButton(w, 3)->click();  // stop: the file is written
    w.logFileDialog = [](bool, const QString&) {
        ADD_FAILURE() << "no dialog for a file named at start";
        return QString();
    };
    ASSERT_FALSE(findControl<QGroupBox>(w, "GroupBoxPlayer")->isVisibleTo(&w));

    w.openStartFiles({log});
    EXPECT_EQ(w.monitorLog.mode(), monitorlog::Playing);
    EXPECT_EQ(w.monitorLog.fileName(), std::filesystem::path(log.toStdString()));
    EXPECT_TRUE(findControl<QGroupBox>(w, "GroupBoxPlayer")->isVisibleTo(&w));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(DesktopTest, LangWinsOverTheSettingsAndTheStartWord)
{
    open().setLanguage(lang::German);  // stored in the settings at close
    window->FormClose();
    window.reset();
    startLanguage = lang::Czech;
    app::TMainForm& w = open({QStringLiteral("ENGLISH")});
    EXPECT_EQ(lang::currentLanguage(), lang::Czech);
    EXPECT_EQ(findControl<QAction>(w, "MenuCzech")->isChecked(), true);
}

TEST_F(DesktopTest, TheWindowCarriesTheProgramIconInEverySize)
{
    app::TMainForm& w = open();
    const QList<QSize> sizes = w.windowIcon().availableSizes();
    for (const int size : {16, 32, 48, 256})
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
    EXPECT_FALSE(w.windowIcon().pixmap(48).isNull());
}

TEST_F(DesktopTest, QtsOwnTextsFollowTheLanguage)
{
    app::TMainForm& w = open();
    const struct {
        int language;
        const char* cancel;
    } cases[] = {{lang::German, "Abbrechen"}, {lang::Czech, "Zrušit"}, {lang::English, "Cancel"}};
    for (const auto& c : cases) {
        w.setLanguage(c.language);
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8(c.cancel)) << c.language;
    }
}

TEST_F(DesktopTest, APortRefusedForLackOfPermissionIsExplainedOnceInTheUsersLanguage)
{
    // A read-only kernel attribute refuses a read-write open even to root, with the
    // same error as a serial port of a group the user is not in.
    const std::filesystem::path refusing = "/sys/devices/system/cpu/online";
    if (::access(refusing.c_str(), R_OK) != 0)
        GTEST_SKIP() << "no " << refusing;
    std::filesystem::create_directories(dir / "settings" / "ports");
    std::filesystem::create_symlink(refusing, dir / "settings" / "ports" / "COM9");
    app::TMainForm& w = open({QStringLiteral("DEUTSCH")});
    // The port threads try the opens between the ticks.
    const auto tickUntil = [&](auto done) {
        for (int tick = 0; tick < 2000 && !done(); ++tick) {
            ticks(1);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    };
    tickUntil([&] { return !boxes.boxes.empty(); });
    ASSERT_EQ(boxes.boxes.size(), 1u);
    const std::string& text = boxes.boxes[0].text;
    EXPECT_NE(text.find("COM9"), std::string::npos) << text;
    EXPECT_NE(text.find("keine Berechtigung"), std::string::npos) << text;
    EXPECT_NE(text.find("sudo usermod -aG dialout $USER"), std::string::npos) << text;
    EXPECT_NE(text.find("Anmeldung"), std::string::npos) << text;
    // The search tries the port again and again, refused each time.
    w.link->channel(9).openError.store(0);
    tickUntil([&] { return w.link->channel(9).openError.load() == EACCES; });
    EXPECT_EQ(w.link->channel(9).openError.load(), EACCES) << "COM9 was tried again";
    ticks(20);
    EXPECT_EQ(boxes.boxes.size(), 1u) << "once a run";
}

}  // namespace
