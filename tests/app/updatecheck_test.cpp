// The update check of the window against a description served from 127.0.0.1.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTextEdit>
#include <QThread>
#include <cstdlib>
#include <fstream>
#include <string>

#include "localhttpserver.h"
#include "update/formpatch.h"
#include "update/patchdescription.h"
#include "windowfixture.h"

namespace {

QByteArray description(const QByteArray& recommendations)
{
    return "<?xml version=\"1.0\"?>\n<patches>\n<product class=\"TAVRIN\" key=\"109\">\n" + recommendations +
           "</product>\n</patches>\n";
}

const QByteArray kTwoRecommendations = description(
    "<recommendation update_number=\"3\" from=\"2020_01_01\" to=\"2022_01_01\">"
    "<english>{\\rtf1\\ansi{\\fonttbl{\\f0 Tahoma;}}\\b New version\\b0\\par Faster reading.}</english>"
    "<web>https://korvelan.example/en/tavrin</web>"
    "<download>https://korvelan.example/old/tavrin_setup_110.exe</download></recommendation>\n"
    "<recommendation update_number=\"5\" from=\"2021_05_01\" to=\"9999_99_99\">"
    "<english>Later build</english></recommendation>\n");

struct ShownDialog {
    QString title, text;
    bool downloadVisible = false, webVisible = false;
    QString downloadCaption, cancelCaption;
};

class UpdateCheckTest : public WindowTest {
protected:
    // Opens the window against `server`, with the build date of 18 April 2021, and runs
    // the ticks until the description was processed. The dialog answers `answer`.
    void runCheck(LocalHttpServer& server, int answer = update::TFormPatch::RemindLater, QStringList arguments = {})
    {
        qputenv("TAVRIN_UPDATE_BASE", server.base().toLatin1());
        open(arguments);
        window->show();
        window->compileDate = "2021_04_18";
        window->openUrl = [this](const QUrl& url) {
            opened << url.toString();
            return true;
        };
        window->runModal = [this, answer](QDialog& dialog) {
            auto& patch = dynamic_cast<update::TFormPatch&>(dialog);
            shown = ShownDialog{patch.windowTitle(), patch.RichEditPatch->toPlainText(),
                                !patch.ButtonPatchDownload->isHidden(), !patch.ButtonPatchWWW->isHidden(),
                                patch.ButtonPatchDownload->text(), patch.ButtonPatchCancel->text()};
            return answer;
        };
        ticks(40);
        EXPECT_EQ(window->updateDownloader.state.load(), update::Idle) << "nothing before two seconds";
        ticks(1);
        if (arguments.contains(QStringLiteral("nopatchcheck")))
            return;
        EXPECT_EQ(statusPanel(*window, 0)->text(), lang::currentLanguage() == lang::Czech ? "Zjišťuji aktualizace..."
                                                                                           : "Trying updates...");
        // The download is real network traffic on 127.0.0.1: a generous bound, outcome asserted.
        QElapsedTimer clock;
        clock.start();
        while (window->updateDownloader.state.load() != update::Finished && clock.elapsed() < 30000) {
            QCoreApplication::processEvents();
            QThread::msleep(5);
        }
        ASSERT_EQ(window->updateDownloader.state.load(), update::Finished);
        ticks(1);
    }

    std::optional<ShownDialog> shown;
    QStringList opened;
};

TEST_F(UpdateCheckTest, OffersTheRecommendationForThisBuildAndRemembersADeclinedOne)
{
    LocalHttpServer server(kTwoRecommendations);
    runCheck(server, update::TFormPatch::DoNotRemind);
    ASSERT_EQ(server.requests.size(), 1);
    EXPECT_EQ(server.requests[0], "GET /old/patch.xml HTTP/1.1");
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->title, "Update");
    EXPECT_TRUE(shown->text.contains("New version")) << shown->text.toStdString();
    EXPECT_TRUE(shown->text.contains("Faster reading."));
    EXPECT_FALSE(shown->text.contains("rtf")) << "the rich text is read, not shown as code";
    EXPECT_TRUE(shown->downloadVisible);
    EXPECT_TRUE(shown->webVisible);
    EXPECT_EQ(window->settings.updateNumber, 3);
    EXPECT_EQ(statusPanel(*window, 0)->text(), "");
    EXPECT_TRUE(statusPanel(*window, 2)->text().endsWith("NEW=3")) << statusPanel(*window, 2)->text().toStdString();
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(window->updateDownloader.state.load(), update::Processed);

    // The next run remembers the declined number and does not show it again.
    window->FormClose();
    window.reset();
    shown.reset();
    LocalHttpServer again(kTwoRecommendations);
    runCheck(again);
    EXPECT_EQ(window->settings.updateNumber, 3);
    EXPECT_FALSE(shown) << "update 3 was declined";
}

TEST_F(UpdateCheckTest, ANewerUpdateThanTheDeclinedOneIsShown)
{
    std::filesystem::create_directories(dir / "settings");
    std::ofstream(dir / "settings" / "application.ini") << "[BASIC]\r\nUpdateNumber=3\r\n";
    LocalHttpServer server(description("<recommendation update_number=\"4\"><english>Four</english>"
                                       "</recommendation>"));
    runCheck(server);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->text, "Four");
    EXPECT_FALSE(shown->downloadVisible) << "no download address";
    EXPECT_FALSE(shown->webVisible) << "no web address";
    EXPECT_EQ(window->settings.updateNumber, 3) << "remind later keeps the number";
}

TEST_F(UpdateCheckTest, CzechShowsTheEnglishTextWhenThereIsNoCzechOne)
{
    LocalHttpServer server(kTwoRecommendations);
    runCheck(server, update::TFormPatch::RemindLater, {QStringLiteral("CESKY")});
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->title, "Aktualizace");
    EXPECT_EQ(shown->downloadCaption, "Stáhni aktualizaci");
    EXPECT_EQ(shown->cancelCaption, "Zpět (připomeň příště)");
    EXPECT_TRUE(shown->text.contains("New version"));
}

TEST_F(UpdateCheckTest, DownloadOpensTheAddressTellsHowToInstallAndClosesTheWindow)
{
    LocalHttpServer server(kTwoRecommendations);
    runCheck(server, update::TFormPatch::Download);
    ASSERT_TRUE(shown);
    EXPECT_EQ(opened, QStringList{"https://korvelan.example/old/tavrin_setup_110.exe"});
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, "Downloading");
    EXPECT_EQ(boxes.boxes[0].text, "After downloading run new installer.");
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->settings.updateNumber < 3);
}

TEST_F(UpdateCheckTest, ADownloadThatIsNoWebAddressIsRefusedAndTheWindowStays)
{
    LocalHttpServer server(description("<recommendation update_number=\"2\"><english>x</english>"
                                       "<download>file:///tmp/setup.sh</download></recommendation>"));
    runCheck(server, update::TFormPatch::Download);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(opened.isEmpty());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_NE(boxes.boxes[0].text.find("file:///tmp/setup.sh"), std::string::npos);
    EXPECT_TRUE(window->isVisible()) << "the program stays when the download was not started";
}

TEST_F(UpdateCheckTest, EveryCheckEndsWithAResultThatClears)
{
    struct Case {
        const char* name;
        QByteArray body;
        int status;
        const char* result;
    } cases[] = {
        {"not found", kTwoRecommendations, 404, "Update server not reachable"},
        {"another program's description",
         "<product class=\"TAVRIN\" key=\"108\"><recommendation update_number=\"9\"></recommendation></product>", 200,
         "No update available"},
        {"nothing for this build",
         description("<recommendation update_number=\"9\" from=\"2030_01_01\"></recommendation>"), 200,
         "No update available"},
    };
    for (const Case& c : cases) {
        shown.reset();
        boxes.boxes.clear();
        LocalHttpServer server(c.body, c.status);
        runCheck(server);
        EXPECT_FALSE(shown) << c.name;
        EXPECT_TRUE(boxes.boxes.empty()) << c.name;
        EXPECT_EQ(statusPanel(*window, 0)->text(), c.result) << c.name;
        ticks(100);
        EXPECT_EQ(statusPanel(*window, 0)->text(), c.result) << c.name << ": shown for a while";
        ticks(30);
        EXPECT_EQ(statusPanel(*window, 0)->text(), "") << c.name << ": then cleared";
        window->FormClose();
        window.reset();
    }
    // No server at all (a closed port) is not reachable either.
    open();
    ticks(41);
    QElapsedTimer clock;
    clock.start();
    while (window->updateDownloader.state.load() != update::Finished && clock.elapsed() < 30000)
        QThread::msleep(5);
    ticks(1);
    EXPECT_EQ(statusPanel(*window, 0)->text(), "Update server not reachable");
}

TEST_F(UpdateCheckTest, NoPatchCheckOnTheCommandLineSuppressesTheCheck)
{
    LocalHttpServer server(kTwoRecommendations);
    runCheck(server, update::TFormPatch::RemindLater, {QStringLiteral("nopatchcheck")});
    EXPECT_TRUE(window->noUpdateCheck);
    ticks(40);
    EXPECT_EQ(window->updateDownloader.state.load(), update::Idle);
    EXPECT_EQ(statusPanel(*window, 0)->text(), "");
    EXPECT_TRUE(server.requests.isEmpty());
}

TEST_F(UpdateCheckTest, TheServerComesFromTheSettingsWithoutTheEnvironmentVariable)
{
    LocalHttpServer server(kTwoRecommendations);
    std::filesystem::create_directories(dir / "settings");
    std::ofstream(dir / "settings" / "application.ini")
        << "[BASIC]\r\nUpdateServer=" << server.base().toStdString() << "\r\n";
    qunsetenv("TAVRIN_UPDATE_BASE");
    open();
    window->compileDate = "2021_04_18";
    window->runModal = [this](QDialog&) {
        shown = ShownDialog{};
        return int(update::TFormPatch::RemindLater);
    };
    ticks(41);
    QElapsedTimer clock;
    clock.start();
    while (window->updateDownloader.state.load() != update::Finished && clock.elapsed() < 30000) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
    ticks(1);
    EXPECT_EQ(server.requests.size(), 1);
    EXPECT_TRUE(shown);
}

TEST(UpdateDialog, WebButtonOpensTheAddressAndKeepsTheDialogOpen)
{
    update::UpdateOffer offer;
    offer.number = 1;
    offer.description = "Nov\xE1 verze";  // code page 1250 plain text
    offer.webAddress = "https://korvelan.example/cz";
    QStringList opened;
    update::TFormPatch dialog(offer, lang::Czech, [&opened](const QString& web) { opened << web; });
    EXPECT_EQ(dialog.size(), QSize(667, 475));
    EXPECT_EQ(dialog.RichEditPatch->toPlainText(), "Nová verze");
    EXPECT_TRUE(dialog.RichEditPatch->isReadOnly());
    EXPECT_TRUE(dialog.ButtonPatchDownload->isHidden());
    dialog.show();
    dialog.ButtonPatchWWW->click();
    EXPECT_EQ(opened, QStringList{"https://korvelan.example/cz"});
    EXPECT_TRUE(dialog.isVisible());
    dialog.ButtonPatchCancel1->click();
    EXPECT_EQ(dialog.result(), update::TFormPatch::DoNotRemind);
    EXPECT_FALSE(dialog.isVisible());
}

// Whether a TLS plugin of Qt is mapped into this process.
bool tlsPluginLoaded()
{
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line))
        if (line.find("/plugins/tls/") != std::string::npos)
            return true;
    return false;
}

// Under wine, a library with thread-local data that loads while the serial layer starts
// and ends its wait threads brings the program down; the TLS plugin of the check must
// therefore be in place once the window is created, before the first tick opens a port.
// Each case runs in a fresh process, where no earlier test has loaded the plugin.
TEST_F(UpdateCheckTest, TheTlsPluginIsLoadedBeforeTheFirstTickOnlyWhenTheCheckRuns)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            open();
            std::_Exit(tlsPluginLoaded() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "")
        << "the check's TLS plugin loads with the window";
    EXPECT_EXIT(
        {
            open({QStringLiteral("nopatchcheck")});
            std::_Exit(tlsPluginLoaded() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "")
        << "without the check nothing loads it";
}

}  // namespace
