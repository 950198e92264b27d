#include "storage/backups.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "storage/atomicfile.h"
#include "storage/readfile.h"

namespace storage {
namespace {

constexpr std::size_t kLabelCharacters = 40;
constexpr std::size_t kStampLength = 19;  // "2024-05-01_13-07-42"

// A file this module wrote: a time stamp, '_', a label, ".ign".
bool isBackupName(const std::string& name)
{
    if (name.size() < kStampLength + 5 || !name.ends_with(".ign") || name[kStampLength] != '_')
        return false;
    for (std::size_t i = 0; i < kStampLength; ++i) {
        const bool separator = i == 4 || i == 7 || i == 10 || i == 13 || i == 16;
        if (separator ? name[i] != (i == 10 ? '_' : '-') : !std::isdigit(static_cast<unsigned char>(name[i])))
            return false;
    }
    return true;
}

std::vector<std::filesystem::path> backupsByName(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        if (entry.is_regular_file(ec) && isBackupName(entry.path().filename().string()))
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

std::filesystem::path backupFolder(const std::filesystem::path& stateFolder) { return stateFolder / "backups"; }

namespace {

bool sameText(const std::filesystem::path& a, const std::filesystem::path& b)
{
    constexpr std::size_t kLimit = std::size_t(64) << 20;
    std::string textA, textB;
    return readWholeFile(a, kLimit, textA) && readWholeFile(b, kLimit, textB) && textA == textB;
}

// A name in `folder` that no file has yet: "<stem>_moved<n><extension>".
std::filesystem::path freeName(const std::filesystem::path& folder, const std::filesystem::path& name)
{
    std::error_code ec;
    for (int n = 1;; ++n) {
        const auto candidate =
            folder / (name.stem().string() + "_moved" + std::to_string(n) + name.extension().string());
        if (!std::filesystem::exists(candidate, ec))
            return candidate;
    }
}

// Rename, or copy and remove when the two folders lie on different file systems.
bool moveFile(const std::filesystem::path& from, const std::filesystem::path& to)
{
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    if (!ec)
        return true;
    if (!std::filesystem::copy_file(from, to, std::filesystem::copy_options::none, ec))
        return false;
    std::filesystem::remove(from, ec);
    return true;
}

}  // namespace

int moveBackups(const std::filesystem::path& from, const std::filesystem::path& to)
{
    std::error_code ec;
    if (from.empty() || !std::filesystem::is_directory(from, ec) || std::filesystem::equivalent(from, to, ec))
        return 0;
    std::filesystem::create_directories(to, ec);
    int left = 0;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(from, ec))
        files.push_back(entry.path());
    for (const auto& file : files) {
        if (!std::filesystem::is_regular_file(file, ec)) {
            ++left;
            continue;
        }
        auto target = to / file.filename();
        if (std::filesystem::exists(target, ec)) {
            if (sameText(file, target)) {
                std::filesystem::remove(file, ec);
                continue;
            }
            target = freeName(to, file.filename());
        }
        if (!moveFile(file, target))
            ++left;
    }
    if (left == 0)
        std::filesystem::remove(from, ec);
    return left;
}

std::filesystem::path unitBackupFolder(const std::filesystem::path& settingsFolder,
                                       const std::filesystem::path& stateFolder)
{
    const auto folder = backupFolder(stateFolder);
    if (!settingsFolder.empty() && settingsFolder != stateFolder)
        moveBackups(backupFolder(settingsFolder), folder);
    return folder;
}

std::string backupFileName(std::string_view label, std::time_t now)
{
    std::string clean;
    for (const char c : label) {
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '-')
            clean += c;
        else if (!clean.empty() && clean.back() != '_')
            clean += '_';
    }
    clean.resize(std::min(clean.size(), kLabelCharacters));
    while (!clean.empty() && clean.back() == '_')
        clean.pop_back();
    if (clean.empty())
        clean = "unit";
    std::tm local{};
    ::localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
    return std::string(stamp) + "_" + clean + ".ign";
}

BackupResult saveUnitBackup(const std::filesystem::path& folder, const params::ParameterSet& set,
                            std::string_view label, std::time_t now, const UnitProgramTexts& unit)
{
    BackupResult result;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        result.error = "cannot create the backup folder " + folder.string() + ": " + ec.message();
        return result;
    }
    const std::string text = formatParameterFile(set, unit);
    const auto existing = backupsByName(folder);
    if (!existing.empty()) {
        std::string newest;
        if (readWholeFile(existing.back(), kMaxParameterFileBytes, newest) && newest == text) {
            result.path = existing.back();
            return result;
        }
    }
    const std::string name = backupFileName(label, now);
    std::filesystem::path path = folder / name;
    // Two different sets within one second: the later one gets a number (sorting after).
    for (int n = 2; std::filesystem::exists(path, ec); ++n)
        path = folder / (name.substr(0, name.size() - 4) + "_" + std::to_string(n) + ".ign");
    if (!writeFileAtomically(path, text)) {
        result.error = "cannot write the backup " + path.string();
        return result;
    }
    result.path = path;
    pruneBackups(folder);
    return result;
}

void pruneBackups(const std::filesystem::path& folder, int keep)
{
    const auto files = backupsByName(folder);
    std::error_code ec;
    for (std::size_t i = 0; i + static_cast<std::size_t>(std::max(keep, 0)) < files.size(); ++i)
        std::filesystem::remove(files[i], ec);
}

}  // namespace storage
