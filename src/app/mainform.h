#pragma once
// The main window: owns the parameter set and its companions and composes the window's
// parts (device, file, player, parameter binding); a 55 ms timer drives it.

#include <QMainWindow>
#include <QTimer>
#include <QUrl>
#include <array>
#include <memory>

#include "app/controls.h"
#include "app/portmessagefilter.h"
#include "lang/uitexts.h"
#include "link/comcom.h"
#include "link/identity.h"
#include "link/workflow.h"
#include "link/monitor.h"
#include "link/rememberedunit.h"
#include "monitorlog/logsession.h"
#include "params/parameterstate.h"
#include "storage/parameterfile.h"
#include "storage/settings.h"
#include "update/downloader.h"
#include "util/pointerlist.h"
#include <functional>
#include <optional>

class QAction;
class QActionGroup;
class QLocalServer;
class QLabel;
class QMenu;
class QScrollArea;
class QToolButton;
class QPushButton;
class QDialog;
class QPrinter;

namespace curveeditor {
class TTab;
}

namespace params {
struct SettingDifference;
}

namespace app {

// The manuals page of the maker's web server for `language` (the server's address comes
// from TAVRIN_WEB_BASE).
QUrl manualsUrl(int language);

// How the window starts: the arguments after the program name and where the
// test-flags file lies.
struct StartOptions {
    QStringList arguments;
    QString testFlagsPath;
    bool startTimer = true;  // tests drive the ticks by hand
    QString settingsFolder;  // empty: the user's settings folder
    QString stateFolder;     // backups and the like; empty: the user's state folder
    std::optional<int> language;  // --lang: wins over the settings and the start words
    QString linkLogPath;      // empty: TAVRIN_LINK_LOG, if set
    QString notifySocketPath;  // where other programs notify about the port; empty: not listened for
    std::optional<devlink::DeviceFolders> deviceFolders;  // where ports are found (tests)
    std::function<QRect()> availableArea;  // the screen's area for the window; empty: the window's screen
};

class DevicePanel;
class FilePanel;
class ParameterBinding;
class PlayerPanel;
class WindowWorkflowView;
class NotifyListener;
class TFormDifferences;
class ZoomController;

// The test-flags file: "<config folder>/test_dorvik.txt".
QString defaultTestFlagsPath();
// Milliseconds of a steady clock, wrapping at 32 bits.
std::uint32_t steadyMilliseconds();

class TMainForm : public QMainWindow, public params::CongruenceView, public monitorlog::LogHost {
    Q_OBJECT
public:
    explicit TMainForm(StartOptions options, QWidget* parent = nullptr);
    ~TMainForm() override;

    // --- state (read by tests and the later subsystems) ---
    params::ParameterState state;
    int tickCount = 0;
    // The process clock of the monitor log in ms; tests replace it with one they move by hand.
    std::function<std::uint32_t()> processClockSource = steadyMilliseconds;
    bool created = false;
    bool testEnabled = false;
    bool noUpdateCheck = false;
    QString currentFileName;
    QString dialogFileName;  // the file dialogs' file name (remembered folder)
    QString defaultFilePath;
    storage::SettingsPaths settingsPaths;
    std::filesystem::path backupFolder;  // where the unit's sets are kept before they are overwritten
    storage::Settings settings;
    // Runs the open (save = false) or save dialog starting at `start`; an empty result
    // means cancelled. Tests replace it.
    std::function<QString(bool save, const QString& start)> fileDialog;
    lang::MessageTexts texts;
    devlink::MonitorRecord monitorRecord;
    std::string compileDate;
    std::string newVersionText;  // set by the update check

    static int msClock();
    // Whether the device link reports a connected unit.
    bool unitConnected() const;

    // --- device link and workflow ---
    // The device part: buttons, gauge, port menu, message labels, monitor panel, status bar.
    DevicePanel& device() { return *device_; }
    std::unique_ptr<devlink::CCOMCOM> link;
    std::unique_ptr<devlink::RememberedUnit> rememberedUnit;  // the last unit's row, probed first
    std::unique_ptr<devlink::Workflow> workflow;
    void MenuReadClick();
    void MenuVerifyClick();
    void MenuProgramClick();
    void MenuResetClick();
    void portMenuRefresh();
    // The port menu's choice: -1 offline, 0 automatic, else a port's number.
    void MenuCom1Click(int portSetting);
    void onPortNotification(int port, std::uint32_t code);
    QString bootloaderTitleText() const;

    // --- start-up, tick, shutdown ---
    void FormCreate();
    // Opens what the command line named: the first parameter file through the load
    // procedure, the first monitor log in the player.
    void openStartFiles(const QStringList& files);
    // Plays the monitor log `path` as the Play button would after its dialog.
    void playLogFile(const QString& path);
    // The first port that cannot be opened for lack of permission (once a run): a box
    // explains the dialout group.
    void explainPortPermission();
    void Timer1Timer();
    void FormClose();

    // --- message slots ---
    void showMessage(int slot, const lang::LangText* text, int durationMs, std::uint32_t fontColour,
                     std::uint32_t backColour, int priority) override;
    void expireMessages();
    void refreshTitle() override;
    QString windowTitleText() const;

    // --- monitor panel and status texts ---
    void showMonitor();
    bool monitorLive() const;
    void resetStatusTexts();

    // --- monitor recorder and player ---
    monitorlog::LogSession monitorLog{*this};
    // Runs the open (save = false) or save dialog for monitor logs; an empty result means
    // cancelled. Tests replace it.
    std::function<QString(bool save, const QString& start)> logFileDialog;
    void recordStatus();
    void recordParameters(bool unit);
    void recordMonitor();
    void recordView();
    void playTick();
    void refreshLogControls() override;
    void stopLog() { logButton(3); }
    // The monitor-log part: the player group and its menu item.
    PlayerPanel& player() { return *player_; }

    // --- the parameter binding: edit boxes, choices, undo history ---
    ParameterBinding& binding() { return *binding_; }
    void applyLanguageTexts();
    void setLanguage(int language);
    void MenuContensClick();
    // Opens a web page in the desktop's browser; tests replace it.
    std::function<bool(const QUrl&)> openUrl;

    // --- files and settings ---
    void MenuNewClick();
    void openCommand(bool fromProgramFolder);
    void saveCommand(bool toProgramFolder);
    bool loadFile(const QString& path);
    // Loads the first dropped file whose name ends in ".ign"; false when there is none.
    bool loadDroppedFiles(const QList<QUrl>& urls);
    void historyMenuRefresh();
    void saveSettings();

    // --- curve editor ---
    void onCurveEditorChanged(curveeditor::TTab& editor);
    void curveEditorTick();
    void showLiveMarker();  // the live engine speed (or none) on the curve editor
    void MenuAdvanceClick(int delta);  // Advance + (+1) and Advance - (-1)

    // --- the list of differences ---
    // Opens (or refreshes) the list against the unit's values: those of the last
    // connection check or Read, or `verifyRead` after a failed Verify.
    void showDifferences(const params::ParameterSet* verifyRead = nullptr);
    void takeUnitValues(const std::vector<params::SettingDifference>& chosen);
    TFormDifferences* differencesForm = nullptr;

    // --- zoom ---
    // The design scaled by `percent` (0: the zoom that fits the screen); remembered.
    void setZoom(int percent);
    double zoom() const;
    QRect availableScreenArea() const;

    // --- About window, update check, printing ---
    void MenuAboutClick();
    void startUpdateThread();
    void updateTick();
    void stopUpdateThread();
    void printSettings();
    void preparePrint(QWidget* container);
    void restorePrint();
    update::UpdateDownloader updateDownloader;
    QString updateResultText;     // how the update check ended, while status panel 0 shows it
    int updateResultExpiry = 0;   // tick after which that text is cleared; 0 none
    util::CLISTOBJ printChanges{50, 50};  // CPrintObj entries; empty outside printing
    // Shows a modal dialog and returns its result; tests replace it.
    std::function<int(QDialog&)> runModal;
    // Chooses the printer (paper or PDF file); false cancels. Tests replace it.
    std::function<bool(QPrinter&)> choosePrinter;

    // --- the window's frame (the parts place their controls in it) ---
    QWidget* client = nullptr;  // the design-size area inside the scroll area
    QScrollArea* scrollArea = nullptr;
    QWidget* curveEditorBand = nullptr;  // the curve editor's place
    curveeditor::TTab* curveEditor = nullptr;  // fills the band (the curve editor part)

    // The window's size at start: the whole design area between menu bar and status bar.
    QSize designedSize() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // --- the form's own controls and menus, named as in the window definition; tests
    // find them by these names ---
    QGroupBox* GroupBoxToolBar = nullptr;
    QLabel *LabelVerze1 = nullptr, *LabelVerze2 = nullptr, *LabelVerze3 = nullptr, *LabelVersion = nullptr;

    QMenu *MenuTools = nullptr, *MenuLanguage = nullptr, *MenuHelp = nullptr;
    QAction *MenuAdvanceMinus = nullptr, *MenuAdvancePlus = nullptr, *MenuEnglish = nullptr, *MenuGerman = nullptr,
            *MenuCzech = nullptr, *MenuContens = nullptr, *MenuAbout = nullptr;
    QAction* MenuDifferences = nullptr;
    QMenu* MenuView = nullptr;

    // The window's side of the monitor log.
    std::uint32_t processClock() override;
    std::filesystem::path chooseLogFile(bool save) override;
    monitorlog::LogInfo recordingInfo() override;
    void writeInitialRecords() override;
    void applyRecord(const monitorlog::RecordView& record) override;
    void connectMonitorLog();
    void connectDifferences();
    void createViewMenu();
    std::optional<params::ParameterSet> differencesUnit_;
    std::vector<int> differencesIgnored_;
    std::unique_ptr<ZoomController> zoom_;
    void logButton(int index);  // record, play, pause, stop
    std::optional<params::ParameterState> stateBeforeReplay_;  // given back when a replay stops

    void createControls();
    void createCurveEditorControl();
    void loadCurveEditor();
    void writeCurveEditorMarkers();
    void showStartLimiterMarker(bool shown);
    void createMenus();
    void connectBinding();
    void connectFileCommands();
    void connectDeviceCommands();
    void createDeviceLink();
    void destroyDeviceLink();
    void listenForPortNotifications();
    void loadStartupSettings();
    void readTestFlags();
    void applyCommandLine();

    StartOptions options_;
    QTimer timer_;
    bool firstCreatedTick_ = true;
    bool closed_ = false;
    bool settingsReady_ = false;  // no save before the settings were read
    bool settingsSaveFailureShown_ = false;  // a failed save of the settings is said once
    bool permissionExplained_ = false;
    bool portMenuReady_ = false;  // the port menu follows the language once it was first filled
    std::unique_ptr<DevicePanel> device_;
    std::unique_ptr<FilePanel> file_;
    std::unique_ptr<ParameterBinding> binding_;
    std::unique_ptr<PlayerPanel> player_;
    std::unique_ptr<WindowWorkflowView> workflowView_;
    NotifyListener* notifyListener_ = nullptr;
    std::unique_ptr<PortMessageFilter> portMessageFilter_;  // window message 0x8309 (Windows)
};

}  // namespace app
