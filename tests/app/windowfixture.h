#pragma once
// A created main window on the offscreen platform with its timer stopped, so that the
// tests drive the ticks; settings and test flags in a temporary folder.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <memory>

#include "app/mainform.h"
#include "lang/langtext.h"
#include "support/messageboxrecorder.h"
#include "support/tempdir.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

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
    std::optional<int> startLanguage;  // --lang of the command line
    MessageBoxRecorder boxes;
    std::unique_ptr<app::TMainForm> window;
};
