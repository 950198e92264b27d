// The settings folder on Windows: the machine's common application-data folder
// (SHGetFolderPathW, CSIDL_COMMON_APPDATA), then Korvelan\Tavrin\109\, shared by every
// user of the PC, which also keeps the unit backups; the error log lies in the current
// directory and the test-flags file has its fixed place at the root of drive C.

#include <string>

#include <shlobj.h>
#include <windows.h>

#include "storage/settings.h"

namespace storage {
namespace {

constexpr int kProgramVersion = 109;

}  // namespace

std::filesystem::path settingsFolderPath()
{
    wchar_t common[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, common)))
        return {};
    return std::filesystem::path(common) / L"Korvelan" / L"Tavrin" / std::to_wstring(kProgramVersion);
}

std::filesystem::path stateFolderPath() { return settingsFolderPath(); }

std::filesystem::path errorLogFolder() { return {}; }

std::filesystem::path testFlagsFilePath() { return L"c:\\test_dorvik.txt"; }

}  // namespace storage
