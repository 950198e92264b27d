#pragma once
// Backups of what a unit held: before its settings are overwritten, the parameter set
// as read from the unit is kept as a parameter file in the folder "backups" of the
// state folder, named by local date and time and the unit, the newest 200 kept.
// Earlier versions kept them in the settings folder; they are moved over once.

#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>

#include "params/parameterset.h"
#include "storage/parameterfile.h"

namespace storage {

constexpr int kBackupsKept = 200;

std::filesystem::path backupFolder(const std::filesystem::path& stateFolder);

// Moves every file of `from` into `to` (created when missing) and removes `from` when it
// is empty afterwards. A name already taken in `to` by the same text just drops the old
// copy; by another text the file moves under a free name ("<stem>_moved<n>.ign"). A file
// that cannot be moved stays where it is. Returns how many files stayed behind.
int moveBackups(const std::filesystem::path& from, const std::filesystem::path& to);

// The backup folder of the state folder, after moving there what the settings folder
// still holds from earlier versions.
std::filesystem::path unitBackupFolder(const std::filesystem::path& settingsFolder,
                                       const std::filesystem::path& stateFolder);

// "2024-05-01_13-07-42_<label>.ign": sortable by time; the label reduced to ASCII
// letters, digits and '-', every other run of characters one '_' (none at the ends),
// at most 40 characters ("unit" when nothing is left).
std::string backupFileName(std::string_view label, std::time_t now);

struct BackupResult {
    std::filesystem::path path;  // the file that holds the set (empty on failure)
    std::string error;
    bool ok() const { return error.empty(); }
};

// Writes the set through a temporary file into `folder` (created when missing) and
// removes the oldest backups beyond kBackupsKept. When the newest backup already holds
// the same file text, that one is returned and nothing is written.
BackupResult saveUnitBackup(const std::filesystem::path& folder, const params::ParameterSet& set,
                            std::string_view label, std::time_t now, const UnitProgramTexts& unit = {});

// Removes the oldest backup files (by name) of `folder` beyond `keep`; other files stay.
void pruneBackups(const std::filesystem::path& folder, int keep = kBackupsKept);

}  // namespace storage
