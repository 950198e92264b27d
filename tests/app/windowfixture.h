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

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { lang::setCurrentLanguage(0); }
    void TearDown() override { lang::setCurrentLanguage(0); }

    app::TMainForm& open(QStringList arguments = {}, bool testFlags = false)
    {
        app::StartOptions options;
        options.arguments = arguments;
        options.startTimer = false;
        options.testFlagsPath = QString::fromStdString((dir / "test_dorvik.txt").string());
        if (testFlags) {
            QFile file(options.testFlagsPath);
            file.open(QIODevice::WriteOnly);
            file.write("SOMETHING\n  TEST_ENABLE other\n");
        }
        window = std::make_unique<app::TMainForm>(options);
        window->FormCreate();
        return *window;
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
        emit edit->returnPressed();
        emit edit->editingFinished();
    }
    void choose(QComboBox* combo, int index)
    {
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }

    TempDir dir;
    MessageBoxRecorder boxes;
    std::unique_ptr<app::TMainForm> window;
};
