// tavrin: the window without arguments (or with the window's own start words and files
// to open), a command-line command otherwise. A word that is neither ends the program
// with exit status 2 before any window opens.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/startarguments.h"
#include "lang/langtext.h"
#include "storage/errorlog.h"

#ifdef TAVRIN_HAVE_WINDOW
#include "app/runwindow.h"
#endif

int main(int argc, char** argv)
{
    storage::installTerminateLogger();
    const std::vector<std::string> args(argv + 1, argv + argc);
    const cli::StartArguments start = cli::parseStartArguments(args);
    // The command line speaks the language of the settings, or the one --lang names.
    lang::setCurrentLanguage(start.language.value_or(cli::settingsLanguage()));
    switch (start.kind) {
    case cli::StartKind::Error:
        std::fprintf(stderr, "%s\n", std::string(start.error.pick()).c_str());
        return 2;
    case cli::StartKind::Help:
        std::fputs(cli::helpText().c_str(), stdout);
        return 0;
    case cli::StartKind::Version:
        std::printf("%s\n", cli::versionText().c_str());
        return 0;
    case cli::StartKind::Command:
        return cli::findCommand(start.command)->run(start.commandArguments);
    case cli::StartKind::Window:
        break;
    }
#ifdef TAVRIN_HAVE_WINDOW
    app::WindowStart window;
    window.files = start.files;
    window.language = start.language;
    return app::runWindow(argc, argv, window);
#else
    std::fputs(cli::helpText().c_str(), stdout);
    return args.empty() ? 0 : 2;
#endif
}
