#pragma once
// The load and save procedures behind the file commands, the file history items and
// dropped files. The dialogs belong to the window; these run once it has a path.

#include <optional>
#include <string>
#include <vector>

#include "lang/messageslots.h"
#include "params/parameterstate.h"
#include "storage/parameterfile.h"
#include "storage/settings.h"

namespace storage {

// What the procedures ask of the window; slot 2 (the result label) is cleared through
// MessageSlots::showMessage.
class ParameterFileWindow : public lang::MessageSlots {
public:
    virtual void commitEdit() = 0;                            // controls into the set, as an edit
    virtual void readControls() = 0;                          // controls into the set, nothing more
    virtual void refreshControls(bool fullCurveUpdate) = 0;  // the set into the controls
    virtual void storeUndoStep() = 0;                        // an undo step (which also saves the settings)
    // `settings.file` and `settings.iniFileDir` hold a new path, now at the front of the
    // history: both file dialogs take it as their file name, the title and the history
    // menu are rebuilt.
    virtual void currentFileChanged(const std::string& path) = 0;
};

constexpr int kResultSlot = 2;

// Loads a parameter file as the open commands do. An unopenable (or too long) path shows
// the open-file error and leaves the history; a refused version leaves the set as it was
// (normalised). Returns whether the file was accepted.
bool loadParameterFile(const std::string& path, params::ParameterState& state, Settings& settings,
                       ParameterFileWindow& window);

// Saves to the path the save dialog gave (the caller ignores the command while it fills
// its controls). A file that cannot be written shows the open-file error and keeps the
// old file. Returns whether the file was written.
bool saveParameterFileAs(const std::string& path, params::ParameterState& state, Settings& settings,
                         ParameterFileWindow& window, const UnitProgramTexts& unit = {});

// Of dropped files, the first whose name ends in ".ign" (A to Z in any case).
std::optional<std::string> firstDroppedParameterFile(const std::vector<std::string>& names);

// Paths longer than kMaxPathCharacters characters are not accepted.
bool isAcceptablePath(const std::string& path);

}  // namespace storage
