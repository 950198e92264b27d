// Command-line arguments on Windows: the UTF-16 command line, split as the C runtime
// splits it (CommandLineToArgvW) and turned into UTF-8; the console's output code page
// becomes UTF-8, so printed paths and texts show as written.

#include <windows.h>
#include <shellapi.h>

#include "cli/arguments.h"

namespace cli {
namespace {

std::string utf8(const wchar_t* text)
{
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string out(std::size_t(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.pop_back();  // the terminating zero
    return out;
}

}  // namespace

std::vector<std::string> commandLineArguments(int argc, char** argv)
{
    ::SetConsoleOutputCP(CP_UTF8);
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!wide)
        return std::vector<std::string>(argv + 1, argv + argc);
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i)
        args.push_back(utf8(wide[i]));
    ::LocalFree(wide);
    return args;
}

}  // namespace cli
