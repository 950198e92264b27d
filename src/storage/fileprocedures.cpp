#include "storage/fileprocedures.h"

#include <fstream>

#include "lang/messagebox.h"
#include "storage/atomicfile.h"
#include "util/pathtext.h"

namespace storage {
namespace {

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
    if (!isAcceptablePath(path) || !std::ifstream(util::pathFromText(path), std::ios::binary)) {
        showOpenFileError();
        settings.history.remove(path);
        clearResultSlot(window);
        return false;
    }
    window.commitEdit();
    const ReadResult result = readParameterFile(util::pathFromText(path), state.params, true);
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
