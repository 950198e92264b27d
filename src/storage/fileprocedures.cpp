#include "storage/fileprocedures.h"

#include <fstream>

#include "lang/langtext.h"
#include "lang/messagebox.h"
#include "lang/uitexts.h"
#include "storage/readfile.h"
#include "storage/atomicfile.h"
#include "util/pathtext.h"

namespace storage {
namespace {

const lang::LangText kNotRegularFile{
    "###It is not a regular file (a pipe, a device or a folder).##Es ist keine gewöhnliche Datei (eine Pipe, ein "
    "Gerät oder ein Ordner).##Nejde o obyčejný soubor (roura, zařízení nebo složka)."};
const lang::LangText kMissingSettings{
    "###The file lacks these settings; they keep their previous values:##Der Datei fehlen diese Einstellungen; sie "
    "behalten ihre bisherigen Werte:##Soubor neobsahuje tato nastavení; zůstávají jejich předchozí hodnoty:"};

void showOpenFileError() { lang::showError(openFileErrorText()); }

void clearResultSlot(ParameterFileWindow& window)
{
    window.showMessage(kResultSlot, nullptr, 0, lang::kColourUnchanged, lang::kColourUnchanged, -1);
}

// The path becomes the current file and the dialog folder, and moves to the front of
// the history.
void makeCurrentFile(const std::string& path, Settings& settings, ParameterFileWindow& window)
{
    settings.file = path;
    settings.iniFileDir = path;
    settings.history.add(path);
    window.currentFileChanged(path);
}

}  // namespace

bool isAcceptablePath(const std::string& path)
{
    return !path.empty() && lang::characterCount(path) <= kMaxPathCharacters;
}

bool loadParameterFile(const std::string& path, params::ParameterState& state, Settings& settings,
                       ParameterFileWindow& window)
{
    // A pipe or a device would block the reader: refused before anything opens it.
    const bool notRegular = isAcceptablePath(path) && isNonRegularFile(path);
    if (!isAcceptablePath(path) || notRegular || !std::ifstream(util::pathFromText(path), std::ios::binary)) {
        if (notRegular)
            lang::showError(std::string(openFileErrorText()) + "\n" + std::string(kNotRegularFile.pick()));
        else
            showOpenFileError();
        settings.history.remove(path);
        clearResultSlot(window);
        return false;
    }
    window.commitEdit();
    const ReadResult result = readParameterFile(util::pathFromText(path), state.params, true);
    if (result.accepted() && !result.missingSettings.empty())
        lang::showMessageBox(std::string(kMissingSettings.pick()) + "\n" + missingSettingsList(result),
                             lang::messageTable()[std::size_t(lang::Msg::Warning)].pick(lang::currentLanguage()),
                             lang::MbOk | lang::MbIconWarning);
    if (result.outcome == ReadOutcome::Unreadable) {
        // No key word (or far too long): no parameter file. Saying so, for a refusal must
        // not look like nothing happened.
        static const lang::LangText kNotParameterFile{
            "###The file is not a parameter file (*.ign)!##Die Datei ist keine Kenndatendatei (*.ign)!##Soubor není "
            "souborem parametrů (*.ign)!"};
        lang::showError(kNotParameterFile.pick());
    }
    state.fileVersion = result.fileVersion;
    params::normalize(state.params);
    state.fileParameters = state.params;
    state.sameAsFile = true;
    window.refreshControls(true);
    if (result.accepted()) {
        settings.newInstall = false;
        window.storeUndoStep();
        window.refreshControls(false);
        window.commitEdit();
        makeCurrentFile(path, settings, window);
    }
    clearResultSlot(window);
    return result.accepted();
}

bool saveParameterFileAs(const std::string& path, params::ParameterState& state, Settings& settings,
                         ParameterFileWindow& window, const UnitProgramTexts& unit)
{
    AtomicFile file(util::pathFromText(path));
    if (!isAcceptablePath(path) || !file.open()) {
        showOpenFileError();
        return false;
    }
    // What the boxes show is saved; saving is not an edit (no undo step, no programming).
    window.readControls();
    params::normalize(state.params);
    window.refreshControls(false);
    if (!file.write(formatParameterFile(state.params, unit)) || !file.commit()) {
        // Unlike a plain overwrite, the old file is still whole; say that the save failed.
        showOpenFileError();
        return false;
    }
    state.fileParameters = state.params;
    state.sameAsFile = true;
    makeCurrentFile(path, settings, window);
    return true;
}

std::optional<std::string> firstDroppedParameterFile(const std::vector<std::string>& names)
{
    for (const std::string& name : names)
        if (isParameterFileName(name))
            return name;
    return std::nullopt;
}

}  // namespace storage
