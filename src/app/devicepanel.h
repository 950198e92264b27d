#pragma once
// The device part of the main window: the Read, Verify and Program buttons with the
// Device menu, the port menu and the port label, the message labels (connection, result
// with the programming gauge, congruence), the monitor panel's live values and the status
// bar. It shows what the device workflow reports; what its commands do is the form's.

#include <QObject>
#include <QPalette>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "lang/langtext.h"

class QAction;
class QActionGroup;
class QLabel;
class QMainWindow;
class QMenu;
class QMenuBar;
class QPushButton;
class QWidget;

namespace devlink {
struct MonitorView;
}

namespace app {

class Gauge;

// Places for ports in the port menu, after "offline", "automatic" and the line.
constexpr int kPortMenuPlaces = 27;

// One port of the port menu as the link sees it.
struct PortMenuEntry {
    int port = 0;
    bool checked = false;
    bool enabled = false;
};

// What the port menu shows: "offline", "automatic", a line, then the ports.
struct PortMenuContents {
    QString offlineText, automaticText;
    bool offlineChecked = false, automaticChecked = false;
    bool exclusive = false;  // automatic search: the ports are one radio group
    std::vector<PortMenuEntry> ports;
};

class DevicePanel : public QObject {
public:
    // What the buttons and menu items ask for; the form fills them in.
    struct Commands {
        std::function<void()> read, verify, program, reset;
        // -1 offline, 0 automatic, else the port's number.
        std::function<void(int portSetting)> choosePort;
    };

    explicit DevicePanel(QMainWindow& window);
    ~DevicePanel() override;

    // --- creation, in the window's order of controls ---
    void createToolButtons(QWidget* toolBar);
    void createMessageLabels(QWidget* client);
    void createMonitorFirstColumn(QWidget* client);
    void createMonitorSecondColumn(QWidget* client);  // down to the hour meter
    void createTestLabels(QWidget* client);
    void createStatusBar();
    void createPortMenu(QMenuBar* bar);
    void createDeviceMenu(QMenuBar* bar);
    void connectCommands(Commands commands);

    // --- message slots: 1 connection, 2 result (with the gauge), 4 congruence ---
    void showMessage(int slot, const lang::LangText* text, int durationMs, std::uint32_t fontColour,
                     std::uint32_t backColour, int priority, int tickCount, const QPalette& normal);
    void expireMessages(int tickCount);
    void hideMessages();   // the window's start: the slots take their labels, all empty
    void clearMessages();  // the window closes: the texts go
    // The shown messages and the buttons' captions in the current language.
    void retranslate();

    // --- what the workflow shows ---
    void setGauge(int percent, std::uint32_t colour, bool visible);
    void setPortLabel(const QString& text);
    void setCommandsEnabled(bool connected);
    void showPortMenu(const PortMenuContents& contents);
    void showMonitor(const devlink::MonitorView& view, const QPalette& neutral);
    void setTestLabelsVisible(bool visible);
    void hideDataError();
    // Only the presets that measure the pickup's polarity show it.
    void setMeasuredPolarityShown(bool shown);

    // --- the status bar: 0 hints and notes, 2 program information, 4 the workflow ---
    void setStatusText(int panel, const QString& text);
    QString statusText(int panel) const;

    // The congruence message opens the list of differences; the Device menu holds its item.
    QLabel* congruenceLabel() const { return LabelCongruence; }
    QMenu* deviceMenu() const { return MenuDevice; }

private:
    struct Slot {
        QLabel* label = nullptr;
        std::unique_ptr<lang::LangText> text;
        int priority = -1;
        int expiry = 0;
    };

    QMainWindow& window_;
    std::array<Slot, 5> slots_;  // 1..4 used
    QActionGroup* portGroup_ = nullptr;

    QPushButton *ButtonRead = nullptr, *ButtonVerify = nullptr, *ButtonProgram = nullptr;
    QLabel *LabelConnection = nullptr, *LabelCongruence = nullptr, *LabelCom = nullptr;
    QLabel *LabelNapeti = nullptr, *LabelMonInput1In = nullptr, *LabelMonInput2In = nullptr,
           *LabelKillSwitch = nullptr, *LabelBlocking = nullptr, *LabelMonCurve = nullptr, *LabelClutchMon = nullptr,
           *LabelMonStartLimiterOut = nullptr, *LabelMonHardLimiter = nullptr, *LabelMonLedRazeni = nullptr;
    QLabel *LabelMon_Advance = nullptr, *LabelRpm = nullptr;
    Gauge* CGaugeRpm = nullptr;
    QLabel *LabelSnimac = nullptr, *LabelPolaritaMer = nullptr, *LabelEeDataErr = nullptr, *LabelResult = nullptr;
    Gauge* CGaugeProgram = nullptr;
    QLabel *LabelPocetProgramovani = nullptr, *LabelHourMeter = nullptr;
    std::array<QLabel*, 8> LabelTest{};
    std::array<QLabel*, 5> statusPanels{};
    QMenu *MenuCom = nullptr, *MenuDevice = nullptr;
    QAction *MenuRead = nullptr, *MenuVerify = nullptr, *MenuProgram = nullptr, *MenuReset = nullptr;
    std::array<QAction*, 30> portItems{};
};

}  // namespace app
