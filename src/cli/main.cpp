// tavrin: the window without arguments (or with the window's own start words), a
// command-line command otherwise.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "storage/errorlog.h"

#ifdef TAVRIN_HAVE_WINDOW
#include "app/runwindow.h"
#endif

int main(int argc, char** argv)
{
    storage::installTerminateLogger();
    const std::vector<std::string> args = cli::commandLineArguments(argc, argv);
    if (!args.empty()) {
        const std::string& first = args.front();
        if (first == "--help" || first == "-h") {
            std::fputs(cli::helpText().c_str(), stdout);
            return 0;
        }
        if (first == "--version") {
            std::printf("%s\n", cli::versionText().c_str());
            return 0;
        }
        if (const cli::Command* command = cli::findCommand(first))
            return command->run(std::span<const std::string>(args).subspan(1));
        if (first.starts_with("-") && first != "--link-log") {
            std::fprintf(stderr, "tavrin: unknown option %s (see tavrin --help)\n", first.c_str());
            return 2;
        }
    }
#ifdef TAVRIN_HAVE_WINDOW
    return app::runWindow(argc, argv);
#else
    std::fputs(cli::helpText().c_str(), stdout);
    return args.empty() ? 0 : 2;
#endif
}
