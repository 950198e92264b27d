#pragma once
// The file part of the main window: the File menu with the recent files, and the New,
// Open, Save and Print buttons of the tool strip. What the commands do is the form's.

#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QToolButton;
class QWidget;

namespace app {

// One line of the recent files in the File menu.
struct HistoryItem {
    QString caption;
    bool visible = false;
};

class FilePanel : public QObject {
public:
    struct Commands {
        std::function<void()> newSet, print, exit;
        // `programFolder`: the program's folder instead of the remembered one (the menu's
        // "exe dir" items, or Ctrl held on a tool button).
        std::function<void(bool programFolder)> open, save;
        std::function<void(int entry)> openRecent;  // 1 the newest
    };

    FilePanel() = default;
    ~FilePanel() override;

    void createToolButtons(QWidget* toolBar);
    void createMenu(QMenuBar* bar);
    void connectCommands(Commands commands);

    void showHistory(const std::vector<HistoryItem>& items, bool separatorVisible);

private:
    QToolButton *SpeedButtonNew = nullptr, *SpeedButtonOpen = nullptr, *SpeedButtonSave = nullptr,
                *SpeedButtonPrint = nullptr;
    QMenu* MenuFile = nullptr;
    QAction *MenuNew = nullptr, *MenuOpen = nullptr, *MenuOpenExeDir = nullptr, *MenuSave = nullptr,
            *MenuSaveExeDir = nullptr, *MenuPrint = nullptr, *MenuExit = nullptr;
    std::array<QAction*, 9> MenuHistory{};
    QAction* historySeparator = nullptr;  // MenuHistoryEnd
};

}  // namespace app
