// Reading a whole outside file on Windows: CreateFileW with the UTF-16 path, only disk
// files (GetFileType) are read, in pieces, up to the limit.

#include "storage/readfile.h"

#include <windows.h>

namespace storage {
namespace {

bool fail(ReadFileError reason, ReadFileError* error, std::string& text)
{
    text.clear();
    if (error)
        *error = reason;
    return false;
}

}  // namespace

bool readWholeFile(const std::filesystem::path& path, std::size_t limit, std::string& text,
                   ReadFileError* error)
{
    text.clear();
    if (error)
        *error = ReadFileError::None;
    if (isNonRegularFile(path))
        return fail(ReadFileError::NotRegular, error, text);
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return fail(ReadFileError::CannotOpen, error, text);
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        ::CloseHandle(file);
        return fail(ReadFileError::NotRegular, error, text);
    }
    char piece[65536];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file, piece, sizeof piece, &got, nullptr)) {
            ::CloseHandle(file);
            return fail(ReadFileError::Failed, error, text);
        }
        if (got == 0)
            break;
        if (text.size() + got > limit) {
            ::CloseHandle(file);
            return fail(ReadFileError::TooLarge, error, text);
        }
        text.append(piece, got);
    }
    ::CloseHandle(file);
    return true;
}

bool isNonRegularFile(const std::filesystem::path& path)
{
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    return !ec && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
}

}  // namespace storage
