#pragma once
// The monitor-log part of the main window: the player group (record, play, pause and stop,
// the scroll bar, the file and position labels, the strip chart of a replayed ride) and
// the Tools menu's item that shows or hides it. What the buttons do is the log session's.

#include <QObject>
#include <QString>
#include <array>
#include <functional>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QScrollBar;
class QToolButton;
class QWidget;

namespace monitorlog {
struct LogControls;
struct LogImage;
}

namespace app {

class StripChart;

class PlayerPanel : public QObject {
public:
    struct Commands {
        std::function<void(int button)> button;  // 0 record, 1 play, 2 pause, 3 stop
        std::function<void(int position)> seek;  // the scroll bar or a click on the strip chart
        std::function<void()> shownChanged;      // the menu item showed or hid the player
    };

    explicit PlayerPanel(QWidget* client);
    ~PlayerPanel() override;

    void createGroup();
    void createMenuItem(QMenu* tools);
    void connectCommands(Commands commands);

    // Shown or hidden as a whole, the menu item ticked to match.
    void setShown(bool shown);
    bool shown() const;
    // The buttons' states, the scroll bar and the labels; the strip chart follows `replayed`.
    void showControls(const monitorlog::LogControls& controls, const QString& fileName,
                      const monitorlog::LogImage* replayed, int position);

private:
    QWidget* client_;
    QGroupBox* GroupBoxPlayer = nullptr;
    std::array<QToolButton*, 4> SpeedButtonPlay{};
    QLabel *LabelPlayDevice = nullptr, *LabelPlayFile = nullptr, *LabelPlayPos = nullptr;
    QScrollBar* ScrollBarPlay = nullptr;
    StripChart* strip_ = nullptr;
    QAction* MenuMonitorPlayer = nullptr;
};

}  // namespace app
