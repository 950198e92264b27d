// The File menu: new, open, save, the file history and dropped files; the settings
// store's load at start-up and its save points.

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <cstdio>

#include "app/devicepanel.h"
#include "app/filepanel.h"
#include "app/playerpanel.h"
#include "app/mainform.h"
#include "app/parameterbinding.h"
#include "app/workflowview.h"
#include "lang/messagebox.h"
#include "storage/fileprocedures.h"

namespace app {
namespace {

constexpr const char* kOpenFilter = "Ignition Parametrs (*.ign);;All Files (*.*)";
constexpr const char* kSaveFilter = "Ignition Parametrs (*.ign)";
const lang::LangText kSettingsNotSaved{
    "###The settings cannot be saved in %s##Die Einstellungen können nicht in %s gespeichert werden##Nastavení nelze "
    "uložit do %s"};

// What the load and save procedures ask of the window.
class FileWindow : public storage::ParameterFileWindow {
public:
    explicit FileWindow(TMainForm& form) : form_(form) {}
    void commitEdit() override { form_.binding().commitEdit(); }
    void readControls() override { form_.binding().readControls(); }
    void refreshControls(bool) override { form_.binding().fillControls(); }
    void storeUndoStep() override { form_.binding().storeStep(); }
    void currentFileChanged(const std::string& path) override
    {
        form_.currentFileName = QString::fromStdString(path);
        form_.dialogFileName = form_.currentFileName;
        form_.refreshTitle();
        form_.historyMenuRefresh();
    }
    void showMessage(int slot, const lang::LangText* text, int durationMs, std::uint32_t fontColour,
                     std::uint32_t backColour, int priority) override
    {
        form_.showMessage(slot, text, durationMs, fontColour, backColour, priority);
    }

private:
    TMainForm& form_;
};

std::vector<storage::ScreenRect> screenRects()
{
    std::vector<storage::ScreenRect> rects;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect r = screen->availableGeometry();
        rects.push_back({r.x(), r.y(), r.width(), r.height()});
    }
    return rects;
}

QString defaultDialog(QWidget* parent, bool save, const QString& start)
{
    if (save)
        return QFileDialog::getSaveFileName(parent, QString(), start, QString::fromLatin1(kSaveFilter));
    return QFileDialog::getOpenFileName(parent, QString(), start, QString::fromLatin1(kOpenFilter));
}

}  // namespace

void TMainForm::connectFileCommands()
{
    fileDialog = [this](bool save, const QString& start) {
        QString path = defaultDialog(this, save, start);
        if (save && !path.isEmpty() && QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".ign");  // the default extension
        return path;
    };
    file_->connectCommands({
        .newSet = [this] { MenuNewClick(); },
        .print = [this] { printSettings(); },
        .exit = [this] { close(); },
        .open = [this](bool programFolder) { openCommand(programFolder); },
        .save = [this](bool programFolder) { saveCommand(programFolder); },
        .openRecent = [this](int entry) { loadFile(QString::fromStdString(settings.history.entry(entry))); },
    });
}

void TMainForm::loadStartupSettings()
{
    settings.window = {x(), y(), width(), height()};
    const auto screens = screenRects();
    storage::loadSettings(settingsPaths, settings, state.params, screens);
    setGeometry(settings.window.left, settings.window.top, settings.window.width, settings.window.height);
    currentFileName = QString::fromStdString(settings.file);
    dialogFileName = QString::fromStdString(settings.iniFileDir);
    player_->setShown(settings.monitorPlayer);
}

void TMainForm::saveSettings()
{
    if (!settingsReady_)
        return;
    const QRect g = geometry();
    settings.window = {g.x(), g.y(), g.width(), g.height()};
    settings.file = currentFileName.toStdString();
    settings.iniFileDir = dialogFileName.toStdString();
    settings.monitorPlayer = player_->shown();
    const storage::SaveResult saved = storage::saveSettings(settingsPaths, settings, state.params);
    if (saved.ok() || settingsSaveFailureShown_)
        return;
    // Said once: the settings are saved at every edit, and a read-only folder stays so.
    settingsSaveFailureShown_ = true;
    const std::string folder = settingsPaths.folder.string();
    std::string text(kSettingsNotSaved.pick());
    text.replace(text.find("%s"), 2, folder);
    std::fprintf(stderr, "tavrin: %s\n", text.c_str());
    device_->setStatusText(0, QString::fromStdString(text));
}

void TMainForm::historyMenuRefresh()
{
    std::vector<HistoryItem> items;
    for (const auto& entry : settings.history.menuItems())
        items.push_back({QString::fromStdString(entry.caption), entry.visible});
    file_->showHistory(items, settings.history.separatorVisible());
}

void TMainForm::MenuNewClick()
{
    const int answer = lang::showMessageBox(texts[lang::Msg::DefaultSettingQuestion], "",
                                            lang::MbYesNoCancel | lang::MbIconQuestion);
    if (answer != lang::IdYes)
        return;
    params::applyPresetDefaults(state.params);
    binding_->fillControls();
    binding_->commitEdit();
    showMessage(2, nullptr, 0, lang::kColourUnchanged, lang::kColourUnchanged, -1);
    settings.history.add(std::string());
    settings.file.clear();
    currentFileName.clear();
    historyMenuRefresh();
    refreshTitle();
}

void TMainForm::openCommand(bool fromProgramFolder)
{
    if (fromProgramFolder)
        dialogFileName = defaultFilePath;
    const QString path = fileDialog(false, dialogFileName);
    if (path.isEmpty())
        return;
    if (settings.newInstall) {
        settings.newInstall = false;
        saveSettings();
    }
    loadFile(path);
}

void TMainForm::saveCommand(bool toProgramFolder)
{
    if (binding_->filling())
        return;
    if (toProgramFolder)
        dialogFileName = defaultFilePath;
    const QString path = fileDialog(true, dialogFileName);
    if (path.isEmpty())
        return;
    FileWindow window(*this);
    // The "HEX" line names the program of the unit read last (empty when none was read).
    storage::saveParameterFileAs(path.toStdString(), state, settings, window, unitProgramTexts(workflow->identity()));
}

bool TMainForm::loadFile(const QString& path)
{
    FileWindow window(*this);
    const bool accepted = storage::loadParameterFile(path.toStdString(), state, settings, window);
    historyMenuRefresh();
    return accepted;
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event)
{
    if (loadDroppedFiles(event->mimeData()->urls()))
        event->acceptProposedAction();
}

bool TMainForm::loadDroppedFiles(const QList<QUrl>& urls)
{
    std::vector<std::string> names;
    for (const QUrl& url : urls)
        if (url.isLocalFile())
            names.push_back(url.toLocalFile().toStdString());
    const auto chosen = storage::firstDroppedParameterFile(names);
    if (!chosen)
        return false;
    dialogFileName = QString::fromStdString(*chosen);
    loadFile(dialogFileName);
    return true;
}

}  // namespace app
