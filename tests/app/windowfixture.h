#pragma once
// A created main window on the offscreen platform with its timer stopped, so that the
// tests drive the ticks; settings and test flags in a temporary folder.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <memory>
#include <stdexcept>

#include "app/mainform.h"
#include "app/parameterbinding.h"
#include "lang/langtext.h"
#include "support/messageboxrecorder.h"
#include "support/tempdir.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

// A control of the window by its name in the window definition. The window's parts keep
// their controls to themselves; a test finds one as the language tables and a user do,
// by what it is called. A name that is not there fails the test.
template <typename T>
T* findControl(const QObject& window, const QString& name)
{
    T* found = window.findChild<T*>(name);
    if (!found)
        throw std::runtime_error("the window has no control " + name.toStdString());
    return found;
}
inline QLabel* statusPanel(const QObject& window, std::size_t panel)
{
    return findControl<QLabel>(window, QStringLiteral("StatusPanel%1").arg(panel));
}
inline QAction* portItem(const QObject& window, std::size_t item)
{
    return findControl<QAction>(window, QStringLiteral("MenuCom%1").arg(item + 1));
}
inline QToolButton* playButton(const QObject& window, std::size_t button)
{
    return findControl<QToolButton>(window, QStringLiteral("SpeedButtonPlay%1").arg(button + 1));
}
inline QAction* historyItem(const QObject& window, std::size_t index)
{
    return findControl<QAction>(window, QStringLiteral("MenuHistory%1").arg(index + 1));
}
inline QLabel* testLabel(const QObject& window, std::size_t index)
{
    return findControl<QLabel>(window, QStringLiteral("LabelTest%1").arg(index + 1));
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        lang::setCurrentLanguage(0);
        // The update check never leaves this machine: a closed local port unless a test serves one.
        qputenv("TAVRIN_UPDATE_BASE", "http://127.0.0.1:9");
    }
    void TearDown() override { lang::setCurrentLanguage(0); }

    app::TMainForm& open(QStringList arguments = {}, bool testFlags = false, QString notifySocket = {})
    {
        app::StartOptions options;
        options.notifySocketPath = notifySocket;
        // Only the ports of the test's own port map; the machine's serial ports stay untouched.
        options.deviceFolders = devlink::DeviceFolders{dir / "settings" / "ports", dir / "dev", dir / "sys", false};
        options.arguments = arguments;
        options.startTimer = false;
        options.testFlagsPath = QString::fromStdString((dir / "test_dorvik.txt").string());
        options.settingsFolder = QString::fromStdString((dir / "settings").string());
        // A screen on which the design fits at 100 % unless a test names a smaller one.
        options.availableArea = [this] { return screenArea; };
        options.stateFolder = QString::fromStdString((dir / "state").string());
        options.language = startLanguage;
        std::filesystem::create_directories(dir / "settings");
        if (testFlags) {
            QFile file(options.testFlagsPath);
            file.open(QIODevice::WriteOnly);
            file.write("SOMETHING\n  TEST_ENABLE other\n");
        }
        window = std::make_unique<app::TMainForm>(options);
        // Log time follows the ticks the test gives, 50 ms each.
        window->processClockSource = [w = window.get()] { return std::uint32_t(w->tickCount) * 50; };
        window->FormCreate();
        return *window;
    }
    // Forgets the settings folder, as on a machine where the program never ran.
    void forgetSettings()
    {
        window.reset();
        std::filesystem::remove_all(dir / "settings");
        lang::setCurrentLanguage(0);
    }
    void ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            window->Timer1Timer();
    }
    // Types `text` into `edit` and presses Enter.
    void type(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->setText(text);
        Q_EMIT edit->returnPressed();
        Q_EMIT edit->editingFinished();
    }
    void choose(QComboBox* combo, int index)
    {
        combo->setCurrentIndex(index);
        Q_EMIT combo->activated(index);
    }

    TempDir dir;
    QRect screenArea{0, 0, 1920, 1200};
    std::optional<int> startLanguage;  // --lang of the command line
    MessageBoxRecorder boxes;
    std::unique_ptr<app::TMainForm> window;
};
